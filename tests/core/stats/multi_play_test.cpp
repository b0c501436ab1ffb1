// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "stats/multi_play.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <memory>
#include <numeric>
#include <random>
#include <set>
#include <vector>

#include "engine/deal_classes.h"
#include "engine/poker_engine.h"
#include "engine/wild_engine.h"
#include "errors.h"
#include "stats/bankroll.h"
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

// Every total of N lines of a computed table, counted directly: each group's line
// distribution convolved N times, weighted by its deals. Keys are total pays in coins of
// the table's basis.
std::map<int64_t, double> DirectTotals(const TDealGroups& groups, const TPayout& table, int lines) {
  std::map<int64_t, double> all;
  int64_t deals = 0;
  for (const auto& [outcome, weight] : groups.Groups()) deals += weight;
  for (const auto& [outcome, weight] : groups.Groups()) {
    std::map<int64_t, double> line;
    double rest = 1;
    for (int c = 0; c <= table.LastCategory; ++c) {
      const double p = static_cast<double>(outcome.Counts[c]) / outcome.Draws;
      if (p > 0) line[table.Pays[c]] += p;
      rest -= p;
    }
    if (rest > 1e-15) line[0] += rest;
    std::map<int64_t, double> total{{0, 1.0}};
    for (int n = 0; n < lines; ++n) {
      std::map<int64_t, double> next;
      for (const auto& [a, p] : total)
        for (const auto& [b, q] : line) next[a + b] += p * q;
      total.swap(next);
    }
    for (const auto& [sum, p] : total)
      all[sum] += p * static_cast<double>(weight) / static_cast<double>(deals);
  }
  return all;
}

// The FFT-counted distribution against the direct count (1, 2 and 3 lines, pays in whole
// coins and in half coins), its mass, mean and variance against N (R - 1) and
// N V + N (N - 1) c up to 100 lines, the published long-run bankrolls of one line with 1 %
// cash back, and the refusals.
TEST(MultiPlay, DistributionOfOneDealOnNLines) {
  for (const int basis : {1, 2}) {
    TPayout table = testing::TableFor(0, testing::kNineSix, basis);
    TPokerEngine engine;
    engine.SetGame(testing::Game(0));
    TDealGroups groups;
    ComputeWithGroups(engine, table, groups);
    const double c = static_cast<double>(*table.DealCovariance());
    for (const int lines : {1, 2, 3, 10, 100}) {
      if (basis == 2 && lines > 3) break;
      const TDealDistribution d = ComputeDealDistribution(groups, table, lines, 0, nullptr, 2);
      ASSERT_EQ(d.StepsPerBet, basis);
      double mass = 0;
      for (const double p : d.Probability) mass += p;
      EXPECT_NEAR(mass, 1, 1e-12) << lines;
      const TMultiPlaySummary s = Summarise(d, table);
      // Rounding of about 1e-17 on each of up to 80,001 points, times their results.
      EXPECT_NEAR(s.Mean, lines * static_cast<double>(table.Return - 1), 1e-10 * lines) << lines;
      const double variance = lines * table.Variance() + lines * (lines - 1) * c;
      EXPECT_NEAR(s.Variance, variance, 1e-8 * variance) << lines;
      EXPECT_NEAR(s.Win + s.Push + s.Loss, 1, 1e-12);
      if (lines == 1) {
        // One line: the table's own chance of every pay.
        std::map<size_t, double> single{{0, 1.0}};
        for (int cat = 0; cat <= table.LastCategory; ++cat) {
          const auto chance = static_cast<double>(table.CategoryChance(cat));
          single[static_cast<size_t>(table.Pays[cat])] += chance;
          single[0] -= chance;
        }
        for (size_t i = 0; i < d.Probability.size(); ++i)
          EXPECT_NEAR(d.Probability[i], single.contains(i) ? single[i] : 0, 1e-12) << i;
      }
      if (lines > 3) continue;
      const auto direct = DirectTotals(groups, table, lines);
      for (size_t i = 0; i < d.Probability.size(); ++i) {
        const auto found = direct.find(static_cast<int64_t>(i));
        EXPECT_NEAR(d.Probability[i], found == direct.end() ? 0 : found->second, 1e-12)
            << lines << " lines, total " << i;
        EXPECT_EQ(d.Possible[i], found != direct.end()) << lines << " lines, total " << i;
      }
    }
    if (basis == 2) continue;
    const TDealDistribution one = ComputeDealDistribution(groups, table, 1, 1, nullptr);
    const std::optional<double> s = LongRunAdjustment(one);
    ASSERT_TRUE(s.has_value());
    EXPECT_EQ(std::lround(BankrollForRisk(*s, 0.5)), 1092);
    EXPECT_EQ(std::lround(BankrollForRisk(*s, 0.01)), 7256);
    // Without cash back the table loses in the long run: no bankroll is safe.
    EXPECT_FALSE(LongRunAdjustment(ComputeDealDistribution(groups, table, 1, 0, nullptr)));
    EXPECT_THROW(ComputeDealDistribution(groups, table, 0, 0, nullptr), InputError);
    EXPECT_THROW(ComputeDealDistribution(groups, table, 101, 0, nullptr), InputError);
    EXPECT_THROW(ComputeDealDistribution(groups, table, 1, -0.5, nullptr), InputError);
    EXPECT_THROW(RuinWithin(one, 0.5, 10, std::nullopt), InputError);
    EXPECT_THROW(RuinWithin(one, 10, 10, 10.0), InputError);
  }
}

