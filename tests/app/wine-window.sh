#!/usr/bin/env bash
# Runs inside `hidemu run`, in a ready Wine prefix: lark-config.exe with Qt's windows platform on
# Wine's X11 driver, on an Xvfb of its own, against the emulated mouse. Checks the start-up
# exchange in the frame log, the window and its title, an APPLY driven by the keyboard (one block
# written), a second copy ending silently, and unplug and plug; keeps a screenshot; prints the
# time from process start to the settings read, beside the Linux window when one is given.
#   wine-window.sh HIDEMU LARK-CONFIG.EXE LARKCTL.EXE SCREENSHOT.png [LINUX-LARK-CONFIG]
set -euo pipefail
hidemu=$(realpath "$1")
exe=$(realpath "$2")
larkctl=$(realpath "$3")
shot=$(realpath -m "$4")
linux=${5:+$(realpath "$5")}
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
xvfb=""
app=""
cleanup() {
    [ -n "$app" ] && kill "$app" 2>/dev/null
    wineserver -k 2>/dev/null
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
cd "$work"
export XDG_RUNTIME_DIR=$work  # the Linux window's single-instance lock and exchange lock
fail() {
    echo "FAIL: $*" >&2
    [ -f app.err ] && tr -d '\r' <app.err | tail -20 >&2
    exit 1
}
ctl() { "$hidemu" ctl "$@"; }
exit_of() { "$@" >/dev/null 2>&1 && echo 0 || echo $?; }
now_ms() { echo $(($(date +%s%N) / 1000000)); }
writes() { ctl log | grep -c '"dir":"set".*"id":160' || true; }
# Polls every 50 ms for up to $2 seconds until the command in $3... succeeds.
within() {
    local tries=$(($1 * 20))
    shift
    for _ in $(seq "$tries"); do
        "$@" && return 0
        sleep 0.05
    done
    return 1
}
said() { tr -d '\r' <app.err | grep -q "$1"; }

# A display of our own: Xvfb picks a free number and writes it when it is ready.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>display 2>/dev/null &
xvfb=$!
within 20 test -s display || fail "Xvfb did not start"
export DISPLAY=:$(cat display)

# One Wine server for the whole run; its HID bus announces the emulated mouse a little after it
# starts, which larkctl.exe list shows.
wineserver -p
within 20 test "$(exit_of wine "$larkctl" list)" = 0 || fail "Wine never found the emulated mouse"

window_id() { xdotool search --name '^Tarrow Lark 8k Configuration Tool$' 2>/dev/null | head -1; }
window_count() { xdotool search --name '^Tarrow Lark 8k Configuration Tool$' 2>/dev/null | wc -l; }

# Starts lark-config.exe (its diagnostic log on stderr) and waits until its start-up read the
# mouse; start_ms is the time that took.
start_window() {
    ctl log clear >/dev/null
    local started
    started=$(now_ms)
    wine "$exe" --verbose >app.out 2>app.err &
    app=$!
    within 60 said 'start: ' || fail "lark-config.exe never finished its start-up"
    start_ms=$(($(now_ms) - started))
    said 'start: connected' || fail "start-up: $(tr -d '\r' <app.err | grep 'start: ')"
}
stop_window() {
    kill "$app" 2>/dev/null || true
    wait "$app" 2>/dev/null || true
    app=""
    within 20 test "$(window_count)" = 0 || fail "the window outlived its process"
}

# ---- start-up: the version, then the settings, each after its wait, as on Linux ----
start_window
first_ms=$start_ms
frames=$(ctl log | grep -E '"dir":"(set|get)"' |
    sed -E 's/.*"t_us":([0-9]+).*"dir":"([a-z]+)".*"id":([0-9]+).*"data":"(....).*/\2 \3 \1 \4/')
frame() { sed -n "${1}p" <<<"$frames"; }
expect() {  # expect LINE_NO DIR ID [DATA]
    local dir id data
    read -r dir id _ data <<<"$(frame "$1")"
    [ "$dir" = "$2" ] && [ "$id" = "$3" ] && { [ -z "${4:-}" ] || [ "$data" = "$4" ]; } ||
        fail "start-up frame $1: want $2 $3 ${4:-}, got: $(frame "$1")"
}
gap_ms() { echo $((($(frame "$2" | cut -d' ' -f3) - $(frame "$1" | cut -d' ' -f3)) / 1000)); }
expect 1 set 161 a102
expect 2 get 161
expect 3 set 161 a112
expect 4 get 160
[ "$(gap_ms 1 2)" -ge 50 ] || fail "version answer fetched after $(gap_ms 1 2) ms"
[ "$(gap_ms 3 4)" -ge 80 ] || fail "settings answer fetched after $(gap_ms 3 4) ms"
echo "start-up frames ok: version answer after $(gap_ms 1 2) ms, settings answer after $(gap_ms 3 4) ms"

# ---- the window, its title, a screenshot ----
within 30 test -n "$(window_id)" || fail "no window titled 'Tarrow Lark 8k Configuration Tool'"
win=$(window_id)
eval "$(xdotool getwindowgeometry --shell "$win")"
echo "window ${WIDTH}x${HEIGHT} titled 'Tarrow Lark 8k Configuration Tool'"
xwd -id "$win" -silent | "$here/../support/xwd-to-png.py" "$shot" || fail "no screenshot"
echo "screenshot: $shot"

# ---- a second copy ends silently while the first runs ----
code=$(exit_of wine "$exe")
[ "$code" = 0 ] || fail "the second copy exited $code"
[ "$(window_count)" = 1 ] || fail "the second copy showed a window"
echo "second copy ended silently"

# ---- APPLY from the keyboard: focus the window, change a control, Ctrl+S ----
before=$(ctl settings)
ctl log clear >/dev/null
xdotool windowfocus --sync "$win"
# The focus starts on Factory Reset: Tab to the tab bar, Tab to the lift-off distance, one down.
xdotool key --delay 100 Tab Tab Down
xdotool key ctrl+s
within 20 said 'apply: ' || fail "Ctrl+S started no APPLY"
said 'apply: applied' || fail "APPLY: $(tr -d '\r' <app.err | grep 'apply: ')"
[ "$(writes)" = 1 ] || fail "APPLY wrote $(writes) blocks"
[ "$(ctl settings)" != "$before" ] || fail "APPLY wrote the same settings"
echo "APPLY by keyboard wrote one block"

# ---- unplug and plug, as far as Wine reports them ----
ctl unplug >/dev/null
if within 20 said 'removal: '; then
    echo "unplug followed: $(tr -d '\r' <app.err | grep -o 'removal: .*' | tail -1)"
    ctl plug >/dev/null
    if within 20 said 'arrival: connected'; then
        echo "plug followed: the mouse read again"
    else
        echo "plug not reported by this Wine (its HID bus does not announce a returning device)"
    fi
else
    echo "unplug not reported by this Wine"
    ctl plug >/dev/null
fi
stop_window

# ---- benchmark: process start to the settings read (median of 3), beside Linux ----
median() { sort -n | sed -n 2p; }
runs=("$first_ms")
for _ in 1 2; do
    within 20 test "$(exit_of wine "$larkctl" list)" = 0 || fail "the mouse is gone"
    start_window
    runs+=("$start_ms")
    stop_window
done
echo "lark-config start to settings read (median of 3):"
echo "  lark-config.exe under wine: $(printf '%s\n' "${runs[@]}" | median) ms (runs: ${runs[*]})"
if [ -n "$linux" ]; then
    runs=()
    for _ in 1 2 3; do
        started=$(now_ms)
        QT_QPA_PLATFORM=offscreen "$linux" --verbose >app.out 2>app.err &
        app=$!
        within 30 said 'start: ' || fail "the Linux window never finished its start-up"
        runs+=("$(($(now_ms) - started))")
        kill "$app"
        wait "$app" 2>/dev/null || true
        app=""
    done
    echo "  lark-config on Linux:       $(printf '%s\n' "${runs[@]}" | median) ms (offscreen; runs: ${runs[*]})"
fi
echo "lark-config.exe: $(du -b "$exe" | cut -f1) bytes, static, no DLLs beside it"
echo "wine-window: all checks passed"
