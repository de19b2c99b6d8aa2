#!/usr/bin/env bash
# Configures and builds into build/ (or $LARK_BUILD_DIR), warnings as errors; extra arguments go to
# cmake. LARK_BUILD_TARGET builds one target instead of everything.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${LARK_BUILD_DIR:-build}
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=${LARK_BUILD_TYPE:-RelWithDebInfo} -DLARK_WERROR=ON "$@" >/dev/null
cmake --build "$dir" ${LARK_BUILD_TARGET:+--target "$LARK_BUILD_TARGET"}
