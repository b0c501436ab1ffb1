// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// tarnwick-cli practice: plays the hands of a seed with holds read from a file and grades
// each against the best hold, as the practice window does; tarnwick-cli sessions: the
// practice sessions kept in the data folder.

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "engine/games.h"
#include "table_commands.h"

namespace tarnwick::cli {

struct TPracticeCommandOptions {
  TTableOptions Table;    // game, pays, basis, coins, data folder and --json
  uint64_t Seed = 0;      // the seed of the deals
  int Hands = 0;          // hands to play; 0: one per hold of the file
  std::string HoldsFile;  // "-": the standard input
  double Hard = -1;       // the hard-hands filter in bets; negative: every hand
  bool Save = false;      // keep the session in the data folder's session file
  int Lines = 1;          // lines each hand is drawn on: 1, 3, 5 or 10
  // A drill: deal only hands offering both of these lines (in words); empty: every hand.
  std::vector<std::string> Drill;
  // A reference strategy: a level to generate for the table, or a file of a typed list;
  // empty: none.
  std::string Strategy;
};

// The help of the holds file's format.
extern const char* const kHoldsFileHelp;

int RunPractice(const TCatalogue& games, const TPracticeCommandOptions& options, std::ostream& out);

// The kept sessions with their figures, oldest first.
int RunSessions(const TTableOptions& options, std::ostream& out);

}  // namespace tarnwick::cli
