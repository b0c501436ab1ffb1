// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/payout.h"

#include <cmath>

#include "engine/cards.h"
#include "errors.h"

namespace tarnwick {

namespace {

// Ways to draw d cards out of the m left after the deal.
long double DrawsAfterDeal(int d, int32_t deckSize) {
  return static_cast<long double>(BinomialAt(d, deckSize - kHandSize));
}

template <class T>
int Sign(T value) {
  return (value > 0) - (value < 0);
}

}  // namespace

void TPayout::Assign(const TPayout& source) {
  const int index = Index;
  *this = source;
  Index = index;
}

bool TPayout::SameAs(const TPayout& other) const {
  if (GameId != other.GameId || LastCategory != other.LastCategory ||
      CoinBasis != other.CoinBasis) {
    return false;
  }
  for (int c = 0; c <= LastCategory; ++c) {
    if (Pays[c] != other.Pays[c]) return false;
  }
  return true;
}

void TPayout::Reduce() {
  if (CoinBasis == 1) return;
  const auto dividesAll = [&](int32_t divisor) {
    if (divisor <= 0 || CoinBasis % divisor != 0) return false;
    for (int c = 0; c <= LastCategory; ++c) {
      if (Pays[c] % divisor != 0) return false;
    }
    return true;
  };
  const auto divideAll = [&](int32_t divisor) {
    for (int c = 0; c <= LastCategory; ++c) Pays[c] /= divisor;
    CoinBasis /= divisor;
    // Every S is a sum of pays times counts, so divides by the divisor: the squares by
    // its square, exactly.
    const auto square = static_cast<TBestSquare>(divisor) * static_cast<TBestSquare>(divisor);
    for (TBestSquare& sum : BestSquares) sum /= square;
  };
  if (dividesAll(CoinBasis)) {
    divideAll(CoinBasis);
  } else if (dividesAll(2)) {
    divideAll(2);
  }
}

void TPayout::ClearCounts() {
  for (auto& row : Counts) row.fill(0);
  Deals.fill(0);
  BestSquares.fill(0);
  BestSquaresKnown = false;
  Return = -1;
}

int64_t TPayout::DealTotal() const {
  int64_t total = 0;
  for (int32_t deals : Deals) total += deals;
  return total;
}

void TPayout::ComputeTotals() {
  Return = 0;
  WinChance = 0;
  PushChance = 0;
  const int64_t total = DealTotal();
  if (total != 0) {
    CheckRange(DeckSize - kHandSize, 0, 53, "cards left after the deal");
    for (int d = 0; d < kDrawCounts; ++d) {
      if (Deals[d] == 0) continue;
      const long double hands = static_cast<long double>(total) * DrawsAfterDeal(d, DeckSize);
      for (int c = 0; c <= LastCategory; ++c) {
        const long double q = static_cast<long double>(Counts[d][c]) / hands;
        Return += Pays[c] * q;
        if (Pays[c] > CoinBasis) {
          WinChance += q;
        } else if (Pays[c] == CoinBasis) {
          PushChance += q;
        }
      }
    }
  }
  LossChance = 1 - PushChance - WinChance;
  Return = Return / CoinBasis;
}

long double TPayout::CategoryChance(int category) const {
  CheckRange(category, 0, kMaxCategories - 1, "category");
  const int64_t total = DealTotal();
  long double chance = 0;
  if (total == 0) return chance;
  CheckRange(DeckSize - kHandSize, 0, 53, "cards left after the deal");
  for (int d = 0; d < kDrawCounts; ++d) {
    if (Deals[d] == 0) continue;
    chance += static_cast<long double>(Counts[d][category]) /
              (static_cast<long double>(total) * DrawsAfterDeal(d, DeckSize));
  }
  return chance;
}

double TPayout::Variance() const {
  const double mean = static_cast<double>(Return);
  double sum = 0;
  double rest = 1;
  for (int c = 0; c <= LastCategory; ++c) {
    const double p = static_cast<double>(CategoryChance(c));
    const double x = static_cast<double>(Pays[c]) / CoinBasis - mean;
    sum += p * x * x;
    rest -= p;
  }
  return sum + rest * mean * mean;
}

double TPayout::StdDev() const {
  return std::sqrt(Variance());
}

std::optional<long double> TPayout::DealCovariance() const {
  const int64_t total = DealTotal();
  if (!BestSquaresKnown || total == 0) return std::nullopt;
  CheckRange(DeckSize - kHandSize, 0, 53, "cards left after the deal");
  // Each exact integer sum is turned into a long double once (relative error 2^-64) and
  // divided by the square of its draw count: the mean of the squared best returns comes
  // out within a few units of 2^-64 of itself. The return, summed from exact counts the
  // same way, is as close; c, their difference, is therefore off by a few units of 2^-64
  // times the mean square (about 1e-18 for the common tables, where both are near 3).
  long double squares = 0;
  for (int d = 0; d < kDrawCounts; ++d) {
    if (BestSquares[d] == 0) continue;
    const long double draws = DrawsAfterDeal(d, DeckSize);
    squares += static_cast<long double>(BestSquares[d]) / (draws * draws);
  }
  const long double basis = CoinBasis;
  const long double meanSquare = squares / static_cast<long double>(total) / (basis * basis);
  return meanSquare - Return * Return;
}

int CompareTables(const TPayout& a, int key, const TPayout& b) {
  int result = 0;
  switch (key < 0 ? -key : key) {
    case 1:
      // Pays per coin; the sign of the first difference decides (the difference itself
      // may not fit the result).
      for (int c = 0; c <= a.LastCategory && result == 0; ++c) {
        result = Sign(static_cast<int64_t>(a.Pays[c]) * b.CoinBasis -
                      static_cast<int64_t>(b.Pays[c]) * a.CoinBasis);
      }
      break;
    case 2:
    case 3:
      result = Sign(a.Return - b.Return);
      break;
    case 4:
      result = Sign(a.Variance() - b.Variance());
      break;
    case 5:
      result = Sign(a.StdDev() - b.StdDev());
      break;
    case 6:
      result = Sign(a.WinChance - b.WinChance);
      break;
    case 7:
      result = Sign(a.PushChance - b.PushChance);
      break;
    case 8:
      result = Sign(a.LossChance - b.LossChance);
      break;
    default:
      break;
  }
  return key < 0 ? -result : result;
}

std::optional<int32_t> ParsePayText(std::string_view text) {
  int64_t pay = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') continue;
    pay = pay * 10 + (c - '0');
    if (pay > kMaxPay) return std::nullopt;
  }
  return static_cast<int32_t>(pay);
}

