// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The painted faces of the main window's buttons, cached by size: the 56 buttons share a
// handful of sizes, so a resize paints at most a few new faces. A face of a height already
// cached is made wider or narrower by repeating its middle strip instead of painting anew.

#include <QColor>
#include <QImage>
#include <QSize>
#include <array>

namespace tarnwick::app {

class TButtonFaces {
 public:
  static constexpr int kSlots = 8;

  // `face` is the button colour the gradient runs around.
  explicit TButtonFaces(QColor face = QColor(0xe0, 0xe0, 0xe0), qreal devicePixelRatio = 1);

  // Faces of another button colour (a new palette): the cached ones are dropped.
  void SetColour(QColor face);
  QColor Colour() const { return colour_; }
  // Faces for a screen of another pixel ratio: the cached ones are dropped.
  void SetDevicePixelRatio(qreal ratio);
  // The face of a button of this logical size (device pixels at the pixel ratio).
  const QImage& Face(QSize size);
  // How many faces were painted afresh (not widened from another) so far.
  int Painted() const { return painted_; }
  bool Holds(QSize size) const;

 private:
  QImage Paint(QSize device) const;
  static QImage Stretch(const QImage& source, int width);

  QColor colour_;
  qreal ratio_;
  std::array<QSize, kSlots> sizes_{};
  std::array<QImage, kSlots> faces_{};
  int last_ = kSlots - 1;  // the slot replaced last
  int painted_ = 0;
};

}  // namespace tarnwick::app
