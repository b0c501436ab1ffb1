// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The generator of strategy cards. The candidate lines are those that name the best hold of
// some deal: an exact line (with its penalty cards) or one of its generalisations. Deals that
// offer the same candidates at the same losses against perfect play are one group; a list
// is an order of candidates, a group plays its first listed candidate (or draws five), and
// the list costs the groups' weighted losses.
//
// The search starts from every exact line by its mean value (a hand-rank table, close to
// perfect play) and moves lines while that lowers the cost. For one line every position is
// weighed at once: a group that offers the line takes it exactly when it stands above the
// group's first other listed line, so the change at each position is a suffix sum over those
// positions. The list is then condensed: each step drops a line or puts a more open line in
// the place of the lines it covers, whichever costs least per line saved, until the list
// fits the level (or, for the expert level, until the next step would lose more than
// 0.0001 % against perfect play).

#include <algorithm>
#include <limits>
#include <map>
#include <optional>
#include <queue>
#include <tuple>
#include <unordered_map>

#include "errors.h"
#include "stats/strategy.h"

namespace tarnwick {

namespace {

__extension__ using TWide = __int128;

struct TGroups {
  std::vector<int64_t> Weight;
  std::vector<int64_t> Fallback;  // the loss of drawing five
  std::vector<uint32_t> Start;    // entries of group g: Start[g]..Start[g + 1] - 1
  std::vector<int32_t> Line;      // candidate index
  std::vector<int64_t> Loss;
  std::vector<TLinePattern> Candidates;
  std::vector<long double> Mean;  // the candidate's mean value over the deals that offer it
  std::vector<bool> Exact;        // the candidate is the exact line of some hold
  TWide Perfect = 0;
  int64_t Total = 0;

