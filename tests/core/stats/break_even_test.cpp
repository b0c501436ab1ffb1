// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "stats/break_even.h"

#include <gtest/gtest.h>

#include "engine/wild_engine.h"
#include "test_games.h"

namespace tarnwick {
namespace {

// The return of the table with another top pay, by a whole-game run of its own engine.
long double ReturnWithTopPay(const TPokerDescription& game, TPayout table, int32_t pay) {
  const auto engine = CreateEngineForGame(game);
  table.Pays[0] = pay;
  table.ClearCounts();
  engine->SetPayout(&table);
  engine->CalcGameAdvantage();
  return table.Return;
}

// The pay found is the first that reaches 100 %: the one below it does not.
TEST(BreakEven, TheFirstTopPayThatReturnsAHundredPercent) {
  // 9/6 Jacks for five coins (the royal must rise), full-pay Deuces Wild (it may fall).
  for (const TPayout& table : {testing::TableFor(0, {4000, 250, 125, 45, 30, 20, 15, 10, 5}, 5),
                               testing::TableFor(4, testing::kFullPayDeuces)}) {
    const TPokerDescription& game = testing::Game(table.GameId);
    SCOPED_TRACE(game.Name);
    const auto engine = CreateEngineForGame(game);
    int runs = 0;
    testing::TStepProgress progress([&](int64_t done) { runs += done == 100; });
    const std::optional<int32_t> pay = BreakEvenPay(*engine, table, &progress);
    // The search steps along the return's slope: a few runs, not a bisection of 10^8 pays.
    EXPECT_LE(runs, 6);
    ASSERT_TRUE(pay.has_value());
    EXPECT_GE(ReturnWithTopPay(game, table, *pay), 1);
    EXPECT_LT(ReturnWithTopPay(game, table, *pay - 1), 1);
    if (table.GameId == 0) {
      EXPECT_GT(*pay, table.Pays[0]);
    } else {
      EXPECT_LT(*pay, table.Pays[0]);
    }
  }
}

}  // namespace
}  // namespace tarnwick
