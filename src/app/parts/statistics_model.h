// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The statistics grid as a table model: a row per data row of the statistics table (the
// deals, the final hands, every pay category and "Nothing"), its label, the figures of the
// deals whose best hold keeps 5..0 cards and of all deals in the chosen view, and how often
// the row occurs in hands and in playing time.

#include <QAbstractTableModel>
#include <QStringList>

#include "stats/statistics.h"

namespace tarnwick::app {

class TStatisticsModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  static constexpr int kColumns = 10;
  static constexpr int kHoursColumn = 9;
  // The first category row, drawn with a line above it.
  static constexpr int kFirstCategoryRow = 2;

  explicit TStatisticsModel(QObject* parent = nullptr);

  // The table (its row labels as shown), the column titles and hints, the hints of the
  // first two rows.
  void Set(StatisticsTable table, const QStringList& titles, const QStringList& hints,
           const QStringList& rowHints);
  void SetView(TFigureView view);
  void SetSpeed(int speed);
  TFigureView View() const { return view_; }
  QString Text(int row, int column) const;
  std::vector<std::vector<std::string>> Rows() const;

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  StatisticsTable table_;
  QStringList titles_;
  QStringList hints_;
  QStringList rowHints_;
  TFigureView view_ = TFigureView::Hands;
};

}  // namespace tarnwick::app
