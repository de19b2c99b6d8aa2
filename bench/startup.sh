#!/usr/bin/env bash
# The window's start-up beside `larkctl show` on hidemu's emulated mouse: the real lark-config on
# an X server of its own (Xvfb, as on a desktop; offscreen where there is none), from process
# start to the mouse's settings on screen, and larkctl from process start to its end, in turn,
# with the ratio and the window's resident memory. Needs root and /dev/fuse, like
# scripts/hidemu-tests.sh; builds into build/ (or $LARK_BUILD_DIR).
#   bench/startup.sh [RUNS]
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${LARK_BUILD_DIR:-build}
runs=${1:-15}
cmake --build "$dir" --target lark-config larkctl bench_startup >/dev/null
# shellcheck source=../scripts/lib/hidemu.sh
source scripts/lib/hidemu.sh
hidemu_build "$dir" >/dev/null || { echo "startup: $HIDEMU_MISSING" >&2; exit 1; }
# shellcheck source=../scripts/lib/xvfb.sh
source scripts/lib/xvfb.sh
export XDG_RUNTIME_DIR=$(mktemp -d)
cleanup() { xvfb_stop; rm -rf "$XDG_RUNTIME_DIR"; }
trap cleanup EXIT
if command -v Xvfb >/dev/null; then
    xvfb_start
    echo "on Xvfb $DISPLAY"
else
    export QT_QPA_PLATFORM=offscreen
    echo "no Xvfb: offscreen"
fi
scenario=$(mktemp)
trap 'cleanup; rm -f "$scenario"' EXIT
echo "layout mouse,config,event" >"$scenario"
"$HIDEMU_BIN" run --timeout 300 --scenario "$scenario" -- \
    "$dir/bench/startup" --programs "$dir/src/app/lark-config" "$dir/src/cli/larkctl" "$runs"
