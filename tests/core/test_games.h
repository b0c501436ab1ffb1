// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Game descriptions made for the tests.

#include "games.h"

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

}  // namespace tarnwick::testing
