// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "stats/hold_lines.h"

#include <algorithm>
#include <bit>
#include <cctype>

#include "engine/cards.h"

namespace tarnwick {

namespace {

constexpr int kTen = 8;
constexpr uint16_t kRoyalRanks = 0x1F00;  // ten to ace
constexpr uint16_t kAllRanks = 0x1FFF;
constexpr uint16_t kNoAces = 0x0FFF;

constexpr std::array<std::string_view, kRankCount> kRankPlurals = {
    "twos",  "threes", "fours", "fives",  "sixes", "sevens", "eights",
    "nines", "tens",   "jacks", "queens", "kings", "aces"};
constexpr std::array<std::string_view, 6> kMadeNames = {
    "royal flush", "wild royal flush", "straight flush", "full house", "flush", "straight"};
constexpr std::array<std::string_view, 4> kKindNames = {"pair", "three of a kind", "four of a kind",
                                                        "five of a kind"};
constexpr std::array<std::string_view, 4> kKindCounts = {"pair of", "three", "four", "five"};

int RankBits(uint16_t ranks) {
  return std::popcount(static_cast<unsigned>(ranks));
}

// The bits of the five ranks of a straight starting at `start` (-1 for the wheel, ace low).
uint16_t WindowBits(int start) {
  if (start < 0) return static_cast<uint16_t>(0x100F);  // ace, 2, 3, 4, 5
  return static_cast<uint16_t>(0x1F << start);
}

// The fewest ranks missing between the lowest and the highest kept rank over the straights
// that hold all of `ranks`; empty when none does.
std::optional<int> StraightGaps(uint16_t ranks) {
  std::optional<int> best;
  for (int start = -1; start <= kTen; ++start) {
    const uint16_t window = WindowBits(start);
    if ((ranks & ~window) != 0) continue;
    // Positions 0..4 inside the window, the ace first in the wheel.
    int low = 5;
    int high = -1;
    for (int i = 0; i < 5; ++i) {
      const int rank = start < 0 ? (i == 0 ? kAce : i - 1) : start + i;
      if (((ranks >> rank) & 1u) == 0) continue;
      low = std::min(low, i);
      high = std::max(high, i);
    }
    const int gaps = high - low + 1 - RankBits(ranks);
    if (!best || gaps < *best) best = gaps;
  }
  return best;
}

std::string Lower(std::string_view text) {
  std::string out;
  bool blank = false;
  for (const char c : text) {
    if (std::isspace(static_cast<unsigned char>(c)) != 0) {
      blank = !out.empty();
      continue;
    }
    if (blank) out += ' ';
    blank = false;
    out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  return out;
}

bool StartsWith(std::string_view text, std::string_view start) {
  return text.substr(0, start.size()) == start;
}

bool Strip(std::string_view& text, std::string_view start) {
  if (!StartsWith(text, start)) return false;
  text.remove_prefix(start.size());
  return true;
}

bool StripEnd(std::string_view& text, std::string_view end) {
  if (text.size() < end.size() || text.substr(text.size() - end.size()) != end) return false;
  text.remove_suffix(end.size());
  return true;
}

std::optional<int> SmallNumber(std::string_view text) {
  static constexpr std::array<std::string_view, 6> kWords = {"no",    "one",  "two",
                                                             "three", "four", "five"};
  if (text.size() == 1 && text[0] >= '0' && text[0] <= '5') return text[0] - '0';
  for (size_t i = 0; i < kWords.size(); ++i)
    if (text == kWords[i]) return static_cast<int>(i);
  return std::nullopt;
}

// "KQJ", "kqj", "10 9 8": the ranks named, each once; empty for no ranks or anything else.
std::optional<uint16_t> ParseRankLetters(std::string_view text) {
  uint16_t ranks = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == ' ') continue;
    int rank = -1;
    if (text[i] == '1' && i + 1 < text.size() && text[i + 1] == '0') {
      rank = kTen;
      ++i;
    } else {
      const auto at = kRankLetters.find(static_cast<char>(std::toupper(text[i])));
      if (at == std::string_view::npos) return std::nullopt;
      rank = static_cast<int>(at);
    }
    const auto bit = static_cast<uint16_t>(1u << rank);
    if ((ranks & bit) != 0) return std::nullopt;
    ranks |= bit;
  }
  if (ranks == 0) return std::nullopt;
  return ranks;
}

// "aces", "jacks to aces": a rank or a range of ranks by their plural names.
std::optional<uint16_t> ParseRankPlurals(std::string_view text) {
  const auto one = [](std::string_view word) -> std::optional<int> {
    for (int r = 0; r < kRankCount; ++r)
      if (word == kRankPlurals[static_cast<size_t>(r)]) return r;
    return std::nullopt;
  };
  const size_t to = text.find(" to ");
  const auto first = one(text.substr(0, to));
  if (!first) return std::nullopt;
  if (to == std::string_view::npos) return static_cast<uint16_t>(1u << *first);
  const auto last = one(text.substr(to + 4));
  if (!last || *last < *first) return std::nullopt;
  uint16_t ranks = 0;
  for (int r = *first; r <= *last; ++r) ranks |= static_cast<uint16_t>(1u << r);
  return ranks;
}

// The holds whose worth depends on the cards thrown away: draws and unpaired cards.
bool TakesPenalties(TLineShape shape) {
  switch (shape) {
    case TLineShape::Royal:
    case TLineShape::StraightFlush:
    case TLineShape::Flush:
    case TLineShape::Straight:
    case TLineShape::HighCards:
    case TLineShape::Other:
      return true;
    default:
      return false;
  }
}

std::string Counted(int count, std::string_view one, std::string_view many) {
  if (count == 0) return "no " + std::string(one);
  return std::to_string(count) + " " + std::string(count == 1 ? one : many);
}

}  // namespace

