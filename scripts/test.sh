#!/usr/bin/env bash
# Installs what is missing, builds and runs every test: the format check, the Debug build
# with all tests, the core tests under AddressSanitizer and UndefinedBehaviorSanitizer, the
# tests of the whole-game run on worker threads under ThreadSanitizer, and a bounded run of
# the data file fuzzer under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/check-format.sh
cmake --workflow --preset default
mkdir -p build
cmake --workflow --preset asan 2>&1 | tee build/asan-test.log
# A sanitizer report that did not stop a test is still a finding.
if grep -E 'runtime error:|ERROR: AddressSanitizer|ERROR: LeakSanitizer' build/asan-test.log; then
  echo "Sanitizer findings in the core tests" >&2
  exit 1
fi
cmake --workflow --preset tsan 2>&1 | tee build/tsan-test.log
if grep -E 'WARNING: ThreadSanitizer' build/tsan-test.log; then
  echo "ThreadSanitizer findings in the thread tests" >&2
  exit 1
fi
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
rm -rf build/fuzz-corpus && mkdir -p build/fuzz-corpus
seconds="${TARNWICK_FUZZ_SECONDS:-60}"
echo "Fuzzing the data file reader for ${seconds} s"
build/fuzz/tests/fuzz/tarnwick_data_fuzz -max_total_time="$seconds" -print_final_stats=1 \
  build/fuzz-corpus tests/fuzz/corpus 2>&1 | tail -n 4
