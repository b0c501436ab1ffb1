// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "parts/controller_signals.h"

namespace tarnwick::app {

TControllerSignals::TControllerSignals(TModelController& controller, QObject* parent)
    : QObject(parent), controller_(controller) {
  controller_.OnChange = [this](TChanges changes) {
    if (changes != 0) emit Changed(changes);
  };
  controller_.OnBusy = [this](bool busy) {
    busy_ = busy;
    emit BusyChanged(busy);
  };
}

TControllerSignals::~TControllerSignals() {
  controller_.OnChange = nullptr;
  controller_.OnBusy = nullptr;
}

}  // namespace tarnwick::app
