// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "parts/card_button.h"

#include <QEvent>
#include <QMenu>
#include <QPainter>
#include <QStyleOptionFocusRect>

#include "parts/button_faces.h"

namespace tarnwick::app {

TCardButton::TCardButton(TButtonFaces& faces, QWidget* parent)
    : QAbstractButton(parent), faces_(faces) {
  // Tab reaches every button; the typing keys a button does not use go on to the window.
  setFocusPolicy(Qt::TabFocus);
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
  if (hasFocus()) {
    QStyleOptionFocusRect focus;
    focus.initFrom(this);
    focus.rect = rect().adjusted(2, 2, -2, -2);
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
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
  } else if (palette().color(QPalette::Button).lightness() < 128) {
    // On a dark face the shadow would not show: the palette's colour of disabled text.
    painter.setPen(palette().color(QPalette::Disabled, QPalette::ButtonText));
    painter.drawText(area, Qt::AlignCenter, caption);
  } else {
    // Embossed: the light copy a pixel right and down, the shadow in place.
    painter.setPen(palette().color(QPalette::Light));
    painter.drawText(area.translated(1, 1), Qt::AlignCenter, caption);
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawText(area, Qt::AlignCenter, caption);
  }
}

void TCardButton::changeEvent(QEvent* event) {
  QAbstractButton::changeEvent(event);
  // The faces follow the button colour of a new palette (a dark theme, say).
  if (event->type() == QEvent::PaletteChange || event->type() == QEvent::ApplicationPaletteChange) {
    faces_.SetColour(palette().color(QPalette::Button));
    update();
  }
}

TMenuButton::TMenuButton(TButtonFaces& faces, QMenu* menu, QWidget* parent)
    : TCardButton(faces, parent), menu_(menu) {
  connect(this, &QAbstractButton::pressed, this, [this] {
    ShowMenu();
    setDown(false);
  });
}

void TMenuButton::ShowMenu() {
  if (menu_ != nullptr) menu_->popup(mapToGlobal(rect().bottomLeft()));
}

}  // namespace tarnwick::app
