// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The Game and Payout dialog's grid: the current game's pay tables side by side, one column
// each (at least five columns), with the pays for the coins played and the whole-game
// figures. The row labels (with the sort mark) are the vertical header.

#include <QAbstractTableModel>
#include <QStringList>
#include <string>

#include "session/model_controller.h"

namespace tarnwick::app {

class TTablesModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  explicit TTablesModel(const TModelController& controller, QObject* parent = nullptr);

  // Everything again from the controller (after a change of game, coins, tables or sort).
  void Refresh();
  // The labels and hints of the figure rows from the language in use.
  void ApplyTexts();

  QString Text(int row, int column) const;
  QString Label(int row) const;
  // The label of a pay category's row: its name in upper case, indented.
  static QString CategoryLabel(const std::string& name);
  // The mark after the label of the row the tables are sorted by, up for the ascending order.
  static QString SortMark(bool ascending);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

 private:
  const TModelController& controller_;
  QStringList figureLabels_;
  QStringList figureHints_;
};

}  // namespace tarnwick::app
