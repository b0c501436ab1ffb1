// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench_command.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <nlohmann/json.hpp>
#include <random>

#include "cli_input.h"
#include "engine/wild_engine.h"
#include "errors.h"
#include "session/practice.h"
#include "stats/bankroll.h"
#include "stats/multi_play.h"
#include "stats/statistics.h"
#include "stats/strategy.h"

namespace tarnwick::cli {

namespace {

using Json = nlohmann::ordered_json;
using TClock = std::chrono::steady_clock;

constexpr int kHandsPerFamily = 10000;
constexpr int kPracticeHands = 2000;

// A whole-game run of one fixed pay table.
struct TGameRun {
  const char* Part;
  const char* Title;
  int GameId;
  std::vector<int32_t> Pays;
};

const std::array<TGameRun, 7>& GameRuns() {
  static const std::array<TGameRun, 7> runs = {{
      {"jacks", "Jacks or better 9/6", 0, {800, 50, 25, 9, 6, 4, 3, 2, 1}},
      {"deuces", "Deuces Wild, full pay", 4, {800, 200, 25, 15, 9, 5, 3, 2, 2, 1}},
      {"joker", "Joker Wild (KINGS+) 20/7/5", 3, {800, 200, 100, 50, 20, 7, 5, 3, 2, 1, 1}},
      {"double-joker", "Double Joker Poker 9/5/4", 8, {800, 100, 50, 25, 9, 5, 4, 3, 2, 1}},
      // The kicker games against the bonus game they extend.
      {"kicker", "Double Bonus 10/7/5", 2, {800, 50, 160, 80, 50, 10, 7, 5, 3, 1, 1}},
      {"kicker", "Double Double Bonus 9/6", 35, {800, 50, 400, 160, 160, 80, 50, 9, 6, 4, 3, 1, 1}},
      {"kicker", "Triple Double Bonus 9/7", 36, {800, 50, 800, 400, 160, 80, 50, 9, 7, 4, 2, 1, 1}},
  }};
  return runs;
}

// The families of the dealt hands, with the tables of the whole-game runs.
struct THandFamily {
  const char* Name;
  int GameId;
  const std::vector<int32_t>& Pays;
};

std::array<THandFamily, 4> HandFamilies() {
  const auto& runs = GameRuns();
  return {{{"natural", 0, runs[0].Pays},
           {"deuces", 4, runs[1].Pays},
           {"one joker", 3, runs[2].Pays},
           {"two jokers", 8, runs[3].Pays}}};
}

// Dealt hands drawn from the game's full deck (jokers are codes -1 and -2) by a partial
// Fisher-Yates shuffle written out here, so that the hands are the same with every
// standard library.
std::vector<std::array<int, kHandSize>> FixedHands(const TPokerDescription& game, uint64_t seed) {
  std::mt19937_64 random(seed);
  std::vector<int> deck;
  for (int code = 0; code < 52; ++code) deck.push_back(code);
  for (int joker = 1; joker <= game.JokerCount; ++joker) deck.push_back(-joker);
  std::vector<std::array<int, kHandSize>> hands(kHandsPerFamily);
  for (auto& hand : hands) {
    for (size_t i = 0; i < kHandSize; ++i) {
      const size_t pick = i + static_cast<size_t>(random() % (deck.size() - i));
      std::swap(deck[i], deck[pick]);
      hand[i] = deck[i];
    }
  }
  return hands;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

std::string SecondsText(double seconds) {
  return Format("%.3f s", seconds);
}

}  // namespace

const std::vector<std::string>& BenchPartNames() {
  static const std::vector<std::string> names = {"jacks",    "deuces",   "joker",  "double-joker",
                                                 "hands",    "practice", "charts", "multiplay",
                                                 "strategy", "kicker"};
  return names;
}

void TSignature::Add(int64_t value) {
  auto bits = static_cast<uint64_t>(value);
  for (int i = 0; i < 8; ++i) {
    hash_ ^= bits & 0xFFu;
    hash_ *= 1099511628211ull;
    bits >>= 8;
  }
}

std::string TSignature::Hex() const {
  char text[17];
  std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash_));
  return text;
}

