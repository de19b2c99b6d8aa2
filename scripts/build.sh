#!/usr/bin/env bash
# Configures and builds into build/ (or $LARK_BUILD_DIR); extra arguments go to cmake.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${LARK_BUILD_DIR:-build}
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=${LARK_BUILD_TYPE:-RelWithDebInfo} -DLARK_WERROR=ON "$@" >/dev/null
cmake --build "$dir"
