#!/usr/bin/env bash
# The static Qt for x86_64-w64-mingw32 that lark-config.exe is built on: Debian's own qt6-base
# source (the version of the build machine's Qt tools, whose moc, rcc and uic it uses), Core, Gui,
# Widgets, the qwindows platform plugin and the Windows styles, installed under a fixed prefix
# stamped with the source version and the configure options.
#   scripts/build-qt-windows.sh            up to date: nothing; a prebuilt tarball with the same
#                                          stamp: unpacked (seconds); else built from source
#                                          (about an hour on 2 cores, 2.3 GB of scratch disk)
#   scripts/build-qt-windows.sh --cached   never builds: exits 1 when neither is there
#   scripts/build-qt-windows.sh --stamp    prints the stamp a prefix or tarball must carry
#   scripts/build-qt-windows.sh --pack F   packs the up-to-date prefix as the tarball F, for a
#                                          cache or another machine (LARK_QT_TARBALL=F there)
#   --with-testlib first, before any of these: the same Qt with Qt Test as well, in a prefix of its
#   own (default /opt/qt6-mingw-static-testlib), for the window's test programs as .exe.
# LARK_QT_PREFIX (default /opt/qt6-mingw-static; a tarball unpacks only there, its paths are
# absolute), LARK_QT_TARBALL (default ../shared/tools/qt-mingw/qt6-mingw-static-<version>.tar.xz),
# LARK_QT_WORK (scratch, default /var/tmp/qt-mingw-build). Needs root to install packages.
set -euo pipefail
testlib=
if [ "${1:-}" = --with-testlib ]; then
  testlib=-testlib
  shift
fi
mode=${1:-build}
case $mode in
  build | --cached | --stamp) ;;
  --pack) [ -n "${2:-}" ] && pack=$(realpath -m "$2") || mode=usage ;;
  *) mode=usage ;;
esac
if [ "$mode" = usage ]; then
  echo "usage: build-qt-windows.sh [--with-testlib] [--cached | --stamp | --pack FILE]" >&2
  exit 2
fi
cd "$(dirname "$0")/.."
started=$SECONDS
step_started=$SECONDS
say() { echo "build-qt-windows: $* ($((SECONDS - step_started)) s)"; step_started=$SECONDS; }

prefix=${LARK_QT_PREFIX:-/opt/qt6-mingw-static$testlib}
work=${LARK_QT_WORK:-/var/tmp/qt-mingw-build}
triple=x86_64-w64-mingw32

# The stamp and a tarball need only these; building from source installs its whole group below.
for package in qt6-base-dev-tools dpkg-dev xz-utils; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || {
    echo "build-qt-windows: $package is missing (scripts/install-deps.sh windows demo)" >&2
    exit 1
  }
done

# The cross Qt is the version of the host tools.
host_version=$(dpkg-query -W -f='${Version}' qt6-base-dev-tools)  # e.g. 6.4.2+dfsg-10
upstream=${host_version%%+*}
upstream=${upstream%%-*}                                             # e.g. 6.4.2
tarball=${LARK_QT_TARBALL:-../shared/tools/qt-mingw/qt6-mingw-static$testlib-$upstream.tar.xz}

testlib_option=-no-feature-testlib
[ -z "$testlib" ] || testlib_option=-feature-testlib
# Changing any of these changes the stamp, so the Qt is built again.
configure_options=(
  -prefix "$prefix" -static -static-runtime -release
  -xplatform win32-g++ -qt-host-path /usr
  -nomake examples -nomake tests
  -no-opengl -no-dbus -no-icu -no-pkg-config
  # Debian's +dfsg tarball drops src/3rdparty/wintab, which the tablet code of qwindows needs.
  -no-feature-tabletevent
  # Direct2D stays on: Gui builds its DirectWrite font database only with it, and qwindows
  # refers to that database (without it, programs fail to link).
  -no-feature-sql -no-feature-network "$testlib_option" -no-feature-printsupport
  -no-feature-concurrent -no-feature-xml
  -qt-zlib -qt-libpng -no-libjpeg -no-gif -qt-freetype -qt-harfbuzz -qt-pcre
  -qt-doubleconversion -no-zstd
)
cmake_options=(
  -G Ninja
  -DCMAKE_TOOLCHAIN_FILE="$prefix/toolchain-mingw-qt.cmake"
  # Debian's host Qt keeps its CMake packages under the multiarch folder.
  -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)/cmake
)
stamp="qt6-base $host_version | ${configure_options[*]} | ${cmake_options[*]}"
if [ "$mode" = --stamp ]; then
  echo "$stamp"
  exit 0
fi

# Only a prefix of ours (it has a stamp), or an empty one, is ever replaced.
mine() {
  [ ! -e "$1" ] || [ -f "$1/.build-stamp" ] || [ -z "$(ls -A "$1")" ] && return 0
  echo "build-qt-windows: $1 holds something without a .build-stamp; not replacing it" >&2
  return 1
}

