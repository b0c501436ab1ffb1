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

// Times the analysis of one dealt hand (all 32 holds), cycling through the fixed hands.
void HandAllHolds(benchmark::State& state, int gameId, const std::vector<int32_t>& pays) {
  const TCatalogue games = BuildCatalogue();
  const auto engine = CreateEngineForGame(*FindGame(games, gameId));
  TPayout table;
  std::copy(pays.begin(), pays.end(), table.Pays.begin());
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

// Times "Calculate overall permutations": every deal class of the game.
void WholeGame(benchmark::State& state, int gameId, const std::vector<int32_t>& pays) {
  const TCatalogue games = BuildCatalogue();
  const auto engine = CreateEngineForGame(*FindGame(games, gameId));
  TPayout table;
  std::copy(pays.begin(), pays.end(), table.Pays.begin());
  engine->SetPayout(&table);
  for (auto _ : state) engine->CalcGameAdvantage();
  if (table.DealTotal() != Binomial[5][static_cast<size_t>(table.DeckSize)]) {
    state.SkipWithError("the run did not count every deal");
  }
  state.SetLabel("one iteration = one whole-game run");
}

const std::vector<int32_t> kNineSixJacks = {800, 50, 25, 9, 6, 4, 3, 2, 1};
const std::vector<int32_t> kFullPayDeuces = {800, 200, 25, 15, 9, 5, 3, 2, 2, 1};

// In the fixed hands of Deuces Wild the deuces are wild cards.
BENCHMARK_CAPTURE(HandAllHolds, NaturalHand, 0, kNineSixJacks)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(HandAllHolds, DeucesHand, 4, kFullPayDeuces)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(WholeGame, NineSixJacks, 0, kNineSixJacks)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
BENCHMARK_CAPTURE(WholeGame, FullPayDeuces, 4, kFullPayDeuces)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
