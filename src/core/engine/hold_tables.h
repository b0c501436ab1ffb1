// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The tables an engine looks things up in while it counts the 32 holds of one dealt hand:
// the kept cards of every hold, the dealt ranks, the rank shapes holds of the deal already
// counted, how a row of kind counts folds into category counts, and what every hold was
// last worth. Each is a small value type the engine holds as a member, so that the lookups
// of the counting loops stay inline.

#include <array>
#include <bit>
#include <cstdint>

#include "engine/cards.h"
#include "engine/games.h"
#include "engine/hand_kinds.h"

namespace tarnwick {

// Draws of one hold by pay category.
using TCategoryRow = std::array<int64_t, kMaxCategories>;

// The positions of the hand a hold keeps, bit i for position i: the mask's inverse.
constexpr uint32_t KeptPositions(int mask) {
  return ~static_cast<uint32_t>(mask) & 31u;
}

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

// The natural ranks of the dealt hand as the rank counts of a hold see them, read once per
// analysis. When the ranks not dealt all have the same deck count (as in a full deck less
// the dealt cards) and keep nothing, a hold's counts treat them as one entry: the undealt-
// rank shortcut of ForEachRankClass and PutRankEntries.
class TDealtRanks {
 public:
  void Prepare(const THand& dealt, const TDeck& deck) {
    positions_.fill(0);
    count_ = 0;
    for (int i = 0; i < dealt.Total; ++i) {
      const int rank = dealt.Ranks[i];
      if (rank < 0) continue;
      if (positions_[rank] == 0) ranks_[count_++] = rank;
      positions_[rank] |= static_cast<uint8_t>(1u << i);
    }
    undealtDeckCount_ = -1;
    undealtRanks_ = 0;
    for (int r = 0; r < kRankCount; ++r) {
      if (deck.IsWild(r) || positions_[r] != 0) continue;
      ++undealtRanks_;
      const int n = deck.Counts[r][kTotalsColumn];
      if (n < 0 || n > 4 || (undealtDeckCount_ >= 0 && n != undealtDeckCount_)) {
        undealtDeckCount_ = -2;
        break;
      }
      undealtDeckCount_ = n;
    }
    if (undealtDeckCount_ < 0) undealtDeckCount_ = -1;
    // A dealt rank with n cards in the deck and c dealt has n + c <= 4 in a deck that is a
    // full deck less the dealt cards: its (n, kept count) pairs are 14 at most, numbered
    // from the first of deck count n. Another deck is counted hold by hold.
    static constexpr std::array<int, 4> kFirstPair = {0, 5, 9, 12};
    shapesShared_ = true;
    for (int i = 0; i < count_; ++i) {
      const int rank = ranks_[i];
      const int n = deck.Counts[rank][kTotalsColumn];
      const int dealtOfRank = CountBits(positions_[rank]);
      if (n < 0 || n > 3 || n + dealtOfRank > 4) {
        shapesShared_ = false;
        break;
      }
      pairBase_[i] = kFirstPair[n];
    }
  }

  // Holds may share rank shapes by their ShapeKey.
  bool ShapesShared() const { return shapesShared_; }
  // The counts of a hold's ranks as one number: the cards drawn, the wild cards kept and,
  // three bits each, how many dealt ranks have each pair of deck count and kept count.
  // Holds with equal keys count alike by rank. Valid when ShapesShared.
  uint64_t ShapeKey(int mask, int wildsKept) const {
    const uint32_t keptPositions = KeptPositions(mask);
    uint64_t key = static_cast<uint64_t>(DrawCount[mask]) | static_cast<uint64_t>(wildsKept) << 3;
    for (int i = 0; i < count_; ++i) {
      const int pair = pairBase_[i] + KeptOfRank(ranks_[i], keptPositions);
      key += uint64_t{1} << (6 + 3 * pair);
    }
    return key;
  }

  // Calls visit(deck count, kept count, ranks) for the natural ranks of a hold, `ranks` of
  // them having those counts: with the undealt-rank shortcut once for all the ranks not
  // dealt and once for each dealt rank, else once for each natural rank.
  template <class TVisit>
  void ForEachRankClass(int mask, const TDeck& deck, TVisit&& visit) const {
    const uint32_t keptPositions = KeptPositions(mask);
    if (undealtDeckCount_ >= 0) {
      visit(undealtDeckCount_, 0, undealtRanks_);
      for (int i = 0; i < count_; ++i) {
        const int r = ranks_[i];
        visit(deck.Counts[r][kTotalsColumn], KeptOfRank(r, keptPositions), 1);
      }
    } else {
      for (int r = 0; r < kRankCount; ++r) {
        if (!deck.IsWild(r)) visit(deck.Counts[r][kTotalsColumn], KeptOfRank(r, keptPositions), 1);
      }
    }
  }

