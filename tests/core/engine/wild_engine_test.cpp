// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/wild_engine.h"

#include <gtest/gtest.h>

#include "test_games.h"

namespace tarnwick {
namespace {

using testing::HandOf;
using testing::kFullPayDeuces;

TEST(WildEngine, ClassifiesTheExampleHands) {
  TWildEngine deuces;
  deuces.SetGame(TDeucesWild());
  TWildEngine joker;
  joker.SetGame(TJokerWildKings());
  const auto kindOf = [](TWildEngine& engine, const std::vector<std::string>& cards) {
    engine.DealCards(HandOf(cards));
    return TWildEngine::ClassifyWild(engine.DealtHand);
  };
  EXPECT_EQ(kindOf(deuces, {"2S", "2H", "2D", "2C", "AS"}), WILD_4_A);
  EXPECT_EQ(kindOf(deuces, {"2S", "2H", "2D", "2C", "KS"}), WILD_4_WA);
  EXPECT_EQ(kindOf(joker, {"JK", "7S", "7H", "7D", "7C"}), WILD_FIVE_7);
  EXPECT_EQ(kindOf(joker, {"JK", "KH", "QH", "JH", "TH"}), WILD_1_FLUSH_STR_T_A);
  EXPECT_EQ(kindOf(joker, {"JK", "AS", "2H", "3D", "4C"}), WILD_1_STRAIGHT_A_5);
  EXPECT_EQ(kindOf(joker, {"JK", "9S", "4H", "6D", "2C"}), WILD_1);
  EXPECT_EQ(kindOf(joker, {"JK", "KS", "4H", "6D", "2C"}), WILD_1_KINGS);
  EXPECT_EQ(kindOf(deuces, {"2S", "2H", "9C", "9D", "4S"}), WILD_2_AND_2_1);
  EXPECT_EQ(kindOf(deuces, {"2S", "2H", "AC", "KC", "5C"}), WILD_2_FLUSH);
  EXPECT_EQ(kindOf(joker, {"AS", "KH", "QD", "JC", "9S"}), -1);
}

// Four deuces and a king: row 0 holds only WILD_4_WA; discarding the king draws one of 47
// naturals: the 4 aces make WILD_4_A, the other 43 WILD_4_WA. The kinds map to categories
// by their pays.
TEST(WildEngine, FourDeucesAndAKingAndTheKindMap) {
  TWildEngine engine;
  engine.SetGame(TDeucesWild());
  TPayout table = testing::TableFor(4, kFullPayDeuces);
  engine.SetPayout(&table);
  engine.DealCards(HandOf({"2S", "2H", "2D", "2C", "KS"}));
  EXPECT_EQ(engine.GetTheBest(), 0);
  int32_t rowZero = 0;
  for (int32_t count : engine.WildCounts[0]) rowZero += count;
  EXPECT_EQ(rowZero, 1);
  EXPECT_EQ(engine.WildCounts[0][WILD_4_WA], 1);
  EXPECT_EQ(engine.DealtCategory(), 1);
  const int discardKing = 16;
  EXPECT_EQ(engine.WildCounts[discardKing][WILD_4_A], 4);
  EXPECT_EQ(engine.WildCounts[discardKing][WILD_4_WA], 43);
  EXPECT_EQ(engine.CategoryCount(1, discardKing), 47);
  EXPECT_EQ(engine.VerifyDraw(discardKing), "");
  EXPECT_EQ(engine.VerifyDraw(3), "");

  // A wild kind goes to the best-paying category that lists it, ties to the lower one.
  EXPECT_EQ(engine.WildKindToCategory[WILD_3], 5);  // four of a kind pays more
  EXPECT_EQ(engine.WildKindToCategory[WILD_1_AND_2_2], 6);
  EXPECT_EQ(engine.WildKindToCategory[WILD_1_KINGS], -1);
  table.Pays[6] = 6;  // a full house above four of a kind
  engine.SetPayout(&table);
  EXPECT_EQ(engine.WildKindToCategory[WILD_3], 6);
  table.Pays[6] = 5;  // equal pays: the lower category
  engine.SetPayout(&table);
  EXPECT_EQ(engine.WildKindToCategory[WILD_3], 5);
  TWildEngine doubleJoker;
  doubleJoker.SetGame(TDoubleJokerPoker());
  table = testing::TableFor(8, {800, 100, 50, 25, 9, 5, 4, 3, 2, 1});
  doubleJoker.SetPayout(&table);
  EXPECT_EQ(doubleJoker.WildKindToCategory[WILD_2], 8);  // three of a kind beats two pairs
}

// Each row sums to C(N + D, d) when a wild card is held and to C(N + D, d) - C(N, d)
// otherwise; the joker game with four naturals held has one wild draw: the joker.
TEST(WildEngine, RowSumsAndTheLoneJoker) {
  TWildEngine engine;
  engine.SetGame(TJokerWildKings());
  engine.DealCards(HandOf({"AS", "KH", "QD", "JC", "9S"}));
  engine.GetTheBest();
  for (int mask = 0; mask < kMaskCount; ++mask) {
    int64_t sum = 0;
    for (int32_t count : engine.WildCounts[mask]) sum += count;
    const int d = DrawCount[mask];
    EXPECT_EQ(sum, Binomial[d][48] - Binomial[d][47]) << mask;
  }
  EXPECT_EQ(engine.WildCounts[16][WILD_1_STRAIGHT_T_A] + engine.WildCounts[16][WILD_1_KINGS] +
                engine.WildCounts[16][WILD_1_STRAIGHT],
            1);

  TWildEngine both;
  both.SetGame(testing::TDeucesAndJoker());
  both.DealCards(HandOf({"2S", "2H", "2D", "2C", "9S"}));
  both.GetTheBest();
  EXPECT_EQ(both.WildCounts[16][WILD_5], 1);
  EXPECT_EQ(both.WildCounts[16][WILD_4_A] + both.WildCounts[16][WILD_4_WA], 47);
  for (int mask : {0, 1, 16, 17, 31}) EXPECT_EQ(both.VerifyDraw(mask), "") << mask;
}

TEST(WildEngine, FactoryPicksTheEngine) {
  for (const auto& game : BuildCatalogue()) {
    const auto engine = CreateEngineForGame(*game);
    EXPECT_EQ(dynamic_cast<TWildEngine*>(engine.get()) != nullptr, !game->IsNatural())
        << game->Name;
    EXPECT_EQ(engine->GameId, game->GameId);
  }
}

}  // namespace
}  // namespace tarnwick
