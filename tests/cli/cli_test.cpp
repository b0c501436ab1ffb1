// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later

// Runs tarnwick-cli as a user or a script would and reads what it prints.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>

#include "cli_run.h"
#include "core/test_files.h"
#include "core/test_games.h"

namespace {

using tarnwick::cli_run::CliJson;
using tarnwick::cli_run::RunCli;
using tarnwick::test::ReadText;
using tarnwick::test::TestFolder;
using tarnwick::testing::Contains;
using TRun = tarnwick::cli_run::TCliRun;

// The superuser may read and write anything: the program then runs as the user "nobody".
std::string AsOrdinaryUser() {
  return ::geteuid() == 0 ? "setpriv --reuid=65534 --regid=65534 --clear-groups " : "";
}

// A usage error: exit status 2 and one line on stderr that names the problem.
void ExpectUsageError(const std::string& arguments, const std::string& names) {
  const TRun run = RunCli(arguments);
  EXPECT_EQ(run.Exit, 2) << arguments << ": " << run.Err;
  EXPECT_EQ(run.Out, "") << arguments;
  EXPECT_EQ(run.Err.rfind("tarnwick-cli: error: ", 0), 0u) << run.Err;
  EXPECT_TRUE(Contains(run.Err, names));
  EXPECT_EQ(run.Err.find('\n'), run.Err.size() - 1) << "one line: " << run.Err;
}

std::string Output(const std::string& arguments) {
  const TRun run = RunCli(arguments);
  EXPECT_EQ(run.Exit, 0) << arguments << ": " << run.Err;
  return run.Out;
}

const std::string kNineSix = "--pays 800,50,25,9,6,4,3,2,1";

TEST(Cli, GamesAndHelp) {
  EXPECT_TRUE(Contains(Output("games"), "Deuces Wild  (wild: 2s, 52 cards)"));
  const auto games = CliJson("games --json");
  ASSERT_EQ(games.size(), 36u);
  EXPECT_EQ(games[12]["id"], 13);  // number 12 is retired
  EXPECT_EQ(games[8]["jokers"], 2);
  for (const char* command :
       {"--help", "games --help", "hand --help", "return --help", "stats --help", "holds --help",
        "bankroll --help", "bankroll ruin --help", "tables --help", "add --help", "delete --help",
        "bench --help", "import --help", "paths --help", "language --help", "practice --help",
        "sessions --help", "multiplay --help"}) {
    const TRun run = RunCli(command);
    EXPECT_EQ(run.Exit, 0) << command;
    EXPECT_TRUE(Contains(run.Out, "Usage")) << command << run.Out;
  }
  // A run that reaches the top of the charts' grid is ahead, as the program counts it.
  EXPECT_TRUE(Contains(Output("bankroll distribution --help"), "+1500 bets counts as\nahead"));
}

// A hand in JSON and as text (ranked by value), a hand with jokers, and the holds command.
TEST(Cli, HandAndHolds) {
  const auto report = CliJson("hand --game 0 " + kNineSix + " 3S 7H TH JH KH --json");
  EXPECT_EQ(report["game"], 0);
  EXPECT_EQ(report["deck"], 52);
  EXPECT_EQ(report["best"], 3);
  ASSERT_EQ(report["holds"].size(), 32u);
  EXPECT_EQ(report["holds"][3]["mask"], 3);
  EXPECT_EQ(report["holds"][3]["counts"].size(), 9u);

  const std::string text = Output("hand -g \"JACKS OR BETTER\" " + kNineSix + " 3s 7h 10h jh kh");
  const size_t first = text.find("\n* ");
  ASSERT_NE(first, std::string::npos);
  EXPECT_EQ(text.substr(first + 3, 27), "-- -- TH JH KH    1.382979 ");
  EXPECT_LT(text.find("-- 7H TH JH KH    1.276596"), text.find("-- -- -- JH KH"));

  // Two jokers typed the same are the deck's two jokers: five sevens stand pat.
  const auto jokers = CliJson("hand -g 8 -p 800,100,50,25,9,5,4,3,2,1 JK JK 7H 7D 7C --json");
  EXPECT_EQ(jokers["deck"], 54);
  EXPECT_EQ(jokers["best"], 0);

  const auto holds = CliJson("holds -g 0 " + kNineSix + " AS KS QS JS 3D --json");
  ASSERT_EQ(holds["holds"].size(), 32u);
  EXPECT_EQ(holds["columns"].back(), "Nothing");
  EXPECT_TRUE(Contains(
      Output("holds -g 3 -p 800,200,100,50,20,7,5,3,2,1,1 JK AS AD 5C 9H --view probability"),
      "C11 Nothing"));
}

TEST(Cli, ReturnOfNineSixJacks) {
  const TRun json = RunCli("return --game 0 " + kNineSix + " --json");
  ASSERT_EQ(json.Exit, 0) << json.Err;
  EXPECT_EQ(json.Err, "");  // no progress bar when stderr is no terminal
  const auto report = nlohmann::json::parse(json.Out);
  EXPECT_EQ(report["categoryChance"].size(), 9u);
  EXPECT_NEAR(report["return"].get<double>(), 0.995439043695, 1e-12);
  const std::string text = Output("return -g 0 " + kNineSix);
  EXPECT_TRUE(Contains(text, "Return            99.543904 %"));
  EXPECT_TRUE(Contains(text, "Nothing"));
}

// Ten lines of 9/6 Jacks or better: the published deviation per line, a distribution that
// adds up, the chances over a few deals; one line with 1 % cash back: the published
// long-run bankroll for a 1 % risk.
TEST(Cli, MultiPlayOfNineSixJacks) {
  const auto ten = CliJson("multiplay -g 0 " + kNineSix +
                           " --lines 10 --ruin --bankroll 100 --hands 50 --target 200 --json");
  EXPECT_EQ(ten["lines"], 10);
  EXPECT_NEAR(ten["covariance"].get<double>(), 1.966389, 5e-7);
  EXPECT_NEAR(ten["sdPerLine"].get<double>(), 6.10, 0.005);
  double mass = 0;
  for (const auto& point : ten["distribution"]) mass += point[1].get<double>();
  EXPECT_NEAR(mass, 1, 1e-12);
  EXPECT_NEAR(ten["win"].get<double>() + ten["push"].get<double>() + ten["loss"].get<double>(), 1,
              1e-12);
  EXPECT_GT(ten["ruin"].get<double>(), 0.01);
  EXPECT_GT(ten["reach"].get<double>(), 0.01);
  const auto one =
      CliJson("multiplay -g 0 " + kNineSix + " -l 1 --cashback 1 --bankroll-for 1 --json");
  EXPECT_EQ(std::lround(one["bankroll"].get<double>()), 7256);
  EXPECT_TRUE(
      Contains(Output("multiplay -g 0 " + kNineSix + " -l 1 --cashback 1"), "50 %  1092 (1092.1)"));
}

// A typed list is scored as the card says, names the rows it cannot read, and plays a hand
// by its first row present.
TEST(Cli, StrategyScoresATypedList) {
  const std::string data = TestFolder();
  std::ofstream(data + "/list") << "1. high pair, two pair\n2) 4 to a royal\n# comment\n"
                                   "low pair\n3 to a royal flush\n";
  const auto card = CliJson("strategy -g 0 " + kNineSix + " --evaluate " + data + "/list --json");
  EXPECT_NEAR(card["perfect"].get<double>(), 0.995439, 5e-7);
  EXPECT_NEAR(card["perfect"].get<double>() - card["return"].get<double>(),
              card["cost"].get<double>(), 1e-12);
  ASSERT_EQ(card["unread"].size(), 1u);
  EXPECT_EQ(card["unread"][0], "row 2: cannot read '4 to a royal'");
  ASSERT_EQ(card["lines"].size(), 4u);  // three rows and draw five
  EXPECT_EQ(card["lines"][0]["text"], "high pair, two pair");
  double share = 0;
  for (const auto& line : card["lines"]) share += line["share"].get<double>();
  EXPECT_NEAR(share, 1, 1e-12);
  // The list holds the pair of jacks; the four to a royal flush, which it cannot read, is best.
  const auto played = CliJson("strategy -g 0 " + kNineSix + " --evaluate " + data +
                              "/list --play JS JD QD KD TD --json");
  EXPECT_EQ(played["hold"], "HH---");
  EXPECT_EQ(played["line"], 1);
  EXPECT_EQ(played["text"], "high pair, two pair");
  EXPECT_LT(played["expectedReturn"].get<double>(), played["bestReturn"].get<double>());
  EXPECT_EQ(played["best"], "-HHHH");
}

TEST(Cli, AddTablesAndDeleteKeepTheDataFile) {
  const std::string data = TestFolder();
  EXPECT_TRUE(Contains(Output("add -g 0 -p 4000,250,125,45,30,20,15,10,5 -b 5 -d " + data),
                       "Stored as table 0"));
  EXPECT_TRUE(
      Contains(Output("add -g 0 " + kNineSix + " -d " + data), "Already stored as table 0"));
  Output("add -g 13 -p 800,50,25,9,6,4,3,2,1 -d " + data);
  EXPECT_EQ(std::filesystem::file_size(data + "/Tarnwick.dat"), 12u + 2 * 508);

  const auto list = CliJson("tables --json -d " + data);
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[1]["index"], 1);
  EXPECT_EQ(list[1]["game"], 13);
  EXPECT_EQ(CliJson("tables --json -g 13 -d " + data).size(), 1u);

