// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Progress of long work on the terminal, and Ctrl+C as its abort button.

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <iosfwd>

#include "errors.h"
#include "progress.h"

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

// Ctrl+C came during a save, which was finished first; the message names the file saved.
class InterruptedAfterSave : public TarnwickError {
 public:
  using TarnwickError::TarnwickError;
};

// Runs a save to its end even when Ctrl+C is pressed meanwhile (the file then holds the
// run's changes, and the user is told so), and raises InterruptedAfterSave naming `file`
// once it has ended when Ctrl+C was pressed. A failed save raises its own error.
void SaveThenTakeInterrupt(const std::filesystem::path& file, const std::function<void()>& save);

// The progress of long work on the terminal: a bar with the time left when `visible`, and
// Ctrl+C (under a TInterruptGuard) as the abort button.
class TTerminalProgress : public TProgress {
 public:
  TTerminalProgress(std::ostream& out, bool visible);

 protected:
  void OnBegin(int64_t total) override;
  // Raises AbortError once Ctrl+C was pressed.
  void OnStep(int64_t done) override;
  // Clears the bar's line.
  void OnEnd() override;

 private:
  std::ostream& out_;
  bool visible_;
  int64_t total_ = 0;
  std::chrono::steady_clock::time_point start_;
  std::chrono::steady_clock::time_point lastDrawn_;
};

}  // namespace tarnwick::cli
