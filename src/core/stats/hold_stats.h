// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The breakdown of every hold of an analysed hand: in how many final hands each pay
// category is reached, with what probability, what part of the expected return each
// category gives, and the hold's expected return.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/cards.h"
#include "engine/poker_engine.h"
#include "stats/figure_view.h"
#include "stats/hold_lines.h"

namespace tarnwick {

constexpr int kHoldStatEntries = kMaxCategories + 1;  // the categories and "nothing"

// A hold's expected pay as the exact fraction Paid / Draws: the coins of the table's pays
// summed over all draws, and the number of draws. Two holds tie only when their fractions
// are equal, which rounded figures cannot tell.
struct TExactReturn {
  int64_t Paid = 0;
  int64_t Draws = 1;
};

// Negative, zero or positive as a is less than, equal to or more than b.
int CompareReturn(const TExactReturn& a, const TExactReturn& b);
inline bool SameReturn(const TExactReturn& a, const TExactReturn& b) {
  return CompareReturn(a, b) == 0;
}

// How many other holds of the analysed hand have exactly the expected return of `mask`
// when that is the best of all; 0 when it is not the best or nothing ties with it.
int TiesForBest(const TPokerEngine& engine, int mask);

// The exact expected pay of a hold of the engine's analysed hand (0 without a pay table).
TExactReturn ExactReturnOf(const TPokerEngine& engine, int mask);

struct THandStat {
  explicit THandStat(int mask = 0);

  int Mask = 0;
  std::string Code;    // position i is "1" when the hold replaces card i ("00000" keeps all)
  int32_t DrawnCount;  // cards replaced, 0..5
  // Entries 0..LastCategory are the categories, LastCategory + 1 is "nothing".
  std::array<long double, kHoldStatEntries> Probability{};
  // Pay per bet x probability; "nothing" 0.
  std::array<long double, kHoldStatEntries> Return{};
  std::array<int32_t, kHoldStatEntries> Count{};  // final hands
  long double ExpectedReturn = 0;                 // per bet: pays divided by the coin basis
  TExactReturn Exact;
};

using THoldStats = std::array<THandStat, kMaskCount>;

// The records of all 32 holds of the engine's analysed hand, with the pays of its current
// pay table per bet (none: every return 0). A count above 32 bits is a RangeError.
THoldStats FillHoldStats(const TPokerEngine& engine);

// The line of every hold of the dealt cards in players' words ("low pair", "4 to a royal
// flush"), by draw mask: what the all-holds grid, the practice verdicts and the command
// line's holds report name a hold by.
std::array<std::string, kMaskCount> HoldLineTexts(const THoldNamer& namer,
                                                  const std::array<int32_t, kHandSize>& cards);

// Whether the hold's expected return equals the best hold's exactly.
inline bool TiesWith(const THandStat& hold, const THandStat& best) {
  return SameReturn(hold.Exact, best.Exact);
}

// Columns of the all-holds grid: the hold's picture, its expected return, what it gives up
// against the best hold, then one per category and "Nothing".
inline constexpr int kHoldPictureColumn = 0;
inline constexpr int kHoldReturnColumn = 1;
inline constexpr int kHoldCostColumn = 2;
inline constexpr int kFirstHoldCategoryColumn = 3;

// The order of the all-holds grid: negative when hold x comes before hold y. `sortColumn`
// is a grid column + 1, negative for the reversed order. In the picture column holds that
// replace more cards come first; in the others larger figures of the view come first, and
// equal ones are ordered as in the picture column, then by the higher replace code, so
// the order never depends on how the sort ran. The cost column orders by the cost (the
// lower expected return first).
int CompareHolds(const THandStat& x, const THandStat& y, int sortColumn, TFigureView view);

// The 32 masks in the order of CompareHolds.
std::array<int, kMaskCount> SortedHolds(const THoldStats& holds, int sortColumn, TFigureView view);

// The text of a cell of the all-holds grid (not the picture column), trimmed: the expected
// return in percent with five decimals, a category's final hands, or its probability or
// return in percent with four decimals; "- " for a figure of zero (below 1e-8 for the
// probabilities and returns).
std::string HoldCellText(const THandStat& hold, int column, TFigureView view);

// The cost column's text: the expected return the hold gives up against the best, in bets
// with five decimals, and for more than one coin in coins played after it ("0.02128
// (0.10638)"); empty for a hold that ties with the best (the window names the tie).
std::string HoldCostText(const THandStat& hold, const THandStat& best, int coins);

// The all-holds table as rows of unformatted numbers for a spreadsheet, in the given order:
// a title row (code, cards replaced, expected return, cost per bet and for the coins
// played, then the categories and "Nothing" as named), then one row per hold with the
// figures of the view.
std::vector<std::vector<std::string>> HoldsTableRows(const THoldStats& holds,
                                                     const std::array<int, kMaskCount>& order,
                                                     int bestMask, int coins,
                                                     const std::vector<std::string>& titles,
                                                     TFigureView view);

}  // namespace tarnwick
