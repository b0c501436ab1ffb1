// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "deal_classes.h"

#include <array>
#include <initializer_list>

namespace tarnwick {

namespace {

// A suit pattern (the five suits in position order) and the deals it stands for.
struct TPattern {
  std::array<int, kHandSize> Suits;
  int32_t Weight;
};

using TPatterns = std::initializer_list<TPattern>;

const TPatterns kFullHouse = {{{0, 1, 2, 0, 1}, 12}, {{0, 1, 2, 0, 3}, 12}};
// Trips with b < c; the pattern (0,1,2,0,3) follows for every c, played in full.
const TPatterns kTrips = {{{0, 1, 2, 0, 0}, 12}, {{0, 1, 2, 3, 3}, 4}, {{0, 1, 2, 0, 1}, 24}};
const TPatterns kTwoPairs = {{{0, 1, 0, 1, 0}, 12}, {{0, 1, 0, 1, 2}, 12}, {{0, 1, 0, 2, 0}, 24},
                             {{0, 1, 0, 2, 1}, 24}, {{0, 1, 0, 2, 2}, 24}, {{0, 1, 0, 2, 3}, 24},
                             {{0, 1, 2, 3, 0}, 12}, {{0, 1, 2, 3, 2}, 12}};
const TPatterns kOnePair = {
    {{0, 1, 0, 0, 0}, 12}, {{0, 1, 0, 0, 1}, 12}, {{0, 1, 0, 1, 0}, 12}, {{0, 1, 1, 0, 0}, 12},
    {{0, 1, 0, 0, 2}, 24}, {{0, 1, 0, 2, 0}, 24}, {{0, 1, 2, 0, 0}, 24}, {{0, 1, 0, 1, 2}, 24},
    {{0, 1, 0, 2, 1}, 24}, {{0, 1, 2, 0, 1}, 24}, {{0, 1, 0, 2, 2}, 24}, {{0, 1, 2, 0, 2}, 24},
    {{0, 1, 2, 2, 0}, 24}, {{0, 1, 0, 2, 3}, 24}, {{0, 1, 2, 0, 3}, 24}, {{0, 1, 2, 3, 0}, 24},
    {{0, 1, 2, 2, 3}, 12}, {{0, 1, 2, 3, 2}, 12}, {{0, 1, 3, 2, 2}, 12}, {{0, 1, 2, 2, 2}, 12}};
const TPatterns kNoPair = {
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

}  // namespace

void ForEachNaturalDealClass(int skipRank,
                             const std::function<void(const TDealClass& deal, bool full)>& visit) {
  TDealClass deal;
  // Plays the patterns of one rank group: the first in full, the others by suit changes.
  const auto group = [&](const std::array<int, kHandSize>& ranks, const TPatterns& patterns) {
    deal.Ranks = ranks;
    bool first = true;
    for (const TPattern& pattern : patterns) {
      deal.Suits = pattern.Suits;
      deal.Weight = pattern.Weight;
      visit(deal, first);
      first = false;
    }
  };
  const auto skipped = [&](int rank) { return rank == skipRank; };

  for (int a = 0; a < kRankCount; ++a) {
    if (skipped(a)) continue;
    for (int b = 0; b < kRankCount; ++b) {
      if (b == a || skipped(b)) continue;
      group({a, a, a, a, b}, {{{0, 1, 2, 3, 0}, 4}});
      group({a, a, a, b, b}, kFullHouse);
      for (int c = 0; c < kRankCount; ++c) {
        if (c == a || c == b || skipped(c)) continue;
        if (b < c) group({a, a, a, b, c}, kTrips);
        group({a, a, a, b, c}, {{{0, 1, 2, 0, 3}, 12}});
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

}  // namespace tarnwick
