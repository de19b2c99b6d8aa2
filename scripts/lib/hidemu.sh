# shellcheck shell=bash
# The emulated mouse for the tiers that run under it (sourced by hidemu-tests.sh, wine-tests.sh
# and bench/idle.sh). hidemu_build BUILD_DIR installs the group hidemu and builds a scratch copy of
# hidemu's sources (HIDEMU_SRC, or ../shared/tools/hidemu beside the project; the shared folder
# may be read-only) and sets HIDEMU_BIN. It returns 1, with the reason in HIDEMU_MISSING, where it
# cannot run here.
hidemu_build() {
    local dir=$1 project src scratch
    project=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
    src=${HIDEMU_SRC:-$project/../shared/tools/hidemu}
    if [ ! -f "$src/Makefile" ]; then HIDEMU_MISSING="no hidemu sources (set HIDEMU_SRC)"; return 1; fi
    if [ "$(id -u)" != 0 ]; then HIDEMU_MISSING="needs root (namespaces, FUSE)"; return 1; fi
    if [ ! -e /dev/fuse ]; then HIDEMU_MISSING="needs /dev/fuse"; return 1; fi
    "$project"/scripts/install-deps.sh hidemu >&2
    mkdir -p "$dir"
    scratch=$(cd "$dir" && pwd)/hidemu
    rm -rf "$scratch"
    cp -r "$src" "$scratch"
    chmod -R u+w "$scratch"
    make -s -C "$scratch" hidemu
    HIDEMU_BIN=$scratch/hidemu
    export HIDEMU_BIN
}
