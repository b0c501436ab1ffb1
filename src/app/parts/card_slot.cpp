// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "parts/card_slot.h"

#include <QPainter>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

#include "parts/card_painter.h"

namespace tarnwick::app {

TCardSlot::TCardSlot(int position, QWidget* parent) : QAbstractButton(parent), position_(position) {
  setCheckable(true);
  setFocusPolicy(Qt::TabFocus);
  setAccessibleName(QStringLiteral("Card %1").arg(position + 1));
  resize(sizeHint());
}

void TCardSlot::Show(const QImage& picture, const QString& code) {
  picture_ = picture;
  setAccessibleDescription(code);
  update();
}

QSize TCardSlot::sizeHint() const {
  return {TCardPainter::kCardWidth, TCardPainter::kCardHeight};
}

void TCardSlot::paintEvent(QPaintEvent*) {
  QStylePainter painter(this);
  if (!picture_.isNull()) painter.drawImage(QPoint(0, 0), picture_);
  if (hasFocus()) {
    QStyleOptionFocusRect focus;
    focus.initFrom(this);
    painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
  }
}

}  // namespace tarnwick::app
