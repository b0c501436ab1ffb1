// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The exact return of a pay table while it is being typed: each change starts a whole-game
// run on a newest-wins runner, which cancels the one before it; only the newest result is
// told.

#include <QObject>
#include <memory>

#include "engine/poker_engine.h"

namespace tarnwick::app {

class TJobRunner;

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
  bool Busy() const;

 signals:
  // The table of the newest request with its whole-game counts and figures.
  void Ready(const tarnwick::TPayout& table);
  void Failed(const QString& message);

 private:
  // Used by one job at a time: the runner's jobs never overlap.
  std::unique_ptr<TPokerEngine> engine_;
  TJobRunner* runner_;
};

}  // namespace tarnwick::app
