// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Game descriptions made for the tests.

#include <array>
#include <string>
#include <vector>

#include "engine/cards.h"
#include "engine/games.h"

namespace tarnwick::testing {

// Deuces and a joker wild (five wild cards): no game of the catalogue has both, the
// engine supports it.
class TDeucesAndJoker : public TDeucesWild {
 public:
  TDeucesAndJoker() {
    Name = "Deuces and Joker (test)";
    JokerCount = 1;
    GameId = 99;
  }
};

// Five cards from their texts ("AS", "JK"); the jokers are numbered -1, -2 in order.
inline std::array<int, 5> HandOf(const std::vector<std::string>& texts) {
  std::array<int, 5> codes{};
  int jokers = 0;
  for (size_t i = 0; i < 5; ++i) {
    codes[i] = ParseCard(texts.at(i)).value();
    if (codes[i] < 0) codes[i] = -1 - jokers++;
  }
  return codes;
}

}  // namespace tarnwick::testing
