// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "parts/gradient_label.h"

#include <QLinearGradient>
#include <QPainter>

namespace tarnwick::app {

TGradientLabel::TGradientLabel(QWidget* parent) : QLabel(parent) {
  QFont bold = font();
  bold.setBold(true);
  setFont(bold);
  setAlignment(Qt::AlignCenter);
}

void TGradientLabel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QColor shadow = palette().color(QPalette::Dark);
  QLinearGradient gradient(0, 0, width(), 0);
  gradient.setColorAt(0, shadow.darker(160));
  gradient.setColorAt(0.5, shadow.darker(115));
  gradient.setColorAt(1, shadow.darker(160));
  painter.fillRect(rect(), gradient);
  // White on the usual dark shade; black should a palette's shadow be light.
  painter.setPen(shadow.darker(115).lightness() < 128 ? Qt::white : Qt::black);
  painter.setFont(font());
  painter.drawText(rect().adjusted(4, 0, -4, 0), static_cast<int>(alignment()) | Qt::TextSingleLine,
                   fontMetrics().elidedText(text(), Qt::ElideRight, width() - 8));
}

}  // namespace tarnwick::app
