// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/cards.h"

#include <algorithm>
#include <cctype>

#include "errors.h"

namespace tarnwick {

namespace {

constexpr std::array<int, kMaskCount> MakeDrawCount() {
  std::array<int, kMaskCount> table{};
  for (int mask = 0; mask < kMaskCount; ++mask) {
    for (int bit = 0; bit < kHandSize; ++bit) table[mask] += BitSet(mask, bit) ? 1 : 0;
  }
  return table;
}

constexpr std::array<std::array<int32_t, kMaxDeck>, kMaxDraw + 1> MakeBinomial() {
  std::array<std::array<int32_t, kMaxDeck>, kMaxDraw + 1> table{};
  for (int n = 0; n < kMaxDeck; ++n) {
    for (int k = 0; k <= kMaxDraw; ++k) {
      if (k == 0 || k == n) {
        table[k][n] = 1;
      } else if (k > n) {
        table[k][n] = 0;
      } else {
        table[k][n] = table[k - 1][n - 1] + table[k][n - 1];
      }
    }
  }
  return table;
}

}  // namespace

const std::array<int, kMaskCount> DrawCount = MakeDrawCount();
const std::array<std::array<int32_t, kMaxDeck>, kMaxDraw + 1> Binomial = MakeBinomial();

TCard CardFromCode(int code) {
  if (code < 0) return TCard{-1, -1};
  CheckRange(code, 0, 51, "card code");
  return TCard{code % kRankCount, code / kRankCount};
}

int CardCode(int rank, int suit) {
  if (rank < 0) return -1;
  return rank + kRankCount * suit;
}

std::string CardText(int code) {
  if (code == kEmptyPosition) return "--";
  if (code < 0) return "JK";
  const TCard card = CardFromCode(code);
  return {kRankLetters[card.Rank], kSuitLetters[card.Suit]};
}

std::string CardName(int code) {
  if (code == kSecondJoker) return "JK2";
  if (code < 0 && !IsJoker(code)) return {};
  return CardText(code);
}

std::vector<std::string> CardsAt(std::span<const int32_t> cards, int positions,
                                 std::string (*name)(int)) {
  std::vector<std::string> texts;
  for (size_t i = 0; i < cards.size(); ++i) {
    if (BitSet(positions, static_cast<int>(i))) texts.push_back(name(cards[i]));
  }
  return texts;
}

std::string CardsText(std::span<const int32_t> cards, int positions, std::string (*name)(int)) {
  std::string text;
  for (const std::string& card : CardsAt(cards, positions, name)) {
    if (!text.empty()) text += ' ';
    text += card;
  }
  return text;
}

std::string HoldText(std::span<const int32_t> cards, int drawMask, std::string (*name)(int)) {
  std::string text;
  for (size_t i = 0; i < cards.size(); ++i) {
    if (i > 0) text += ' ';
    const std::string card = BitSet(drawMask, static_cast<int>(i)) ? "" : name(cards[i]);
    text += card.empty() ? "--" : card;
  }
  return text;
}

int NextJoker(std::span<const int32_t> cards) {
  return std::find(cards.begin(), cards.end(), kFirstJoker) == cards.end() ? kFirstJoker
                                                                           : kSecondJoker;
}

std::optional<int> ParseCard(std::string_view text) {
  std::string upper;
  for (char c : text) upper += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  if (upper == "JK") return -1;
  std::string_view rankText;
  char suitLetter = 0;
  if (upper.size() == 2) {
    rankText = std::string_view(upper).substr(0, 1);
    suitLetter = upper[1];
  } else if (upper.size() == 3 && upper.compare(0, 2, "10") == 0) {
    rankText = "T";
    suitLetter = upper[2];
  } else {
    return std::nullopt;
  }
  const size_t rank = kRankLetters.find(rankText[0]);
  const size_t suit = kSuitLetters.find(suitLetter);
  if (rank == std::string_view::npos || suit == std::string_view::npos) return std::nullopt;
  return CardCode(static_cast<int>(rank), static_cast<int>(suit));
}

void TCardBunch::Reset() {
  Fill(1);
}

void TCardBunch::SetJokerCount(int n) {
  JokerCount = n;
  Reset();
}

void TCardBunch::SetWildRank(int rank) {
  WildRank = rank;
  Reset();
}

void TCardBunch::Fill(int n) {
  WildCount = JokerCount * n;
  for (int r = 0; r < kRankCount; ++r) {
    if (IsWild(r)) {
      WildCount += 4 * n;
      Counts[r] = {0, 0, 0, 0, 0};
    } else {
      Counts[r] = {n, n, n, n, 4 * n};
    }
  }
  const int perSuit = (WildRank != -1 ? 12 : 13) * n;
  Counts[kTotalsRow] = {perSuit, perSuit, perSuit, perSuit, 0};
  Total = (JokerCount + 52) * n;
}

void TCardBunch::AddCards(int rank, int suit, int delta) {
  if (IsWild(rank)) {
    WildCount += delta;
  } else {
    CheckRange(rank, 0, kRankCount - 1, "rank");
    CheckRange(suit, 0, kSuitCount - 1, "suit");
    Counts[rank][suit] += delta;
    Counts[rank][kTotalsColumn] += delta;
    Counts[kTotalsRow][suit] += delta;
  }
  Total += delta;
}

void THand::Reset() {
  Fill(0);
  Clear();
}

void THand::AddCard(int rank, int suit) {
  if (Total >= kHandSize) throw RangeError("A hand holds at most five cards");
  const int position = Total;
  AddCards(rank, suit, +1);
  if (IsWild(rank)) {
    Ranks[position] = -1;
    Suits[position] = -1;
    return;
  }
  Ranks[position] = rank;
  Suits[position] = suit;
  if (rank < MinRank) MinRank = rank;
  if (rank > MaxRank && rank != kAce) MaxRank = rank;
  const int c = Counts[rank][kTotalsColumn];
  --RankHistogram[c - 1];
  ++RankHistogram[c];
  const int t = Counts[kTotalsRow][suit];
  --SuitHistogram[t - 1];
  ++SuitHistogram[t];
}

void THand::Clear() {
  // A hand holds each of its cards once, so the cells of its cards drop to 0; the cells of
  // every other card are 0 already.
  for (int i = 0; i < Total; ++i) {
    const int rank = Ranks[i];
    if (rank < 0) continue;
    const int suit = Suits[i];
    Counts[rank][suit] = 0;
    Counts[rank][kTotalsColumn] = 0;
    Counts[kTotalsRow][suit] = 0;
  }
  Total = 0;
  WildCount = 0;
  RankHistogram = {13, 0, 0, 0, 0};
  SuitHistogram = {4, 0, 0, 0, 0, 0};
  MaxRank = 0;
  MinRank = 12;
}

void THand::CopyKept(const THand& source, int drawMask) {
  Clear();
  // The source's cards passed the checks of AddCard when they were dealt: they are
  // appended here without checking them again.
  for (int i = 0; i < source.Total; ++i) {
    if (BitSet(drawMask, i)) continue;
    const int rank = source.Ranks[i];
    const int suit = source.Suits[i];
    const int position = Total++;
    if (IsWild(rank)) {
      ++WildCount;
      Ranks[position] = -1;
      Suits[position] = -1;
      continue;
    }
    Ranks[position] = rank;
    Suits[position] = suit;
    MinRank = std::min(MinRank, rank);
    if (rank != kAce) MaxRank = std::max(MaxRank, rank);
    ++Counts[rank][suit];
    const int c = ++Counts[rank][kTotalsColumn];
    --RankHistogram[c - 1];
    ++RankHistogram[c];
    const int t = ++Counts[kTotalsRow][suit];
    --SuitHistogram[t - 1];
    ++SuitHistogram[t];
  }
}

void THand::ChangeSuit(int position, int newSuit) {
  CheckRange(position, 0, Total - 1, "hand position");
  CheckRange(newSuit, 0, kSuitCount - 1, "suit");
  const int rank = Ranks[position];
  const int oldSuit = Suits[position];
  if (rank < 0 || oldSuit == newSuit) return;
  // Moved by one, not set to 0 and 1: when two cards of one rank trade suits one after
  // the other, the cell between them briefly holds both.
  --Counts[rank][oldSuit];
  ++Counts[rank][newSuit];
  --SuitHistogram[Counts[kTotalsRow][oldSuit]];
  --Counts[kTotalsRow][oldSuit];
  ++SuitHistogram[Counts[kTotalsRow][oldSuit]];
  --SuitHistogram[Counts[kTotalsRow][newSuit]];
  ++Counts[kTotalsRow][newSuit];
  ++SuitHistogram[Counts[kTotalsRow][newSuit]];
  Suits[position] = newSuit;
}

std::string THand::Dump() const {
  std::string text;
  for (int i = 0; i < Total; ++i) {
    if (Ranks[i] < 0) {
      text += "## ";
    } else {
      text += kRankLetters[Ranks[i]];
      text += kSuitLetters[Suits[i]];
      text += ' ';
    }
  }
  return text;
}

}  // namespace tarnwick
