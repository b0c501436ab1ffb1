// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "parts/tables_model.h"

#include <QApplication>
#include <QPalette>
#include <algorithm>

#include "parts/qt_text.h"
#include "session/preferences.h"
#include "stats/table_grid.h"

namespace tarnwick::app {

TTablesModel::TTablesModel(const TModelController& controller, QObject* parent)
    : QAbstractTableModel(parent), controller_(controller) {
  ApplyTexts();
}

void TTablesModel::Refresh() {
  beginResetModel();
  endResetModel();
}

void TTablesModel::ApplyTexts() {
  const TPreferences& preferences = Preferences();
  figureLabels_.clear();
  figureHints_.clear();
  for (const char* key :
       {"ReturnIndex", "Profit", "Variance", "StdDev", "WinProb", "DrawProb", "LossProb"}) {
    QString label = Q(preferences.Text("Ratios", key)).trimmed();
    // The five figures in percent say so.
    if (std::string_view(key) != "Variance" && std::string_view(key) != "StdDev") {
      label += QStringLiteral(", %");
    }
    figureLabels_ << label;
    figureHints_ << HintOf(preferences.HintText("Ratios", key));
  }
  Refresh();
}

QString TTablesModel::Text(int row, int column) const {
  const TPayout* table = column < controller_.TableCount() ? controller_.TableAt(column) : nullptr;
  if (table == nullptr) return {};
  return Q(TableGridText(*table, controller_.Coins(), row));
}

QString TTablesModel::CategoryLabel(const std::string& name) {
  return QStringLiteral("  ") + Q(name).toUpper();
}

QString TTablesModel::SortMark(bool ascending) {
  return ascending ? QStringLiteral("  \u25B2") : QStringLiteral("  \u25BC");
}

QString TTablesModel::Label(int row) const {
  if (row <= controller_.LastCategory() && row < kTableGridSeparator) {
    return CategoryLabel(controller_.CategoryName(row));
  }
  if (row >= kTableGridFirstFigure) return figureLabels_.value(row - kTableGridFirstFigure);
  return {};
}

int TTablesModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kTableGridRows;
}

int TTablesModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : std::max(controller_.TableCount(), 5);
}

QVariant TTablesModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  const int row = index.row();
  const bool current = index.column() == controller_.TableIndex() && row < kTableGridSeparator;
  switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
      return Text(row, index.column());
    case Qt::TextAlignmentRole:
      return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    case Qt::BackgroundRole:
      if (current) return QApplication::palette().brush(QPalette::Highlight);
      return {};
    case Qt::ForegroundRole:
      if (current) return QApplication::palette().brush(QPalette::HighlightedText);
      return {};
    default:
      return {};
  }
}

QVariant TTablesModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation == Qt::Horizontal) {
    if (role == Qt::DisplayRole) return section + 1;
    return {};
  }
  const int key = static_cast<int>(controller_.SortKey()) * (controller_.SortReversed() ? -1 : 1);
  switch (role) {
    case Qt::DisplayRole: {
      QString label = Label(section);
      if (key != 0 && TableGridSortRow(key) == section) label += SortMark(key > 0);
      return label;
    }
    case Qt::ToolTipRole:
      if (section >= kTableGridFirstFigure)
        return figureHints_.value(section - kTableGridFirstFigure);
      return {};
    case Qt::TextAlignmentRole:
      return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    default:
      return {};
  }
}

Qt::ItemFlags TTablesModel::flags(const QModelIndex& index) const {
  // Only the columns of tables can be chosen.
  if (!index.isValid() || index.column() >= controller_.TableCount()) return Qt::NoItemFlags;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

}  // namespace tarnwick::app
