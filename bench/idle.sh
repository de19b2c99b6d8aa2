#!/usr/bin/env bash
# Idle cost of the real lark-config: connected to hidemu's emulated mouse, event listener
# running, left alone for IDLE_SECONDS (default 30). Prints the CPU time it used (utime+stime
# from /proc/PID/stat), its resident memory (VmRSS) and how often it woke up (context switches),
# in all and per thread (the event reader is the thread named lark-events).
# Needs root, /dev/fuse and libfuse3, like scripts/hidemu-tests.sh. Builds lark-config into
# build/ (or $LARK_BUILD_DIR) and hidemu (scripts/lib/hidemu.sh) when LARK_HIDEMU
# does not name a built one.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${IDLE_SECONDS:-30}

if [ "${1:-}" = --inside ]; then
    # Inside `hidemu run`: $2 is lark-config, $3 the hidemu binary (for `hidemu ctl`).
    app=$2 hidemu=$3
    export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
    # Its own runtime directory: no single-instance lock shared with other copies, and none
    # left behind when it is ended below.
    XDG_RUNTIME_DIR=$(mktemp -d)
    export XDG_RUNTIME_DIR
    "$app" 2>/dev/null &
    pid=$!
    trap 'kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; rm -rf "$XDG_RUNTIME_DIR"' EXIT
    # Connected and listening: the settings were read and both interfaces are open.
    for _ in $(seq 100); do
        log=$("$hidemu" ctl log)
        if grep -q '"dir":"get","node":"[^"]*","id":160' <<<"$log" &&
            [ "$(grep -c '"dir":"open"' <<<"$log")" -ge 2 ]; then
            break
        fi
        sleep 0.1
    done
    grep -q '"id":160' <<<"$log" || { echo "idle: lark-config did not connect" >&2; exit 1; }
    sleep 1
    ticks=$(getconf CLK_TCK)
    cpu() { local s; s=$(<"/proc/$pid/stat"); s=${s##*) }; set -- $s; echo $(( ${12} + ${13} )); }
    switches() { cat /proc/"$pid"/task/*/status | awk '/ctxt_switches/ { n += $2 } END { print n }'; }
    # One line per thread: id, name, context switches so far.
    threads() {
        for task in /proc/"$pid"/task/*; do
            awk -v tid="${task##*/}" '/^Name:/ { name = $2 } /ctxt_switches/ { n += $2 }
                END { print tid, name, n }' "$task/status" 2>/dev/null || true
        done
    }
    cpu0=$(cpu) sw0=$(switches) th0=$(threads)
    sleep "$seconds"
    cpu1=$(cpu) sw1=$(switches) th1=$(threads)
    rss=$(awk '/^VmRSS/ { print $2, $3 }' "/proc/$pid/status")
    kill -0 "$pid" || { echo "idle: lark-config ended early" >&2; exit 1; }
    awk -v t=$((cpu1 - cpu0)) -v hz="$ticks" -v s="$seconds" -v sw=$((sw1 - sw0)) -v rss="$rss" 'BEGIN {
        ms = t * 1000 / hz
        printf "idle %d s: CPU time %.0f ms (clock tick %.0f ms; %.3f %% of one core), VmRSS %s, %.1f wake-ups/s\n",
               s, ms, 1000 / hz, ms / (s * 10), rss, sw / s
    }'
    # Threads that lived through the whole measurement.
    awk -v s="$seconds" 'NR == FNR { before[$1] = $3; next }
        $1 in before { printf "  thread %-16s %.2f wake-ups/s\n", $2, ($3 - before[$1]) / s }' \
        <(echo "$th0") <(echo "$th1")
    exit 0
fi

dir=${LARK_BUILD_DIR:-build}
hidemu=${LARK_HIDEMU:-}
if [ -z "$hidemu" ]; then
    # shellcheck source=../scripts/lib/hidemu.sh
    source scripts/lib/hidemu.sh
    hidemu_build "$dir" >&2 || { echo "idle: $HIDEMU_MISSING" >&2; exit 1; }
    hidemu=$HIDEMU_BIN
fi
[ -d "$dir" ] && [ -f "$dir/CMakeCache.txt" ] ||
    cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=${LARK_BUILD_TYPE:-RelWithDebInfo} >/dev/null
cmake --build "$dir" --target lark-config >/dev/null
exec "$hidemu" run --timeout $((seconds + 60)) -- "$PWD/bench/idle.sh" --inside "$PWD/$dir/src/app/lark-config" "$hidemu"
