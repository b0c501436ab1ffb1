// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The windows the controller opens, as Qt dialogs over the main window. All holds and the
// statistics stay open beside the main window and follow its newest analysed hand and its
// current table; opened from a modal dialog (the Game and Payout dialog), they are modal
// over it as the dialog is.

#include <QPointer>
#include <QWidget>

#include "session/model_controller.h"

namespace tarnwick::app {

class TControllerSignals;
class TfmAllHands;
class TfmStat;

class TQtUserInterface : public TUserInterface {
 public:
  // The windows open over `owner` (the main window, set once it exists).
  void SetOwner(QWidget* owner) { owner_ = owner; }
  // The controller's change signal, which the open windows follow (set once it exists).
  void SetSignals(TControllerSignals* controllerSignals);
  // The windows open beside the main window, null when closed.
  // The open windows' texts again from the language in use.
  void ApplyTexts();
  TfmAllHands* AllHands() const;
  TfmStat* Statistics() const;

  TDialogResult ChooseGameAndPayout(TModelController& controller) override;
  bool EditPayout(bool isNew, TModelController& controller, TPayout& table) override;
  void RunWithProgress(const std::function<void(TProgress& progress)>& work) override;
  bool Confirm(const std::string& question) override;
  void ShowCharts(const TTableSnapshot& table, const std::string& caption) override;
  void ShowAllHands(const THoldsSnapshot& holds, const std::string& caption) override;
  void ShowStatistics(const TTableSnapshot& table, const std::string& caption) override;

 private:
  // Brings the open windows up to what the controller shows after `changes`.
  void Follow(TChanges changes);

  QPointer<QWidget> owner_;
  TControllerSignals* signals_ = nullptr;
  QPointer<TfmAllHands> allHands_;
  QPointer<TfmStat> statistics_;
};

}  // namespace tarnwick::app