// 9/6 Jacks or better computed with its deal groups.
struct TGroupedNineSix {
  TPayout Table = testing::TableFor(0, testing::kNineSix);
  TDealGroups Groups;
  TGroupedNineSix() {
    TPokerEngine engine;
    engine.SetGame(testing::Game(0));
    ComputeWithGroups(engine, Table, Groups);
  }
};

// The deal groups of 9/6 Jacks or better hold the published count of distinct optimal
// values: 1,153 over all deals, 766 of them for deals whose best play draws five.
TEST(MultiPlay, NineSixGroupsHaveThePublishedDistinctOptimalValues) {
  const TGroupedNineSix nineSix;
  std::set<std::pair<int64_t, int64_t>> values;  // best return as a reduced fraction
  std::set<std::pair<int64_t, int64_t>> drawingFive;
  for (const auto& [outcome, deals] : nineSix.Groups.Groups()) {
    int64_t paid = 0;
    for (int cat = 0; cat <= nineSix.Table.LastCategory; ++cat)
      paid += int64_t{outcome.Counts[cat]} * nineSix.Table.Pays[cat];
    const int64_t divisor = std::gcd(paid, int64_t{outcome.Draws});
    const std::pair value{paid / divisor, outcome.Draws / divisor};
    values.insert(value);
    if (outcome.Draws == 1'533'939) drawingFive.insert(value);  // C(47, 5)
  }
  EXPECT_EQ(values.size(), 1153u);
  EXPECT_EQ(drawingFive.size(), 766u);
}

