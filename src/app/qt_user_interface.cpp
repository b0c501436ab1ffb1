// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt_user_interface.h"

#include <QMessageBox>

#include "errors.h"
#include "qt_text.h"

namespace tarnwick::app {

namespace {

// The windows of the pay table dialog, the editor, the all-holds, statistics and charts
// windows are not part of this program yet: their menu entries and buttons are hidden, so
// the controller never asks for them. Should it, the user learns why nothing opens.
[[noreturn]] void NotAvailable(const char* window) {
  throw TarnwickError(std::string("The ") + window + " window is not available in this version");
}

}  // namespace

TDialogResult TQtUserInterface::ChooseGameAndPayout(TModelController&) {
  NotAvailable("game and pay table");
}

bool TQtUserInterface::EditPayout(bool, TModelController&, TPayout&) {
  NotAvailable("pay table editor");
}

void TQtUserInterface::RunWithProgress(const std::function<void(TProgress&)>& work) {
  // Only the pay table windows start long work, and they are not part of this version:
  // the work runs here without a progress display.
  TProgress progress;
  work(progress);
}

bool TQtUserInterface::Confirm(const std::string& question) {
  return QMessageBox::question(owner_, QStringLiteral("  Tarnwick"), Q(question),
                               QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

void TQtUserInterface::ShowCharts(const TTableSnapshot&, const std::string&) {
  NotAvailable("charts");
}

void TQtUserInterface::ShowAllHands(const THoldsSnapshot&, const std::string&) {
  NotAvailable("all holds");
}

void TQtUserInterface::ShowStatistics(const TTableSnapshot&, const std::string&) {
  NotAvailable("statistics");
}

}  // namespace tarnwick::app