TPayout MakePayout(const TPokerDescription& game, std::span<const int32_t> pays, int coinBasis) {
  const size_t expected = static_cast<size_t>(game.LastCategory) + 1;
  if (pays.size() != expected) {
    throw InputError(game.Name + " needs " + std::to_string(expected) +
                     " pays, one per category, got " + std::to_string(pays.size()));
  }
  if (!IsCoinCount(coinBasis)) {
    throw InputError("a coin basis of " + std::to_string(coinBasis) + " is not 1..5 coins");
  }
  TPayout table;
  table.GameId = game.GameId;
  table.LastCategory = game.LastCategory;
  table.DeckSize = game.DeckSize();
  table.CoinBasis = coinBasis;
  for (size_t c = 0; c < pays.size(); ++c) {
    if (pays[c] < 0) throw InputError("pay " + std::to_string(pays[c]) + " is negative");
    if (pays[c] > kMaxPay) throw InputError(PayAboveLimitText(pays[c]));
    table.Pays[c] = pays[c];
  }
  table.ClearCounts();
  return table;
}

std::string PayAboveLimitText(int64_t pay) {
  return "pay " + std::to_string(pay) + " is above the largest pay, " + std::to_string(kMaxPay);
}

std::vector<int32_t> PaysOf(const TPayout& table) {
  return {table.Pays.begin(), table.Pays.begin() + table.LastCategory + 1};
}

long double PayWorth(const TPayout& table, int category) {
  return table.CategoryChance(category) / table.CoinBasis;
}

std::string PaysText(std::span<const int32_t> pays, char separator) {
  std::string text;
  for (const int32_t pay : pays) {
    if (!text.empty()) text += separator;
    text += std::to_string(pay);
  }
  return text;
}

std::string PaysText(const TPayout& table, char separator) {
  return PaysText(PaysOf(table), separator);
}

}  // namespace tarnwick
