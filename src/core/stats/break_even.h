// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The break-even pay: the smallest pay of the top category (the first one, the royal flush
// or its like) at which a table returns 100 % or more with the best play, found exactly by
// whole-game runs. The return can only grow with a pay (the best play of the larger pay
// earns at least what the old play earns), so the pays below it return less than 100 %.

#include <optional>

#include "engine/poker_engine.h"

namespace tarnwick {

// Runs the engine (of the table's game) on copies of `table` with other top pays; each run
// reports to `progress` when it is given. Empty when even kMaxPay returns less than 100 %.
std::optional<int32_t> BreakEvenPay(TPokerEngine& engine, const TPayout& table,
                                    TProgress* progress = nullptr);

}  // namespace tarnwick
