#!/usr/bin/env bash
# `larkctl show` from process start to its last line of output, with the emulated mouse
# present, beside the protocol's own floor: the waits a version read (50 ms) and a settings
# read (80 ms) need. Goal: within 15 % of the floor.
# Usage: bench/cli/show.sh HIDEMU LARKCTL [RUNS]   (needs root, /dev/fuse, like hidemu-tests.sh)
set -euo pipefail
if [ "${1:-}" = --inside ]; then
    larkctl=$2 runs=$3
    export XDG_RUNTIME_DIR=$(mktemp -d)
    trap 'rm -rf "$XDG_RUNTIME_DIR"' EXIT
    times=()
    for _ in $(seq "$runs"); do
        start=$(date +%s%N)
        "$larkctl" show >/dev/null
        end=$(date +%s%N)
        times+=($(((end - start) / 1000)))
    done
    sorted=($(printf '%s\n' "${times[@]}" | sort -n))
    median=${sorted[$((${#sorted[@]} / 2))]}
    floor=130000
    printf 'larkctl show: median %d.%03d ms over %d runs (min %d.%03d, max %d.%03d)\n' \
        $((median / 1000)) $((median % 1000)) "$runs" $((sorted[0] / 1000)) $((sorted[0] % 1000)) \
        $((sorted[-1] / 1000)) $((sorted[-1] % 1000))
    printf 'protocol floor: %d ms (version 50 ms + settings 80 ms); over the floor: %d.%d %%\n' \
        $((floor / 1000)) $(((median - floor) * 100 / floor)) $(((median - floor) * 1000 / floor % 10))
    exit 0
fi
hidemu=$1 larkctl=$2 runs=${3:-20}
exec "$hidemu" run --timeout 300 -- "$(cd "$(dirname "$0")" && pwd)/show.sh" --inside "$(realpath "$larkctl")" "$runs"