if [ -f "$prefix/.build-stamp" ] && [ "$(cat "$prefix/.build-stamp")" = "$stamp" ]; then
  say "$prefix is up to date (qt6-base $host_version)"
  if [ "$mode" = --pack ]; then
    nice -n 19 tar -C "$(dirname "$prefix")" -cJf "$pack" "$(basename "$prefix")"
    say "packed $prefix as $pack ($(du -h "$pack" | cut -f1))"
  fi
  exit 0
fi
if [ "$mode" = --pack ]; then
  echo "build-qt-windows: no up-to-date Qt for mingw at $prefix to pack" >&2
  exit 1
fi

# A prebuilt tarball of this very recipe: its stamp is read without unpacking the rest.
if [ -f "$tarball" ]; then
  tarball_stamp=$(tar -xJOf "$tarball" "$(basename "$prefix")/.build-stamp" 2>/dev/null || true)
  if [ "$tarball_stamp" = "$stamp" ]; then
    mine "$prefix" || exit 1
    # Unpacked beside it and moved in whole: an interrupted unpack leaves no prefix with a stamp.
    mkdir -p "$(dirname "$prefix")"
    unpack=$(mktemp -d "$(dirname "$prefix")/.qt-unpack.XXXXXX")
    trap 'rm -rf "$unpack"' EXIT
    tar -C "$unpack" -xJf "$tarball"
    rm -rf "$prefix"
    mv "$unpack/$(basename "$prefix")" "$prefix"
    say "unpacked $tarball into $prefix ($(du -sh "$prefix" | cut -f1))"
    exit 0
  fi
  say "$tarball was built with other options or another qt6-base: not used"
fi
if [ "$mode" = --cached ]; then
  echo "build-qt-windows: no Qt for mingw at $prefix and no matching tarball (run scripts/build-qt-windows.sh to build one, about an hour)" >&2
  exit 1
fi

# ---- from source ---------------------------------------------------------------------------
# The windows group of scripts/packages.list, with the demo's Qt and build tools.
scripts/install-deps.sh windows demo >/dev/null
say "the packages are there"
mine "$prefix" || exit 1
mkdir -p "$work"
source_dir=$work/qt6-base-${host_version%-*}  # e.g. qt6-base-6.4.2+dfsg
if [ ! -d "$source_dir" ]; then
  if [ -z "$(apt-cache showsrc qt6-base 2>/dev/null)" ]; then
    [ "$(id -u)" = 0 ] || { echo "build-qt-windows: no deb-src for qt6-base (add one as root)" >&2; exit 1; }
    # Debian's deb-src entry beside the deb one.
    sed -e 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources \
      >/etc/apt/sources.list.d/debian-src.sources
    apt-get update -qq
  fi
  (cd "$work" && apt-get source -qq "qt6-base=$host_version" >/dev/null)
  say "fetched the qt6-base $host_version source"
fi

# The toolchain goes into the prefix: the installed Qt's qt.toolchain.cmake chain-loads it.
mkdir -p "$prefix"
cat >"$prefix/toolchain-mingw-qt.cmake" <<TOOLCHAIN
# x86_64-w64-mingw32 cross toolchain (Debian mingw-w64, posix threads).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
find_program(CMAKE_C_COMPILER NAMES $triple-gcc-posix REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES $triple-g++-posix REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES $triple-windres REQUIRED)
list(APPEND CMAKE_FIND_ROOT_PATH /usr/$triple)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Programs need no libgcc_s_seh-1.dll or libstdc++ DLLs (Debian's libgcc_s.a is an import
# library, so Qt's -static-runtime alone leaves a libgcc_s_seh-1.dll import in programs).
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
TOOLCHAIN

build=$work/build-qt
rm -rf "$build"
mkdir -p "$build"
cd "$build"
nice -n 19 "$source_dir/configure" "${configure_options[@]}" -- "${cmake_options[@]}" >"$work/qt-configure.log" 2>&1 ||
  { tail -40 "$work/qt-configure.log"; exit 1; }
say "configured"
nice -n 19 ninja >"$work/qt-build.log" 2>&1 || { tail -40 "$work/qt-build.log"; exit 1; }
say "built ($(grep -c '^\[' "$work/qt-build.log" || true) steps)"
# A previous build of ours (it has a stamp) is replaced, not overlaid.
if [ -f "$prefix/.build-stamp" ]; then
  find "$prefix" -mindepth 1 -maxdepth 1 ! -name toolchain-mingw-qt.cmake -exec rm -rf {} +
fi
nice -n 19 cmake --install . >"$work/qt-install.log" 2>&1
echo "$stamp" >"$prefix/.build-stamp"
say "installed to $prefix ($(du -sh "$prefix" | cut -f1)); $((SECONDS - started)) s in all"
