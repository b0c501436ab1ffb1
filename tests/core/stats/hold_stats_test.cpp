// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "stats/hold_stats.h"

#include <gtest/gtest.h>

#include "engine/wild_engine.h"
#include "test_games.h"
#include "text.h"

namespace tarnwick {
namespace {

using testing::kNineSix;

struct TAnalysed {
  TPayout Table;
  std::unique_ptr<TPokerEngine> Engine;
  int Best = 0;

  TAnalysed(int gameId, const std::vector<int32_t>& pays, const std::vector<std::string>& cards,
            int basis = 1)
      : Table(testing::TableFor(gameId, pays, basis)),
        Engine(CreateEngineForGame(testing::Game(gameId))) {
    Engine->SetPayout(&Table);
    Engine->DealCards(testing::HandOf(cards));
    Best = Engine->GetTheBest();
  }
};

// Four to a royal flush, drawing one card to AS KS QS JS, counted by hand: TS makes the
// royal, 8 more spades a flush, 3 tens a straight, 12 aces to jacks a high pair; and the
// cells that show the figures.
TEST(HoldStats, FourToARoyalCountedByHandAndItsCells) {
  TAnalysed hand(0, kNineSix, {"AS", "KS", "QS", "JS", "3D"});
  const THoldStats holds = FillHoldStats(*hand.Engine);
  const THandStat& draw = holds[16];
  EXPECT_EQ(draw.Code, "00001");
  const std::array<int32_t, 10> counts = {1, 0, 0, 0, 8, 3, 0, 0, 12, 23};
  for (size_t c = 0; c < counts.size(); ++c) {
    EXPECT_EQ(draw.Count[c], counts[c]) << "category " << c;
    EXPECT_CLOSE(draw.Probability[c], counts[c] / 47.0L, 1e-18L);
  }
  EXPECT_CLOSE(draw.Return[0], 800 / 47.0L, 1e-16L);
  EXPECT_EQ(draw.Return[9], 0);
  EXPECT_CLOSE(draw.ExpectedReturn, 872 / 47.0L, 1e-16L);

  // Standing pat: the hand's own "nothing" is certain.
  EXPECT_EQ(holds[0].Count[9], 1);
  EXPECT_CLOSE(holds[0].Probability[9], 1, 1e-18L);
  EXPECT_EQ(holds[0].ExpectedReturn, 0);

  EXPECT_EQ(HoldCellText(draw, kHoldReturnColumn, TFigureView::Hands), "1855.31915");
  EXPECT_EQ(HoldCellText(draw, kFirstHoldCategoryColumn, TFigureView::Hands), "1");
  EXPECT_EQ(HoldCellText(draw, kFirstHoldCategoryColumn, TFigureView::Probability), "2.1277");
  EXPECT_EQ(HoldCellText(draw, kFirstHoldCategoryColumn, TFigureView::Return), "1702.1277");
  // A category the hold cannot reach shows "- " in every view.
  for (TFigureView view : {TFigureView::Hands, TFigureView::Probability, TFigureView::Return})
    EXPECT_EQ(HoldCellText(draw, kFirstHoldCategoryColumn + 2, view), "- ");
  EXPECT_EQ(HoldCellText(holds[0], kHoldReturnColumn, TFigureView::Hands), "- ");
  EXPECT_EQ(FigureViewOf(7), TFigureView::Hands);  // a damaged stored view
  EXPECT_EQ(FigureViewOf(2), TFigureView::Return);
}

// For every hold the returns by category add up to the hold's expected return.
TEST(HoldStats, EveryHoldAddsUp) {
  for (const auto& [game, pays, cards] :
       {std::tuple{0, kNineSix, std::vector<std::string>{"TH", "TD", "TS", "4C", "4H"}},
        std::tuple{3, testing::kJokerKings,
                   std::vector<std::string>{"JK", "AS", "AD", "5C", "9H"}}}) {
    TAnalysed hand(game, pays, cards);
    const THoldStats holds = FillHoldStats(*hand.Engine);
    for (int mask = 0; mask < kMaskCount; ++mask) {
      long double returned = 0;
      for (int c = 0; c <= hand.Engine->LastCategory; ++c) returned += holds[mask].Return[c];
      EXPECT_CLOSE(returned, holds[mask].ExpectedReturn, 1e-14L) << game << " " << mask;
    }
  }
}

// The all-holds order: best expected return first; equal figures go by the cards replaced
// (more first), then the higher code; the reversed order turns everything round.
TEST(HoldStats, TheAllHoldsOrder) {
  TAnalysed hand(0, kNineSix, {"AS", "KS", "QS", "JS", "3D"});
  const THoldStats holds = FillHoldStats(*hand.Engine);
  const auto byReturn = SortedHolds(holds, kHoldReturnColumn + 1, TFigureView::Hands);
  EXPECT_EQ(byReturn[0], 16);  // draw one to the royal flush
  for (size_t i = 1; i < byReturn.size(); ++i) {
    const THandStat& before = holds[static_cast<size_t>(byReturn[i - 1])];
    const THandStat& after = holds[static_cast<size_t>(byReturn[i])];
    ASSERT_GE(before.ExpectedReturn, after.ExpectedReturn) << i;
    if (before.ExpectedReturn != after.ExpectedReturn) continue;
    ASSERT_GE(before.DrawnCount, after.DrawnCount) << i;
    if (before.DrawnCount == after.DrawnCount) {
      ASSERT_GT(before.Code, after.Code) << i;
    }
  }
  const auto reversed = SortedHolds(holds, -(kHoldReturnColumn + 1), TFigureView::Hands);
  EXPECT_TRUE(std::equal(reversed.begin(), reversed.end(), byReturn.rbegin()));
  // The picture column: every card replaced first, standing pat last.
  const auto byPicture = SortedHolds(holds, kHoldPictureColumn + 1, TFigureView::Return);
  EXPECT_EQ(byPicture.front(), 31);
  EXPECT_EQ(byPicture[1], 15);  // "11110": of the holds replacing four, the highest code
  EXPECT_EQ(byPicture.back(), 0);
  // A category column follows the view: the most final royal flushes come from drawing five,
  // the best chance of one from drawing one.
  const int royal = kFirstHoldCategoryColumn;
  EXPECT_EQ(SortedHolds(holds, royal + 1, TFigureView::Hands)[0], 31);
  EXPECT_EQ(SortedHolds(holds, royal + 1, TFigureView::Probability)[0], 16);
  EXPECT_EQ(CompareHolds(holds[3], holds[3], royal, TFigureView::Hands), 0);

  const THandStat five(5);
  EXPECT_EQ(five.Code, "10100");
  EXPECT_EQ(five.DrawnCount, 2);
  EXPECT_THROW(THandStat(32), RangeError);
}

// Four aces and a three: standing pat and drawing to the aces both pay exactly 25, so they
// tie; holding three aces and the three draws one of 47 (the discarded ace is not among
// them): a three for the full house (3 x 9) or three of a kind (44 x 3), 159/47 in all.
TEST(HoldStats, TiesAndCostsAgainstTheBestAreExact) {
  TAnalysed hand(0, kNineSix, {"AS", "AH", "AD", "AC", "3D"});
  const THoldStats holds = FillHoldStats(*hand.Engine);
  EXPECT_EQ(hand.Best, 0);
  EXPECT_EQ(TiesForBest(*hand.Engine, 0), 1);
  EXPECT_EQ(TiesForBest(*hand.Engine, 16), 1);
  EXPECT_EQ(TiesForBest(*hand.Engine, 1), 0);  // not the best
  EXPECT_TRUE(TiesWith(holds[16], holds[0]));
  EXPECT_EQ(HoldCostText(holds[16], holds[0], 5), "");
  EXPECT_CLOSE(holds[1].ExpectedReturn, 159 / 47.0L, 1e-16L);
  EXPECT_EQ(HoldCostText(holds[1], holds[0], 5), "21.61702 (108.08511)");  // 1016/47 per bet
  EXPECT_EQ(HoldCostText(holds[1], holds[0], 1), "21.61702");

  // Fractions that round alike are told apart, equal ones with other denominators are not.
  EXPECT_TRUE(SameReturn({1, 3}, {2, 6}));
  EXPECT_EQ(CompareReturn({(int64_t{1} << 56) + 1, 1533939}, {int64_t{1} << 56, 1533939}), 1);
  EXPECT_EQ(CompareReturn({2, 3}, {1533939, 2300909}), 1);  // 2/3 against a hair less

  // The spreadsheet rows: unformatted, in the given order, a tie costing exactly 0.
  const auto order = SortedHolds(holds, kHoldReturnColumn + 1, TFigureView::Hands);
  const auto rows =
      HoldsTableRows(holds, order, 0, 5, {"Royal, flush", "Nothing"}, TFigureView::Hands);
  ASSERT_EQ(rows.size(), 33u);
  EXPECT_EQ(rows[0][5], "Royal, flush");
  EXPECT_EQ(rows[1][0], "00001");  // the ties: more cards replaced first
  EXPECT_EQ(rows[2][0], "00000");
  EXPECT_EQ(rows[1][3], "0");
  const THandStat& third = holds[static_cast<size_t>(order[2])];
  EXPECT_EQ(rows[3][0], third.Code);
  EXPECT_CLOSE(std::stold(rows[3][3]), 25 - third.ExpectedReturn, 1e-14L);
  EXPECT_EQ(DelimitedText({{"a,b", "say \"hi\"", "3"}}, ','), "\"a,b\",\"say \"\"hi\"\"\",3\n");
  EXPECT_EQ(DelimitedText({{"a\tb", "c"}}, '\t'), "a b\tc\n");
}

TEST(HoldStats, FiguresArePerBetForAnyCoinBasis) {
  TAnalysed one(0, kNineSix, {"AS", "KS", "QS", "JS", "3D"});
  TAnalysed five(0, {4000, 250, 125, 45, 30, 20, 15, 10, 5}, {"AS", "KS", "QS", "JS", "3D"}, 5);
  const THoldStats a = FillHoldStats(*one.Engine);
  const THoldStats b = FillHoldStats(*five.Engine);
  for (int mask = 0; mask < kMaskCount; ++mask) {
    EXPECT_CLOSE(a[mask].ExpectedReturn, b[mask].ExpectedReturn, 1e-15L);
    EXPECT_CLOSE(a[mask].Return[0], b[mask].Return[0], 1e-15L);
  }
  EXPECT_CLOSE(b[16].ExpectedReturn, 872 / 47.0L, 1e-16L);
}

}  // namespace
}  // namespace tarnwick
