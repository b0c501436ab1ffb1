// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <future>
#include <random>
#include <set>

#include "engine/deal_classes.h"
#include "engine/games.h"
#include "engine/poker_engine.h"
#include "engine/wild_engine.h"
#include "errors.h"
#include "test_games.h"

namespace tarnwick {
namespace {

// An engine that plays every suit pattern with the full analysis.
template <class TEngine>
class TFullAnalysis : public TEngine {
 public:
  void Check1(const TDealClass& deal) override { this->Check(deal); }
  std::unique_ptr<TPokerEngine> NewWorker() const override {
    return std::unique_ptr<TPokerEngine>(new TFullAnalysis(*this));
  }
};

using testing::RandomPays;
using testing::TableFor;

TPayout RunGame(TPokerEngine& engine, const TPokerDescription& game,
                const std::vector<int32_t>& pays, int threads = 0) {
  TPayout table = TableFor(game, pays);
  engine.SetGame(game);
  engine.SetPayout(&table);
  if (threads > 0) engine.SetThreadCount(threads);
  engine.CalcGameAdvantage();
  engine.SetPayout(nullptr);
  return table;
}

// Published returns of full-pay tables; with nothing paying every deal stands pat.
TEST(WholeGame, PublishedReturnsAndNoPays) {
  TPokerEngine engine;
  struct Row {
    int game;
    std::vector<int32_t> pays;
    long double percent;
  };
  const Row rows[] = {
      {0, testing::kNineSix, 99.5439043695L},
      {11, {800, 80, 50, 40, 25, 8, 5, 4, 3, 2, 1}, 99.165973L},
      {2, {800, 50, 160, 80, 50, 10, 7, 5, 3, 1, 1}, 100.172522L},
      {10, {800, 80, 50, 40, 25, 8, 5, 4, 3, 2, 1}, 99.255451L},
      {0, std::vector<int32_t>(9, 0), 0},
  };
  for (const Row& row : rows) {
    const TPokerDescription& game = testing::Game(row.game);
    const TPayout table = RunGame(engine, game, row.pays);
    EXPECT_NEAR(static_cast<double>(table.Return * 100), static_cast<double>(row.percent), 0.000001)
        << game.Name;
    EXPECT_EQ(table.DealTotal(), 2598960);
    if (row.percent == 0) {
      EXPECT_EQ(table.Deals[0], 2598960);
      EXPECT_EQ(table.Return, 0);
      EXPECT_EQ(table.LossChance, 1);
    } else if (row.game == 0) {
      EXPECT_NEAR(table.Variance(), 19.51, 0.01);
      EXPECT_NEAR(static_cast<double>(table.Return * 100), 99.5439043695, 0.00000000005);
    }
  }
  EXPECT_THROW(engine.CalcGameAdvantage(), TarnwickError);
}

// The quick path of the run counts exactly what full analyses of every class count.
TEST(WholeGame, TheQuickPathCountsWhatFullAnalysesCount) {
  const testing::TDeucesAndJoker deucesAndJoker;
  std::mt19937 random(11);
  for (const TPokerDescription* game : {&testing::Game(0), &testing::Game(19), &testing::Game(34),
                                        static_cast<const TPokerDescription*>(&deucesAndJoker)}) {
    SCOPED_TRACE(game->Name);
    const std::vector<int32_t> pays = RandomPays(random, *game, 400);
    const auto quick = CreateEngineForGame(*game);
    const std::unique_ptr<TPokerEngine> full =
        game->IsNatural() ? std::unique_ptr<TPokerEngine>(new TFullAnalysis<TPokerEngine>)
                          : std::make_unique<TFullAnalysis<TWildEngine>>();
    const TPayout fast = RunGame(*quick, *game, pays);
    const TPayout reference = RunGame(*full, *game, pays);
    EXPECT_EQ(fast.Counts, reference.Counts);
    EXPECT_EQ(fast.Deals, reference.Deals);
  }
}

// A random deal class of the game: wild cards first (rank -1), then naturals.
TDealClass RandomClass(std::mt19937& random, const TPokerDescription& game) {
  std::vector<int> codes;
  for (int code : testing::RandomHand(random, game)) {
    const bool wild = code < 0 || code % 13 == game.WildRank;
    codes.insert(wild ? codes.begin() : codes.end(), wild ? -1 : code);
  }
  TDealClass deal;
  deal.Weight = 1;
  for (size_t i = 0; i < codes.size(); ++i) {
    deal.Ranks[i] = static_cast<int8_t>(codes[i] < 0 ? -1 : codes[i] % 13);
    deal.Suits[i] = static_cast<int8_t>(codes[i] < 0 ? -1 : codes[i] / 13);
  }
  return deal;
}

// The same ranks with new random suits, often all in one suit.
TDealClass NewSuits(std::mt19937& random, TDealClass deal) {
  const int oneSuit = static_cast<int>(random() % 4);
  const bool suited = random() % 3 == 0;
  std::set<int> cards;
  for (int i = 0; i < kHandSize; ++i) {
    // NOLINTNEXTLINE(bugprone-signed-char-misuse): a rank of -1 is a wild card
    const int rank = deal.Ranks[static_cast<size_t>(i)];
    if (rank < 0) continue;
    int suit = suited ? oneSuit : static_cast<int>(random() % 4);
    while (cards.count(rank + 13 * suit) != 0) suit = (suit + 1) % 4;
    cards.insert(rank + 13 * suit);
    deal.Suits[static_cast<size_t>(i)] = static_cast<int8_t>(suit);
  }
  deal.Full = false;
  return deal;
}

// Check1 after Check leaves exactly the counts of a full analysis, natural and wild.
TEST(QuickAnalysis, EqualsTheFullAnalysisInEveryHold) {
  const std::vector<std::shared_ptr<TPokerDescription>> games = {
      std::make_shared<TJacksOrBetter>(), std::make_shared<TDeucesWild>(),
      std::make_shared<TJokerWildKings>(), std::make_shared<TDoubleJokerPoker>(),
      std::make_shared<testing::TDeucesAndJoker>()};
  std::mt19937 random(2024);
  for (const auto& game : games) {
    SCOPED_TRACE(game->Name);
    const auto quick = CreateEngineForGame(*game);
    const auto full = CreateEngineForGame(*game);
    TPayout quickTable = TableFor(*game, RandomPays(random, *game, 500));
    TPayout fullTable = quickTable;
    quick->SetPayout(&quickTable);
    full->SetPayout(&fullTable);
    for (int trial = 0; trial < 150; ++trial) {
      const TDealClass first = RandomClass(random, *game);
      quick->Check(first);
      for (int pattern = 0; pattern < 3; ++pattern) {
        const TDealClass next = NewSuits(random, first);
        quick->Check1(next);
        full->Check(next);
        ASSERT_EQ(quick->KindCount, full->KindCount) << trial;
        ASSERT_EQ(quick->CategoryDraws, full->CategoryDraws) << trial;
        if (!game->IsNatural()) {
          ASSERT_EQ(dynamic_cast<TWildEngine&>(*quick).WildCounts,
                    dynamic_cast<TWildEngine&>(*full).WildCounts)
              << trial;
        }
      }
    }
  }
}

// Every game counts every deal once, and two and eight threads count what one thread does.
TEST(WholeGame, EveryGameCountsTheSameOnOneTwoAndEightThreads) {
  const TCatalogue games = BuildCatalogue();
  // Every Nth game for TARNWICK_THREAD_GAME_STEP=N (the sanitizer builds).
  const auto step = static_cast<size_t>(
      testing::TestSize("TARNWICK_THREAD_GAME_STEP", TARNWICK_THREAD_GAME_STEP_OF_BUILD, 1));
  std::mt19937 random(7);
  for (size_t g = 0; g < games.size(); ++g) {
    const auto& game = games[g];
    const std::vector<int32_t> pays = RandomPays(random, *game, 300);
    if (g % step != 0) continue;
    SCOPED_TRACE(game->Name);
    auto reference = std::async(
        std::launch::async, [&] { return RunGame(*CreateEngineForGame(*game), *game, pays, 1); });
    const TPayout two = RunGame(*CreateEngineForGame(*game), *game, pays, 2);
    const TPayout eight = RunGame(*CreateEngineForGame(*game), *game, pays, 8);
    const TPayout one = reference.get();
    const int64_t n = game->DeckSize();
    EXPECT_EQ(one.DealTotal(), n * (n - 1) * (n - 2) * (n - 3) * (n - 4) / 120);
    for (int d = 0; d <= 5; ++d) {
      int64_t hands = 0;
      for (int c = 0; c <= game->LastCategory; ++c) hands += one.Counts[d][c];
      EXPECT_LE(hands, int64_t{one.Deals[d]} * Binomial[d][static_cast<size_t>(n - 5)]);
    }
    for (const TPayout* many : {&two, &eight}) {
      EXPECT_EQ(many->Counts, one.Counts);
      EXPECT_EQ(many->Deals, one.Deals);
      EXPECT_EQ(many->Return, one.Return);
      EXPECT_EQ(many->WinChance, one.WinChance);
      EXPECT_EQ(many->PushChance, one.PushChance);
    }
  }
}

}  // namespace
}  // namespace tarnwick
