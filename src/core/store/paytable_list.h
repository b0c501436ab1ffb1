// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The readable list of pay tables the program ships (data/paytables.csv): one table per
// line, "game,name,basis,pays,label,published", pays separated by blanks, the published
// return in percent or empty; '#' starts a comment line.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/games.h"
#include "engine/payout.h"

namespace tarnwick {

struct TListedTable {
  int Line = 0;
  TPayout Table;  // game, categories, deck, pays for its basis; no counts yet
  std::string Label;
  std::optional<double> Published;  // percent
};

// Parses the list; a line that is not a valid table of the catalogue raises an InputError
// naming the line.
std::vector<TListedTable> ParsePayTableList(std::string_view text, const TCatalogue& games);

// Whether a computed return (a fraction) agrees with a published one (percent with four
// decimals), rounded or cut off at the last published digit.
bool MatchesPublished(long double computedReturn, double publishedPercent);

}  // namespace tarnwick
