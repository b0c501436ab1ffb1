// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "report_commands.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iostream>
#include <nlohmann/json.hpp>

#include "cli_input.h"
#include "commands.h"
#include "engine/wild_engine.h"
#include "errors.h"
#include "stats/bankroll.h"
#include "stats/hold_stats.h"
#include "stats/multi_play.h"
#include "stats/statistics.h"
#include "terminal_progress.h"
#include "text.h"

namespace tarnwick::cli {

namespace {

using Json = nlohmann::ordered_json;

TFigureView ParseView(const std::string& text) {
  if (text == "hands") return TFigureView::Hands;
  if (text == "probability") return TFigureView::Probability;
  if (text == "return") return TFigureView::Return;
  throw InputError("--view '" + text + "' is not one of hands, probability, return");
}

std::vector<std::string> CategoryNames(const TPokerDescription& game) {
  std::vector<std::string> names;
  for (int c = 0; c <= game.LastCategory; ++c) names.push_back(game.CategoryName(c));
  return names;
}

// A CSV field, quoted when it holds a comma or a quote.
std::string Field(const std::string& text) {
  if (text.find_first_of(",\"") == std::string::npos) return text;
  std::string quoted = "\"";
  for (char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  return quoted + '"';
}

const std::array<const char*, 10> kStatHeaders = {
    "",        "5 Holds", "4 Holds", "3 Holds",      "2 Holds",
    "1 Holds", "0 Holds", "Total",   "Occurs,hands", "Occurs,hours"};

const char* ClassName(TPointClass kind) {
  return kind == TPointClass::Win ? "win" : kind == TPointClass::Push ? "push" : "loss";
}

Json PointsJson(const std::vector<TChartPoint>& points) {
  Json list = Json::array();
  for (const TChartPoint& point : points) list.push_back({{"x", point.X}, {"y", point.Y}});
  return list;
}

// The rows of a result distribution: the net result in coins, its probability in % and class.
Json RowsJson(const std::vector<TChartPoint>& rows) {
  Json list = Json::array();
  for (const TChartPoint& row : rows) {
    list.push_back(
        {{"result", std::lround(row.X)}, {"probability", row.Y}, {"class", ClassName(row.Class)}});
  }
  return list;
}

std::string Number(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%.10g", value);
  return text;
}

}  // namespace

int RunStats(const TCatalogue& games, const TTableOptions& options, std::ostream& out) {
  const TPokerDescription& game = ParseGame(games, options.Game);
  const TFigureView view = ParseView(options.View);
  if (options.Speed < kMinSpeed || options.Speed > kMaxSpeed) {
    throw InputError("--speed " + std::to_string(options.Speed) +
                     " is not 10..10000 hands per hour");
  }
  if (options.Csv && options.Json) throw InputError("choose one of --csv and --json");
  bool damaged = false;
  const TPayout table = StoredOrComputed(games, game, options, damaged);
  const StatisticsTable stats = BuildStatisticsTable(CategoryNames(game), table, options.Speed);
  const int rows = stats.DataRowCount;

  if (options.Json) {
    const auto column = [&](const StatisticsTable::TColumnTexts& texts, int k) {
      std::vector<std::string> cells;
      for (int r = 0; r < rows; ++r) cells.emplace_back(Trim(texts[k][r]));
      return cells;
    };
    Json columns = Json::array();
    for (int k = 0; k < kStatColumns; ++k) {
      columns.push_back({{"title", kStatHeaders[k + 1]},
                         {"hands", column(stats.HandsText, k)},
                         {"probability", column(stats.ProbabilityText, k)},
                         {"return", column(stats.ReturnText, k)}});
    }
    std::vector<std::string> hands;
    std::vector<std::string> hours;
    for (int r = 0; r < rows; ++r) {
      hands.emplace_back(Trim(stats.OccursHandsText[r]));
      hours.push_back(stats.OccursHoursText[r]);
    }
    const Json report = {
        {"game", game.GameId},
        {"name", game.Name},
        {"pays",
         std::vector<int32_t>(table.Pays.begin(), table.Pays.begin() + table.LastCategory + 1)},
        {"basis", table.CoinBasis},
        {"speed", options.Speed},
        {"rows", stats.RowLabels},
        {"columns", columns},
        {"occursHands", hands},
        {"occursHours", hours}};
    out << report.dump(2) << '\n';
    return damaged ? kDamagedDataExit : 0;
  }

  const auto& texts = ViewTexts(stats, view);
  std::vector<std::vector<std::string>> grid;
  grid.emplace_back(kStatHeaders.begin(), kStatHeaders.end());
  for (int r = 0; r < rows; ++r) {
    std::vector<std::string> line = {stats.RowLabels[r]};
    for (int k = 0; k < kStatColumns; ++k) {
      line.push_back(options.Csv ? std::string(Trim(texts[k][r]))
                                 : StatisticsCellText(stats, view, k, r));
    }
    line.emplace_back(Trim(stats.OccursHandsText[r]));
    line.push_back(stats.OccursHoursText[r]);
    grid.push_back(line);
  }
  if (options.Csv) {
    for (const auto& line : grid) {
      for (size_t i = 0; i < line.size(); ++i) out << (i > 0 ? "," : "") << Field(line[i]);
      out << '\n';
    }
    return damaged ? kDamagedDataExit : 0;
  }
  std::array<size_t, kStatHeaders.size()> widths{};
  for (const auto& line : grid) {
    for (size_t i = 0; i < line.size(); ++i) widths[i] = std::max(widths[i], line[i].size());
  }
  out << game.Name << ", "
      << (view == TFigureView::Hands         ? "hands"
          : view == TFigureView::Probability ? "probability in %"
                                             : "return in %")
      << ", " << options.Speed << " hands per hour\n\n";
  for (const auto& line : grid) {
    std::string text;
    for (size_t i = 0; i < line.size(); ++i) {
      const size_t pad = widths[i] - line[i].size();
      // Labels are left-aligned, figures right-aligned.
      if (i == 0) {
        text += line[i] + std::string(pad, ' ');
      } else {
        text += "  " + std::string(pad, ' ') + line[i];
      }
    }
    out << text.substr(0, text.find_last_not_of(' ') + 1) << '\n';
  }
  return damaged ? kDamagedDataExit : 0;
}

int RunHolds(const TPokerDescription& game, TPayout& table, const std::array<int, kHandSize>& cards,
             const TTableOptions& options, std::ostream& out) {
  const TFigureView view = ParseView(options.View);
  const auto owner = AnalyseHand(game, table, cards);
  TPokerEngine& engine = *owner;
  const int best = engine.GetTheBest();
  const THoldStats holds = FillHoldStats(engine);
  const int entries = engine.LastCategory + 2;
  std::vector<std::string> titles = CategoryNames(game);
  titles.emplace_back("Nothing");

  if (options.Json) {
    const std::array<std::string, kMaskCount> lines = HoldLineTexts(THoldNamer(game), cards);
    Json list = Json::array();
    for (const THandStat& hold : holds) {
      std::vector<int32_t> counts(hold.Count.begin(), hold.Count.begin() + entries);
      std::vector<double> chances;
      std::vector<double> returns;
      for (int c = 0; c < entries; ++c) {
        chances.push_back(static_cast<double>(hold.Probability[c]));
        returns.push_back(static_cast<double>(hold.Return[c]));
      }
      list.push_back({{"mask", hold.Mask},
                      {"code", hold.Code},
                      {"drawn", hold.DrawnCount},
                      {"expectedReturn", static_cast<double>(hold.ExpectedReturn)},
                      {"count", counts},
                      {"probability", chances},
                      {"return", returns},
                      {"line", lines[static_cast<size_t>(hold.Mask)]}});
    }
    const Json report = {{"game", game.GameId},
                         {"name", game.Name},
                         {"best", best},
                         {"columns", titles},
                         {"holds", list}};
    out << report.dump(2) << '\n';
    return 0;
  }

  out << game.Name << ", dealt";
  for (int code : cards) out << ' ' << CardText(code);
  out << "; "
      << (view == TFigureView::Hands         ? "final hands"
          : view == TFigureView::Probability ? "probability in %"
                                             : "return per category")
      << " of every hold, best expected return first (1 = the card is replaced, * = the best "
         "hold)\n\n";
  for (int c = 0; c < entries; ++c) {
    out << Format("  C%-3.0f", c) << titles[c] << '\n';
  }
  out << "\n  Code   Drawn            EV";
  for (int c = 0; c < entries; ++c) out << Format(c < 10 ? "          C%.0f" : "         C%.0f", c);
  out << '\n';
  for (int mask : SortedHolds(holds, kHoldReturnColumn + 1, TFigureView::Hands)) {
    const THandStat& hold = holds[mask];
    out << (hold.Mask == best ? "* " : "  ") << hold.Code << Format("  %5.0f", hold.DrawnCount)
        << Format(" %13.6f", static_cast<double>(hold.ExpectedReturn));
    for (int c = 0; c < entries; ++c) {
      if (view == TFigureView::Hands) {
        out << Format(" %11.0f", hold.Count[c]);
      } else if (view == TFigureView::Probability) {
        out << Format(" %11.6f", static_cast<double>(100 * hold.Probability[c]));
      } else {
        out << Format(" %11.6f", static_cast<double>(hold.Return[c]));
      }
    }
    out << '\n';
  }
  return 0;
}

int RunBankroll(const TCatalogue& games, const std::string& chart, const TTableOptions& options,
                std::ostream& out) {
  const TPokerDescription& game = ParseGame(games, options.Game);
  if (!IsCoinCount(options.Coins)) {
    throw InputError("--coins " + std::to_string(options.Coins) + " is not 1..5");
  }
  if (chart == "distribution" && (options.Hands < 1 || options.Hands > kMaxRunHands)) {
    throw InputError("--hands " + std::to_string(options.Hands) + " is not 1..4000");
  }
  if (chart == "ruin") {
    if (options.Initial < 1 || options.Initial > kMaxBankroll || options.Desired < 1 ||
        options.Desired > kMaxBankroll) {
      throw InputError("the bankrolls must be 1..1500 coins");
    }
    if (options.Initial > options.Desired) {
      throw InputError("--initial " + std::to_string(options.Initial) + " is above --desired " +
                       std::to_string(options.Desired));
    }
  }
  try {
    // The charts count whole bets; the pays are known before the table is looked up or
    // computed.
    BuildOutcomeTable(TableFromOptions(game, options));
  } catch (const RangeError& e) {
    throw InputError(e.Message());
  }
  CheckLines(options.Lines);
  CheckCashBack(options.CashBack);
  bool damaged = false;
  const TPayout table = StoredOrComputed(games, game, options, damaged);
  TInterruptGuard guard;
  TTerminalProgress sink(std::cerr, false);  // the charts are quick: no bar
  TChartOutcomes source(game, table);
  const TOutcomeTable outcomes = source.For(options.Lines, options.CashBack, sink);
  Json report = {{"game", game.GameId}, {"name", game.Name}, {"coins", options.Coins}};
  if (options.Lines > 1 || options.CashBack > 0)
    report.update({{"lines", options.Lines}, {"cashBack", options.CashBack}});

  if (chart == "distribution") {
    TResultDistribution result;
    ComputeResultDistribution(outcomes, options.Hands, options.Coins, result, sink);
    if (options.Json) {
      report.update({{"hands", options.Hands},
                     {"win", result.Win},
                     {"push", result.Push},
                     {"loss", result.Loss},
                     {"points", RowsJson(result.Rows)}});
      out << report.dump(2) << '\n';
      return damaged ? kDamagedDataExit : 0;
    }
    out << "# " << game.Name << ", " << options.Hands << " hands of " << options.Coins
        << (options.Coins == 1 ? " coin" : " coins") << ": win "
        << Format("%.3f %%", 100 * result.Win) << ", push " << Format("%.3f %%", 100 * result.Push)
        << ", loss " << Format("%.3f %%", 100 * result.Loss) << "\n"
        << "# every net result in coins with its probability in % and class; a row at -500 or "
           "+1500 bets holds every run that reached that end of the grid\n"
        << "result,probability,class\n";
    for (const TChartPoint& row : result.Rows)
      out << std::lround(row.X) << ',' << Number(row.Y) << ',' << ClassName(row.Class) << '\n';
    return damaged ? kDamagedDataExit : 0;
  }
  if (chart == "winloss") {
    TCurves curves;
    ComputeWinPushLoss(outcomes, curves, sink);
    if (options.Json) {
      report.update({{"win", PointsJson(curves.Win)},
                     {"push", PointsJson(curves.Push)},
                     {"loss", PointsJson(curves.Loss)}});
      out << report.dump(2) << '\n';
      return damaged ? kDamagedDataExit : 0;
    }
    out << "# " << game.Name << ": after 2000 hands win " << Format("%.3f %%", curves.Win.back().Y)
        << ", push " << Format("%.3f %%", curves.Push.back().Y) << ", loss "
        << Format("%.3f %%", curves.Loss.back().Y) << "\nhand,win,push,loss\n";
    for (size_t n = 0; n < curves.Win.size(); ++n) {
      out << Number(curves.Win[n].X) << ',' << Number(curves.Win[n].Y) << ','
          << Number(curves.Push[n].Y) << ',' << Number(curves.Loss[n].Y) << '\n';
    }
    return damaged ? kDamagedDataExit : 0;
  }
  if (chart == "ruin") {
    TRuinCurves curves;
    ComputeRiskOfRuin(outcomes, options.Initial, options.Desired, options.Coins, curves, sink);
    if (options.Json) {
      report.update({{"initial", options.Initial},
                     {"desired", options.Desired},
                     {"ruin", PointsJson(curves.Ruin)},
                     {"hit", PointsJson(curves.Hit)}});
      out << report.dump(2) << '\n';
      return damaged ? kDamagedDataExit : 0;
    }
    out << "# " << game.Name << ", bankroll " << options.Initial << " to " << options.Desired
        << " coins, " << options.Coins << (options.Coins == 1 ? " coin" : " coins")
        << " a hand: after 2000 hands risk of ruin " << Format("%.3f %%", curves.Ruin.back().Y)
        << ", chance to hit " << Format("%.3f %%", curves.Hit.back().Y) << "\nhand,ruin,hit\n";
    for (size_t n = 0; n < curves.Ruin.size(); ++n) {
      out << Number(curves.Ruin[n].X) << ',' << Number(curves.Ruin[n].Y) << ','
          << Number(curves.Hit[n].Y) << '\n';
    }
    return damaged ? kDamagedDataExit : 0;
  }
  throw InputError("unknown chart '" + chart + "' (distribution, winloss, ruin)");
}

}  // namespace tarnwick::cli
