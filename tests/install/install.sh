#!/usr/bin/env bash
# Packs the program with cpack, unpacks the .deb into a temporary root and
# checks what it holds; then starts the installed program under a virtual X
# server from that read-only root as an ordinary user: the menu must appear,
# and registering a player must write only into the per-user data folder.
# Usage: install.sh BUILD_DIR
# Exit codes: 0 pass, 1 fail, 77 skipped (tools missing).
set -u

BUILD=${1:?build folder}
skip() { echo "SKIP: $*"; exit 77; }
fail() { echo "FAIL: $*"; exit 1; }

for tool in cpack dpkg-deb dpkg-shlibdeps file ldd objdump Xvfb xdotool xprop xwininfo timeout; do
    command -v "$tool" >/dev/null 2>&1 || skip "$tool is not installed"
done
[ -f "$BUILD/CPackConfig.cmake" ] || fail "$BUILD has no CPackConfig.cmake"
[ -f "$BUILD/dist/abc.dr" ] || skip "the program folder has no problem data yet"

WORK=$(mktemp -d "${TMPDIR:-/tmp}/velmora-install.XXXXXX")
chmod 755 "$WORK"
PIDS=()
cleanup() {
    trap - EXIT INT TERM
    local p
    for p in "${PIDS[@]}"; do kill "$p" 2>/dev/null; done
    sleep 0.2
    for p in "${PIDS[@]}"; do kill -9 "$p" 2>/dev/null; done
    chmod -R u+w "$WORK" 2>/dev/null
    rm -rf "$WORK"
}
trap cleanup EXIT
trap 'exit 1' INT TERM

# ---- the package -----------------------------------------------------------
(cd "$WORK" && cpack -G DEB --config "$BUILD/CPackConfig.cmake" -B "$WORK/pkg") \
    >"$WORK/cpack.log" 2>&1 || fail "cpack failed: $(tail -c 800 "$WORK/cpack.log")"
DEB=$(ls "$WORK"/pkg/velmora_*.deb 2>/dev/null | head -n 1)
[ -n "$DEB" ] || fail "cpack made no velmora_*.deb"
echo "package: $(basename "$DEB") ($(stat -c %s "$DEB") bytes)"

DEPENDS=$(dpkg-deb -f "$DEB" Depends)
# The modules' libraries (Qt Multimedia, Qt SQL, Qt Charts) are found in
# the modules by dpkg-shlibdeps, not in the program.
for dep in libqt6widgets6 libqt6gui6 libqt6core6 libc6 qt6-qpa-plugins qt6-translations-l10n \
    fonts-ipafont-gothic gstreamer1.0-plugins-good libqt6sql6 libqt6sql6-sqlite libqt6charts6; do
    grep -qw -- "$dep" <<<"$DEPENDS" || fail "Depends lacks $dep: $DEPENDS"
done

ROOT="$WORK/root"
dpkg -x "$DEB" "$ROOT" || fail "dpkg -x failed"
PROG="$ROOT/usr/lib/velmora"
for f in velmora abc.dr abc.dt s1.dr s2.dt vm2.psn s1.txt s2.txt board.bmp sakura.bmp \
    keiryu.bmp yuuyake.bmp stone.wav sec10.wav velmora-256.png; do
    [ -f "$PROG/$f" ] || fail "the package has no usr/lib/velmora/$f"
done
[ -x "$PROG/velmora" ] || fail "usr/lib/velmora/velmora is not executable"
# The modules loaded when first needed sit beside the program, and every
# library they need is found; the program itself needs none of theirs, so
# that they stay off the start-up.
for module in "$BUILD"/dist/libvelmora_*.so; do
    [ -e "$module" ] || continue
    [ -f "$PROG/$(basename "$module")" ] || fail "the package lacks $(basename "$module")"
    MISSING=$(ldd "$PROG/$(basename "$module")" 2>&1 | grep 'not found')
    [ -z "$MISSING" ] || fail "$(basename "$module") needs what is not installed: $MISSING"
