// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The results of one hold as the main window shows them: a row per pay category with its
// name, its pay for the coins played and the chance that the draw ends in it, and the
// hold's expected return.

#include <string>
#include <vector>

#include "engine/payout.h"
#include "engine/poker_engine.h"

namespace tarnwick {

struct TResultRow {
  std::string Name;    // one blank and the category name in upper case
  std::string Pay;     // the pay for the coins played
  std::string Chance;  // "%7.3f%", "- " for a chance of exactly 0; empty before analysis
};

struct TResultGrid {
  std::vector<TResultRow> Categories;
  std::string Return;  // the expected return per bet in percent; empty before analysis
  // The other holds whose expected return equals the shown hold's exactly, when that is
  // the best: the player may take any of them.
  int TiedHolds = 0;
};

// The pay of a category for the coins played: the table's pay x coins / its coin basis (0
// without a table).
int64_t PayForCoins(const TPayout* table, int category, int coins);

// "%7.3f%" of a chance in percent, "- " for exactly 0.
std::string ChanceText(long double chance);

// A return in percent with two decimals below 100 %, one below 1000 %, none above.
std::string ReturnText(long double fraction);

// The grid of the hold `drawMask` of the engine's analysed hand; `analysed` false leaves
// the chances and the return empty (the pays still show).
TResultGrid MakeResultGrid(const std::vector<std::string>& categoryNames, const TPayout* table,
                           int coins, const TPokerEngine& engine, bool analysed, int drawMask);

}  // namespace tarnwick
