// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <iostream>
#include <nlohmann/json.hpp>
#include <numeric>
#include <string>

#include "cli_input.h"
#include "engine/wild_engine.h"
#include "errors.h"
#include "session/app_folders.h"
#include "session/preferences.h"
#include "stats/hold_stats.h"
#include "stats/result_grid.h"
#include "store/data_store.h"

namespace tarnwick::cli {

namespace {

std::string WildText(const TPokerDescription& game) {
  std::string text;
  if (game.WildRank >= 0) {
    text = std::string(1, kRankLetters[game.WildRank]) + "s";
  }
  if (game.JokerCount > 0) {
    if (!text.empty()) text += " + ";
    text += std::to_string(game.JokerCount) + (game.JokerCount == 1 ? " joker" : " jokers");
  }
  return text.empty() ? "none" : text;
}

}  // namespace

int RunGames(const TCatalogue& games, bool json, std::ostream& out) {
  if (json) {
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    for (const auto& game : games) {
      std::vector<std::string> categories(game->CategoryNames.begin(),
                                          game->CategoryNames.begin() + game->LastCategory + 1);
      list.push_back({{"id", game->GameId},
                      {"name", game->Name},
                      {"wildRank", game->WildRank < 0 ? -1 : game->WildRank},
                      {"jokers", game->JokerCount},
                      {"deck", game->DeckSize()},
                      {"categories", categories}});
    }
    out << list.dump(2) << '\n';
    return 0;
  }
  for (const auto& game : games) {
    out << Format("%2.0f  ", game->GameId) << game->Name << "  (wild: " << WildText(*game) << ", "
        << game->DeckSize() << " cards)\n    ";
    for (int c = 0; c <= game->LastCategory; ++c) {
      out << (c > 0 ? ", " : "") << game->CategoryName(c);
    }
    out << '\n';
  }
  return 0;
}

std::unique_ptr<TPokerEngine> AnalyseHand(const TPokerDescription& game, TPayout& table,
                                          const std::array<int, kHandSize>& cards) {
  auto engine = CreateEngineForGame(game);
  engine->SetPayout(&table);
  engine->DealCards(cards);
  return engine;
}

int RunHand(const TPokerDescription& game, TPayout& table, const std::array<int, kHandSize>& cards,
            bool json, std::ostream& out) {
  const auto owner = AnalyseHand(game, table, cards);
  TPokerEngine& engine = *owner;
  const int best = engine.GetTheBest();
  const int last = engine.LastCategory;

  if (json) {
    nlohmann::ordered_json holds = nlohmann::ordered_json::array();
    for (int mask = 0; mask < kMaskCount; ++mask) {
      std::vector<int64_t> counts;
      for (int c = 0; c <= last; ++c) counts.push_back(engine.CategoryCount(c, mask));
      holds.push_back({{"mask", mask},
                       {"draws", engine.DrawsOf(mask)},
                       {"counts", counts},
                       {"nothing", engine.CategoryCount(last + 1, mask)},
                       {"ev", static_cast<double>(engine.DrawReturn(mask))}});
    }
    const nlohmann::ordered_json report = {{"game", game.GameId},
                                           {"name", game.Name},
                                           {"deck", game.DeckSize()},
                                           {"best", best},
                                           {"holds", holds}};
    out << report.dump(2) << '\n';
    return 0;
  }

  out << game.Name << " (game " << game.GameId << ", " << game.DeckSize() << " cards), dealt "
      << HoldText(cards, 0) << "\n\n";
  for (int c = 0; c <= last; ++c) {
    out << Format("  C%-3.0f", c) << game.CategoryName(c) << " pays " << table.Pays[c] << '\n';
  }
  out << "\nProbability of each category after the draw, holds by expected value "
         "(* the best hold):\n\n";
  out << "  Hold                    EV    Draws";
  for (int c = 0; c <= last; ++c) out << Format(c < 10 ? "         C%.0f" : "        C%.0f", c);
  out << '\n';
  // In the order of the all-holds window: best expected return first.
  const THoldStats holds = FillHoldStats(engine);
  for (int mask : SortedHolds(holds, kHoldReturnColumn + 1, TFigureView::Hands)) {
    out << (mask == best ? "* " : "  ") << HoldText(cards, mask)
        << Format(" %11.6f", static_cast<double>(holds[mask].ExpectedReturn))
        << Format(" %8.0f", engine.DrawsOf(mask));
    for (int c = 0; c <= last; ++c) {
      out << Format(" %10.8f", static_cast<double>(engine.MaskCategoryChance(c, mask)));
    }
    out << '\n';
  }
  // The best hold as the main window shows it.
  std::vector<std::string> names(game.CategoryNames.begin(), game.CategoryNames.begin() + last + 1);
  const TResultGrid grid = MakeResultGrid(names, &table, 1, engine, true, best);
  out << "\nThe best hold, " << HoldText(cards, best) << ", for one coin:\n";
  for (const TResultRow& row : grid.Categories) {
    char line[160];
    std::snprintf(line, sizeof line, "  %-24s %10s %9s\n", row.Name.c_str() + 1, row.Pay.c_str(),
                  row.Chance.c_str());
    out << line;
  }
  out << "  Expected return" << std::string(22, ' ') << grid.Return << '\n';
  return 0;
}

int RunPaths(bool json, std::ostream& out) {
  // A query: nothing is created.
  const TAppFolders folders = TAppFolders::Current();
  if (json) {
    const nlohmann::ordered_json report = {{"program", folders.ProgramFolder.string()},
                                           {"resources", folders.ResourceFolder.string()},
                                           {"portable", folders.Portable},
                                           {"settings", folders.SettingsFile.string()},
                                           {"data", (folders.DataFolder / kDataFileName).string()},
                                           {"languages", folders.LangsFolder().string()}};
    out << report.dump(2) << '\n';
    return 0;
  }
  out << "Program folder   " << folders.ProgramFolder.string()
      << (folders.Portable ? "  (portable: settings and pay tables beside the program)\n"
                           : "  (installed: settings and pay tables in the user's folders)\n")
      << "Settings         " << folders.SettingsFile.string() << '\n'
      << "Pay tables       " << (folders.DataFolder / kDataFileName).string() << '\n'
      << "Language files   " << folders.LangsFolder().string() << '\n';
  return 0;
}

int RunLanguage(const std::string& code, std::ostream& out) {
  TPreferences& preferences = Preferences();
  if (!preferences.SettingsWarning().empty())
    std::cerr << "tarnwick-cli: warning: " << preferences.SettingsWarning() << '\n';
  if (!code.empty()) {
    std::string upper = code;
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    const auto at = std::find(preferences.Languages.begin(), preferences.Languages.end(), upper);
    if (at == preferences.Languages.end()) {
      throw InputError("there is no language " + code + " (see 'language')");
    }
    preferences.ChooseLanguage(static_cast<int>(at - preferences.Languages.begin()));
    preferences.SaveSettings();
  }
  const std::vector<std::string> names = preferences.LanguageNames();
  for (size_t i = 0; i < names.size(); ++i) {
    out << (preferences.Languages[i] == preferences.LanguageCode ? "* " : "  ")
        << preferences.Languages[i] << "  " << names[i] << '\n';
  }
  return 0;
}

}  // namespace tarnwick::cli
