#!/usr/bin/env bash
# Cross-builds the Windows programs and tests with mingw-w64 into build-windows/ (or
# $LARK_BUILD_DIR): the Qt-free core, its unit tests as .exe, larkctl.exe and its zip.
# Installs the cross compiler when it is missing (as root); extra arguments go to cmake.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${LARK_BUILD_DIR:-build-windows}
scripts/install-deps.sh windows
cmake -S . -B "$dir" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw-w64.cmake \
  -DCMAKE_BUILD_TYPE=${LARK_BUILD_TYPE:-Release} -DLARK_WERROR=ON "$@" >/dev/null
cmake --build "$dir"
