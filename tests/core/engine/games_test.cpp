// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/games.h"

#include <gtest/gtest.h>

#include <set>

#include "engine/poker_engine.h"
#include "errors.h"

namespace tarnwick {
namespace {

// The numbers are stored with every pay table: 0..36 in order, 12 retired.
TEST(Catalogue, NumbersAndCategories) {
  const TCatalogue games = BuildCatalogue();
  ASSERT_EQ(games.size(), 36u);
  std::set<std::string> names;
  for (size_t i = 0; i < games.size(); ++i) {
    const int expected = static_cast<int>(i < 12 ? i : i + 1);
    EXPECT_EQ(games[i]->GameId, expected);
    EXPECT_TRUE(names.insert(games[i]->Name).second) << games[i]->Name;
  }
  EXPECT_EQ(FindGame(games, 12), nullptr);
  EXPECT_EQ(FindGame(games, 36), games[35].get());
  EXPECT_EQ(FindGame(games, 37), nullptr);
  EXPECT_THROW(games[0]->CategoryName(16), RangeError);

  // Every category pays some hand, a natural kind belongs to at most one category, and the
  // hands from three of a kind up always pay in every game.
  for (const auto& game : games) {
    SCOPED_TRACE(game->Name);
    ASSERT_GE(game->LastCategory, 7);
    ASSERT_LE(game->LastCategory, 12);
    std::array<int, kHandKindCount> owners{};
    for (int c = 0; c <= game->LastCategory; ++c) {
      EXPECT_FALSE(game->CategoryName(c).empty());
      EXPECT_NE(game->NaturalKindSet(c) | game->WildKindSet(c), 0u) << c;
      for (int k = 0; k < kHandKindCount; ++k) owners[k] += InKindSet(game->NaturalKindSet(c), k);
    }
    for (int c = game->LastCategory + 1; c < kMaxCategories; ++c) {
      EXPECT_EQ(game->NaturalKindSet(c) | game->WildKindSet(c), 0u);
    }
    for (int k = 0; k < kHandKindCount; ++k) {
      EXPECT_LE(owners[k], 1) << HandKindNames[k];
      if (k <= THREE_OF_KIND_A) {
        EXPECT_EQ(owners[k], 1) << HandKindNames[k];
      }
    }
    if (!game->IsNatural()) {
      TKindSet wildKinds = 0;
      for (int c = 0; c <= game->LastCategory; ++c) wildKinds |= game->WildKindSet(c);
      // Five of a kind (of every rank that is not wild itself) and the straight flushes
      // with wild cards pay in every wild game.
      TKindSet fives = KindRange(WILD_FIVE_2, WILD_FIVE_A);
      if (game->WildRank >= 0) fives &= ~KindBit(WILD_FIVE_2 + game->WildRank);
      EXPECT_EQ(wildKinds & fives, fives);
      EXPECT_TRUE(InKindSet(wildKinds, WILD_1_FLUSH_STR));
    }
  }
}

}  // namespace
}  // namespace tarnwick