done
for module in historydb charts; do
    [ -f "$PROG/libvelmora_$module.so" ] || fail "the package lacks libvelmora_$module.so"
done
NEEDED=$(objdump -p "$PROG/velmora" | awk '/NEEDED/ {print $2}')
for lib in libQt6Sql libQt6Charts libQt6Multimedia libQt6OpenGL; do
    if grep -q "^$lib" <<<"$NEEDED"; then fail "the program links $lib at start: $NEEDED"; fi
done
[ "$(readlink "$ROOT/usr/bin/velmora")" = "../lib/velmora/velmora" ] ||
    fail "usr/bin/velmora does not link to the program folder"
# Nothing the program writes in a build folder may be shipped.
LEFT=$(find "$ROOT" \( -iname 'vm2.ply' -o -iname 'vm2.ps[0-9]' -o -iname '*.hsc' \
    -o -iname '*.lock' -o -name 'velmora-data' \) -print)
[ -z "$LEFT" ] || fail "the package ships files it should not: $LEFT"
ENTRY="$ROOT/usr/share/applications/velmora.desktop"
[ -f "$ENTRY" ] || fail "no desktop entry"
grep -qx 'Exec=velmora' "$ENTRY" || fail "desktop entry: $(grep '^Exec' "$ENTRY")"
grep -qx 'Icon=velmora' "$ENTRY" || fail "desktop entry: $(grep '^Icon' "$ENTRY")"
if grep -q "$BUILD" "$ENTRY"; then fail "the desktop entry names the build folder"; fi
for size in 16 24 32 48 64 128 256; do
    [ -f "$ROOT/usr/share/icons/hicolor/${size}x${size}/apps/velmora.png" ] ||
        fail "no ${size}x${size} icon"
done
if command -v desktop-file-validate >/dev/null 2>&1; then
    desktop-file-validate "$ENTRY" || fail "desktop-file-validate rejects the entry"
fi

# The build folder keeps its own entry, for the copy scripts/run.sh starts.
BUILD_ENTRY="$BUILD/dist/velmora.desktop"
[ -f "$BUILD_ENTRY" ] || fail "the build folder has no desktop entry"
BUILD_EXEC=$(sed -n 's/^Exec=//p' "$BUILD_ENTRY")
[ -x "$BUILD_EXEC" ] || fail "the build folder's entry starts '$BUILD_EXEC', which is not the program"
grep -qx "Path=$(dirname "$BUILD_EXEC")" "$BUILD_ENTRY" || fail "the build folder's entry has no Path"
[ -f "$(sed -n 's/^Icon=//p' "$BUILD_ENTRY")" ] || fail "the build folder's entry names no icon file"

# ---- the installed program, from a read-only root ---------------------------
# As root, permissions do not stop writes: run as the user "nobody", who
# cannot write to the root-owned tree. Otherwise take away write permission.
RUN=()
if [ "$(id -u)" -eq 0 ]; then
    RUN=(setpriv --reuid=65534 --regid=65534 --clear-groups)
else
    chmod -R a-w "$ROOT"
fi
HOMEDIR="$WORK/home"
mkdir -p "$HOMEDIR/config" "$HOMEDIR/data" "$HOMEDIR/runtime"
chmod 700 "$HOMEDIR/runtime"
[ "$(id -u)" -eq 0 ] && chown -R 65534:65534 "$HOMEDIR"
touch "$WORK/marker"
sleep 1

. "$(dirname "${BASH_SOURCE[0]}")/../common/xserver.sh"

