// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/payout.h"

#include <gtest/gtest.h>

#include "test_games.h"

namespace tarnwick {
namespace {

using testing::TableOf;

TEST(Payout, ReduceToTheSmallestWholeBasis) {
  // basis, pays, then the basis and pays reduced
  using TRow = std::tuple<int, std::vector<int32_t>, int, std::vector<int32_t>>;
  for (const auto& [basis, pays, reducedBasis, reduced] :
       {TRow{5, {4000, 250, 125, 45, 30, 20, 15, 10, 5}, 1, testing::kNineSix},
        TRow{4, {8, 6, 2}, 2, {4, 3, 1}}, TRow{5, {8, 6, 2}, 5, {8, 6, 2}},
        TRow{1, {8, 6, 2}, 1, {8, 6, 2}}}) {
    TPayout table = TableOf(pays, basis);
    table.Reduce();
    EXPECT_EQ(table.CoinBasis, reducedBasis);
    EXPECT_EQ(PaysOf(table), reduced);
  }
}

TEST(Payout, SameAsAssignAndCompareTablesByEveryKey) {
  const TPayout a = TableOf({800, 50, 25});
  TPayout b = TableOf({800, 50, 25});
  EXPECT_TRUE(a.SameAs(b));
  b.CoinBasis = 2;
  EXPECT_FALSE(a.SameAs(b));
  b = TableOf({800, 50, 26});
  EXPECT_FALSE(a.SameAs(b));
  b = a;
  b.GameId = 6;
  EXPECT_FALSE(a.SameAs(b));
  b.Index = 7;
  b.Assign(a);
  EXPECT_EQ(b.Index, 7);
  EXPECT_TRUE(b.SameAs(a));

  TPayout low = TableOf({800, 50, 25, 9, 5});
  TPayout high = TableOf({4000, 250, 125, 45, 30}, 5);  // 6 per coin beats 5
  EXPECT_LT(CompareTables(low, 1, high), 0);
  EXPECT_GT(CompareTables(low, -1, high), 0);
  EXPECT_EQ(CompareTables(high, 1, high), 0);
  low.Return = 0.98L;
  high.Return = 0.99L;
  low.WinChance = 0.2L;
  high.WinChance = 0.1L;
  for (const auto& [key, sign] : {std::pair{2, -1}, {3, -1}, {-2, 1}, {6, 1}, {0, 0}, {9, 0}}) {
    const int order = CompareTables(low, key, high);
    EXPECT_EQ((order > 0) - (order < 0), sign) << key;
  }
  // Pays near the 32-bit limit still compare by sign.
  EXPECT_GT(CompareTables(TableOf({2000000000}), 1, TableOf({1}, 5)), 0);
}

// A made-up run: 10 deals stand pat (7 pay category 0 with 2 coins, 3 nothing) and 5
// deals draw one card out of 47 (235 final hands, 47 of category 1 paying 1 coin).
TEST(Payout, TotalsChancesAndVarianceByHand) {
  TPayout table = TableOf({2, 1, 0});
  table.Deals = {10, 5, 0, 0, 0, 0};
  table.Counts[0][0] = 7;
  table.Counts[1][1] = 47;
  table.ComputeTotals();
  const long double total = 15;
  const long double p0 = 7 / total;
  const long double p1 = 47 / (total * 47);
  EXPECT_NEAR(static_cast<double>(table.Return), static_cast<double>(2 * p0 + p1), 1e-15);
  EXPECT_NEAR(static_cast<double>(table.WinChance), static_cast<double>(p0), 1e-15);
  EXPECT_NEAR(static_cast<double>(table.PushChance), static_cast<double>(p1), 1e-15);
  EXPECT_NEAR(static_cast<double>(table.LossChance), static_cast<double>(1 - p0 - p1), 1e-15);
  EXPECT_NEAR(static_cast<double>(table.CategoryChance(1)), static_cast<double>(p1), 1e-15);
  const double mean = static_cast<double>(2 * p0 + p1);
  const double variance = static_cast<double>(p0) * (2 - mean) * (2 - mean) +
                          static_cast<double>(p1) * (1 - mean) * (1 - mean) +
                          static_cast<double>(1 - p0 - p1) * mean * mean;
  EXPECT_NEAR(table.Variance(), variance, 1e-12);
  EXPECT_NEAR(table.StdDev() * table.StdDev(), variance, 1e-12);

  // The same table for two coins returns the same fraction of the stake.
  TPayout doubled = table;
  doubled.CoinBasis = 2;
  doubled.Pays = {4, 2, 0};
  doubled.ComputeTotals();
  EXPECT_NEAR(static_cast<double>(doubled.Return), static_cast<double>(table.Return), 1e-15);
  EXPECT_NEAR(static_cast<double>(doubled.PushChance), static_cast<double>(p1), 1e-15);
  EXPECT_NEAR(doubled.Variance(), variance, 1e-12);  // per coin bet as well

  // One coin more on a pay adds its category's chance per coin of the basis, the play held.
  for (TPayout* raised : {&table, &doubled}) {
    const long double before = raised->Return;
    const long double worth = PayWorth(*raised, 1);
    ++raised->Pays[1];
    raised->ComputeTotals();
    EXPECT_NEAR(static_cast<double>(raised->Return - before), static_cast<double>(worth), 1e-15);
  }
  EXPECT_NEAR(static_cast<double>(PayWorth(doubled, 1)), static_cast<double>(p1 / 2), 1e-15);
  EXPECT_EQ(PaysText(table, ','), "2,2,0");
  EXPECT_EQ(PaysText(std::vector<int32_t>{800, 50, 25}, ' '), "800 50 25");

  TPayout empty = TableOf({2, 1, 0});
  empty.ClearCounts();
  EXPECT_EQ(empty.Return, -1);
  empty.ComputeTotals();
  EXPECT_EQ(empty.Return, 0);
  EXPECT_EQ(empty.LossChance, 1);
}

}  // namespace
}  // namespace tarnwick
