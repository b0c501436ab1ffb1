// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "stats/bankroll.h"

#include <algorithm>

#include "errors.h"

namespace tarnwick {

namespace {

using TGrid = std::array<double, kGridCells>;
constexpr int kTopCell = kGridCells - 1;

int Clamp(int index) {
  return std::clamp(index, 0, kTopCell);
}

// Runs one chart computation between the progress's Begin and End; a failure (a cancellation
// included) leaves with "Error calc chart data(<chart>)" as its last line, after End.
template <class Body>
void RunChart(TProgress& progress, int maximum, const std::string& chart, Body&& body) {
  try {
    progress.Begin(maximum);
    body();
  } catch (...) {
    progress.End();
    RethrowWithLine("Error calc chart data(" + chart + ")");
  }
  progress.End();
}

// The net results of a run, hand by hand. Probability that reaches either end of the grid
// (-500 or +1500 bets) leaves it on the next hand and is kept apart: a run that got that
// far ahead is ahead, one that fell that far behind is behind, whatever it does next.
class TResultGrid {
 public:
  explicit TResultGrid(const TOutcomeTable& outcomes) : outcomes_(outcomes) {
    cur_.fill(0);
    next_.fill(0);
  }

  // The first hand from break-even; returns the largest single outcome chance.
  double FirstHand() {
    double largest = 0;
    for (int e = 0; e < outcomes_.Count; ++e) {
      const int j = Clamp(outcomes_.Net[e] + kBreakEven);
      lo_ = std::min(lo_, j);
      hi_ = std::max(hi_, j);
      cur_[j] += outcomes_.P[e];
      largest = std::max(largest, outcomes_.P[e]);
    }
    return largest;
  }

  // One more hand; visit(j, v) sees every addition of v into cell j.
  template <class Visit>
  void Step(Visit&& visit) {
    aboveTop_ += cur_[kTopCell];
    belowBottom_ += cur_[0];
    next_.fill(0);
    int lo = lo_;
    int hi = hi_;
    for (int i = std::max(lo_, 1); i <= std::min(hi_, kTopCell - 1); ++i) {
      const double q = cur_[i];
      if (!(q > 0)) continue;
      for (int e = 0; e < outcomes_.Count; ++e) {
        const int j = Clamp(i + outcomes_.Net[e]);
        lo = std::min(lo, j);
        hi = std::max(hi, j);
        const double v = q * outcomes_.P[e];
        next_[j] += v;
        visit(j, next_[j], v);
      }
    }
    lo_ = lo;
    hi_ = hi;
    cur_.swap(next_);
  }

  const TGrid& Cells() const { return cur_; }
  // The probability that has left the grid at +1500 bets in the hands before.
  double AboveTop() const { return aboveTop_; }
  // The probability that has left the grid at -500 bets in the hands before.
  double BelowBottom() const { return belowBottom_; }

