// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The report commands of tarnwick-cli: the statistics table of a pay table, the breakdown
// of every hold of a dealt hand, and the bankroll charts' points.

#include <array>
#include <ostream>
#include <string>
#include <vector>

#include "engine/cards.h"
#include "engine/games.h"
#include "table_commands.h"

namespace tarnwick::cli {

int RunStats(const TCatalogue& games, const TTableOptions& options, std::ostream& out);

int RunHolds(const TPokerDescription& game, TPayout& table, const std::array<int, kHandSize>& cards,
             const TTableOptions& options, std::ostream& out);

// chart: "distribution", "winloss" or "ruin".
int RunBankroll(const TCatalogue& games, const std::string& chart, const TTableOptions& options,
                std::ostream& out);

}  // namespace tarnwick::cli
