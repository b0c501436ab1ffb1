// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The sizes of the long tests: the environment variable of the name when it is set, else
// the size the build was configured with (the sanitizer presets make the tests smaller;
// 0 when it set none), else the test's own default.

#include <algorithm>
#include <cstdlib>

namespace tarnwick::testing {

inline int TestSize(const char* name, int built, int fallback) {
  const char* text = std::getenv(name);
  if (text != nullptr && *text != '\0') return std::max(1, std::atoi(text));
  return built > 0 ? built : fallback;
}

}  // namespace tarnwick::testing
