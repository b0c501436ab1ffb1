// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The tables an engine looks things up in while it counts the 32 holds of one dealt hand:
// the kept cards of every hold, an index of what holds of the deal already counted, how a
// row of kind counts folds into category counts, and what every hold was last worth. Each
// is a small value type the engine holds as a member, so that the lookups of the counting
// loops stay inline.

#include <array>
#include <bit>
#include <cstdint>

#include "engine/cards.h"
#include "engine/games.h"
#include "engine/hand_kinds.h"

namespace tarnwick {

// Draws of one hold by pay category.
using TCategoryRow = std::array<int64_t, kMaxCategories>;

// The kept cards of a hold as bit sets, read from the dealt hand: all that the counts a
// change of suits can change depend on.
struct TKeptCards {
  uint32_t Ranks = 0;  // bit r: a natural card of rank r is kept
  int Naturals = 0;    // natural cards kept
  int Wilds = 0;       // wild cards kept
  int Suit = -1;       // the suit of every kept natural card; -1 for two suits or none
  bool Distinct() const { return CountBits(Ranks) == Naturals; }
};

// The kept cards of every hold of the dealt hand.
class TKeptTable {
 public:
  // Reads them from the dealt hand: once per analysis, and again for each new suit
  // pattern of the same ranks.
  void Prepare(const THand& dealt) {
    // The kept cards of mask m are those of the mask that also replaces m's lowest kept
    // position, plus the card there: from mask 31 (nothing kept) down.
    table_[kFullDrawMask] = TKeptCards{};
    for (int mask = kFullDrawMask - 1; mask >= 0; --mask) {
      const int position = std::countr_one(static_cast<uint32_t>(mask));
      TKeptCards kept = table_[mask | (1 << position)];
      if (position < dealt.Total) {
        const int rank = dealt.Ranks[position];
        const int suit = dealt.Suits[position];
        if (rank < 0) {
          ++kept.Wilds;
        } else {
          kept.Ranks |= 1u << rank;
          // A second suit leaves Suit at -1 for good.
          kept.Suit = kept.Naturals == 0 || kept.Suit == suit ? suit : -1;
          ++kept.Naturals;
        }
      }
      table_[mask] = kept;
    }
  }
  const TKeptCards& operator[](int mask) const { return table_[mask]; }

 private:
  std::array<TKeptCards, kMaskCount> table_{};
};

// Where the shapes of one deal are found by their keys: open addressing over 64 slots,
// each stamped with the deal it belongs to, so that a new deal empties it at no cost.
class TShapeIndex {
 public:
  void Clear() { ++deal_; }
  // The number stored with the key, or -1.
  int Find(uint64_t key) const {
    for (size_t slot = Start(key);; slot = (slot + 1) % kSlots) {
      if (deals_[slot] != deal_) return -1;
      if (keys_[slot] == key) return numbers_[slot];
    }
  }
  void Add(uint64_t key, int number) {
    size_t slot = Start(key);
    while (deals_[slot] == deal_) slot = (slot + 1) % kSlots;
    deals_[slot] = deal_;
    keys_[slot] = key;
    numbers_[slot] = number;
  }