  EXPECT_TRUE(Contains(Output("delete --index 0 -d " + data), "Jacks or better"));
  const auto left = CliJson("tables --json -d " + data);
  ASSERT_EQ(left.size(), 1u);
  EXPECT_EQ(left[0]["game"], 13);
  EXPECT_EQ(left[0]["index"], 0);

  // A damaged file: exit 3, listed as far as it reads, kept aside by the next save.
  std::filesystem::resize_file(data + "/Tarnwick.dat", 100);
  const TRun damaged = RunCli("tables -d " + data);
  EXPECT_EQ(damaged.Exit, 3);
  EXPECT_TRUE(Contains(damaged.Err, "warning: Tarnwick.dat: pay table record 1 of 1 is damaged"));
  const TRun repaired = RunCli("add -g 0 " + kNineSix + " -d " + data);
  EXPECT_EQ(repaired.Exit, 3);
  EXPECT_TRUE(Contains(repaired.Err, "copied to \"" + data + "/Tarnwick.dat.bak\""));
  EXPECT_EQ(std::filesystem::file_size(data + "/Tarnwick.dat.bak"), 100u);
  EXPECT_EQ(RunCli("tables -d " + data).Exit, 0);
}

void WriteUncomputedTable(const std::string& path) {
  std::string bytes;
  const auto put32 = [&](uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes += static_cast<char>(value >> (8 * i));
  };
  put32(1), put32(0), put32(0);             // one pay table, no casino records
  put32(0), put32(8), put32(52), put32(1);  // game, last category, deck, coin basis
  for (int d = 0; d < 6; ++d) put32(0);     // no deals counted
  for (uint32_t pay : {800, 50, 25, 9, 6, 4, 3, 2, 1}) put32(pay);
  bytes += std::string(6 * 9 * 8, '\0');  // no counts
  std::ofstream(path, std::ios::binary) << bytes;
}

