#!/usr/bin/env bash
# The Windows zip as a user gets it: exactly the files named, programs that need no DLL but the
# system's, lark-config.exe a window program (no console) with its icon and version resource,
# larkctl.exe a console program, the manuals plain text.
#   check-windows-zip.sh OBJDUMP OBJCOPY ZIP VERSION FILE...
set -uo pipefail
objdump=$1
objcopy=$2
zip=$3
version=$4
shift 4
status=0
fail() {
  echo "FAIL: $*" >&2
  status=1
}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

python3 - "$zip" "$scratch" <<'PY' || exit 1
import sys, zipfile
zipfile.ZipFile(sys.argv[1]).extractall(sys.argv[2])
PY
folder=$scratch/$(basename "$zip" .zip)
[ -d "$folder" ] || { echo "FAIL: the zip has no folder $(basename "$folder")" >&2; exit 1; }
got=$(cd "$folder" && find . -type f | sed 's#^\./##' | sort)
want=$(printf '%s\n' "$@" | sort)
[ "$got" = "$want" ] || fail "the zip holds"$'\n'"$got"$'\n'"instead of"$'\n'"$want"

for file in "$@"; do
  path=$folder/$file
  [ -f "$path" ] || continue
  case $file in
    *.exe)
      headers=$("$objdump" -p "$path") || { fail "$file: not a program objdump reads"; continue; }
      # The C and C++ runtimes and Qt are linked in; a DLL of theirs would be missing on Windows.
      dlls=$(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$headers")
      foreign=$(grep -iE '^(qt|lib)' <<<"$dlls")
      [ -z "$foreign" ] || fail "$file needs DLLs that Windows does not have: $foreign"
      subsystem=$(sed -n 's/^Subsystem[[:space:]]*[0-9a-f]*[[:space:]]*//p' <<<"$headers")
      case $file in
        lark-config.exe)
          [ "$subsystem" = "(Windows GUI)" ] || fail "$file: subsystem $subsystem, not a window program"
          # Resource types at the top of the directory: 3 icon, 14 icon group, 16 version.
          for type in 000003 00000e 000010; do
            grep -qE "^[0-9a-f]+   Entry: ID: 0x$type," <<<"$headers" || fail "$file: no resource of type 0x$type"
          done
          "$objcopy" -O binary --only-section=.rsrc "$path" "$scratch/rsrc" || fail "$file: no .rsrc section"
          python3 - "$scratch/rsrc" "$version" <<'PY' || fail "$file: the version resource does not say $version"
import re, sys
text = open(sys.argv[1], "rb").read().decode("utf-16-le", "replace")
for key, value in (("FileVersion", sys.argv[2]), ("ProductVersion", sys.argv[2]),
                   ("OriginalFilename", "lark-config.exe")):
    if not re.search(key + "\x00+" + re.escape(value) + "\x00", text):
        sys.exit(f"no {key} {value}")
PY
          ;;
        *)
          [ "$subsystem" = "(Windows CUI)" ] || fail "$file: subsystem $subsystem, not a console program"
          ;;
      esac
      ;;
    *.txt)
      [ -s "$path" ] || fail "$file is empty"
      ! LC_ALL=C grep -q $'[\b\x1b]' "$path" || fail "$file holds terminal escapes or overstrikes"
      ;;
  esac
done
grep -q '^NAME' "$folder/lark-config.txt" 2>/dev/null || [ ! -f "$folder/lark-config.txt" ] ||
  fail "lark-config.txt is not the manual"
# The menu's own words, read and written as UTF-8: an ellipsis lost on the way would show here.
grep -q 'Save profile… (Ctrl+Shift+S)' "$folder/lark-config.txt" 2>/dev/null || [ ! -f "$folder/lark-config.txt" ] ||
  fail "lark-config.txt lost the text of the menu (\"Save profile…\")"
[ $status = 0 ] && echo "the Windows zip holds $# files as a user needs them"
exit $status
