// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "parts/accessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QMenu>

#include "parts/card_button.h"

namespace tarnwick::app {

namespace {

// A plain widget that is a window: announced as one, otherwise as Qt describes any widget.
class TFrameAccessible : public QAccessibleWidget {
 public:
  explicit TFrameAccessible(QWidget* window) : QAccessibleWidget(window, QAccessible::Window) {}
};

// The Menu button: a push button with the popup menu as its one child, and the actions to
// press it and to show the menu.
class TMenuButtonAccessible : public QAccessibleWidget {
 public:
  explicit TMenuButtonAccessible(TMenuButton* button)
      : QAccessibleWidget(button, QAccessible::Button) {}

  int childCount() const override { return Menu() != nullptr ? 1 : 0; }
  QAccessibleInterface* child(int index) const override {
    return index == 0 && Menu() != nullptr ? QAccessible::queryAccessibleInterface(Menu())
                                           : nullptr;
  }
  int indexOfChild(const QAccessibleInterface* child) const override {
    return child != nullptr && Menu() != nullptr && child->object() == Menu() ? 0 : -1;
  }
  QAccessible::State state() const override {
    QAccessible::State state = QAccessibleWidget::state();
    state.hasPopup = true;
    state.pressed = Button()->isDown();
    return state;
  }
  QStringList actionNames() const override {
    return QStringList{pressAction(), showMenuAction()} + QAccessibleWidget::actionNames();
  }
  void doAction(const QString& action) override {
    if (!widget()->isEnabled()) return;
    if (action == pressAction() || action == showMenuAction()) {
      Button()->ShowMenu();
      return;
    }
    QAccessibleWidget::doAction(action);
  }

 private:
  TMenuButton* Button() const { return static_cast<TMenuButton*>(widget()); }
  QMenu* Menu() const { return Button()->Menu(); }
};

QAccessibleInterface* Factory(const QString& className, QObject* object) {
  if (object == nullptr || !object->isWidgetType()) return nullptr;
  auto* widget = static_cast<QWidget*>(object);
  // Only for the object's own class: the factory is asked for every class it derives from.
  if (className != QLatin1String(object->metaObject()->className())) return nullptr;
  if (auto* button = qobject_cast<TMenuButton*>(widget)) return new TMenuButtonAccessible(button);
  if (widget->windowType() == Qt::Window &&
      object->metaObject()->superClass() == &QWidget::staticMetaObject)
    return new TFrameAccessible(widget);
  return nullptr;
}

}  // namespace

void InstallAccessibility() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  QAccessible::installFactory(Factory);
}

}  // namespace tarnwick::app
