// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/window_settings.h"

#include <gtest/gtest.h>

namespace tarnwick {
namespace {

// A settings file as earlier versions wrote it reads as it was meant; a damaged or
// hand-edited one never opens a window in a state it cannot show.
TEST(WindowSettings, StoredValuesAndDamagedOnes) {
  TIniFile ini;
  ini.Parse(
      "[Game]\nLines=100\n"
      "[All Hands]\nStyle=2\n"
      "[Statistics]\nStyle=1\nSpeed=900\n"
      "[Practice]\nWarn=1\nWarnAbove=0.25\nHard=2\nHardWithin= +0.05 \nHoldAll=0\nLines=5\n");
  EXPECT_EQ(ReadAllHoldsSettings(ini).Style, TFigureView::Return);
  EXPECT_EQ(ReadStatisticsSettings(ini), (TStatisticsSettings{TFigureView::Probability, 900}));
  EXPECT_EQ(ReadPracticeSettings(ini), (TPracticeSettings{true, 0.25, true, 0.05, false, 5}));
  EXPECT_EQ(ReadGameDialogSettings(ini).Lines, 100);
  EXPECT_EQ(ReadPracticeSettings(TIniFile()), TPracticeSettings());
  EXPECT_EQ(ReadGameDialogSettings(TIniFile()).Lines, 10);
  for (const char* lines : {"0", "101", "-1", "x", "1.5", ""}) {
    TIniFile damaged;
    damaged.WriteString("Game", "Lines", lines);
    EXPECT_EQ(ReadGameDialogSettings(damaged), TGameDialogSettings()) << lines;
  }

  for (const auto& [style, speed, bets, expectedView, expectedSpeed] :
       {std::tuple{"7", "20000", "nan", TFigureView::Hands, 10000},
        std::tuple{"-1", "3", "inf", TFigureView::Hands, 10},
        std::tuple{"x", "fast", "1e400", TFigureView::Hands, 600},
        std::tuple{"1.5", "600.5", "-0.5", TFigureView::Hands, 600},
        std::tuple{"", "", "100.5", TFigureView::Hands, 600},
        std::tuple{"2", "10000", "0.1.2", TFigureView::Return, 10000}}) {
    TIniFile damaged;
    damaged.WriteString("All Hands", "Style", style);
    damaged.WriteString("Statistics", "Style", style);
    damaged.WriteString("Statistics", "Speed", speed);
    damaged.WriteString("Practice", "WarnAbove", bets);
    damaged.WriteString("Practice", "HardWithin", bets);
    damaged.WriteString("Practice", "Lines", style);  // no line count among the styles
    EXPECT_EQ(ReadAllHoldsSettings(damaged).Style, expectedView) << style;
    EXPECT_EQ(ReadStatisticsSettings(damaged), (TStatisticsSettings{expectedView, expectedSpeed}))
        << style << ' ' << speed;
    EXPECT_EQ(ReadPracticeSettings(damaged), TPracticeSettings()) << bets;
  }
}

// What a window writes reads back the same, the bets in their shortest exact text.
TEST(WindowSettings, WrittenValuesReadBack) {
  TIniFile ini;
  const TPracticeSettings practice{true, 0.1, false, 99.999, true, 10};
  WritePracticeSettings(ini, practice);
  WriteStatisticsSettings(ini, {TFigureView::Return, 10});
  WriteAllHoldsSettings(ini, {TFigureView::Probability});
  WriteGameDialogSettings(ini, {1});
  TIniFile again;
  again.Parse(ini.Text());
  EXPECT_EQ(again.ReadString("Practice", "WarnAbove"), "0.1");
  EXPECT_EQ(ReadPracticeSettings(again), practice);
  EXPECT_EQ(ReadStatisticsSettings(again), (TStatisticsSettings{TFigureView::Return, 10}));
  EXPECT_EQ(ReadAllHoldsSettings(again).Style, TFigureView::Probability);
  EXPECT_EQ(ReadGameDialogSettings(again).Lines, 1);
}

}  // namespace
}  // namespace tarnwick
