// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// How long work (a whole-game run, a bankroll chart) reports how far it is and learns that
// it should stop. The work calls Begin with its total, Step with the amount done so far,
// and End when it is over (after a failure too); a watcher (a progress dialog, a terminal
// bar, a newer request) may call Cancel from any thread, and the next Step then stops the
// work with an AbortError. A watcher may also raise AbortError from OnStep itself.

#include <atomic>
#include <cmath>
#include <cstdint>
#include <string>

#include "errors.h"

namespace tarnwick {

class TProgress {
 public:
  virtual ~TProgress() = default;

  // Called by the work, from one thread at a time.
  void Begin(int64_t total) { OnBegin(total); }
  // Raises AbortError once Cancel was called.
  void Step(int64_t done) {
    if (Cancelled()) throw AbortError();
    OnStep(done);
  }
  void End() noexcept {
    try {
      OnEnd();
    } catch (...) {
      // The end of the work is no place for a new failure.
    }
  }

  // Called by anyone, from any thread.
  void Cancel() { cancelled_.store(true, std::memory_order_relaxed); }
  bool Cancelled() const { return cancelled_.load(std::memory_order_relaxed); }

 protected:
  virtual void OnBegin(int64_t /*total*/) {}
  virtual void OnStep(int64_t /*done*/) {}
  virtual void OnEnd() {}

 private:
  std::atomic<bool> cancelled_{false};
};

// A duration as minutes and seconds, "mm:ss": at least two digits each, the minutes going
// on past 99 ("100:00" for 6000 s).
inline std::string FormatMinutesSeconds(int64_t milliseconds) {
  if (milliseconds < 0) milliseconds = 0;
  const int64_t minutes = milliseconds / 60000;
  const int64_t seconds = milliseconds / 1000 % 60;
  std::string text;
  if (minutes < 10) text += '0';
  text += std::to_string(minutes);
  text += ':';
  if (seconds < 10) text += '0';
  text += std::to_string(seconds);
  return text;
}

// The time still needed when `done` of `total` took `elapsed` milliseconds, at the same
// pace; 0 before anything is done.
inline int64_t RemainingMs(int64_t total, int64_t done, int64_t elapsed) {
  if (done <= 0 || done >= total) return 0;
  const double whole =
      static_cast<double>(total) / static_cast<double>(done) * static_cast<double>(elapsed);
  return std::llround(whole) - elapsed;
}

}  // namespace tarnwick
