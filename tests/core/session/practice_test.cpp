// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/practice.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <set>
#include <stdexcept>
#include <tuple>

#include "draw_listing.h"
#include "errors.h"
#include "session/practice_file.h"
#include "store/safe_files.h"
#include "test_files.h"
#include "test_games.h"

// AddressSanitizer cannot run in a limited address space.
#if defined(__SANITIZE_ADDRESS__)
#define TARNWICK_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TARNWICK_ADDRESS_SANITIZER 1
#endif
#endif

namespace tarnwick {
namespace {

using testing::HandOf;
using testing::kNineSix;

size_t Slot(int32_t code) {
  return code >= 0 ? static_cast<size_t>(code) : code == -2 ? 52 : 53;
}

bool InDeck(int32_t code, const TPokerDescription& game) {
  if (code >= 0) return code < 52;
  return code == -2 ? game.JokerCount >= 1 : code == -1 && game.JokerCount == 2;
}

TPracticeDeal DealOf(const std::vector<std::string>& cards, const std::vector<std::string>& next,
                     int number) {
  TPracticeDeal deal;
  deal.Cards = HandOf(cards);
  deal.Next = HandOf(next);
  deal.Number = number;
  return deal;
}

// Plays `hands` hands, holding by each hand's number.
void Play(TPracticeSession& session, int hands) {
  for (int hand = 0; hand < hands; ++hand) {
    session.Deal();
    session.Draw(hand % kMaskCount);
  }
}

class PracticeDeal : public ::testing::TestWithParam<int> {};

// Every card is equally likely in each of a deal's ten places: chi-square over 30000 deals
// against its 0.1 % point (Wilson-Hilferty); the ten cards are distinct cards of the deck.
TEST_P(PracticeDeal, EveryCardIsEquallyLikelyInEveryPlace) {
  const TPokerDescription& game = testing::Game(GetParam());
  TPracticeDealer dealer(game, 20260101);
  const int deck = game.DeckSize();
  ASSERT_EQ(dealer.DeckSize(), deck);
  constexpr int kDeals = 30000;
  constexpr int kPlaces = 10;
  std::vector<std::array<int64_t, kPlaces>> counts(static_cast<size_t>(deck));
  for (int n = 1; n <= kDeals; ++n) {
    const TPracticeDeal deal = dealer.Next();
    ASSERT_EQ(deal.Number, n);
    std::set<int32_t> seen;
    for (int place = 0; place < kPlaces; ++place) {
      const int32_t code = place < 5 ? deal.Cards[place] : deal.Next[place - 5];
      ASSERT_TRUE(InDeck(code, game)) << code;
      ASSERT_TRUE(seen.insert(code).second) << "card " << CardText(code) << " twice";
      ++counts[Slot(code)][static_cast<size_t>(place)];
    }
  }
  const double expected = static_cast<double>(kDeals) / deck;
  double chiSquare = 0;
  for (const auto& row : counts) {
    for (const int64_t count : row) {
      const double off = static_cast<double>(count) - expected;
      chiSquare += off * off / expected;
    }
  }
  const double freedom = deck * kPlaces - 1;
  const double z = 3.09;  // the 99.9 % point of the normal distribution
  const double critical =
      freedom * std::pow(1 - 2 / (9 * freedom) + z * std::sqrt(2 / (9 * freedom)), 3);
  EXPECT_LT(chiSquare, critical) << "deck of " << deck;
  // A shuffle that mixes too evenly (a rotation, say) is far below.
  EXPECT_GT(chiSquare, freedom / 2);
}

INSTANTIATE_TEST_SUITE_P(Decks, PracticeDeal, ::testing::Values(0, 3, 8));

// A seed replays its deals whatever the holds; the draw fills the replaced places in order
// and pays the category of the test's own listing.
TEST(Practice, SeedsReplayAndTheDrawPaysTheFinalHand) {
  for (const int gameId : {0, 3, 4}) {
    const TPokerDescription& game = testing::Game(gameId);
    const TPayout table = testing::TableFor(game, gameId == 0   ? kNineSix
                                                  : gameId == 3 ? testing::kJokerKings
                                                                : testing::kFullPayDeuces);
    const auto categories = testing::ListingCategories(game, table);
    const int coins = 3;
    TPracticeSession best(game, table, coins, 77);
    TPracticeSession other(game, table, coins, 77);
    TPracticeSession again(game, table, coins, 77);
    for (int hand = 0; hand < 200; ++hand) {
      best.Deal();
      const THoldsSnapshot holds = best.HoldsSnapshot(0);
      for (size_t i = 0; i < kHandSize; ++i) {
        const std::string card = holds.Cards[i] < 0 ? "JK" : CardText(holds.Cards[i]);
        EXPECT_EQ(holds.Wild[i], gameId == 3 ? card == "JK" : gameId == 4 && card[0] == '2')
            << card;
      }
      const TPracticeHand& played = best.Draw(best.Grade(0).BestMask);
      other.Deal();
      const int mask = (hand * 7) % kMaskCount;
      const TPracticeHand& drawn = other.Draw(mask);
      again.Deal();
      const TPracticeHand& replayed = again.Draw(mask);
      ASSERT_EQ(played.Deal.Cards, drawn.Deal.Cards) << "hand " << hand;
      ASSERT_EQ(played.Deal.Next, drawn.Deal.Next);
      EXPECT_EQ(replayed.Final, drawn.Final);
      EXPECT_EQ(replayed.Pay, drawn.Pay);

      size_t next = 0;
      for (size_t i = 0; i < kHandSize; ++i) {
        const int32_t expected =
            BitSet(mask, static_cast<int>(i)) ? drawn.Deal.Next[next++] : drawn.Deal.Cards[i];
        EXPECT_EQ(drawn.Final[i], expected) << "position " << i;
      }
      const int kind = testing::ListingKind(testing::ListingCodes(drawn.Final), game.WildRank);
      const int category = categories[static_cast<size_t>(kind)];
      EXPECT_EQ(drawn.Category, category < 0 ? game.LastCategory + 1 : category)
          << testing::HandText(drawn.Final);
      EXPECT_EQ(drawn.Pay, category < 0 ? 0 : table.Pays[static_cast<size_t>(category)] * coins);
    }
    EXPECT_NE(TPracticeSession(game, table, coins, 78).Deal().Cards,
              TPracticeSession(game, table, coins, 77).Deal().Cards);
  }

  // The hard-hands filter: the two best returns within the bound, else give up at the limit.
  TPracticeOptions hard;
  hard.HardWithin = 0.02;
  const TPayout table = testing::TableFor(0, kNineSix);
  TPracticeSession first(testing::Game(0), table, 1, 5, hard);
  TPracticeSession second(testing::Game(0), table, 1, 5, hard);
  for (int hand = 0; hand < 10; ++hand) {
    EXPECT_EQ(first.Deal().Number, second.Deal().Number);
    ASSERT_TRUE(first.HardFound());
    long double nextBest = -1;
    for (int mask = 0; mask < kMaskCount; ++mask) {
      const TPracticeVerdict verdict = first.Grade(mask);
      if (verdict.Mistake()) nextBest = std::max(nextBest, verdict.PlayedReturn());
    }
    EXPECT_LE(first.Grade(0).BestReturn() - nextBest, 0.02L);
  }
  EXPECT_GT(first.DealsSeen(), 10);
  hard.HardWithin = 0;
  TPracticeSession never(testing::Game(0), table, 1, 5, hard);
  never.Deal();
  EXPECT_FALSE(never.HardFound());
  EXPECT_EQ(never.DealsSeen(), kMaxHardDeals);
}

// Every hold of a few hands graded against the listing of its draws; ties are no mistakes.
TEST(Practice, TheCostOfEveryHoldIsItsDistanceFromTheBest) {
  const TPokerDescription& game = testing::Game(0);
  const TPayout table = testing::TableFor(game, {4000, 250, 125, 45, 30, 20, 15, 10, 5}, 5);
  const auto categories = testing::ListingCategories(game, table);
  TPracticeSession session(game, table, 5, 11);
  std::vector<TPracticeDeal> deals = {
      DealOf({"AS", "KS", "QS", "JS", "2D"}, {"TS", "3C", "4C", "5C", "6C"}, 1),
      DealOf({"3C", "3D", "3H", "3S", "9D"}, {"7C", "8C", "4C", "5C", "6C"}, 2)};
  TPracticeDealer dealer(game, 11);
  for (int n = 0; n < 6; ++n) deals.push_back(dealer.Next());
  int ties = 0;
  for (const TPracticeDeal& deal : deals) {
    session.DealGiven(deal);
    const testing::TListedKinds listed = testing::ListAllDraws(deal.Cards);
    std::array<int64_t, kMaskCount> paid{}, draws{};
    for (size_t mask = 0; mask < kMaskCount; ++mask) {
      for (size_t column = 0; column < testing::kColumns; ++column) {
        draws[mask] += listed[mask][column];
        if (categories[column] >= 0)
          paid[mask] += listed[mask][column] * table.Pays[categories[column]];
      }
    }
    const auto best = static_cast<size_t>(session.Grade(0).BestMask);
    for (size_t mask = 0; mask < kMaskCount; ++mask) {
      const TPracticeVerdict verdict = session.Grade(static_cast<int>(mask));
      const int64_t order = paid[mask] * draws[best] - paid[best] * draws[mask];
      EXPECT_LE(order, 0) << "mask " << mask << " beats the best";
      EXPECT_EQ(verdict.Mistake(), order < 0) << testing::HandText(deal.Cards) << mask;
      const long double cost = (static_cast<long double>(paid[best]) / draws[best] -
                                static_cast<long double>(paid[mask]) / draws[mask]) /
                               5;
      EXPECT_CLOSE(verdict.CostBets(), cost, 1e-12L);
      EXPECT_CLOSE(verdict.CostCoins(), cost * 5, 1e-11L);
      if (order == 0) {
        ++ties;
        EXPECT_EQ(verdict.CostBets(), 0);
        EXPECT_EQ(PracticeCostText(verdict), "");
      }
    }
  }
  EXPECT_GT(ties, static_cast<int>(deals.size()));  // more than the best holds themselves
  // Four to the royal: TS, 8 more spades, 3 tens and 12 high cards pay 872 bets in 47.
  session.DealGiven(deals[0]);
  EXPECT_EQ(session.Grade(0).BestMask, 16);
  EXPECT_CLOSE(session.Grade(0).BestReturn(), 872 / 47.0L, 1e-15L);
  EXPECT_EQ(PracticeCostText(session.Grade(0)), "18.55319 (92.76596)");
  // The figures as the windows and the command line write them.
  EXPECT_EQ(BetsText(0.021276595L), "0.02128");
  EXPECT_EQ(PercentText(0.975L), "97.50");
  EXPECT_EQ(PercentText(1), "100.00");
  const std::tuple<long double, int, const char*> signedTexts[] = {
      {12.0L, 0, "+12"}, {-3.0L, 0, "-3"},     {0.0L, 0, "0"},
      {0.0L, 2, "0.00"}, {1.254L, 2, "+1.25"}, {-0.004L, 2, "-0.00"}};
  for (const auto& [value, decimals, text] : signedTexts)
    EXPECT_EQ(SignedText(value, decimals), text) << text;
}

// Five scripted hands whose returns are counted by hand (9/6 Jacks, five coins).
TEST(Practice, AScriptedSessionAddsUpAsCountedByHand) {
  TPracticeOptions options;
  options.WarnAbove = 5;
  TPracticeSession session(testing::Game(0), testing::TableFor(0, kNineSix), 5, 1, options);
  const std::vector<std::pair<TPracticeDeal, int>> script = {
      // A royal flush stands pat: 800 bets.
      {DealOf({"AS", "KS", "QS", "JS", "TS"}, {"2C", "3C", "4C", "5C", "6C"}, 1), 0},
      // Four to the royal stands pat: nothing, where the draw expects 872/47.
      {DealOf({"AS", "KS", "QS", "JS", "2D"}, {"TS", "3C", "4C", "5C", "6C"}, 2), 0},
      // Four of a kind draws to its kicker: 25 either way, a tie.
      {DealOf({"3C", "3D", "3H", "3S", "9D"}, {"7C", "8C", "4C", "5C", "6C"}, 3), 16},
      // A flush stands pat: 6.
      {DealOf({"2H", "5H", "8H", "JH", "KH"}, {"7C", "8C", "4C", "5C", "6C"}, 4), 0},
      // The flush broken for four hearts: 8 hearts make 6, 3 jacks 1: 51/47; JD draws a pair.
      {DealOf({"2H", "5H", "8H", "JH", "KH"}, {"JD", "8C", "4C", "5C", "6C"}, 5), 16}};
  const std::array<bool, 5> warned = {false, true, false, false, false};
  for (size_t i = 0; i < script.size(); ++i) {
    session.DealGiven(script[i].first);
    EXPECT_EQ(session.ShouldWarn(script[i].second), warned[i]) << "hand " << i + 1;
    session.Draw(script[i].second);
  }
  const auto& hands = session.Record().Hands;
  EXPECT_EQ(hands[2].Verdict.BestHolds, 2);
  EXPECT_FALSE(hands[2].Verdict.Mistake());
  // 231/47 is 4.9 bets: above a threshold of 4.9, not above 5.
  EXPECT_FALSE(session.ShouldWarn(16));
  session.SetWarnAbove(4.9);
  EXPECT_TRUE(session.ShouldWarn(16));

  const TPracticeFigures& figures = session.Figures();
  const long double best = 800 + 872 / 47.0L + 25 + 6 + 6;
  const long double played = 800 + 0 + 25 + 6 + 51 / 47.0L;
  EXPECT_EQ(figures.Hands, 5);
  EXPECT_EQ(figures.Mistakes, 2);
  EXPECT_CLOSE(figures.CostBets, (872 + 231) / 47.0L, 1e-13L);
  EXPECT_CLOSE(figures.CostCoins(), 5 * (872 + 231) / 47.0L, 1e-12L);
  EXPECT_CLOSE(figures.Accuracy(), 0.6L, 1e-18L);
  EXPECT_CLOSE(figures.Efficiency(), played / best, 1e-15L);
  EXPECT_EQ(figures.CoinsBet, 25);
  EXPECT_EQ(figures.CoinsWon, 4000 + 0 + 125 + 30 + 5);
  EXPECT_EQ(figures.Net(), 4135);
  EXPECT_CLOSE(figures.PerfectNet(), 5 * best - 25, 1e-11L);
  EXPECT_CLOSE(figures.NetAgainstPerfect(), 4135 - (5 * best - 25), 1e-11L);

  EXPECT_THROW(session.Draw(0), InputError);
  // A joker the deck lacks, a card dealt twice.
  for (const TPracticeDeal& bad :
       {DealOf({"AS", "KS", "QS", "JS", "JK"}, {"2C", "3C", "4C", "5C", "6C"}, 6),
        DealOf({"AS", "KS", "QS", "JS", "TS"}, {"AS", "3C", "4C", "5C", "6C"}, 6)})
    EXPECT_THROW(session.DealGiven(bad), InputError);
  EXPECT_THROW(TPracticeSession(testing::Game(0), testing::TableFor(0, kNineSix, 5), 3, 1),
               InputError);
}

// A session holds to the limits its file is read back with; one without hands counts them.
TEST(Practice, ASessionKeepsToTheLimitsOfItsFile) {
  TPayout table = testing::TableFor(0, std::vector<int32_t>(9, kMaxPay));
  TPracticeOptions options;
  options.HardWithin = kMaxHardWithin;
  TPracticeSession kept(testing::Game(0), table, 5, 1, options);
  kept.DealGiven(DealOf({"AS", "KS", "QS", "JS", "TS"}, {"2C", "3C", "4C", "5C", "6C"}, 1));
  EXPECT_EQ(kept.Draw(0).Pay, int64_t{kMaxPay} * 5);
  const TPracticeHistory history = ParsePracticeHistory(PracticeSessionText(kept.Record()));
  ASSERT_EQ(history.Sessions.size(), 1u);
  EXPECT_EQ(history.Damaged, 0);
  EXPECT_EQ(history.Sessions[0].Hands.at(0).Pay, int64_t{kMaxPay} * 5);

  options.KeepHands = false;
  TPracticeSession counted(testing::Game(0), table, 5, 1, options);
  Play(counted, 3);
  EXPECT_TRUE(counted.Record().Hands.empty());
  EXPECT_EQ(counted.Figures().Hands, 3);

  for (const double hard : {std::nan(""), HUGE_VAL, kMaxHardWithin * 2}) {
    options.HardWithin = hard;
    EXPECT_THROW(TPracticeSession(testing::Game(0), table, 1, 1, options), InputError) << hard;
  }
  table.Pays[0] = kMaxPay + 1;
  EXPECT_THROW(TPracticeSession(testing::Game(0), table, 1, 1), InputError);
}

// One hold drawn on several lines: one line deals as the seed always dealt; every further
// line keeps the held cards and draws from the cards not dealt, on its own; the figures
// count the hold once and the bets and pays once per line; the file keeps the lines.
TEST(Practice, SeveralLinesDrawApartAndCountPerLine) {
  const TPokerDescription& game = testing::Game(0);
  const TPayout table = testing::TableFor(0, kNineSix);
  // The seed's first two deals as one line has always dealt them.
  const std::array<std::pair<TPracticeDeal, int>, 2> known = {
      {{DealOf({"TH", "9S", "9C", "TS", "JH"}, {"3H", "8S", "4D", "4C", "3C"}, 1), 2},
       {DealOf({"2D", "8D", "QD", "4H", "QC"}, {"9H", "9C", "4D", "AS", "TC"}, 2), 0}}};
  TPracticeSession single(game, table, 1, 77);
  for (const auto& [deal, pay] : known) {
    const TPracticeDeal& dealt = single.Deal();
    EXPECT_EQ(dealt.Cards, deal.Cards);
    EXPECT_EQ(dealt.Next, deal.Next);
    EXPECT_TRUE(dealt.More.empty());
    EXPECT_EQ(single.Draw(kMaskCount - 1).TotalPay(), pay);
  }
  EXPECT_EQ(single.Figures().CoinsBet, 2);

  for (const int lines : {3, 5, 10}) {
    TPracticeOptions options;
    options.Lines = lines;
    TPracticeSession session(game, table, 2, 77, options);
    // The further lines are drawn after the first: its first deal is the one-line one.
    EXPECT_EQ(session.Deal().Cards, known[0].first.Cards);
    EXPECT_EQ(session.CurrentDeal().Next, known[0].first.Next);
    int64_t won = 0;
    long double played = 0;
    int mistakes = 0;
    bool linesDiffer = false;
    constexpr int kHands = 40;
    for (int h = 0; h < kHands; ++h) {
      if (h > 0) session.Deal();
      const int mask = h % 2 == 0 ? kMaskCount - 1 : (h * 5) % kMaskCount;
      const TPracticeHand hand = session.Draw(mask);
      ASSERT_EQ(hand.Lines(), lines);
      ASSERT_EQ(hand.Deal.Lines(), lines);
      won += hand.TotalPay();
      played += hand.Verdict.PlayedReturn();
      mistakes += hand.Verdict.Mistake() ? 1 : 0;
      for (int line = 0; line < lines; ++line) {
        const auto& final = line == 0 ? hand.Final : hand.More[static_cast<size_t>(line - 1)].Final;
        const std::set<int32_t> distinct(final.begin(), final.end());
        EXPECT_EQ(distinct.size(), kHandSize) << testing::HandText(final);
        for (size_t i = 0; i < kHandSize; ++i) {
          const bool drawn = BitSet(mask, static_cast<int>(i));
          const bool wasDealt = std::find(hand.Deal.Cards.begin(), hand.Deal.Cards.end(),
                                          final[i]) != hand.Deal.Cards.end();
          EXPECT_EQ(wasDealt, !drawn) << "line " << line << " position " << i;
          if (!drawn) {
            EXPECT_EQ(final[i], hand.Deal.Cards[i]);
          }
        }
        if (line == 0) continue;
        linesDiffer = linesDiffer || hand.Deal.NextOf(line) != hand.Deal.Next;
        // Each line is paid as a one-line deal of its own cards.
        TPracticeSession alone(game, table, 2, 1);
        TPracticeDeal deal = hand.Deal;
        deal.Next = deal.NextOf(line);
        deal.More.clear();
        alone.DealGiven(deal);
        const TPracticeHand& paid = alone.Draw(mask);
        const TPracticeLine& more = hand.More[static_cast<size_t>(line - 1)];
        EXPECT_EQ(more.Final, paid.Final);
        EXPECT_EQ(more.Category, paid.Category);
        EXPECT_EQ(more.Pay, paid.Pay);
      }
    }
    EXPECT_TRUE(linesDiffer);
    const TPracticeFigures& figures = session.Figures();
    EXPECT_EQ(figures.Hands, kHands);
    EXPECT_EQ(figures.Mistakes, mistakes);
    EXPECT_EQ(figures.CoinsBet, int64_t{kHands} * lines * 2);
    EXPECT_EQ(figures.CoinsWon, won);
    EXPECT_CLOSE(figures.PlayedReturn, played * lines, 1e-12L);
    EXPECT_EQ(session.Record().Figures().CoinsWon, won);

    // The file keeps the lines and every line's draw; one line stays a version 1 block.
    const std::string text = PracticeSessionText(session.Record());
    EXPECT_TRUE(text.starts_with("session 2\n"));
    const TPracticeHistory history = ParsePracticeHistory(text);
    ASSERT_EQ(history.Sessions.size(), 1u) << history.Problems.at(0);
    EXPECT_EQ(history.Sessions[0].Lines, lines);
    EXPECT_EQ(PracticeSessionText(history.Sessions[0]), text);
    EXPECT_EQ(history.Sessions[0].Hands.back().More, session.Record().Hands.back().More);
  }
  EXPECT_TRUE(PracticeSessionText(single.Record()).starts_with("session 1\n"));

  TPracticeOptions two;
  two.Lines = 2;
  EXPECT_THROW(TPracticeSession(game, table, 1, 1, two), InputError);
  two.Lines = 3;
  TPracticeSession three(game, table, 1, 1, two);
  TPracticeDeal deal = known[0].first;
  EXPECT_THROW(three.DealGiven(deal), InputError);  // one line in a session of three
  deal.More = {HandOf({"2C", "3C", "4C", "5C", "6C"}), HandOf({"2C", "3C", "4C", "5C", "6C"})};
  EXPECT_NO_THROW(three.DealGiven(deal));  // lines may draw the same cards
  deal.More[1][4] = deal.Cards[0];
  EXPECT_THROW(three.DealGiven(deal), InputError);  // never a dealt one
}

// A kill before the rename, a cut or a changed byte: every other session is read whole.
TEST(PracticeFile, AKillOrDamageLosesOnlyTheSessionItHits) {
  const std::filesystem::path folder = test::TestFolder();
  const std::filesystem::path file = folder / kPracticeFileName;
  std::vector<TPracticeRecord> records;
  for (uint64_t seed = 1; seed <= 3; ++seed) {
    TPracticeSession session(testing::Game(8),
                             testing::TableFor(8, {800, 100, 50, 25, 9, 5, 4, 3, 2, 1}), 2, seed);
    Play(session, 40);
    records.push_back(session.Record());
  }
  AppendPracticeSession(folder, records[0]);
  const std::string before = test::ReadText(file);
  EXPECT_THROW(
      AppendPracticeSession(folder, records[1], [] { throw std::runtime_error("killed"); }),
      std::runtime_error);
  EXPECT_EQ(test::ReadText(file), before);
  int temporaries = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    temporaries += IsTemporaryNameOf(entry.path().filename().string(), kPracticeFileName) ? 1 : 0;
  EXPECT_EQ(temporaries, 1);  // what the kill left behind

  AppendPracticeSession(folder, records[1]);
  AppendPracticeSession(folder, records[2]);
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    EXPECT_FALSE(IsTemporaryNameOf(entry.path().filename().string(), kPracticeFileName));
  TPracticeHistory history = ReadPracticeHistory(folder);
  ASSERT_EQ(history.Sessions.size(), 3u);
  EXPECT_EQ(history.Damaged, 0);
  for (size_t s = 0; s < 3; ++s) {
    const TPracticeRecord& read = history.Sessions[s];
    ASSERT_EQ(PracticeSessionText(read), PracticeSessionText(records[s]));
    for (size_t h = 0; h < read.Hands.size(); ++h)  // the final hands, which no line holds
      EXPECT_EQ(testing::HandText(read.Hands[h].Final),
                testing::HandText(records[s].Hands[h].Final));
    EXPECT_EQ(read.Figures().CostBets, records[s].Figures().CostBets);
  }

  const std::string whole = test::ReadText(file);
  std::string changed = whole;
  const size_t second = changed.find("seed 2\n");
  ASSERT_NE(second, std::string::npos);
  changed[changed.find(" pay ", second) + 5] ^= 1;
  test::WriteText(file, changed);
  history = ReadPracticeHistory(folder);
  ASSERT_EQ(history.Sessions.size(), 2u);
  EXPECT_EQ(history.Sessions[0].Seed, 1u);
  EXPECT_EQ(history.Sessions[1].Seed, 3u);
  EXPECT_EQ(history.Damaged, 1);
  EXPECT_TRUE(testing::Contains(history.Problems.at(0), "wrong checksum"));

  // Cut inside the third session; a session appended after the cut is read too.
  test::WriteText(file, whole.substr(0, whole.size() - 100));
  history = ReadPracticeHistory(folder);
  ASSERT_EQ(history.Sessions.size(), 2u);
  EXPECT_EQ(history.Damaged, 1);
  AppendPracticeSession(folder, records[0]);
  history = ReadPracticeHistory(folder);
  ASSERT_EQ(history.Sessions.size(), 3u);
  EXPECT_EQ(history.Sessions[2].Seed, 1u);
  EXPECT_EQ(history.Damaged, 1);
}

// The file never grows past what its reader takes (sparse files).
TEST(PracticeFile, TheFileNeverGrowsPastWhatIsReadBack) {
  const std::filesystem::path folder = test::TestFolder();
  const std::filesystem::path file = folder / kPracticeFileName;
  TPracticeSession session(testing::Game(0), testing::TableFor(0, kNineSix), 1, 7);
  Play(session, 1);
  test::WriteText(file, "");
  std::filesystem::resize_file(file, kMaxPracticeFileBytes);
  EXPECT_NO_THROW(ReadPracticeHistory(folder));
  std::filesystem::resize_file(file, kMaxPracticeFileBytes + 1);
  EXPECT_THROW(ReadPracticeHistory(folder), DataFileError);

  const uint64_t full = kMaxPracticeFileBytes - 10;  // no room for a session
  std::filesystem::resize_file(file, full);
  const std::string error =
      testing::ErrorOf<DataFileError>([&] { AppendPracticeSession(folder, session.Record()); });
  EXPECT_TRUE(testing::Contains(error, "more than the " + std::to_string(kMaxPracticeFileBytes) +
                                           " a session file may have"));
  EXPECT_EQ(std::filesystem::file_size(file), full);
  EXPECT_EQ(ReadPracticeHistory(folder).Damaged, 0);
}

// Millions of damaged lines between two sessions are one problem, read in a few megabytes.
TEST(PracticeFile, DamageIsOneProblemAndCostsNoMemoryPerLine) {
  TPracticeSession session(testing::Game(0), testing::TableFor(0, kNineSix), 1, 11);
  Play(session, 3);
  const std::string sound = PracticeSessionText(session.Record());
  const auto repeated = [](std::string_view line, size_t times) {
    std::string lines;
    lines.reserve(line.size() * times);
    for (size_t i = 0; i < times; ++i) lines += line;
    return lines;
  };
  const std::string text = sound + repeated("end\n", 2'000'000) +
                           repeated("session 1\n", 1'000'001) + repeated("x\n", 4'000'000) +
                           "end 0\n" + sound;
  const size_t first = static_cast<size_t>(std::count(sound.begin(), sound.end(), '\n')) + 1;
  const std::string expected = "lines " + std::to_string(first) + " to " +
                               std::to_string(first + 7'000'001) +
                               " are damaged (3000001 blocks); the first, at line " +
                               std::to_string(first) + ": its beginning is lost";
  const auto check = [&]() -> std::string {
    const TPracticeHistory history = ParsePracticeHistory(text);
    if (history.Sessions.size() != 2 || history.Damaged != 1 || history.Problems.size() != 1)
      return std::to_string(history.Problems.size()) + " problems";
    return history.Problems[0] == expected ? "" : history.Problems[0];
  };
  EXPECT_EQ(check(), "");
#ifndef TARNWICK_ADDRESS_SANITIZER
  EXPECT_EQ(test::InChild(check,
                          [] {
                            long pages = 0;
                            std::ifstream("/proc/self/statm") >> pages;
                            const rlim_t room =
                                static_cast<rlim_t>(pages) * ::getpagesize() + (32u << 20);
                            const rlimit limit{room, room};
                            ::setrlimit(RLIMIT_AS, &limit);
                          }),
            "");
#endif
}

}  // namespace
}  // namespace tarnwick

