// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/app_folders.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "session/ini_file.h"
#include "store/data_store.h"
#include "test_files.h"

namespace tarnwick {
namespace {

int TablesOfNewGames(const TData& data) {
  return static_cast<int>(
      std::count_if(data.Payouts.begin(), data.Payouts.end(),
                    [](const auto& t) { return t->GameId > kFirstLibraryLastGame; }));
}

// A user whose data file was made before the kicker games gets their shipped tables once;
// tables deleted afterwards stay deleted, and none comes twice.
TEST(AppFolders, ShippedTablesOfNewGamesReachAnOlderDataFileOnce) {
  const auto folder = test::TestFolder();
  TAppFolders folders;
  folders.Portable = false;
  folders.ResourceFolder = std::filesystem::path(TARNWICK_SOURCE_DIR) / "data";
  folders.DataFolder = folder / "data";
  folders.SettingsFile = folder / "tarnwick.ini";
  std::filesystem::create_directories(folders.DataFolder);
  TData shipped;
  shipped.Load(folders.ResourceFolder);
  const int newTables = TablesOfNewGames(shipped);
  ASSERT_GE(newTables, 11);

  // The user's file as an older version left it: the shipped tables of its games and one
  // table of the user's own.
  TData older;
  for (const auto& table : shipped.Payouts) {
    if (table->GameId <= kFirstLibraryLastGame) older.Add(std::make_unique<TPayout>(*table));
  }
  auto own = std::make_unique<TPayout>(*older.Payouts[0]);
  own->Pays[3] = 7;
  own->ClearCounts();
  older.Add(std::move(own));
  older.Save(folders.DataFolder);
  const size_t before = older.Payouts.size();

  folders.PrepareUserFolders();
  TData user;
  user.Load(folders.DataFolder);
  EXPECT_EQ(user.Payouts.size(), before + static_cast<size_t>(newTables));
  EXPECT_EQ(TablesOfNewGames(user), newTables);
  const auto stored = user.FindSame(*shipped.Payouts.back());
  ASSERT_NE(stored, nullptr);
  EXPECT_TRUE(stored->Computed());
  EXPECT_EQ(TIniFile::Read(folders.SettingsFile).ReadInteger("Library", "Games", 0), 36);

  // A table deleted afterwards is not offered again.
  user.Delete(user.FindSame(*shipped.Payouts.back()));
  user.Save(folders.DataFolder);
  folders.PrepareUserFolders();
  TData again;
  again.Load(folders.DataFolder);
  EXPECT_EQ(TablesOfNewGames(again), newTables - 1);

  // Settings that lost the key offer them again, but the file holds each table once.
  std::filesystem::remove(folders.SettingsFile);
  folders.AddShippedTablesOfNewGames();
  TData third;
  third.Load(folders.DataFolder);
  EXPECT_EQ(TablesOfNewGames(third), newTables);
}

}  // namespace
}  // namespace tarnwick
