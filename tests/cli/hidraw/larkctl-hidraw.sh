#!/usr/bin/env bash
# Runs inside `hidemu run`: the real larkctl (hidapi, libudev) against the emulated mouse.
# list, show, export, import and watch, with the frames they leave in hidemu's log.
# Usage: larkctl-hidraw.sh HIDEMU LARKCTL
set -euo pipefail
hidemu=$1
larkctl=$2
work=$(mktemp -d)
chmod 700 "$work"
export XDG_RUNTIME_DIR=$work
watcher=""
trap '[ -n "$watcher" ] && kill "$watcher" 2>/dev/null; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# list: the serial number comes from the enumeration.
out=$("$larkctl" list) || fail "list exited $?"
grep -q 'HM0001' <<<"$out" || fail "list lacks the serial: $out"
grep -q 'V1.06' <<<"$out" || fail "list lacks the firmware: $out"

# show: the mouse's own block in words.
"$hidemu" ctl poke 0x23 012003 >/dev/null  # CPI level 1: X and Y differ, X = 800
out=$("$larkctl" show) || fail "show exited $?"
grep -Eq '^cpi1 +800x400$' <<<"$out" || fail "show: $out"

# export, change the mouse, import: the block comes back byte for byte.
before=$("$hidemu" ctl settings)
"$larkctl" export "$work/profile.json" || fail "export exited $?"
"$larkctl" set cpi1=1600 polling-rate=1000 >/dev/null || fail "set exited $?"
[ "$("$hidemu" ctl settings)" != "$before" ] || fail "set changed nothing"
"$hidemu" ctl log clear >/dev/null
"$larkctl" import "$work/profile.json" >/dev/null || fail "import exited $?"
after=$("$hidemu" ctl settings)
[ "${after:0:222}" = "${before:0:222}" ] || fail "import did not restore the block: $before / $after"
[ "$("$hidemu" ctl log | grep -c '"dir":"set".*"id":160')" = 1 ] || fail "import wrote more than one block"

# A bad profile writes nothing.
"$hidemu" ctl log clear >/dev/null
echo '{"format": "larkctl-profile", "version": 1, "settings": {"cpi1": 5}}' >"$work/bad.json"
if "$larkctl" import "$work/bad.json" 2>/dev/null; then fail "bad profile accepted"; else code=$?; fi
[ "$code" = 5 ] || fail "bad profile exit $code"
! "$hidemu" ctl log | grep -q '"dir":"set"' || fail "bad profile touched the mouse"

# watch: the polling-rate button, unplug and plug, one line each.
"$larkctl" watch >"$work/watch.txt" 2>&1 &
watcher=$!
wait_line() {
    for _ in $(seq 100); do
        grep -q "$1" "$work/watch.txt" && return 0
        sleep 0.1
    done
    fail "watch never said '$1': $(cat "$work/watch.txt")"
}
wait_line '^connected'
"$hidemu" ctl event 6 2 >/dev/null
wait_line '^polling-rate 4000$'
"$hidemu" ctl unplug >/dev/null
wait_line '^unplugged'
"$hidemu" ctl plug >/dev/null
wait_line '^plugged'
kill -INT "$watcher"
wait "$watcher" || fail "watch exited $? on SIGINT"
watcher=""
echo "larkctl hidraw: all passed"
