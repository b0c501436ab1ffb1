// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later

// Time of the full analysis of one dealt hand (all 32 holds) over a fixed set of 10,000
// random hands, and of the whole-game run of one table. Run the release build:
//   build/release/bench/tarnwick_bench --benchmark_repetitions=5

#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <vector>

#include "games.h"
#include "poker_engine.h"
#include "wild_engine.h"

namespace {

using namespace tarnwick;

std::vector<std::array<int, kHandSize>> FixedHands() {
  std::mt19937_64 random(5);
  std::vector<std::array<int, kHandSize>> hands(10000);
  std::array<int, 52> deck{};
  for (auto& hand : hands) {
    for (int i = 0; i < 52; ++i) deck[static_cast<size_t>(i)] = i;
    std::shuffle(deck.begin(), deck.end(), random);
    std::copy(deck.begin(), deck.begin() + kHandSize, hand.begin());
  }
  return hands;
}

void NaturalHandAllHolds(benchmark::State& state) {
  const TCatalogue games = BuildCatalogue();
  TPokerEngine engine;
  engine.SetGame(*FindGame(games, 0));
  TPayout table;
  table.Pays = {800, 50, 25, 9, 6, 4, 3, 2, 1};
  engine.SetPayout(&table);
  const auto hands = FixedHands();
  size_t next = 0;
  int checksum = 0;
  for (auto _ : state) {
    engine.DealCards(hands[next]);
    checksum += engine.GetTheBest();
    next = next + 1 == hands.size() ? 0 : next + 1;
  }
  benchmark::DoNotOptimize(checksum);
  state.SetItemsProcessed(state.iterations());
  state.SetLabel("one iteration = one dealt hand, all 32 holds");
}
BENCHMARK(NaturalHandAllHolds)->Unit(benchmark::kMicrosecond);

// The same for full-pay Deuces Wild: the deuces in the fixed hands are wild cards.
void DeucesHandAllHolds(benchmark::State& state) {
  const TCatalogue games = BuildCatalogue();
  const auto engine = CreateEngineForGame(*FindGame(games, 4));
  TPayout table;
  table.Pays = {800, 200, 25, 15, 9, 5, 3, 2, 2, 1};
  engine->SetPayout(&table);
  const auto hands = FixedHands();
  size_t next = 0;
  int checksum = 0;
  for (auto _ : state) {
    engine->DealCards(hands[next]);
    checksum += engine->GetTheBest();
    next = next + 1 == hands.size() ? 0 : next + 1;
  }
  benchmark::DoNotOptimize(checksum);
  state.SetItemsProcessed(state.iterations());
  state.SetLabel("one iteration = one dealt hand, all 32 holds");
}
BENCHMARK(DeucesHandAllHolds)->Unit(benchmark::kMicrosecond);

// "Calculate overall permutations" of 9/6 Jacks or better: all 134459 deal classes.
void NineSixJacksWholeGame(benchmark::State& state) {
  const TCatalogue games = BuildCatalogue();
  TPokerEngine engine;
  engine.SetGame(*FindGame(games, 0));
  TPayout table;
  table.Pays = {800, 50, 25, 9, 6, 4, 3, 2, 1};
  engine.SetPayout(&table);
  for (auto _ : state) engine.CalcGameAdvantage();
  if (table.DealTotal() != 2598960) state.SkipWithError("the run did not count every deal");
  state.SetLabel("one iteration = one whole-game run");
}
BENCHMARK(NineSixJacksWholeGame)->Unit(benchmark::kMillisecond)->Iterations(1);

// The whole-game run of full-pay Deuces Wild (103844 deal classes, all analysed in full).
void FullPayDeucesWholeGame(benchmark::State& state) {
  const TCatalogue games = BuildCatalogue();
  const auto engine = CreateEngineForGame(*FindGame(games, 4));
  TPayout table;
  table.Pays = {800, 200, 25, 15, 9, 5, 3, 2, 2, 1};
  engine->SetPayout(&table);
  for (auto _ : state) engine->CalcGameAdvantage();
  if (table.DealTotal() != 2598960) state.SkipWithError("the run did not count every deal");
  state.SetLabel("one iteration = one whole-game run");
}
BENCHMARK(FullPayDeucesWholeGame)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