std::string RankLettersText(uint16_t ranks) {
  std::string text;
  for (int r = kAce; r >= 0; --r)
    if (((ranks >> r) & 1u) != 0) text += kRankLetters[static_cast<size_t>(r)];
  return text;
}

uint64_t TLinePattern::Key() const {
  uint64_t key = static_cast<uint64_t>(Shape) & 0xF;
  for (const int16_t field :
       {Wild, Cards, Made, High, Gaps, Outside, Kickers, Kicker, FlushPenalty, StraightPenalty})
    key = (key << 4) | (static_cast<uint64_t>(field + 1) & 0xF);
  return (key << 13) | Ranks;
}

TLinePattern TLinePattern::FromKey(uint64_t key) {
  TLinePattern p;
  p.Ranks = static_cast<uint16_t>(key & kAllRanks);
  key >>= 13;
  std::array<int16_t*, 10> fields = {&p.StraightPenalty, &p.FlushPenalty, &p.Kicker, &p.Kickers,
                                     &p.Outside,         &p.Gaps,         &p.High,   &p.Made,
                                     &p.Cards,           &p.Wild};
  for (int16_t* field : fields) {
    *field = static_cast<int16_t>(static_cast<int>(key & 0xF) - 1);
    key >>= 4;
  }
  p.Shape = static_cast<TLineShape>(key & 0xF);
  return p;
}

bool TLinePattern::Matches(const TLinePattern& exact) const {
  if (Shape != exact.Shape) return false;
  const auto fits = [](int16_t open, int16_t value) { return open == kAny || open == value; };
  if (!fits(Wild, exact.Wild) || !fits(Cards, exact.Cards) || !fits(Made, exact.Made) ||
      !fits(High, exact.High) || !fits(Gaps, exact.Gaps) || !fits(Outside, exact.Outside) ||
      !fits(Kickers, exact.Kickers) || !fits(Kicker, exact.Kicker) ||
      !fits(FlushPenalty, exact.FlushPenalty) || !fits(StraightPenalty, exact.StraightPenalty)) {
    return false;
  }
  if (Ranks == 0) return true;
  if (Shape == TLineShape::OfAKind || Shape == TLineShape::TwoPair)
    return (exact.Ranks & ~Ranks) == 0;
  return exact.Ranks == Ranks;
}

THoldNamer::THoldNamer(const TPokerDescription& game)
    : wildRank_(game.WildRank), jokers_(game.JokerCount), paysKickers_(game.PaysKickers()) {
  for (int c = 0; c <= game.LastCategory; ++c) {
    for (int r = 0; r < kRankCount; ++r)
      if (InKindSet(game.NaturalKindSet(c), PAIRS_2 + r)) highRanks_ |= 1u << r;
  }
}

