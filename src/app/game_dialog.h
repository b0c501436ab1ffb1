// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The Game and Payout dialog: the list of games, the coins played and the grid of the game's
// pay tables with their whole-game figures; a click on a figure's label sorts the tables by
// it (again: the other way round). Add, Edit and Delete work on the tables. Every choice
// goes to the controller at once; on Cancel the controller undoes them all: game, coins,
// table and the tables added, edited, imported or deleted.
//
// Under the grid: the lines of one deal and the multi-play figures of the chosen table at
// that many lines. The covariance of two lines needs a whole-game run of its own, made on a
// newest-wins runner whenever the chosen table changes and kept per table for the dialog's
// life, so that choosing a table again or changing the lines computes nothing.

#include <QDialog>
#include <QString>
#include <memory>
#include <optional>
#include <vector>

#include "session/model_controller.h"

class QLabel;
class QListWidget;
class QPushButton;
class QSpinBox;
class QTableView;

namespace tarnwick::app {

class TCoinSelector;
class TGradientLabel;
class TJobRunner;
class TTablesModel;

class TfmPokerChoose : public QDialog {
  Q_OBJECT

 public:
  TfmPokerChoose(QWidget* parent, TModelController& controller);
  ~TfmPokerChoose() override;

  QListWidget* GameList() const { return games_; }
  QTableView* Grid() const { return grid_; }
  const TTablesModel& Tables() const { return *tables_; }
  TCoinSelector* CoinSelector() const { return coins_; }
  QPushButton* OkButton() const { return ok_; }
  QPushButton* CancelButton() const { return cancel_; }
  QPushButton* AddButton() const { return add_; }
  QPushButton* EditButton() const { return edit_; }
  QPushButton* DeleteButton() const { return delete_; }
  QPushButton* ImportButton() const { return import_; }
  QPushButton* ExportButton() const { return export_; }
  QPushButton* ChartsButton() const { return charts_; }
  QPushButton* StatisticsButton() const { return statistics_; }
  QSpinBox* LinesBox() const { return lines_; }
  QLabel* MultiPlayLabel() const { return multiPlay_; }
  // Whether the covariance of the chosen table is being computed.
  bool MultiPlayBusy() const;

  // The game of list row `row` (as the list is sorted by name).
  void SelectGameAt(int row);
  // Sorts by the figure of grid row `row`; the same figure again reverses the order.
  void SortByRow(int row);
  // Shows the controller's state: game, coins, tables, current table, buttons.
  void Refresh();
  // Adds the tables of a list file and says what was added, already there or refused.
  void ImportFile(const QString& path);
  // Writes the game's stored tables to a list file.
  void ExportFile(const QString& path);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void ApplyTexts();
  void Run(const std::function<void()>& action);
  // Shows the multi-play figures of the chosen table, starting the run of its covariance
  // when it is neither known nor being computed.
  void UpdateMultiPlay();

  // A table's covariance, or the message of the run that failed on it.
  struct TCovariance {
    TPayout Table;
    std::optional<long double> Value;
    QString Failure;
  };

  TModelController& controller_;
  TGradientLabel* header_;
  QListWidget* games_;
  TCoinSelector* coins_;
  TGradientLabel* title_;
  TTablesModel* tables_;
  QTableView* grid_;
  QPushButton* ok_;
  QPushButton* cancel_;
  QPushButton* add_;
  QPushButton* edit_;
  QPushButton* delete_;
  QPushButton* import_;
  QPushButton* export_;
  QPushButton* charts_;
  QPushButton* statistics_;
  QLabel* linesLabel_;
  QSpinBox* lines_;
  QLabel* multiPlay_;
  std::vector<TCovariance> covariances_;  // the tables computed while the dialog is open
  std::optional<TPayout> computing_;      // the table whose covariance is being computed
  bool refreshing_ = false;
  // Last: destroyed first, so that no job outlives what its callbacks use.
  std::unique_ptr<TJobRunner> runner_;
};

}  // namespace tarnwick::app
