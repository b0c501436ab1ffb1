// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Progress of a whole-game run on the terminal, and Ctrl+C as its abort button.

#include <chrono>
#include <cstdint>
#include <iosfwd>

namespace tarnwick::cli {

// While it lives, Ctrl+C asks the running calculation to stop instead of killing the
// program, so that nothing half-computed is stored.
class TInterruptGuard {
 public:
  TInterruptGuard();
  ~TInterruptGuard();
  TInterruptGuard(const TInterruptGuard&) = delete;
  TInterruptGuard& operator=(const TInterruptGuard&) = delete;
  static bool Interrupted();
};

// Called with the deal classes done; draws a bar with the time left when `visible`, and
// raises AbortError once Ctrl+C was pressed.
class TProgressBar {
 public:
  TProgressBar(std::ostream& out, int32_t total, bool visible);
  void Report(int32_t done);
  // Clears the bar's line.
  void Finish();

 private:
  std::ostream& out_;
  int32_t total_;
  bool visible_;
  std::chrono::steady_clock::time_point start_;
  std::chrono::steady_clock::time_point lastDrawn_;
};

}  // namespace tarnwick::cli
