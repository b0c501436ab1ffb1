// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later

// libFuzzer target for the reader of typed strategy lists: any bytes read without a crash
// for a game without wild cards, with deuces and with two jokers, and a list printed from
// what was read reads back to the same lines.

#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "stats/strategy.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const tarnwick::TCatalogue games = tarnwick::BuildCatalogue();
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  for (const int gameId : {0, 4, 8}) {
    const tarnwick::THoldNamer namer(*tarnwick::FindGame(games, gameId));
    const tarnwick::TStrategyParse read = tarnwick::ParseStrategy(text, namer);
    const tarnwick::TStrategyParse again =
        tarnwick::ParseStrategy(tarnwick::StrategyText(read.Strategy, namer), namer);
    if (!again.Errors.empty() || again.Strategy.Rows.size() < read.Strategy.Rows.size())
      std::abort();
    for (size_t r = 0; r < read.Strategy.Rows.size(); ++r) {
      if (tarnwick::RowText(again.Strategy.Rows[r], namer) !=
          tarnwick::RowText(read.Strategy.Rows[r], namer)) {
        std::abort();
      }
    }
  }
  return 0;
}
