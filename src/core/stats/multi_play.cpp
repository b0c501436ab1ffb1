// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "stats/multi_play.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <complex>
#include <exception>
#include <limits>
#include <map>
#include <mutex>
#include <numbers>
#include <numeric>
#include <string>
#include <thread>

#include "engine/wild_engine.h"
#include "errors.h"
#include "stats/fourier.h"

namespace tarnwick {

namespace {

// The most points a distribution or a bankroll grid may have (16 MB of probabilities).
constexpr size_t kMaxPoints = size_t{1} << 21;
constexpr int kMaxRuinDeals = 100'000;
constexpr double kTolerance = 1e-9;  // line bets: results closer than this are equal
constexpr int kProgressTotal = 1000;
// Spectrum points worked on together: the group's values at these points and the running
// power stay in the first-level cache.
constexpr size_t kBlock = 256;

// A group's chance of each pay, by the index of the pay in the list of distinct pays.
struct TSpreadGroup {
  double Weight = 0;                            // share of all deals
  std::vector<std::pair<int, double>> Chances;  // (pay index, chance), chance > 0
};

// The deals regrouped by the pays their lines can end with: pays in steps, the groups that
// can end in more than one pay, and the share of deals that always end in one pay.
struct TPayGroups {
  std::vector<int64_t> Pays;  // distinct, ascending, 0 among them
  std::vector<TSpreadGroup> Spread;
  std::vector<std::pair<int64_t, double>> Sure;  // (pay in steps, share of deals)
  std::vector<uint32_t> Supports;                // the pay sets (bit per pay index) in use
  double AllLose = 0;
};

TPayGroups RegroupByPays(const TDealGroups& groups, const TPayout& table, int32_t step, int lines,
                         double cashBack) {
  TPayGroups result;
  std::vector<int> payIndex(static_cast<size_t>(table.LastCategory) + 1);
  result.Pays.push_back(0);
  for (int c = 0; c <= table.LastCategory; ++c) result.Pays.push_back(table.Pays[c] / step);
  std::sort(result.Pays.begin(), result.Pays.end());
  result.Pays.erase(std::unique(result.Pays.begin(), result.Pays.end()), result.Pays.end());
  for (int c = 0; c <= table.LastCategory; ++c) {
    payIndex[c] = static_cast<int>(
        std::lower_bound(result.Pays.begin(), result.Pays.end(), table.Pays[c] / step) -
        result.Pays.begin());
  }
  // A line loses when its pay and cash back are below its bet.
  const double bet = static_cast<double>(table.CoinBasis) / step;
  const auto loses = [&](int64_t pay) {
    return static_cast<double>(pay) / bet + cashBack / 100 < 1 - kTolerance;
  };

  // Counts by pay, reduced by their common divisor: equal chances make one key.
  std::map<std::vector<int64_t>, int64_t> merged;
  int64_t total = 0;
  for (const auto& [outcome, deals] : groups.Groups()) {
    std::vector<int64_t> counts(result.Pays.size(), 0);
    int64_t paying = 0;
    for (int c = 0; c <= table.LastCategory; ++c) {
      counts[payIndex[c]] += outcome.Counts[c];
      paying += outcome.Counts[c];
    }
    counts[0] += outcome.Draws - paying;
    int64_t divisor = 0;
    for (const int64_t count : counts) divisor = std::gcd(divisor, count);
    if (divisor == 0) throw TarnwickError("A deal group has no draws");
    for (int64_t& count : counts) count /= divisor;
    merged[counts] += deals;
    total += deals;
  }
  if (total == 0) throw TarnwickError("The pay table has no grouped deals");

  std::vector<uint32_t> supports;
  for (const auto& [counts, deals] : merged) {
    const double weight = static_cast<double>(deals) / static_cast<double>(total);
    const int64_t draws = std::accumulate(counts.begin(), counts.end(), int64_t{0});
    TSpreadGroup group{weight, {}};
    uint32_t support = 0;
    double lose = 0;
    for (size_t v = 0; v < counts.size(); ++v) {
      if (counts[v] == 0) continue;
      const double chance = static_cast<double>(counts[v]) / static_cast<double>(draws);
      group.Chances.emplace_back(static_cast<int>(v), chance);
      support |= uint32_t{1} << v;
      if (loses(result.Pays[v])) lose += chance;
    }
    result.AllLose += weight * std::pow(lose, lines);
    supports.push_back(support);
    if (group.Chances.size() == 1) {
      result.Sure.emplace_back(result.Pays[group.Chances[0].first], weight);
    } else {
      result.Spread.push_back(std::move(group));
    }
  }
  // Only the largest pay sets matter for the possible totals: a subset's totals are among
  // those of the set that holds it.
  std::sort(supports.begin(), supports.end());
  supports.erase(std::unique(supports.begin(), supports.end()), supports.end());
  for (const uint32_t support : supports) {
    const bool inside = std::any_of(supports.begin(), supports.end(), [&](uint32_t other) {
      return other != support && (other & support) == support;
    });
    if (!inside) result.Supports.push_back(support);
  }
  return result;
}

// into |= from shifted up by `shift` bits; bits beyond the end are dropped.
void OrShifted(const std::vector<uint64_t>& from, size_t shift, std::vector<uint64_t>& into) {
  const size_t words = shift / 64;
  const size_t bits = shift % 64;
  for (size_t w = into.size(); w-- > words;) {
    const size_t source = w - words;
    uint64_t value = from[source] << bits;
    if (bits != 0 && source > 0) value |= from[source - 1] >> (64 - bits);
    into[w] |= value;
  }
}

// Which totals of `lines` pays, each from the pay set of some group, a deal can give.
void MarkPossible(const TPayGroups& groups, int lines, std::vector<bool>& possible) {
  const size_t words = possible.size() / 64 + 1;
  std::vector<uint64_t> any(words, 0);
  for (const uint32_t support : groups.Supports) {
    std::vector<uint64_t> reached(words, 0);
    reached[0] = 1;
    for (int line = 0; line < lines; ++line) {
      std::vector<uint64_t> next(words, 0);
      for (size_t v = 0; v < groups.Pays.size(); ++v) {
        if (((support >> v) & 1U) != 0)
          OrShifted(reached, static_cast<size_t>(groups.Pays[v]), next);
      }
      reached.swap(next);
    }
    for (size_t w = 0; w < words; ++w) any[w] |= reached[w];
  }
  for (size_t t = 0; t < possible.size(); ++t) possible[t] = ((any[t / 64] >> (t % 64)) & 1U) != 0;
}

int WorkerCount(int threads) {
  if (threads > 0) return std::min(threads, 64);
  return std::clamp(static_cast<int>(std::thread::hardware_concurrency()), 1, 64);
}

// Adds weight x P(z)^lines of every spread group into the spectrum at z = e^(-2 pi i m / M)
// for the points m of one block.
class TBlockWork {
 public:
  TBlockWork(const TPayGroups& groups, int lines, size_t length)
      : groups_(groups),
        lines_(lines),
        length_(length),
        zRe_(groups.Pays.size() * kBlock),
        zIm_(groups.Pays.size() * kBlock) {}

