// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Strategy cards: a ranked list of hold lines. A deal is played by the first row that one of
// its holds matches (a row matching several holds plays the best of them); a deal no row
// matches draws five. The evaluation counts every deal class exactly, and the generator
// orders the lines of a pay table so that the list returns as much as it can at a given
// length.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/cards.h"
#include "engine/payout.h"
#include "engine/poker_engine.h"
#include "progress.h"
#include "stats/hold_lines.h"

namespace tarnwick {

// One row of a strategy: one or more lines ranked alike ("four of a kind, straight flush").
struct TStrategyRow {
  std::vector<TLinePattern> Lines;
};

struct TStrategy {
  std::vector<TStrategyRow> Rows;
};

// A typed strategy: one row per text line, lines of a row split by commas; blank lines, "#"
// comments and a leading "12." or "12)" are skipped. Rows that cannot be read are left out
// and named in Errors ("row 3: cannot read 'x'").
struct TStrategyParse {
  TStrategy Strategy;
  std::vector<std::string> Errors;
};
TStrategyParse ParseStrategy(std::string_view text, const THoldNamer& namer);
// The rows as Text writes their lines, joined by ", ".
std::string RowText(const TStrategyRow& row, const THoldNamer& namer);
// One row per line, numbered "1. ", ending with the draw-five fallback when it is not a row.
std::string StrategyText(const TStrategy& strategy, const THoldNamer& namer);

// The kept cards of a hold, then the discarded ones: "JS QS | 2D 7C 9H".
std::string HoldAndDiscardText(const std::array<int, kHandSize>& cards, int drawMask);

// A deal the strategy plays: its five cards and how it is played.
struct TPlayedDeal {
  std::array<int, kHandSize> Cards{};
  int64_t Deals = 0;         // deals of this suit pattern
  int DrawMask = 0;          // the hold the strategy plays
  int BestMask = 0;          // the best hold
  long double Expected = 0;  // expected pay of the strategy's hold, per coin bet
  long double Best = 0;      // of the best hold
};

struct TRowReport {
  std::string Text;
  long double Share = 0;  // of all deals, played by this row
  long double Lost = 0;   // return lost on them against perfect play, per coin bet
  bool HasExample = false;
  TPlayedDeal Example;  // the most common deal the row plays
};

struct TStrategyReport {
  long double Perfect = 0;         // return of perfect play, per coin bet
  long double Return = 0;          // of the strategy
  long double Cost = 0;            // Perfect - Return
  long double ErrorRate = 0;       // share of deals where the strategy's hold is worth less
  std::vector<TRowReport> Rows;    // the strategy's rows, then the draw-five fallback
  std::vector<TPlayedDeal> Worst;  // the deals that lose the most, worst first (at most 10)
};

// The deal classes of a whole-game run with every hold's exact line and value: what the
// evaluation and the generator work on.
class TDealLines {
 public:
  struct TEntry {
    TLinePattern Line;
    int64_t Value = 0;  // the best hold of this line, in units of 1 / (Scale * coin basis)
    int Mask = 0;       // that hold's draw mask
  };
  struct TDeal {
    std::array<int, kHandSize> Cards{};
    int32_t Weight = 0;
    int64_t Best = 0;
    int BestMask = 0;
    uint32_t First = 0;  // entries First..First+Count-1
    uint32_t Count = 0;
  };

  int64_t Scale = 1;  // common multiple of the draws of every hold
  int32_t CoinBasis = 1;
  std::vector<TDeal> Deals;
  std::vector<TEntry> Entries;

  // Runs the whole game of `table` on `engine` (its game set) and keeps every deal class.
  // The progress runs as for the whole-game run; a cancel raises AbortError.
  static TDealLines Collect(TPokerEngine& engine, const TPayout& table, const THoldNamer& namer,
                            TProgress* progress);
  int64_t TotalWeight() const;
  long double PerCoin(long double value) const;
};

TStrategyReport Evaluate(const TDealLines& deals, const TStrategy& strategy,
                         const THoldNamer& namer);

// The hold a strategy plays for the engine's dealt hand (analysed by GetTheBest) and the row
// that chose it (-1: none matched, the hand draws five).
struct TStrategyHold {
  int DrawMask = 0;
  int Row = -1;
  TLinePattern Line;  // the exact line of the hold
};
TStrategyHold PlayStrategy(const TPokerEngine& engine, const std::array<int, kHandSize>& cards,
                           const TStrategy& strategy, const THoldNamer& namer);

enum class TStrategyLevel { Beginner, Intermediate, Advanced, Expert };
// The most lines of a level: 15, 30, 50, and 0 (no limit) for expert.
int LevelLines(TStrategyLevel level);
// "beginner", "intermediate", "advanced", "expert".
std::string_view LevelName(TStrategyLevel level);
std::optional<TStrategyLevel> ParseLevel(std::string_view name);

struct TGeneratedStrategy {
  TStrategy Strategy;
  TStrategyReport Report;        // the evaluation of Strategy
  long double SearchReturn = 0;  // the return the ordering search arrived at
};

// A strategy of at most `maxLines` rows (0: as many as bring it within 0.0001 % of perfect
// play, when the lines can) for the table's game.
TGeneratedStrategy GenerateStrategy(const TDealLines& deals, const THoldNamer& namer, int maxLines,
                                    TProgress* progress = nullptr);

// The same from a pay table of a game: one whole-game run on `threads` threads (0: one per
// hardware thread), then the generation; `progress` sees both, one after the other.
TGeneratedStrategy GenerateForTable(const TPokerDescription& game, const TPayout& table,
                                    int maxLines, TProgress* progress = nullptr, int threads = 0);
// A strategy scored over every deal of a pay table.
TStrategyReport EvaluateForTable(const TPokerDescription& game, const TPayout& table,
                                 const TStrategy& strategy, TProgress* progress = nullptr,
                                 int threads = 0);

}  // namespace tarnwick
