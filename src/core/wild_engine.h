// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The wild-card engine: deuces, sevens, one or two jokers, or deuces and a joker. It keeps
// everything the natural engine counts for the final hands without a wild card and adds,
// for every hold, the final hands with at least one wild card by wild hand kind, folded
// into the same per-hold category counts. All wild cards of a game are interchangeable,
// so a hand's wild part is just its number of wild cards.

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "poker_engine.h"

namespace tarnwick {

class TWildEngine : public TPokerEngine {
 public:
  using TWildRow = std::array<int32_t, kWildHandKindCount>;

  // WildCounts[mask][kind]: draws of the hold whose final hand holds a wild card and is of
  // the wild kind. Row 0 also classifies the dealt hand itself.
  std::array<TWildRow, kMaskCount> WildCounts{};
  // The category a wild kind pays as (-1: nothing), from the pays of the current table.
  std::array<int32_t, kWildHandKindCount> WildKindToCategory{};
  // The wild kinds of each category, from the game description.
  std::array<TKindSet, kMaxCategories> WildKindSets{};

  TWildEngine();

  void BeginHandAnalysis() override;
  void Reset() override;
  void CheckCombination() override;
  void CheckEmpty() override;
  void CheckDraw(int mask) override;
  void FoldKindsIntoCategories() override;
  void RunPermutations() override;
  std::string VerifyDraw(int mask) override;
  void Check1(const TDealClass& deal) override;
  void CheckDrawQuick(int mask) override;
  void CheckEmptyQuick() override;
  void RecountStraightsAndFlushes() override;
  void ClearCountsQuick() override;
  void SetGame(const TPokerDescription& description) override;
  int DealtCategory() const override;
  int DealClassCount() const override;
  std::unique_ptr<TPokerEngine> NewWorker() const override;

  // Classifies DealtHand (five cards, `wilds` of them wild) and stores value at its kind.
  void InternalCheckCombination(int wilds, int mask, int32_t value);
  // Builds WildKindToCategory from the pays of the current table.
  void InternalSetPayout();
  // Counts the wild final hands of a hold that keeps at least one natural card.
  void CountWildDraw(int mask);
  // Counts the wild final hands of a hold that keeps no natural card.
  void InternalCheckEmpty(int mask);
  // Folds WildCounts into the per-hold category counts.
  void FoldWildKinds();
  // Sets the jokers and the wild rank of the deck and both hands.
  void SetWildSetup(int jokers, int wildRank);

  // Wild kind of a complete five-card hand, or -1 when it holds no wild card.
  static int ClassifyWild(const THand& hand);

 protected:
  TWildEngine(const TWildEngine&) = default;  // for NewWorker

 private:
  // Fills row `mask` of WildCounts for the kept cards in WorkHand.
  void CountWildKinds(int mask);
  int32_t FullDeckWilds = 0;  // wild cards in the game's full deck
};

// The engine for a game: natural when the game has no wild card.
std::unique_ptr<TPokerEngine> CreateEngineForGame(const TPokerDescription& description);

}  // namespace tarnwick
