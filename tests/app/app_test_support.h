// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A world for the window tests: language files, help and a copy of the shipped tables in a
// fresh folder, failures recorded instead of shown, and tarnwick-cli to compare with
// (tests/cli_run.h).

#include <QApplication>
#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPointer>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>

#include "cli_run.h"
#include "engine/payout.h"
#include "parts/guard.h"
#include "parts/translations.h"
#include "parts/worker_hold.h"
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
    SetGaugeDelay(-1);
  }
  ~TWorld() {
    SetGaugeDelay(300);
    SetErrorReporter({});
    ReleasePreferences();
  }
  TWorld(const TWorld&) = delete;
  TWorld& operator=(const TWorld&) = delete;

  // The preferences of a program started anew (the settings file stays).
  void Install(const std::string& language = "ENG") {
    InstallPreferences(std::make_unique<TPreferences>(
        TPreferencesSetup{kData, data_ / "tarnwick.ini", language, {}, "DejaVu Sans"}));
    Preferences().OnMissingText = WarnOfMissingText;
    UseLanguageFont();
  }
  const std::filesystem::path& Data() const { return data_; }

  QStringList Errors;

 private:
  QTemporaryDir folder_;
  std::filesystem::path data_;
};

// Makes every Qt warning fail the running test (call from init()), except the offscreen
// platform's "This plugin does not support ...".
inline void FailOnWarnings() {
  QTest::failOnWarning(QRegularExpression(QStringLiteral("^(?!This plugin does not support )")));
}

// While it lives, every worker run waits at its start until Release or its cancel.
class TWorkerGate {
 public:
  TWorkerGate() : state_(std::make_shared<TState>()) {
    SetWorkerHold([state = state_](TProgress& progress) { state->Wait(progress); });
  }
  ~TWorkerGate() {
    SetWorkerHold({});
    Release();
  }
  TWorkerGate(const TWorkerGate&) = delete;
  TWorkerGate& operator=(const TWorkerGate&) = delete;

  void Release() {
    {
      const std::lock_guard lock(state_->Mutex);
      state_->Released = true;
    }
    state_->Changed.notify_all();
  }
  int Arrived() const {
    const std::lock_guard lock(state_->Mutex);
    return state_->Arrived;
  }

 private:
  // Shared with the hold, which a worker may still be leaving when the gate is gone.
  struct TState {
    std::mutex Mutex;
    std::condition_variable Changed;
    bool Released = false;
    int Arrived = 0;
    void Wait(TProgress& progress) {
      std::unique_lock lock(Mutex);
      ++Arrived;
      while (!Released && !progress.Cancelled())
        Changed.wait_for(lock, std::chrono::milliseconds(1));
    }
  };
  std::shared_ptr<TState> state_;
};

// Runs `answer` on the next modal window of type T that opens (polled from a timer).
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

// Runs `answer` on the next modal window that opens, whatever its type.
inline void WhenModal(const std::function<void(QWidget* modal)>& answer) {
  WhenModalOf<QWidget>(answer);
}

// What tarnwick-cli prints in JSON for the arguments; a failed run fails the test.
inline QJsonObject Cli(QStringList arguments) {
  std::string words;
  for (const QString& argument : arguments << QStringLiteral("--json"))
    words += tarnwick::cli_run::ShellWord(argument.toStdString()) + ' ';
  try {
    return QJsonDocument::fromJson(
               QByteArray::fromStdString(tarnwick::cli_run::CliJson(words).dump()))
        .object();
  } catch (const std::exception& error) {
    QTest::qFail(error.what(), __FILE__, __LINE__);
    return {};
  }
}

// The pays of a table as tarnwick-cli takes them: "800,50,25,9,6,4,3,2,1".
inline QString PaysText(const TPayout& table) {
  return QString::fromStdString(tarnwick::PaysText(table, ','));
}

}  // namespace tarnwick::app::test
