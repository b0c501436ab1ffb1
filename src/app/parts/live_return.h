// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The exact return of a pay table while it is being typed: each change starts a whole-game
// run on a worker thread and cancels the one before it; only the newest result is told.

#include <QObject>
#include <memory>
#include <thread>

#include "engine/poker_engine.h"

namespace tarnwick::app {

class TLiveReturn : public QObject {
  Q_OBJECT

 public:
  TLiveReturn(const TPokerDescription& game, QObject* parent = nullptr);
  ~TLiveReturn() override;
  TLiveReturn(const TLiveReturn&) = delete;
  TLiveReturn& operator=(const TLiveReturn&) = delete;

  // Computes `table` (a copy), dropping any computation still running.
  void Request(const TPayout& table);
  // Whether a computation runs whose result has not been told yet.
  bool Busy() const { return busy_; }

 signals:
  // The table of the newest request with its whole-game counts and figures.
  void Ready(const tarnwick::TPayout& table);
  void Failed(const QString& message);

 private:
  void Stop();

  std::unique_ptr<TPokerEngine> engine_;
  std::unique_ptr<TProgress> progress_;
  std::thread worker_;
  uint64_t generation_ = 0;
  bool busy_ = false;
};

}  // namespace tarnwick::app
