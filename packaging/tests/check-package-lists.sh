#!/usr/bin/env bash
# scripts/packages.list is the one list of Debian packages: debian/control's Build-Depends name
# exactly the packages it marks for debian/control, the scripts install only through
# scripts/install-deps.sh, and every group they ask for is in the list.
#   check-package-lists.sh <source dir>
set -uo pipefail
# shellcheck source=testlib.sh
source "$(dirname "$0")/testlib.sh"

src=$1
list=$src/scripts/packages.list
[[ -f $list ]] || { fail "no $list"; finish; }

# The list: groups, package, where debian/control names it.
declare -A marked=() seen=() groups_known=()
while read -r groups package control extra; do
  [[ -z $groups || $groups == \#* ]] && continue
  [[ -z $extra ]] || fail "packages.list: '$groups $package $control $extra' has more than three columns"
  [[ -z ${seen[$package]:-} ]] || fail "packages.list: $package is listed twice"
  seen[$package]=1
  IFS=, read -ra names <<<"$groups"
  for group in "${names[@]}"; do groups_known[$group]=1; done
  [[ -n $control ]] || continue
  kind=${control%%=*}
  name=$package
  [[ $control == *=* ]] && name=${control#*=}
  case $kind in
  build | check) ;;
  *) fail "packages.list: $package: '$control' is neither build nor check"; continue ;;
  esac
  # `install-deps.sh package` is the package build's set-up: it installs every Build-Depends.
  [[ ,$groups, =~ ,(demo|test|package), ]] ||
    fail "packages.list: $package is in debian/control but in none of the groups demo, test, package"
  marked[$name]=$kind
done <"$list"

# debian/control's Build-Depends: name [(version)] [<profiles>], one kind per entry.
declare -A control=()
build_depends=$(sed -n '/^Build-Depends:/,/^[^ ]/{/^Build-Depends:/{s/^Build-Depends://;p;d};/^ /p}' \
  "$src/debian/control" | tr '\n' ' ')
IFS=, read -ra entries <<<"$build_depends"
for entry in "${entries[@]}"; do
  read -r name _ <<<"$entry"
  [[ -n $name ]] || continue
  kind=build
  [[ $entry == *'<!nocheck>'* ]] && kind=check
  control[$name]=$kind
done
((${#control[@]})) || fail "debian/control: no Build-Depends found"
for name in "${!control[@]}"; do
  if [[ -z ${marked[$name]:-} ]]; then
    fail "debian/control builds with $name, which packages.list does not mark for debian/control"
  elif [[ ${marked[$name]} != "${control[$name]}" ]]; then
    fail "debian/control names $name as ${control[$name]}, packages.list as ${marked[$name]}"
  fi
done
for name in "${!marked[@]}"; do
  [[ -n ${control[$name]:-} ]] || fail "packages.list marks $name for debian/control's Build-Depends, which lack it"
done

# The scripts and the README ask install-deps.sh for groups of the list, and the scripts install
# nothing around it. The fresh roots are the exception: they start from nothing, and the packager's
# has only the Build-Depends. A command is what starts a line or follows ; & | then do, and in
# the README what stands in backquotes or in an indented block.
command_start='(^|[;&|`]|\bthen|\bdo)[[:space:]]*([A-Z_]+=[^ ]*[[:space:]]+)*'
while IFS= read -r file; do
  rel=${file#"$src"/}
  [[ $rel == scripts/install-deps.sh ]] && continue
  code=$(grep -v '^[[:space:]]*#' "$file")
  while IFS= read -r groups; do
    [[ -n $groups ]] || fail "$rel runs install-deps.sh without a group"
    for group in $groups; do
      [[ -n ${groups_known[$group]:-} ]] || fail "$rel asks install-deps.sh for '$group', a group packages.list lacks"
    done
  done < <(grep -oE "$command_start([^ ;&|]*/)?install-deps\.sh( [a-z]+)*" <<<"$code" | sed -E 's/.*install-deps\.sh ?//')
  [[ $rel == scripts/fresh-machine.sh || $rel == README.md ]] && continue
  while IFS= read -r line; do
    fail "$rel installs packages itself ($line); list them in scripts/packages.list for install-deps.sh"
  done < <(grep -E "$command_start(apt-get|apt) install" <<<"$code")
done < <(find "$src/scripts" "$src/.ci" "$src/bench" "$src/tests" "$src/packaging" -type f \
  \( -name '*.sh' -o -name run \) | sort; echo "$src/README.md")
finish
