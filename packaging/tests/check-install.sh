#!/usr/bin/env bash
# Installs the build into staging folders (DESTDIR) under two prefixes and checks that exactly the
# expected files land in their places, with the contents and modes they must have, and that the
# README's table of installed files names each of them.
#   check-install.sh <cmake> <build dir> <packaging source dir> <README> <udev rules dir> [program...]
set -uo pipefail
# shellcheck source=testlib.sh
source "$(dirname "$0")/testlib.sh"

cmake=$1 build=$2 sources=$3 readme=$4 udev_dir=$5
shift 5
programs=("$@")
app_id=io.github.lark_config
make_scratch

# An installed file made by the build: one of the expected, not empty, mode 644.
expect_readable() {
  local installed=$1 shown=/${1#"$stage"/}
  expected+=("${installed#"$stage"/}")
  if [[ ! -s $installed ]]; then
    fail "$shown is missing or empty"
  elif [[ $(stat -c %a "$installed") != 644 ]]; then
    fail "$shown has mode $(stat -c %a "$installed"), not 644"
  fi
}

for prefix in /usr /opt/lark-config; do
  stage=$scratch/stage${prefix//\//_}
  if ! DESTDIR=$stage "$cmake" --install "$build" --prefix "$prefix" >"$scratch/install.log" 2>&1; then
    fail "cmake --install --prefix $prefix failed:"$'\n'"$(cat "$scratch/install.log")"
    continue
  fi
  root=$stage$prefix
  # The udev folder may be set apart from the prefix.
  if [[ $udev_dir == /* ]]; then rules=$stage$udev_dir; else rules=$root/$udev_dir; fi

  # source|installed file|mode
  data=(
    "udev/70-lark-config.rules|$rules/70-lark-config.rules|644"
    "$app_id.desktop|$root/share/applications/$app_id.desktop|644"
    "icons/lark-config.svg|$root/share/icons/hicolor/scalable/apps/lark-config.svg|644"
    "$app_id.metainfo.xml|$root/share/metainfo/$app_id.metainfo.xml|644"
  )
  for program in "${programs[@]}"; do
    [[ $program == larkctl ]] &&
      data+=("completion/larkctl|$root/share/bash-completion/completions/larkctl|644")
  done
  expected=()
  for entry in "${data[@]}"; do
    IFS='|' read -r source installed mode <<<"$entry"
    expected+=("${installed#"$stage"/}")
    shown=/${installed#"$stage"/}
    if [[ ! -f $installed ]]; then
      fail "$shown is missing"
      continue
    fi
    cmp -s "$sources/$source" "$installed" || fail "$shown differs from $source"
    [[ $(stat -c %a "$installed") == "$mode" ]] || fail "$shown has mode $(stat -c %a "$installed"), not $mode"
  done
  for program in "${programs[@]}"; do
    expected+=("${prefix#/}/bin/$program" "${prefix#/}/share/man/man1/$program.1")
    if [[ ! -f $root/bin/$program ]]; then
      fail "$prefix/bin/$program is missing"
    elif [[ ! -x $root/bin/$program ]]; then
      fail "$prefix/bin/$program is not executable"
    fi
    # Its manual page, made from docs/man/<program>.1.scd: roff with the program's name and section.
    page=$root/share/man/man1/$program.1
    if [[ ! -f $page ]]; then
      fail "$prefix/share/man/man1/$program.1 is missing"
      continue
    fi
    [[ $(stat -c %a "$page") == 644 ]] || fail "$program.1 has mode $(stat -c %a "$page"), not 644"
    grep -q "^\.TH \"$program\" \"1\"" "$page" || fail "$program.1 has no '.TH \"$program\" \"1\"' header"
    grep -q '^\.SH NAME' "$page" || fail "$program.1 has no NAME section"
    if command -v man >/dev/null; then
      rendered=$(MANWIDTH=80 man -l "$page" 2>&1 >/dev/null)
      [[ -z $rendered ]] || fail "man reports on $program.1: $rendered"
    fi
  done

  # The window's translations, made by lrelease from translations/*.ts, and its private libraries:
  # the program finds them from where it is installed.
  if [[ " ${programs[*]} " == *" lark-config "* ]]; then
    for library in liblark-config-core.so liblark-config-window.so; do
      expect_readable "$root/lib/lark-config/$library"
    done
    if [[ -x $root/bin/lark-config ]] && ! version=$("$root/bin/lark-config" --version 2>&1); then
      fail "$prefix/bin/lark-config --version does not run where it is installed: $version"
    fi
    for ts in "$sources"/../translations/*.ts; do
      expect_readable "$root/share/lark-config/translations/$(basename "${ts%.ts}").qm"
    done
  fi

  # Nothing else: no static libraries, headers or test programs, and nothing outside the prefix.
  actual=$(cd "$stage" && find . \( -type f -o -type l \) -printf '%P\n' | sort)
  wanted=$(printf '%s\n' "${expected[@]}" | sort)
  if [[ $actual != "$wanted" ]]; then
    fail "prefix $prefix: installed files differ from the expected set"$'\n'"$(diff <(echo "$wanted") <(echo "$actual"))"
  fi
done

# The README's table (the one under "This installs:") names every file, by its name and folder.
table=$(awk '/^This installs:/ { on = 1; next } on && /^\|/ { print; seen = 1; next } seen { exit }' "$readme")
[[ -n $table ]] || fail "the README has no table under 'This installs:'"
while IFS= read -r file; do
  [[ -n $file ]] || continue
  name=$(basename "$file")
  folder=$(dirname "${file#usr/}")
  grep -F "\`$name\`" <<<"$table" | grep -qF "\`$folder/\`" ||
    fail "the README's table of installed files does not name $name in $folder/"
done < <(cd "$scratch/stage_usr" 2>/dev/null && find . \( -type f -o -type l \) -printf '%P\n' | sort)

if ((${#programs[@]} == 0)); then
  echo "note: no program targets in this build; checked the data files only"
fi
finish
