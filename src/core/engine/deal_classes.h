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

// Number of classes visited without a skipped rank.
inline constexpr int kNaturalDealClasses = 134459;

}  // namespace tarnwick
