// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "stats/hold_stats.h"

#include <algorithm>
#include <cstdio>
#include <limits>
#include <numeric>

#include "errors.h"

namespace tarnwick {

THandStat::THandStat(int mask) : Mask(mask), Code("00000"), DrawnCount(0) {
  CheckRange(mask, 0, kMaskCount - 1, "draw mask");
  for (int i = 0; i < kHandSize; ++i) {
    if (!BitSet(mask, i)) continue;
    Code[i] = '1';
    ++DrawnCount;
  }
}

int CompareReturn(const TExactReturn& a, const TExactReturn& b) {
  // Whole parts first, then the remainders: each is below its Draws (< 2^22), so their
  // cross products stay far inside 64 bits where Paid x Draws would not.
  const int64_t wholeA = a.Paid / a.Draws;
  const int64_t wholeB = b.Paid / b.Draws;
  if (wholeA != wholeB) return wholeA < wholeB ? -1 : 1;
  const int64_t left = (a.Paid % a.Draws) * b.Draws;
  const int64_t right = (b.Paid % b.Draws) * a.Draws;
  return left < right ? -1 : left > right ? 1 : 0;
}

int TiesForBest(const TPokerEngine& engine, int mask) {
  const TExactReturn shown = ExactReturnOf(engine, mask);
  int ties = 0;
  for (int other = 0; other < kMaskCount; ++other) {
    if (other == mask) continue;
    const int order = CompareReturn(ExactReturnOf(engine, other), shown);
    if (order > 0) return 0;
    if (order == 0) ++ties;
  }
  return ties;
}

TExactReturn ExactReturnOf(const TPokerEngine& engine, int mask) {
  TExactReturn exact;
  exact.Draws = engine.DrawsOf(mask);
  if (engine.Payout == nullptr) return exact;
  for (int c = 0; c <= engine.LastCategory; ++c)
    exact.Paid += engine.CategoryCount(c, mask) * static_cast<int64_t>(engine.Payout->Pays[c]);
  return exact;
}

std::array<std::string, kMaskCount> HoldLineTexts(const THoldNamer& namer,
                                                  const std::array<int32_t, kHandSize>& cards) {
  std::array<std::string, kMaskCount> lines;
  for (int mask = 0; mask < kMaskCount; ++mask)
    lines[static_cast<size_t>(mask)] = namer.Text(namer.ClassifyHold(cards, mask));
  return lines;
}

THoldStats FillHoldStats(const TPokerEngine& engine) {
  const int last = engine.LastCategory;
  CheckRange(last + 1, 1, kMaxCategories, "LastCategory + 1");
  const auto count32 = [](int64_t value) {
    CheckRange(value, 0, std::numeric_limits<int32_t>::max(), "category count");
    return static_cast<int32_t>(value);
  };
  // The figures are per bet: a table's pays are given for CoinBasis coins.
  const long double basis =
      engine.Payout != nullptr && engine.Payout->CoinBasis > 0 ? engine.Payout->CoinBasis : 1;
  THoldStats holds;
  for (int mask = 0; mask < kMaskCount; ++mask) {
    THandStat record(mask);
    record.ExpectedReturn = engine.DrawReturn(mask) / basis;
    record.Exact = ExactReturnOf(engine, mask);
    const long double draws = engine.DrawsOf(mask);
    long double nothing = 1;
    for (int c = 0; c <= last; ++c) {
      const int64_t count = engine.CategoryCount(c, mask);
      record.Probability[c] = static_cast<long double>(count) / draws;
      const int32_t pay = engine.Payout != nullptr ? engine.Payout->Pays[c] : 0;
      record.Return[c] = pay * record.Probability[c] / basis;
      record.Count[c] = count32(count);
      nothing -= record.Probability[c];
    }
    record.Probability[last + 1] = nothing;
    record.Return[last + 1] = 0;
    record.Count[last + 1] = count32(engine.CategoryCount(last + 1, mask));
    holds[mask] = record;
  }
  return holds;
}

namespace {

// The picture column's order: more replaced cards first, then the higher code.
int TieOrder(const THandStat& x, const THandStat& y) {
  if (x.DrawnCount != y.DrawnCount) return y.DrawnCount - x.DrawnCount;
  return y.Code < x.Code ? -1 : 1;
}

long double SortFigure(const THandStat& hold, int column, TFigureView view) {
  if (column == kHoldReturnColumn) return hold.ExpectedReturn;
  // The best hold is the same for every row: a larger cost is a smaller return.
  if (column == kHoldCostColumn) return -hold.ExpectedReturn;
  const size_t entry = static_cast<size_t>(column - kFirstHoldCategoryColumn);
  switch (view) {
    case TFigureView::Hands:
      return hold.Count[entry];
    case TFigureView::Probability:
      return hold.Probability[entry];
    case TFigureView::Return:
      return hold.Return[entry];
  }
  return 0;
}

std::string Trimmed(const char* text) {
  std::string_view view(text);
  while (!view.empty() && view.front() == ' ') view.remove_prefix(1);
  return std::string(view);
}

}  // namespace

int CompareHolds(const THandStat& x, const THandStat& y, int sortColumn, TFigureView view) {
  if (&x == &y || x.Mask == y.Mask) return 0;
  const int column = (sortColumn < 0 ? -sortColumn : sortColumn) - 1;
  int order = 0;
  if (column <= kHoldPictureColumn) {
    order = TieOrder(x, y);
  } else {
    const long double a = SortFigure(x, column, view);
    const long double b = SortFigure(y, column, view);
    order = a > b ? -1 : a < b ? 1 : TieOrder(x, y);
  }
  return sortColumn < 0 ? -order : order;
}

std::array<int, kMaskCount> SortedHolds(const THoldStats& holds, int sortColumn, TFigureView view) {
  std::array<int, kMaskCount> order{};
  std::iota(order.begin(), order.end(), 0);
  std::sort(order.begin(), order.end(),
            [&](int a, int b) { return CompareHolds(holds[a], holds[b], sortColumn, view) < 0; });
  return order;
}

std::string HoldCellText(const THandStat& hold, int column, TFigureView view) {
  char text[64];
  if (column == kHoldReturnColumn) {
    if (hold.ExpectedReturn == 0) return "- ";
    std::snprintf(text, sizeof text, "%10.5f", static_cast<double>(hold.ExpectedReturn * 100));
    return Trimmed(text);
  }
  CheckRange(column, kFirstHoldCategoryColumn, kFirstHoldCategoryColumn + kHoldStatEntries - 1,
             "all-holds column");
  const size_t entry = static_cast<size_t>(column - kFirstHoldCategoryColumn);
  if (view == TFigureView::Hands) {
    if (hold.Count[entry] == 0) return "- ";
    return std::to_string(hold.Count[entry]);
  }
  const long double value =
      view == TFigureView::Probability ? hold.Probability[entry] : hold.Return[entry];
  if (!(value >= 1e-8L)) return "- ";
  std::snprintf(text, sizeof text, "%10.4f", static_cast<double>(value * 100));
  return Trimmed(text);
}

std::string HoldCostText(const THandStat& hold, const THandStat& best, int coins) {
  if (TiesWith(hold, best)) return {};
  const long double cost = best.ExpectedReturn - hold.ExpectedReturn;
  char text[96];
  if (coins > 1) {
    std::snprintf(text, sizeof text, "%.5f (%.5f)", static_cast<double>(cost),
                  static_cast<double>(cost * coins));
  } else {
    std::snprintf(text, sizeof text, "%.5f", static_cast<double>(cost));
  }
  return text;
}

std::vector<std::vector<std::string>> HoldsTableRows(const THoldStats& holds,
                                                     const std::array<int, kMaskCount>& order,
                                                     int bestMask, int coins,
                                                     const std::vector<std::string>& titles,
                                                     TFigureView view) {
  CheckRange(bestMask, 0, kMaskCount - 1, "best hold");
  const auto number = [](long double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.17g", static_cast<double>(value));
    return std::string(text);
  };
  std::vector<std::vector<std::string>> rows;
  std::vector<std::string> header = {"Code", "Replaced", "Expected return", "Cost per bet",
                                     "Cost for " + std::to_string(coins) + " coins"};
  header.insert(header.end(), titles.begin(), titles.end());
  rows.push_back(header);
  const THandStat& best = holds[static_cast<size_t>(bestMask)];
  for (int mask : order) {
    const THandStat& hold = holds[static_cast<size_t>(mask)];
    // A tie costs exactly nothing, whatever the rounding of the two returns says.
    const long double cost = TiesWith(hold, best) ? 0 : best.ExpectedReturn - hold.ExpectedReturn;
    std::vector<std::string> row = {hold.Code, std::to_string(hold.DrawnCount),
                                    number(hold.ExpectedReturn), number(cost),
                                    number(cost * coins)};
    for (size_t entry = 0; entry < titles.size() && entry < kHoldStatEntries; ++entry) {
      row.push_back(view == TFigureView::Hands         ? std::to_string(hold.Count[entry])
                    : view == TFigureView::Probability ? number(hold.Probability[entry])
                                                       : number(hold.Return[entry]));
    }
    rows.push_back(row);
  }
  return rows;
}

}  // namespace tarnwick
