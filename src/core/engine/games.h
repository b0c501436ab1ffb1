// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The game description record (pay categories as sets of hand kinds) and the catalogue of
// the 36 known games. Game numbers are stored in the data file: they are never reused or
// shifted (number 12 is retired and stays unused).

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/hand_kinds.h"

namespace tarnwick {

inline constexpr int kMaxCategories = 16;  // pay categories 0..15

// What a video poker game is: its name, wild cards and pay categories in pay order.
class TPokerDescription {
 public:
  TPokerDescription() = default;
  virtual ~TPokerDescription() = default;

  int32_t GameId = 0;        // number in the catalogue; pay tables refer to it
  std::string Name;          // display name
  int32_t LastCategory = 0;  // the game has categories 0..LastCategory
  std::array<std::string, kMaxCategories> CategoryNames;  // 0 is the best-paying hand
  std::array<TKindSet, kMaxCategories> NaturalKinds{};    // hands without wild cards
  int32_t WildRank = -5;   // wild rank index (0 deuces, 5 sevens), negative for none
  int32_t JokerCount = 0;  // jokers in the deck: 0, 1 or 2

  // Name of category 0..15; a higher index is a range error.
  const std::string& CategoryName(int index) const;
  TKindSet NaturalKindSet(int index) const;
  // Which hands with wild cards fall in a category (empty for games without wild cards).
  virtual TKindSet WildKindSet(int index) const;
  // True when the natural engine analyses this game (no wild rank, no joker).
  bool IsNatural() const { return WildRank < 0 && JokerCount == 0; }
  // Number of cards in a complete deck of the game.
  int DeckSize() const { return 52 + JokerCount; }
  // True when a category pays four of a kind by its kicker (kKickerFours).
  bool PaysKickers() const;

 protected:
  void SetCategory(int index, std::string name, TKindSet natural);
};

// A game with wild cards: its categories also name the wild hand kinds they pay.
class TWildPokerDescription : public TPokerDescription {
 public:
  std::array<TKindSet, kMaxCategories> WildKinds{};

  TKindSet WildKindSet(int index) const override;

 protected:
  void SetCategory(int index, std::string name, TKindSet natural, TKindSet wild);
};

// The games of the catalogue; each constructor fills in the record. (A class name cannot be
// put in parentheses.)
// NOLINTBEGIN(bugprone-macro-parentheses)
#define TARNWICK_GAME(Class, Parent) \
  class Class : public Parent {      \
   public:                           \
    Class();                         \
  };
// NOLINTEND(bugprone-macro-parentheses)

TARNWICK_GAME(TJacksOrBetter, TPokerDescription)
TARNWICK_GAME(THighFives, TPokerDescription)
TARNWICK_GAME(TDoubleBonus, TPokerDescription)
TARNWICK_GAME(TJokerWildKings, TWildPokerDescription)
TARNWICK_GAME(TDeucesWild, TWildPokerDescription)
TARNWICK_GAME(TAcesAndEights, TPokerDescription)
TARNWICK_GAME(TTensOrBetter, TJacksOrBetter)
TARNWICK_GAME(TBonusDeucesWild, TWildPokerDescription)
TARNWICK_GAME(TDoubleJokerPoker, TWildPokerDescription)
TARNWICK_GAME(TLooseDeuces, TDeucesWild)
TARNWICK_GAME(TAcesAndFaces, TPokerDescription)
TARNWICK_GAME(TBonusPoker, TPokerDescription)
TARNWICK_GAME(TKingsOrBetter, TJacksOrBetter)
TARNWICK_GAME(TAcesAndJacks, TPokerDescription)
TARNWICK_GAME(TNevadaBonusPoker, TPokerDescription)
TARNWICK_GAME(TJokerWild2Pairs, TJokerWildKings)
TARNWICK_GAME(TDeucesDeluxe, TWildPokerDescription)
TARNWICK_GAME(TOdysseyDeuces, TWildPokerDescription)
TARNWICK_GAME(TLuckyNugget, TPokerDescription)
TARNWICK_GAME(TSevensWild, TWildPokerDescription)
TARNWICK_GAME(TBonusPokerDeluxe, TJacksOrBetter)
TARNWICK_GAME(TTripleBonus, TDoubleBonus)
TARNWICK_GAME(TSuperDoubleBonus, TPokerDescription)
TARNWICK_GAME(TAllAmericanPoker, TJacksOrBetter)
TARNWICK_GAME(TFlushorama, TJacksOrBetter)
TARNWICK_GAME(TKingOfTheHouse, TJacksOrBetter)
TARNWICK_GAME(TMisteryBonus, TJacksOrBetter)
TARNWICK_GAME(TStraightFlushBonus, TJacksOrBetter)
TARNWICK_GAME(TDoubleDeuces, TDeucesWild)
TARNWICK_GAME(TTriplePay, TDeucesWild)
TARNWICK_GAME(TDoubleBonusPlus, TDoubleBonus)
TARNWICK_GAME(TPowerHousePoker, TDoubleBonus)
TARNWICK_GAME(TSuperAces, TDoubleBonus)
TARNWICK_GAME(TRoyalCourt, TPokerDescription)
TARNWICK_GAME(TDoubleDoubleBonus, TPokerDescription)
TARNWICK_GAME(TTripleDoubleBonus, TDoubleDoubleBonus)
#undef TARNWICK_GAME

// The catalogue owns its descriptions; list order is the order of the game numbers.
using TCatalogue = std::vector<std::unique_ptr<TPokerDescription>>;

// Creates the 36 games numbered 0..11 and 13..36.
TCatalogue BuildCatalogue();
// The game with this number, or nullptr.
const TPokerDescription* FindGame(const TCatalogue& catalogue, int gameId);

}  // namespace tarnwick
