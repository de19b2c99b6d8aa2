#!/usr/bin/env bash
# Runs scripts/udev-install.sh against a scratch rules folder with a recording udevadm in front of
# the real one: the rule must land with mode 644 and udev be told to reload and replay hidraw events;
# a udev that cannot be reached must not turn an installed rule into a failure.
#   check-udev-install.sh <source dir>
set -uo pipefail
# shellcheck source=testlib.sh
source "$(dirname "$0")/testlib.sh"

script=$1/scripts/udev-install.sh
rule=$1/packaging/udev/70-lark-config.rules
make_scratch
mkdir -p "$scratch/bin"
log=$scratch/udevadm.log
cat >"$scratch/bin/udevadm" <<STUB
#!/bin/sh
echo "\$*" >>"$log"
exit \${UDEVADM_EXIT:-0}
STUB
chmod +x "$scratch/bin/udevadm"
export PATH=$scratch/bin:$PATH
export LARK_UDEV_RULES_DIR=$scratch/etc/udev/rules.d
installed=$LARK_UDEV_RULES_DIR/70-lark-config.rules
reload=$'control --reload-rules\ntrigger --subsystem-match=hidraw --action=change'

# install
out=$("$script" 2>&1) || fail "install failed: $out"
cmp -s "$rule" "$installed" || fail "the installed rule differs from $rule"
[[ -f $installed && $(stat -c %a "$installed") == 644 ]] || fail "the installed rule's mode is not 644"
[[ $(cat "$log" 2>/dev/null) == "$reload" ]] || fail "udevadm was called as:"$'\n'"$(cat "$log" 2>/dev/null)"
[[ $out == *"unplug it and plug it in again"* ]] || fail "install does not say how to apply the rule: $out"

# udev not reachable: the rule stays installed, the user is told to replug
rm -f "$log" "$installed"
out=$(UDEVADM_EXIT=1 "$script" 2>&1) || fail "install failed when udev could not be reached: $out"
[[ -f $installed ]] || fail "the rule is missing after an unreachable udev"
[[ $out == *"could not reach udev"* ]] || fail "no word about the unreachable udev: $out"
[[ $(cat "$log") == "control --reload-rules" ]] || fail "trigger ran after a failed reload: $(cat "$log")"

# uninstall
rm -f "$log"
out=$("$script" --uninstall 2>&1) || fail "uninstall failed: $out"
[[ ! -e $installed ]] || fail "the rule is still there after --uninstall"
[[ $(cat "$log" 2>/dev/null) == "$reload" ]] || fail "uninstall did not reload udev"

# a wrong option changes nothing
"$script" --bogus >/dev/null 2>&1
[[ $? == 2 ]] || fail "an unknown option does not end with status 2"
[[ ! -e $installed ]] || fail "an unknown option installed the rule"

finish
