// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// tarnwick-cli bench: times the whole-game runs of four fixed pay tables and the analysis
// of fixed dealt hands, and prints a signature of every count they make. The signature
// depends only on the counts, so it is the same for any number of threads.

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "engine/games.h"

namespace tarnwick::cli {

struct TBenchOptions {
  int Threads = 0;                 // threads of the whole-game runs; 0: one per hardware thread
  int Repeat = 1;                  // runs of each part; the median time is shown
  std::vector<std::string> Parts;  // the parts to run (names as in BenchPartNames); empty: all
  bool Json = false;
};

// The parts in the order they run: four whole-game runs, then the dealt hands.
const std::vector<std::string>& BenchPartNames();

// 64-bit FNV-1a over integers, byte by byte in little-endian order: the same on every
// platform for the same counts in the same order.
class TSignature {
 public:
  void Add(int64_t value);
  uint64_t Value() const { return hash_; }
  std::string Hex() const;

 private:
  uint64_t hash_ = 14695981039346656037ull;
};

int RunBench(const TCatalogue& games, const TBenchOptions& options, std::ostream& out);

}  // namespace tarnwick::cli
