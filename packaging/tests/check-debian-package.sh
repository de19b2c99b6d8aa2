#!/usr/bin/env bash
# Builds the Debian source and binary packages from a clean copy of the sources with
# dpkg-buildpackage (which runs the unit tests through dh_auto_test), has lintian check them, and
# checks the binary package's fields, dependencies, contents and maintainer scripts.
#   check-debian-package.sh <source dir> <output dir> <version> [program...]
# The packages stay in <output dir> for check-hardening.sh.
set -uo pipefail
# shellcheck source=testlib.sh
source "$(dirname "$0")/testlib.sh"

src=$1 out=$2 version=$3
shift 3
programs=("$@")
app_id=io.github.lark_config

for tool in dpkg-buildpackage dpkg-checkbuilddeps dh lintian; do
  command -v "$tool" >/dev/null ||
    skip "$tool is not installed, so no Debian package can be built here (scripts/install-deps.sh installs it)"
done
if ! missing=$(cd "$src" && dpkg-checkbuilddeps 2>&1); then
  skip "dpkg-buildpackage cannot run: $missing"
fi

# A clean copy: what git tracks or would track, without build folders or editor files.
rm -rf "$out"
tree=$out/lark-config-$version
mkdir -p "$tree"
if git -C "$src" rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  (cd "$src" && git ls-files -z --cached --others --exclude-standard) |
    tar -C "$src" --null --ignore-failed-read -T - -cf - 2>/dev/null | tar -C "$tree" -xf -
else
  tar -C "$src" --exclude='./build*' --exclude=./.git -cf - . | tar -C "$tree" -xf -
fi

# The compiler cache of the other builds serves this one too. debhelper gives the build a HOME of
# its own, where ccache would start an empty cache every time: name the cache, and take paths as
# relative to the copy so that a copy in another folder still hits.
cache_env=()
if [[ ${CMAKE_CXX_COMPILER_LAUNCHER:-} == *ccache* ]] && cache_dir=$(ccache -k cache_dir 2>/dev/null); then
  cache_env=(CCACHE_DIR="$cache_dir" CCACHE_BASEDIR="$tree")
fi
log=$out/dpkg-buildpackage.log
jobs=$(nproc 2>/dev/null || echo 1)
if ! (cd "$tree" && env "${cache_env[@]}" DEB_BUILD_OPTIONS="parallel=$jobs ${DEB_BUILD_OPTIONS:-}" \
  dpkg-buildpackage -us -uc) >"$log" 2>&1; then
  fail "dpkg-buildpackage -us -uc failed (whole log: $log):"$'\n'"$(tail -n 80 "$log")"
  finish
fi
grep -q 'tests passed, 0 tests failed' "$log" || fail "the package build ran no unit tests (dh_auto_test)"

arch=$(dpkg --print-architecture)
deb=$out/lark-config_${version}_$arch.deb
changes=$out/lark-config_${version}_$arch.changes
[[ -f $deb && -f $changes && -f $out/lark-config_$version.dsc ]] || {
  fail "dpkg-buildpackage made: $(ls "$out")"
  finish
}

# lintian on the source and the binary package: no errors and no warnings. Overrides, each with its
# reason, live in debian/.
lintian_out=$(lintian --fail-on error,warning "$changes" 2>&1)
lintian_status=$?
reported=$(grep -E '^[EW]: ' <<<"$lintian_out")
if ((lintian_status != 0)) || [[ -n $reported ]]; then
  fail "lintian reported:"$'\n'"$lintian_out"
fi

field() { dpkg-deb -f "$deb" "$1"; }
[[ $(field Package) == lark-config ]] || fail "Package is '$(field Package)'"
[[ $(field Version) == "$version" ]] || fail "Version is '$(field Version)', not $version"
[[ $(field Architecture) == "$arch" ]] || fail "Architecture is '$(field Architecture)'"
[[ $(field Maintainer) =~ ^[^\<]+\ \<[^@\>]+@[^\>]+\>$ ]] || fail "Maintainer '$(field Maintainer)' is not 'Name <address>'"
[[ $(field Description) == *"Tarrow Lark 8k"* ]] || fail "Description does not name the mouse"
[[ -n $(field Section) ]] || fail "no Section"

