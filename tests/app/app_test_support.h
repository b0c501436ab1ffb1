// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A world for the window tests: the program's language files and help pages from the
// source tree, settings and a copy of the shipped pay tables in a fresh temporary folder,
// failures recorded instead of shown, and modal windows answered from a timer.

#include <QApplication>
#include <QDir>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <filesystem>
#include <functional>

#include "guard.h"
#include "session/preferences.h"

namespace tarnwick::app::test {

inline const std::filesystem::path kData = TARNWICK_DATA_DIR;

class TWorld {
 public:
  explicit TWorld(const std::string& language = "ENG") {
    data_ = folder_.path().toStdString();
    std::filesystem::copy_file(kData / "Tarnwick.dat", data_ / "Tarnwick.dat");
    Install(language);
    SetErrorReporter([this](QWidget*, const QString& message) { Errors << message; });
  }
  ~TWorld() {
    SetErrorReporter({});
    ReleasePreferences();
  }
  TWorld(const TWorld&) = delete;
  TWorld& operator=(const TWorld&) = delete;

  // The preferences of a program started anew (the settings file stays).
  void Install(const std::string& language = "ENG") {
    InstallPreferences(std::make_unique<TPreferences>(
        TPreferencesSetup{kData, data_ / "tarnwick.ini", language, {}, "DejaVu Sans"}));
  }
  const std::filesystem::path& Data() const { return data_; }

  QStringList Errors;

 private:
  QTemporaryDir folder_;
  std::filesystem::path data_;
};

// Runs `answer` on the next modal window that opens (polled from a timer), so that a test
// can look at it and close it while the code that opened it waits in exec().
inline void WhenModal(const std::function<void(QWidget* modal)>& answer) {
  auto* timer = new QTimer;
  timer->setInterval(5);
  QObject::connect(timer, &QTimer::timeout, [timer, answer] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr) return;
    timer->stop();
    timer->deleteLater();
    const QPointer<QWidget> window(modal);
    answer(modal);
    // A failed check returns from `answer` early: close the window so the test ends.
    if (QTest::currentTestFailed() && window != nullptr) window->close();
  });
  timer->start();
}

// Runs `answer` on the next modal window of type T that opens (a progress dialog that
// shows meanwhile is passed by).
template <class T>
void WhenModalOf(const std::function<void(T* modal)>& answer) {
  auto* timer = new QTimer;
  timer->setInterval(5);
  QObject::connect(timer, &QTimer::timeout, [timer, answer] {
    auto* modal = qobject_cast<T*>(QApplication::activeModalWidget());
    if (modal == nullptr) return;
    timer->stop();
    timer->deleteLater();
    const QPointer<QWidget> window(modal);
    answer(modal);
    // A failed check returns from `answer` early: close the window so the test ends.
    if (QTest::currentTestFailed() && window != nullptr) window->close();
  });
  timer->start();
}

}  // namespace tarnwick::app::test
