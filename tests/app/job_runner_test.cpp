// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
// The job runner without any window: jobs are held at their start by a gate the test opens,
// and what is told comes back through the event loop of a QCoreApplication.

#include <QCoreApplication>
#include <QTest>
#include <future>
#include <mutex>

#include "app_test_support.h"
#include "errors.h"
#include "parts/job_runner.h"

using namespace tarnwick;
using namespace tarnwick::app;

namespace {

// What the jobs of a test told, in the order told: a job's name, or its name and failure.
struct TTold {
  QStringList Lines;
  std::shared_ptr<TSharedProgress> Start(
      TJobRunner& runner, const QString& name, TJobRunner::TWork work = [](TProgress&) {}) {
    return runner.Start(
        std::move(work), [this, name] { Lines << name; },
        [this, name](const std::exception_ptr& failure) {
          Lines << name + QStringLiteral(" failed: ") + FailureText(failure);
        });
  }
};

}  // namespace

class JobRunnerTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    test::FailOnWarnings();
    SetGaugeDelay(-1);
  }
  void cleanup() { SetGaugeDelay(300); }
  void NewestWinsDropsSupersededResults();
  void QueuedJobsRunInOrder();
  void CancelDropsRunningAndWaitingJobs();
  void FailuresArriveAsErrors();
  void DestructionWithAHeldJobJoins();
  void TheModalFormReturnsOrRethrows();
};

// A held job is cancelled by the next; a job that has ended but is not told yet is dropped
// too: only the newest result arrives.
void JobRunnerTest::NewestWinsDropsSupersededResults() {
  TTold told;
  TJobRunner runner(TJobPolicy::NewestWins);
  std::promise<void> firstEnded;
  told.Start(runner, "first", [&](TProgress&) { firstEnded.set_value(); });
  // The first job's result waits to be told: no event is handled before the next starts.
  firstEnded.get_future().wait();
  test::TWorkerGate gate;
  bool stepped = false;
  told.Start(runner, "second", [&](TProgress& progress) {
    progress.Begin(1);
    progress.Step(1);
    stepped = true;  // a held job that was cancelled never gets here
  });
  QTRY_COMPARE(gate.Arrived(), 1);
  told.Start(runner, "third");
  QVERIFY(runner.Busy());
  gate.Release();
  QTRY_VERIFY(!runner.Busy());
  QCOMPARE(gate.Arrived(), 2);
  QCOMPARE(told.Lines, QStringList{QStringLiteral("third")});
  QVERIFY(!stepped);
}

void JobRunnerTest::QueuedJobsRunInOrder() {
  TTold told;
  TJobRunner runner(TJobPolicy::Queued);
  test::TWorkerGate gate;
  std::mutex lock;
  QStringList ran;
  const QStringList order = {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")};
  for (const QString& name : order)
    told.Start(runner, name, [&, name](TProgress&) {
      const std::lock_guard guard(lock);
      ran << name;
    });
  QTRY_COMPARE(gate.Arrived(), 1);
  QVERIFY(runner.Busy());
  gate.Release();
  QTRY_VERIFY(!runner.Busy());
  QCOMPARE(told.Lines, order);
  const std::lock_guard guard(lock);
  QCOMPARE(ran, order);
}

// Cancel stops the held job, forgets the waiting one, and the runner takes new jobs.
void JobRunnerTest::CancelDropsRunningAndWaitingJobs() {
  TTold told;
  TJobRunner runner(TJobPolicy::Queued);
  test::TWorkerGate gate;
  told.Start(runner, "held");
  told.Start(runner, "waiting");
  QTRY_COMPARE(gate.Arrived(), 1);
  runner.Cancel();
  QVERIFY(!runner.Busy());
  told.Start(runner, "after");
  QTRY_COMPARE(gate.Arrived(), 2);
  gate.Release();
  QTRY_VERIFY(!runner.Busy());
  QCOMPARE(told.Lines, QStringList{QStringLiteral("after")});
  QCOMPARE(gate.Arrived(), 2);  // the waiting job never started
}

// A failure is told once, as an error and never as a result; so is the abort of a job
// cancelled through its own progress (the progress dialog's Abort), not through the runner.
void JobRunnerTest::FailuresArriveAsErrors() {
  TTold told;
  TJobRunner runner(TJobPolicy::Queued);
  told.Start(runner, "thrown", [](TProgress&) { throw InputError("no such pay"); });
  told.Start(runner, "odd", [](TProgress&) { throw 7; });
  {
    test::TWorkerGate gate;
    const auto held = told.Start(runner, "aborted", [](TProgress& progress) {
      progress.Begin(2);
      progress.Step(1);
    });
    QTRY_COMPARE(gate.Arrived(), 1);
    held->Cancel();
  }
  QTRY_VERIFY(!runner.Busy());
  QCOMPARE(told.Lines, (QStringList{QStringLiteral("thrown failed: no such pay"),
                                    QStringLiteral("odd failed: Unknown error"),
                                    QStringLiteral("aborted failed: Operation aborted")}));
}

void JobRunnerTest::DestructionWithAHeldJobJoins() {
  TTold told;
  auto runner = std::make_unique<TJobRunner>(TJobPolicy::Queued);
  test::TWorkerGate gate;
  bool ran = false;
  for (const char* name : {"held", "next"})
    told.Start(*runner, name, [&](TProgress&) { ran = true; });
  QTRY_COMPARE(gate.Arrived(), 1);
  runner.reset();  // returns once the held job has left: the gate is never released
  QCoreApplication::sendPostedEvents();
  QCoreApplication::processEvents();
  QVERIFY(!ran);
  QVERIFY(told.Lines.isEmpty());
  QCOMPARE(gate.Arrived(), 1);
}

void JobRunnerTest::TheModalFormReturnsOrRethrows() {
  // What each run ends with: nothing when it returns.
  const std::pair<TJobRunner::TWork, QString> cases[] = {
      {[](TProgress& progress) { progress.Begin(1); }, QString()},
      {[](TProgress&) { throw DataFileError("disk full"); }, QStringLiteral("threw disk full")},
      {[](TProgress& progress) {
         progress.Cancel();
         progress.Step(1);
       },
       QStringLiteral("aborted")},
  };
  for (const auto& [work, expected] : cases) {
    test::TWorkerGate gate;
    gate.Release();
    QString failure;
    try {
      TJobRunner::RunModal(nullptr, work);
    } catch (const AbortError&) {
      failure = QStringLiteral("aborted");
    } catch (const std::exception& e) {
      failure = QStringLiteral("threw ") + QString::fromUtf8(e.what());
    }
    QCOMPARE(failure, expected);
    QCOMPARE(gate.Arrived(), 1);  // it passed the hold
  }
}

int main(int argc, char** argv) {
  QCoreApplication application(argc, argv);
  JobRunnerTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "job_runner_test.moc"
