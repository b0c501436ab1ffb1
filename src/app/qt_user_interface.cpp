// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt_user_interface.h"

#include <QApplication>
#include <QMessageBox>

#include "all_hands_window.h"
#include "chart_window.h"
#include "errors.h"
#include "game_dialog.h"
#include "parts/progress_dialog.h"
#include "parts/qt_text.h"
#include "pay_editor.h"
#include "stat_window.h"

namespace tarnwick::app {

namespace {

// The window in front: the Game and Payout dialog when it opened the new one.
QWidget* FrontWindow(QWidget* owner) {
  QWidget* modal = QApplication::activeModalWidget();
  return modal != nullptr ? modal : owner;
}

}  // namespace

TDialogResult TQtUserInterface::ChooseGameAndPayout(TModelController& controller) {
  TfmPokerChoose dialog(owner_, controller);
  return dialog.exec() == QDialog::Accepted ? TDialogResult::Ok : TDialogResult::Cancel;
}

bool TQtUserInterface::EditPayout(bool isNew, TModelController& controller, TPayout& table) {
  // Over the window in front: the Game and Payout dialog when it opened the editor.
  TfmNew editor(FrontWindow(owner_), isNew, controller, table);
  return editor.exec() == QDialog::Accepted;
}

void TQtUserInterface::RunWithProgress(const std::function<void(TProgress&)>& work) {
  RunOnWorker(owner_, work);
}

bool TQtUserInterface::Confirm(const std::string& question) {
  return QMessageBox::question(owner_, QStringLiteral("Tarnwick"), Q(question),
                               QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

void TQtUserInterface::ShowCharts(const TTableSnapshot& table, const std::string& caption) {
  // The charts need the whole-game chances of a table.
  if (!table.Table.Computed()) return;
  TfmChart charts(FrontWindow(owner_), table, Caption(caption));
  charts.exec();
}

void TQtUserInterface::ShowAllHands(const THoldsSnapshot& holds, const std::string& caption) {
  TfmAllHands window(FrontWindow(owner_), holds, Caption(caption));
  window.exec();
}

void TQtUserInterface::ShowStatistics(const TTableSnapshot& table, const std::string& caption) {
  TfmStat window(FrontWindow(owner_), table, Caption(caption));
  window.exec();
}

}  // namespace tarnwick::app
