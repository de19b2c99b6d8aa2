#!/usr/bin/env bash
# Runs the newcomer's scripts against recording stand-ins for apt-get, dpkg-query, id, cmake and
# ctest: install-deps.sh says one line per step, shows apt's log only when a step fails and asks
# for its groups' packages only; demo.sh without a display says so at once and neither installs
# nor builds anything; demo.sh and test.sh ask for their own groups and build what they need.
#   check-scripts.sh <source dir>
set -uo pipefail
# shellcheck source=testlib.sh
source "$(dirname "$0")/testlib.sh"

source_dir=$1
make_scratch
bin=$scratch/bin
calls=$scratch/calls.log
mkdir -p "$bin"
# Each stand-in records its call; STUB_<NAME>_EXIT and STUB_<NAME>_OUT steer it.
for tool in apt-get dpkg-query id cmake ctest; do
  var=${tool//-/_}
  var=${var^^}
  cat >"$bin/$tool" <<STUB
#!/bin/sh
echo "$tool \$*" >>"$calls"
[ -n "\${STUB_${var}_OUT:-}" ] && printf '%s\n' "\$STUB_${var}_OUT"
exit \${STUB_${var}_EXIT:-0}
STUB
  chmod +x "$bin/$tool"
done
run() { env PATH="$bin:$PATH" "$@"; }
apt_noise=$(seq -f 'Unpacking package %g ...' 1 400)

# install-deps.sh: name|dpkg-query status|id -u|apt-get exit|expected exit|output must contain|max lines
cases=(
  "all present|install ok installed|1000|0|0|are installed|1"
  "missing, as root|deinstall ok config-files|0|0|0|installing|2"
  "missing, not root|deinstall ok config-files|1000|0|1|as root|1"
  "apt fails|deinstall ok config-files|0|100|1|Unpacking package 400|410"
)
for case in "${cases[@]}"; do
  IFS='|' read -r name status uid apt_exit want_exit want_text max_lines <<<"$case"
  : >"$calls"
  out=$(STUB_DPKG_QUERY_OUT=$status STUB_ID_OUT=$uid STUB_APT_GET_EXIT=$apt_exit STUB_APT_GET_OUT=$apt_noise \
    run bash "$source_dir/scripts/install-deps.sh" test 2>&1)
  got_exit=$?
  [[ $got_exit == "$want_exit" ]] || fail "install-deps ($name): exit $got_exit, not $want_exit"$'\n'"$out"
  [[ $out == *"$want_text"* ]] || fail "install-deps ($name): no '$want_text' in:"$'\n'"$out"
  lines=$(wc -l <<<"$out")
  ((lines <= max_lines)) || fail "install-deps ($name): $lines lines, at most $max_lines wanted"
  if [[ $want_exit == 0 ]]; then
    grep -q 'Unpacking' <<<"$out" && fail "install-deps ($name): apt's output shown on success"
  fi
  if [[ $uid != 0 ]]; then
    grep -q '^apt-get' "$calls" && fail "install-deps ($name): apt-get ran as a user"
  fi
done

# The packages each group asks for: group...|some it must ask for|some it must not
queried() { sed -n 's/^dpkg-query .* \([^ ]*\)$/\1/p' "$calls"; }
groups=(
  "demo|cmake qt6-base-dev fonts-sil-nuosusil|libgtest-dev xvfb lintian clang g++-mingw-w64-x86-64-posix"
  "test|cmake libgtest-dev xvfb python3-pyatspi|lintian clang fuse3 wine"
  "package|cmake libgtest-dev debhelper lintian|clang fuse3 g++-mingw-w64-x86-64-posix"
  "windows|cmake g++-mingw-w64-x86-64-posix googletest|qt6-base-dev libgtest-dev"
  "hidemu|fuse3 libfuse3-dev build-essential|qt6-base-dev cmake"
  "hidemu wine|fuse3 wine|cmake"
  "ci|cmake libgtest-dev lintian fuse3 wine g++-mingw-w64-x86-64-posix clang ccache|"
)
for case in "${groups[@]}"; do
  IFS='|' read -r names want refuse <<<"$case"
  : >"$calls"
  read -ra names <<<"$names"
  STUB_DPKG_QUERY_OUT="install ok installed" run bash "$source_dir/scripts/install-deps.sh" "${names[@]}" >/dev/null 2>&1 ||
    fail "install-deps ${names[*]}: failed with every package installed"
  asked=" $(queried | tr '\n' ' ') "
  for p in $want; do [[ $asked == *" $p "* ]] || fail "install-deps ${names[*]}: does not ask for $p"; done
  for p in $refuse; do [[ $asked != *" $p "* ]] || fail "install-deps ${names[*]}: asks for $p"; done
  dupes=$(queried | sort | uniq -d)
  [[ -z $dupes ]] || fail "install-deps ${names[*]}: asks twice for $dupes"
done
# ci is every package of the list.
: >"$calls"
STUB_DPKG_QUERY_OUT="install ok installed" run bash "$source_dir/scripts/install-deps.sh" ci >/dev/null 2>&1
listed=$(awk '$1 !~ /^#/ && NF { print $2 }' "$source_dir/scripts/packages.list" | sort)
[[ $(queried | sort) == "$listed" ]] ||
  fail "install-deps ci: not the whole list:"$'\n'"$(diff <(echo "$listed") <(queried | sort))"
# No group, or one the list does not have: usage, and nothing asked.
for names in "" "tests" "demo nosuch"; do
  : >"$calls"
  read -ra names <<<"$names"
  out=$(run bash "$source_dir/scripts/install-deps.sh" "${names[@]}" 2>&1)
  status=$?
  [[ $status == 2 ]] || fail "install-deps '${names[*]}': exit $status, not 2 (usage)"
  [[ $out == *demo* && $out == *test* ]] || fail "install-deps '${names[*]}': does not name the groups: $out"
  [[ ! -s $calls ]] || fail "install-deps '${names[*]}': asked dpkg or apt before refusing"
done

# demo.sh without a display: at once, non-zero, pointing to a desktop session or xvfb-run.
: >"$calls"
out=$(env -u DISPLAY -u WAYLAND_DISPLAY PATH="$bin:$PATH" bash "$source_dir/scripts/demo.sh" 2>&1)
status=$?
((status != 0)) || fail "demo.sh without a display exits 0"
[[ $out == *xvfb-run* && $out == *desktop* ]] || fail "demo.sh does not point to a desktop session or xvfb-run: $out"
[[ $out != *Reinstalling* ]] || fail "demo.sh left the message to Qt: $out"
[[ ! -s $calls ]] || fail "demo.sh installed or built before finding there is no display:"$'\n'"$(cat "$calls")"

# demo.sh with a display builds the demo target only.
: >"$calls"
DISPLAY=:99 STUB_DPKG_QUERY_OUT="install ok installed" LARK_BUILD_DIR=$scratch/build \
  run bash "$source_dir/scripts/demo.sh" >/dev/null 2>&1
grep -qx 'cmake --build .* --target lark-config-demo' "$calls" ||
  fail "demo.sh does not build just the demo target:"$'\n'"$(grep '^cmake' "$calls")"
asked=" $(queried | tr '\n' ' ') "
[[ $asked == *" qt6-base-dev "* && $asked != *" libgtest-dev "* ]] ||
  fail "demo.sh does not ask for the demo's packages only:$asked"
# In a new build folder without the tests, which need more packages.
grep -q '^cmake -S .*-DLARK_BUILD_TESTS=OFF' "$calls" || fail "demo.sh configures a new build folder with the tests"

# test.sh: the test group, the target tests built, every tier but the Debian package run.
: >"$calls"
STUB_DPKG_QUERY_OUT="install ok installed" LARK_BUILD_DIR=$scratch/build run bash "$source_dir/scripts/test.sh" >/dev/null 2>&1
asked=" $(queried | tr '\n' ' ') "
[[ $asked == *" libgtest-dev "* && $asked != *" lintian "* ]] || fail "test.sh does not ask for the test group:$asked"
grep -q '^cmake -S .*-DLARK_BUILD_TESTS=ON' "$calls" || fail "test.sh does not build the tests:"$'\n'"$(cat "$calls")"
# What ctest runs, not the benchmarks and tools.
grep -qx 'cmake --build .* --target tests' "$calls" ||
  fail "test.sh does not build just the target tests:"$'\n'"$(grep '^cmake' "$calls")"
grep -qx "ctest --test-dir $scratch/build .*-LE debian-package" "$calls" ||
  fail "test.sh does not leave the Debian package to its tier:"$'\n'"$(grep '^ctest' "$calls")"

finish