void THoldNamer::SetDrawFields(TLinePattern& line) const {
  const uint16_t ranks = line.Ranks;
  line.High =
      highRanks_ != 0 ? static_cast<int16_t>(RankBits(ranks & highRanks_)) : TLinePattern::kAny;
  if (line.Shape != TLineShape::StraightFlush && line.Shape != TLineShape::Straight) return;
  line.Gaps = static_cast<int16_t>(StraightGaps(ranks).value_or(0));
  if (line.Cards != 4) return;
  int completing = 0;
  for (int r = 0; r < kRankCount; ++r) {
    const auto bit = static_cast<uint16_t>(1u << r);
    if (r != wildRank_ && (ranks & bit) == 0 && StraightGaps(ranks | bit)) ++completing;
  }
  line.Outside = static_cast<int16_t>(completing >= 2 ? 1 : 0);
}

TLinePattern THoldNamer::DrawLine(uint16_t ranks, int naturals, bool suited, int wild,
                                  bool allKept) const {
  TLinePattern line;
  line.Wild = static_cast<int16_t>(wild);
  line.Ranks = ranks;
  line.Cards = static_cast<int16_t>(naturals + wild);
  const bool straight = StraightGaps(ranks).has_value();
  const bool allHigh = (ranks & ~highRanks_) == 0;
  if (naturals >= 2 && suited && !allKept) {
    line.Shape = (ranks & ~kRoyalRanks) == 0 ? TLineShape::Royal
                 : straight                  ? TLineShape::StraightFlush
                                             : TLineShape::Flush;
  } else if (naturals >= 2 && straight && line.Cards >= 3 && !allKept &&
             !(allHigh && naturals <= 3 && wild == 0)) {
    line.Shape = TLineShape::Straight;
  } else {
    line.Shape = allHigh && naturals > 0 ? TLineShape::HighCards : TLineShape::Other;
    line.Cards = static_cast<int16_t>(naturals);
    return line;
  }
  SetDrawFields(line);
  return line;
}

TLinePattern THoldNamer::Classify(std::span<const int> kept) const {
  TLinePattern line;
  int wild = 0;
  std::array<int, kRankCount> perRank{};
  uint16_t ranks = 0;
  int naturals = 0;
  int suit = -1;
  bool suited = true;
  for (const int code : kept) {
    if (IsWildCard(code, wildRank_)) {
      ++wild;
      continue;
    }
    const TCard card = CardFromCode(code);
    ++perRank[static_cast<size_t>(card.Rank)];
    ranks |= static_cast<uint16_t>(1u << card.Rank);
    ++naturals;
    if (suit >= 0 && card.Suit != suit) suited = false;
    suit = card.Suit;
  }
  line.Wild = static_cast<int16_t>(wild);
  const int total = naturals + wild;
  if (total == 0) return line;
  if (naturals == 0) {
    line.Shape = TLineShape::WildOnly;
    return line;
  }
  int groups = 0;
  int most = 0;
  int mostRank = 0;
  uint16_t groupRanks = 0;
  for (int r = 0; r < kRankCount; ++r) {
    const int n = perRank[static_cast<size_t>(r)];
    if (n >= 2) {
      ++groups;
      groupRanks |= static_cast<uint16_t>(1u << r);
    }
    if (n > most) {
      most = n;
      mostRank = r;
    }
  }
  if (groups >= 2) {
    if (total == kHandSize && (wild > 0 || most == 3)) {
      line.Shape = TLineShape::Made;
      line.Made = static_cast<int16_t>(TMadeHand::FullHouse);
      return line;
    }
    line.Shape = TLineShape::TwoPair;
    line.Ranks = groupRanks;
    line.Kickers = static_cast<int16_t>(naturals - 4);
    return line;
  }
  if (groups == 1) {
    line.Shape = TLineShape::OfAKind;
    line.Cards = static_cast<int16_t>(most + wild);
    line.Ranks = static_cast<uint16_t>(1u << mostRank);
    line.Kickers = static_cast<int16_t>(naturals - most);
    // Four of a kind of this rank pays more with one kicker than with another.
    const uint16_t kicker = ranks & ~line.Ranks;
    if (paysKickers_ && line.Kickers == 1 && (line.Ranks & kKickerRankBits) != 0)
      line.Kicker = static_cast<int16_t>((kicker & kKickerRankBits) != 0 ? 1 : 0);
    return line;
  }
  if (total == kHandSize) {
    const bool straight = StraightGaps(ranks).has_value();
    if (suited || straight) {
      line.Shape = TLineShape::Made;
      TMadeHand made = TMadeHand::Straight;
      if (suited && straight) {
        if ((ranks & ~kRoyalRanks) == 0)
          made = wild == 0 ? TMadeHand::RoyalFlush : TMadeHand::WildRoyalFlush;
        else
          made = TMadeHand::StraightFlush;
      } else if (suited) {
        made = TMadeHand::Flush;
      }
      line.Made = static_cast<int16_t>(made);
      return line;
    }
  }
  return DrawLine(ranks, naturals, suited, wild, total == kHandSize);
}

