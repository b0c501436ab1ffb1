#!/usr/bin/env bash
# Writes a picture of every window state worth looking at into build/screenshots/, at scale
# factors 1 and 2 (blurred cards and cut text show there): the main window empty, with a
# natural, a deuces and a joker hand analysed and a card toggled, in German and Russian; the
# help browser, the error report, the about box, the Game and Payout dialog of a natural and
# a wild game, the pay table editor with its live return and after a change of its coins
# (the dialog and that editor in German and Russian too), a kicker game (Double Double Bonus
# 9/6): the main window with three aces and a 2 analysed and the Game and Payout dialog on
# its tables, in English, German and Russian (main-kicker*, game-dialog-kicker*), the
# progress dialog, the all-holds and statistics windows, the practice window at its first
# deal and after a right
# and a wrong hold (natural and deuces; after a mistake and a game switch in German and
# Russian), with a reference strategy and a drill of two lines (practice-strategy-drill),
# after a hold drawn on five and on ten lines (five also in German, Russian, dark
# and at the least sizes: practice-5-lines-*), and the three charts of 9/6 Jacks or better
# (in coins) and of full-pay Deuces Wild (in money as well), each expected gain with a bar's
# hint and after a change of the hands, each risk of ruin also with bankrolls that do not
# fit, those of Deuces Wild in German and Russian too, the expected gain and win/lost of each
# on 10 and 100 lines a deal with cash back (charts-*-lines-*); the beginner's strategy card
# of 9/6 Jacks or better, full-pay Deuces Wild and Joker Wild (kings or better), the first in
# German and Russian too (each card generated once, at the first scale, and kept for the
# second); and under a dark palette (*-dark-x1.png, -x2.png) the main window
# with a hand, the Game and Payout dialog, the editor, all holds, the statistics, the
# practice window, the strategy card, a chart (with a value out of range in red), the help,
# the error report
# and the about box. Every window is also shown
# as it opens at the size it was left at (*-remembered: larger than it opens at first; the
# editor and the charts have one fixed size and have none) and at its least size
# (*-minimum: it was left smaller and opens at its least instead): the main window, the Game
# and Payout dialog, the editor, all holds, the statistics, the practice window, the strategy
# card, the charts and the help window, the main window, the dialog, the editor, the practice window and the
# charts in German and Russian too (*-minimum-deu, *-minimum-rus), and the error report.
# A window that does not open at the size it should is told (error: ...) and fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset default >/dev/null
cmake --build --preset default --target tarnwick tarnwick_screenshots
out=build/screenshots
rm -rf "$out" && mkdir -p "$out"
export XDG_RUNTIME_DIR=$(mktemp -d)
status=0
for scale in 1 2; do
  # A desktop of 1920 x 1200 at either scale: no window is made smaller to fit the screen,
  # and a window taller than that scrolls as it would there.
  cat >"$XDG_RUNTIME_DIR/screen.json" <<EOF
{"screens": [{"name": "desktop", "x": 0, "y": 0, "width": $((1920 * scale)),
              "height": $((1200 * scale)), "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]}
EOF
  export QT_QPA_PLATFORM="offscreen:configfile=$XDG_RUNTIME_DIR/screen.json"
  QT_SCALE_FACTOR=$scale build/debug/tools/screenshots/tarnwick_screenshots "$out" build/debug/bin "-x$scale" \
    2>"$XDG_RUNTIME_DIR/log" || status=1
  grep -E '^(error|screenshots):' "$XDG_RUNTIME_DIR/log" >&2 || true
done
rm -rf "$XDG_RUNTIME_DIR"
ls "$out"
exit $status
