// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Practice: hands dealt from a shuffled deck of a game, held and drawn by the player, and
// every hold graded against the exact best hold of its hand. A seed fixes every deal of a
// session, so that a session can be played again card for card: the generator and the
// shuffle are written out here rather than taken from the standard library (whose
// distributions differ between versions), so a seed deals the same hands everywhere.
//
// A window plays a session through TPracticeSession: Deal, then Grade or ShouldWarn while
// the player chooses, then Draw; Figures and Record give the session so far. Nothing here
// depends on a window.

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/cards.h"
#include "engine/games.h"
#include "engine/payout.h"
#include "engine/poker_engine.h"
#include "session/model_controller.h"
#include "stats/hold_lines.h"
#include "stats/hold_stats.h"
#include "stats/strategy.h"

namespace tarnwick {

// xoshiro256** with its state filled from the seed by SplitMix64: a fixed sequence of
// 64-bit numbers for every seed, the same on every platform.
class TPracticeRandom {
 public:
  explicit TPracticeRandom(uint64_t seed);
  uint64_t Next();
  // A number 0..bound-1 (bound >= 1), every one equally likely: draws that would favour
  // the low numbers are thrown away and drawn again.
  uint32_t Below(uint32_t bound);

 private:
  std::array<uint64_t, 4> state_{};
};

// The lines a session may play: one hand, or one hold drawn on 3, 5 or 10 lines, each line
// drawing its replaced cards from its own shuffle of the cards not dealt.
inline constexpr std::array<int32_t, 4> kPracticeLineCounts = {1, 3, 5, 10};
inline constexpr int32_t kMaxPracticeLines = 10;
bool IsPracticeLines(int lines);

// A seed for a new session from the system's random source: 1..999999999, short enough to
// read out and type in again.
uint64_t NewPracticeSeed();

// One deal from a freshly shuffled deck: the five cards dealt, and the five that follow,
// which the draw hands out in order to the replaced positions from the left. The cards a
// hand draws therefore do not depend on the hold. A deal on several lines carries the cards
// every further line draws in the same way, each from its own shuffle of the cards not
// dealt (so two lines may draw the same card, never a dealt one).
struct TPracticeDeal {
  using TCards = std::array<int32_t, kHandSize>;
  TCards Cards{};              // card codes in position order
  TCards Next{};               // the deck's next cards, drawn in this order (the first line)
  std::vector<TCards> More{};  // the cards lines 2, 3, ... draw, each in this order
  int32_t Number = 0;          // 1 for the seed's first deal, 2 for the next, ...

  int32_t Lines() const { return 1 + static_cast<int32_t>(More.size()); }
  // The cards line `line` (0 the first) draws.
  const TCards& NextOf(int line) const;
};

// The deals of one seed, one after another, each from the full deck of the game: its 52
// cards and its jokers (code -2 the first, -1 the second, as on the main window's buttons).
// The cards of the further lines are drawn from the same generator after the first line's,
// so a seed deals one line exactly as it always has, while on several lines its second and
// later deals differ from the one-line ones: the seed's deals depend on the lines.
class TPracticeDealer {
 public:
  // Raises an InputError when `lines` is not one of kPracticeLineCounts.
  TPracticeDealer(const TPokerDescription& game, uint64_t seed, int lines = 1);
  // Shuffles the full deck anew (the first ten places of a Fisher-Yates shuffle) and deals;
  // each further line then shuffles the rest of the deck (the places after the five dealt)
  // for its five cards.
  TPracticeDeal Next();
  uint64_t Seed() const { return seed_; }
  int32_t DeckSize() const { return deckSize_; }

