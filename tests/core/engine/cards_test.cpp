// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/cards.h"

#include <gtest/gtest.h>

#include "errors.h"
#include "test_games.h"

namespace tarnwick {
namespace {

THand HandOf(const std::vector<std::string>& texts) {
  THand hand;
  for (int code : testing::HandOf(texts)) hand.AddCard(code % 13, code / 13);
  return hand;
}

TEST(Cards, CompleteDecksOfEachFamily) {
  TDeck natural;
  EXPECT_EQ(natural.Total, 52);
  EXPECT_EQ(natural.WildCount, 0);
  for (int r = 0; r < kRankCount; ++r) {
    EXPECT_EQ(natural.Counts[r][kTotalsColumn], 4);
    for (int s = 0; s < kSuitCount; ++s) EXPECT_EQ(natural.Counts[r][s], 1);
  }
  for (int s = 0; s < kSuitCount; ++s) EXPECT_EQ(natural.Counts[kTotalsRow][s], 13);

  TDeck deuces;
  deuces.SetWildRank(0);
  EXPECT_EQ(deuces.Total, 52);
  EXPECT_EQ(deuces.WildCount, 4);
  for (int c = 0; c < 5; ++c) EXPECT_EQ(deuces.Counts[0][c], 0);
  for (int s = 0; s < kSuitCount; ++s) EXPECT_EQ(deuces.Counts[kTotalsRow][s], 12);

  TDeck jokers;
  jokers.SetJokerCount(2);
  EXPECT_EQ(jokers.Total, 54);
  EXPECT_EQ(jokers.WildCount, 2);
  EXPECT_EQ(jokers.Counts[kTotalsRow][3], 13);

  TDeck both;
  both.SetJokerCount(1);
  both.SetWildRank(0);
  EXPECT_EQ(both.Total, 53);
  EXPECT_EQ(both.WildCount, 5);
  both.RemoveCard(-1, -1);
  both.RemoveCard(0, 2);  // a deuce leaves as a wild card
  EXPECT_EQ(both.WildCount, 3);
  EXPECT_EQ(both.Total, 51);
}

TEST(Cards, HandSummaries) {
  const THand wheel = HandOf({"AS", "2H", "3D", "4C", "5S"});
  EXPECT_EQ(wheel.MinRank, 0);
  EXPECT_EQ(wheel.MaxRank, 3);
  const THand broadway = HandOf({"TS", "JH", "QD", "KC", "AS"});
  EXPECT_EQ(broadway.MinRank, 8);
  EXPECT_EQ(broadway.MaxRank, 11);
  const THand aces = HandOf({"AS", "AH", "AD", "AC", "KS"});
  EXPECT_EQ(aces.MinRank, 11);
  EXPECT_EQ(aces.MaxRank, 11);
  EXPECT_EQ(aces.RankHistogram, (std::array<int32_t, 5>{11, 1, 0, 0, 1}));
  const THand pair = HandOf({"7S", "7H", "2D", "9C", "KS"});
  EXPECT_EQ(pair.RankHistogram, (std::array<int32_t, 5>{9, 3, 1, 0, 0}));
  const THand flush = HandOf({"2H", "7H", "9H", "JH", "KH"});
  EXPECT_EQ(flush.SuitHistogram, (std::array<int32_t, 6>{3, 0, 0, 0, 0, 1}));
  EXPECT_EQ(flush.Dump(), "2H 7H 9H JH KH ");

  // A change of suit moves the totals and the histogram.
  THand hand = HandOf({"2H", "7H", "9H", "JH", "KS"});
  hand.ChangeSuit(4, 3);
  EXPECT_EQ(hand.SuitHistogram, (std::array<int32_t, 6>{3, 0, 0, 0, 0, 1}));
  EXPECT_EQ(hand.Counts[11][0], 0);
  EXPECT_EQ(hand.Counts[11][3], 1);
  EXPECT_EQ(hand.Counts[kTotalsRow][3], 5);
  hand.ChangeSuit(0, 1);
  EXPECT_EQ(hand.SuitHistogram, (std::array<int32_t, 6>{2, 1, 0, 0, 1, 0}));
  EXPECT_EQ(hand.Dump(), "2C 7H 9H JH KH ");
}

TEST(Cards, WildCardsCopyKeptAndClear) {
  THand wild;
  wild.SetWildRank(0);
  wild.AddCard(0, 3);  // deuce of hearts
  wild.AddCard(-1, -1);
  wild.AddCard(12, 0);
  EXPECT_EQ(wild.WildCount, 2);
  EXPECT_EQ(wild.Total, 3);
  EXPECT_EQ(wild.Ranks[0], -1);
  EXPECT_EQ(wild.Suits[0], -1);
  EXPECT_EQ(wild.Counts[kTotalsRow][3], 0);
  EXPECT_EQ(wild.Dump(), "## ## AS ");
  wild.Clear();
  EXPECT_EQ(wild.WildCount, 0);
  EXPECT_EQ(wild.Total, 0);

  const THand hand = HandOf({"AS", "KH", "QD", "JC", "9S"});
  THand kept;
  kept.CopyKept(hand, 31);
  EXPECT_EQ(kept.Total, 0);
  EXPECT_EQ(kept.RankHistogram, (std::array<int32_t, 5>{13, 0, 0, 0, 0}));
  EXPECT_EQ(kept.MinRank, 12);
  EXPECT_EQ(kept.MaxRank, 0);
  kept.CopyKept(hand, 0);
  EXPECT_EQ(kept.Dump(), hand.Dump());
  kept.CopyKept(hand, 5);  // replaces positions 0 and 2
  EXPECT_EQ(kept.Dump(), "KH JC 9S ");
  EXPECT_EQ(kept.Counts[12][kTotalsColumn], 0);
  EXPECT_EQ(kept.Counts[kTotalsRow][0], 1);
  EXPECT_THROW(kept.AddCard(12, 12), RangeError);
  THand full = hand;
  EXPECT_THROW(full.AddCard(2, 2), RangeError);
}

TEST(Cards, TablesAndCardText) {
  for (int mask = 0; mask < kMaskCount; ++mask)
    EXPECT_EQ(DrawCount[mask], __builtin_popcount(mask));
  EXPECT_EQ(Binomial[5][47], 1533939);
  EXPECT_EQ(Binomial[2][47], 1081);
  EXPECT_EQ(Binomial[5][52], 2598960);
  EXPECT_EQ(Binomial[6][53], 22957480);
  EXPECT_EQ(Binomial[3][2], 0);
  EXPECT_EQ(Binomial[0][0], 1);
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

  EXPECT_EQ(ParseCard("AS"), 12);
  EXPECT_EQ(ParseCard("10d"), 8 + 26);
  EXPECT_EQ(ParseCard("2c"), 13);
  EXPECT_EQ(ParseCard("jk"), -1);
  EXPECT_EQ(ParseCard("th"), 8 + 39);
  for (const char* bad : {"", "A", "1S", "AX", "10", "ASS", "11S", "ZZ"}) {
    EXPECT_FALSE(ParseCard(bad).has_value()) << bad;
  }
  for (int code = 0; code < 52; ++code) EXPECT_EQ(ParseCard(CardText(code)), code);
  EXPECT_EQ(CardText(-2), "JK");
  EXPECT_EQ(CardFromCode(51).Rank, 12);
  EXPECT_EQ(CardFromCode(51).Suit, 3);
  EXPECT_THROW(CardFromCode(52), RangeError);
}

}  // namespace
}  // namespace tarnwick