TLinePattern THoldNamer::ClassifyHold(const std::array<int, kHandSize>& cards, int drawMask) const {
  std::array<int, kHandSize> kept{};
  size_t n = 0;
  for (int i = 0; i < kHandSize; ++i)
    if (!BitSet(drawMask, i)) kept[n++] = cards[static_cast<size_t>(i)];
  TLinePattern line = Classify(std::span<const int>(kept.data(), n));
  // Throwing a wild card away (but drawing five) is a hold apart: the lines of a strategy
  // for so many wild cards then never meet the deals with more of them.
  for (int i = 0; i < kHandSize && n > 0; ++i) {
    if (BitSet(drawMask, i) && IsWildCard(cards[static_cast<size_t>(i)], wildRank_)) {
      TLinePattern thrown;
      thrown.Shape = TLineShape::WildDiscarded;
      thrown.Wild = line.Wild;
      return thrown;
    }
  }
  if (!TakesPenalties(line.Shape)) return line;
  // The suit of the kept natural cards when they have one, and their ranks.
  int suit = -1;
  bool suited = true;
  uint16_t ranks = 0;
  for (size_t i = 0; i < n; ++i) {
    if (IsWildCard(kept[i], wildRank_)) continue;
    const TCard card = CardFromCode(kept[i]);
    if (suit >= 0 && card.Suit != suit) suited = false;
    suit = card.Suit;
    ranks |= static_cast<uint16_t>(1u << card.Rank);
  }
  const bool straight = StraightGaps(ranks).has_value();
  int16_t flush = 0;
  int16_t inside = 0;
  for (int i = 0; i < kHandSize; ++i) {
    const int code = cards[static_cast<size_t>(i)];
    if (!BitSet(drawMask, i) || IsWildCard(code, wildRank_)) continue;
    const TCard card = CardFromCode(code);
    if (card.Suit == suit) ++flush;
    const auto bit = static_cast<uint16_t>(1u << card.Rank);
    if ((ranks & bit) == 0 && StraightGaps(ranks | bit)) ++inside;
  }
  if (suited && suit >= 0) line.FlushPenalty = flush;
  if (straight && ranks != 0) line.StraightPenalty = inside;
  return line;
}

std::vector<TLinePattern> THoldNamer::Generalise(const TLinePattern& exact) const {
  std::vector<TLinePattern> lines = {exact};
  const auto add = [&](TLinePattern p) {
    if (std::find(lines.begin(), lines.end(), p) == lines.end()) lines.push_back(p);
  };
  TLinePattern open = exact;
  open.FlushPenalty = TLinePattern::kAny;
  open.StraightPenalty = TLinePattern::kAny;
  add(open);
  switch (exact.Shape) {
    case TLineShape::OfAKind:
      // The kicker a line names is one of its rank's: a line of several ranks leaves it open.
      open.Kicker = TLinePattern::kAny;
      if (exact.Cards == 2 && highRanks_ != 0) {
        open.Ranks = (exact.Ranks & highRanks_) != 0
                         ? highRanks_
                         : static_cast<uint16_t>(kAllRanks & ~highRanks_);
        add(open);
      }
      open.Ranks = 0;
      add(open);
      break;
    case TLineShape::Royal:
    case TLineShape::Flush:
      open.Ranks = 0;
      add(open);
      open.High = TLinePattern::kAny;
      add(open);
      break;
    case TLineShape::StraightFlush:
    case TLineShape::Straight:
      open.Ranks = 0;
      add(open);
      open.Gaps = TLinePattern::kAny;
      add(open);
      open.High = TLinePattern::kAny;
      add(open);
      open.Outside = TLinePattern::kAny;
      add(open);
      break;
    case TLineShape::TwoPair:
      // The kicker games keep a pair of aces alone from two pair: there "two pair without
      // aces" is a line of its own.
      if (paysKickers_ && (exact.Ranks & (1u << kAce)) == 0) {
        open.Ranks = kNoAces;
        add(open);
      }
      open.Ranks = 0;
      add(open);
      break;
    case TLineShape::HighCards:
      open.Ranks = 0;
      add(open);
      break;
    default:
      break;
  }
  // In a game with wild cards the open lines also come for any number of them ("four of a
  // kind", "4 to a royal flush"): one line then serves every section of the card.
  if (HasWildCards() && exact.Shape != TLineShape::WildDiscarded &&
      exact.Shape != TLineShape::DrawFive) {
    const size_t count = lines.size();
    for (size_t i = 1; i < count; ++i) {
      if (lines[i].Ranks != 0 && exact.Shape != TLineShape::OfAKind) continue;
      TLinePattern any = lines[i];
      any.Wild = TLinePattern::kAny;
      add(any);
    }
    if (exact.Shape == TLineShape::Made || exact.Shape == TLineShape::WildOnly) {
      TLinePattern any = exact;
      any.Wild = TLinePattern::kAny;
      add(any);
    }
  }
  return lines;
}