// A table stored without counts is listed as such, and computed by add.
TEST(Cli, AStoredTableWithoutCountsIsNotComputed) {
  const std::string data = TestFolder();
  WriteUncomputedTable(data + "/Tarnwick.dat");
  EXPECT_TRUE(Contains(Output("tables -d " + data), "not computed"));
  EXPECT_EQ(CliJson("tables --json -d " + data)[0]["computed"], false);
  const std::string added = Output("add -g 0 -q " + kNineSix + " -d " + data);
  EXPECT_TRUE(Contains(added, "Computed and stored as table 0"));
  EXPECT_EQ(CliJson("tables --json -d " + data)[0]["computed"],
            true);  // its counts: DataStore.Keep
}

// An unreadable data file stops every command that stores tables (one line, exit 1).
TEST(Cli, AnUnreadableDataFileIsNeverReplaced) {
  namespace fs = std::filesystem;
  const fs::path data = TestFolder();
  fs::permissions(data, fs::perms::all);
  const fs::path file = data / "Tarnwick.dat";
  ASSERT_EQ(RunCli("add -g 0 -q " + kNineSix + " -d " + data.string()).Exit, 0);
  const std::string before = ReadText(file);
  std::ofstream(data / "list.csv") << "0,Jacks or better,1,800 50 25 9 6 4 3 2 2,8/5,\n";
  fs::permissions(data / "list.csv", fs::perms::all);
  fs::permissions(file, fs::perms::none);
  for (const std::string& command :
       {std::string("tables"), std::string("add -q -g 0 -p 800,50,25,9,6,4,3,2,3"),
        std::string("delete --index 0"), "import -q " + (data / "list.csv").string()}) {
    const TRun run = RunCli(command + " -d " + data.string(), AsOrdinaryUser());
    const std::string text = run.Out + run.Err;
    EXPECT_EQ(run.Exit, 1) << command << ": " << text;
    EXPECT_TRUE(Contains(text, file.string()));
    EXPECT_TRUE(Contains(text, "Permission denied"));
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1) << text;
  }
  // The reports only look a table up there: they compute it instead, with one warning.
  for (const std::string& command :
       {"stats -q -g 0 " + kNineSix, "bankroll winloss -q --json -g 0 " + kNineSix}) {
    const TRun run = RunCli(command + " -d " + data.string(), AsOrdinaryUser());
    EXPECT_EQ(run.Exit, 0) << command << ": " << run.Err;
    EXPECT_NE(run.Out, "") << command;
    EXPECT_EQ(run.Err.rfind("tarnwick-cli: warning: ", 0), 0u) << run.Err;
    EXPECT_TRUE(Contains(run.Err, "Permission denied; the table is computed without it\n"));
    EXPECT_EQ(std::count(run.Err.begin(), run.Err.end(), '\n'), 1) << run.Err;
  }
  fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_EQ(ReadText(file), before);
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(data)) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"Tarnwick.dat", "Tarnwick.dat.lock", "list.csv"}));
}

