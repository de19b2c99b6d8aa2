#!/usr/bin/env bash
# Runs inside `hidemu run`: the real larkctl (hidapi, libudev) against the emulated mouse.
# list, show, export, import and watch, with the frames they leave in hidemu's log; the clone
# recipe, lost output, export targets and completion as a shell user meets them.
# Usage: larkctl-hidraw.sh HIDEMU LARKCTL COMPLETION_FILE COMPLETION_TEST
set -euo pipefail
hidemu=$1
larkctl=$2
completion=$3
completion_test=$4
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

# The README's clone recipe, --device after the command; one mouse is both ends here.
config=$("$larkctl" list --json | sed -n 's/^ *"path": "\(.*\)",$/\1/p')
[ -n "$config" ] || fail "list --json names no path"
"$larkctl" set cpi2=1650 >/dev/null || fail "set exited $?"
"$hidemu" ctl log clear >/dev/null
"$larkctl" export --device HM0001 - | "$larkctl" import --device "$config" - >"$work/clone.txt" ||
    fail "the clone recipe failed: $(cat "$work/clone.txt")"
grep -q 'Nothing to change' "$work/clone.txt" || fail "clone: $(cat "$work/clone.txt")"

# --device naming no mouse: exit 2, whatever it names.
mkfifo "$work/fifo"
for device in /dev/null "$work/fifo" "$work/profile.json" HM0002; do
    if "$larkctl" --device "$device" show >/dev/null 2>&1; then fail "--device $device accepted"; else code=$?; fi
    [ "$code" = 2 ] || fail "--device $device exit $code"
done

# Output that cannot be written: a full disk, and a pipe whose reader is gone (a FIFO opened for
# reading and writing, then closed for reading, has no reader left).
# shellcheck disable=SC2094  # one FIFO on purpose: its reader is closed at once
exec 3<>"$work/fifo" 4>"$work/fifo" 3<&-
for command in "list" "list --json" "show" "show --json" "get polling-rate" "export" "--version"; do
    for sink in full pipe; do
        # shellcheck disable=SC2086  # the command is words
        if [ $sink = full ]; then "$larkctl" $command >/dev/full 2>"$work/err"; else "$larkctl" $command >&4 2>"$work/err"; fi &&
            fail "$command to a $sink output succeeded" || code=$?
        [ "$code" = 6 ] || fail "$command to a $sink output: exit $code"
        grep -Eq '^larkctl: cannot write to standard output: (No space left on device|Broken pipe)$' "$work/err" ||
            fail "$command to a $sink output said: $(cat "$work/err")"
    done
done
exec 4>&-

# export writes through: process substitution, /dev/stdout in a pipe, a link to the profile.
"$larkctl" export - >"$work/expected.json"
"$larkctl" export >(cat >"$work/substituted.json") || fail "export to a process substitution exited $?"
wait $!
cmp -s "$work/expected.json" "$work/substituted.json" || fail "process substitution got: $(cat "$work/substituted.json")"
"$larkctl" export /dev/stdout | cat >"$work/piped.json" || fail "export /dev/stdout exited $?"
cmp -s "$work/expected.json" "$work/piped.json" || fail "/dev/stdout got: $(cat "$work/piped.json")"
ln -s profile.json "$work/link.json"
chmod 600 "$work/profile.json"
"$larkctl" export "$work/link.json" || fail "export to a link exited $?"
[ -L "$work/link.json" ] || fail "export replaced the link"
cmp -s "$work/expected.json" "$work/profile.json" || fail "the link's target was not written"
[ "$(stat -c %a "$work/profile.json")" = 600 ] || fail "the profile lost its mode"

# --verbose: the same diagnostic lines as the window's; --version.
"$larkctl" get --verbose polling-rate 2>"$work/err" >/dev/null || fail "get --verbose exited $?"
grep -q '^lark.device: .* sent \[64\] a1 02' "$work/err" || fail "no frames in --verbose: $(cat "$work/err")"
[ "$("$larkctl" --version)" = "larkctl $(sed -n 's/^project(lark-config VERSION \([^ ]*\).*/\1/p' "$(dirname "$0")/../../../CMakeLists.txt")" ] ||
    fail "--version says $("$larkctl" --version)"

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

# Completion in an interactive bash, with a mouse whose serial number is a command.
mkdir "$work/ran"
"$hidemu" ctl unplug >/dev/null
"$hidemu" ctl serial "\$(touch $work/ran/serial)" >/dev/null
"$hidemu" ctl plug >/dev/null
for try in $(seq 101); do
    [ "$try" -le 100 ] || fail "the mouse never came back with its new serial number"
    "$larkctl" list --json | grep -Fq "\"serial\": \"\$(touch $work/ran/serial)\"" && break
    sleep 0.1
done
python3 "$completion_test" "$completion" --larkctl "$(dirname "$larkctl")" --marker "$work/ran" \
    --device "$config" || fail "completion"
echo "larkctl hidraw: all passed"
