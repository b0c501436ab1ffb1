// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "parts/results_model.h"

#include "parts/qt_text.h"

namespace tarnwick::app {

TResultsModel::TResultsModel(QObject* parent) : QAbstractTableModel(parent) {}

void TResultsModel::Set(const TResultGrid& grid, const QString& returnLabel) {
  const bool sameShape = grid.Categories.size() == grid_.Categories.size();
  if (!sameShape) beginResetModel();
  grid_ = grid;
  returnLabel_ = returnLabel;
  if (!sameShape) {
    endResetModel();
  } else {
    emit dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1));
  }
}

void TResultsModel::SetHints(const QString& pays, const QString& chance, const QString& ret) {
  paysHint_ = pays;
  chanceHint_ = chance;
  returnHint_ = ret;
}

QString TResultsModel::Text(int row, int column) const {
  if (row < 0 || row >= rowCount() || column < 0 || column >= ColumnCount) return {};
  if (IsSeparator(row)) return {};
  if (IsReturnRow(row)) {
    if (column == NameColumn) return QLatin1Char(' ') + returnLabel_;
    return column == ChanceColumn ? Q(grid_.Return).trimmed() : QString();
  }
  const TResultRow& line = grid_.Categories[static_cast<size_t>(row)];
  switch (column) {
    case NameColumn:
      return Q(line.Name);
    case PayColumn:
      return Q(line.Pay);
    default:
      return Q(line.Chance).trimmed();
  }
}

int TResultsModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : CategoryCount() + 2;
}

int TResultsModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : ColumnCount;
}

QVariant TResultsModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  const int row = index.row();
  const int column = index.column();
  switch (role) {
    case Qt::DisplayRole:
      return Text(row, column);
    case Qt::TextAlignmentRole:
      if (column == NameColumn) return QVariant(Qt::AlignLeft | Qt::AlignVCenter);
      if (column == PayColumn) return QVariant(Qt::AlignHCenter | Qt::AlignVCenter);
      return QVariant(Qt::AlignRight | Qt::AlignVCenter);
    case Qt::ToolTipRole:
      if (IsSeparator(row)) return {};
      if (column == PayColumn && !IsReturnRow(row)) return paysHint_;
      if (column == ChanceColumn && !grid_.Return.empty())
        return IsReturnRow(row) ? returnHint_ : chanceHint_;
      return {};
    default:
      return {};
  }
}

Qt::ItemFlags TResultsModel::flags(const QModelIndex& index) const {
  return index.isValid() ? Qt::ItemIsEnabled : Qt::NoItemFlags;
}

}  // namespace tarnwick::app
