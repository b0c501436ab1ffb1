// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "stats/break_even.h"

#include <algorithm>
#include <cmath>

namespace tarnwick {

std::optional<int32_t> BreakEvenPay(TPokerEngine& engine, const TPayout& table,
                                    TProgress* progress) {
  TPayout trial;
  trial.Assign(table);
  TPayout* previous = engine.Payout;
  engine.SetProgress(progress);
  // The return of a top pay, and the chance of the top category at its best play.
  const auto run = [&](int32_t pay) {
    trial.Pays[0] = pay;
    trial.ClearCounts();
    engine.SetPayout(&trial);
    engine.CalcGameAdvantage();
    return std::pair{trial.Return, trial.CategoryChance(0)};
  };
  // Invariant: `below` returns less than 100 %, `reaching` 100 % or more (or is past the
  // largest pay). Each step goes where the return reaches 100 % if the best play of the
  // pay just run stayed the best. The return is the largest of such straight lines (one per
  // way of playing), so that pay returns 100 % or more: the search comes down on the
  // answer from above, and once the step is less than one coin, the pay below is tried.
  int64_t below = -1;
  int64_t reaching = static_cast<int64_t>(kMaxPay) + 1;
  int64_t pay = std::min<int64_t>(table.Pays[0], kMaxPay);
  try {
    while (reaching - below > 1) {
      const auto [ret, chance] = run(static_cast<int32_t>(pay));
      if (ret >= 1) {
        reaching = pay;
      } else {
        below = pay;
      }
      int64_t next = below + (reaching - below) / 2;
      if (chance > 0) {
        const long double guess =
            static_cast<long double>(pay) + std::ceil((1 - ret) * table.CoinBasis / chance);
        if (guess >= static_cast<long double>(reaching)) {
          next = reaching - 1;
        } else if (guess > static_cast<long double>(below)) {
          next = static_cast<int64_t>(guess);
        }
      }
      pay = next;
    }
  } catch (...) {
    engine.SetPayout(previous);
    engine.SetProgress(nullptr);
    throw;
  }
  engine.SetPayout(previous);
  engine.SetProgress(nullptr);
  if (reaching > kMaxPay) return std::nullopt;
  return static_cast<int32_t>(reaching);
}

}  // namespace tarnwick
