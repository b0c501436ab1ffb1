// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What a run of hands played the best way can bring: the distribution of the net result
// after N hands, the chances of being ahead, even or behind over 2000 hands, and the risk
// of ruin against the chance to reach a desired bankroll. Each is an exact dynamic program
// over whole bets on a grid of net results from -500 to +1500 bets. A hand may also be one
// deal drawn on several lines (a bet is then one line's bet), with cash back added to every
// deal's result.

#include <array>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "engine/payout.h"
#include "progress.h"
#include "stats/multi_play.h"

namespace tarnwick {

// The chart list's entries (a blank and the chart's name); the failure text names them.
inline const std::string kExpectedGainChart = " Expected gain";
inline const std::string kRiskOfRuinChart = " Risk of ruin";
inline const std::string kWinLostChart = " Win/lost";

constexpr int kGridCells = 2001;  // index i is a net result of i - 500 bets
constexpr int kBreakEven = 500;
// Deals on several lines lose and win more a hand: their grid is this many times wider
// (one cell is still one line's bet), up to 20 times.
constexpr int kMaxGridScale = 20;
constexpr int kMaxRunHands = 4000;
constexpr int kCurveHands = 2000;
constexpr int kMaxBankroll = 1500;  // coins

// The net result of one hand in bets: every category, then "Nothing" (net -1); or every
// net result of one deal on several lines, in line bets.
struct TOutcomeTable {
  int Count = 0;
  // Net result of each outcome in bets; a result beyond the grid's width is held at it.
  std::vector<int32_t> Net;
  std::vector<double> P;
  int32_t Lines = 1;    // bets one hand (deal) costs: a bankroll below it is ruined
  double CashBack = 0;  // bets added to every hand's result
  int32_t Scale = 1;    // the grid runs from -500 Scale to +1500 Scale bets
};

// Built from the table's pays and whole-game category chances. The pays must be whole
// bets: a coin basis above 1 is divided out, and a pay that does not divide is a RangeError.
TOutcomeTable BuildOutcomeTable(const TPayout& payout);
// Built from the distribution of one deal on several lines, with its cash back. The pays
// must be whole line bets, as above.
TOutcomeTable BuildOutcomeTable(const TDealDistribution& deal);

// The outcomes of one hand of the charts for a table: the table's own for one line without
// cash back; else those of one deal on several lines with cash back, from the deals
// grouped by a whole-game run made once, on the first call that needs it. Safe to call
// from any thread; a cancelled run is made again on the next call.
class TChartOutcomes {
 public:
  // `game` must outlive this object; `table` is copied.
  TChartOutcomes(const TPokerDescription& game, const TPayout& table);
  TChartOutcomes(const TChartOutcomes&) = delete;
  TChartOutcomes& operator=(const TChartOutcomes&) = delete;
  // Raises a RangeError for pays that are not whole bets, an InputError for lines outside
  // 1..100 or a cash back outside 0..100 %; the progress sees the runs it makes.
  TOutcomeTable For(int lines, double cashBack, TProgress& progress);

 private:
  const TPokerDescription& game_;
  TPayout table_;
  std::mutex mutex_;
  TPayout computed_;                     // the table as the grouped run computed it
  std::unique_ptr<TDealGroups> groups_;  // the deals of that run, once made
};

enum class TPointClass { Loss, Push, Win };

struct TChartPoint {
  double X = 0;
  double Y = 0;
  TPointClass Class = TPointClass::Loss;
};

// Win counts the runs that reached +1500 bets too; Loss those that fell to -500.
struct TResultDistribution {
  // The bars to draw: every net result in coins (X) from the first to the last of at least
  // 1/200 of the tallest, with its probability in percent (Y) and class.
  std::vector<TChartPoint> Points;
  // Every net result of a probability above 0, the same way; the first row at -500 bets
  // holds every run that fell to it, the last at +1500 bets every run that reached it, so
  // that the rows of each class add up to its total.
  std::vector<TChartPoint> Rows;
  double Win = 0;
  double Push = 0;
  double Loss = 0;
};

struct TCurves {
  std::vector<TChartPoint> Win;  // (hand, percent)
  std::vector<TChartPoint> Loss;
  std::vector<TChartPoint> Push;
};

struct TRuinCurves {
  std::vector<TChartPoint> Ruin;  // (hand, percent)
  std::vector<TChartPoint> Hit;
};

// The probability of every net result after `hands` (1..4000) hands of `coins` coins. The
// points of a cancelled or failed run stay in `result`; the failure leaves with the chart
// entry appended to its message.
// A net result with cash back is a whole number of bets plus the hands' cash back.
void ComputeResultDistribution(const TPayout& payout, int hands, int coins,
                               TResultDistribution& result, TProgress& progress,
                               const std::string& chart = kExpectedGainChart);
void ComputeResultDistribution(const TOutcomeTable& outcomes, int hands, int coins,
                               TResultDistribution& result, TProgress& progress,
                               const std::string& chart = kExpectedGainChart);

// The win, loss and push probability in percent after every hand 1..2000.
void ComputeWinPushLoss(const TPayout& payout, TCurves& curves, TProgress& progress,
                        const std::string& chart = kWinLostChart);
void ComputeWinPushLoss(const TOutcomeTable& outcomes, TCurves& curves, TProgress& progress,
                        const std::string& chart = kWinLostChart);

// After every hand 1..2000, the probability of having been ruined so far (the bankroll can
// no longer pay for the next hand's bets) and of having reached the desired bankroll so far
// (bankrolls in coins, 1 <= initial <= desired <= 1500).
void ComputeRiskOfRuin(const TPayout& payout, int initial, int desired, int coins,
                       TRuinCurves& curves, TProgress& progress,
                       const std::string& chart = kRiskOfRuinChart);
void ComputeRiskOfRuin(const TOutcomeTable& outcomes, int initial, int desired, int coins,
                       TRuinCurves& curves, TProgress& progress,
                       const std::string& chart = kRiskOfRuinChart);

}  // namespace tarnwick
