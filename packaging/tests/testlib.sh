# shellcheck shell=bash
# Helpers shared by the packaging checks (sourced, not run).
# A check calls fail for each fault it finds and ends with finish; ctest reads exit code 77 as skipped.

failures=0
scratch=

fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

skip() {
  echo "SKIP: $*"
  exit 77
}

finish() {
  if ((failures)); then
    echo "$failures check(s) failed" >&2
    exit 1
  fi
  echo "all checks passed"
  exit 0
}

# A temporary folder removed when the script ends.
make_scratch() {
  scratch=$(mktemp -d "${TMPDIR:-/tmp}/lark-packaging.XXXXXX")
  trap 'rm -rf "$scratch"' EXIT
}

# The value of key in the [Desktop Entry] group of a desktop file.
desktop_value() {
  local file=$1 key=$2
  sed -n '/^\[Desktop Entry\]/,/^\[/{s/^'"$key"'[[:space:]]*=[[:space:]]*//p}' "$file" | head -n 1
}

# The text of every <element>text</element> of an XML file written one element a line.
xml_texts() {
  local file=$1 element=$2
  sed -n 's|.*<'"$element"'\( [^>]*\)\{0,1\}>\([^<]*\)</'"$element"'>.*|\2|p' "$file"
}

# The value of attribute on the first element that has it.
xml_attribute() {
  local file=$1 element=$2 attribute=$3
  sed -n 's|.*<'"$element"' [^>]*'"$attribute"'="\([^"]*\)".*|\1|p' "$file" | head -n 1
}
