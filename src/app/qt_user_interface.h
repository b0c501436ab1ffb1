// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The windows the controller opens, as Qt dialogs over the main window.

#include <QPointer>
#include <QWidget>

#include "session/model_controller.h"

namespace tarnwick::app {

class TQtUserInterface : public TUserInterface {
 public:
  // The windows open over `owner` (the main window, set once it exists).
  void SetOwner(QWidget* owner) { owner_ = owner; }

  TDialogResult ChooseGameAndPayout(TModelController& controller) override;
  bool EditPayout(bool isNew, TModelController& controller, TPayout& table) override;
  void RunWithProgress(const std::function<void(TProgress& progress)>& work) override;
  bool Confirm(const std::string& question) override;
  void ShowCharts(const TTableSnapshot& table, const std::string& caption) override;
  void ShowAllHands(const THoldsSnapshot& holds, const std::string& caption) override;
  void ShowStatistics(const TTableSnapshot& table, const std::string& caption) override;

 private:
  QPointer<QWidget> owner_;
};

}  // namespace tarnwick::app
