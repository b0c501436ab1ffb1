// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "stats/multi_play.h"

#include <cmath>
#include <string>

#include "errors.h"

namespace tarnwick {

TMultiPlayFigures MultiPlayFigures(const TPayout& table, long double covariance, int lines) {
  if (lines < 1 || lines > kMaxLines) {
    throw InputError("lines per deal must be 1.." + std::to_string(kMaxLines) + ", not " +
                     std::to_string(lines));
  }
  if (!table.Computed()) throw TarnwickError("The pay table has no whole-game figures");
  const long double single = table.Variance();
  const long double n = lines;
  TMultiPlayFigures figures;
  figures.DealVariance = n * single + n * (n - 1) * covariance;
  figures.LineStdDev = std::sqrt(single + (n - 1) * covariance);
  return figures;
}

}  // namespace tarnwick
