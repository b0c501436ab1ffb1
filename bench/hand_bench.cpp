// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later

// Time of the full analysis of one dealt hand (all 32 holds) over a fixed set of 10,000
// random hands, and of the whole-game run of one table on one and on two threads. Run the
// release build:
//   build/release/bench/tarnwick_bench --benchmark_repetitions=5

#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <vector>

#include "engine/games.h"
#include "engine/poker_engine.h"
#include "engine/wild_engine.h"

namespace {

using namespace tarnwick;

// Hands dealt from the game's deck: 52 cards and its jokers (codes -1, -2).
std::vector<std::array<int, kHandSize>> FixedHands(int jokers) {
  std::mt19937_64 random(5);
  std::vector<std::array<int, kHandSize>> hands(10000);
  std::vector<int> deck;
  for (auto& hand : hands) {
    deck.clear();
    for (int i = 0; i < 52; ++i) deck.push_back(i);
    for (int j = 1; j <= jokers; ++j) deck.push_back(-j);
    std::shuffle(deck.begin(), deck.end(), random);
    std::copy(deck.begin(), deck.begin() + kHandSize, hand.begin());
  }
  return hands;
}

// Times the analysis of one dealt hand (all 32 holds), cycling through the fixed hands.
void HandAllHolds(benchmark::State& state, int gameId, const std::vector<int32_t>& pays) {
  const TCatalogue games = BuildCatalogue();
  const TPokerDescription& game = *FindGame(games, gameId);
  const auto engine = CreateEngineForGame(game);
  TPayout table;
  std::copy(pays.begin(), pays.end(), table.Pays.begin());
  engine->SetPayout(&table);
  const auto hands = FixedHands(game.JokerCount);
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

// Times "Calculate overall permutations": every deal class of the game, on the number of
// threads given as the benchmark's argument.
void WholeGame(benchmark::State& state, int gameId, const std::vector<int32_t>& pays) {
  const TCatalogue games = BuildCatalogue();
  const TPokerDescription& game = *FindGame(games, gameId);
  const auto engine = CreateEngineForGame(game);
  TPayout table;
  std::copy(pays.begin(), pays.end(), table.Pays.begin());
  engine->SetPayout(&table);
  engine->SetThreadCount(static_cast<int>(state.range(0)));
  for (auto _ : state) engine->CalcGameAdvantage();
  const int64_t n = game.DeckSize();
  if (table.DealTotal() != n * (n - 1) * (n - 2) * (n - 3) * (n - 4) / 120) {
    state.SkipWithError("the run did not count every deal");
  }
  state.SetLabel("one iteration = one whole-game run; argument = threads");
}

const std::vector<int32_t> kNineSixJacks = {800, 50, 25, 9, 6, 4, 3, 2, 1};
const std::vector<int32_t> kFullPayDeuces = {800, 200, 25, 15, 9, 5, 3, 2, 2, 1};
const std::vector<int32_t> kJokerKings = {800, 200, 100, 50, 20, 7, 5, 3, 2, 1, 1};
const std::vector<int32_t> kDoubleJoker = {800, 100, 50, 25, 9, 5, 4, 3, 2, 1};

// A whole-game run once on one and once on two threads, in wall-clock time.
void OneAndTwoThreads(benchmark::internal::Benchmark* run) {
  run->Unit(benchmark::kMillisecond)->Iterations(1)->Arg(1)->Arg(2)->UseRealTime();
}

// In the fixed hands of Deuces Wild the deuces are wild cards; the joker games deal from
// 53 and 54 cards.
BENCHMARK_CAPTURE(HandAllHolds, NaturalHand, 0, kNineSixJacks)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(HandAllHolds, DeucesHand, 4, kFullPayDeuces)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(HandAllHolds, JokerHand, 3, kJokerKings)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(HandAllHolds, DoubleJokerHand, 8, kDoubleJoker)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(WholeGame, NineSixJacks, 0, kNineSixJacks)->Apply(OneAndTwoThreads);
BENCHMARK_CAPTURE(WholeGame, FullPayDeuces, 4, kFullPayDeuces)->Apply(OneAndTwoThreads);
BENCHMARK_CAPTURE(WholeGame, JokerKings, 3, kJokerKings)->Apply(OneAndTwoThreads);
BENCHMARK_CAPTURE(WholeGame, DoubleJoker, 8, kDoubleJoker)->Apply(OneAndTwoThreads);

}  // namespace

BENCHMARK_MAIN();
