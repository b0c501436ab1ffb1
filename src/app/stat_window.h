// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The statistics window: the whole-game figures of a computed pay table split by the cards
// the best hold keeps, in final hands, probability or return, with how often each hand
// occurs in hands and in hours at a chosen speed.

#include <QDialog>

#include "session/model_controller.h"

class QButtonGroup;
class QLabel;
class QPushButton;
class QSpinBox;
class QTableView;

namespace tarnwick::app {

class TStatisticsModel;

class TfmStat : public QDialog {
  Q_OBJECT

 public:
  // The table must have its whole-game figures: a table without them is refused with an
  // InputError (the openers are disabled for it).
  TfmStat(QWidget* parent, const TTableSnapshot& table, const QString& caption);
  ~TfmStat() override;

  // Shows another computed table (the main window's current one), keeping the view, the
  // speed and the window's size.
  void Follow(const TTableSnapshot& table, const QString& caption);
  // The texts again from the language in use.
  void ApplyTexts() { Follow(TTableSnapshot(table_), windowTitle()); }
  void SetView(TFigureView view);
  int Speed() const { return speed_; }

  QTableView* Grid() const { return grid_; }
  TStatisticsModel* Model() const { return model_; }
  QSpinBox* SpeedBox() const { return speedBox_; }
  QPushButton* OkButton() const { return ok_; }

 private:
  void Fill(const TTableSnapshot& table, const QString& caption);
  void SpeedTyped(int speed);
  void FitToContents();
  // Fits the columns to their texts; the size the whole grid then needs.
  QSize FitColumns();

  TStatisticsModel* model_;
  QTableView* grid_;
  QButtonGroup* views_;
  QSpinBox* speedBox_;
  QLabel* speedLabel_;
  QPushButton* ok_;
  TTableSnapshot table_;  // the table shown
  int speed_ = 600;
};

}  // namespace tarnwick::app
