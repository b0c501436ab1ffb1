// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// tarnwick-cli multiplay: one deal drawn on several lines, its exact distribution, variance,
// covariance and risk of ruin, with cash back.

#include <optional>
#include <ostream>

#include "engine/games.h"
#include "table_commands.h"

namespace tarnwick::cli {

struct TMultiPlayOptions {
  TTableOptions Table;
  int Lines = 1;
  double CashBack = 0;  // percent of the coins bet
  bool Ruin = false;    // the chances over --hands deals from --bankroll
  double Bankroll = 0;  // line bets
  int Hands = 0;
  std::optional<double> Target;        // line bets
  std::optional<double> BankrollRisk;  // percent: the long-run bankroll for this risk
  double CoinValue = 0;                // money a coin; 0 shows no money
};

int RunMultiPlay(const TCatalogue& games, const TMultiPlayOptions& options, std::ostream& out);

}  // namespace tarnwick::cli
