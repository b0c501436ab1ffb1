// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A world for the window tests: language files, help and a copy of the shipped tables in a
// fresh folder, failures recorded instead of shown, and tarnwick-cli to compare with
// (tests/cli_run.h).

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QPointer>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <QWidget>
#include <algorithm>
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
    const std::lock_guard lock(state_->Mutex);
    state_->Released = true;
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

// The control a focused widget belongs to: a pay cell's editor is its grid's, a spin box's
// line its spin box's.
inline QWidget* ControlOf(QWidget* widget) {
  for (QWidget* up = widget; up != nullptr && !up->isWindow(); up = up->parentWidget()) {
    if (qobject_cast<QAbstractItemView*>(up) || qobject_cast<QAbstractSpinBox*>(up) ||
        qobject_cast<QComboBox*>(up))
      return up;
  }
  return widget;
}

// Whether the player works this widget (a button, a field, a list or a grid that selects or
// edits), as opposed to the parts Qt builds into other controls and what only shows.
inline bool IsInteractive(QWidget* widget) {
  if (!widget->isVisible() || !widget->isEnabled() || qobject_cast<QScrollBar*>(widget))
    return false;
  for (QWidget* up = widget->parentWidget(); up != nullptr && !up->isWindow();
       up = up->parentWidget()) {
    // A grid's corner and headers, a spin box's line.
    if (qobject_cast<QAbstractScrollArea*>(up) || qobject_cast<QAbstractSpinBox*>(up) ||
        qobject_cast<QComboBox*>(up))
      return false;
  }
  if (auto* view = qobject_cast<QAbstractItemView*>(widget))
    return view->selectionMode() != QAbstractItemView::NoSelection ||
           view->editTriggers() != QAbstractItemView::NoEditTriggers;
  if (auto* text = qobject_cast<QTextEdit*>(widget))
    return text->textInteractionFlags() != Qt::NoTextInteraction;
  return qobject_cast<QAbstractButton*>(widget) || qobject_cast<QAbstractSpinBox*>(widget) ||
         qobject_cast<QComboBox*>(widget) || qobject_cast<QLineEdit*>(widget) ||
         qobject_cast<QAbstractSlider*>(widget);
}

// Shows the window and presses Tab from the control that has the focus until the focus comes
// back to it, then checks the round: every interactive control reached exactly once, in
// reading order. A control reached a second time before the round ends stops the walk; Tab
// within a control (a grid's cells, a page's links) does not count as a step. Returns a
// description of the first fault (empty: none).
inline QString TabRoundFault(QWidget* window) {
  window->show();
  QApplication::setActiveWindow(window);
  if (!QTest::qWaitForWindowActive(window)) return QStringLiteral("no focus");
  const auto inside = [window] {
    return QApplication::focusWidget() != nullptr &&
           QApplication::focusWidget()->window() == window;
  };
  if (!inside()) QTest::keyClick(window, Qt::Key_Tab);
  QList<QWidget*> round;
  QWidget* previous = nullptr;
  for (int press = 0; press < 1000 && inside(); ++press) {
    QWidget* control = ControlOf(QApplication::focusWidget());
    if (control != previous) {
      if (!round.isEmpty() && control == round.front()) break;
      const bool again = round.contains(control);
      round << control;
      if (again) break;
    }
    previous = control;
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  }
  const auto name = [](QWidget* w) {
    return QStringLiteral("%1 '%2'").arg(
        QString::fromLatin1(w->metaObject()->className()),
        w->accessibleName().isEmpty() ? w->objectName() : w->accessibleName());
  };
  // Whether `next` comes after `control` in reading order: further down, or to the right on
  // the same band of the window.
  const auto readsAfter = [window](QWidget* control, QWidget* next) {
    const QRect a(control->mapTo(window, QPoint(0, 0)), control->size());
    const QRect b(next->mapTo(window, QPoint(0, 0)), next->size());
    return b.top() >= a.bottom() - 2 ||
           (b.left() >= a.right() - 2 && b.top() < a.bottom() && b.bottom() > a.top());
  };
  if (round.isEmpty()) return QStringLiteral("no focus");
  // The round may start anywhere: one step against the reading order is the wrap from the
  // last control back to the first.
  int backwards = 0;
  for (qsizetype i = 0; i < round.size(); ++i) {
    if (round.indexOf(round[i]) != i) return QStringLiteral("reached twice: ") + name(round[i]);
    QWidget* next = round[(i + 1) % round.size()];
    if (round.size() > 1 && !readsAfter(round[i], next) && ++backwards > 1)
      return QStringLiteral("out of reading order: ") + name(round[i]) + QStringLiteral(" then ") +
             name(next);
  }
  for (QWidget* widget : window->findChildren<QWidget*>()) {
    // Of a group of exclusive buttons Tab reaches the one down, and the arrows the others.
    const auto* button = qobject_cast<QAbstractButton*>(widget);
    if (button != nullptr && button->group() != nullptr && button->group()->exclusive() &&
        std::any_of(round.begin(), round.end(), [button](QWidget* reached) {
          return button->group()->buttons().contains(qobject_cast<QAbstractButton*>(reached));
        }))
      continue;
    if (widget->window() == window && IsInteractive(widget) && !round.contains(widget))
      return QStringLiteral("never reached: ") + name(widget);
  }
  return {};
}

// What tarnwick-cli prints in JSON for the arguments; a failed run fails the test.
inline QJsonObject Cli(QStringList arguments) {
  std::string words;
  for (const QString& argument : arguments << QStringLiteral("--json"))
    words += tarnwick::cli_run::ShellWord(argument.toStdString()) + ' ';
  try {
    const std::string json = tarnwick::cli_run::CliJson(words).dump();
    return QJsonDocument::fromJson(QByteArray::fromStdString(json)).object();
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
