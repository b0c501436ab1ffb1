// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "stats/multi_play.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "engine/deal_classes.h"
#include "engine/poker_engine.h"
#include "errors.h"
#include "test_games.h"

namespace tarnwick {
namespace {

using testing::Int128;
using testing::Text;

// 9/6 Jacks or better: the published covariance of two lines of one deal and the
// published standard deviation per line of N-line play.
TEST(MultiPlay, NineSixFiguresAndRefusals) {
  TPayout table = testing::TableFor(0, testing::kNineSix);
  EXPECT_FALSE(table.DealCovariance().has_value());
  EXPECT_THROW(MultiPlayFigures(table, 0, 1), TarnwickError);
  TPokerEngine engine;
  engine.SetGame(testing::Game(0));
  engine.SetPayout(&table);
  engine.CalcGameAdvantage();
  engine.SetPayout(nullptr);
  ASSERT_TRUE(table.DealCovariance().has_value());
  const long double c = *table.DealCovariance();
  EXPECT_NEAR(static_cast<double>(c), 1.966389, 0.0000005);

  const struct {
    int lines;
    double sd;
  } rows[] = {{1, 4.42}, {3, 4.84}, {5, 5.23}, {10, 6.10}, {50, 10.76}, {100, 14.64}};
  for (const auto& row : rows) {
    const TMultiPlayFigures figures = MultiPlayFigures(table, c, row.lines);
    EXPECT_NEAR(static_cast<double>(figures.LineStdDev), row.sd, 0.005) << row.lines;
    // The N lines of a deal: N times the square of the deviation per line.
    EXPECT_NEAR(static_cast<double>(figures.DealVariance),
                row.lines * static_cast<double>(figures.LineStdDev * figures.LineStdDev), 1e-9)
        << row.lines;
  }
  for (const int lines : {0, -1, kMaxLines + 1}) {
    EXPECT_THROW(MultiPlayFigures(table, c, lines), InputError) << lines;
  }

  // The same table given for five coins: the same covariance, and back to one coin exactly.
  TPayout five = table;
  five.CoinBasis = 5;
  for (int cat = 0; cat <= five.LastCategory; ++cat) five.Pays[cat] *= 5;
  for (TBestSquare& sum : five.BestSquares) sum *= 25;
  EXPECT_NEAR(static_cast<double>(*five.DealCovariance()), static_cast<double>(c), 1e-12);
  five.Reduce();
  EXPECT_TRUE(five.BestSquares == table.BestSquares);
  five.ClearCounts();
  EXPECT_FALSE(five.DealCovariance().has_value());
}

// Plays deal classes of its choosing, as the whole-game run plays its list, on workers
// of its own kind.
class TClassRun : public TPokerEngine {
 public:
  using TPokerEngine::PlayDealClasses;
  std::unique_ptr<TPokerEngine> NewWorker() const override {
    return std::unique_ptr<TPokerEngine>(new TClassRun(*this));
  }
};

// The sums of squared best returns that a run of some whole rank groups adds up (with the
// quick analysis and on two threads) are those of each class's hand analysed on its own:
// weight times (pays times draws of the best hold)^2.
TEST(MultiPlay, BestSquaresAreThoseOfEachDealAnalysedAlone) {
  const TPokerDescription& game = testing::Game(0);
  std::vector<TDealClass> sample;
  int groups = 0;
  ForEachNaturalDealClass(-1, [&](const TDealClass& deal, bool full) {
    if (full) ++groups;
    if (groups % 151 == 7) sample.push_back(deal);
  });
  ASSERT_GT(sample.size(), 300u);

  TPayout table = testing::TableFor(game, testing::kNineSix);
  TClassRun run;
  run.SetGame(game);
  run.SetPayout(&table);
  run.SetThreadCount(2);
  table.ClearCounts();
  run.ClearDealtAndDeck();
  run.PlayDealClasses(sample);
  run.SetPayout(nullptr);

  std::array<Int128, kDrawCounts> expected{};
  TPayout alone = testing::TableFor(game, testing::kNineSix);
  TPokerEngine engine;
  engine.SetGame(game);
  engine.SetPayout(&alone);
  for (const TDealClass& deal : sample) {
    std::array<int, kHandSize> codes{};
    for (int i = 0; i < kHandSize; ++i) codes[i] = deal.Ranks[i] + kRankCount * deal.Suits[i];
    engine.DealCards(codes);
    const int best = engine.GetTheBest();
    Int128 paid = 0;
    for (int cat = 0; cat <= game.LastCategory; ++cat)
      paid += Int128{engine.CategoryCount(cat, best)} * testing::kNineSix[cat];
    expected[DrawCount[best]] += paid * paid * deal.Weight;
  }
  for (int d = 0; d < kDrawCounts; ++d) {
    EXPECT_EQ(Text(static_cast<Int128>(table.BestSquares[d])), Text(expected[d])) << d;
  }
}

}  // namespace
}  // namespace tarnwick
