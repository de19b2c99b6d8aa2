#!/usr/bin/env bash
# The Windows tier: cross-builds (scripts/build-windows.sh), runs the core's unit tests as .exe
# under Wine, then the Windows HID backend (SetupAPI, hid.dll) and larkctl.exe under Wine
# against the emulated mouse of hidemu. Skips, saying why, where wine, root or /dev/fuse is
# missing. HIDEMU_SRC names hidemu's folder (see scripts/lib/hidemu.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
started=$SECONDS
say() { echo "wine-tests: $* ($((SECONDS - started)) s)"; }
skip() { echo "wine-tests: skipped: $*"; exit 0; }
dir=${LARK_BUILD_DIR:-build-windows}

if ! command -v wine >/dev/null; then
    if [ "$(id -u)" = 0 ]; then
        scripts/install-deps.sh wine || skip "wine could not be installed"
    fi
    command -v wine >/dev/null || skip "no wine (scripts/install-deps.sh wine)"
fi
# Wine inside hidemu's namespaces must start its own server; one of another prefix would
# answer from outside and never see the emulated mouse.
if pgrep -x wineserver >/dev/null; then
    skip "a wineserver is already running (stop it, or run this alone)"
fi

scripts/build-windows.sh
say "built"

export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree=;mshtml="
WINEPREFIX=$(mktemp -d /tmp/lark-wine.XXXXXX)
export WINEPREFIX
cleanup() { wineserver -k 2>/dev/null || true; rm -rf "$WINEPREFIX"; }
trap cleanup EXIT
wineboot -i >/dev/null 2>&1
# Without this Wine's HID bus takes devices from SDL only and never looks at hidraw nodes.
wine reg add 'HKLM\System\CurrentControlSet\Services\winebus' /v "Enable SDL" /t REG_DWORD /d 0 /f >/dev/null 2>&1
say "wine prefix ready"

ctest --test-dir "$dir" --output-on-failure -j2
wineserver -k 2>/dev/null || true
wineserver -w 2>/dev/null || true
say "unit tests passed under wine"

# shellcheck source=lib/hidemu.sh
source scripts/lib/hidemu.sh
hidemu_build "$dir" || skip "$HIDEMU_MISSING for the emulated-mouse part"

# Wine 8 makes one device of all the collections of an interface: one collection each.
scenario=$(mktemp /tmp/lark-wine-scenario.XXXXXX)
trap 'cleanup; rm -f "$scenario"' EXIT
echo "layout mouse,config,event" >"$scenario"
under_hidemu() { "$HIDEMU_BIN" run --timeout 240 --scenario "$scenario" -- "$@"; }

under_hidemu wine "$dir/tests/platform/windows/wine_hidemu_tests.exe" --gtest_filter=-WineHotplug.*
under_hidemu wine "$dir/tests/platform/windows/wine_hidemu_tests.exe" --gtest_filter=WineHotplug.*
say "backend tests passed under wine on the emulated mouse"

# Benchmark: the device work of `show` under Wine beside the same on Linux (hidapi), if built.
echo "show_path under wine (SetupAPI, hid.dll):"
under_hidemu wine "$dir/bench/core/show_path.exe" 5 20 | sed 's/^/  /'
linux_bench=${LARK_LINUX_BUILD_DIR:-build}/bench/core/show_path
if [ -x "$linux_bench" ]; then
    echo "show_path on Linux (hidapi, hidraw):"
    under_hidemu "$linux_bench" 5 20 | sed 's/^/  /'
fi

# larkctl.exe as a user runs it, beside the Linux larkctl where that is built.
linux_larkctl=${LARK_LINUX_BUILD_DIR:-build}/src/cli/larkctl
[ -x "$linux_larkctl" ] || linux_larkctl=
under_hidemu tests/cli/wine-larkctl.sh "$HIDEMU_BIN" "$dir/src/cli/larkctl.exe" $linux_larkctl
say "larkctl.exe checks passed under wine on the emulated mouse"

# Benchmark: `larkctl show` end to end, the Windows program under Wine beside the Linux one.
echo "larkctl show (process start to the last line; median of 5):"
under_hidemu bench/core/larkctl-show.sh 5 wine "$dir/src/cli/larkctl.exe" | sed 's/^/  larkctl.exe under wine: /'
if [ -n "$linux_larkctl" ]; then
    under_hidemu bench/core/larkctl-show.sh 5 "$linux_larkctl" | sed 's/^/  larkctl on Linux:       /'
fi
say "done"
