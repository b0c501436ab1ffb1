// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/payout_record.h"

#include "engine/cards.h"
#include "errors.h"
#include "store/byte_io.h"

namespace tarnwick {

size_t PayoutRecordSize(const TPayout& table) {
  return 40 + 52 * static_cast<size_t>(table.LastCategory + 1);
}

TPayout ReadPayoutRecord(TByteReader& reader) {
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
  field("CoinBasis", record.CoinBasis, 1, kMaxCoins);
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
    field("Pays", record.Pays[c], 0, kMaxPay);
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
  record.ComputeTotals();
  return record;
}

void WritePayoutRecord(const TPayout& table, std::vector<uint8_t>& out) {
  CheckRange(table.LastCategory, 0, kMaxCategories - 1, "last category");
  // A pay the reader would refuse is never written.
  for (int c = 0; c <= table.LastCategory; ++c) CheckRange(table.Pays[c], 0, kMaxPay, "pay");
  WriteInt32(out, table.GameId);
  WriteInt32(out, table.LastCategory);
  WriteInt32(out, table.DeckSize);
  WriteInt32(out, table.CoinBasis);
  for (int32_t deals : table.Deals) WriteInt32(out, deals);
  for (int c = 0; c <= table.LastCategory; ++c) WriteInt32(out, table.Pays[c]);
  for (const auto& row : table.Counts) {
    for (int c = 0; c <= table.LastCategory; ++c) WriteInt64(out, row[c]);
  }
}

}  // namespace tarnwick
