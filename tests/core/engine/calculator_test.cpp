// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/calculator.h"

#include <gtest/gtest.h>

#include <random>

#include "errors.h"
#include "test_games.h"

namespace tarnwick {
namespace {

using testing::ErrorOf;

// Ways to draw j cards of j different ranks among the ranks in `ranks` (a bit set),
// by listing every subset of ranks.
std::array<int64_t, 6> ListedNoPair(const TDeck& deck, unsigned ranks) {
  std::array<int64_t, 6> ways{};
  for (unsigned subset = 0; subset < (1u << 13); ++subset) {
    if ((subset & ~ranks) != 0) continue;
    const int size = __builtin_popcount(subset);
    if (size > 5) continue;
    int64_t product = 1;
    for (int r = 0; r < 13; ++r) {
      if (subset & (1u << r)) product *= deck.Counts[r][kTotalsColumn];
    }
    ways[static_cast<size_t>(size)] += product;
  }
  return ways;
}

// The full deck, and the deck of a dealt broadway hand, which leaves eight full ranks.
TEST(Calculator, FullDeckAndBroadwayExamples) {
  TCalculator calc;
  TDeck deck;
  THand hand;
  calc.Init(deck, hand);
  EXPECT_EQ(calc.NoPair[0][5], 1317888);
  EXPECT_EQ(calc.NoPair[4][4], 126720);
  EXPECT_EQ(calc.NoPair[0][0], 1);
  EXPECT_EQ(calc.NoPair[0][1], 52);
  EXPECT_EQ(calc.PairCompletion[2], 13 * 6);
  EXPECT_EQ(calc.PairCompletion[0], 0);

  for (int code : {12, 11 + 13, 10 + 26, 9 + 39, 7}) {  // AS KC QD JH 9S
    const TCard card = CardFromCode(code);
    deck.RemoveCard(card.Rank, card.Suit);
  }
  calc.Init(deck, hand);
  // C(8,5) 4^5 + C(8,4) C(5,1) 4^4 3 + ... : listed over the subsets of ranks.
  EXPECT_EQ(calc.NoPair[0][5], ListedNoPair(deck, 0x1FFF)[5]);
  EXPECT_EQ(calc.NoPair[0][5], 56 * 1024 + 70 * 5 * 256 * 3 + 56 * 10 * 64 * 9 + 28 * 10 * 16 * 27 +
                                   8 * 5 * 4 * 81 + 243);
}

// Random decks and kept hands: the no-pair counts (also with one rank left out) and the
// pair completions equal a listing over subsets of ranks, on a deck prepared for many
// kept hands as well as on one counted for this kept hand.
TEST(Calculator, RandomDecksMatchSubsetListing) {
  std::mt19937 random(7);
  for (int trial = 0; trial < 300; ++trial) {
    TDeck deck;
    THand kept;
    std::array<int, 52> order{};
    for (int i = 0; i < 52; ++i) order[static_cast<size_t>(i)] = i;
    std::shuffle(order.begin(), order.end(), random);
    const int keptCount = static_cast<int>(random() % 5);
    const int gone = 5 + static_cast<int>(random() % 20);
    for (int i = 0; i < gone; ++i) {
      const TCard card = CardFromCode(order[static_cast<size_t>(i)]);
      deck.RemoveCard(card.Rank, card.Suit);
      if (i < keptCount) kept.AddCard(card.Rank, card.Suit);
    }
    // Half of the trials take the rank-by-rank path of a deck with wild cards.
    if (trial % 2 == 1) deck.WildCount = 1;
    TCalculator calc;
    calc.Init(deck, kept);
    unsigned absent = 0;
    for (int r = 0; r < 13; ++r) {
      if (kept.Counts[r][kTotalsColumn] == 0) absent |= 1u << r;
    }
    const auto listed = ListedNoPair(deck, absent);
    for (int j = 0; j <= 5; ++j) ASSERT_EQ(calc.NoPair[0][j], listed[j]) << trial << " j " << j;
    for (int r = 0; r < 13; ++r) {
      const int n = deck.Counts[r][kTotalsColumn];
      if (!(absent & (1u << r)) || n == 0) continue;
      const auto without = ListedNoPair(deck, absent & ~(1u << r));
      for (int j = 0; j <= 5; ++j) ASSERT_EQ(calc.NoPair[n][j], without[j]) << trial;
    }
    for (int y = 0; y <= 2; ++y) {
      int32_t expected = 0;
      for (int r = 0; r < 13; ++r) {
        const int n = deck.Counts[r][kTotalsColumn];
        if (kept.Counts[r][kTotalsColumn] == 2 - y && n >= y) expected += Binomial[y][n];
      }
      EXPECT_EQ(calc.PairCompletion[y], expected) << trial << " y " << y;
    }
    // The same deck prepared once for many kept hands: each kept rank is divided out of
    // the deck's counts, which must give what the count of the absent ranks gave.
    if (deck.WildCount == 0) {
      TCalculator prepared;
      ASSERT_TRUE(prepared.PrepareDeck(deck)) << trial;
      prepared.Init(kept);
      EXPECT_EQ(prepared.NoPair, calc.NoPair) << trial;
      EXPECT_EQ(prepared.PairCompletion, calc.PairCompletion) << trial;
    }
  }
}

// An overflow names CalcFormula (Init's name shows in the engine's error chain).
TEST(Calculator, ErrorsNameTheStep) {
  TCalculator calc;
  TCalculator::TPowerRow huge = {0, 2000000, 0, 0, 0, 0}, out{};
  const std::string error = ErrorOf<OverflowError>([&] { calc.CalcFormula(huge, out); });
  EXPECT_TRUE(error.starts_with("Error in calculator  (CalcFormula)\r\n")) << error;
}

}  // namespace
}  // namespace tarnwick
