// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "stats/table_grid.h"

#include <cstdio>

#include "errors.h"
#include "stats/result_grid.h"

namespace tarnwick {

std::string TableGridText(const TPayout& table, int coins, int row) {
  CheckRange(row, 0, kTableGridRows - 1, "table grid row");
  if (row < kTableGridSeparator) {
    return row <= table.LastCategory ? std::to_string(PayForCoins(&table, row, coins)) : "";
  }
  if (row == kTableGridSeparator) return "";
  if (!table.Computed() || table.Return < 0) return "-";
  double figure = 0;
  switch (row - kTableGridFirstFigure) {
    case 0:
      figure = static_cast<double>(table.Return * 100);
      break;
    case 1:
      figure = static_cast<double>((table.Return - 1) * 100);
      break;
    case 2:
      figure = table.Variance();
      break;
    case 3:
      figure = table.StdDev();
      break;
    case 4:
      figure = static_cast<double>(table.WinChance * 100);
      break;
    case 5:
      figure = static_cast<double>(table.PushChance * 100);
      break;
    default:
      figure = static_cast<double>(table.LossChance * 100);
      break;
  }
  char text[64];
  std::snprintf(text, sizeof text, "%.4f", figure);
  return text;
}

int TableGridSortKey(int row, int lastCategory) {
  if (row >= 0 && row <= lastCategory && row < kTableGridSeparator) return 1;
  if (row >= kTableGridFirstFigure && row < kTableGridRows) return row - 12;
  return 0;
}

int TableGridSortRow(int key) {
  const int magnitude = key < 0 ? -key : key;
  if (magnitude == 1) return 0;
  if (magnitude >= 2 && magnitude <= 8) return magnitude + 12;
  return -1;
}

}  // namespace tarnwick
