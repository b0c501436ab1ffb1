// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The rules of the charts window that need no window: the chance bars and their labels,
// the bar under the mouse and its hint, the steps and checks of the option edits, and the
// window's settings.

#include <cstdint>
#include <string>
#include <vector>

#include "session/ini_file.h"
#include "stats/bankroll.h"

namespace tarnwick {

constexpr int kChanceBarWidth = 80;  // pixels of a bar of probability 1

enum TChartKind { kExpectedGainKind = 0, kRiskOfRuinKind = 1, kWinLostKind = 2 };
constexpr int kChartKinds = 3;

// The width in pixels of the bar of a probability 0..1.
int ChanceBarWidth(double probability);
// A probability 0..1 as a percentage with three decimals and "%" ("12.345%").
std::string ChanceLabel(double probability);

// The distance between the labels of an axis over `span`: the smallest 1, 2 or 5 times a
// power of ten, and at least `minimum`, that needs no more than `labels` labels.
double NiceStep(double span, int labels, double minimum = 0);

// The index of the bar under `x` (in coins) among the points of a result distribution (each
// point the middle of a bar `coins` wide); -1 beside every bar.
int BarAt(const std::vector<TChartPoint>& points, double x, int coins);

constexpr int kMaxCoinValue = 100000;  // hundredths: a coin is worth at most 1000.00

// `coins` coins in money at `coinValue` hundredths a coin, with two decimals and the sign
// kept ("7.50", "-0.25"). Exact: no floating point on the way.
std::string MoneyText(int64_t coins, int coinValue);

// The language texts of a bar's hint, without and with the money.
struct TBarHintTexts {
  std::string Win;        // "Win %s coins: %s"
  std::string Lose;       // "Lose %s coins: %s"
  std::string WinMoney;   // "Win %s coins (%s): %s"
  std::string LoseMoney;  // "Lose %s coins (%s): %s"
};

// The hint of a bar: the result's size in coins, in money when a coin value (hundredths;
// 0 for none) is set, and its probability ("Win 3 coins (0.75): 1.234%"). The texts are
// never printf formats: only "%s" takes a value.
std::string BarHint(const TChartPoint& point, int coinValue, const TBarHintTexts& texts);

// The hands edit after one step of its buttons up (+1) or down (-1): ten at a time from 10
// upwards, one below.
int StepHands(int hands, int direction);

bool HandsValid(int hands);  // 1..4000

// The lines edit after one step up (+1) or down (-1): through 1, 3, 5, 10, 50 and 100, a
// value between them going to the next one that way.
int StepLines(int lines, int direction);

constexpr int kMaxChartCashBack = 10000;  // hundredths of a percent: 100 %

struct TBankrollCheck {
  bool InitialValid = true;
  bool DesiredValid = true;
  bool InRange = true;  // each bankroll is 1..1500 coins, whatever their order
  bool Valid() const { return InitialValid && DesiredValid; }
};
// Each bankroll is 1..1500 coins, and the initial one is not above the desired one (else
// both are marked).
TBankrollCheck CheckBankrolls(int initial, int desired);

// What the charts window remembers in the "Charts" section of the settings file.
struct TChartSettings {
  int Chart = kExpectedGainKind;
  int Hands = 10;
  int Initial = 30;   // coins
  int Desired = 60;   // coins
  int CoinValue = 0;  // hundredths of money a coin, 0..kMaxCoinValue; 0 shows coins only
  int Lines = 1;      // lines drawn from each deal, 1..kMaxLines
  int CashBack = 0;   // hundredths of a percent of the coins bet, 0..kMaxChartCashBack
  bool operator==(const TChartSettings&) const = default;
};
// Values out of range read as their defaults.
TChartSettings ReadChartSettings(const TIniFile& settings);
void WriteChartSettings(TIniFile& settings, const TChartSettings& chart);

}  // namespace tarnwick
