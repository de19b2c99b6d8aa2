#!/usr/bin/env bash
# lark-config in two pieces: the program and its core library load no Qt GUI library (those come
# with the window's module, once the mouse's exchange has begun), and the module holds none of the
# core's code: one copy of every function and every static, or the two halves would disagree.
#   check-window-module.sh <program> <core library> <window module>
set -uo pipefail
# shellcheck source=testlib.sh
source "$(dirname "$0")/testlib.sh"
program=$1 core=$2 module=$3
command -v nm >/dev/null && command -v readelf >/dev/null || skip "nm or readelf not found"

for file in "$program" "$core"; do
  gui=$(readelf -d "$file" | grep -oE 'libQt6(Gui|Widgets)[^]]*')
  [[ -z $gui ]] || fail "$(basename "$file") needs $gui before the window"
done
readelf -d "$module" | grep -q 'libQt6Widgets' || fail "the module does not load Qt Widgets: is it the window?"

# Strong definitions only: inline functions and templates (weak) may be in both.
strong() {
  nm -C --defined-only "$1" | awk '$2 ~ /^[TDBR]$/ { $1 = ""; $2 = ""; print substr($0, 3) }' |
    grep '^lark::' | sort -u
}
core_symbols=$(strong "$core")
grep -q '^lark::SessionRunner::' <<<"$core_symbols" || fail "no session in the core library: cannot tell"
twice=$(comm -12 <(echo "$core_symbols") <(strong "$module"))
[[ -z $twice ]] || fail "the window module holds the core's code again:"$'\n'"$(head -20 <<<"$twice")"
finish
