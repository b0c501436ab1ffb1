// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "engine/deal_classes.h"
#include "engine/games.h"
#include "engine/wild_engine.h"
#include "errors.h"
#include "test_games.h"

namespace tarnwick {
namespace {

using testing::kFullPayDeuces;
using testing::kJokerKings;
using testing::TDeucesAndJoker;

// The deal classes of every deck. Each natural class is one orbit of deals under the renaming
// of suits, visited once, weighing the size of its orbit; the wild classes hold their wild
// cards first. Per number w of wild cards the weights add up to C(W, w) x C(4R, 5 - w) deals,
// all deals to C(4R + W, 5), and the numbers of classes are those the engines announce.
TEST(DealClasses, AreTheSuitOrbitsAndCountEveryDealOfEveryDeck) {
  std::array<std::array<int, 4>, 24> permutations{};
  std::array<int, 4> p = {0, 1, 2, 3};
  for (auto& permutation : permutations) {
    permutation = p;
    std::next_permutation(p.begin(), p.end());
  }
  struct Row {
    int wilds;
    int skipRank;
    std::array<int, 6> classes;  // natural, then 1..5 wild cards
    int64_t deals;
  };
  for (const Row& row : {Row{1, -1, {134459, 18577, 0, 0, 0, 0}, 2869685},
                         Row{2, -1, {134459, 18577, 1755, 0, 0, 0}, 3162510},
                         Row{4, 0, {88968, 13344, 1376, 144, 12, 0}, 2598960},
                         Row{4, 5, {88968, 13344, 1376, 144, 12, 0}, 2598960},
                         Row{5, 0, {88968, 13344, 1376, 144, 12, 1}, 2869685}}) {
    SCOPED_TRACE(row.wilds);
    std::array<int, 6> classes{};
    std::array<int64_t, 6> weights{};
    std::array<int64_t, 6> weightByShape{};
    std::set<uint64_t> seen;
    ForEachNaturalDealClass(row.skipRank, [&](const TDealClass& deal, bool) {
      ++classes[0];
      weights[0] += deal.Weight;
      std::set<uint64_t> images;
      for (const auto& permutation : permutations) {
        uint64_t cards = 0;
        for (int i = 0; i < kHandSize; ++i) {
          cards |=
              uint64_t{1} << (deal.Ranks[i] + 13 * permutation[static_cast<size_t>(deal.Suits[i])]);
        }
        ASSERT_EQ(__builtin_popcountll(cards), 5);
        images.insert(cards);
      }
      EXPECT_EQ(static_cast<int32_t>(images.size()), deal.Weight);
      EXPECT_TRUE(seen.insert(*images.begin()).second) << "an orbit is visited twice";
      std::array<int, 13> perRank{};
      for (const int8_t r : deal.Ranks) {
        EXPECT_NE(r, row.skipRank);
        ++perRank[static_cast<size_t>(static_cast<int>(r))];
      }
      const int most = *std::max_element(perRank.begin(), perRank.end());
      const int pairs = static_cast<int>(std::count(perRank.begin(), perRank.end(), 2));
      const int shape = most == 4    ? 0
                        : most == 3  ? (pairs == 1 ? 1 : 2)
                        : pairs == 2 ? 3
                        : pairs == 1 ? 4
                                     : 5;
      weightByShape[static_cast<size_t>(shape)] += deal.Weight;
    });
    if (row.skipRank < 0) {  // quads, full houses, trips, two pairs, pairs and the rest
      EXPECT_EQ(weightByShape,
                (std::array<int64_t, 6>{624, 3744, 54912, 123552, 1098240, 1317888}));
    }
    ForEachWildDealClass(row.wilds, row.skipRank, [&](const TDealClass& deal) {
      int w = 0;
      for (int i = 0; i < kHandSize; ++i) {
        if (deal.Ranks[i] < 0) {
          EXPECT_EQ(i, w) << "wild cards come first";
          ++w;
        } else {
          EXPECT_NE(deal.Ranks[i], row.skipRank);
        }
      }
      ++classes[static_cast<size_t>(w)];
      weights[static_cast<size_t>(w)] += deal.Weight;
    });
    EXPECT_EQ(classes, row.classes);
    const int ranks = row.skipRank >= 0 ? 12 : 13;
    EXPECT_EQ(classes[0], NaturalDealClassCount(ranks));
    EXPECT_EQ(classes[1] + classes[2] + classes[3] + classes[4] + classes[5],
              WildDealClassCount(row.wilds, ranks));
    const int naturalCards = row.skipRank >= 0 ? 48 : 52;
    int64_t deals = 0;
    for (int w = 0; w <= 5; ++w) {
      const int64_t expected =
          (w <= row.wilds ? Binomial[static_cast<size_t>(w)][static_cast<size_t>(row.wilds)] : 0) *
          int64_t{Binomial[static_cast<size_t>(5 - w)][static_cast<size_t>(naturalCards)]};
      EXPECT_EQ(weights[static_cast<size_t>(w)], expected) << w;
      deals += weights[static_cast<size_t>(w)];
    }
    EXPECT_EQ(deals, row.deals);
  }
}

struct TRunCase {
  const char* name;
  std::shared_ptr<TPokerDescription> game;
  std::vector<int32_t> pays;
  double percent;  // the published return, or 0 when none is checked
  int64_t deals;
  int classes;
};

void PrintTo(const TRunCase& run, std::ostream* out) {
  *out << run.name;
}

class WildGameRun : public ::testing::TestWithParam<TRunCase> {};

// Complete runs count every deal of the game once, visit exactly DealClassCount classes,
// and give the published returns to at least eight significant digits.
TEST_P(WildGameRun, CountsEveryDealAndMatchesThePublishedReturn) {
  const TRunCase& run = GetParam();
  const auto engine = CreateEngineForGame(*run.game);
  TPayout table = testing::TableFor(*run.game, run.pays);
  engine->SetPayout(&table);
  int reports = 0;
  testing::TStepProgress progress([&](int64_t) { ++reports; });
  engine->SetProgress(&progress);
  engine->CalcGameAdvantage();
  EXPECT_EQ(engine->DealClassCount(), run.classes);
  EXPECT_EQ(engine->ProgressCounter, run.classes);
  EXPECT_EQ(reports, run.classes / 100);
  EXPECT_EQ(table.DealTotal(), run.deals);
  EXPECT_EQ(table.DeckSize, run.game->DeckSize());
  if (run.percent > 0) {
    EXPECT_NEAR(static_cast<double>(table.Return * 100), run.percent, 0.000001);
  }
  EXPECT_EQ(engine->Deck.Total, run.game->DeckSize());
}

const std::vector<int32_t> kShortDeuces = {800, 200, 25, 16, 10, 4, 4, 3, 2, 1};
const std::vector<int32_t> kDoubleJoker = {800, 100, 50, 25, 9, 5, 4, 3, 2, 1};
const auto kDeuces = std::make_shared<TDeucesWild>();
const TRunCase kRuns[] = {
    {"DeucesWild", kDeuces, kFullPayDeuces, 100.761961, 2598960, 103844},
    {"DeucesWildShort", kDeuces, kShortDeuces, 99.728295, 2598960, 103844},
    {"JokerWildKings", std::make_shared<TJokerWildKings>(), kJokerKings, 100.646296, 2869685,
     153036},
    {"DoubleJoker", std::make_shared<TDoubleJokerPoker>(), kDoubleJoker, 99.970398, 3162510,
     154791},
    {"SevensWild", std::make_shared<TSevensWild>(), kFullPayDeuces, 0, 2598960, 103844},
    {"DeucesAndJoker", std::make_shared<TDeucesAndJoker>(), kFullPayDeuces, 0, 2869685, 103845},
};

INSTANTIATE_TEST_SUITE_P(Families, WildGameRun, ::testing::ValuesIn(kRuns),
                         ::testing::PrintToStringParamName());

// An abort inside the wild classes names both the class and the wild part of the run.
TEST(WildGame, AbortInTheWildClasses) {
  TWildEngine engine;
  engine.SetGame(TDeucesWild());
  TPayout table = testing::TableFor(4, kFullPayDeuces);
  engine.SetPayout(&table);
  testing::TStepProgress progress([](int64_t done) {
    if (done > 88968) throw AbortError();
  });
  engine.SetProgress(&progress);
  EXPECT_EQ(testing::ErrorOf<AbortError>([&] { engine.CalcGameAdvantage(); }),
            "Error calculate natural case (CalcGameAdvantage)\r\n"
            "Error calculate wild case (RunPermutations)\r\n"
            "Error calculate natural case (Check) Progress=89000\r\n"
            "Operation aborted");
  EXPECT_EQ(table.Return, -1);
  EXPECT_LT(table.DealTotal(), 2598960);
}

}  // namespace
}  // namespace tarnwick