 private:
  const TOutcomeTable& outcomes_;
  TGrid cur_;
  TGrid next_;
  int lo_ = kTopCell;
  int hi_ = 0;
  double aboveTop_ = 0;
  double belowBottom_ = 0;
};

}  // namespace

TOutcomeTable BuildOutcomeTable(const TPayout& payout) {
  CheckRange(payout.LastCategory, 0, kMaxCategories - 1, "LastCategory");
  CheckRange(payout.CoinBasis, 1, kMaxCoins, "CoinBasis");
  TOutcomeTable table;
  double nothing = 1;
  for (int c = 0; c <= payout.LastCategory; ++c) {
    // The grid counts whole bets: pays given for several coins are divided out.
    if (payout.Pays[c] % payout.CoinBasis != 0) {
      throw RangeError("The pay " + std::to_string(payout.Pays[c]) + " for " +
                       std::to_string(payout.CoinBasis) +
                       " coins is not a whole number of bets per coin");
    }
    // A net result beyond the width of the grid leaves it from any cell: held at that
    // width, it cannot overflow when added to a cell index.
    table.Net[c] = std::min(payout.Pays[c] / payout.CoinBasis - 1, kGridCells);
    table.P[c] = static_cast<double>(payout.CategoryChance(c));
    nothing -= table.P[c];
  }
  const int n = payout.LastCategory + 1;
  table.Net[n] = -1;
  table.P[n] = nothing;
  table.Count = n + 1;
  return table;
}

void ComputeResultDistribution(const TPayout& payout, int hands, int coins,
                               TResultDistribution& result, TProgress& progress,
                               const std::string& chart) {
  RunChart(progress, hands + 1, chart, [&] {
    CheckRange(hands, 1, kMaxRunHands, "hands played");
    CheckRange(coins, 1, kMaxCoins, "coins");
    const TOutcomeTable outcomes = BuildOutcomeTable(payout);
    TResultGrid grid(outcomes);
    double largest = grid.FirstHand();
    for (int k = 1; k < hands; ++k) {
      largest = 0;
      grid.Step([&](int, double cell, double) { largest = std::max(largest, cell); });
      if (k % 10 == 0) progress.Step(k);
    }
    progress.Step(hands);

    const TGrid& cells = grid.Cells();
    double win = grid.AboveTop();
    for (int i = kBreakEven + 1; i <= kTopCell; ++i) win += cells[i];
    result.Win = win;
    result.Push = cells[kBreakEven];
    result.Loss = 1 - win - result.Push;

    // A bar is `coins` wide and centred on its result in coins.
    const auto point = [&](int i, double p) {
      const TPointClass kind = i < kBreakEven    ? TPointClass::Loss
                               : i == kBreakEven ? TPointClass::Push
                                                 : TPointClass::Win;
      return TChartPoint{static_cast<double>(i - kBreakEven) * coins, 100 * p, kind};
    };
    result.Rows.clear();
    for (int i = 0; i <= kTopCell; ++i) {
      const double p = cells[i] + (i == 0          ? grid.BelowBottom()
                                   : i == kTopCell ? grid.AboveTop()
                                                   : 0);
      if (p > 0) result.Rows.push_back(point(i, p));
    }

    // Only the cells of at least 1/200 of the tallest bar are drawn.
    const double threshold = largest / 200;
    int first = -1;
    int last = -1;
    for (int i = 1; i < kTopCell; ++i) {
      if (cells[i] >= threshold && cells[i] > 0) {
        if (first < 0) first = i;
        last = i;
      }
    }
    result.Points.clear();
    if (first < 0) return;
    for (int i = first; i <= last; ++i) result.Points.push_back(point(i, cells[i]));
  });
}

void ComputeWinPushLoss(const TPayout& payout, TCurves& curves, TProgress& progress,
                        const std::string& chart) {
  RunChart(progress, kCurveHands + 1000, chart, [&] {
    const TOutcomeTable outcomes = BuildOutcomeTable(payout);
    TResultGrid grid(outcomes);
    grid.FirstHand();
    double win = 0;
    double push = 0;
    for (int i = kBreakEven + 1; i <= kTopCell; ++i) win += grid.Cells()[i];
    // The first hand's "nothing" and every category paying 0 stand below break-even.
    double loss = 0;
    for (int i = 0; i < kBreakEven; ++i) loss += grid.Cells()[i];
    push = 1 - win - loss;
    const auto emit = [&](int hand) {
      const double x = hand;
      curves.Win.push_back({x, 100 * win, TPointClass::Win});
      curves.Loss.push_back({x, 100 * loss, TPointClass::Loss});
      curves.Push.push_back({x, 100 * push, TPointClass::Push});
    };
    emit(1);
    for (int n = 2; n <= kCurveHands; ++n) {
      win = 0;
      push = 0;
      grid.Step([&](int j, double, double v) {
        if (j == kBreakEven) push += v;
        if (j > kBreakEven) win += v;
      });
      win += grid.AboveTop();
      loss = 1 - push - win;
      emit(n);
      if (n % 100 == 0) progress.Step(n);
    }
  });
}

void ComputeRiskOfRuin(const TPayout& payout, int initial, int desired, int coins,
                       TRuinCurves& curves, TProgress& progress, const std::string& chart) {
  RunChart(progress, kCurveHands + 1000, chart, [&] {
    CheckRange(coins, 1, kMaxCoins, "coins");
    CheckRange(desired, 1, kMaxBankroll, "desired bankroll");
    CheckRange(initial, 1, desired, "initial bankroll");
    const TOutcomeTable outcomes = BuildOutcomeTable(payout);
    // Cells are bankrolls in bets: 500 is empty, target and above are reached.
    const int start = initial / coins + kBreakEven;
    const int target = desired / coins + kBreakEven;
    TGrid cur{};
    TGrid next{};
    double ruin = 0;
    double hit = 0;
    const auto settle = [&](int j, double v, TGrid& into) {
      if (j <= kBreakEven) {
        ruin += v;
      } else if (j >= target) {
        hit += v;
      } else {
        into[j] += v;
      }
    };
    const auto emit = [&](int hand) {
      curves.Ruin.push_back({static_cast<double>(hand), 100 * ruin, TPointClass::Loss});
      curves.Hit.push_back({static_cast<double>(hand), 100 * hit, TPointClass::Win});
    };
    // A player who starts at the desired bankroll has reached it with every first hand
    // that does not ruin; the stepping rule alone would send the losing hands on playing.
    const int firstTarget = start >= target ? kBreakEven + 1 : target;
    for (int e = 0; e < outcomes.Count; ++e) {
      const int j = start + outcomes.Net[e];
      if (j <= kBreakEven) {
        ruin += outcomes.P[e];
      } else if (j >= firstTarget) {
        hit += outcomes.P[e];
      } else {
        cur[j] += outcomes.P[e];
      }
    }
    emit(1);
    for (int n = 2; n <= kCurveHands; ++n) {
      next.fill(0);
      for (int i = kBreakEven; i < target; ++i) {
        const double q = cur[i];
        if (!(q > 0)) continue;
        for (int e = 0; e < outcomes.Count; ++e)
          settle(i + outcomes.Net[e], q * outcomes.P[e], next);
      }
      cur.swap(next);
      emit(n);
      if (n % 100 == 0) progress.Step(n);
    }
  });
}

}  // namespace tarnwick
