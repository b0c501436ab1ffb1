// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "parts/worker_hold.h"

#include <atomic>
#include <mutex>

namespace tarnwick::app {

namespace {

constexpr int kGaugeDelayMs = 300;

std::mutex holdLock;
// Built on first use: no function object is constructed before main.
TWorkerHold& InstalledHold() {
  static TWorkerHold hold;
  return hold;
}
std::atomic<int> gaugeDelay{kGaugeDelayMs};

}  // namespace

void SetWorkerHold(TWorkerHold hold) {
  const std::lock_guard lock(holdLock);
  InstalledHold() = std::move(hold);
}

void HoldWorker(TProgress& progress) {
  TWorkerHold hold;
  {
    const std::lock_guard lock(holdLock);
    hold = InstalledHold();
  }
  if (hold) hold(progress);
}

void SetGaugeDelay(int milliseconds) {
  gaugeDelay.store(milliseconds);
}

int GaugeDelay() {
  return gaugeDelay.load();
}

}  // namespace tarnwick::app
