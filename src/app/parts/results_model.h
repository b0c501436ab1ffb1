// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The main window's results grid as a table model: one row per pay category (name, pay for
// the coins played, chance of the shown hold), an empty separator row and the expected
// return row. The texts live here, so they are tested without pixels, and the accessible
// table reads exactly what is shown.

#include <QAbstractTableModel>
#include <QStringList>

#include "stats/result_grid.h"

namespace tarnwick::app {

class TResultsModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  enum TColumn { NameColumn, PayColumn, ChanceColumn, ColumnCount };

  explicit TResultsModel(QObject* parent = nullptr);

  // The grid of the shown hold, the return row's label and the hints of the pays column,
  // the chance column and the return cell.
  void Set(const TResultGrid& grid, const QString& returnLabel);
  void SetHints(const QString& pays, const QString& chance, const QString& ret);

  int CategoryCount() const { return static_cast<int>(grid_.Categories.size()); }
  bool IsSeparator(int row) const { return row == CategoryCount(); }
  bool IsReturnRow(int row) const { return row == CategoryCount() + 1; }
  QString Text(int row, int column) const;
  const TResultGrid& Grid() const { return grid_; }
  const QString& ReturnLabel() const { return returnLabel_; }

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

 private:
  TResultGrid grid_;
  QString returnLabel_;
  QString paysHint_;
  QString chanceHint_;
  QString returnHint_;
};

}  // namespace tarnwick::app
