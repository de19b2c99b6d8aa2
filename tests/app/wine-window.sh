#!/usr/bin/env bash
# Runs inside `hidemu run`, in a ready Wine prefix: lark-config.exe with Qt's windows platform on
# Wine's X11 driver, on an Xvfb of its own, against the emulated mouse. Checks the start-up
# exchange in the frame log, the window, its title and the firmware version it shows, a second
# copy ending silently, an APPLY driven by the keyboard (one block written, read back by
# larkctl.exe), larkctl.exe's write followed by the window, Alt+F4 and Escape ending the process
# so that the next copy starts, and an unplug; keeps a screenshot; prints the time from process
# start to the settings shown, beside the Linux window when one is given.
#   wine-window.sh HIDEMU LARK-CONFIG.EXE LARKCTL.EXE SCREENSHOT.png [LINUX-LARK-CONFIG]
set -euo pipefail
[ -n "${LARK_TRACE:-}" ] && set -x
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
frames() { ctl log | grep -cE '"dir":"(set|get)"' || true; }
writes() { ctl log | grep -c '"dir":"set".*"id":160' || true; }
# Polls every 50 ms for up to $1 seconds until the command in $2... succeeds (a function where
# the check needs a fresh substitution each time).
within() {
    local deadline=$((SECONDS + $1))
    shift
    until "$@"; do
        ((SECONDS < deadline)) || return 1
        sleep 0.05
    done
}
said() { tr -d '\r' <app.err | grep -q "$1"; }
larkctl_get() { wine "$larkctl" get "$@" 2>/dev/null | tr -d '\r'; }

# A display of our own: Xvfb picks a free number and writes it when it is ready. Its screen is
# kept as an X window dump in $work/Xvfb_screen0, which the screenshot is cut from.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -fbdir "$work" -nolisten tcp 3>display 2>/dev/null &
xvfb=$!
within 20 test -s display || fail "Xvfb did not start"
export DISPLAY=:$(cat display)

# One Wine server for the whole run; its HID bus announces the emulated mouse a little after it
# starts, which larkctl.exe list shows.
wineserver -p
mouse_found() { [ "$(exit_of wine "$larkctl" list)" = 0 ]; }
within 20 mouse_found || fail "Wine never found the emulated mouse"

title='^Tarrow Lark 8k Configuration Tool$'
window_id() { xdotool search --name "$title" 2>/dev/null | head -1; }
window_count() { xdotool search --name "$title" 2>/dev/null | wc -l; }
window_shown() { [ -n "$(window_id)" ]; }
window_gone() { [ "$(window_count)" = 0 ]; }
process_gone() { ! kill -0 "$app" 2>/dev/null; }

# Starts lark-config.exe (its diagnostic log on stderr) and waits until the window shows the
# settings it read; start_ms is the time that took.
start_window() {
    ctl log clear >/dev/null
    local started
    started=$(now_ms)
    : >app.err
    wine "$exe" --verbose >app.out 2>app.err &
    app=$!
    within 60 said "window shows the mouse's settings" || fail "lark-config.exe never showed the mouse's settings"
    start_ms=$(($(now_ms) - started))
    said 'start: connected' || fail "start-up: $(tr -d '\r' <app.err | grep 'start: ')"
}
# Closes the window by the keys $1 (Escape outside the pages, or Alt+F4, the system menu's Close);
# the process ends and lets go of its guard.
close_window() {
    local win
    win=$(window_id)
    [ -n "$win" ] || fail "no window to close"
    xdotool windowfocus --sync "$win" key "$1"
    local status=0
    within 20 process_gone || fail "$1 did not end lark-config.exe"
    wait "$app" || status=$?
    app=""
    [ "$status" = 0 ] || fail "lark-config.exe exited $status after $1"
    within 20 window_gone || fail "the window outlived its process"
}

# ---- --version answers without a window, on standard output although no console is there ----
version=$(wine "$exe" --version 2>/dev/null | tr -d '\r') || fail "lark-config.exe --version exited $?"
[[ $version =~ ^lark-config\ [0-9]+\.[0-9]+$ ]] || fail "lark-config.exe --version printed '$version'"
[ "$(window_count)" = 0 ] || fail "--version showed a window"
echo "--version: $version"

# ---- start-up: the version, then the settings, each after its wait, as on Linux ----
before=$(larkctl_get lift-off-distance)
start_window
first_ms=$start_ms
startup=$(ctl log | grep -E '"dir":"(set|get)"' |
    sed -E 's/.*"t_us":([0-9]+).*"dir":"([a-z]+)".*"id":([0-9]+).*"data":"(....).*/\2 \3 \1 \4/')
frame() { sed -n "${1}p" <<<"$startup"; }
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
said 'window shows firmware version V1.06' ||
    fail "the window shows no firmware version V1.06: $(tr -d '\r' <app.err | grep 'firmware version')"