// Bad input gives one line on stderr naming the problem and exit status 2.
TEST(Cli, BadInputIsOneClearLine) {
  const std::string data = TestFolder();
  std::ofstream(data + "/file") << "x";
  const std::pair<std::string, std::string> cases[] = {
      {"hand --game 12 --pays 1 AS KS QS JS TS", "unknown game number 12"},
      {"hand --game Blackjack --pays 1 AS KS QS JS TS", "unknown game 'Blackjack'"},
      {"hand --game 0 --pays 800,50,25 AS KS QS JS TS", "needs 9 pays"},
      {"hand --game 0 --pays 800,50,25,9,6,4,3,2,-1 AS KS QS JS TS", "negative"},
      {"hand --game 0 --pays 800,50,25,9,6,4,3,2,x AS KS QS JS TS", "'x' is not a whole number"},
      {"hand --game 0 --pays 800,50,25,9,6,4,3,2,99999999999 AS KS QS JS TS",
       "pay 99999999999 is above the largest pay, 99999999"},
      {"hand --game 0 --pays 800,50,25,9,6,4,3,2,99999999999999999999 AS KS QS JS TS",
       "not a whole number"},
      {("practice -g 0 -p 500000000,50,25,9,6,4,3,2,1 -c 5 -s 1 --holds " + data + "/file"),
       "pay 500000000 is above the largest pay, 99999999"},
      {"practice -g 0 -p 800,50,25,9,6,4,3,2,1 -s 1 --hard 1e10 --holds -", "--hard 1e10"},
      {"practice -g 0 -p 800,50,25,9,6,4,3,2,1 -s 1 --hard nan --holds -", "--hard nan"},
      {"bankroll winloss -g 0 -p 1601,100,50,18,12,8,6,4,2 -b 2",
       "The pay 1601 for 2 coins is not a whole number of bets per coin"},
      {"hand --game 0 --pays 800,50,25,9,6,4,3,2,1 AS KS QS JS", "five cards, got 4"},
      {"hand --game 0 --pays 800,50,25,9,6,4,3,2,1 AS KS QS JS 1S", "'1S' is no card"},
      {"hand --game 0 --pays 800,50,25,9,6,4,3,2,1 AS KS QS AS TS", "AS is dealt twice"},
      {"hand --game 0 --pays 800,50,25,9,6,4,3,2,1 AS KS QS JK TS", "without jokers"},
      {"hand --game 3 --pays 800,200,100,50,20,7,5,3,2,1,1 AS KS JK JK TS", "only 1 joker"},
      {"hand --pays 1 AS KS QS JS TS", "--game"},
      {"poker", "poker"},
      {"return -g 0 -p 1,1,1,1,1,1,1,1,1 --basis 6", "--basis 6"},
      {"return -g 0 -p 1,1,1,1,1,1,1,1,1 --threads x", "--threads"},
      {"bench --part poker", "poker"},
      {"multiplay -g 0 -p 800,50,25,9,6,4,3,2,1 --lines 101", "--lines 101"},
      {"multiplay -g 0 -p 800,50,25,9,6,4,3,2,1 -l 3 --cashback -1", "--cashback -1"},
      {"multiplay -g 0 -p 800,50,25,9,6,4,3,2,1 -l 10 --ruin --bankroll 5 --hands 9",
       "cannot cover one deal of 10 lines"},
      {"bench --repeat 0", "--repeat"},
      {"strategy -g 0 -p 800,50,25,9,6,4,3,2,1 --level hard", "--level 'hard'"},
      {"strategy -g 0 -p 800,50,25,9,6,4,3,2,1 --evaluate /nonexistent", "does not exist"},
      {("strategy -g 0 -p 800,50,25,9,6,4,3,2,1 --evaluate " + data + "/file"),
       "no line that can be read"},
      {"tables -d /nonexistent/tarnwick", "does not exist"},
      {("tables -d " + data + "/file"), "is not a folder"},
      {("tables -d " + data + "/" + std::string(5000, 'x')), "File name too long"},
      {"tables --data ''", "empty"},
      {("delete --index '' -d " + data), "empty"},
      {("import " + data), "it is a folder"},
      {"import /dev/urandom", "not a regular file"},
      {"import /nonexistent.csv", "does not exist"},
      {"practice -g 0 -p 800,50,25,9,6,4,3,2,1 -s 1 --holds /nonexistent", "does not exist"},
      {("practice -g 0 -p 800,50,25,9,6,4,3,2,1 -s 1 -n 2 --holds " + data + "/file"),
       "1 holds for 2 hands"},
      {("practice -g 0 -p 800,50,25,9,6,4,3,2,1 -s 1 --holds " + data + "/file"),
       "holds line 1: 'x' is no hold"},
      {("practice -g 0 -p 4000,250,125,45,30,20,15,10,4 -b 5 -c 3 -s 1 --holds " + data + "/file"),
       "cannot be played with 3"},
  };
  for (const auto& [arguments, names] : cases) ExpectUsageError(arguments, names);
  EXPECT_FALSE(std::filesystem::exists(data + "/Tarnwick.dat"));
}

