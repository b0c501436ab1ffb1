// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The deal classes of the whole-game run. Deals that differ only by a renaming of suits
// have the same best hold and the same outcome counts, so the 2598960 deals of a 52-card
// deck reduce to 134459 classes, each with the number of deals it stands for. The order is
// part of the method: a class played by the quick path relies on the counts the previous
// class of the same ranks left behind.

#include <array>
#include <cstdint>
#include <functional>

#include "engine/cards.h"

namespace tarnwick {

// One deal class of the whole-game run: five ranks and suits in position order and the
// number of deals the class stands for. It takes 16 bytes, so that the list of a run's
// classes (up to 154791) is made quickly and stays small.
struct TDealClass {
  std::array<int8_t, kHandSize> Ranks{};  // -1: a wild card
  std::array<int8_t, kHandSize> Suits{};  // -1: a wild card
  // Played with the full analysis (Check); false: only the suits differ from the class
  // before it, which is played with the quick analysis (Check1).
  bool Full = true;
  int32_t Weight = 0;
};

// Visits the classes of five natural cards in the order of the run, leaving out the rank
// `skipRank` (a wild rank; -1 for none). `full` is true for the first suit pattern of each
// rank group (and for the patterns marked to be played in full), which are played with a
// full analysis; the other patterns of the group change suits only. The class's Full says
// the same.
void ForEachNaturalDealClass(int skipRank,
                             const std::function<void(const TDealClass& deal, bool full)>& visit);

// Visits the classes that hold w = 1..5 generic wild cards (rank -1, suit -1, always in the
// first positions), for a deck of `wilds` wild cards; `skipRank` as above. A class's
// weight is its number of suit renamings times C(wilds, w). The classes of one rank group
// follow each other; all but the first have Full false.
void ForEachWildDealClass(int wilds, int skipRank,
                          const std::function<void(const TDealClass& deal)>& visit);

// The suit patterns each rank group is played with, as the visitors above list them:
// natural groups by the shape of the hand, wild groups by the hand's naturals (b, c, ... are
// ranks other than a, and different from each other).
inline constexpr int kFourOfKindPatterns = 1;        // a a a a b
inline constexpr int kFullHousePatterns = 2;         // a a a b b
inline constexpr int kTripsPatterns = 3;             // a a a b c, once for b < c
inline constexpr int kTripsOrderedPatterns = 1;      // a a a b c, for each order of b and c
inline constexpr int kTwoPairsPatterns = 8;          // a a b b c, a < b
inline constexpr int kOnePairPatterns = 20;          // a a b c d, b < c < d
inline constexpr int kNoPairPatterns = 51;           // five ranks in ascending order
inline constexpr int kWildTripsPatterns = 2;         // a a a b and one wild card
inline constexpr int kWildPairPatterns = 2;          // a a b and two wild cards
inline constexpr int kWildTwoPairsPatterns = 3;      // a a b b and one wild card, a < b
inline constexpr int kWildTwoSinglesPatterns = 2;    // a b and three wild cards, a < b
inline constexpr int kWildPairSinglesPatterns = 6;   // a a b c and one wild card, b < c
inline constexpr int kWildThreeSinglesPatterns = 5;  // a b c and two wild cards, a < b < c
inline constexpr int kWildFourSinglesPatterns = 18;  // a b c d and one wild card, ascending

// Rank groups of k different ranks among n, in ascending order: C(n, k).
constexpr int RankSets(int n, int k) {
  int sets = 1;
  for (int i = 0; i < k; ++i) sets = sets * (n - i) / (i + 1);
  return sets;
}

// Classes ForEachNaturalDealClass visits for `ranks` natural ranks (13, or 12 when a wild
// rank is skipped): the rank groups of each shape times the suit patterns of the shape.
constexpr int NaturalDealClassCount(int ranks) {
  const int ordered = ranks * (ranks - 1);  // a, then b != a
  return ordered * (kFourOfKindPatterns + kFullHousePatterns) +
         ranks * RankSets(ranks - 1, 2) * kTripsPatterns +
         ordered * (ranks - 2) * kTripsOrderedPatterns +
         RankSets(ranks, 2) * (ranks - 2) * kTwoPairsPatterns +
         RankSets(ranks, 3) * (ranks - 3) * kOnePairPatterns + RankSets(ranks, 5) * kNoPairPatterns;
}

// Classes ForEachWildDealClass visits for a deck of `wilds` wild cards and `ranks` natural
// ranks. A group that needs more wild cards than the deck has is not played; a hand of
// one wild card always is.
constexpr int WildDealClassCount(int wilds, int ranks) {
  const auto atLeast = [&](int needed) { return wilds >= needed ? 1 : 0; };
  const int ordered = ranks * (ranks - 1);
  return atLeast(5) +                                          // five wild cards
         ranks * (1 + atLeast(2) + atLeast(3) + atLeast(4)) +  // a a a a, ..., a
         ordered * (kWildTripsPatterns + atLeast(2) * kWildPairPatterns) +
         RankSets(ranks, 2) * (kWildTwoPairsPatterns + atLeast(3) * kWildTwoSinglesPatterns) +
         RankSets(ranks, 2) * (ranks - 2) * kWildPairSinglesPatterns +
         RankSets(ranks, 3) * atLeast(2) * kWildThreeSinglesPatterns +
         RankSets(ranks, 4) * kWildFourSinglesPatterns;
}

// Number of classes visited without a skipped rank.
inline constexpr int kNaturalDealClasses = NaturalDealClassCount(kRankCount);

}  // namespace tarnwick
