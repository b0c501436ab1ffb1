// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The commands of tarnwick-cli; each writes its report to `out` and returns the exit code.

#include <array>
#include <cstdint>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "engine/cards.h"
#include "engine/games.h"
#include "engine/poker_engine.h"

namespace tarnwick::cli {

// Every game with its number, wild cards, deck and categories.
int RunGames(const TCatalogue& games, bool json, std::ostream& out);

// An engine of the game with the table as its pay table (which must outlive it) and the
// cards dealt.
std::unique_ptr<TPokerEngine> AnalyseHand(const TPokerDescription& game, TPayout& table,
                                          const std::array<int, kHandSize>& cards);

// The exact analysis of all 32 holds of one dealt hand.
int RunHand(const TPokerDescription& game, TPayout& table, const std::array<int, kHandSize>& cards,
            bool json, std::ostream& out);

// Where the program keeps its settings and pay tables and finds its language files.
int RunPaths(bool json, std::ostream& out);

// Lists the user-interface languages, or makes `code` the language of the desktop program.
int RunLanguage(const std::string& code, std::ostream& out);

}  // namespace tarnwick::cli
