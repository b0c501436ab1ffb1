// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// One of the five places of the dealt hand: it shows the card's picture (with the held and
// wild marks) and, once the hand is analysed, switches the card between held (checked) and
// replaced by a click, Space or the accessibility action.

#include <QAbstractButton>
#include <QImage>

namespace tarnwick::app {

class TCardSlot : public QAbstractButton {
  Q_OBJECT

 public:
  explicit TCardSlot(int position, QWidget* parent = nullptr);

  int Position() const { return position_; }
  // The picture to show and the card's code as text for screen readers (empty: no card).
  void Show(const QImage& picture, const QString& code);
  const QImage& Picture() const { return picture_; }
  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  int position_;
  QImage picture_;
};

}  // namespace tarnwick::app
