// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Exceptions must not cross Qt's event loop: every slot that calls the core runs its work
// through Guarded, which shows the error report for any failure and nothing for the silent
// abort of a calculation.

#include <QString>
#include <exception>
#include <functional>

class QWidget;

namespace tarnwick::app {

// Shows the error report of a failure over `parent` (the active window when null).
void ReportError(QWidget* parent, const QString& message);

// Where failures go instead of the error report (tests record them); null restores it.
using TErrorReporter = std::function<void(QWidget* parent, const QString& message)>;
void SetErrorReporter(TErrorReporter reporter);

// Runs work; an AbortError ends it silently, any other failure is reported. Returns whether
// the work ran to its end.
bool Guarded(QWidget* parent, const std::function<void()>& work);

// The text of the exception being handled (call only from inside a catch block).
QString CurrentErrorText();

}  // namespace tarnwick::app
