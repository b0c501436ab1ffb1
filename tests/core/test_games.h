// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Games, pay tables, hands and helpers shared by the tests.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <exception>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "engine/cards.h"
#include "engine/games.h"
#include "engine/payout.h"
#include "progress.h"

// EXPECT_NEAR for long double figures, which the double-only macro would round first.
#define EXPECT_CLOSE(a, b, tolerance) \
  EXPECT_LE(std::fabs((a) - (b)), (tolerance)) << (a) << " vs " << (b)

namespace tarnwick::testing {

// Deuces and a joker wild (five wild cards): no game of the catalogue has both, the
// engine supports it.
class TDeucesAndJoker : public TDeucesWild {
 public:
  TDeucesAndJoker() {
    Name = "Deuces and Joker (test)";
    JokerCount = 1;
    GameId = 99;
  }
};

inline const TPokerDescription& Game(int gameId) {
  static const TCatalogue games = BuildCatalogue();
  return *FindGame(games, gameId);
}

// Full-pay tables of three common games.
inline const std::vector<int32_t> kNineSix = {800, 50, 25, 9, 6, 4, 3, 2, 1};
inline const std::vector<int32_t> kFullPayDeuces = {800, 200, 25, 15, 9, 5, 3, 2, 2, 1};
inline const std::vector<int32_t> kJokerKings = {800, 200, 100, 50, 20, 7, 5, 3, 2, 1, 1};

inline TPayout TableFor(const TPokerDescription& game, const std::vector<int32_t>& pays,
                        int basis = 1) {
  return MakePayout(game, pays, basis);
}
inline TPayout TableFor(int gameId, const std::vector<int32_t>& pays, int basis = 1) {
  return MakePayout(Game(gameId), pays, basis);
}

// A table of any number of categories on the 52-card deck, for figures that need no game.
inline TPayout TableOf(const std::vector<int32_t>& pays, int basis = 1) {
  TPayout table;
  table.CoinBasis = basis;
  table.LastCategory = static_cast<int32_t>(pays.size()) - 1;
  std::copy(pays.begin(), pays.end(), table.Pays.begin());
  table.DeckSize = 52;
  return table;
}

template <class TRandom>
std::vector<int32_t> RandomPays(TRandom& random, const TPokerDescription& game, unsigned below) {
  std::vector<int32_t> pays;
  for (int c = 0; c <= game.LastCategory; ++c)
    pays.push_back(static_cast<int32_t>(random() % below));
  return pays;
}

// Five cards from their texts ("AS", "JK"); the jokers are numbered -1, -2 in order.
inline std::array<int, 5> HandOf(const std::vector<std::string>& texts) {
  std::array<int, 5> codes{};
  int jokers = 0;
  for (size_t i = 0; i < 5; ++i) {
    codes[i] = ParseCard(texts.at(i)).value();
    if (codes[i] < 0) codes[i] = -1 - jokers++;
  }
  return codes;
}

inline std::string HandText(const std::array<int, 5>& codes) {
  std::string text;
  for (int code : codes) text += CardText(code) + " ";
  return text;
}

// A random dealt hand: 0..5 wild cards, then naturals after a pattern of ranks or crowded
// into a few ranks and suits. Jokers are numbered -1, -2 in dealt order.
template <class TRandom>
std::array<int, 5> RandomHand(TRandom& random, const TPokerDescription& game) {
  const auto below = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
  std::vector<int> wilds;
  for (int j = 0; j < game.JokerCount; ++j) wilds.push_back(-1 - j);
  for (int s = 0; s < 4 && game.WildRank >= 0; ++s) wilds.push_back(game.WildRank + 13 * s);
  std::shuffle(wilds.begin(), wilds.end(), random);
  std::vector<int> cards(wilds.begin(),
                         wilds.begin() + below(std::min(static_cast<int>(wilds.size()), 5) + 1));
  const auto add = [&](int code) {
    if (code % 13 == game.WildRank || std::find(cards.begin(), cards.end(), code) != cards.end())
      return 0;
    cards.push_back(code);
    return 1;
  };
  const int style = below(3);
  if (style == 1) {
    static const std::vector<std::vector<int>> patterns = {
        {4, 1}, {3, 2}, {3, 1, 1}, {2, 2, 1}, {2, 1, 1, 1}, {1, 1, 1, 1, 1}};
    std::vector<int> ranks;
    for (int count : patterns[static_cast<size_t>(below(6))]) {
      int rank = 0;
      do rank = below(13);
      while (rank == game.WildRank || std::find(ranks.begin(), ranks.end(), rank) != ranks.end());
      ranks.push_back(rank);
      for (int k = 0; k < count && cards.size() < 5;) k += add(rank + 13 * below(4));
    }
  }
  const int low = below(13);
  const int suit = below(4);
  while (cards.size() < 5) {
    add(style == 0 ? below(52) : (low + below(6)) % 13 + 13 * (below(3) == 0 ? below(4) : suit));
  }
  std::shuffle(cards.begin(), cards.end(), random);
  int jokers = 0;
  for (int& code : cards) {
    if (code < 0) code = -1 - jokers++;
  }
  std::array<int, 5> hand{};
  std::copy(cards.begin(), cards.end(), hand.begin());
  return hand;
}

// 128-bit integers and their decimal text, to check exact figures against.
__extension__ using Int128 = __int128;
inline std::string Text(Int128 value) {
  if (value == 0) return "0";
  std::string digits;
  for (Int128 rest = value < 0 ? -value : value; rest > 0; rest /= 10)
    digits.insert(digits.begin(), static_cast<char>('0' + static_cast<int>(rest % 10)));
  return value < 0 ? "-" + digits : digits;
}

// Whether `text` contains `part`; the text is the message when it does not.
inline ::testing::AssertionResult Contains(const std::string& text, const std::string& part) {
  if (text.find(part) != std::string::npos) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "no \"" << part << "\" in: " << text;
}

// The message of the error of type TError that `action` raises, or kNoError.
inline const std::string kNoError = "(no error raised)";
template <class TError = std::exception>
std::string ErrorOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const TError& e) {
    return e.what();
  }
  return kNoError;
}

// A progress that hands every step to a function and counts Begin and End.
class TStepProgress : public TProgress {
 public:
  explicit TStepProgress(std::function<void(int64_t done)> step = {}) : step_(std::move(step)) {}

  int Begins = 0, Ends = 0;
  int64_t Total = -1;

 protected:
  void OnBegin(int64_t total) override {
    ++Begins;
    Total = total;
  }
  void OnStep(int64_t done) override {
    if (step_) step_(done);
  }
  void OnEnd() override { ++Ends; }

 private:
  std::function<void(int64_t done)> step_;
};

// The size of a long test: the environment variable, else the build's size (0: none), else
// the default.
inline int TestSize(const char* name, int built, int fallback) {
  const char* text = std::getenv(name);
  if (text != nullptr && *text != '\0') return std::max(1, std::atoi(text));
  return built > 0 ? built : fallback;
}

}  // namespace tarnwick::testing
