#!/usr/bin/env bash
# Runs the newcomer's scripts against recording stand-ins for apt-get, dpkg-query, id and cmake:
# install-deps.sh says one line per step and shows apt's log only when a step fails; demo.sh without
# a display says so at once and neither installs nor builds anything.
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
    run bash "$source_dir/scripts/install-deps.sh" 2>&1)
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

finish
