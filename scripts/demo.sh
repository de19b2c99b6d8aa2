#!/usr/bin/env bash
# Installs what is missing, builds only the demo program, and starts the window on the virtual mouse.
set -euo pipefail
cd "$(dirname "$0")/.."
if [[ -z ${DISPLAY:-} && -z ${WAYLAND_DISPLAY:-} ]]; then
  echo "demo: the demo opens a window, and there is no graphical session here (neither DISPLAY nor" >&2
  echo "demo: WAYLAND_DISPLAY is set). Start it from a terminal in your desktop session, or give it" >&2
  echo "demo: a virtual screen: xvfb-run -a scripts/demo.sh" >&2
  exit 2
fi
scripts/install-deps.sh
dir=${LARK_BUILD_DIR:-build}
LARK_BUILD_TARGET=lark-config-demo LARK_BUILD_DIR=$dir scripts/build.sh
exec "$(cat "$dir/lark-config-demo.path")"
