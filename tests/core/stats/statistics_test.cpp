// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "stats/statistics.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <numeric>
#include <random>

#include "engine/poker_engine.h"
#include "test_games.h"

namespace tarnwick {
namespace {

using testing::Int128;
using testing::Text;

long double Number(const std::string& text) {
  return std::strtold(text.c_str(), nullptr);
}

Int128 Choose(int n, int k) {
  Int128 result = 1;
  for (int i = 0; i < k; ++i) result = result * (n - i) / (i + 1);
  return result;
}

std::vector<std::string> NamesOf(const TPokerDescription& game) {
  std::vector<std::string> names;
  for (int c = 0; c <= game.LastCategory; ++c) names.push_back(game.CategoryName(c));
  return names;
}

// A record whose deals and counts are random but consistent: the deals add up to every
// deal of the deck and each column's counts fit its final hands.
TPayout RandomRecord(const TPokerDescription& game, uint32_t seed) {
  std::mt19937 random(seed);
  TPayout table = testing::TableFor(game, testing::RandomPays(random, game, 50));
  int64_t left = static_cast<int64_t>(Choose(game.DeckSize(), 5));
  for (int k = 0; k < 5; ++k) {
    table.Deals[k] = static_cast<int32_t>(random() % static_cast<uint32_t>(left / 3));
    left -= table.Deals[k];
  }
  table.Deals[5] = static_cast<int32_t>(left);
  for (int k = 0; k <= 5; ++k) {
    int64_t hands = static_cast<int64_t>(table.Deals[k]) * BinomialAt(k, table.DeckSize - 5);
    for (int c = 0; c <= game.LastCategory; ++c) {
      table.Counts[k][c] = hands == 0 ? 0 : static_cast<int64_t>(random()) % (hands / 4 + 1);
      hands -= table.Counts[k][c];
    }
  }
  table.ComputeTotals();
  return table;
}

// The total column against its definition computed with 128-bit integers: each deal stands
// for L final hands, L the least common multiple of the draws C(m, 0..5).
void ExpectTotalColumn(const TPayout& table, const StatisticsTable& stats,
                       const std::string& expectedAll) {
  const int m = table.DeckSize - 5;
  int64_t lcm = 1;  // below 2^63 for every deck
  for (int k = 0; k <= 5; ++k) lcm = std::lcm(lcm, static_cast<int64_t>(Choose(m, k)));
  const Int128 common = lcm;
  Int128 all = 0, nothing = 0;
  for (int k = 0; k <= 5; ++k) {
    const Int128 scale = common / Choose(m, k);
    Int128 rest = Choose(m, k) * table.Deals[k];
    for (int c = 0; c <= table.LastCategory; ++c) rest -= table.Counts[k][c];
    nothing += scale * rest;
    all += scale * Choose(m, k) * table.Deals[k];
  }
  for (int c = 0; c <= table.LastCategory; ++c) {
    Int128 sum = 0;
    for (int k = 0; k <= 5; ++k) sum += common / Choose(m, k) * table.Counts[k][c];
    EXPECT_EQ(stats.HandsText[kStatTotalColumn][c + 2], Text(sum)) << "category " << c;
  }
  EXPECT_EQ(stats.HandsText[kStatTotalColumn][table.LastCategory + 3], Text(nothing));  // Nothing
  EXPECT_EQ(stats.HandsText[kStatTotalColumn][1], Text(all));
  EXPECT_EQ(stats.HandsText[kStatTotalColumn][1], expectedAll);
}

TEST(Statistics, TotalsOfEveryDeckSizeAgreeWithIntegerArithmetic) {
  // Games of 52, 53 and 54 cards, with the hands the total column stands for.
  for (const auto& [gameId, all] :
       {std::pair{0, "19933230517200"}, {3, "24568865521200"}, {8, "12061079437680"}}) {
    const TPokerDescription* game = &testing::Game(gameId);
    for (uint32_t seed = 1; seed <= 3; ++seed) {
      const TPayout table = RandomRecord(*game, seed);
      const StatisticsTable stats = BuildStatisticsTable(NamesOf(*game), table, 600);
      SCOPED_TRACE(game->Name + ", seed " + std::to_string(seed));
      ExpectTotalColumn(table, stats, all);
      EXPECT_EQ(stats.HandsText[kStatTotalColumn][0], Text(Choose(game->DeckSize(), 5)));
    }
  }
}

// The counts of a whole game's run (9/6 Jacks or better) in the table.
TEST(NineSixJacks, TableMatchesTheWholeGameFigures) {
  const TPokerDescription& jacks = testing::Game(0);
  TPayout table = testing::TableFor(jacks, testing::kNineSix);
  TPokerEngine engine;
  engine.SetGame(jacks);
  engine.SetPayout(&table);
  engine.CalcGameAdvantage();
  const StatisticsTable stats = BuildStatisticsTable(NamesOf(jacks), table, 600);
  ASSERT_EQ(stats.DataRowCount, 12);
  EXPECT_EQ(stats.RowLabels[2], "ROYAL FLUSH");
  ExpectTotalColumn(table, stats, "19933230517200");

  // The published count of final royal flushes over all deals x 7669695; ties between
  // holds of equal value may move a handful.
  const long double royals = Number(stats.HandsText[kStatTotalColumn][2]);
  EXPECT_CLOSE(royals, 493512264.0L, 2000.0L);

  long double returned = 0;
  for (int c = 0; c <= table.LastCategory; ++c) {
    const int r = c + 2;
    EXPECT_CLOSE(Number(stats.ProbabilityText[kStatTotalColumn][r]), 100 * table.CategoryChance(c),
                 5e-7L);
    EXPECT_CLOSE(Number(stats.HandsText[kStatTotalColumn][r]) / 19933230517200.0L,
                 table.CategoryChance(c), 1e-15L);
    returned += Number(stats.ReturnText[kStatTotalColumn][r]);
  }
  EXPECT_CLOSE(returned, 99.5439043695L, 1e-5L);
  EXPECT_EQ(stats.ReturnText[kStatTotalColumn][0], " 99.543904");
  EXPECT_EQ(stats.ProbabilityText[kStatTotalColumn][1], "");
  EXPECT_EQ(stats.ReturnText[kStatTotalColumn][1], "");
  EXPECT_EQ(stats.OccursHandsText[0], "");
  EXPECT_EQ(stats.OccursHandsText[1], "");
  EXPECT_CLOSE(Number(stats.OccursHandsText[2]), 1 / table.CategoryChance(0), 0.006L);

  // The columns' shares of the deals add up to 100 %, their returns so weighted to the return.
  long double overall = 0, dealShare = 0;
  for (int k = 0; k <= 5; ++k) {
    overall += Number(stats.ReturnText[k][0]);
    dealShare += Number(stats.ProbabilityText[k][0]);
  }
  EXPECT_CLOSE(overall, 100 * table.Return, 1e-5L);
  EXPECT_CLOSE(dealShare, 100, 1e-5L);

  // The grid's cells: missing and zero figures read "- ", hands are grouped in threes.
  EXPECT_EQ(StatisticsCellText(stats, TFigureView::Hands, kStatTotalColumn, 1),
            "19 933 230 517 200");
  // Four of a kind is never held four cards to draw one.
  EXPECT_EQ(StatisticsCellText(stats, TFigureView::Hands, 1, 4), "- ");
  EXPECT_EQ(StatisticsCellText(stats, TFigureView::Probability, 1, 4), "- ");
  EXPECT_EQ(StatisticsCellText(stats, TFigureView::Hands, 0, 4), "624");
  EXPECT_EQ(StatisticsCellText(stats, TFigureView::Probability, kStatTotalColumn, 1), "- ");
  EXPECT_EQ(StatisticsCellText(stats, TFigureView::Return, kStatTotalColumn, 0), "99.543904");
  EXPECT_THROW(StatisticsCellText(stats, TFigureView::Hands, kStatColumns, 0), RangeError);

  // The largest pay the program accepts: its share of the return keeps its sign and size.
  TPayout top = table;
  top.Pays[0] = INT32_MAX;
  top.ComputeTotals();
  const StatisticsTable largest = BuildStatisticsTable(NamesOf(jacks), top, 600);
  const long double share = 100.0L * INT32_MAX * top.CategoryChance(0);
  EXPECT_CLOSE(Number(largest.ReturnText[kStatTotalColumn][2]), share, 1e-6L * share);
  EXPECT_CLOSE(Number(largest.ReturnText[kStatTotalColumn][0]), 100 * top.Return, 1e-6L * share);
}

TEST(Statistics, OccurrenceTimesAndDigitGroups) {
  StatisticsTable stats;
  stats.DataRowCount = 5;
  stats.RowProbability[2] = 1.0L / 40000;
  stats.RowProbability[3] = 0;                          // a category that never occurs
  stats.RowProbability[4] = 1.0L / (int64_t{1} << 50);  // far beyond 32 bits of seconds
  UpdateOccursHours(stats, 600);
  EXPECT_EQ(stats.OccursHoursText[2], "66:40:00");
  EXPECT_EQ(stats.OccursHoursText[3], "");
  UpdateOccursHours(stats, 3600);
  // 2^50 seconds: the hours grow past any field width and never wrap.
  EXPECT_EQ(stats.OccursHoursText[4], "312749974122:57:04");
  EXPECT_EQ(stats.OccursHoursText[2], "11:06:40");
  // Half seconds round to the even second: 0.5 s -> 0, 1.5 s -> 2.
  stats.RowProbability[2] = 1;
  stats.RowProbability[3] = 1.0L / 3;
  UpdateOccursHours(stats, 7200);
  EXPECT_EQ(stats.OccursHoursText[2], "00:00:00");
  EXPECT_EQ(stats.OccursHoursText[3], "00:00:02");
  EXPECT_THROW(UpdateOccursHours(stats, 5), RangeError);

  for (const auto& [digits, grouped] :
       {std::pair{"123", "123"}, {"1234", "1 234"}, {"-1234567", "-1 234 567"}, {"0", "0"}})
    EXPECT_EQ(GroupDigits(digits), grouped);
}

TEST(Statistics, MissingFiguresNeverDivideByZero) {
  const TPokerDescription& jacks = testing::Game(0);
  TPayout empty = testing::TableFor(jacks, std::vector<int32_t>(9, 0));
  StatisticsTable stats = BuildStatisticsTable(NamesOf(jacks), empty, 600);
  EXPECT_EQ(stats.DataRowCount, 12);
  EXPECT_EQ(stats.RowLabels.size(), 12u);
  for (int r = 0; r < 12; ++r) {
    EXPECT_EQ(stats.HandsText[kStatTotalColumn][r], "");
    EXPECT_EQ(stats.OccursHoursText[r], "");
  }

  // Every deal stands pat with a royal flush: five columns without deals, a category and
  // "Nothing" that never occur, and a column whose categories take every final hand.
  TPayout pat = empty;
  pat.Pays[0] = 800;
  pat.Deals[0] = 2598960;
  pat.Counts[0][0] = 2598960;
  pat.ComputeTotals();
  stats = BuildStatisticsTable(NamesOf(jacks), pat, 600);
  EXPECT_EQ(stats.HandsText[0][11], "0");
  EXPECT_EQ(stats.ProbabilityText[0][11], "  0.000000");
  EXPECT_EQ(stats.ProbabilityText[0][2], "100.000000");
  EXPECT_EQ(stats.ProbabilityText[3][2], "");
  EXPECT_EQ(stats.ProbabilityText[3][0], "  0.000000");
  EXPECT_EQ(stats.ReturnText[3][1], "");
  EXPECT_EQ(stats.OccursHandsText[3], "");
  EXPECT_EQ(stats.OccursHoursText[3], "");
  EXPECT_EQ(stats.OccursHandsText[11], "");
  EXPECT_EQ(stats.OccursHoursText[2], "00:00:06");
  EXPECT_EQ(stats.ReturnText[kStatTotalColumn][0], "80000.000000");

  // Pays for five coins: the return texts are per coin and still add up to the return.
  TPayout five = pat;
  five.CoinBasis = 5;
  five.Pays[0] = 4000;
  five.ComputeTotals();
  stats = BuildStatisticsTable(NamesOf(jacks), five, 600);
  EXPECT_EQ(stats.ReturnText[kStatTotalColumn][2], "80000.000000");
  EXPECT_EQ(stats.ReturnText[0][1], "80000.000000");
}

}  // namespace
}  // namespace tarnwick
