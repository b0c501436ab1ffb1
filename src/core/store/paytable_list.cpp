// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/paytable_list.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>

#include "errors.h"
#include "text.h"

namespace tarnwick {

namespace {

std::vector<std::string_view> Split(std::string_view text, char separator) {
  std::vector<std::string_view> fields;
  for (;;) {
    const size_t at = text.find(separator);
    fields.push_back(Trim(text.substr(0, at), " \t\r"));
    if (at == std::string_view::npos) return fields;
    text.remove_prefix(at + 1);
  }
}

template <class T>
bool Number(std::string_view text, T& value) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return !text.empty() && error == std::errc() && end == text.data() + text.size();
}

constexpr std::string_view kColumns = "game,name,basis,pays,label,published";

// The line of column names (in any case, with blanks around the names).
bool IsHeader(std::string_view line) {
  const std::vector<std::string_view> fields = Split(line, ',');
  std::string names;
  for (const std::string_view field : fields) {
    if (!names.empty()) names += ',';
    for (const char c : field)
      names += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  return names == kColumns;
}

}  // namespace

std::vector<TListedTable> ParsePayTableList(std::string_view text, const TCatalogue& games,
                                            std::vector<TRefusedLine>* refused) {
  std::vector<TListedTable> tables;
  int lineNumber = 0;
  bool first = true;
  while (!text.empty()) {
    // Lines end in LF, CR LF or a lone CR.
    const size_t end = text.find_first_of("\r\n");
    const std::string_view line = Trim(text.substr(0, end), " \t");
    size_t next = end == std::string_view::npos ? text.size() : end + 1;
    if (end != std::string_view::npos && text[end] == '\r' && next < text.size() &&
        text[next] == '\n') {
      ++next;
    }
    text.remove_prefix(next);
    ++lineNumber;
    if (line.empty() || line.front() == '#') continue;
    // The first line may name the columns; any other line is a table.
    const bool header = first && IsHeader(line);
    first = false;
    if (header) continue;
    const auto fail = [&](const std::string& why) {
      throw InputError("pay table list, line " + std::to_string(lineNumber) + ": " + why);
    };
    try {
      const std::vector<std::string_view> fields = Split(line, ',');
      if (fields.size() != 6) fail("6 fields expected, found " + std::to_string(fields.size()));
      TListedTable entry;
      entry.Line = lineNumber;
      int gameId = -1;
      if (!Number(fields[0], gameId)) fail("game number '" + std::string(fields[0]) + "'");
      const TPokerDescription* game = FindGame(games, gameId);
      if (game == nullptr) fail("no game " + std::to_string(gameId));
      if (fields[1] != game->Name) {
        fail("game " + std::to_string(gameId) + " is " + game->Name + ", not " +
             std::string(fields[1]));
      }
      TPayout& table = entry.Table;
      table.GameId = gameId;
      table.LastCategory = game->LastCategory;
      table.DeckSize = game->DeckSize();
      if (!Number(fields[2], table.CoinBasis) || !IsCoinCount(table.CoinBasis))
        fail("coin basis '" + std::string(fields[2]) + "' is not 1..5");
      std::vector<std::string_view> pays;
      for (std::string_view pay : Split(fields[3], ' ')) {
        if (!pay.empty()) pays.push_back(pay);
      }
      if (static_cast<int>(pays.size()) != game->LastCategory + 1) {
        fail(std::to_string(pays.size()) + " pays for the " +
             std::to_string(game->LastCategory + 1) + " categories of " + game->Name);
      }
      for (size_t c = 0; c < pays.size(); ++c) {
        if (!Number(pays[c], table.Pays[c]) || table.Pays[c] < 0 || table.Pays[c] > kMaxPay)
          fail("pay '" + std::string(pays[c]) + "' is not 0.." + std::to_string(kMaxPay));
      }
      table.ClearCounts();
      entry.Label = std::string(fields[4]);
      if (!fields[5].empty()) {
        double published = 0;
        if (!Number(fields[5], published) || !(published > 0 && published < 1000))
          fail("published return '" + std::string(fields[5]) + "'");
        entry.Published = published;
        // "100.067" was published to three decimals and is checked to three.
        const size_t point = fields[5].find('.');
        entry.PublishedDecimals =
            point == std::string_view::npos ? 0 : static_cast<int>(fields[5].size() - point - 1);
        if (entry.PublishedDecimals > 6) fail("published return '" + std::string(fields[5]) + "'");
      }
      tables.push_back(std::move(entry));
    } catch (const InputError& e) {
      if (refused == nullptr) throw;
      refused->push_back({lineNumber, e.Message()});
    }
  }
  return tables;
}

std::string PayTableListText(const std::vector<const TPayout*>& tables, const TCatalogue& games) {
  std::string text =
      "# Pay tables: game number, game name, coin basis, the pays of the categories in order\n"
      "# (coins for `basis` coins), a label and the published return in percent (may be empty).\n";
  text += kColumns;
  text += '\n';
  for (const TPayout* table : tables) {
    const TPokerDescription* game = FindGame(games, table->GameId);
    if (game == nullptr) continue;
    text += std::to_string(table->GameId) + ',' + game->Name + ',' +
            std::to_string(table->CoinBasis) + ',' + PaysText(*table, ' ') + ",,\n";
  }
  return text;
}

bool MatchesPublished(long double computedReturn, double publishedPercent, int decimals) {
  const long double scale = std::pow(10.0L, std::clamp(decimals, 0, 6));
  const long double percent = computedReturn * 100;
  const long double rounded = std::round(percent * scale) / scale;
  const long double cut = std::trunc(percent * scale) / scale;
  const auto same = [&](long double value) {
    return std::fabs(value - publishedPercent) < 0.05L / scale;
  };
  return same(rounded) || same(cut);
}

}  // namespace tarnwick
