// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/copy_text.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "engine/cards.h"
#include "engine/payout.h"
#include "session/report_links.h"
#include "text.h"

namespace tarnwick {

namespace {

constexpr std::string_view kBlanks = " \t\r\n\v\f";

std::string Trimmed(const std::string& text) {
  return std::string(Trim(text, kBlanks));
}

}  // namespace

std::string HandCopyText(const TModelController& controller, const TResultGrid& grid,
                         const std::string& returnLabel) {
  std::string text = std::string("Tarnwick ") + kProgramVersion + "\n";
  text += "Game\t" + controller.CurrentGame().Name + "\n";
  if (const TPayout* table = controller.CurrentTable()) {
    text += "Pays\t" + PaysText(*table, ' ') + "\tfor " + std::to_string(table->CoinBasis) +
            " coin(s)\n";
    if (table->Computed()) {
      std::array<char, 64> percent{};
      std::snprintf(percent.data(), percent.size(), "%.6f",
                    static_cast<double>(table->Return * 100));
      text += std::string("Return\t") + percent.data() + "%\n";
    }
  }
  text += "Coins\t" + std::to_string(std::max(controller.Coins(), 1)) + "\n";
  std::array<int32_t, kHandSize> cards{};
  for (int i = 0; i < kHandSize; ++i) cards[static_cast<size_t>(i)] = controller.CardCode(i);
  text += "Hand\t" + HoldText(cards, 0, CardName) + "\n";
  if (controller.IsAnalysed()) {
    text += "Hold\t" + HoldText(cards, controller.DrawMask(), CardName) + "\n";
  }
  text += "\n";
  for (const TResultRow& row : grid.Categories) {
    text += Trimmed(row.Name) + '\t' + Trimmed(row.Pay) + '\t' + Trimmed(row.Chance) + '\n';
  }
  text += Trimmed(returnLabel) + "\t\t" + Trimmed(grid.Return) + '\n';
  return text;
}

}  // namespace tarnwick