depends=$(field Depends)
# The font that draws the full-width colon of "CPI Levels"; dpkg-shlibdeps finds the libraries.
for dependency in fonts-sil-nuosusil libhidapi-hidraw0 libudev1 libqt6core6 libqt6widgets6 libc6; do
  [[ $depends == *"$dependency"* ]] || fail "Depends lacks $dependency: $depends"
done

# Contents: exactly these files, owned by root, data files not writable by others.
contents=$(dpkg-deb -c "$deb")
wanted=(
  "lib/udev/rules.d/70-lark-config.rules|-rw-r--r--"
  "share/applications/$app_id.desktop|-rw-r--r--"
  "share/icons/hicolor/scalable/apps/lark-config.svg|-rw-r--r--"
  "share/metainfo/$app_id.metainfo.xml|-rw-r--r--"
  "share/doc/lark-config/copyright|-rw-r--r--"
  "share/doc/lark-config/changelog.gz|-rw-r--r--"
)
# The window's translations, one per translations/*.ts.
for ts in "$src"/translations/*.ts; do
  [[ -e $ts ]] && wanted+=("share/lark-config/translations/$(basename "$ts" .ts).qm|-rw-r--r--")
done
for program in "${programs[@]}"; do
  wanted+=("bin/$program|-rwxr-xr-x" "share/man/man1/$program.1.gz|-rw-r--r--")
  # lark-config's private libraries: what runs before the window, and the window.
  if [[ $program == lark-config ]]; then
    multiarch=$(dpkg-architecture -qDEB_HOST_MULTIARCH)
    wanted+=("lib/$multiarch/lark-config/liblark-config-core.so|-rw-r--r--"
      "lib/$multiarch/lark-config/liblark-config-window.so|-rw-r--r--")
  fi
  [[ $program == larkctl ]] && wanted+=("share/bash-completion/completions/larkctl|-rw-r--r--")
done
for entry in "${wanted[@]}"; do
  IFS='|' read -r path mode <<<"$entry"
  line=$(awk -v p="./usr/$path" '$6 == p' <<<"$contents")
  if [[ -z $line ]]; then
    fail "the package lacks /usr/$path"
    continue
  fi
  read -r perms owner _ <<<"$line"
  [[ $perms == "$mode" ]] || fail "/usr/$path has mode $perms, not $mode"
  [[ $owner == root/root ]] || fail "/usr/$path is owned by $owner"
done
files=$(awk '$1 !~ /^d/' <<<"$contents" | wc -l)
((files == ${#wanted[@]})) || fail "the package holds $files files, expected ${#wanted[@]}:"$'\n'"$contents"

# Maintainer scripts reload udev, so the rule works without a reboot, and tolerate a missing udev.
make_scratch
dpkg-deb -e "$deb" "$scratch/control"
mkdir -p "$scratch/bin"
printf '#!/bin/sh\nexit 1\n' >"$scratch/bin/udevadm"
chmod +x "$scratch/bin/udevadm"
for script in postinst postrm; do
  file=$scratch/control/$script
  if [[ ! -x $file ]]; then
    fail "no executable $script"
    continue
  fi
  grep -q 'udevadm control --reload-rules' "$file" || fail "$script does not reload the udev rules"
  sh -n "$file" || fail "$script is not valid sh"
  # Where udevadm fails it must still succeed, or dpkg leaves the package half-configured.
  action=configure
  [[ $script == postrm ]] && action=remove
  PATH=$scratch/bin:$PATH sh "$file" "$action" || fail "$script $action fails when udev cannot be reached"
done

finish
