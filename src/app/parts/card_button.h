// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A button of the main window's card board: a painted face from the shared cache, the
// card's glyph or a caption. A card button is checkable and shows pressed while its card
// is in the hand.

#include <QAbstractButton>
#include <QMenu>
#include <QPixmap>
#include <QPointer>

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
  void changeEvent(QEvent* event) override;

 private:
  TButtonFaces& faces_;
  QPixmap glyph_;
};

// The board's Menu button: a press (the mouse, Space, F10 or the context-menu key through
// the window) opens its popup menu under it. Screen readers find the menu and its items as
// the button's child, the way they find a menu bar's menus.
class TMenuButton : public TCardButton {
  Q_OBJECT

 public:
  TMenuButton(TButtonFaces& faces, QMenu* menu, QWidget* parent = nullptr);

  QMenu* Menu() const { return menu_; }
  // Opens the menu under the button.
  void ShowMenu();

 private:
  QPointer<QMenu> menu_;
};

}  // namespace tarnwick::app
