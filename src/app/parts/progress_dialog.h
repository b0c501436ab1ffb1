// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The progress dialog of long work that the windows wait for (the whole-game run of a pay
// table, run by TJobRunner::RunModal): a bar, the elapsed and the remaining time, and Abort
// (the close box and Escape abort too).

#include <QDialog>
#include <QElapsedTimer>
#include <functional>

#include "progress.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace tarnwick::app {

// What the worker reports, read by the window's thread.
class TSharedProgress : public TProgress {
 public:
  int64_t Total() const { return total_.load(std::memory_order_relaxed); }
  int64_t Done() const { return done_.load(std::memory_order_relaxed); }

 protected:
  void OnBegin(int64_t total) override { total_.store(total, std::memory_order_relaxed); }
  void OnStep(int64_t done) override { done_.store(done, std::memory_order_relaxed); }

 private:
  std::atomic<int64_t> total_{0};
  std::atomic<int64_t> done_{0};
};

class TfmGauge : public QDialog {
  Q_OBJECT

 public:
  TfmGauge(QWidget* parent, TSharedProgress& progress);

  QPushButton* AbortButton() const { return abort_; }
  QLabel* TimeLabel() const { return time_; }
  QLabel* LeftLabel() const { return left_; }
  // Shows how far the work is after `elapsed` milliseconds.
  void ShowProgress(int64_t elapsed);

 public slots:
  // Escape: abort, and stay open until the work has stopped.
  void reject() override;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  TSharedProgress& progress_;
  QLabel* time_;
  QLabel* left_;
  QProgressBar* bar_;
  QPushButton* abort_;
  QString timeText_;
  QString leftText_;
};

// Called with the progress dialog once it is shown (tests press its buttons from here).
void SetGaugeShownHook(std::function<void(TfmGauge&)> hook);
// Calls that hook, if any: the runner's part once it has shown the dialog.
void TellGaugeShown(TfmGauge& gauge);

}  // namespace tarnwick::app
