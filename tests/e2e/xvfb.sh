# Sourced. xvfb_start FOLDER [WxH]: an X server of the test's own (24 bits,
# 1280x1024 unless given), its process in XVFB_PID, its display in DISPLAY; fails
# when not up within 15 s. The server picks a free display number itself
# (-displayfd): one chosen here could be taken by another session's server first.
xvfb_start() {
    Xvfb -displayfd 3 -screen 0 "${2:-1280x1024}x24" -nolisten tcp 3>"$1/display" >/dev/null 2>&1 &
    XVFB_PID=$!
    local i
    for ((i = 0; i < 300; i++)); do
        if [ -s "$1/display" ]; then
            export DISPLAY=:$(head -n 1 "$1/display")
            xdpyinfo >/dev/null 2>&1 && return 0
        fi
        sleep 0.05
    done
    echo "Xvfb did not come up" >&2
    return 1
}
