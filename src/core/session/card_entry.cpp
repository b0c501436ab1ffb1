// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/card_entry.h"

#include <algorithm>
#include <string_view>

namespace tarnwick {

namespace {

constexpr int kJackRank = 9;

char32_t Upper(char32_t key) {
  return key >= U'a' && key <= U'z' ? key - U'a' + U'A' : key;
}

int IndexIn(std::string_view letters, char32_t key) {
  if (key > 0x7f) return -1;
  const size_t at = letters.find(static_cast<char>(key));
  return at == std::string_view::npos ? -1 : static_cast<int>(at);
}

bool Holds(const TCardEntry::THand& hand, int32_t code) {
  return std::find(hand.Cards.begin(), hand.Cards.end(), code) != hand.Cards.end();
}

bool InDeck(const TCardEntry::THand& hand, int32_t code) {
  if (code == kFirstJoker) return hand.JokerCount >= 1;
  if (code == kSecondJoker) return hand.JokerCount >= 2;
  return true;
}

}  // namespace

TCardEntry::TStep TCardEntry::Click(int32_t code, const THand& hand) {
  if (Holds(hand, code)) {
    std::erase(order_, code);
    return {TAction::Take, code};
  }
  if (!InDeck(hand, code)) return {};
  // A card after a whole hand begins the next one.
  if (hand.Analysed) order_.clear();
  order_.push_back(code);
  return {TAction::Put, code};
}

TCardEntry::TStep TCardEntry::Typed(int32_t code, const THand& hand) {
  if (!hand.Analysed) return Click(code, hand);
  // Whatever the whole hand held, the typed card is the first of the next hand; a joker the
  // deck lacks leaves the next hand empty.
  order_.clear();
  if (!InDeck(hand, code)) return {TAction::Clear};
  order_.push_back(code);
  return {TAction::Put, code};
}

TCardEntry::TStep TCardEntry::Key(char32_t key, const THand& hand) {
  key = Upper(key);
  if (hand.Analysed && key >= U'1' && key <= U'5') {
    // A position's number holds or replaces that card at once; "2".."5" may also be the rank
    // of the next hand's first card.
    typedRank_ = IndexIn(kRankLetters, key);
    return {TAction::Toggle, 0, static_cast<int32_t>(key - U'1')};
  }
  const int rank = IndexIn(kRankLetters, key);
  const int suit = IndexIn(kSuitLetters, key);
  if (typedRank_ == kJackRank && key == U'K') {
    // J then K: the first joker of the deck not in the hand yet (the first one, taken out
    // again, when the hand holds all the deck has).
    typedRank_ = -1;
    int32_t code = hand.Analysed ? kFirstJoker : NextJoker(hand.Cards);
    if (code == kSecondJoker && (!InDeck(hand, code) || Holds(hand, code))) code = kFirstJoker;
    return Typed(code, hand);
  }
  if (suit >= 0 && typedRank_ >= 0) {
    // A digit that toggled a hold needs no taking back: the card begins a new hand.
    const int32_t code = CardCode(typedRank_, suit);
    typedRank_ = -1;
    return Typed(code, hand);
  }
  typedRank_ = rank;  // a rank waits for its suit; anything else clears what waited
  return {};
}

TCardEntry::TStep TCardEntry::Backspace(const THand& hand) {
  typedRank_ = -1;
  while (!order_.empty() && !Holds(hand, order_.back())) order_.pop_back();
  if (order_.empty()) return {};
  const int32_t code = order_.back();
  order_.pop_back();
  return {TAction::Take, code};
}

TCardEntry::TStep TCardEntry::Escape() {
  typedRank_ = -1;
  order_.clear();
  return {TAction::Clear};
}

}  // namespace tarnwick
