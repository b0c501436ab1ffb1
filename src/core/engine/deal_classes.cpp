// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/deal_classes.h"

#include <array>
#include <initializer_list>

namespace tarnwick {

namespace {

// A suit pattern (the five suits in position order) and the deals it stands for.
struct TPattern {
  std::array<int8_t, kHandSize> Suits;
  int32_t Weight;
};

using TPatterns = std::initializer_list<TPattern>;

constexpr TPatterns kFourOfKind = {{{0, 1, 2, 3, 0}, 4}};
constexpr TPatterns kFullHouse = {{{0, 1, 2, 0, 1}, 12}, {{0, 1, 2, 0, 3}, 12}};
// Trips with b < c; the pattern (0,1,2,0,3) follows for every c, played in full.
constexpr TPatterns kTrips = {{{0, 1, 2, 0, 0}, 12}, {{0, 1, 2, 3, 3}, 4}, {{0, 1, 2, 0, 1}, 24}};
constexpr TPatterns kTripsOrdered = {{{0, 1, 2, 0, 3}, 12}};
constexpr TPatterns kTwoPairs = {
    {{0, 1, 0, 1, 0}, 12}, {{0, 1, 0, 1, 2}, 12}, {{0, 1, 0, 2, 0}, 24}, {{0, 1, 0, 2, 1}, 24},
    {{0, 1, 0, 2, 2}, 24}, {{0, 1, 0, 2, 3}, 24}, {{0, 1, 2, 3, 0}, 12}, {{0, 1, 2, 3, 2}, 12}};
constexpr TPatterns kOnePair = {
    {{0, 1, 0, 0, 0}, 12}, {{0, 1, 0, 0, 1}, 12}, {{0, 1, 0, 1, 0}, 12}, {{0, 1, 1, 0, 0}, 12},
    {{0, 1, 0, 0, 2}, 24}, {{0, 1, 0, 2, 0}, 24}, {{0, 1, 2, 0, 0}, 24}, {{0, 1, 0, 1, 2}, 24},
    {{0, 1, 0, 2, 1}, 24}, {{0, 1, 2, 0, 1}, 24}, {{0, 1, 0, 2, 2}, 24}, {{0, 1, 2, 0, 2}, 24},
    {{0, 1, 2, 2, 0}, 24}, {{0, 1, 0, 2, 3}, 24}, {{0, 1, 2, 0, 3}, 24}, {{0, 1, 2, 3, 0}, 24},
    {{0, 1, 2, 2, 3}, 12}, {{0, 1, 2, 3, 2}, 12}, {{0, 1, 3, 2, 2}, 12}, {{0, 1, 2, 2, 2}, 12}};
constexpr TPatterns kNoPair = {
    {{0, 0, 0, 0, 0}, 4},  {{1, 0, 0, 0, 0}, 12}, {{0, 1, 0, 0, 0}, 12}, {{0, 0, 1, 0, 0}, 12},
    {{0, 0, 0, 1, 0}, 12}, {{0, 0, 0, 0, 1}, 12}, {{1, 1, 0, 0, 0}, 12}, {{1, 0, 1, 0, 0}, 12},
    {{1, 0, 0, 1, 0}, 12}, {{1, 0, 0, 0, 1}, 12}, {{0, 1, 1, 0, 0}, 12}, {{0, 1, 0, 1, 0}, 12},
    {{0, 1, 0, 0, 1}, 12}, {{0, 0, 1, 1, 0}, 12}, {{0, 0, 1, 0, 1}, 12}, {{0, 0, 0, 1, 1}, 12},
    {{1, 2, 0, 0, 0}, 24}, {{1, 0, 2, 0, 0}, 24}, {{1, 0, 0, 2, 0}, 24}, {{1, 0, 0, 0, 2}, 24},
    {{0, 1, 2, 0, 0}, 24}, {{0, 1, 0, 2, 0}, 24}, {{0, 1, 0, 0, 2}, 24}, {{0, 0, 1, 2, 0}, 24},
    {{0, 0, 1, 0, 2}, 24}, {{0, 0, 0, 1, 2}, 24}, {{1, 1, 2, 2, 3}, 24}, {{1, 1, 2, 3, 2}, 24},
    {{1, 1, 3, 2, 2}, 24}, {{1, 3, 1, 2, 2}, 24}, {{3, 1, 1, 2, 2}, 24}, {{1, 2, 1, 2, 3}, 24},
    {{1, 2, 1, 3, 2}, 24}, {{1, 2, 3, 1, 2}, 24}, {{1, 3, 2, 1, 2}, 24}, {{3, 1, 2, 1, 2}, 24},
    {{1, 2, 2, 1, 3}, 24}, {{1, 2, 2, 3, 1}, 24}, {{1, 2, 3, 2, 1}, 24}, {{1, 3, 2, 2, 1}, 24},
    {{3, 1, 2, 2, 1}, 24}, {{1, 2, 3, 0, 0}, 24}, {{1, 2, 0, 3, 0}, 24}, {{1, 2, 0, 0, 3}, 24},
    {{1, 0, 2, 3, 0}, 24}, {{1, 0, 2, 0, 3}, 24}, {{1, 0, 0, 2, 3}, 24}, {{0, 1, 2, 3, 0}, 24},
    {{0, 1, 2, 0, 3}, 24}, {{0, 1, 0, 2, 3}, 24}, {{0, 0, 1, 2, 3}, 24}};

// The class counts of deal_classes.h count these lists.
static_assert(kFourOfKind.size() == kFourOfKindPatterns);
static_assert(kFullHouse.size() == kFullHousePatterns);
static_assert(kTrips.size() == kTripsPatterns);
static_assert(kTripsOrdered.size() == kTripsOrderedPatterns);
static_assert(kTwoPairs.size() == kTwoPairsPatterns);
static_assert(kOnePair.size() == kOnePairPatterns);
static_assert(kNoPair.size() == kNoPairPatterns);

}  // namespace

void ForEachNaturalDealClass(int skipRank,
                             const std::function<void(const TDealClass& deal, bool full)>& visit) {
  TDealClass deal;
  // Plays the patterns of one rank group: the first in full, the others by suit changes.
  const auto group = [&](const std::array<int, kHandSize>& ranks, const TPatterns& patterns) {
    for (size_t i = 0; i < kHandSize; ++i) deal.Ranks[i] = static_cast<int8_t>(ranks[i]);
    bool first = true;
    for (const TPattern& pattern : patterns) {
      deal.Suits = pattern.Suits;
      deal.Weight = pattern.Weight;
      deal.Full = first;
      visit(deal, first);
      first = false;
    }
  };
  const auto skipped = [&](int rank) { return rank == skipRank; };

  for (int a = 0; a < kRankCount; ++a) {
    if (skipped(a)) continue;
    for (int b = 0; b < kRankCount; ++b) {
      if (b == a || skipped(b)) continue;
      group({a, a, a, a, b}, kFourOfKind);
      group({a, a, a, b, b}, kFullHouse);
      for (int c = 0; c < kRankCount; ++c) {
        if (c == a || c == b || skipped(c)) continue;
        if (b < c) group({a, a, a, b, c}, kTrips);
        group({a, a, a, b, c}, kTripsOrdered);
        if (a < b) group({a, a, b, b, c}, kTwoPairs);
      }
    }
  }
  for (int a = 0; a < kRankCount; ++a) {
    if (skipped(a)) continue;
    for (int b = a + 1; b < kRankCount; ++b) {
      if (skipped(b)) continue;
      for (int c = b + 1; c < kRankCount; ++c) {
        if (skipped(c)) continue;
        for (int p = 0; p < kRankCount; ++p) {
          if (p == a || p == b || p == c || skipped(p)) continue;
          group({p, p, a, b, c}, kOnePair);
          if (c >= p) continue;
          for (int q = p + 1; q < kRankCount; ++q) {
            if (!skipped(q)) group({a, b, c, p, q}, kNoPair);
          }
        }
      }
    }
  }
}

void ForEachWildDealClass(int wilds, int skipRank,
                          const std::function<void(const TDealClass& deal)>& visit) {
  // C(wilds, w): the ways to pick the class's w wild cards.
  std::array<int32_t, 6> pick{};
  for (int w = 0; w <= 5; ++w)
    pick[w] = wilds >= 0 && wilds <= kMaxDeck - 1 ? Binomial[w][wilds] : 0;
  TDealClass deal;
  bool first = true;
  // One class: w wild cards first, then the naturals with their suits. A class with the
  // ranks of the class before it (the classes of one rank group follow each other) only
  // changes suits.
  const auto play = [&](int w, std::initializer_list<int> ranks, std::initializer_list<int> suits,
                        int32_t renamings) {
    const auto previous = deal.Ranks;
    int i = 0;
    for (; i < w; ++i) {
      deal.Ranks[i] = -1;
      deal.Suits[i] = -1;
    }
    auto rank = ranks.begin();
    for (int suit : suits) {
      deal.Ranks[i] = static_cast<int8_t>(*rank++);
      deal.Suits[i++] = static_cast<int8_t>(suit);
    }
    deal.Weight = renamings * pick[w];
    deal.Full = first || deal.Ranks != previous;
    first = false;
    visit(deal);
  };
  const auto skipped = [&](int rank) { return rank == skipRank; };

  if (wilds >= 5) play(5, {}, {}, 1);
  for (int a = 0; a < kRankCount; ++a) {
    if (skipped(a)) continue;
    play(1, {a, a, a, a}, {0, 1, 2, 3}, 1);
    if (wilds >= 2) play(2, {a, a, a}, {0, 1, 2}, 4);
    if (wilds >= 3) play(3, {a, a}, {0, 1}, 6);
    if (wilds >= 4) play(4, {a}, {0}, 4);
    for (int b = 0; b < kRankCount; ++b) {
      if (b == a || skipped(b)) continue;
      play(1, {a, a, a, b}, {0, 1, 2, 0}, 12);
      play(1, {a, a, a, b}, {0, 1, 2, 3}, 4);
      if (wilds >= 2) {
        play(2, {a, a, b}, {0, 1, 0}, 12);
        play(2, {a, a, b}, {0, 1, 2}, 12);
      }
      if (a < b) {
        play(1, {a, a, b, b}, {0, 1, 0, 1}, 6);
        play(1, {a, a, b, b}, {0, 1, 0, 2}, 24);
        play(1, {a, a, b, b}, {0, 1, 2, 3}, 6);
        if (wilds >= 3) {
          play(3, {a, b}, {0, 0}, 4);
          play(3, {a, b}, {0, 1}, 12);
        }
      }
    }
  }
  for (int x = 0; x < kRankCount; ++x) {
    if (skipped(x)) continue;
    for (int y = x + 1; y < kRankCount; ++y) {
      if (skipped(y)) continue;
      for (int z = 0; z < kRankCount; ++z) {
        if (z == x || z == y || skipped(z)) continue;
        play(1, {z, z, x, y}, {0, 1, 0, 1}, 12);
        play(1, {z, z, x, y}, {0, 1, 0, 0}, 12);
        play(1, {z, z, x, y}, {0, 1, 0, 2}, 24);
        play(1, {z, z, x, y}, {0, 1, 2, 0}, 24);
        play(1, {z, z, x, y}, {0, 1, 2, 2}, 12);
        play(1, {z, z, x, y}, {0, 1, 2, 3}, 12);
        if (y >= z) continue;
        if (wilds >= 2) {
          play(2, {x, y, z}, {0, 0, 0}, 4);
          play(2, {x, y, z}, {0, 0, 1}, 12);
          play(2, {x, y, z}, {0, 1, 0}, 12);
          play(2, {x, y, z}, {1, 0, 0}, 12);
          play(2, {x, y, z}, {0, 1, 2}, 24);
        }
        for (int v = z + 1; v < kRankCount; ++v) {
          if (skipped(v)) continue;
          // The suits of the four naturals and the deals each pattern stands for.
          static constexpr auto kFourSingles = std::to_array<std::array<int, 5>>({
              {0, 1, 2, 3, 24},
              {0, 1, 2, 2, 24},
              {0, 2, 1, 2, 24},
              {2, 0, 1, 2, 24},
              {0, 2, 2, 1, 24},
              {2, 0, 2, 1, 24},
              {2, 2, 0, 1, 24},
              {0, 0, 1, 1, 6},
              {0, 1, 0, 1, 6},
              {0, 1, 1, 0, 6},
              {1, 0, 0, 1, 6},
              {1, 0, 1, 0, 6},
              {1, 1, 0, 0, 6},
              {0, 1, 1, 1, 12},
              {1, 0, 1, 1, 12},
              {1, 1, 0, 1, 12},
              {1, 1, 1, 0, 12},
              {0, 0, 0, 0, 4},
          });
          static_assert(kFourSingles.size() == kWildFourSinglesPatterns);
          for (const auto& row : kFourSingles)
            play(1, {x, y, z, v}, {row[0], row[1], row[2], row[3]}, row[4]);
        }
      }
    }
  }
}

}  // namespace tarnwick
