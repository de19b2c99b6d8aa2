#!/usr/bin/env bash
# Installs the udev rule that lets the user at the seat open the Tarrow Lark 8k without root,
# then makes udev apply it to a mouse that is already plugged in. For builds from source;
# the .deb and `cmake --install` ship the same rule.
#
#   scripts/udev-install.sh              install (asks for sudo when needed)
#   scripts/udev-install.sh --uninstall  remove it again
#
# LARK_UDEV_RULES_DIR changes the target folder (default /etc/udev/rules.d).
set -euo pipefail

rule_name=70-lark-config.rules
source_rule="$(cd "$(dirname "$0")/.." && pwd)/packaging/udev/$rule_name"
rules_dir=${LARK_UDEV_RULES_DIR:-/etc/udev/rules.d}

action=install
case "${1:-}" in
  "") ;;
  --uninstall) action=uninstall ;;
  -h | --help) sed -n '2,10p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
  *) echo "udev-install.sh: unknown option '$1' (use --uninstall or --help)" >&2; exit 2 ;;
esac

# Writing below /etc needs root; ask once instead of failing half-way.
probe=$rules_dir
while [[ ! -d $probe ]]; do probe=$(dirname "$probe"); done
if [[ ! -w $probe ]]; then
  if ((EUID != 0)) && command -v sudo >/dev/null 2>&1; then
    exec sudo LARK_UDEV_RULES_DIR="$rules_dir" "$0" "$@"
  fi
  echo "udev-install.sh: cannot write to $rules_dir; run it as root" >&2
  exit 1
fi

if [[ $action == install ]]; then
  [[ -f $source_rule ]] || { echo "udev-install.sh: $source_rule is missing" >&2; exit 1; }
  install -d -m 0755 "$rules_dir"
  install -m 0644 "$source_rule" "$rules_dir/$rule_name"
  echo "Installed $rules_dir/$rule_name"
else
  rm -f "$rules_dir/$rule_name"
  echo "Removed $rules_dir/$rule_name"
fi

# Rules are read when udev starts; reload them, and replay the hidraw events so that a mouse that is
# already plugged in gets the access now.
if ! command -v udevadm >/dev/null 2>&1; then
  echo "udevadm not found: the rule takes effect when udev next starts (or after a reboot)."
elif udevadm control --reload-rules && udevadm trigger --subsystem-match=hidraw --action=change; then
  echo "udev rules reloaded. If lark-config still shows the mouse as not connected, unplug it and plug it in again."
else
  echo "udev-install.sh: could not reach udev to reload the rules; unplug and replug the mouse, or reboot." >&2
fi
