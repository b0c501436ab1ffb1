// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "strategy_command.h"

#include <unistd.h>

#include <iostream>
#include <nlohmann/json.hpp>

#include "cli_input.h"
#include "commands.h"
#include "engine/wild_engine.h"
#include "errors.h"
#include "session/practice.h"
#include "stats/strategy.h"
#include "terminal_progress.h"

namespace tarnwick::cli {

namespace {

using Json = nlohmann::ordered_json;

constexpr uint64_t kMaxStrategyBytes = 1 << 20;

std::string Percent(long double share, const char* format = "%.6f %%") {
  return Format(format, static_cast<double>(100 * share));
}

std::string DealText(const TPlayedDeal& deal) {
  return CardsText(deal.Cards, kFullDrawMask);
}

Json PlayedJson(const TPlayedDeal& deal) {
  return {{"cards", DealText(deal)},
          {"hold", HoldPattern(deal.DrawMask)},
          {"text", HoldAndDiscardText(deal.Cards, deal.DrawMask)},
          {"best", HoldPattern(deal.BestMask)},
          {"expectedReturn", static_cast<double>(deal.Expected)},
          {"bestReturn", static_cast<double>(deal.Best)}};
}

}  // namespace

int RunStrategy(const TCatalogue& games, const TStrategyOptions& options, std::ostream& out) {
  const TPokerDescription& game = ParseGame(games, options.Table.Game);
  int maxLines = options.MaxLines;
  std::string levelText = options.Level;
  if (maxLines < 0) {
    const auto level = ParseLevel(options.Level);
    if (!level)
      throw InputError("--level '" + options.Level +
                       "' is not beginner, intermediate, advanced or expert");
    maxLines = LevelLines(*level);
  } else {
    levelText = maxLines == 0 ? "no limit" : "at most " + std::to_string(maxLines) + " lines";
  }
  std::optional<std::array<int, kHandSize>> hand;
  if (!options.Play.empty()) hand = ParseHand(game, options.Play);
  const THoldNamer namer(game);
  TStrategy typed;
  std::vector<std::string> unread;
  if (!options.Evaluate.empty()) {
    const TStrategyParse parse =
        ParseStrategy(ReadInputFile(options.Evaluate, kMaxStrategyBytes, "strategy file"), namer);
    typed = parse.Strategy;
    unread = parse.Errors;
    if (typed.Rows.empty()) {
      throw InputError("the strategy file has no line that can be read" +
                       (unread.empty() ? std::string() : " (" + unread.front() + ")"));
    }
    for (const std::string& error : unread) std::cerr << "tarnwick-cli: " << error << '\n';
  }
  TPayout table = TableFromOptions(game, options.Table);

  const auto engine = CreateEngineForGame(game);
  engine->SetThreadCount(options.Table.Threads);
  TInterruptGuard guard;
  TTerminalProgress bar(std::cerr, !options.Table.Quiet && ::isatty(STDERR_FILENO) != 0);
  const TDealLines deals = TDealLines::Collect(*engine, table, namer, &bar);
  TStrategy strategy = typed;
  TStrategyReport report;
  if (options.Evaluate.empty()) {
    TGeneratedStrategy generated = GenerateStrategy(deals, namer, maxLines, &bar);
    strategy = std::move(generated.Strategy);
    report = std::move(generated.Report);
  } else {
    report = Evaluate(deals, strategy, namer);
  }

  if (hand) {
    const auto owner = AnalyseHand(game, table, *hand);
    owner->GetTheBest();
    const TStrategyHold hold = PlayStrategy(*owner, *hand, strategy, namer);
    const int best = owner->GetTheBest();
    const auto perCoin = [&](int mask) {
      return static_cast<double>(owner->DrawReturn(mask) / table.CoinBasis);
    };
    const std::string text = hold.Row < 0
                                 ? namer.Text(TLinePattern())
                                 : RowText(strategy.Rows[static_cast<size_t>(hold.Row)], namer);
    if (options.Table.Json) {
      out << Json({{"cards", CardsText(*hand, kFullDrawMask)},
                   {"hold", HoldPattern(hold.DrawMask)},
                   {"line", hold.Row + 1},
                   {"text", text},
                   {"holdLine", namer.Text(hold.Line)},
                   {"expectedReturn", perCoin(hold.DrawMask)},
                   {"best", HoldPattern(best)},
                   {"bestReturn", perCoin(best)}})
                 .dump(2)
          << '\n';
      return 0;
    }
    out << CardsText(*hand, kFullDrawMask) << ": hold " << HoldText(*hand, hold.DrawMask) << " by "
        << (hold.Row < 0 ? std::string("no line (draw five)")
                         : "line " + std::to_string(hold.Row + 1) + ", " + text)
        << "\n  expected return " << Format("%.6f", perCoin(hold.DrawMask)) << ", best hold "
        << HoldText(*hand, best) << " " << Format("%.6f", perCoin(best)) << '\n';
    return 0;
  }

  if (options.Table.Json) {
    Json lines = Json::array();
    for (const TRowReport& row : report.Rows) {
      Json line = {{"text", row.Text},
                   {"share", static_cast<double>(row.Share)},
                   {"lost", static_cast<double>(row.Lost)}};
      line["example"] = row.HasExample ? PlayedJson(row.Example) : Json(nullptr);
      lines.push_back(line);
    }
    Json worst = Json::array();
    for (const TPlayedDeal& deal : report.Worst) worst.push_back(PlayedJson(deal));
    Json result = {{"game", game.GameId},
                   {"name", game.Name},
                   {"level", options.Evaluate.empty() ? Json(levelText) : Json(nullptr)},
                   {"perfect", static_cast<double>(report.Perfect)},
                   {"return", static_cast<double>(report.Return)},
                   {"cost", static_cast<double>(report.Cost)},
                   {"errorRate", static_cast<double>(report.ErrorRate)},
                   {"lines", lines},
                   {"worst", worst}};
    if (!options.Evaluate.empty()) result["unread"] = unread;
    out << result.dump(2) << '\n';
    return 0;
  }

  out << game.Name << " (game " << game.GameId << "), pays " << PaysText(table, ',') << " for "
      << table.CoinBasis << (table.CoinBasis == 1 ? " coin" : " coins") << ", "
      << (options.Evaluate.empty() ? "generated, " + levelText : "typed list " + options.Evaluate)
      << "\n\n"
      << "  Perfect play      " << Percent(report.Perfect, "%.6f %%") << '\n'
      << "  This list         " << Percent(report.Return, "%.6f %%") << '\n'
      << "  Cost              " << Percent(report.Cost, "%.6f %%") << '\n'
      << "  Wrong holds       " << Percent(report.ErrorRate, "%.4f %%") << " of deals\n\n"
      << "   #  Line                                              Deals %    Lost %    Example\n";
  for (size_t r = 0; r < report.Rows.size(); ++r) {
    const TRowReport& row = report.Rows[r];
    out << Format("%4.0f", static_cast<double>(r + 1)) << ". " << row.Text;
    for (size_t pad = row.Text.size(); pad < 48; ++pad) out << ' ';
    out << Format(" %8.4f", static_cast<double>(100 * row.Share))
        << Format(" %9.6f", static_cast<double>(100 * row.Lost)) << "    "
        << (row.HasExample ? HoldAndDiscardText(row.Example.Cards, row.Example.DrawMask)
                           : std::string())
        << '\n';
  }
  if (!report.Worst.empty()) {
    out << "\n  The costliest holds (held | discarded; the best hold; expected return per coin):\n";
    for (const TPlayedDeal& deal : report.Worst) {
      out << "    " << HoldAndDiscardText(deal.Cards, deal.DrawMask) << ";  "
          << HoldAndDiscardText(deal.Cards, deal.BestMask)
          << Format("   %.4f", static_cast<double>(deal.Expected))
          << Format(" / %.4f", static_cast<double>(deal.Best)) << '\n';
    }
  }
  return 0;
}

}  // namespace tarnwick::cli
