// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "payout.h"

#include <cmath>

#include "byte_io.h"
#include "cards.h"
#include "errors.h"

namespace tarnwick {

namespace {

constexpr int kDrawCounts = 6;  // cards drawn 0..5

// Ways to draw d cards out of the m left after the deal.
long double DrawsAfterDeal(int d, int32_t deckSize) {
  return static_cast<long double>(BinomialAt(d, deckSize - kHandSize));
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
  const double mean = static_cast<double>(Return * CoinBasis);
  double sum = 0;
  double rest = 1;
  for (int c = 0; c <= LastCategory; ++c) {
    const double p = static_cast<double>(CategoryChance(c));
    const double x = Pays[c] - mean;
    sum += p * x * x;
    rest -= p;
  }
  return sum + rest * mean * mean;
}

double TPayout::StdDev() const {
  return std::sqrt(Variance());
}

size_t TPayout::RecordSize() const {
  return 40 + 52 * static_cast<size_t>(LastCategory + 1);
}

void TPayout::ReadFrom(TByteReader& reader) {
  TPayout record;
  const auto field = [](const char* name, int64_t value, int64_t lo, int64_t hi) {
    if (value < lo || value > hi) {
      throw DataFileError(std::string(name) + " " + std::to_string(value) + " is outside " +
                          std::to_string(lo) + ".." + std::to_string(hi));
    }
  };
  record.GameId = reader.ReadInt32();
  record.LastCategory = reader.ReadInt32();
  field("LastCategory", record.LastCategory, 0, kMaxCategories - 1);
  record.DeckSize = reader.ReadInt32();
  field("DeckSize", record.DeckSize, 5, 58);
  record.CoinBasis = reader.ReadInt32();
  field("CoinBasis", record.CoinBasis, 1, 5);
  // The deals of a complete run number C(DeckSize, 5) at most.
  int64_t allDeals = 1;
  for (int i = 0; i < kHandSize; ++i) allDeals = allDeals * (record.DeckSize - i) / (i + 1);
  int64_t dealTotal = 0;
  for (int d = 0; d < kDrawCounts; ++d) {
    record.Deals[d] = reader.ReadInt32();
    field("Deals", record.Deals[d], 0, allDeals);
    dealTotal += record.Deals[d];
  }
  // A table is either not computed (no deals) or counts every deal exactly once.
  if (dealTotal != 0 && dealTotal != allDeals) {
    throw DataFileError("the Deals add up to " + std::to_string(dealTotal) + ", not 0 or the " +
                        std::to_string(allDeals) + " deals of " + std::to_string(record.DeckSize) +
                        " cards");
  }
  for (int c = 0; c <= record.LastCategory; ++c) {
    record.Pays[c] = reader.ReadInt32();
    field("Pays", record.Pays[c], 0, INT32_MAX);
  }
  for (int d = 0; d < kDrawCounts; ++d) {
    // The final hands of the deals that draw d cards: Deals[d] x C(DeckSize - 5, d).
    const int64_t draws = BinomialAt(d, record.DeckSize - kHandSize);
    if (draws == 0 && record.Deals[d] != 0) {
      throw DataFileError("Deals[" + std::to_string(d) + "] is " + std::to_string(record.Deals[d]) +
                          ", but no deal of " + std::to_string(record.DeckSize) +
                          " cards can draw " + std::to_string(d));
    }
    const int64_t hands = record.Deals[d] * draws;
    int64_t sum = 0;
    for (int c = 0; c <= record.LastCategory; ++c) {
      record.Counts[d][c] = reader.ReadInt64();
      field("Counts", record.Counts[d][c], 0, hands);
      sum += record.Counts[d][c];
      field("the sum of Counts", sum, 0, hands);
    }
  }
  record.Index = Index;
  *this = record;
  Return = -1;
  ComputeTotals();
}

void TPayout::WriteTo(std::vector<uint8_t>& out) const {
  CheckRange(LastCategory, 0, kMaxCategories - 1, "last category");
  WriteInt32(out, GameId);
  WriteInt32(out, LastCategory);
  WriteInt32(out, DeckSize);
  WriteInt32(out, CoinBasis);
  for (int32_t deals : Deals) WriteInt32(out, deals);
  for (int c = 0; c <= LastCategory; ++c) WriteInt32(out, Pays[c]);
  for (const auto& row : Counts) {
    for (int c = 0; c <= LastCategory; ++c) WriteInt64(out, row[c]);
  }
}

}  // namespace tarnwick
