// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later

// Playing the deal classes of a whole-game run on several threads.
//
// Each worker thread has an engine of its own (its own deck, hands, counts and calculator)
// and a pay table of its own that only collects counts. The classes are cut into pieces of
// whole rank groups, so that a class played with the quick analysis always follows, on the
// same engine, the class of its group that was played in full. A class's counts therefore
// do not depend on which worker plays it, and the integer sums of the workers' tables add
// up to exactly what one engine playing every class in order adds up.
//
// The caller's thread only reports progress: every few milliseconds it looks at the classes
// done in total and calls the progress handler once for each multiple of 100 passed, in
// order. When the handler raises (an abort), every worker stops before its next class,
// the counts made so far are added to the pay table and the error goes on to the caller.

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <limits>
#include <mutex>
#include <thread>

#include "checked.h"
#include "engine/poker_engine.h"
#include "errors.h"

namespace tarnwick {

namespace {

// Classes per piece of work: small enough that two threads finish within a fraction of a
// millisecond of each other and that progress comes often, large enough that taking a
// piece and counting it done cost nothing.
constexpr size_t kPieceClasses = 64;
constexpr int kReportEvery = 100;  // classes between two progress reports
// How long the reporting thread sleeps between looks at the classes done.
constexpr std::chrono::milliseconds kReportPause{2};

// Indices where the pieces start, and the end of the list last.
std::vector<size_t> PieceStarts(const std::vector<TDealClass>& classes) {
  std::vector<size_t> starts;
  size_t start = 0;
  for (size_t i = 0; i < classes.size(); ++i) {
    if (i == 0 || (classes[i].Full && i - start >= kPieceClasses)) {
      starts.push_back(i);
      start = i;
    }
  }
  starts.push_back(classes.size());
  return starts;
}

// What the workers and the reporting thread share.
struct TSharedRun {
  std::atomic<size_t> NextPiece{0};
  std::atomic<int32_t> Done{0};  // classes finished in this list
  // Classes from this index on are not played: the first class that failed so far, 0
  // after an abort. The classes before a failed one are still played, so the failure that
  // comes first in run order is always found, whichever worker meets one first.
  std::atomic<size_t> Limit{std::numeric_limits<size_t>::max()};
  std::mutex Mutex;
  std::condition_variable Wake;
  int Running = 0;  // workers still at work (under Mutex)
  // The first class in run order that raised an error, and the error (under Mutex).
  size_t FailedClass = std::numeric_limits<size_t>::max();
  std::exception_ptr Failure;
};

void Work(TPokerEngine& engine, const std::vector<TDealClass>& classes,
          const std::vector<size_t>& starts, int32_t offset, TSharedRun& shared) {
  for (;;) {
    const size_t piece = shared.NextPiece.fetch_add(1);
    if (piece + 1 >= starts.size() || starts[piece] >= shared.Limit.load()) break;
    int32_t played = 0;
    for (size_t i = starts[piece]; i < starts[piece + 1]; ++i) {
      if (i >= shared.Limit.load(std::memory_order_relaxed)) break;
      // The class's place in the whole run, as the one-thread run would count it: an
      // error names the same class whatever the number of threads.
      engine.ProgressCounter = offset + static_cast<int32_t>(i);
      try {
        const TDealClass& deal = classes[i];
        if (deal.Full) {
          engine.Check(deal);
        } else {
          engine.Check1(deal);
        }
      } catch (...) {
        const std::lock_guard lock(shared.Mutex);
        if (i < shared.FailedClass) {
          shared.FailedClass = i;
          shared.Failure = std::current_exception();
          if (i < shared.Limit.load()) shared.Limit.store(i);
        }
        break;
      }
      ++played;
    }
    // The classes done are counted once per piece: a shared counter touched after every
    // class would cost the workers more than the counting itself.
    shared.Done.fetch_add(played);
  }
  {
    const std::lock_guard lock(shared.Mutex);
    --shared.Running;
  }
  shared.Wake.notify_one();
}

}  // namespace

void TPokerEngine::SetThreadCount(int threads) {
  CheckRange(threads, 0, kMaxThreads, "thread count");
  ThreadCount = threads;
}

int TPokerEngine::RunThreadCount() const {
  if (ThreadCount > 0) return std::min(static_cast<int>(ThreadCount), kMaxThreads);
  const unsigned hardware = std::thread::hardware_concurrency();
  return std::clamp(static_cast<int>(hardware), 1, kMaxThreads);
}

void TPokerEngine::PlayDealClasses(const std::vector<TDealClass>& classes) {
  std::vector<std::unique_ptr<TPokerEngine>> workers;
  const int threads = RunThreadCount();
  for (int t = 0; t < threads && threads > 1 && classes.size() > 1; ++t) {
    workers.push_back(NewWorker());
    if (workers.back() == nullptr) {
      workers.clear();
      break;
    }
  }
  if (workers.empty()) {
    for (const TDealClass& deal : classes) {
      if (deal.Full) {
        Check(deal);
      } else {
        Check1(deal);
      }
    }
    return;
  }

  // Each worker adds into a pay table of its own: the same pays, counts from zero.
  // Each is allocated on its own, so that no two workers write to one cache line.
  std::vector<std::unique_ptr<TPayout>> tallies;
  std::vector<std::unique_ptr<TDealVisitor>> parts;
  for (const auto& worker : workers) {
    tallies.push_back(std::make_unique<TPayout>());
    tallies.back()->Assign(*Payout);
    tallies.back()->ClearCounts();
    worker->Payout = tallies.back().get();
    worker->Progress = nullptr;
    parts.push_back(Visitor != nullptr ? Visitor->NewPart() : nullptr);
    worker->Visitor = parts.back().get();
  }
  const std::vector<size_t> starts = PieceStarts(classes);
  const int32_t offset = ProgressCounter;
  TSharedRun shared;
  shared.Running = static_cast<int>(workers.size());
  std::exception_ptr abort;
  int32_t abortAt = 0;
  {
    std::vector<std::jthread> running;
    running.reserve(workers.size());
    for (auto& worker : workers) {
      running.emplace_back(
          [&, engine = worker.get()] { Work(*engine, classes, starts, offset, shared); });
    }
    int32_t reported = offset;
    std::unique_lock lock(shared.Mutex);
    for (;;) {
      // Without a handler there is nothing to report before the end; with one, the reports
      // due are made every few milliseconds (waking for each would take a core's time
      // from the workers).
      const auto finished = [&] { return shared.Running == 0; };
      if (Progress != nullptr) {
        shared.Wake.wait_for(lock, kReportPause, finished);
      } else {
        shared.Wake.wait(lock, finished);
      }
      const bool over = shared.Running == 0;
      const int32_t done = offset + shared.Done.load();
      lock.unlock();
      // No report counts a class at or after one that failed: the one-thread run stops there.
      const int32_t reachable =
          static_cast<int32_t>(std::min<size_t>(shared.Limit.load(), classes.size()));
      for (int32_t m = (reported / kReportEvery + 1) * kReportEvery;
           m <= std::min(done, offset + reachable) && !abort; m += kReportEvery) {
        ProgressCounter = m;
        if (Progress == nullptr) continue;
        try {
          Progress->Step(m);
        } catch (...) {
          abort = std::current_exception();
          abortAt = m;
          const std::lock_guard stop(shared.Mutex);
          shared.Limit.store(0);
        }
      }
      reported = done;
      if (over || abort) break;
      lock.lock();
    }
  }  // the threads are joined here

  // Whatever the workers counted goes into the caller's pay table, complete or not.
  for (const auto& tally : tallies) {
    for (size_t d = 0; d < tally->Deals.size(); ++d) {
      Payout->Deals[d] = Add(Payout->Deals[d], tally->Deals[d]);
      // Below 2^126 all together (TPayout::BestSquares): the sum of the parts cannot wrap.
      Payout->BestSquares[d] += tally->BestSquares[d];
      for (int c = 0; c <= LastCategory; ++c)
        Payout->Counts[d][c] = Add(Payout->Counts[d][c], tally->Counts[d][c]);
    }
  }
  for (const auto& part : parts) {
    if (part != nullptr) Visitor->Merge(*part);
  }
  // An error of a class that comes before the report of the abort wins, as it would have
  // stopped the one-thread run first.
  if (shared.Failure && (!abort || shared.FailedClass < static_cast<size_t>(abortAt - offset))) {
    ProgressCounter = offset + static_cast<int32_t>(shared.FailedClass);
    std::rethrow_exception(shared.Failure);
  }
  if (abort) {
    // The handler raised at the report that counts class abortAt: the one-thread run
    // would have been inside that class's Check or Check1.
    const TDealClass& deal = classes[abortAt - 1 - offset];
    try {
      std::rethrow_exception(abort);
    } catch (...) {
      RethrowWithContext(std::string("Error calculate natural case ") +
                         (deal.Full ? "(Check)" : "(Check1)") +
                         " Progress=" + std::to_string(abortAt));
    }
  }
  ProgressCounter = offset + static_cast<int32_t>(classes.size());
}

}  // namespace tarnwick