namespace tarnwick {
namespace {

// A verdict names the exact lines of the hold played and of the best hold, and with a
// reference strategy the row that plays the hand and whether the hold followed it.
TEST(PracticeLines, AVerdictNamesBothLinesAndTheStrategysRow) {
  struct TCase {
    int Game;
    std::vector<std::string> Cards;
    std::string Held;
    std::string Played;  // the line of the hold held
    std::string Best;    // of the best hold, as the engine finds it
  };
  const std::vector<TCase> cases = {
      {0, {"TS", "JS", "QS", "5S", "5D"}, "---HH", "pair of fives", "3 to a royal flush QJT"},
      {0, {"AS", "KS", "QS", "JS", "2D"}, "HHHHH", "AKQJ2 unsuited", "4 to a royal flush AKQJ"},
      {4,
       {"2S", "7H", "8H", "9H", "KC"},
       "H----",
       "1 deuce: deuce only",
       "1 deuce: 4 to an outside straight flush 987"}};
  for (const TCase& c : cases) {
    const TPokerDescription& game = testing::Game(c.Game);
    TPracticeSession session(
        game, testing::TableFor(game, c.Game == 0 ? kNineSix : testing::kFullPayDeuces), 1, 1);
    session.DealGiven(DealOf(c.Cards, {"3C", "4C", "6D", "3D", "4D"}, 1));
    const THoldNamer namer(game);
    const int mask = *ParseHoldPattern(c.Held);
    const TPracticeVerdict verdict = session.Grade(mask);
    const auto cards = HandOf(c.Cards);
    ASSERT_TRUE(verdict.PlayedLine && verdict.BestLine);
    EXPECT_EQ(*verdict.PlayedLine, namer.ClassifyHold(cards, mask));
    EXPECT_EQ(*verdict.BestLine, namer.ClassifyHold(cards, verdict.BestMask));
    const std::string played = namer.Text(*verdict.PlayedLine);
    const std::string best = namer.Text(*verdict.BestLine);
    EXPECT_TRUE(testing::Contains(played, c.Played));
    EXPECT_TRUE(testing::Contains(best, c.Best));
    EXPECT_FALSE(verdict.Strategy);
  }

  // A short list for the natural game: a row plays the hand, or none and it draws five.
  const TPokerDescription& game = testing::Game(0);
  const THoldNamer namer(game);
  const TStrategyParse parsed =
      ParseStrategy("4 to a royal flush\nhigh pair\n3 to a royal flush\nlow pair", namer);
  ASSERT_TRUE(parsed.Errors.empty()) << parsed.Errors.front();
  TPracticeSession session(game, testing::TableFor(game, kNineSix), 1, 1);
  session.SetStrategy(parsed.Strategy);
  session.DealGiven(DealOf({"TS", "JS", "QS", "5S", "5D"}, {"3C", "4C", "6D", "3D", "4D"}, 1));
  const TPracticeVerdict pair = session.Grade(*ParseHoldPattern("---HH"));
  ASSERT_TRUE(pair.Strategy);
  EXPECT_EQ(pair.Strategy->Row, 2);
  EXPECT_EQ(pair.Strategy->Mask, *ParseHoldPattern("HHH--"));
  EXPECT_EQ(pair.Strategy->Line,
            namer.ClassifyHold(HandOf({"TS", "JS", "QS", "5S", "5D"}), pair.Strategy->Mask));
  EXPECT_FALSE(pair.Strategy->Followed);
  EXPECT_TRUE(session.Grade(*ParseHoldPattern("HHH--")).Strategy->Followed);
  session.DealGiven(DealOf({"2C", "5D", "8H", "9S", "KC"}, {"3C", "4C", "6D", "3D", "4D"}, 2));
  const TPracticeVerdict none = session.Grade(kMaskCount - 1);
  EXPECT_EQ(none.Strategy->Row, -1);
  EXPECT_TRUE(none.Strategy->Followed);  // no row: the strategy draws five
  EXPECT_FALSE(session.Grade(*ParseHoldPattern("----H")).Strategy->Followed);
  session.SetStrategy(std::nullopt);
  EXPECT_FALSE(session.Grade(0).Strategy);
}

// A drill deals only hands where both lines are some hold's, the same hands from the same
// seed, and gives up on lines that never meet; the file keeps its lines. The mistakes add
// up by the line of the best hold.
TEST(PracticeLines, ADrillDealsHandsOfferingBothLinesAndMistakesCountByLine) {
  const TPokerDescription& game = testing::Game(0);
  const TPayout table = testing::TableFor(game, kNineSix);
  const THoldNamer namer(game);
  TPracticeOptions options;
  options.Drill = {*namer.Parse("4 to a flush"), *namer.Parse("low pair")};
  TPracticeSession drill(game, table, 1, 9, options);
  TPracticeSession again(game, table, 1, 9, options);
  for (int hand = 0; hand < 20; ++hand) {
    const TPracticeDeal& deal = drill.Deal();
    ASSERT_EQ(deal.Cards, again.Deal().Cards) << "hand " << hand;
    for (const TLinePattern& line : options.Drill) {
      bool offered = false;
      for (int mask = 0; mask < kMaskCount; ++mask)
        offered = offered || line.Matches(namer.ClassifyHold(deal.Cards, mask));
      EXPECT_TRUE(offered) << testing::HandText(deal.Cards) << ": " << namer.Text(line);
    }
    drill.Draw(kMaskCount - 1);
    again.Draw(0);
  }
  EXPECT_GT(drill.DealsSeen(), 20);
  EXPECT_EQ(drill.Record().Drill,
            (std::vector<std::string>{namer.Text(options.Drill[0]), namer.Text(options.Drill[1])}));
  const std::string text = PracticeSessionText(drill.Record());
  EXPECT_TRUE(testing::Contains(text, "session 3\n")) << text.substr(0, 200);
  const TPracticeHistory read = ParsePracticeHistory(text);
  ASSERT_EQ(read.Sessions.size(), 1u);
  EXPECT_EQ(read.Sessions[0].Drill, drill.Record().Drill);
  EXPECT_EQ(PracticeSessionText(read.Sessions[0]), text);

  // Four of a kind and a made flush are never in one hand.
  options.Drill = {*namer.Parse("four of a kind"), *namer.Parse("flush")};
  options.DrillTries = 500;
  TPracticeSession never(game, table, 1, 9, options);
  try {
    never.Deal();
    ADD_FAILURE() << "a drill of lines that never meet dealt a hand";
  } catch (const InputError& error) {
    EXPECT_TRUE(testing::Contains(error.Message(), "four of a kind")) << error.Message();
    EXPECT_TRUE(testing::Contains(error.Message(), "500 deals")) << error.Message();
  }
  EXPECT_EQ(never.DealsSeen(), 500);
  EXPECT_THROW(never.Grade(0), InputError);

  // Three mistakes of two lines (two hands of different ranks, one line without them), and a
  // right hold of the first.
  TPracticeSession scripted(game, table, 1, 1);
  const std::vector<std::pair<std::vector<std::string>, std::string>> script = {
      {{"TS", "JS", "QS", "5S", "5D"}, "---HH"},
      {{"AS", "KS", "QS", "JS", "2D"}, "HHHHH"},
      {{"TS", "JS", "QS", "5S", "5D"}, "HHH--"},
      {{"TS", "JS", "AS", "5H", "5D"}, "---HH"}};
  std::vector<TPracticeVerdict> verdicts;
  for (size_t i = 0; i < script.size(); ++i) {
    scripted.DealGiven(
        DealOf(script[i].first, {"3C", "4C", "6D", "3D", "4D"}, static_cast<int>(i) + 1));
    verdicts.push_back(scripted.Draw(*ParseHoldPattern(script[i].second)).Verdict);
  }
  const std::vector<TLineMistakes> lines = MistakesByLine(scripted.Record(), namer);
  ASSERT_EQ(lines.size(), 2u);
  // The four to the royal thrown away costs more: it comes first.
  EXPECT_TRUE(testing::Contains(lines[0].Line, "4 to a royal flush")) << lines[0].Line;
  EXPECT_EQ(lines[0].Line, "4 to a royal flush with 4 high cards");
  EXPECT_EQ(lines[0].Hands, 1);
  EXPECT_EQ(lines[0].Mistakes, 1);
  EXPECT_EQ(lines[0].CostBets, verdicts[1].CostBets());
  EXPECT_EQ(lines[1].Line, "3 to a royal flush with 2 high cards");
  EXPECT_EQ(lines[1].Hands, 3);
  EXPECT_EQ(lines[1].Mistakes, 2);
  EXPECT_EQ(lines[1].CostBets, verdicts[0].CostBets() + verdicts[3].CostBets());
}

}  // namespace
}  // namespace tarnwick