  void Run(size_t first, size_t count, std::complex<double>* spectrum) {
    const size_t pays = groups_.Pays.size();
    for (size_t v = 0; v < pays; ++v) {
      const auto pay = static_cast<uint64_t>(groups_.Pays[v]) % length_;
      for (size_t m = 0; m < count; ++m) {
        // The phase is reduced exactly before it becomes an angle.
        const uint64_t phase = pay * (first + m) % length_;
        const double angle =
            -2 * std::numbers::pi * static_cast<double>(phase) / static_cast<double>(length_);
        zRe_[v * kBlock + m] = std::cos(angle);
        zIm_[v * kBlock + m] = std::sin(angle);
      }
    }
    std::fill(accRe_.begin(), accRe_.end(), 0.0);
    std::fill(accIm_.begin(), accIm_.end(), 0.0);
    for (const TSpreadGroup& group : groups_.Spread) {
      std::fill(baseRe_.begin(), baseRe_.end(), 0.0);
      std::fill(baseIm_.begin(), baseIm_.end(), 0.0);
      for (const auto& [v, chance] : group.Chances) {
        const double* zr = &zRe_[static_cast<size_t>(v) * kBlock];
        const double* zi = &zIm_[static_cast<size_t>(v) * kBlock];
        for (size_t m = 0; m < kBlock; ++m) {
          baseRe_[m] += chance * zr[m];
          baseIm_[m] += chance * zi[m];
        }
      }
      Power();
      for (size_t m = 0; m < kBlock; ++m) {
        accRe_[m] += group.Weight * powRe_[m];
        accIm_[m] += group.Weight * powIm_[m];
      }
    }
    for (size_t m = 0; m < count; ++m) spectrum[first + m] = {accRe_[m], accIm_[m]};
  }

