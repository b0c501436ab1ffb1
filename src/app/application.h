// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The application object, with the last net for failures: an exception that a slot did not
// catch is reported here instead of leaving through Qt's event loop.

#include <QApplication>
#include <QElapsedTimer>

namespace tarnwick::app {

class TApplication : public QApplication {
  Q_OBJECT

 public:
  TApplication(int& argc, char** argv);

  bool notify(QObject* receiver, QEvent* event) override;
};

// Runs the desktop program on the application: the preferences, the main window, the event
// loop. `measure` instead prints how long the start and a hand take and how much memory the
// program holds, then ends. Returns the exit status.
int RunDesktopProgram(TApplication& application, bool measure, const QElapsedTimer& started);

}  // namespace tarnwick::app
