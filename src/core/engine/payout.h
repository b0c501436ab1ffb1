// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// One pay table of one game for one coin basis, with the counts of the whole-game
// calculation and the figures derived from them.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/cards.h"
#include "engine/games.h"

namespace tarnwick {

inline constexpr int kDrawCounts = kHandSize + 1;  // cards drawn 0..5
inline constexpr int kMaxCoins = 5;  // coins played per hand, and coin bases, are 1..5
// An unsigned 128-bit integer: wide enough for the sums of squared best returns below.
__extension__ using TBestSquare = unsigned __int128;
constexpr bool IsCoinCount(int coins) {
  return coins >= 1 && coins <= kMaxCoins;
}

class TPayout {
 public:
  int32_t Index = 0;           // position in the store; not written to the data file
  int32_t GameId = 0;          // the game the table belongs to
  int32_t LastCategory = 0;    // pays for categories 0..LastCategory (at most 15)
  long double Return = 0;      // overall return per coin as a fraction; -1 = not computed
  long double WinChance = 0;   // a hand pays more than the stake
  long double PushChance = 0;  // a hand pays exactly the stake
  long double LossChance = 0;  // a hand pays less than the stake (nothing included)
  int32_t CoinBasis = 1;       // the pays are given for this many coins
  std::array<int32_t, kMaxCategories> Pays{};  // pay of each category, coins for CoinBasis
  // Counts[d][c]: final hands of category c over the deals whose best hold draws d cards.
  std::array<std::array<int64_t, kMaxCategories>, 6> Counts{};
  std::array<int32_t, 6> Deals{};  // deals whose best hold draws d cards
  int32_t DeckSize = 0;            // cards in the game's deck (52, 53 or 54)
  // Not written to the data file: known only on a table the whole-game run has just
  // computed. BestSquares[d]: over the deals whose best hold draws d cards, the sum of
  // (deal weight) * S^2, S being the best hold's sum of pays times draws (its expected pay
  // is S / C(DeckSize - 5, d) coins of the basis). |S| < 2^31 * 2^21 = 2^52, so S^2 < 2^104
  // and the sum over at most C(54, 5) < 2^22 deals stays below 2^126: it cannot overflow.
  std::array<TBestSquare, kDrawCounts> BestSquares{};
  bool BestSquaresKnown = false;

  // Copies everything but Index.
  void Assign(const TPayout& source);
  // Same game, categories, coin basis and pays.
  bool SameAs(const TPayout& other) const;
  // Brings the table to the smallest coin basis that keeps all pays whole.
  void Reduce();
  // Counts, Deals and BestSquares 0, Return -1 (not computed), BestSquares not known.
  void ClearCounts();
  // Derives Return and the win, push and loss chances from the counts.
  void ComputeTotals();
  // Probability that a hand played the best way ends in category c.
  long double CategoryChance(int category) const;
  // Variance of the pay of one hand per coin bet (the pays divided by the coin basis), so
  // that a table has the same variance for every coin basis it is given in.
  double Variance() const;
  double StdDev() const;
  // The variance over the deals of the expected pay per coin bet of each deal's best hold:
  // Var(E[pay | deal]), which is also the covariance of the pays of two hands drawn from
  // the same deal. Empty unless BestSquaresKnown.
  std::optional<long double> DealCovariance() const;
  // Total of Deals (the deals counted by the whole-game run).
  int64_t DealTotal() const;
  // The table has whole-game counts (a stored table without them has none of its figures).
  bool Computed() const { return DealTotal() > 0; }
};

// Compares two tables for sorting: negative, 0 or positive as a sorts before, with or
// after b. Key 1 compares the pays per coin, 2 and 3 the return, 4 the variance, 5 the
// standard deviation, 6 to 8 the win, push and loss chances; a negative key reverses the
// order; 0 and other keys find all tables equal.
int CompareTables(const TPayout& a, int key, const TPayout& b);

// The largest pay a table may have for one category: eight digits, so that the pay for five
// coins and every sum of counts times pays stay far inside the arithmetic's range. Every
// reader and writer of pays holds to it: the command line, the pay table lists, the data
// file and the practice sessions.
constexpr int32_t kMaxPay = 99'999'999;

// "pay <pay> is above the largest pay, 99999999".
std::string PayAboveLimitText(int64_t pay);

// A pay table of the game with these pays (one per category in category order, coins for
// `coinBasis` coins), not computed yet. Raises an InputError for a wrong number of pays, a
// pay below 0 or above kMaxPay, or a coin basis outside 1..5.
TPayout MakePayout(const TPokerDescription& game, std::span<const int32_t> pays, int coinBasis = 1);

// A pay as typed: its digits only (blanks, separators and letters dropped); no digits is 0.
// Empty when the digits make more than kMaxPay.
std::optional<int32_t> ParsePayText(std::string_view text);

// The pays of categories 0..LastCategory.
std::vector<int32_t> PaysOf(const TPayout& table);
// What one coin more on the pay of `category` adds to the return of a computed table, as a
// share of the stake: the category's chance per coin of the basis. It holds for the best
// play of the table as it is; a larger pay may change that play and then adds a little more.
long double PayWorth(const TPayout& table, int category);

// Pays as one text with this separator between them: "800,50,25" or "800/50/25".
std::string PaysText(std::span<const int32_t> pays, char separator);
// The pays of categories 0..LastCategory so.
std::string PaysText(const TPayout& table, char separator);

}  // namespace tarnwick
