#!/usr/bin/env bash
# Installs the Debian 12 packages that building and testing lark-config needs (as root).
set -euo pipefail
packages=(
  build-essential cmake ninja-build pkg-config git
  qt6-base-dev qt6-base-dev-tools libgl-dev qt6-qpa-plugins libqt6svg6
  libhidapi-dev libudev-dev
  libcli11-dev nlohmann-json3-dev scdoc
  libgtest-dev libgmock-dev
  clang libclang-rt-14-dev
  fuse3 libfuse3-dev
  desktop-file-utils appstream
  xvfb xauth dbus at-spi2-core python3-pyatspi
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
