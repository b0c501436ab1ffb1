#!/usr/bin/env bash
# Installs what is missing, builds and runs every test: the Debug build with all tests,
# the core tests under AddressSanitizer and UndefinedBehaviorSanitizer, and the format check.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/check-format.sh
cmake --workflow --preset default
cmake --workflow --preset asan 2>&1 | tee build/asan-test.log
# A sanitizer report that did not stop a test is still a finding.
if grep -E 'runtime error:|ERROR: AddressSanitizer|ERROR: LeakSanitizer' build/asan-test.log; then
  echo "Sanitizer findings in the core tests" >&2
  exit 1
fi
