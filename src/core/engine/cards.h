// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Cards, the deck and the five-card hand as count matrices by rank and suit, the draw mask
// that names one of the 32 holds, and the small combinatorics tables every engine uses.

#include <array>
#include <bit>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "errors.h"

namespace tarnwick {

// Rank index 0..12 is deuce..ace; suit index 0..3 is spades, clubs, diamonds, hearts.
inline constexpr int kRankCount = 13;
inline constexpr int kSuitCount = 4;
inline constexpr int kAce = 12;
inline constexpr int kKing = 11;
inline constexpr int kTotalsRow = 13;    // row of the suit totals in TCardBunch::Counts
inline constexpr int kTotalsColumn = 4;  // column of the rank totals
inline constexpr int kHandSize = 5;
inline constexpr int kMaskCount = 32;        // draw masks 0..31
inline constexpr int kFullDrawMask = 31;     // all five cards replaced
inline constexpr int kEmptyPosition = -100;  // card code of an empty hand position
inline constexpr std::string_view kRankLetters = "23456789TJQKA";
inline constexpr std::string_view kSuitLetters = "SCDH";

// The largest deck (52 cards and two jokers) and the most cards ever drawn at once.
inline constexpr int kMaxDeck = 54;
inline constexpr int kMaxDraw = 6;

// Number of set bits of each draw mask: the cards a hold draws.
extern const std::array<int, kMaskCount> DrawCount;

// Binomial[k][n] = C(n, k) for k 0..6 and n 0..53 (32-bit); read as Binomial[drawn][deck].
// Only rows 0..6 are kept: no caller reads a higher row.
extern const std::array<std::array<int32_t, kMaxDeck>, kMaxDraw + 1> Binomial;

// Looks up C(n, k) with both indices checked against the table's bounds.
inline int32_t BinomialAt(int k, int n) {
  CheckRange(k, 0, kMaxDraw, "Binomial row");
  CheckRange(n, 0, kMaxDeck - 1, "Binomial column");
  return Binomial[k][n];
}

// True when bit `bit` (taken mod 32) of `value` is set.
constexpr bool BitSet(int value, int bit) {
  return (static_cast<uint32_t>(value) >> (static_cast<uint32_t>(bit) & 31u)) & 1u;
}

// Set bits of a 32-bit word by shifts and masks, for targets without a popcount
// instruction (the library call would cost more than this).
constexpr int CountBitsPortably(uint32_t bits) {
  bits = bits - ((bits >> 1) & 0x55555555u);
  bits = (bits & 0x33333333u) + ((bits >> 2) & 0x33333333u);
  return static_cast<int>((((bits + (bits >> 4)) & 0x0F0F0F0Fu) * 0x01010101u) >> 24);
}

// Set bits of a 32-bit word: one instruction where the target has POPCNT.
constexpr int CountBits(uint32_t bits) {
#ifdef __POPCNT__
  return std::popcount(bits);
#else
  return CountBitsPortably(bits);
#endif
}

// Card code used between the user interface and the engines: rank + 13 x suit for natural
// cards, -2 for a deck's first joker and -1 for the second joker of a two-joker deck.
inline constexpr int kFirstJoker = -2;
inline constexpr int kSecondJoker = -1;

constexpr bool IsJoker(int code) {
  return code == kFirstJoker || code == kSecondJoker;
}

// A dealt card (not an empty position) that is wild in a game with this wild rank (-1 for
// none): a joker, or a card of the wild rank.
constexpr bool IsWildCard(int code, int wildRank) {
  return IsJoker(code) || (code >= 0 && wildRank >= 0 && code % kRankCount == wildRank);
}

// The joker a card list gets next, as the deck numbers them: the first joker unless the
// list has it already, then the second.
int NextJoker(std::span<const int32_t> cards);

struct TCard {
  int Rank = -1;  // 0..12, -1 for a joker
  int Suit = -1;  // 0..3, -1 for a joker
};
TCard CardFromCode(int code);
int CardCode(int rank, int suit);
// Text of a card code: "AS", "TD", "JK" for either joker, "--" for an empty position.
std::string CardText(int code);
// The name of a card code where the two jokers are told apart (the main window's buttons,
// the shown cards): "JK" for the first joker, "JK2" for the second, empty for an empty
// position; else as CardText.
std::string CardName(int code);
// The cards at the positions whose bit is set in `positions`, in position order, each as
// `name` writes it (CardText or CardName).
std::vector<std::string> CardsAt(std::span<const int32_t> cards, int positions,
                                 std::string (*name)(int) = CardText);
// The same joined by blanks: "AS KH"; empty for no position.
std::string CardsText(std::span<const int32_t> cards, int positions,
                      std::string (*name)(int) = CardText);
// A hand under a hold, position by position: "AS KS -- -- 3D", with "--" for a replaced
// card (bit i of `drawMask` set) and for an empty position.
std::string HoldText(std::span<const int32_t> cards, int drawMask,
                     std::string (*name)(int) = CardText);
// The positions a draw mask keeps: its bits for the held cards.
constexpr int HeldPositions(int drawMask) {
  return kFullDrawMask & ~drawMask;
}
// Parses "AS", "10d", "2c", "JK" (case-insensitive); empty when the text is no card.
std::optional<int> ParseCard(std::string_view text);

// A set of cards as counts by rank and suit plus one counter for the wild cards.
class TCardBunch {
 public:
  // A new bunch is one complete deck; THand empties itself in its own constructor.
  TCardBunch() { TCardBunch::Reset(); }
  virtual ~TCardBunch() = default;
  TCardBunch(const TCardBunch&) = default;
  TCardBunch& operator=(const TCardBunch&) = default;

