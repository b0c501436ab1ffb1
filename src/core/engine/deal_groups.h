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
#include <memory>
#include <unordered_map>

#include "engine/games.h"

namespace tarnwick {

class TPokerEngine;

// Sees every deal class of a whole-game run as it is played: the engine then holds the
// class's dealt hand (one suit pattern standing for `weight` deals) and the counts of all
// 32 holds, `best` being the best hold. A run on several threads gives each worker a part of
// its own (NewPart) and adds the parts back (Merge) in no fixed order, so what a visitor
// keeps must not depend on the order of the deals: whole numbers, not rounded sums.
class TDealVisitor {
 public:
  virtual ~TDealVisitor() = default;
  virtual void Visit(const TPokerEngine& engine, int best, int32_t weight) = 0;
  virtual std::unique_ptr<TDealVisitor> NewPart() const = 0;
  // `part` is one made by NewPart of this visitor.
  virtual void Merge(const TDealVisitor& part) = 0;
};

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

class TDealGroups : public TDealVisitor {
 public:
  using TMap = std::unordered_map<TDealOutcome, int64_t, TDealOutcomeHash>;

  // Counts `weight` more deals of this outcome.
  void Add(const TDealOutcome& outcome, int64_t weight);
  // Adds another run's groups (one worker's share of the deals).
  void Merge(const TDealGroups& other);

  // The deal's best hold: its draws and its draws in every category.
  void Visit(const TPokerEngine& engine, int best, int32_t weight) override;
  std::unique_ptr<TDealVisitor> NewPart() const override;
  void Merge(const TDealVisitor& part) override;
  void Clear() { groups_.clear(); }
  // Each outcome with its number of deals.
  const TMap& Groups() const { return groups_; }

 private:
  TMap groups_;
};

}  // namespace tarnwick
