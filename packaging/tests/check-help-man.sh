#!/usr/bin/env bash
# Each program's --help and its manual page name the same options, and the same commands when the
# program has commands: the options of `PROGRAM --help` and of `PROGRAM COMMAND --help` for every
# command it lists, against every *--option* and *-o* the page sets in bold. --help must answer
# without a display.
#   check-help-man.sh <manual page folder> <program>...
set -uo pipefail
# shellcheck source=testlib.sh
source "$(dirname "$0")/testlib.sh"

pages=$1
shift
(($#)) || skip "this build has no programs"

# Options in a help text: the first column of the indented lines of an "...Options:" section,
# split at commas and spaces ("  -h,--help   Print ...", "  --device TEXT   The mouse ...").
help_options() {
  awk '/^[A-Za-z ]*[Oo][Pp][Tt][Ii][Oo][Nn][Ss]:$/ { on = 1; next }
       /^[^ ]/ || /^$/ { on = 0 }
       on && /^ +-/ { sub(/^ +/, ""); split($0, part, /  +/); print part[1] }' |
    tr ', ' '\n\n' | grep -E '^(--[a-z0-9][a-z0-9-]*|-[A-Za-z])$'
}
# Commands in a help text: the first word of the indented lines of a "Subcommands:" or
# "Commands:" section.
help_commands() {
  awk '/^([Ss]ub)?[Cc]ommands:$|^SUBCOMMANDS:$|^COMMANDS:$/ { on = 1; next }
       /^[^ ]/ || /^$/ { on = 0 }
       on && /^ +[a-z]/ { print $1 }'
}
# The page's options: every bold --option or -o.
page_options() { grep -oE '\*(--[a-z0-9][a-z0-9-]*|-[A-Za-z])\*' "$1" | tr -d '*'; }
# The page's commands: the bold first word of each entry of its COMMANDS section.
page_commands() { sed -n '/^# COMMANDS/,/^# /{s/^\*\([a-z][a-z0-9-]*\)\*.*/\1/p}' "$1"; }

differ() {
  local what=$1 from_help=$2 from_page=$3
  local only_help only_page
  only_help=$(comm -23 <(sort -u <<<"$from_help") <(sort -u <<<"$from_page") | xargs)
  only_page=$(comm -13 <(sort -u <<<"$from_help") <(sort -u <<<"$from_page") | xargs)
  [[ -z $only_help ]] || fail "$what in --help but not in the manual page: $only_help"
  [[ -z $only_page ]] || fail "$what in the manual page but not in --help: $only_page"
}

for program in "$@"; do
  name=$(basename "$program")
  page=$pages/$name.1.scd
  [[ -f $page ]] || { fail "$name has no manual page $page"; continue; }
  if ! help=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$program" --help 2>&1); then
    fail "$name --help failed:"$'\n'"$help"
    continue
  fi
  options=$(help_options <<<"$help")
  [[ -n $options ]] || fail "$name --help lists no options:"$'\n'"$help"
  commands=$(help_commands <<<"$help")
  for command in $commands; do
    if ! more=$("$program" "$command" --help 2>&1); then
      fail "$name $command --help failed:"$'\n'"$more"
      continue
    fi
    options+=$'\n'$(help_options <<<"$more")
  done
  differ "$name: options" "$options" "$(page_options "$page")"
  differ "$name: commands" "$commands" "$(page_commands "$page")"
done
finish
