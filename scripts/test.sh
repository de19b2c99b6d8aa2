#!/usr/bin/env bash
# Installs what the tests need, builds the programs and the tests, and runs the unit, widget,
# packaging-metadata and end-to-end tests. The Debian package build is a tier of its own
# (scripts/package-tests.sh). Extra arguments go to cmake.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh test
LARK_BUILD_TARGET=tests scripts/build.sh -DLARK_BUILD_TESTS=ON "$@"
ctest --test-dir "${LARK_BUILD_DIR:-build}" --output-on-failure -j2 -LE debian-package
