#!/usr/bin/env bash
# Writes a picture of every window state worth looking at into build/screenshots/, at scale
# factors 1 and 2 (blurred cards and cut text show there): the main window empty, with a
# natural, a deuces and a joker hand analysed and a card toggled, in German and Russian; the
# help browser, the error report, the about box, the Game and Payout dialog of a natural and
# a wild game, the pay table editor with its live return and after a change of its coins
# (the dialog and that editor in German and Russian too), the progress dialog, the
# all-holds and statistics windows, the practice window at its first deal and after a right
# and a wrong hold (natural and deuces; after a mistake and a game switch in German and
# Russian), and the three charts of 9/6 Jacks or better (in coins) and of full-pay Deuces
# Wild (in money as well), each expected gain with a bar's hint and after a change of the
# hands, each risk of ruin also with bankrolls that do not fit, those of Deuces Wild in
# German and Russian too; and under a dark palette (*-dark-x1.png, -x2.png) the main window
# with a hand, the Game and Payout dialog, the editor, all holds, the statistics, the
# practice window and a chart (with a value out of range in red).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset default >/dev/null
cmake --build --preset default --target tarnwick tarnwick_screenshots
out=build/screenshots
rm -rf "$out" && mkdir -p "$out"
export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR=$(mktemp -d)
for scale in 1 2; do
  QT_SCALE_FACTOR=$scale build/debug/tools/screenshots/tarnwick_screenshots "$out" build/debug/bin "-x$scale" \
    2>/dev/null
done
rm -rf "$XDG_RUNTIME_DIR"
ls "$out"
