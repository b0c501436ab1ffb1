// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The pay-table commands of tarnwick-cli: compute a table's whole-game return, and list,
// add and delete the tables of the data file.

#include <filesystem>
#include <ostream>
#include <string>

#include "games.h"
#include "payout.h"

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
};

// The program's own folder when it is writable, else $XDG_DATA_HOME/tarnwick (default
// ~/.local/share/tarnwick).
std::filesystem::path DefaultDataFolder();

// A pay table of the game from the command line's pays, reduced to its smallest basis.
TPayout TableFromOptions(const TPokerDescription& game, const TTableOptions& options);

// Plays every deal of the game with the table (progress on stderr, Ctrl+C aborts) on
// `threads` threads (0: one per hardware thread).
void ComputeTable(const TPokerDescription& game, TPayout& table, bool quiet, int threads);

int RunReturn(const TCatalogue& games, const TTableOptions& options, std::ostream& out);
int RunTables(const TCatalogue& games, const TTableOptions& options, std::ostream& out);
int RunAdd(const TCatalogue& games, const TTableOptions& options, std::ostream& out);
int RunDelete(const TCatalogue& games, const TTableOptions& options, std::ostream& out);

}  // namespace tarnwick::cli
