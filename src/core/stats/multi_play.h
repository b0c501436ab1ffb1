// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Several lines drawn from one deal: every line starts from the same five cards, is held
// the best way (the same hold on every line) and draws its replacements from its own deck.
// The pays of two lines of one deal are independent given the deal, so their covariance is
// c = Var(E[pay | deal]) and the N lines of a deal pay with variance N V + N (N - 1) c,
// V being the variance of one hand. Everything is per coin bet on each line.

#include "engine/payout.h"

namespace tarnwick {

inline constexpr int kMaxLines = 100;  // lines drawn from one deal: 1..kMaxLines

struct TMultiPlayFigures {
  long double DealVariance = 0;  // of the total pay of the N lines of one deal
  long double LineStdDev = 0;    // per line: sqrt(V + (N - 1) c)
};

// The figures of `lines` lines of the computed `table` whose deal covariance is
// `covariance` (TPayout::DealCovariance). Raises an InputError for lines outside
// 1..kMaxLines and a TarnwickError for a table without whole-game counts.
TMultiPlayFigures MultiPlayFigures(const TPayout& table, long double covariance, int lines);

}  // namespace tarnwick
