// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/poker_engine.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <typeinfo>

#include "checked.h"
#include "engine/deal_classes.h"
#include "errors.h"

namespace tarnwick {

namespace {

constexpr char kNaturalCase[] = "Error calculate natural case ";

std::string MaskContext(const char* step, int mask) {
  return std::string(kNaturalCase) + step + " DrawMask=" + std::to_string(mask);
}

using TStraightCounts = TPokerEngine::TStraightCounts;

// Counts the ways to complete the kept ranks `kept` (a bit set: the kept cards are all of
// different ranks) to a straight in column `column` (4 = rank totals, 0..3 = one suit, the
// suit of every kept card) by drawing the missing ranks from the deck. Returns false when
// no straight window and no wheel is possible.
bool StraightCount(uint32_t kept, const TDeck& deck, int column, TStraightCounts& out) {
  const auto has = [&](int r) { return ((kept >> r) & 1u) != 0; };
  const auto ways = [&](int r) { return has(r) ? 1 : deck.Counts[r][column]; };
  // The lowest kept rank (an ace counts high) and the highest kept rank below the ace, as
  // a hand's MinRank and MaxRank have them.
  const uint32_t belowAce = kept & ~(1u << kAce);
  const int maxRank = belowAce != 0 ? 31 - std::countl_zero(belowAce) : 0;
  const int lo = kept != 0 ? std::countr_zero(kept) : kAce;
  const int hi = has(kAce) ? kAce : maxRank;
  const bool windows = hi - lo <= 4;
  out = TStraightCounts{};
  if (windows) {
    for (int low = std::max(0, hi - 4); low <= std::min(lo, 8); ++low) {
      int32_t product = 1;
      for (int r = low; r <= low + 4; ++r) product = Mul(product, ways(r));
      if (low == 8) {
        out.AceHigh = Add(out.AceHigh, product);
      } else {
        out.Other = Add(out.Other, product);
      }
    }
  }
  if (maxRank < 4) {
    int32_t product = ways(kAce);
    for (int r = 0; r <= 3; ++r) product = Mul(product, ways(r));
    out.Wheel = product;
  }
  return windows || out.Wheel != 0;
}

}  // namespace

TPokerEngine::TPokerEngine() {
  KindToCategory.fill(-1);
}

void TPokerEngine::BeginHandAnalysis() {
  // Plain memsets: the element-wise fill of these 10 KB cost more than a tenth of a hand.
  std::memset(KindCount.data(), 0, sizeof KindCount);
  std::memset(CategoryDraws.data(), 0, sizeof CategoryDraws);
  holdValues_.Invalidate();
  deckPrepared_ = Calculator.PrepareDeck(Deck);
  keptCards_.Prepare(DealtHand);
  rankShapes_.Clear();
  dealtRanks_.Prepare(DealtHand, Deck);
}

void TPokerEngine::Reset() {
  ClearDealtAndDeck();
  if (Payout != nullptr) {
    Payout->LastCategory = LastCategory;
    Payout->DeckSize = Deck.Total;
  }
}

int TPokerEngine::ClassifyNatural(const THand& hand) {
  const auto& rh = hand.RankHistogram;
  if (rh[1] == 5) {
    const int aces = hand.Counts[kAce][kTotalsColumn];
    int kind = -1;
    if (hand.MaxRank - hand.MinRank == 4 && aces == 0) {
      kind = STRAIGHT;
    } else if (hand.MaxRank - hand.MinRank == 3 && aces == 1) {
      if (hand.MinRank == 0) {
        kind = STRAIGHT_A_5;
      } else if (hand.MaxRank == kKing) {
        kind = STRAIGHT_T_A;
      }
    }
    if (hand.SuitHistogram[5] == 1) {
      switch (kind) {
        case STRAIGHT_A_5:
          return FLUSH_STRAIGHT_A_5;
        case STRAIGHT:
          return FLUSH_STRAIGHT;
        case STRAIGHT_T_A:
          return FLUSH_STRAIGHT_T_A;
        default:
          return FLUSH;
      }
    }
    return kind;
  }
  if (rh[2] == 2) return TWO_PAIRS;
  if (rh[3] == 1 && rh[2] == 1) return FULL_HOUSE;
  int target = 2;
  int base = PAIRS_2;
  if (rh[4] == 1) {
    target = 4;
    base = FOUR_OF_KIND_2;
  } else if (rh[3] == 1) {
    target = 3;
    base = THREE_OF_KIND_2;
  }
  for (int r = 0; r < kRankCount; ++r) {
    if (hand.Counts[r][kTotalsColumn] == target) return base + r;
  }
  return -1;
}

int TPokerEngine::WithKicker(int kind, const THand& hand) {
  for (size_t i = 0; i < kKickerRanks.size(); ++i) {
    const int rank = kKickerRanks[i];
    if (kind != FOUR_OF_KIND_2 + rank) continue;
    for (const int kicker : kKickerRanks) {
      if (kicker != rank && hand.Counts[kicker][kTotalsColumn] == 1) return kKickerFours[i];
    }
  }
  return kind;
}

void TPokerEngine::CheckCombination() {
  try {
    const int kind = ClassifyNatural(DealtHand);
    if (kind >= 0) KindCount[0][kind] = 1;
    if (paysKickers_) SplitKickers(0);
  } catch (...) {
    RethrowWithContext("Error calculate natural case (CheckCombination)");
  }
}

void TPokerEngine::CountStraightsAndFlush(int mask, const TKeptCards& kept, bool ranksCounted) {
  TKindRow& row = KindCount[mask];
  const int d = DrawCount[mask];
  const int suit = kept.Suit;
  suitedHold_[mask] = suit >= 0;
  if (suit >= 0) row[FLUSH] = BinomialAt(d, Deck.Counts[kTotalsRow][suit]);
  // The plain straights depend on the ranks only: the quick analysis reuses them.
  TStraightCounts& plain = plainStraights_[mask];
  if (!ranksCounted) plain.Possible = StraightCount(kept.Ranks, Deck, kTotalsColumn, plain);
  if (!plain.Possible) return;
  row[STRAIGHT_A_5] = plain.Wheel;
  row[STRAIGHT] = plain.Other;
  row[STRAIGHT_T_A] = plain.AceHigh;
  TStraightCounts flush;
  if (suit < 0 || !StraightCount(kept.Ranks, Deck, suit, flush)) return;
  row[FLUSH_STRAIGHT_A_5] = flush.Wheel;
  row[FLUSH_STRAIGHT] = flush.Other;
  row[FLUSH_STRAIGHT_T_A] = flush.AceHigh;
  row[FLUSH] = Sub(row[FLUSH], Add(Add(flush.Wheel, flush.Other), flush.AceHigh));
  row[STRAIGHT_A_5] = Sub(row[STRAIGHT_A_5], flush.Wheel);
  row[STRAIGHT] = Sub(row[STRAIGHT], flush.Other);
  row[STRAIGHT_T_A] = Sub(row[STRAIGHT_T_A], flush.AceHigh);
}

TPokerEngine::TRankCounts TPokerEngine::RankCounts(int n, int h, const TKeptShape& shape) const {
  // Every table index below is bounded by d <= 5, a kept count <= 4 and deck counts
  // checked by the caller, so the binomials are read without a check of their own. C(n, k)
  // is 0 for k > n, so a rank with too few cards left counts 0 without a test on n: the
  // remaining tests depend only on the hold, which keeps them predictable.
  const auto choose = [](int drawn, int cards) { return Binomial[drawn][cards]; };
  const int d = shape.Drawn;
  const auto& rh = *shape.RankHistogram;
  TRankCounts out;
  if (rh[4] == 0) {
    int x = -1;  // the pair-completion entry rank r itself would add to
    int32_t w = 0;
    if (rh[3] == 0) {
      // One pair of r and nothing else.
      x = 2 - h;
      w = choose(x, n);
      if (x <= d && (rh[2] == 0 || (rh[2] == 1 && x == 0))) {
        const int nAbs = h == 0 ? n : 0;
        out.Pairs = Mul(Calculator.NoPair[nAbs][d - x], w);
      }
    }
    const int y = 3 - h;
    if (y <= d) {
      // Trips of r; with a pair of another rank (r must not pair itself) a full house.
      const int32_t trips = choose(y, n);
      if (rh[1] <= 2) {
        const int32_t others = Sub(Calculator.PairCompletion[d - y], d - y == x ? w : 0);
        out.FullHouses = Mul(trips, others);
      }
      out.Three = Sub(Mul(trips, choose(d - y, shape.Naturals - n)), out.FullHouses);
    }
  }
  const int z = 4 - h;
  if (z <= d) out.Four = Mul(choose(z, n), choose(d - z, shape.Naturals - n));
  return out;
}

void TPokerEngine::CheckDraw(int mask) {
  try {
    CheckRange(mask, 0, kMaskCount - 1, "draw mask");
    const TKeptCards& keptCards = keptCards_[mask];
    if (keptCards.Wilds > 0) return;  // the wild-card engine counts these holds
    const TRankShape& shape = RankShapeOf(mask);
    TKindRow& row = KindCount[mask];
    // Each rank's pairs, trips and fours, as the shape has them for its counts.
    dealtRanks_.PutRankEntries(
        mask, Deck, shape.ByCounts,
        [&](const TRankCounts& c) {
          std::fill_n(row.begin() + PAIRS_2, kRankCount, c.Pairs);
          std::fill_n(row.begin() + THREE_OF_KIND_2, kRankCount, c.Three);
          std::fill_n(row.begin() + FOUR_OF_KIND_2, kRankCount, c.Four);
        },
        [&](int r, const TRankCounts& c) {
          row[PAIRS_2 + r] = c.Pairs;
          row[THREE_OF_KIND_2 + r] = c.Three;
          row[FOUR_OF_KIND_2 + r] = c.Four;
        });
    row[FULL_HOUSE] = shape.FullHouses;
    row[TWO_PAIRS] = shape.TwoPairs;
    suitedHold_[mask] = false;
    if (keptCards.Distinct()) CountStraightsAndFlush(mask, keptCards);
    if (paysKickers_) SplitKickers(mask);
  } catch (...) {
    RethrowWithContext(MaskContext("(CheckDraw)", mask));
  }
}

const TPokerEngine::TRankShape& TPokerEngine::RankShapeOf(int mask) {
  const auto count = [&](TRankShape& shape) { CountRankShape(mask, shape); };
  // A deck the calculator could not prepare holds a count it must name: no shape of it is
  // kept, so that every hold goes through the calculator's full Init.
  if (!deckPrepared_ || !dealtRanks_.ShapesShared()) return rankShapes_.Spare(count);
  return rankShapes_.Find(dealtRanks_.ShapeKey(mask, keptCards_[mask].Wilds), count);
}

void TPokerEngine::CountRankShape(int mask, TRankShape& shape) {
  WorkHand.CopyKept(DealtHand, mask);
  const THand& kept = WorkHand;
  // BeginHandAnalysis prepared the calculator for this deal's deck; the full Init names
  // a deck it could not prepare.
  if (deckPrepared_) {
    Calculator.Init(kept);
  } else {
    Calculator.Init(Deck, kept);
  }
  const int d = DrawCount[mask];
  const int k = kHandSize - d;
  const int32_t naturals = NaturalCardsInDeck();
  CheckRange(naturals, 0, kMaxDeck - 1, "natural cards in the deck");
  const TKeptShape keptShape{d, naturals, &kept.RankHistogram};

  int32_t rest = Binomial[d][naturals];
  // Draws that leave five different ranks are nothing, straights or flushes.
  if (kept.RankHistogram[1] == k) rest = Sub(rest, Calculator.NoPair[0][d]);
  // Ranks with the same deck and kept counts count alike: each pair of counts present is
  // worked out once (bit 5n + h of `made`).
  uint32_t made = 0;
  int32_t fullHouses = 0;
  int32_t ranked = 0;  // draws that pair, trip or quad one rank and nothing else
  // `ranks` ranks of deck count n and kept count h.
  const auto count = [&](int32_t n, int32_t h, int32_t ranks) {
    CheckRange(n, 0, std::min(4, naturals), "deck count of a rank");
    TRankCounts& c = shape.ByCounts[n][h];
    if ((made & (1u << (5 * n + h))) == 0) {
      c = RankCounts(n, h, keptShape);
      made |= 1u << (5 * n + h);
    }
    fullHouses = Add(fullHouses, Mul(ranks, c.FullHouses));
    ranked = Add(ranked, Mul(ranks, Add(Add(c.Pairs, c.Three), c.Four)));
  };
  dealtRanks_.ForEachRankClass(mask, Deck, count);
  rest = Sub(rest, ranked);
  shape.FullHouses = fullHouses;
  // What is left are the draws with two pairs or a full house.
  shape.TwoPairs = Sub(rest, fullHouses);
}

void TPokerEngine::CountEmptyStraightsAndFlushes(bool ranksCounted) {
  TKindRow& row = KindCount[kFullDrawMask];
  int32_t flushes = 0;
  int32_t wheelFlushes = 0;
  int32_t otherFlushes = 0;
  int32_t royalFlushes = 0;
  for (int s = 0; s < kSuitCount; ++s) {
    flushes = Add(flushes, BinomialAt(5, Deck.Counts[kTotalsRow][s]));
    // The suit's cards as a bit set; a bit of `windows` marks the lowest rank of five
    // ranks in a row that the deck holds in the suit.
    uint32_t cards = 0;
    for (int r = 0; r < kRankCount; ++r) cards |= Deck.Counts[r][s] != 0 ? 1u << r : 0u;
    const uint32_t windows = cards & (cards >> 1) & (cards >> 2) & (cards >> 3) & (cards >> 4);
    otherFlushes += CountBits(windows & 0xFFu);  // lowest rank deuce to nine
    royalFlushes += (windows >> 8) & 1u;         // ten to ace
    constexpr uint32_t kWheel = (1u << kAce) | 0xFu;
    wheelFlushes += (cards & kWheel) == kWheel ? 1 : 0;
  }
  row[FLUSH_STRAIGHT_A_5] = wheelFlushes;
  row[FLUSH_STRAIGHT] = otherFlushes;
  row[FLUSH_STRAIGHT_T_A] = royalFlushes;
  row[FLUSH] = Sub(flushes, Add(Add(wheelFlushes, otherFlushes), royalFlushes));

  // The straights of any suits depend on the ranks only: the quick analysis reuses them.
  TStraightCounts& plain = plainStraights_[kFullDrawMask];
  if (!ranksCounted) {
    const auto n = [&](int r) { return Deck.Counts[r][kTotalsColumn]; };
    int32_t straights = 0;
    int32_t product = 1;
    int run = 0;
    for (int r = 0; r < kRankCount; ++r) {
      if (run < 5) {
        ++run;
      } else {
        straights = Add(straights, product);
        product /= n(r - 5);
      }
      product = Mul(product, n(r));
      if (product == 0) {
        run = 0;
        product = 1;
      }
    }
    plain.AceHigh = run == 5 ? product : 0;
    plain.Other = straights;
    int32_t wheels = n(kAce);
    for (int r = 0; r <= 3; ++r) wheels = Mul(wheels, n(r));
    plain.Wheel = wheels;
  }
  row[STRAIGHT_T_A] = plain.AceHigh == 0 ? 0 : Sub(plain.AceHigh, royalFlushes);
  row[STRAIGHT] = Sub(plain.Other, otherFlushes);
  row[STRAIGHT_A_5] = Sub(plain.Wheel, wheelFlushes);
}

void TPokerEngine::CountEmptyRankKinds() {
  TKindRow& row = KindCount[kFullDrawMask];
  const int32_t naturals = NaturalCardsInDeck();
  const auto& noPair = Calculator.NoPair;
  const int32_t pairsOfAll = Calculator.PairCompletion[2];
  int32_t rest = Sub(BinomialAt(5, naturals), noPair[0][5]);
  for (int r = 0; r < kRankCount; ++r) {
    if (Deck.IsWild(r)) continue;
    const int32_t n = Deck.Counts[r][kTotalsColumn];
    CheckRange(n, 0, 4, "deck count of a rank");
    const int32_t pairs = Mul(BinomialAt(2, n), noPair[n][3]);
    const int32_t fullHouses = Mul(BinomialAt(3, n), Sub(pairsOfAll, BinomialAt(2, n)));
    const int32_t three = Sub(Mul(BinomialAt(3, n), BinomialAt(2, naturals - n)), fullHouses);
    const int32_t four = Mul(BinomialAt(4, n), BinomialAt(1, naturals - n));
    row[PAIRS_2 + r] = pairs;
    row[FULL_HOUSE] = Add(row[FULL_HOUSE], fullHouses);
    row[THREE_OF_KIND_2 + r] = three;
    row[FOUR_OF_KIND_2 + r] = four;
    rest = Sub(Sub(Sub(rest, pairs), three), four);
  }
  row[TWO_PAIRS] = Sub(rest, row[FULL_HOUSE]);
}

void TPokerEngine::CheckEmpty() {
  try {
    WorkHand.Clear();
    Calculator.Init(Deck, WorkHand);
    CountEmptyStraightsAndFlushes();
    CountEmptyRankKinds();
    if (paysKickers_) SplitKickers(kFullDrawMask);
  } catch (...) {
    RethrowWithContext("Error calculate natural case (CheckEmpty)");
  }
}

void TPokerEngine::SplitKickers(int mask) {
  TKindRow& row = KindCount[mask];
  const TKeptCards& kept = keptCards_[mask];
  const int32_t naturals = NaturalCardsInDeck();
  int32_t kickersInDeck = 0;
  for (const int rank : kKickerRanks) kickersInDeck += Deck.Counts[rank][kTotalsColumn];
  for (size_t i = 0; i < kKickerRanks.size(); ++i) {
    const int rank = kKickerRanks[i];
    int32_t& four = row[FOUR_OF_KIND_2 + rank];
    int32_t kicker = 0;
    const uint32_t others = kept.Ranks & ~(1u << rank);
    if (four == 0) {
      // Nothing to split.
    } else if (others != 0) {
      // The hold keeps the fifth card (the only card of another rank that still lets four
      // of this rank come): every four of a kind has it.
      kicker = (others & kKickerRankBits) != 0 ? four : 0;
    } else {
      // The fifth card is drawn: the hold's fours are C(n, 4 - h) ways to draw the rest of
      // the rank times the naturals of other ranks, and the kicker ranks are a share of those.
      const int32_t n = Deck.Counts[rank][kTotalsColumn];
      kicker = Mul(four / (naturals - n), kickersInDeck - n);
    }
    four = Sub(four, kicker);
    row[kKickerFours[i]] = kicker;
  }
}

void TPokerEngine::FoldKindsIntoCategories() {
  FoldHolds(0, kFullDrawMask);
}

void TPokerEngine::FoldHolds(int firstMask, int lastMask) {
  for (int m = firstMask; m <= lastMask; ++m) holdValues_.MarkChanged(m);
  for (int m = firstMask; m <= lastMask; ++m)
    naturalFold_.Fold(KindCount[m].data(), CategoryDraws[m]);
}

long double TPokerEngine::DrawReturn(int mask) const {
  try {
    CheckRange(mask, 0, kMaskCount - 1, "draw mask");
    if (Payout == nullptr) return 0;
    // A hold has at most C(53, 5) < 2^22 draws and a pay is below 2^31, so the sum over at
    // most 16 categories stays below 2^57: it cannot overflow 64 bits.
    int64_t sum = 0;
    for (int c = 0; c <= LastCategory; ++c) {
      sum += CategoryDraws[mask][c] * static_cast<int64_t>(Payout->Pays[c]);
    }
    return static_cast<long double>(sum) / static_cast<long double>(DrawsOf(mask));
  } catch (...) {
    RethrowWithContext("Error calculate natural case (DrawReturn)");
  }
}

int TPokerEngine::BestMask() {
  if (Payout == nullptr) return 0;  // every hold is worth 0: standing pat wins the tie
  CheckRange(Deck.Total, 0, kMaxDeck - 1, "cards in the deck");
  return holdValues_.Best(CategoryDraws, Payout->Pays, LastCategory, Deck.Total);
}

int TPokerEngine::GetTheBest() {
  try {
    BeginHandAnalysis();
    CheckCombination();
    for (int m = 1; m < kFullDrawMask; ++m) CheckDraw(m);
    CheckEmpty();
    FoldKindsIntoCategories();
    return BestMask();
  } catch (...) {
    RethrowWithContext("Error calculate natural case (GetTheBest)");
  }
}

int TPokerEngine::GetTheBestQuick() {
  try {
    ClearCountsQuick();
    CheckCombination();
    for (int m = 1; m < kFullDrawMask; ++m) CheckDrawQuick(m);
    CheckEmptyQuick();
    // The quick steps moved what they counted again in the category counts of holds
    // 1..31 themselves: only the dealt hand's row is folded anew.
    FoldHolds(0, 0);
    return BestMask();
  } catch (...) {
    RethrowWithContext("Error calculate natural case (GetTheBest)");
  }
}

int64_t TPokerEngine::CategoryCount(int category, int mask) const {
  CheckRange(mask, 0, kMaskCount - 1, "draw mask");
  CheckRange(category, 0, kMaxCategories, "category");
  if (category <= LastCategory) return CategoryDraws[mask][category];
  int64_t paying = 0;
  for (int c = 0; c <= LastCategory; ++c) paying += CategoryDraws[mask][c];
  return DrawsOf(mask) - paying;
}

long double TPokerEngine::MaskCategoryChance(int category, int mask) const {
  CheckRange(mask, 0, kMaskCount - 1, "draw mask");
  CheckRange(category, 0, kMaxCategories - 1, "category");
  return static_cast<long double>(CategoryDraws[mask][category]) /
         static_cast<long double>(DrawsOf(mask));
}

int32_t TPokerEngine::DrawsOf(int mask) const {
  CheckRange(mask, 0, kMaskCount - 1, "draw mask");
  return BinomialAt(DrawCount[mask], Deck.Total);
}

void TPokerEngine::ClearDealtAndDeck() {
  DealtHand.Clear();
  Deck.Refill();
}

void TPokerEngine::DealCards(const std::array<int, kHandSize>& codes) {
  // Only cards of one deck of the game can be dealt: each card once, and no more jokers
  // (codes -1 and -2, either of which is a deck's first) than the deck has.
  int jokers = 0;
  for (size_t i = 0; i < codes.size(); ++i) {
    const int code = codes[i];
    const bool joker = code == -1 || code == -2;
    jokers += joker ? 1 : 0;
    if ((code < 0 && !joker) || code >= kRankCount * kSuitCount || jokers > Deck.JokerCount) {
      throw InputError("The card code " + std::to_string(code) + " is not in the deck of " +
                       GameName);
    }
    for (size_t j = 0; j < i; ++j) {
      if (codes[j] == code) throw InputError("The card " + CardText(code) + " is dealt twice");
    }
  }
  ClearDealtAndDeck();
  for (int code : codes) {
    const TCard card = CardFromCode(code);
    DealtHand.AddCard(card.Rank, card.Suit);
    Deck.RemoveCard(card.Rank, card.Suit);
  }
}

void TPokerEngine::SetGame(const TPokerDescription& description) {
  GameName = description.Name;
  LastCategory = description.LastCategory;
  CheckRange(LastCategory, 0, kMaxCategories - 1, "last category");
  GameId = description.GameId;
  CategoryNameList.clear();
  for (int c = 0; c <= LastCategory; ++c) CategoryNameList.push_back(description.CategoryName(c));
  KindToCategory.fill(-1);
  for (int c = 0; c <= LastCategory; ++c) {
    const TKindSet set = description.NaturalKindSet(c);
    for (int k = 0; k < kHandKindCount; ++k) {
      if (InKindSet(set, k)) KindToCategory[k] = c;
    }
  }
  naturalFold_.Build(KindToCategory.data(), kHandKindCount);
  paysKickers_ = description.PaysKickers();
}

int TPokerEngine::DealtCategory() const {
  for (int k = 0; k < kHandKindCount; ++k) {
    if (KindCount[0][k] == 1) return KindToCategory[k];
  }
  return -1;
}

void TPokerEngine::SetPayout(TPayout* payout) {
  Payout = payout;
  if (Payout != nullptr) Reset();
}

std::unique_ptr<TPokerEngine> TPokerEngine::NewWorker() const {
  // A copy made here would lose what a derived engine changes: it has to say how.
  if (typeid(*this) != typeid(TPokerEngine)) return nullptr;
  return std::unique_ptr<TPokerEngine>(new TPokerEngine(*this));
}

void TPokerEngine::SetProgress(TProgress* progress) {
  Progress = progress;
}

void TPokerEngine::Tick() {
  ++ProgressCounter;
  if (ProgressCounter % 100 == 0 && Progress != nullptr) Progress->Step(ProgressCounter);
}

int64_t TPokerEngine::ListDraws(int mask, bool wildCards,
                                const std::function<void(const THand&)>& onHand) const {
  CheckRange(mask, 0, kMaskCount - 1, "draw mask");
  const int d = DrawCount[mask];
  THand kept;
  kept.SetWildRank(Deck.WildRank);
  kept.CopyKept(DealtHand, mask);
  // Every card of the deck, one entry per card (a wild card is rank -1).
  std::vector<TCard> cards;
  if (wildCards) cards.assign(static_cast<size_t>(Deck.WildCount), TCard{-1, -1});
  for (int r = 0; r < kRankCount; ++r) {
    for (int s = 0; s < kSuitCount; ++s) {
      for (int i = 0; i < Deck.Counts[r][s]; ++i) cards.push_back({r, s});
    }
  }
  int64_t draws = 0;
  std::array<int, kHandSize> pick{};
  THand hand;
  hand.SetWildRank(Deck.WildRank);
  // Visits every d-card subset of `cards` in lexicographic order of positions.
  const auto visit = [&](const auto& self, int depth, size_t from) -> void {
    if (depth == d) {
      hand.CopyKept(kept, 0);
      for (int i = 0; i < d; ++i) {
        const TCard& card = cards[pick[i]];
        hand.AddCard(card.Rank, card.Suit);
      }
      onHand(hand);
      ++draws;
      return;
    }
    for (size_t i = from; i < cards.size(); ++i) {
      pick[depth] = static_cast<int>(i);
      self(self, depth + 1, i + 1);
    }
  };
  visit(visit, 0, 0);
  return draws;
}

void TPokerEngine::ReportDifference(std::string& report, std::string_view name, int64_t engine,
                                    int64_t listing) {
  if (engine == listing) return;
  report += std::string(name) + ": engine " + std::to_string(engine) + ", listing " +
            std::to_string(listing) + "\n";
}

std::string TPokerEngine::VerifyDraw(int mask) {
  TKindRow listed{};
  const int64_t draws = ListDraws(mask, false, [&](const THand& hand) {
    const int kind = paysKickers_ ? WithKicker(ClassifyNatural(hand), hand) : ClassifyNatural(hand);
    if (kind >= 0) ++listed[kind];
  });
  std::string report;
  for (int k = 0; k < kHandKindCount; ++k)
    ReportDifference(report, HandKindNames[k], KindCount[mask][k], listed[k]);
  if (Deck.WildCount == 0) ReportDifference(report, "draws", DrawsOf(mask), draws);
  return report;
}

// The quick steps of the whole-game run recount only what a change of suits can change:
// FLUSH, the straight flushes and the straights of the holds whose kept cards are of
// different ranks. They move the change of those kinds' counts into the hold's category
// counts, so the other kinds need no new fold.
namespace {
constexpr std::array<int, 7> kSuitKinds = {
    FLUSH,        FLUSH_STRAIGHT_A_5, FLUSH_STRAIGHT, FLUSH_STRAIGHT_T_A,
    STRAIGHT_A_5, STRAIGHT,           STRAIGHT_T_A};
}  // namespace

template <class TCount>
void TPokerEngine::RecountSuitKinds(int mask, TCount count) {
  RecountKinds(kSuitKinds, KindCount[mask], KindToCategory, mask, CategoryDraws, holdValues_,
               count);
}

void TPokerEngine::ClearCountsQuick() {
  KindCount[0].fill(0);
  CategoryDraws[0].fill(0);
  holdValues_.MarkChanged(0);
  keptCards_.Prepare(DealtHand);
}

void TPokerEngine::CheckDrawQuick(int mask) {
  try {
    CheckRange(mask, 0, kMaskCount - 1, "draw mask");
    // Only the suits of the kept cards matter here: no kept hand is built.
    const TKeptCards& kept = keptCards_[mask];
    // A hold with a pair or a wild card counts none of these kinds, whatever the suits; a
    // hold whose kept cards were not of one suit last time and are not now keeps the
    // counts it has.
    if (kept.Wilds > 0 || !kept.Distinct()) return;
    const bool suited = kept.Suit >= 0;
    if (!suited && !suitedHold_[mask]) return;
    RecountSuitKinds(mask, [&] { CountStraightsAndFlush(mask, kept, true); });
  } catch (...) {
    RethrowWithContext(MaskContext("(CheckDraw)", mask));
  }
}

void TPokerEngine::CheckEmptyQuick() {
  try {
    RecountSuitKinds(kFullDrawMask, [&] { CountEmptyStraightsAndFlushes(true); });
  } catch (...) {
    RethrowWithContext("Error calculate natural case (CheckEmpty)");
  }
}

void TPokerEngine::CalcGameAdvantage() {
  TProgress* const progress = Progress;
  bool running = false;
  try {
    if (Payout == nullptr) throw TarnwickError("No pay table is selected");
    ClearDealtAndDeck();
    ProgressCounter = 0;
    Payout->ClearCounts();
    if (progress != nullptr) progress->Begin(DealClassCount());
    running = progress != nullptr;
    RunPermutations();
    running = false;
    if (progress != nullptr) progress->End();
    Payout->ComputeTotals();
    Payout->BestSquaresKnown = true;
  } catch (...) {
    if (running) progress->End();
    RethrowWithContext("Error calculate natural case (CalcGameAdvantage)");
  }
}

void TPokerEngine::RunPermutations() {
  try {
    std::vector<TDealClass> classes;
    classes.reserve(kNaturalDealClasses);
    ForEachNaturalDealClass(Deck.WildRank,
                            [&](const TDealClass& deal, bool) { classes.push_back(deal); });
    PlayDealClasses(classes);
  } catch (...) {
    RethrowWithContext("Error calculate natural case (RunPermutations)");
  }
}

void TPokerEngine::AddDealResult(int best, int32_t weight) {
  const int d = DrawCount[best];
  Payout->Deals[d] = Add(Payout->Deals[d], weight);
  // S, the best hold's pays times draws: its draws add up to at most C(49, 5) < 2^21 and
  // a pay is below 2^31 in size, so |S| < 2^52 (see TPayout::BestSquares for the sum).
  int64_t paid = 0;
  for (int c = 0; c <= LastCategory; ++c) {
    const int64_t draws = CategoryDraws[best][c];
    Payout->Counts[d][c] = Add(Payout->Counts[d][c], Mul(draws, int64_t{weight}));
    paid += draws * int64_t{Payout->Pays[c]};
  }
  const auto size = static_cast<TBestSquare>(paid < 0 ? -paid : paid);
  Payout->BestSquares[d] += size * size * static_cast<TBestSquare>(weight);
  if (Visitor != nullptr) Visitor->Visit(*this, best, weight);
}

void TPokerEngine::Check(const TDealClass& deal) {
  try {
    DealtHand.Clear();
    for (int i = 0; i < kHandSize; ++i) {
      DealtHand.AddCard(deal.Ranks[i], deal.Suits[i]);
      Deck.RemoveCard(deal.Ranks[i], deal.Suits[i]);
    }
    AddDealResult(GetTheBest(), deal.Weight);
    for (int i = 0; i < kHandSize; ++i) Deck.AddCard(deal.Ranks[i], deal.Suits[i]);
    Tick();
  } catch (...) {
    RethrowWithContext(std::string(kNaturalCase) +
                       "(Check) Progress=" + std::to_string(ProgressCounter));
  }
}

void TPokerEngine::Check1(const TDealClass& deal) {
  try {
    // The ranks at every position are those of the previous class: only the suits of the
    // natural cards move (a wild card has none).
    for (int i = 0; i < kHandSize; ++i) {
      if (deal.Ranks[i] >= 0) DealtHand.ChangeSuit(i, deal.Suits[i]);
      Deck.RemoveCard(deal.Ranks[i], deal.Suits[i]);
    }
    AddDealResult(GetTheBestQuick(), deal.Weight);
    for (int i = 0; i < kHandSize; ++i) Deck.AddCard(deal.Ranks[i], deal.Suits[i]);
    Tick();
  } catch (...) {
    RethrowWithContext(std::string(kNaturalCase) +
                       "(Check1) Progress=" + std::to_string(ProgressCounter));
  }
}

int TPokerEngine::DealClassCount() const {
  return kNaturalDealClasses;
}

}  // namespace tarnwick
