// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/games.h"

#include "errors.h"

namespace tarnwick {

const std::string& TPokerDescription::CategoryName(int index) const {
  CheckRange(index, 0, kMaxCategories - 1, "category");
  return CategoryNames[index];
}

TKindSet TPokerDescription::NaturalKindSet(int index) const {
  CheckRange(index, 0, kMaxCategories - 1, "category");
  return NaturalKinds[index];
}

bool TPokerDescription::PaysKickers() const {
  TKindSet kickers = 0;
  for (const int kind : kKickerFours) kickers |= KindBit(kind);
  for (int c = 0; c <= LastCategory; ++c) {
    if ((NaturalKinds[static_cast<size_t>(c)] & kickers) != 0) return true;
  }
  return false;
}

TKindSet TPokerDescription::WildKindSet(int index) const {
  CheckRange(index, 0, kMaxCategories - 1, "category");
  return 0;
}

void TPokerDescription::SetCategory(int index, std::string name, TKindSet natural) {
  CategoryNames[index] = std::move(name);
  NaturalKinds[index] = natural;
}

TKindSet TWildPokerDescription::WildKindSet(int index) const {
  CheckRange(index, 0, kMaxCategories - 1, "category");
  return WildKinds[index];
}

void TWildPokerDescription::SetCategory(int index, std::string name, TKindSet natural,
                                        TKindSet wild) {
  TPokerDescription::SetCategory(index, std::move(name), natural);
  WildKinds[index] = wild;
}

namespace {

// Kind sets that many games share.
constexpr TKindSet kRoyal = KindBit(FLUSH_STRAIGHT_T_A);
constexpr TKindSet kStraightFlush = KindBit(FLUSH_STRAIGHT_A_5) | KindBit(FLUSH_STRAIGHT);
constexpr TKindSet kAllFours = KindRange(FOUR_OF_KIND_2, FOUR_OF_KIND_A);
constexpr TKindSet kFullHouse = KindBit(FULL_HOUSE);
constexpr TKindSet kFlush = KindBit(FLUSH);
constexpr TKindSet kStraights = KindRange(STRAIGHT_A_5, STRAIGHT_T_A);
constexpr TKindSet kAllThrees = KindRange(THREE_OF_KIND_2, THREE_OF_KIND_A);
constexpr TKindSet kTwoPairs = KindBit(TWO_PAIRS);
constexpr TKindSet kJacksOrBetter = KindRange(PAIRS_J, PAIRS_A);

constexpr TKindSet kWildRoyal =
    KindBit(WILD_3_FLUSH_STR_T_A) | KindBit(WILD_2_FLUSH_STR_T_A) | KindBit(WILD_1_FLUSH_STR_T_A);
constexpr TKindSet kWildFives = KindRange(WILD_FIVE_2, WILD_FIVE_A);
constexpr TKindSet kWildStraightFlush = KindBit(WILD_3_FLUSH_STR_A_5) | KindBit(WILD_3_FLUSH_STR) |
                                        KindBit(WILD_2_FLUSH_STR_A_5) | KindBit(WILD_2_FLUSH_STR) |
                                        KindBit(WILD_1_FLUSH_STR_A_5) | KindBit(WILD_1_FLUSH_STR);
// Four of a kind with wild cards; the deuces and sevens games add WILD_3_FLUSH.
constexpr TKindSet kWildFourJoker =
    KindBit(WILD_3) | KindBit(WILD_2_AND_2_1) | KindBit(WILD_1_AND_3_1);
constexpr TKindSet kWildFourDeuces = kWildFourJoker | KindBit(WILD_3_FLUSH);
constexpr TKindSet kWildFullHouse = kWildFourJoker | KindBit(WILD_1_AND_2_2);
constexpr TKindSet kWildFlush =
    KindBit(WILD_3_FLUSH) | KindBit(WILD_2_FLUSH) | KindBit(WILD_1_FLUSH);
constexpr TKindSet kWildStraight = KindRange(WILD_2_STRAIGHT_A_5, WILD_2_STRAIGHT_T_A) |
                                   KindRange(WILD_1_STRAIGHT_A_5, WILD_1_STRAIGHT_T_A);
constexpr TKindSet kWildThree = KindBit(WILD_2) | KindBit(WILD_1_AND_2_1_1);
constexpr TKindSet kFourWilds = KindBit(WILD_4_A) | KindBit(WILD_4_WA);

}  // namespace

TJacksOrBetter::TJacksOrBetter() {
  Name = "Jacks or better";
  LastCategory = 8;
  SetCategory(0, "Royal Flush", kRoyal);
  SetCategory(1, "Straight Flush", kStraightFlush);
  SetCategory(2, "Four of Kind", kAllFours);
  SetCategory(3, "Full House", kFullHouse);
  SetCategory(4, "Flush", kFlush);
  SetCategory(5, "Straight", kStraights);
  SetCategory(6, "Three of Kind", kAllThrees);
  SetCategory(7, "Two Pairs", kTwoPairs);
  SetCategory(8, "Jacks or Better", kJacksOrBetter);
}

THighFives::THighFives() {
  Name = "High Fives";
  LastCategory = 10;
  SetCategory(0, "Royal Flush", kRoyal);
  SetCategory(1, "Four Fives", KindBit(FOUR_OF_KIND_5));
  SetCategory(2, "Straight Flush", kStraightFlush);
  SetCategory(3, "Four of Kind", kAllFours & ~KindBit(FOUR_OF_KIND_5));
  SetCategory(4, "Full House", kFullHouse);
  SetCategory(5, "Flush", kFlush);
  SetCategory(6, "Three Fives", KindBit(THREE_OF_KIND_5));
  SetCategory(7, "Straight", kStraights);
  SetCategory(8, "Three of Kind", kAllThrees & ~KindBit(THREE_OF_KIND_5));
  SetCategory(9, "Two Pairs", kTwoPairs);
  SetCategory(10, "Jacks or Better", kJacksOrBetter);
}

TDoubleBonus::TDoubleBonus() {
  Name = "Double Bonus";
  LastCategory = 10;
  SetCategory(0, "Royal Flush", kRoyal);
  SetCategory(1, "Straight Flush", kStraightFlush);
  SetCategory(2, "Four Aces", KindBit(FOUR_OF_KIND_A));
  SetCategory(3, "Four 2-4", KindRange(FOUR_OF_KIND_2, FOUR_OF_KIND_4));
  SetCategory(4, "Four 5-K", KindRange(FOUR_OF_KIND_5, FOUR_OF_KIND_K));
  SetCategory(5, "Full House", kFullHouse);
  SetCategory(6, "Flush", kFlush);
  SetCategory(7, "Straight", kStraights);
  SetCategory(8, "Three of Kind", kAllThrees);
  SetCategory(9, "Two Pairs", kTwoPairs);
  SetCategory(10, "Jacks or Better", kJacksOrBetter);
}

TJokerWildKings::TJokerWildKings() {
  Name = "Joker Wild (KINGS+)";
  WildRank = -1;
  JokerCount = 1;
  LastCategory = 10;
  SetCategory(0, "Natural Royal Flush", kRoyal, 0);
  SetCategory(1, "Five of Kind", 0, kWildFives);
  SetCategory(2, "Wild Royal Flush", 0, kWildRoyal);
  SetCategory(3, "Straight Flush", kStraightFlush, kWildStraightFlush);
  SetCategory(4, "Four of Kind", kAllFours, kWildFourJoker);
  SetCategory(5, "Full House", kFullHouse, kWildFullHouse);
  SetCategory(6, "Flush", kFlush, kWildFlush);
  SetCategory(7, "Straight", kStraights, kWildStraight);
  SetCategory(8, "Three of Kind", kAllThrees, kWildThree);
  SetCategory(9, "Two Pairs", kTwoPairs, KindBit(WILD_1_AND_2_1_1));
  SetCategory(10, "Kings or Better", KindBit(PAIRS_K) | KindBit(PAIRS_A), KindBit(WILD_1_KINGS));
}

TDeucesWild::TDeucesWild() {
  Name = "Deuces Wild";
  WildRank = 0;
  LastCategory = 9;
  SetCategory(0, "Natural Royal Flush", kRoyal, 0);
  SetCategory(1, "Four Deuces", 0, kFourWilds);
  SetCategory(2, "Wild Royal Flush", 0, kWildRoyal);
  SetCategory(3, "Five of Kind", 0, kWildFives);
  SetCategory(4, "Straight Flush", kStraightFlush, kWildStraightFlush);
  SetCategory(5, "Four of Kind", kAllFours, kWildFourDeuces);
  SetCategory(6, "Full House", kFullHouse, kWildFullHouse);
  SetCategory(7, "Flush", kFlush, kWildFlush);
  SetCategory(8, "Straight", kStraights, kWildStraight);
  SetCategory(9, "Three of Kind", kAllThrees, kWildThree);
}

TAcesAndEights::TAcesAndEights() {
  Name = "Aces and Eights";
  LastCategory = 10;
  SetCategory(0, "Royal Flush", kRoyal);
  SetCategory(1, "Four Aces or 8", KindBit(FOUR_OF_KIND_8) | KindBit(FOUR_OF_KIND_A));
  SetCategory(2, "Four  7", KindBit(FOUR_OF_KIND_7));
  SetCategory(3, "Straight Flush", kStraightFlush);
  SetCategory(
      4, "Four of Kind",
      KindRange(FOUR_OF_KIND_2, FOUR_OF_KIND_6) | KindRange(FOUR_OF_KIND_9, FOUR_OF_KIND_K));
  SetCategory(5, "Full House", kFullHouse);
  SetCategory(6, "Flush", kFlush);
  SetCategory(7, "Straight", kStraights);
  SetCategory(8, "Three of Kind", kAllThrees);
  SetCategory(9, "Two Pairs", kTwoPairs);
  SetCategory(10, "Jacks or Better", kJacksOrBetter);
}

TTensOrBetter::TTensOrBetter() {
  Name = "Tens or better";
  SetCategory(8, "Tens or Better", KindRange(PAIRS_T, PAIRS_A));
}

TBonusDeucesWild::TBonusDeucesWild() {
  Name = "Bonus Deuces Wild";
  WildRank = 0;
  LastCategory = 12;
  SetCategory(0, "Natural Royal Flush", kRoyal, 0);
  SetCategory(1, "Four Deuces + Ace", 0, KindBit(WILD_4_A));
  SetCategory(2, "Four Deuces", 0, KindBit(WILD_4_WA));
  SetCategory(3, "Wild Royal Flush", 0, kWildRoyal);
  SetCategory(4, "Five Aces", 0, KindBit(WILD_FIVE_A));
  SetCategory(5, "Five 3-5", 0, KindRange(WILD_FIVE_3, WILD_FIVE_5));
  SetCategory(6, "Five 6-K", 0, KindRange(WILD_FIVE_6, WILD_FIVE_K));
  SetCategory(7, "Straight Flush", kStraightFlush, kWildStraightFlush);
  SetCategory(8, "Four of Kind", kAllFours, kWildFourDeuces);
  SetCategory(9, "Full House", kFullHouse, kWildFullHouse);
  SetCategory(10, "Flush", kFlush, kWildFlush);
  SetCategory(11, "Straight", kStraights, kWildStraight);
  SetCategory(12, "Three of Kind", kAllThrees, kWildThree);
}

TDoubleJokerPoker::TDoubleJokerPoker() {
  Name = "Double Joker Poker";
  WildRank = -1;
  JokerCount = 2;
  LastCategory = 9;
  SetCategory(0, "Natural Royal Flush", kRoyal, 0);
  SetCategory(1, "Wild Royal Flush", 0, kWildRoyal);
  SetCategory(2, "Five of Kind", 0, kWildFives);
  SetCategory(3, "Straight Flush", kStraightFlush, kWildStraightFlush);
  SetCategory(4, "Four of Kind", kAllFours, kWildFourJoker);
  SetCategory(5, "Full House", kFullHouse, kWildFullHouse);
  SetCategory(6, "Flush", kFlush, kWildFlush);
  SetCategory(7, "Straight", kStraights, kWildStraight);
  SetCategory(8, "Three of Kind", kAllThrees, kWildThree);
  SetCategory(9, "Two Pairs", kTwoPairs, kWildThree);
}

TLooseDeuces::TLooseDeuces() {
  Name = "Loose Deuces";
}

TAcesAndFaces::TAcesAndFaces() {
  Name = "Aces and Faces";
  LastCategory = 10;
  SetCategory(0, "Royal Flush", kRoyal);
  SetCategory(1, "Four Aces", KindBit(FOUR_OF_KIND_A));
  SetCategory(2, "Straight Flush", kStraightFlush);
  SetCategory(3, "Four Faces", KindRange(FOUR_OF_KIND_J, FOUR_OF_KIND_K));
  SetCategory(4, "Four 2-10", KindRange(FOUR_OF_KIND_2, FOUR_OF_KIND_T));
  SetCategory(5, "Full House", kFullHouse);
  SetCategory(6, "Flush", kFlush);
  SetCategory(7, "Straight", kStraights);
  SetCategory(8, "Three of Kind", kAllThrees);
  SetCategory(9, "Two Pairs", kTwoPairs);
  SetCategory(10, "Jacks or Better", kJacksOrBetter);
}

TBonusPoker::TBonusPoker() {
  Name = "Bonus Poker";
  LastCategory = 10;
  SetCategory(0, "Royal Flush", kRoyal);
  SetCategory(1, "Four Aces", KindBit(FOUR_OF_KIND_A));
  SetCategory(2, "Straight Flush", kStraightFlush);
  SetCategory(3, "Four 2-4", KindRange(FOUR_OF_KIND_2, FOUR_OF_KIND_4));
  SetCategory(4, "Four 5-K", KindRange(FOUR_OF_KIND_5, FOUR_OF_KIND_K));
  SetCategory(5, "Full House", kFullHouse);
  SetCategory(6, "Flush", kFlush);
  SetCategory(7, "Straight", kStraights);
  SetCategory(8, "Three of Kind", kAllThrees);
  SetCategory(9, "Two Pairs", kTwoPairs);
  SetCategory(10, "Jacks or Better", kJacksOrBetter);
}

TKingsOrBetter::TKingsOrBetter() {
  Name = "Kings or better";
  SetCategory(8, "Kings or Better", KindBit(PAIRS_K) | KindBit(PAIRS_A));
}

TAcesAndJacks::TAcesAndJacks() {
  Name = "Aces and Jacks";
  LastCategory = 10;
  SetCategory(0, "Royal Flush", kRoyal);
  SetCategory(1, "Four Aces", KindBit(FOUR_OF_KIND_A));
  SetCategory(2, "Straight Flush", kStraightFlush);
  SetCategory(3, "Four Jacks", KindBit(FOUR_OF_KIND_J));
  SetCategory(4, "Four of Kind",
              KindRange(FOUR_OF_KIND_2, FOUR_OF_KIND_T) | KindBit(FOUR_OF_KIND_Q) |
                  KindBit(FOUR_OF_KIND_K));
  SetCategory(5, "Full House", kFullHouse);
  SetCategory(6, "Flush", kFlush);
  SetCategory(7, "Straight", kStraights);
  SetCategory(8, "Three of Kind", kAllThrees);
  SetCategory(9, "Two Pairs", kTwoPairs);
  SetCategory(10, "Jacks or Better", kJacksOrBetter);
}

TNevadaBonusPoker::TNevadaBonusPoker() {
  Name = "Nevada Bonus Poker";
  LastCategory = 10;
  SetCategory(0, "Royal Flush", kRoyal);
  SetCategory(1, "Four Aces", KindBit(FOUR_OF_KIND_A));
  SetCategory(2, "Straight Flush", kStraightFlush);
  SetCategory(3, "Four of Kind", KindRange(FOUR_OF_KIND_2, FOUR_OF_KIND_K));
  SetCategory(4, "Full House", kFullHouse);
  SetCategory(5, "Flush", kFlush);
  SetCategory(6, "Three Aces", KindBit(THREE_OF_KIND_A));
  SetCategory(7, "Straight", kStraights);
  SetCategory(8, "Three of Kind", KindRange(THREE_OF_KIND_2, THREE_OF_KIND_K));
  SetCategory(9, "Two Pairs", kTwoPairs);
  SetCategory(10, "Jacks or Better", kJacksOrBetter);
}

TJokerWild2Pairs::TJokerWild2Pairs() {
  Name = "Joker Wild (2P+)";
  LastCategory = 9;
  SetCategory(10, "", 0, 0);
}

TDeucesDeluxe::TDeucesDeluxe() {
  Name = "Deuces Deluxe";
  WildRank = 0;
  LastCategory = 11;
  SetCategory(0, "Natural Royal Flush", kRoyal, 0);
  SetCategory(1, "Four Deuces", 0, kFourWilds);
  SetCategory(2, "Natural Straight Flush", kStraightFlush, 0);
  SetCategory(3, "Wild Royal Flush", 0, kWildRoyal);
  SetCategory(4, "Five of Kind", 0, kWildFives);
  SetCategory(5, "Natural Four of Kind", kAllFours, 0);
  SetCategory(6, "Wild Straight Flush", 0, kWildStraightFlush);
  SetCategory(7, "Wild Four of Kind", 0, kWildFourDeuces);
  SetCategory(8, "Full House", kFullHouse, kWildFullHouse);
  SetCategory(9, "Flush", kFlush, kWildFlush);
  SetCategory(10, "Straight", kStraights, kWildStraight);
  SetCategory(11, "Three of Kind", kAllThrees, kWildThree);
}

TOdysseyDeuces::TOdysseyDeuces() {
  Name = "Odyssey Deuces";
  WildRank = 0;
  LastCategory = 10;
  SetCategory(0, "Natural Royal Flush", kRoyal, 0);
  SetCategory(1, "Four Deuces", 0, kFourWilds);
  SetCategory(2, "Natural Four of Kind", kAllFours, 0);
  SetCategory(3, "Wild Royal Flush", 0, kWildRoyal);
  SetCategory(4, "Five of Kind", 0, kWildFives);
  SetCategory(5, "Straight Flush", kStraightFlush, kWildStraightFlush);
  SetCategory(6, "Wild Four of Kind", 0, kWildFourDeuces);
  SetCategory(7, "Full House", kFullHouse, kWildFullHouse);
  SetCategory(8, "Flush", kFlush, kWildFlush);
  SetCategory(9, "Straight", kStraights, kWildStraight);
  SetCategory(10, "Three of Kind", kAllThrees, kWildThree);
}

TLuckyNugget::TLuckyNugget() {
  Name = "Lucky Nugget";
  LastCategory = 7;
  SetCategory(0, "Royal Flush", kRoyal);
  SetCategory(1, "Straight Flush", kStraightFlush);
  SetCategory(2, "Four of Kind", kAllFours);
  SetCategory(3, "Full House", kFullHouse);
  SetCategory(4, "Flush", kFlush);
  SetCategory(5, "Straight", kStraights);
  SetCategory(6, "Three of Kind", kAllThrees);
  SetCategory(7, "Two Pairs", kTwoPairs);
}

TSevensWild::TSevensWild() {
  Name = "Sevens Wild";
  WildRank = 5;
  LastCategory = 9;
  SetCategory(0, "Natural Royal Flush", kRoyal, 0);
  SetCategory(1, "Four 7s", 0, kFourWilds);
  SetCategory(2, "Wild Royal Flush", 0, kWildRoyal);
  SetCategory(3, "Five of Kind", 0, kWildFives);
  SetCategory(4, "Straight Flush", kStraightFlush, kWildStraightFlush);
  SetCategory(5, "Four of Kind", kAllFours, kWildFourDeuces);
  SetCategory(6, "Full House", kFullHouse, kWildFullHouse);
  SetCategory(7, "Flush", kFlush, kWildFlush);
  SetCategory(8, "Straight", kStraights, kWildStraight);
  SetCategory(9, "Three of Kind", kAllThrees, kWildThree);
}

TBonusPokerDeluxe::TBonusPokerDeluxe() {
  Name = "Bonus Poker Deluxe";
}

TTripleBonus::TTripleBonus() {
  Name = "Triple Bonus";
}

TSuperDoubleBonus::TSuperDoubleBonus() {
  Name = "Super Double Bonus";
  LastCategory = 11;
  SetCategory(0, "Royal Flush", kRoyal);
  SetCategory(1, "Straight Flush", kStraightFlush);
  SetCategory(2, "Four Aces", KindBit(FOUR_OF_KIND_A));
  SetCategory(3, "Four J-K", KindRange(FOUR_OF_KIND_J, FOUR_OF_KIND_K));
  SetCategory(4, "Four 2-4", KindRange(FOUR_OF_KIND_2, FOUR_OF_KIND_4));
  SetCategory(5, "Four 5-10", KindRange(FOUR_OF_KIND_5, FOUR_OF_KIND_T));
  SetCategory(6, "Full House", kFullHouse);
  SetCategory(7, "Flush", kFlush);
  SetCategory(8, "Straight", kStraights);
  SetCategory(9, "Three of Kind", kAllThrees);
  SetCategory(10, "Two Pairs", kTwoPairs);
  SetCategory(11, "Jacks or Better", kJacksOrBetter);
}

TAllAmericanPoker::TAllAmericanPoker() {
  Name = "All American Poker";
}

TFlushorama::TFlushorama() {
  Name = "Flushorama";
}

TKingOfTheHouse::TKingOfTheHouse() {
  Name = "King of the House";
}

TMisteryBonus::TMisteryBonus() {
  Name = "Mistery Bonus";
}

TStraightFlushBonus::TStraightFlushBonus() {
  Name = "Straight Flush Bonus";
}

TDoubleDeuces::TDoubleDeuces() {
  Name = "Double Deuces";
}

TTriplePay::TTriplePay() {
  Name = "Triple Pay";
}

TDoubleBonusPlus::TDoubleBonusPlus() {
  Name = "Double Bonus Plus";
}

TPowerHousePoker::TPowerHousePoker() {
  Name = "Power House / Full House";
}

TSuperAces::TSuperAces() {
  Name = "Super Aces";
}

TRoyalCourt::TRoyalCourt() {
  Name = "Royal Court";
  LastCategory = 11;
  SetCategory(0, "Royal Flush", kRoyal);
  SetCategory(1, "Straight Flush", kStraightFlush);
  SetCategory(2, "Four  Kings", KindBit(FOUR_OF_KIND_K));
  SetCategory(3, "Four  Queens", KindBit(FOUR_OF_KIND_Q));
  SetCategory(4, "Four  Jacks", KindBit(FOUR_OF_KIND_J));
  SetCategory(5, "Four of Kind",
              KindRange(FOUR_OF_KIND_2, FOUR_OF_KIND_T) | KindBit(FOUR_OF_KIND_A));
  SetCategory(6, "Full House", kFullHouse);
  SetCategory(7, "Flush", kFlush);
  SetCategory(8, "Straight", kStraights);
  SetCategory(9, "Three of Kind", kAllThrees);
  SetCategory(10, "Two Pairs", kTwoPairs);
  SetCategory(11, "Jacks or Better", kJacksOrBetter);
}

TDoubleDoubleBonus::TDoubleDoubleBonus() {
  Name = "Double Double Bonus";
  LastCategory = 12;
  SetCategory(0, "Royal Flush", kRoyal);
  SetCategory(1, "Straight Flush", kStraightFlush);
  SetCategory(2, "Four Aces + 2-4 Kicker", KindBit(FOUR_OF_KIND_A_2_4));
  SetCategory(3, "Four 2-4 + A-4 Kicker", KindRange(FOUR_OF_KIND_2_A_4, FOUR_OF_KIND_4_A_4));
  SetCategory(4, "Four Aces", KindBit(FOUR_OF_KIND_A));
  SetCategory(5, "Four 2-4", KindRange(FOUR_OF_KIND_2, FOUR_OF_KIND_4));
  SetCategory(6, "Four 5-K", KindRange(FOUR_OF_KIND_5, FOUR_OF_KIND_K));
  SetCategory(7, "Full House", kFullHouse);
  SetCategory(8, "Flush", kFlush);
  SetCategory(9, "Straight", kStraights);
  SetCategory(10, "Three of Kind", kAllThrees);
  SetCategory(11, "Two Pairs", kTwoPairs);
  SetCategory(12, "Jacks or Better", kJacksOrBetter);
}

TTripleDoubleBonus::TTripleDoubleBonus() {
  Name = "Triple Double Bonus";
}

namespace {

template <class Game>
std::unique_ptr<TPokerDescription> Make() {
  return std::make_unique<Game>();
}

}  // namespace

TCatalogue BuildCatalogue() {
  using Factory = std::unique_ptr<TPokerDescription> (*)();
  // In the order of the game numbers; number 12 is retired and has no class.
  const std::array<Factory, 37> factories = {&Make<TJacksOrBetter>,
                                             &Make<THighFives>,
                                             &Make<TDoubleBonus>,
                                             &Make<TJokerWildKings>,
                                             &Make<TDeucesWild>,
                                             &Make<TAcesAndEights>,
                                             &Make<TTensOrBetter>,
                                             &Make<TBonusDeucesWild>,
                                             &Make<TDoubleJokerPoker>,
                                             &Make<TLooseDeuces>,
                                             &Make<TAcesAndFaces>,
                                             &Make<TBonusPoker>,
                                             nullptr,
                                             &Make<TKingsOrBetter>,
                                             &Make<TAcesAndJacks>,
                                             &Make<TNevadaBonusPoker>,
                                             &Make<TJokerWild2Pairs>,
                                             &Make<TDeucesDeluxe>,
                                             &Make<TOdysseyDeuces>,
                                             &Make<TLuckyNugget>,
                                             &Make<TSevensWild>,
                                             &Make<TBonusPokerDeluxe>,
                                             &Make<TTripleBonus>,
                                             &Make<TSuperDoubleBonus>,
                                             &Make<TAllAmericanPoker>,
                                             &Make<TFlushorama>,
                                             &Make<TKingOfTheHouse>,
                                             &Make<TMisteryBonus>,
                                             &Make<TStraightFlushBonus>,
                                             &Make<TDoubleDeuces>,
                                             &Make<TTriplePay>,
                                             &Make<TDoubleBonusPlus>,
                                             &Make<TPowerHousePoker>,
                                             &Make<TSuperAces>,
                                             &Make<TRoyalCourt>,
                                             &Make<TDoubleDoubleBonus>,
                                             &Make<TTripleDoubleBonus>};
  TCatalogue catalogue;
  catalogue.reserve(factories.size() - 1);
  for (size_t number = 0; number < factories.size(); ++number) {
    if (factories[number] == nullptr) continue;
    auto game = factories[number]();
    game->GameId = static_cast<int32_t>(number);
    catalogue.push_back(std::move(game));
  }
  return catalogue;
}

const TPokerDescription* FindGame(const TCatalogue& catalogue, int gameId) {
  for (const auto& game : catalogue) {
    if (game->GameId == gameId) return game.get();
  }
  return nullptr;
}

}  // namespace tarnwick
