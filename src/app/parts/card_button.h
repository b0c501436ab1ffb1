// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A button of the main window's card board: a painted face from the shared cache, the
// card's glyph or a caption. A card button is checkable and shows pressed while its card
// is in the hand.

#include <QAbstractButton>
#include <QPixmap>

namespace tarnwick::app {

class TButtonFaces;

class TCardButton : public QAbstractButton {
  Q_OBJECT

 public:
  TCardButton(TButtonFaces& faces, QWidget* parent = nullptr);

  void SetGlyph(const QPixmap& glyph);
  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  TButtonFaces& faces_;
  QPixmap glyph_;
};

}  // namespace tarnwick::app
