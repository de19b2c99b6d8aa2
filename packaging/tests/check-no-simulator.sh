#!/usr/bin/env bash
# The production program carries no simulator code: no symbol of the virtual mouse.
#   check-no-simulator.sh <program>
set -uo pipefail
program=$1
command -v nm >/dev/null || { echo "nm not found"; exit 77; }
symbols=$(nm -C "$program" 2>/dev/null)
# A program without symbols would pass for the wrong reason.
if ! grep -q 'lark::DeviceLink' <<<"$symbols"; then
  echo "no symbols of ours in $program: cannot tell"
  exit 77
fi
if grep -E 'VirtualMouse|VirtualHotplugSource' <<<"$symbols"; then
  echo "$program links simulator code (symbols above)"
  exit 1
fi
echo "$program links no simulator code"
