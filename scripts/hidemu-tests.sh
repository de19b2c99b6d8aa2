#!/usr/bin/env bash
# The hidraw integration tier: builds hidemu (the emulated mouse) from a scratch copy, builds
# the project with the tier registered, and runs the tests labelled `hidraw` under it.
# Needs root, /dev/fuse and libfuse3. HIDEMU_SRC names hidemu's folder (default
# ../shared/tools/hidemu beside the project folder); extra arguments go to cmake.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${LARK_BUILD_DIR:-build}
# shellcheck source=lib/hidemu.sh
source scripts/lib/hidemu.sh
hidemu_build "$dir" || { echo "hidemu-tests: $HIDEMU_MISSING" >&2; exit 1; }

LARK_BUILD_DIR=$dir scripts/build.sh -DLARK_HIDEMU="$HIDEMU_BIN" "$@"
ctest --test-dir "$dir" -L hidraw --output-on-failure
