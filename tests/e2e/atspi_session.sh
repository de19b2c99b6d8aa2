#!/usr/bin/env bash
# Starts a private desktop session (Xvfb, D-Bus, the accessibility bus), runs the program in it
# with accessibility on, and drives it from outside through AT-SPI, as a screen reader would.
# Usage: atspi_session.sh MODE PROGRAM [HIDEMU]   (MODE: demo or hidemu)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
mode=$1
program=$2
hidemu=${3:-}

for tool in Xvfb dbus-run-session /usr/libexec/at-spi-bus-launcher; do
    command -v "$tool" >/dev/null || { echo "e2e: $tool missing (scripts/install-deps.sh installs it)"; exit 1; }
done

exec dbus-run-session -- bash -s "$here" "$mode" "$program" "$hidemu" <<'INNER'
set -euo pipefail
here=$1; mode=$2; program=$3; hidemu=$4
runtime=$(mktemp -d); chmod 700 "$runtime"
/usr/libexec/at-spi-bus-launcher --launch-immediately &
bus=$!
# Xvfb takes a free display and writes its number once it accepts clients: a number picked here
# could be another session's, on a machine that runs several.
Xvfb -displayfd 3 -screen 0 1400x900x24 -nolisten tcp 3>"$runtime/display" >/dev/null 2>&1 &
xvfb=$!
cleanup() { kill "${app:-}" "$xvfb" "$bus" 2>/dev/null || true; rm -rf "$runtime"; }
trap cleanup EXIT
until [ -s "$runtime/display" ]; do
    kill -0 "$xvfb" 2>/dev/null || { echo "e2e: Xvfb did not start"; exit 1; }
    sleep 0.1
done
export DISPLAY=":$(head -n 1 "$runtime/display")" XDG_RUNTIME_DIR=$runtime QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_QPA_PLATFORM=xcb
"$program" &
app=$!
/usr/bin/python3 "$here/drive_window.py" "$mode" "$hidemu"
INNER
