// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The Game and Payout dialog: the list of games, the coins played and the grid of the game's
// pay tables with their whole-game figures; a click on a figure's label sorts the tables by
// it (again: the other way round). Add, Edit and Delete work on the tables. Every choice
// goes to the controller at once; on Cancel the controller undoes them all: game, coins,
// table and the tables added, edited, imported or deleted.

#include <QDialog>

#include "session/model_controller.h"

class QListWidget;
class QPushButton;
class QTableView;

namespace tarnwick::app {

class TCoinSelector;
class TGradientLabel;
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

 private:
  void ApplyTexts();
  void Run(const std::function<void()>& action);

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
  bool refreshing_ = false;
};

}  // namespace tarnwick::app
