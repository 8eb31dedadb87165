#!/usr/bin/env bash
# Starts the real program from a temporary copy of its program folder under a
# virtual X server: the main menu "Velmora２" must appear; a second copy must
# show its refusal box and end, and the first must keep running. The program
# runs as on a fresh machine, with no locale set at all, whatever the caller's
# locale: its windows are found by process and class, and both their titles
# (the UTF-8 one and the legacy one) must read "Velmora２".
# Usage: smoke.sh PROGRAM_FOLDER [SCREENSHOT.png]
# Exit codes: 0 pass, 1 fail, 77 skipped (no Xvfb/xdotool, or no program data).
set -u

DIST=${1:?program folder}
SHOT=${2:-${VELMORA_SMOKE_SCREENSHOT:-}}
TITLE='Velmora２'

skip() { echo "SKIP: $*"; exit 77; }
fail() { echo "FAIL: $*"; exit 1; }

for tool in Xvfb xdotool xwininfo xprop timeout; do
    command -v "$tool" >/dev/null 2>&1 || skip "$tool is not installed"
done
[ -x "$DIST/velmora" ] || fail "$DIST/velmora is missing (build the velmora target)"
for f in sakura.bmp keiryu.bmp abc.dr s1.dr s2.dr s1.txt s2.txt; do
    # DataFile looks names up case-insensitively; so do we.
    if [ -z "$(find "$DIST" -maxdepth 1 -iname "$f" -print -quit)" ]; then
        skip "the program folder has no $f yet (pictures or problem data not built)"
    fi
done

WORK=$(mktemp -d "${TMPDIR:-/tmp}/velmora-smoke.XXXXXX")
PIDS=()
cleanup() {
    trap - EXIT INT TERM
    local p
    for p in "${PIDS[@]}"; do kill "$p" 2>/dev/null; done
    sleep 0.2
    for p in "${PIDS[@]}"; do kill -9 "$p" 2>/dev/null; done
    rm -rf "$WORK"
}
trap cleanup EXIT
trap 'exit 1' INT TERM

# A fresh copy: no players, no lock.
mkdir -p "$WORK/prog" "$WORK/config" "$WORK/data" "$WORK/runtime"
chmod 700 "$WORK/runtime"
cp -a "$DIST/." "$WORK/prog/" || fail "cannot copy $DIST"
rm -f "$WORK/prog/velmora.lock" "$WORK/prog/vm2.ply" "$WORK/prog"/vm2.ps[0-9]

. "$(dirname "${BASH_SOURCE[0]}")/../common/xserver.sh"

export QT_QPA_PLATFORM=xcb XDG_CONFIG_HOME="$WORK/config" XDG_DATA_HOME="$WORK/data" \
    XDG_RUNTIME_DIR="$WORK/runtime"

# A title property of window $1 as UTF-8 text, whatever our own locale is.
title_of() {  # window property
    LC_ALL=C.UTF-8 timeout 5 xprop -id "$1" -notype "$2" 2>/dev/null |
        sed -n "s/^$2 = \"\(.*\)\"\$/\1/p"
}

# Window ids of the windows of process $1 whose title is $TITLE.
find_windows() {
    local w
    for w in $(timeout 5 xdotool search --all --pid "$1" --class '^velmora$' 2>/dev/null); do
        [ "$(title_of "$w" _NET_WM_NAME)" = "$TITLE" ] && echo "$w"
    done
    return 0
}

wait_window() {  # pid seconds
    local i w
    for i in $(seq 1 $(($2 * 10))); do
        w=$(find_windows "$1" | head -n 1)
        [ -n "$w" ] && { echo "$w"; return 0; }
        kill -0 "$1" 2>/dev/null || return 1
        sleep 0.1
    done
    return 1
}

# Started directly (not under timeout) so that $! is the program's own pid,
# which its windows carry; a watchdog ends it should anything hang.
start_copy() {  # log seconds
    env -u LANG -u LANGUAGE -u LC_ALL -u LC_CTYPE -u LC_MESSAGES \
        "$WORK/prog/velmora" >"$WORK/$1" 2>&1 &
    local pid=$!
    PIDS+=("$pid")
    (
        for _ in $(seq 1 $(($2 * 10))); do
            sleep 0.1
            kill -0 "$pid" 2>/dev/null || exit 0
        done
        kill -9 "$pid" 2>/dev/null
    ) >/dev/null 2>&1 &
    PIDS+=($!)
    LAST=$pid
}

