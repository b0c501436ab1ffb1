// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Counting building blocks for the engines: the ways to draw j cards of j different ranks
// that are absent from the kept hand (elementary symmetric sums of the deck's rank counts,
// obtained from power sums by Newton's identities, so no subset of ranks is ever listed)
// and the ways to complete a pair.

#include <array>
#include <cstdint>

#include "engine/cards.h"

namespace tarnwick {

// The elementary symmetric sums e_0..e_{N-1} of a multiset of deck counts, with one count c
// of the multiset taken out: dividing the generating polynomial prod(1 + n t) by (1 + c t)
// gives e'_j = e_j - c e'_{j-1}, exactly what Newton's identities give for the power sums
// less c^j. Deck counts are at most 4, so every e_j is at most C(13, j) 4^j and c e'_{j-1}
// at most 4 times that: nothing overflows.
template <size_t N>
constexpr std::array<int32_t, N> WithoutRank(const std::array<int32_t, N>& e, int32_t c) {
  std::array<int32_t, N> out{};
  out[0] = e[0];
  for (size_t j = 1; j < N; ++j) out[j] = e[j] - c * out[j - 1];
  return out;
}

class TCalculator {
 public:
  using TPowerRow = std::array<int32_t, 6>;

  // [j]: sum over the ranks absent from the kept hand of (deck count)^j: the power sums
  // S[0..5] that the full Init fills NoPair from.
  TPowerRow PowerSums{};
  // [x][j]: ways to draw j cards of j different ranks, all absent from the kept hand, with
  // one absent rank of deck count x left out (x = 0: nothing left out). [x][0] is 1.
  std::array<TPowerRow, 5> NoPair{};
  // [y]: sum over ranks whose kept count is 2 - y and deck count n >= y of C(n, y).
  std::array<int32_t, 3> PairCompletion{};
  // Powers[n][j] = n^j for deck counts n 0..4 and j 0..5.
  static constexpr std::array<TPowerRow, 5> Powers = {{{1, 0, 0, 0, 0, 0},
                                                       {1, 1, 1, 1, 1, 1},
                                                       {1, 2, 4, 8, 16, 32},
                                                       {1, 3, 9, 27, 81, 243},
                                                       {1, 4, 16, 64, 256, 1024}}};

  // Prepares every table for the deck and one kept hand (possibly empty).
  void Init(const TDeck& deck, const THand& keptHand);
  // Makes the deck's no-pair counts and pair completions with nothing kept, for Init of
  // kept hands against this deck. Returns false, and prepares nothing, when a deck count
  // lies outside 0..4: the full Init then reports it.
  bool PrepareDeck(const TDeck& deck);
  // Init for the deck of the last successful PrepareDeck, unchanged since, and a kept hand
  // without wild cards: NoPair and PairCompletion (the tables the hold analysis reads)
  // come from the deck's by taking out the kept ranks, one division of the generating
  // polynomial each, instead of from all thirteen ranks again.
  void Init(const THand& keptHand);
  // Fills NoPair from PowerSums.
  void CalcSingles();
  // Newton's identities: the elementary symmetric sums e_0..e_5 of the power sums.
  void CalcFormula(const TPowerRow& powerSums, TPowerRow& target);

 private:
  // What PrepareDeck made: the deck counts, the no-pair counts of all ranks and the sum
  // of C(n, 2) over the ranks.
  std::array<int32_t, kRankCount> deckCounts_{};
  TPowerRow deckNoPair_{};
  int32_t deckPairs_ = 0;
  bool deckPrepared_ = false;
  // CalcSingles for a natural deck whose absent ranks are known by deck count: the rows
  // come from a table of every such multiset, made once with Newton's identities.
  void CalcSinglesOfCounts(const std::array<int32_t, 5>& absentWithCount);
  // Rows 1..4 of NoPair from row 0.
  void RemoveOneRank();
};

}  // namespace tarnwick