  // Gives each natural rank r of a hold the entry byCounts[deck count][kept count] through
  // put(r, entry), and the wild rank an empty entry. With the undealt-rank shortcut,
  // fill(entry) first gives every rank the entry of a rank not dealt (nothing kept), and
  // only the dealt ranks and the wild rank are put after it.
  template <class TEntry, class TFill, class TPut>
  void PutRankEntries(int mask, const TDeck& deck,
                      const std::array<std::array<TEntry, 5>, 5>& byCounts, TFill&& fill,
                      TPut&& put) const {
    const uint32_t keptPositions = KeptPositions(mask);
    const auto entry = [&](int r) -> const TEntry& {
      return byCounts[deck.Counts[r][kTotalsColumn]][KeptOfRank(r, keptPositions)];
    };
    if (undealtDeckCount_ >= 0) {
      fill(byCounts[undealtDeckCount_][0]);
      for (int i = 0; i < count_; ++i) put(ranks_[i], entry(ranks_[i]));
      if (deck.WildRank >= 0) put(deck.WildRank, TEntry{});
    } else {
      for (int r = 0; r < kRankCount; ++r) {
        if (!deck.IsWild(r)) put(r, entry(r));
      }
    }
  }

 private:
  // Cards of rank r a hold keeps, for the set of positions it keeps: the set bits of a set
  // of hand positions, looked up.
  int KeptOfRank(int rank, uint32_t keptPositions) const {
    static constexpr std::array<uint8_t, 32> kBits = [] {
      std::array<uint8_t, 32> table{};
      for (uint32_t positions = 0; positions < 32; ++positions)
        table[positions] = static_cast<uint8_t>(CountBits(positions));
      return table;
    }();
    return kBits[positions_[rank] & keptPositions];
  }

  // [r]: bit i set when the dealt card at position i is a natural card of rank r.
  std::array<uint8_t, kRankCount> positions_{};
  std::array<int, kHandSize> ranks_{};     // the ranks of the dealt natural cards
  std::array<int, kHandSize> pairBase_{};  // number of the dealt rank's first pair
  int count_ = 0;                          // dealt ranks
  bool shapesShared_ = false;
  // The deck count every natural rank not dealt has, or -1 when they differ, and how many
  // such ranks there are.
  int undealtDeckCount_ = -1;
  int32_t undealtRanks_ = 0;
};

// The rank shapes of one deal's holds, each counted once: a hold gets the shape an earlier
// hold of the deal with the same ShapeKey counted.
template <class TShape>
class TShapeCache {
 public:
  // Forgets the shapes of the previous deal.
  void Clear() {
    count_ = 0;
    index_.Clear();
  }
  // The shape of the key; count(shape) fills a new one when no hold of this deal had it.
  template <class TCount>
  const TShape& Find(uint64_t key, TCount&& count) {
    const int found = index_.Find(key);
    if (found >= 0) return shapes_[found];
    TShape& shape = shapes_[count_];
    count(shape);
    index_.Add(key, count_++);
    return shape;
  }
  // For a deal whose holds cannot share shapes: count(shape) fills a spare shape that no
  // other hold finds.
  template <class TCount>
  const TShape& Spare(TCount&& count) {
    count(spare_);
    return spare_;
  }

 private:
  std::array<TShape, kMaskCount> shapes_{};  // the shapes of this deal so far
  int count_ = 0;
  TShapeIndex index_;
  TShape spare_{};
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

// Moves the recount of some kinds of hold `mask` into its category counts: sets the kinds of
// `row` listed in `kinds` to 0, has count() count them again, adds the change of each to
// its category (kindToCategory; -1 pays nothing) and marks a hold whose category counts
// changed in `values`.
template <size_t N, class TRow, class TKindMap, class TCount>
void RecountKinds(const std::array<int, N>& kinds, TRow& row, const TKindMap& kindToCategory,
                  int mask, std::array<TCategoryRow, kMaskCount>& categories, THoldValues& values,
                  TCount&& count) {
  std::array<int32_t, N> before;  // every entry set here
  for (size_t i = 0; i < N; ++i) {
    before[i] = row[kinds[i]];
    row[kinds[i]] = 0;
  }
  count();
  for (size_t i = 0; i < N; ++i) {
    const int kind = kinds[i];
    const int32_t change = row[kind] - before[i];
    const int c = kindToCategory[kind];
    if (change != 0 && c >= 0) {
      categories[mask][c] += change;
      values.MarkChanged(mask);
    }
  }
}

}  // namespace tarnwick
