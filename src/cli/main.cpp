// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later

// tarnwick-cli: the scriptable face of the Tarnwick core.

#include <CLI/CLI.hpp>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <iostream>
#include <limits>
#include <string>
#include <vector>

#include "bench_command.h"
#include "cli_input.h"
#include "commands.h"
#include "engine/poker_engine.h"
#include "errors.h"
#include "multiplay_command.h"
#include "practice_command.h"
#include "report_commands.h"
#include "session/practice.h"
#include "session/preferences.h"
#include "stats/bankroll.h"
#include "stats/multi_play.h"
#include "stats/statistics.h"
#include "strategy_command.h"
#include "table_commands.h"
#include "terminal_progress.h"

namespace {

constexpr int kFailureExit = 1;
constexpr int kInputErrorExit = 2;
constexpr int kInterruptedExit = 130;

int Fail(const std::string& message) {
  std::cerr << "tarnwick-cli: error: " << message << '\n';
  return kInputErrorExit;
}

// Engine errors carry one context line per step, separated by "\r\n".
std::string WithoutCarriageReturns(std::string text) {
  for (size_t at = text.find('\r'); at != std::string::npos; at = text.find('\r', at))
    text.erase(at, 1);
  return text;
}

// A number as the help shows a range: "1..5", "0..1e+09".
template <class T>
std::string NumberText(T value) {
  if constexpr (std::is_integral_v<T>) {
    return std::to_string(value);
  } else {
    char text[32];
    std::snprintf(text, sizeof text, "%g", static_cast<double>(value));
    return text;
  }
}

// A number option: one word read as a plain decimal number of the target's type within
// min..max (for a floating-point target, a finite one). No octal or hexadecimal forms, no
// exponent in a whole number, no sign but a leading minus, no wrap-around of a negative
// number into a huge unsigned one and no number too large for the type: anything else is a
// usage error naming the option, the word and the range. The help shows the range, and the
// default that default_val sets.
template <class T>
CLI::Option* AddNumberOption(CLI::App* command, const std::string& names, T& target,
                             const std::string& description, T min, T max) {
  const std::string name = names.substr(0, names.find(','));
  const std::string range = NumberText(min) + ".." + NumberText(max);
  const auto parse = [&target, name, range, min, max](const CLI::results_t& words) {
    const std::string& word = words.front();
    T value{};
    const char* end = word.data() + word.size();
    const auto [at, error] = std::from_chars(word.data(), end, value);
    bool valid = !word.empty() && error == std::errc() && at == end;
    if constexpr (std::is_floating_point_v<T>) valid = valid && std::isfinite(value);
    if (!valid || value < min || value > max) {
      throw CLI::ValidationError(name + " " + word + " is not a " +
                                 (std::is_integral_v<T> ? "whole " : "") + "number in " + range);
    }
    target = value;
    return true;
  };
  CLI::Option* option = command->add_option(names, parse, description, false,
                                            [&target] { return NumberText(target); });
  option->type_name((std::is_integral_v<T> ? "INT " : "NUMBER ") + range);
  option->type_size(1, 1);
  option->expected(1);
  option->run_callback_for_default();
  return option;
}

void AddTableOptions(CLI::App* command, tarnwick::cli::TTableOptions& options) {
  command->add_option("--game,-g", options.Game, "Game number or name (see 'games')")->required();
  command
      ->add_option("--pays,-p", options.Pays,
                   "One pay per category in category order, whole coins for --basis coins")
      ->required();
  AddNumberOption(command, "--basis,-b", options.Basis, "The pays are given for this many coins", 1,
                  tarnwick::kMaxCoins)
      ->default_val(1);
}

void AddThreadsOption(CLI::App* command, int& threads) {
  AddNumberOption(command, "--threads,-t", threads,
                  "Threads of the whole-game run (default 0: one per hardware thread)", 0,
                  tarnwick::kMaxThreads)
      ->default_val(0);
}

void AddDataOption(CLI::App* command, tarnwick::cli::TTableOptions& options) {
  command->add_option("--data,-d", options.Data,
                      "Folder of Tarnwick.dat (default: the program's folder, or "
                      "$XDG_DATA_HOME/tarnwick where that is not writable)");
}

int Run(int argc, char** argv) {
  using namespace tarnwick;
  CLI::App app{"Tarnwick: exact odds for five-card draw video poker", "tarnwick-cli"};
  app.require_subcommand(1);
  app.footer(
      "Exit status: 0 done; 1 failed (one line on stderr says why: a data file that cannot be "
      "read or written, a computed return that differs from a published one); 2 bad input or "
      "usage; 3 done, but the data file was damaged (what could be read was used, and a copy of "
      "the file is kept before it is replaced); 130 interrupted (nothing stored, unless the "
      "message says a save under way was finished first).");

  bool json = false;
  CLI::App* games = app.add_subcommand("games", "List every game with its categories in pay order");
  games->add_flag("--json", json, "Print JSON");

  std::string gameText;
  std::string paysText;
  std::vector<std::string> cardWords;
  CLI::App* hand = app.add_subcommand("hand", "Analyse all 32 holds of a dealt hand exactly");
  hand->add_option("--game,-g", gameText, "Game number or name (see 'games')")->required();
  hand->add_option(
          "--pays,-p", paysText,
          "One pay per category in category order, whole coins for one coin: 800,50,25,...")
      ->required();
  hand->add_option("cards", cardWords, "Five cards such as AS KH 10D 2c; JK is a joker")
      ->required();
  hand->add_flag("--json", json, "Print JSON");

  cli::TTableOptions options;
  CLI::App* returns = app.add_subcommand(
      "return",
      "Compute a pay table's exact return over every deal played the best way (JSON "
      "'return' and the chances are fractions; Ctrl+C aborts)");
  AddTableOptions(returns, options);
  returns->add_flag("--json", options.Json, "Print JSON");
  returns->add_flag("--quiet,-q", options.Quiet, "No progress bar");
  AddThreadsOption(returns, options.Threads);

  CLI::App* tables = app.add_subcommand("tables", "List the pay tables stored in the data file");
  AddDataOption(tables, options);
  tables->add_option("--game,-g", options.GameFilter, "Only the tables of this game");
  tables->add_flag("--json", options.Json, "Print JSON");

  CLI::App* add = app.add_subcommand(
      "add", "Compute a pay table and store it in the data file, unless an equal one is stored");
  AddTableOptions(add, options);
  AddDataOption(add, options);
  add->add_flag("--quiet,-q", options.Quiet, "No progress bar");
  AddThreadsOption(add, options.Threads);

  CLI::App* paths = app.add_subcommand(
      "paths", "Show where the settings, the pay tables and the language files are");
  paths->add_flag("--json", json, "Print JSON");
  std::string languageCode;
  CLI::App* language = app.add_subcommand(
      "language", "List the user-interface languages, or choose one for the desktop program");
  language->add_option("code", languageCode, "Three-letter language code such as DEU");

  CLI::App* import = app.add_subcommand(
      "import",
      "Compute the tables of a pay table list (such as data/paytables.csv) and store those the "
      "data file lacks; fails when a computed return differs from a published one");
  import->add_option("list", options.ListFile, "The pay table list (CSV)")->required();
  AddDataOption(import, options);
  import->add_flag("--replace", options.Replace, "Start from an empty data file");
  import->add_flag("--quiet,-q", options.Quiet, "No progress bar");
  AddThreadsOption(import, options.Threads);

  CLI::App* remove = app.add_subcommand("delete", "Delete a stored pay table");
  AddDataOption(remove, options);
  AddNumberOption(remove, "--index,-i", options.Index, "The table's index (see 'tables')", 0,
                  std::numeric_limits<int>::max())
      ->required();

  CLI::App* stats = app.add_subcommand(
      "stats",
      "The statistics table of a pay table: hands, probability and return of every category by "
      "the cards the best hold keeps, and how often each occurs");
  AddTableOptions(stats, options);
  AddDataOption(stats, options);
  AddNumberOption(stats, "--speed", options.Speed, "Hands per hour for the occurrence times",
                  kMinSpeed, kMaxSpeed)
      ->default_val(600);
  stats->add_option("--view", options.View, "hands, probability or return")->default_val("hands");
  stats->add_flag("--csv", options.Csv, "Print CSV");
  stats->add_flag("--json", options.Json, "Print JSON (every view)");
  stats->add_flag("--quiet,-q", options.Quiet, "No progress bar");
  AddThreadsOption(stats, options.Threads);

  CLI::App* holds = app.add_subcommand(
      "holds", "How the draws of each of the 32 holds of a dealt hand end, category by category");
  holds->add_option("--game,-g", gameText, "Game number or name (see 'games')")->required();
  holds->add_option("--pays,-p", paysText, "One pay per category in category order")->required();
  holds->add_option("cards", cardWords, "Five cards such as AS KH 10D 2c; JK is a joker")
      ->required();
  holds->add_option("--view", options.View, "hands, probability or return")->default_val("hands");
  holds->add_flag("--json", options.Json, "Print JSON (every view)");

  std::string chart;
  CLI::App* bankroll =
      app.add_subcommand("bankroll", "Exact bankroll figures of a pay table played the best way");
  bankroll->require_subcommand(1);
  // How the charts count a run that reaches an end of their grid.
  const std::string gridNote =
      "The charts follow the net result from -500 to +1500 bets: a run that falls to -500\n"
      "bets counts as behind (a loss) from then on, and one that reaches +1500 bets counts as\n"
      "ahead (a win) from then on. With --lines, a hand is one deal, a bet one line's bet, and\n"
      "the grid is that many times wider (at most 20 times).";
  bankroll->footer(gridNote);
  const auto addChart = [&](const char* name, const char* description) {
    CLI::App* command = bankroll->add_subcommand(name, description);
    command->footer(gridNote);
    AddTableOptions(command, options);
    AddDataOption(command, options);
    AddNumberOption(command, "--coins,-c", options.Coins, "Coins played per hand", 1, kMaxCoins)
        ->default_val(1);
    AddNumberOption(command, "--lines,-l", options.Lines,
                    "Lines drawn from each deal: a hand is one deal and a bet one line's bet", 1,
                    kMaxLines)
        ->default_val(1);
    AddNumberOption(command, "--cashback", options.CashBack,
                    "Cash back in percent of the coins bet, added to every result", 0.0,
                    kMaxCashBack)
        ->default_val(0);
    command->add_flag("--json", options.Json, "Print JSON instead of CSV");
    command->add_flag("--quiet,-q", options.Quiet, "No progress bar");
    AddThreadsOption(command, options.Threads);
    command->callback([&chart, name] { chart = name; });
    return command;
  };
  AddNumberOption(addChart("distribution", "Probability of every net result after --hands hands"),
                  "--hands,-n", options.Hands, "Hands played", 1, kMaxRunHands)
      ->default_val(100);
  addChart("winloss", "Chances of being ahead, even or behind after each of 2000 hands");
  CLI::App* ruin =
      addChart("ruin", "Risk of ruin and chance to reach the desired bankroll over 2000 hands");
  AddNumberOption(ruin, "--initial", options.Initial, "Initial bankroll in coins", 1, kMaxBankroll)
      ->default_val(30);
  AddNumberOption(ruin, "--desired", options.Desired, "Desired bankroll in coins", 1, kMaxBankroll)
      ->default_val(60);

  cli::TMultiPlayOptions multi;
  CLI::App* multiplay = app.add_subcommand(
      "multiplay",
      "One deal drawn on several lines, played the best way: the exact distribution of its net "
      "result, the variance per deal, the covariance of two lines and the risk of ruin");
  AddTableOptions(multiplay, multi.Table);
  AddNumberOption(multiplay, "--coins,-c", multi.Table.Coins, "Coins played per line", 1, kMaxCoins)
      ->default_val(1);
  AddNumberOption(multiplay, "--lines,-l", multi.Lines, "Lines drawn from each deal", 1, kMaxLines)
      ->required();
  AddNumberOption(multiplay, "--cashback", multi.CashBack,
                  "Cash back in percent of the coins bet, added to every result", 0.0, kMaxCashBack)
      ->default_val(0);
  multiplay->add_flag("--ruin", multi.Ruin,
                      "Also the chance to go broke within --hands deals from --bankroll");
  AddNumberOption(multiplay, "--bankroll", multi.Bankroll,
                  "Starting bankroll in line bets (at least one deal's lines)", 0.0, 1e9);
  AddNumberOption(multiplay, "--hands,-n", multi.Hands, "Deals played for --ruin", 1, 100000);
  double target = 0;
  CLI::Option* targetOption = AddNumberOption(
      multiplay, "--target", target, "Stop on reaching this bankroll in line bets", 0.0, 1e9);
  double risk = 0;
  CLI::Option* riskOption =
      AddNumberOption(multiplay, "--bankroll-for", risk,
                      "The long-run bankroll in line bets for this risk of ruin in percent "
                      "(exact for one line, an upper bound for more)",
                      0.0, 100.0);
  AddNumberOption(multiplay, "--coin-value", multi.CoinValue,
                  "What one coin is worth: the long-run bankrolls show in money too", 0.0, 1000.0)
      ->default_val(0);
  multiplay->add_flag("--json", multi.Table.Json,
                      "Print JSON; 'distribution' lists [net result in line bets, probability] "
                      "for every possible result");
  multiplay->add_flag("--quiet,-q", multi.Table.Quiet, "No progress bar");
  AddThreadsOption(multiplay, multi.Table.Threads);
  multiplay->callback([&] {
    if (targetOption->count() > 0) multi.Target = target;
    if (riskOption->count() > 0) multi.BankrollRisk = risk;
  });

  cli::TStrategyOptions strategy;
  CLI::App* strategyCommand = app.add_subcommand(
      "strategy",
      "A strategy card for a pay table: a ranked list of hold lines with its exact return, cost "
      "and example hands; or a typed list scored the same way");
  AddTableOptions(strategyCommand, strategy.Table);
  strategyCommand
      ->add_option("--level", strategy.Level,
                   "beginner (at most 15 lines), intermediate (30), advanced (50) or expert (as "
                   "many as needed to come within 0.0001 % of perfect play)")
      ->default_val("advanced");
  AddNumberOption(strategyCommand, "--max-lines", strategy.MaxLines,
                  "At most this many lines (0: no limit), instead of --level", 0, 10000);
  strategyCommand->add_option("--evaluate", strategy.Evaluate,
                              "Score the list typed in this file (one line per row; - reads "
                              "the standard input) instead of generating one");
  strategyCommand
      ->add_option("--play", strategy.Play, "Five cards: the hold the list plays for them")
      ->expected(kHandSize);
  strategyCommand->add_flag("--json", strategy.Table.Json, "Print JSON");
  strategyCommand->add_flag("--quiet,-q", strategy.Table.Quiet, "No progress bar");
  AddThreadsOption(strategyCommand, strategy.Table.Threads);

  cli::TPracticeCommandOptions practice;
  CLI::App* practise = app.add_subcommand(
      "practice",
      "Play the hands of a seed with the holds of a file, as the practice window deals them, and "
      "grade every hold against the best one");
  AddTableOptions(practise, practice.Table);
  AddNumberOption(practise, "--coins,-c", practice.Table.Coins, "Coins played per hand", 1,
                  kMaxCoins)
      ->default_val(1);
  AddNumberOption(practise, "--seed,-s", practice.Seed, "The seed of the deals", uint64_t{0},
                  std::numeric_limits<uint64_t>::max())
      ->required();
  practise->add_option("--holds", practice.HoldsFile, "The holds, one line per hand ('-': stdin)")
      ->required();
  AddNumberOption(practise, "--hands,-n", practice.Hands, "Hands to play (default: one per hold)",
                  0, std::numeric_limits<int>::max());
  AddNumberOption(practise, "--hard", practice.Hard,
                  "Deal only hands whose two best holds are at most this many bets apart", 0.0,
                  kMaxHardWithin);
  AddNumberOption(practise, "--lines,-l", practice.Lines,
                  "Lines each hold is drawn on: 1, 3, 5 or 10", 1, kMaxPracticeLines);
  practise
      ->add_option(
          "--drill", practice.Drill,
          "Deal only hands offering both of two lines (in words: '4 to a flush' 'low pair')")
      ->expected(2);
  practise->add_option(
      "--strategy", practice.Strategy,
      "Grade every hold against a reference strategy too: a level (beginner, "
      "intermediate, advanced, expert; generated first) or a file of a typed list");
  practise->add_flag("--save", practice.Save, "Keep the session in the data folder's session file");
  AddDataOption(practise, practice.Table);
  practise->add_flag("--json", practice.Table.Json, "Print JSON");
  practise->footer(cli::kHoldsFileHelp);

  CLI::App* sessions =
      app.add_subcommand("sessions", "List the kept practice sessions with their figures");
  AddDataOption(sessions, options);
  sessions->add_flag("--json", options.Json, "Print JSON");

  cli::TBenchOptions bench;
  CLI::App* benchmark = app.add_subcommand(
      "bench",
      "Time the whole-game runs of four fixed pay tables and 10,000 fixed dealt hands of each "
      "family; the signature of their counts is the same for any number of threads");
  AddThreadsOption(benchmark, bench.Threads);
  benchmark
      ->add_option(
          "--part", bench.Parts,
          "Run only these parts: jacks, deuces, joker, double-joker, hands, practice, and charts, "
          "multiplay and strategy (timed only, not run by default) (repeatable)")
      ->check(CLI::IsMember(cli::BenchPartNames()));
  AddNumberOption(benchmark, "--repeat,-r", bench.Repeat,
                  "Runs of each part; the median time is shown", 1, 100)
      ->default_val(1);
  benchmark->add_flag("--json", bench.Json, "Print JSON");

  // An empty value ("--index ''", "--data ''") is a usage error like any other bad value,
  // never a quiet default.
  const CLI::Validator nonEmpty(
      [](std::string& value) { return value.empty() ? std::string("an empty value") : ""; }, "",
      "NONEMPTY");
  const std::function<void(CLI::App*)> requireValues = [&](CLI::App* command) {
    for (CLI::Option* option : command->get_options()) {
      if (option->get_type_size_min() > 0) option->check(nonEmpty);
    }
    for (CLI::App* sub : command->get_subcommands({})) requireValues(sub);
  };
  requireValues(&app);

  const auto isCommand = [&](const std::string& name) {
    for (const CLI::App* command : app.get_subcommands({})) {
      if (command->check_name(name)) return true;
    }
    return false;
  };
  if (argc > 1 && argv[1][0] != '-' && !isCommand(argv[1])) {
    return Fail(
        std::string("unknown command '") + argv[1] +
        "' (commands: games, hand, holds, return, stats, bankroll, tables, add, import, "
        "delete, practice, sessions, multiplay, strategy, paths, language, bench; see --help)");
  }
  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp& e) {
    return app.exit(e);
  } catch (const CLI::CallForAllHelp& e) {
    return app.exit(e);
  } catch (const CLI::ParseError& e) {
    return Fail(e.what());
  }

