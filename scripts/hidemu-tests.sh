#!/usr/bin/env bash
# The hidraw integration tier: builds hidemu (the emulated mouse) from a scratch copy, builds
# the project with the tier registered, and runs the tests labelled `hidraw` under it.
# Needs root, /dev/fuse and libfuse3. HIDEMU_SRC names hidemu's folder (default
# ../shared/tools/hidemu beside the project folder); extra arguments go to cmake.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${LARK_BUILD_DIR:-build}
src=${HIDEMU_SRC:-../shared/tools/hidemu}
[ -f "$src/Makefile" ] || { echo "hidemu-tests: no hidemu sources (set HIDEMU_SRC)" >&2; exit 1; }
[ "$(id -u)" = 0 ] || { echo "hidemu-tests: needs root (namespaces, FUSE)" >&2; exit 1; }
[ -e /dev/fuse ] || { echo "hidemu-tests: needs /dev/fuse" >&2; exit 1; }
if ! pkg-config --exists fuse3; then
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq fuse3 libfuse3-dev >/dev/null
fi

# hidemu's own folder may be read-only: build a copy.
mkdir -p "$dir"
scratch=$(cd "$dir" && pwd)/hidemu
rm -rf "$scratch"
cp -r "$src" "$scratch"
chmod -R u+w "$scratch"
make -s -C "$scratch" hidemu

LARK_BUILD_DIR=$dir scripts/build.sh -DLARK_HIDEMU="$scratch/hidemu" "$@"
ctest --test-dir "$dir" -L hidraw --output-on-failure
