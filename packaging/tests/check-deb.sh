#!/usr/bin/env bash
# Builds the .deb with cpack from the build folder's configuration into a scratch folder and checks
# its name, control fields, dependencies, maintainer scripts and contents.
#   check-deb.sh <cpack> <build dir> <version> [program...]
set -uo pipefail
# shellcheck source=testlib.sh
source "$(dirname "$0")/testlib.sh"

cpack=$1 build=$2 version=$3
shift 3
programs=("$@")
app_id=io.github.lark_config

command -v dpkg-deb >/dev/null || skip "dpkg-deb not installed (apt-get install dpkg-dev)"
if ((${#programs[@]})) && ! command -v dpkg-shlibdeps >/dev/null; then
  skip "dpkg-shlibdeps not installed (apt-get install dpkg-dev)"
fi
make_scratch

if ! (cd "$build" && "$cpack" -G DEB -B "$scratch/out") >"$scratch/cpack.log" 2>&1; then
  fail "cpack failed:"$'\n'"$(cat "$scratch/cpack.log")"
  finish
fi
arch=$(dpkg --print-architecture)
deb=$scratch/out/lark-config_${version}_$arch.deb
if [[ ! -f $deb ]]; then
  fail "no $(basename "$deb"); cpack made: $(ls "$scratch/out")"
  finish
fi

field() { dpkg-deb -f "$deb" "$1"; }
[[ $(field Package) == lark-config ]] || fail "Package is '$(field Package)'"
[[ $(field Version) == "$version" ]] || fail "Version is '$(field Version)', not $version"
[[ $(field Architecture) == "$arch" ]] || fail "Architecture is '$(field Architecture)'"
[[ $(field Maintainer) =~ ^[^\<]+\ \<[^@\>]+@[^\>]+\>$ ]] || fail "Maintainer '$(field Maintainer)' is not 'Name <address>'"
[[ $(field Description) == *"Tarrow Lark 8k"* ]] || fail "Description does not name the mouse"
[[ -n $(field Section) ]] || fail "no Section"

depends=$(field Depends)
[[ $depends == *qt6-qpa-plugins* ]] || fail "Depends lacks qt6-qpa-plugins (no window without it): $depends"
if ((${#programs[@]})); then
  # dpkg-shlibdeps found what the programs link against.
  for library in libhidapi-hidraw0 libudev1 libqt6core6 libqt6widgets6 libc6; do
    [[ $depends == *"$library"* ]] || fail "Depends lacks $library: $depends"
  done
fi

# Contents: every file in its place, owned by root, data files not writable by others.
contents=$(dpkg-deb -c "$deb")
check_entry() {
  local path=$1 modes=$2 line
  line=$(awk -v p="./usr/$path" '$6 == p' <<<"$contents")
  if [[ -z $line ]]; then
    fail "the package lacks /usr/$path"
    return
  fi
  read -r perms owner _ <<<"$line"
  [[ $perms =~ $modes ]] || fail "/usr/$path has mode $perms"
  [[ $owner == root/root ]] || fail "/usr/$path is owned by $owner"
}
check_entry lib/udev/rules.d/70-lark-config.rules '^-rw-r--r--$'
check_entry share/applications/$app_id.desktop '^-rw-r--r--$'
check_entry share/icons/hicolor/scalable/apps/lark-config.svg '^-rw-r--r--$'
check_entry share/metainfo/$app_id.metainfo.xml '^-rw-r--r--$'
for program in "${programs[@]}"; do
  check_entry "bin/$program" '^-rwxr-xr-x$'
done
files=$(awk '$1 !~ /^d/' <<<"$contents" | wc -l)
((files == 4 + ${#programs[@]})) || fail "the package holds $files files, expected $((4 + ${#programs[@]})):"$'\n'"$contents"

# Maintainer scripts reload udev, so the rule works without a reboot, and tolerate a missing udev.
dpkg-deb -e "$deb" "$scratch/control"
for script in postinst postrm; do
  file=$scratch/control/$script
  if [[ ! -x $file ]]; then
    fail "no executable $script"
    continue
  fi
  grep -q 'udevadm control --reload-rules' "$file" || fail "$script does not reload the udev rules"
  sh -n "$file" || fail "$script is not valid sh"
  # Run it where udevadm fails: it must still succeed, or dpkg leaves the package half-configured.
  mkdir -p "$scratch/bin"
  printf '#!/bin/sh\nexit 1\n' >"$scratch/bin/udevadm"
  chmod +x "$scratch/bin/udevadm"
  action=configure
  [[ $script == postrm ]] && action=remove
  PATH=$scratch/bin:$PATH sh "$file" "$action" || fail "$script $action fails when udev cannot be reached"
done

finish
