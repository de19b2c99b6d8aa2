#!/usr/bin/env bash
# Renders the window on the virtual mouse (offscreen) into docs/, for the README.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh >/dev/null
dir=${LARK_BUILD_DIR:-build}
"$dir/tools/screenshot/lark-screenshot" docs/screenshot.png 0
"$dir/tools/screenshot/lark-screenshot" docs/screenshot-advanced.png 1
"$dir/tools/screenshot/lark-screenshot" docs/screenshot-mapping.png 2
LANGUAGE=de LANG=de_DE.UTF-8 "$dir/tools/screenshot/lark-screenshot" docs/screenshot-de.png 0
LANGUAGE=zh_CN LANG=zh_CN.UTF-8 "$dir/tools/screenshot/lark-screenshot" docs/screenshot-zh_CN-mapping.png 2
echo "docs/screenshot*.png written"
