// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "terminal_progress.h"

#include <signal.h>

#include <csignal>
#include <cstdio>
#include <ostream>
#include <string>

#include "errors.h"

namespace tarnwick::cli {

namespace {

volatile std::sig_atomic_t interrupted = 0;

extern "C" void OnInterrupt(int) {
  interrupted = 1;
}

struct sigaction previousAction;

}  // namespace

TInterruptGuard::TInterruptGuard() {
  interrupted = 0;
  struct sigaction action {};
  action.sa_handler = OnInterrupt;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, &previousAction);
  // Ctrl+C works even when whoever started the program blocked it; one that arrived while it
  // was blocked is taken now, and the run stops at its first step.
  sigset_t interrupt;
  sigemptyset(&interrupt);
  sigaddset(&interrupt, SIGINT);
  pthread_sigmask(SIG_UNBLOCK, &interrupt, nullptr);
}

TInterruptGuard::~TInterruptGuard() {
  sigaction(SIGINT, &previousAction, nullptr);
}

bool TInterruptGuard::Interrupted() {
  return interrupted != 0;
}

void SaveThenTakeInterrupt(const std::filesystem::path& file, const std::function<void()>& save) {
  bool pressed = false;
  {
    const TInterruptGuard guard;  // Ctrl+C only marks the run as interrupted
    save();
    pressed = TInterruptGuard::Interrupted();
  }
  if (pressed) {
    throw InterruptedAfterSave("interrupted; the save under way was finished first, so \"" +
                               file.string() + "\" holds this run's changes");
  }
}

TTerminalProgress::TTerminalProgress(std::ostream& out, bool visible)
    : out_(out), visible_(visible) {}

void TTerminalProgress::OnBegin(int64_t total) {
  total_ = total;
  start_ = std::chrono::steady_clock::now();
}

void TTerminalProgress::OnStep(int64_t done) {
  if (TInterruptGuard::Interrupted()) throw AbortError();
  if (!visible_ || total_ <= 0) return;
  const auto now = std::chrono::steady_clock::now();
  if (now - lastDrawn_ < std::chrono::milliseconds(100) && done < total_) return;
  lastDrawn_ = now;
  const double fraction = static_cast<double>(done) / static_cast<double>(total_);
  const double elapsed = std::chrono::duration<double>(now - start_).count();
  const double left = fraction > 0 ? elapsed * (1 - fraction) / fraction : 0;
  constexpr int kWidth = 30;
  const int filled = static_cast<int>(fraction * kWidth);
  char line[128];
  std::snprintf(line, sizeof line, "\r[%s%s] %5.1f %%  %6.1f s left ",
                std::string(filled, '#').c_str(), std::string(kWidth - filled, '.').c_str(),
                100 * fraction, left);
  out_ << line << std::flush;
}

void TTerminalProgress::OnEnd() {
  if (visible_) out_ << '\r' << std::string(60, ' ') << '\r' << std::flush;
}

}  // namespace tarnwick::cli
