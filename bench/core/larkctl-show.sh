#!/usr/bin/env bash
# Times `COMMAND... show` RUNS times, real waits and all, and prints the median and the range
# in milliseconds. Run it where a mouse (or the emulated one) is plugged in.
#   larkctl-show.sh RUNS COMMAND...
set -euo pipefail
runs=$1
shift
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
# One untimed run first, until the mouse is found: under Wine, its HID bus announces the mouse
# a little after the server starts, and the server's start is not what is measured.
for attempt in $(seq 100); do
    "$@" show >/dev/null 2>&1 && break
    [ "$attempt" -lt 100 ] || { echo "no mouse found" >&2; exit 1; }
    sleep 0.1
done
times=()
for _ in $(seq "$runs"); do
    start=$(date +%s%N)
    "$@" show >/dev/null
    times+=($((($(date +%s%N) - start) / 1000)))
done
sorted=($(printf '%s\n' "${times[@]}" | sort -n))
ms() { printf '%d.%01d' $(($1 / 1000)) $(($1 % 1000 / 100)); }
echo "median $(ms "${sorted[$((runs / 2))]}") ms (min $(ms "${sorted[0]}"), max $(ms "${sorted[$((runs - 1))]}"))"
