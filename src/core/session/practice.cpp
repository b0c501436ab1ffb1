// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/practice.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <limits>
#include <random>

#include "engine/wild_engine.h"
#include "errors.h"

namespace tarnwick {

namespace {

// The first cards of a fresh shuffle that a deal uses: five dealt, five to draw.
constexpr int kDealtAndNext = 2 * kHandSize;
constexpr int kNaturalCards = kRankCount * kSuitCount;
constexpr uint64_t kLargestNewSeed = 999'999'999;
// Room for this many hands before the list of hands grows.
constexpr size_t kHandsReserved = 512;

// One step of SplitMix64, which spreads a seed over the generator's state.
uint64_t SplitMix(uint64_t& x) {
  uint64_t z = (x += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

long double PerBet(const TExactReturn& value, int basis) {
  return static_cast<long double>(value.Paid) / static_cast<long double>(value.Draws) / basis;
}

// Whether the codes are cards of one deck of the game, each at most once.
void CheckCards(int deckJokers, const std::string& gameName,
                const std::array<int32_t, kDealtAndNext>& codes) {
  int jokers = 0;
  for (size_t i = 0; i < codes.size(); ++i) {
    const int32_t code = codes[i];
    const bool joker = code == -1 || code == -2;
    jokers += joker ? 1 : 0;
    if ((code < 0 && !joker) || code >= kNaturalCards || jokers > deckJokers) {
      throw InputError("The card code " + std::to_string(code) + " is not in the deck of " +
                       gameName);
    }
    for (size_t j = 0; j < i; ++j) {
      if (codes[j] == code) throw InputError("The card " + CardText(code) + " is dealt twice");
    }
  }
}

}  // namespace

TPracticeRandom::TPracticeRandom(uint64_t seed) {
  for (uint64_t& word : state_) word = SplitMix(seed);
}

uint64_t TPracticeRandom::Next() {
  const uint64_t result = std::rotl(state_[1] * 5, 7) * 9;
  const uint64_t shifted = state_[1] << 17;
  state_[2] ^= state_[0];
  state_[3] ^= state_[1];
  state_[1] ^= state_[2];
  state_[0] ^= state_[3];
  state_[2] ^= shifted;
  state_[3] = std::rotl(state_[3], 45);
  return result;
}

uint32_t TPracticeRandom::Below(uint32_t bound) {
  CheckRange(bound, 1, std::numeric_limits<uint32_t>::max(), "random bound");
  // 2^64 mod bound: the numbers below it are the surplus that would favour the low results.
  const uint64_t surplus = (0 - static_cast<uint64_t>(bound)) % bound;
  while (true) {
    const uint64_t value = Next();
    if (value >= surplus) return static_cast<uint32_t>(value % bound);
  }
}

bool IsPracticeLines(int lines) {
  return std::find(kPracticeLineCounts.begin(), kPracticeLineCounts.end(), lines) !=
         kPracticeLineCounts.end();
}

const TPracticeDeal::TCards& TPracticeDeal::NextOf(int line) const {
  CheckRange(line, 0, static_cast<int>(More.size()), "line");
  return line == 0 ? Next : More[static_cast<size_t>(line - 1)];
}

uint64_t NewPracticeSeed() {
  std::random_device source;
  const uint64_t value = (static_cast<uint64_t>(source()) << 32) ^ source();
  return 1 + value % kLargestNewSeed;
}

TPracticeDealer::TPracticeDealer(const TPokerDescription& game, uint64_t seed, int lines)
    : seed_(seed), lines_(lines), random_(seed) {
  if (!IsPracticeLines(lines))
    throw InputError(std::to_string(lines) + " lines is not 1, 3, 5 or 10 lines");
  CheckRange(game.JokerCount, 0, 2, "jokers of the deck");
  deckSize_ = kNaturalCards;
  for (int code = 0; code < kNaturalCards; ++code) deck_[static_cast<size_t>(code)] = code;
  for (int joker = 0; joker < game.JokerCount; ++joker)
    deck_[static_cast<size_t>(deckSize_++)] = -2 + joker;
}

TPracticeDeal TPracticeDealer::Next() {
  // Every deal starts from the deck in its order: a deal depends only on the numbers drawn
  // for it, and the first ten places of a Fisher-Yates shuffle are a uniform draw of ten.
  std::array<int32_t, kMaxDeck> deck = deck_;
  for (int i = 0; i < kDealtAndNext; ++i) {
    const auto pick = static_cast<size_t>(i) + random_.Below(static_cast<uint32_t>(deckSize_ - i));
    std::swap(deck[static_cast<size_t>(i)], deck[pick]);
  }
  TPracticeDeal deal;
  std::copy(deck.begin(), deck.begin() + kHandSize, deal.Cards.begin());
  std::copy(deck.begin() + kHandSize, deck.begin() + kDealtAndNext, deal.Next.begin());
  // Each further line draws anew from the cards not dealt, which fill the places after the
  // first five whatever their order: the first five places of a shuffle of those.
  deal.More.resize(static_cast<size_t>(lines_ - 1));
  for (TPracticeDeal::TCards& next : deal.More) {
    std::array<int32_t, kMaxDeck> rest = deck;
    for (int i = kHandSize; i < kDealtAndNext; ++i) {
      const auto pick =
          static_cast<size_t>(i) + random_.Below(static_cast<uint32_t>(deckSize_ - i));
      std::swap(rest[static_cast<size_t>(i)], rest[pick]);
    }
    std::copy(rest.begin() + kHandSize, rest.begin() + kDealtAndNext, next.begin());
  }
  deal.Number = ++deals_;
  return deal;
}

std::string HoldPattern(int mask) {
  CheckRange(mask, 0, kMaskCount - 1, "draw mask");
  std::string text(kHandSize, 'H');
  for (int i = 0; i < kHandSize; ++i) {
    if (BitSet(mask, i)) text[static_cast<size_t>(i)] = '-';
  }
  return text;
}

std::optional<int> ParseHoldPattern(std::string_view text) {
  if (text.size() != kHandSize) return std::nullopt;
  int mask = 0;
  for (int i = 0; i < kHandSize; ++i) {
    const char letter = text[static_cast<size_t>(i)];
    if (letter == '-' || letter == '.' || letter == 'x' || letter == 'X') {
      mask |= 1 << i;
    } else if (letter != 'H' && letter != 'h') {
      return std::nullopt;
    }
  }
  return mask;
}

long double TPracticeVerdict::PlayedReturn() const {
  return PerBet(Played, CoinBasis);
}

long double TPracticeVerdict::BestReturn() const {
  return PerBet(Best, CoinBasis);
}

long double TPracticeVerdict::CostBets() const {
  // A tie costs exactly nothing, whatever the rounding of the two returns says.
  return Mistake() ? BestReturn() - PlayedReturn() : 0;
}

namespace {

std::string FixedText(long double value, int decimals) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, static_cast<double>(value));
  return text;
}

}  // namespace

std::string BetsText(long double value) {
  return FixedText(value, 5);
}

std::string PercentText(long double share) {
  return FixedText(share * 100, 2);
}

std::string SignedText(long double value, int decimals) {
  // Appended rather than "+" + text: GCC 12 at -O3 warns falsely on the latter (-Wrestrict).
  std::string text = value > 0 ? "+" : "";
  text += FixedText(value, decimals);
  return text;
}

std::string PracticeCostText(const TPracticeVerdict& verdict) {
  if (!verdict.Mistake()) return {};
  if (verdict.Coins <= 1) return BetsText(verdict.CostBets());
  return BetsText(verdict.CostBets()) + " (" + BetsText(verdict.CostCoins()) + ")";
}

int64_t TPracticeHand::TotalPay() const {
  int64_t total = Pay;
  for (const TPracticeLine& line : More) total += line.Pay;
  return total;
}

std::array<int32_t, kHandSize> FinalHand(const TPracticeDeal& deal, int mask, int line) {
  CheckRange(mask, 0, kMaskCount - 1, "draw mask");
  const TPracticeDeal::TCards& cards = deal.NextOf(line);
  std::array<int32_t, kHandSize> final = deal.Cards;
  size_t next = 0;
  for (int i = 0; i < kHandSize; ++i) {
    if (BitSet(mask, i)) final[static_cast<size_t>(i)] = cards[next++];
  }
  return final;
}

void TPracticeFigures::Add(const TPracticeHand& hand) {
  const TPracticeVerdict& verdict = hand.Verdict;
  const int32_t lines = hand.Lines();
  ++Hands;
  if (verdict.Mistake()) ++Mistakes;
  Coins = verdict.Coins;
  CostBets += verdict.CostBets() * lines;
  PlayedReturn += verdict.PlayedReturn() * lines;
  BestReturn += verdict.BestReturn() * lines;
  CoinsBet += int64_t{verdict.Coins} * lines;
  CoinsWon += hand.TotalPay();
}

long double TPracticeFigures::Accuracy() const {
  if (Hands == 0) return 1;
  return static_cast<long double>(Hands - Mistakes) / Hands;
}

long double TPracticeFigures::Efficiency() const {
  if (!(BestReturn > 0)) return 1;
  return PlayedReturn / BestReturn;
}

namespace {

// The line a hand's mistakes are counted under: the exact line of its best hold without the
// ranks and penalties that make almost every hand's line its own ("4 to a flush with 1 high
// card", "low pair"): the first of its generalisations that leaves them open.
TLinePattern CountedLine(const THoldNamer& namer, const TLinePattern& exact) {
  constexpr uint16_t kEveryRank = (1u << kRankCount) - 1;
  const uint16_t high = namer.HighRanks();
  const auto lowRanks = static_cast<uint16_t>(kEveryRank & ~high);
  const std::vector<TLinePattern> lines = namer.Generalise(exact);
  for (const TLinePattern& line : lines) {
    const bool penalties =
        line.FlushPenalty == TLinePattern::kAny && line.StraightPenalty == TLinePattern::kAny;
    // A pair of a natural game names its class: high pair or low pair.
    const bool pairClass = line.Shape == TLineShape::OfAKind && high != 0 &&
                           (line.Ranks == high || line.Ranks == lowRanks);
    const bool ranks = line.Ranks == 0 || pairClass;
    if (penalties && ranks) return line;
  }
  return lines.back();
}

}  // namespace

std::vector<TLineMistakes> MistakesByLine(const TPracticeRecord& record, const THoldNamer& namer) {
  std::vector<TLineMistakes> lines;
  for (const TPracticeHand& hand : record.Hands) {
    const TPracticeVerdict& verdict = hand.Verdict;
    const std::string name =
        namer.Text(CountedLine(namer, namer.ClassifyHold(hand.Deal.Cards, verdict.BestMask)));
    auto entry = std::find_if(lines.begin(), lines.end(),
                              [&name](const TLineMistakes& line) { return line.Line == name; });
    if (entry == lines.end()) entry = lines.insert(lines.end(), TLineMistakes{name});
    ++entry->Hands;
    if (!verdict.Mistake()) continue;
    ++entry->Mistakes;
    entry->CostBets += verdict.CostBets() * hand.Lines();
  }
  std::erase_if(lines, [](const TLineMistakes& line) { return line.Mistakes == 0; });
  std::sort(lines.begin(), lines.end(), [](const TLineMistakes& a, const TLineMistakes& b) {
    return a.CostBets != b.CostBets ? a.CostBets > b.CostBets : a.Line < b.Line;
  });
  return lines;
}

TPracticeFigures TPracticeRecord::Figures() const {
  TPracticeFigures figures;
  figures.Coins = Coins;
  for (const TPracticeHand& hand : Hands) figures.Add(hand);
  return figures;
}

TPracticeSession::TPracticeSession(const TPokerDescription& game, const TPayout& table, int coins,
                                   uint64_t seed, const TPracticeOptions& options)
    : table_(table),
      namer_(game),
      engine_(CreateEngineForGame(game)),
      judge_(CreateEngineForGame(game)),
      dealer_(game, seed, options.Lines),
      options_(options) {
  if (table.GameId != game.GameId || table.LastCategory != game.LastCategory) {
    throw InputError("The pay table is not one of " + game.Name);
  }
  if (!IsCoinCount(coins)) {
    throw InputError(std::to_string(coins) + " coins a hand is not 1..5 coins");
  }
  if (!IsCoinCount(table.CoinBasis) || coins % table.CoinBasis != 0) {
    throw InputError("A table of pays for " + std::to_string(table.CoinBasis) +
                     " coins cannot be played with " + std::to_string(coins));
  }
  for (const int32_t pay : PaysOf(table)) {
    if (pay < 0 || pay > kMaxPay) {
      throw InputError("The pay " + std::to_string(pay) + " is outside 0.." +
                       std::to_string(kMaxPay));
    }
  }
  // Negative is every hand; NaN, infinities and numbers beyond the limit cannot be kept.
  if (!std::isfinite(options.HardWithin) || options.HardWithin > kMaxHardWithin) {
    throw InputError("The hard-hands filter is not a number of bets up to " +
                     std::to_string(static_cast<int64_t>(kMaxHardWithin)));
  }
  engine_->SetPayout(&table_);
  judge_->SetPayout(&table_);
  for (int c = 0; c <= game.LastCategory; ++c) categoryNames_.push_back(game.CategoryName(c));
  wildRank_ = game.WildRank;
  jokerCount_ = game.JokerCount;
  record_.Started = static_cast<int64_t>(std::time(nullptr));
  record_.GameId = game.GameId;
  record_.GameName = game.Name;
  record_.Pays = PaysOf(table_);
  record_.CoinBasis = table_.CoinBasis;
  record_.Coins = coins;
  record_.Seed = seed;
  record_.HardWithin = options.HardWithin < 0 ? -1 : options.HardWithin;
  record_.Lines = options.Lines;
  if (!options.Drill.empty()) {
    if (options.Drill.size() != 2) throw InputError("A drill is of two lines");
    if (options.DrillTries < 1) throw InputError("A drill looks at one deal at least");
    for (const TLinePattern& line : options.Drill) record_.Drill.push_back(namer_.Text(line));
  }
  if (options.KeepHands) record_.Hands.reserve(kHandsReserved);
  figures_.Coins = coins;
}

TPracticeSession::~TPracticeSession() = default;

void TPracticeSession::Analyse() {
  engine_->DealCards(deal_.Cards);
  bestMask_ = engine_->GetTheBest();
  for (int mask = 0; mask < kMaskCount; ++mask)
    returns_[static_cast<size_t>(mask)] = ExactReturnOf(*engine_, mask);
  const TExactReturn& best = returns_[static_cast<size_t>(bestMask_)];
  bestHolds_ = 0;
  bool below = false;
  TExactReturn next;
  for (const TExactReturn& value : returns_) {
    const int order = CompareReturn(value, best);
    if (order == 0) ++bestHolds_;
    if (order < 0 && (!below || CompareReturn(value, next) > 0)) {
      next = value;
      below = true;
    }
  }
  // Without a hold below the best (every hold ties), no choice can be wrong: not hard.
  hardGap_ = below ? PerBet(best, table_.CoinBasis) - PerBet(next, table_.CoinBasis) : -1;
  analysed_ = true;
}

bool TPracticeSession::IsHard() const {
  return hardGap_ >= 0 && hardGap_ <= options_.HardWithin;
}

const TPracticeDeal& TPracticeSession::Deal() {
  dealt_ = false;
  hardFound_ = true;
  for (int tries = 1;; ++tries) {
    deal_ = dealer_.Next();
    ++dealsSeen_;
    // The drill first: naming the holds is far cheaper than analysing the hand.
    for (int drillTries = 1; !options_.Drill.empty() && !OffersDrill(deal_.Cards); ++drillTries) {
      if (drillTries >= options_.DrillTries) {
        analysed_ = false;  // the hand analysed last is gone: nothing to grade
        throw InputError("No hand offering both \"" + record_.Drill[0] + "\" and \"" +
                         record_.Drill[1] + "\" was dealt in " +
                         std::to_string(options_.DrillTries) + " deals");
      }
      deal_ = dealer_.Next();
      ++dealsSeen_;
    }
    Analyse();
    if (options_.HardWithin < 0 || IsHard()) break;
    if (tries == kMaxHardDeals) {
      hardFound_ = false;
      break;
    }
  }
  dealt_ = true;
  return deal_;
}

const TPracticeDeal& TPracticeSession::DealGiven(const TPracticeDeal& deal) {
  if (deal.Lines() != record_.Lines) {
    throw InputError("A deal on " + std::to_string(deal.Lines()) + " lines in a session of " +
                     std::to_string(record_.Lines));
  }
  // Every line's cards with the dealt ones: lines may share a card, not take a dealt one.
  for (int line = 0; line < deal.Lines(); ++line) {
    std::array<int32_t, kDealtAndNext> codes{};
    std::copy(deal.Cards.begin(), deal.Cards.end(), codes.begin());
    const TPracticeDeal::TCards& next = deal.NextOf(line);
    std::copy(next.begin(), next.end(), codes.begin() + kHandSize);
    CheckCards(jokerCount_, record_.GameName, codes);
  }
  dealt_ = false;
  deal_ = deal;
  Analyse();
  hardFound_ = options_.HardWithin < 0 || IsHard();
  dealt_ = true;
  return deal_;
}

bool TPracticeSession::OffersDrill(const std::array<int32_t, kHandSize>& cards) const {
  std::array<bool, 2> found{};
  for (int mask = 0; mask < kMaskCount; ++mask) {
    const TLinePattern line = namer_.ClassifyHold(cards, mask);
    for (size_t i = 0; i < found.size(); ++i)
      found[i] = found[i] || options_.Drill[i].Matches(line);
    if (found[0] && found[1]) return true;
  }
  return false;
}

void TPracticeSession::SetStrategy(std::optional<TStrategy> strategy) {
  strategy_ = std::move(strategy);
}

TPracticeVerdict TPracticeSession::Grade(int mask) const {
  CheckRange(mask, 0, kMaskCount - 1, "draw mask");
  if (!analysed_) throw InputError("No hand has been dealt");
  TPracticeVerdict verdict;
  verdict.Mask = mask;
  verdict.BestMask = bestMask_;
  verdict.BestHolds = bestHolds_;
  verdict.Played = returns_[static_cast<size_t>(mask)];
  verdict.Best = returns_[static_cast<size_t>(bestMask_)];
  verdict.CoinBasis = table_.CoinBasis;
  verdict.Coins = record_.Coins;
  verdict.PlayedLine = namer_.ClassifyHold(deal_.Cards, mask);
  verdict.BestLine = namer_.ClassifyHold(deal_.Cards, bestMask_);
  if (strategy_) {
    const TStrategyHold played = PlayStrategy(*engine_, deal_.Cards, *strategy_, namer_);
    TStrategyGrade& grade = verdict.Strategy.emplace();
    grade.Row = played.Row;
    grade.Mask = played.DrawMask;
    grade.Line = played.Line;
    grade.Followed = mask == played.DrawMask ||
                     SameReturn(verdict.Played, returns_[static_cast<size_t>(played.DrawMask)]);
  }
  return verdict;
}

bool TPracticeSession::ShouldWarn(int mask) const {
  if (options_.WarnAbove < 0) return false;
  const TPracticeVerdict verdict = Grade(mask);
  return verdict.Mistake() && verdict.CostBets() > options_.WarnAbove;
}

const TPracticeHand& TPracticeSession::Draw(int mask) {
  CheckRange(mask, 0, kMaskCount - 1, "draw mask");
  if (!dealt_) throw InputError("No hand waits for its draw");
  TPracticeHand hand;
  hand.Deal = deal_;
  hand.Verdict = Grade(mask);
  hand.Final = FinalHand(deal_, mask);
  Settle(hand.Final, hand.Category, hand.Pay);
  hand.More.resize(deal_.More.size());
  for (size_t line = 0; line < hand.More.size(); ++line) {
    TPracticeLine& more = hand.More[line];
    more.Final = FinalHand(deal_, mask, static_cast<int>(line) + 1);
    Settle(more.Final, more.Category, more.Pay);
  }
  dealt_ = false;
  figures_.Add(hand);
  if (!options_.KeepHands) {
    lastHand_ = hand;
    return lastHand_;
  }
  record_.Hands.push_back(hand);
  return record_.Hands.back();
}

void TPracticeSession::Settle(const std::array<int32_t, kHandSize>& final, int32_t& category,
                              int64_t& pay) {
  // The final hand standing pat is in exactly the category it pays.
  judge_->DealCards(final);
  judge_->GetTheBest();
  const int dealt = judge_->DealtCategory();
  if (dealt < 0) {
    category = table_.LastCategory + 1;
    pay = 0;
  } else {
    category = dealt;
    pay = int64_t{table_.Pays[static_cast<size_t>(dealt)]} * (record_.Coins / table_.CoinBasis);
  }
}

THoldsSnapshot TPracticeSession::HoldsSnapshot(int mask) const {
  CheckRange(mask, 0, kMaskCount - 1, "draw mask");
  if (!analysed_) throw InputError("No hand has been dealt");
  THoldsSnapshot snapshot;
  snapshot.Cards = deal_.Cards;
  snapshot.Holds = FillHoldStats(*engine_);
  snapshot.DrawMask = mask;
  snapshot.BestMask = bestMask_;
  snapshot.Coins = record_.Coins;
  snapshot.LastCategory = table_.LastCategory;
  snapshot.CategoryNames = categoryNames_;
  for (size_t i = 0; i < kHandSize; ++i) snapshot.Wild[i] = IsWildCard(deal_.Cards[i], wildRank_);
  snapshot.Lines = HoldLineTexts(namer_, deal_.Cards);
  return snapshot;
}

}  // namespace tarnwick
