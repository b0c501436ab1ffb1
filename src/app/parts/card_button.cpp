// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "parts/card_button.h"

#include <QPainter>

#include "parts/button_faces.h"

namespace tarnwick::app {

TCardButton::TCardButton(TButtonFaces& faces, QWidget* parent)
    : QAbstractButton(parent), faces_(faces) {
  setFocusPolicy(Qt::NoFocus);  // keys go to the window's keyboard entry
}

void TCardButton::SetGlyph(const QPixmap& glyph) {
  glyph_ = glyph;
  update();
}

QSize TCardButton::sizeHint() const {
  return {60, 22};
}

void TCardButton::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawImage(rect(), faces_.Face(size()));
  const bool down = isDown() || isChecked();
  if (down) {
    // Pressed: the face sunk into a darker shade, the content shifted by a pixel.
    painter.fillRect(rect().adjusted(1, 1, -1, -1), QColor(0, 0, 0, 60));
    painter.translate(1, 1);
  }
  if (!glyph_.isNull()) {
    const QSizeF glyph = glyph_.deviceIndependentSize();
    const QPointF at((width() - glyph.width()) / 2, (height() - glyph.height()) / 2);
    painter.drawPixmap(at, glyph_);
  }
  if (text().isEmpty()) return;
  painter.setFont(font());
  const QRect area = rect().adjusted(2, 0, -2, 0);
  const QString caption = fontMetrics().elidedText(text(), Qt::ElideRight, area.width());
  if (isEnabled()) {
    painter.setPen(palette().color(QPalette::ButtonText));
    painter.drawText(area, Qt::AlignCenter, caption);
  } else {
    // Embossed: the light copy a pixel right and down, the shadow in place.
    painter.setPen(palette().color(QPalette::Light));
    painter.drawText(area.translated(1, 1), Qt::AlignCenter, caption);
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawText(area, Qt::AlignCenter, caption);
  }
}

}  // namespace tarnwick::app
