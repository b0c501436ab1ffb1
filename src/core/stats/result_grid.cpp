// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "stats/result_grid.h"

#include <algorithm>
#include <cstdio>

#include "engine/cards.h"
#include "errors.h"
#include "stats/hold_stats.h"
#include "text.h"

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
    if (table != nullptr) {
      grid.TiedHolds = TiesForBest(engine, drawMask);
      grid.Standing = StandingOf(engine, drawMask, basis);
    }
  }
  return grid;
}

THoldStanding StandingOf(const TPokerEngine& engine, int drawMask, int coinBasis) {
  CheckRange(drawMask, 0, kMaskCount - 1, "draw mask");
  const TExactReturn shown = ExactReturnOf(engine, drawMask);
  const auto perBet = [&](int mask) {
    return engine.DrawReturn(mask) / (coinBasis > 0 ? coinBasis : 1);
  };
  // The best hold above the shown one, else the best one below it (compared exactly).
  int above = -1;
  int below = -1;
  TExactReturn aboveReturn;
  TExactReturn belowReturn;
  for (int mask = 0; mask < kMaskCount; ++mask) {
    const TExactReturn other = ExactReturnOf(engine, mask);
    const int order = CompareReturn(other, shown);
    if (order > 0 && (above < 0 || CompareReturn(other, aboveReturn) > 0)) {
      above = mask;
      aboveReturn = other;
    } else if (order < 0 && (below < 0 || CompareReturn(other, belowReturn) > 0)) {
      below = mask;
      belowReturn = other;
    }
  }
  THoldStanding standing;
  standing.Shown = drawMask;
  standing.Best = above < 0;
  standing.Other = standing.Best ? below : above;
  if (standing.Other < 0) return standing;
  standing.OtherReturn = perBet(standing.Other);
  const long double gap = perBet(standing.Other) - perBet(drawMask);
  standing.Gap = standing.Best ? -gap : gap;
  return standing;
}

std::string HeldCardsText(const std::array<int32_t, kHandSize>& cards, int drawMask,
                          const std::string& nothing) {
  std::string text;
  for (int i = 0; i < kHandSize; ++i) {
    if (BitSet(drawMask, i)) continue;
    if (!text.empty()) text += ' ';
    text += CardText(cards[static_cast<size_t>(i)]);
  }
  return text.empty() ? nothing : text;
}

std::string StandingText(const THoldStanding& standing, const std::array<int32_t, kHandSize>& cards,
                         int coins, const TStandingTexts& texts, const THoldNamer* namer) {
  if (standing.Other < 0) return standing.Best ? texts.AllTie : std::string();
  const auto number = [](long double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.5f", static_cast<double>(value));
    return std::string(text);
  };
  const std::string hold = HeldCardsText(cards, standing.Other, texts.Nothing);
  std::string text =
      standing.Best
          ? FormatText(texts.Best, {hold, number(standing.Gap), number(standing.Gap * coins)})
          : FormatText(texts.NotBest, {hold, number(standing.OtherReturn), number(standing.Gap),
                                       number(standing.Gap * coins)});
  if (namer == nullptr || texts.Lines.empty()) return text;
  std::array<int, kHandSize> codes{};
  std::copy(cards.begin(), cards.end(), codes.begin());
  const std::string shown = namer->Text(namer->ClassifyHold(codes, standing.Shown));
  const std::string other = namer->Text(namer->ClassifyHold(codes, standing.Other));
  if (shown == other) return text;
  return text + " " +
         FormatText(texts.Lines,
                    standing.Best ? std::vector{shown, other} : std::vector{other, shown});
}

}  // namespace tarnwick
