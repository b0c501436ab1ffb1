// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "stats/statistics.h"

#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdio>

#include "engine/cards.h"
#include "errors.h"
#include "stats/decimal.h"
#include "text.h"

namespace tarnwick {

namespace {

constexpr int kHandsRow1 = 0;  // the deals
constexpr int kHandsRow2 = 1;  // the final hands after the draw
constexpr int kFirstCategoryRow = 2;

// "%10.6f" of a percentage; a rounding residue below zero reads as zero, not "-0.000000".
std::string Percent(long double value) {
  if (value < 0 && value > -5e-7L) value = 0;
  char text[64];
  std::snprintf(text, sizeof text, "%10.6Lf", value);
  return text;
}

std::string Occurs(long double hands) {
  char text[64];
  std::snprintf(text, sizeof text, "%10.2Lf", hands);
  return text;
}

std::string Upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

}  // namespace

StatisticsTable BuildStatisticsTable(const std::vector<std::string>& categoryNames,
                                     const TPayout& payout, int speed) {
  CheckRange(payout.LastCategory, 0, kMaxCategories - 1, "LastCategory");
  CheckRange(static_cast<long long>(categoryNames.size()), payout.LastCategory + 1, kMaxCategories,
             "category names");
  CheckRange(speed, kMinSpeed, kMaxSpeed, "speed in hands per hour");
  CheckRange(payout.DeckSize, kHandSize, kMaxDeck, "DeckSize");
  CheckRange(payout.CoinBasis, 1, kMaxCoins, "CoinBasis");

  StatisticsTable table;
  const int last = payout.LastCategory;
  const int rows = last + 4;
  const int nothingRow = rows - 1;
  table.DataRowCount = rows;
  table.RowLabels = {"1st Hands", "2nd Hands"};
  for (int c = 0; c <= last; ++c) table.RowLabels.push_back(Upper(categoryNames[c]));
  table.RowLabels.emplace_back("Nothing");

  // Without whole-game counts every figure is missing; the labels still show.
  const int64_t deals = payout.DealTotal();
  if (deals <= 0 || payout.Return < 0) return table;
  const long double total = static_cast<long double>(deals);
  const int left = payout.DeckSize - kHandSize;
  const long double basis = payout.CoinBasis;

  for (int k = 0; k <= 5; ++k) {
    const int32_t dealsK = payout.Deals[k];
    const int32_t draws = BinomialAt(k, left);
    auto& hands = table.HandsText[k];
    auto& chance = table.ProbabilityText[k];
    auto& share = table.ReturnText[k];
    hands[kHandsRow1] = std::to_string(dealsK);
    hands[kHandsRow2] = DecimalMul(std::to_string(dealsK), std::to_string(draws));
    chance[kHandsRow1] = Percent(100 * static_cast<long double>(dealsK) / total);
    chance[kHandsRow2] = Percent(100);
    hands[nothingRow] = hands[kHandsRow2];
    long double rest = 1;
    long double ret = 0;
    for (int c = 0; c <= last; ++c) {
      const int r = c + kFirstCategoryRow;
      hands[r] = std::to_string(payout.Counts[k][c]);
      hands[nothingRow] = DecimalSub(hands[nothingRow], hands[r]);
      // A column without deals has no probabilities: its cells stay empty.
      if (dealsK == 0) continue;
      const long double q = static_cast<long double>(payout.Counts[k][c]) / dealsK / draws;
      chance[r] = Percent(100 * q);
      rest -= q;
      const long double pay = payout.Pays[c] / basis;
      share[r] = Percent(100 * pay * q);
      ret += pay * q;
    }
    if (dealsK == 0) {
      share[kHandsRow1] = Percent(0);
      continue;
    }
    chance[nothingRow] = Percent(100 * rest);
    share[nothingRow] = Percent(0);
    share[kHandsRow2] = Percent(100 * ret);
    share[kHandsRow1] = Percent(100 * ret * dealsK / total);
  }

  auto& hands = table.HandsText[kStatTotalColumn];
  auto& chance = table.ProbabilityText[kStatTotalColumn];
  auto& share = table.ReturnText[kStatTotalColumn];
  long double rest = 1;
  for (int c = 0; c <= last; ++c) {
    const int r = c + kFirstCategoryRow;
    const long double p = payout.CategoryChance(c);
    chance[r] = Percent(100 * p);
    table.RowProbability[r] = p;
    rest -= p;
    share[r] = Percent(100 * static_cast<long double>(payout.Pays[c]) / basis * p);
    hands[r].assign(1, '0');
    if (p > 0) table.OccursHandsText[r] = Occurs(1 / p);
  }
  chance[kHandsRow1] = Percent(100);
  chance[nothingRow] = Percent(100 * rest);
  table.RowProbability[nothingRow] = rest;
  share[kHandsRow1] = Percent(100 * payout.Return);
  if (rest > 0) table.OccursHandsText[nothingRow] = Occurs(1 / rest);
  hands[kHandsRow1] = std::to_string(deals);
  hands[nothingRow].assign(1, '0');

  // Every deal contributes L final hands to the total, L the least common multiple of the
  // draws of every column; column k's hands are scaled by L / B(k).
  std::string common = "1";
  for (int k = 0; k <= 5; ++k) common = DecimalLcm(common, std::to_string(BinomialAt(k, left)));
  for (int k = 0; k <= 5; ++k) {
    const std::string factor = DecimalDiv(common, std::to_string(BinomialAt(k, left)));
    for (int r = kFirstCategoryRow; r <= nothingRow; ++r)
      hands[r] = DecimalAdd(hands[r], DecimalMul(factor, table.HandsText[k][r]));
  }
  hands[kHandsRow2].assign(1, '0');
  for (int r = kFirstCategoryRow; r <= nothingRow; ++r)
    hands[kHandsRow2] = DecimalAdd(hands[kHandsRow2], hands[r]);

  UpdateOccursHours(table, speed);
  return table;
}

void UpdateOccursHours(StatisticsTable& table, int speed) {
  CheckRange(speed, kMinSpeed, kMaxSpeed, "speed in hands per hour");
  const long double hour = 3600.0L / speed;
  for (int r = kFirstCategoryRow; r < table.DataRowCount; ++r) {
    std::string& text = table.OccursHoursText[r];
    text.clear();
    const long double p = table.RowProbability[r];
    if (!(p > 0)) continue;  // never occurs (or no whole-game figures)
    // Rounded to the nearest second, ties to even; 64 bits hold any time a probability
    // of at least 1 / (deals x common draws) gives, and the hours simply grow.
    const long double seconds = std::nearbyint(hour / p);
    if (!(seconds < 9.0e18L)) continue;
    const auto s = static_cast<long long>(seconds);
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%2.2lld:%2.2lld:%2.2lld", s / 3600, s % 3600 / 60,
                  s % 60);
    text = buffer;
  }
}

