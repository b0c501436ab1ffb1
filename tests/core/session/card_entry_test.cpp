// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/card_entry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "engine/cards.h"

namespace tarnwick {
namespace {

// Keys typed one after another, applied as the controller does (a card to the first empty
// position, a whole hand analysed, a card after it beginning the next hand): '<' is
// Backspace, '!' Escape, '@' a click on the card named by the next two letters, '#' the
// last card taken out by another window. The hand as "AS KS -- -- --", then " *" when it
// is analysed and " -2" for each replaced position.
std::string Typed(int jokers, const std::string& keys) {
  TCardEntry entry;
  TCardEntry::THand hand;
  auto& cards = hand.Cards;
  cards.fill(kEmptyPosition);
  hand.JokerCount = jokers;
  int mask = 0;
  const auto clear = [&] {
    cards.fill(kEmptyPosition);
    hand.Analysed = false;
    mask = 0;
  };
  const auto apply = [&](const TCardEntry::TStep& step) {
    using A = TCardEntry::TAction;
    if (step.Action == A::Clear || (step.Action == A::Put && hand.Analysed)) clear();
    if (step.Action == A::Put) {
      *std::find(cards.begin(), cards.end(), kEmptyPosition) = step.Code;
      hand.Analysed = std::count(cards.begin(), cards.end(), kEmptyPosition) == 0;
    } else if (step.Action == A::Take) {
      std::replace(cards.begin(), cards.end(), step.Code, kEmptyPosition);
      hand.Analysed = false;
      mask = 0;
    } else if (step.Action == A::Toggle && hand.Analysed) {
      mask ^= 1 << step.Position;
    }
  };
  for (size_t i = 0; i < keys.size(); ++i) {
    if (keys[i] == '<') {
      apply(entry.Backspace(hand));
    } else if (keys[i] == '!') {
      apply(entry.Escape());
    } else if (keys[i] == '#') {
      *(std::find(cards.begin(), cards.end(), kEmptyPosition) - 1) = kEmptyPosition;
    } else if (keys[i] == '@') {
      apply(entry.Click(*ParseCard(keys.substr(i + 1, 2)), hand));
      i += 2;
    } else {
      apply(entry.Key(static_cast<char32_t>(keys[i]), hand));
    }
  }
  std::string text = HoldText(cards, 0, CardName) + (hand.Analysed ? " *" : "");
  for (int i = 0; i < kHandSize; ++i)
    if (BitSet(mask, i)) text += " -" + std::to_string(i);
  return text;
}

TEST(CardEntry, KeysToCards) {
  const struct {
    int Jokers;
    const char* Keys;
    const char* Hand;
  } cases[] = {
      // Rank then suit, in either case; a rank key waits, anything else drops it.
      {0, "askSqSJsts", "AS KS QS JS TS *"},
      {0, "9dAx2", "9D -- -- -- --"},
      {0, "AKs", "KS -- -- -- --"},
      {0, "s5", "-- -- -- -- --"},
      // A card in the hand is taken out again; Backspace takes back the last card put that is
      // still in the hand, and then the one before; Escape clears.
      {0, "askSqSJsts<", "AS KS QS JS --"},
      {0, "asksqsKs<", "AS -- -- -- --"},
      {0, "asksqs<<<<", "-- -- -- -- --"},
      {0, "askSqS!", "-- -- -- -- --"},
      {0, "asksqs#<", "AS -- -- -- --"},
      // J then K is a joker where the deck has one: the first, then the second; the first
      // again where the deck has one only, which takes it out.
      {2, "jkjk7h7d7c", "JK JK2 7H 7D 7C *"},
      {1, "jkjk", "-- -- -- -- --"},
      {1, "jk2c", "JK 2C -- -- --"},
      {0, "jk", "-- -- -- -- --"},
      // After a whole hand: a typed card begins the next hand; a joker the deck lacks leaves
      // it empty; a click on a dealt card takes it out, on another begins the next hand.
      {0, "as ks qs js ts 2h", "2H -- -- -- --"},
      {0, "askSqSJsts2hah", "2H AH -- -- --"},
      {0, "askSqSJstsjk", "-- -- -- -- --"},
      {1, "askSqSJstsjk", "JK -- -- -- --"},
      {2, "jk2c3c4c5cjk", "JK -- -- -- --"},
      {0, "askSqSJsts@KS", "AS -- QS JS TS"},
      {0, "askSqSJsts@KH", "KH -- -- -- --"},
      {0, "askSqSJsts@KH<", "-- -- -- -- --"},
      // "1".."5" on a whole hand toggle that position at once; "2".."5" followed by a suit
      // are the next hand's first card instead; a digit before a hand is whole is a rank.
      {0, "askSqSJsts3", "AS KS QS JS TS * -2"},
      {0, "askSqSJsts33", "AS KS QS JS TS *"},
      {0, "askSqSJsts15", "AS KS QS JS TS * -0 -4"},
      {0, "askSqSJsts1s", "AS KS QS JS TS * -0"},
      {0, "askSqSJsts3d", "3D -- -- -- --"},
      {0, "askSqSJsts6d", "6D -- -- -- --"},
      {0, "3d", "3D -- -- -- --"},
  };
  for (const auto& c : cases) EXPECT_EQ(Typed(c.Jokers, c.Keys), c.Hand) << c.Keys;
}

}  // namespace
}  // namespace tarnwick
