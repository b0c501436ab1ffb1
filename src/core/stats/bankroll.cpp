// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "stats/bankroll.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <memory>
#include <span>
#include <tuple>

#include "engine/wild_engine.h"
#include "errors.h"
#include "stats/fourier.h"

namespace tarnwick {

namespace {

using TGrid = std::vector<double>;
// Up to this many outcomes a hand is added cell by cell; beyond (a deal on many lines), by
// one transform of the whole grid.
constexpr int kDirectOutcomes = 48;
constexpr double kTolerance = 1e-9;  // bets: results closer than this are equal

// The last cell of the outcomes' grid, and its cell of break-even.
int TopCell(const TOutcomeTable& outcomes) {
  return (kGridCells - 1) * outcomes.Scale;
}
int BreakEven(const TOutcomeTable& outcomes) {
  return kBreakEven * outcomes.Scale;
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

// Adds one hand to the probabilities of `length` consecutive cells by one transform:
// Apply(in)[t] is the probability of cell (first in-cell) + LeastNet() + t.
class TTransformStep {
 public:
  TTransformStep(const TOutcomeTable& outcomes, size_t length)
      : least_(*std::min_element(outcomes.Net.begin(), outcomes.Net.begin() + outcomes.Count)),
        convolution_(Kernel(outcomes, least_), length) {}

  int LeastNet() const { return least_; }
  std::span<const double> Apply(std::span<const double> in) { return convolution_.Apply(in); }

 private:
  // The chance of every net result from the least one up.
  static std::vector<double> Kernel(const TOutcomeTable& outcomes, int least) {
    std::vector<double> kernel;
    for (int e = 0; e < outcomes.Count; ++e) {
      const auto at = static_cast<size_t>(outcomes.Net[e] - least);
      if (kernel.size() <= at) kernel.resize(at + 1, 0.0);
      kernel[at] += outcomes.P[e];
    }
    return kernel;
  }

  int least_;
  TConvolution convolution_;
};

// The net results of a run, hand by hand. Probability that reaches either end of the grid
// (-500 or +1500 bets) leaves it on the next hand and is kept apart: a run that got that
// far ahead is ahead, one that fell that far behind is behind, whatever it does next.
class TResultGrid {
 public:
  explicit TResultGrid(const TOutcomeTable& outcomes)
      : outcomes_(outcomes),
        top_(TopCell(outcomes)),
        zero_(BreakEven(outcomes)),
        cur_(static_cast<size_t>(top_) + 1, 0.0),
        next_(cur_.size(), 0.0),
        lo_(top_) {
    if (outcomes.Count > kDirectOutcomes)
      transform_ = std::make_unique<TTransformStep>(outcomes, static_cast<size_t>(top_) - 1);
  }

  // The first hand from break-even; returns the largest single outcome chance.
  double FirstHand() {
    double largest = 0;
    for (int e = 0; e < outcomes_.Count; ++e) {
      const int j = Clamp(outcomes_.Net[e] + zero_);
      lo_ = std::min(lo_, j);
      hi_ = std::max(hi_, j);
      cur_[j] += outcomes_.P[e];
      largest = std::max(largest, outcomes_.P[e]);
    }
    return largest;
  }

  // One more hand.
  void Step() {
    aboveTop_ += cur_[top_];
    belowBottom_ += cur_[0];
    std::fill(next_.begin(), next_.end(), 0.0);
    if (transform_) {
      const std::span<const double> out =
          transform_->Apply(std::span<const double>(cur_).subspan(1, top_ - 1));
      for (size_t t = 0; t < out.size(); ++t)
        next_[Clamp(1 + transform_->LeastNet() + static_cast<int>(t))] += out[t];
      cur_.swap(next_);
      return;
    }
    int lo = lo_;
    int hi = hi_;
    for (int i = std::max(lo_, 1); i <= std::min(hi_, top_ - 1); ++i) {
      const double q = cur_[i];
      if (!(q > 0)) continue;
      for (int e = 0; e < outcomes_.Count; ++e) {
        const int j = Clamp(i + outcomes_.Net[e]);
        lo = std::min(lo, j);
        hi = std::max(hi, j);
        next_[j] += q * outcomes_.P[e];
      }
    }
    lo_ = lo;
    hi_ = hi;
    cur_.swap(next_);
  }

  const TGrid& Cells() const { return cur_; }
  int Top() const { return top_; }
  int Zero() const { return zero_; }
  // The probability that has left the grid at +1500 bets in the hands before.
  double AboveTop() const { return aboveTop_; }
  // The probability that has left the grid at -500 bets in the hands before.
  double BelowBottom() const { return belowBottom_; }

 private:
  int Clamp(int index) const { return std::clamp(index, 0, top_); }

  const TOutcomeTable& outcomes_;
  int top_;
  int zero_;
  TGrid cur_;
  TGrid next_;
  std::unique_ptr<TTransformStep> transform_;
  int lo_;
  int hi_ = 0;
  double aboveTop_ = 0;
  double belowBottom_ = 0;
};

// The class of a net result in bets.
TPointClass ClassOf(double net) {
  return net > kTolerance    ? TPointClass::Win
         : net < -kTolerance ? TPointClass::Loss
                             : TPointClass::Push;
}

// The net result in bets of cell i after `hands` hands: its whole bets and their cash back.
double CellNet(const TOutcomeTable& outcomes, int i, int hands) {
  return i - BreakEven(outcomes) + hands * outcomes.CashBack;
}

// The win and push chances of the grid's cells after `hands` hands (the runs that left it
// at the top are ahead).
std::pair<double, double> WinAndPush(const TOutcomeTable& outcomes, const TResultGrid& grid,
                                     int hands) {
  double win = grid.AboveTop();
  double push = 0;
  for (int i = 0; i <= grid.Top(); ++i) {
    const TPointClass kind = ClassOf(CellNet(outcomes, i, hands));
    if (kind == TPointClass::Win) win += grid.Cells()[i];
    if (kind == TPointClass::Push) push += grid.Cells()[i];
  }
  return {win, push};
}

void CheckWholeBets(int32_t pay, int32_t basis) {
  if (pay % basis != 0) {
    throw RangeError("The pay " + std::to_string(pay) + " for " + std::to_string(basis) +
                     " coins is not a whole number of bets per coin");
  }
}

}  // namespace

TOutcomeTable BuildOutcomeTable(const TPayout& payout) {
  CheckRange(payout.LastCategory, 0, kMaxCategories - 1, "LastCategory");
  CheckRange(payout.CoinBasis, 1, kMaxCoins, "CoinBasis");
  TOutcomeTable table;
  double nothing = 1;
  for (int c = 0; c <= payout.LastCategory; ++c) {
    // The grid counts whole bets: pays given for several coins are divided out.
    CheckWholeBets(payout.Pays[c], payout.CoinBasis);
    // A net result beyond the width of the grid leaves it from any cell: held at that
    // width, it cannot overflow when added to a cell index.
    table.Net.push_back(std::min(payout.Pays[c] / payout.CoinBasis - 1, kGridCells));
    table.P.push_back(static_cast<double>(payout.CategoryChance(c)));
    nothing -= table.P.back();
  }
  table.Net.push_back(-1);
  table.P.push_back(nothing);
  table.Count = payout.LastCategory + 2;
  return table;
}

TOutcomeTable BuildOutcomeTable(const TDealDistribution& deal) {
  if (deal.StepsPerBet != 1) {
    throw RangeError("The pays for " + std::to_string(deal.Lines) +
                     " lines are not a whole number of bets per coin");
  }
  TOutcomeTable table;
  table.Lines = deal.Lines;
  table.CashBack = deal.Lines * deal.CashBack / 100;
  table.Scale = std::min(deal.Lines, kMaxGridScale);
  const int width = kGridCells * table.Scale;
  double beyond = 0;  // every result past the grid's width leaves it alike
  for (size_t i = 0; i < deal.Probability.size(); ++i) {
    const double p = deal.Probability[i];
    if (p <= 0) continue;
    const int64_t net = deal.First + static_cast<int64_t>(i);
    if (net >= width) {
      beyond += p;
      continue;
    }
    table.Net.push_back(static_cast<int32_t>(net));
    table.P.push_back(p);
  }
  if (beyond > 0) {
    table.Net.push_back(width);
    table.P.push_back(beyond);
  }
  table.Count = static_cast<int>(table.Net.size());
  return table;
}

template <class Make>
void ComputeResultDistributionOf(Make&& make, int hands, int coins, TResultDistribution& result,
                                 TProgress& progress, const std::string& chart) {
  RunChart(progress, hands + 1, chart, [&] {
    const TOutcomeTable outcomes = make();
    CheckRange(hands, 1, kMaxRunHands, "hands played");
    CheckRange(coins, 1, kMaxCoins, "coins");
    TResultGrid grid(outcomes);
    double largest = grid.FirstHand();
    for (int k = 1; k < hands; ++k) {
      grid.Step();
      if (k % 10 == 0) progress.Step(k);
    }
    progress.Step(hands);

    const TGrid& cells = grid.Cells();
    if (hands > 1) largest = *std::max_element(cells.begin(), cells.end());
    std::tie(result.Win, result.Push) = WinAndPush(outcomes, grid, hands);
    result.Loss = 1 - result.Win - result.Push;

    // A bar is `coins` wide and centred on its result in coins.
    const auto point = [&](int i, double p) {
      const double net = CellNet(outcomes, i, hands);
      return TChartPoint{net * coins, 100 * p, ClassOf(net)};
    };
    result.Rows.clear();
    for (int i = 0; i <= grid.Top(); ++i) {
      const double p = cells[i] + (i == 0            ? grid.BelowBottom()
                                   : i == grid.Top() ? grid.AboveTop()
                                                     : 0);
      if (p > 0) result.Rows.push_back(point(i, p));
    }

    // Only the cells of at least 1/200 of the tallest bar are drawn.
    const double threshold = largest / 200;
    int first = -1;
    int last = -1;
    for (int i = 1; i < grid.Top(); ++i) {
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

template <class Make>
void ComputeWinPushLossOf(Make&& make, TCurves& curves, TProgress& progress,
                          const std::string& chart) {
  RunChart(progress, kCurveHands + 1000, chart, [&] {
    const TOutcomeTable outcomes = make();
    TResultGrid grid(outcomes);
    grid.FirstHand();
    // The first hand's "nothing" and every category paying 0 stand below break-even.
    double win = 0;
    double loss = 0;
    for (int i = 0; i <= grid.Top(); ++i) {
      const TPointClass kind = ClassOf(CellNet(outcomes, i, 1));
      if (kind == TPointClass::Win) win += grid.Cells()[i];
      if (kind == TPointClass::Loss) loss += grid.Cells()[i];
    }
    double push = 1 - win - loss;
    const auto emit = [&](int hand) {
      const double x = hand;
      curves.Win.push_back({x, 100 * win, TPointClass::Win});
      curves.Loss.push_back({x, 100 * loss, TPointClass::Loss});
      curves.Push.push_back({x, 100 * push, TPointClass::Push});
    };
    emit(1);
    for (int n = 2; n <= kCurveHands; ++n) {
      grid.Step();
      std::tie(win, push) = WinAndPush(outcomes, grid, n);
      loss = 1 - push - win;
      emit(n);
      if (n % 100 == 0) progress.Step(n);
    }
  });
}

template <class Make>
void ComputeRiskOfRuinOf(Make&& make, int initial, int desired, int coins, TRuinCurves& curves,
                         TProgress& progress, const std::string& chart) {
  RunChart(progress, kCurveHands + 1000, chart, [&] {
    const TOutcomeTable outcomes = make();
    CheckRange(coins, 1, kMaxCoins, "coins");
    CheckRange(desired, 1, kMaxBankroll, "desired bankroll");
    CheckRange(initial, 1, desired, "initial bankroll");
    // Bankrolls in whole bets, cash back apart: after n hands at b bets the player holds
    // b + n CashBack. Below Lines bets the next hand cannot be paid: ruined. The cells run
    // from the lowest bankroll still in play after the last hand up to the target.
    const int start = initial / coins;
    const int target = desired / coins;
    const double cashBack = outcomes.CashBack;
    const int low = static_cast<int>(std::floor(outcomes.Lines - kCurveHands * cashBack)) - 1;
    const auto cells = static_cast<size_t>(std::max(target - low, 1));
    std::vector<double> cur(cells, 0.0);
    std::vector<double> next(cells, 0.0);
    double ruin = 0;
    double hit = 0;
    // A player who starts at the desired bankroll has reached it with every first hand
    // that does not ruin; the stepping rule alone would send the losing hands on playing.
    const auto settle = [&](int64_t b, double v, int hand) {
      const double holds = static_cast<double>(b) + hand * cashBack;
      if (holds < outcomes.Lines - kTolerance) {
        ruin += v;
      } else if (holds >= target - kTolerance || (hand == 1 && start >= target)) {
        hit += v;
      } else {
        next[static_cast<size_t>(b - low)] += v;
      }
    };
    const auto emit = [&](int hand) {
      curves.Ruin.push_back({static_cast<double>(hand), 100 * ruin, TPointClass::Loss});
      curves.Hit.push_back({static_cast<double>(hand), 100 * hit, TPointClass::Win});
    };
    // The first hand is played from the starting bankroll, whatever it is.
    for (int e = 0; e < outcomes.Count; ++e) settle(start + outcomes.Net[e], outcomes.P[e], 1);
    cur.swap(next);
    emit(1);
    std::unique_ptr<TTransformStep> transform;
    if (outcomes.Count > kDirectOutcomes)
      transform = std::make_unique<TTransformStep>(outcomes, cells);
    for (int n = 2; n <= kCurveHands; ++n) {
      std::fill(next.begin(), next.end(), 0.0);
      if (transform) {
        const std::span<const double> out = transform->Apply(cur);
        for (size_t t = 0; t < out.size(); ++t) {
          if (out[t] > 0) settle(low + transform->LeastNet() + static_cast<int64_t>(t), out[t], n);
        }
      } else {
        for (size_t i = 0; i < cells; ++i) {
          const double q = cur[i];
          if (!(q > 0)) continue;
          for (int e = 0; e < outcomes.Count; ++e)
            settle(low + static_cast<int64_t>(i) + outcomes.Net[e], q * outcomes.P[e], n);
        }
      }
      cur.swap(next);
      emit(n);
      if (n % 100 == 0) progress.Step(n);
    }
  });
}

TChartOutcomes::TChartOutcomes(const TPokerDescription& game, const TPayout& table) : game_(game) {
  table_.Assign(table);
}

TOutcomeTable TChartOutcomes::For(int lines, double cashBack, TProgress& progress) {
  CheckLines(lines);
  CheckCashBack(cashBack);
  if (lines == 1 && cashBack == 0) return BuildOutcomeTable(table_);
  BuildOutcomeTable(table_);  // whole bets, before any run
  const std::lock_guard lock(mutex_);
  if (groups_ == nullptr) {
    auto groups = std::make_unique<TDealGroups>();
    const auto engine = CreateEngineForGame(game_);
    engine->SetProgress(&progress);
    computed_.Assign(table_);
    computed_.ClearCounts();
    ComputeWithGroups(*engine, computed_, *groups);
    groups_ = std::move(groups);
  }
  return BuildOutcomeTable(
      ComputeDealDistribution(*groups_, computed_, lines, cashBack, &progress));
}

void ComputeResultDistribution(const TPayout& payout, int hands, int coins,
                               TResultDistribution& result, TProgress& progress,
                               const std::string& chart) {
  ComputeResultDistributionOf([&] { return BuildOutcomeTable(payout); }, hands, coins, result,
                              progress, chart);
}

void ComputeResultDistribution(const TOutcomeTable& outcomes, int hands, int coins,
                               TResultDistribution& result, TProgress& progress,
                               const std::string& chart) {
  ComputeResultDistributionOf([&] { return outcomes; }, hands, coins, result, progress, chart);
}

void ComputeWinPushLoss(const TPayout& payout, TCurves& curves, TProgress& progress,
                        const std::string& chart) {
  ComputeWinPushLossOf([&] { return BuildOutcomeTable(payout); }, curves, progress, chart);
}

void ComputeWinPushLoss(const TOutcomeTable& outcomes, TCurves& curves, TProgress& progress,
                        const std::string& chart) {
  ComputeWinPushLossOf([&] { return outcomes; }, curves, progress, chart);
}

void ComputeRiskOfRuin(const TPayout& payout, int initial, int desired, int coins,
                       TRuinCurves& curves, TProgress& progress, const std::string& chart) {
  ComputeRiskOfRuinOf([&] { return BuildOutcomeTable(payout); }, initial, desired, coins, curves,
                      progress, chart);
}

void ComputeRiskOfRuin(const TOutcomeTable& outcomes, int initial, int desired, int coins,
                       TRuinCurves& curves, TProgress& progress, const std::string& chart) {
  ComputeRiskOfRuinOf([&] { return outcomes; }, initial, desired, coins, curves, progress, chart);
}

}  // namespace tarnwick
