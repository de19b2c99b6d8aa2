#!/usr/bin/env bash
# The Debian package tier: builds the package from a clean copy of the sources with
# dpkg-buildpackage (which runs the unit and window tests again, inside the package build), checks
# it with lintian, its fields and contents, and the hardening of its programs (ctest label
# `debian-package`). Extra arguments go to cmake.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh package
dir=${LARK_BUILD_DIR:-build}
# Only the tests are needed from the build folder: the package is built from the sources.
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=${LARK_BUILD_TYPE:-RelWithDebInfo} -DLARK_WERROR=ON \
  -DLARK_BUILD_TESTS=ON "$@" >/dev/null
ctest --test-dir "$dir" --output-on-failure -L debian-package
