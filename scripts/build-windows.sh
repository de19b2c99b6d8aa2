#!/usr/bin/env bash
# Cross-builds the Windows programs and tests with mingw-w64 into build-windows/ (or
# $LARK_BUILD_DIR): the Qt-free core, its unit tests as .exe, larkctl.exe, and lark-config.exe
# where a static Qt for mingw is there or its prebuilt tarball is (scripts/build-qt-windows.sh
# --cached; it never builds Qt here), then the zip. Installs the cross compiler when it is
# missing (as root); extra arguments go to cmake.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${LARK_BUILD_DIR:-build-windows}
scripts/install-deps.sh windows
qt_prefix=${LARK_QT_PREFIX:-/opt/qt6-mingw-static}
window=ON
if ! scripts/build-qt-windows.sh --cached; then
  echo "build-windows: no Qt for mingw, so no lark-config.exe (scripts/build-qt-windows.sh builds one from Debian's source, about an hour on 2 cores)"
  qt_prefix=
  window=OFF
fi
cmake -S . -B "$dir" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw-w64.cmake \
  -DCMAKE_BUILD_TYPE=${LARK_BUILD_TYPE:-Release} -DLARK_WERROR=ON -DLARK_QT_PREFIX="$qt_prefix" -DLARK_BUILD_GUI=$window \
  "$@" >/dev/null
cmake --build "$dir"
