// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The grid that compares a game's pay tables side by side: one column per table; rows 0..12
// the pay of each category for the coins played, row 13 a separator, rows 14..20 the
// whole-game figures (return, profit, variance, standard deviation, win, push and loss
// chances). A click on a row's label sorts the tables by that row.

#include <string>

#include "engine/payout.h"

namespace tarnwick {

constexpr int kTableGridRows = 21;
constexpr int kTableGridSeparator = 13;
constexpr int kTableGridFirstFigure = 14;

// The text of `row` for `table` played with `coins`: the pay ("" past the game's last
// category), or the figure with four decimals ("-" for a table without whole-game counts).
std::string TableGridText(const TPayout& table, int coins, int row);

// The sort key of a click on the label of `row`: 1 (pays) for a category row of a game
// whose last category is `lastCategory`, 2..8 for the figure rows, 0 for the others.
int TableGridSortKey(int row, int lastCategory);

// The row whose label carries the mark of sort key `key` (either sign), -1 for none.
int TableGridSortRow(int key);

}  // namespace tarnwick