 private:
  uint64_t seed_;
  int32_t lines_;
  TPracticeRandom random_;
  std::array<int32_t, kMaxDeck> deck_{};
  int32_t deckSize_ = 0;
  int32_t deals_ = 0;
};

// A hold as five letters in position order, "H" for a held card and "-" for a replaced one:
// draw mask 6 (positions 1 and 2 replaced) is "H--HH".
std::string HoldPattern(int mask);
// The draw mask of five such letters ("h" also holds, "." and "x" also replace); empty
// when the text is not a hold.
std::optional<int> ParseHoldPattern(std::string_view text);

// How a reference strategy plays a dealt hand, and whether the hold played follows it.
struct TStrategyGrade {
  int32_t Row = -1;       // the strategy's row that plays the hand; -1: none, it draws five
  int32_t Mask = 0;       // the hold the strategy plays
  TLinePattern Line;      // that hold's exact line
  bool Followed = false;  // the hold played is the strategy's, or returns exactly as much
};

// The grade of one hold of a dealt hand. The returns are exact fractions in coins of the
// table's pays (for CoinBasis coins); a hold whose return equals the best one exactly is
// played right, whatever the rounded figures say.
struct TPracticeVerdict {
  int32_t Mask = 0;       // the hold played; bit i set: the card at position i is replaced
  int32_t BestMask = 0;   // the best hold; of equal ones the lowest mask
  int32_t BestHolds = 1;  // holds whose return is exactly the best, the best one included
  TExactReturn Played;
  TExactReturn Best;
  int32_t CoinBasis = 1;
  int32_t Coins = 1;  // coins played per hand
  // The exact lines of the hold played and of the best hold. The session's Grade names
  // them; a hand read back from the session file has none (the file does not keep them).
  std::optional<TLinePattern> PlayedLine;
  std::optional<TLinePattern> BestLine;
  // With a reference strategy: how it plays the hand.
  std::optional<TStrategyGrade> Strategy;

  bool Mistake() const { return CompareReturn(Played, Best) < 0; }
  long double PlayedReturn() const;  // expected pay per bet
  long double BestReturn() const;
  // What the hold gives up against the best, per bet and for the coins played (0 for a
  // hold as good as the best).
  long double CostBets() const;
  long double CostCoins() const { return CostBets() * Coins; }
};

// The figures of practice as the windows and the command line write them.
// Bets or coins with five decimals: "0.02128".
std::string BetsText(long double value);
// A share in percent with two decimals, without the percent sign: 0.975 is "97.50".
std::string PercentText(long double share);
// A result with `decimals` decimals and a plus sign above zero: "+12", "-3", "0", "+1.25".
std::string SignedText(long double value, int decimals);

// The cost of a verdict as the windows show it: "0.02128" bets, with the coins played
// after it for more than one coin ("0.02128 (0.10638)"); empty for a right hold.
std::string PracticeCostText(const TPracticeVerdict& verdict);

// What the draw made of one further line of a hand.
struct TPracticeLine {
  std::array<int32_t, kHandSize> Final{};  // the line's hand after the draw
  int32_t Category = 0;                    // its pay category; LastCategory + 1 for none
  int64_t Pay = 0;                         // coins paid for the coins played on the line
  bool operator==(const TPracticeLine&) const = default;
};

// A hand played: its deal, the grade of its hold and what the draw made of it, on the first
// line and on every further one.
struct TPracticeHand {
  TPracticeDeal Deal;
  TPracticeVerdict Verdict;
  std::array<int32_t, kHandSize> Final{};  // the hand after the draw, in position order
  int32_t Category = 0;                    // its pay category; LastCategory + 1 for none
  int64_t Pay = 0;                         // coins paid for the coins played
  std::vector<TPracticeLine> More;         // lines 2, 3, ... in order

  int32_t Lines() const { return 1 + static_cast<int32_t>(More.size()); }
  // Coins paid on all lines together.
  int64_t TotalPay() const;
};

// The final hand of a deal under a hold on one of its lines (0 the first): the held cards
// stay, each replaced position takes the line's next card in turn.
std::array<int32_t, kHandSize> FinalHand(const TPracticeDeal& deal, int mask, int line = 0);

// The figures of a session so far. A hand on several lines is one hold: it counts once
// among the hands and mistakes, while its bets, pays, expected returns and cost count once
// per line.
struct TPracticeFigures {
  int32_t Hands = 0;
  int32_t Mistakes = 0;
  int32_t Coins = 1;             // coins played per hand
  long double CostBets = 0;      // what the mistakes gave up over all lines, in bets
  long double PlayedReturn = 0;  // expected pay of the holds played, summed, in bets
  long double BestReturn = 0;    // expected pay of the best holds, summed, in bets
  int64_t CoinsBet = 0;          // coins a hand times its lines, summed
  int64_t CoinsWon = 0;          // paid by the final hands of all lines

