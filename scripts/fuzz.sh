#!/usr/bin/env bash
# Builds the libFuzzer targets with clang into build-fuzz/ and runs each one in turn.
#   scripts/fuzz.sh [seconds-per-target] [target...]
# Default 60 s per target, all targets. Seeds come from fuzz/corpus/<target>/ (never written);
# what a run learns is kept in build-fuzz/corpus/<target>/ for the next run. A target that
# breaks a property leaves its input in build-fuzz/findings/<target>/ and the script fails.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
shift || true
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  targets=(fuzz_settings_block fuzz_text_rules fuzz_device_answers fuzz_event_reports)
fi
dir=${LARK_FUZZ_BUILD_DIR:-build-fuzz}

cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DLARK_FUZZ=ON -DLARK_WERROR=ON -DLARK_BUILD_TESTS=OFF -DLARK_BUILD_GUI=OFF >/dev/null
cmake --build "$dir" --target fuzzers

status=0
summary=()
for target in "${targets[@]}"; do
  work="$dir/corpus/$target"
  findings="$dir/findings/$target"
  mkdir -p "$work" "$findings"
  log="$dir/findings/$target.log"
  echo "== $target: ${seconds}s"
  if "$dir/fuzz/$target" "$work" "fuzz/corpus/$target" \
      -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
      -artifact_prefix="$findings/" >"$log" 2>&1; then
    result=ok
  else
    result=FAILED
    status=1
    grep -E 'ERROR|property broken|SUMMARY|Test unit written' "$log" || tail -n 30 "$log"
  fi
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -n 1)
  summary+=("$(printf '%-22s %-6s %12s execs %8s/s' "$target" "$result" "${execs:-?}" "${rate:-?}")")
done

echo
printf '%s\n' "${summary[@]}"
exit $status