// Number options are plain decimals within their range: no octal, hex, exponent or sign.
TEST(Cli, NumberOptionsAreDecimalWithinTheirRange) {
  const std::string data = TestFolder();
  const std::string practice = "practice -g 0 " + kNineSix + " --json --holds " + data + "/holds";
  std::ofstream(data + "/holds") << "best\n";
  EXPECT_EQ(CliJson(practice + " -s 010")["seed"], 10);
  const auto largest = CliJson(practice + " --seed 18446744073709551615 --hard 0.25 -c 05");
  EXPECT_EQ(largest["seed"], 18446744073709551615u);
  EXPECT_EQ(largest["hard"], 0.25);
  EXPECT_EQ(largest["coins"], 5);
  ExpectUsageError("delete --index 010 -d " + data, "there is no table 10 ");
  for (const char* seed : {"0x10", "1e3", "-1", "-0", "99999999999999999999", "+5", "' 5'", "''"})
    ExpectUsageError(practice + " -s " + seed, "--seed");
  const std::pair<std::string, std::string> cases[] = {
      {"delete --index 0x10", "--index 0x10 is not a whole number in 0..2147483647"},
      {"delete --index 2147483648", "--index 2147483648 is not"},
      {"practice -g 0 -p 1,1,1,1,1,1,1,1,1 -s 1 --holds - --hands -1", "--hands -1 is not"},
      {"practice -g 0 -p 1,1,1,1,1,1,1,1,1 -s 1 --holds - --hard 0x1p3", "--hard 0x1p3 is not"},
      {"practice -g 0 -p 1,1,1,1,1,1,1,1,1 -s 1 --holds - --hard -1", "--hard -1 is not"},
      {"stats -g 0 -p 1,1,1,1,1,1,1,1,1 --speed 0x10",
       "--speed 0x10 is not a whole number in 10..10000"},
      {"bankroll ruin -g 0 -p 1,1,1,1,1,1,1,1,1 --initial 1e2", "--initial 1e2 is not"},
      {"bankroll winloss -g 0 -p 1,1,1,1,1,1,1,1,1 --coins 4294967297", "--coins 4294967297"},
      {"return -g 0 -p 1,1,1,1,1,1,1,1,1 --basis 010", "--basis 010 is not a whole number in 1..5"},
      {"bench --repeat +1", "--repeat +1 is not a whole number in 1..100"},
  };
  for (const auto& [arguments, names] : cases) ExpectUsageError(arguments, names);
}

