// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later

// libFuzzer target for the pay table list reader: no crash, and the tables read, written
// and read again are the same tables.

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "engine/games.h"
#include "errors.h"
#include "store/paytable_list.h"

namespace {

bool SameTable(const tarnwick::TPayout& a, const tarnwick::TPayout& b) {
  return a.GameId == b.GameId && a.CoinBasis == b.CoinBasis && a.LastCategory == b.LastCategory &&
         a.DeckSize == b.DeckSize && a.Pays == b.Pays;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const tarnwick::TCatalogue games = tarnwick::BuildCatalogue();
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::vector<tarnwick::TRefusedLine> refused;
  const std::vector<tarnwick::TListedTable> tables =
      tarnwick::ParsePayTableList(text, games, &refused);
  try {
    if (tarnwick::ParsePayTableList(text, games).size() != tables.size() || !refused.empty())
      std::abort();
  } catch (const tarnwick::InputError&) {
    if (refused.empty()) std::abort();
  }
  std::vector<const tarnwick::TPayout*> payouts;
  for (const tarnwick::TListedTable& entry : tables) payouts.push_back(&entry.Table);
  const std::vector<tarnwick::TListedTable> again =
      tarnwick::ParsePayTableList(tarnwick::PayTableListText(payouts, games), games);
  if (again.size() != tables.size()) std::abort();
  for (size_t i = 0; i < tables.size(); ++i) {
    if (!SameTable(tables[i].Table, again[i].Table)) std::abort();
  }
  return 0;
}
