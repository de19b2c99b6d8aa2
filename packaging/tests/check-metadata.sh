#!/usr/bin/env bash
# Checks the desktop entry, the AppStream metainfo and the icon.
#   check-metadata.sh desktop   <packaging dir>             desktop-file-validate
#   check-metadata.sh appstream <packaging dir>             appstreamcli validate --no-net
#   check-metadata.sh agree     <packaging dir> <version>   the files name each other and the mouse alike
#   check-metadata.sh licence   <source dir>                every place a packager looks names MIT
set -uo pipefail
# shellcheck source=testlib.sh
source "$(dirname "$0")/testlib.sh"

mode=$1 dir=$2
app_id=io.github.lark_config
desktop=$dir/$app_id.desktop
metainfo=$dir/$app_id.metainfo.xml
icon=$dir/icons/lark-config.svg
rule=$dir/udev/70-lark-config.rules

case $mode in
desktop)
  command -v desktop-file-validate >/dev/null || skip "desktop-file-validate not installed (apt-get install desktop-file-utils)"
  out=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate:"$'\n'"$out"
  # It exits 0 on hints and warnings; we want none.
  [[ -z $out ]] || fail "desktop-file-validate reported:"$'\n'"$out"
  ;;

appstream)
  command -v appstreamcli >/dev/null || skip "appstreamcli not installed (apt-get install appstream)"
  out=$(appstreamcli validate --no-net --pedantic "$metainfo" 2>&1) || fail "appstreamcli validate:"$'\n'"$out"
  grep -Eq '^[EWI]: ' <<<"$out" && fail "appstreamcli reported issues:"$'\n'"$out"
  ;;

agree)
  version=${3:?version missing}
  name="Tarrow Lark 8k Configuration Tool"

  # AppStream finds the desktop entry by the component id.
  id=$(xml_texts "$metainfo" id)
  [[ $id == "$app_id" ]] || fail "metainfo id is '$id', not $app_id"
  [[ $(xml_attribute "$metainfo" launchable type) == desktop-id ]] || fail "metainfo launchable is not a desktop-id"
  launchable=$(xml_texts "$metainfo" launchable)
  [[ $launchable == "$(basename "$desktop")" ]] || fail "metainfo launches '$launchable', the entry is $(basename "$desktop")"
  [[ $(xml_attribute "$metainfo" component type) == desktop-application ]] ||
    fail "metainfo component is not a desktop-application"

  [[ $(desktop_value "$desktop" Name) == "$name" ]] || fail "desktop Name is '$(desktop_value "$desktop" Name)'"
  [[ $(xml_texts "$metainfo" name | head -n 1) == "$name" ]] || fail "metainfo name differs from '$name'"

  exec_line=$(desktop_value "$desktop" Exec)
  [[ ${exec_line%% *} == lark-config ]] || fail "desktop Exec runs '$exec_line', not lark-config"
  xml_texts "$metainfo" binary | grep -qx lark-config || fail "metainfo does not provide the binary lark-config"

  icon_name=$(desktop_value "$desktop" Icon)
  [[ $icon_name == "$(basename "$icon" .svg)" ]] || fail "desktop Icon '$icon_name' has no icon file (icons/$icon_name.svg)"

  categories=$(desktop_value "$desktop" Categories)
  for category in Settings HardwareSettings; do
    [[ ";$categories" == *";$category;"* ]] || fail "desktop Categories lack $category: $categories"
  done
  [[ -n $(desktop_value "$desktop" Keywords) ]] || fail "desktop entry has no Keywords"

  # The newest release is the program's own version.
  newest=$(xml_attribute "$metainfo" release version)
  [[ $newest == "$version" ]] || fail "newest metainfo release is '$newest', the program is $version"
  [[ $(xml_attribute "$metainfo" release date) =~ ^[0-9]{4}-[0-9]{2}-[0-9]{2}$ ]] || fail "release has no ISO date"
  grep -q '<content_rating type="oars-1.1"' "$metainfo" || fail "metainfo has no OARS content rating"

  # The modalias is what software centres match a plugged-in device against: it has to describe the
  # same vendor and product as the udev rule, in the kernel's spelling (upper-case hex).
  vendor=$(sed -n 's/.*ATTRS{idVendor}=="\([0-9a-f]*\)".*/\1/p' "$rule" | head -n 1)
  product=$(sed -n 's/.*ATTRS{idProduct}=="\([0-9a-f]*\)".*/\1/p' "$rule" | head -n 1)
  [[ -n $vendor && -n $product ]] || fail "cannot read the vendor and product from $rule"
  modalias=$(xml_texts "$metainfo" modalias)
  [[ -n $modalias ]] || fail "metainfo provides no modalias"
  ours="usb:v${vendor^^}p${product^^}d0106dc00dsc00dp00ic03isc01ip02in00"
  other="usb:v${vendor^^}p0001d0106dc00dsc00dp00ic03isc01ip02in00"
  # shellcheck disable=SC2053 # the modalias is a glob
  [[ $ours == $modalias ]] || fail "modalias '$modalias' does not match the mouse ($ours)"
  # shellcheck disable=SC2053
  [[ $other != $modalias ]] || fail "modalias '$modalias' also matches other products ($other)"

  # The icon is a square, scalable SVG (the window uses it too).
  head -c 512 "$icon" | grep -q '<svg' || fail "$icon is not an SVG"
  viewbox=$(xml_attribute "$icon" svg viewBox)
  read -r _ _ width height <<<"$viewbox"
  [[ -n $width && $width == "$height" ]] || fail "icon viewBox '$viewbox' is not square"
  if command -v xmllint >/dev/null; then
    xmllint --noout "$icon" "$metainfo" 2>&1 || fail "icon or metainfo is not well-formed XML"
  fi
  ;;

licence)
  licence=$dir/LICENSE
  [[ $(head -n 1 "$licence" 2>/dev/null) == "MIT License" ]] || fail "LICENSE is missing or is not the MIT licence"
  grep -q '^Copyright (c) [0-9]\{4\}' "$licence" || fail "LICENSE names no copyright holder"
  metainfo=$dir/packaging/$app_id.metainfo.xml
  [[ $(xml_texts "$metainfo" project_license) == MIT ]] || fail "metainfo project_license is not MIT"
  copyright=$dir/debian/copyright
  # The paragraph for all files names MIT, and a stand-alone paragraph holds the licence's text.
  files_licence=$(sed -n '/^Files: \*$/,/^$/s/^License: //p' "$copyright")
  [[ $files_licence == MIT ]] || fail "debian/copyright licenses 'Files: *' as '$files_licence', not MIT"
  body=$(sed -n '/^License: MIT$/,/^$/p' "$copyright" | sed -n 's/^ //p' | grep -v '^\.$' | tr -s ' \n' ' ')
  text=$(sed -n '/^Permission is hereby granted/,$p' "$licence" | grep -v '^$' | tr -s ' \n' ' ')
  [[ -n $text && $body == *"$text"* ]] || fail "debian/copyright lacks the text of LICENSE"
  grep -q 'SPDX-License-Identifier: MIT\|`MIT`' "$dir/README.md" || fail "README does not give the licence's SPDX identifier"
  ;;

*)
  echo "usage: check-metadata.sh desktop|appstream|agree|licence <dir> [version]" >&2
  exit 2
  ;;
esac
finish
