// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "stats/strategy.h"

#include <algorithm>
#include <limits>
#include <map>
#include <numeric>
#include <unordered_map>

#include "checked.h"
#include "engine/wild_engine.h"
#include "errors.h"

namespace tarnwick {

namespace {

__extension__ using TWide = __int128;

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
    text.remove_suffix(1);
  return text;
}

// The deal's cards as codes; wild cards (stored without rank and suit) get the jokers or
// the wild rank in suit order.
std::array<int, kHandSize> DealtCodes(const TPokerEngine& engine) {
  std::array<int, kHandSize> cards{};
  int wild = 0;
  for (int i = 0; i < kHandSize; ++i) {
    const auto at = static_cast<size_t>(i);
    const int rank = engine.DealtHand.Ranks[at];
    if (rank >= 0) {
      cards[at] = CardCode(rank, engine.DealtHand.Suits[at]);
    } else if (engine.Deck.WildRank >= 0) {
      cards[at] = CardCode(engine.Deck.WildRank, wild++ % kSuitCount);
    } else {
      cards[at] = wild++ == 0 ? kFirstJoker : kSecondJoker;
    }
  }
  return cards;
}

// The exact lines of every hold of a dealt hand: one entry per line with its best hold.
void LinesOfHolds(const std::array<int, kHandSize>& cards,
                  const std::array<int64_t, kMaskCount>& values, const THoldNamer& namer,
                  std::vector<TDealLines::TEntry>& out) {
  const size_t first = out.size();
  for (int mask = 0; mask < kMaskCount; ++mask) {
    const TLinePattern line = namer.ClassifyHold(cards, mask);
    const int64_t value = values[static_cast<size_t>(mask)];
    auto same = std::find_if(out.begin() + static_cast<std::ptrdiff_t>(first), out.end(),
                             [&](const TDealLines::TEntry& e) { return e.Line == line; });
    if (same == out.end()) {
      out.push_back({line, value, mask});
    } else if (value > same->Value) {
      same->Value = value;
      same->Mask = mask;
    }
  }
}

class TCollector : public TDealVisitor {
 public:
  TCollector(const THoldNamer& namer, int64_t scale) : namer_(namer), scale_(scale) {
    lines_.Scale = scale;
  }

  void Visit(const TPokerEngine& engine, int best, int32_t weight) override {
    std::array<int64_t, kMaskCount> values{};
    for (int mask = 0; mask < kMaskCount; ++mask) {
      int64_t sum = 0;
      for (int c = 0; c <= engine.LastCategory; ++c) {
        sum += engine.CategoryDraws[static_cast<size_t>(mask)][static_cast<size_t>(c)] *
               static_cast<int64_t>(engine.Payout->Pays[static_cast<size_t>(c)]);
      }
      values[static_cast<size_t>(mask)] = Mul(sum, scale_ / engine.DrawsOf(mask));
    }
    TDealLines::TDeal deal;
    deal.Cards = DealtCodes(engine);
    deal.Weight = weight;
    deal.BestMask = best;
    deal.Best = *std::max_element(values.begin(), values.end());
    deal.First = static_cast<uint32_t>(lines_.Entries.size());
    LinesOfHolds(deal.Cards, values, namer_, lines_.Entries);
    deal.Count = static_cast<uint32_t>(lines_.Entries.size()) - deal.First;
    lines_.Deals.push_back(deal);
  }
  std::unique_ptr<TDealVisitor> NewPart() const override {
    return std::make_unique<TCollector>(namer_, scale_);
  }
  void Merge(const TDealVisitor& part) override {
    const auto& other = dynamic_cast<const TCollector&>(part).lines_;
    const auto offset = static_cast<uint32_t>(lines_.Entries.size());
    lines_.Entries.insert(lines_.Entries.end(), other.Entries.begin(), other.Entries.end());
    for (TDealLines::TDeal deal : other.Deals) {
      deal.First += offset;
      lines_.Deals.push_back(deal);
    }
  }
  TDealLines& Lines() { return lines_; }

