// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later

// The shipped pay table library, its data file, and a sample of its tables computed again.

#include <gtest/gtest.h>

#include "engine/wild_engine.h"
#include "errors.h"
#include "store/data_store.h"
#include "store/paytable_list.h"
#include "test_files.h"
#include "test_games.h"

namespace tarnwick {
namespace {

const std::filesystem::path kData = std::filesystem::path(TARNWICK_SOURCE_DIR) / "data";

const TCatalogue& Games() {
  static const TCatalogue games = BuildCatalogue();
  return games;
}
const std::vector<TListedTable>& List() {
  static const std::vector<TListedTable> list =
      ParsePayTableList(test::ReadText(kData / "paytables.csv"), Games());
  return list;
}
const TData& Store() {
  static const TData* const store = [] {
    auto* data = new TData;
    data->Load(kData, &Games());
    return data;
  }();
  return *store;
}

const TPayout* Stored(const TPayout& listed) {
  TPayout reduced = listed;
  reduced.Reduce();
  for (const auto& table : Store().Payouts) {
    if (table->SameAs(reduced)) return table.get();
  }
  return nullptr;
}

TEST(Library, EveryGameHasTablesAndTheCommonOnesAreThere) {
  for (const auto& game : Games()) {
    const auto count = std::count_if(List().begin(), List().end(), [&](const TListedTable& entry) {
      return entry.Table.GameId == game->GameId;
    });
    EXPECT_GE(count, 1) << game->Name;
  }
  const struct {
    int game;
    std::vector<int32_t> pays;
  } common[] = {
      {0, {800, 50, 25, 9, 6, 4, 3, 2, 1}},           {0, {800, 50, 25, 9, 5, 4, 3, 2, 1}},
      {0, {800, 50, 25, 8, 6, 4, 3, 2, 1}},           {0, {800, 50, 25, 8, 5, 4, 3, 2, 1}},
      {0, {800, 50, 25, 7, 5, 4, 3, 2, 1}},           {0, {800, 50, 25, 6, 5, 4, 3, 2, 1}},
      {4, {800, 200, 25, 15, 9, 5, 3, 2, 2, 1}},      {4, {800, 200, 25, 16, 10, 4, 4, 3, 2, 1}},
      {4, {800, 200, 25, 15, 9, 4, 4, 3, 2, 1}},      {9, {800, 500, 25, 17, 10, 4, 3, 2, 2, 1}},
      {3, {800, 200, 100, 50, 20, 7, 5, 3, 2, 1, 1}}, {8, {800, 100, 50, 25, 9, 5, 4, 3, 2, 1}},
  };
  for (const auto& table : common) {
    const bool listed = std::any_of(List().begin(), List().end(), [&](const TListedTable& entry) {
      return entry.Table.GameId == table.game &&
             std::equal(table.pays.begin(), table.pays.end(), entry.Table.Pays.begin());
    });
    EXPECT_TRUE(listed) << "game " << table.game << " pays " << table.pays[3];
  }
}

// The data file holds exactly the listed tables, with their published returns.
TEST(Library, TheDataFileHoldsEveryListedTable) {
  ASSERT_FALSE(Store().Damaged());
  EXPECT_EQ(Store().Payouts.size(), List().size());
  int published = 0;
  for (const TListedTable& entry : List()) {
    const TPayout* stored = Stored(entry.Table);
    ASSERT_NE(stored, nullptr) << "line " << entry.Line << " is not in Tarnwick.dat";
    const int64_t n = stored->DeckSize;
    EXPECT_EQ(stored->DealTotal(), n * (n - 1) * (n - 2) * (n - 3) * (n - 4) / 120);
    EXPECT_GT(stored->Return, 0.9) << "line " << entry.Line;
    if (entry.Published) {
      ++published;
      EXPECT_TRUE(MatchesPublished(stored->Return, *entry.Published, entry.PublishedDecimals))
          << "line " << entry.Line << ": " << static_cast<double>(stored->Return * 100)
          << " against " << *entry.Published;
    }
  }
  EXPECT_GE(published, 10);
}

// One shipped table of each engine computed again gives the stored counts.
TEST(Library, ASampleComputedAgainGivesTheStoredCounts) {
  for (int gameId : {11, 4, 35}) {
    const auto entry = std::find_if(List().begin(), List().end(), [&](const TListedTable& e) {
      return e.Table.GameId == gameId;
    });
    ASSERT_NE(entry, List().end());
    const TPayout* stored = Stored(entry->Table);
    ASSERT_NE(stored, nullptr);
    TPayout table = *stored;
    table.ClearCounts();
    const auto engine = CreateEngineForGame(*FindGame(Games(), gameId));
    engine->SetPayout(&table);
    engine->CalcGameAdvantage();
    engine->SetPayout(nullptr);
    EXPECT_EQ(table.Counts, stored->Counts) << "game " << gameId;
    EXPECT_EQ(table.Deals, stored->Deals) << "game " << gameId;
  }
}

TEST(PayTableList, BadLinesAndPublishedFigures) {
  const TCatalogue games = BuildCatalogue();
  const std::string header = "game,name,basis,pays,label,published\n";
  const auto error = [&](const std::string& line) {
    return testing::ErrorOf<InputError>(
        [&] { ParsePayTableList(header + "# comment\n" + line + "\n", games); });
  };
  const std::string good = "0,Jacks or better,1,800 50 25 9 6 4 3 2 1,9/6,99.5439";
  EXPECT_EQ(error(good), testing::kNoError);
  EXPECT_EQ(error("0,Deuces Wild,1,800 50 25 9 6 4 3 2 1,9/6,"),
            "pay table list, line 3: game 0 is Jacks or better, not Deuces Wild");
  EXPECT_EQ(error("0,Jacks or better,1,800 50 25 9 6 4 3 2,9/6,"),
            "pay table list, line 3: 8 pays for the 9 categories of Jacks or better");
  EXPECT_EQ(error("0,Jacks or better,6,800 50 25 9 6 4 3 2 1,9/6,"),
            "pay table list, line 3: coin basis '6' is not 1..5");
  EXPECT_EQ(error("12,Retired,1,1,x,"), "pay table list, line 3: no game 12");
  EXPECT_EQ(error("0,Jacks or better,1,800 50 25 9 6 4 3 2 x,9/6,"),
            "pay table list, line 3: pay 'x' is not 0..99999999");
  EXPECT_EQ(error("0,Jacks or better,1,800 50 25 9 6 4 3 2 100000000,9/6,"),
            "pay table list, line 3: pay '100000000' is not 0..99999999");
  EXPECT_EQ(error("0,Jacks or better,1,800 50 25 9 6 4 3 2 1,9/6"),
            "pay table list, line 3: 6 fields expected, found 5");
  const auto list = ParsePayTableList(
      header + good + "\n4,Deuces Wild,5,4000 1000 125 75 45 25 15 10 10 5,x,\n", games);
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0].Published.value(), 99.5439);
  EXPECT_FALSE(list[1].Published.has_value());
  EXPECT_EQ(list[1].Table.CoinBasis, 5);
  EXPECT_EQ(list[1].Table.DeckSize, 52);

