#!/usr/bin/env bash
# The production program carries no simulator code: no symbol of the virtual mouse in the program
# or in the libraries it loads.
#   check-no-simulator.sh <program or library>...
set -uo pipefail
command -v nm >/dev/null || { echo "nm not found"; exit 77; }
symbols=$(for file in "$@"; do nm -C "$file" 2>/dev/null; done)
# A program without symbols would pass for the wrong reason.
if ! grep -q 'lark::DeviceLink' <<<"$symbols"; then
  echo "no symbols of ours in $*: cannot tell"
  exit 77
fi
if grep -E 'VirtualMouse|VirtualHotplugSource' <<<"$symbols"; then
  echo "$* link simulator code (symbols above)"
  exit 1
fi
echo "$* link no simulator code"
