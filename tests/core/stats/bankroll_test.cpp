// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "stats/bankroll.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <random>

#include "errors.h"
#include "test_games.h"

namespace tarnwick {
namespace {

using testing::ErrorOf;

// A record whose category chances are counts / 1000: every deal stands pat, so
// CategoryChance(c) is Counts[0][c] over the deals.
TPayout Table(const std::vector<int32_t>& pays, const std::vector<int64_t>& perThousand) {
  TPayout table = testing::TableOf(pays);
  table.Deals[0] = 1000;
  std::copy(perThousand.begin(), perThousand.end(), table.Counts[0].begin());
  table.ComputeTotals();
  return table;
}

// A table with a long-shot top pay, shaped like a common game.
TPayout JacksLike() {
  return Table({800, 50, 25, 9, 6, 4, 3, 2, 1}, {1, 1, 2, 12, 11, 11, 74, 130, 215});
}

// Raises AbortError at step `abortAt`; checks one Begin and no step after the end.
class TRecordingSink : public testing::TStepProgress {
 public:
  explicit TRecordingSink(int64_t abortAt = -1)
      : TStepProgress([this, abortAt](int64_t done) {
          EXPECT_EQ(Ends, 0);
          steps.push_back(done);
          if (done == abortAt) throw AbortError();
        }) {}
  TRecordingSink& Fresh() {
    Begins = Ends = 0;
    steps.clear();
    return *this;
  }
  std::vector<int64_t> steps;

