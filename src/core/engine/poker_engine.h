// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The natural engine: exact outcome counts of all 32 holds of a dealt hand of a game
// without wild cards. Its fifteen virtual operations (slots 0..14 below) are the steps of
// every analysis; the wild-card engine derives from it and replaces each step while keeping
// the sequences.

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/calculator.h"
#include "engine/cards.h"
#include "engine/deal_classes.h"
#include "engine/deal_groups.h"
#include "engine/games.h"
#include "engine/hold_tables.h"
#include "engine/payout.h"
#include "progress.h"

namespace tarnwick {

// Most threads a whole-game run accepts.
inline constexpr int kMaxThreads = 256;

class TPokerEngine {
 public:
  using TKindRow = std::array<int32_t, kHandKindCount>;
  // Straights found by one straight count: ace low, any other, ace high; Possible is false
  // when no window and no wheel can be completed.
  struct TStraightCounts {
    int32_t Wheel = 0;
    int32_t Other = 0;
    int32_t AceHigh = 0;
    bool Possible = false;
  };

  TPokerEngine();
  virtual ~TPokerEngine() = default;
  TPokerEngine& operator=(const TPokerEngine&) = delete;

  int32_t GameId = 0;
  std::string GameName;
  TDeck Deck;       // the cards not in the dealt hand
  THand DealtHand;  // the five dealt cards in position order
  THand WorkHand;   // scratch: the kept cards of the hold being counted
  // KindCount[mask][kind]: equally likely draws of the hold that end in the kind.
  // Row 0 is the standing hand (one entry set to 1).
  std::array<TKindRow, kMaskCount> KindCount{};
  std::array<int32_t, kHandKindCount> KindToCategory{};  // -1 pays nothing
  // CategoryDraws[mask][category]: draws of the hold that end in the paying category.
  // CategoryCount(category, mask) reads it with checks and also answers the "nothing" row.
  std::array<TCategoryRow, kMaskCount> CategoryDraws{};
  int32_t LastCategory = 0;
  std::vector<std::string> CategoryNameList;
  TPayout* Payout = nullptr;      // current pay table, not owned; may be empty
  TProgress* Progress = nullptr;  // of the whole-game run, not owned; may be empty
  // Not owned; when set, the whole-game run shows it every deal class it plays (the deal
  // groups of multi-play are one such visitor).
  TDealVisitor* Visitor = nullptr;
  int32_t ProgressCounter = 0;  // deal classes processed in the current whole-game run
  TCalculator Calculator;       // the counting building blocks of this engine
  // Threads of the whole-game run; 0 takes one per hardware thread. With more than one,
  // worker engines share the deal classes out and their integer counts are summed, so
  // every count is the same whatever the number of threads.
  int32_t ThreadCount = 0;

  // The steps of every analysis, in slot order.
  virtual void BeginHandAnalysis();                            // 0
  virtual void Reset();                                        // 1
  virtual void CheckCombination();                             // 2
  virtual void CheckEmpty();                                   // 3
  virtual void CheckDraw(int mask);                            // 4
  virtual void FoldKindsIntoCategories();                      // 5
  virtual void RunPermutations();                              // 6
  virtual std::string VerifyDraw(int mask);                    // 7
  virtual void Check1(const TDealClass& deal);                 // 8
  virtual void CheckDrawQuick(int mask);                       // 9
  virtual void CheckEmptyQuick();                              // 10
  virtual void ClearCountsQuick();                             // 11
  virtual void SetGame(const TPokerDescription& description);  // 12
  virtual int DealtCategory() const;                           // 13
  virtual int DealClassCount() const;                          // 14

  // "Calculate overall permutations": plays every deal class with its best hold and adds
  // the outcome counts into the pay table, which then derives its return and chances.
  // The progress (SetProgress) runs from Begin(DealClassCount()) to End, with a Step every
  // 100 classes; the run stops with AbortError (with context lines) when it is cancelled.
  void CalcGameAdvantage();
  // Plays one deal class with a full analysis.
  void Check(const TDealClass& deal);
  // GetTheBest for another suit pattern of the ranks the previous call analysed: only the
  // counts a change of suits can change are counted again.
  int GetTheBestQuick();

  // Stores the pay table (not owned); a non-empty table is reset to this game.
  void SetPayout(TPayout* payout);
  // The progress of the next whole-game runs (not owned; null for none).
  void SetProgress(TProgress* progress);
  // 0 (one per hardware thread) or 1..kMaxThreads.
  void SetThreadCount(int threads);
  // The threads the next whole-game run uses.
  int RunThreadCount() const;
  // A new engine of the same kind, game and pay table, for one worker of the whole-game
  // run; nullptr when this engine cannot make one (a derived engine that does not say
  // how), in which case the run plays every class on the caller's thread.
  virtual std::unique_ptr<TPokerEngine> NewWorker() const;
  // Counts one deal class; reports progress after every 100.
  void Tick();
  // Expected pay of a hold, in the coins of the pay table's pays.
  long double DrawReturn(int mask) const;
  // Analyses DealtHand and returns the best hold (ties keep the lower mask).
  int GetTheBest();
  // Draws of the hold that end in the category; a category above LastCategory answers the
  // draws that pay nothing.
  int64_t CategoryCount(int category, int mask) const;
  // Probability that the draw of the hold ends in the category.
  long double MaskCategoryChance(int category, int mask) const;
  // Empties the dealt hand and refills the deck.
  void ClearDealtAndDeck();
  // Deals five card codes: empties the hand, refills the deck and moves the cards over.
  void DealCards(const std::array<int, kHandSize>& codes);
  // Number of equally likely draws of a hold: C(deck Total, cards drawn).
  int32_t DrawsOf(int mask) const;