  void Add(const TPracticeHand& hand);
  long double CostCoins() const { return CostBets * Coins; }
  // Share of the hands played right, 0..1 (1 before the first hand).
  long double Accuracy() const;
  // Expected return of the holds played over that of perfect play, 0..1 (1 before the first
  // hand, or when perfect play expects nothing).
  long double Efficiency() const;
  // Coins won or lost.
  int64_t Net() const { return CoinsWon - CoinsBet; }
  // The net result perfect play was expected to give for the same hands, in coins.
  long double PerfectNet() const { return BestReturn * Coins - static_cast<long double>(CoinsBet); }
  // Net against PerfectNet: luck and mistakes together.
  long double NetAgainstPerfect() const { return static_cast<long double>(Net()) - PerfectNet(); }
};

// A session as it is kept: its game, table, coins and seed and every hand played.
struct TPracticeRecord {
  int64_t Started = 0;  // seconds since 1970-01-01 UTC
  int32_t GameId = 0;
  std::string GameName;
  std::vector<int32_t> Pays;  // categories 0..LastCategory, coins for CoinBasis coins
  int32_t CoinBasis = 1;
  int32_t Coins = 1;  // per line
  uint64_t Seed = 0;
  double HardWithin = -1;          // the hard-hands filter of the session (see TPracticeOptions)
  int32_t Lines = 1;               // lines every hand is drawn on
  std::vector<std::string> Drill;  // the drill's two lines in words; empty: no drill
  std::vector<TPracticeHand> Hands;

  TPracticeFigures Figures() const;
};

// The mistakes of a session by the line of the best hold, without the ranks and penalties of
// the exact line ("4 to a flush with 1 high card", "low pair"): how many hands had a best
// hold of the line, how many of them were held wrong and what those cost, in bets (per line
// drawn, as the figures count them).
struct TLineMistakes {
  std::string Line;
  int32_t Hands = 0;
  int32_t Mistakes = 0;
  long double CostBets = 0;
};
// The lines of the record's hands with a mistake, the costliest first (equal costs by
// name); the lines are named by `namer`, which must be of the record's game.
std::vector<TLineMistakes> MistakesByLine(const TPracticeRecord& record, const THoldNamer& namer);

// The largest hard-hands filter, in bets: far above any gap between two holds' returns,
// since no pay exceeds kMaxPay.
inline constexpr double kMaxHardWithin = 1e9;

struct TPracticeOptions {
  // Deal only hands whose best hold is hard to find: the best and the next best return
  // (the best of the holds that do not tie with it) at most this many bets apart, up to
  // kMaxHardWithin. Negative: every hand. It decides which deals are played, so it is part
  // of the session.
  double HardWithin = -1;
  // Warn before drawing a mistake that costs more than this many bets; negative: never.
  double WarnAbove = -1;
  // Lines each hand is drawn on, one of kPracticeLineCounts. The seed's deals depend on it,
  // so it is part of the session.
  int32_t Lines = 1;
  // The record keeps every hand played, for a session to be kept; without, only the
  // figures grow with the hands (a long scripted run that is not kept).
  bool KeepHands = true;
  // A drill: deal only hands where each of these two lines is the line of one of their
  // holds (empty: every hand). It decides which deals are played, so it is part of the
  // session.
  std::vector<TLinePattern> Drill;
  // The most deals looked at for one drill hand before Deal gives up with an InputError.
  int32_t DrillTries = 200000;
};

// The most deals looked at to find one hard hand; then the last one is played.
inline constexpr int32_t kMaxHardDeals = 2000;

// One practice session on one game, pay table and coin count. It has its own engines, so
// the main window's analysis is left alone. Not copyable (the engines refer to its table).
class TPracticeSession {
 public:
  // Raises an InputError when the lines are not one of kPracticeLineCounts, `coins` is not 1..5 or
  // not a whole number of the table's coin basis, the table is not one of the game's or has a pay
  // above kMaxPay, or the hard-hands filter is not a number up to kMaxHardWithin.
  TPracticeSession(const TPokerDescription& game, const TPayout& table, int coins, uint64_t seed,
                   const TPracticeOptions& options = {});
  ~TPracticeSession();
  TPracticeSession(const TPracticeSession&) = delete;
  TPracticeSession& operator=(const TPracticeSession&) = delete;