std::string THoldNamer::WildWord(int count) const {
  std::string word = jokers_ > 0 ? "joker" : wildRank_ == 0 ? "deuce" : "seven";
  if (count != 1) word += 's';
  return word;
}

std::string THoldNamer::LineText(const TLinePattern& p) const {
  std::string text;
  if (HasWildCards() && p.Wild != TLinePattern::kAny)
    text = (p.Wild == 0 ? "no" : std::to_string(p.Wild)) + " " + WildWord(p.Wild) + ": ";
  const auto kickers = [&] {
    if (p.Kickers == TLinePattern::kAny) return std::string(" with any kickers");
    if (p.Kickers == 0) return std::string();
    if (p.Kicker != TLinePattern::kAny) {
      if (p.Kicker == 0) return std::string(" with a 5-K kicker");
      return std::string(p.Ranks == 1u << kAce ? " with a 2-4 kicker" : " with an A-4 kicker");
    }
    return " with " + Counted(p.Kickers, "kicker", "kickers");
  };
  const auto draw = [&](std::string_view what) {
    text += std::to_string(p.Cards);
    text += " to ";
    text += what;
    if (p.Ranks != 0) {
      text += ' ';
      text += RankLettersText(p.Ranks);
      return;
    }
    std::vector<std::string> with;
    if (p.High != TLinePattern::kAny && highRanks_ != 0)
      with.push_back(Counted(p.High, "high card", "high cards"));
    if (p.Gaps != TLinePattern::kAny) with.push_back(Counted(p.Gaps, "gap", "gaps"));
    for (size_t i = 0; i < with.size(); ++i) text += (i == 0 ? " with " : " and ") + with[i];
  };
  const auto straightKind = [&](std::string_view what) {
    if (p.Outside == TLinePattern::kAny) return "a " + std::string(what);
    return std::string(p.Outside == 1 ? "an outside " : "an inside ") + std::string(what);
  };
  switch (p.Shape) {
    case TLineShape::DrawFive:
      return text + "draw five";
    case TLineShape::WildDiscarded:
      return text + "a hold that throws a " + WildWord(1) + " away";
    case TLineShape::WildOnly:
      return text + (p.Wild == 1 ? WildWord(1) : WildWord(2)) + " only";
    case TLineShape::Made:
      if (p.Made >= 0 && p.Made < static_cast<int>(kMadeNames.size()))
        return text + std::string(kMadeNames[static_cast<size_t>(p.Made)]);
      return text + "made hand";
    case TLineShape::TwoPair:
      if (p.Ranks == kNoAces) return text + "two pair without aces" + kickers();
      return text + "two pair" + (p.Ranks != 0 ? " of " + RankLettersText(p.Ranks) : "") +
             kickers();
    case TLineShape::OfAKind: {
      const int n = std::clamp(p.Cards == TLinePattern::kAny ? 2 : static_cast<int>(p.Cards), 2, 5);
      const auto index = static_cast<size_t>(n - 2);
      if (p.Ranks == 0) return text + std::string(kKindNames[index]) + kickers();
      if (n == 2 && highRanks_ != 0 && p.Ranks == highRanks_) return text + "high pair" + kickers();
      if (n == 2 && highRanks_ != 0 && p.Ranks == (kAllRanks & ~highRanks_))
        return text + "low pair" + kickers();
      if (RankBits(p.Ranks) == 1) {
        const int rank = std::countr_zero(static_cast<unsigned>(p.Ranks));
        return text + std::string(kKindCounts[index]) + " " +
               std::string(kRankPlurals[static_cast<size_t>(rank)]) + kickers();
      }
      return text + std::string(kKindNames[index]) + " of " + RankLettersText(p.Ranks) + kickers();
    }
    case TLineShape::Royal:
      draw("a royal flush");
      return text;
    case TLineShape::StraightFlush:
      draw(straightKind("straight flush"));
      return text;
    case TLineShape::Flush:
      draw("a flush");
      return text;
    case TLineShape::Straight:
      draw(straightKind("straight"));
      return text;
    case TLineShape::HighCards:
    case TLineShape::Other:
      if (p.Ranks == 0) {
        const bool high = p.Shape == TLineShape::HighCards;
        const int n = std::max(0, static_cast<int>(p.Cards));
        return text +
               Counted(n, high ? "high card" : "other card", high ? "high cards" : "other cards");
      }
      if (RankBits(p.Ranks) == 1)
        return text + (p.Shape == TLineShape::HighCards ? "high card " : "low card ") +
               RankLettersText(p.Ranks);
      return text + RankLettersText(p.Ranks) + " unsuited";
  }
  return text;
}

