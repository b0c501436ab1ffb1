// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "practice_command.h"

#include <ctime>
#include <iostream>
#include <nlohmann/json.hpp>
#include <optional>
#include <sstream>
#include <utility>
#include <vector>

#include "cli_input.h"
#include "commands.h"
#include "errors.h"
#include "session/practice.h"
#include "session/practice_file.h"
#include "terminal_progress.h"
#include "text.h"

namespace tarnwick::cli {

const char* const kHoldsFileHelp =
    "The holds file has one line per hand, in the order the hands are dealt: five letters "
    "for the positions, H for a held card and - for a replaced one (HH--H; ----- draws five), "
    "or the held cards themselves (AS KH; JK a joker), or 'best' for the best hold. Blank "
    "lines and lines starting with # are skipped; '-' reads the standard input. Each hand is "
    "printed as it is played: held cards that are not in their hand stop the run there.";

namespace {

using Json = nlohmann::ordered_json;

// A holds file is a few bytes a hand.
constexpr uint64_t kMaxHoldsBytes = 16u << 20;
constexpr uint64_t kMaxStrategyBytes = 1u << 20;

struct THoldLine {
  int Number = 0;  // line number in the file
  std::string Text;
};

std::vector<THoldLine> HoldLines(const std::string& text) {
  std::vector<THoldLine> lines;
  std::istringstream in(text);
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    const std::string_view hold = Trim(line, " \t\r");
    if (hold.empty() || hold.front() == '#') continue;
    lines.push_back({number, std::string(hold)});
  }
  return lines;
}

std::string Where(const THoldLine& line) {
  return "holds line " + std::to_string(line.Number) + ": ";
}

// Every line reads as a hold: "best", five letters, or cards. Whether the cards are in
// their hand is known only when it is dealt.
void CheckHoldLines(const std::vector<THoldLine>& lines, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    const THoldLine& line = lines[i];
    if (line.Text == "best" || ParseHoldPattern(line.Text)) continue;
    std::istringstream words(line.Text);
    for (std::string word; words >> word;) {
      if (!ParseCard(word)) {
        throw InputError(Where(line) + "'" + line.Text +
                         "' is no hold (HH--H, held cards such as AS KH, or best)");
      }
    }
  }
}

// The hold a line of the holds file names for the dealt hand.
int HoldOfLine(const THoldLine& line, const TPracticeSession& session) {
  if (line.Text == "best") return session.Grade(0).BestMask;
  if (const std::optional<int> mask = ParseHoldPattern(line.Text)) return *mask;
  const auto& cards = session.CurrentDeal().Cards;
  int mask = kFullDrawMask;
  std::istringstream words(line.Text);
  for (std::string word; words >> word;) {
    const std::optional<int> code = ParseCard(word);
    if (!code) throw InputError(Where(line) + "'" + line.Text + "' is no hold");
    int position = -1;
    for (int i = 0; i < kHandSize && position < 0; ++i) {
      const int32_t dealt = cards[static_cast<size_t>(i)];
      if (BitSet(mask, i) && (dealt == *code || (*code < 0 && dealt < 0))) position = i;
    }
    if (position < 0) {
      throw InputError(Where(line) + word + " is not in hand " +
                       std::to_string(session.DealsSeen()) + ", " + HoldText(cards, 0));
    }
    mask &= ~(1 << position);
  }
  return mask;
}

// The JSON text of a value that stands at `level` in a report dumped with an indent of 2:
// every line after its first is indented for that level. (Strings hold no raw line breaks.)
std::string Nested(const Json& value, int level) {
  std::string text = value.dump(2);
  const std::string indent(static_cast<size_t>(2 * level), ' ');
  for (size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 1))
    text.insert(at + 1, indent);
  return text;
}

std::string Percent(long double share) {
  return PercentText(share) + " %";
}

Json FiguresJson(const TPracticeFigures& figures) {
  return {{"hands", figures.Hands},
          {"mistakes", figures.Mistakes},
          {"costBets", static_cast<double>(figures.CostBets)},
          {"costCoins", static_cast<double>(figures.CostCoins())},
          {"accuracy", static_cast<double>(figures.Accuracy())},
          {"efficiency", static_cast<double>(figures.Efficiency())},
          {"playedReturn", static_cast<double>(figures.PlayedReturn)},
          {"bestReturn", static_cast<double>(figures.BestReturn)},
          {"coinsBet", figures.CoinsBet},
          {"coinsWon", figures.CoinsWon},
          {"net", figures.Net()},
          {"perfectNet", static_cast<double>(figures.PerfectNet())},
          {"netAgainstPerfect", static_cast<double>(figures.NetAgainstPerfect())}};
}

