// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "parts/table_export.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QTableView>
#include <utility>

#include "parts/guard.h"
#include "parts/qt_text.h"
#include "session/preferences.h"
#include "store/safe_files.h"
#include "text.h"

namespace tarnwick::app {

namespace {

// The item view copies its current cell on the copy key before any action sees the key;
// this filter gives the key to the whole-table copy instead.
class TCopyKey final : public QObject {
 public:
  TCopyKey(QAction* copy, QObject* parent) : QObject(parent), copy_(copy) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    const QEvent::Type type = event->type();
    if ((type == QEvent::ShortcutOverride || type == QEvent::KeyPress) &&
        static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy)) {
      event->accept();
      if (type == QEvent::KeyPress) copy_->trigger();
      return true;
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  QAction* copy_;
};

}  // namespace

void AddTableExport(QTableView* view, TTableRows rows, const QString& fileName) {
  const TPreferences& preferences = Preferences();
  auto* copy = new QAction(Q(preferences.Text("Statistics", "CopyTable")), view);
  // Shown in the menu; the key itself is taken by the filter below.
  copy->setShortcut(QKeySequence::Copy);
  copy->setShortcutContext(Qt::WidgetShortcut);
  QObject::connect(copy, &QAction::triggered, view, [view, rows] {
    Guarded(view, [&] { QApplication::clipboard()->setText(Q(DelimitedText(rows(), '\t'))); });
  });
  auto* save = new QAction(Q(preferences.Text("Statistics", "SaveTable")), view);
  QObject::connect(save, &QAction::triggered, view, [view, save, rows, fileName] {
    const QString path =
        QFileDialog::getSaveFileName(view, save->text().remove(QStringLiteral("...")), fileName,
                                     QStringLiteral("CSV (*.csv);;All files (*)"));
    if (!path.isEmpty()) SaveTableAsCsv(view, rows, path);
  });
  view->installEventFilter(new TCopyKey(copy, view));
  view->addAction(copy);
  view->addAction(save);
  view->setContextMenuPolicy(Qt::ActionsContextMenu);
}

bool SaveTableAsCsv(QWidget* parent, const TTableRows& rows, QString path) {
  if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".csv");
  return Guarded(parent, [&] {
    WriteFileAtomically(path.toStdString(), DelimitedText(rows(), ','), kUnreadFile);
  });
}

}  // namespace tarnwick::app
