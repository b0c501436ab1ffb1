// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/window_settings.h"

#include <algorithm>

#include "session/practice.h"
#include "stats/multi_play.h"
#include "stats/statistics.h"

namespace tarnwick {

namespace {

constexpr const char* kGame = "Game";
constexpr const char* kAllHolds = "All Hands";
constexpr const char* kStatistics = "Statistics";
constexpr const char* kPractice = "Practice";

// A switch is stored as 1 or 0; any other number reads as on, as it always has.
bool ReadSwitch(const TIniFile& settings, const char* section, const char* key, bool fallback) {
  return settings.ReadInteger(section, key, fallback ? 1 : 0) != 0;
}

double ReadBets(const TIniFile& settings, const char* key, double fallback) {
  const double bets = settings.ReadDouble(kPractice, key, fallback);
  return bets >= 0 && bets <= kMaxOptionBets ? bets : fallback;
}

}  // namespace

TGameDialogSettings ReadGameDialogSettings(const TIniFile& settings) {
  const TGameDialogSettings defaults;
  TGameDialogSettings window;
  const int lines = settings.ReadInteger(kGame, "Lines", defaults.Lines);
  window.Lines = lines >= 1 && lines <= kMaxLines ? lines : defaults.Lines;
  return window;
}

void WriteGameDialogSettings(TIniFile& settings, const TGameDialogSettings& window) {
  settings.WriteInteger(kGame, "Lines", window.Lines);
}

TAllHoldsSettings ReadAllHoldsSettings(const TIniFile& settings) {
  TAllHoldsSettings window;
  window.Style = FigureViewOf(settings.ReadInteger(kAllHolds, "Style", 0));
  return window;
}

void WriteAllHoldsSettings(TIniFile& settings, const TAllHoldsSettings& window) {
  settings.WriteInteger(kAllHolds, "Style", static_cast<int32_t>(window.Style));
}

TStatisticsSettings ReadStatisticsSettings(const TIniFile& settings) {
  const TStatisticsSettings defaults;
  TStatisticsSettings window;
  window.Style = FigureViewOf(settings.ReadInteger(kStatistics, "Style", 0));
  window.Speed =
      std::clamp(settings.ReadInteger(kStatistics, "Speed", defaults.Speed), kMinSpeed, kMaxSpeed);
  return window;
}

void WriteStatisticsSettings(TIniFile& settings, const TStatisticsSettings& window) {
  settings.WriteInteger(kStatistics, "Style", static_cast<int32_t>(window.Style));
  settings.WriteInteger(kStatistics, "Speed", window.Speed);
}

TPracticeSettings ReadPracticeSettings(const TIniFile& settings) {
  const TPracticeSettings defaults;
  TPracticeSettings window;
  window.Warn = ReadSwitch(settings, kPractice, "Warn", defaults.Warn);
  window.WarnAbove = ReadBets(settings, "WarnAbove", defaults.WarnAbove);
  window.Hard = ReadSwitch(settings, kPractice, "Hard", defaults.Hard);
  window.HardWithin = ReadBets(settings, "HardWithin", defaults.HardWithin);
  window.HoldAll = ReadSwitch(settings, kPractice, "HoldAll", defaults.HoldAll);
  const int lines = settings.ReadInteger(kPractice, "Lines", defaults.Lines);
  window.Lines = IsPracticeLines(lines) ? lines : defaults.Lines;
  return window;
}

void WritePracticeSettings(TIniFile& settings, const TPracticeSettings& window) {
  settings.WriteInteger(kPractice, "Warn", window.Warn ? 1 : 0);
  settings.WriteDouble(kPractice, "WarnAbove", window.WarnAbove);
  settings.WriteInteger(kPractice, "Hard", window.Hard ? 1 : 0);
  settings.WriteDouble(kPractice, "HardWithin", window.HardWithin);
  settings.WriteInteger(kPractice, "HoldAll", window.HoldAll ? 1 : 0);
  settings.WriteInteger(kPractice, "Lines", window.Lines);
}

}  // namespace tarnwick