std::string THoldNamer::Text(const TLinePattern& p) const {
  std::string text = LineText(p);
  std::vector<std::string> penalties;
  if (p.FlushPenalty != TLinePattern::kAny)
    penalties.push_back(Counted(p.FlushPenalty, "flush penalty", "flush penalties"));
  if (p.StraightPenalty != TLinePattern::kAny)
    penalties.push_back(Counted(p.StraightPenalty, "straight penalty", "straight penalties"));
  for (size_t i = 0; i < penalties.size(); ++i) {
    text += i == 0 ? " (" : " and ";
    text += penalties[i];
  }
  if (!penalties.empty()) text += ')';
  return text;
}

std::optional<TLinePattern> THoldNamer::Parse(std::string_view raw) const {
  std::string_view text = raw;
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  int16_t flush = TLinePattern::kAny;
  int16_t straight = TLinePattern::kAny;
  if (!text.empty() && text.back() == ')') {
    const size_t open = text.rfind('(');
    if (open == std::string_view::npos) return std::nullopt;
    const std::string inner = Lower(text.substr(open + 1, text.size() - open - 2));
    text = text.substr(0, open);
    std::string_view rest = inner;
    while (!rest.empty()) {
      const size_t next = rest.find(" and ");
      const std::string_view item = rest.substr(0, next);
      rest = next == std::string_view::npos ? std::string_view() : rest.substr(next + 5);
      const size_t blank = item.find(' ');
      const auto count = SmallNumber(item.substr(0, blank));
      const std::string_view what =
          blank == std::string_view::npos ? std::string_view() : item.substr(blank + 1);
      if (!count) return std::nullopt;
      if (what == "flush penalty" || what == "flush penalties") {
        flush = static_cast<int16_t>(*count);
      } else if (what == "straight penalty" || what == "straight penalties") {
        straight = static_cast<int16_t>(*count);
      } else {
        return std::nullopt;
      }
    }
  }
  std::optional<TLinePattern> line = ParseLine(text);
  if (line && (flush != TLinePattern::kAny || straight != TLinePattern::kAny)) {
    if (!TakesPenalties(line->Shape)) return std::nullopt;
    line->FlushPenalty = flush;
    line->StraightPenalty = straight;
  }
  return line;
}