 private:
  const THoldNamer& namer_;
  int64_t scale_;
  TDealLines lines_;
};

// Orders deals by their cards, so that every run lists them alike whatever the threads.
TDealLines SortedByCards(TDealLines lines) {
  std::vector<size_t> order(lines.Deals.size());
  std::iota(order.begin(), order.end(), size_t{0});
  std::sort(order.begin(), order.end(),
            [&](size_t a, size_t b) { return lines.Deals[a].Cards < lines.Deals[b].Cards; });
  TDealLines sorted;
  sorted.Scale = lines.Scale;
  sorted.CoinBasis = lines.CoinBasis;
  sorted.Deals.reserve(lines.Deals.size());
  sorted.Entries.reserve(lines.Entries.size());
  for (const size_t i : order) {
    TDealLines::TDeal deal = lines.Deals[i];
    const auto begin = lines.Entries.begin() + deal.First;
    deal.First = static_cast<uint32_t>(sorted.Entries.size());
    sorted.Entries.insert(sorted.Entries.end(), begin, begin + deal.Count);
    sorted.Deals.push_back(deal);
  }
  return sorted;
}

// How a deal is played: the row (-1 for none) and the entry of the hold.
struct TChoice {
  int Row = -1;
  const TDealLines::TEntry* Entry = nullptr;
};

// The first row each exact line falls under (-1: none), looked up once per line.
class TRowsOfLines {
 public:
  explicit TRowsOfLines(const TStrategy& strategy) : strategy_(strategy) {}

  int RowOf(const TLinePattern& line) {
    const auto [at, added] = rows_.emplace(line.Key(), -1);
    if (added) {
      for (size_t r = 0; r < strategy_.Rows.size() && at->second < 0; ++r) {
        const auto& lines = strategy_.Rows[r].Lines;
        if (std::any_of(lines.begin(), lines.end(),
                        [&](const TLinePattern& p) { return p.Matches(line); }))
          at->second = static_cast<int>(r);
      }
    }
    return at->second;
  }

 private:
  const TStrategy& strategy_;
  std::unordered_map<uint64_t, int> rows_;
};

// The deal plays its first row present, the best hold of that row's lines; else it draws five.
TChoice Choose(const TDealLines& lines, const TDealLines::TDeal& deal, TRowsOfLines& rows) {
  TChoice choice;
  const TDealLines::TEntry* five = nullptr;
  for (uint32_t e = deal.First; e < deal.First + deal.Count; ++e) {
    const TDealLines::TEntry& entry = lines.Entries[e];
    if (entry.Line.Shape == TLineShape::DrawFive) five = &entry;
    const int row = rows.RowOf(entry.Line);
    if (row < 0) continue;
    if (choice.Entry == nullptr || row < choice.Row ||
        (row == choice.Row && entry.Value > choice.Entry->Value)) {
      choice = {row, &entry};
    }
  }
  if (choice.Entry != nullptr) return choice;
  if (five == nullptr) throw TarnwickError("A deal without the draw of five cards");
  return {-1, five};
}

TPlayedDeal Played(const TDealLines& lines, const TDealLines::TDeal& deal,
                   const TDealLines::TEntry& entry) {
  TPlayedDeal played;
  played.Cards = deal.Cards;
  played.Deals = deal.Weight;
  played.DrawMask = entry.Mask;
  played.BestMask = deal.BestMask;
  played.Expected = lines.PerCoin(static_cast<long double>(entry.Value));
  played.Best = lines.PerCoin(static_cast<long double>(deal.Best));
  return played;
}

int64_t LeastCommonMultipleOfDraws(int deck) {
  int64_t scale = 1;
  for (int d = 0; d <= kHandSize; ++d) {
    const int64_t draws = BinomialAt(d, deck);
    scale = Mul(scale / std::gcd(scale, draws), draws);
  }
  return scale;
}

}  // namespace

std::string HoldAndDiscardText(const std::array<int, kHandSize>& cards, int drawMask) {
  std::string kept = CardsText(cards, HeldPositions(drawMask));
  const std::string thrown = CardsText(cards, drawMask);
  if (thrown.empty()) return kept;
  return kept.empty() ? "| " + thrown : kept + " | " + thrown;
}

// ---- Text ------------------------------------------------------------------------------

TStrategyParse ParseStrategy(std::string_view text, const THoldNamer& namer) {
  TStrategyParse result;
  int number = 0;
  while (!text.empty()) {
    const size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    ++number;
    if (const size_t hash = line.find('#'); hash != std::string_view::npos)
      line = line.substr(0, hash);
    line = Trim(line);
    size_t digits = 0;
    while (digits < line.size() && line[digits] >= '0' && line[digits] <= '9') ++digits;
    if (digits > 0 && digits < line.size() && (line[digits] == '.' || line[digits] == ')'))
      line = Trim(line.substr(digits + 1));
    if (line.empty()) continue;
    TStrategyRow row;
    bool readable = true;
    while (readable) {
      const size_t comma = line.find(',');
      const std::string_view piece = Trim(line.substr(0, comma));
      const auto pattern = namer.Parse(piece);
      if (!pattern) {
        result.Errors.push_back("row " + std::to_string(number) + ": cannot read '" +
                                std::string(piece) + "'");
        readable = false;
      } else {
        row.Lines.push_back(*pattern);
      }
      if (comma == std::string_view::npos) break;
      line = line.substr(comma + 1);
    }
    if (readable) result.Strategy.Rows.push_back(std::move(row));
  }
  return result;
}