  try {
    const TCatalogue catalogue = BuildCatalogue();
    if (games->parsed()) return cli::RunGames(catalogue, json, std::cout);
    if (returns->parsed()) return cli::RunReturn(catalogue, options, std::cout);
    if (tables->parsed()) return cli::RunTables(catalogue, options, std::cout);
    if (add->parsed()) return cli::RunAdd(catalogue, options, std::cout);
    if (remove->parsed()) return cli::RunDelete(catalogue, options, std::cout);
    if (import->parsed()) return cli::RunImport(catalogue, options, std::cout);
    if (paths->parsed()) return cli::RunPaths(json, std::cout);
    if (language->parsed()) {
      const int code = cli::RunLanguage(languageCode, std::cout);
      ReleasePreferences();  // writes the settings file
      return code;
    }
    if (stats->parsed()) return cli::RunStats(catalogue, options, std::cout);
    if (bankroll->parsed()) return cli::RunBankroll(catalogue, chart, options, std::cout);
    if (benchmark->parsed()) return cli::RunBench(catalogue, bench, std::cout);
    if (practise->parsed()) return cli::RunPractice(catalogue, practice, std::cout);
    if (sessions->parsed()) return cli::RunSessions(options, std::cout);
    if (multiplay->parsed()) return cli::RunMultiPlay(catalogue, multi, std::cout);
    if (strategyCommand->parsed()) return cli::RunStrategy(catalogue, strategy, std::cout);
    const TPokerDescription& game = cli::ParseGame(catalogue, gameText);
    TPayout table = MakePayout(game, cli::ParsePays(paysText));
    const auto cards = cli::ParseHand(game, cardWords);
    if (holds->parsed()) return cli::RunHolds(game, table, cards, options, std::cout);
    return cli::RunHand(game, table, cards, json, std::cout);
  } catch (const InputError& e) {
    return Fail(e.what());
  } catch (const AbortError&) {
    std::cerr << "tarnwick-cli: aborted; nothing was stored\n";
    return kInterruptedExit;
  } catch (const cli::InterruptedAfterSave& e) {
    std::cerr << "tarnwick-cli: " << e.what() << '\n';
    return kInterruptedExit;
  } catch (const std::exception& e) {
    std::cerr << "tarnwick-cli: " << WithoutCarriageReturns(e.what()) << '\n';
    return kFailureExit;
  }
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return Run(argc, argv);
  } catch (const std::exception& e) {
    // Only a failure to set up the command line itself (such as no memory) comes here.
    std::cerr << "tarnwick-cli: " << e.what() << '\n';
    return kFailureExit;
  }
}
