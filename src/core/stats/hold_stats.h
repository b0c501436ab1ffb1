// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The breakdown of every hold of an analysed hand: in how many final hands each pay
// category is reached, with what probability, what part of the expected return each
// category gives, and the hold's expected return.

#include <array>
#include <cstdint>
#include <string>

#include "engine/cards.h"
#include "engine/poker_engine.h"
#include "stats/figure_view.h"

namespace tarnwick {

constexpr int kHoldStatEntries = kMaxCategories + 1;  // the categories and "nothing"

struct THandStat {
  explicit THandStat(int mask = 0);

  int Mask = 0;
  std::string Code;    // position i is "1" when the hold replaces card i ("00000" keeps all)
  int32_t DrawnCount;  // cards replaced, 0..5
  // Entries 0..LastCategory are the categories, LastCategory + 1 is "nothing".
  std::array<long double, kHoldStatEntries> Probability{};
  std::array<long double, kHoldStatEntries> Return{};  // pay x probability; "nothing" 0
  std::array<int32_t, kHoldStatEntries> Count{};       // final hands
  long double ExpectedReturn = 0;
};

using THoldStats = std::array<THandStat, kMaskCount>;

// The records of all 32 holds of the engine's analysed hand, with the pays of its current
// pay table (none: every return 0). A count above 32 bits is a RangeError.
THoldStats FillHoldStats(const TPokerEngine& engine);

// Columns of the all-holds grid: the hold's picture, its expected return, then one per
// category and "Nothing".
inline constexpr int kHoldPictureColumn = 0;
inline constexpr int kHoldReturnColumn = 1;
inline constexpr int kFirstHoldCategoryColumn = 2;

// The order of the all-holds grid: negative when hold x comes before hold y. `sortColumn`
// is a grid column + 1, negative for the reversed order. In the picture column holds that
// replace more cards come first; in the others larger figures of the view come first, and
// equal ones are ordered as in the picture column, then by the higher replace code, so
// the order never depends on how the sort ran.
int CompareHolds(const THandStat& x, const THandStat& y, int sortColumn, TFigureView view);

// The 32 masks in the order of CompareHolds.
std::array<int, kMaskCount> SortedHolds(const THoldStats& holds, int sortColumn, TFigureView view);

// The text of a cell of the all-holds grid (not the picture column), trimmed: the expected
// return in percent with five decimals, a category's final hands, or its probability or
// return in percent with four decimals; "- " for a figure of zero (below 1e-8 for the
// probabilities and returns).
std::string HoldCellText(const THandStat& hold, int column, TFigureView view);

}  // namespace tarnwick
