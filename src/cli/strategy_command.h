// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// tarnwick-cli strategy: a strategy card generated for a pay table, or a typed one scored,
// and the hold a card plays for one hand.

#include <ostream>
#include <string>
#include <vector>

#include "engine/games.h"
#include "table_commands.h"

namespace tarnwick::cli {

struct TStrategyOptions {
  TTableOptions Table;
  std::string Level = "advanced";  // beginner, intermediate, advanced or expert
  int MaxLines = -1;               // replaces the level's limit when 0 or more
  std::string Evaluate;            // a typed strategy to score instead of generating one
  std::vector<std::string> Play;   // five cards: the hold the strategy plays for them
};

int RunStrategy(const TCatalogue& games, const TStrategyOptions& options, std::ostream& out);

}  // namespace tarnwick::cli
