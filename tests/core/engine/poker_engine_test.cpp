// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/poker_engine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "draw_listing.h"
#include "errors.h"
#include "test_sizes.h"

namespace tarnwick {
namespace {

using testing::kNothing;

std::array<int, 5> Cards(const std::vector<std::string>& texts) {
  std::array<int, 5> codes{};
  for (size_t i = 0; i < 5; ++i) codes[i] = ParseCard(texts.at(i)).value();
  return codes;
}

std::string HandText(const std::array<int, 5>& codes) {
  std::string text;
  for (int code : codes) text += CardText(code) + " ";
  return text;
}

// An engine for one game of the catalogue with its own pay table.
struct TEngineFixture {
  TCatalogue Games = BuildCatalogue();
  TPokerEngine Engine;
  TPayout Table;

  TEngineFixture(int gameId, const std::vector<int32_t>& pays) { Select(gameId, pays); }

  void Select(int gameId, const std::vector<int32_t>& pays) {
    const TPokerDescription* game = FindGame(Games, gameId);
    Engine.SetGame(*game);
    Table = TPayout{};
    Table.GameId = gameId;
    for (size_t c = 0; c < pays.size(); ++c) Table.Pays[c] = pays[c];
    Engine.SetPayout(&Table);
  }

  int Analyse(const std::array<int, 5>& codes) {
    Engine.DealCards(codes);
    return Engine.GetTheBest();
  }
};

const std::vector<int32_t> kNineSix = {800, 50, 25, 9, 6, 4, 3, 2, 1};

// Random dealt hands of every shape: uniform deals, hands built from a rank pattern
// (quads, full houses, trips, two pairs, pairs) and hands crowded into a few ranks and
// suits, where straights, flushes and straight flushes are drawn most.
std::array<int, 5> RandomHand(std::mt19937_64& random) {
  std::array<int, 5> codes{};
  const auto distinct = [&](int count, auto pick) {
    std::vector<int> chosen;
    while (static_cast<int>(chosen.size()) < count) {
      const int code = pick();
      if (std::find(chosen.begin(), chosen.end(), code) == chosen.end()) chosen.push_back(code);
    }
    return chosen;
  };
  const int style = static_cast<int>(random() % 3);
  std::vector<int> chosen;
  if (style == 0) {
    chosen = distinct(5, [&] { return static_cast<int>(random() % 52); });
  } else if (style == 1) {
    static const std::vector<std::vector<int>> patterns = {
        {4, 1}, {3, 2}, {3, 1, 1}, {2, 2, 1}, {2, 1, 1, 1}, {1, 1, 1, 1, 1}};
    const auto& pattern = patterns[random() % patterns.size()];
    const std::vector<int> ranks =
        distinct(static_cast<int>(pattern.size()), [&] { return static_cast<int>(random() % 13); });
    for (size_t i = 0; i < pattern.size(); ++i) {
      const std::vector<int> suits =
          distinct(pattern[i], [&] { return static_cast<int>(random() % 4); });
      for (int s : suits) chosen.push_back(ranks[i] + 13 * s);
    }
  } else {
    const int low = static_cast<int>(random() % 13);
    const int firstSuit = static_cast<int>(random() % 4);
    chosen = distinct(5, [&] {
      const int rank = (low + static_cast<int>(random() % 6)) % 13;
      const int suit = random() % 3 == 0 ? static_cast<int>(random() % 4) : firstSuit;
      return rank + 13 * suit;
    });
  }
  std::shuffle(chosen.begin(), chosen.end(), random);
  std::copy(chosen.begin(), chosen.end(), codes.begin());
  return codes;
}

int ListingHandCount() {
  return testing::TestSize("TARNWICK_LISTING_HANDS", TARNWICK_LISTING_HANDS_OF_BUILD, 2000);
}

// Every hold of thousands of dealt hands: the engine's kind and category counts, its
// "nothing" count and its number of draws equal a card-by-card listing of the draws, and
// the best hold is the strictly best exact expected value with ties to the lower mask.
TEST(PokerEngineListing, RandomHandsOfNaturalGamesMatchTheListing) {
  const TCatalogue games = BuildCatalogue();
  std::vector<const TPokerDescription*> naturals;
  for (const auto& game : games) {
    if (game->IsNatural()) naturals.push_back(game.get());
  }
  ASSERT_EQ(naturals.size(), 23u);
  std::mt19937_64 random(20261206);
  TPokerEngine engine;
  TPayout table;
  int failures = 0;
  const int handCount = ListingHandCount();
  for (int hand = 0; hand < handCount && failures < 5; ++hand) {
    const TPokerDescription& game = *naturals[random() % naturals.size()];
    engine.SetGame(game);
    table = TPayout{};
    for (int c = 0; c <= game.LastCategory; ++c)
      table.Pays[c] = static_cast<int32_t>(random() % 1001);
    engine.SetPayout(&table);
    const std::array<int, 5> dealt = RandomHand(random);
    engine.DealCards(dealt);
    const int best = engine.GetTheBest();
    const testing::TListedKinds listed = testing::ListAllDraws(dealt);
    const std::string where =
        "hand #" + std::to_string(hand) + " " + HandText(dealt) + "in " + game.Name;

    int listedBest = 0;
    int64_t bestSum = 0, bestDraws = 1;  // pays <= 1000 keep the cross products in 64 bits
    for (int mask = 0; mask < kMaskCount; ++mask) {
      int64_t draws = 0;
      for (int64_t count : listed[mask]) draws += count;
      for (int k = 0; k < kHandKindCount; ++k) {
        if (engine.KindCount[mask][k] != listed[mask][k]) {
          ADD_FAILURE() << where << ": mask " << mask << " kind " << HandKindNames[k] << " engine "
                        << engine.KindCount[mask][k] << " listing " << listed[mask][k];
          ++failures;
        }
      }
      int64_t paying = 0, paySum = 0;
      for (int c = 0; c <= game.LastCategory; ++c) {
        int64_t count = 0;
        for (int k = 0; k < kHandKindCount; ++k) {
          if (InKindSet(game.NaturalKinds[c], k)) count += listed[mask][k];
        }
        paying += count;
        paySum += count * table.Pays[c];
        if (engine.CategoryCount(c, mask) != count) {
          ADD_FAILURE() << where << ": mask " << mask << " category " << c;
          ++failures;
        }
      }
      if (engine.CategoryCount(game.LastCategory + 1, mask) != draws - paying ||
          engine.DrawsOf(mask) != draws) {
        ADD_FAILURE() << where << ": mask " << mask << " nothing or draws";
        ++failures;
      }
      const long double exact = static_cast<long double>(paySum) / static_cast<long double>(draws);
      if (engine.DrawReturn(mask) != exact) {
        ADD_FAILURE() << where << ": mask " << mask << " return " << static_cast<double>(exact);
        ++failures;
      }
      if (paySum * bestDraws > bestSum * draws) {
        listedBest = mask;
        bestSum = paySum;
        bestDraws = draws;
      }
    }
    if (best != listedBest) {
      ADD_FAILURE() << where << ": best " << best << " listing " << listedBest;
      ++failures;
    }
  }
}

TEST(PokerEngineListing, ListingClassifiesTheFullDeckLikeTheTextbook) {
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

TEST(PokerEngine, VerifyDrawAgreesAndCatchesAWrongCount) {
  TEngineFixture f(0, kNineSix);
  for (const auto& hand :
       {Cards({"3S", "7H", "TH", "JH", "KH"}), Cards({"AS", "AH", "5D", "5C", "9S"})}) {
    f.Analyse(hand);
    for (int mask = 0; mask < kMaskCount; ++mask) {
      EXPECT_EQ(f.Engine.VerifyDraw(mask), "") << HandText(hand) << "mask " << mask;
    }
  }
  f.Engine.KindCount[6][PAIRS_5] += 1;
  EXPECT_NE(f.Engine.VerifyDraw(6).find("PAIRS_5: engine"), std::string::npos);
}

TEST(PokerEngine, FourAcesStandPatAndTheirHoldDrawsFortySevenAces) {
  TEngineFixture f(0, kNineSix);
  const int best = f.Analyse(Cards({"AS", "AC", "AD", "AH", "KS"}));
  EXPECT_EQ(best, 0);
  EXPECT_EQ(f.Engine.DrawsOf(16), 47);
  EXPECT_EQ(f.Engine.KindCount[16][FOUR_OF_KIND_A], 47);
  EXPECT_EQ(f.Engine.CategoryCount(2, 16), 47);
  EXPECT_EQ(f.Engine.DrawReturn(16), f.Engine.DrawReturn(0));
  EXPECT_EQ(f.Engine.DrawReturn(0), 25.0L);
}

TEST(PokerEngine, DealtHandsClassifyAndStand) {
  TEngineFixture f(0, kNineSix);
  EXPECT_EQ(f.Analyse(Cards({"TS", "JS", "QS", "KS", "AS"})), 0);
  EXPECT_EQ(f.Engine.KindCount[0][FLUSH_STRAIGHT_T_A], 1);
  EXPECT_EQ(f.Engine.DealtCategory(), 0);
  EXPECT_EQ(f.Engine.CategoryCount(f.Engine.LastCategory + 1, 0), 0);
  EXPECT_EQ(f.Engine.DrawsOf(31), 1533939);

  f.Analyse(Cards({"AS", "2H", "3D", "4C", "5S"}));
  EXPECT_EQ(f.Engine.KindCount[0][STRAIGHT_A_5], 1);
  f.Analyse(Cards({"TS", "JH", "QD", "KC", "AS"}));
  EXPECT_EQ(f.Engine.KindCount[0][STRAIGHT_T_A], 1);
  f.Analyse(Cards({"AS", "KH", "QD", "JC", "9S"}));
  EXPECT_EQ(f.Engine.DealtCategory(), -1);
  f.Analyse(Cards({"7S", "7H", "QD", "JC", "9S"}));
  EXPECT_EQ(f.Engine.KindCount[0][PAIRS_7], 1);
  EXPECT_EQ(f.Engine.DealtCategory(), -1);
  EXPECT_EQ(f.Engine.CategoryCount(f.Engine.LastCategory + 1, 0), 1);
}

// Published figures for 9/6 Jacks or better: 3S 7H TH JH KH holds T-J-K of hearts,
// worth 6.9149 coins for five, ahead of the four-flush at 6.3830.
TEST(PokerEngine, PublishedHoldValuesOfNineSixJacks) {
  TEngineFixture f(0, kNineSix);
  const int best = f.Analyse(Cards({"3S", "7H", "TH", "JH", "KH"}));
  EXPECT_EQ(best, 3);
  EXPECT_NEAR(static_cast<double>(f.Engine.DrawReturn(3)), 6.9149 / 5, 0.00001);
  EXPECT_NEAR(static_cast<double>(f.Engine.DrawReturn(1)), 6.3830 / 5, 0.00001);
  EXPECT_EQ(f.Engine.CategoryCount(4, 1), 9);  // nine hearts left make the flush
}

TEST(PokerEngine, TiesKeepTheLowerMask) {
  TEngineFixture f(0, {0, 0, 0, 0, 0, 0, 0, 0, 0});
  EXPECT_EQ(f.Analyse(Cards({"3S", "7H", "TH", "JH", "KH"})), 0);
  // Only a royal flush pays: keeping the king of spades alone (mask 30) and keeping the
  // king of hearts alone (mask 29) are worth the same and beat every other hold.
  f.Select(0, {1, 0, 0, 0, 0, 0, 0, 0, 0});
  const int best = f.Analyse(Cards({"KS", "KH", "2D", "3C", "4D"}));
  EXPECT_EQ(f.Engine.DrawReturn(29), f.Engine.DrawReturn(30));
  EXPECT_EQ(best, 29);
}

TEST(PokerEngine, KindMapFollowsTheGame) {
  TEngineFixture f(0, kNineSix);
  EXPECT_EQ(f.Engine.KindToCategory[PAIRS_T], -1);
  EXPECT_EQ(f.Engine.KindToCategory[PAIRS_J], 8);
  f.Select(6, kNineSix);
  EXPECT_EQ(f.Engine.KindToCategory[PAIRS_T], 8);
  f.Select(13, kNineSix);
  EXPECT_EQ(f.Engine.KindToCategory[PAIRS_Q], -1);
  EXPECT_EQ(f.Engine.KindToCategory[PAIRS_K], 8);
  f.Select(2, {800, 50, 160, 80, 50, 10, 7, 5, 3, 1, 1});
  EXPECT_EQ(f.Engine.KindToCategory[FOUR_OF_KIND_A], 2);
  EXPECT_EQ(f.Engine.KindToCategory[FOUR_OF_KIND_4], 3);
  EXPECT_EQ(f.Engine.KindToCategory[FOUR_OF_KIND_5], 4);
  EXPECT_EQ(f.Engine.KindToCategory[FOUR_OF_KIND_K], 4);
  EXPECT_EQ(f.Table.LastCategory, 10);
  EXPECT_EQ(f.Table.DeckSize, 52);
}

TEST(PokerEngine, StepsNameThemselvesInErrors) {
  TEngineFixture f(0, kNineSix);
  f.Analyse(Cards({"3S", "7H", "TH", "JH", "KH"}));
  try {
    f.Engine.CheckDraw(40);
    FAIL() << "mask 40 accepted";
  } catch (const RangeError& e) {
    EXPECT_EQ(
        std::string(e.what()).rfind("Error calculate natural case (CheckDraw) DrawMask=40\r\n", 0),
        0u);
  }
  EXPECT_THROW(f.Engine.DrawReturn(32), RangeError);
  EXPECT_THROW(f.Engine.CategoryCount(17, 0), RangeError);
  EXPECT_THROW(f.Engine.MaskCategoryChance(0, -1), RangeError);

  // A deck that claims five cards of one rank cannot be counted: the error names every
  // step from the analysis down to the calculator.
  f.Engine.Deck.Counts[4][kTotalsColumn] = 5;
  try {
    f.Engine.GetTheBest();
    FAIL() << "a deck with five eights was analysed";
  } catch (const TarnwickError& e) {
    EXPECT_EQ(std::string(e.what()).rfind("Error calculate natural case (GetTheBest)\r\n"
                                          "Error calculate natural case (CheckDraw) DrawMask=1\r\n"
                                          "Error in calculator  (Init)\r\n",
                                          0),
              0u)
        << e.what();
  }
}

TEST(PokerEngine, MaskChancesAddUpToOne) {
  TEngineFixture f(2, {800, 50, 160, 80, 50, 10, 7, 5, 3, 1, 1});
  f.Analyse(Cards({"AS", "AH", "AD", "9C", "2S"}));
  for (int mask = 0; mask < kMaskCount; ++mask) {
    long double sum = 0;
    for (int c = 0; c <= f.Engine.LastCategory; ++c) sum += f.Engine.MaskCategoryChance(c, mask);
    sum += static_cast<long double>(f.Engine.CategoryCount(f.Engine.LastCategory + 1, mask)) /
           static_cast<long double>(f.Engine.DrawsOf(mask));
    EXPECT_NEAR(static_cast<double>(sum), 1.0, 1e-15) << "mask " << mask;
  }
}

}  // namespace
}  // namespace tarnwick
