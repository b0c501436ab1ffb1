// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "parts/job_runner.h"

#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <condition_variable>
#include <deque>
#include <mutex>

#include "errors.h"
#include "parts/guard.h"
#include "parts/vector_state.h"
#include "parts/worker_hold.h"

namespace tarnwick::app {

struct TJobRunner::TJob {
  TWork Work;  // the worker's, until the job ends
  TDone Done;
  TFailed Failed;
  std::shared_ptr<TSharedProgress> Progress = std::make_shared<TSharedProgress>();
  bool Dropped = false;  // the window's thread only
};

struct TJobRunner::TQueue {
  std::mutex Lock;
  std::condition_variable Changed;
  std::deque<std::shared_ptr<TJob>> Jobs;
  bool Stopping = false;
};

TJobRunner::TJobRunner(TJobPolicy policy, QObject* parent)
    : QObject(parent), policy_(policy), queue_(std::make_unique<TQueue>()) {}

TJobRunner::~TJobRunner() {
  Cancel();
  {
    const std::lock_guard lock(queue_->Lock);
    queue_->Stopping = true;
  }
  queue_->Changed.notify_all();
  // A cancelled job stops at its next progress step.
  if (worker_.joinable()) worker_.join();
}

bool TJobRunner::Busy() const {
  return !open_.empty();
}

std::shared_ptr<TSharedProgress> TJobRunner::Start(TWork work, TDone done, TFailed failed) {
  if (policy_ == TJobPolicy::NewestWins) Cancel();
  auto job = std::make_shared<TJob>();
  job->Work = std::move(work);
  job->Done = std::move(done);
  job->Failed = std::move(failed);
  open_.push_back(job);
  {
    const std::lock_guard lock(queue_->Lock);
    queue_->Jobs.push_back(job);
  }
  queue_->Changed.notify_all();
  // The thread is made with the first job: a window that never computes has none.
  if (!worker_.joinable()) worker_ = std::thread([this] { WorkLoop(); });
  return job->Progress;
}

void TJobRunner::Cancel() {
  {
    // The jobs that have not begun are forgotten at once.
    const std::lock_guard lock(queue_->Lock);
    queue_->Jobs.clear();
  }
  for (const std::shared_ptr<TJob>& job : open_) {
    job->Dropped = true;
    job->Progress->Cancel();
  }
  open_.clear();
}

void TJobRunner::WorkLoop() {
  ClearUpperVectorState();
  for (;;) {
    std::shared_ptr<TJob> job;
    {
      std::unique_lock lock(queue_->Lock);
      queue_->Changed.wait(lock, [this] { return queue_->Stopping || !queue_->Jobs.empty(); });
      if (queue_->Stopping) return;
      job = std::move(queue_->Jobs.front());
      queue_->Jobs.pop_front();
    }
    std::exception_ptr failure;
    try {
      HoldWorker(*job->Progress);
      if (job->Progress->Cancelled()) throw AbortError();
      job->Work(*job->Progress);
    } catch (...) {
      failure = std::current_exception();
    }
    job->Work = nullptr;
    // Told on the window's thread; dropped there when it was cancelled meanwhile. A runner
    // destroyed first has joined this thread before the call could be lost.
    QMetaObject::invokeMethod(
        this, [this, job, failure] { Tell(job, failure); }, Qt::QueuedConnection);
  }
}

void TJobRunner::Tell(const std::shared_ptr<TJob>& job, const std::exception_ptr& failure) {
  if (job->Dropped) return;
  open_.erase(std::remove(open_.begin(), open_.end(), job), open_.end());
  // The callback may start jobs or destroy the runner: nothing of it is used afterwards.
  if (failure) {
    const TFailed failed = std::move(job->Failed);
    job->Done = nullptr;
    if (failed) failed(failure);
  } else {
    const TDone done = std::move(job->Done);
    job->Failed = nullptr;
    if (done) done();
  }
}

void TJobRunner::RunModal(QWidget* owner, const TWork& work) {
  TJobRunner runner(TJobPolicy::Queued);
  std::exception_ptr failure;
  bool ended = false;
  QEventLoop loop;
  QElapsedTimer clock;
  clock.start();
  const std::shared_ptr<TSharedProgress> progress = runner.Start(
      work,
      [&] {
        ended = true;
        loop.quit();
      },
      [&](const std::exception_ptr& error) {
        failure = error;
        ended = true;
        loop.quit();
      });
  {
    // A short run shows nothing; the windows take no input meanwhile.
    QTimer wait;
    wait.setSingleShot(true);
    QObject::connect(&wait, &QTimer::timeout, &loop, &QEventLoop::quit);
    if (GaugeDelay() >= 0) wait.start(GaugeDelay());
    loop.exec(QEventLoop::ExcludeUserInputEvents);
  }
  if (!ended) {
    TfmGauge gauge(owner, *progress);
    gauge.setWindowModality(Qt::ApplicationModal);
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, &gauge, [&] { gauge.ShowProgress(clock.elapsed()); });
    tick.start(100);
    gauge.show();
    TellGaugeShown(gauge);
    if (!ended) loop.exec();
  }
  if (failure) std::rethrow_exception(failure);
}

QString FailureText(const std::exception_ptr& failure) {
  try {
    std::rethrow_exception(failure);
  } catch (...) {
    return CurrentErrorText();
  }
}

}  // namespace tarnwick::app
