// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The one way the desktop program works off the window's thread. A runner owns a worker
// thread and runs its jobs there one at a time, in the order they were started; a job is a
// function that reports to a TProgress and may be cancelled through it. Its outcome comes
// back on the window's thread: the `done` callback when it ended, or the `failed` callback
// with its exception, never both, and nothing at all for a job that the runner dropped
// (cancelled, replaced by a newer job, or still running when the runner is destroyed).
//
// Two policies: newest-wins (a new job cancels and drops every job before it: the result
// of the latest request is the only one wanted) and queued (every job runs and is told).
// Because the jobs of a runner never overlap, state they share (an engine reused from job
// to job) needs no lock.
//
// Every job first passes HoldWorker, so that a test can hold it at its start.

#include <QObject>
#include <QString>
#include <exception>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include "parts/progress_dialog.h"

class QWidget;

namespace tarnwick::app {

enum class TJobPolicy { NewestWins, Queued };

class TJobRunner : public QObject {
  Q_OBJECT

 public:
  // Runs on the worker thread.
  using TWork = std::function<void(TProgress& progress)>;
  // Run on the window's thread.
  using TDone = std::function<void()>;
  using TFailed = std::function<void(const std::exception_ptr& failure)>;

  explicit TJobRunner(TJobPolicy policy, QObject* parent = nullptr);
  // Cancels every job and waits for the running one to stop; nothing more is told.
  ~TJobRunner() override;
  TJobRunner(const TJobRunner&) = delete;
  TJobRunner& operator=(const TJobRunner&) = delete;

  // Starts `work` after the jobs before it (newest-wins: after cancelling and dropping
  // them). Returns the job's progress, which the window may read and cancel: a job
  // cancelled so, not through the runner, ends with an AbortError told to `failed`.
  std::shared_ptr<TSharedProgress> Start(TWork work, TDone done, TFailed failed);
  // Cancels and drops every job started so far.
  void Cancel();
  // Whether a job was started whose outcome has not been told and that was not dropped.
  bool Busy() const;

  // Runs `work` on a runner of its own and returns when it has ended, passing on its
  // failure (an AbortError when it was aborted). Until GaugeDelay() has passed the windows
  // ignore input; then the progress dialog opens over `owner` with its Abort button.
  static void RunModal(QWidget* owner, const TWork& work);

 private:
  struct TJob;

  void WorkLoop();
  void Tell(const std::shared_ptr<TJob>& job, const std::exception_ptr& failure);

  const TJobPolicy policy_;
  // The jobs started, neither told nor dropped (the window's thread only).
  std::vector<std::shared_ptr<TJob>> open_;
  // The jobs waiting for the worker, shared with it under its lock.
  struct TQueue;
  std::unique_ptr<TQueue> queue_;
  std::thread worker_;
};

// The message of a failure told by a runner.
QString FailureText(const std::exception_ptr& failure);

}  // namespace tarnwick::app