std::optional<TLinePattern> THoldNamer::ParseLine(std::string_view raw) const {
  const std::string lower = Lower(raw);
  std::string_view text = lower;
  int16_t wild = HasWildCards() ? TLinePattern::kAny : 0;
  if (const size_t colon = text.find(':'); colon != std::string_view::npos) {
    if (!HasWildCards()) return std::nullopt;
    std::string_view section = text.substr(0, colon);
    text.remove_prefix(colon + 1);
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    const size_t blank = section.find(' ');
    if (blank == std::string_view::npos) return std::nullopt;
    const auto count = SmallNumber(section.substr(0, blank));
    const std::string_view word = section.substr(blank + 1);
    if (!count || *count > 4 ||
        (word != WildWord(1) && word != WildWord(2) && word != "wild card" &&
         word != "wild cards")) {
      return std::nullopt;
    }
    wild = static_cast<int16_t>(*count);
  }
  std::optional<TLinePattern> body = ParseBody(text);
  if (!body) {
    // Cards named by their ranks: the hold those cards make (suited: of one suit).
    std::string_view cards = text;
    bool suited = false;
    bool named = Strip(cards, "high card ") || Strip(cards, "low card ");
    if (!named) {
      suited = StripEnd(cards, " suited");
      named = suited || StripEnd(cards, " unsuited");
    }
    const auto ranks = ParseRankLetters(cards);
    if (!named || !ranks) return std::nullopt;
    std::vector<int> kept;
    int suit = 0;
    for (int r = 0; r < kRankCount; ++r) {
      if (((*ranks >> r) & 1u) == 0) continue;
      if (r == wildRank_) return std::nullopt;
      kept.push_back(CardCode(r, suit));
      if (!suited) suit = (suit + 1) % kSuitCount;
    }
    const int wilds = std::max(0, static_cast<int>(wild));
    for (int i = 0; i < wilds; ++i)
      kept.push_back(jokers_ > 0 ? (i == 0 ? kFirstJoker : kSecondJoker) : CardCode(wildRank_, i));
    if (kept.size() > static_cast<size_t>(kHandSize)) return std::nullopt;
    body = Classify(kept);
    if (wild == TLinePattern::kAny) body->Wild = TLinePattern::kAny;
    return body;
  }
  body->Wild = wild;
  return body;
}

