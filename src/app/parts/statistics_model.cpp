// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "parts/statistics_model.h"

#include <utility>

#include "parts/qt_text.h"

namespace tarnwick::app {

TStatisticsModel::TStatisticsModel(QObject* parent) : QAbstractTableModel(parent) {}

void TStatisticsModel::Set(StatisticsTable table, const QStringList& titles,
                           const QStringList& hints, const QStringList& rowHints) {
  beginResetModel();
  table_ = std::move(table);
  titles_ = titles;
  hints_ = hints;
  rowHints_ = rowHints;
  endResetModel();
}

void TStatisticsModel::SetView(TFigureView view) {
  view_ = view;
  emit dataChanged(index(0, 1), index(rowCount() - 1, kStatColumns));
}

void TStatisticsModel::SetSpeed(int speed) {
  UpdateOccursHours(table_, speed);
  emit dataChanged(index(0, kHoursColumn), index(rowCount() - 1, kHoursColumn));
}

QString TStatisticsModel::Text(int row, int column) const {
  if (row < 0 || row >= rowCount() || column < 0 || column >= kColumns) return {};
  const auto r = static_cast<size_t>(row);
  if (column == 0) return Q(table_.RowLabels.at(r));
  if (column <= kStatColumns) return Q(StatisticsCellText(table_, view_, column - 1, row));
  return Q(column == kHoursColumn ? table_.OccursHoursText[r] : table_.OccursHandsText[r])
      .trimmed();
}

std::vector<std::vector<std::string>> TStatisticsModel::Rows() const {
  std::vector<std::string> titles;
  for (const QString& title : titles_) titles.push_back(S(title));
  return StatisticsTableRows(table_, view_, titles);
}

int TStatisticsModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : table_.DataRowCount;
}

int TStatisticsModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kColumns;
}

QVariant TStatisticsModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  switch (role) {
    case Qt::DisplayRole:
      return Text(index.row(), index.column());
    case Qt::TextAlignmentRole:
      return index.column() == 0 ? QVariant(Qt::AlignLeft | Qt::AlignVCenter)
                                 : QVariant(Qt::AlignRight | Qt::AlignVCenter);
    case Qt::ToolTipRole:
      return index.column() == 0 ? QVariant(rowHints_.value(index.row())) : QVariant();
    default:
      return {};
  }
}

QVariant TStatisticsModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal) return {};
  switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
      return titles_.value(section);
    case Qt::ToolTipRole:
      return hints_.value(section);
    case Qt::TextAlignmentRole:
      return QVariant(Qt::Alignment(Qt::AlignCenter) | Qt::Alignment(Qt::TextWordWrap));
    default:
      return {};
  }
}

}  // namespace tarnwick::app
