// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/poker_engine.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "draw_listing.h"
#include "engine/wild_engine.h"
#include "errors.h"
#include "store/paytable_list.h"
#include "test_games.h"

namespace tarnwick {
namespace {

using testing::ErrorOf;
using testing::HandOf;
using testing::kNineSix;
using testing::kNothing;
using testing::kWildBase;

struct TEngineFixture {
  TPokerEngine Engine;
  TPayout Table;

  TEngineFixture(int gameId, const std::vector<int32_t>& pays)
      : Table(testing::TableFor(gameId, pays)) {
    Engine.SetGame(testing::Game(gameId));
    Engine.SetPayout(&Table);
  }

  int Analyse(const std::vector<std::string>& cards) {
    Engine.DealCards(HandOf(cards));
    return Engine.GetTheBest();
  }
};

// A family of games with one deck; no game: every natural game of the catalogue.
struct TFamily {
  const char* name;
  std::shared_ptr<TPokerDescription> game;
};

void PrintTo(const TFamily& family, std::ostream* out) {
  *out << family.name;
}

// Where the engine's counts of every hold of the analysed hand differ from the listing's
// (at most five, each a line), and the hold that the listing finds best (strictly best,
// ties to the lower mask): kinds, categories, "nothing", draws and returns.
std::string ListingDifferences(const TPokerEngine& engine, const TPokerDescription& game,
                               const TPayout& table, const testing::TListedKinds& listed,
                               int& listedBest) {
  const auto* wild = dynamic_cast<const TWildEngine*>(&engine);
  const std::array<int, testing::kColumns> category = testing::ListingCategories(game, table);
  std::string report;
  int failures = 0;
  listedBest = 0;
  int64_t bestSum = 0, bestDraws = 1;  // pays <= 1000 keep the cross products in 64 bits
  for (int mask = 0; mask < kMaskCount && failures < 5; ++mask) {
    const auto& row = listed[static_cast<size_t>(mask)];
    const auto check = [&](std::string_view what, int64_t engineCount, int64_t listedCount) {
      if (engineCount == listedCount) return;
      report += "mask " + std::to_string(mask) + " " + std::string(what) + ": engine " +
                std::to_string(engineCount) + " listing " + std::to_string(listedCount) + "\n";
      ++failures;
    };
    for (size_t k = 0; k < kHandKindCount; ++k)
      check(HandKindNames[k], engine.KindCount[mask][k], row[k]);
    for (size_t k = 0; k < kWildHandKindCount; ++k)
      check(WildHandKindNames[k], wild != nullptr ? wild->WildCounts[mask][k] : 0,
            row[kWildBase + k]);
    std::array<int64_t, kMaxCategories> perCategory{};
    int64_t draws = 0;
    for (size_t column = 0; column < row.size(); ++column) {
      draws += row[column];
      if (category[column] >= 0) perCategory[static_cast<size_t>(category[column])] += row[column];
    }
    int64_t paying = 0, paySum = 0;
    for (int c = 0; c <= game.LastCategory; ++c) {
      const int64_t count = perCategory[static_cast<size_t>(c)];
      paying += count;
      paySum += count * table.Pays[c];
      check("category " + std::to_string(c), engine.CategoryCount(c, mask), count);
    }
    check("nothing", engine.CategoryCount(game.LastCategory + 1, mask), draws - paying);
    check("draws", engine.DrawsOf(mask), draws);
    if (engine.DrawReturn(mask) != static_cast<long double>(paySum) / draws) {
      report += "mask " + std::to_string(mask) + " return, listed pays " + std::to_string(paySum) +
                " / " + std::to_string(draws) + "\n";
      ++failures;
    }
    if (paySum * bestDraws > bestSum * draws) {
      listedBest = mask;
      bestSum = paySum;
      bestDraws = draws;
    }
  }
  return report;
}

class EngineListing : public ::testing::TestWithParam<TFamily> {};

// Every hold of thousands of random hands of each family, with random pays, against a
// card-by-card listing of the draws; the best hold is strictly best, ties to the lower mask.
TEST_P(EngineListing, RandomHandsMatchTheListing) {
  const TCatalogue catalogue = BuildCatalogue();
  std::vector<const TPokerDescription*> games = {GetParam().game.get()};
  if (games[0] == nullptr) {
    games.clear();
    for (const auto& game : catalogue) {
      if (game->IsNatural()) games.push_back(game.get());
    }
    ASSERT_EQ(games.size(), 25u);
  }
  const testing::TDrawListing listing(games[0]->WildRank, games[0]->JokerCount);
  const int handCount =
      games.size() > 1
          ? testing::TestSize("TARNWICK_LISTING_HANDS", TARNWICK_LISTING_HANDS_OF_BUILD, 2000)
          : testing::TestSize("TARNWICK_WILD_LISTING_HANDS", TARNWICK_WILD_LISTING_HANDS_OF_BUILD,
                              1000);
  std::mt19937_64 random(20261207);
  int failures = 0;
  std::array<int, 6> byWilds{};
  for (int hand = 0; hand < handCount && failures < 5; ++hand) {
    const TPokerDescription& game = *games[random() % games.size()];
    const auto engine = CreateEngineForGame(game);
    TPayout table = testing::TableFor(game, testing::RandomPays(random, game, 1001));
    engine->SetPayout(&table);
    const std::array<int, 5> dealt = testing::RandomHand(random, game);
    engine->DealCards(dealt);
    ++byWilds[static_cast<size_t>(engine->DealtHand.WildCount)];
    const int best = engine->GetTheBest();
    testing::TListedKinds listed = listing.ListAllDraws(testing::ListingCodes(dealt));
    testing::FoldKickers(listed, game);
    int listedBest = 0;
    const std::string report = ListingDifferences(*engine, game, table, listed, listedBest);
    const std::string where =
        "hand #" + std::to_string(hand) + " " + testing::HandText(dealt) + "in " + game.Name + ": ";
    if (!report.empty()) {
      ADD_FAILURE() << where << "\n" << report;
      ++failures;
    } else if (best != listedBest) {
      ADD_FAILURE() << where << "best " << best << " listing " << listedBest;
      ++failures;
    }
  }
  // Every count of wild cards in the dealt hand was tried.
  const int most = std::min(games[0]->JokerCount + (games[0]->WildRank >= 0 ? 4 : 0), 5);
  for (int w = 0; w <= most && handCount >= 100; ++w)
    EXPECT_GT(byWilds[static_cast<size_t>(w)], 0) << w;
}

INSTANTIATE_TEST_SUITE_P(
    Families, EngineListing,
    ::testing::Values(TFamily{"Natural", nullptr},
                      TFamily{"OneJoker", std::make_shared<TJokerWildKings>()},
                      TFamily{"TwoJokers", std::make_shared<TDoubleJokerPoker>()},
                      TFamily{"Deuces", std::make_shared<TBonusDeucesWild>()},
                      TFamily{"Sevens", std::make_shared<TSevensWild>()},
                      TFamily{"DeucesAndJoker", std::make_shared<testing::TDeucesAndJoker>()}),
    ::testing::PrintToStringParamName());

TEST(DrawListing, ClassifiesTheFullDeckLikeTheTextbook) {
  std::array<int64_t, testing::kColumns> total{};
  for (const auto& row : testing::ListAllDraws({0, 1, 2, 3, 4})) {
    for (size_t k = 0; k < row.size(); ++k) total[k] += row[k];
  }
  int64_t fours = 0, threes = 0, pairs = 0;
  for (int r = 0; r < 13; ++r) {
    fours += total[FOUR_OF_KIND_2 + r];
    threes += total[THREE_OF_KIND_2 + r];
    pairs += total[PAIRS_2 + r];
  }
  // Four of a kicker rank with one of the three other kicker ranks: 3 ranks x 4 suits.
  for (const int kind : kKickerFours) {
    EXPECT_EQ(total[static_cast<size_t>(kind)], 12);
    fours += total[static_cast<size_t>(kind)];
  }
  EXPECT_EQ(total[FLUSH_STRAIGHT_T_A], 4);
  EXPECT_EQ(total[FLUSH_STRAIGHT] + total[FLUSH_STRAIGHT_A_5], 36);
  EXPECT_EQ(fours, 624);
  EXPECT_EQ(total[FULL_HOUSE], 3744);
  EXPECT_EQ(total[FLUSH], 5108);
  EXPECT_EQ(total[STRAIGHT_A_5] + total[STRAIGHT] + total[STRAIGHT_T_A], 10200);
  EXPECT_EQ(threes, 54912);
  EXPECT_EQ(total[TWO_PAIRS], 123552);
  EXPECT_EQ(pairs, 1098240);
  EXPECT_EQ(total[kNothing], 1302540);
}

// Dealt hands stand pat on four aces and on a royal flush, whose category the dealt hand
// shows; a hand that pays nothing, a low pair too, shows none. (The listing proves the counts.)
TEST(PokerEngine, DealtHandsClassifyAndStand) {
  TEngineFixture f(0, kNineSix);
  EXPECT_EQ(f.Analyse({"AS", "AC", "AD", "AH", "KS"}), 0);
  EXPECT_EQ(f.Analyse({"TS", "JS", "QS", "KS", "AS"}), 0);
  EXPECT_EQ(f.Engine.DealtCategory(), 0);
  f.Analyse({"AS", "KH", "QD", "JC", "9S"});
  EXPECT_EQ(f.Engine.DealtCategory(), -1);
  f.Analyse({"7S", "7H", "QD", "JC", "9S"});
  EXPECT_EQ(f.Engine.DealtCategory(), -1);
}

// Published figures for 9/6 Jacks or better: 3S 7H TH JH KH holds T-J-K of hearts,
// worth 6.9149 coins for five, ahead of the four-flush at 6.3830.
TEST(PokerEngine, PublishedHoldValuesOfNineSixJacksAndVerifyDraw) {
  TEngineFixture f(0, kNineSix);
  EXPECT_EQ(f.Analyse({"3S", "7H", "TH", "JH", "KH"}), 3);
  EXPECT_NEAR(static_cast<double>(f.Engine.DrawReturn(3)), 6.9149 / 5, 0.00001);
  EXPECT_NEAR(static_cast<double>(f.Engine.DrawReturn(1)), 6.3830 / 5, 0.00001);
  EXPECT_EQ(f.Engine.CategoryCount(4, 1), 9);  // nine hearts left make the flush

  // The engine's own listing agrees, and catches a wrong count.
  for (const auto& hand : {std::vector<std::string>{"3S", "7H", "TH", "JH", "KH"},
                           std::vector<std::string>{"AS", "AH", "5D", "5C", "9S"}}) {
    f.Analyse(hand);
    for (int mask = 0; mask < kMaskCount; ++mask)
      EXPECT_EQ(f.Engine.VerifyDraw(mask), "") << hand[0] << " mask " << mask;
  }
  f.Engine.KindCount[6][PAIRS_5] += 1;
  EXPECT_TRUE(testing::Contains(f.Engine.VerifyDraw(6), "PAIRS_5: engine"));
}

TEST(PokerEngine, StepsNameThemselvesInErrors) {
  TEngineFixture f(0, kNineSix);
  f.Analyse({"3S", "7H", "TH", "JH", "KH"});
  const std::string range = ErrorOf<RangeError>([&] { f.Engine.CheckDraw(40); });
  EXPECT_TRUE(range.starts_with("Error calculate natural case (CheckDraw) DrawMask=40\r\n"))
      << range;
  EXPECT_THROW(f.Engine.DrawReturn(32), RangeError);
  EXPECT_THROW(f.Engine.CategoryCount(17, 0), RangeError);
  EXPECT_THROW(f.Engine.MaskCategoryChance(0, -1), RangeError);

  // Five cards of one rank: the error names every step down to the calculator.
  f.Engine.Deck.Counts[4][kTotalsColumn] = 5;
  const std::string error = ErrorOf<TarnwickError>([&] { f.Engine.GetTheBest(); });
  EXPECT_TRUE(
      error.starts_with("Error calculate natural case (GetTheBest)\r\n"
                        "Error calculate natural case (CheckDraw) DrawMask=1\r\n"
                        "Error in calculator  (Init)\r\n"))
      << error;
}

// The kicker games: hands whose holds keep or throw a kicker, counted card by card, with
// some counts worked out by hand. Category 2 is four aces with a 2-4 kicker, 3 four 2-4
// with an A-4 kicker, 4 four aces, 5 four 2-4.
TEST(PokerEngine, KickerHoldsMatchTheListing) {
  const std::vector<int32_t> doubleDouble = {800, 50, 400, 160, 160, 80, 50, 9, 6, 4, 3, 1, 1};
  const std::vector<int32_t> tripleDouble = {800, 50, 800, 400, 160, 80, 50, 9, 7, 4, 2, 1, 1};
  const std::vector<std::vector<std::string>> hands = {{"AS", "AH", "AD", "AC", "3S"},
                                                       {"AS", "AH", "AD", "2C", "KS"},
                                                       {"3S", "3H", "3D", "3C", "AS"},
                                                       {"AS", "AH", "4D", "8C", "TS"}};
  for (const auto& [gameId, pays] : {std::pair{35, doubleDouble}, std::pair{36, tripleDouble}}) {
    const TPokerDescription& game = testing::Game(gameId);
    ASSERT_TRUE(game.PaysKickers());
    TEngineFixture f(gameId, pays);
    for (const auto& hand : hands) {
      const int best = f.Analyse(hand);
      int listedBest = 0;
      EXPECT_EQ(ListingDifferences(f.Engine, game, f.Table, testing::ListAllDraws(HandOf(hand)),
                                   listedBest),
                "")
          << game.Name << " " << hand[0] << hand[3] << hand[4];
      EXPECT_EQ(best, listedBest) << game.Name << " " << hand[0] << hand[3] << hand[4];
      for (int mask = 0; mask < kMaskCount; ++mask) EXPECT_EQ(f.Engine.VerifyDraw(mask), "");
    }
    // Four aces with a 3 and four threes with an ace stand: the dealt hand pays its kicker.
    f.Analyse(hands[0]);
    EXPECT_EQ(f.Engine.DealtCategory(), 2);
    EXPECT_EQ(f.Engine.GetTheBest(), 0);
    f.Analyse(hands[2]);
    EXPECT_EQ(f.Engine.DealtCategory(), 3);
    EXPECT_EQ(f.Engine.GetTheBest(), 0);
    // Holding the four threes draws one of 47: 3 aces, 4 twos and 4 fours are kickers.
    EXPECT_EQ(f.Engine.CategoryCount(3, 16), 11);
    EXPECT_EQ(f.Engine.CategoryCount(5, 16), 36);
    // Three aces and a 2: with the 2 only the last ace makes four; without it the ace and
    // one of 3 twos, 4 threes and 4 fours of 46 cards.
    f.Analyse(hands[1]);
    EXPECT_EQ(f.Engine.CategoryCount(2, 16), 1);
    EXPECT_EQ(f.Engine.CategoryCount(4, 16), 0);
    EXPECT_EQ(f.Engine.CategoryCount(2, 24), 11);
    EXPECT_EQ(f.Engine.CategoryCount(4, 24), 35);
    // Two aces and a 4: both missing aces with the 4 kept; with the aces alone also one of
    // 4 twos, 4 threes and 3 fours among the other 45.
    f.Analyse(hands[3]);
    EXPECT_EQ(f.Engine.CategoryCount(2, 24), 1);
    EXPECT_EQ(f.Engine.CategoryCount(2, 28), 11);
    EXPECT_EQ(f.Engine.CategoryCount(4, 28), 34);
  }
  // A game without kicker pays counts these hands as four of a kind of their rank.
  TEngineFixture bonus(2, {800, 50, 160, 80, 50, 10, 7, 5, 3, 1, 1});
  bonus.Analyse(hands[2]);
  EXPECT_EQ(bonus.Engine.KindCount[16][FOUR_OF_KIND_3], 47);
  EXPECT_EQ(bonus.Engine.KindCount[16][FOUR_OF_KIND_3_A_4], 0);
}

// The whole game of the kicker games returns what published analyses give, to the digits
// they give.
TEST(PokerEngine, KickerGamesReturnThePublishedFigures) {
  struct TCase {
    int game;
    std::vector<int32_t> pays;
    double published;
    int decimals;
  };
  const std::vector<TCase> cases = {
      {35, {800, 50, 400, 160, 160, 80, 50, 9, 6, 4, 3, 1, 1}, 98.9808, 4},
      {35, {800, 50, 400, 160, 160, 80, 50, 10, 6, 4, 3, 1, 1}, 100.067, 3},
      {35, {800, 50, 400, 160, 160, 80, 50, 9, 5, 4, 3, 1, 1}, 97.873, 3},
      {36, {800, 50, 800, 400, 160, 80, 50, 9, 7, 4, 2, 1, 1}, 99.578, 3},
      {36, {800, 50, 800, 400, 160, 80, 50, 9, 6, 4, 2, 1, 1}, 98.154, 3}};
  for (const TCase& c : cases) {
    TEngineFixture f(c.game, c.pays);
    f.Engine.CalcGameAdvantage();
    EXPECT_TRUE(MatchesPublished(f.Table.Return, c.published, c.decimals))
        << f.Engine.GameName << " " << c.pays[7] << "/" << c.pays[8] << ": "
        << static_cast<double>(f.Table.Return * 100);
  }
}

}  // namespace
}  // namespace tarnwick
