// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/chart_rules.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

#include "session/preferences.h"
#include "text.h"

namespace tarnwick {

namespace {

constexpr const char* kSection = "Charts";

std::string Printed(const char* format, double value) {
  std::array<char, 64> buffer{};
  std::snprintf(buffer.data(), buffer.size(), format, value);
  return buffer.data();
}

}  // namespace

int ChanceBarWidth(double probability) {
  return static_cast<int>(std::lround(kChanceBarWidth * std::clamp(probability, 0.0, 1.0)));
}

std::string ChanceLabel(double probability) {
  std::string label(Trim(Printed("%10.3f", 100 * probability)));
  label += '%';
  return label;
}

double NiceStep(double span, int labels, double minimum) {
  const double least = std::max(span / std::max(labels, 1), minimum);
  if (!(least > 0) || !std::isfinite(least)) return 1;
  double power = std::pow(10.0, std::floor(std::log10(least)));
  for (;;) {
    for (const double factor : {1.0, 2.0, 5.0}) {
      // A little slack for the rounding of the power.
      if (factor * power >= least * (1 - 1e-12)) return factor * power;
    }
    power *= 10;
  }
}

int BarAt(const std::vector<TChartPoint>& points, double x, int coins) {
  const double half = coins / 2.0;
  for (size_t i = 0; i < points.size(); ++i) {
    if (x >= points[i].X - half && x < points[i].X + half) return static_cast<int>(i);
  }
  return -1;
}

std::string MoneyText(int64_t coins, int coinValue) {
  const int64_t hundredths = coins * coinValue;
  const uint64_t size =
      hundredths < 0 ? 0 - static_cast<uint64_t>(hundredths) : static_cast<uint64_t>(hundredths);
  std::array<char, 32> buffer{};
  std::snprintf(buffer.data(), buffer.size(), "%s%llu.%02llu", hundredths < 0 ? "-" : "",
                static_cast<unsigned long long>(size / 100),
                static_cast<unsigned long long>(size % 100));
  return buffer.data();
}

std::string BarHint(const TChartPoint& point, int coinValue, const TBarHintTexts& texts) {
  const long result = std::lround(point.X);
  const std::string size = std::to_string(std::labs(result));
  const std::string chance = Printed("%5.3f%%", point.Y);
  if (coinValue <= 0) return FormatText(result < 0 ? texts.Lose : texts.Win, {size, chance});
  return FormatText(result < 0 ? texts.LoseMoney : texts.WinMoney,
                    {size, MoneyText(std::labs(result), coinValue), chance});
}

int StepHands(int hands, int direction) {
  if (direction > 0) return hands >= 10 ? hands + 10 : hands + 1;
  return hands > 10 ? std::max(hands - 10, 10) : hands - 1;
}

int StepLines(int lines, int direction) {
  static constexpr std::array<int, 6> kSteps = {1, 3, 5, 10, 50, kMaxLines};
  if (direction > 0) {
    for (const int step : kSteps)
      if (step > lines) return step;
    return kMaxLines;
  }
  for (auto step = kSteps.rbegin(); step != kSteps.rend(); ++step)
    if (*step < lines) return *step;
  return 1;
}

bool HandsValid(int hands) {
  return hands >= 1 && hands <= kMaxRunHands;
}

TBankrollCheck CheckBankrolls(int initial, int desired) {
  TBankrollCheck check;
  check.InitialValid = initial >= 1 && initial <= kMaxBankroll;
  check.DesiredValid = desired >= 1 && desired <= kMaxBankroll;
  check.InRange = check.InitialValid && check.DesiredValid;
  if (initial > desired) check.InitialValid = check.DesiredValid = false;
  return check;
}

TChartSettings ReadChartSettings(const TIniFile& settings) {
  const TChartSettings defaults;
  TChartSettings chart;
  chart.Chart = settings.ReadInteger(kSection, "Chart", defaults.Chart);
  if (chart.Chart < 0 || chart.Chart >= kChartKinds) chart.Chart = defaults.Chart;
  chart.Hands = settings.ReadInteger(kSection, "Hands", defaults.Hands);
  if (!HandsValid(chart.Hands)) chart.Hands = defaults.Hands;
  chart.Initial = settings.ReadInteger(kSection, "InitialBankroll", defaults.Initial);
  chart.Desired = settings.ReadInteger(kSection, "DesiredBankroll", defaults.Desired);
  if (!CheckBankrolls(chart.Initial, chart.Desired).Valid()) {
    chart.Initial = defaults.Initial;
    chart.Desired = defaults.Desired;
  }
  chart.CoinValue = settings.ReadInteger(kSection, "CoinValue", defaults.CoinValue);
  if (chart.CoinValue < 0 || chart.CoinValue > kMaxCoinValue) chart.CoinValue = defaults.CoinValue;
  chart.Lines = settings.ReadInteger(kSection, "Lines", defaults.Lines);
  if (chart.Lines < 1 || chart.Lines > kMaxLines) chart.Lines = defaults.Lines;
  chart.CashBack = settings.ReadInteger(kSection, "CashBack", defaults.CashBack);
  if (chart.CashBack < 0 || chart.CashBack > kMaxChartCashBack) chart.CashBack = defaults.CashBack;
  return chart;
}

void WriteChartSettings(TIniFile& settings, const TChartSettings& chart) {
  settings.WriteInteger(kSection, "Chart", chart.Chart);
  settings.WriteInteger(kSection, "Hands", chart.Hands);
  settings.WriteInteger(kSection, "InitialBankroll", chart.Initial);
  settings.WriteInteger(kSection, "DesiredBankroll", chart.Desired);
  settings.WriteInteger(kSection, "CoinValue", chart.CoinValue);
  settings.WriteInteger(kSection, "Lines", chart.Lines);
  settings.WriteInteger(kSection, "CashBack", chart.CashBack);
}

}  // namespace tarnwick