  // Kind of a complete five-card hand without wild cards, or -1 when it has none.
  static int ClassifyNatural(const THand& hand);
  // The kind of a hand ClassifyNatural gave `kind`, with four of a kind told apart by its
  // kicker (kKickerFours) as the kicker games count it.
  static int WithKicker(int kind, const THand& hand);

 protected:
  // Copies the game, the pay table pointer and the counts: the start of a worker.
  TPokerEngine(const TPokerEngine&) = default;
  // Plays deal classes in their order with Check or Check1, on worker threads when the run
  // has more than one: see the implementation for how progress and abort work there.
  void PlayDealClasses(const std::vector<TDealClass>& classes);
  // Folds the kinds of holds firstMask..lastMask into their category counts (adding).
  virtual void FoldHolds(int firstMask, int lastMask);
  // VerifyDraw's listing: every draw of the hold `mask`, card by card from the deck as it
  // is (its wild cards too, as rank -1, when `wildCards`), each final hand passed to
  // `onHand`; returns the number of draws.
  int64_t ListDraws(int mask, bool wildCards,
                    const std::function<void(const THand&)>& onHand) const;
  // Appends "NAME: engine E, listing L" to `report` when the two counts differ.
  static void ReportDifference(std::string& report, std::string_view name, int64_t engine,
                               int64_t listing);

  // The tables of the dealt hand (hold_tables.h), made by BeginHandAnalysis: the kept
  // cards of every hold, and the dealt ranks with the undealt-rank shortcut and the keys
  // of the rank shapes.
  TKeptTable keptCards_;
  TDealtRanks dealtRanks_;
  // What every hold was worth when BestMask last looked: a step that changes a hold's
  // category counts marks the hold changed.
  THoldValues holdValues_;

 private:
  // What a hold's kept cards look like to the per-rank counts.
  struct TKeptShape {
    int Drawn = 0;                                  // cards drawn
    int32_t Naturals = 0;                           // natural cards left in the deck
    const std::array<int32_t, 5>* RankHistogram{};  // of the kept cards
  };
  // The draws of one hold that make a pair, trips, four of a kind or a full house of one
  // rank with deck count n and kept count h (trips count without the full houses).
  struct TRankCounts {
    int32_t Pairs = 0;
    int32_t Three = 0;
    int32_t Four = 0;
    int32_t FullHouses = 0;
  };
  // What CheckDraw counts by rank (pairs, trips, quads, full houses, two pairs) depends only
  // on how many cards of each rank the hold keeps and the deck holds, not on which ranks
  // they are: holds whose dealt ranks have the same pairs of counts share one shape.
  struct TRankShape {
    std::array<std::array<TRankCounts, 5>, 5> ByCounts{};  // [deck count][kept count]
    int32_t FullHouses = 0;
    int32_t TwoPairs = 0;
  };

  // The shape of a hold, made by CountRankShape when no hold of this deal had it before.
  const TRankShape& RankShapeOf(int mask);
  void CountRankShape(int mask, TRankShape& shape);
  TRankCounts RankCounts(int n, int h, const TKeptShape& shape) const;
  // Counts FLUSH, the straights and the straight flushes of a hold whose kept cards are
  // of different ranks (the part of CheckDraw that a change of suits can change). With
  // `ranksCounted` the plain straights the full analysis of these ranks counted are reused.
  void CountStraightsAndFlush(int mask, const TKeptCards& kept, bool ranksCounted = false);
  // Sets the hold's counts of FLUSH, the straight flushes and the straights to 0, has
  // `count` count them again and moves the change into the hold's category counts.
  template <class TCount>
  void RecountSuitKinds(int mask, TCount count);
  // The flush, straight flush and straight counts of the full redraw; with `ranksCounted`
  // the straights of any suits that the full analysis of these ranks counted are reused.
  void CountEmptyStraightsAndFlushes(bool ranksCounted = false);
  // The pair, three, four, full house and two pair counts of the full redraw.
  void CountEmptyRankKinds();
  int32_t NaturalCardsInDeck() const { return Deck.Total - Deck.WildCount; }
  // The hold of highest expected pay; ties keep the lower mask.
  int BestMask();
  // Adds the outcome counts of the best hold of a class into the pay table.
  void AddDealResult(int best, int32_t weight);
  // In a game that pays kickers: moves the hold's four of a kind of each kicker rank whose
  // fifth card is another kicker rank from FOUR_OF_KIND_2 + rank to its kicker kind.
  void SplitKickers(int mask);

  TShapeCache<TRankShape> rankShapes_;
  TFoldPlan naturalFold_;     // made by SetGame
  bool paysKickers_ = false;  // the game pays four of a kind by its kicker (set by SetGame)
  // BeginHandAnalysis prepared the calculator for the deck of this deal.
  bool deckPrepared_ = false;
  // The plain straights of every hold, as the full analysis of these ranks counted them.
  std::array<TStraightCounts, kMaskCount> plainStraights_{};
  // [mask]: the kept cards were of different ranks and all of one suit when the hold's
  // straights and flush were last counted.
  std::array<bool, kMaskCount> suitedHold_{};
};

}  // namespace tarnwick
