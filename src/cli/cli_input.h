// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Turns the command line's words into core values; every problem is an InputError whose
// text names it in one line.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/cards.h"
#include "engine/games.h"

namespace tarnwick::cli {

// One number in a printf format ("%11.6f"), for the reports.
std::string Format(const char* format, double value);

// A game by its number or its name (case-insensitive).
const TPokerDescription& ParseGame(const TCatalogue& games, const std::string& text);

// Pays separated by commas, whole numbers of coins 0..kMaxPay (how many is for MakePayout
// to say).
std::vector<int32_t> ParsePays(const std::string& text);

// Exactly five distinct cards that the game's deck holds.
std::array<int, kHandSize> ParseHand(const TPokerDescription& game,
                                     const std::vector<std::string>& words);

// The text of a file named on the command line, of at most `maxBytes`; "-" reads the
// standard input. A file that is missing or cannot be read is an InputError naming it as
// `what`.
std::string ReadInputFile(const std::string& path, uint64_t maxBytes, const std::string& what);

}  // namespace tarnwick::cli
