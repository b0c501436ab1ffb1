// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Test oracle: lists every final hand of every hold of a dealt hand card by card and
// classifies each with a classifier of its own, independent of the engine's formulas.

#include <array>
#include <cstdint>

namespace tarnwick::testing {

inline constexpr int kNothing = 48;  // column of the final hands that have no kind

// Kind of five natural cards given as codes rank + 13 x suit, or kNothing.
int ListingKind(const std::array<int, 5>& codes);

// ListedKinds[mask][kind]: final hands of each hold, by kind (kNothing for no kind).
using TListedKinds = std::array<std::array<int64_t, kNothing + 1>, 32>;

// Lists every draw of all 32 holds of a dealt hand of a 52-card deck. Every five-card
// hand of the deck is the final hand of exactly one hold: the one that keeps the dealt
// cards it contains and replaces the others.
TListedKinds ListAllDraws(const std::array<int, 5>& dealt);

}  // namespace tarnwick::testing
