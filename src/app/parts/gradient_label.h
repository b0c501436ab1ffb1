// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The header label of the windows: white bold text on a colour gradient.

#include <QLabel>

namespace tarnwick::app {

class TGradientLabel : public QLabel {
  Q_OBJECT

 public:
  explicit TGradientLabel(QWidget* parent = nullptr);

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace tarnwick::app
