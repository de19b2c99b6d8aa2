#!/usr/bin/env bash
# Cross-builds the Windows programs and tests with mingw-w64 into build-windows/ (or
# $LARK_BUILD_DIR): the Qt-free core, its unit tests as .exe, larkctl.exe, and lark-config.exe
# where a static Qt for mingw is there or its prebuilt tarball is (scripts/build-qt-windows.sh
# --cached; it never builds Qt here), with the window's and pages' tests where that Qt has Qt
# Test, then the zip. Installs the cross compiler when it is
# missing (as root); extra arguments go to cmake.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${LARK_BUILD_DIR:-build-windows}
scripts/install-deps.sh windows
# The Qt with Qt Test first (the window's tests as .exe as well), else the one without.
qt_prefix=
window=OFF
if scripts/build-qt-windows.sh --with-testlib --cached >/dev/null 2>&1; then
  qt_prefix=${LARK_QT_PREFIX:-/opt/qt6-mingw-static-testlib}
  window=ON
elif scripts/build-qt-windows.sh --cached; then
  qt_prefix=${LARK_QT_PREFIX:-/opt/qt6-mingw-static}
  window=ON
  echo "build-windows: the Qt for mingw has no Qt Test, so the window's tests are not built as .exe (scripts/build-qt-windows.sh --with-testlib builds one, about an hour on 2 cores)"
else
  echo "build-windows: no Qt for mingw, so no lark-config.exe (scripts/build-qt-windows.sh builds one from Debian's source, about an hour on 2 cores)"
fi
# Another Qt than the build folder was set up with: its found packages would stay cached.
if [ -f "$dir/CMakeCache.txt" ] && ! grep -qx "LARK_QT_PREFIX:PATH=$qt_prefix" "$dir/CMakeCache.txt"; then
  rm -rf "$dir/CMakeCache.txt" "$dir/CMakeFiles"
fi
cmake -S . -B "$dir" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw-w64.cmake \
  -DCMAKE_BUILD_TYPE=${LARK_BUILD_TYPE:-Release} -DLARK_WERROR=ON -DLARK_QT_PREFIX="$qt_prefix" -DLARK_BUILD_GUI=$window \
  "$@" >/dev/null
cmake --build "$dir"
