#!/usr/bin/env bash
# Installs the Debian 12 packages that building, testing and packaging lark-config need. Run it as
# root. It prints one line per step; apt's own output only when a step fails.
set -euo pipefail
packages=(
  # build
  build-essential cmake ninja-build ccache pkg-config git scdoc
  qt6-base-dev qt6-base-dev-tools libgl-dev libhidapi-dev libudev-dev
  libcli11-dev nlohmann-json3-dev
  # translations: lupdate and lrelease, CMake's LinguistTools, Qt's own words for its dialogs
  qt6-l10n-tools qt6-tools-dev qt6-translations-l10n
  # run: Qt's platform plugins, the icon's SVG plugin, and the smallest font that has the
  # full-width colon (U+FF1A) after "CPI Levels"
  qt6-qpa-plugins libqt6svg6 fonts-sil-nuosusil
  # the Chinese translation's glyphs, for the tests that measure its texts
  fonts-wqy-microhei
  # tests, sanitizers, fuzzing, the emulated mouse, the accessibility tier
  libgtest-dev libgmock-dev
  clang libclang-rt-14-dev
  fuse3 libfuse3-dev
  xvfb xauth dbus at-spi2-core python3-pyatspi
  # the Windows tier: keys for lark-config.exe under Wine, its fonts, the static Qt's tarball
  xdotool fonts-wine fonts-dejavu-core xz-utils perl
  # packaging: metadata checks, the Debian package and its checks
  desktop-file-utils appstream file dpkg-dev debhelper lintian
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]} == 0)); then
  echo "install-deps: all ${#packages[@]} packages are installed"
  exit 0
fi
if [[ $(id -u) != 0 ]]; then
  echo "install-deps: missing ${missing[*]}; run scripts/install-deps.sh as root to install them" >&2
  exit 1
fi

log=$(mktemp)
trap 'rm -f "$log"' EXIT
step() {
  local what=$1
  shift
  printf 'install-deps: %s ... ' "$what"
  if "$@" >"$log" 2>&1; then
    echo ok
  else
    echo failed
    cat "$log" >&2
    exit 1
  fi
}

export DEBIAN_FRONTEND=noninteractive
step "updating the package lists" apt-get update
step "installing ${#missing[@]} packages (${missing[*]})" \
  apt-get install -y --no-install-recommends "${missing[@]}"
