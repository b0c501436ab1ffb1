// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What a grid of figures shows: final hands, probabilities or returns. It is the "Style" the
// all-holds and statistics windows keep in the settings (0, 1, 2) and the command-line
// tool's --view.

#include <cstdint>

namespace tarnwick {

enum class TFigureView : int32_t { Hands = 0, Probability = 1, Return = 2 };

// A stored view number; anything outside 0..2 (a damaged settings file) shows hands.
constexpr TFigureView FigureViewOf(int32_t stored) {
  return stored >= 0 && stored <= 2 ? static_cast<TFigureView>(stored) : TFigureView::Hands;
}

}  // namespace tarnwick
