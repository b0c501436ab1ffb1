// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later

// libFuzzer target for the practice session file reader: no crash, and the sessions read,
// written again and read back are the same. When the first byte is odd (a written file starts
// with '#'), every block's checksum is put right first, so the fuzzer gets past it.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <tuple>

#include "session/practice_file.h"

namespace {

// The file's checksum of a block: 64-bit FNV-1a of its bytes, in 16 hexadecimal digits.
std::string Checksum(std::string_view bytes) {
  uint64_t hash = 14695981039346656037ull;
  for (const char byte : bytes) {
    hash ^= static_cast<unsigned char>(byte);
    hash *= 1099511628211ull;
  }
  char text[17];
  std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
  return text;
}

// The text with every end line of a block (from a line starting "session" to the next
// starting "end") replaced by one with the block's checksum.
std::string WithChecksums(std::string_view text) {
  std::string fixed;
  size_t blockStart = std::string::npos;
  for (size_t at = 0; at < text.size();) {
    const size_t newline = text.find('\n', at);
    const size_t next = newline == std::string_view::npos ? text.size() : newline + 1;
    const std::string_view line = text.substr(at, next - at);
    const std::string_view words =
        line.substr(std::min(line.find_first_not_of("\r\n"), line.size()));
    if (words.starts_with("session")) {
      blockStart = fixed.size();
    } else if (words.starts_with("end") && blockStart != std::string::npos) {
      fixed += "end " + Checksum(std::string_view(fixed).substr(blockStart)) + '\n';
      blockStart = std::string::npos;
      at = next;
      continue;
    }
    fixed += line;
    at = next;
  }
  return fixed;
}

bool SameHand(const tarnwick::TPracticeHand& a, const tarnwick::TPracticeHand& b) {
  const auto fields = [](const tarnwick::TPracticeHand& hand) {
    const tarnwick::TPracticeVerdict& verdict = hand.Verdict;
    return std::tie(hand.Deal.Cards, hand.Deal.Next, hand.Deal.Number, verdict.Mask,
                    verdict.BestMask, verdict.BestHolds, verdict.Played.Paid, verdict.Played.Draws,
                    verdict.Best.Paid, verdict.Best.Draws, verdict.CoinBasis, verdict.Coins,
                    hand.Final, hand.Category, hand.Pay, hand.Deal.More, hand.More);
  };
  return fields(a) == fields(b);
}

bool SameSession(const tarnwick::TPracticeRecord& a, const tarnwick::TPracticeRecord& b) {
  const auto fields = [](const tarnwick::TPracticeRecord& record) {
    return std::tie(record.Started, record.GameId, record.GameName, record.Pays, record.CoinBasis,
                    record.Coins, record.Seed, record.HardWithin, record.Lines);
  };
  if (fields(a) != fields(b) || a.Hands.size() != b.Hands.size()) return false;
  for (size_t i = 0; i < a.Hands.size(); ++i) {
    if (!SameHand(a.Hands[i], b.Hands[i])) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const std::string_view input(reinterpret_cast<const char*>(data) + 1, size - 1);
  const tarnwick::TPracticeHistory first = tarnwick::ParsePracticeHistory(
      (data[0] & 1) != 0 ? WithChecksums(input) : std::string(input));
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
