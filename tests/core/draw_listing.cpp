// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "draw_listing.h"

#include <algorithm>

namespace tarnwick::testing {

int ListingKind(const std::array<int, 5>& codes) {
  std::array<int, 5> ranks{};
  bool flush = true;
  for (size_t i = 0; i < 5; ++i) {
    ranks[i] = codes[i] % 13;
    flush = flush && codes[i] / 13 == codes[0] / 13;
  }
  std::sort(ranks.begin(), ranks.end());
  std::array<int, 13> count{};
  for (int r : ranks) ++count[r];
  int fourRank = -1, threeRank = -1, pairs = 0, pairRank = -1;
  for (int r = 0; r < 13; ++r) {
    const int c = count[r];
    if (c == 4) fourRank = r;
    if (c == 3) threeRank = r;
    if (c == 2) {
      ++pairs;
      pairRank = r;
    }
  }
  const bool distinct = fourRank < 0 && threeRank < 0 && pairs == 0;
  const bool wheel = ranks == std::array<int, 5>{0, 1, 2, 3, 12};
  const bool straight = distinct && (wheel || ranks[4] - ranks[0] == 4);
  // Kind numbers: 0..2 straight flushes, 3+r fours, 16 full house, 17 flush,
  // 18..20 straights, 21+r threes, 34 two pairs, 35+r pairs; 48..50 four twos, threes or
  // fours with an ace to four beside them, 51 four aces with a two to four.
  const int straightOffset = wheel ? 0 : (ranks[0] == 8 ? 2 : 1);
  if (straight && flush) return straightOffset;
  if (fourRank >= 0) {
    const int fifth = ranks[0] == fourRank ? ranks[4] : ranks[0];
    const auto low = [](int r) { return r <= 2 || r == 12; };
    if (low(fourRank) && low(fifth)) return fourRank == 12 ? 51 : 48 + fourRank;
    return 3 + fourRank;
  }
  if (threeRank >= 0 && pairs == 1) return 16;
  if (flush) return 17;
  if (straight) return 18 + straightOffset;
  if (threeRank >= 0) return 21 + threeRank;
  if (pairs == 2) return 34;
  if (pairs == 1) return 35 + pairRank;
  return kNothing;
}

int ListingKind(const std::array<int, 5>& codes, int wildRank) {
  // The naturals, sorted by rank with the ace high.
  std::vector<int> ranks;
  std::vector<int> suits;
  for (int code : codes) {
    if (code >= kFirstJoker || code % 13 == wildRank) continue;
    ranks.push_back(code % 13);
    suits.push_back(code / 13);
  }
  const int wilds = 5 - static_cast<int>(ranks.size());
  if (wilds == 0) return ListingKind(codes);
  if (wilds == 5) return kWildBase + 0;
  if (wilds == 4) return kWildBase + (ranks[0] == 12 ? 1 : 2);
  std::sort(ranks.begin(), ranks.end());
  const bool oneRank = ranks.front() == ranks.back();
  if (oneRank) return kWildBase + 3 + ranks[0];
  std::array<int, 13> count{};
  for (int r : ranks) ++count[r];
  const int most = *std::max_element(count.begin(), count.end());
  const int pairs = static_cast<int>(std::count(count.begin(), count.end(), 2));
  const bool distinct = most == 1;
  const bool flush = std::all_of(suits.begin(), suits.end(), [&](int s) { return s == suits[0]; });
  // Which straight the naturals fit: 0 ace to five, 1 another without an ace, 2 ten to
  // ace, -1 none. An ace is high, except among naturals of deuce to five.
  int fit = -1;
  if (distinct) {
    const bool ace = ranks.back() == 12;
    const std::vector<int> others(ranks.begin(), ranks.end() - (ace ? 1 : 0));
    if (ace) {
      if (others.back() <= 3) {
        fit = 0;
      } else if (others.front() >= 8) {
        fit = 2;
      }
    } else if (ranks.back() - ranks.front() <= 4) {
      fit = ranks.front() >= 8 ? 2 : 1;
    }
  }
  if (wilds == 3) return kWildBase + (flush ? (fit < 0 ? 17 : 18 + fit) : 16);
  if (wilds == 2) {
    if (!distinct) return kWildBase + 22;
    if (flush) return kWildBase + (fit < 0 ? 23 : 24 + fit);
    return kWildBase + (fit < 0 ? 21 : 27 + fit);
  }
  if (!distinct) return kWildBase + (most == 3 ? 31 : pairs == 2 ? 32 : 33);
  if (flush) return kWildBase + (fit < 0 ? 34 : 35 + fit);
  if (fit >= 0) return kWildBase + 38 + fit;
  const bool high = count[11] + count[12] > 0;
  return kWildBase + (high ? 41 : 30);
}

TDrawListing::TDrawListing(int wildRank, int jokers) : deckSize_(52 + jokers) {
  std::array<int, 5> c{};
  for (c[0] = 0; c[0] < deckSize_; ++c[0])
    for (c[1] = c[0] + 1; c[1] < deckSize_; ++c[1])
      for (c[2] = c[1] + 1; c[2] < deckSize_; ++c[2])
        for (c[3] = c[2] + 1; c[3] < deckSize_; ++c[3])
          for (c[4] = c[3] + 1; c[4] < deckSize_; ++c[4]) {
            TFinalHand hand{};
            for (size_t i = 0; i < 5; ++i) hand.Cards[i] = static_cast<uint8_t>(c[i]);
            hand.Kind = static_cast<uint8_t>(ListingKind(c, wildRank));
            hands_.push_back(hand);
          }
}

TListedKinds TDrawListing::ListAllDraws(const std::array<int, 5>& dealt) const {
  // keptBit[card] is the position bit of a dealt card, 0 for a card of the deck.
  std::array<uint8_t, 54> keptBit{};
  for (size_t i = 0; i < 5; ++i)
    keptBit[static_cast<size_t>(dealt[i])] = static_cast<uint8_t>(1u << i);
  TListedKinds listed{};
  for (const TFinalHand& hand : hands_) {
    const unsigned kept = keptBit[hand.Cards[0]] | keptBit[hand.Cards[1]] | keptBit[hand.Cards[2]] |
                          keptBit[hand.Cards[3]] | keptBit[hand.Cards[4]];
    ++listed[31u ^ kept][hand.Kind];
  }
  return listed;
}

void FoldKickers(TListedKinds& listed, const TPokerDescription& game) {
  if (game.PaysKickers()) return;
  for (auto& row : listed) {
    for (int k = 48; k <= 51; ++k) {
      row[static_cast<size_t>(k == 51 ? 15 : k - 45)] += row[static_cast<size_t>(k)];
      row[static_cast<size_t>(k)] = 0;
    }
  }
}

std::array<int, kColumns> ListingCategories(const TPokerDescription& game, const TPayout& table) {
  std::array<int, kColumns> category{};
  category.fill(-1);
  for (int c = 0; c <= game.LastCategory; ++c) {
    for (int k = 0; k < kHandKindCount; ++k) {
      if (InKindSet(game.NaturalKindSet(c), k)) category[static_cast<size_t>(k)] = c;
    }
  }
  if (!game.PaysKickers()) {
    for (int k = 48; k <= 51; ++k)
      category[static_cast<size_t>(k)] = category[static_cast<size_t>(k == 51 ? 15 : k - 45)];
  }
  for (int k = 0; k < kWildHandKindCount; ++k) {
    int& chosen = category[static_cast<size_t>(kWildBase) + static_cast<size_t>(k)];
    for (int c = 0; c <= game.LastCategory; ++c) {
      if (InKindSet(game.WildKindSet(c), k) && (chosen < 0 || table.Pays[c] > table.Pays[chosen]))
        chosen = c;
    }
  }
  return category;
}

std::array<int, 5> ListingCodes(const std::array<int, 5>& dealt) {
  std::array<int, 5> codes = dealt;
  for (int& code : codes) code = code < 0 ? kFirstJoker - 1 - code : code;
  return codes;
}

TListedKinds ListAllDraws(const std::array<int, 5>& dealt) {
  static const TDrawListing natural(-1, 0);
  return natural.ListAllDraws(dealt);
}

}  // namespace tarnwick::testing
