// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "data_store.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <random>

#include "byte_io.h"
#include "errors.h"

namespace tarnwick {
namespace {

namespace fs = std::filesystem;

// A fresh, empty folder per test.
fs::path TestFolder() {
  const fs::path folder =
      fs::path(::testing::TempDir()) /
      ("tarnwick_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
  fs::remove_all(folder);
  fs::create_directories(folder);
  return folder;
}

std::vector<uint8_t> ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const fs::path& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

std::unique_ptr<TPayout> Table(int gameId, int last, int basis, int deck, int32_t firstPay) {
  auto table = std::make_unique<TPayout>();
  table->GameId = gameId;
  table->LastCategory = last;
  table->CoinBasis = basis;
  table->DeckSize = deck;
  for (int c = 0; c <= last; ++c) table->Pays[c] = firstPay / (c + 1);
  table->Deals = {100, 200, 300, 400, 500, 600};
  table->Counts[2][1] = 12345;
  table->Counts[5][last] = 876543210;  // at most Deals[5] x C(47, 5)
  return table;
}

// Three pay tables of different sizes, two casinos (one with empty and non-ASCII texts),
// two casino/pay-table records.
TData SampleStore() {
  TData data;
  data.Add(Table(0, 8, 1, 52, 800));
  data.Add(Table(3, 10, 5, 53, 4000));
  data.Add(Table(8, 9, 2, 54, 1600));
  auto casino = std::make_unique<TCasino>();
  casino->Name = "Golden \xC3\x9F Palace";
  casino->Details = "Strip; 3rd floor, \"high limit\"";
  data.Casinos.push_back(std::move(casino));
  data.Casinos.push_back(std::make_unique<TCasino>());
  data.CasinoPayouts.push_back(std::make_unique<TCasinoAndPayout>());
  auto link = std::make_unique<TCasinoAndPayout>();
  link->First = 1;
  link->Second = 2;
  link->Third = -7;
  data.CasinoPayouts.push_back(std::move(link));
  return data;
}

TEST(DataStore, SaveAndLoadGiveBackTheSameBytes) {
  const fs::path folder = TestFolder();
  TData data = SampleStore();
  const std::vector<uint8_t> image = data.Image();
  const size_t texts = data.Casinos[0]->Name.size() + data.Casinos[0]->Details.size();
  ASSERT_EQ(image.size(), 12u + 508 + 612 + 560 + (8 + texts) + 8 + 24);
  EXPECT_TRUE(data.Modified);
  data.Save(folder);
  EXPECT_FALSE(data.Modified);
  EXPECT_EQ(ReadBytes(folder / "Tarnwick.dat"), image);
  EXPECT_FALSE(fs::exists(folder / "Tarnwick.dat.tmp"));

  TData loaded;
  loaded.Load(folder);
  ASSERT_EQ(loaded.Payouts.size(), 3u);
  EXPECT_EQ(loaded.Payouts[1]->Index, 1);
  EXPECT_EQ(loaded.Payouts[1]->CoinBasis, 5);
  EXPECT_EQ(loaded.Payouts[2]->Counts[5][9], 876543210);
  EXPECT_EQ(loaded.Casinos[0]->Name, "Golden \xC3\x9F Palace");
  EXPECT_EQ(loaded.Casinos[1]->Index, 1);
  EXPECT_EQ(loaded.CasinoPayouts[1]->Third, -7);
  EXPECT_EQ(loaded.CasinoPayouts[0]->First, -1);
  EXPECT_FALSE(loaded.Modified);
  loaded.Save(folder);
  EXPECT_EQ(ReadBytes(folder / "Tarnwick.dat"), image);

  TData empty;
  empty.Load(folder / "missing");  // no file: an empty store, no error
  EXPECT_TRUE(empty.Payouts.empty());
  empty.Save(folder);
  EXPECT_EQ(ReadBytes(folder / "Tarnwick.dat"), std::vector<uint8_t>(12, 0));
}

TEST(DataStore, AddDeleteAndTablesFor) {
  TData data;
  for (int basis : {1, 2, 3, 4, 5}) data.Add(Table(0, 8, basis, 52, 800));
  data.Add(Table(2, 10, 1, 52, 800));
  const auto tables = data.TablesFor(0, 4);
  ASSERT_EQ(tables.size(), 3u);
  EXPECT_EQ(tables[0]->CoinBasis, 1);
  EXPECT_EQ(tables[1]->CoinBasis, 2);
  EXPECT_EQ(tables[2]->CoinBasis, 4);
  EXPECT_EQ(data.TablesFor(0, 5).size(), 2u);
  data.Modified = false;
  TPayout stranger;
  data.Delete(&stranger);
  EXPECT_FALSE(data.Modified);
  data.Delete(data.Payouts[1].get());
  EXPECT_TRUE(data.Modified);
  ASSERT_EQ(data.Payouts.size(), 5u);
  EXPECT_EQ(data.Payouts[1]->CoinBasis, 3);
  EXPECT_EQ(data.Payouts[1]->Index, 1);
}

// Cut at every byte: never a crash, the complete records before the cut are kept, and the
// error names the record that failed.
TEST(DataStore, TruncatedAtEveryOffsetKeepsTheRecordsBeforeIt) {
  const std::vector<uint8_t> image = SampleStore().Image();
  const std::array<size_t, 3> tableEnds = {12 + 508, 12 + 508 + 612, 12 + 508 + 612 + 560};
  for (size_t length = 0; length < image.size(); ++length) {
    TData data;
    const std::vector<uint8_t> cut(image.begin(), image.begin() + static_cast<long>(length));
    try {
      data.ReadImage(cut);
      FAIL() << "a file cut at " << length << " was read whole";
    } catch (const DataFileError& e) {
      size_t complete = 0;
      for (size_t end : tableEnds) complete += end <= length ? 1 : 0;
      ASSERT_EQ(data.Payouts.size(), complete) << length;
      EXPECT_NE(std::string(e.what()).find("ends early"), std::string::npos) << e.what();
      if (length >= 12 && complete < 3) {
        EXPECT_NE(std::string(e.what()).find("pay table record " + std::to_string(complete + 1) +
                                             " of 3"),
                  std::string::npos)
            << e.what();
      }
    }
  }
}

TEST(DataStore, InvalidRecordsAndAbsurdHeaders) {
  const std::vector<uint8_t> image = SampleStore().Image();
  struct Damage {
    size_t offset;  // of a field in the second pay table
    int32_t value;
    const char* names;
  };
  const size_t second = 12 + 508;
  for (const Damage& damage :
       {Damage{second + 4, 16, "LastCategory 16"}, Damage{second + 4, -1, "LastCategory -1"},
        Damage{second + 8, 4, "DeckSize 4"}, Damage{second + 8, 59, "DeckSize 59"},
        Damage{second + 12, 0, "CoinBasis 0"}, Damage{second + 16, -5, "Deals -5"}}) {
    std::vector<uint8_t> bad = image;
    for (size_t i = 0; i < 4; ++i)
      bad[damage.offset + i] = static_cast<uint8_t>(static_cast<uint32_t>(damage.value) >> (8 * i));
    TData data;
    try {
      data.ReadImage(bad);
      FAIL() << damage.names;
    } catch (const DataFileError& e) {
      EXPECT_NE(std::string(e.what()).find("pay table record 2 of 3"), std::string::npos)
          << e.what();
      EXPECT_NE(std::string(e.what()).find(damage.names), std::string::npos) << e.what();
      EXPECT_EQ(data.Payouts.size(), 1u);
    }
  }
  // Counts larger than the hands the deals can make.
  std::vector<uint8_t> bad = image;
  bad[second + 40 + 44 + 7] = 0x7F;  // high byte of Counts[0][0] of the second table
  TData data;
  EXPECT_THROW(data.ReadImage(bad), DataFileError);

  // A header that claims four billion records reserves nothing and reports the header.
  for (size_t field = 0; field < 3; ++field) {
    std::vector<uint8_t> absurd = image;
    for (size_t i = 0; i < 4; ++i) absurd[4 * field + i] = 0xFF;
    TData store;
    try {
      store.ReadImage(absurd);
      FAIL();
    } catch (const DataFileError& e) {
      EXPECT_NE(std::string(e.what()).find("more than the file can hold"), std::string::npos)
          << e.what();
    }
  }
  // Bytes after the last record are reported, the records kept.
  std::vector<uint8_t> longer = image;
  longer.push_back(0);
  TData withTail;
  EXPECT_THROW(withTail.ReadImage(longer), DataFileError);
  EXPECT_EQ(withTail.Payouts.size(), 3u);
  EXPECT_EQ(withTail.CasinoPayouts.size(), 2u);

  // With the catalogue, a table must have its game's categories and deck.
  const TCatalogue games = BuildCatalogue();
  TData consistent = SampleStore();
  EXPECT_NO_THROW(TData().ReadImage(consistent.Image(), &games));
  consistent.Payouts[1]->DeckSize = 52;  // Joker Wild has 53 cards
  TData checked;
  EXPECT_THROW(checked.ReadImage(consistent.Image(), &games), DataFileError);
  EXPECT_EQ(checked.Payouts.size(), 1u);
}

TEST(DataStore, RandomBytesNeverCrash) {
  std::mt19937 random(3);
  const std::vector<uint8_t> image = SampleStore().Image();
  int read = 0;
  for (int trial = 0; trial < 2000; ++trial) {
    std::vector<uint8_t> bytes;
    if (trial % 2 == 0) {
      bytes.resize(random() % 700);
      for (auto& byte : bytes) byte = static_cast<uint8_t>(random());
      if (bytes.size() >= 4 && trial % 4 == 0) bytes[0] = 1, bytes[1] = bytes[2] = bytes[3] = 0;
    } else {
      bytes = image;
      for (int flips = 0; flips < 3; ++flips)
        bytes[random() % bytes.size()] ^= static_cast<uint8_t>(1u << (random() % 8));
    }
    TData data;
    try {
      data.ReadImage(bytes);
      ++read;
    } catch (const DataFileError&) {
    }
  }
  EXPECT_GT(read, 0);  // some flips land in pays or casino texts and stay valid
}

// A damaged file is copied aside before the first save replaces it; numbered names keep
// older copies.
TEST(DataStore, DamagedFileIsKeptBeforeASave) {
  const fs::path folder = TestFolder();
  std::vector<uint8_t> damaged = SampleStore().Image();
  damaged.resize(damaged.size() - 40);  // into the casino records
  WriteBytes(folder / "Tarnwick.dat", damaged);

  TData data;
  EXPECT_THROW(data.Load(folder), DataFileError);
  EXPECT_EQ(data.Payouts.size(), 3u);
  EXPECT_EQ(data.PendingBackup(), folder / "Tarnwick.dat");
  EXPECT_FALSE(fs::exists(folder / "Tarnwick.dat.bak"));  // loading alone writes nothing
  data.Save(folder);
  EXPECT_EQ(ReadBytes(folder / "Tarnwick.dat.bak"), damaged);
  EXPECT_TRUE(data.PendingBackup().empty());
  data.Save(folder);  // the copy is made once
  EXPECT_FALSE(fs::exists(folder / "Tarnwick.dat.bak.1"));

  WriteBytes(folder / "Tarnwick.dat", {1, 2, 3});
  TData again;
  EXPECT_THROW(again.Load(folder), DataFileError);
  again.Save(folder);
  EXPECT_EQ(ReadBytes(folder / "Tarnwick.dat.bak.1"), (std::vector<uint8_t>{1, 2, 3}));
  EXPECT_EQ(ReadBytes(folder / "Tarnwick.dat.bak"), damaged);
}

TEST(DataStore, AFailedOrInterruptedSaveLeavesTheOldFile) {
  const fs::path folder = TestFolder();
  TData data = SampleStore();
  data.Save(folder);
  const std::vector<uint8_t> old = ReadBytes(folder / "Tarnwick.dat");

  data.Add(Table(0, 8, 1, 52, 900));
  // The process dies after the temporary file is complete, before the rename.
  struct TCrash {};
  EXPECT_THROW(WriteFileAtomically(folder / "Tarnwick.dat", data.Image(), [] { throw TCrash{}; }),
               TCrash);
  EXPECT_EQ(ReadBytes(folder / "Tarnwick.dat"), old);
  TData reloaded;
  reloaded.Load(folder);
  EXPECT_EQ(reloaded.Payouts.size(), 3u);

  // A save that cannot write is reported and changes nothing.
  EXPECT_THROW(data.Save(folder / "no" / "such" / "folder"), DataFileError);
  EXPECT_TRUE(data.Modified);
  EXPECT_TRUE(fs::exists(folder / "Tarnwick.dat.tmp"));  // what the crash left
  fs::remove(folder / "Tarnwick.dat.tmp");
  fs::create_directory(folder / "Tarnwick.dat.tmp");  // the temporary file cannot be made
  try {
    data.Save(folder);
    FAIL();
  } catch (const DataFileError& e) {
    EXPECT_NE(std::string(e.what()).find("Tarnwick.dat.tmp"), std::string::npos) << e.what();
  }
  EXPECT_EQ(ReadBytes(folder / "Tarnwick.dat"), old);
}

}  // namespace
}  // namespace tarnwick
