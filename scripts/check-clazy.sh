#!/usr/bin/env bash
# Runs clazy's Qt checks of levels 0 and 1 on the desktop program (src/app) and the
# screenshot tool (tools), with the Debug build's compile database (cmake --preset default).
# Any finding fails: the database's -Werror makes every finding an error.
set -euo pipefail
cd "$(dirname "$0")/.."

source scripts/clang-database.sh
checks=level0,level1
mapfile -t files < <(git ls-files 'src/app/*.cpp' 'tools/*.cpp')

status=0
printf '%s\n' "${files[@]}" |
  xargs -P "$(nproc)" -n 1 clazy-standalone -p build/tidy --checks="$checks" \
    --header-filter='/(src/app|tools)/' --ignore-dirs='^/usr/|/build/' \
    >build/tidy/clazy.txt 2>&1 || status=$?
if [ "$status" -ne 0 ] || grep -q 'warning:\|error:' build/tidy/clazy.txt; then
  grep -E 'warning:|error:' build/tidy/clazy.txt | sort -u
  echo "check-clazy: findings in the ${#files[@]} files checked" >&2
  exit 1
fi
echo "check-clazy: ${#files[@]} files clean"
