// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The deals of a whole-game run grouped by how their best hold ends. Two deals whose best
// holds have the same number of equally likely draws and the same draws in every category
// end alike: every line drawn from either has the same chance of every category. Several
// lines drawn from one deal are therefore counted group by group, from a few thousand
// groups instead of millions of deals.

#include <array>
#include <cstddef>
#include <cstdint>
#include <unordered_map>

#include "engine/games.h"

namespace tarnwick {

// How the best hold of a deal ends: its draws, and of them those ending in each category
// (those of no category pay nothing).
struct TDealOutcome {
  int32_t Draws = 0;
  std::array<int32_t, kMaxCategories> Counts{};

  bool operator==(const TDealOutcome&) const = default;
};

struct TDealOutcomeHash {
  size_t operator()(const TDealOutcome& outcome) const;
};

class TDealGroups {
 public:
  using TMap = std::unordered_map<TDealOutcome, int64_t, TDealOutcomeHash>;

  // Counts `weight` more deals of this outcome.
  void Add(const TDealOutcome& outcome, int64_t weight);
  // Adds another run's groups (one worker's share of the deals).
  void Merge(const TDealGroups& other);
  void Clear() { groups_.clear(); }
  // Each outcome with its number of deals.
  const TMap& Groups() const { return groups_; }

 private:
  TMap groups_;
};

}  // namespace tarnwick
