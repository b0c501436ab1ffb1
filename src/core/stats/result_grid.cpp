// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "stats/result_grid.h"

#include <cstdio>

#include "errors.h"
#include "stats/hold_stats.h"

namespace tarnwick {

int64_t PayForCoins(const TPayout* table, int category, int coins) {
  CheckRange(category, 0, kMaxCategories - 1, "category");
  if (table == nullptr || table->CoinBasis <= 0) return 0;
  return static_cast<int64_t>(table->Pays[category]) * coins / table->CoinBasis;
}

std::string ChanceText(long double chance) {
  if (chance == 0) return "- ";
  char text[64];
  std::snprintf(text, sizeof text, "%7.3f%%", static_cast<double>(chance * 100));
  return text;
}

std::string ReturnText(long double fraction) {
  const double percent = static_cast<double>(fraction * 100);
  const char* format = percent < 100 ? "%7.2f%%" : percent < 1000 ? "%7.1f%%" : "%7.0f%%";
  char text[64];
  std::snprintf(text, sizeof text, format, percent);
  return text;
}

TResultGrid MakeResultGrid(const std::vector<std::string>& categoryNames, const TPayout* table,
                           int coins, const TPokerEngine& engine, bool analysed, int drawMask) {
  TResultGrid grid;
  for (size_t c = 0; c < categoryNames.size(); ++c) {
    TResultRow row;
    row.Name = " ";
    for (char letter : categoryNames[c])
      row.Name += letter >= 'a' && letter <= 'z' ? static_cast<char>(letter - 32) : letter;
    row.Pay = std::to_string(PayForCoins(table, static_cast<int>(c), coins));
    if (analysed) row.Chance = ChanceText(engine.MaskCategoryChance(static_cast<int>(c), drawMask));
    grid.Categories.push_back(row);
  }
  // The engine's expected pay is in the coins of the table's pays: per bet it is divided
  // by the coin basis, as the table's own return is.
  if (analysed) {
    const int basis = table != nullptr && table->CoinBasis > 0 ? table->CoinBasis : 1;
    grid.Return = ReturnText(engine.DrawReturn(drawMask) / basis);
    if (table != nullptr) grid.TiedHolds = TiesForBest(engine, drawMask);
  }
  return grid;
}

}  // namespace tarnwick