  // Counts[r][s]: cards of rank r and suit s; [r][4] rank totals; [13][s] suit totals.
  // Wild cards are never entered here.
  std::array<std::array<int32_t, 5>, 14> Counts{};
  int32_t Total = 0;       // cards in the set, wild cards included
  int32_t JokerCount = 0;  // jokers in a complete deck of the game: 0, 1 or 2
  int32_t WildCount = 0;   // wild cards in the set (jokers and cards of the wild rank)
  int32_t WildRank = -1;   // the wild rank (0 deuces, 5 sevens), -1 for none

  virtual void Reset();
  void SetJokerCount(int n);
  void SetWildRank(int rank);
  // Makes the set n complete decks of the game (n is 0 or 1).
  void Fill(int n);
  bool IsWild(int rank) const { return rank == -1 || rank == -2 || rank == WildRank; }
  // Adds delta cards of one identity (rank -1/-2 or the wild rank: wild cards).
  void AddCards(int rank, int suit, int delta);
};

// The cards still available to draw.
class TDeck : public TCardBunch {
 public:
  virtual void AddCard(int rank, int suit) { AddCards(rank, suit, +1); }
  void RemoveCard(int rank, int suit) { AddCards(rank, suit, -1); }
  void Refill() { Fill(1); }
};

// Up to five cards in dealt order, with rank and suit histograms.
class THand : public TCardBunch {
 public:
  THand() { THand::Reset(); }

  std::array<int32_t, kHandSize> Ranks{};  // a wild card is stored as rank -1, suit -1
  std::array<int32_t, kHandSize> Suits{};
  int32_t MinRank = 12;  // lowest natural rank, the ace counting as 12
  int32_t MaxRank = 0;   // highest natural rank other than an ace
  std::array<int32_t, 5> RankHistogram{13, 0, 0, 0, 0};    // ranks with exactly k cards
  std::array<int32_t, 6> SuitHistogram{4, 0, 0, 0, 0, 0};  // suits with exactly k cards

  void Reset() override;
  // Appends a card at position Total.
  void AddCard(int rank, int suit);
  void Clear();
  // Makes this hand the held part of `source` under `drawMask`, in source order.
  void CopyKept(const THand& source, int drawMask);
  // Moves the natural card at `position` to `newSuit`.
  void ChangeSuit(int position, int newSuit);
  // The hand as text: "AS KH " with "## " for a wild card.
  std::string Dump() const;
};

}  // namespace tarnwick
