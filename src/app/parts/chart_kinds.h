// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The charts the charts window offers, in the order of its list (TChartKind): the section
// of the language files that names each and titles its axes, and the colours they draw in.

#include <QColor>
#include <array>

#include "session/chart_rules.h"

namespace tarnwick::app {

inline constexpr std::array<const char*, kChartKinds> kChartSections = {
    "Charts.ExpectedGain", "Charts.RiskOfRuin", "Charts.WinLost"};

// A win, a draw (the bars of the expected gain), a loss and a push (the win/lost curves).
inline const QColor kWinGreen(0, 170, 0);
inline const QColor kDrawTeal(0, 128, 128);
inline const QColor kLossRed(220, 30, 30);
inline const QColor kPushBlue(0, 0, 255);

}  // namespace tarnwick::app
