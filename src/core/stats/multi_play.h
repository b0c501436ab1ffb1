// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Several lines drawn from one deal: every line starts from the same five cards, is held
// the best way (the same hold on every line) and draws its replacements from its own deck.
// The pays of two lines of one deal are independent given the deal, so their covariance is
// c = Var(E[pay | deal]) and the N lines of a deal pay with variance N V + N (N - 1) c,
// V being the variance of one hand. Everything is per coin bet on each line.
//
// The distribution of a deal's total is counted exactly from the deals grouped by how their
// best hold ends (TDealGroups): the total of a group's N lines is a sum of N independent
// draws, so the sum over the groups of (deals of the group) x (the group's generating
// function)^N is the deal's generating function. It is evaluated at the roots of unity
// and brought back by one inverse transform.

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "engine/deal_groups.h"
#include "engine/payout.h"
#include "engine/poker_engine.h"
#include "progress.h"

namespace tarnwick {

inline constexpr int kMaxLines = 100;        // lines drawn from one deal: 1..kMaxLines
inline constexpr double kMaxCashBack = 100;  // percent of the coins bet

struct TMultiPlayFigures {
  long double DealVariance = 0;  // of the total pay of the N lines of one deal
  long double LineStdDev = 0;    // per line: sqrt(V + (N - 1) c)
};

// The figures of `lines` lines of the computed `table` whose deal covariance is
// `covariance` (TPayout::DealCovariance). Raises an InputError for lines outside
// 1..kMaxLines and a TarnwickError for a table without whole-game counts.
TMultiPlayFigures MultiPlayFigures(const TPayout& table, long double covariance, int lines);

// The covariance of two lines of one deal (TPayout::DealCovariance) of `table`, from a
// whole-game run on a copy of it with an engine of its own; `table` stays as it is. The
// progress (may be null) is the run's; a cancellation raises AbortError. Empty only when
// the run leaves the covariance unknown.
std::optional<long double> ComputeDealCovariance(const TPokerDescription& game,
                                                 const TPayout& table, TProgress* progress);

// Raises an InputError for lines outside 1..kMaxLines or a cash back outside 0..100 %.
void CheckLines(int lines);
void CheckCashBack(double percent);

// Computes `table` over every deal with `engine` (of the table's game) and groups the deals
// into `groups` on the way; the table then knows its covariance too.
void ComputeWithGroups(TPokerEngine& engine, TPayout& table, TDealGroups& groups);

// The net result of one deal drawn on Lines lines, every point exact within 1e-12.
struct TDealDistribution {
  int32_t Lines = 1;
  double CashBack = 0;              // percent of the coins bet, added to every result
  int32_t StepsPerBet = 1;          // net results are counted in 1/StepsPerBet line bets
  int64_t First = 0;                // net result of Probability[0] in steps, cash back apart
  std::vector<double> Probability;  // of the net result First + i steps
  std::vector<bool> Possible;       // a result some deal and draws can give
  double AllLose = 0;               // every line ends with less than its bet

  // The net result of point i in line bets, cash back included.
  double NetBets(size_t i) const;
};

// The distribution for `lines` lines and a cash back of `cashBack` percent, from the
// groups of a computed table. `threads` as for the whole-game run (0: one per hardware
// thread). The progress runs from 0 to 1000; a cancellation raises AbortError.
TDealDistribution ComputeDealDistribution(const TDealGroups& groups, const TPayout& table,
                                          int lines, double cashBack, TProgress* progress,
                                          int threads = 0);

struct TMultiPlaySummary {
  long double Return = 0;  // pays and cash back per coin bet
  double Win = 0;          // the deal's lines together win more than they bet
  double Push = 0;
  double Loss = 0;
  double Mean = 0;      // of the deal's net result in line bets
  double Variance = 0;  // of the deal's net result in line bets squared
  // The net result in line bets below which at most `level` of the deals stay, at the
  // levels 1, 5, 10, 25, 50, 75, 90, 95 and 99 %.
  std::vector<std::pair<double, double>> Quantiles;
};

TMultiPlaySummary Summarise(const TDealDistribution& distribution, const TPayout& table);

// Long-run risk of ruin: R(B) = exp(-Adjustment B), B the bankroll in line bets, from the
// root of E[exp(-Adjustment X)] = 1 over the net result X of one deal. Exact for one line,
// whose result never loses more than the bet; for more lines an upper bound. Empty when
// the game does not win in the long run (then every bankroll is lost in time).
std::optional<double> LongRunAdjustment(const TDealDistribution& distribution);
// The bankroll in line bets whose long-run risk of ruin is `risk` (0 < risk < 1).
double BankrollForRisk(double adjustment, double risk);

// Chances over `deals` deals from `bankroll` line bets: ruin (the bankroll can no longer
// cover the next deal's lines) and reaching `target` line bets (when given). Exact dynamic
// programming over the bankroll; raises an InputError for a bankroll below one deal, a
// target below the bankroll or deals outside 1..100000.
struct TRuinChances {
  double Ruin = 0;
  double Reach = 0;
};
TRuinChances RuinWithin(const TDealDistribution& distribution, double bankroll, int deals,
                        std::optional<double> target, TProgress* progress = nullptr);

}  // namespace tarnwick