  size_t Count() const { return Weight.size(); }
};

struct TVectorHash {
  size_t operator()(const std::vector<int64_t>& v) const {
    uint64_t h = 1469598103934665603ull;
    for (const int64_t x : v) h = (h ^ static_cast<uint64_t>(x)) * 1099511628211ull;
    return static_cast<size_t>(h);
  }
};

TGroups BuildGroups(const TDealLines& lines, const THoldNamer& namer, TProgress* progress) {
  // Every line met gets a number; an exact line keeps the numbers of its generalisations.
  std::vector<uint64_t> keys;
  std::unordered_map<uint64_t, uint32_t> numbers;
  const auto number = [&](uint64_t key) {
    const auto [at, added] = numbers.emplace(key, static_cast<uint32_t>(keys.size()));
    if (added) keys.push_back(key);
    return at->second;
  };
  std::unordered_map<uint64_t, std::vector<uint32_t>> general;
  const auto generalise = [&](const TLinePattern& line) -> const std::vector<uint32_t>& {
    const uint64_t key = line.Key();
    auto it = general.find(key);
    if (it == general.end()) {
      std::vector<uint32_t> open;
      for (const TLinePattern& p : namer.Generalise(line)) open.push_back(number(p.Key()));
      it = general.emplace(key, std::move(open)).first;
    }
    return it->second;
  };
  const uint32_t drawFive = number(namer.Classify({}).Key());
  // Every deal's lines with the value of their best hold.
  std::vector<uint32_t> ids;
  std::vector<int64_t> values;
  std::vector<uint32_t> starts = {0};
  std::vector<std::pair<uint32_t, int64_t>> one;
  for (const TDealLines::TDeal& deal : lines.Deals) {
    one.clear();
    for (uint32_t e = deal.First; e < deal.First + deal.Count; ++e) {
      const TDealLines::TEntry& entry = lines.Entries[e];
      for (const uint32_t id : generalise(entry.Line)) one.emplace_back(id, entry.Value);
    }
    std::sort(one.begin(), one.end(), [](const auto& a, const auto& b) {
      return a.first != b.first ? a.first < b.first : a.second > b.second;
    });
    for (size_t i = 0; i < one.size(); ++i) {
      if (i > 0 && one[i].first == one[i - 1].first) continue;
      ids.push_back(one[i].first);
      values.push_back(one[i].second);
    }
    starts.push_back(static_cast<uint32_t>(ids.size()));
  }
  if (progress != nullptr) progress->Step(10);
  // Candidates: lines that are the best hold of some deal, numbered by key.
  std::vector<uint8_t> best(keys.size(), 0);
  for (size_t d = 0; d < lines.Deals.size(); ++d) {
    for (uint32_t i = starts[d]; i < starts[d + 1]; ++i)
      if (values[i] == lines.Deals[d].Best && ids[i] != drawFive) best[ids[i]] = 1;
  }
  std::vector<uint32_t> chosen;
  for (uint32_t id = 0; id < keys.size(); ++id)
    if (best[id] != 0) chosen.push_back(id);
  std::sort(chosen.begin(), chosen.end(),
            [&](uint32_t a, uint32_t b) { return keys[a] < keys[b]; });
  std::vector<int32_t> candidate(keys.size(), -1);
  TGroups groups;
  for (const uint32_t id : chosen) {
    candidate[id] = static_cast<int32_t>(groups.Candidates.size());
    groups.Candidates.push_back(TLinePattern::FromKey(keys[id]));
  }
  std::vector<long double> valueSum(groups.Candidates.size(), 0);
  std::vector<long double> weightSum(groups.Candidates.size(), 0);
  groups.Exact.assign(groups.Candidates.size(), false);
  for (const auto& [key, open] : general) {
    const int32_t c = candidate[open.front()];
    if (c >= 0) groups.Exact[static_cast<size_t>(c)] = true;
  }
  std::unordered_map<std::vector<int64_t>, size_t, TVectorHash> index;
  std::vector<std::vector<int64_t>> signatures;
  std::vector<int64_t> signature;
  for (size_t d = 0; d < lines.Deals.size(); ++d) {
    const TDealLines::TDeal& deal = lines.Deals[d];
    signature.clear();
    int64_t fallback = -1;
    for (uint32_t i = starts[d]; i < starts[d + 1]; ++i) {
      const int64_t value = values[i];
      if (ids[i] == drawFive) fallback = deal.Best - value;
      const int32_t c = candidate[ids[i]];
      if (c < 0) continue;
      signature.push_back(c);
      signature.push_back(deal.Best - value);
      valueSum[static_cast<size_t>(c)] += static_cast<long double>(value) * deal.Weight;
      weightSum[static_cast<size_t>(c)] += deal.Weight;
    }
    if (fallback < 0) throw TarnwickError("A deal without the draw of five cards");
    signature.push_back(fallback);
    groups.Perfect += static_cast<TWide>(deal.Best) * deal.Weight;
    groups.Total += deal.Weight;
    const auto [at, added] = index.emplace(signature, signatures.size());
    if (added) {
      signatures.push_back(signature);
      groups.Weight.push_back(0);
    }
    groups.Weight[at->second] += deal.Weight;
  }
  for (size_t c = 0; c < groups.Candidates.size(); ++c)
    groups.Mean.push_back(weightSum[c] > 0 ? valueSum[c] / weightSum[c] : 0);
  groups.Start.push_back(0);
  for (const std::vector<int64_t>& s : signatures) {
    for (size_t i = 0; i + 1 < s.size(); i += 2) {
      groups.Line.push_back(static_cast<int32_t>(s[i]));
      groups.Loss.push_back(s[i + 1]);
    }
    groups.Fallback.push_back(s.back());
    groups.Start.push_back(static_cast<uint32_t>(groups.Line.size()));
  }
  if (progress != nullptr) progress->Step(20);
  return groups;
}

// Lines that never meet in one deal may share a row, so a list of more lines than a level's
// limit may still fit its rows: the search keeps the lists of up to this many times the
// limit.
constexpr size_t kRowSpare = 4;
// The most lines one row holds: a row reads as one rank of a few alike lines ("royal flush,
// straight flush, four of a kind").
constexpr size_t kRowLines = 4;

class TOrderSearch {
 public:
  explicit TOrderSearch(const TGroups& groups) : g_(groups) {
    pos_.assign(g_.Candidates.size(), -1);
    groupOf_.resize(g_.Line.size());
    holders_.resize(g_.Candidates.size());
    for (size_t group = 0; group < g_.Count(); ++group) {
      for (uint32_t e = g_.Start[group]; e < g_.Start[group + 1]; ++e) {
        groupOf_[e] = static_cast<uint32_t>(group);
        holders_[static_cast<size_t>(g_.Line[e])].push_back(e);
      }
    }
    first_.assign(g_.Count(), -1);
    second_.assign(g_.Count(), -1);
    for (size_t group = 0; group < g_.Count(); ++group)
      cost_ += static_cast<TWide>(g_.Fallback[group]) * g_.Weight[group];
  }

