#!/usr/bin/env bash
# Installs what is missing, builds and runs every test: the format and layer checks, the
# Debug build with all tests, clang-tidy on every source file, clazy's Qt checks on the
# desktop program, the core and window tests under AddressSanitizer and
# UndefinedBehaviorSanitizer, the tests of the whole-game run on worker
# threads under ThreadSanitizer, and a bounded run of the fuzzers of the data file, INI,
# language file, pay table list, practice session file and typed strategy list readers under
# AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/check-format.sh
bash scripts/check-layers.sh
cmake --workflow --preset default
bash scripts/check-tidy.sh
bash scripts/check-clazy.sh
mkdir -p build
cmake --workflow --preset asan 2>&1 | tee build/asan-test.log
# A sanitizer report that did not stop a test is still a finding.
if grep -E 'runtime error:|ERROR: AddressSanitizer|ERROR: LeakSanitizer' build/asan-test.log; then
  echo "Sanitizer findings in the core and window tests" >&2
  exit 1
fi
cmake --workflow --preset tsan 2>&1 | tee build/tsan-test.log
if grep -E 'WARNING: ThreadSanitizer' build/tsan-test.log; then
  echo "ThreadSanitizer findings in the thread tests" >&2
  exit 1
fi
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
# The fuzzing budget is shared by the six readers of the user's files; each starts from the
# shipped files (and new inputs it finds go to build/fuzz-corpus).
seconds="${TARNWICK_FUZZ_SECONDS:-60}"
targets=6
fuzz() {
  local target="$1"
  shift
  rm -rf "build/fuzz-corpus/$target" && mkdir -p "build/fuzz-corpus/$target" build/fuzz-findings
  echo "Fuzzing the $target reader for $((seconds / targets)) s"
  local log="build/fuzz-$target.log"
  if ! "build/fuzz/tests/fuzz/tarnwick_${target}_fuzz" -max_total_time="$((seconds / targets))" \
    -print_final_stats=1 -artifact_prefix=build/fuzz-findings/ "build/fuzz-corpus/$target" "$@" \
    >"$log" 2>&1; then
    # The input that failed is in build/fuzz-findings; the report says where it failed.
    grep -v -E '^#[0-9]+' "$log" | tail -n 60 >&2
    echo "The $target fuzzer found a failing input" >&2
    exit 1
  fi
  tail -n 4 "$log"
}
fuzz data_file tests/fuzz/corpus/data
fuzz ini_file tests/fuzz/corpus/ini data/Langs
fuzz language_file data/Langs
fuzz paytable_list tests/fuzz/corpus/paytables
fuzz session_file tests/fuzz/corpus/session
fuzz strategy_list tests/fuzz/corpus/strategy
