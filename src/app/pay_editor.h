// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The pay table editor: the pays of a new table, or of the current one, typed one per
// category, and the coins they are for. It edits the working table it is given in place;
// the controller keeps it only when the editor closes with OK.

#include <QAbstractTableModel>
#include <QDialog>
#include <QStyledItemDelegate>

#include "engine/payout.h"
#include "session/model_controller.h"

class QLabel;
class QPushButton;
class QTableView;

namespace tarnwick::app {

class TCoinSelector;
class TGradientLabel;
class TLiveReturn;

// The pays of the working table: the category names and the editable pays.
class TPaysModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  TPaysModel(const std::vector<std::string>& names, TPayout& table, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

  // The worth of each pay (column 2) and its hint; empty texts while it is not known.
  void SetWorth(const QStringList& worth, const QString& hint);

 private:
  std::vector<std::string> names_;
  TPayout& table_;
  QStringList worth_;
  QString worthHint_;
};

// The editor of a pay cell: keeps digits only (a pasted "1,000" becomes 1000), at most the
// eight digits of the largest pay, and stores every change at once, so OK pressed while
// typing keeps the last digit. Escape cancels the editor's dialog.
class TPayDelegate : public QStyledItemDelegate {
  Q_OBJECT

 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                        const QModelIndex& index) const override;
  void setEditorData(QWidget* editor, const QModelIndex& index) const override;
  void setModelData(QWidget* editor, QAbstractItemModel* model,
                    const QModelIndex& index) const override;

 signals:
  void EscapePressed();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};

class TfmNew : public QDialog {
  Q_OBJECT

 public:
  TfmNew(QWidget* parent, bool isNew, const TModelController& controller, TPayout& table);
  ~TfmNew() override;

  QTableView* Grid() const { return grid_; }
  TPaysModel& Pays() const { return *pays_; }
  TCoinSelector* CoinSelector() const { return coins_; }
  QPushButton* OkButton() const { return ok_; }
  QPushButton* CancelButton() const { return cancel_; }
  QPushButton* BreakEvenButton() const { return breakEven_; }
  QLabel* LiveLabel() const { return live_; }
  const TLiveReturn& Live() const { return *liveReturn_; }

 private:
  // The table as typed goes to the live return; its figures come back.
  void TableChanged();
  void ShowLive(const TPayout& computed);
  void FindBreakEven();

  const TPokerDescription& game_;
  TPayout& table_;
  TLiveReturn* liveReturn_;
  QLabel* live_;
  QPushButton* breakEven_;
  TCoinSelector* coins_;
  TGradientLabel* title_;
  TPaysModel* pays_;
  QTableView* grid_;
  QPushButton* ok_;
  QPushButton* cancel_;
};

}  // namespace tarnwick::app
