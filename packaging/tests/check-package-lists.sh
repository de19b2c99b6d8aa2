#!/usr/bin/env bash
# One list of Debian packages: scripts/install-deps.sh holds it, and what debian/control builds
# with and what the Windows scripts (build, Wine tier, static Qt) install for the host are taken
# from it. A package named in any of them and missing there fails here.
#   check-package-lists.sh <source dir>
set -uo pipefail
# shellcheck source=testlib.sh
source "$(dirname "$0")/testlib.sh"

dir=$1
# The words between "packages=(" and the closing ")" of a script, comments left out.
script_list() {
  awk '/^packages=\(/ { on = 1 } on { sub(/#.*/, ""); print } on && /\)/ { exit }' "$1" |
    sed -e 's/packages=(//' -e 's/)//' | tr -s ' \t' '\n' | sed '/^$/d'
}
listed=$(script_list "$dir/scripts/install-deps.sh")
[[ -n $listed ]] || fail "no packages=( ... ) list in scripts/install-deps.sh"

# Build-Depends without versions and build profiles; the names Debian also answers to.
build_depends=$(sed -n '/^Build-Depends:/,/^[A-Z]/p' "$dir/debian/control" | sed -e '1s/^Build-Depends://' -e '/^[A-Z]/d' |
  tr ',' '\n' | sed -e 's/([^)]*)//g' -e 's/<[^>]*>//g' | tr -d ' \t' | sed '/^$/d')
same_as() {
  case $1 in
    debhelper-compat) echo debhelper ;;
    pkgconf) echo pkg-config ;;
    *) echo "$1" ;;
  esac
}
for package in $build_depends; do
  grep -qxF -- "$(same_as "$package")" <<<"$listed" || fail "debian/control builds with $package, not in install-deps.sh"
done
# The Windows build's own: the cross compiler and what only it needs; the Wine tier's and the
# static Qt's must be in the one list too.
for script in build-windows.sh wine-tests.sh build-qt-windows.sh; do
  [[ -n $(script_list "$dir/scripts/$script") ]] || fail "no packages=( ... ) list in scripts/$script"
  for package in $(script_list "$dir/scripts/$script"); do
    case $package in
      *mingw*|googletest|zip|groff-base) continue ;;
    esac
    grep -qxF -- "$package" <<<"$listed" || fail "$script installs $package, not in install-deps.sh"
  done
done
finish