// Practice replays a seed with the holds of a file, the figures adding up; kept sessions
// are listed. (Practice.TheCostOfEveryHoldIsItsDistanceFromTheBest grades against a listing.)
TEST(Cli, PracticeReplaysAndGradesTheHolds) {
  const std::string data = TestFolder();
  const std::string holds = data + "/holds.txt";
  std::ofstream(holds) << "# a session\nbest\nHHHHH\n\n-----\nbest\nh-h-h\nbest\n";
  const std::string game = "practice -g 0 " + kNineSix + " -c 5 -s 314 --holds " + holds;
  const auto report = CliJson(game + " --json");
  ASSERT_EQ(report["hands"].size(), 6u);
  EXPECT_EQ(report["seed"], 314);
  int mistakes = 0;
  double cost = 0;
  for (const auto& hand : report["hands"]) {
    const double bets = hand["costBets"].get<double>();
    EXPECT_EQ(hand["mistake"], bets > 0);
    mistakes += hand["mistake"].get<bool>() ? 1 : 0;
    cost += bets;
  }
  for (const int best : {0, 3, 5}) {
    EXPECT_FALSE(report["hands"][best]["mistake"]);
    EXPECT_EQ(report["hands"][best]["hold"], report["hands"][best]["best"]);
  }
  EXPECT_EQ(report["hands"][4]["hold"], "H-H-H");
  EXPECT_EQ(report["figures"]["mistakes"], mistakes);
  EXPECT_NEAR(report["figures"]["costBets"].get<double>(), cost, 1e-9);
  EXPECT_EQ(report["figures"]["coinsBet"], 30);

  // On three lines each hand shows its further lines and pays them all.
  const auto lines = CliJson(game + " --json --lines 3");
  EXPECT_EQ(lines["lines"], 3);
  EXPECT_EQ(lines["hands"][0]["dealt"], report["hands"][0]["dealt"]);
  int64_t won = 0;
  for (const auto& hand : lines["hands"]) {
    ASSERT_EQ(hand["lines"].size(), 2u);
    int64_t paid = hand["pay"].get<int64_t>();
    for (const auto& line : hand["lines"]) paid += line["pay"].get<int64_t>();
    EXPECT_EQ(hand["totalPay"], paid);
    won += paid;
  }
  EXPECT_EQ(lines["figures"]["coinsBet"], 90);
  EXPECT_EQ(lines["figures"]["coinsWon"], won);
  EXPECT_FALSE(report["hands"][0].contains("lines"));
  EXPECT_TRUE(Contains(Output(game + " -n 1 --lines 10"), "  line 10 "));
  for (const char* bad : {"0", "2", "4", "11"})
    ExpectUsageError(game + " --lines " + bad, std::string("--lines ") + bad + " is not");

  // Every hand names its lines; a drill and a typed reference strategy are taken and told.
  for (const auto& hand : report["hands"]) {
    EXPECT_FALSE(hand["line"].get<std::string>().empty());
    EXPECT_FALSE(hand["bestLine"].get<std::string>().empty());
    EXPECT_FALSE(hand.contains("strategyRow"));
  }
  const std::string strategy = data + "/strategy.txt";
  std::ofstream(strategy) << "4 to a royal flush\nhigh pair\n3 to a royal flush\nlow pair\n";
  const auto drill =
      CliJson(game + " --json --drill '4 to a flush' 'low pair' --strategy " + strategy);
  EXPECT_EQ(drill["drill"], (std::vector<std::string>{"4 to a flush", "low pair"}));
  for (const auto& hand : drill["hands"]) {
    // A low pair and four to a flush: the strategy's last row plays every one of them.
    EXPECT_EQ(hand["strategyRow"], 4) << hand.dump();
    EXPECT_EQ(hand["followed"], hand["strategyHold"] == hand["hold"]) << hand.dump();
  }
  ExpectUsageError(game + " --drill 'low pair' 'no line'", "'no line' is not a line");

  const auto& first = report["hands"][0]["dealt"];
  std::ofstream(holds) << first[0].get<std::string>() << " " << first[1].get<std::string>() << "\n";
  EXPECT_EQ(CliJson(game + " --json")["hands"][0]["hold"], "HH---");
  std::ofstream(holds) << "best\nbest\n";
  const std::string text = Output(game);
  EXPECT_TRUE(Contains(text, "seed 314"));
  EXPECT_TRUE(Contains(text, "Hands 2, mistakes 0 costing 0.00000 bets"));
  EXPECT_TRUE(Contains(text, "Accuracy 100.00 %, efficiency 100.00 %"));

  Output(game + " --save -d " + data);
  Output(game + " -n 1 --save -d " + data);
  const auto kept = CliJson("sessions --json -d " + data);
  ASSERT_EQ(kept["sessions"].size(), 2u);
  EXPECT_EQ(kept["damaged"], 0);
  EXPECT_EQ(kept["sessions"][0]["figures"]["hands"], 2);
  EXPECT_EQ(kept["sessions"][1]["figures"]["hands"], 1);
  EXPECT_EQ(kept["sessions"][1]["seed"], 314);
  EXPECT_EQ(kept["sessions"][1]["lines"], 1);
  EXPECT_TRUE(Contains(Output("sessions -d " + data), "Jacks or better"));
}

