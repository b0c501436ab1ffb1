// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/chart_rules.h"

#include <gtest/gtest.h>

#include "test_games.h"

namespace tarnwick {
namespace {

TEST(ChartRules, ChanceBarsAndLabels) {
  const std::tuple<double, int, const char*> chances[] = {
      {0.0, 0, "0.000%"},        {0.0062, 0, "0.620%"}, {0.0063, 1, "0.630%"},
      {0.123456, 10, "12.346%"}, {0.5, 40, "50.000%"},  {1.0, 80, "100.000%"}};
  for (const auto& [p, width, label] : chances) {
    EXPECT_EQ(ChanceBarWidth(p), width) << p;
    EXPECT_EQ(ChanceLabel(p), label) << p;
  }
}

// Axis labels 1, 2 or 5 times a power of ten apart, as few as fit the count; bars are
// never split.
TEST(ChartRules, AxisSteps) {
  EXPECT_EQ(NiceStep(43, 8, 1), 10);   // 5.4 bars a label at the least
  EXPECT_EQ(NiceStep(40, 8, 1), 5);    // exactly 8 labels fit
  EXPECT_EQ(NiceStep(310, 8, 1), 50);  // 38.75
  EXPECT_EQ(NiceStep(3, 8, 1), 1);     // never less than a bar
  EXPECT_EQ(NiceStep(10.67, 6), 2);
  EXPECT_DOUBLE_EQ(NiceStep(1.59, 6), 0.5);
  EXPECT_DOUBLE_EQ(NiceStep(0.0012, 6), 0.0002);
  EXPECT_EQ(NiceStep(0, 6), 1);  // nothing to label
}

// One hand of five coins: net -1 bet (59 %), 0 (30 %), +2 (10 %), +9 (1 %); each bar is 5
// coins wide and centred on its result in coins.
TEST(ChartRules, TheBarUnderTheMouseAndItsHint) {
  TPayout table = testing::TableOf({10, 3, 1, 0});
  table.Deals[0] = 1000;
  for (int c = 0; c < 4; ++c) table.Counts[0][c] = std::array<int64_t, 4>{10, 100, 300, 50}[c];
  table.ComputeTotals();
  TResultDistribution result;
  testing::TStepProgress progress;
  ComputeResultDistribution(table, 1, 5, result, progress);
  TBarHintTexts texts{"Win %s coins: %s", "Lose %s coins: %s", "Win %s coins (%s): %s",
                      "Lose %s coins (%s): %s"};
  const auto hintAt = [&](double x, int coinValue = 0) {
    const int bar = BarAt(result.Points, x, 5);
    return bar < 0 ? std::string() : BarHint(result.Points[bar], coinValue, texts);
  };
  EXPECT_EQ(hintAt(-5.4), "Lose 5 coins: 59.000%");
  EXPECT_EQ(hintAt(-2.5), "Win 0 coins: 30.000%");  // the left edge belongs to the bar
  EXPECT_EQ(hintAt(11.9), "Win 10 coins: 10.000%");
  EXPECT_EQ(hintAt(45), "Win 45 coins: 1.000%");
  EXPECT_EQ(hintAt(20), "Win 20 coins: 0.000%");
  EXPECT_EQ(hintAt(-10), "");  // left of every bar
  EXPECT_EQ(hintAt(47.5), "");
  // With a coin value of 0.25 the size shows in money too; a loss as its size.
  EXPECT_EQ(hintAt(-5.4, 25), "Lose 5 coins (1.25): 59.000%");
  EXPECT_EQ(hintAt(45, 25), "Win 45 coins (11.25): 1.000%");
  // A language text is never a printf format: only %s takes a value.
  texts.Lose = "%d%n %s %x%%: %s";
  EXPECT_EQ(BarHint(result.Points[0], 0, texts), "%d%n 5 %x%: 59.000%");
}

TEST(ChartRules, MoneyIsExactToTheHundredth) {
  // 0.1 and 0.7 have no exact binary fraction; counted in hundredths they stay exact.
  const std::tuple<int64_t, int, const char*> amounts[] = {
      {0, 25, "0.00"}, {3, 25, "0.75"},       {-7, 5, "-0.35"}, {1500, kMaxCoinValue, "1500000.00"},
      {3, 10, "0.30"}, {-1001, 70, "-700.70"}};
  for (const auto& [coins, value, text] : amounts) EXPECT_EQ(MoneyText(coins, value), text) << text;
}

TEST(ChartRules, OptionSteps) {
  const std::tuple<int, int, int> steps[] = {{10, -1, 9},  {10, +1, 20}, {9, +1, 10},
                                             {20, -1, 10}, {15, -1, 10}, {2, -1, 1}};
  for (const auto& [hands, step, next] : steps) EXPECT_EQ(StepHands(hands, step), next) << hands;
  const std::tuple<int, int, int> lines[] = {{1, +1, 3},     {3, +1, 5}, {7, +1, 10}, {50, +1, 100},
                                             {100, +1, 100}, {7, -1, 5}, {3, -1, 1},  {1, -1, 1}};
  for (const auto& [count, step, next] : lines) EXPECT_EQ(StepLines(count, step), next) << count;
}

TEST(ChartRules, OptionChecks) {
  for (const auto& [hands, valid] : {std::pair{0, false}, {1, true}, {4000, true}, {4001, false}})
    EXPECT_EQ(HandsValid(hands), valid) << hands;
  const std::tuple<int, int, bool, bool> bankrolls[] = {
      {30, 60, true, true},      {60, 60, true, true}, {1, 1500, true, true},
      {70, 60, false, false},    {0, 60, false, true}, {30, 1501, true, false},
      {1501, 1501, false, false}};
  for (const auto& [initial, desired, initialValid, desiredValid] : bankrolls) {
    const TBankrollCheck check = CheckBankrolls(initial, desired);
    EXPECT_EQ(check.InitialValid, initialValid) << initial << " " << desired;
    EXPECT_EQ(check.DesiredValid, desiredValid) << initial << " " << desired;
    EXPECT_EQ(check.Valid(), initialValid && desiredValid);
  }
}

TEST(ChartRules, SettingsKeepTheLastChartAndFallBackWhenOutOfRange) {
  TIniFile settings;
  EXPECT_EQ(ReadChartSettings(settings), TChartSettings());
  const TChartSettings written{kRiskOfRuinKind, 250, 40, 90, 125, 10, 50};
  WriteChartSettings(settings, written);
  TIniFile again;
  again.Parse(settings.Text());
  EXPECT_EQ(ReadChartSettings(again), written);
  TIniFile wrong;
  wrong.Parse(
      "[Charts]\nChart=3\nHands=5000\nInitialBankroll=70\nDesiredBankroll=60\nCoinValue=-5\n"
      "Lines=101\nCashBack=10001\n");
  EXPECT_EQ(ReadChartSettings(wrong), (TChartSettings{kExpectedGainKind, 10, 30, 60, 0, 1, 0}));
}

}  // namespace
}  // namespace tarnwick
