// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "parts/hint_pause.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QHelpEvent>
#include <QToolTip>

namespace tarnwick::app {

bool THintPause::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::ToolTip || !watched->isWidgetType())
    return QObject::eventFilter(watched, event);
  auto* widget = static_cast<QWidget*>(watched);
  // A table's cell hints come from its model, shown by the view with Qt's own pause.
  if (auto* view = qobject_cast<QAbstractItemView*>(widget->parentWidget());
      view != nullptr && view->viewport() == widget && view->model() != nullptr) {
    const auto* help = static_cast<QHelpEvent*>(event);
    const QModelIndex index = view->indexAt(help->pos());
    const QString hint = index.isValid() ? index.data(Qt::ToolTipRole).toString() : QString();
    if (hint.isEmpty()) {
      QToolTip::hideText();
    } else {
      QToolTip::showText(help->globalPos(), hint, widget, view->visualRect(index), kShownMs);
    }
    return true;
  }
  if (widget->toolTipDuration() < 0) widget->setToolTipDuration(kShownMs);
  return QObject::eventFilter(watched, event);
}

void InstallHintPause() {
  static THintPause* installed = nullptr;
  if (installed != nullptr) return;
  installed = new THintPause(qApp);
  qApp->installEventFilter(installed);
}

}  // namespace tarnwick::app
