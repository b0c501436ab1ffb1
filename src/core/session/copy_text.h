// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The main window's view as text for the clipboard: the program, the game, the pay table
// and its return, the coins, the hand and the shown hold, then the results grid, one line
// each with tabs between the fields, ready to paste into a spreadsheet.

#include <string>

#include "session/model_controller.h"
#include "stats/result_grid.h"

namespace tarnwick {

// The controller's hand and table with `grid` (the results shown) and the return row
// labelled `returnLabel`.
std::string HandCopyText(const TModelController& controller, const TResultGrid& grid,
                         const std::string& returnLabel);

}  // namespace tarnwick
