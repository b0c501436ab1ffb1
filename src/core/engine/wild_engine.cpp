// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/wild_engine.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <numeric>
#include <span>
#include <typeinfo>
#include <vector>

#include "checked.h"
#include "engine/deal_classes.h"
#include "errors.h"

namespace tarnwick {

namespace {

constexpr char kWildCase[] = "Error calculate wild case ";
constexpr uint32_t kKingAndAce = (1u << kKing) | (1u << kAce);
constexpr uint32_t kWheelRanks = 0x000Fu;     // deuce to five
constexpr uint32_t kBroadwayRanks = 0x0F00u;  // ten to king
// The wild kinds whose counts depend on suits: the flushes, the straights and what is left
// of the final hands with naturals of different ranks.
constexpr std::array<int, 22> kWildSuitKinds = {WILD_3,
                                                WILD_3_FLUSH,
                                                WILD_3_FLUSH_STR_A_5,
                                                WILD_3_FLUSH_STR,
                                                WILD_3_FLUSH_STR_T_A,
                                                WILD_2,
                                                WILD_2_FLUSH,
                                                WILD_2_FLUSH_STR_A_5,
                                                WILD_2_FLUSH_STR,
                                                WILD_2_FLUSH_STR_T_A,
                                                WILD_2_STRAIGHT_A_5,
                                                WILD_2_STRAIGHT,
                                                WILD_2_STRAIGHT_T_A,
                                                WILD_1,
                                                WILD_1_FLUSH,
                                                WILD_1_FLUSH_STR_A_5,
                                                WILD_1_FLUSH_STR,
                                                WILD_1_FLUSH_STR_T_A,
                                                WILD_1_STRAIGHT_A_5,
                                                WILD_1_STRAIGHT,
                                                WILD_1_STRAIGHT_T_A,
                                                WILD_1_KINGS};

using TRankWeights = TWildEngine::TRankWeights;
using TFits = TWildEngine::TFits;
using TSums = TWildEngine::TSums;
// [wilds]: a count for each number of wild cards 1..3 in the final hand (entry 0 unused).
using TFitsByWilds = std::array<TFits, 4>;

// C(n, k), and 0 for k < 0 (a group that needs fewer wild cards than are held).
int32_t Choose(int k, int n) {
  return k < 0 ? 0 : BinomialAt(k, n);
}

// The elementary symmetric sums e_0..e_4 of the weights of the ranks in `ranks`: e_j is
// the number of ways to draw j cards of j different ranks among them. Weights are deck
// counts of at most 4 (checked when the deck's tables are made), so e_j <= C(13, 4) 4^4
// and nothing overflows.
TSums SymmetricSums(uint32_t ranks, const TRankWeights& weight) {
  TSums e = {1, 0, 0, 0, 0};
  for (uint32_t rest = ranks; rest != 0; rest &= rest - 1) {
    const int32_t c = weight[std::countr_zero(rest)];
    e[4] += e[3] * c;
    e[3] += e[2] * c;
    e[2] += e[1] * c;
    e[1] += c;
  }
  return e;
}

// The deck counts of the ranks as the weights of the straight counts (0..4 each).
struct TCountWeights {
  const TRankWeights& Count;
  int32_t At(int r) const { return Count[r]; }
  // The ways to draw `need` cards of different ranks among `ranks` (0 for a negative need:
  // the window holds too many kept ranks).
  struct TWays {
    TSums Sums;
    int32_t At(int need) const { return need < 0 ? 0 : Sums[need]; }
  };
  TWays Ways(uint32_t ranks) const { return TWays{SymmetricSums(ranks, Count)}; }
};

// The cards of one suit as the weights: 1 where the deck holds the card. The ways over a
// set of ranks are then the binomials of the number of cards among them.
struct TSuitWeights {
  uint32_t Cards;  // bit r: the deck holds the card of rank r
  int32_t At(int r) const { return static_cast<int32_t>((Cards >> r) & 1u); }
  struct TWays {
    int Cards;
    int32_t At(int need) const { return need < 0 ? 0 : Binomial[need][Cards]; }
  };
  TWays Ways(uint32_t ranks) const { return TWays{CountBits(ranks & Cards)}; }
};

// Adds to `fits` the ways to draw t = 5 - w - k cards of different ranks, none held, so
// that the held ranks `kept` (k of them) and the drawn ones fit a straight window, for
// w = 1, 2 and 3 wild cards at once: one pass over the windows serves them all. The final
// naturals are classified by their lowest rank as the wild hand kinds are. With `low`, the
// same pass also counts, for one wild card, the completions without a king or an ace: the
// windows up to the queen, which differ from the others only from a lowest rank of eight
// on. A window adds its lowest rank's weight (at most 4) times at most C(4, 2) 4^2, over
// at most eleven windows and at most four suits: no sum comes near 2^31, and plain
// arithmetic is safe.
template <class TWeights>
void CountFits(uint32_t kept, int k, const TWeights& weight, TFitsByWilds& fits,
               TFits* low = nullptr) {
  constexpr int kQueen = kKing - 1;
  // Completions with w wild cards whose lowest natural is the ace of a wheel, another rank
  // below the ten, the ten or above, in registers.
  int32_t wheel1 = 0, wheel2 = 0, wheel3 = 0;
  int32_t other1 = 0, other2 = 0, other3 = 0;
  int32_t high1 = 0, high2 = 0, high3 = 0;
  int32_t lowOther = 0, lowHigh = 0;
  // A window with `inWindow` kept ranks above its lowest rank draws 4 - w - inWindow
  // naturals there for w wild cards.
  const bool keptAce = (kept >> kAce) & 1u;
  if (!keptAce) {
    // Windows without an ace, named by their lowest natural rank m.
    const int lowKept = k > 0 ? std::countr_zero(kept) : kAce;
    const int highKept = k > 0 ? 31 - std::countl_zero(kept) : -1;
    // Only windows that hold every kept rank: lowest rank from highKept - 4 to lowKept.
    for (int m = std::max(0, highKept - 4); m <= std::min<int>(kKing, lowKept); ++m) {
      const int hi = std::min<int>(m + 4, kKing);
      if (highKept > hi) continue;
      const bool held = (kept >> m) & 1u;
      const int32_t first = held ? 1 : weight.At(m);
      if (first == 0) continue;
      const uint32_t above = ((1u << (hi + 1)) - 1) & ~((1u << (m + 1)) - 1);
      const int need = 4 - CountBits(kept & above);
      const auto ways = weight.Ways(above & ~kept);
      const int32_t one = first * ways.At(need - 1);
      const int32_t two = first * ways.At(need - 2);
      const int32_t three = first * ways.At(need - 3);
      if (m < 8) {
        other1 += one;
        other2 += two;
        other3 += three;
      } else {
        high1 += one;
        high2 += two;
        high3 += three;
      }
      if (low == nullptr || m > kQueen) continue;
      int32_t lowShare = 0;
      if (hi <= kQueen) {
        lowShare = one;
      } else if (highKept <= kQueen) {
        // The window cut at the queen.
        const uint32_t belowKing = above & ((1u << kKing) - 1);
        lowShare = first * weight.Ways(belowKing & ~kept).At(3 - CountBits(kept & belowKing));
      }
      (m < 8 ? lowOther : lowHigh) += lowShare;
    }
  }
  const int32_t ace = keptAce ? 1 : weight.At(kAce);
  const uint32_t others = kept & ~(1u << kAce);
  if (ace != 0) {
    const int need = 4 - CountBits(others);
    if ((others & ~kWheelRanks) == 0) {
      const auto ways = weight.Ways(kWheelRanks & ~kept);
      wheel1 = ace * ways.At(need - 1);
      wheel2 = ace * ways.At(need - 2);
      wheel3 = ace * ways.At(need - 3);
    }
    if ((others & ~kBroadwayRanks) == 0) {
      const auto ways = weight.Ways(kBroadwayRanks & ~kept);
      high1 += ace * ways.At(need - 1);
      high2 += ace * ways.At(need - 2);
      high3 += ace * ways.At(need - 3);
    }
  }
  if (low != nullptr) {
    (*low)[1] += lowOther;
    (*low)[2] += lowHigh;
  }
  // Added element by element, into the caller's own record.
  fits[1][0] += wheel1;
  fits[1][1] += other1;
  fits[1][2] += high1;
  fits[2][0] += wheel2;
  fits[2][1] += other2;
  fits[2][2] += high2;
  fits[3][0] += wheel3;
  fits[3][1] += other3;
  fits[3][2] += high3;
}

int32_t Sum(const TFits& fits) {
  return Add(Add(fits[0], fits[1]), fits[2]);
}

}  // namespace

TWildEngine::TWildEngine() {
  WildKindToCategory.fill(-1);
}

int TWildEngine::ClassifyWild(const THand& hand) {
  const int wilds = hand.WildCount;
  const int naturals = hand.Total - wilds;
  if (wilds == 0) return -1;
  if (wilds == 5) return WILD_5;
  if (wilds == 4) return hand.Counts[kAce][kTotalsColumn] == 1 ? WILD_4_A : WILD_4_WA;
  if (hand.RankHistogram[naturals] == 1) return WILD_FIVE_2 + hand.MinRank;
  int fit = -1;
  if (hand.MaxRank - hand.MinRank < 5) {
    if (hand.Counts[kAce][kTotalsColumn] > 0) {
      fit = hand.MaxRank < 4 ? 0 : (hand.MinRank > 7 ? 2 : -1);
    } else {
      fit = hand.MinRank < 8 ? 1 : 2;
    }
  }
  const bool flush = hand.SuitHistogram[naturals] == 1;
  const bool distinct = hand.RankHistogram[1] == naturals;
  if (wilds == 3) {
    if (!flush) return WILD_3;
    return fit < 0 ? WILD_3_FLUSH : WILD_3_FLUSH_STR_A_5 + fit;
  }
  if (wilds == 2) {
    if (!distinct) return WILD_2_AND_2_1;
    if (flush) return fit < 0 ? WILD_2_FLUSH : WILD_2_FLUSH_STR_A_5 + fit;
    return fit < 0 ? WILD_2 : WILD_2_STRAIGHT_A_5 + fit;
  }
  if (!distinct) {
    if (hand.RankHistogram[3] == 1) return WILD_1_AND_3_1;
    return hand.RankHistogram[2] == 2 ? WILD_1_AND_2_2 : WILD_1_AND_2_1_1;
  }
  if (flush) return fit < 0 ? WILD_1_FLUSH : WILD_1_FLUSH_STR_A_5 + fit;
  if (fit >= 0) return WILD_1_STRAIGHT_A_5 + fit;
  const bool kingOrAce = hand.Counts[kKing][kTotalsColumn] + hand.Counts[kAce][kTotalsColumn] > 0;
  return kingOrAce ? WILD_1_KINGS : WILD_1;
}

void TWildEngine::InternalCheckCombination(int wilds, int mask, int32_t value) {
  try {
    CheckRange(mask, 0, kMaskCount - 1, "draw mask");
    CheckRange(wilds, 0, kHandSize, "wild cards in the hand");
    const int kind = ClassifyWild(DealtHand);
    if (kind >= 0) WildCounts[mask][kind] = value;
  } catch (...) {
    RethrowWithContext("Error calculate wild case (InternalCheckCombination)");
  }
}

void TWildEngine::InternalSetPayout() {
  try {
    WildKindToCategory.fill(-1);
    // Categories by pay, best first; equal pays keep the lower category first.
    std::array<int, kMaxCategories> order{};
    std::iota(order.begin(), order.end(), 0);
    const auto pay = [&](int c) { return Payout != nullptr ? Payout->Pays[c] : 0; };
    std::stable_sort(order.begin(), order.begin() + LastCategory + 1,
                     [&](int a, int b) { return pay(a) > pay(b); });
    for (int position = 0; position <= LastCategory; ++position) {
      const int c = order[position];
      for (int k = 0; k < kWildHandKindCount; ++k) {
        if (InKindSet(WildKindSets[c], k) && WildKindToCategory[k] == -1) {
          WildKindToCategory[k] = c;
        }
      }
    }
    wildFold_.Build(WildKindToCategory.data(), kWildHandKindCount);
  } catch (...) {
    RethrowWithContext("Error calculate wild case (InternalSetPayout)");
  }
}

void TWildEngine::PrepareDeckTables() {
  // Deck counts are at most 4, so the pair sums below stay small: plain arithmetic.
  pairsOfAll_ = 0;
  pairsSquared_ = 0;
  for (int r = 0; r < kRankCount; ++r) {
    const bool wild = Deck.IsWild(r);
    const int32_t n = wild ? 0 : Deck.Counts[r][kTotalsColumn];
    CheckRange(n, 0, 4, "deck count of a rank");
    deckRanks_[r] = n;
    for (int s = 0; s < kSuitCount; ++s) {
      if (r == 0) deckSuits_[s] = 0;
      if (wild) continue;
      CheckRange(Deck.Counts[r][s], 0, 1, "deck cards of one rank and suit");
      if (Deck.Counts[r][s] != 0) deckSuits_[s] |= 1u << r;
    }
    const int32_t pairs = Binomial[2][n];
    pairsOfAll_ += pairs;
    pairsSquared_ += pairs * pairs;
  }
}

void TWildEngine::CountWildKinds(int mask) {
  WildCounts[mask].fill(0);
  CountWildRankKinds(mask);
  CountWildSuitKinds(mask, keptCards_[mask]);
}

void TWildEngine::CountWildRankKinds(int mask) {
  TWildRow& row = WildCounts[mask];
  TWildRankPart& part = rankParts_[mask];
  part = TWildRankPart{};
  const TKeptCards& kept = keptCards_[mask];
  const int h = kept.Wilds;
  const int k = kept.Naturals;
  const int32_t deckWilds = Deck.WildCount;
  const int32_t naturals = Deck.Total - deckWilds;
  if (deckWilds + h == 0) return;  // no final hand can hold a wild card
  CheckRange(naturals, 0, kMaxDeck - 1, "natural cards in the deck");

  // Five and four wild cards.
  if (k == 0) row[WILD_5] = Choose(5 - h, deckWilds);
  if (h <= 4 && k <= 1) {
    const int32_t wilds = Choose(4 - h, deckWilds);
    if (k == 1) {
      row[(kept.Ranks >> kAce) & 1u ? WILD_4_A : WILD_4_WA] = wilds;
    } else {
      row[WILD_4_A] = Mul(deckRanks_[kAce], wilds);
      row[WILD_4_WA] = Mul(Sub(naturals, deckRanks_[kAce]), wilds);
    }
  }

  // One to three wild cards in the final hand: what only the counts of the ranks decide
  // comes from the hold's shape; the straights depend on which ranks are kept.
  const TWildShape& shape = WildShapeOf(mask);
  part.Factor = shape.Factor;
  part.Different = shape.Different;
  if (shape.Groups == 0) return;
  // Each rank's five of a kind, as the shape has it for the rank's counts.
  dealtRanks_.PutRankEntries(
      mask, Deck, shape.Fives,
      [&](int32_t fives) { std::fill_n(row.begin() + WILD_FIVE_2, kRankCount, fives); },
      [&](int r, int32_t fives) { row[WILD_FIVE_2 + r] = fives; });
  row[WILD_2_AND_2_1] = shape.PairAndSingle;
  row[WILD_1_AND_3_1] = shape.TripsAndSingle;
  row[WILD_1_AND_2_2] = shape.TwoPairs;
  row[WILD_1_AND_2_1_1] = shape.PairAndSingles;

  if (!kept.Distinct()) return;
  // One wild card and no king or ace kept: the rest of the different ranks is split by a
  // king or an ace.
  const bool splitsLow = (shape.Groups & 2u) != 0 && (kept.Ranks & kKingAndAce) == 0;
  TFits lowFits = {0, 0, 0};
  CountFits(kept.Ranks, k, TCountWeights{deckRanks_}, part.Fits, splitsLow ? &lowFits : nullptr);
  for (size_t w = 1; w <= 3; ++w) {
    if (((shape.Groups >> w) & 1u) == 0) part.Fits[w] = {0, 0, 0};
  }
  if (splitsLow) {
    part.SplitsLow = true;
    const TSums lowWays =
        WithoutRank(WithoutRank(shape.DistinctWays, deckRanks_[kKing]), deckRanks_[kAce]);
    part.LowDifferent = lowWays[kHandSize - 1 - k];
    part.LowFits = Sum(lowFits);
  }
}

const TWildEngine::TWildShape& TWildEngine::WildShapeOf(int mask) {
  const auto count = [&](TWildShape& shape) { CountWildShape(mask, shape); };
  if (!dealtRanks_.ShapesShared()) return wildShapes_.Spare(count);
  return wildShapes_.Find(dealtRanks_.ShapeKey(mask, keptCards_[mask].Wilds), count);
}

void TWildEngine::CountWildShape(int mask, TWildShape& shape) {
  shape = TWildShape{};
  WorkHand.CopyKept(DealtHand, mask);
  const THand& kept = WorkHand;
  const int h = kept.WildCount;
  const int k = kept.Total - h;
  const int32_t deckWilds = Deck.WildCount;
  const int32_t naturals = Deck.Total - deckWilds;
  const int d = kHandSize - kept.Total;
  uint32_t keptRanks = 0;
  for (int i = 0; i < kept.Total; ++i) {
    if (kept.Ranks[i] >= 0) keptRanks |= 1u << kept.Ranks[i];
  }
  uint32_t absent = 0;
  for (int r = 0; r < kRankCount; ++r) {
    if (!Deck.IsWild(r) && ((keptRanks >> r) & 1u) == 0) absent |= 1u << r;
  }
  const bool distinct = kept.RankHistogram[1] == k;

  // j of the w wild cards of the final hand drawn, t naturals drawn.
  for (int wilds = 1; wilds <= 3; ++wilds) {
    const int j = wilds - h;
    const int t = kHandSize - wilds - k;
    if (j < 0 || j > d || t < 0) continue;
    shape.Factor[wilds] = Choose(j, deckWilds);
    if (shape.Factor[wilds] != 0) shape.Groups |= 1u << wilds;
  }
  if (shape.Groups == 0) return;
  shape.DistinctWays = SymmetricSums(absent, deckRanks_);
  // The natural ranks by deck count and kept count, with how many ranks have each: the
  // ranks not dealt make one entry when they share a deck count.
  struct TRankClass {
    int32_t Deck;
    int Held;
    int32_t Ranks;
  };
  std::array<TRankClass, kRankCount> classes;  // the first classCount are set and read
  size_t classCount = 0;
  dealtRanks_.ForEachRankClass(mask, Deck, [&](int32_t n, int held, int32_t ranks) {
    classes[classCount++] = TRankClass{n, held, ranks};
  });
  const std::span<const TRankClass> rankClasses(classes.data(), classCount);

  for (int wilds = 1; wilds <= 3; ++wilds) {
    if (((shape.Groups >> wilds) & 1u) == 0) continue;
    const int32_t factor = shape.Factor[wilds];
    const int t = kHandSize - wilds - k;
    const auto put = [&](int32_t& count, int32_t ways) { count = Add(count, Mul(factor, ways)); };

    // Five of a kind: every natural of one rank. Ranks with the same deck and kept counts
    // count alike (bit 5n + held of `made`).
    int32_t fives = 0;
    uint32_t made = 0;
    for (const TRankClass& c : rankClasses) {
      if (k > 0 && c.Held != k) continue;
      const int32_t ways = Choose(t, c.Deck);
      fives = Add(fives, Mul(c.Ranks, ways));
      if ((made & (1u << (5 * c.Deck + c.Held))) == 0) {
        put(shape.Fives[c.Deck][c.Held], ways);
        made |= 1u << (5 * c.Deck + c.Held);
      }
    }
    const int32_t all = Choose(t, naturals);
    // Naturals of different ranks, none held.
    shape.Different[wilds] = distinct ? shape.DistinctWays[t] : 0;
    if (wilds == 3) continue;
    if (wilds == 2) {
      put(shape.PairAndSingle, Sub(Sub(all, fives), shape.Different[wilds]));
      continue;
    }

    // Three of a kind and a single: the single is held or drawn.
    int32_t trips = 0;
    for (const TRankClass& c : rankClasses) {
      const int others = k - c.Held;
      if (c.Held > 3 || others > 1) continue;
      trips = Add(trips, Mul(c.Ranks, Mul(Choose(3 - c.Held, c.Deck),
                                          Choose(1 - others, Sub(naturals, c.Deck)))));
    }
    put(shape.TripsAndSingle, trips);
    // Two pairs: of the held ranks, or of one held rank and any other, or of any two.
    int32_t twoPairs = 0;
    if (kept.RankHistogram[3] == 0 && kept.RankHistogram[4] == 0 && CountBits(keptRanks) <= 2) {
      if (k == 0) {
        twoPairs = Sub(Mul(pairsOfAll_, pairsOfAll_), pairsSquared_) / 2;
      } else {
        const int p = std::countr_zero(keptRanks);
        const int q = 31 - std::countl_zero(keptRanks);
        const int32_t first = Choose(2 - kept.Counts[p][kTotalsColumn], deckRanks_[p]);
        if (p != q) {
          twoPairs = Mul(first, Choose(2 - kept.Counts[q][kTotalsColumn], deckRanks_[q]));
        } else {
          twoPairs = Mul(first, Sub(pairsOfAll_, Choose(2, deckRanks_[p])));
        }
      }
    }
    put(shape.TwoPairs, twoPairs);
    put(shape.PairAndSingles,
        Sub(Sub(Sub(Sub(all, fives), trips), twoPairs), shape.Different[wilds]));
  }
}

bool TWildEngine::HasFlushSuits(const TKeptCards& kept) {
  return kept.Distinct() && (kept.Naturals == 0 || kept.Suit >= 0);
}

void TWildEngine::CountWildSuitKinds(int mask, const TKeptCards& kept) {
  TWildRow& row = WildCounts[mask];
  TWildRankPart& part = rankParts_[mask];
  const int k = kept.Naturals;
  // The suits a flush of the final naturals can be in: any with no natural held, the one
  // suit of the held naturals, or none when they are of two suits or pair up.
  std::array<int, kSuitCount> flushSuitList = {0, 1, 2, 3};
  int flushSuitCount = 0;
  if (HasFlushSuits(kept)) {
    if (k == 0) {
      flushSuitCount = kSuitCount;
    } else {
      flushSuitList[0] = kept.Suit;
      flushSuitCount = 1;
    }
  }
  part.Suited = flushSuitCount > 0;
  const std::span<const int> flushSuits(flushSuitList.data(), flushSuitCount);
  TFitsByWilds suitedFits{};
  TFits lowSuited = {0, 0, 0};
  for (int s : flushSuits) {
    const TSuitWeights cards{deckSuits_[s]};
    CountFits(kept.Ranks, k, cards, suitedFits, part.SplitsLow ? &lowSuited : nullptr);
  }

  for (int wilds = 1; wilds <= 3; ++wilds) {
    const int32_t factor = part.Factor[wilds];
    if (factor == 0) continue;
    const int t = kHandSize - wilds - k;
    const auto put = [&](int kind, int32_t ways) { row[kind] = Add(row[kind], Mul(factor, ways)); };
    int32_t flushes = 0;
    for (int s : flushSuits) flushes = Add(flushes, Choose(t, Deck.Counts[kTotalsRow][s]));
    const TFits& fits = part.Fits[wilds];
    const TFits& suited = suitedFits[wilds];
    const int32_t different = part.Different[wilds];
    const int32_t plainFits = Sub(Sum(fits), Sum(suited));
    const int32_t unsuitedNoFit = Sub(Sub(different, flushes), plainFits);
    const int flushBase = wilds == 3 ? WILD_3_FLUSH : wilds == 2 ? WILD_2_FLUSH : WILD_1_FLUSH;
    put(flushBase, Sub(flushes, Sum(suited)));
    for (int x = 0; x < 3; ++x) put(flushBase + 1 + x, suited[x]);

    if (wilds == 3) {
      put(WILD_3, Sub(different, flushes));  // two wilds more make four of a kind anyway
      continue;
    }
    const int straightBase = wilds == 2 ? WILD_2_STRAIGHT_A_5 : WILD_1_STRAIGHT_A_5;
    for (int x = 0; x < 3; ++x) {
      put(straightBase + x, Sub(fits[x], suited[x]));
    }
    if (wilds == 2) {
      put(WILD_2, unsuitedNoFit);
      continue;
    }
    // One wild card: the rest of the different ranks split by a king or an ace.
    int32_t low = 0;
    if (part.SplitsLow) {
      int32_t lowFlushes = 0;
      for (int s : flushSuits) {
        const int cards = CountBits(deckSuits_[s] & ((1u << kKing) - 1));
        lowFlushes = Add(lowFlushes, Choose(t, cards));
      }
      low = Sub(Sub(part.LowDifferent, lowFlushes), Sub(part.LowFits, Sum(lowSuited)));
    }
    put(WILD_1, low);
    put(WILD_1_KINGS, Sub(unsuitedNoFit, low));
  }
}

void TWildEngine::CountWildDraw(int mask) {
  CheckRange(mask, 0, kMaskCount - 1, "draw mask");
  if (keptCards_[mask].Naturals == 0) {
    InternalCheckEmpty(mask);
    return;
  }
  CountWildKinds(mask);
}

void TWildEngine::InternalCheckEmpty(int mask) {
  try {
    CheckRange(mask, 0, kMaskCount - 1, "draw mask");
    if (keptCards_[mask].Naturals != 0) throw RangeError("The hold keeps a natural card");
    CountWildKinds(mask);
  } catch (...) {
    RethrowWithContext(std::string(kWildCase) +
                       "(InternalCheckEmpty) DrawMask=" + std::to_string(mask));
  }
}

void TWildEngine::FoldWildHolds(int firstMask, int lastMask) {
  for (int m = firstMask; m <= lastMask; ++m)
    wildFold_.Fold(WildCounts[m].data(), CategoryDraws[m]);
}

void TWildEngine::FoldHolds(int firstMask, int lastMask) {
  TPokerEngine::FoldHolds(firstMask, lastMask);
  FoldWildHolds(firstMask, lastMask);
}

void TWildEngine::SetWildSetup(int jokers, int wildRank) {
  Deck.SetJokerCount(jokers);
  Deck.SetWildRank(wildRank);
  DealtHand.SetWildRank(wildRank);
  WorkHand.SetWildRank(wildRank);
  fullDeckWilds_ = Deck.WildCount;
}

void TWildEngine::BeginHandAnalysis() {
  TPokerEngine::BeginHandAnalysis();
  std::memset(WildCounts.data(), 0, sizeof WildCounts);
  PrepareDeckTables();
  wildShapes_.Clear();
}

void TWildEngine::Reset() {
  TPokerEngine::Reset();
  InternalSetPayout();
}

void TWildEngine::CheckCombination() {
  if (DealtHand.WildCount == 0) {
    TPokerEngine::CheckCombination();
  } else {
    InternalCheckCombination(DealtHand.WildCount, 0, 1);
  }
}

void TWildEngine::CheckEmpty() {
  TPokerEngine::CheckEmpty();
  InternalCheckEmpty(kFullDrawMask);
}

void TWildEngine::CheckDraw(int mask) {
  TPokerEngine::CheckDraw(mask);
  try {
    CountWildDraw(mask);
  } catch (...) {
    RethrowWithContext(std::string(kWildCase) + "(CheckDraw) DrawMask=" + std::to_string(mask));
  }
}

// The quick steps recount the wild kinds that a change of suits can change, from the
// ranks' part that the full analysis of the same ranks left in rankParts_.
void TWildEngine::RecountWildSuitKinds(int mask) {
  const TWildRankPart& part = rankParts_[mask];
  if (part.Factor == std::array<int32_t, 4>{}) return;  // no final hand with 1..3 wild cards
  const TKeptCards& kept = keptCards_[mask];
  // Without a suit the final naturals can all be in, now and last time, the suit kinds
  // are what the ranks make of them: the counts stand.
  if (!HasFlushSuits(kept) && !part.Suited) return;
  RecountKinds(kWildSuitKinds, WildCounts[mask], WildKindToCategory, mask, CategoryDraws,
               holdValues_, [&] { CountWildSuitKinds(mask, kept); });
}

void TWildEngine::CheckDrawQuick(int mask) {
  TPokerEngine::CheckDrawQuick(mask);
  try {
    RecountWildSuitKinds(mask);
  } catch (...) {
    RethrowWithContext(std::string(kWildCase) + "(CheckDraw) DrawMask=" + std::to_string(mask));
  }
}

void TWildEngine::CheckEmptyQuick() {
  TPokerEngine::CheckEmptyQuick();
  try {
    RecountWildSuitKinds(kFullDrawMask);
  } catch (...) {
    RethrowWithContext(std::string(kWildCase) +
                       "(InternalCheckEmpty) DrawMask=" + std::to_string(kFullDrawMask));
  }
}

void TWildEngine::FoldKindsIntoCategories() {
  FoldHolds(0, kFullDrawMask);  // the natural kinds, then the wild kinds
}

void TWildEngine::ClearCountsQuick() {
  TPokerEngine::ClearCountsQuick();
  WildCounts[0].fill(0);  // the other rows keep their counts; the quick steps move them
  PrepareDeckTables();    // the deck's cards by suit for the new suit pattern
}

void TWildEngine::SetGame(const TPokerDescription& description) {
  TPokerEngine::SetGame(description);
  SetWildSetup(description.JokerCount, description.WildRank < 0 ? -1 : description.WildRank);
  WildKindSets.fill(0);
  for (int c = 0; c <= LastCategory; ++c) WildKindSets[c] = description.WildKindSet(c);
  InternalSetPayout();
}

int TWildEngine::DealtCategory() const {
  if (DealtHand.WildCount == 0) return TPokerEngine::DealtCategory();
  for (int k = 0; k < kWildHandKindCount; ++k) {
    if (WildCounts[0][k] == 1) return WildKindToCategory[k];
  }
  return -1;
}

int TWildEngine::DealClassCount() const {
  // The classes RunPermutations plays: the natural ones, then those with wild cards.
  const int ranks = Deck.WildRank >= 0 ? kRankCount - 1 : kRankCount;
  return NaturalDealClassCount(ranks) + WildDealClassCount(fullDeckWilds_, ranks);
}

// Another suit pattern of the ranks the previous class had, natural or wild: the quick
// analysis, as in the natural engine.
void TWildEngine::Check1(const TDealClass& deal) {
  TPokerEngine::Check1(deal);
}

std::unique_ptr<TPokerEngine> TWildEngine::NewWorker() const {
  if (typeid(*this) != typeid(TWildEngine)) return nullptr;
  return std::unique_ptr<TPokerEngine>(new TWildEngine(*this));
}

void TWildEngine::RunPermutations() {
  TPokerEngine::RunPermutations();
  try {
    std::vector<TDealClass> classes;
    ForEachWildDealClass(fullDeckWilds_, Deck.WildRank,
                         [&](const TDealClass& deal) { classes.push_back(deal); });
    PlayDealClasses(classes);
  } catch (...) {
    RethrowWithContext("Error calculate wild case (RunPermutations)");
  }
}

std::string TWildEngine::VerifyDraw(int mask) {
  TKindRow natural{};
  TWildRow wild{};
  const int64_t draws = ListDraws(mask, true, [&](const THand& hand) {
    if (hand.WildCount > 0) {
      ++wild[ClassifyWild(hand)];
    } else {
      const int kind = ClassifyNatural(hand);
      if (kind >= 0) ++natural[kind];
    }
  });
  std::string report;
  for (int k = 0; k < kHandKindCount; ++k)
    ReportDifference(report, HandKindNames[k], KindCount[mask][k], natural[k]);
  for (int k = 0; k < kWildHandKindCount; ++k)
    ReportDifference(report, WildHandKindNames[k], WildCounts[mask][k], wild[k]);
  ReportDifference(report, "draws", DrawsOf(mask), draws);
  return report;
}

std::unique_ptr<TPokerEngine> CreateEngineForGame(const TPokerDescription& description) {
  std::unique_ptr<TPokerEngine> engine;
  if (description.IsNatural()) {
    engine = std::make_unique<TPokerEngine>();
  } else {
    engine = std::make_unique<TWildEngine>();
  }
  engine->SetGame(description);
  return engine;
}

}  // namespace tarnwick