# The window of process $1 whose title is $2 (read from _NET_WM_NAME, which
# keeps its Japanese characters whatever the locale).
find_window() {
    local w
    for w in $(timeout 5 xdotool search --onlyvisible --pid "$1" 2>/dev/null); do
        if timeout 5 xprop -id "$w" _NET_WM_NAME 2>/dev/null | grep -qF "\"$2\""; then
            echo "$w"
            return 0
        fi
    done
    return 1
}
wait_window() {  # pid title
    local w
    for _ in $(seq 1 200); do
        w=$(find_window "$1" "$2") && { echo "$w"; return 0; }
        kill -0 "$1" 2>/dev/null || return 1
        sleep 0.1
    done
    return 1
}
click() {  # window x y
    timeout 5 xdotool mousemove --window "$1" "$2" "$3" click 1 >/dev/null 2>&1
    sleep 0.4
}

# A server that goes away under us (another test's clean-up on a shared
# machine) is replaced; the program gets three chances to show its menu.
MENU=""
for attempt in 1 2 3; do
    start_server || skip "Xvfb did not start: $(head -c 300 "$WORK/xvfb.log")"
    export DISPLAY=":$DISP"
    env -i PATH=/usr/bin:/bin DISPLAY="$DISPLAY" HOME="$HOMEDIR" QT_QPA_PLATFORM=xcb \
        XDG_CONFIG_HOME="$HOMEDIR/config" XDG_DATA_HOME="$HOMEDIR/data" \
        XDG_RUNTIME_DIR="$HOMEDIR/runtime" \
        "${RUN[@]}" "$ROOT/usr/bin/velmora" >"$WORK/run.log" 2>&1 &
    APP=$!
    PIDS+=("$APP")
    ( sleep 90; kill -9 "$APP" 2>/dev/null ) >/dev/null 2>&1 &
    PIDS+=($!)
    MENU=$(wait_window "$APP" 'Velmora２') && break
    lost_display "$WORK/run.log" ||
        fail "the installed program showed no menu; log: $(head -c 800 "$WORK/run.log")"
    echo "attempt $attempt: no connection to :$DISP; retrying"
    kill "$APP" "$XVFB" 2>/dev/null
    wait "$APP" "$XVFB" 2>/dev/null
    MENU=""
done
[ -n "$MENU" ] || fail "the installed program never reached a display; log: $(head -c 800 "$WORK/run.log")"
echo "menu: window $MENU"
USERDIR="$HOMEDIR/data/velmora"
[ -f "$USERDIR/vm2.psn" ] || fail "the per-user folder has no copy of the template"
[ -e "$USERDIR/velmora.lock" ] || fail "the lock is not in the per-user folder"

# Menu entry 4 (registration): one click selects it, the second starts it.
HEIGHT=$(timeout 5 xwininfo -id "$MENU" | awk '/Height:/ {print $2}')
BAR=$(( ${HEIGHT:-459} - 440 ))
click "$MENU" 70 $(( BAR + 64 + 4 * 550 / 15 + 14 ))
click "$MENU" 70 $(( BAR + 64 + 4 * 550 / 15 + 14 ))
REG=$(wait_window "$APP" 'プレイヤー登録') || fail "the registration window did not open"
echo "registration: window $REG"
click "$REG" 150 66    # the "新規登録" row
click "$REG" 288 70    # key "A"
click "$REG" 326 70    # key "B"
click "$REG" 335 308   # プレイヤー登録
click "$REG" 610 308   # 終了
for _ in $(seq 1 50); do
    [ -f "$USERDIR/vm2.ply" ] && break
    sleep 0.1
done
[ -f "$USERDIR/vm2.ply" ] || fail "no roster in the per-user folder: $(ls "$USERDIR")"
grep -q 'AB' "$USERDIR/vm2.ply" || fail "the roster lacks the new player: $(cat "$USERDIR/vm2.ply")"
[ -f "$USERDIR/vm2.ps0" ] || fail "no player file in the per-user folder"
CHANGED=$(find "$ROOT" -newer "$WORK/marker" -print)
[ -z "$CHANGED" ] || fail "the installed tree was written to: $CHANGED"
echo "PASS: package holds program, data, entry and icons; the installed program ran from a" \
    "read-only folder and wrote only to $USERDIR ($(ls "$USERDIR" | tr '\n' ' '))"
exit 0
