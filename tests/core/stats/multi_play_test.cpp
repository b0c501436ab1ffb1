// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "stats/multi_play.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "engine/deal_classes.h"
#include "engine/poker_engine.h"
#include "engine/wild_engine.h"
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

// Plays deal classes of its choosing, as the whole-game run plays its lists, on workers
// of its own kind.
template <class TEngine>
class TClassRun : public TEngine {
 public:
  using TEngine::PlayDealClasses;
  std::unique_ptr<TPokerEngine> NewWorker() const override {
    return std::unique_ptr<TPokerEngine>(new TClassRun(*this));
  }
};

// Every 151st rank group of the run's lists (natural classes, then those with wild cards).
std::vector<std::vector<TDealClass>> SampleClasses(const TPokerDescription& game) {
  std::vector<std::vector<TDealClass>> lists(2);
  int groups = 0;
  const auto take = [&](std::vector<TDealClass>& list, const TDealClass& deal) {
    if (deal.Full) ++groups;
    if (groups % 151 == 7) list.push_back(deal);
  };
  const int skipRank = game.WildRank >= 0 ? game.WildRank : -1;
  ForEachNaturalDealClass(skipRank, [&](const TDealClass& deal, bool) { take(lists[0], deal); });
  const int wilds = game.JokerCount + (game.WildRank >= 0 ? kSuitCount : 0);
  if (wilds > 0)
    ForEachWildDealClass(wilds, skipRank, [&](const TDealClass& deal) { take(lists[1], deal); });
  return lists;
}

// The sums of squared best returns that a run of some whole rank groups adds up (with the
// quick analysis and on two threads) are those of one hand of each class analysed on its
// own: weight times (pays times draws of the best hold)^2. A wild card of a class is dealt
// as a joker or a card of the wild rank.
template <class TEngine>
void CheckSampledSquares(int gameId, const std::vector<int32_t>& pays) {
  const TPokerDescription& game = testing::Game(gameId);
  const auto lists = SampleClasses(game);
  ASSERT_GT(lists[0].size(), 300u) << game.Name;
  ASSERT_EQ(lists[1].empty(), game.IsNatural()) << game.Name;

  TPayout table = testing::TableFor(game, pays);
  TClassRun<TEngine> run;
  run.SetGame(game);
  run.SetPayout(&table);
  run.SetThreadCount(2);
  table.ClearCounts();
  run.ClearDealtAndDeck();
  for (const auto& list : lists) run.PlayDealClasses(list);
  run.SetPayout(nullptr);

  std::array<Int128, kDrawCounts> expected{};
  TPayout alone = testing::TableFor(game, pays);
  TEngine engine;
  engine.SetGame(game);
  engine.SetPayout(&alone);
  for (const auto& list : lists) {
    for (const TDealClass& deal : list) {
      std::array<int, kHandSize> codes{};
      int wild = 0;
      for (int i = 0; i < kHandSize; ++i) {
        if (deal.Ranks[i] >= 0) {
          codes[i] = deal.Ranks[i] + kRankCount * deal.Suits[i];
        } else {
          codes[i] = wild < game.JokerCount ? -1 - wild : game.WildRank + kRankCount * wild;
          ++wild;
        }
      }
      engine.DealCards(codes);
      const int best = engine.GetTheBest();
      Int128 paid = 0;
      for (int cat = 0; cat <= game.LastCategory; ++cat)
        paid += Int128{engine.CategoryCount(cat, best)} * pays[cat];
      expected[DrawCount[best]] += paid * paid * deal.Weight;
    }
  }
  for (int d = 0; d < kDrawCounts; ++d) {
    EXPECT_EQ(Text(static_cast<Int128>(table.BestSquares[d])), Text(expected[d]))
        << game.Name << ", " << d << " cards drawn";
  }
}

TEST(MultiPlay, BestSquaresAreThoseOfEachDealAnalysedAlone) {
  CheckSampledSquares<TPokerEngine>(0, testing::kNineSix);
  CheckSampledSquares<TWildEngine>(4, testing::kFullPayDeuces);
  CheckSampledSquares<TWildEngine>(8, {800, 100, 50, 25, 9, 5, 4, 3, 2, 1});
}

}  // namespace
}  // namespace tarnwick
