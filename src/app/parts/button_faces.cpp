// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "parts/button_faces.h"

#include <QLinearGradient>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace tarnwick::app {

TButtonFaces::TButtonFaces(QColor face, qreal devicePixelRatio)
    : colour_(face), ratio_(devicePixelRatio > 0 ? devicePixelRatio : 1) {}

void TButtonFaces::SetDevicePixelRatio(qreal ratio) {
  if (ratio <= 0 || ratio == ratio_) return;
  ratio_ = ratio;
  sizes_.fill(QSize());
  faces_.fill(QImage());
}

void TButtonFaces::SetColour(QColor face) {
  if (face == colour_) return;
  colour_ = face;
  sizes_.fill(QSize());
  faces_.fill(QImage());
}

bool TButtonFaces::Holds(QSize size) const {
  return std::find(sizes_.begin(), sizes_.end(), size) != sizes_.end();
}

const QImage& TButtonFaces::Face(QSize size) {
  for (int i = 0; i < kSlots; ++i) {
    if (sizes_[static_cast<size_t>(i)] == size) return faces_[static_cast<size_t>(i)];
  }
  last_ = (last_ + 1) % kSlots;
  const QSize device(static_cast<int>(std::lround(size.width() * ratio_)),
                     static_cast<int>(std::lround(size.height() * ratio_)));
  QImage face;
  for (int i = 0; i < kSlots; ++i) {
    const QImage& other = faces_[static_cast<size_t>(i)];
    if (i != last_ && !other.isNull() && other.height() == device.height()) {
      face = Stretch(other, device.width());
      break;
    }
  }
  if (face.isNull()) {
    face = Paint(device);
    ++painted_;
  }
  sizes_[static_cast<size_t>(last_)] = size;
  faces_[static_cast<size_t>(last_)] = face;
  return faces_[static_cast<size_t>(last_)];
}

QImage TButtonFaces::Paint(QSize device) const {
  QImage face(device.expandedTo(QSize(1, 1)), QImage::Format_ARGB32_Premultiplied);
  face.fill(Qt::transparent);
  QPainter painter(&face);
  painter.setRenderHint(QPainter::Antialiasing);
  QLinearGradient gradient(0, 0, 0, face.height());
  gradient.setColorAt(0, colour_.lighter(145));
  gradient.setColorAt(1, colour_.darker(133));  // 25 % darker
  const QRectF frame =
      QRectF(face.rect()).adjusted(0.5 * ratio_, 0.5 * ratio_, -0.5 * ratio_, -0.5 * ratio_);
  const qreal radius = 3 * ratio_;
  painter.setPen(QPen(colour_.darker(220), ratio_));
  painter.setBrush(gradient);
  painter.drawRoundedRect(frame, radius, radius);
  // A light inner edge at the top and left, as on a raised button.
  painter.setPen(QPen(QColor(255, 255, 255, 150), ratio_));
  painter.drawLine(QPointF(frame.left() + radius, frame.top() + ratio_),
                   QPointF(frame.right() - radius, frame.top() + ratio_));
  return face;
}

QImage TButtonFaces::Stretch(const QImage& source, int width) {
  QImage face(width, source.height(), source.format());
  face.fill(Qt::transparent);
  QPainter painter(&face);
  painter.setCompositionMode(QPainter::CompositionMode_Source);
  const int edge = std::min(6, source.width() / 2);
  const int middle = std::max(source.width() - 2 * edge, 1);
  // The left edge, then the middle strip as often as needed, then the right edge last.
  painter.drawImage(0, 0, source, 0, 0, std::min(edge, width));
  for (int x = edge; x < width - edge; x += middle)
    painter.drawImage(x, 0, source, edge, 0, std::min(middle, width - edge - x));
  if (width > edge) painter.drawImage(width - edge, 0, source, source.width() - edge, 0, edge);
  return face;
}

}  // namespace tarnwick::app