  const std::vector<int32_t>& List() const { return list_; }
  TWide Cost() const { return cost_; }

  // Adds lines one at a time, each where it gains the most, while the list is shorter than
  // `most` (0: no limit) and a line gains; `enough` stops it once the cost is that low.
  void Grow(size_t most, TWide enough, TProgress* progress) {
    while ((most == 0 || list_.size() < most) && cost_ > enough) {
      if (progress != nullptr && progress->Cancelled()) throw AbortError();
      TWide bestGain = 0;
      int32_t bestLine = -1;
      size_t bestAt = 0;
      for (size_t k = 0; k < g_.Candidates.size(); ++k) {
        if (pos_[k] >= 0) continue;
        const auto [gain, at] = BestPlace(static_cast<int32_t>(k));
        if (gain < bestGain) {
          bestGain = gain;
          bestLine = static_cast<int32_t>(k);
          bestAt = at;
        }
      }
      if (bestLine < 0) break;
      Insert(bestLine, bestAt, bestGain);
    }
  }

  // Puts the exact lines in the list, the highest mean value first: a hand-rank table.
  void AddExactByValue() {
    std::vector<int32_t> order;
    for (size_t k = 0; k < g_.Candidates.size(); ++k)
      if (g_.Exact[k]) order.push_back(static_cast<int32_t>(k));
    // Of lines worth the same, the one keeping fewer cards beside its group first: "four of
    // a kind" before "four of a kind with 1 kicker".
    std::stable_sort(order.begin(), order.end(), [&](int32_t a, int32_t b) {
      const auto& x = g_.Candidates[static_cast<size_t>(a)];
      const auto& y = g_.Candidates[static_cast<size_t>(b)];
      if (g_.Mean[static_cast<size_t>(a)] != g_.Mean[static_cast<size_t>(b)])
        return g_.Mean[static_cast<size_t>(a)] > g_.Mean[static_cast<size_t>(b)];
      return x.Kickers < y.Kickers;
    });
    list_ = order;
    Renumber();
    RefreshAll();
    cost_ = Recount();
  }

  // Shortens the list, each step taking the move that costs the least per line saved: drop
  // a line, or put a more open line in the place of the listed lines it covers (the penalty
  // variants of a line, the exact ranks of a draw, ...). Stops at `most` lines, or, with
  // `most` 0, when every move left would take the cost above `budget`. Costs found for a
  // move go stale as others are made; a move is counted again when its turn comes.
  void Condense(size_t most, TWide budget, TProgress* progress) {
    struct TMove {
      long double Ratio;
      int32_t Line;
      bool Merge;
      bool operator>(const TMove& other) const {
        return Ratio != other.Ratio ? Ratio > other.Ratio : Line > other.Line;
      }
    };
    std::priority_queue<TMove, std::vector<TMove>, std::greater<>> moves;
    const auto rate = [&](int32_t line, bool merge) -> std::optional<long double> {
      if (!merge) {
        if (pos_[static_cast<size_t>(line)] < 0) return std::nullopt;
        return static_cast<long double>(RemovalCost(line));
      }
      size_t saved = 0;
      const std::optional<TWide> change = Merge(line, false, saved);
      if (!change) return std::nullopt;
      return static_cast<long double>(*change) / static_cast<long double>(saved);
    };
    for (size_t k = 0; k < g_.Candidates.size(); ++k) {
      const auto line = static_cast<int32_t>(k);
      if (const auto ratio = rate(line, true)) moves.push({*ratio, line, true});
      if (const auto ratio = rate(line, false)) moves.push({*ratio, line, false});
    }
    size_t nextImprove = list_.size() * 9 / 10;
    snapshots_.clear();
    while (!moves.empty() && (most == 0 || list_.size() > most)) {
      if (progress != nullptr && progress->Cancelled()) throw AbortError();
      const TMove move = moves.top();
      moves.pop();
      const auto ratio = rate(move.Line, move.Merge);
      if (!ratio) continue;
      if (!moves.empty() && *ratio > moves.top().Ratio) {
        moves.push({*ratio, move.Line, move.Merge});
        continue;
      }
      const TWide before = cost_;
      size_t saved = 1;
      if (move.Merge) {
        Merge(move.Line, true, saved);
      } else {
        saved_ = list_;
        undo_ = {move.Line};
        Remove(move.Line);
      }
      if (most == 0 && cost_ > budget) {
        // Over the budget: undone, and not tried again.
        Undo(before);
        continue;
      }
      if (move.Merge) {
        if (const auto again = rate(move.Line, false)) moves.push({*again, move.Line, false});
      }
      if (list_.size() <= nextImprove) {
        Improve(progress, 1);
        nextImprove = list_.size() * 9 / 10;
      }
      if (most > 0 && list_.size() <= kRowSpare * most) snapshots_.push_back({list_, cost_});
    }
  }

