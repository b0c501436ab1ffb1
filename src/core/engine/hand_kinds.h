// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The fixed classification of final hands: 52 kinds without wild cards and 42 with them,
// with their names. A pay category of a game is a set of kinds; the order of the kinds is
// the order of the count arrays of the engines.

#include <array>
#include <cstdint>
#include <string_view>

namespace tarnwick {

// Final hands without wild cards. The rank-specific kinds are base + rank index.
enum HandKind : int {
  FLUSH_STRAIGHT_A_5,
  FLUSH_STRAIGHT,
  FLUSH_STRAIGHT_T_A,
  FOUR_OF_KIND_2,
  FOUR_OF_KIND_3,
  FOUR_OF_KIND_4,
  FOUR_OF_KIND_5,
  FOUR_OF_KIND_6,
  FOUR_OF_KIND_7,
  FOUR_OF_KIND_8,
  FOUR_OF_KIND_9,
  FOUR_OF_KIND_T,
  FOUR_OF_KIND_J,
  FOUR_OF_KIND_Q,
  FOUR_OF_KIND_K,
  FOUR_OF_KIND_A,
  FULL_HOUSE,
  FLUSH,
  STRAIGHT_A_5,
  STRAIGHT,
  STRAIGHT_T_A,
  THREE_OF_KIND_2,
  THREE_OF_KIND_3,
  THREE_OF_KIND_4,
  THREE_OF_KIND_5,
  THREE_OF_KIND_6,
  THREE_OF_KIND_7,
  THREE_OF_KIND_8,
  THREE_OF_KIND_9,
  THREE_OF_KIND_T,
  THREE_OF_KIND_J,
  THREE_OF_KIND_Q,
  THREE_OF_KIND_K,
  THREE_OF_KIND_A,
  TWO_PAIRS,
  PAIRS_2,
  PAIRS_3,
  PAIRS_4,
  PAIRS_5,
  PAIRS_6,
  PAIRS_7,
  PAIRS_8,
  PAIRS_9,
  PAIRS_T,
  PAIRS_J,
  PAIRS_Q,
  PAIRS_K,
  PAIRS_A,
  // Four of a kind of a kicker rank (aces, twos to fours) whose fifth card is another kicker
  // rank (ace to four): the kicker games pay these apart. Only an engine whose game pays them
  // counts them; in every other game these hands stay in FOUR_OF_KIND_2 + rank.
  FOUR_OF_KIND_2_A_4,
  FOUR_OF_KIND_3_A_4,
  FOUR_OF_KIND_4_A_4,
  FOUR_OF_KIND_A_2_4
};
inline constexpr int kHandKindCount = 52;
// The four-of-a-kind kinds with a kicker, in the order of the kicker ranks below.
inline constexpr std::array<int, 4> kKickerFours = {FOUR_OF_KIND_2_A_4, FOUR_OF_KIND_3_A_4,
                                                    FOUR_OF_KIND_4_A_4, FOUR_OF_KIND_A_2_4};
// The kicker ranks (twos, threes, fours, aces as rank indices) and their bit set.
inline constexpr std::array<int, 4> kKickerRanks = {0, 1, 2, 12};
inline constexpr uint32_t kKickerRankBits = 0x1007;

// Final hands with at least one wild card; the leading number counts the wild cards.
enum WildHandKind : int {
  WILD_5,
  WILD_4_A,
  WILD_4_WA,
  WILD_FIVE_2,
  WILD_FIVE_3,
  WILD_FIVE_4,
  WILD_FIVE_5,
  WILD_FIVE_6,
  WILD_FIVE_7,
  WILD_FIVE_8,
  WILD_FIVE_9,
  WILD_FIVE_T,
  WILD_FIVE_J,
  WILD_FIVE_Q,
  WILD_FIVE_K,
  WILD_FIVE_A,
  WILD_3,
  WILD_3_FLUSH,
  WILD_3_FLUSH_STR_A_5,
  WILD_3_FLUSH_STR,
  WILD_3_FLUSH_STR_T_A,
  WILD_2,
  WILD_2_AND_2_1,
  WILD_2_FLUSH,
  WILD_2_FLUSH_STR_A_5,
  WILD_2_FLUSH_STR,
  WILD_2_FLUSH_STR_T_A,
  WILD_2_STRAIGHT_A_5,
  WILD_2_STRAIGHT,
  WILD_2_STRAIGHT_T_A,
  WILD_1,
  WILD_1_AND_3_1,
  WILD_1_AND_2_2,
  WILD_1_AND_2_1_1,
  WILD_1_FLUSH,
  WILD_1_FLUSH_STR_A_5,
  WILD_1_FLUSH_STR,
  WILD_1_FLUSH_STR_T_A,
  WILD_1_STRAIGHT_A_5,
  WILD_1_STRAIGHT,
  WILD_1_STRAIGHT_T_A,
  WILD_1_KINGS
};
inline constexpr int kWildHandKindCount = 42;

// A set of hand kinds: bit k stands for kind k (52 bits used at most).
using TKindSet = uint64_t;

constexpr TKindSet KindBit(int kind) {
  return TKindSet{1} << kind;
}
// Every kind from `first` to `last` in enumeration order.
constexpr TKindSet KindRange(int first, int last) {
  TKindSet set = 0;
  for (int k = first; k <= last; ++k) set |= KindBit(k);
  return set;
}
constexpr bool InKindSet(TKindSet set, int kind) {
  return (set >> kind) & 1u;
}

// Names of the natural and wild hand kinds, for trace output and messages.
extern const std::array<std::string_view, kHandKindCount> HandKindNames;
extern const std::array<std::string_view, kWildHandKindCount> WildHandKindNames;

}  // namespace tarnwick
