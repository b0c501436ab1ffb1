// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Hands typed on the keyboard (and clicked on card buttons): which key does what to the
// hand. A card is its rank key then its suit key ("A" "S", "t" "d"); "J" then "K" is a
// joker, the first one of the deck not in the hand yet. A card already in the hand is taken
// out again. Once a hand is analysed, "1".."5" hold or replace that position at once; "2"
// .. "5" may also be the rank of the next hand's first card, which a suit key after it
// tells. A card typed after a whole hand begins the next hand. Backspace takes back the last
// card put, Escape clears the hand.
//
// The entry keeps what it needs between keys (a rank waiting for its suit, the order the
// cards were put in) and says what to do; the window applies that to the controller.

#include <array>
#include <cstdint>
#include <vector>

#include "engine/cards.h"

namespace tarnwick {

class TCardEntry {
 public:
  // What the entry needs to know of the hand.
  struct THand {
    std::array<int32_t, kHandSize> Cards{};  // kEmptyPosition for an empty position
    bool Analysed = false;                   // the hand is whole and analysed
    int32_t JokerCount = 0;                  // jokers in the game's deck
  };

  enum class TAction {
    None,    // nothing to do
    Put,     // put card Code (after a whole hand, it begins the next one)
    Take,    // take card Code out of the hand
    Toggle,  // hold or replace the card at Position
    Clear,   // clear the hand
  };

  struct TStep {
    TAction Action = TAction::None;
    int32_t Code = 0;
    int32_t Position = -1;
    bool operator==(const TStep&) const = default;
  };

  // A key typed: its character (a letter or digit; others clear a waiting rank).
  TStep Key(char32_t key, const THand& hand);
  // Backspace: the card put last that is still in the hand is taken out.
  TStep Backspace(const THand& hand);
  // Escape: the hand is cleared.
  TStep Escape();
  // A key of another meaning: a rank waiting for its suit is dropped.
  void DropRank() { typedRank_ = -1; }
  // A card button clicked: its card is put, or taken out when it is in the hand.
  TStep Click(int32_t code, const THand& hand);

 private:
  // A typed card: into the hand being entered, or as the first of the next hand.
  TStep Typed(int32_t code, const THand& hand);

  int typedRank_ = -1;          // a rank key waiting for its suit key (-1: none)
  std::vector<int32_t> order_;  // the cards put, in the order they were put
};

}  // namespace tarnwick
