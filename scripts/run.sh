#!/usr/bin/env bash
# Installs what is missing, builds Tarnwick (release) and starts the desktop program. Without
# a display it says so and shows a short demonstration of tarnwick-cli instead. With
# arguments it runs tarnwick-cli with them.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake --preset release >/dev/null
cmake --build --preset release
programs=build/release/bin
if [ $# -gt 0 ]; then
  exec "$programs/tarnwick-cli" "$@"
fi
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec "$programs/tarnwick"
fi
echo "No display to open the window on (DISPLAY is not set): here is tarnwick-cli instead."
echo
echo "== tarnwick-cli hand --game 0 --pays 800,50,25,9,6,4,3,2,1 3S 7H TH JH KH"
"$programs/tarnwick-cli" hand --game 0 --pays 800,50,25,9,6,4,3,2,1 3S 7H TH JH KH
