// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "multiplay_command.h"

#include <unistd.h>

#include <cmath>
#include <iostream>
#include <limits>
#include <nlohmann/json.hpp>
#include <string>

#include "cli_input.h"
#include "commands.h"
#include "engine/wild_engine.h"
#include "errors.h"
#include "stats/multi_play.h"
#include "terminal_progress.h"

namespace tarnwick::cli {

namespace {

using Json = nlohmann::ordered_json;

std::string Percent(long double share) {
  return Format("%.6f %%", static_cast<double>(100 * share));
}

}  // namespace

int RunMultiPlay(const TCatalogue& games, const TMultiPlayOptions& options, std::ostream& out) {
  const TPokerDescription& game = ParseGame(games, options.Table.Game);
  CheckLines(options.Lines);
  CheckCashBack(options.CashBack);
  if (!IsCoinCount(options.Table.Coins)) {
    throw InputError("--coins " + std::to_string(options.Table.Coins) + " is not 1..5");
  }
  if (options.Ruin) {
    if (options.Hands < 1) throw InputError("--ruin needs --hands (deals to play)");
    if (options.Bankroll < options.Lines) {
      throw InputError("a bankroll of " + Format("%g", options.Bankroll) +
                       " line bets cannot cover one deal of " + std::to_string(options.Lines) +
                       " lines");
    }
    if (options.Target && *options.Target <= options.Bankroll) {
      throw InputError("--target must be above --bankroll");
    }
  }
  if (options.BankrollRisk && !(*options.BankrollRisk > 0 && *options.BankrollRisk < 100)) {
    throw InputError("--bankroll-for must be a risk between 0 and 100 %");
  }
  TPayout table = TableFromOptions(game, options.Table);

  const auto engine = CreateEngineForGame(game);
  engine->SetThreadCount(options.Table.Threads);
  TInterruptGuard guard;
  TTerminalProgress bar(std::cerr, !options.Table.Quiet && ::isatty(STDERR_FILENO) != 0);
  engine->SetProgress(&bar);
  TDealGroups groups;
  ComputeWithGroups(*engine, table, groups);
  const TDealDistribution distribution = ComputeDealDistribution(
      groups, table, options.Lines, options.CashBack, &bar, options.Table.Threads);
  const TMultiPlaySummary summary = Summarise(distribution, table);
  const long double covariance = table.DealCovariance().value_or(0);
  const TMultiPlayFigures figures = MultiPlayFigures(table, covariance, options.Lines);
  std::optional<TRuinChances> ruin;
  if (options.Ruin) {
    ruin = RuinWithin(distribution, options.Bankroll, options.Hands, options.Target, &bar);
  }
  const std::optional<double> adjustment = LongRunAdjustment(distribution);
  // The long-run bankroll in line bets for a risk in percent; infinite when the game loses.
  const auto bankrollFor = [&](double percent) {
    return adjustment ? BankrollForRisk(*adjustment, percent / 100)
                      : std::numeric_limits<double>::infinity();
  };
  const bool exact = options.Lines == 1;

  if (options.Table.Json) {
    Json report = {{"game", game.GameId},
                   {"name", game.Name},
                   {"lines", options.Lines},
                   {"coins", options.Table.Coins},
                   {"return", static_cast<double>(table.Return)},
                   {"cashBack", options.CashBack},
                   {"returnWithCashBack", static_cast<double>(summary.Return)},
                   {"variance", table.Variance()},
                   {"covariance", static_cast<double>(covariance)},
                   {"variancePerDeal", static_cast<double>(figures.DealVariance)},
                   {"sdPerLine", static_cast<double>(figures.LineStdDev)},
                   {"win", summary.Win},
                   {"push", summary.Push},
                   {"loss", summary.Loss},
                   {"allLose", distribution.AllLose}};
    Json quantiles = Json::object();
    for (const auto& [level, net] : summary.Quantiles) quantiles[Format("%g", 100 * level)] = net;
    report["quantiles"] = quantiles;
    if (ruin) {
      report["ruin"] = ruin->Ruin;
      if (options.Target) report["reach"] = ruin->Reach;
    }
    if (options.BankrollRisk) {
      const double bankroll = bankrollFor(*options.BankrollRisk);
      report["bankroll"] = std::isfinite(bankroll) ? Json(bankroll) : Json(nullptr);
      if (options.CoinValue > 0 && std::isfinite(bankroll))
        report["bankrollMoney"] = bankroll * options.Table.Coins * options.CoinValue;
      report["bankrollExact"] = exact;
    }
    Json points = Json::array();
    for (size_t i = 0; i < distribution.Probability.size(); ++i) {
      if (distribution.Probability[i] > 0)
        points.push_back({distribution.NetBets(i), distribution.Probability[i]});
    }
    report["distribution"] = points;
    out << report.dump(2) << '\n';
    return 0;
  }

  out << game.Name << " (game " << game.GameId << "), pays " << PaysText(table, ',') << " for "
      << table.CoinBasis << (table.CoinBasis == 1 ? " coin" : " coins") << ", " << options.Lines
      << (options.Lines == 1 ? " line" : " lines") << " a deal, " << options.Table.Coins
      << (options.Table.Coins == 1 ? " coin" : " coins") << " a line\n\n";
  out << "  Return               " << Percent(table.Return) << '\n';
  if (options.CashBack > 0) {
    out << "  With " << Format("%g", options.CashBack) << " % cash back    "
        << Percent(summary.Return) << '\n';
  }
  out << "  Variance per line    " << Format("%.6f", table.Variance()) << '\n'
      << "  Covariance           " << Format("%.6f", static_cast<double>(covariance)) << '\n'
      << "  Variance per deal    " << Format("%.4f", static_cast<double>(figures.DealVariance))
      << '\n'
      << "  Std dev per line     " << Format("%.4f", static_cast<double>(figures.LineStdDev))
      << '\n'
      << "  Deal wins            " << Percent(summary.Win) << '\n'
      << "  Deal pushes          " << Percent(summary.Push) << '\n'
      << "  Deal loses           " << Percent(summary.Loss) << '\n'
      << "  Every line loses     " << Percent(distribution.AllLose) << "\n\n"
      << "  Net result of a deal in line bets, at most this with the chance:\n   ";
  for (const auto& [level, net] : summary.Quantiles)
    out << ' ' << Format("%g %%:", 100 * level) << ' ' << Format("%g", net);
  const bool money = options.CoinValue > 0;
  out << "\n\n  Long-run bankroll in line bets (total bets" << (money ? ", money" : "")
      << ") for a risk of ruin of" << (exact ? ":\n" : " (an upper bound: more lines than one):\n");
  for (const double percent : {50.0, 10.0, 5.0, 1.0}) {
    const double bankroll = bankrollFor(percent);
    out << "    " << Format("%2g %%", percent) << "  "
        << (std::isfinite(bankroll)
                ? Format("%.0f", bankroll) + " (" + Format("%.1f", bankroll / options.Lines) +
                      (money ? Format(", %.2f", bankroll * options.Table.Coins * options.CoinValue)
                             : std::string()) +
                      ")"
                : std::string("none: the game loses in the long run"))
        << '\n';
  }
  if (options.BankrollRisk) {
    const double bankroll = bankrollFor(*options.BankrollRisk);
    out << "    " << Format("%g %%", *options.BankrollRisk) << "  "
        << (std::isfinite(bankroll) ? Format("%.0f", bankroll) : std::string("none")) << '\n';
  }
  if (ruin) {
    out << "\n  From " << Format("%g", options.Bankroll) << " line bets over " << options.Hands
        << " deals: ruin " << Percent(ruin->Ruin);
    if (options.Target)
      out << ", reach " << Format("%g", *options.Target) << ": " << Percent(ruin->Reach);
    out << '\n';
  }
  return 0;
}

}  // namespace tarnwick::cli
