// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The statistics table of a computed pay table: hands, probability and return of every
// pay category and of "Nothing", split by the number of cards the best hold draws, and how
// often each category occurs in hands and in hours of play.

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "engine/payout.h"
#include "stats/figure_view.h"

namespace tarnwick {

constexpr int kStatColumns = 7;  // 0..5: deals whose best hold draws k cards; 6: total
constexpr int kStatTotalColumn = 6;
constexpr int kStatRows = 19;  // "1st Hands", "2nd Hands", 16 categories, "Nothing"
constexpr int kMinSpeed = 10;  // hands per hour
constexpr int kMaxSpeed = 10000;

struct StatisticsTable {
  using TColumnTexts = std::array<std::array<std::string, kStatRows>, kStatColumns>;

  int DataRowCount = 0;  // LastCategory + 4
  std::vector<std::string> RowLabels;
  // [column][row]; an empty text is a figure that does not exist (no deals in the
  // column, a record without whole-game counts).
  TColumnTexts HandsText;
  TColumnTexts ProbabilityText;
  TColumnTexts ReturnText;
  std::array<std::string, kStatRows> OccursHandsText;  // rows 0 and 1 stay empty
  std::array<std::string, kStatRows> OccursHoursText;  // empty where a row never occurs
  std::array<long double, kStatRows> RowProbability{};
};

// Builds the table from the record's whole-game counts. categoryNames are the game's names
// in category order (at least LastCategory + 1); speed is in hands per hour (10..10000).
// Return texts use the pays per coin, so that they add up to the table's return also for a
// coin basis above 1.
StatisticsTable BuildStatisticsTable(const std::vector<std::string>& categoryNames,
                                     const TPayout& payout, int speed);

// The figures of a view, [column][row].
const StatisticsTable::TColumnTexts& ViewTexts(const StatisticsTable& table, TFigureView view);

// The text a statistics grid shows for column 0..6 and data row of the view: "- " for a
// figure that is zero or missing, hands with their digits grouped in threes, blanks trimmed.
std::string StatisticsCellText(const StatisticsTable& table, TFigureView view, int column, int row);

// The table as rows of unformatted figures for a spreadsheet: the given column titles (the
// row label's, the seven figure columns', the two occurrence columns'), then every data
// row with its label, the figures of the view without digit groups and the occurrences;
// a figure that does not exist is an empty field.
std::vector<std::vector<std::string>> StatisticsTableRows(const StatisticsTable& table,
                                                          TFigureView view,
                                                          const std::vector<std::string>& titles);

// Recomputes OccursHoursText for another speed (hands per hour, 10..10000).
void UpdateOccursHours(StatisticsTable& table, int speed);

// A decimal integer text with its digits grouped in threes from the right, separated by
// one blank ("19933230517200" -> "19 933 230 517 200"); a leading "-" stays in front.
std::string GroupDigits(std::string_view digits);

}  // namespace tarnwick
