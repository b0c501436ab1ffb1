// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt_user_interface.h"

#include <QApplication>
#include <QMessageBox>

#include "chart_window.h"
#include "errors.h"
#include "game_dialog.h"
#include "pay_editor.h"
#include "progress_dialog.h"
#include "qt_text.h"

namespace tarnwick::app {

namespace {

// The all-holds and statistics windows are not part of this program yet: their menu entries
// and buttons are hidden, so the controller never asks for them. Should it, the user learns why
// nothing opens.
[[noreturn]] void NotAvailable(const char* window) {
  throw TarnwickError(std::string("The ") + window + " window is not available in this version");
}

}  // namespace

TDialogResult TQtUserInterface::ChooseGameAndPayout(TModelController& controller) {
  TfmPokerChoose dialog(owner_, controller);
  return dialog.exec() == QDialog::Accepted ? TDialogResult::Ok : TDialogResult::Cancel;
}

bool TQtUserInterface::EditPayout(bool isNew, TModelController& controller, TPayout& table) {
  // Over the window in front: the Game and Payout dialog when it opened the editor.
  QWidget* parent = QApplication::activeModalWidget();
  TfmNew editor(parent != nullptr ? parent : owner_.data(), isNew, controller, table);
  return editor.exec() == QDialog::Accepted;
}

void TQtUserInterface::RunWithProgress(const std::function<void(TProgress&)>& work) {
  RunOnWorker(owner_, work);
}

bool TQtUserInterface::Confirm(const std::string& question) {
  return QMessageBox::question(owner_, QStringLiteral("  Tarnwick"), Q(question),
                               QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

void TQtUserInterface::ShowCharts(const TTableSnapshot& table, const std::string& caption) {
  // The charts need the whole-game chances of a table.
  if (!table.Table.Computed()) return;
  QWidget* parent = QApplication::activeModalWidget();
  TfmChart charts(parent != nullptr ? parent : owner_.data(), table, Q(caption));
  charts.exec();
}

void TQtUserInterface::ShowAllHands(const THoldsSnapshot&, const std::string&) {
  NotAvailable("all holds");
}

void TQtUserInterface::ShowStatistics(const TTableSnapshot&, const std::string&) {
  NotAvailable("statistics");
}

}  // namespace tarnwick::app
