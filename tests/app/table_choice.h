// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Chooses a shipped pay table by its pays, for the window tests and the screenshots.

#include <QString>

#include "engine/payout.h"
#include "session/model_controller.h"

namespace tarnwick::app::test {

// Selects the game and its stored table with these pays ("800,50,25,9,6,4,3,2,1"); false
// when the game has no such table.
inline bool SelectTableWithPays(TModelController& controller, int game, const QString& pays) {
  controller.SelectGame(game);
  for (int i = 0; i < controller.TableCount(); ++i) {
    if (PaysText(*controller.TableAt(i), ',') == pays.toStdString()) {
      controller.SelectTable(i);
      return true;
    }
  }
  return false;
}

}  // namespace tarnwick::app::test
