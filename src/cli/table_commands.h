// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The pay-table commands of tarnwick-cli: compute a table's whole-game return, and list,
// add and delete the tables of the data file.

#include <filesystem>
#include <ostream>
#include <string>

#include "engine/games.h"
#include "engine/payout.h"

namespace tarnwick::cli {

struct TTableOptions {
  std::string Game;
  std::string Pays;
  int Basis = 1;     // the pays are given for this many coins
  std::string Data;  // folder of the data file; empty: the default folder
  std::string GameFilter;
  int Index = -1;
  bool Json = false;
  bool Quiet = false;  // no progress bar
  int Threads = 0;     // threads of the whole-game run; 0: one per hardware thread
  // The report commands.
  std::string View = "hands";  // hands, probability or return
  bool Csv = false;
  int Speed = 600;   // hands per hour
  int Coins = 1;     // coins played per hand
  int Hands = 100;   // hands of the result distribution
  int Initial = 30;  // bankrolls of the risk of ruin, in coins
  int Desired = 60;
  int Lines = 1;         // the charts: lines drawn from each deal
  double CashBack = 0;   // the charts: percent of the coins bet added to every result
  std::string ListFile;  // import: the pay table list
  bool Replace = false;  // import: start from an empty data file
};

// The exit status of a command that read a damaged data file (it used what could be read).
inline constexpr int kDamagedDataExit = 3;

// The folder of --data, which must exist; else the default folder (`forWriting`: the one
// saves go to, prepared for them; else the one a query reads, and nothing is created).
std::filesystem::path DataFolder(const TTableOptions& options, bool forWriting);

// A pay table of the game from the command line's pays, reduced to its smallest basis.
TPayout TableFromOptions(const TPokerDescription& game, const TTableOptions& options);

// Plays every deal of the game with the table (progress on stderr, Ctrl+C aborts) on
// `threads` threads (0: one per hardware thread).
void ComputeTable(const TPokerDescription& game, TPayout& table, bool quiet, int threads);

// The stored table equal to the options' one when it has whole-game counts, else the
// table computed now (and not stored); `damaged` is set when the data file was damaged. A
// data file that cannot be read is a warning: the table is computed.
TPayout StoredOrComputed(const TCatalogue& games, const TPokerDescription& game,
                         const TTableOptions& options, bool& damaged);

int RunReturn(const TCatalogue& games, const TTableOptions& options, std::ostream& out);
int RunTables(const TCatalogue& games, const TTableOptions& options, std::ostream& out);
int RunAdd(const TCatalogue& games, const TTableOptions& options, std::ostream& out);
// Computes every table of a pay table list (data/paytables.csv) that the data file does
// not hold yet and stores it; checks each computed return against the published one.
int RunImport(const TCatalogue& games, const TTableOptions& options, std::ostream& out);
int RunDelete(const TCatalogue& games, const TTableOptions& options, std::ostream& out);

}  // namespace tarnwick::cli
