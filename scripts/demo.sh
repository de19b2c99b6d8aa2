#!/usr/bin/env bash
# Installs what the demo needs, builds only the demo program, and starts the window on the virtual
# mouse.
set -euo pipefail
cd "$(dirname "$0")/.."
if [[ -z ${DISPLAY:-} && -z ${WAYLAND_DISPLAY:-} ]]; then
  echo "demo: the demo opens a window, and there is no graphical session here (neither DISPLAY nor" >&2
  echo "demo: WAYLAND_DISPLAY is set). Start it from a terminal in your desktop session, or give it" >&2
  echo "demo: a virtual screen: xvfb-run -a scripts/demo.sh" >&2
  exit 2
fi
scripts/install-deps.sh demo
dir=${LARK_BUILD_DIR:-build}
# A new build folder leaves the tests out (they need more packages); scripts/test.sh turns them on.
tests=()
[[ -f $dir/CMakeCache.txt ]] || tests=(-DLARK_BUILD_TESTS=OFF)
LARK_BUILD_TARGET=lark-config-demo LARK_BUILD_DIR=$dir scripts/build.sh "${tests[@]}"
exec "$(cat "$dir/lark-config-demo.path")"
