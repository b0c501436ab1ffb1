// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later

// The whole-game run on several threads: progress, abort and errors (run under TSan too).

#include <gtest/gtest.h>

#include <limits>
#include <thread>

#include "checked.h"
#include "engine/deal_classes.h"
#include "engine/games.h"
#include "engine/wild_engine.h"
#include "errors.h"
#include "test_games.h"

namespace tarnwick {
namespace {

using testing::ErrorOf;
using testing::kNineSix;
using testing::TableFor;

// Progress comes on the caller's thread, every 100 classes, in order, natural and wild.
TEST(ThreadRun, ProgressComesInOrderOnTheCallersThread) {
  EXPECT_GE(TPokerEngine().RunThreadCount(), 1);
  EXPECT_THROW(TPokerEngine().SetThreadCount(-1), RangeError);
  EXPECT_THROW(TPokerEngine().SetThreadCount(kMaxThreads + 1), RangeError);
  const std::thread::id caller = std::this_thread::get_id();
  for (const auto& game : {std::shared_ptr<TPokerDescription>(std::make_shared<TJacksOrBetter>()),
                           std::shared_ptr<TPokerDescription>(std::make_shared<TSevensWild>())}) {
    SCOPED_TRACE(game->Name);
    const auto engine = CreateEngineForGame(*game);
    TPayout table = TableFor(*game, std::vector<int32_t>(game->LastCategory + 1, 1));
    engine->SetPayout(&table);
    engine->SetThreadCount(3);
    std::vector<int64_t> reports;
    bool elsewhere = false;
    testing::TStepProgress progress([&](int64_t done) {
      reports.push_back(done);
      elsewhere = elsewhere || std::this_thread::get_id() != caller;
    });
    engine->SetProgress(&progress);
    engine->CalcGameAdvantage();
    EXPECT_FALSE(elsewhere);
    const int classes = engine->DealClassCount();
    EXPECT_EQ(engine->ProgressCounter, classes);
    ASSERT_EQ(static_cast<int>(reports.size()), classes / 100);
    for (size_t i = 0; i < reports.size(); ++i)
      EXPECT_EQ(reports[i], static_cast<int32_t>(100 * (i + 1)));
  }
}

// An abort stops the workers at once, as on one thread; the engine can run again.
TEST(ThreadRun, AbortStopsEveryWorker) {
  const TJacksOrBetter jacks;
  for (int threads : {1, 2}) {
    SCOPED_TRACE(threads);
    TPokerEngine engine;
    engine.SetGame(jacks);
    TPayout table = TableFor(jacks, kNineSix);
    engine.SetPayout(&table);
    engine.SetThreadCount(threads);
    int calls = 0;
    testing::TStepProgress progress([&](int64_t done) {
      ++calls;
      if (done == 300) throw AbortError();
    });
    engine.SetProgress(&progress);
    // Class 300 is the last suit pattern of the two pairs of deuces and fives.
    EXPECT_EQ(ErrorOf<AbortError>([&] { engine.CalcGameAdvantage(); }),
              "Error calculate natural case (CalcGameAdvantage)\r\n"
              "Error calculate natural case (RunPermutations)\r\n"
              "Error calculate natural case (Check1) Progress=300\r\n"
              "Operation aborted");
    EXPECT_EQ(calls, 3) << "no report after the abort";
    EXPECT_EQ(engine.ProgressCounter, 300);
    EXPECT_EQ(table.Return, -1);
    EXPECT_GT(table.DealTotal(), 0);
    EXPECT_LT(table.DealTotal(), 2598960 / 4);
    EXPECT_EQ(engine.Deck.Total, 52);

    engine.SetProgress(nullptr);
    engine.CalcGameAdvantage();
    EXPECT_EQ(table.DealTotal(), 2598960);
    EXPECT_NEAR(static_cast<double>(table.Return * 100), 99.5439043695, 0.00000000005);
  }
}

// The error names the first failing class in run order on any number of threads; an engine
// without workers plays on the caller's thread.
class TFailingEngine : public TPokerEngine {
 public:
  int32_t FailFrom = std::numeric_limits<int32_t>::max();
  bool MakeWorkers = true;
  std::thread::id Played;  // a thread that played a class
  bool OtherThreads = false;

  void Check1(const TDealClass& deal) override {
    if (Played != std::thread::id() && Played != std::this_thread::get_id()) OtherThreads = true;
    Played = std::this_thread::get_id();
    if (ProgressCounter >= FailFrom) {
      try {
        ThrowOverflow("multiplication");
      } catch (...) {
        RethrowWithContext("Error calculate natural case (Check1) Progress=" +
                           std::to_string(ProgressCounter));
      }
    }
    TPokerEngine::Check1(deal);
  }
  std::unique_ptr<TPokerEngine> NewWorker() const override {
    if (!MakeWorkers) return nullptr;
    return std::unique_ptr<TPokerEngine>(new TFailingEngine(*this));
  }
};

TEST(ThreadRun, AnErrorNamesTheFirstFailingClassOnAnyNumberOfThreads) {
  const TJacksOrBetter jacks;
  constexpr int32_t kFailFrom = 70000;
  int32_t first = -1;  // the first class from kFailFrom on played by Check1
  int32_t index = 0;
  ForEachNaturalDealClass(-1, [&](const TDealClass&, bool full) {
    if (first < 0 && index >= kFailFrom && !full) first = index;
    ++index;
  });
  const std::string expected =
      "Error calculate natural case (CalcGameAdvantage)\r\n"
      "Error calculate natural case (RunPermutations)\r\n"
      "Error calculate natural case (Check1) Progress=" +
      std::to_string(first) + "\r\nInteger overflow in multiplication";
  for (int threads : {1, 2, 5}) {
    SCOPED_TRACE(threads);
    TFailingEngine engine;
    engine.SetGame(jacks);
    TPayout table = TableFor(jacks, kNineSix);
    engine.SetPayout(&table);
    engine.SetThreadCount(threads);
    engine.FailFrom = kFailFrom;
    std::vector<int64_t> reports;
    testing::TStepProgress progress([&](int64_t done) { reports.push_back(done); });
    engine.SetProgress(&progress);
    EXPECT_EQ(ErrorOf<OverflowError>([&] { engine.CalcGameAdvantage(); }), expected);
    EXPECT_EQ(engine.ProgressCounter, first);
    ASSERT_FALSE(reports.empty());
    EXPECT_EQ(reports.back(), first / 100 * 100);
    EXPECT_EQ(table.Return, -1);
    EXPECT_LT(table.DealTotal(), 2598960);
  }

  TFailingEngine alone;
  alone.SetGame(jacks);
  TPayout table = TableFor(jacks, kNineSix);
  alone.SetPayout(&table);
  alone.SetThreadCount(4);
  alone.MakeWorkers = false;
  alone.CalcGameAdvantage();
  EXPECT_FALSE(alone.OtherThreads);
  EXPECT_EQ(alone.Played, std::this_thread::get_id());
  EXPECT_EQ(table.DealTotal(), 2598960);
}

}  // namespace
}  // namespace tarnwick
