// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A progress for the tests: hands every step to a function (which may raise AbortError to
// stop the work there) and counts Begin and End.

#include <cstdint>
#include <functional>
#include <utility>

#include "progress.h"

namespace tarnwick::test {

class TStepProgress : public TProgress {
 public:
  explicit TStepProgress(std::function<void(int64_t done)> step = {}) : step_(std::move(step)) {}

  int Begins = 0;
  int Ends = 0;
  int64_t Total = -1;

 protected:
  void OnBegin(int64_t total) override {
    ++Begins;
    Total = total;
  }
  void OnStep(int64_t done) override {
    if (step_) step_(done);
  }
  void OnEnd() override { ++Ends; }

 private:
  std::function<void(int64_t done)> step_;
};

}  // namespace tarnwick::test
