// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later

// Time of the bankroll charts and of the statistics table once a table's whole-game counts
// exist. The tables are computed once, before the timing.

#include <benchmark/benchmark.h>

#include <vector>

#include "engine/games.h"
#include "engine/wild_engine.h"
#include "stats/bankroll.h"
#include "stats/statistics.h"

namespace {

using namespace tarnwick;

const TPayout& ComputedTable(int gameId, const std::vector<int32_t>& pays) {
  static std::vector<std::unique_ptr<TPayout>> tables;
  for (const auto& table : tables) {
    if (table->GameId == gameId) return *table;
  }
  const TCatalogue games = BuildCatalogue();
  auto table = std::make_unique<TPayout>();
  table->GameId = gameId;
  std::copy(pays.begin(), pays.end(), table->Pays.begin());
  const auto engine = CreateEngineForGame(*FindGame(games, gameId));
  engine->SetPayout(table.get());
  engine->CalcGameAdvantage();
  engine->SetPayout(nullptr);
  tables.push_back(std::move(table));
  return *tables.back();
}

// Bonus Deuces Wild has 13 pay categories, the most of any game, and pays up to 800 bets,
// so its results spread over the whole grid.
const TPayout& BonusDeuces() {
  return ComputedTable(7, {800, 400, 200, 25, 80, 40, 20, 10, 4, 3, 3, 1, 1});
}

void ResultDistribution4000(benchmark::State& state) {
  const TPayout& table = BonusDeuces();
  TProgress sink;
  for (auto _ : state) {
    TResultDistribution result;
    ComputeResultDistribution(table, 4000, 1, result, sink);
    benchmark::DoNotOptimize(result.Points.data());
  }
  state.SetLabel("4000 hands, 13 categories");
}

void RiskOfRuin1500(benchmark::State& state) {
  const TPayout& table = BonusDeuces();
  TProgress sink;
  for (auto _ : state) {
    TRuinCurves curves;
    ComputeRiskOfRuin(table, 1000, 1500, 1, curves, sink);
    benchmark::DoNotOptimize(curves.Ruin.data());
  }
  state.SetLabel("2000 hands, bankroll 1000 to 1500 coins");
}

void StatisticsTableOfJacks(benchmark::State& state) {
  const TPayout& table = ComputedTable(0, {800, 50, 25, 9, 6, 4, 3, 2, 1});
  const TCatalogue games = BuildCatalogue();
  const TPokerDescription& jacks = *FindGame(games, 0);
  std::vector<std::string> names;
  for (int c = 0; c <= jacks.LastCategory; ++c) names.push_back(jacks.CategoryName(c));
  for (auto _ : state) {
    const StatisticsTable stats = BuildStatisticsTable(names, table, 600);
    benchmark::DoNotOptimize(stats.HandsText[kTotalColumn][1].data());
  }
}

BENCHMARK(ResultDistribution4000)->Unit(benchmark::kMillisecond);
BENCHMARK(RiskOfRuin1500)->Unit(benchmark::kMillisecond);
BENCHMARK(StatisticsTableOfJacks)->Unit(benchmark::kMillisecond);

}  // namespace
