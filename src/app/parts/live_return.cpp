// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "parts/live_return.h"

#include "engine/wild_engine.h"
#include "parts/job_runner.h"

namespace tarnwick::app {

TLiveReturn::TLiveReturn(const TPokerDescription& game, QObject* parent)
    : QObject(parent),
      engine_(CreateEngineForGame(game)),
      runner_(new TJobRunner(TJobPolicy::NewestWins, this)) {}

TLiveReturn::~TLiveReturn() {
  // The running job uses the engine: it stops before the engine goes.
  delete runner_;
}

bool TLiveReturn::Busy() const {
  return runner_->Busy();
}

void TLiveReturn::Request(const TPayout& table) {
  auto computed = std::make_shared<TPayout>();
  computed->Assign(table);
  computed->ClearCounts();
  TPokerEngine* engine = engine_.get();
  runner_->Start(
      [engine, computed](TProgress& progress) {
        engine->SetPayout(computed.get());
        engine->SetProgress(&progress);
        try {
          engine->CalcGameAdvantage();
        } catch (...) {
          engine->SetPayout(nullptr);
          engine->SetProgress(nullptr);
          throw;
        }
        engine->SetPayout(nullptr);
        engine->SetProgress(nullptr);
      },
      [this, computed] { emit Ready(*computed); },
      [this](const std::exception_ptr& failure) { emit Failed(FailureText(failure)); });
}

}  // namespace tarnwick::app
