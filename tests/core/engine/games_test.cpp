// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/games.h"

#include <gtest/gtest.h>

#include <set>

#include "engine/poker_engine.h"
#include "errors.h"

namespace tarnwick {
namespace {

TEST(Catalogue, ThirtyFourGamesNumberedWithoutTwelve) {
  const TCatalogue games = BuildCatalogue();
  ASSERT_EQ(games.size(), 34u);
  EXPECT_EQ(games[12]->Name, "Kings or better");
  EXPECT_EQ(games[12]->GameId, 13);
  std::set<std::string> names;
  for (size_t i = 0; i < games.size(); ++i) {
    const int expected = static_cast<int>(i < 12 ? i : i + 1);
    EXPECT_EQ(games[i]->GameId, expected);
    EXPECT_TRUE(names.insert(games[i]->Name).second) << games[i]->Name;
  }
  EXPECT_EQ(FindGame(games, 12), nullptr);
  EXPECT_EQ(FindGame(games, 34)->Name, "Royal Court");
  EXPECT_EQ(FindGame(games, 32)->Name, "Power House / Full House");
  EXPECT_EQ(FindGame(games, 35), nullptr);
}

// Every category pays some hand, a natural kind belongs to at most one category, and the
// hands from three of a kind up always pay in every game.
TEST(Catalogue, CategoriesCoverTheHandsOnce) {
  const TCatalogue games = BuildCatalogue();
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
    const bool wild = !game->IsNatural();
    if (wild) {
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

TEST(Catalogue, WildCardsOfEachFamily) {
  const TCatalogue games = BuildCatalogue();
  struct Row {
    int id;
    int wildRank;
    int jokers;
    int last;
  };
  for (const Row& row :
       {Row{0, -5, 0, 8}, Row{3, -1, 1, 10}, Row{16, -1, 1, 9}, Row{4, 0, 0, 9}, Row{9, 0, 0, 9},
        Row{7, 0, 0, 12}, Row{8, -1, 2, 9}, Row{20, 5, 0, 9}, Row{17, 0, 0, 11}, Row{18, 0, 0, 10},
        Row{19, -5, 0, 7}, Row{34, -5, 0, 11}, Row{23, -5, 0, 11}, Row{1, -5, 0, 10}}) {
    const TPokerDescription* game = FindGame(games, row.id);
    ASSERT_NE(game, nullptr);
    EXPECT_EQ(game->WildRank, row.wildRank) << game->Name;
    EXPECT_EQ(game->JokerCount, row.jokers) << game->Name;
    EXPECT_EQ(game->LastCategory, row.last) << game->Name;
  }
  const TPokerDescription* twoPairs = FindGame(games, 16);
  EXPECT_EQ(twoPairs->CategoryNames[10], "");
  EXPECT_EQ(twoPairs->WildKindSet(10), 0u);
  EXPECT_EQ(twoPairs->CategoryName(9), "Two Pairs");
  EXPECT_EQ(FindGame(games, 3)->CategoryName(10), "Kings or Better");
  EXPECT_THROW(FindGame(games, 0)->CategoryName(16), RangeError);
  EXPECT_EQ(FindGame(games, 5)->CategoryName(2), "Four  7");
  EXPECT_EQ(FindGame(games, 34)->CategoryName(2), "Four  Kings");
}

}  // namespace
}  // namespace tarnwick
