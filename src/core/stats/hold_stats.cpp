// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "stats/hold_stats.h"

#include <limits>

#include "errors.h"

namespace tarnwick {

THandStat::THandStat(int mask) : Mask(mask), Code("00000"), DrawnCount(0) {
  CheckRange(mask, 0, kMaskCount - 1, "draw mask");
  for (int i = 0; i < kHandSize; ++i) {
    if (!BitSet(mask, i)) continue;
    Code[static_cast<size_t>(i)] = '1';
    ++DrawnCount;
  }
}

THoldStats FillHoldStats(const TPokerEngine& engine) {
  const int last = engine.LastCategory;
  CheckRange(last + 1, 1, kMaxCategories, "LastCategory + 1");
  const auto count32 = [](int64_t value) {
    CheckRange(value, 0, std::numeric_limits<int32_t>::max(), "category count");
    return static_cast<int32_t>(value);
  };
  THoldStats holds;
  for (int mask = 0; mask < kMaskCount; ++mask) {
    THandStat record(mask);
    record.ExpectedReturn = engine.DrawReturn(mask);
    const long double draws = engine.DrawsOf(mask);
    long double nothing = 1;
    for (int c = 0; c <= last; ++c) {
      const int64_t count = engine.CategoryCount(c, mask);
      record.Probability[c] = static_cast<long double>(count) / draws;
      const int32_t pay = engine.Payout != nullptr ? engine.Payout->Pays[c] : 0;
      record.Return[c] = pay * record.Probability[c];
      record.Count[c] = count32(count);
      nothing -= record.Probability[c];
    }
    record.Probability[last + 1] = nothing;
    record.Return[last + 1] = 0;
    record.Count[last + 1] = count32(engine.CategoryCount(last + 1, mask));
    holds[static_cast<size_t>(mask)] = record;
  }
  return holds;
}

}  // namespace tarnwick
