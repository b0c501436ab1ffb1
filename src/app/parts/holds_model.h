// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The all-holds grid as a table model: one row per hold in the current order, the hold's
// picture, its expected return, its cost against the best hold, its line in players' words
// ("low pair"), then the figures of every category and "Nothing" in the chosen view. The cell texts
// come from the core, so the accessible table reads exactly what is shown.

#include <QAbstractTableModel>
#include <QPixmap>
#include <QStringList>
#include <array>

#include "session/model_controller.h"

namespace tarnwick::app {

class THoldsModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  // The line column sits between the cost and the categories: the model's columns from
  // there on are the core grid's columns one further on.
  static constexpr int kLineColumn = kFirstHoldCategoryColumn;

  explicit THoldsModel(QObject* parent = nullptr);

  // The holds with their pictures (by mask); titles name every column; best and tie name
  // the cost of the best hold and of a hold that ties with it.
  const THoldsSnapshot& Holds() const { return holds_; }
  void Set(const THoldsSnapshot& holds, std::array<QPixmap, kMaskCount> pictures,
           const QStringList& titles, const QString& best, const QString& tie);
  void SetView(TFigureView view);
  // A column + 1, negative for the reversed order (the header click rule: the same column
  // again reverses it). The line column sorts by the lines' words, A to Z first.
  void SortBy(int sortColumn);
  int SortColumn() const { return sortColumn_; }
  TFigureView View() const { return view_; }
  int MaskAt(int row) const { return order_[static_cast<size_t>(row)]; }
  int RowOf(int mask) const;
  QString Text(int row, int column) const;
  // Every hold in the shown order as unformatted numbers, for a spreadsheet, with its line
  // last.
  std::vector<std::vector<std::string>> Rows() const;

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  // The order of the sort column `sortColumn` (a column + 1, negative reversed).
  std::array<int, kMaskCount> Order(int sortColumn) const;

  THoldsSnapshot holds_;
  std::array<QPixmap, kMaskCount> pictures_;
  std::array<int, kMaskCount> order_{};
  QStringList titles_;
  QString best_;
  QString tie_;
  TFigureView view_ = TFigureView::Hands;
  int sortColumn_ = kHoldReturnColumn + 1;
};

}  // namespace tarnwick::app