 private:
  using TRow = std::array<double, kBlock>;

  // pow = base^lines by squaring; base is used up.
  void Power() {
    bool started = false;
    for (int bits = lines_;;) {
      if ((bits & 1) != 0) {
        if (!started) {
          powRe_ = baseRe_;
          powIm_ = baseIm_;
          started = true;
        } else {
          for (size_t m = 0; m < kBlock; ++m) {
            const double re = powRe_[m] * baseRe_[m] - powIm_[m] * baseIm_[m];
            const double im = powRe_[m] * baseIm_[m] + powIm_[m] * baseRe_[m];
            powRe_[m] = re;
            powIm_[m] = im;
          }
        }
      }
      bits >>= 1;
      if (bits == 0) break;
      for (size_t m = 0; m < kBlock; ++m) {
        const double re = baseRe_[m] * baseRe_[m] - baseIm_[m] * baseIm_[m];
        const double im = 2 * baseRe_[m] * baseIm_[m];
        baseRe_[m] = re;
        baseIm_[m] = im;
      }
    }
  }

  const TPayGroups& groups_;
  int lines_;
  uint64_t length_;
  std::vector<double> zRe_;
  std::vector<double> zIm_;
  TRow baseRe_{};
  TRow baseIm_{};
  TRow powRe_{};
  TRow powIm_{};
  TRow accRe_{};
  TRow accIm_{};
};

// Fills the spectrum's blocks on `threads` threads, the caller's among them; only the
// caller reports progress, and a cancellation stops every thread before its next block.
void FillSpectrum(const TPayGroups& groups, int lines, TRealTransform& transform,
                  TProgress* progress, int threads) {
  const size_t points = transform.SpectrumLength();
  const size_t blocks = (points + kBlock - 1) / kBlock;
  std::complex<double>* spectrum = transform.Spectrum().data();
  std::atomic<size_t> next{0};
  std::atomic<size_t> done{0};
  std::atomic<bool> stop{false};
  std::exception_ptr failure;
  std::mutex failureMutex;
  const auto work = [&](bool reports) {
    try {
      TBlockWork block(groups, lines, transform.Length());
      for (;;) {
        if (stop.load()) return;
        const size_t b = next.fetch_add(1);
        if (b >= blocks) return;
        const size_t first = b * kBlock;
        block.Run(first, std::min(kBlock, points - first), spectrum);
        const size_t finished = done.fetch_add(1) + 1;
        if (reports && progress != nullptr)
          progress->Step(static_cast<int64_t>(50 + finished * (kProgressTotal - 100) / blocks));
      }
    } catch (...) {
      const std::lock_guard lock(failureMutex);
      if (!failure) failure = std::current_exception();
      stop.store(true);
    }
  };
  {
    std::vector<std::jthread> helpers;
    for (int t = 1; t < threads && static_cast<size_t>(t) < blocks; ++t)
      helpers.emplace_back(work, false);
    work(true);
  }
  if (failure) std::rethrow_exception(failure);
}

}  // namespace

TMultiPlayFigures MultiPlayFigures(const TPayout& table, long double covariance, int lines) {
  CheckLines(lines);
  if (!table.Computed()) throw TarnwickError("The pay table has no whole-game figures");
  const long double single = table.Variance();
  const long double n = lines;
  TMultiPlayFigures figures;
  figures.DealVariance = n * single + n * (n - 1) * covariance;
  figures.LineStdDev = std::sqrt(single + (n - 1) * covariance);
  return figures;
}

void CheckLines(int lines) {
  if (lines < 1 || lines > kMaxLines) {
    throw InputError("lines per deal must be 1.." + std::to_string(kMaxLines) + ", not " +
                     std::to_string(lines));
  }
}

void CheckCashBack(double percent) {
  if (!(percent >= 0 && percent <= kMaxCashBack)) {
    throw InputError("the cash back must be 0..100 % of the coins bet");
  }
}

void ComputeWithGroups(TPokerEngine& engine, TPayout& table, TDealGroups& groups) {
  groups.Clear();
  TDealVisitor* const previous = engine.Visitor;
  engine.Visitor = &groups;
  try {
    engine.SetPayout(&table);
    engine.CalcGameAdvantage();
  } catch (...) {
    engine.Visitor = previous;
    throw;
  }
  engine.Visitor = previous;
}

std::optional<long double> ComputeDealCovariance(const TPokerDescription& game,
                                                 const TPayout& table, TProgress* progress) {
  TPayout copy;
  copy.Assign(table);
  copy.ClearCounts();
  const auto engine = CreateEngineForGame(game);
  engine->SetPayout(&copy);
  engine->SetProgress(progress);
  engine->CalcGameAdvantage();
  return copy.DealCovariance();
}

double TDealDistribution::NetBets(size_t i) const {
  return static_cast<double>(First + static_cast<int64_t>(i)) / StepsPerBet +
         Lines * CashBack / 100;
}

TDealDistribution ComputeDealDistribution(const TDealGroups& groups, const TPayout& table,
                                          int lines, double cashBack, TProgress* progress,
                                          int threads) {
  CheckLines(lines);
  CheckCashBack(cashBack);
  if (!table.Computed()) throw TarnwickError("The pay table has no whole-game figures");
  if (progress != nullptr) progress->Begin(kProgressTotal);
  TDealDistribution result;
  try {
    // Steps of the pays' common divisor: a line's pay is a whole number of steps.
    int32_t step = table.CoinBasis;
    for (int c = 0; c <= table.LastCategory; ++c) step = std::gcd(step, table.Pays[c]);
    const TPayGroups payGroups = RegroupByPays(groups, table, step, lines, cashBack);
    result.Lines = lines;
    result.CashBack = cashBack;
    result.StepsPerBet = table.CoinBasis / step;
    result.First = -int64_t{lines} * result.StepsPerBet;
    result.AllLose = payGroups.AllLose;
    const auto top = static_cast<size_t>(payGroups.Pays.back()) * static_cast<size_t>(lines);
    if (top + 1 > kMaxPoints) {
      throw RangeError("The pays are too large to count " + std::to_string(lines) +
                       " lines exactly: the top pay may be at most " +
                       std::to_string(kMaxPoints / static_cast<size_t>(lines) - 1) +
                       " times the pays' common divisor");
    }
    result.Probability.assign(top + 1, 0.0);
    result.Possible.assign(top + 1, false);
    MarkPossible(payGroups, lines, result.Possible);
    if (progress != nullptr) progress->Step(50);

    if (!payGroups.Spread.empty()) {
      TRealTransform transform(FastTransformLength(std::max<size_t>(top + 1, 2)));
      FillSpectrum(payGroups, lines, transform, progress, WorkerCount(threads));
      transform.Inverse();
      const std::span<double> values = transform.Values();
      for (size_t i = 0; i <= top; ++i) result.Probability[i] = values[i];
    }
    for (const auto& [pay, weight] : payGroups.Sure)
      result.Probability[static_cast<size_t>(pay) * static_cast<size_t>(lines)] += weight;
    // What the transform leaves on impossible totals, or below zero, is rounding.
    for (size_t i = 0; i <= top; ++i) {
      if (!result.Possible[i] || result.Probability[i] < 0) result.Probability[i] = 0;
    }
    if (progress != nullptr) progress->Step(kProgressTotal);
  } catch (...) {
    if (progress != nullptr) progress->End();
    throw;
  }
  if (progress != nullptr) progress->End();
  return result;
}

TMultiPlaySummary Summarise(const TDealDistribution& distribution, const TPayout& table) {
  TMultiPlaySummary summary;
  summary.Return = table.Return + static_cast<long double>(distribution.CashBack) / 100;
  long double sum = 0;
  long double squares = 0;
  const size_t size = distribution.Probability.size();
  for (size_t i = 0; i < size; ++i) {
    const double p = distribution.Probability[i];
    if (p == 0) continue;
    const double net = distribution.NetBets(i);
    if (net > kTolerance) {
      summary.Win += p;
    } else if (net < -kTolerance) {
      summary.Loss += p;
    } else {
      summary.Push += p;
    }
    sum += static_cast<long double>(p) * net;
    squares += static_cast<long double>(p) * net * net;
  }
  summary.Mean = static_cast<double>(sum);
  summary.Variance = static_cast<double>(squares - sum * sum);
  for (const double level : {0.01, 0.05, 0.10, 0.25, 0.50, 0.75, 0.90, 0.95, 0.99}) {
    double below = 0;
    for (size_t i = 0; i < size; ++i) {
      below += distribution.Probability[i];
      if (below >= level - 1e-12) {
        summary.Quantiles.emplace_back(level, distribution.NetBets(i));
        break;
      }
    }
  }
  return summary;
}

std::optional<double> LongRunAdjustment(const TDealDistribution& distribution) {
  std::vector<std::pair<double, double>> points;  // (net in line bets, chance)
  long double mass = 0;
  long double mean = 0;
  bool loses = false;
  for (size_t i = 0; i < distribution.Probability.size(); ++i) {
    const double p = distribution.Probability[i];
    if (p <= 0) continue;
    const double net = distribution.NetBets(i);
    points.emplace_back(net, p);
    mass += p;
    mean += static_cast<long double>(p) * net;
    loses = loses || net < -kTolerance;
  }
  if (!(mean / mass > kTolerance)) return std::nullopt;
  if (!loses) return std::numeric_limits<double>::infinity();
  // E[exp(-s X)] - 1, summed as expm1 terms: near the root it is far smaller than 1.
  const auto excess = [&](long double s) {
    long double total = 0;
    for (const auto& [net, p] : points) total += p * std::expm1(-s * net);
    return total / mass;
  };
  long double low = 0;
  long double high = 1e-6L;
  while (excess(high) < 0) {
    low = high;
    high *= 2;
  }
  for (int i = 0; i < 200 && high - low > low * 1e-15L; ++i) {
    const long double middle = (low + high) / 2;
    (excess(middle) < 0 ? low : high) = middle;
  }
  return static_cast<double>((low + high) / 2);
}

double BankrollForRisk(double adjustment, double risk) {
  if (!(risk > 0 && risk < 1)) throw InputError("a risk of ruin must lie between 0 and 100 %");
  return -std::log(risk) / adjustment;
}

TRuinChances RuinWithin(const TDealDistribution& distribution, double bankroll, int deals,
                        std::optional<double> target, TProgress* progress) {
  const double lines = distribution.Lines;
  if (!(bankroll >= lines && std::isfinite(bankroll))) {
    throw InputError("a bankroll of " + std::to_string(bankroll) +
                     " line bets cannot cover one deal of " + std::to_string(distribution.Lines) +
                     " lines");
  }
  if (target && !(*target > bankroll && std::isfinite(*target))) {
    throw InputError("the target bankroll must be above the starting bankroll");
  }
  if (deals < 1 || deals > kMaxRuinDeals) {
    throw InputError("deals must be 1.." + std::to_string(kMaxRuinDeals));
  }
  const double steps = distribution.StepsPerBet;
  const double cashBack = lines * distribution.CashBack / 100;  // line bets per deal
  // After k deals at a net of j steps (cash back apart), the bankroll is
  // bankroll + j / steps + k cashBack line bets. Ruined below Low(k); at or above High(k)
  // the target is reached, or, without a target, no run of losses can ruin it any more.
  const auto ceilSteps = [&](double bets) {
    return static_cast<int64_t>(std::ceil(bets * steps - kTolerance));
  };
  const auto low = [&](int k) { return ceilSteps(lines - bankroll - k * cashBack); };
  const auto high = [&](int k) {
    return target ? ceilSteps(*target - bankroll - k * cashBack)
                  : ceilSteps(lines * (deals - k + 1) - bankroll - k * cashBack);
  };
  const int64_t lo = low(deals);
  const int64_t hi = high(0);
  // A bankroll no run of losses over these deals can ruin.
  if (hi <= 0) return {};
  const auto cells = static_cast<size_t>(hi - lo);
  if (cells + distribution.Probability.size() > kMaxPoints) {
    throw RangeError("The bankroll grid of these deals is too large to count exactly");
  }

  // The kernel: the deal's net results that can land inside the grid from some cell;
  // those below every cell always ruin, those above always leave it upwards.
  const int64_t reach = static_cast<int64_t>(cells);
  double tailLow = 0;
  double tailHigh = 0;
  std::vector<double> kernel;
  int64_t kernelFirst = 0;
  for (size_t i = 0; i < distribution.Probability.size(); ++i) {
    const double p = distribution.Probability[i];
    const int64_t net = distribution.First + static_cast<int64_t>(i);
    if (net <= -reach) {
      tailLow += p;
    } else if (net >= reach) {
      tailHigh += p;
    } else {
      if (kernel.empty()) kernelFirst = net;
      kernel.resize(static_cast<size_t>(net - kernelFirst) + 1, 0.0);
      kernel.back() = p;
    }
  }
  if (kernel.empty()) kernel.push_back(0.0);  // every result leaves the grid at once
  TConvolution convolution(kernel, cells);

  std::vector<double> cur(cells, 0.0);
  cur[static_cast<size_t>(-lo)] = 1;  // j = 0: lo <= low(0) <= 0 < high(0) = hi
  TRuinChances chances;
  if (progress != nullptr) progress->Begin(deals);
  try {
    for (int k = 0; k < deals; ++k) {
      double mass = 0;
      for (const double q : cur) mass += q;
      chances.Ruin += mass * tailLow;
      if (target) chances.Reach += mass * tailHigh;
      // values[t] is the net lo + kernelFirst + t after deal k + 1.
      const std::span<const double> values = convolution.Apply(cur);
      const int64_t ruinBelow = low(k + 1);
      const int64_t leaveFrom = high(k + 1);
      std::fill(cur.begin(), cur.end(), 0.0);
      for (size_t t = 0; t < values.size(); ++t) {
        const double v = values[t];
        const int64_t j = lo + kernelFirst + static_cast<int64_t>(t);
        if (j < ruinBelow) {
          chances.Ruin += v;
        } else if (j >= leaveFrom) {
          if (target) chances.Reach += v;
        } else {
          cur[static_cast<size_t>(j - lo)] = v;
        }
      }
      if (progress != nullptr) progress->Step(k + 1);
    }
  } catch (...) {
    if (progress != nullptr) progress->End();
    throw;
  }
  if (progress != nullptr) progress->End();
  chances.Ruin = std::min(chances.Ruin, 1.0);
  chances.Reach = std::min(chances.Reach, 1.0);
  return chances;
}

}  // namespace tarnwick