// Deals of 9/6 Jacks or better drawn on 3 lines at random: how often the lines together
// win, push and lose agrees with the exact chances (within 5 standard errors).
TEST(MultiPlay, RandomDealsAgreeWithTheExactChances) {
  TGroupedNineSix nineSix;
  TPayout& table = nineSix.Table;
  const TDealGroups& groups = nineSix.Groups;
  const TMultiPlaySummary exact =
      Summarise(ComputeDealDistribution(groups, table, 3, 0, nullptr), table);
  TPokerEngine engine;
  engine.SetGame(testing::Game(0));
  engine.SetPayout(&table);
  std::mt19937_64 random(20261208);
  constexpr int kDeals = 3000;
  std::array<int, 3> seen{};  // loss, push, win
  for (int deal = 0; deal < kDeals; ++deal) {
    std::vector<int> deck(kRankCount * kSuitCount);
    std::iota(deck.begin(), deck.end(), 0);
    std::shuffle(deck.begin(), deck.end(), random);
    std::array<int, kHandSize> dealt{};
    std::copy_n(deck.begin(), kHandSize, dealt.begin());
    engine.DealCards(dealt);
    const int mask = engine.GetTheBest();
    int64_t net = 0;
    for (int line = 0; line < 3; ++line) {
      std::shuffle(deck.begin() + kHandSize, deck.end(), random);
      THand hand;
      int next = kHandSize;
      for (int i = 0; i < kHandSize; ++i) {
        const int card = ((mask >> i) & 1) != 0 ? deck[next++] : dealt[i];
        hand.AddCard(card % kRankCount, card / kRankCount);
      }
      const int kind = TPokerEngine::ClassifyNatural(hand);
      const int cat = kind < 0 ? -1 : engine.KindToCategory[kind];
      net += (cat < 0 ? 0 : table.Pays[cat]) - 1;
    }
    ++seen[net < 0 ? 0 : net == 0 ? 1 : 2];
  }
  const double shares[] = {exact.Loss, exact.Push, exact.Win};
  for (int k = 0; k < 3; ++k) {
    const double bound = 5 * std::sqrt(shares[k] * (1 - shares[k]) / kDeals);
    EXPECT_NEAR(static_cast<double>(seen[k]) / kDeals, shares[k], bound) << k;
  }
}

// The chance of ruin and of reaching a target over a few deals, against every sequence of
// deal results listed out: one line with and without cash back, two lines.
TEST(MultiPlay, RuinOverFewDealsMatchesEverySequence) {
  TGroupedNineSix nineSix;
  TPayout& table = nineSix.Table;
  const TDealGroups& groups = nineSix.Groups;
  const struct {
    int lines;
    double cashBack;
    double bankroll;
    int deals;
    std::optional<double> target;
  } cases[] = {
      {1, 0, 2, 4, std::nullopt}, {1, 0, 3, 4, 6.0}, {1, 25, 2, 4, 5.0}, {2, 0, 3, 2, 7.0}};
  for (const auto& row : cases) {
    const TDealDistribution d =
        ComputeDealDistribution(groups, table, row.lines, row.cashBack, nullptr);
    std::vector<std::pair<double, double>> results;  // net in line bets, chance
    for (size_t i = 0; i < d.Probability.size(); ++i) {
      if (d.Probability[i] > 0) results.emplace_back(d.NetBets(i), d.Probability[i]);
    }
    double ruin = 0;
    double reach = 0;
    const std::function<void(double, int, double)> play = [&](double bankroll, int left,
                                                              double chance) {
      if (bankroll < row.lines - 1e-9) {
        ruin += chance;
      } else if (row.target && bankroll >= *row.target - 1e-9) {
        reach += chance;
      } else if (left > 0) {
        for (const auto& [net, p] : results) play(bankroll + net, left - 1, chance * p);
      }
    };
    play(row.bankroll, row.deals, 1);
    const TRuinChances chances = RuinWithin(d, row.bankroll, row.deals, row.target);
    EXPECT_NEAR(chances.Ruin, ruin, 1e-12) << row.lines << " " << row.cashBack;
    EXPECT_NEAR(chances.Reach, reach, 1e-12) << row.lines << " " << row.cashBack;
    EXPECT_GT(ruin, 0.01);
  }
}

