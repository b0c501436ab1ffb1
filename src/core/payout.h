// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// One pay table of one game for one coin basis, with the counts of the whole-game
// calculation and the figures derived from them.

#include <array>
#include <cstdint>

#include "games.h"

namespace tarnwick {

class TPayout {
 public:
  int32_t Index = 0;           // position in the store; not written to the data file
  int32_t GameId = 0;          // the game the table belongs to
  int32_t LastCategory = 0;    // pays for categories 0..LastCategory (at most 15)
  long double Return = 0;      // overall return per coin as a fraction; -1 = not computed
  long double WinChance = 0;   // a hand pays more than the stake
  long double PushChance = 0;  // a hand pays exactly the stake
  long double LossChance = 0;  // a hand pays less than the stake (nothing included)
  int32_t CoinBasis = 1;       // the pays are given for this many coins
  std::array<int32_t, kMaxCategories> Pays{};  // pay of each category, coins for CoinBasis
  // Counts[d][c]: final hands of category c over the deals whose best hold draws d cards.
  std::array<std::array<int64_t, kMaxCategories>, 6> Counts{};
  std::array<int32_t, 6> Deals{};  // deals whose best hold draws d cards
  int32_t DeckSize = 0;            // cards in the game's deck (52, 53 or 54)
};

}  // namespace tarnwick
