// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// One pay table record of the data file, little-endian without padding:
//
//   offset      size         field
//   0           4            GameId
//   4           4            LastCategory (L, 0..15)
//   8           4            DeckSize
//   12          4            CoinBasis
//   16          24           Deals[0..5]
//   40          4 x (L+1)    Pays[0..L]
//   44 + 4L     48 x (L+1)   Counts[d][c], 8 bytes each, d 0..5 outer, c 0..L inner
//
// The derived figures (return, chances) and the table's position are not stored.

#include <cstdint>
#include <vector>

#include "engine/payout.h"

namespace tarnwick {

class TByteReader;

// Bytes of a record: 40 + 52 x (LastCategory + 1).
size_t PayoutRecordSize(const TPayout& table);

// Reads one record, validates every field before anything is kept and derives the figures.
// Raises a DataFileError naming the field out of its range: a LastCategory outside 0..15, a
// DeckSize outside 5..58, a CoinBasis outside 1..5, a negative pay, deal counts that are
// neither all zero nor every deal of the deck counted once, counts beyond what the deals
// can make.
TPayout ReadPayoutRecord(TByteReader& reader);

void WritePayoutRecord(const TPayout& table, std::vector<uint8_t>& out);

}  // namespace tarnwick