void PrintFigures(const TPracticeFigures& figures, std::ostream& out) {
  out << "Hands " << figures.Hands << ", mistakes " << figures.Mistakes << " costing "
      << BetsText(figures.CostBets) << " bets (" << BetsText(figures.CostCoins()) << " coins)\n"
      << "Accuracy " << Percent(figures.Accuracy()) << ", efficiency "
      << Percent(figures.Efficiency()) << '\n'
      << "Coins bet " << figures.CoinsBet << ", won " << figures.CoinsWon << ", net "
      << SignedText(static_cast<long double>(figures.Net()), 0) << "; perfect play expected "
      << SignedText(figures.PerfectNet(), 2) << ", the difference "
      << SignedText(figures.NetAgainstPerfect(), 2) << '\n';
}

std::string CategoryText(const TPracticeSession& session, int category) {
  const auto& names = session.CategoryNames();
  return category < static_cast<int>(names.size()) ? names[static_cast<size_t>(category)]
                                                   : "Nothing";
}

// The further lines of a hand (none for one line), each as the hand's own fields show it.
Json LinesJson(const TPracticeSession& session, const TPracticeHand& hand) {
  Json lines = Json::array();
  for (size_t i = 0; i < hand.More.size(); ++i) {
    const TPracticeLine& line = hand.More[i];
    lines.push_back({{"line", i + 2},
                     {"drawn", CardsAt(line.Final, hand.Verdict.Mask)},
                     {"final", CardsAt(line.Final, kFullDrawMask)},
                     {"category", line.Category},
                     {"categoryName", CategoryText(session, line.Category)},
                     {"pay", line.Pay}});
  }
  return lines;
}

Json HandJson(const TPracticeSession& session, const TPracticeHand& hand, bool hard) {
  const TPracticeVerdict& verdict = hand.Verdict;
  Json item = {{"deal", hand.Deal.Number},
               {"dealt", CardsAt(hand.Deal.Cards, kFullDrawMask)},
               {"hold", HoldPattern(verdict.Mask)},
               {"best", HoldPattern(verdict.BestMask)},
               {"bestHolds", verdict.BestHolds},
               {"mistake", verdict.Mistake()},
               {"expectedReturn", static_cast<double>(verdict.PlayedReturn())},
               {"bestReturn", static_cast<double>(verdict.BestReturn())},
               {"costBets", static_cast<double>(verdict.CostBets())},
               {"costCoins", static_cast<double>(verdict.CostCoins())},
               {"drawn", CardsAt(hand.Final, verdict.Mask)},
               {"final", CardsAt(hand.Final, kFullDrawMask)},
               {"category", hand.Category},
               {"categoryName", CategoryText(session, hand.Category)},
               {"pay", hand.Pay}};
  if (!hand.More.empty()) {
    item["lines"] = LinesJson(session, hand);
    item["totalPay"] = hand.TotalPay();
  }
  const THoldNamer& namer = session.Namer();
  if (verdict.PlayedLine && verdict.BestLine) {
    item["line"] = namer.Text(*verdict.PlayedLine);
    item["bestLine"] = namer.Text(*verdict.BestLine);
  }
  if (verdict.Strategy) {
    // The row counted from 1 as the strategy lists it; null: no row, the hand draws five.
    const TStrategyGrade& grade = *verdict.Strategy;
    item["strategyRow"] = grade.Row >= 0 ? Json(grade.Row + 1) : Json(nullptr);
    item["strategyHold"] = HoldPattern(grade.Mask);
    item["followed"] = grade.Followed;
  }
  if (session.Options().HardWithin >= 0) item["hard"] = hard;
  return item;
}

