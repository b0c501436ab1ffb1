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

}  // namespace tarnwick