// The bench signs the counts of its runs: the same on one thread and on three.
TEST(Cli, BenchSignsItsCounts) {
  const auto one = CliJson("bench --part jacks --json --threads 1");
  const auto three = CliJson("bench --part jacks --json --threads 3");
  ASSERT_EQ(one["parts"].size(), 1u);
  EXPECT_EQ(three["parts"][0]["threads"], 3);
  EXPECT_EQ(one["parts"][0]["signature"].get<std::string>().size(), 16u);
  EXPECT_EQ(one["signature"], three["signature"]);
  const std::string hands = Output("bench --part hands");
  EXPECT_TRUE(Contains(hands, "10000 of each family"));
  EXPECT_TRUE(Contains(hands, "\nSignature "));
}

// Runs the program with SIGINT pending (blocked) from its start, whatever the machine's
// speed; returns the exit status (-1 on a signal) and stderr.
std::pair<int, std::string> RunInterrupted(const std::string& folder,
                                           std::vector<std::string> arguments) {
  const std::string err = folder + "/stderr";
  const pid_t child = fork();
  if (child == 0) {
    freopen(err.c_str(), "w", stderr);
    freopen("/dev/null", "w", stdout);
    sigset_t interrupt;
    sigemptyset(&interrupt);
    sigaddset(&interrupt, SIGINT);
    sigprocmask(SIG_BLOCK, &interrupt, nullptr);
    kill(getpid(), SIGINT);
    std::string name = "tarnwick-cli";
    std::vector<char*> argv{name.data()};
    for (std::string& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    execv(TARNWICK_CLI, argv.data());
    _exit(99);
  }
  int status = 0;
  waitpid(child, &status, 0);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadText(err)};
}

// Ctrl+C aborts a calculation (exit 130, nothing stored); during a save, after the save.
TEST(Cli, InterruptAbortsCleanlyOrAfterTheSave) {
  const std::string data = TestFolder();
  const auto [aborted, abortMessage] = RunInterrupted(
      data, {"add", "-g", "8", "-p", "800,100,50,25,9,5,4,3,2,1", "--threads", "1", "-d", data});
  EXPECT_EQ(aborted, 130);
  EXPECT_EQ(abortMessage, "tarnwick-cli: aborted; nothing was stored\n");
  EXPECT_FALSE(std::filesystem::exists(data + "/Tarnwick.dat"));

  WriteUncomputedTable(data + "/Tarnwick.dat");
  const auto [saved, saveMessage] = RunInterrupted(data, {"delete", "--index", "0", "-d", data});
  EXPECT_EQ(saved, 130);
  EXPECT_EQ(saveMessage, "tarnwick-cli: interrupted; the save under way was finished first, so \"" +
                             data + "/Tarnwick.dat\" holds this run's changes\n");
  EXPECT_EQ(std::filesystem::file_size(data + "/Tarnwick.dat"), 12u);  // no table left
}

// The statistics table of a stored table in every output form, and the charts of it.
TEST(Cli, StatsInEveryForm) {
  const std::string data = TestFolder();
  const std::string table = " -g 0 " + kNineSix + " -d " + data;
  Output("add -q" + table);
  const auto report = CliJson("stats --json" + table);
  ASSERT_EQ(report["rows"].size(), 12u);
  EXPECT_EQ(report["columns"][6]["title"], "Total");

  const std::string text = Output("stats" + table);
  EXPECT_TRUE(Contains(text, "19 933 230 517 200"));
  EXPECT_TRUE(Contains(text, "FOUR OF KIND         624          -"));

  const std::string csv = Output("stats --view probability --csv --speed 1200" + table);
  EXPECT_EQ(csv.substr(0, csv.find('\n')),
            ",5 Holds,4 Holds,3 Holds,2 Holds,1 Holds,0 Holds,Total,\"Occurs,hands\","
            "\"Occurs,hours\"");
  EXPECT_EQ(RunCli("stats --view odds" + table).Exit, 2);

  const std::string winloss = Output("bankroll winloss" + table);
  EXPECT_EQ(std::count(winloss.begin(), winloss.end(), '\n'), 2002);
  EXPECT_EQ(CliJson("bankroll ruin --initial 40 --desired 40 --json" + table)["hit"].size(), 2000u);
  // Every result with its class name (the classes and their totals are the core's, tested
  // in ResultDistribution).
  EXPECT_TRUE(
      Contains(Output("bankroll distribution -n 1" + table), "\nresult,probability,class\n-1,"));
  for (const auto& [hands, first] : {std::pair{"1", -1}, std::pair{"4000 --coins 5", -2500}}) {
    const auto rows = CliJson("bankroll distribution --json -n " + std::string(hands) + table);
    EXPECT_EQ(rows["points"].front()["result"], first);
    EXPECT_EQ(rows["points"].front()["class"], "loss");
  }
  for (const char* bad : {" ruin --initial 70 --desired 60", " distribution -n 4001", ""})
    EXPECT_EQ(RunCli(std::string("bankroll") + bad + table).Exit, 2) << bad;
}