# A server that goes away under us (another test's clean-up on a shared
# machine) is replaced; the program itself gets three chances to show up.
MENU=""
for attempt in 1 2 3; do
    start_server || skip "Xvfb did not start: $(head -c 300 "$WORK/xvfb.log")"
    export DISPLAY=":$DISP"
    start_copy first.log 90
    FIRST=$LAST
    MENU=$(wait_window "$FIRST" 20) && break
    if lost_display "$WORK/first.log"; then
        alive=no
        kill -0 "$XVFB" 2>/dev/null && alive=yes
        echo "attempt $attempt: no connection to :$DISP (server still running: $alive); retrying"
        kill "$FIRST" "$XVFB" 2>/dev/null
        MENU=""
        continue
    fi
    break
done
[ -n "$MENU" ] ||
    fail "no window named $TITLE from the first copy; log: $(head -c 500 "$WORK/first.log")"
echo "first copy: window $MENU"
# A window manager that reads the legacy title shows the same text.
LEGACY=$(title_of "$MENU" WM_NAME)
[ "$LEGACY" = "$TITLE" ] || fail "the legacy title (WM_NAME) reads '$LEGACY' without a locale"
WIDTH=$(timeout 5 xwininfo -id "$MENU" | awk '/Width:/ {print $2}')
[ "${WIDTH:-0}" -ge 400 ] || fail "the menu window is only ${WIDTH:-0} pixels wide"
# Let the menu paint before anything else happens.
sleep 1
if [ -n "$SHOT" ] && command -v import >/dev/null 2>&1; then
    timeout 10 import -window root "$SHOT" && echo "screenshot: $SHOT"
fi

start_copy second.log 30
SECOND=$LAST
BOX=$(wait_window "$SECOND" 20) ||
    fail "the second copy showed no refusal box; log: $(head -c 500 "$WORK/second.log")"
echo "second copy: refusal box $BOX"
if [ -n "${VELMORA_SMOKE_BOXSHOT:-}" ]; then
    sleep 0.5
    timeout 10 import -window root "$VELMORA_SMOKE_BOXSHOT"
fi
# The box is small, unlike the menu.
BOXW=$(timeout 5 xwininfo -id "$BOX" | awk '/Width:/ {print $2}')
[ "${BOXW:-0}" -gt 0 ] || fail "the refusal box has no size"
# Confirm the box; the second copy must end by itself.
timeout 5 xdotool windowfocus --sync "$BOX" >/dev/null 2>&1
timeout 5 xdotool key --window "$BOX" Return >/dev/null 2>&1
for _ in $(seq 1 100); do
    kill -0 "$SECOND" 2>/dev/null || break
    sleep 0.1
done
if kill -0 "$SECOND" 2>/dev/null; then fail "the second copy did not end after its box"; fi
wait "$SECOND"
rc=$?
[ "$rc" -eq 0 ] || fail "the second copy ended with code $rc"

kill -0 "$FIRST" 2>/dev/null || fail "the first copy ended"
[ -n "$(find_windows "$FIRST")" ] || fail "the first copy lost its window"

# The menu's quit entry: a first click selects it, a second ends the program
# at once, and the lock is given back.
HEIGHT=$(timeout 5 xwininfo -id "$MENU" | awk '/Height:/ {print $2}')
BAR=$(( ${HEIGHT:-459} - 440 ))    # the menu bar above the 440-pixel client area
QUIT_X=70
QUIT_Y=$(( BAR + 64 + 5 * 550 / 15 + 14 ))
for _ in 1 2; do
    timeout 5 xdotool mousemove --window "$MENU" "$QUIT_X" "$QUIT_Y" click 1 >/dev/null 2>&1
    sleep 0.3
done
for _ in $(seq 1 50); do
    kill -0 "$FIRST" 2>/dev/null || break
    sleep 0.1
done
if kill -0 "$FIRST" 2>/dev/null; then fail "the quit entry did not end the program"; fi
wait "$FIRST"
rc=$?
[ "$rc" -eq 0 ] || fail "the program ended with code $rc after its quit entry"
[ ! -e "$WORK/prog/velmora.lock" ] || fail "the lock file was left behind"
echo "PASS: menu shown, second copy refused while the first ran, quit entry ended the first"
exit 0
