// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/deal_groups.h"

#include "checked.h"
#include "engine/poker_engine.h"

namespace tarnwick {

size_t TDealOutcomeHash::operator()(const TDealOutcome& outcome) const {
  // FNV-1a over the numbers: the keys are few and small, any even spread will do.
  uint64_t hash = 14695981039346656037ULL;
  const auto mix = [&](int32_t value) {
    hash ^= static_cast<uint32_t>(value);
    hash *= 1099511628211ULL;
  };
  mix(outcome.Draws);
  for (const int32_t count : outcome.Counts) mix(count);
  return static_cast<size_t>(hash);
}

void TDealGroups::Add(const TDealOutcome& outcome, int64_t weight) {
  int64_t& deals = groups_[outcome];
  deals = tarnwick::Add(deals, weight);
}

void TDealGroups::Merge(const TDealGroups& other) {
  for (const auto& [outcome, deals] : other.groups_) Add(outcome, deals);
}

void TDealGroups::Visit(const TPokerEngine& engine, int best, int32_t weight) {
  TDealOutcome outcome;
  outcome.Draws = engine.DrawsOf(best);
  for (int c = 0; c <= engine.LastCategory; ++c)
    outcome.Counts[c] = static_cast<int32_t>(engine.CategoryDraws[best][c]);
  Add(outcome, weight);
}

std::unique_ptr<TDealVisitor> TDealGroups::NewPart() const {
  return std::make_unique<TDealGroups>();
}

void TDealGroups::Merge(const TDealVisitor& part) {
  Merge(dynamic_cast<const TDealGroups&>(part));
}

}  // namespace tarnwick
