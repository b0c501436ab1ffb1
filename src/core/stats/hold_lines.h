// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The lines of a strategy card: what a hold keeps, in the words players use ("4 to a royal
// flush", "low pair", "KQJ unsuited", "1 deuce: 4 to a straight flush"). Every hold of a
// dealt hand has one exact line (its shape, its wild cards and its natural ranks); a line of
// a strategy is a pattern that leaves some of these open ("3 to a straight flush with 1 high
// card" matches many exact lines).

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/cards.h"
#include "engine/games.h"

namespace tarnwick {

// What the kept cards are, in the order the classifier tries them.
enum class TLineShape : int16_t {
  DrawFive,       // nothing kept
  WildOnly,       // wild cards and nothing else
  Made,           // five cards kept that make a straight, flush or full house (or better)
  OfAKind,        // one rank kept more than once, the wild cards counted with it
  TwoPair,        // two ranks kept twice each
  Royal,          // suited ten to ace ranks
  StraightFlush,  // suited ranks inside five consecutive ranks
  Flush,          // suited ranks
  Straight,       // unsuited ranks inside five consecutive ranks
  HighCards,      // unsuited cards that pay as a pair
  Other,          // anything else
  WildDiscarded,  // a hold that throws a wild card away
};

// The made hands a five-card hold can be.
enum class TMadeHand : int16_t {
  RoyalFlush,
  WildRoyalFlush,
  StraightFlush,
  FullHouse,
  Flush,
  Straight
};

// A line: every field below kAnyField is fixed, the others are open.
struct TLinePattern {
  static constexpr int16_t kAny = -1;

  TLineShape Shape = TLineShape::DrawFive;
  int16_t Wild = kAny;     // wild cards kept
  int16_t Cards = kAny;    // draws: cards kept, wild ones included; OfAKind: the N of N of a kind
  int16_t Made = kAny;     // Made: a TMadeHand
  int16_t High = kAny;     // draws: natural cards kept that pay as a pair
  int16_t Gaps = kAny;     // straight (flush) draws: ranks missing inside the kept span
  int16_t Outside = kAny;  // straight (flush) draws: 1 when two ranks complete it, else 0
  int16_t Kickers = kAny;  // OfAKind, TwoPair: natural cards kept beside the groups
  // OfAKind of one kicker rank (aces, twos to fours) with one kicker, in a game that pays
  // kickers: 1 when the kicker is another kicker rank (ace to four), 0 when it is five to king.
  int16_t Kicker = kAny;
  // Draws: discarded cards that would have helped. Flush: of the suit of the kept suited
  // cards. Straight: of a rank that would fit a straight with the kept ranks.
  int16_t FlushPenalty = kAny;
  int16_t StraightPenalty = kAny;
  // Draws and Other: the natural ranks kept, exactly (bit per rank; 0 leaves them open).
  // OfAKind and TwoPair: the ranks the group may have (0 leaves them open).
  uint16_t Ranks = 0;

  bool operator==(const TLinePattern&) const = default;
  // One number per pattern, for sorting and maps.
  uint64_t Key() const;
  static TLinePattern FromKey(uint64_t key);
  // True when the exact line of a hold (from Classify) falls under this pattern.
  bool Matches(const TLinePattern& exact) const;
};

// What a game needs for naming holds: which ranks pay as a pair, and its wild cards.
class THoldNamer {
 public:
  explicit THoldNamer(const TPokerDescription& game);

  // The exact line of the cards `kept` (card codes, jokers included; 0..5 of them).
  TLinePattern Classify(std::span<const int> kept) const;
  // The exact line of the hold `drawMask` of the dealt cards, with its penalty cards.
  TLinePattern ClassifyHold(const std::array<int, kHandSize>& cards, int drawMask) const;
  // The exact line and its generalisations, from the exact to the most open: the lines a
  // strategy may be made of.
  std::vector<TLinePattern> Generalise(const TLinePattern& exact) const;
  // The pattern in words, e.g. "1 deuce: 3 to a royal flush QJ" or "high pair".
  std::string Text(const TLinePattern& pattern) const;
  // Reads one line as Text writes it, with some freedom (see the README's vocabulary);
  // empty when the text is no line.
  std::optional<TLinePattern> Parse(std::string_view text) const;

  bool IsHigh(int rank) const { return ((highRanks_ >> rank) & 1u) != 0; }
  uint16_t HighRanks() const { return highRanks_; }
  bool HasWildCards() const { return wildRank_ >= 0 || jokers_ > 0; }

 private:
  // The line of natural cards `ranks`/`suited` with `wild` wild cards kept, when they are
  // of different ranks.
  TLinePattern DrawLine(uint16_t ranks, int naturals, bool suited, int wild, bool allKept) const;
  // High, Gaps and Outside of a draw from its Shape, Cards and Ranks.
  void SetDrawFields(TLinePattern& line) const;
  std::string WildWord(int count) const;
  std::string LineText(const TLinePattern& pattern) const;
  std::optional<TLinePattern> ParseLine(std::string_view text) const;
  std::optional<TLinePattern> ParseBody(std::string_view body) const;

  uint16_t highRanks_ = 0;
  int wildRank_ = -1;
  int jokers_ = 0;
  bool paysKickers_ = false;
};

// The ranks of a bit set written high to low: "KQJ".
std::string RankLettersText(uint16_t ranks);

}  // namespace tarnwick
