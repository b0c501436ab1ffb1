// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The controller as a Qt object: its change notification (one per operation, with the bits
// of what changed) becomes a signal that any number of windows connect to. The main window
// owns it; every other window that shows the controller's state follows the same signal,
// so no window refreshes by hand after an operation.

#include <QObject>

#include "session/model_controller.h"

namespace tarnwick::app {

// Every change bit at once: what a window shows when it is built or retranslated.
constexpr TChanges kAllChanges =
    kHandChanged | kAnalysisChanged | kGameChanged | kTableListChanged | kTableChanged;

class TControllerSignals : public QObject {
  Q_OBJECT

 public:
  // Takes over the controller's OnChange and OnBusy until it is destroyed.
  TControllerSignals(TModelController& controller, QObject* parent);
  ~TControllerSignals() override;
  TControllerSignals(const TControllerSignals&) = delete;
  TControllerSignals& operator=(const TControllerSignals&) = delete;

  TModelController& Controller() const { return controller_; }
  // Whether a whole-game run of the controller is going on.
  bool Busy() const { return busy_; }

 signals:
  // After every operation that changed something: the bits of TChange that it touched.
  void Changed(tarnwick::TChanges changes);
  void BusyChanged(bool busy);

 private:
  TModelController& controller_;
  bool busy_ = false;
};

}  // namespace tarnwick::app