  // Drops the cheapest lines until at most `most` are left.
  void DropTo(size_t most) {
    while (list_.size() > most) {
      int32_t drop = list_.front();
      TWide cheapest = RemovalCost(drop);
      for (const int32_t k : list_) {
        const TWide removal = RemovalCost(k);
        if (removal < cheapest) {
          cheapest = removal;
          drop = k;
        }
      }
      Remove(drop);
    }
  }

  // The lists Condense passed through on its way to its limit of lines, with their costs.
  struct TSnapshot {
    std::vector<int32_t> List;
    TWide Cost = 0;
  };
  const std::vector<TSnapshot>& Snapshots() const { return snapshots_; }
  void Restore(const TSnapshot& snapshot) {
    list_ = snapshot.List;
    Renumber();
    RefreshAll();
    cost_ = snapshot.Cost;
  }

  // Lines of made hands (and of groups of three or more) and lines of draws never share a
  // row.
  bool Made(int32_t k) const {
    const TLinePattern& line = g_.Candidates[static_cast<size_t>(k)];
    return line.Shape == TLineShape::Made || line.Shape == TLineShape::TwoPair ||
           line.Shape == TLineShape::WildOnly ||
           (line.Shape == TLineShape::OfAKind && line.Cards >= 3);
  }

  // The list as rows, as few as keep every order that matters. A card of a wild game whose
  // lines all name their number of wild cards lists them by sections, the most wild cards
  // first (such lines never meet in one deal).
  std::vector<std::vector<int32_t>> Rows() const {
    const size_t n = list_.size();
    // before[i * n + j]: line i must stand above line j. It must where a deal plays line i
    // (its first listed line) and also offers line j at another loss; everywhere else the
    // two may change places or share a row (a row plays the best of its lines' holds, and
    // lines at one loss lose the same) without changing what any deal loses.
    std::vector<uint8_t> before(n * n, 0);
    for (size_t group = 0; group < g_.Count(); ++group) {
      const int64_t first = first_[group];
      if (first < 0) continue;
      const auto i = static_cast<size_t>(PosOf(first));
      for (uint32_t e = g_.Start[group]; e < g_.Start[group + 1]; ++e) {
        const int at = pos_[static_cast<size_t>(g_.Line[e])];
        if (at >= 0 && static_cast<int64_t>(e) != first &&
            g_.Loss[e] != g_.Loss[static_cast<size_t>(first)])
          before[i * n + static_cast<size_t>(at)] = 1;
      }
    }
    // Each line goes one level below the lowest level of the lines it must follow (the
    // list's order is an order they all keep).
    std::vector<int> level(n, 0);
    for (size_t j = 0; j < n; ++j)
      for (size_t i = 0; i < j; ++i)
        if (before[i * n + j] != 0) level[j] = std::max(level[j], level[i] + 1);
    // Sections need every line to name its number of wild cards.
    const bool sections = std::none_of(list_.begin(), list_.end(), [&](int32_t k) {
      return g_.Candidates[static_cast<size_t>(k)].Wild == TLinePattern::kAny;
    });
    // A level's made hands, then its draws by kind ("3 to a straight flush"), each a row of
    // at most kRowLines lines.
    const auto key = [&](size_t i) {
      const TLinePattern& line = g_.Candidates[static_cast<size_t>(list_[i])];
      const int wild = sections ? line.Wild : 0;
      const bool made = Made(list_[i]);
      return std::tuple(-wild, level[i], made ? 0 : 1, made ? 0 : static_cast<int>(line.Shape),
                        made ? 0 : static_cast<int>(line.Cards));
    };
    std::vector<size_t> order(n);
    for (size_t i = 0; i < n; ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(),
                     [&](size_t a, size_t b) { return key(a) < key(b); });
    std::vector<std::vector<int32_t>> rows;
    for (size_t k = 0; k < n; ++k) {
      if (k == 0 || key(order[k - 1]) != key(order[k]) || rows.back().size() >= kRowLines)
        rows.emplace_back();
      rows.back().push_back(list_[order[k]]);
    }
    return rows;
  }