 private:
  static constexpr size_t kSlots = 64;  // twice the holds of a deal
  static size_t Start(uint64_t key) { return (key * 0x9E3779B97F4A7C15ull) >> 58; }
  uint32_t deal_ = 1;
  std::array<uint32_t, kSlots> deals_{};
  std::array<uint64_t, kSlots> keys_{};
  std::array<int, kSlots> numbers_{};
};

// How a row of kind counts is folded into its category counts: a kind whose neighbours
// pay as other categories is added alone, a run of neighbouring kinds of one category is
// summed first. The counts of one hold add up to at most C(53, 5), so a run is summed in
// 32 bits and added to the 64-bit category once.
class TFoldPlan {
 public:
  // From the category of each kind (-1: pays nothing).
  void Build(const int32_t* kindToCategory, int kinds) {
    std::array<TKindRun, kHandKindCount> all{};
    int count = 0;
    for (int k = 0; k < kinds; ++k) {
      const int c = kindToCategory[k];
      if (c < 0) continue;
      if (count > 0 && all[count - 1].Category == c && all[count - 1].Last == k - 1) {
        all[count - 1].Last = static_cast<uint8_t>(k);
        continue;
      }
      all[count++] =
          TKindRun{static_cast<uint8_t>(k), static_cast<uint8_t>(k), static_cast<uint8_t>(c)};
    }
    singleCount_ = 0;
    runCount_ = 0;
    for (int i = 0; i < count; ++i) {
      const TKindRun& run = all[i];
      if (run.First == run.Last) {
        singles_[singleCount_++] = run;
      } else {
        runs_[runCount_++] = run;
      }
    }
  }
  // Adds the kind counts of one hold into its category counts.
  void Fold(const int32_t* kinds, TCategoryRow& categories) const {
    for (int i = 0; i < singleCount_; ++i) {
      const TKindRun& single = singles_[i];
      categories[single.Category] += kinds[single.First];
    }
    for (int i = 0; i < runCount_; ++i) {
      const TKindRun& run = runs_[i];
      int32_t sum = 0;
      for (int k = run.First; k <= run.Last; ++k) sum += kinds[k];
      categories[run.Category] += sum;
    }
  }

 private:
  struct TKindRun {
    uint8_t First = 0;
    uint8_t Last = 0;
    uint8_t Category = 0;
  };
  std::array<TKindRun, kHandKindCount> singles_{};  // First == Last
  std::array<TKindRun, kHandKindCount> runs_{};
  int singleCount_ = 0;
  int runCount_ = 0;
};

// The expected pay of every hold as Best last worked it out, with the pays and the deck
// size it used. Best works out again only the holds marked changed since (every hold when
// the pays or the deck size changed), so the quick analysis of another suit pattern pays
// only for the holds it counted again.
class THoldValues {
 public:
  // Every hold is worked out again by the next Best.
  void Invalidate() { changed_ = ~0u; }
  // The category counts of the hold changed.
  void MarkChanged(int mask) { changed_ |= 1u << mask; }
  // The hold of highest expected pay (ties keep the lower mask) for the category counts of
  // every hold, the pays of categories 0..lastCategory and a deck of deckTotal cards
  // (checked by the caller to lie in 0..kMaxDeck - 1).
  int Best(const std::array<TCategoryRow, kMaskCount>& counts,
           const std::array<int32_t, kMaxCategories>& pays, int lastCategory, int deckTotal) {
    std::array<int64_t, kMaxCategories> wide{};
    for (int c = 0; c <= lastCategory; ++c) wide[c] = pays[c];
    if (wide != pays_ || deckTotal != deckTotal_) {
      pays_ = wide;
      deckTotal_ = deckTotal;
      changed_ = ~0u;
    }
    for (uint32_t changed = changed_; changed != 0; changed &= changed - 1) {
      const int mask = std::countr_zero(changed);
      int64_t sum = 0;
      for (int c = 0; c <= lastCategory; ++c) sum += counts[mask][c] * wide[c];
      values_[mask] = static_cast<long double>(sum) /
                      static_cast<long double>(Binomial[DrawCount[mask]][deckTotal]);
    }
    changed_ = 0;
    long double best = values_[0];
    int bestMask = 0;
    for (int m = 1; m < kMaskCount; ++m) {
      if (values_[m] > best) {
        best = values_[m];
        bestMask = m;
      }
    }
    return bestMask;
  }

 private:
  std::array<long double, kMaskCount> values_{};
  std::array<int64_t, kMaxCategories> pays_{};
  int32_t deckTotal_ = -1;
  uint32_t changed_ = ~0u;
};

}  // namespace tarnwick