int RunBench(const TCatalogue& games, const TBenchOptions& options, std::ostream& out) {
  const auto& known = BenchPartNames();
  for (const std::string& part : options.Parts) {
    if (std::find(known.begin(), known.end(), part) == known.end()) {
      throw InputError("unknown bench part '" + part +
                       "' (parts: jacks, deuces, joker, double-joker, hands, practice, charts, "
                       "multiplay, strategy, kicker)");
    }
  }
  if (options.Repeat < 1 || options.Repeat > 100) {
    throw InputError("--repeat " + std::to_string(options.Repeat) + " is not 1..100");
  }
  // The charts and multi-play run only when asked for: the default parts are the ones that
  // count.
  const auto wanted = [&](const std::string& part) {
    return (options.Parts.empty() && part != "charts" && part != "multiplay" &&
            part != "strategy" && part != "kicker") ||
           std::find(options.Parts.begin(), options.Parts.end(), part) != options.Parts.end();
  };
  // Runs `body` Repeat times; each run must give the same signature.
  const auto repeated = [&](const std::string& part, const auto& body, TSignature& signature) {
    std::vector<double> seconds;
    for (int r = 0; r < options.Repeat; ++r) {
      TSignature run;
      seconds.push_back(body(run));
      if (r == 0) {
        signature = run;
      } else if (run.Value() != signature.Value()) {
        throw TarnwickError("bench part " + part + ": the counts differ between two runs");
      }
    }
    return Median(seconds);
  };

  TSignature total;
  Json parts = Json::array();
  int threads = 0;
  if (!options.Json) {
    out << "tarnwick-cli bench, "
        << (options.Repeat == 1 ? "one run"
                                : "median of " + std::to_string(options.Repeat) + " runs")
        << " per part\n";
  }
  double bonusSeconds = 0;  // Double Bonus, the first run of the kicker part
  for (const TGameRun& run : GameRuns()) {
    if (!wanted(run.Part)) continue;
    const TPokerDescription& game = *FindGame(games, run.GameId);
    TSignature signature;
    const double seconds = repeated(
        run.Part,
        [&](TSignature& counts) {
          const auto engine = CreateEngineForGame(game);
          engine->SetThreadCount(options.Threads);
          threads = engine->RunThreadCount();
          TPayout table = MakePayout(game, run.Pays);
          engine->SetPayout(&table);
          const auto start = TClock::now();
          engine->CalcGameAdvantage();
          const double elapsed = std::chrono::duration<double>(TClock::now() - start).count();
          for (int d = 0; d <= kHandSize; ++d) {
            counts.Add(table.Deals[d]);
            for (int c = 0; c <= table.LastCategory; ++c) counts.Add(table.Counts[d][c]);
          }
          return elapsed;
        },
        signature);
    total.Add(static_cast<int64_t>(signature.Value()));
    // A kicker game's time as a multiple of Double Bonus's.
    const bool kicker = std::string_view(run.Part) == "kicker";
    if (kicker && run.GameId == 2) bonusSeconds = seconds;
    const double ratio = kicker && bonusSeconds > 0 ? seconds / bonusSeconds : 0;
    if (options.Json) {
      Json part = {{"part", run.Part},   {"title", run.Title}, {"game", run.GameId},
                   {"threads", threads}, {"seconds", seconds}, {"signature", signature.Hex()}};
      if (kicker) part["ofDoubleBonus"] = ratio;
      parts.push_back(part);
    } else {
      char line[200];
      std::snprintf(
          line, sizeof line, "  %-28s whole game, %d thread%s  %9s   signature %s%s\n", run.Title,
          threads, threads == 1 ? " " : "s", SecondsText(seconds).c_str(), signature.Hex().c_str(),
          kicker && run.GameId != 2 ? Format("   %.2f x Double Bonus", ratio).c_str() : "");
      out << line;
    }
  }

  if (wanted("hands")) {
    TSignature signature;
    Json perHand = Json::object();
    std::string text;
    for (const THandFamily& family : HandFamilies()) {
      const TPokerDescription& game = *FindGame(games, family.GameId);
      const auto hands = FixedHands(game, 20240607u + static_cast<uint64_t>(family.GameId));
      const double seconds = repeated(
          "hands",
          [&](TSignature& counts) {
            const auto engine = CreateEngineForGame(game);
            TPayout table = MakePayout(game, family.Pays);
            engine->SetPayout(&table);
            // The timed pass only analyses; a second pass reads the counts.
            int bestSum = 0;
            const auto start = TClock::now();
            for (const auto& hand : hands) {
              engine->DealCards(hand);
              bestSum += engine->GetTheBest();
            }
            const double elapsed = std::chrono::duration<double>(TClock::now() - start).count();
            for (const auto& hand : hands) {
              engine->DealCards(hand);
              counts.Add(engine->GetTheBest());
              for (int mask = 0; mask < kMaskCount; ++mask) {
                for (int c = 0; c <= engine->LastCategory; ++c)
                  counts.Add(engine->CategoryDraws[mask][c]);
              }
            }
            counts.Add(bestSum);
            return elapsed;
          },
          signature);
      const double micros = seconds * 1e6 / kHandsPerFamily;
      perHand[family.Name] = micros;
      text += std::string(text.empty() ? "" : ", ") + family.Name + Format(" %.2f us", micros);
    }
    total.Add(static_cast<int64_t>(signature.Value()));
    if (options.Json) {
      parts.push_back({{"part", "hands"},
                       {"hands", kHandsPerFamily},
                       {"microsecondsPerHand", perHand},
                       {"signature", signature.Hex()}});
    } else {
      out << "  Dealt hands, all 32 holds, " << kHandsPerFamily << " of each family: " << text
          << "   signature " << signature.Hex() << '\n';
    }
  }

  if (wanted("practice")) {
    // Practice sessions of fixed seeds: each hand is dealt, graded, drawn and paid, as the
    // practice window does from one deal to the verdict shown after the draw. Every third
    // hold is a fixed other one, so mistakes are graded too.
    TSignature signature;
    Json perHand = Json::object();
    Json slowest = Json::object();
    std::string text;
    for (const THandFamily& family : HandFamilies()) {
      const TPokerDescription& game = *FindGame(games, family.GameId);
      const TPayout table = MakePayout(game, family.Pays);
      std::vector<double> worst;
      const double seconds = repeated(
          "practice",
          [&](TSignature& counts) {
            TPracticeSession session(game, table, 5,
                                     20240607u + static_cast<uint64_t>(family.GameId));
            double longest = 0;
            const auto start = TClock::now();
            for (int hand = 0; hand < kPracticeHands; ++hand) {
              const auto begin = TClock::now();
              session.Deal();
              const int best = session.Grade(0).BestMask;
              const TPracticeHand& played = session.Draw(hand % 3 == 2 ? hand % kMaskCount : best);
              longest =
                  std::max(longest, std::chrono::duration<double>(TClock::now() - begin).count());
              counts.Add(best);
              counts.Add(played.Verdict.Mistake() ? 1 : 0);
              counts.Add(played.Category);
              counts.Add(played.Pay);
            }
            const double elapsed = std::chrono::duration<double>(TClock::now() - start).count();
            worst.push_back(longest);
            return elapsed;
          },
          signature);
      const double micros = seconds * 1e6 / kPracticeHands;
      const double most = Median(worst) * 1e6;
      perHand[family.Name] = micros;
      slowest[family.Name] = most;
      text += std::string(text.empty() ? "" : ", ") + family.Name + Format(" %.2f us", micros) +
              Format(" (at most %.0f us)", most);
    }
    total.Add(static_cast<int64_t>(signature.Value()));
    if (options.Json) {
      parts.push_back({{"part", "practice"},
                       {"hands", kPracticeHands},
                       {"microsecondsPerHand", perHand},
                       {"slowestHandMicroseconds", slowest},
                       {"signature", signature.Hex()}});
    } else {
      out << "  Practice, deal to graded verdict, " << kPracticeHands
          << " hands of each family: " << text << "   signature " << signature.Hex() << '\n';
    }
  }

  if (wanted("charts")) {
    // Bonus Deuces Wild has 13 pay categories, the most of any game, and pays up to 800 bets,
    // so its results spread over the whole grid. Its whole-game counts are made untimed.
    const TPokerDescription& bonus = *FindGame(games, 7);
    TPayout table =
        MakePayout(bonus, std::vector<int32_t>{800, 400, 200, 25, 80, 40, 20, 10, 4, 3, 3, 1, 1});
    const auto engine = CreateEngineForGame(bonus);
    engine->SetPayout(&table);
    engine->CalcGameAdvantage();
    engine->SetPayout(nullptr);
    const std::vector<std::string> names(bonus.CategoryNames.begin(),
                                         bonus.CategoryNames.begin() + bonus.LastCategory + 1);
    TProgress quiet;
    const auto timed = [&](const auto& body) {
      std::vector<double> seconds;
      for (int r = 0; r < options.Repeat; ++r) {
        const auto start = TClock::now();
        body();
        seconds.push_back(std::chrono::duration<double>(TClock::now() - start).count());
      }
      return Median(seconds);
    };
    const double distribution = timed([&] {
      TResultDistribution result;
      ComputeResultDistribution(table, kMaxRunHands, 1, result, quiet);
    });
    const double ruin = timed([&] {
      TRuinCurves curves;
      ComputeRiskOfRuin(table, 1000, kMaxBankroll, 1, curves, quiet);
    });
    const double statistics = timed([&] { BuildStatisticsTable(names, table, 600); });
    if (options.Json) {
      parts.push_back({{"part", "charts"},
                       {"distribution4000Seconds", distribution},
                       {"riskOfRuinSeconds", ruin},
                       {"statisticsTableSeconds", statistics}});
    } else {
      out << "  Bonus Deuces Wild charts: result distribution of 4000 hands "
          << SecondsText(distribution) << ", risk of ruin 1000 to 1500 coins " << SecondsText(ruin)
          << ", statistics table " << Format("%.3f ms", statistics * 1000) << '\n';
    }
  }

  if (wanted("multiplay")) {
    // What `multiplay` computes: the whole game with its deal groups, then the distribution
    // of one deal on N lines. 100 lines of full-pay Deuces Wild, and 10 lines of every game
    // with a table of falling pays (800, 400, 200, ... down to 1), all different.
    const auto timedLines = [&](const TPokerDescription& game, const std::vector<int32_t>& pays,
                                int lines) {
      std::vector<double> seconds;
      for (int r = 0; r < options.Repeat; ++r) {
        const auto start = TClock::now();
        const auto engine = CreateEngineForGame(game);
        engine->SetThreadCount(options.Threads);
        TPayout table = MakePayout(game, pays);
        TDealGroups groups;
        ComputeWithGroups(*engine, table, groups);
        ComputeDealDistribution(groups, table, lines, 0, nullptr, options.Threads);
        seconds.push_back(std::chrono::duration<double>(TClock::now() - start).count());
      }
      return Median(seconds);
    };
    const double deuces = timedLines(*FindGame(games, 4), GameRuns()[1].Pays, 100);
    double slowest = 0;
    std::string slowestGame;
    for (const auto& game : games) {
      std::vector<int32_t> pays;
      for (int c = 0; c <= game->LastCategory; ++c) pays.push_back(std::max(800 >> c, 1));
      const double seconds = timedLines(*game, pays, 10);
      if (seconds > slowest) {
        slowest = seconds;
        slowestGame = game->Name;
      }
    }
    if (options.Json) {
      parts.push_back({{"part", "multiplay"},
                       {"deuces100LinesSeconds", deuces},
                       {"slowest10LinesSeconds", slowest},
                       {"slowest10LinesGame", slowestGame}});
    } else {
      out << "  Multi-play: full-pay Deuces Wild on 100 lines " << SecondsText(deuces)
          << ", 10 lines of every game at most " << SecondsText(slowest) << " (" << slowestGame
          << ")\n";
    }
  }

  if (wanted("strategy")) {
    // What `strategy` computes: the whole game with the lines of every hold, then the search
    // for a list of the level. 9/6 Jacks or better and full-pay Deuces Wild at the advanced
    // and expert levels, and the advanced level of every game with a table of falling pays.
    const auto timedCard = [&](const TPokerDescription& game, const std::vector<int32_t>& pays,
                               int lines) {
      std::vector<double> seconds;
      for (int r = 0; r < options.Repeat; ++r) {
        const auto start = TClock::now();
        GenerateForTable(game, MakePayout(game, pays), lines, nullptr, options.Threads);
        seconds.push_back(std::chrono::duration<double>(TClock::now() - start).count());
      }
      return Median(seconds);
    };
    const int advanced = LevelLines(TStrategyLevel::Advanced);
    const double jacks = timedCard(*FindGame(games, 0), GameRuns()[0].Pays, advanced);
    const double jacksExpert = timedCard(*FindGame(games, 0), GameRuns()[0].Pays, 0);
    const double deuces = timedCard(*FindGame(games, 4), GameRuns()[1].Pays, advanced);
    const double deucesExpert = timedCard(*FindGame(games, 4), GameRuns()[1].Pays, 0);
    std::array<double, 2> slowest{};  // natural, wild
    std::array<std::string, 2> slowestGame;
    for (const auto& game : games) {
      std::vector<int32_t> pays;
      for (int c = 0; c <= game->LastCategory; ++c) pays.push_back(std::max(800 >> c, 1));
      const double seconds = timedCard(*game, pays, advanced);
      const size_t kind = game->IsNatural() ? 0 : 1;
      if (seconds > slowest[kind]) {
        slowest[kind] = seconds;
        slowestGame[kind] = game->Name;
      }
    }
    if (options.Json) {
      parts.push_back({{"part", "strategy"},
                       {"jacksAdvancedSeconds", jacks},
                       {"jacksExpertSeconds", jacksExpert},
                       {"deucesAdvancedSeconds", deuces},
                       {"deucesExpertSeconds", deucesExpert},
                       {"slowestNaturalSeconds", slowest[0]},
                       {"slowestNaturalGame", slowestGame[0]},
                       {"slowestWildSeconds", slowest[1]},
                       {"slowestWildGame", slowestGame[1]}});
    } else {
      out << "  Strategy cards: 9/6 Jacks or better advanced " << SecondsText(jacks) << ", expert "
          << SecondsText(jacksExpert) << "; full-pay Deuces Wild advanced " << SecondsText(deuces)
          << ", expert " << SecondsText(deucesExpert) << "\n  advanced of every game at most "
          << SecondsText(slowest[0]) << " without wild cards (" << slowestGame[0] << "), "
          << SecondsText(slowest[1]) << " with them (" << slowestGame[1] << ")\n";
    }
  }

  if (options.Json) {
    const Json report = {{"repeat", options.Repeat}, {"parts", parts}, {"signature", total.Hex()}};
    out << report.dump(2) << '\n';
  } else {
    out << "Signature " << total.Hex() << '\n';
  }
  return 0;
}

}  // namespace tarnwick::cli