# ---- the window, its title, a screenshot ----
within 30 window_shown || fail "no window titled 'Tarrow Lark 8k Configuration Tool'"
win=$(window_id)
eval "$(xdotool getwindowgeometry --shell "$win")"
xdotool mousemove 0 0  # Xvfb draws the pointer into its screen: keep it off the window
echo "window ${WIDTH}x${HEIGHT} titled 'Tarrow Lark 8k Configuration Tool', showing firmware V1.06"
"$here/../support/xwd-to-png.py" "$shot" "$X" "$Y" "$WIDTH" "$HEIGHT" <Xvfb_screen0 || fail "no screenshot"
echo "screenshot: $shot"

# ---- a second copy ends silently while the first runs, before it touches the mouse ----
ctl log clear >/dev/null
code=$(exit_of wine "$exe")
[ "$code" = 0 ] || fail "the second copy exited $code"
[ "$(window_count)" = 1 ] || fail "the second copy showed a window"
[ "$(frames)" = 0 ] || fail "the second copy talked to the mouse ($(frames) frames)"
echo "second copy ended silently"

# ---- APPLY from the keyboard: focus the window, change a control, Ctrl+S ----
ctl log clear >/dev/null
xdotool windowfocus --sync "$win"
# The focus starts on Factory Reset: Tab to the tab bar, Tab to the lift-off distance, one down.
xdotool key --delay 100 Tab Tab Down
xdotool key ctrl+s
within 20 said 'apply: ' || fail "Ctrl+S started no APPLY"
said 'apply: applied' || fail "APPLY: $(tr -d '\r' <app.err | grep 'apply: ')"
[ "$(writes)" = 1 ] || fail "APPLY wrote $(writes) blocks"
after=$(larkctl_get lift-off-distance)
[ "$before" = 1mm ] && [ "$after" = 2mm ] || fail "larkctl.exe reads lift-off-distance $before before APPLY, $after after"
echo "APPLY by keyboard wrote one block; larkctl.exe reads it back (lift-off-distance $before -> $after)"

# ---- larkctl.exe writes while the window is open: the window reads the mouse again ----
shown() { tr -d '\r' <app.err | grep -c "window shows the mouse's settings" || true; }
shown_before=$(shown)
shown_again() { [ "$(shown)" -gt "$shown_before" ]; }
wine "$larkctl" set lift-off-distance=1mm >/dev/null 2>&1 || fail "larkctl.exe set exited $?"
within 20 shown_again || fail "the window did not read the mouse again after larkctl.exe wrote"
said 'read again: connected' || fail "reading again: $(tr -d '\r' <app.err | grep 'read again: ')"
echo "larkctl.exe's write announced: the window read the mouse again"

# ---- closing ends the process; the next copy starts as a first one (benchmark runs) ----
# The focus is on a page, where Escape belongs to the control: the system menu's Close.
close_window alt+F4
runs=("$first_ms")
for _ in 1 2; do
    start_window
    runs+=("$start_ms")
    # The focus starts outside the pages: Escape closes the window.
    close_window Escape
done
echo "Alt+F4 and Escape closed the window; the next two copies started and showed the settings"

# ---- unplug, and plug as far as this Wine reports it (last: Wine 8 does not bring it back) ----
start_window
ctl unplug >/dev/null
within 20 said 'removal: unplugged' || fail "the unplug was not followed: $(tr -d '\r' <app.err | grep 'removal: ')"
echo "unplug followed through Windows' device notifications"
ctl plug >/dev/null
if within 10 said 'arrival: connected'; then
    echo "plug followed: the mouse read again"
else
    echo "plug not followed: Wine 8's HID bus does not start a returning device again (the Linux tiers cover it)"
fi
close_window Escape

# ---- benchmark: process start to the settings shown (median of 3), beside Linux ----
median() { sort -n | sed -n 2p; }
echo "lark-config start to the settings shown (median of 3):"
echo "  lark-config.exe under wine: $(printf '%s\n' "${runs[@]}" | median) ms (runs: ${runs[*]})"
if [ -n "$linux" ]; then
    ctl plug >/dev/null 2>&1 || true
    runs=()
    for _ in 1 2 3; do
        started=$(now_ms)
        QT_QPA_PLATFORM=offscreen "$linux" --verbose >app.out 2>app.err &
        app=$!
        within 30 said "window shows the mouse's settings" || fail "the Linux window never showed the settings"
        runs+=("$(($(now_ms) - started))")
        kill "$app"
        wait "$app" 2>/dev/null || true
        app=""
    done
    echo "  lark-config on Linux:       $(printf '%s\n' "${runs[@]}" | median) ms (offscreen; runs: ${runs[*]})"
fi
echo "wine-window: all checks passed"
