// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Every hint of the program stays 6 s on the screen (unless the mouse leaves its place),
// whatever its length: the widgets' own hints and those of the cells of every table.

#include <QObject>

namespace tarnwick::app {

class THintPause : public QObject {
  Q_OBJECT

 public:
  static constexpr int kShownMs = 6000;

  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};

// Installs the pause on the application (once; later calls do nothing).
void InstallHintPause();

}  // namespace tarnwick::app
