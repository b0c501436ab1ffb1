#!/usr/bin/env bash
# Installs what is missing, builds Tarnwick (release) and starts it. Until the desktop
# window exists this is tarnwick-cli with a short demonstration.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake --preset release >/dev/null
cmake --build --preset release
cli=build/release/src/cli/tarnwick-cli
if [ $# -gt 0 ]; then
  exec "$cli" "$@"
fi
echo
echo "== tarnwick-cli games"
"$cli" games
echo
echo "== tarnwick-cli hand --game 0 --pays 800,50,25,9,6,4,3,2,1 3S 7H TH JH KH"
"$cli" hand --game 0 --pays 800,50,25,9,6,4,3,2,1 3S 7H TH JH KH