std::string RowText(const TStrategyRow& row, const THoldNamer& namer) {
  std::string text;
  for (const TLinePattern& line : row.Lines) {
    if (!text.empty()) text += ", ";
    text += namer.Text(line);
  }
  return text;
}

std::string StrategyText(const TStrategy& strategy, const THoldNamer& namer) {
  std::string text;
  int number = 0;
  bool drawsFive = false;
  for (const TStrategyRow& row : strategy.Rows) {
    text += std::to_string(++number) + ". " + RowText(row, namer) + "\n";
    drawsFive = drawsFive || std::any_of(row.Lines.begin(), row.Lines.end(), [](const auto& p) {
                  return p.Shape == TLineShape::DrawFive;
                });
  }
  if (!drawsFive) text += std::to_string(++number) + ". " + namer.Text(TLinePattern()) + "\n";
  return text;
}

// ---- Evaluation ------------------------------------------------------------------------

TDealLines TDealLines::Collect(TPokerEngine& engine, const TPayout& table, const THoldNamer& namer,
                               TProgress* progress) {
  TPayout copy;
  copy.Assign(table);
  copy.ClearCounts();
  const int64_t scale = LeastCommonMultipleOfDraws(copy.DeckSize - kHandSize);
  TCollector collector(namer, scale);
  TDealVisitor* const previousVisitor = engine.Visitor;
  engine.Visitor = &collector;
  try {
    engine.SetPayout(&copy);
    engine.SetProgress(progress);
    engine.CalcGameAdvantage();
  } catch (...) {
    engine.Visitor = previousVisitor;
    engine.SetPayout(nullptr);
    throw;
  }
  engine.Visitor = previousVisitor;
  engine.SetPayout(nullptr);
  collector.Lines().CoinBasis = copy.CoinBasis;
  return SortedByCards(std::move(collector.Lines()));
}

int64_t TDealLines::TotalWeight() const {
  int64_t total = 0;
  for (const TDeal& deal : Deals) total += deal.Weight;
  return total;
}

long double TDealLines::PerCoin(long double value) const {
  return value / static_cast<long double>(Scale) / static_cast<long double>(CoinBasis);
}

TStrategyReport Evaluate(const TDealLines& lines, const TStrategy& strategy,
                         const THoldNamer& namer) {
  const size_t rows = strategy.Rows.size();
  std::vector<TWide> rowWeight(rows + 1, 0);
  std::vector<TWide> rowLost(rows + 1, 0);
  std::vector<const TDealLines::TDeal*> example(rows + 1, nullptr);
  std::vector<const TDealLines::TEntry*> exampleEntry(rows + 1, nullptr);
  TWide total = 0;
  TWide perfect = 0;
  TWide played = 0;
  TWide wrong = 0;
  struct TLoss {
    int64_t Loss;
    size_t Deal;
    const TDealLines::TEntry* Entry;
  };
  std::vector<TLoss> losses;
  TRowsOfLines rowsOfLines(strategy);
  for (size_t d = 0; d < lines.Deals.size(); ++d) {
    const TDealLines::TDeal& deal = lines.Deals[d];
    const TChoice choice = Choose(lines, deal, rowsOfLines);
    const size_t slot = choice.Row < 0 ? rows : static_cast<size_t>(choice.Row);
    const int64_t loss = deal.Best - choice.Entry->Value;
    total += deal.Weight;
    perfect += static_cast<TWide>(deal.Best) * deal.Weight;
    played += static_cast<TWide>(choice.Entry->Value) * deal.Weight;
    rowWeight[slot] += deal.Weight;
    rowLost[slot] += static_cast<TWide>(loss) * deal.Weight;
    if (loss > 0) {
      wrong += deal.Weight;
      losses.push_back({loss, d, choice.Entry});
    }
    if (example[slot] == nullptr || deal.Weight > example[slot]->Weight) {
      example[slot] = &deal;
      exampleEntry[slot] = choice.Entry;
    }
  }
  TStrategyReport report;
  if (total == 0) return report;
  const auto share = [&](TWide part) {
    return static_cast<long double>(part) / static_cast<long double>(total);
  };
  report.Perfect = lines.PerCoin(share(perfect));
  report.Return = lines.PerCoin(share(played));
  report.Cost = lines.PerCoin(share(perfect - played));
  report.ErrorRate = share(wrong);
  for (size_t r = 0; r <= rows; ++r) {
    TRowReport row;
    row.Text = r < rows ? RowText(strategy.Rows[r], namer) : namer.Text(TLinePattern());
    row.Share = share(rowWeight[r]);
    row.Lost = lines.PerCoin(share(rowLost[r]));
    if (example[r] != nullptr) {
      row.HasExample = true;
      row.Example = Played(lines, *example[r], *exampleEntry[r]);
    }
    report.Rows.push_back(std::move(row));
  }
  const size_t worst = std::min<size_t>(10, losses.size());
  std::partial_sort(losses.begin(), losses.begin() + static_cast<std::ptrdiff_t>(worst),
                    losses.end(), [](const TLoss& a, const TLoss& b) {
                      return a.Loss != b.Loss ? a.Loss > b.Loss : a.Deal < b.Deal;
                    });
  for (size_t i = 0; i < worst; ++i)
    report.Worst.push_back(Played(lines, lines.Deals[losses[i].Deal], *losses[i].Entry));
  return report;
}

