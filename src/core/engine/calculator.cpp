// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/calculator.h"

#include "checked.h"
#include "errors.h"

namespace tarnwick {

namespace {

// Calls visit(rank) once for every rank the kept hand holds (checked to be a rank).
template <class Visit>
inline void ForEachKeptRank(const THand& keptHand, Visit&& visit) {
  uint32_t seen = 0;
  for (int i = 0; i < keptHand.Total; ++i) {
    const int r = keptHand.Ranks[i];
    CheckRange(r, 0, kRankCount - 1, "kept rank");
    if (seen & (1u << r)) continue;
    seen |= 1u << r;
    visit(r);
  }
}

// A rank kept `kept` times with `inDeck` cards left completes a pair by drawing 2 - kept
// of them: counts the ways into pairs[2 - kept].
inline void AddPairCompletion(std::array<int32_t, 3>& pairs, int32_t kept, int32_t inDeck) {
  const int32_t y = 2 - kept;
  if (y >= 0 && y <= inDeck) pairs[y] += Binomial[y][inDeck];
}

const TCalculator::TPowerRow& PowersOf(int n) {
  CheckRange(n, 0, 4, "deck count of a rank");
  return TCalculator::Powers[n];
}

// The no-pair counts of every multiset of absent ranks of a natural deck, by how many
// absent ranks have 1, 2, 3 and 4 cards left (c1 + c2 + c3 + c4 <= 13: 2380 multisets).
// Each row is made once with Newton's identities from the multiset's power sums.
class TNoPairMemo {
 public:
  TNoPairMemo() {
    int next = 0;
    for (int c4 = 0; c4 <= 13; ++c4) {
      offset4_[c4] = next;
      for (int c3 = 0; c4 + c3 <= 13; ++c3) {
        offset3_[c4][c3] = next - offset4_[c4];
        for (int c2 = 0; c4 + c3 + c2 <= 13; ++c2) {
          offset2_[c4 + c3][c2] = next - offset4_[c4] - offset3_[c4][c3];
          for (int c1 = 0; c4 + c3 + c2 + c1 <= 13; ++c1) {
            TCalculator::TPowerRow sums{};
            const std::array<int, 5> counts{0, c1, c2, c3, c4};
            for (size_t n = 1; n <= 4; ++n) {
              sums[0] += counts[n];
              for (size_t j = 1; j <= 5; ++j) sums[j] += counts[n] * TCalculator::Powers[n][j];
            }
            TCalculator scratch;
            scratch.CalcFormula(sums, rows_[next]);
            ++next;
          }
        }
      }
    }
  }

  // Row of a multiset; the counts must add up to at most 13.
  const TCalculator::TPowerRow& Row(int c1, int c2, int c3, int c4) const {
    return rows_[offset4_[c4] + offset3_[c4][c3] + offset2_[c4 + c3][c2] + c1];
  }

