#!/usr/bin/env bash
# Installs what is missing, builds, and starts the window on the virtual mouse.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
exec "${LARK_BUILD_DIR:-build}/src/app/lark-config-demo"