  // Moves or drops listed lines while that lowers the cost; returns whether anything moved.
  bool Improve(TProgress* progress, int passes) {
    bool moved = false;
    for (int pass = 0; pass < passes; ++pass) {
      bool any = false;
      const std::vector<int32_t> snapshot = list_;
      for (const int32_t k : snapshot) {
        if (progress != nullptr && progress->Cancelled()) throw AbortError();
        any = Relocate(k) || any;
      }
      moved = moved || any;
      if (!any) break;
    }
    return moved;
  }

  // Trades lines while that gains: the line that gains most goes in, then the cheapest
  // lines go until the list fits `most` rows again; a trade that does not lower the cost is
  // undone and ends the trading.
  void Trade(size_t most, TProgress* progress, int rounds) {
    for (int round = 0; round < rounds; ++round) {
      if (progress != nullptr && progress->Cancelled()) throw AbortError();
      const TSnapshot before{list_, cost_};
      const size_t size = list_.size();
      Grow(size + 1, 0, progress);
      if (list_.size() == size) break;
      while (Rows().size() > most) DropTo(list_.size() - 1);
      Improve(progress, 2);
      if (cost_ >= before.Cost || Rows().size() > most) {
        Restore(before);
        break;
      }
    }
  }

  TWide Recount() const {
    TWide cost = 0;
    for (size_t group = 0; group < g_.Count(); ++group)
      cost += static_cast<TWide>(LossOf(group, first_[group])) * g_.Weight[group];
    return cost;
  }

 private:
  int64_t LossOf(size_t group, int64_t entry) const {
    return entry < 0 ? g_.Fallback[group] : g_.Loss[static_cast<size_t>(entry)];
  }
  int PosOf(int64_t entry) const {
    return entry < 0 ? std::numeric_limits<int>::max()
                     : pos_[static_cast<size_t>(g_.Line[static_cast<size_t>(entry)])];
  }

  void Renumber() {
    std::fill(pos_.begin(), pos_.end(), -1);
    for (size_t i = 0; i < list_.size(); ++i)
      pos_[static_cast<size_t>(list_[i])] = static_cast<int>(i);
  }

  void Refresh(size_t group) {
    int64_t a = -1;
    int64_t b = -1;
    for (uint32_t e = g_.Start[group]; e < g_.Start[group + 1]; ++e) {
      if (pos_[static_cast<size_t>(g_.Line[e])] < 0) continue;
      if (PosOf(e) < PosOf(a)) {
        b = a;
        a = e;
      } else if (PosOf(e) < PosOf(b)) {
        b = e;
      }
    }
    first_[group] = a;
    second_[group] = b;
  }

  void RefreshAll() {
    for (size_t group = 0; group < g_.Count(); ++group) Refresh(group);
  }

  void RefreshHolders(int32_t k) {
    for (const uint32_t e : holders_[static_cast<size_t>(k)]) Refresh(groupOf_[e]);
  }

