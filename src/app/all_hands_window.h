// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The all-holds window: the 32 ways to hold the analysed hand, one row each with the hold's
// picture (the replaced cards faded), its expected return, what it gives up against the
// best hold, and the final hands, probability or return of every pay category. Any column
// sorts, again reversed; the selected hold stays selected.

#include <QDialog>

#include "session/model_controller.h"

class QButtonGroup;
class QPushButton;
class QTableView;

namespace tarnwick::app {

class THoldsModel;

class TfmAllHands : public QDialog {
  Q_OBJECT

 public:
  TfmAllHands(QWidget* parent, const THoldsSnapshot& holds, const QString& caption);
  ~TfmAllHands() override;

  // Shows another analysed hand (the main window's newest), keeping the view, the sort and
  // the window's size, with the hold shown in the main window selected.
  void Follow(const THoldsSnapshot& holds, const QString& caption);
  // The texts again from the language in use.
  void ApplyTexts();
  // Selects the hold `mask` and sorts by expected return, best first.
  void SelectHold(int mask);
  // The hold of the selected row, -1 for none.
  int SelectedHold() const;
  // A click on the header of `column`: the same column again reverses the order.
  void HeaderClicked(int column);
  void SetView(TFigureView view);

  QTableView* Grid() const { return grid_; }
  THoldsModel* Model() const { return model_; }
  QPushButton* OkButton() const { return ok_; }

  // The five cards side by side with a gap of one pixel, the replaced ones faded.
  static QImage HoldPicture(const THoldsSnapshot& holds, int mask, qreal devicePixelRatio);

 private:
  void Fill(const THoldsSnapshot& holds, const QString& caption);
  QStringList ColumnTexts(int column) const;
  void FitToContents();

  THoldsModel* model_;
  QTableView* grid_;
  QButtonGroup* views_;
  QPushButton* ok_;
};

}  // namespace tarnwick::app
