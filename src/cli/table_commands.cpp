// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "table_commands.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iomanip>
#include <iostream>
#include <nlohmann/json.hpp>
#include <optional>
#include <sstream>

#include "cli_input.h"
#include "engine/wild_engine.h"
#include "errors.h"
#include "session/app_folders.h"
#include "store/data_store.h"
#include "store/paytable_list.h"
#include "store/safe_files.h"
#include "terminal_progress.h"

namespace tarnwick::cli {

namespace {

using Json = nlohmann::ordered_json;

std::string GameName(const TCatalogue& games, int gameId) {
  const TPokerDescription* game = FindGame(games, gameId);
  return game != nullptr ? game->Name : "unknown game " + std::to_string(gameId);
}

Json TableJson(const TCatalogue& games, const TPayout& table) {
  Json counts = Json::array();
  for (const auto& row : table.Counts) {
    counts.push_back(std::vector<int64_t>(row.begin(), row.begin() + table.LastCategory + 1));
  }
  std::vector<double> chances;
  for (int c = 0; c <= table.LastCategory; ++c)
    chances.push_back(static_cast<double>(table.CategoryChance(c)));
  return {{"game", table.GameId},
          {"name", GameName(games, table.GameId)},
          {"pays", PaysOf(table)},
          {"basis", table.CoinBasis},
          {"return", static_cast<double>(table.Return)},
          {"win", static_cast<double>(table.WinChance)},
          {"push", static_cast<double>(table.PushChance)},
          {"loss", static_cast<double>(table.LossChance)},
          {"variance", table.Variance()},
          {"stddev", table.StdDev()},
          {"deals", table.Deals},
          {"counts", counts},
          {"categoryChance", chances}};
}

void PrintReport(const TPokerDescription& game, const TPayout& table, std::ostream& out) {
  out << game.Name << " (game " << game.GameId << "), pays " << PaysText(table, ',') << " for "
      << table.CoinBasis << (table.CoinBasis == 1 ? " coin\n\n" : " coins\n\n");
  out << "  Return          " << Format("%11.6f %%", static_cast<double>(table.Return * 100))
      << '\n'
      << "  Win             " << Format("%11.6f %%", static_cast<double>(table.WinChance * 100))
      << '\n'
      << "  Push            " << Format("%11.6f %%", static_cast<double>(table.PushChance * 100))
      << '\n'
      << "  Loss            " << Format("%11.6f %%", static_cast<double>(table.LossChance * 100))
      << '\n'
      << "  Variance        " << Format("%11.6f", table.Variance()) << '\n'
      << "  Std deviation   " << Format("%11.6f", table.StdDev()) << "\n\n";
  out << "  Category                      Pays    Probability   Return share\n";
  long double paying = 0;
  for (int c = 0; c <= table.LastCategory; ++c) {
    const long double chance = table.CategoryChance(c);
    paying += chance;
    char line[160];
    std::snprintf(line, sizeof line, "  %-26s %7d   %12.10f   %10.6f %%\n",
                  game.CategoryName(c).c_str(), table.Pays[c], static_cast<double>(chance),
                  static_cast<double>(chance * table.Pays[c] / table.CoinBasis * 100));
    out << line;
  }
  char nothing[160];
  std::snprintf(nothing, sizeof nothing, "  %-26s %7d   %12.10f   %10.6f %%\n", "Nothing", 0,
                static_cast<double>(1 - paying), 0.0);
  out << nothing << "\n  Deals by cards drawn:";
  for (int d = 0; d <= 5; ++d) out << "  " << d << ": " << table.Deals[d];
  out << '\n';
}

// The store of a folder. A damaged file is a warning (its readable tables are used, and
// `damaged` is set); a file that cannot be read at all stops the command, unless it is
// `optional`: then it is a warning and the store is empty (and never saved).
TData LoadStore(const TCatalogue& games, const std::filesystem::path& folder, bool& damaged,
                bool optional = false) {
  TData store;
  try {
    store.Load(folder, &games);
  } catch (const DataFileError& e) {
    if (store.ReadOnly() && optional) {
      std::cerr << "tarnwick-cli: warning: " << store.ReadOnlyReason()
                << "; the table is computed without it\n";
      return store;
    }
    if (store.ReadOnly()) throw;
    damaged = true;
    std::cerr << "tarnwick-cli: warning: " << e.what()
              << " A copy of the file is kept before it is written again.\n";
  }
  return store;
}

// Saves the store (to its end, whatever Ctrl+C does meanwhile) and names every copy of a
// damaged file the save made.
void SaveStore(TData& store, const std::filesystem::path& folder) {
  const size_t before = store.Backups().size();
  const auto tellCopies = [&] {
    for (size_t i = before; i < store.Backups().size(); ++i)
      std::cerr << "tarnwick-cli: the damaged data file was copied to " << store.Backups()[i]
                << '\n';
  };
  try {
    SaveThenTakeInterrupt(folder / kDataFileName, [&] { store.Save(folder); });
  } catch (...) {
    tellCopies();
    throw;
  }
  tellCopies();
}

}  // namespace

// The folder of --data, which must exist; else the default folder (`forWriting`: the one
// saves go to, prepared for them; else the one a query reads, and nothing is created).
std::filesystem::path DataFolder(const TTableOptions& options, bool forWriting) {
  if (options.Data.empty()) {
    const TAppFolders folders = TAppFolders::Current();
    if (!forWriting) return folders.DataFolderForReading();
    folders.PrepareUserFolders();
    return folders.DataFolder;
  }
  std::filesystem::path folder = options.Data;
  struct stat info {};
  if (::stat(folder.c_str(), &info) != 0) {
    throw InputError(errno == ENOENT ? "--data folder \"" + options.Data + "\" does not exist"
                                     : SystemError("--data folder", folder));
  }
  if (!S_ISDIR(info.st_mode)) throw InputError("--data \"" + options.Data + "\" is not a folder");
  return folder;
}

TPayout TableFromOptions(const TPokerDescription& game, const TTableOptions& options) {
  if (!IsCoinCount(options.Basis)) {
    throw InputError("--basis " + std::to_string(options.Basis) + " is not a coin count 1..5");
  }
  TPayout table = MakePayout(game, ParsePays(options.Pays), options.Basis);
  table.Reduce();
  return table;
}

void ComputeTable(const TPokerDescription& game, TPayout& table, bool quiet, int threads) {
  const auto owner = CreateEngineForGame(game);
  TPokerEngine& engine = *owner;
  engine.SetPayout(&table);
  engine.SetThreadCount(threads);
  TInterruptGuard guard;
  TTerminalProgress bar(std::cerr, !quiet && ::isatty(STDERR_FILENO) != 0);
  engine.SetProgress(&bar);
  engine.CalcGameAdvantage();
}

TPayout StoredOrComputed(const TCatalogue& games, const TPokerDescription& game,
                         const TTableOptions& options, bool& damaged) {
  TPayout table = TableFromOptions(game, options);
  // The store only saves the computation: a file that cannot be read is passed over.
  const TData store = LoadStore(games, DataFolder(options, false), damaged, true);
  if (const TPayout* stored = store.FindSame(table); stored != nullptr && stored->Computed())
    return *stored;
  ComputeTable(game, table, options.Quiet, options.Threads);
  return table;
}

int RunReturn(const TCatalogue& games, const TTableOptions& options, std::ostream& out) {
  const TPokerDescription& game = ParseGame(games, options.Game);
  TPayout table = TableFromOptions(game, options);
  const auto start = std::chrono::steady_clock::now();
  ComputeTable(game, table, options.Quiet, options.Threads);
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  if (options.Json) {
    Json report = TableJson(games, table);
    report["seconds"] = seconds;
    out << report.dump(2) << '\n';
  } else {
    PrintReport(game, table, out);
    out << Format("  Computed in %.2f s\n", seconds);
  }
  return 0;
}

int RunTables(const TCatalogue& games, const TTableOptions& options, std::ostream& out) {
  int filter = -1;
  if (!options.GameFilter.empty()) filter = ParseGame(games, options.GameFilter).GameId;
  bool damaged = false;
  const TData store = LoadStore(games, DataFolder(options, false), damaged);
  Json list = Json::array();
  for (const auto& table : store.Payouts) {
    if (filter >= 0 && table->GameId != filter) continue;
    if (options.Json) {
      Json item = {{"index", table->Index}, {"computed", table->Computed()}};
      item.update(TableJson(games, *table));
      list.push_back(item);
      continue;
    }
    char line[200];
    if (table->Computed()) {
      std::snprintf(line, sizeof line,
                    "%4d  %-26s basis %d  return %11.6f %%  variance %9.4f  pays ", table->Index,
                    GameName(games, table->GameId).c_str(), table->CoinBasis,
                    static_cast<double>(table->Return * 100), table->Variance());
    } else {
      std::snprintf(line, sizeof line, "%4d  %-26s basis %d  %-40s  pays ", table->Index,
                    GameName(games, table->GameId).c_str(), table->CoinBasis, "not computed");
    }
    out << line << PaysText(*table, ',') << '\n';
  }
  if (options.Json) out << list.dump(2) << '\n';
  return (damaged ? kDamagedDataExit : 0);
}

int RunAdd(const TCatalogue& games, const TTableOptions& options, std::ostream& out) {
  const TPokerDescription& game = ParseGame(games, options.Game);
  TPayout table = TableFromOptions(game, options);
  const std::filesystem::path folder = DataFolder(options, true);
  bool damaged = false;
  TData store = LoadStore(games, folder, damaged);
  TPayout* stored = store.FindSame(table);
  if (stored != nullptr && stored->Computed()) {
    out << "Already stored as table " << stored->Index << " in "
        << (folder / kDataFileName).string() << "\n\n";
    PrintReport(game, *stored, out);
    return (damaged ? kDamagedDataExit : 0);
  }
  ComputeTable(game, table, options.Quiet, options.Threads);
  store.Keep(std::make_unique<TPayout>(table));
  SaveStore(store, folder);
  const TPayout* saved = store.FindSame(table);
  out << (stored != nullptr ? "Computed and stored as table " : "Stored as table ") << saved->Index
      << " in " << (folder / kDataFileName).string() << "\n\n";
  PrintReport(game, *saved, out);
  return (damaged ? kDamagedDataExit : 0);
}

int RunImport(const TCatalogue& games, const TTableOptions& options, std::ostream& out) {
  const std::string text = ReadInputFile(options.ListFile, kMaxListBytes, "the pay table list");
  const std::vector<TListedTable> list = ParsePayTableList(text, games);
  const std::filesystem::path folder = DataFolder(options, true);
  bool damaged = false;
  TData store = LoadStore(games, folder, damaged);
  if (options.Replace) {
    // Every table goes, as a deletion of this run, so the save removes them from the file.
    while (!store.Payouts.empty()) store.Delete(store.Payouts.back().get());
  }
  int computed = 0;
  int mismatches = 0;
  for (const TListedTable& entry : list) {
    TPayout table = entry.Table;
    table.Reduce();
    const TPokerDescription& game = *FindGame(games, table.GameId);
    TPayout* stored = store.FindSame(table);
    if (stored == nullptr || !stored->Computed()) {
      ComputeTable(game, table, options.Quiet, options.Threads);
      stored = &store.Keep(std::make_unique<TPayout>(table));
      ++computed;
    }
    char line[200];
    std::snprintf(line, sizeof line, "%4d  %-26s %-14s %11.6f %%", entry.Line, game.Name.c_str(),
                  entry.Label.c_str(), static_cast<double>(stored->Return * 100));
    out << line;
    if (entry.Published) {
      const bool same = MatchesPublished(stored->Return, *entry.Published, entry.PublishedDecimals);
      std::ostringstream published;
      published << std::fixed << std::setprecision(entry.PublishedDecimals) << *entry.Published;
      out << "  published " << published.str() << (same ? "" : "  MISMATCH");
      if (!same) ++mismatches;
    }
    out << '\n';
  }
  if (store.Modified) SaveStore(store, folder);
  out << list.size() << " tables listed, " << computed << " computed, " << store.Payouts.size()
      << " stored in " << (folder / kDataFileName).string() << '\n';
  if (mismatches > 0) {
    std::cerr << "tarnwick-cli: " << mismatches
              << " computed returns differ from the published ones\n";
    return 1;
  }
  return (damaged ? kDamagedDataExit : 0);
}

int RunDelete(const TCatalogue& games, const TTableOptions& options, std::ostream& out) {
  const std::filesystem::path folder = DataFolder(options, true);
  bool damaged = false;
  TData store = LoadStore(games, folder, damaged);
  if (options.Index < 0 || options.Index >= static_cast<int>(store.Payouts.size())) {
    throw InputError("there is no table " + std::to_string(options.Index) +
                     " (the data file holds " + std::to_string(store.Payouts.size()) + ")");
  }
  const TPayout& table = *store.Payouts[options.Index];
  const std::string what = GameName(games, table.GameId) + ", pays " + PaysText(table, ',');
  store.Delete(&table);
  SaveStore(store, folder);
  out << "Deleted table " << options.Index << " (" << what << ")\n";
  return (damaged ? kDamagedDataExit : 0);
}

}  // namespace tarnwick::cli
