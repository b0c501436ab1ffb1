// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli_input.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <iostream>

#include "engine/payout.h"
#include "errors.h"
#include "store/safe_files.h"
#include "text.h"

namespace tarnwick::cli {

namespace {

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

}  // namespace

std::string Format(const char* format, double value) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, format, value);
  return buffer;
}

const TPokerDescription& ParseGame(const TCatalogue& games, const std::string& text) {
  const std::string wanted(Trim(text));
  int number = 0;
  const char* end = wanted.data() + wanted.size();
  const auto [ptr, ec] = std::from_chars(wanted.data(), end, number);
  if (!wanted.empty() && ec == std::errc() && ptr == end) {
    if (const TPokerDescription* game = FindGame(games, number)) return *game;
    throw InputError("unknown game number " + wanted + " (see 'tarnwick-cli games')");
  }
  for (const auto& game : games) {
    if (Lower(game->Name) == Lower(wanted)) return *game;
  }
  throw InputError("unknown game '" + text + "' (see 'tarnwick-cli games')");
}

std::vector<int32_t> ParsePays(const std::string& text) {
  std::vector<int32_t> pays;
  size_t start = 0;
  while (true) {
    const size_t comma = text.find(',', start);
    const std::string word(Trim(
        std::string_view(text).substr(start, comma == std::string::npos ? comma : comma - start)));
    int64_t pay = 0;
    const char* end = word.data() + word.size();
    const auto [ptr, ec] = std::from_chars(word.data(), end, pay);
    if (word.empty() || ec != std::errc() || ptr != end) {
      throw InputError("pay '" + word + "' is not a whole number of coins");
    }
    if (pay < 0) throw InputError("pay " + word + " is negative");
    if (pay > kMaxPay) throw InputError(PayAboveLimitText(pay));
    pays.push_back(static_cast<int32_t>(pay));
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  return pays;
}

std::array<int, kHandSize> ParseHand(const TPokerDescription& game,
                                     const std::vector<std::string>& words) {
  if (words.size() != kHandSize) {
    throw InputError("a hand has five cards, got " + std::to_string(words.size()));
  }
  std::array<int, kHandSize> codes{};
  int jokers = 0;
  for (size_t i = 0; i < words.size(); ++i) {
    const auto code = ParseCard(words[i]);
    if (!code) {
      throw InputError("'" + words[i] +
                       "' is no card (rank 2-9, T or 10, J, Q, K, A; suit S, C, D, H; JK a joker)");
    }
    if (*code < 0) {
      // The jokers are told apart by their order, as the deck numbers them.
      ++jokers;
      if (jokers > game.JokerCount) {
        throw InputError(game.JokerCount == 0
                             ? game.Name + " is played without jokers"
                             : game.Name + " has only " + std::to_string(game.JokerCount) +
                                   (game.JokerCount == 1 ? " joker" : " jokers"));
      }
      codes[i] = NextJoker(std::span(codes.data(), i));
    } else {
      if (std::find(codes.begin(), codes.begin() + static_cast<long>(i), *code) !=
          codes.begin() + static_cast<long>(i)) {
        throw InputError("card " + CardText(*code) + " is dealt twice");
      }
      codes[i] = *code;
    }
  }
  return codes;
}

std::string ReadInputFile(const std::string& path, uint64_t maxBytes, const std::string& what) {
  if (path == "-") {
    std::string text;
    std::array<char, 1 << 16> buffer{};
    while (std::cin.read(buffer.data(), buffer.size()) || std::cin.gcount() > 0) {
      text.append(buffer.data(), static_cast<size_t>(std::cin.gcount()));
      if (text.size() > maxBytes) throw InputError(what + " on the standard input is too long");
    }
    return text;
  }
  std::optional<std::string> text;
  try {
    text = ReadFileIfPresent(path, maxBytes);
  } catch (const DataFileError& e) {
    throw InputError(e.Message());
  }
  if (!text) throw InputError(what + " \"" + path + "\" does not exist");
  return std::move(*text);
}

}  // namespace tarnwick::cli
