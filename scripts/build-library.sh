#!/usr/bin/env bash
# Rebuilds the shipped pay table library data/Tarnwick.dat from its readable list
# data/paytables.csv: every table's whole-game counts are computed afresh (about a minute
# and a half) and every published return in the list is checked against the computed one.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake --preset release >/dev/null
cmake --build --preset release
build/release/bin/tarnwick-cli import data/paytables.csv --data data --replace --quiet
