// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the game, all-holds, statistics and practice windows remember in the settings file: each
// window's values in one struct with their defaults, read and written here only. A value a
// damaged or hand-edited file holds out of range reads as its default (a speed: as the
// nearest limit), so a window always opens in a state it can show.

#include "session/ini_file.h"
#include "stats/figure_view.h"

namespace tarnwick {

// The "Game" section: the Game and Payout dialog.
struct TGameDialogSettings {
  int Lines = 10;  // lines of one deal its multi-play figures are shown for, 1..kMaxLines
  bool operator==(const TGameDialogSettings&) const = default;
};
TGameDialogSettings ReadGameDialogSettings(const TIniFile& settings);
void WriteGameDialogSettings(TIniFile& settings, const TGameDialogSettings& window);

// The "All Hands" section.
struct TAllHoldsSettings {
  TFigureView Style = TFigureView::Hands;
  bool operator==(const TAllHoldsSettings&) const = default;
};
TAllHoldsSettings ReadAllHoldsSettings(const TIniFile& settings);
void WriteAllHoldsSettings(TIniFile& settings, const TAllHoldsSettings& window);

// The "Statistics" section.
struct TStatisticsSettings {
  TFigureView Style = TFigureView::Hands;
  int Speed = 600;  // hands per hour, kMinSpeed..kMaxSpeed
  bool operator==(const TStatisticsSettings&) const = default;
};
TStatisticsSettings ReadStatisticsSettings(const TIniFile& settings);
void WriteStatisticsSettings(TIniFile& settings, const TStatisticsSettings& window);

// The "Practice" section: the options of the practice window.
inline constexpr double kMaxOptionBets = 100;
struct TPracticeSettings {
  bool Warn = false;        // warn before drawing a mistake that costs more than ...
  double WarnAbove = 0;     // ... this many bets, 0..kMaxOptionBets
  bool Hard = false;        // deal only hands whose best hold is within ...
  double HardWithin = 0.1;  // ... this many bets of the next best, 0..kMaxOptionBets
  bool HoldAll = false;     // deal with every card held, as before the player's first choice
  int Lines = 1;            // lines a hand is drawn on, one of kPracticeLineCounts
  bool operator==(const TPracticeSettings&) const = default;
};
TPracticeSettings ReadPracticeSettings(const TIniFile& settings);
void WritePracticeSettings(TIniFile& settings, const TPracticeSettings& window);

}  // namespace tarnwick
