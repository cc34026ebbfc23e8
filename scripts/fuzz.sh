#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in build-fuzz/ and runs each for SECONDS
# (default 12), one after the other, starting from its committed seed corpus
# fuzz/corpus/<target>/. New inputs go to build-fuzz/corpus/<target>/ (the committed corpus
# is left as it is); an input that breaks a target is kept as
# build-fuzz/artifacts/<target>-crash-* and the script fails.
#
#   bash scripts/fuzz.sh [SECONDS] [TARGET...]
#
# TARGET is poll_cycle, amp_reply, controller_reply, serial_defaults or number_entry;
# without one, all five run.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-12}
shift || true
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  targets=(poll_cycle amp_reply controller_reply serial_defaults number_entry)
fi

cmake -S . -B build-fuzz -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DONEFORTWO_FUZZ=ON >/dev/null
cmake --build build-fuzz -j2

failed=()
for target in "${targets[@]}"; do
  fuzzer=build-fuzz/fuzz/${target}_fuzzer
  found=build-fuzz/corpus/$target
  mkdir -p "$found" build-fuzz/artifacts
  echo "== $target: ${seconds} s"
  if ! "$fuzzer" -max_total_time="$seconds" -print_final_stats=1 \
      -artifact_prefix="build-fuzz/artifacts/$target-" "$found" "fuzz/corpus/$target" \
      >"build-fuzz/$target.log" 2>&1; then
    failed+=("$target")
    tail -n 40 "build-fuzz/$target.log"
  else
    grep -E "^#[0-9]+[[:space:]]+DONE|stat::number_of_executed_units|stat::peak_rss_mb" \
      "build-fuzz/$target.log" || true
  fi
done

passed=$((${#targets[@]} - ${#failed[@]}))
if [ ${#failed[@]} -ne 0 ]; then
  echo "fuzzing found faults in: ${failed[*]} (inputs in build-fuzz/artifacts/)"
  echo "fuzz: $passed passed, ${#failed[@]} failed"
  exit 1
fi
echo "each target ran ${seconds} s without a fault"
echo "fuzz: $passed passed, 0 failed"
