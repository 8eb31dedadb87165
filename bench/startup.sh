#!/usr/bin/env bash
# Start-up against a bare Qt window: runs bench/startup/bare_window and
# Velmora alternately under their own Xvfb, RUNS times each, and prints the
# medians and ratios of
#   - time to mapped: from launch until the X server maps the window the user
#     waits for (the bare window; Velmora's menu, after its start-up window);
#   - peak RSS: VmHWM of the process once that window has been painted.
#
# usage: bench/startup.sh [BUILD_DIR] [RUNS]      (defaults: build, 9)
# Needs Xvfb, xev and xprop (x11-utils). Build first: ninja -C build velmora bare_window
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${1:-$ROOT/build}"
RUNS="${2:-9}"
BARE="${BARE_WINDOW:-$BUILD/bench/startup/bare_window}" # another yardstick may be named
APP="$BUILD/dist/velmora"
SETTLE_S=0.5    # after the map: let the first paint finish before reading the peak
TIMEOUT_S=20

for f in "$BARE" "$APP"; do
    [ -x "$f" ] || { echo "missing $f: ninja -C $BUILD velmora bare_window" >&2; exit 1; }
done
for t in Xvfb xev xprop; do
    command -v "$t" >/dev/null || { echo "missing $t (apt-get install xvfb x11-utils)" >&2; exit 1; }
done

WORK="$(mktemp -d)"
XVFB_PID=""
cleanup() {
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null || true
    rm -rf "$WORK"
}
trap cleanup EXIT

# Velmora runs from a copy of its program folder, so the runs never touch the
# build's player files and every run starts from the same empty roster.
cp -r "$BUILD/dist" "$WORK/dist"
rm -f "$WORK"/dist/vm2.ply "$WORK"/dist/vm2.ps[0-9] "$WORK"/dist/*.hsc "$WORK"/dist/*.lock
APP="$WORK/dist/velmora"

export XDG_RUNTIME_DIR="$WORK/runtime" XDG_CONFIG_HOME="$WORK/config" XDG_DATA_HOME="$WORK/data"
mkdir -m 700 -p "$XDG_RUNTIME_DIR"
export QT_QPA_PLATFORM=xcb
unset QT_SCALE_FACTOR

exec 9<> <(:)
Xvfb -displayfd 9 -screen 0 1280x1024x24 -nolisten tcp >"$WORK/xvfb.log" 2>&1 &
XVFB_PID=$!
read -r -t 10 DISP <&9 || { echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$DISP"

# One run: prints "<ms to mapped> <peak RSS in KiB>".
# $1 the program, $2 the title of the window to wait for ("" = the first one).
run_once() {
    local prog="$1" title="$2" events="$WORK/events" line t0 pid
    : >"$events"
    # Every top-level map, stamped as it arrives.
    rm -f "$WORK/fifo" && mkfifo "$WORK/fifo"
    stdbuf -oL xev -root -event substructure >"$WORK/fifo" 2>/dev/null &
    local xev_pid=$!
    local stamp=""
    while IFS= read -r line; do
        case "$line" in
        MapNotify*) stamp=$EPOCHREALTIME ;;
        *"event "*", window "*)
            if [ -n "$stamp" ]; then
                line="${line#*, window }"
                echo "$stamp ${line%%,*}"
                stamp=""
            fi
            ;;
        esac
    done <"$WORK/fifo" >"$events" &
    local stamper=$!
    sleep 0.2 # the watcher is listening
    t0=$EPOCHREALTIME
    "$prog" >/dev/null 2>&1 &
    pid=$!
    local found="" deadline=$((SECONDS + TIMEOUT_S)) id name
    while [ -z "$found" ] && [ $SECONDS -lt $deadline ]; do
        while read -r stamp id; do
            if [ -z "$title" ]; then found="$stamp"; break; fi
            name=$(xprop -id "$id" _NET_WM_NAME 2>/dev/null || true)
            case "$name" in *"\"$title\""*) found="$stamp"; break ;; esac
        done <"$events"
        [ -z "$found" ] && sleep 0.05
    done
    sleep "$SETTLE_S"
    local hwm
    hwm=$(awk '/^VmHWM:/ {print $2}' "/proc/$pid/status" 2>/dev/null || echo 0)
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    kill "$xev_pid" 2>/dev/null || true
    wait "$xev_pid" "$stamper" 2>/dev/null || true
    rm -f "$WORK"/dist/*.lock
    [ -n "$found" ] || { echo "no window mapped for $prog" >&2; exit 1; }
    awk -v a="$t0" -v b="$found" -v m="$hwm" 'BEGIN { printf "%.1f %d\n", (b - a) * 1000, m }'
}

median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

: >"$WORK/bare" && : >"$WORK/app"
# A warm-up run of each fills the page cache; it is not counted.
run_once "$BARE" "" >/dev/null
run_once "$APP" "Velmora２" >/dev/null
for ((i = 1; i <= RUNS; i++)); do
    run_once "$BARE" "" >>"$WORK/bare"
    run_once "$APP" "Velmora２" >>"$WORK/app"
done

bt=$(cut -d' ' -f1 "$WORK/bare" | median)
bm=$(cut -d' ' -f2 "$WORK/bare" | median)
at=$(cut -d' ' -f1 "$WORK/app" | median)
am=$(cut -d' ' -f2 "$WORK/app" | median)
echo "runs: $RUNS each, alternating, under Xvfb $DISPLAY (load average: $(cut -d' ' -f1 /proc/loadavg))"
echo "per run (ms KiB), bare:    $(tr '\n' ' ' <"$WORK/bare" | sed 's/ \([0-9.]*\) \([0-9]*\)/ \1\/\2/g')"
echo "per run (ms KiB), velmora: $(tr '\n' ' ' <"$WORK/app" | sed 's/ \([0-9.]*\) \([0-9]*\)/ \1\/\2/g')"
awk -v bt="$bt" -v bm="$bm" -v at="$at" -v am="$am" 'BEGIN {
    printf "%-22s %12s %12s %8s\n", "median", "bare window", "velmora", "ratio"
    printf "%-22s %12.1f %12.1f %7.2fx\n", "time to mapped (ms)", bt, at, at / bt
    printf "%-22s %12.1f %12.1f %7.2fx\n", "peak RSS (MiB)", bm / 1024, am / 1024, am / bm
}'
