# shellcheck shell=bash
# An X server of one's own (sourced): xvfb_start [ARGS...] starts Xvfb on a free display, waits
# until it accepts clients, and sets DISPLAY and XVFB_PID; xvfb_stop ends it. Xvfb picks the
# number and writes it when ready: a number picked here could be another session's.
xvfb_start() {
    local display_file
    display_file=$(mktemp)
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp "$@" 3>"$display_file" 2>/dev/null &
    XVFB_PID=$!
    until [ -s "$display_file" ]; do
        if ! kill -0 "$XVFB_PID" 2>/dev/null; then
            rm -f "$display_file"
            echo "Xvfb did not start" >&2
            return 1
        fi
        sleep 0.1
    done
    DISPLAY=:$(head -n 1 "$display_file")
    export DISPLAY XVFB_PID
    rm -f "$display_file"
}

xvfb_stop() {
    [ -n "${XVFB_PID:-}" ] || return 0
    kill "$XVFB_PID" 2>/dev/null || true
    wait "$XVFB_PID" 2>/dev/null || true
    XVFB_PID=
}
