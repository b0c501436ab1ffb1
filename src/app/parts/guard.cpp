// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "parts/guard.h"

#include <QApplication>
#include <QWidget>
#include <new>

#include "errors.h"
#include "parts/error_report.h"

namespace tarnwick::app {

QString CurrentErrorText() {
  try {
    throw;
  } catch (const std::bad_alloc&) {
    return QStringLiteral("Out of memory");
  } catch (const std::exception& e) {
    QString text = QString::fromUtf8(e.what());
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
  } catch (...) {
    return QStringLiteral("Unknown error");
  }
}

namespace {

TErrorReporter& Reporter() {
  static TErrorReporter reporter;
  return reporter;
}

}  // namespace

void SetErrorReporter(TErrorReporter reporter) {
  Reporter() = std::move(reporter);
}

void ReportError(QWidget* parent, const QString& message) {
  if (Reporter()) {
    Reporter()(parent, message);
    return;
  }
  if (parent == nullptr) parent = QApplication::activeWindow();
  TfmException dialog(parent, message);
  dialog.exec();
}

bool Guarded(QWidget* parent, const std::function<void()>& work) {
  try {
    work();
    return true;
  } catch (const AbortError&) {
    return false;  // the user stopped it: nothing to report
  } catch (...) {
    ReportError(parent, CurrentErrorText());
    return false;
  }
}

}  // namespace tarnwick::app
