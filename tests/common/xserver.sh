# Shared by the scripts that start the real program under a virtual X server.
# Source it after setting WORK (a scratch folder) and PIDS (an array of
# processes to end on exit).

# Starts a virtual X server on a free display number and sets DISP and XVFB.
# Another Xvfb may take the same number at the same moment, so a server that
# dies at once, or whose lock is not ours, makes us try the next number. The
# server accepts any client (-ac): the install test runs the program as
# another user with an empty environment.
start_server() {
    local n owner start=$((91 + RANDOM % 60))
    DISP=""
    for n in $(seq "$start" 160) $(seq 91 $((start - 1))); do
        [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
        Xvfb ":$n" -ac -screen 0 1024x768x24 -nolisten tcp >"$WORK/xvfb.log" 2>&1 &
        XVFB=$!
        PIDS+=("$XVFB")
        # Ready when it answers, not merely when its socket exists.
        for _ in $(seq 1 100); do
            kill -0 "$XVFB" 2>/dev/null || break
            owner=$( { tr -dc '0-9' <"/tmp/.X$n-lock"; } 2>/dev/null)
            if [ "$owner" = "$XVFB" ] && DISPLAY=":$n" timeout 2 xwininfo -root >/dev/null 2>&1
            then
                DISP=$n
                return 0
            fi
            sleep 0.1
        done
        kill "$XVFB" 2>/dev/null
        wait "$XVFB" 2>/dev/null
    done
    return 1
}

# True when log $1 shows that the program lost its server rather than failed
# on its own: the caller then starts a new server and tries again.
lost_display() {
    grep -q "could not connect to display" "$1"
}