std::string GroupDigits(std::string_view digits) {
  std::string sign;
  if (!digits.empty() && digits.front() == '-') {
    sign = "-";
    digits.remove_prefix(1);
  }
  std::string grouped;
  const size_t n = digits.size();
  for (size_t i = 0; i < n; ++i) {
    if (i > 0 && (n - i) % 3 == 0) grouped += ' ';
    grouped += digits[i];
  }
  return sign + grouped;
}

const StatisticsTable::TColumnTexts& ViewTexts(const StatisticsTable& table, TFigureView view) {
  return view == TFigureView::Hands         ? table.HandsText
         : view == TFigureView::Probability ? table.ProbabilityText
                                            : table.ReturnText;
}

std::string StatisticsCellText(const StatisticsTable& table, TFigureView view, int column,
                               int row) {
  CheckRange(column, 0, kStatColumns - 1, "statistics column");
  CheckRange(row, 0, kStatRows - 1, "statistics row");
  const std::string text(Trim(ViewTexts(table, view)[column][row], " "));
  if (view == TFigureView::Hands) return text.empty() || text == "0" ? "- " : GroupDigits(text);
  return text.empty() || text == "0.000000" ? "- " : text;
}

std::vector<std::vector<std::string>> StatisticsTableRows(const StatisticsTable& table,
                                                          TFigureView view,
                                                          const std::vector<std::string>& titles) {
  std::vector<std::vector<std::string>> rows = {titles};
  const StatisticsTable::TColumnTexts& figures = ViewTexts(table, view);
  for (int row = 0; row < table.DataRowCount; ++row) {
    const auto r = static_cast<size_t>(row);
    std::vector<std::string> fields = {table.RowLabels.at(r)};
    for (const auto& column : figures) fields.emplace_back(Trim(column[r], " "));
    fields.emplace_back(Trim(table.OccursHandsText[r], " "));
    fields.emplace_back(Trim(table.OccursHoursText[r], " "));
    rows.push_back(std::move(fields));
  }
  return rows;
}

}  // namespace tarnwick
