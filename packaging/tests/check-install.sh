#!/usr/bin/env bash
# Installs the build into staging folders (DESTDIR) under two prefixes and checks that exactly the
# expected files land in their places, with the contents and modes they must have.
#   check-install.sh <cmake> <build dir> <packaging source dir> [program...]
set -uo pipefail
# shellcheck source=testlib.sh
source "$(dirname "$0")/testlib.sh"

cmake=$1 build=$2 sources=$3
shift 3
programs=("$@")
app_id=io.github.lark_config
make_scratch

for prefix in /usr /opt/lark-config; do
  stage=$scratch/stage${prefix//\//_}
  if ! DESTDIR=$stage "$cmake" --install "$build" --prefix "$prefix" >"$scratch/install.log" 2>&1; then
    fail "cmake --install --prefix $prefix failed:"$'\n'"$(cat "$scratch/install.log")"
    continue
  fi
  root=$stage$prefix

  # source|installed path|mode
  data=(
    "udev/70-lark-config.rules|lib/udev/rules.d/70-lark-config.rules|644"
    "$app_id.desktop|share/applications/$app_id.desktop|644"
    "icons/lark-config.svg|share/icons/hicolor/scalable/apps/lark-config.svg|644"
    "$app_id.metainfo.xml|share/metainfo/$app_id.metainfo.xml|644"
  )
  expected=()
  for entry in "${data[@]}"; do
    IFS='|' read -r source installed mode <<<"$entry"
    expected+=("$installed")
    if [[ ! -f $root/$installed ]]; then
      fail "prefix $prefix: $installed is missing"
      continue
    fi
    cmp -s "$sources/$source" "$root/$installed" || fail "prefix $prefix: $installed differs from $source"
    [[ $(stat -c %a "$root/$installed") == "$mode" ]] ||
      fail "prefix $prefix: $installed has mode $(stat -c %a "$root/$installed"), not $mode"
  done
  for program in "${programs[@]}"; do
    expected+=("bin/$program")
    if [[ ! -f $root/bin/$program ]]; then
      fail "prefix $prefix: bin/$program is missing"
    elif [[ ! -x $root/bin/$program ]]; then
      fail "prefix $prefix: bin/$program is not executable"
    fi
  done

  # Nothing else: no libraries, headers or test programs, and nothing outside the prefix.
  actual=$(cd "$stage" && find . \( -type f -o -type l \) -printf '%P\n' | sort)
  wanted=$(printf "${prefix#/}/%s\n" "${expected[@]}" | sort)
  if [[ $actual != "$wanted" ]]; then
    fail "prefix $prefix: installed files differ from the expected set"$'\n'"$(diff <(echo "$wanted") <(echo "$actual"))"
  fi
done

if ((${#programs[@]} == 0)); then
  echo "note: no program targets in this build; checked the data files only"
fi
finish
