// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later

// libFuzzer target for the practice session file reader: any text reads without a crash
// into sessions and damaged blocks; the sessions read, written again as blocks and read
// back, are the same sessions, none of them damaged.

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <tuple>

#include "session/practice_file.h"

namespace {

bool SameHand(const tarnwick::TPracticeHand& a, const tarnwick::TPracticeHand& b) {
  const auto fields = [](const tarnwick::TPracticeHand& hand) {
    const tarnwick::TPracticeVerdict& verdict = hand.Verdict;
    return std::tie(hand.Deal.Cards, hand.Deal.Next, hand.Deal.Number, verdict.Mask,
                    verdict.BestMask, verdict.BestHolds, verdict.Played.Paid, verdict.Played.Draws,
                    verdict.Best.Paid, verdict.Best.Draws, verdict.CoinBasis, verdict.Coins,
                    hand.Final, hand.Category, hand.Pay);
  };
  return fields(a) == fields(b);
}

bool SameSession(const tarnwick::TPracticeRecord& a, const tarnwick::TPracticeRecord& b) {
  const auto fields = [](const tarnwick::TPracticeRecord& record) {
    return std::tie(record.Started, record.GameId, record.GameName, record.Pays, record.CoinBasis,
                    record.Coins, record.Seed, record.HardWithin);
  };
  if (fields(a) != fields(b) || a.Hands.size() != b.Hands.size()) return false;
  for (size_t i = 0; i < a.Hands.size(); ++i) {
    if (!SameHand(a.Hands[i], b.Hands[i])) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const tarnwick::TPracticeHistory first =
      tarnwick::ParsePracticeHistory(std::string_view(reinterpret_cast<const char*>(data), size));
  std::string written;
  for (const tarnwick::TPracticeRecord& session : first.Sessions)
    written += tarnwick::PracticeSessionText(session);
  const tarnwick::TPracticeHistory second = tarnwick::ParsePracticeHistory(written);
  if (second.Damaged != 0 || second.Sessions.size() != first.Sessions.size()) std::abort();
  for (size_t i = 0; i < first.Sessions.size(); ++i) {
    if (!SameSession(first.Sessions[i], second.Sessions[i])) std::abort();
  }
  return 0;
}