// The charts of deals on ten lines with cash back (a hand added by a transform): after three
// deals the distribution equals the outcomes convolved directly, the win/lost curve agrees
// with it, and the risk of ruin over 2000 deals equals the multi-play ruin count.
TEST(MultiPlay, ChartsOfSeveralLinesWithCashBack) {
  TGroupedNineSix nineSix;
  TPayout& table = nineSix.Table;
  const TDealGroups& groups = nineSix.Groups;
  const TDealDistribution deal = ComputeDealDistribution(groups, table, 10, 0.5, nullptr);
  const TOutcomeTable outcomes = BuildOutcomeTable(deal);
  ASSERT_GT(outcomes.Count, 100);
  EXPECT_DOUBLE_EQ(outcomes.CashBack, 0.05);

  std::map<int64_t, double> direct{{0, 1.0}};
  for (int hand = 0; hand < 3; ++hand) {
    std::map<int64_t, double> next;
    for (const auto& [a, p] : direct)
      for (int e = 0; e < outcomes.Count; ++e) next[a + outcomes.Net[e]] += p * outcomes.P[e];
    direct.swap(next);
  }
  TProgress sink;
  TResultDistribution result;
  ComputeResultDistribution(outcomes, 3, 2, result, sink);
  double win = 0;
  for (const auto& [net, p] : direct) win += static_cast<double>(net) + 3 * 0.05 > 0 ? p : 0;
  EXPECT_NEAR(result.Win, win, 1e-12);
  EXPECT_NEAR(result.Push, 0, 1e-12);
  for (const TChartPoint& row : result.Rows) {
    const double net = row.X / 2 - 3 * 0.05;  // two coins a line
    if (net > 1400) continue;
    EXPECT_NEAR(row.Y / 100, direct[std::lround(net)], 1e-12) << net;
  }
  TCurves curves;
  ComputeWinPushLoss(outcomes, curves, sink);
  EXPECT_NEAR(curves.Win[2].Y / 100, win, 1e-12);

  TRuinCurves ruin;
  ComputeRiskOfRuin(outcomes, 200, 400, 1, ruin, sink);
  const TRuinChances chances = RuinWithin(deal, 200, kCurveHands, 400.0);
  EXPECT_NEAR(ruin.Ruin.back().Y / 100, chances.Ruin, 1e-9);
  EXPECT_NEAR(ruin.Hit.back().Y / 100, chances.Reach, 1e-9);
  EXPECT_GT(chances.Ruin, 0.1);
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

// The sums of squared best returns, and the deal groups, that a run of some whole rank groups adds
// up (with the quick analysis and on two threads) are those of one hand of each class analysed on
// its own: weight times (pays times draws of the best hold)^2. A wild card of a class is dealt as a
// joker or a card of the wild rank.
template <class TEngine>
void CheckSampledSquares(int gameId, const std::vector<int32_t>& pays) {
  const TPokerDescription& game = testing::Game(gameId);
  const auto lists = SampleClasses(game);
  ASSERT_GT(lists[0].size(), 300u) << game.Name;
  ASSERT_EQ(lists[1].empty(), game.IsNatural()) << game.Name;

  TPayout table = testing::TableFor(game, pays);
  TClassRun<TEngine> run;
  TDealGroups groups;
  run.Visitor = &groups;
  run.SetGame(game);
  run.SetPayout(&table);
  run.SetThreadCount(2);
  table.ClearCounts();
  run.ClearDealtAndDeck();
  for (const auto& list : lists) run.PlayDealClasses(list);
  run.SetPayout(nullptr);

  std::array<Int128, kDrawCounts> expected{};
  TDealGroups expectedGroups;
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
      TDealOutcome outcome{engine.DrawsOf(best), {}};
      for (int cat = 0; cat <= game.LastCategory; ++cat)
        outcome.Counts[cat] = static_cast<int32_t>(engine.CategoryCount(cat, best));
      expectedGroups.Add(outcome, deal.Weight);
    }
  }
  for (int d = 0; d < kDrawCounts; ++d) {
    EXPECT_EQ(Text(static_cast<Int128>(table.BestSquares[d])), Text(expected[d]))
        << game.Name << ", " << d << " cards drawn";
  }
  EXPECT_TRUE(groups.Groups() == expectedGroups.Groups()) << game.Name;
}

TEST(MultiPlay, BestSquaresAreThoseOfEachDealAnalysedAlone) {
  CheckSampledSquares<TPokerEngine>(0, testing::kNineSix);
  CheckSampledSquares<TWildEngine>(4, testing::kFullPayDeuces);
  CheckSampledSquares<TWildEngine>(8, {800, 100, 50, 25, 9, 5, 4, 3, 2, 1});
}

}  // namespace
}  // namespace tarnwick
