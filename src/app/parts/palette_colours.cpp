// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "parts/palette_colours.h"

#include <QEvent>
#include <QWidget>

namespace tarnwick::app {

namespace {

constexpr char kInvalid[] = "tarnwickInvalid";
constexpr char kFollowed[] = "tarnwickPaletteFollowed";

void Colour(QWidget* field) {
  const bool invalid = field->property(kInvalid).toBool();
  // A palette with no role set inherits all of them: the field's own text colour again.
  QPalette own;
  if (invalid) own.setColor(QPalette::Text, AlarmText(field->palette()));
  field->setPalette(own);
}

// Colours the field anew when its palette changes from outside (the application's or its
// window's): the field's base colour is then the new one.
class TPaletteFollower : public QObject {
 public:
  using QObject::QObject;

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (!busy_ && event->type() == QEvent::PaletteChange) {
      busy_ = true;  // the field's own new palette comes back here
      Colour(static_cast<QWidget*>(watched));
      busy_ = false;
    }
    return false;
  }

 private:
  bool busy_ = false;
};

}  // namespace

QColor AlarmText(const QPalette& palette) {
  return palette.color(QPalette::Base).lightness() < 128 ? QColor(255, 120, 120) : QColor(Qt::red);
}

void ShowInvalid(QWidget* field, bool invalid) {
  if (!field->property(kFollowed).toBool()) {
    field->setProperty(kFollowed, true);
    field->installEventFilter(new TPaletteFollower(field));
  }
  field->setProperty(kInvalid, invalid);
  Colour(field);
}

}  // namespace tarnwick::app
