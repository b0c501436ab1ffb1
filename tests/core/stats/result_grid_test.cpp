// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "stats/result_grid.h"

#include <gtest/gtest.h>

#include "engine/wild_engine.h"
#include "test_games.h"

namespace tarnwick {
namespace {

TEST(ResultGrid, ReturnAndChanceTextsAndPays) {
  // Seven characters, with two, one or no decimals as the return grows.
  EXPECT_EQ(ReturnText(0.995432L), "  99.54%");
  EXPECT_EQ(ReturnText(1.23456L), "  123.5%");
  EXPECT_EQ(ReturnText(40), "   4000%");
  EXPECT_EQ(ChanceText(0), "- ");
  EXPECT_EQ(ChanceText(1.0L / 47), "  2.128%");

  // The pays for the coins played.
  const TPokerDescription& jacks = testing::Game(0);
  const std::vector<int32_t> five = {4000, 250, 125, 45, 30, 20, 15, 10, 5};
  const TPayout basisFive = MakePayout(jacks, five, 5);
  EXPECT_EQ(PayForCoins(&basisFive, 0, 5), 4000);
  EXPECT_EQ(PayForCoins(nullptr, 0, 5), 0);
  // The largest pay a table may have, for five coins; one more is refused.
  std::vector<int32_t> largest(9, 1);
  largest[0] = kMaxPay;
  const TPayout top = MakePayout(jacks, largest);
  EXPECT_EQ(PayForCoins(&top, 0, 5), 5LL * kMaxPay);
  EXPECT_THROW(MakePayout(jacks, std::vector<int32_t>(8, 1)), InputError);
  EXPECT_THROW(MakePayout(jacks, largest, 6), InputError);
  largest[0] = kMaxPay + 1;
  EXPECT_THROW(MakePayout(jacks, largest), InputError);
}

// Four to a royal flush drawing one: 1 royal, 8 flushes, 3 straights, 12 high pairs of 47.
TEST(ResultGrid, RowsOfTheShownHold) {
  const TPokerDescription& jacks = testing::Game(0);
  TPayout table = MakePayout(jacks, testing::kNineSix);
  const auto engine = CreateEngineForGame(jacks);
  engine->SetPayout(&table);
  engine->DealCards(testing::HandOf({"AS", "KS", "QS", "JS", "3D"}));
  engine->GetTheBest();
  const std::vector<std::string> names(jacks.CategoryNames.begin(),
                                       jacks.CategoryNames.begin() + 9);
  const TResultGrid grid = MakeResultGrid(names, &table, 2, *engine, true, 16);
  ASSERT_EQ(grid.Categories.size(), 9u);
  EXPECT_EQ(grid.Categories[0].Name, " ROYAL FLUSH");
  EXPECT_EQ(grid.Categories[0].Pay, "1600");
  EXPECT_EQ(grid.Categories[0].Chance, "  2.128%");
  EXPECT_EQ(grid.Categories[4].Chance, " 17.021%");
  EXPECT_EQ(grid.Categories[2].Chance, "- ");
  EXPECT_EQ(grid.Return, "   1855%");
  // The same pays given for five coins: the same return per bet.
  TPayout five = MakePayout(jacks, std::vector<int32_t>{4000, 250, 125, 45, 30, 20, 15, 10, 5}, 5);
  engine->SetPayout(&five);
  engine->DealCards(testing::HandOf({"AS", "KS", "QS", "JS", "3D"}));
  engine->GetTheBest();
  const TResultGrid perBet = MakeResultGrid(names, &five, 5, *engine, true, 16);
  EXPECT_EQ(perBet.Return, grid.Return);
  EXPECT_EQ(perBet.Categories[0].Pay, "4000");
  engine->SetPayout(&table);
  const TResultGrid before = MakeResultGrid(names, &table, 1, *engine, false, 16);
  EXPECT_EQ(before.Categories[0].Pay, "800");
  EXPECT_EQ(before.Categories[0].Chance, "");
  EXPECT_EQ(before.Return, "");
}

// The line under the grid, on hands worked out by hand (9/6 Jacks or better).
TEST(ResultGrid, StandingOfTheShownHold) {
  const TPokerDescription& jacks = testing::Game(0);
  TPayout table = MakePayout(jacks, testing::kNineSix);
  const auto engine = CreateEngineForGame(jacks);
  engine->SetPayout(&table);
  const TStandingTexts texts{"best %s, %s; gives up %s (%s)", "next %s, %s less (%s)", "all tie",
                             "nothing", ""};
  // Four to a royal: 872/47 bets drawing to it; standing pat gives all of it up.
  auto hand = testing::HandOf({"AS", "KS", "QS", "JS", "3D"});
  engine->DealCards(hand);
  engine->GetTheBest();
  const THoldStanding pat = StandingOf(*engine, 0, table.CoinBasis);
  EXPECT_FALSE(pat.Best);
  EXPECT_EQ(pat.Other, 16);
  EXPECT_NEAR(static_cast<double>(pat.Gap), 872.0 / 47, 1e-12);
  EXPECT_EQ(StandingText(pat, hand, 5, texts),
            "best AS KS QS JS, 18.55319; gives up 18.55319 (92.76596)");
  // A royal flush dealt: the next best is KS QS JS TS drawing one, 125/47 bets (a straight
  // flush, 7 flushes, 6 straights, 9 high pairs), 37475/47 bets less.
  hand = testing::HandOf({"AS", "KS", "QS", "JS", "TS"});
  engine->DealCards(hand);
  engine->GetTheBest();
  const THoldStanding royal = StandingOf(*engine, 0, table.CoinBasis);
  EXPECT_TRUE(royal.Best);
  EXPECT_EQ(royal.Other, 1);
  EXPECT_NEAR(static_cast<double>(royal.OtherReturn), 125.0 / 47, 1e-12);
  EXPECT_EQ(StandingText(royal, hand, 1, texts), "next KS QS JS TS, 797.34043 less (797.34043)");
  // With the strategy lines of the two holds.
  TStandingTexts lines = texts;
  lines.Lines = "%s over %s";
  const THoldNamer namer(jacks);
  EXPECT_EQ(StandingText(royal, hand, 1, lines, &namer),
            "next KS QS JS TS, 797.34043 less (797.34043) royal flush over 4 to a royal flush "
            "KQJT (1 flush penalty and 1 straight penalty)");
  EXPECT_EQ(StandingText(pat, testing::HandOf({"AS", "KS", "QS", "JS", "3D"}), 5, lines, &namer),
            "best AS KS QS JS, 18.55319; gives up 18.55319 (92.76596) 4 to a royal flush AKQJ (no "
            "flush penalty and no straight penalty) over AKQJ3 unsuited");
  EXPECT_EQ(HeldCardsText(hand, 31, "nothing"), "nothing");
  EXPECT_EQ(StandingText(THoldStanding{}, hand, 1, texts), "all tie");
}

}  // namespace
}  // namespace tarnwick
