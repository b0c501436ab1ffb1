// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Test oracle: lists every final hand of every hold of a dealt hand card by card and
// classifies each with a classifier of its own, independent of the engine's formulas.

#include <array>
#include <cstdint>
#include <vector>

#include "engine/games.h"
#include "engine/payout.h"

namespace tarnwick::testing {

inline constexpr int kNothing = 52;   // column of the natural final hands without a kind
inline constexpr int kWildBase = 64;  // wild kind k is column kWildBase + k
inline constexpr int kColumns = kWildBase + 42;
inline constexpr int kFirstJoker = 52;  // card codes: 0..51 natural, 52 and 53 the jokers

// Kind of five natural cards given as codes rank + 13 x suit, or kNothing. Four of a kind
// with a kicker is told apart as the kicker games pay it (FOUR_OF_KIND_2_A_4 ...).
int ListingKind(const std::array<int, 5>& codes);

// Kind of five cards of a game whose wild cards are the jokers and the cards of
// `wildRank` (-1: none): a natural kind, kNothing, or kWildBase + wild kind.
int ListingKind(const std::array<int, 5>& codes, int wildRank);

// Listed[mask][column]: final hands of each hold, by kind column.
using TListedKinds = std::array<std::array<int64_t, kColumns>, 32>;

// Every five-card hand of one game's full deck with its kind, made once.
class TDrawListing {
 public:
  TDrawListing(int wildRank, int jokers);
  // Lists every draw of all 32 holds of a dealt hand (card codes as above).
  TListedKinds ListAllDraws(const std::array<int, 5>& dealt) const;
  int DeckSize() const { return deckSize_; }

 private:
  struct TFinalHand {
    std::array<uint8_t, 5> Cards;
    uint8_t Kind;
  };
  int deckSize_;
  std::vector<TFinalHand> hands_;
};

// The listing as a game counts it: a game that does not pay kickers counts four of a kind
// with a kicker as four of a kind of its rank.
void FoldKickers(TListedKinds& listed, const TPokerDescription& game);

// The pay category of each listing column in a game with a table: a natural kind is in the
// category that lists it (four of a kind with a kicker in that of its rank when the game
// does not pay kickers), a wild kind in the best-paying category that lists it (of equal
// pays the lower index); -1 pays nothing.
std::array<int, kColumns> ListingCategories(const TPokerDescription& game, const TPayout& table);

// The listing's card codes of a dealt hand: the jokers (-1 and -2) become 52 and 53.
std::array<int, 5> ListingCodes(const std::array<int, 5>& dealt);

TListedKinds ListAllDraws(const std::array<int, 5>& dealt);

}  // namespace tarnwick::testing