  // Columns are known by their names; LF, CR LF and a lone CR end lines alike.
  const auto lines = [](std::initializer_list<std::string_view> parts, std::string_view end) {
    std::string text;
    for (const std::string_view part : parts) text.append(part).append(end);
    return text;
  };
  const std::string other = "4,Deuces Wild,5,4000 1000 125 75 45 25 15 10 10 5,x,";
  for (const std::string& text :
       {lines({good, other}, "\n"),
        lines({"# c", "game,name,basis,pays,label,published", good, other}, "\r"),
        lines({" GAME, Name ,basis,pays,label,published", good, "", other}, "\r\n")}) {
    const auto tables = ParsePayTableList(text, games);
    ASSERT_EQ(tables.size(), 2u) << text;
    EXPECT_EQ(tables[1].Table.GameId, 4);
  }
  EXPECT_EQ(testing::ErrorOf<InputError>([&] {
              ParsePayTableList(lines({"# c", "", good, "12,Retired,1,1,x,"}, "\r"), games);
            }),
            "pay table list, line 4: no game 12");

  // Published figures are rounded or cut at the fourth decimal.
  EXPECT_TRUE(MatchesPublished(0.995439043695L, 99.5439));
  EXPECT_TRUE(MatchesPublished(1.00722077L, 100.7220));  // cut off
  EXPECT_TRUE(MatchesPublished(1.00722077L, 100.7221));  // rounded
  EXPECT_FALSE(MatchesPublished(1.00722077L, 100.7222));
  EXPECT_FALSE(MatchesPublished(0.995439043695L, 99.5440));
  EXPECT_FALSE(MatchesPublished(0.995439043695L, 99.5438));
  // A figure published to three decimals is checked to three.
  EXPECT_TRUE(MatchesPublished(0.97872937L, 97.873, 3));
  EXPECT_FALSE(MatchesPublished(0.97872937L, 97.873, 4));
  EXPECT_FALSE(MatchesPublished(0.97872937L, 97.874, 3));
}

}  // namespace
}  // namespace tarnwick