 private:
  std::array<int, 14> offset4_{};
  std::array<std::array<int, 14>, 14> offset3_{};
  std::array<std::array<int, 14>, 14> offset2_{};  // by c4 + c3, then c2
  std::array<TCalculator::TPowerRow, 2380> rows_{};
};

const TNoPairMemo& NoPairMemo() {
  static const TNoPairMemo memo;
  return memo;
}

}  // namespace

void TCalculator::CalcSinglesOfCounts(const std::array<int32_t, 5>& absentWithCount) {
  NoPair[0] = NoPairMemo().Row(absentWithCount[1], absentWithCount[2], absentWithCount[3],
                               absentWithCount[4]);
  RemoveOneRank();
}

void TCalculator::RemoveOneRank() {
  for (int x = 1; x <= 4; ++x) NoPair[x] = WithoutRank(NoPair[0], x);
}

void TCalculator::Init(const TDeck& deck, const THand& keptHand) {
  try {
    // Deck counts are checked to lie in 0..4 before use, so no sum below can exceed
    // 13 x 4^5 and the additions need no overflow check.
    std::array<int32_t, 3> pairs{};
    TPowerRow sums{};
    std::array<int32_t, 5> absentWithCount{};
    const bool natural = keptHand.WildCount == 0 && deck.WildCount == 0;
    if (natural) {
      // Ranks with the same deck count add the same powers: count the ranks of each deck
      // count, take out the ranks the hand keeps, and add each count's powers once.
      // The 13 ranks are counted in one 64-bit word, one byte per deck count, which
      // keeps the loop free of memory round trips.
      // The range of the counts is checked once for all ranks, after the loop.
      uint64_t packed = 0;
      uint32_t outside = 0;
      for (int r = 0; r < kRankCount; ++r) {
        const auto n = static_cast<uint32_t>(deck.Counts[r][kTotalsColumn]);
        outside |= n > 4 ? 1u : 0u;
        packed += uint64_t{1} << (8 * (n & 7u));
      }
      if (outside != 0) {
        for (int r = 0; r < kRankCount; ++r)
          CheckRange(deck.Counts[r][kTotalsColumn], 0, 4, "deck count of a rank");
      }
      for (size_t n = 0; n <= 4; ++n)
        absentWithCount[n] = static_cast<int32_t>((packed >> (8 * n)) & 0xFF);
      ForEachKeptRank(keptHand, [&](int r) {
        const int32_t n = deck.Counts[r][kTotalsColumn];
        --absentWithCount[n];
        AddPairCompletion(pairs, keptHand.Counts[r][kTotalsColumn], n);
      });
      for (int n = 1; n <= 4; ++n) {
        const int32_t ranks = absentWithCount[n];
        sums[0] += ranks;
        for (int j = 1; j <= 5; ++j) sums[j] += ranks * Powers[n][j];
        if (n >= 2) pairs[2] += ranks * Binomial[2][n];
      }
    } else {
      // With wild cards the ranks are added one by one.
      for (int r = 0; r < kRankCount; ++r) {
        const int32_t h = keptHand.Counts[r][kTotalsColumn];
        const int32_t n = deck.Counts[r][kTotalsColumn];
        const TPowerRow& powers = PowersOf(n);
        if (h == 0) {
          for (int j = 0; j <= 5; ++j) sums[j] += powers[j];
        }
        AddPairCompletion(pairs, h, n);
      }
    }
    PowerSums = sums;
    PairCompletion = pairs;
    if (natural) {
      CalcSinglesOfCounts(absentWithCount);
    } else {
      CalcSingles();
    }
  } catch (...) {
    RethrowWithContext("Error in calculator  (Init)");
  }
}

bool TCalculator::PrepareDeck(const TDeck& deck) {
  deckPrepared_ = false;
  std::array<int32_t, 5> withCount{};
  deckPairs_ = 0;
  for (int r = 0; r < kRankCount; ++r) {
    const int32_t n = deck.Counts[r][kTotalsColumn];
    if (n < 0 || n > 4) return false;
    deckCounts_[r] = n;
    ++withCount[n];
    deckPairs_ += Binomial[2][n];
  }
  deckNoPair_ = NoPairMemo().Row(withCount[1], withCount[2], withCount[3], withCount[4]);
  deckPrepared_ = true;
  return true;
}

void TCalculator::Init(const THand& keptHand) {
  try {
    if (!deckPrepared_) throw RangeError("No deck is prepared");
    if (keptHand.WildCount != 0) throw RangeError("The kept hand holds a wild card");
    // The deck's no-pair counts with each kept rank taken out.
    TPowerRow e = deckNoPair_;
    std::array<int32_t, 3> pairs = {0, 0, deckPairs_};
    ForEachKeptRank(keptHand, [&](int r) {
      const int32_t n = deckCounts_[r];
      e = WithoutRank(e, n);
      pairs[2] -= Binomial[2][n];
      AddPairCompletion(pairs, keptHand.Counts[r][kTotalsColumn], n);
    });
    PairCompletion = pairs;
    NoPair[0] = e;
    RemoveOneRank();
  } catch (...) {
    RethrowWithContext("Error in calculator  (Init)");
  }
}

void TCalculator::CalcSingles() {
  try {
    CalcFormula(PowerSums, NoPair[0]);
    RemoveOneRank();
  } catch (...) {
    RethrowWithContext("Error in calculator  (CalcSingles)");
  }
}

void TCalculator::CalcFormula(const TPowerRow& p, TPowerRow& target) {
  try {
    const int32_t e1 = p[1];
    const int32_t e2 = Sub(Mul(e1, p[1]), p[2]) / 2;
    const int32_t e3 = Add(Sub(Mul(e2, p[1]), Mul(e1, p[2])), p[3]) / 3;
    const int32_t e4 = Sub(Add(Sub(Mul(e3, p[1]), Mul(e2, p[2])), Mul(e1, p[3])), p[4]) / 4;
    const int32_t e5 =
        Add(Sub(Add(Sub(Mul(e4, p[1]), Mul(e3, p[2])), Mul(e2, p[3])), Mul(e1, p[4])), p[5]) / 5;
    target = {1, e1, e2, e3, e4, e5};
  } catch (...) {
    RethrowWithContext("Error in calculator  (CalcFormula)");
  }
}

}  // namespace tarnwick