  // Deals the seed's next hand (with the hard-hands filter, its next hard one; with a drill,
  // its next one offering both lines) and grades every hold of it at once. A hand dealt and
  // not drawn is dropped. A drill that finds no hand in DrillTries deals raises an InputError
  // naming its lines; no hand is dealt then.
  const TPracticeDeal& Deal();
  // Deals the given cards instead (a hand to practise, a scripted session); the deal keeps
  // its number. Raises an InputError for cards that are not in the game's deck or appear
  // twice on one line, or for a deal on other lines than the session's.
  const TPracticeDeal& DealGiven(const TPracticeDeal& deal);
  // A hand is dealt and waits for its draw.
  bool HasHand() const { return dealt_; }
  const TPracticeDeal& CurrentDeal() const { return deal_; }
  // The last Deal found a hard hand (always true without the filter).
  bool HardFound() const { return hardFound_; }
  // Deals looked at so far, the ones the filter passed over included.
  int32_t DealsSeen() const { return dealsSeen_; }

  // The grade of a hold of the hand dealt last, before or after its draw (RangeError for a
  // mask outside 0..31; an InputError before the first deal).
  TPracticeVerdict Grade(int mask) const;
  // The reference strategy every hold is graded against besides perfect play (none: only
  // perfect play); it must be of the session's game. It may change at any time.
  void SetStrategy(std::optional<TStrategy> strategy);
  const std::optional<TStrategy>& Strategy() const { return strategy_; }
  // Names the lines of the session's game.
  const THoldNamer& Namer() const { return namer_; }
  // Drawing this hold deserves a warning: it is a mistake costing more than WarnAbove.
  bool ShouldWarn(int mask) const;
  // Draws to the hold: on every line its replaced positions take the line's next cards in
  // turn; each final hand is paid for the coins played and the hand joins the session: the hand
  // returned is the record's last one (with KeepHands off, the record stays empty).
  const TPracticeHand& Draw(int mask);

  const TPracticeRecord& Record() const { return record_; }
  const TPracticeFigures& Figures() const { return figures_; }
  const TPracticeOptions& Options() const { return options_; }
  // The warning threshold may change at any time; the filter belongs to the session.
  void SetWarnAbove(double bets) { options_.WarnAbove = bets; }
  int32_t Coins() const { return record_.Coins; }
  int32_t Lines() const { return record_.Lines; }
  uint64_t Seed() const { return record_.Seed; }
  const TPayout& Table() const { return table_; }
  const std::vector<std::string>& CategoryNames() const { return categoryNames_; }

  // The all-holds window's view of the dealt (or last drawn) hand, with `mask` as the hold
  // shown.
  THoldsSnapshot HoldsSnapshot(int mask) const;

 private:
  // Analyses deal_ and grades every hold.
  void Analyse();
  // The dealt hand passes the hard-hands filter.
  bool IsHard() const;
  // The pay category of a final hand (LastCategory + 1 for none) and its pay.
  void Settle(const std::array<int32_t, kHandSize>& final, int32_t& category, int64_t& pay);

  // Whether some hold of the cards is of each drill line.
  bool OffersDrill(const std::array<int32_t, kHandSize>& cards) const;

  TPayout table_;
  THoldNamer namer_;
  std::optional<TStrategy> strategy_;
  std::vector<std::string> categoryNames_;
  std::unique_ptr<TPokerEngine> engine_;  // the dealt hand's analysis
  std::unique_ptr<TPokerEngine> judge_;   // classifies the final hands
  TPracticeDealer dealer_;
  TPracticeOptions options_;
  TPracticeRecord record_;
  TPracticeFigures figures_;
  TPracticeHand lastHand_;  // the hand drawn last, when the record keeps no hands
  TPracticeDeal deal_;
  std::array<TExactReturn, kMaskCount> returns_{};  // of every hold of the dealt hand
  int32_t bestMask_ = 0;
  int32_t bestHolds_ = 1;
  long double hardGap_ = -1;  // bets from the best to the next best return; -1: none below
  int32_t wildRank_ = -1;
  int32_t jokerCount_ = 0;
  bool analysed_ = false;  // a hand was dealt and graded
  bool dealt_ = false;
  bool hardFound_ = true;
  int32_t dealsSeen_ = 0;
};

}  // namespace tarnwick
