#!/usr/bin/env bash
# Runs inside `hidemu run`: starts the real lark-config offscreen next to the emulated mouse and
# checks its start-up exchange in the frame log: the version request, at least 50 ms, its answer;
# the settings request, at least 80 ms, its answer.
# Usage: startup-frames.sh HIDEMU LARK_CONFIG
set -euo pipefail
hidemu=$1
app=$2

runtime=$(mktemp -d)
chmod 700 "$runtime"
QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=$runtime "$app" &
pid=$!
trap 'kill "$pid" 2>/dev/null || true; rm -rf "$runtime"' EXIT

# Wait for the settings answer (a get of report 0xA0 = 160) to show in the log.
log=""
for _ in $(seq 1 100); do
    log=$("$hidemu" ctl log)
    grep -q '"dir":"get","node":"[^"]*","id":160' <<<"$log" && break
    sleep 0.1
done
kill -0 "$pid" || { echo "lark-config ended early"; exit 1; }

# One line per feature exchange: direction, report id, time in us, first two data bytes.
frames=$(grep -E '"dir":"(set|get)"' <<<"$log" |
    sed -E 's/.*"t_us":([0-9]+).*"dir":"([a-z]+)".*"id":([0-9]+).*"data":"(....).*/\2 \3 \1 \4/')
echo "$frames"

expect() {  # expect LINE_NO DIR ID [DATA]
    local line
    line=$(sed -n "${1}p" <<<"$frames")
    read -r dir id _ data <<<"$line"
    [ "$dir" = "$2" ] && [ "$id" = "$3" ] && { [ -z "${4:-}" ] || [ "$data" = "$4" ]; } ||
        { echo "frame $1: want $2 $3 ${4:-}, got: $line"; exit 1; }
}
gap_ms() {  # gap_ms FROM_LINE TO_LINE
    local a b
    a=$(sed -n "${1}p" <<<"$frames" | cut -d' ' -f3)
    b=$(sed -n "${2}p" <<<"$frames" | cut -d' ' -f3)
    echo $(((b - a) / 1000))
}

expect 1 set 161 a102
expect 2 get 161
expect 3 set 161 a112
expect 4 get 160
version_wait=$(gap_ms 1 2)
settings_wait=$(gap_ms 3 4)
echo "version answer after ${version_wait} ms, settings answer after ${settings_wait} ms"
[ "$version_wait" -ge 50 ] || { echo "version answer fetched too early"; exit 1; }
[ "$settings_wait" -ge 80 ] || { echo "settings answer fetched too early"; exit 1; }
echo "start-up frames ok"
