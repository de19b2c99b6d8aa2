#!/usr/bin/env bash
# The tests that run more than one thread (ctest label `threads`), built and run under
# ThreadSanitizer in build-tsan/ (or $LARK_BUILD_DIR); extra arguments go to cmake.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${LARK_BUILD_DIR:-build-tsan}
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=${LARK_BUILD_TYPE:-Debug} -DLARK_SANITIZE=thread -DLARK_WERROR=ON "$@" >/dev/null
# The programs labelled `threads`, as the build lists them (tests/CMakeLists.txt).
mapfile -t targets <"$dir/label-threads-targets.txt"
((${#targets[@]})) || { echo "tsan-tests: no test carries the label threads" >&2; exit 1; }
cmake --build "$dir" --target "${targets[@]}"
export TSAN_OPTIONS="suppressions=$PWD/.ci/tsan.supp:halt_on_error=1:second_deadlock_stack=1"
ctest --test-dir "$dir" -L threads --output-on-failure
