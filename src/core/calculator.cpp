// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "calculator.h"

#include <algorithm>

#include "checked.h"
#include "errors.h"

namespace tarnwick {

namespace {

const TCalculator::TPowerRow& PowersOf(int n) {
  CheckRange(n, 0, 4, "deck count of a rank");
  return TCalculator::Powers[static_cast<size_t>(n)];
}

}  // namespace

void TCalculator::Init(const TDeck& deck, const THand& keptHand) {
  try {
    PairCompletion = {0, 0, 0};
    if (keptHand.WildCount == 0 && deck.WildCount == 0) {
      TPowerRow& sums = RankPowerPrefix[12];
      sums = {0, 0, 0, 0, 0, 0};
      for (int r = 0; r < kRankCount; ++r) {
        const int32_t h = keptHand.Counts[r][kTotalsColumn];
        const int32_t n = deck.Counts[r][kTotalsColumn];
        if (h == 0 && n > 0) {
          const TPowerRow& powers = PowersOf(n);
          sums[0] = Add(sums[0], 1);
          for (int j = 1; j <= 5; ++j) sums[j] = Add(sums[j], powers[j]);
        }
      }
    } else {
      for (int r = 0; r < kRankCount; ++r) {
        const int32_t v = keptHand.Counts[r][kTotalsColumn] == 0 ? 1 : 0;
        const TPowerRow& powers = PowersOf(deck.Counts[r][kTotalsColumn]);
        for (int j = 0; j <= 5; ++j) {
          const int32_t previous = r == 0 ? 0 : RankPowerPrefix[r - 1][j];
          RankPowerPrefix[r][j] = Add(previous, v * powers[j]);
        }
      }
    }
    for (int r = 0; r < kRankCount; ++r) {
      const int32_t y = 2 - keptHand.Counts[r][kTotalsColumn];
      const int32_t n = deck.Counts[r][kTotalsColumn];
      if (y >= 0 && y <= n) PairCompletion[y] = Add(PairCompletion[y], BinomialAt(y, n));
    }
    CalcSingles();
  } catch (...) {
    RethrowWithContext("Error in calculator  (Init)");
  }
}

void TCalculator::CalcSingles() {
  try {
    for (int x = 0; x <= 4; ++x) CalcFormula(RankPowerPrefix[12], NoPair[x], x);
  } catch (...) {
    RethrowWithContext("Error in calculator  (CalcSingles)");
  }
}

void TCalculator::CalcFormula(const TPowerRow& powerSums, TPowerRow& target, int x) {
  try {
    std::array<int32_t, 6> p{};
    const TPowerRow& powers = PowersOf(x);
    for (int j = 1; j <= 5; ++j) p[j] = x > 0 ? Sub(powerSums[j], powers[j]) : powerSums[j];
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

void TCalculator::CalcSingleRange(int lo, int hi, int x) {
  try {
    hi = std::min(hi, 12);
    if (hi < 0 || lo >= hi) {
      RangePowerSums = {0, 0, 0, 0, 0, 0};  // an empty range has no ranks
    } else {
      for (int j = 0; j <= 5; ++j) {
        RangePowerSums[j] = lo < 0 ? RankPowerPrefix[hi][j]
                                   : Sub(RankPowerPrefix[hi][j], RankPowerPrefix[lo][j]);
      }
    }
    CalcFormula(RangePowerSums, RangeNoPair, x);
  } catch (...) {
    RethrowWithContext("Error in calculator  (CalcSingleRange)");
  }
}

void TCalculator::InitSuits(const TDeck& deck) {
  try {
    for (int s = 0; s < kSuitCount; ++s) {
      SuitPrefix[0][s] = deck.Counts[0][s];
      for (int r = 1; r < kRankCount; ++r) SuitPrefix[r][s] = Add(SuitPrefix[r - 1][s], deck.Counts[r][s]);
    }
  } catch (...) {
    RethrowWithContext("Error in calculator  (InitSuits)");
  }
}

int32_t TCalculator::SuitRange(int suit, int lo, int hi) const {
  try {
    CheckRange(suit, 0, kSuitCount - 1, "suit");
    const int top = std::min(hi, 12);
    if (top < 0) return 0;
    const int32_t upper = SuitPrefix[top][suit];
    if (lo < 0 || lo > 12) return upper;
    if (lo >= top) return 0;  // an empty range holds no cards
    return Sub(upper, SuitPrefix[lo][suit]);
  } catch (...) {
    RethrowWithContext("Error in calculator  (SuitRange)");
  }
}

}  // namespace tarnwick