  // The change of cost for line k at each position 0..n of the list without k (n lines):
  // bucket[m] collects the groups whose first other line stands at m.
  void Buckets(int32_t k, std::vector<TWide>& bucket) {
    const int own = pos_[static_cast<size_t>(k)];
    const size_t n = list_.size() - (own >= 0 ? 1 : 0);
    bucket.assign(n + 1, 0);
    for (const uint32_t e : holders_[static_cast<size_t>(k)]) {
      const size_t group = groupOf_[e];
      const int64_t other = own >= 0 && first_[group] == e ? second_[group] : first_[group];
      size_t m = n;
      if (other >= 0) {
        const int at = PosOf(other);
        m = static_cast<size_t>(own >= 0 && at > own ? at - 1 : at);
      }
      bucket[m] += static_cast<TWide>(g_.Loss[e] - LossOf(group, other)) * g_.Weight[group];
    }
    // Suffix sums: bucket[p] is the change with k at position p.
    for (size_t p = n; p-- > 0;) bucket[p] += bucket[p + 1];
  }

  std::pair<TWide, size_t> BestPlace(int32_t k) {
    Buckets(k, bucket_);
    size_t best = 0;
    for (size_t p = 1; p < bucket_.size(); ++p)
      if (bucket_[p] < bucket_[best]) best = p;
    return {bucket_[best], best};
  }

  TWide RemovalCost(int32_t k) {
    Buckets(k, bucket_);
    return -bucket_[static_cast<size_t>(pos_[static_cast<size_t>(k)])];
  }

  // Puts candidate c where it gains the most (moving it when listed) after dropping the
  // other listed lines it covers; undone unless `keep`. Returns the change of cost, or
  // nothing when c covers no listed line or the move saves none.
  std::optional<TWide> Merge(int32_t c, bool keep, size_t& saved) {
    const TLinePattern& open = g_.Candidates[static_cast<size_t>(c)];
    covered_.clear();
    for (const int32_t k : list_)
      if (k != c && open.Matches(g_.Candidates[static_cast<size_t>(k)])) covered_.push_back(k);
    const bool listed = pos_[static_cast<size_t>(c)] >= 0;
    saved = covered_.size() - (listed || covered_.empty() ? 0 : 1);
    if (covered_.empty() || saved == 0) return std::nullopt;
    saved_ = list_;
    const TWide before = cost_;
    undo_ = covered_;
    undo_.push_back(c);
    for (const int32_t k : covered_) Remove(k);
    if (listed) {
      Buckets(c, bucket_);
      const auto own = static_cast<size_t>(pos_[static_cast<size_t>(c)]);
      size_t best = own;
      for (size_t p = 0; p < bucket_.size(); ++p)
        if (bucket_[p] < bucket_[best]) best = p;
      list_.erase(list_.begin() + static_cast<std::ptrdiff_t>(own));
      list_.insert(list_.begin() + static_cast<std::ptrdiff_t>(best), c);
      cost_ += bucket_[best] - bucket_[own];
      Renumber();
      RefreshHolders(c);
    } else {
      const auto [gain, at] = BestPlace(c);
      Insert(c, at, gain);
    }
    const TWide change = cost_ - before;
    if (!keep) Undo(before);
    return change;
  }

  // Goes back to the list saved by the last Merge (or Condense's last move).
  void Undo(TWide cost) {
    list_ = saved_;
    Renumber();
    for (const int32_t k : undo_) RefreshHolders(k);
    cost_ = cost;
  }

  void Insert(int32_t k, size_t at, TWide gain) {
    list_.insert(list_.begin() + static_cast<std::ptrdiff_t>(at), k);
    Renumber();
    RefreshHolders(k);
    cost_ += gain;
  }

  void Remove(int32_t k) {
    const TWide removal = RemovalCost(k);
    list_.erase(list_.begin() + pos_[static_cast<size_t>(k)]);
    Renumber();
    RefreshHolders(k);
    cost_ += removal;
  }

