// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/wild_engine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <random>

#include "draw_listing.h"
#include "engine/deal_classes.h"
#include "errors.h"
#include "test_games.h"
#include "test_sizes.h"

namespace tarnwick {
namespace {

using testing::kWildBase;

using testing::TDeucesAndJoker;

// Card codes of the listing: 0..51 natural, 52 and 53 the jokers.
int ListingCode(int engineCode, int& jokersSeen) {
  return engineCode >= 0 ? engineCode : testing::kFirstJoker + jokersSeen++;
}

std::array<int, 5> Hand(const std::vector<std::string>& texts) {
  return testing::HandOf(texts);
}

std::string HandText(const std::array<int, 5>& codes) {
  std::string text;
  for (int code : codes) text += CardText(code) + " ";
  return text;
}

struct TFamily {
  const char* name;
  std::shared_ptr<TPokerDescription> game;
};

// A dealt hand of the family with 0..5 wild cards (each count about equally often).
std::array<int, 5> RandomWildHand(std::mt19937_64& random, const TPokerDescription& game) {
  std::vector<int> wildCodes;
  for (int j = 0; j < game.JokerCount; ++j) wildCodes.push_back(-1 - j);
  if (game.WildRank >= 0) {
    for (int s = 0; s < 4; ++s) wildCodes.push_back(game.WildRank + 13 * s);
  }
  std::shuffle(wildCodes.begin(), wildCodes.end(), random);
  const int wilds = static_cast<int>(random() % (std::min<size_t>(wildCodes.size(), 5) + 1));
  std::vector<int> cards(wildCodes.begin(), wildCodes.begin() + wilds);
  // Naturals crowded into a few ranks and suits half of the time, to reach straights and
  // flushes.
  const bool crowded = random() % 2 == 0;
  const int low = static_cast<int>(random() % 13);
  const int suit = static_cast<int>(random() % 4);
  while (cards.size() < 5) {
    int code = crowded ? (low + static_cast<int>(random() % 6)) % 13 +
                             13 * (random() % 3 == 0 ? static_cast<int>(random() % 4) : suit)
                       : static_cast<int>(random() % 52);
    if (code % 13 == game.WildRank) continue;
    if (std::find(cards.begin(), cards.end(), code) == cards.end()) cards.push_back(code);
  }
  std::shuffle(cards.begin(), cards.end(), random);
  // Jokers are numbered in dealt order.
  int jokers = 0;
  for (int& code : cards) {
    if (code < 0) code = -1 - jokers++;
  }
  std::array<int, 5> hand{};
  std::copy(cards.begin(), cards.end(), hand.begin());
  return hand;
}

int HandCount() {
  return testing::TestSize("TARNWICK_WILD_LISTING_HANDS", TARNWICK_WILD_LISTING_HANDS_OF_BUILD,
                           1000);
}

// Every hold of random hands of each wild family, with random pays: the natural and wild
// kind counts, category counts, "nothing" and draws equal a card-by-card listing of the
// draws, and the best hold is the strictly best exact value with ties to the lower mask.
void PrintTo(const TFamily& family, std::ostream* out) {
  *out << family.name;
}

class WildEngineListing : public ::testing::TestWithParam<TFamily> {};

TEST_P(WildEngineListing, RandomHandsMatchTheListing) {
  std::mt19937_64 random(20261207);
  {
    const TPokerDescription& game = *GetParam().game;
    const testing::TDrawListing listing(game.WildRank, game.JokerCount);
    TWildEngine engine;
    engine.SetGame(game);
    TPayout table;
    int failures = 0;
    std::array<int, 6> byWilds{};
    for (int hand = 0; hand < HandCount() && failures < 5; ++hand) {
      table = TPayout{};
      for (int c = 0; c <= game.LastCategory; ++c)
        table.Pays[c] = static_cast<int32_t>(random() % 1001);
      engine.SetPayout(&table);
      const std::array<int, 5> dealt = RandomWildHand(random, game);
      engine.DealCards(dealt);
      ++byWilds[static_cast<size_t>(engine.DealtHand.WildCount)];
      const int best = engine.GetTheBest();
      int jokers = 0;
      std::array<int, 5> listed{};
      for (size_t i = 0; i < 5; ++i) listed[i] = ListingCode(dealt[i], jokers);
      const testing::TListedKinds draws = listing.ListAllDraws(listed);
      const std::string where = "hand #" + std::to_string(hand) + " " + HandText(dealt);

      // Category of each column: natural kinds by the last category that lists them, wild
      // kinds by the best-paying category that lists them (ties: the lower index).
      std::array<int, testing::kColumns> category{};
      category.fill(-1);
      for (int c = 0; c <= game.LastCategory; ++c) {
        for (int k = 0; k < kHandKindCount; ++k) {
          if (InKindSet(game.NaturalKindSet(c), k)) category[static_cast<size_t>(k)] = c;
        }
      }
      for (int k = 0; k < kWildHandKindCount; ++k) {
        int chosen = -1;
        for (int c = 0; c <= game.LastCategory; ++c) {
          if (InKindSet(game.WildKindSet(c), k) &&
              (chosen < 0 || table.Pays[c] > table.Pays[chosen]))
            chosen = c;
        }
        category[kWildBase + k] = chosen;
      }
      int listedBest = 0;
      int64_t bestSum = 0, bestDraws = 1;
      for (int mask = 0; mask < kMaskCount && failures < 5; ++mask) {
        const auto& row = draws[static_cast<size_t>(mask)];
        for (int k = 0; k < kHandKindCount; ++k) {
          if (engine.KindCount[mask][k] != row[static_cast<size_t>(k)]) {
            ADD_FAILURE() << where << "mask " << mask << " "
                          << HandKindNames[static_cast<size_t>(k)] << " engine "
                          << engine.KindCount[mask][k] << " listing "
                          << row[static_cast<size_t>(k)];
            ++failures;
          }
        }
        for (int k = 0; k < kWildHandKindCount; ++k) {
          if (engine.WildCounts[mask][k] != row[kWildBase + k]) {
            ADD_FAILURE() << where << "mask " << mask << " "
                          << WildHandKindNames[static_cast<size_t>(k)] << " engine "
                          << engine.WildCounts[mask][k] << " listing " << row[kWildBase + k];
            ++failures;
          }
        }
        std::array<int64_t, kMaxCategories> perCategory{};
        int64_t total = 0;
        for (size_t column = 0; column < row.size(); ++column) {
          total += row[column];
          if (category[column] >= 0)
            perCategory[static_cast<size_t>(category[column])] += row[column];
        }
        int64_t paying = 0, paySum = 0;
        for (int c = 0; c <= game.LastCategory; ++c) {
          paying += perCategory[static_cast<size_t>(c)];
          paySum += perCategory[static_cast<size_t>(c)] * table.Pays[c];
          if (engine.CategoryCount(c, mask) != perCategory[static_cast<size_t>(c)]) {
            ADD_FAILURE() << where << "mask " << mask << " category " << c;
            ++failures;
          }
        }
        if (engine.DrawsOf(mask) != total ||
            engine.CategoryCount(game.LastCategory + 1, mask) != total - paying) {
          ADD_FAILURE() << where << "mask " << mask << " draws or nothing";
          ++failures;
        }
        if (paySum * bestDraws > bestSum * total) {
          listedBest = mask;
          bestSum = paySum;
          bestDraws = total;
        }
      }
      if (failures == 0 && best != listedBest) {
        ADD_FAILURE() << where << "best " << best << " listing " << listedBest;
        ++failures;
      }
    }
    // Every count of wild cards in the dealt hand was tried.
    const int most = std::min(game.JokerCount + (game.WildRank >= 0 ? 4 : 0), 5);
    for (int w = 0; w <= most && HandCount() >= 100; ++w)
      EXPECT_GT(byWilds[static_cast<size_t>(w)], 0) << w;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Families, WildEngineListing,
    ::testing::Values(TFamily{"OneJoker", std::make_shared<TJokerWildKings>()},
                      TFamily{"TwoJokers", std::make_shared<TDoubleJokerPoker>()},
                      TFamily{"Deuces", std::make_shared<TBonusDeucesWild>()},
                      TFamily{"Sevens", std::make_shared<TSevensWild>()},
                      TFamily{"DeucesAndJoker", std::make_shared<TDeucesAndJoker>()}),
    [](const ::testing::TestParamInfo<TFamily>& param) { return std::string(param.param.name); });

TEST(WildEngine, ClassifiesTheExampleHands) {
  TWildEngine deuces;
  deuces.SetGame(TDeucesWild());
  TWildEngine joker;
  joker.SetGame(TJokerWildKings());
  const auto kindOf = [](TWildEngine& engine, const std::vector<std::string>& cards) {
    engine.DealCards(Hand(cards));
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
// naturals: the 4 aces make WILD_4_A, the other 43 WILD_4_WA.
TEST(WildEngine, FourDeucesAndAKing) {
  TWildEngine engine;
  engine.SetGame(TDeucesWild());
  TPayout table;
  table.Pays = {800, 200, 25, 15, 9, 5, 3, 2, 2, 1};
  engine.SetPayout(&table);
  engine.DealCards(Hand({"2S", "2H", "2D", "2C", "KS"}));
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
}

// Each row sums to C(N + D, d) when a wild card is held and to C(N + D, d) - C(N, d)
// otherwise; the joker game with four naturals held has one wild draw: the joker.
TEST(WildEngine, RowSumsAndTheLoneJoker) {
  TWildEngine engine;
  engine.SetGame(TJokerWildKings());
  engine.DealCards(Hand({"AS", "KH", "QD", "JC", "9S"}));
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
  both.SetGame(TDeucesAndJoker());
  both.DealCards(Hand({"2S", "2H", "2D", "2C", "9S"}));
  both.GetTheBest();
  EXPECT_EQ(both.WildCounts[16][WILD_5], 1);
  EXPECT_EQ(both.WildCounts[16][WILD_4_A] + both.WildCounts[16][WILD_4_WA], 47);
  for (int mask : {0, 1, 16, 17, 31}) EXPECT_EQ(both.VerifyDraw(mask), "") << mask;
}

TEST(WildEngine, KindMapFollowsThePays) {
  TWildEngine engine;
  engine.SetGame(TDeucesWild());
  TPayout table;
  table.Pays = {800, 200, 25, 15, 9, 5, 3, 2, 2, 1};
  engine.SetPayout(&table);
  EXPECT_EQ(engine.WildKindToCategory[WILD_3], 5);  // four of a kind pays more
  EXPECT_EQ(engine.WildKindToCategory[WILD_1_AND_2_2], 6);
  EXPECT_EQ(engine.WildKindToCategory[WILD_1_KINGS], -1);
  table.Pays = {800, 200, 25, 15, 9, 5, 6, 2, 2, 1};  // a full house above four of a kind
  engine.SetPayout(&table);
  EXPECT_EQ(engine.WildKindToCategory[WILD_3], 6);
  table.Pays = {800, 200, 25, 15, 9, 5, 5, 2, 2, 1};  // equal pays: the lower category
  engine.SetPayout(&table);
  EXPECT_EQ(engine.WildKindToCategory[WILD_3], 5);

  TWildEngine doubleJoker;
  doubleJoker.SetGame(TDoubleJokerPoker());
  table.Pays = {800, 100, 50, 25, 9, 5, 4, 3, 2, 1};
  doubleJoker.SetPayout(&table);
  EXPECT_EQ(doubleJoker.WildKindToCategory[WILD_2], 8);  // three of a kind beats two pairs
}

TEST(WildEngine, FactoryPicksTheEngine) {
  const TCatalogue games = BuildCatalogue();
  for (const auto& game : games) {
    const auto engine = CreateEngineForGame(*game);
    EXPECT_EQ(dynamic_cast<TWildEngine*>(engine.get()) != nullptr, !game->IsNatural())
        << game->Name;
    EXPECT_EQ(engine->GameId, game->GameId);
  }
}

}  // namespace
}  // namespace tarnwick
