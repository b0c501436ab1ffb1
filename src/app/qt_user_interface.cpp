// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt_user_interface.h"

#include <QApplication>
#include <QMessageBox>

#include "all_hands_window.h"
#include "chart_window.h"
#include "errors.h"
#include "game_dialog.h"
#include "parts/controller_signals.h"
#include "parts/job_runner.h"
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
  TJobRunner::RunModal(owner_, work);
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

namespace {

// Shows a window of the hand's or the table's figures. From a modal dialog it is modal over
// it; otherwise it stays open beside the main window: the open one is brought up to
// `snapshot` and to the front.
template <typename TWindow, typename TSnapshot>
void ShowBeside(QWidget* owner, bool modeless, QPointer<TWindow>& open, const TSnapshot& snapshot,
                const QString& caption) {
  if (!modeless || QApplication::activeModalWidget() != nullptr) {
    TWindow window(FrontWindow(owner), snapshot, caption);
    window.exec();
    return;
  }
  TWindow* window = open.data();
  if (window == nullptr) {
    window = new TWindow(owner, snapshot, caption);
    window->setAttribute(Qt::WA_DeleteOnClose);
    open = window;
  } else {
    window->Follow(snapshot, caption);
  }
  window->show();
  window->raise();
  window->activateWindow();
}

}  // namespace

void TQtUserInterface::ShowAllHands(const THoldsSnapshot& holds, const std::string& caption) {
  ShowBeside(owner_, signals_ != nullptr, allHands_, holds, Caption(caption));
}

void TQtUserInterface::ShowStatistics(const TTableSnapshot& table, const std::string& caption) {
  ShowBeside(owner_, signals_ != nullptr, statistics_, table, Caption(caption));
}

void TQtUserInterface::ApplyTexts() {
  if (TfmAllHands* holds = allHands_.data()) holds->ApplyTexts();
  if (TfmStat* statistics = statistics_.data()) statistics->ApplyTexts();
}

TfmAllHands* TQtUserInterface::AllHands() const {
  return allHands_.data();
}

TfmStat* TQtUserInterface::Statistics() const {
  return statistics_.data();
}

void TQtUserInterface::SetSignals(TControllerSignals* controllerSignals) {
  signals_ = controllerSignals;
  QObject::connect(signals_, &TControllerSignals::Changed, signals_,
                   [this](TChanges changes) { Follow(changes); });
}

void TQtUserInterface::Follow(TChanges changes) {
  const TModelController& controller = signals_->Controller();
  const std::string caption = controller.FigureCaption();
  // All holds shows the newest analysed hand: a hand being put keeps the last one shown.
  TfmAllHands* holds = allHands_.data();
  if (holds != nullptr && holds->isVisible() && controller.IsAnalysed() &&
      (changes & (kHandChanged | kAnalysisChanged | kGameChanged | kTableChanged)) != 0)
    holds->Follow(controller.HoldsSnapshot(), Caption(caption));
  // The statistics show the current table once it has its whole-game figures.
  TfmStat* statistics = statistics_.data();
  if (statistics != nullptr && statistics->isVisible() && controller.CanShowTableFigures() &&
      (changes & (kGameChanged | kTableListChanged | kTableChanged)) != 0)
    statistics->Follow(controller.TableSnapshot(), Caption(caption));
}

}  // namespace tarnwick::app