TStrategyHold PlayStrategy(const TPokerEngine& engine, const std::array<int, kHandSize>& cards,
                           const TStrategy& strategy, const THoldNamer& namer) {
  std::array<TLinePattern, kMaskCount> holds;
  for (int mask = 0; mask < kMaskCount; ++mask)
    holds[static_cast<size_t>(mask)] = namer.ClassifyHold(cards, mask);
  for (size_t r = 0; r < strategy.Rows.size(); ++r) {
    int best = -1;
    for (int mask = 0; mask < kMaskCount; ++mask) {
      const auto& line = holds[static_cast<size_t>(mask)];
      const bool matches = std::any_of(strategy.Rows[r].Lines.begin(), strategy.Rows[r].Lines.end(),
                                       [&](const TLinePattern& p) { return p.Matches(line); });
      if (matches && (best < 0 || engine.DrawReturn(mask) > engine.DrawReturn(best))) best = mask;
    }
    if (best >= 0) return {best, static_cast<int>(r), holds[static_cast<size_t>(best)]};
  }
  return {kFullDrawMask, -1, holds[kFullDrawMask]};
}

TStrategyReport EvaluateForTable(const TPokerDescription& game, const TPayout& table,
                                 const TStrategy& strategy, TProgress* progress, int threads) {
  const THoldNamer namer(game);
  const auto engine = CreateEngineForGame(game);
  engine->SetThreadCount(threads);
  return Evaluate(TDealLines::Collect(*engine, table, namer, progress), strategy, namer);
}

TGeneratedStrategy GenerateForTable(const TPokerDescription& game, const TPayout& table,
                                    int maxLines, TProgress* progress, int threads) {
  const THoldNamer namer(game);
  const auto engine = CreateEngineForGame(game);
  engine->SetThreadCount(threads);
  return GenerateStrategy(TDealLines::Collect(*engine, table, namer, progress), namer, maxLines,
                          progress);
}

// ---- Levels ----------------------------------------------------------------------------

int LevelLines(TStrategyLevel level) {
  switch (level) {
    case TStrategyLevel::Beginner:
      return 15;
    case TStrategyLevel::Intermediate:
      return 30;
    case TStrategyLevel::Advanced:
      return 50;
    case TStrategyLevel::Expert:
      return 0;
  }
  return 0;
}

std::string_view LevelName(TStrategyLevel level) {
  static constexpr std::array<std::string_view, 4> kNames = {"beginner", "intermediate", "advanced",
                                                             "expert"};
  return kNames[static_cast<size_t>(level)];
}

std::optional<TStrategyLevel> ParseLevel(std::string_view name) {
  for (const TStrategyLevel level : {TStrategyLevel::Beginner, TStrategyLevel::Intermediate,
                                     TStrategyLevel::Advanced, TStrategyLevel::Expert}) {
    if (name == LevelName(level)) return level;
  }
  return std::nullopt;
}

}  // namespace tarnwick
