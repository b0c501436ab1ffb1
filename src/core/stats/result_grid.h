// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The results of one hold as the main window shows them: a row per pay category with its
// name, its pay for the coins played and the chance that the draw ends in it, and the
// hold's expected return.

#include <array>
#include <string>
#include <vector>

#include "engine/payout.h"
#include "engine/poker_engine.h"
#include "stats/hold_lines.h"

namespace tarnwick {

struct TResultRow {
  std::string Name;    // one blank and the category name in upper case
  std::string Pay;     // the pay for the coins played
  std::string Chance;  // "%7.3f%", "- " for a chance of exactly 0; empty before analysis
};

// How the shown hold stands against the other holds of the hand.
struct THoldStanding {
  bool Best = true;  // no hold returns more than the shown one
  // Best: the next best hold (one that returns less; -1 when every hold returns the same);
  // else the best hold.
  int Other = -1;
  int Shown = 0;                // the shown hold
  long double OtherReturn = 0;  // the other hold's expected return per bet
  long double Gap = 0;          // per bet: what the shown hold gives up, or is ahead by
};

struct TResultGrid {
  std::vector<TResultRow> Categories;
  std::string Return;  // the expected return per bet in percent; empty before analysis
  // The other holds whose expected return equals the shown hold's exactly, when that is
  // the best: the player may take any of them.
  int TiedHolds = 0;
  THoldStanding Standing;  // with an analysed hand and a table
};

// The pay of a category for the coins played: the table's pay x coins / its coin basis (0
// without a table).
int64_t PayForCoins(const TPayout* table, int category, int coins);

// "%7.3f%" of a chance in percent, "- " for exactly 0.
std::string ChanceText(long double chance);

// A return in percent with two decimals below 100 %, one below 1000 %, none above.
std::string ReturnText(long double fraction);

// The grid of the hold `drawMask` of the engine's analysed hand; `analysed` false leaves
// the chances and the return empty (the pays still show).
TResultGrid MakeResultGrid(const std::vector<std::string>& categoryNames, const TPayout* table,
                           int coins, const TPokerEngine& engine, bool analysed, int drawMask);

// The shown hold against the others of the engine's analysed hand, per bet of a table of
// this coin basis.
THoldStanding StandingOf(const TPokerEngine& engine, int drawMask, int coinBasis);

// The texts of the line under the main window's grid, from the language file: NotBest takes
// the best hold, its return, the shown hold's loss in bets and in coins; Best takes the
// next best hold, how much less it returns in bets and in coins; AllTie has no arguments;
// Nothing stands for a hold that keeps no card; Lines takes the strategy lines of the
// better and of the other hold.
struct TStandingTexts {
  std::string NotBest;
  std::string Best;
  std::string AllTie;
  std::string Nothing;
  std::string Lines;
};

// The kept cards of a hold ("AS KS QS JS"), `nothing` when it keeps none.
std::string HeldCardsText(const std::array<int32_t, kHandSize>& cards, int drawMask,
                          const std::string& nothing);

// The line under the grid for `standing`, the figures in bets with five decimals and in
// coins for `coins` coins played; with `namer`, followed by the strategy lines of the two
// holds ("4 to a flush ranks above low pair here") where they differ.
std::string StandingText(const THoldStanding& standing, const std::array<int32_t, kHandSize>& cards,
                         int coins, const TStandingTexts& texts, const THoldNamer* namer = nullptr);

}  // namespace tarnwick
