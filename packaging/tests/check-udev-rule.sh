#!/usr/bin/env bash
# Parses the udev rule and checks that it gives the seat's user, and nobody else, access to the
# mouse's hidraw nodes. The same parser runs over broken rules to show that it catches each fault.
#   check-udev-rule.sh <rules file>
set -uo pipefail
# shellcheck source=testlib.sh
source "$(dirname "$0")/testlib.sh"

vendor=f1a5
product=2b7e
vendor_key='ATTRS{idVendor}'
product_key='ATTRS{idProduct}'

# Prints one line for each fault of a rules file; nothing when it is sound.
rule_faults() {
  local file=$1 name line rest key op value tagged=0
  name=$(basename "$file")
  # uaccess becomes an ACL in 73-seat-late.rules; a tag added later is never seen.
  if [[ ! $name =~ ^([0-9]{2})-.*\.rules$ ]] || ((10#${BASH_REMATCH[1]} >= 73)); then
    echo "$name: the name must start with a number below 73 so the rule runs before 73-seat-late.rules"
  fi
  local token='^[[:space:]]*([A-Z_]+(\{[^}]*\})?)[[:space:]]*(==|!=|\+=|-=|:=|=)[[:space:]]*"([^"]*)"[[:space:]]*(,|$)'
  local number=0
  while IFS= read -r line || [[ -n $line ]]; do
    number=$((number + 1))
    while [[ $line == *\\ ]] && IFS= read -r rest; do
      number=$((number + 1))
      line="${line%\\}$rest"
    done
    [[ $line =~ ^[[:space:]]*(#|$) ]] && continue
    local -A matches=() assigns=()
    rest=$line
    while [[ -n ${rest//[[:space:]]/} ]]; do
      if [[ ! $rest =~ $token ]]; then
        echo "line $number: cannot parse '$rest'"
        continue 2
      fi
      key=${BASH_REMATCH[1]} op=${BASH_REMATCH[3]} value=${BASH_REMATCH[4]}
      rest=${rest:${#BASH_REMATCH[0]}}
      case $op in
        ==) matches[$key]=$value ;;
        !=) ;;
        *) assigns[$key]="${assigns[$key]:-} $op$value" ;;
      esac
    done
    if [[ -n ${assigns[MODE]:-} ]]; then
      local mode=${assigns[MODE]##*=}
      if [[ ! $mode =~ ^[0-7]{3,4}$ ]]; then
        echo "line $number: MODE \"$mode\" is not an octal mode"
      elif (((8#$mode & 8#002) != 0)); then
        echo "line $number: MODE \"$mode\" lets every user write to the device"
      fi
    fi
    for key in SUBSYSTEM "$vendor_key" "$product_key"; do
      [[ ${assigns[$key]:-} ]] && echo "line $number: $key is assigned, not matched (use ==)"
    done
    if [[ ${assigns[TAG]:-} == *uaccess* ]]; then
      # Without all three keys the tag reaches other devices (keyboards, security keys...) or no node at all.
      [[ ${matches[SUBSYSTEM]:-} == hidraw ]] || echo "line $number: uaccess without SUBSYSTEM==\"hidraw\""
      [[ ${matches[$vendor_key]:-} == "$vendor" ]] ||
        echo "line $number: uaccess without ATTRS{idVendor}==\"$vendor\" (sysfs shows lower-case hex)"
      [[ ${matches[$product_key]:-} == "$product" ]] ||
        echo "line $number: uaccess without ATTRS{idProduct}==\"$product\" (sysfs shows lower-case hex)"
      [[ ${assigns[TAG]} == *"+=uaccess"* ]] ||
        echo "line $number: TAG=\"uaccess\" replaces the tags other rules set; use TAG+="
      [[ ${matches[SUBSYSTEM]:-} == hidraw && ${matches[$vendor_key]:-} == "$vendor" &&
        ${matches[$product_key]:-} == "$product" ]] && tagged=1
    fi
    unset matches assigns
  done <"$file"
  ((tagged)) || echo "no rule tags the mouse's hidraw nodes with uaccess"
}

rule=${1:?usage: check-udev-rule.sh <rules file>}
[[ -f $rule ]] || { echo "FAIL: $rule is missing" >&2; exit 1; }

faults=$(rule_faults "$rule")
[[ -z $faults ]] || fail "$(basename "$rule"):"$'\n'"$faults"

# Broken rules: each must be refused for the stated reason.
make_scratch
good='SUBSYSTEM=="hidraw", ATTRS{idVendor}=="f1a5", ATTRS{idProduct}=="2b7e", TAG+="uaccess"'
cases=(
  "70-x.rules|$good|"
  "70-x.rules|SUBSYSTEM==\"hidraw\", ATTRS{idVendor}==\"f1a5\", ATTRS{idProduct}==\"2b7e\", MODE=\"0666\"|every user"
  "70-x.rules|${good}, MODE=\"0666\"|every user"
  "70-x.rules|${good}, GROUP=\"plugdev\", MODE:=\"0662\"|every user"
  "70-x.rules|${good}, MODE=\"0660\"|"
  "70-x.rules|${good}, MODE=\"rw\"|not an octal mode"
  "70-x.rules|SUBSYSTEM==\"hidraw\", ATTRS{idVendor}==\"f1a5\", ATTRS{idProduct}==\"2b7e\"|no rule tags"
  "70-x.rules|SUBSYSTEM==\"hidraw\", TAG+=\"uaccess\"|without ATTRS{idVendor}"
  "70-x.rules|SUBSYSTEM==\"hidraw\", ATTRS{idVendor}==\"F1A5\", ATTRS{idProduct}==\"2B7E\", TAG+=\"uaccess\"|lower-case"
  "70-x.rules|SUBSYSTEM==\"hidraw\", ATTR{idVendor}==\"f1a5\", ATTR{idProduct}==\"2b7e\", TAG+=\"uaccess\"|without ATTRS{idVendor}"
  "70-x.rules|SUBSYSTEM==\"usb\", ATTRS{idVendor}==\"f1a5\", ATTRS{idProduct}==\"2b7e\", TAG+=\"uaccess\"|without SUBSYSTEM"
  "70-x.rules|SUBSYSTEM=\"hidraw\", ATTRS{idVendor}==\"f1a5\", ATTRS{idProduct}==\"2b7e\", TAG+=\"uaccess\"|assigned, not matched"
  "70-x.rules|SUBSYSTEM==\"hidraw\", ATTRS{idVendor}==\"f1a5\", ATTRS{idProduct}==\"2b7e\", TAG=\"uaccess\"|use TAG+="
  "70-x.rules|SUBSYSTEM==\"hidraw\" ATTRS{idVendor}==\"f1a5\", TAG+=\"uaccess\"|cannot parse"
  "80-x.rules|$good|below 73"
  "lark.rules|$good|below 73"
  "70-x.rules|SUBSYSTEM==\"hidraw\", \\
    ATTRS{idVendor}==\"f1a5\", ATTRS{idProduct}==\"2b7e\", TAG+=\"uaccess\"|"
)
for case in "${cases[@]}"; do
  IFS='|' read -r -d '' name body expected <<<"$case" || true
  expected=${expected%$'\n'}
  printf '# fixture\n%s\n' "$body" >"$scratch/$name"
  got=$(rule_faults "$scratch/$name")
  if [[ -z $expected && -n $got ]]; then
    fail "a sound rule was refused: $body"$'\n'"$got"
  elif [[ -n $expected && $got != *"$expected"* ]]; then
    fail "expected a fault containing '$expected' for: $body"$'\n'"got: ${got:-no fault}"
  fi
  rm -f "$scratch/$name"
done

finish
