// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "draw_listing.h"

#include <algorithm>
#include <vector>

namespace tarnwick::testing {

int ListingKind(const std::array<int, 5>& codes) {
  std::array<int, 5> ranks{};
  bool flush = true;
  for (size_t i = 0; i < 5; ++i) {
    ranks[i] = codes[i] % 13;
    flush = flush && codes[i] / 13 == codes[0] / 13;
  }
  std::sort(ranks.begin(), ranks.end());
  std::array<int, 13> count{};
  for (int r : ranks) ++count[static_cast<size_t>(r)];
  int fourRank = -1, threeRank = -1, pairs = 0, pairRank = -1;
  for (int r = 0; r < 13; ++r) {
    const int c = count[static_cast<size_t>(r)];
    if (c == 4) fourRank = r;
    if (c == 3) threeRank = r;
    if (c == 2) {
      ++pairs;
      pairRank = r;
    }
  }
  const bool distinct = fourRank < 0 && threeRank < 0 && pairs == 0;
  const bool wheel = ranks == std::array<int, 5>{0, 1, 2, 3, 12};
  const bool straight = distinct && (wheel || ranks[4] - ranks[0] == 4);
  // Kind numbers: 0..2 straight flushes, 3+r fours, 16 full house, 17 flush,
  // 18..20 straights, 21+r threes, 34 two pairs, 35+r pairs.
  const int straightOffset = wheel ? 0 : (ranks[0] == 8 ? 2 : 1);
  if (straight && flush) return straightOffset;
  if (fourRank >= 0) return 3 + fourRank;
  if (threeRank >= 0 && pairs == 1) return 16;
  if (flush) return 17;
  if (straight) return 18 + straightOffset;
  if (threeRank >= 0) return 21 + threeRank;
  if (pairs == 2) return 34;
  if (pairs == 1) return 35 + pairRank;
  return kNothing;
}

namespace {

struct TFinalHand {
  std::array<uint8_t, 5> Cards;
  uint8_t Kind;
};

// All 2598960 hands of a 52-card deck with their kinds, made once.
const std::vector<TFinalHand>& AllHands() {
  static const std::vector<TFinalHand> hands = [] {
    std::vector<TFinalHand> list;
    list.reserve(2598960);
    std::array<int, 5> c{};
    for (c[0] = 0; c[0] < 52; ++c[0])
      for (c[1] = c[0] + 1; c[1] < 52; ++c[1])
        for (c[2] = c[1] + 1; c[2] < 52; ++c[2])
          for (c[3] = c[2] + 1; c[3] < 52; ++c[3])
            for (c[4] = c[3] + 1; c[4] < 52; ++c[4]) {
              TFinalHand hand{};
              for (size_t i = 0; i < 5; ++i) hand.Cards[i] = static_cast<uint8_t>(c[i]);
              hand.Kind = static_cast<uint8_t>(ListingKind(c));
              list.push_back(hand);
            }
    return list;
  }();
  return hands;
}

}  // namespace

TListedKinds ListAllDraws(const std::array<int, 5>& dealt) {
  // keptBit[card] is the position bit of a dealt card, 0 for a card of the deck.
  std::array<uint8_t, 52> keptBit{};
  for (size_t i = 0; i < 5; ++i)
    keptBit[static_cast<size_t>(dealt[i])] = static_cast<uint8_t>(1u << i);
  TListedKinds listed{};
  for (const TFinalHand& hand : AllHands()) {
    const unsigned kept = keptBit[hand.Cards[0]] | keptBit[hand.Cards[1]] | keptBit[hand.Cards[2]] |
                          keptBit[hand.Cards[3]] | keptBit[hand.Cards[4]];
    ++listed[31u ^ kept][hand.Kind];
  }
  return listed;
}

}  // namespace tarnwick::testing