void PrintHand(const TPracticeSession& session, const TPracticeHand& hand, bool hard,
               std::ostream& out) {
  const TPracticeVerdict& verdict = hand.Verdict;
  const auto& cards = hand.Deal.Cards;
  out << "Hand " << session.Figures().Hands << " (deal " << hand.Deal.Number
      << "): " << HoldText(cards, 0) << (hard ? "" : "  (no hard hand found)") << '\n';
  out << "  hold  " << HoldText(cards, verdict.Mask) << "  ";
  if (verdict.Mistake()) {
    out << "MISTAKE, costs " << BetsText(verdict.CostBets()) << " bets ("
        << BetsText(verdict.CostCoins()) << " coins); best " << HoldText(cards, verdict.BestMask)
        << ", " << BetsText(verdict.BestReturn()) << " against " << BetsText(verdict.PlayedReturn())
        << '\n';
  } else {
    out << "right, " << BetsText(verdict.PlayedReturn())
        << (verdict.BestHolds > 1
                ? " (" + std::to_string(verdict.BestHolds) + " holds tie for the best)"
                : std::string())
        << '\n';
  }
  const THoldNamer& namer = session.Namer();
  if (verdict.PlayedLine && verdict.BestLine) {
    out << "  lines " << namer.Text(*verdict.PlayedLine) << "; best "
        << namer.Text(*verdict.BestLine) << '\n';
  }
  if (verdict.Strategy) {
    const TStrategyGrade& grade = *verdict.Strategy;
    const std::optional<TStrategy>& strategy = session.Strategy();
    out << "  strategy ";
    if (grade.Row >= 0 && strategy) {
      out << "row " << grade.Row + 1 << ", "
          << RowText(strategy->Rows.at(static_cast<size_t>(grade.Row)), namer);
    } else {
      out << "no row, draws five";
    }
    out << ": " << (grade.Followed ? "followed" : "NOT FOLLOWED") << '\n';
  }
  out << "  draw  ";
  for (const std::string& card : CardsAt(hand.Final, verdict.Mask)) out << card << ' ';
  out << "->  " << HoldText(hand.Final, 0) << "  " << CategoryText(session, hand.Category)
      << ", pays " << hand.Pay << '\n';
  for (size_t i = 0; i < hand.More.size(); ++i) {
    const TPracticeLine& line = hand.More[i];
    out << "  line " << i + 2 << (i + 2 < 10 ? "  " : " ");
    for (const std::string& card : CardsAt(line.Final, verdict.Mask)) out << card << ' ';
    out << "->  " << HoldText(line.Final, 0) << "  " << CategoryText(session, line.Category)
        << ", pays " << line.Pay << '\n';
  }
  if (!hand.More.empty())
    out << "  paid " << hand.TotalPay() << " on " << hand.Lines() << " lines\n";
}

std::string TimeText(int64_t seconds) {
  const auto time = static_cast<std::time_t>(seconds);
  std::tm parts{};
  char text[32] = "?";
  if (::gmtime_r(&time, &parts) != nullptr)
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", &parts);
  return text;
}

}  // namespace

int RunPractice(const TCatalogue& games, const TPracticeCommandOptions& options,
                std::ostream& out) {
  const TPokerDescription& game = ParseGame(games, options.Table.Game);
  const TPayout table = TableFromOptions(game, options.Table);
  if (options.Hands < 0) throw InputError("--hands " + std::to_string(options.Hands) + " is < 0");
  const std::vector<THoldLine> holds =
      HoldLines(ReadInputFile(options.HoldsFile, kMaxHoldsBytes, "the holds file"));
  const size_t hands = options.Hands > 0 ? static_cast<size_t>(options.Hands) : holds.size();
  if (hands == 0) throw InputError("the holds file has no hold");
  if (holds.size() < hands) {
    throw InputError("the holds file has " + std::to_string(holds.size()) + " holds for " +
                     std::to_string(hands) + " hands");
  }
  if (!IsPracticeLines(options.Lines))
    throw InputError("--lines " + std::to_string(options.Lines) + " is not 1, 3, 5 or 10");
  const THoldNamer namer(game);
  TPracticeOptions practice;
  if (!options.Drill.empty()) {
    if (options.Drill.size() != 2) throw InputError("--drill takes two lines");
    for (const std::string& text : options.Drill) {
      const std::optional<TLinePattern> line = namer.Parse(text);
      if (!line) throw InputError("--drill: '" + text + "' is not a line of a hold");
      practice.Drill.push_back(*line);
    }
  }
  std::optional<TStrategy> strategy;
  if (!options.Strategy.empty()) {
    if (const std::optional<TStrategyLevel> level = ParseLevel(options.Strategy)) {
      strategy = GenerateForTable(game, table, LevelLines(*level), nullptr, options.Table.Threads)
                     .Strategy;
    } else {
      const TStrategyParse parse =
          ParseStrategy(ReadInputFile(options.Strategy, kMaxStrategyBytes, "strategy file"), namer);
      for (const std::string& error : parse.Errors) std::cerr << "tarnwick-cli: " << error << '\n';
      if (parse.Strategy.Rows.empty())
        throw InputError("the strategy file has no line that can be read");
      strategy = parse.Strategy;
    }
  }
  practice.HardWithin = options.Hard;
  practice.Lines = options.Lines;
  practice.KeepHands = options.Save;  // else only the figures are kept, however many hands
  TPracticeSession session(game, table, options.Table.Coins, options.Seed, practice);
  session.SetStrategy(strategy);
  // A line that is no hold stops the run before it prints anything; held cards that are not
  // in their hand stop it at that hand.
  CheckHoldLines(holds, hands);

  // Each hand is written as it is played, so the report takes no memory that grows with the
  // hands. The JSON is written piece by piece exactly as a dump of the whole report with an
  // indent of 2 would write it.
  const bool json = options.Table.Json;
  if (json) {
    Json head = {{"game", game.GameId},
                 {"name", game.Name},
                 {"pays", PaysOf(table)},
                 {"basis", table.CoinBasis},
                 {"coins", options.Table.Coins},
                 {"seed", options.Seed},
                 {"hard", options.Hard >= 0 ? Json(options.Hard) : Json(nullptr)}};
    if (options.Lines > 1) head["lines"] = options.Lines;
    if (!session.Record().Drill.empty()) head["drill"] = session.Record().Drill;
    if (strategy) head["strategy"] = StrategyText(*strategy, namer);
    out << "{\n";
    for (const auto& item : head.items())
      out << "  " << Json(item.key()).dump() << ": " << Nested(item.value(), 1) << ",\n";
    out << "  \"hands\": [\n";
  } else {
    out << game.Name << " (game " << game.GameId << "), pays " << PaysText(table, ',') << " for "
        << table.CoinBasis << (table.CoinBasis == 1 ? " coin" : " coins") << ", "
        << options.Table.Coins << (options.Table.Coins == 1 ? " coin" : " coins")
        << " a hand, seed " << options.Seed;
    if (options.Hard >= 0) out << ", hard hands within " << BetsText(options.Hard) << " bets";
    if (options.Lines > 1) out << ", " << options.Lines << " lines";
    if (!session.Record().Drill.empty()) {
      out << ", drilling \"" << session.Record().Drill[0] << "\" and \""
          << session.Record().Drill[1] << '"';
    }
    out << "\n\n";
    if (strategy) out << "Strategy:\n" << StrategyText(*strategy, namer) << '\n';
  }
  for (size_t h = 0; h < hands; ++h) {
    session.Deal();
    const TPracticeHand& hand = session.Draw(HoldOfLine(holds[h], session));
    if (json) {
      out << (h > 0 ? ",\n    " : "    ")
          << Nested(HandJson(session, hand, session.HardFound()), 2);
    } else {
      PrintHand(session, hand, session.HardFound(), out);
    }
  }
  if (options.Save) {
    const std::filesystem::path folder = DataFolder(options.Table, true);
    SaveThenTakeInterrupt(folder / kPracticeFileName,
                          [&] { AppendPracticeSession(folder, session.Record()); });
    if (!json) out << "\nKept in " << (folder / kPracticeFileName).string() << '\n';
  }
  if (json) {
    out << "\n  ],\n  \"figures\": " << Nested(FiguresJson(session.Figures()), 1) << "\n}\n";
  } else {
    out << '\n';
    PrintFigures(session.Figures(), out);
  }
  return 0;
}

