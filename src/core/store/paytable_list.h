// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The readable list of pay tables the program ships (data/paytables.csv): one table per
// line, "game,name,basis,pays,label,published", pays separated by blanks, the published
// return in percent or empty; '#' starts a comment line. The first line that is not a comment
// may be those column names. Lines end in LF, CR LF or CR.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/games.h"
#include "engine/payout.h"

namespace tarnwick {

// The largest list file read: far more than every table of every game.
inline constexpr uint64_t kMaxListBytes = 16u << 20;

struct TListedTable {
  int Line = 0;
  TPayout Table;  // game, categories, deck, pays for its basis; no counts yet
  std::string Label;
  std::optional<double> Published;  // percent
  int PublishedDecimals = 4;        // the decimals it was published with
};

// A line of a list that is not a table, and why.
struct TRefusedLine {
  int Line = 0;
  std::string Reason;
};

// Parses the list; a line that is not a valid table of the catalogue raises an InputError
// naming the line, or, when `refused` is given, is added there and left out.
std::vector<TListedTable> ParsePayTableList(std::string_view text, const TCatalogue& games,
                                            std::vector<TRefusedLine>* refused = nullptr);

// The list of these tables in the format ParsePayTableList reads, with empty labels and
// published returns.
std::string PayTableListText(const std::vector<const TPayout*>& tables, const TCatalogue& games);

// Whether a computed return (a fraction) agrees with a published one (percent with
// `decimals` decimals, 0..6), rounded or cut off at the last published digit.
bool MatchesPublished(long double computedReturn, double publishedPercent, int decimals = 4);

}  // namespace tarnwick
