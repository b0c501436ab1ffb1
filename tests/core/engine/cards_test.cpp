// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/cards.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "errors.h"
#include "test_games.h"

namespace tarnwick {
namespace {

TEST(Cards, TablesCardTextAndRangeChecks) {
  const std::tuple<int, int, int64_t> binomials[] = {
      {5, 47, 1533939}, {2, 47, 1081}, {5, 52, 2598960}, {6, 53, 22957480}, {3, 2, 0}, {0, 0, 1}};
  for (const auto& [k, n, value] : binomials) EXPECT_EQ(Binomial[k][n], value) << k << " " << n;
  EXPECT_THROW(BinomialAt(7, 10), RangeError);
  EXPECT_THROW(BinomialAt(2, 54), RangeError);
  EXPECT_TRUE(BitSet(16, 4));
  EXPECT_TRUE(BitSet(16, 36));  // the bit is taken mod 32
  EXPECT_FALSE(BitSet(16, 3));
  // The shift-and-mask count (the code of machines without POPCNT) against a count bit by
  // bit, over every set of ranks and a few wider words.
  for (uint32_t bits : {0xFFFFFFFFu, 0x80000001u, 0xDEADBEEFu}) {
    int set = 0;
    for (int b = 0; b < 32; ++b) set += BitSet(static_cast<int>(bits), b) ? 1 : 0;
    EXPECT_EQ(CountBitsPortably(bits), set) << bits;
  }
  for (uint32_t ranks = 0; ranks < (1u << 13); ++ranks) {
    int set = 0;
    for (int b = 0; b < 13; ++b) set += (ranks >> b) & 1u;
    ASSERT_EQ(CountBitsPortably(ranks), set) << ranks;
    ASSERT_EQ(CountBits(ranks), set) << ranks;
  }

  for (const auto& [text, code] :
       {std::pair{"AS", 12}, {"10d", 8 + 26}, {"2c", 13}, {"jk", -1}, {"th", 8 + 39}})
    EXPECT_EQ(ParseCard(text), code) << text;
  for (const char* bad : {"", "A", "1S", "AX", "10", "ASS", "11S", "ZZ"}) {
    EXPECT_FALSE(ParseCard(bad).has_value()) << bad;
  }
  for (int code = 0; code < 52; ++code) EXPECT_EQ(ParseCard(CardText(code)), code);
  EXPECT_EQ(CardText(-2), "JK");
  EXPECT_THROW(CardFromCode(52), RangeError);
  // A hand takes no card of a suit that does not exist, nor a sixth card.
  THand hand;
  EXPECT_THROW(hand.AddCard(12, 12), RangeError);
  for (int code : testing::HandOf({"AS", "KH", "QD", "JC", "9S"}))
    hand.AddCard(code % 13, code / 13);
  EXPECT_THROW(hand.AddCard(2, 2), RangeError);
}

// The two jokers: the first is -2, the second -1; both write as "JK", and as "JK2" for the
// second where they are told apart. A card is wild by being a joker or of the wild rank.
TEST(Cards, JokersWildCardsAndCardLists) {
  const int32_t empty = kEmptyPosition;
  const int32_t ten = *ParseCard("TD");
  EXPECT_EQ(CardText(kSecondJoker) + CardText(empty) + CardText(ten), "JK--TD");
  EXPECT_EQ(CardName(kFirstJoker) + CardName(kSecondJoker) + CardName(empty), "JKJK2");
  EXPECT_EQ(NextJoker(std::vector<int32_t>{ten, kSecondJoker}), kFirstJoker);
  EXPECT_EQ(NextJoker(std::vector<int32_t>{ten, kFirstJoker}), kSecondJoker);
  // Deuces wild (rank 0), no wild rank, and the empty position, never wild.
  const std::tuple<int32_t, int, bool> cases[] = {
      {0, 0, true},      {39, 0, true},           {1, 0, false},
      {0, -1, false},    {kFirstJoker, -1, true}, {kSecondJoker, 0, true},
      {empty, 0, false}, {kAce, kAce, true}};
  for (const auto& [code, wildRank, wild] : cases)
    EXPECT_EQ(IsWildCard(code, wildRank), wild) << code << ' ' << wildRank;

  const std::array<int32_t, kHandSize> hand = {12, kSecondJoker, ten, empty, kFirstJoker};
  EXPECT_EQ(CardsAt(hand, 0b10110), (std::vector<std::string>{"JK", "TD", "JK"}));
  EXPECT_EQ(CardsText(hand, 0b10110, CardName), "JK2 TD JK");
  EXPECT_EQ(CardsText(hand, HeldPositions(0b11110)), "AS");
  EXPECT_EQ(HoldText(hand, 0b00100), "AS JK -- -- JK");
  EXPECT_EQ(HoldText(hand, 0b00001, CardName), "-- JK2 TD -- JK");
}

}  // namespace
}  // namespace tarnwick
