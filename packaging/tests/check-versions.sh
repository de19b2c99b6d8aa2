#!/usr/bin/env bash
# The release history agrees everywhere a user or a packager reads it: CHANGELOG.md, debian/changelog
# and the AppStream releases list the same versions, newest first, and the newest is the project's.
#   check-versions.sh <source dir> <project version>
set -uo pipefail
# shellcheck source=testlib.sh
source "$(dirname "$0")/testlib.sh"

dir=$1 version=$2
changelog=$dir/CHANGELOG.md
debian=$dir/debian/changelog
metainfo=$dir/packaging/io.github.lark_config.metainfo.xml

# "version date" lines, newest first.
from_markdown() { sed -n 's/^## \[\([^]]*\)\] - \([0-9-]*\).*/\1 \2/p' "$changelog"; }
from_debian() {
  local v
  while IFS= read -r line; do
    if [[ $line =~ ^lark-config\ \(([^\)]*)\) ]]; then
      v=${BASH_REMATCH[1]}
    elif [[ $line =~ ^\ --\ .*\>\ \ (.*)$ ]]; then
      echo "$v $(date -u -d "${BASH_REMATCH[1]}" +%F)"
    fi
  done <"$debian"
}
from_metainfo() { sed -n 's/.*<release version="\([^"]*\)" date="\([^"]*\)".*/\1 \2/p' "$metainfo"; }

markdown=$(from_markdown)
[[ -n $markdown ]] || fail "CHANGELOG.md has no '## [version] - date' entry"
newest=${markdown%%$'\n'*}
[[ ${newest%% *} == "$version" ]] || fail "newest CHANGELOG.md entry is '${newest%% *}', the project is $version"
for other in debian metainfo; do
  got=$(from_$other)
  [[ $got == "$markdown" ]] || fail "$other history differs from CHANGELOG.md:"$'\n'"$(diff <(echo "$markdown") <(echo "$got"))"
done
if command -v dpkg-parsechangelog >/dev/null; then
  parsed=$(dpkg-parsechangelog -l "$debian" -S Version 2>&1)
  [[ $parsed == "$version" ]] || fail "dpkg-parsechangelog reads version '$parsed', not $version"
fi
finish