 protected:
  void OnBegin(int64_t total) override {
    EXPECT_EQ(Begins, 0);
    TStepProgress::OnBegin(total);
  }
};

TEST(ResultDistribution, OneHandHoldsEveryOutcomeAtItsNetResult) {
  const TPayout table = Table({10, 3, 1, 0}, {10, 100, 300, 50});
  for (int coins : {1, 5}) {
    TResultDistribution result;
    TRecordingSink sink;
    ComputeResultDistribution(table, 1, coins, result, sink);
    EXPECT_EQ(sink.Total, 2);
    EXPECT_EQ(sink.steps, std::vector<int64_t>{1});
    EXPECT_EQ(sink.Ends, 1);
    EXPECT_NEAR(result.Win, 0.11, 1e-15);
    EXPECT_NEAR(result.Push, 0.30, 1e-15);
    EXPECT_NEAR(result.Loss, 0.59, 1e-15);
    // Every result from -1 to +9 bets, of its true class.
    ASSERT_EQ(result.Points.size(), 11u);
    const std::map<int, double> percent = {{-1, 59}, {0, 30}, {2, 10}, {9, 1}};
    for (size_t n = 0; n < result.Points.size(); ++n) {
      const int net = static_cast<int>(n) - 1;
      const TChartPoint& point = result.Points[n];
      EXPECT_DOUBLE_EQ(point.X, net * coins);
      const auto found = percent.find(net);
      EXPECT_NEAR(point.Y, found == percent.end() ? 0 : found->second, 1e-12) << net;
      EXPECT_EQ(point.Class, net < 0    ? TPointClass::Loss
                             : net == 0 ? TPointClass::Push
                                        : TPointClass::Win);
    }
    EXPECT_EQ(result.Rows.size(), percent.size());
  }
}

// The largest pay the program accepts is a win like any other, in every chart.
TEST(ResultDistribution, TheLargestPayIsAWin) {
  const TPayout table = Table({INT32_MAX, 2, 1}, {1, 100, 200});
  TResultDistribution result;
  TRecordingSink sink;
  ComputeResultDistribution(table, 1, 1, result, sink);
  EXPECT_NEAR(result.Win, 0.101, 1e-15);
  EXPECT_NEAR(result.Push, 0.2, 1e-15);
  TCurves curves;
  ComputeWinPushLoss(table, curves, sink.Fresh());
  EXPECT_NEAR(curves.Win[0].Y, 10.1, 1e-12);
  TRuinCurves ruin;
  ComputeRiskOfRuin(table, 10, 20, 1, ruin, sink.Fresh());
  EXPECT_NEAR(ruin.Hit[0].Y, 0.1, 1e-12);  // only the top pay reaches 20 in one hand
}

// A run that has reached +1500 bets is ahead for good. Worked by hand for two hands of a
// table whose top pay (p 0.1) is a net of exactly 1500 bets, with a push (p 0.3) and
// nothing (p 0.6): ahead = top first 0.1 + push then top 0.03 + nothing then top 0.06;
// even = push twice 0.09.
TEST(ResultDistribution, ARunThatLeftTheGridAtTheTopStaysAhead) {
  const TPayout table = Table({1501, 1}, {100, 300});
  TResultDistribution result;
  TRecordingSink sink;
  ComputeResultDistribution(table, 2, 1, result, sink);
  EXPECT_NEAR(result.Win, 0.19, 1e-15);
  EXPECT_NEAR(result.Push, 0.09, 1e-15);
  EXPECT_NEAR(result.Loss, 0.72, 1e-15);
  TCurves curves;
  ComputeWinPushLoss(table, curves, sink.Fresh());
  EXPECT_NEAR(curves.Win[0].Y, 10, 1e-12);
  EXPECT_NEAR(curves.Win[1].Y, 19, 1e-12);
  EXPECT_NEAR(curves.Push[1].Y, 9, 1e-12);
  // What reached the top by hand two (13 %) stays ahead to the end.
  for (size_t n = 1; n < curves.Win.size(); ++n) EXPECT_GE(curves.Win[n].Y, 13 - 1e-9) << n;
}

// Sixty hands of a small table never reach the ends of the grid, so the grid must equal
// the sixty-fold convolution of one hand's outcomes.
TEST(ResultDistribution, EqualsTheDirectConvolution) {
  const TPayout table = Table({5, 2, 1, 0}, {40, 180, 230, 60});
  const std::map<int, double> hand = {{4, 0.04}, {1, 0.18}, {0, 0.23}, {-1, 0.55}};
  const int hands = 60;
  std::map<int, double> run = {{0, 1.0}};
  for (int n = 0; n < hands; ++n) {
    std::map<int, double> next;
    for (const auto& [result, p] : run)
      for (const auto& [net, q] : hand) next[result + net] += p * q;
    run = next;
  }
  TResultDistribution result;
  TRecordingSink sink;
  ComputeResultDistribution(table, hands, 1, result, sink);
  EXPECT_EQ(sink.steps, (std::vector<int64_t>{10, 20, 30, 40, 50, 60}));
  double win = 0, largest = 0;
  for (const auto& [net, p] : run) {
    if (net > 0) win += p;
    largest = std::max(largest, p);
  }
  EXPECT_NEAR(result.Win, win, 1e-12);
  EXPECT_NEAR(result.Push, run[0], 1e-12);
  EXPECT_NEAR(result.Loss, 1 - win - run[0], 1e-12);
  ASSERT_GT(result.Points.size(), 2u);
  for (const TChartPoint& point : result.Points) {
    const int net = static_cast<int>(std::lround(point.X));
    EXPECT_NEAR(point.Y, 100 * run[net], 1e-10) << net;
  }
  // The visible range is exactly the results of at least 1/200 of the tallest.
  const int first = static_cast<int>(std::lround(result.Points.front().X));
  const int last = static_cast<int>(std::lround(result.Points.back().X));
  for (const auto& [net, p] : run) {
    EXPECT_EQ(p >= largest / 200, net >= first && net <= last) << net;
  }
}

TEST(ResultDistribution, ATableThatCannotWinNeverShowsAWin) {
  const TPayout table = Table({1, 0}, {300, 100});
  TResultDistribution result;
  TRecordingSink sink;
  ComputeResultDistribution(table, 400, 1, result, sink);
  EXPECT_EQ(result.Win, 0);
  for (const TChartPoint& point : result.Points) EXPECT_LT(point.X, 0.5);
  TCurves curves;
  ComputeWinPushLoss(table, curves, sink.Fresh());
  ASSERT_EQ(curves.Win.size(), 2000u);
  for (const TChartPoint& point : curves.Win) EXPECT_EQ(point.Y, 0);
  // Push after n hands is 0.3^n; the rest is loss.
  EXPECT_NEAR(curves.Push[1].Y, 9, 1e-12);
  EXPECT_NEAR(curves.Loss[1].Y, 91, 1e-12);
  EXPECT_NEAR(curves.Push[0].Y, 30, 1e-12);
  EXPECT_DOUBLE_EQ(curves.Push[1999].X, 2000);
  TRuinCurves ruin;
  ComputeRiskOfRuin(table, 10, 20, 1, ruin, sink.Fresh());
  for (const TChartPoint& point : ruin.Hit) EXPECT_EQ(point.Y, 0);
  EXPECT_NEAR(ruin.Ruin.back().Y, 100, 1e-9);
}

TEST(WinPushLoss, AgreesWithTheDistributionAfterEveryHand) {
  const TPayout table = JacksLike();
  TCurves curves;
  TRecordingSink sink;
  ComputeWinPushLoss(table, curves, sink);
  EXPECT_EQ(sink.Total, 3000);
  EXPECT_EQ(sink.steps.size(), 20u);
  EXPECT_EQ(sink.steps.back(), 2000);
  for (int hands : {1, 2, 37, 500}) {
    TResultDistribution result;
    ComputeResultDistribution(table, hands, 1, result, sink.Fresh());
    const size_t at = static_cast<size_t>(hands - 1);
    EXPECT_DOUBLE_EQ(curves.Win[at].X, hands);
    EXPECT_NEAR(curves.Win[at].Y, 100 * result.Win, 1e-9) << hands;
    EXPECT_NEAR(curves.Push[at].Y, 100 * result.Push, 1e-9) << hands;
    EXPECT_NEAR(curves.Loss[at].Y, 100 * result.Loss, 1e-9) << hands;
  }
}

TEST(RiskOfRuin, LimitsAndShapes) {
  const TPayout table = JacksLike();
  TRuinCurves curves;
  TRecordingSink sink;
  ComputeRiskOfRuin(table, 30, 60, 1, curves, sink);
  ASSERT_EQ(curves.Ruin.size(), 2000u);
  ASSERT_EQ(curves.Hit.size(), 2000u);
  EXPECT_EQ(sink.steps.size(), 20u);
  for (size_t n = 1; n < 2000; ++n) {
    EXPECT_GE(curves.Ruin[n].Y, curves.Ruin[n - 1].Y);
    EXPECT_GE(curves.Hit[n].Y, curves.Hit[n - 1].Y);
    EXPECT_LE(curves.Ruin[n].Y + curves.Hit[n].Y, 100 + 1e-9);
  }
  // Nearly every player has stopped after 2000 hands.
  EXPECT_GT(curves.Ruin.back().Y + curves.Hit.back().Y, 99.99);

  // Start at the target: every hand that does not ruin counts as a hit, from hand one on.
  curves = TRuinCurves();
  ComputeRiskOfRuin(table, 60, 60, 1, curves, sink.Fresh());
  EXPECT_EQ(curves.Ruin[0].Y, 0);
  EXPECT_NEAR(curves.Hit[0].Y, 100, 1e-12);
  EXPECT_EQ(curves.Hit.back().Y, curves.Hit[0].Y);

  // Bankrolls below one bet of five coins: the first hand ruins unless it wins.
  curves = TRuinCurves();
  ComputeRiskOfRuin(table, 4, 9, 5, curves, sink.Fresh());
  EXPECT_NEAR(curves.Ruin[0].Y, 100 * (1 - static_cast<double>(table.WinChance)), 1e-9);
  EXPECT_NEAR(curves.Hit[0].Y, 100 * static_cast<double>(table.WinChance), 1e-9);
  EXPECT_EQ(curves.Ruin.back().Y, curves.Ruin[0].Y);

  EXPECT_THROW(ComputeRiskOfRuin(table, 70, 60, 1, curves, sink.Fresh()), RangeError);
  EXPECT_EQ(sink.Ends, 1);
}

// The exact curves against a seeded simulation of 20000 players.
TEST(RiskOfRuin, AgreesWithASimulation) {
  const TPayout table = JacksLike();
  const TOutcomeTable outcomes = BuildOutcomeTable(table);
  TRuinCurves curves;
  TRecordingSink sink;
  const int initial = 20, desired = 45;
  ComputeRiskOfRuin(table, initial, desired, 1, curves, sink);

  std::mt19937_64 random(20261206);
  std::discrete_distribution<int> outcome(outcomes.P.begin(), outcomes.P.begin() + outcomes.Count);
  const int players = 20000;
  const std::array<int, 4> checkpoints = {5, 50, 300, 2000};
  std::array<int, 4> ruined{}, hit{};
  for (int player = 0; player < players; ++player) {
    int bankroll = initial;
    for (int hand = 1; hand <= 2000; ++hand) {
      bankroll += outcomes.Net[outcome(random)];
      if (bankroll <= 0 || bankroll >= desired) {
        for (size_t k = 0; k < checkpoints.size(); ++k) {
          if (hand > checkpoints[k]) continue;
          (bankroll <= 0 ? ruined : hit)[k] += 1;
        }
        break;
      }
    }
  }
  for (size_t k = 0; k < checkpoints.size(); ++k) {
    const size_t at = static_cast<size_t>(checkpoints[k] - 1);
    for (const auto& [exact, simulated] : {std::pair{curves.Ruin[at].Y / 100, ruined[k]},
                                           std::pair{curves.Hit[at].Y / 100, hit[k]}}) {
      const double p = static_cast<double>(simulated) / players;
      const double error = std::sqrt(std::max(exact * (1 - exact), 1e-4) / players);
      EXPECT_NEAR(p, exact, 4 * error) << "after " << checkpoints[k] << " hands";
    }
  }
}

TEST(Charts, CancelAndFailureKeepTheirPointsAndNameTheChart) {
  const TPayout table = JacksLike();
  TCurves curves;
  TRecordingSink cancelling(300);
  EXPECT_EQ(ErrorOf<AbortError>([&] { ComputeWinPushLoss(table, curves, cancelling); }),
            "Operation aborted\r\nError calc chart data( Win/lost)");
  EXPECT_EQ(cancelling.Ends, 1);
  EXPECT_EQ(curves.Win.size(), 300u);

  TRuinCurves ruin;
  TRecordingSink stop(100);
  EXPECT_THROW(ComputeRiskOfRuin(table, 30, 60, 1, ruin, stop, " Ruin"), AbortError);
  EXPECT_EQ(ruin.Ruin.size(), 100u);
  EXPECT_EQ(stop.Ends, 1);

  // Pays for five coins count in whole bets per coin; a pay that does not divide fails.
  TPayout five = table;
  five.CoinBasis = 5;
  for (int c = 0; c <= five.LastCategory; ++c) five.Pays[c] *= 5;
  EXPECT_EQ(BuildOutcomeTable(five).Net, BuildOutcomeTable(table).Net);
  five.Pays[0] = 4001;
  TResultDistribution result;
  TRecordingSink failing;
  const std::string error =
      ErrorOf<RangeError>([&] { ComputeResultDistribution(five, 10, 1, result, failing); });
  EXPECT_TRUE(testing::Contains(error, "4001"));
  EXPECT_TRUE(error.ends_with("\r\nError calc chart data( Expected gain)")) << error;
  EXPECT_EQ(failing.Ends, 1);
}

}  // namespace
}  // namespace tarnwick
