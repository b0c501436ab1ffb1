// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "parts/live_return.h"

#include "engine/wild_engine.h"
#include "parts/qt_text.h"
#include "parts/worker_hold.h"

namespace tarnwick::app {

TLiveReturn::TLiveReturn(const TPokerDescription& game, QObject* parent)
    : QObject(parent), engine_(CreateEngineForGame(game)) {}

TLiveReturn::~TLiveReturn() {
  Stop();
}

void TLiveReturn::Stop() {
  // A cancelled run stops at its next report, within a hundred deal classes.
  if (progress_) progress_->Cancel();
  if (worker_.joinable()) worker_.join();
  progress_.reset();
}

void TLiveReturn::Request(const TPayout& table) {
  Stop();
  const uint64_t generation = ++generation_;
  busy_ = true;
  progress_ = std::make_unique<TProgress>();
  TProgress* progress = progress_.get();
  TPokerEngine* engine = engine_.get();
  worker_ = std::thread([this, engine, progress, generation, table] {
    TPayout computed;
    computed.Assign(table);
    computed.ClearCounts();
    QString failure;
    bool done = false;
    try {
      HoldWorker(*progress);
      engine->SetPayout(&computed);
      engine->SetProgress(progress);
      engine->CalcGameAdvantage();
      done = true;
    } catch (const AbortError&) {
      // A newer request took over.
    } catch (const std::exception& e) {
      failure = Q(e.what());
    }
    engine->SetPayout(nullptr);
    engine->SetProgress(nullptr);
    if (!done && failure.isEmpty()) return;
    // Told on the window's thread, and only while no newer request was made.
    QMetaObject::invokeMethod(
        this,
        [this, generation, computed, failure] {
          if (generation != generation_) return;
          busy_ = false;
          if (failure.isEmpty()) {
            emit Ready(computed);
          } else {
            emit Failed(failure);
          }
        },
        Qt::QueuedConnection);
  });
}

}  // namespace tarnwick::app