int RunSessions(const TTableOptions& options, std::ostream& out) {
  const std::filesystem::path folder = DataFolder(options, false);
  const TPracticeHistory history = ReadPracticeHistory(folder);
  for (const std::string& problem : history.Problems)
    std::cerr << "tarnwick-cli: warning: " << kPracticeFileName << ": " << problem << '\n';
  const int exit = history.Damaged > 0 ? kDamagedDataExit : 0;
  if (options.Json) {
    Json list = Json::array();
    for (const TPracticeRecord& record : history.Sessions) {
      list.push_back({{"started", record.Started},
                      {"game", record.GameId},
                      {"name", record.GameName},
                      {"pays", record.Pays},
                      {"basis", record.CoinBasis},
                      {"coins", record.Coins},
                      {"seed", record.Seed},
                      {"hard", record.HardWithin >= 0 ? Json(record.HardWithin) : Json(nullptr)},
                      {"lines", record.Lines},
                      {"figures", FiguresJson(record.Figures())}});
    }
    out << Json{{"sessions", list}, {"damaged", history.Damaged}}.dump(2) << '\n';
    return exit;
  }
  if (history.Sessions.empty()) {
    out << "No practice sessions in " << (folder / kPracticeFileName).string() << '\n';
    return exit;
  }
  out << "Started (UTC)      Game                          Coins       Seed  Hands  Mistakes  "
         "Accuracy  Efficiency   Cost, bets       Net\n";
  for (const TPracticeRecord& record : history.Sessions) {
    const TPracticeFigures figures = record.Figures();
    char line[256];
    std::snprintf(line, sizeof line,
                  "%-16s   %-28.28s  %5d %10llu  %5d  %8d  %8s  %10s  %11s  %8s\n",
                  TimeText(record.Started).c_str(), record.GameName.c_str(), record.Coins,
                  static_cast<unsigned long long>(record.Seed), figures.Hands, figures.Mistakes,
                  Percent(figures.Accuracy()).c_str(), Percent(figures.Efficiency()).c_str(),
                  BetsText(figures.CostBets).c_str(),
                  SignedText(static_cast<long double>(figures.Net()), 0).c_str());
    out << line;
  }
  return exit;
}

}  // namespace tarnwick::cli
