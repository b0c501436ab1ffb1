// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later

// Rules of the windows that live in the core: the progress dialog's times and the pay
// table editor's reading of a typed pay.

#include <gtest/gtest.h>

#include "engine/payout.h"
#include "progress.h"
#include "stats/table_grid.h"

namespace tarnwick {
namespace {

TEST(Progress, TimesAsMinutesAndSeconds) {
  const std::pair<int64_t, const char*> times[] = {
      {0, "00:00"}, {75'000, "01:15"}, {75'999, "01:15"}, {6'000'000, "100:00"}, {-5, "00:00"}};
  for (const auto& [ms, text] : times) EXPECT_EQ(FormatMinutesSeconds(ms), text) << ms;
  // 100 of the 134459 deal classes after one second: 1343.59 s still to go.
  EXPECT_EQ(RemainingMs(134459, 100, 1000), 1'343'590);
  EXPECT_EQ(RemainingMs(134459, 0, 1000), 0);  // nothing done yet: no estimate
  EXPECT_EQ(RemainingMs(134459, 134459, 5000), 0);
  EXPECT_EQ(RemainingMs(3, 1, 1), 2);  // 3 x 1 ms in all, rounded
}

TEST(PayText, DigitsOnlyUpToTheLargestPay) {
  const std::pair<const char*, int32_t> pays[] = {{"12", 12}, {"1a2", 12},   {" 1,000 ", 1000},
                                                  {"", 0},    {"00042", 42}, {"99999999", kMaxPay}};
  for (const auto& [text, pay] : pays) EXPECT_EQ(ParsePayText(text), pay) << text;
  EXPECT_FALSE(ParsePayText("100000000"));
  EXPECT_FALSE(ParsePayText("99999999999999999999999"));  // no wrap-around
}

// The Game and Payout grid: pays for the coins played, nothing past the last category, and
// a dash, not a figure, for a table without whole-game counts.
TEST(TableGrid, PaysForTheCoinsAndNoFiguresWithoutCounts) {
  const TCatalogue games = BuildCatalogue();
  const TPayout table = MakePayout(*FindGame(games, 0),
                                   std::vector<int32_t>{4000, 250, 125, 45, 30, 20, 15, 10, 5}, 5);
  EXPECT_EQ(TableGridText(table, 5, 0), "4000");
  EXPECT_EQ(TableGridText(table, 1, 0), "800");
  EXPECT_EQ(TableGridText(table, 3, 8), "3");
  EXPECT_EQ(TableGridText(table, 1, 9), "");
  for (int row = kTableGridFirstFigure; row < kTableGridRows; ++row)
    EXPECT_EQ(TableGridText(table, 1, row), "-") << row;
  EXPECT_EQ(TableGridSortKey(0, 8), 1);
  EXPECT_EQ(TableGridSortKey(9, 8), 0);
  EXPECT_EQ(TableGridSortKey(kTableGridSeparator, 12), 0);
  EXPECT_EQ(TableGridSortRow(-4), TableGridSortKey(16, 8) + 12);
}

}  // namespace
}  // namespace tarnwick
