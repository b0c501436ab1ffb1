// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/wild_engine.h"

#include <gtest/gtest.h>

#include "test_games.h"

namespace tarnwick {
namespace {

using testing::HandOf;
using testing::kFullPayDeuces;

// Four deuces and a king stand pat as four deuces, and the engine's own listing agrees with
// its counts (the card-by-card listing proves them). The kinds map to categories by their pays.
TEST(WildEngine, FourDeucesAndAKingAndTheKindMap) {
  TWildEngine engine;
  engine.SetGame(TDeucesWild());
  TPayout table = testing::TableFor(4, kFullPayDeuces);
  engine.SetPayout(&table);
  engine.DealCards(HandOf({"2S", "2H", "2D", "2C", "KS"}));
  EXPECT_EQ(engine.GetTheBest(), 0);
  EXPECT_EQ(engine.DealtCategory(), 1);
  EXPECT_EQ(engine.VerifyDraw(16), "");
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
