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

#include "engine/poker_engine.h"

namespace tarnwick {

class TWildEngine : public TPokerEngine {
 public:
  using TWildRow = std::array<int32_t, kWildHandKindCount>;
  using TRankWeights = std::array<int32_t, kRankCount>;
  // Completions that fit a straight: ace to five, any other window without an ace, ten to
  // ace (with or without the ace).
  using TFits = std::array<int32_t, 3>;
  // Elementary symmetric sums e_0..e_4 of deck counts.
  using TSums = std::array<int32_t, 5>;

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
  // Folds the wild kinds of holds firstMask..lastMask into their category counts (adding).
  void FoldWildHolds(int firstMask, int lastMask);
  // Sets the jokers and the wild rank of the deck and both hands.
  void SetWildSetup(int jokers, int wildRank);

  // Wild kind of a complete five-card hand, or -1 when it holds no wild card.
  static int ClassifyWild(const THand& hand);

 protected:
  TWildEngine(const TWildEngine&) = default;  // for NewWorker
  void FoldHolds(int firstMask, int lastMask) override;

 private:
  // What the wild counts of one hold owe to the ranks alone. A change of suits keeps it,
  // so the quick analysis of another suit pattern only adds the suits' part to it.
  struct TWildRankPart {
    // [w] for w = 1..3 wild cards in the final hand: the ways to draw the wild cards the
    // hand still needs (0: no final hand of the group), the completions with naturals of
    // different ranks, none held, and those of them that fit a straight.
    std::array<int32_t, 4> Factor{};
    std::array<int32_t, 4> Different{};
    std::array<TFits, 4> Fits{};
    // One wild card, no king or ace held: the same without kings and aces.
    bool SplitsLow = false;
    int32_t LowDifferent = 0;
    int32_t LowFits = 0;
    // The final naturals could be all of one suit when the suit kinds were last counted.
    bool Suited = false;
  };
  // A flush of the final naturals is possible: the kept naturals are of different ranks
  // and of one suit (or there are none).
  static bool HasFlushSuits(const TKeptCards& kept);
  TFoldPlan wildFold_;  // made by InternalSetPayout
  // The deck's counts by rank and its cards of each suit, the wild rank left out, made once
  // per dealt hand (by BeginHandAnalysis, and by ClearCountsQuick for a new suit pattern).
  void PrepareDeckTables();
  // Fills row `mask` of WildCounts for the hold's kept cards: the ranks' part, then the
  // suits' part.
  void CountWildKinds(int mask);
  // Sets the kinds a change of suits cannot change and fills rankParts_[mask].
  void CountWildRankKinds(int mask);
  // What the wild counts of a hold owe to the counts of its ranks alone, whichever ranks
  // they are: holds of one deal with the same wild cards kept and the same (deck count,
  // kept count) pairs of the dealt ranks share it. The counts are for the row, the wild
  // cards to draw already multiplied in.
  struct TWildShape {
    uint32_t Groups = 0;  // bit w: final hands with w = 1..3 wild cards are possible
    std::array<int32_t, 4> Factor{};
    std::array<int32_t, 4> Different{};
    TSums DistinctWays{};  // draws of j different ranks, none kept, for j = 0..4
    std::array<std::array<int32_t, 5>, 5> Fives{};  // [deck count][kept count] of a rank
    int32_t PairAndSingle = 0;                      // WILD_2_AND_2_1
    int32_t TripsAndSingle = 0;                     // WILD_1_AND_3_1
    int32_t TwoPairs = 0;                           // WILD_1_AND_2_2
    int32_t PairAndSingles = 0;                     // WILD_1_AND_2_1_1
  };
  const TWildShape& WildShapeOf(int mask);
  void CountWildShape(int mask, TWildShape& shape);
  TShapeCache<TWildShape> wildShapes_;
  // Sets the kinds that depend on suits (flushes, straights and what is left of the
  // different ranks) from rankParts_[mask] and the suits of the kept cards and the deck.
  void CountWildSuitKinds(int mask, const TKeptCards& kept);
  // The wild part of the quick steps: the suit kinds of the hold counted again.
  void RecountWildSuitKinds(int mask);

  int32_t fullDeckWilds_ = 0;  // wild cards in the game's full deck
  TRankWeights deckRanks_{};   // deck count of each natural rank (0 for the wild rank)
  std::array<uint32_t, kSuitCount> deckSuits_{};  // bit r: the deck holds rank r of the suit
  int32_t pairsOfAll_ = 0;    // sum of C(n, 2) over the ranks: two-pair completions
  int32_t pairsSquared_ = 0;  // sum of C(n, 2)^2 over the ranks
  std::array<TWildRankPart, kMaskCount> rankParts_{};
};

// The engine for a game: natural when the game has no wild card.
std::unique_ptr<TPokerEngine> CreateEngineForGame(const TPokerDescription& description);

}  // namespace tarnwick