std::optional<TLinePattern> THoldNamer::ParseBody(std::string_view text) const {
  TLinePattern p;
  if (text == "draw five" || text == "discard everything" || text == "discard all") return p;
  for (const std::string_view end : {" only", " alone"}) {
    std::string_view word = text;
    if (StripEnd(word, end) && (word == WildWord(1) || word == WildWord(2) ||
                                word == "wild cards" || word == "wild card")) {
      p.Shape = TLineShape::WildOnly;
      return p;
    }
  }
  for (size_t i = 0; i < kMadeNames.size(); ++i) {
    if (text == kMadeNames[i] || (i == 0 && text == "natural royal flush")) {
      p.Shape = TLineShape::Made;
      p.Made = static_cast<int16_t>(i);
      return p;
    }
  }
  // "N to a ...": a draw.
  if (text.size() > 5 && SmallNumber(text.substr(0, 1)) && text.substr(1, 4) == " to ") {
    std::string_view rest = text.substr(5);
    p.Cards = static_cast<int16_t>(text[0] - '0');
    if (Strip(rest, "an outside ")) {
      p.Outside = 1;
    } else if (Strip(rest, "an inside ")) {
      p.Outside = 0;
    } else if (!Strip(rest, "a ")) {
      return std::nullopt;
    }
    const std::array<std::pair<std::string_view, TLineShape>, 4> kinds = {
        {{"royal flush", TLineShape::Royal},
         {"straight flush", TLineShape::StraightFlush},
         {"flush", TLineShape::Flush},
         {"straight", TLineShape::Straight}}};
    bool found = false;
    for (const auto& [name, shape] : kinds) {
      if (Strip(rest, name)) {
        p.Shape = shape;
        found = true;
        break;
      }
    }
    if (!found || p.Cards < 2 || p.Cards > 4) return std::nullopt;
    const bool straightKind =
        p.Shape == TLineShape::StraightFlush || p.Shape == TLineShape::Straight;
    if (p.Outside != TLinePattern::kAny && !straightKind) return std::nullopt;
    if (rest.empty()) return p;
    if (!Strip(rest, " ")) return std::nullopt;
    if (Strip(rest, "with ")) {
      while (!rest.empty()) {
        const size_t next = rest.find(" and ");
        std::string_view item = rest.substr(0, next);
        rest = next == std::string_view::npos ? std::string_view() : rest.substr(next + 5);
        const size_t blank = item.find(' ');
        if (blank == std::string_view::npos) return std::nullopt;
        const auto count = SmallNumber(item.substr(0, blank));
        const std::string_view what = item.substr(blank + 1);
        if (!count) return std::nullopt;
        if (what == "high card" || what == "high cards") {
          p.High = static_cast<int16_t>(*count);
        } else if ((what == "gap" || what == "gaps") && straightKind) {
          p.Gaps = static_cast<int16_t>(*count);
        } else {
          return std::nullopt;
        }
      }
      return p;
    }
    const auto ranks = ParseRankLetters(rest);
    if (!ranks || RankBits(*ranks) > p.Cards) return std::nullopt;
    p.Ranks = *ranks;
    const int outside = p.Outside;
    SetDrawFields(p);
    if (outside != TLinePattern::kAny && outside != p.Outside) return std::nullopt;
    return p;
  }
  // N of a kind, two pair, with or without kickers.
  std::string_view body = text;
  p.Kickers = 0;
  std::string_view kickerWord;  // "2-4", "a-4" or "5-k" when the kicker is named by its ranks
  // A kicker named by its ranks fits a group of one kicker rank in a game that pays kickers
  // only: "2-4" that of aces, "A-4" those of twos to fours.
  const auto ranked = [&](const TLinePattern& q) -> std::optional<TLinePattern> {
    if (kickerWord.empty()) return q;
    const bool aces = q.Ranks == 1u << kAce;
    if (!paysKickers_ || RankBits(q.Ranks) != 1 || (q.Ranks & kKickerRankBits) == 0 ||
        (kickerWord == "2-4" && !aces) || (kickerWord == "a-4" && aces)) {
      return std::nullopt;
    }
    return q;
  };
  if (const size_t with = body.find(" with "); with != std::string_view::npos) {
    std::string_view tail = body.substr(with + 6);
    body = body.substr(0, with);
    if (tail == "any kickers") {
      p.Kickers = TLinePattern::kAny;
    } else if (tail == "a 2-4 kicker" || tail == "an a-4 kicker" || tail == "a 5-k kicker") {
      kickerWord = tail.substr(tail.find(' ') + 1, 3);
      p.Kickers = 1;
      p.Kicker = static_cast<int16_t>(kickerWord == "5-k" ? 0 : 1);
    } else {
      const size_t blank = tail.find(' ');
      const auto count = SmallNumber(tail.substr(0, blank));
      const std::string_view what =
          blank == std::string_view::npos ? std::string_view() : tail.substr(blank + 1);
      if (!count || *count > 3 || (what != "kicker" && what != "kickers")) return std::nullopt;
      p.Kickers = static_cast<int16_t>(*count);
    }
  }
  for (const std::string_view name : {"two pairs", "two pair"}) {
    std::string_view rest = body;
    if (!Strip(rest, name)) continue;
    p.Shape = TLineShape::TwoPair;
    if (!kickerWord.empty()) return std::nullopt;
    if (rest.empty()) return p;
    if (rest == " without aces") {
      p.Ranks = kNoAces;
      return p;
    }
    const auto ranks = Strip(rest, " of ") ? ParseRankLetters(rest) : std::nullopt;
    if (!ranks || RankBits(*ranks) != 2) return std::nullopt;
    p.Ranks = *ranks;
    return p;
  }
  p.Shape = TLineShape::OfAKind;
  if (highRanks_ != 0 && (body == "high pair" || body == "low pair")) {
    p.Cards = 2;
    p.Ranks = body == "high pair" ? highRanks_ : static_cast<uint16_t>(kAllRanks & ~highRanks_);
    return ranked(p);
  }
  for (size_t i = 0; i < kKindNames.size(); ++i) {
    std::string_view rest = body;
    if (Strip(rest, kKindNames[i])) {
      p.Cards = static_cast<int16_t>(i + 2);
      if (rest.empty()) return ranked(p);
      if (!Strip(rest, " of ")) return std::nullopt;
      auto ranks = ParseRankPlurals(rest);
      if (!ranks) ranks = ParseRankLetters(rest);
      if (!ranks) return std::nullopt;
      p.Ranks = *ranks;
      return ranked(p);
    }
    rest = body;
    if (Strip(rest, kKindCounts[i]) && Strip(rest, " ")) {
      const auto ranks = ParseRankPlurals(rest);
      if (!ranks) return std::nullopt;
      p.Cards = static_cast<int16_t>(i + 2);
      p.Ranks = *ranks;
      return ranked(p);
    }
  }
  // "2 high cards": unsuited high cards, any of them.
  const size_t blank = body.find(' ');
  if (p.Kickers == 0 && blank != std::string_view::npos) {
    const auto count = SmallNumber(body.substr(0, blank));
    const std::string_view what = body.substr(blank + 1);
    if (count && *count > 0 && (what == "high card" || what == "high cards")) {
      TLinePattern high;
      high.Shape = TLineShape::HighCards;
      high.Cards = static_cast<int16_t>(*count);
      return high;
    }
  }
  return std::nullopt;
}

}  // namespace tarnwick
