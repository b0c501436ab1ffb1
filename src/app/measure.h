// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What `tarnwick --measure` prints: the start up to the painted window, a hand entered with
// five clicks, the memory held, the editor's live return, the abort of a whole-game run,
// the heaviest chart and the practice window's hands.

#include <QElapsedTimer>

namespace tarnwick::app {

class TfmMain;

// Prints the figures, measured on the shown main window of a program started at `started`.
void Measure(TfmMain& window, const QElapsedTimer& started);

}  // namespace tarnwick::app
