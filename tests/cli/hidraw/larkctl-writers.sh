#!/usr/bin/env bash
# Runs inside `hidemu run`: several writers on the emulated mouse at once, as real processes.
# No change is lost, the exchange lock needs no runtime directory, Ctrl+C and SIGTERM cancel a
# larkctl that waits for the mouse with nothing written, and a planted link is not followed.
# Usage: larkctl-writers.sh HIDEMU LARKCTL
set -euo pipefail
hidemu=$1
larkctl=$2
work=$(mktemp -d)
chmod 700 "$work"
export XDG_RUNTIME_DIR=$work
holder=""
trap '[ -n "$holder" ] && kill "$holder" 2>/dev/null; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
value() { "$larkctl" show | awk -v name="$1" '$1 == name { print $2 }'; }
writes() { "$hidemu" ctl log | grep -c '"dir":"set".*"id":160' || true; }

# Two programs set different settings at the same moment: both changes reach the mouse.
for round in $(seq 1 8); do
    cpi=$((1000 + round * 50))
    rate=$((round % 2 ? 2000 : 1000))
    "$larkctl" set "cpi1=$cpi" >/dev/null &
    first=$!
    "$larkctl" set "polling-rate=$rate" >/dev/null &
    second=$!
    wait "$first" || fail "round $round: set cpi1 exited $?"
    wait "$second" || fail "round $round: set polling-rate exited $?"
    [ "$(value cpi1)" = "${cpi}x${cpi}" ] || fail "round $round: cpi1 is $(value cpi1), not $cpi"
    [ "$(value polling-rate)" = "$rate" ] || fail "round $round: polling-rate is $(value polling-rate), not $rate"
done

# Without a runtime directory (sudo, cron, ssh) the lock is still there: every show answers.
pids=()
for i in $(seq 1 12); do
    env -u XDG_RUNTIME_DIR "$larkctl" show >"$work/show-$i.txt" 2>&1 &
    pids+=($!)
done
for i in $(seq 1 12); do
    wait "${pids[$((i - 1))]}" || fail "show $i exited $?: $(cat "$work/show-$i.txt")"
    grep -q 'V1.06' "$work/show-$i.txt" || fail "show $i did not read the mouse: $(cat "$work/show-$i.txt")"
done

# Another program holds the mouse; larkctl waits for it, and an interrupt cancels it.
node=$("$larkctl" list | awk 'NR == 2 { print $1 }')
[ -e "$node" ] || fail "no node in larkctl list"
for signal in INT TERM; do
    for command in "set cpi1=400" "reset"; do
        rm -f "$work/held"
        # -o: the lock stays with flock itself, which ends with the kill below.
        flock -o "$node" sh -c "echo \$\$ >'$work/held'; exec sleep 60" &
        holder=$!
        for _ in $(seq 200); do
            [ -s "$work/held" ] && break
            sleep 0.05
        done
        [ -s "$work/held" ] || fail "could not hold the mouse's lock"
        "$hidemu" ctl log clear >/dev/null
        # shellcheck disable=SC2086
        "$larkctl" $command >"$work/out.txt" 2>"$work/err.txt" &
        waiter=$!
        # larkctl opens the configuration node, then again for its lock, and waits there.
        opens() { "$hidemu" ctl log | grep -c '"dir":"open"' || true; }
        for _ in $(seq 200); do
            [ "$(opens)" -ge 2 ] && break
            sleep 0.05
        done
        [ "$(opens)" -ge 2 ] || fail "$command: larkctl never reached the lock"
        sleep 0.2
        kill -0 "$waiter" 2>/dev/null || fail "$command: larkctl did not wait for the lock: $(cat "$work/err.txt")"
        kill -s "$signal" "$waiter"
        code=0
        wait "$waiter" || code=$?
        kill "$(cat "$work/held")" "$holder" 2>/dev/null || true
        wait "$holder" 2>/dev/null || true
        holder=""
        [ "$code" = 130 ] || fail "$command, SIG$signal: exit $code, $(cat "$work/err.txt")"
        grep -q 'cancelled; nothing was written' "$work/err.txt" || fail "$command, SIG$signal: $(cat "$work/err.txt")"
        ! "$hidemu" ctl log | grep -q '"dir":"set"' || fail "$command, SIG$signal: a frame went out"
    done
done

# The announcement file is never followed through a link.
echo keep >"$work/victim"
rm -f "$work/lark-config.written"
ln -s "$work/victim" "$work/lark-config.written"
"$larkctl" set cpi1=900 >/dev/null || fail "set beside a planted link exited $?"
[ "$(cat "$work/victim")" = keep ] || fail "the planted link was followed"
[ "$(value cpi1)" = 900x900 ] || fail "set did not write beside the planted link"

echo "larkctl-writers: ok"
