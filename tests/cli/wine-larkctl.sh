#!/usr/bin/env bash
# Runs inside `hidemu run`, in a ready Wine prefix: larkctl.exe (SetupAPI, hid.dll) against the
# emulated mouse, and beside it the Linux larkctl when one is given: the same words, the same
# block written, and one profile format both ways.
#   wine-larkctl.sh HIDEMU LARKCTL.EXE [LINUX-LARKCTL]
set -euo pipefail
hidemu=$(realpath "$1")
exe=$(realpath "$2")
linux=${3:+$(realpath "$3")}
work=$(mktemp -d)
watcher=""
trap '[ -n "$watcher" ] && kill "$watcher" 2>/dev/null; wineserver -k 2>/dev/null; rm -rf "$work"' EXIT
cd "$work"
export XDG_RUNTIME_DIR=$work  # the Linux larkctl's lock and announcement
fail() { echo "FAIL: $*" >&2; exit 1; }
ctl() { "$hidemu" ctl "$@"; }

# A Windows program ends its console lines with CR LF.
win() {
    local status=0
    wine "$exe" "$@" >"$work/out" 2>"$work/err" || status=$?
    tr -d '\r' <"$work/out"
    tr -d '\r' <"$work/err" >&2
    return "$status"
}
exit_of() { "$@" >/dev/null 2>&1 && echo 0 || echo $?; }
writes() { ctl log | grep -c '"dir":"set".*"id":160' || true; }
without_path() { grep -v -e '"path"' -e '^device '; }

# One Wine server for the whole run: its device manager keeps the mouse it found, as
# Windows does, instead of finding it anew for every program.
wineserver -p
# Wine's HID bus announces the emulated mouse a little after the server starts.
for _ in $(seq 200); do
    [ "$(exit_of win list)" = 0 ] && break
    sleep 0.1
done

# list: found through SetupAPI, the serial number from hid.dll.
out=$(win list) || fail "list exited $?"
grep -Eq 'HM0001 +V1\.06 +yes' <<<"$out" || fail "list: $out"
out=$(win list --json) || fail "list --json exited $?"
grep -q '"serial": "HM0001"' <<<"$out" || fail "list --json: $out"

# show: the mouse's own block in the same words as on Linux.
ctl poke 0x23 012003 >/dev/null  # CPI level 1: X and Y differ, X = 800
out=$(win show) || fail "show exited $?"
grep -Eq '^cpi1 +800x400$' <<<"$out" || fail "show: $out"
if [ -n "$linux" ]; then
    for format in "" --json; do
        # shellcheck disable=SC2086
        win show $format | without_path >windows.txt || fail "show $format exited $?"
        # shellcheck disable=SC2086
        "$linux" show $format | without_path >linux.txt || fail "Linux show $format exited $?"
        diff windows.txt linux.txt || fail "show $format differs between Windows and Linux"
    done
fi

# set: one write, and on Linux the same settings give the same block.
start=$(ctl settings)
ctl log clear >/dev/null
win set cpi1=1600 polling-rate=1000 forward-button=Ctrl+Shift+A left-spdt=speed >/dev/null || fail "set exited $?"
[ "$(writes)" = 1 ] || fail "set wrote $(writes) blocks"
by_windows=$(ctl settings)
[ "$by_windows" != "$start" ] || fail "set changed nothing"
out=$(win show) || fail "show exited $?"
grep -Eq '^polling-rate +1000$' <<<"$out" || fail "show after set: $out"
if [ -n "$linux" ]; then
    ctl block "$start" >/dev/null
    "$linux" set cpi1=1600 polling-rate=1000 forward-button=Ctrl+Shift+A left-spdt=speed >/dev/null || fail "Linux set exited $?"
    [ "$(ctl settings)" = "$by_windows" ] || fail "Windows and Linux wrote different blocks"
fi

# Profiles: one format. What one side exports the other imports, byte for byte.
win export windows.json || fail "export exited $?"
if [ -n "$linux" ]; then
    "$linux" export linux.json || fail "Linux export exited $?"
    cmp windows.json linux.json || fail "the two exports differ: $(diff windows.json linux.json)"
    ctl block "$start" >/dev/null
    ctl log clear >/dev/null
    "$linux" import windows.json >/dev/null || fail "Linux import of the Windows profile exited $?"
    [ "$(ctl settings)" = "$by_windows" ] || fail "Linux import did not restore the Windows profile"
    "$linux" export linux.json || fail "Linux export exited $?"
fi
profile=windows.json
[ -z "$linux" ] || profile=linux.json
ctl block "$start" >/dev/null
ctl log clear >/dev/null
win import "$profile" >/dev/null || fail "import of $profile exited $?"
[ "$(ctl settings)" = "$by_windows" ] || fail "import did not restore the profile"
[ "$(writes)" = 1 ] || fail "import wrote $(writes) blocks"

# A bad profile writes nothing.
ctl log clear >/dev/null
echo '{"format": "larkctl-profile", "version": 1, "settings": {"cpi1": 5}}' >bad.json
[ "$(exit_of win import bad.json)" = 5 ] || fail "bad profile: exit $(exit_of win import bad.json)"
[ "$(writes)" = 0 ] || fail "a bad profile reached the mouse"

# A write the mouse stalls: told, exit 4, the mouse keeps its settings.
ctl fault set 0xa0 forever errno=EPIPE >/dev/null
before=$(ctl settings)
code=$(exit_of win set ripple-control=on)
ctl fault clear >/dev/null
[ "$code" = 4 ] || fail "a stalled write: exit $code"
[ "$(ctl settings)" = "$before" ] || fail "a stalled write changed the mouse"

# reset: the factory block.
win reset >/dev/null || fail "reset exited $?"
[ "$(ctl settings)" = "$(ctl settings factory)" ] || fail "reset did not restore the factory block"

# watch: the polling-rate button, then the unplug, one line each.
wine "$exe" watch >watch.txt 2>&1 &
watcher=$!
wait_line() {
    for _ in $(seq 300); do
        tr -d '\r' <watch.txt | grep -q "$1" && return 0
        sleep 0.1
    done
    fail "watch never said '$1': $(cat watch.txt)"
}
wait_line '^connected'
ctl event 6 2 >/dev/null
wait_line '^polling-rate 4000$'
ctl unplug >/dev/null
wait_line '^unplugged'
kill "$watcher"
wait "$watcher" 2>/dev/null || true
watcher=""

# No mouse: exit 2, in words.
code=$(exit_of win show)
[ "$code" = 2 ] || fail "no mouse: exit $code"
out=$(win show 2>&1 || true)
grep -q 'no Tarrow Lark 8k found' <<<"$out" || fail "no mouse: $out"
echo "wine-larkctl: all checks passed${linux:+ (beside the Linux larkctl)}"