  bool Relocate(int32_t k) {
    Buckets(k, bucket_);
    const auto own = static_cast<size_t>(pos_[static_cast<size_t>(k)]);
    const TWide now = bucket_[own];
    size_t best = own;
    for (size_t p = 0; p < bucket_.size(); ++p)
      if (bucket_[p] < bucket_[best]) best = p;
    list_.erase(list_.begin() + static_cast<std::ptrdiff_t>(own));
    if (bucket_[best] >= 0) {
      // The line gains nothing anywhere: it goes (a line that changes nothing goes too).
      cost_ -= now;
    } else if (bucket_[best] < now) {
      list_.insert(list_.begin() + static_cast<std::ptrdiff_t>(best), k);
      cost_ += bucket_[best] - now;
    } else {
      list_.insert(list_.begin() + static_cast<std::ptrdiff_t>(own), k);
      return false;
    }
    Renumber();
    RefreshHolders(k);
    return true;
  }

  const TGroups& g_;
  std::vector<int32_t> list_;
  std::vector<int> pos_;
  std::vector<uint32_t> groupOf_;
  std::vector<std::vector<uint32_t>> holders_;
  std::vector<int64_t> first_;
  std::vector<int64_t> second_;
  std::vector<TWide> bucket_;
  std::vector<int32_t> covered_;
  std::vector<TSnapshot> snapshots_;
  std::vector<int32_t> saved_;  // the list before the last move, and the lines it touched
  std::vector<int32_t> undo_;
  TWide cost_ = 0;
};

}  // namespace

TGeneratedStrategy GenerateStrategy(const TDealLines& deals, const THoldNamer& namer, int maxLines,
                                    TProgress* progress) {
  if (maxLines < 0) throw InputError("The most lines must be 0 (no limit) or more");
  if (progress != nullptr) progress->Begin(100);
  TGeneratedStrategy result;
  try {
    const TGroups groups = BuildGroups(deals, namer, progress);
    TOrderSearch search(groups);
    const auto most = static_cast<size_t>(maxLines);
    search.AddExactByValue();
    if (progress != nullptr) progress->Step(40);
    search.Improve(progress, 40);
    // Within 0.0001 % of perfect play: a cost of at most 1e-6 of the total stake.
    const auto budget = static_cast<TWide>(static_cast<long double>(groups.Total) *
                                           static_cast<long double>(deals.Scale) * 1e-6L);
    search.Condense(most, budget, progress);
    if (progress != nullptr) progress->Step(70);
    if (maxLines > 0) {
      // The longest list on the way that fits the limit as rows (the rows grow with the
      // lines, so a halving search finds it).
      search.DropTo(most);
      std::vector<TOrderSearch::TSnapshot> lists = search.Snapshots();
      lists.push_back({search.List(), search.Cost()});
      size_t low = 0;
      size_t high = lists.size() - 1;  // fits: it has no more lines than the limit
      while (low < high) {
        const size_t middle = (low + high) / 2;
        search.Restore(lists[middle]);
        if (search.Rows().size() <= most) {
          high = middle;
        } else {
          low = middle + 1;
        }
      }
      // The rows do not always grow with the lines: the cheapest of the lists near that one.
      size_t best = high;
      for (size_t i = high > 10 ? high - 10 : 0; i < std::min(lists.size(), high + 20); ++i) {
        if (i == high || lists[i].Cost >= lists[best].Cost) continue;
        search.Restore(lists[i]);
        if (search.Rows().size() <= most) best = i;
      }
      const TOrderSearch::TSnapshot chosen = lists[best];
      search.Restore(chosen);
      search.Improve(progress, 10);
      if (search.Rows().size() > most) search.Restore(chosen);
      search.Trade(most, progress, 30);
    } else {
      search.Improve(progress, 10);
    }
    if (progress != nullptr) progress->Step(90);
    const TWide cost = search.Recount();
    for (const auto& row : search.Rows()) {
      TStrategyRow lines;
      for (const int32_t k : row) lines.Lines.push_back(groups.Candidates[static_cast<size_t>(k)]);
      result.Strategy.Rows.push_back(std::move(lines));
    }
    const long double total = static_cast<long double>(groups.Total);
    result.SearchReturn = deals.PerCoin(static_cast<long double>(groups.Perfect - cost) / total);
    result.Report = Evaluate(deals, result.Strategy, namer);
  } catch (...) {
    if (progress != nullptr) progress->End();
    throw;
  }
  if (progress != nullptr) progress->End();
  return result;
}

}  // namespace tarnwick
