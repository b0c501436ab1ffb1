// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "wild_engine.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <numeric>
#include <span>
#include <typeinfo>
#include <vector>

#include "checked.h"
#include "deal_classes.h"
#include "errors.h"

namespace tarnwick {

namespace {

constexpr char kWildCase[] = "Error calculate wild case ";
constexpr uint32_t kKingAndAce = (1u << kKing) | (1u << kAce);
constexpr uint32_t kWheelRanks = 0x000Fu;     // deuce to five
constexpr uint32_t kBroadwayRanks = 0x0F00u;  // ten to king

using TRankWeights = std::array<int32_t, kRankCount>;
using TSums = std::array<int32_t, 5>;
// Completions that fit a straight: ace to five, any other window without an ace, ten to
// ace (with or without the ace).
using TFits = std::array<int32_t, 3>;

// C(n, k), and 0 for k < 0 (a group that needs fewer wild cards than are held).
int32_t Choose(int k, int n) {
  return k < 0 ? 0 : BinomialAt(k, n);
}

// Set bits of a rank set (without relying on a popcount instruction).
constexpr int CountRanks(uint32_t ranks) {
  ranks = ranks - ((ranks >> 1) & 0x55555555u);
  ranks = (ranks & 0x33333333u) + ((ranks >> 2) & 0x33333333u);
  return static_cast<int>((((ranks + (ranks >> 4)) & 0x0F0F0F0Fu) * 0x01010101u) >> 24);
}

// The elementary symmetric sums e_0..e_4 of the weights of the ranks in `ranks`: e_j is
// the number of ways to draw j cards of j different ranks among them. Weights are deck
// counts of at most 4 (checked by the caller), so e_j <= C(13, 4) 4^4 and nothing overflows.
TSums SymmetricSums(uint32_t ranks, const TRankWeights& weight) {
  TSums e = {1, 0, 0, 0, 0};
  for (uint32_t rest = ranks; rest != 0; rest &= rest - 1) {
    const int32_t c = weight[static_cast<size_t>(std::countr_zero(rest))];
    e[4] += e[3] * c;
    e[3] += e[2] * c;
    e[2] += e[1] * c;
    e[1] += c;
  }
  return e;
}

// Ways to draw t cards of different ranks, none held, so that the held ranks `kept` (k of
// them) and the drawn ones fit a straight window; ranks above `topRank` are left out. The
// final naturals are classified by their lowest rank as the wild hand kinds are.
TFits CountFits(uint32_t kept, int k, int t, const TRankWeights& weight, int topRank) {
  TFits out = {0, 0, 0};
  const int naturals = k + t;
  if (t < 0 || naturals < 2) return out;
  const bool keptAce = (kept >> kAce) & 1u;
  if (!keptAce) {
    // Windows without an ace, named by their lowest natural rank m.
    const int lowKept = k > 0 ? std::countr_zero(kept) : kAce;
    const int highKept = k > 0 ? 31 - std::countl_zero(kept) : -1;
    // Only windows that hold every kept rank: lowest rank from highKept - 4 to lowKept.
    for (int m = std::max(0, highKept - 4); m <= std::min(kKing, topRank); ++m) {
      if (m > lowKept) break;
      const int hi = std::min({m + 4, static_cast<int>(kKing), topRank});
      if (highKept > hi) continue;
      const bool held = (kept >> m) & 1u;
      const int32_t first = held ? 1 : weight[static_cast<size_t>(m)];
      if (first == 0) continue;
      const uint32_t above = ((1u << (hi + 1)) - 1) & ~((1u << (m + 1)) - 1);
      const int need = naturals - 1 - CountRanks(kept & above);
      if (need < 0 || need > 4) continue;
      const int32_t ways =
          Mul(first, SymmetricSums(above & ~kept, weight)[static_cast<size_t>(need)]);
      out[m < 8 ? 1 : 2] = Add(out[m < 8 ? 1 : 2], ways);
    }
  }
  if (topRank >= kAce) {
    const int32_t ace = keptAce ? 1 : weight[kAce];
    const uint32_t others = kept & ~(1u << kAce);
    const int need = naturals - 1 - CountRanks(others);
    if (ace != 0 && need >= 0 && need <= 4) {
      if ((others & ~kWheelRanks) == 0) {
        out[0] =
            Add(out[0],
                Mul(ace, SymmetricSums(kWheelRanks & ~kept, weight)[static_cast<size_t>(need)]));
      }
      if ((others & ~kBroadwayRanks) == 0) {
        out[2] =
            Add(out[2],
                Mul(ace, SymmetricSums(kBroadwayRanks & ~kept, weight)[static_cast<size_t>(need)]));
      }
    }
  }
  return out;
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
  if (hand.RankHistogram[static_cast<size_t>(naturals)] == 1) return WILD_FIVE_2 + hand.MinRank;
  int fit = -1;
  if (hand.MaxRank - hand.MinRank < 5) {
    if (hand.Counts[kAce][kTotalsColumn] > 0) {
      fit = hand.MaxRank < 4 ? 0 : (hand.MinRank > 7 ? 2 : -1);
    } else {
      fit = hand.MinRank < 8 ? 1 : 2;
    }
  }
  const bool flush = hand.SuitHistogram[static_cast<size_t>(naturals)] == 1;
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
    const auto pay = [&](int c) {
      return Payout != nullptr ? Payout->Pays[static_cast<size_t>(c)] : 0;
    };
    std::stable_sort(order.begin(), order.begin() + LastCategory + 1,
                     [&](int a, int b) { return pay(a) > pay(b); });
    for (int position = 0; position <= LastCategory; ++position) {
      const int c = order[static_cast<size_t>(position)];
      for (int k = 0; k < kWildHandKindCount; ++k) {
        if (InKindSet(WildKindSets[static_cast<size_t>(c)], k) && WildKindToCategory[k] == -1) {
          WildKindToCategory[k] = c;
        }
      }
    }
  } catch (...) {
    RethrowWithContext("Error calculate wild case (InternalSetPayout)");
  }
}

void TWildEngine::CountWildKinds(int mask) {
  TWildRow& row = WildCounts[mask];
  row.fill(0);
  const THand& kept = WorkHand;
  const int h = kept.WildCount;
  const int k = kept.Total - h;
  const int32_t deckWilds = Deck.WildCount;
  const int32_t naturals = Deck.Total - deckWilds;
  const int d = kHandSize - kept.Total;
  if (deckWilds + h == 0) return;  // no final hand can hold a wild card
  CheckRange(naturals, 0, kMaxDeck - 1, "natural cards in the deck");

  TRankWeights deckCount{};
  std::array<TRankWeights, kSuitCount> suitCards{};
  uint32_t keptRanks = 0;
  uint32_t absent = 0;
  for (int r = 0; r < kRankCount; ++r) {
    if (Deck.IsWild(r)) continue;
    deckCount[static_cast<size_t>(r)] = Deck.Counts[r][kTotalsColumn];
    CheckRange(deckCount[static_cast<size_t>(r)], 0, 4, "deck count of a rank");
    for (int s = 0; s < kSuitCount; ++s)
      suitCards[static_cast<size_t>(s)][static_cast<size_t>(r)] = Deck.Counts[r][s];
    if (kept.Counts[r][kTotalsColumn] > 0) {
      keptRanks |= 1u << r;
    } else {
      absent |= 1u << r;
    }
  }
  const bool distinct = kept.RankHistogram[1] == k;
  int keptSuit = -1;  // the one suit of the kept naturals; -1 when they have two
  for (int i = 0; i < kept.Total && keptSuit < 0; ++i)
    keptSuit = kept.Suits[static_cast<size_t>(i)];
  const bool oneSuit = k == 0 || kept.SuitHistogram[static_cast<size_t>(k)] == 1;
  // The suits a flush of the final naturals can be in.
  std::array<int, kSuitCount> flushSuitList = {0, 1, 2, 3};
  int flushSuitCount = 0;
  if (k == 0) {
    flushSuitCount = kSuitCount;
  } else if (oneSuit) {
    flushSuitList[0] = keptSuit;
    flushSuitCount = 1;
  }
  const std::span<const int> flushSuits(flushSuitList.data(), static_cast<size_t>(flushSuitCount));

  // Five and four wild cards.
  if (k == 0) row[WILD_5] = Choose(5 - h, deckWilds);
  if (h <= 4 && k <= 1) {
    const int32_t wilds = Choose(4 - h, deckWilds);
    if (k == 1) {
      row[(keptRanks >> kAce) & 1u ? WILD_4_A : WILD_4_WA] = wilds;
    } else {
      row[WILD_4_A] = Mul(deckCount[kAce], wilds);
      row[WILD_4_WA] = Mul(Sub(naturals, deckCount[kAce]), wilds);
    }
  }

  const TSums distinctWays = SymmetricSums(absent, deckCount);
  const TSums distinctLow = SymmetricSums(absent & ~kKingAndAce, deckCount);
  int32_t pairsOfAll = 0;  // sum of C(n, 2) over the ranks: two-pair completions
  int32_t pairsSquared = 0;
  for (int32_t n : deckCount) {
    pairsOfAll = Add(pairsOfAll, Choose(2, n));
    pairsSquared = Add(pairsSquared, Mul(Choose(2, n), Choose(2, n)));
  }

  // One to three wild cards in the final hand: j of them drawn, t naturals drawn.
  for (int wilds = 1; wilds <= 3; ++wilds) {
    const int j = wilds - h;
    const int t = kHandSize - wilds - k;
    if (j < 0 || j > d || t < 0) continue;
    const int32_t factor = Choose(j, deckWilds);
    if (factor == 0) continue;
    const auto put = [&](int kind, int32_t ways) { row[kind] = Add(row[kind], Mul(factor, ways)); };

    // Five of a kind: every natural of one rank.
    int32_t fives = 0;
    for (int r = 0; r < kRankCount; ++r) {
      if (Deck.IsWild(r)) continue;
      if (k > 0 && kept.Counts[r][kTotalsColumn] != k) continue;
      const int32_t ways = Choose(t, deckCount[static_cast<size_t>(r)]);
      fives = Add(fives, ways);
      put(WILD_FIVE_2 + r, ways);
    }
    const int32_t all = Choose(t, naturals);
    // Naturals of different ranks: all of them, the flushes, and those fitting a straight.
    const int32_t different = distinct ? distinctWays[static_cast<size_t>(t)] : 0;
    int32_t flushes = 0;
    TFits suitedFits = {0, 0, 0};
    TFits fits = {0, 0, 0};
    if (distinct) {
      fits = CountFits(keptRanks, k, t, deckCount, kAce);
      for (int s : flushSuits) {
        flushes = Add(flushes, Choose(t, Deck.Counts[kTotalsRow][s]));
        const TFits f = CountFits(keptRanks, k, t, suitCards[static_cast<size_t>(s)], kAce);
        for (size_t x = 0; x < 3; ++x) suitedFits[x] = Add(suitedFits[x], f[x]);
      }
    }
    const int32_t plainFits = Sub(Sum(fits), Sum(suitedFits));
    const int32_t unsuitedNoFit = Sub(Sub(different, flushes), plainFits);
    const int flushBase = wilds == 3 ? WILD_3_FLUSH : wilds == 2 ? WILD_2_FLUSH : WILD_1_FLUSH;
    put(flushBase, Sub(flushes, Sum(suitedFits)));
    for (int x = 0; x < 3; ++x) put(flushBase + 1 + x, suitedFits[static_cast<size_t>(x)]);

    if (wilds == 3) {
      put(WILD_3, Sub(different, flushes));  // two wilds more make four of a kind anyway
      continue;
    }
    const int straightBase = wilds == 2 ? WILD_2_STRAIGHT_A_5 : WILD_1_STRAIGHT_A_5;
    for (int x = 0; x < 3; ++x) {
      put(straightBase + x, Sub(fits[static_cast<size_t>(x)], suitedFits[static_cast<size_t>(x)]));
    }
    if (wilds == 2) {
      put(WILD_2, unsuitedNoFit);
      put(WILD_2_AND_2_1, Sub(Sub(all, fives), different));  // a pair and a single
      continue;
    }

    // One wild card: the rest of the different ranks split by a king or an ace.
    int32_t low = 0;
    if (distinct && (keptRanks & kKingAndAce) == 0) {
      int32_t lowFlushes = 0;
      TFits lowSuited = {0, 0, 0};
      for (int s : flushSuits) {
        int32_t cards = 0;
        for (int r = 0; r < kKing; ++r)
          cards = Add(cards, suitCards[static_cast<size_t>(s)][static_cast<size_t>(r)]);
        lowFlushes = Add(lowFlushes, Choose(t, cards));
        const TFits f = CountFits(keptRanks, k, t, suitCards[static_cast<size_t>(s)], kKing - 1);
        for (size_t x = 0; x < 3; ++x) lowSuited[x] = Add(lowSuited[x], f[x]);
      }
      const TFits lowFits = CountFits(keptRanks, k, t, deckCount, kKing - 1);
      low = Sub(Sub(distinctLow[static_cast<size_t>(t)], lowFlushes),
                Sub(Sum(lowFits), Sum(lowSuited)));
    }
    put(WILD_1, low);
    put(WILD_1_KINGS, Sub(unsuitedNoFit, low));

    // Three of a kind and a single: the single is held or drawn.
    int32_t trips = 0;
    for (int r = 0; r < kRankCount; ++r) {
      if (Deck.IsWild(r)) continue;
      const int held = kept.Counts[r][kTotalsColumn];
      const int others = k - held;
      if (held > 3 || others > 1) continue;
      trips = Add(trips, Mul(Choose(3 - held, deckCount[static_cast<size_t>(r)]),
                             Choose(1 - others, Sub(naturals, deckCount[static_cast<size_t>(r)]))));
    }
    put(WILD_1_AND_3_1, trips);
    // Two pairs: of the held ranks, or of one held rank and any other, or of any two.
    int32_t twoPairs = 0;
    if (kept.RankHistogram[3] == 0 && kept.RankHistogram[4] == 0 && CountRanks(keptRanks) <= 2) {
      if (k == 0) {
        twoPairs = Sub(Mul(pairsOfAll, pairsOfAll), pairsSquared) / 2;
      } else {
        const int p = std::countr_zero(keptRanks);
        const int q = 31 - std::countl_zero(keptRanks);
        const int32_t first =
            Choose(2 - kept.Counts[p][kTotalsColumn], deckCount[static_cast<size_t>(p)]);
        if (p != q) {
          twoPairs = Mul(
              first, Choose(2 - kept.Counts[q][kTotalsColumn], deckCount[static_cast<size_t>(q)]));
        } else {
          twoPairs = Mul(first, Sub(pairsOfAll, Choose(2, deckCount[static_cast<size_t>(p)])));
        }
      }
    }
    put(WILD_1_AND_2_2, twoPairs);
    put(WILD_1_AND_2_1_1, Sub(Sub(Sub(Sub(all, fives), trips), twoPairs), different));
  }
}

// WorkHand holds the kept cards: the natural step that runs first (CheckDraw, its quick
// variant or CheckEmpty) has prepared it for this mask.
void TWildEngine::CountWildDraw(int mask) {
  CheckRange(mask, 0, kMaskCount - 1, "draw mask");
  if (WorkHand.Total - WorkHand.WildCount == 0) {
    InternalCheckEmpty(mask);
    return;
  }
  CountWildKinds(mask);
}

void TWildEngine::InternalCheckEmpty(int mask) {
  try {
    CheckRange(mask, 0, kMaskCount - 1, "draw mask");
    if (WorkHand.Total != WorkHand.WildCount) throw RangeError("The hold keeps a natural card");
    CountWildKinds(mask);
  } catch (...) {
    RethrowWithContext(std::string(kWildCase) +
                       "(InternalCheckEmpty) DrawMask=" + std::to_string(mask));
  }
}

void TWildEngine::FoldWildKinds() {
  for (int k = 0; k < kWildHandKindCount; ++k) {
    const int c = WildKindToCategory[k];
    if (c < 0) continue;
    for (int m = 0; m < kMaskCount; ++m) CategoryCounts[m][c] += WildCounts[m][k];
  }
}

void TWildEngine::SetWildSetup(int jokers, int wildRank) {
  Deck.SetJokerCount(jokers);
  Deck.SetWildRank(wildRank);
  DealtHand.SetWildRank(wildRank);
  WorkHand.SetWildRank(wildRank);
  FullDeckWilds = Deck.WildCount;
}

void TWildEngine::BeginHandAnalysis() {
  TPokerEngine::BeginHandAnalysis();
  std::memset(WildCounts.data(), 0, sizeof WildCounts);
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

void TWildEngine::CheckDrawQuick(int mask) {
  TPokerEngine::CheckDrawQuick(mask);
  try {
    CountWildDraw(mask);
  } catch (...) {
    RethrowWithContext(std::string(kWildCase) + "(CheckDraw) DrawMask=" + std::to_string(mask));
  }
}

void TWildEngine::CheckEmptyQuick() {
  TPokerEngine::CheckEmptyQuick();
}

void TWildEngine::FoldKindsIntoCategories() {
  TPokerEngine::FoldKindsIntoCategories();
  FoldWildKinds();
}

void TWildEngine::RecountStraightsAndFlushes() {
  TPokerEngine::RecountStraightsAndFlushes();
  FoldWildKinds();
}

void TWildEngine::ClearCountsQuick() {
  TPokerEngine::ClearCountsQuick();
  Calculator.InitSuits(Deck);
  std::memset(WildCounts.data(), 0, sizeof WildCounts);
}

void TWildEngine::SetGame(const TPokerDescription& description) {
  TPokerEngine::SetGame(description);
  SetWildSetup(description.JokerCount, description.WildRank < 0 ? -1 : description.WildRank);
  WildKindSets.fill(0);
  for (int c = 0; c <= LastCategory; ++c)
    WildKindSets[static_cast<size_t>(c)] = description.WildKindSet(c);
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
  switch (FullDeckWilds) {
    case 1:
      return 153036;
    case 2:
      return 154791;
    case 4:
      return 103844;
    case 5:
      return 103845;
    default:
      return TPokerEngine::DealClassCount();
  }
}

void TWildEngine::Check1(const TDealClass& deal) {
  Check(deal);
}

std::unique_ptr<TPokerEngine> TWildEngine::NewWorker() const {
  if (typeid(*this) != typeid(TWildEngine)) return nullptr;
  return std::unique_ptr<TPokerEngine>(new TWildEngine(*this));
}

void TWildEngine::RunPermutations() {
  TPokerEngine::RunPermutations();
  try {
    std::vector<TDealClass> classes;
    ForEachWildDealClass(FullDeckWilds, Deck.WildRank,
                         [&](const TDealClass& deal) { classes.push_back(deal); });
    PlayDealClasses(classes);
  } catch (...) {
    RethrowWithContext("Error calculate wild case (RunPermutations)");
  }
}

std::string TWildEngine::VerifyDraw(int mask) {
  CheckRange(mask, 0, kMaskCount - 1, "draw mask");
  const int d = DrawCount[mask];
  THand kept;
  kept.SetWildRank(Deck.WildRank);
  kept.CopyKept(DealtHand, mask);
  // Every card of the deck, the wild cards one by one (a wild card is rank -1).
  std::vector<TCard> cards;
  for (int i = 0; i < Deck.WildCount; ++i) cards.push_back({-1, -1});
  for (int r = 0; r < kRankCount; ++r) {
    for (int s = 0; s < kSuitCount; ++s) {
      for (int i = 0; i < Deck.Counts[r][s]; ++i) cards.push_back({r, s});
    }
  }
  TKindRow natural{};
  TWildRow wild{};
  int64_t draws = 0;
  std::array<int, kHandSize> pick{};
  THand hand;
  hand.SetWildRank(Deck.WildRank);
  const auto visit = [&](const auto& self, int depth, size_t from) -> void {
    if (depth == d) {
      hand.CopyKept(kept, 0);
      for (int i = 0; i < d; ++i) {
        const TCard& card = cards[static_cast<size_t>(pick[static_cast<size_t>(i)])];
        hand.AddCard(card.Rank, card.Suit);
      }
      if (hand.WildCount > 0) {
        ++wild[static_cast<size_t>(ClassifyWild(hand))];
      } else {
        const int kind = ClassifyNatural(hand);
        if (kind >= 0) ++natural[static_cast<size_t>(kind)];
      }
      ++draws;
      return;
    }
    for (size_t i = from; i < cards.size(); ++i) {
      pick[static_cast<size_t>(depth)] = static_cast<int>(i);
      self(self, depth + 1, i + 1);
    }
  };
  visit(visit, 0, 0);

  std::string report;
  for (int k = 0; k < kHandKindCount; ++k) {
    if (natural[static_cast<size_t>(k)] != KindCount[mask][k]) {
      report += std::string(HandKindNames[static_cast<size_t>(k)]) + ": engine " +
                std::to_string(KindCount[mask][k]) + ", listing " +
                std::to_string(natural[static_cast<size_t>(k)]) + "\n";
    }
  }
  for (int k = 0; k < kWildHandKindCount; ++k) {
    if (wild[static_cast<size_t>(k)] != WildCounts[mask][k]) {
      report += std::string(WildHandKindNames[static_cast<size_t>(k)]) + ": engine " +
                std::to_string(WildCounts[mask][k]) + ", listing " +
                std::to_string(wild[static_cast<size_t>(k)]) + "\n";
    }
  }
  if (draws != DrawsOf(mask)) {
    report += "draws: engine " + std::to_string(DrawsOf(mask)) + ", listing " +
              std::to_string(draws) + "\n";
  }
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
