#!/usr/bin/env bash
# scripts/build-qt-windows.sh --cached with a small stand-in for the static Qt's tarball: a prefix
# with the right stamp is left alone, a tarball with the right stamp is unpacked in its place, one
# with another stamp is not used, a folder that is not ours is never replaced, and --pack makes a
# tarball that comes back. Nothing is built.
#   check-qt-windows-cache.sh <source dir>
set -uo pipefail
# shellcheck source=testlib.sh
source "$(dirname "$0")/testlib.sh"

script=$(realpath "$1")/scripts/build-qt-windows.sh
for package in qt6-base-dev-tools dpkg-dev xz-utils; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
    skip "$package is not installed (scripts/install-deps.sh installs it)"
done
make_scratch
prefix=$scratch/opt/qt6-mingw-static
stamp=$(LARK_QT_PREFIX=$prefix bash "$script" --stamp) || fail "--stamp exited $?"
[[ $stamp == *"-prefix $prefix "* ]] || fail "the stamp does not name the prefix: $stamp"

# A tarball laid out as the real one: the prefix's last folder, its stamp, a file of Qt's.
tarball() {  # tarball FILE STAMP
  local tree=$scratch/tree
  rm -rf "$tree"
  mkdir -p "$tree/qt6-mingw-static/lib"
  echo "$2" >"$tree/qt6-mingw-static/.build-stamp"
  echo qt >"$tree/qt6-mingw-static/lib/libQt6Core.a"
  tar -C "$tree" -cJf "$1" qt6-mingw-static
}
cached() {  # cached TARBALL: the script's output; its exit code in $code
  out=$(LARK_QT_PREFIX=$prefix LARK_QT_TARBALL=$1 bash "$script" --cached 2>&1)
  code=$?
}
tarball "$scratch/right.tar.xz" "$stamp"
tarball "$scratch/other.tar.xz" "qt6-base 0.0 | other options"

# name | prefix before (none, stale, foreign, current) | tarball | exit | output | Qt there after
cases=(
  "unpacked where there is none|none|right|0|unpacked|yes"
  "left alone when its stamp matches|current|right|0|up to date|yes"
  "replaced when its stamp is stale|stale|right|0|unpacked|yes"
  "another stamp's tarball not used|none|other|1|not used|no"
  "no tarball, no Qt|none|missing|1|no Qt for mingw|no"
  "a folder not ours kept|foreign|right|1|not replacing it|no"
)
for entry in "${cases[@]}"; do
  IFS='|' read -r name before which want_code want_text want_qt <<<"$entry"
  rm -rf "$scratch/opt"
  mkdir -p "$scratch/opt"
  case $before in
    current) mkdir -p "$prefix/lib" && echo "$stamp" >"$prefix/.build-stamp" && echo qt >"$prefix/lib/libQt6Core.a" ;;
    stale) mkdir -p "$prefix" && echo "qt6-base 0.0 | old" >"$prefix/.build-stamp" && echo left >"$prefix/left-over" ;;
    foreign) mkdir -p "$prefix" && echo mine >"$prefix/mine" ;;
  esac
  cached "$scratch/$which.tar.xz"
  [[ $code == "$want_code" ]] || fail "$name: exit $code, not $want_code: $out"
  [[ $out == *"$want_text"* ]] || fail "$name: no '$want_text' in: $out"
  if [[ $want_qt == yes ]]; then
    [[ -f $prefix/lib/libQt6Core.a && $(cat "$prefix/.build-stamp") == "$stamp" ]] || fail "$name: no Qt with the stamp at $prefix"
    [[ ! -e $prefix/left-over ]] || fail "$name: the stale prefix's files were kept"
  else
    [[ ! -f $prefix/.build-stamp || $(cat "$prefix/.build-stamp") != "$stamp" ]] || fail "$name: a Qt with the stamp appeared"
  fi
  [[ $before != foreign || -f $prefix/mine ]] || fail "$name: the folder that is not ours was touched"
  [[ -z $(find "$scratch/opt" -maxdepth 1 -name '.qt-unpack.*') ]] || fail "$name: an unpack folder was left"
done

# --pack makes the tarball that --cached takes back, and only of an up-to-date prefix.
rm -rf "$scratch/opt"
mkdir -p "$prefix/lib"
echo "$stamp" >"$prefix/.build-stamp"
echo packed >"$prefix/lib/libQt6Core.a"
(cd "$scratch" && LARK_QT_PREFIX=$prefix bash "$script" --pack packed.tar.xz >/dev/null) || fail "--pack exited $?"
rm -rf "$prefix"
cached "$scratch/packed.tar.xz"
[[ $code == 0 && $(cat "$prefix/lib/libQt6Core.a" 2>/dev/null) == packed ]] || fail "a packed prefix did not come back: $out"
echo "qt6-base 0.0 | old" >"$prefix/.build-stamp"
out=$(LARK_QT_PREFIX=$prefix bash "$script" --pack "$scratch/stale.tar.xz" 2>&1) && fail "a stale prefix was packed: $out"
[[ ! -e $scratch/stale.tar.xz ]] || fail "a tarball of a stale prefix was written"
finish
