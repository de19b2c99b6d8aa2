#!/usr/bin/env bash
# The Windows tier: cross-builds (scripts/build-windows.sh), runs the core's unit tests as .exe
# under Wine, then the Windows HID backend (SetupAPI, hid.dll), larkctl.exe and, where the Qt
# for mingw was there to build it, lark-config.exe on an Xvfb under Wine against the emulated
# mouse of hidemu. Skips, saying why, where wine, root or /dev/fuse is missing. HIDEMU_SRC names
# hidemu's folder (see scripts/lib/hidemu.sh).
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
# The window's part: a display, keys and fonts (the groups of scripts/packages.list name them).
if [ "$(id -u)" = 0 ]; then
    scripts/install-deps.sh wine test >/dev/null || true
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
# Wine lists the machine's fonts beside its own, and Qt for Windows, asking for the dialog font,
# lands on DejaVu Math TeX Gyre, whose line height hides the text of every line edit. Wine's own
# fonts, DejaVu Sans and, for the full-width colon after "CPI Levels", Nuosu SIL stand in for a
# Windows machine's. Set before the prefix is made: Wine keeps its font list there.
fonts=$WINEPREFIX.fonts
mkdir -p "$fonts"
ln -s /usr/share/fonts/truetype/dejavu/DejaVuSans.ttf /usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf \
    /usr/share/fonts/truetype/nuosusil/NuosuSIL-Regular.ttf "$fonts/"
printf '<?xml version="1.0"?>\n<!DOCTYPE fontconfig SYSTEM "fonts.dtd">\n<fontconfig><dir>%s</dir><cachedir>%s/cache</cachedir></fontconfig>\n' \
    "$fonts" "$fonts" >"$fonts/fonts.conf"
export FONTCONFIG_FILE=$fonts/fonts.conf
# shellcheck source=lib/xvfb.sh
source scripts/lib/xvfb.sh
cleanup() { wineserver -k 2>/dev/null || true; xvfb_stop; rm -rf "$WINEPREFIX" "$fonts"; }
trap cleanup EXIT
wineboot -i >/dev/null 2>&1
# Without this Wine's HID bus takes devices from SDL only and never looks at hidraw nodes. Its
# server ends by itself, which writes the registry to the prefix.
wine reg add 'HKLM\System\CurrentControlSet\Services\winebus' /v "Enable SDL" /t REG_DWORD /d 0 /f >/dev/null 2>&1
wineserver -w
say "wine prefix ready"

# One server for all the test programs: without it each program's server ends as the last client
# leaves, and a program started in that moment loses its connection ("recvmsg: Connection reset").
# Its first program starts Wine's services, which keep the files they were given open as long as
# the server runs: that program's output goes nowhere, or ctest would wait for the end of a pipe.
wineserver -p
wine reg query 'HKLM\System\CurrentControlSet\Services\winebus' /v "Enable SDL" >/dev/null 2>&1
ctest --test-dir "$dir" --output-on-failure -j2 -LE gui
wineserver -k 2>/dev/null || true
wineserver -w 2>/dev/null || true
say "unit tests passed under wine"

# The window's and pages' Qt Test programs as .exe, on real Win32 windows (the windows platform
# plugin) on an X server of their own; one at a time, as each takes the keyboard focus. In a Wine
# desktop of its own: without a window manager, Wine waits 2 s for each closed X window to be
# withdrawn. Wine hands no QT_ variable to its programs, so Qt Test is told through the registry to
# write to the output ctest reads rather than to the debugger.
if ! ctest --test-dir "$dir" -N -L gui | grep -q "Total Tests: [1-9]"; then
    echo "wine-tests: the window's and pages' Qt Test programs were not built: the Qt for mingw has no Qt Test (scripts/build-qt-windows.sh --with-testlib, about an hour on 2 cores)"
elif ! command -v Xvfb >/dev/null; then
    echo "wine-tests: skipped the window's and pages' Qt Test programs: needs xvfb"
else
    xvfb_start
    wine reg add 'HKCU\Environment' /v QT_FORCE_STDERR_LOGGING /t REG_SZ /d 1 /f >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /t REG_SZ /d Default /f >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /t REG_SZ /d 1280x1024 /f >/dev/null 2>&1
    # A desktop is made by the first program of a server and keeps its kind: a new server, whose
    # first program makes Wine's own desktop (the registry is kept in the prefix meanwhile).
    wineserver -k
    wineserver -w
    wineserver -p
    wine reg query 'HKCU\Software\Wine\Explorer' /v Desktop >/dev/null 2>&1
    ctest --test-dir "$dir" --output-on-failure -L gui
    # lark-config.exe below is looked for as a window of the X server.
    wine reg delete 'HKCU\Software\Wine\Explorer' /v Desktop /f >/dev/null 2>&1
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
    xvfb_stop
    unset DISPLAY
    say "the window's and pages' Qt Test programs passed under wine on Win32 windows"
fi

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

# The window: lark-config.exe on its own Xvfb, beside the Linux window where that is built.
window=$dir/src/app/lark-config.exe
if [ ! -f "$window" ]; then
    echo "wine-tests: skipped lark-config.exe: no Qt for mingw (scripts/build-qt-windows.sh builds one from Debian's source, about an hour on 2 cores)"
elif ! command -v Xvfb >/dev/null || ! command -v xdotool >/dev/null; then
    echo "wine-tests: skipped lark-config.exe: needs xvfb and xdotool"
else
    linux_window=${LARK_LINUX_BUILD_DIR:-build}/src/app/lark-config
    [ -x "$linux_window" ] || linux_window=
    under_hidemu tests/app/wine-window.sh "$HIDEMU_BIN" "$window" "$dir/src/cli/larkctl.exe" \
        "$dir/lark-config-wine.png" $linux_window
    say "lark-config.exe checks passed under wine on the emulated mouse (screenshot: $dir/lark-config-wine.png)"
fi
# What a Windows user downloads: each file and its size (the programs are static and stripped).
for zip in "$dir"/*-windows-x86_64.zip; do
    [ -f "$zip" ] || continue
    echo "$(basename "$zip") ($(du -h "$zip" | cut -f1)):"
    python3 -c 'import sys, zipfile
for i in zipfile.ZipFile(sys.argv[1]).infolist():
    if not i.is_dir(): print("  %-40s %10d bytes" % (i.filename, i.file_size))' "$zip"
done
say "done"