// Run from a read-only folder, the program keeps settings and tables in the user's folders.
TEST(Cli, AReadOnlyProgramFolderUsesTheUsersFolders) {
  namespace fs = std::filesystem;
  const fs::path root = fs::path(::testing::TempDir()) / "tarnwick_readonly";
  if (fs::exists(root / "program"))
    fs::permissions(root / "program", fs::perms::owner_all, fs::perm_options::add);
  fs::remove_all(root);
  const fs::path program = root / "program";
  const fs::path built = fs::path(TARNWICK_CLI).parent_path();
  fs::create_directories(program);
  fs::copy_file(TARNWICK_CLI, program / "tarnwick-cli");
  fs::copy(built / "Langs", program / "Langs", fs::copy_options::recursive);
  fs::copy_file(built / "Tarnwick.dat", program / "Tarnwick.dat");
  const auto shipped = fs::file_size(program / "Tarnwick.dat");
  const fs::path home = root / "home";
  fs::create_directories(home);
  const fs::perms open = fs::perms::all;
  fs::permissions(root, open);
  fs::permissions(home, open);
  fs::permissions(program, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                               fs::perms::group_exec | fs::perms::others_read |
                               fs::perms::others_exec);
  const std::string environment =
      "env HOME=" + home.string() + " XDG_CONFIG_HOME=" + (home / "config").string() +
      " XDG_DATA_HOME=" + (home / "share").string() + " LANGUAGE=en " + AsOrdinaryUser();
  const std::string cli = (program / "tarnwick-cli").string();
  const auto run = [&](const std::string& arguments) {
    const TRun result = RunCli(arguments, environment, cli);
    return std::make_pair(result.Exit, result.Out + result.Err);
  };

  const auto where = CliJson("paths --json", environment, cli);
  EXPECT_EQ(where["portable"], false);
  EXPECT_EQ(where["settings"], (home / "config" / "tarnwick" / "tarnwick.ini").string());
  EXPECT_EQ(where["data"], (home / "share" / "tarnwick" / "Tarnwick.dat").string());
  EXPECT_GE(CliJson("tables --json -g 0", environment, cli).size(), 6u);
  EXPECT_EQ(run("language").first, 0);
  EXPECT_TRUE(fs::is_empty(home));

  const auto [languageExit, languages] = run("language deu");
  ASSERT_EQ(languageExit, 0) << languages;
  EXPECT_TRUE(Contains(languages, "* DEU  Deutsch"));
  EXPECT_TRUE(
      Contains(ReadText((home / "config" / "tarnwick" / "tarnwick.ini").string()), "Language=DEU"));
  EXPECT_TRUE(Contains(run("language").second, "* DEU"));
  EXPECT_EQ(run("language xx").first, 2);

  const auto [addExit, added] = run("add -q -g 0 -p 800,50,25,9,6,4,3,2,1 --basis 1");
  ASSERT_EQ(addExit, 0) << added;  // already shipped: found in the user's copy
  EXPECT_EQ(fs::file_size(home / "share" / "tarnwick" / "Tarnwick.dat"), shipped);
  const auto [newExit, stored] = run("add -q -g 0 -p 800,50,25,9,6,4,3,2,3");
  ASSERT_EQ(newExit, 0) << stored;
  EXPECT_GT(fs::file_size(home / "share" / "tarnwick" / "Tarnwick.dat"), shipped);
  EXPECT_EQ(fs::file_size(program / "Tarnwick.dat"), shipped);
  EXPECT_FALSE(fs::exists(program / "tarnwick.ini"));
  fs::permissions(program, fs::perms::owner_all, fs::perm_options::add);
}

}  // namespace
