#!/usr/bin/env bash
# Runs clang-tidy with the project's .clang-tidy on the C++ sources: all of them, or with
# --changed only those that differ from the last commit of origin (or HEAD when there is
# none). Needs the Debug build's compile database (cmake --preset default). Any finding
# fails.
set -euo pipefail
cd "$(dirname "$0")/.."

source scripts/clang-database.sh

if [ "${1:-}" = "--changed" ]; then
  base=$(git rev-parse -q --verify origin/main || git rev-parse HEAD)
  mapfile -t files < <(git diff --name-only "$base" -- 'src/*.cpp' 'tests/*.cpp' 'tools/*.cpp' | sort -u)
else
  mapfile -t files < <(git ls-files 'src/*.cpp' 'tests/*.cpp' 'tools/*.cpp' | grep -v '^tests/fuzz/')
fi
existing=()
for file in "${files[@]}"; do [ -f "$file" ] && existing+=("$file"); done
[ ${#existing[@]} -eq 0 ] && { echo "check-tidy: nothing to check"; exit 0; }

status=0
printf '%s\n' "${existing[@]}" |
  xargs -P "$(nproc)" -n 1 clang-tidy -p build/tidy --quiet 2>/dev/null >build/tidy/findings.txt ||
  status=$?
if [ "$status" -ne 0 ] || grep -q 'warning:\|error:' build/tidy/findings.txt; then
  grep -E 'warning:|error:' build/tidy/findings.txt | sort -u
  echo "check-tidy: findings in the ${#existing[@]} files checked" >&2
  exit 1
fi
echo "check-tidy: ${#existing[@]} files clean"
