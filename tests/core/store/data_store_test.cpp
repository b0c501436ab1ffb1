// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/data_store.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>

#include "errors.h"
#include "store/payout_record.h"
#include "store/safe_files.h"
#include "test_files.h"
#include "test_games.h"

namespace tarnwick {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::TestFolder;
using test::WriteBytes;
using testing::ErrorOf;
using testing::kNoError;

std::unique_ptr<TPayout> Table(int gameId, int last, int basis, int deck, int32_t firstPay) {
  auto table = std::make_unique<TPayout>();
  table->GameId = gameId;
  table->LastCategory = last;
  table->CoinBasis = basis;
  table->DeckSize = deck;
  for (int c = 0; c <= last; ++c) table->Pays[c] = firstPay / (c + 1);
  const int32_t deals = deck == 52 ? 2598960 : deck == 53 ? 2869685 : 3162510;
  table->Deals = {100, 200, 300, 400, 500, deals - 1500};
  table->Counts[2][1] = 12345;
  table->Counts[5][last] = 876543210;  // at most Deals[5] x C(47, 5)
  return table;
}

// Three pay tables of different sizes, two casinos and two casino/pay-table records.
TData SampleStore() {
  TData data;
  data.Add(Table(0, 8, 1, 52, 800));
  data.Add(Table(3, 10, 5, 53, 4000));
  data.Add(Table(8, 9, 2, 54, 1600));
  data.Casinos.push_back(std::make_unique<TCasino>(
      TCasino{0, "Golden \xC3\x9F Palace", "Strip; 3rd floor, \"high limit\""}));
  data.Casinos.push_back(std::make_unique<TCasino>());
  data.CasinoPayouts.push_back(std::make_unique<TCasinoAndPayout>());
  data.CasinoPayouts.push_back(std::make_unique<TCasinoAndPayout>(TCasinoAndPayout{1, 2, -7}));
  return data;
}

TData Loaded(const fs::path& folder) {
  TData data;
  data.Load(folder);
  return data;
}

// The royal pays of the store's tables, in store order or sorted.
std::vector<int32_t> FirstPays(const TData& store, bool sorted = false) {
  std::vector<int32_t> pays;
  for (const auto& table : store.Payouts) pays.push_back(table->Pays[0]);
  if (sorted) std::sort(pays.begin(), pays.end());
  return pays;
}

TEST(DataStore, RecordLayoutAndSavedBytes) {
  TPayout table = *Table(0, 8, 5, 52, 4000);
  table.Deals = {1, 2, 3, 4, 5, 2598960 - 15};
  table.Counts = {};
  table.Counts[5][8] = 0x876543;
  std::vector<uint8_t> bytes;
  WritePayoutRecord(table, bytes);
  ASSERT_EQ(bytes.size(), 508u);
  EXPECT_EQ(bytes[4], 8);   // LastCategory, little-endian
  EXPECT_EQ(bytes[8], 52);  // DeckSize
  EXPECT_EQ(bytes[12], 5);  // CoinBasis
  EXPECT_EQ(bytes[16], 1);  // Deals[0]
  EXPECT_EQ(bytes[40], 4000 % 256);
  EXPECT_EQ(bytes[41], 4000 / 256);
  EXPECT_EQ(bytes[500], 0x43);  // Counts[5][8], the last field
  EXPECT_EQ(bytes[502], 0x87);
  EXPECT_EQ(bytes[507], 0x00);

  const fs::path folder = TestFolder();
  TData data = SampleStore();
  const std::vector<uint8_t> image = data.Image();
  const size_t texts = data.Casinos[0]->Name.size() + data.Casinos[0]->Details.size();
  ASSERT_EQ(image.size(), 12u + 508 + 612 + 560 + (8 + texts) + 8 + 24);
  EXPECT_TRUE(data.Modified);
  data.Save(folder);
  EXPECT_FALSE(data.Modified);
  EXPECT_EQ(ReadBytes(folder / "Tarnwick.dat"), image);

  TData loaded = Loaded(folder);
  ASSERT_EQ(loaded.Payouts.size(), 3u);
  EXPECT_EQ(loaded.Payouts[1]->Index, 1);
  EXPECT_EQ(loaded.Casinos[1]->Index, 1);
  EXPECT_FALSE(loaded.Modified);
  loaded.Save(folder);
  EXPECT_EQ(ReadBytes(folder / "Tarnwick.dat"), image);

  TData empty = Loaded(folder / "missing");  // no file: an empty store, no error
  EXPECT_TRUE(empty.Payouts.empty());
  EXPECT_FALSE(empty.ReadOnly());
  fs::create_directory(folder / "new");
  empty.Save(folder / "new");
  EXPECT_EQ(ReadBytes(folder / "new" / "Tarnwick.dat"), std::vector<uint8_t>(12, 0));
}

TEST(DataStore, AddDeleteAndTablesFor) {
  TData data;
  for (int basis : {1, 2, 3, 4, 5}) data.Add(Table(0, 8, basis, 52, 800));
  data.Add(Table(2, 10, 1, 52, 800));
  std::vector<int32_t> bases;
  for (const TPayout* table : data.TablesFor(0, 4)) bases.push_back(table->CoinBasis);
  EXPECT_EQ(bases, (std::vector<int32_t>{1, 2, 4}));
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

  // Keep: a new table is added; an equal one without counts gets them; an equal one with
  // counts stays as it is.
  data.Payouts.back()->ClearCounts();
  data.Modified = false;
  TPayout& counted = data.Keep(Table(2, 10, 1, 52, 800));
  EXPECT_TRUE(&counted == data.Payouts.back().get() && counted.Computed() && data.Modified);
  auto bare = Table(2, 10, 1, 52, 800);
  bare->ClearCounts();
  EXPECT_EQ(&data.Keep(std::move(bare)), &counted);
  EXPECT_TRUE(counted.Computed());
  data.Modified = false;
  const TPayout* added = &data.Keep(Table(2, 10, 2, 52, 800));
  EXPECT_EQ(added, data.Payouts.back().get());
  EXPECT_EQ(data.Payouts.size(), 6u);
  EXPECT_TRUE(data.Modified);
}

// Cut at every byte: the complete records before the cut are kept, the error names the next.
TEST(DataStore, TruncatedAtEveryOffsetKeepsTheRecordsBeforeIt) {
  const std::vector<uint8_t> image = SampleStore().Image();
  const std::array<size_t, 3> tableEnds = {12 + 508, 12 + 508 + 612, 12 + 508 + 612 + 560};
  for (size_t length = 0; length < image.size(); ++length) {
    TData data;
    const std::vector<uint8_t> cut(image.begin(), image.begin() + static_cast<long>(length));
    const std::string error = ErrorOf<DataFileError>([&] { data.ReadImage(cut); });
    size_t complete = 0;
    for (size_t end : tableEnds) complete += end <= length ? 1 : 0;
    ASSERT_EQ(data.Payouts.size(), complete) << length;
    EXPECT_TRUE(testing::Contains(error, "ends early")) << length;
    if (length >= 12 && complete < 3) {
      EXPECT_TRUE(testing::Contains(error, "record " + std::to_string(complete + 1) + " of 3"));
    }
  }
}

TEST(DataStore, InvalidRecordsAbsurdHeadersAndImpossibleDeals) {
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
    const std::string error = ErrorOf<DataFileError>([&] { data.ReadImage(bad); });
    EXPECT_TRUE(testing::Contains(error, "pay table record 2 of 3"));
    EXPECT_TRUE(testing::Contains(error, damage.names));
    EXPECT_EQ(data.Payouts.size(), 1u);
  }
  std::vector<uint8_t> bad = image;
  bad[second + 40 + 44 + 7] = 0x7F;  // high byte of Counts[0][0] of the second table
  EXPECT_THROW(TData().ReadImage(bad), DataFileError);

  for (size_t field = 0; field < 3; ++field) {
    std::vector<uint8_t> absurd = image;
    for (size_t i = 0; i < 4; ++i) absurd[4 * field + i] = 0xFF;
    const std::string error = ErrorOf<DataFileError>([&] { TData().ReadImage(absurd); });
    EXPECT_TRUE(testing::Contains(error, "more than the file can hold"));
  }
  std::vector<uint8_t> longer = image;
  longer.push_back(0);
  TData withTail;
  EXPECT_THROW(withTail.ReadImage(longer), DataFileError);
  EXPECT_EQ(withTail.Payouts.size(), 3u);
  EXPECT_EQ(withTail.CasinoPayouts.size(), 2u);

  const TCatalogue games = BuildCatalogue();
  TData consistent = SampleStore();
  EXPECT_NO_THROW(TData().ReadImage(consistent.Image(), &games));
  consistent.Payouts[1]->DeckSize = 52;  // Joker Wild has 53 cards
  TData checked;
  EXPECT_THROW(checked.ReadImage(consistent.Image(), &games), DataFileError);
  EXPECT_EQ(checked.Payouts.size(), 1u);

  std::vector<uint8_t> flipped = image;
  flipped[12 + 16 + 4 * 5] ^= 0x10;  // a bit of Deals[5] of the first table
  TData sum;
  EXPECT_TRUE(testing::Contains(ErrorOf<DataFileError>([&] { sum.ReadImage(flipped); }),
                                "the Deals add up to"));
  EXPECT_TRUE(sum.Payouts.empty());
  // A deck of seven cards leaves two after the deal: no deal can draw three.
  TData small;
  auto crafted = Table(40, 0, 1, 7, 5);
  crafted->Deals = {0, 0, 0, 21, 0, 0};
  crafted->Counts = {};
  small.Add(std::move(crafted));
  const std::string drawn = ErrorOf<DataFileError>([&] { TData().ReadImage(small.Image()); });
  EXPECT_TRUE(testing::Contains(drawn, "no deal of 7 cards can draw 3"));
}

// A damaged file is copied aside (numbered copies) before the first save replaces it.
TEST(DataStore, DamagedFileIsKeptBeforeASave) {
  const fs::path folder = TestFolder();
  std::vector<uint8_t> damaged = SampleStore().Image();
  damaged.resize(damaged.size() - 40);  // into the casino records
  WriteBytes(folder / "Tarnwick.dat", damaged);

  const fs::perms ownerOnly = fs::perms::owner_read | fs::perms::owner_write;
  fs::permissions(folder / "Tarnwick.dat", ownerOnly);

  TData data;
  EXPECT_THROW(data.Load(folder), DataFileError);
  EXPECT_EQ(data.Payouts.size(), 3u);
  EXPECT_TRUE(data.Damaged());
  EXPECT_FALSE(data.ReadOnly());
  EXPECT_FALSE(fs::exists(folder / "Tarnwick.dat.bak"));  // loading alone writes nothing
  data.Save(folder);
  EXPECT_EQ(ReadBytes(folder / "Tarnwick.dat.bak"), damaged);
  EXPECT_EQ(fs::status(folder / "Tarnwick.dat.bak").permissions(), ownerOnly);
  EXPECT_EQ(data.Backups(), std::vector<fs::path>{folder / "Tarnwick.dat.bak"});
  data.Save(folder);  // the file is sound now: no second copy
  EXPECT_FALSE(fs::exists(folder / "Tarnwick.dat.bak.1"));

  WriteBytes(folder / "Tarnwick.dat", {1, 2, 3});
  TData again;
  EXPECT_THROW(again.Load(folder), DataFileError);
  again.Save(folder);
  EXPECT_EQ(ReadBytes(folder / "Tarnwick.dat.bak.1"), (std::vector<uint8_t>{1, 2, 3}));
  EXPECT_EQ(ReadBytes(folder / "Tarnwick.dat.bak"), damaged);
  EXPECT_EQ(again.Backups(), std::vector<fs::path>{folder / "Tarnwick.dat.bak.1"});

  // Damaged after this store read it: its tables are not taken for deleted.
  TData whole = SampleStore();
  fs::create_directory(folder / "new");
  whole.Save(folder / "new");
  TData loaded = Loaded(folder / "new");
  WriteBytes(folder / "new" / "Tarnwick.dat", {9, 9, 9});
  loaded.Add(Table(0, 8, 1, 52, 1234));
  loaded.Save(folder / "new");
  TData reread = Loaded(folder / "new");
  EXPECT_EQ(reread.Payouts.size(), 4u);
  EXPECT_EQ(ReadBytes(folder / "new" / "Tarnwick.dat.bak"), (std::vector<uint8_t>{9, 9, 9}));
}

TEST(DataStore, AnInterruptedSaveLeavesTheOldFile) {
  const fs::path folder = TestFolder();
  TData data = SampleStore();
  data.Save(folder);
  const std::vector<uint8_t> old = ReadBytes(folder / "Tarnwick.dat");

  data.Add(Table(0, 8, 1, 52, 900));
  struct TCrash {};
  const std::vector<uint8_t> image = data.Image();
  EXPECT_THROW(WriteFileAtomically(folder / "Tarnwick.dat",
                                   {reinterpret_cast<const char*>(image.data()), image.size()},
                                   kMaxDataFileBytes, [] { throw TCrash{}; }),
               TCrash);
  EXPECT_EQ(ReadBytes(folder / "Tarnwick.dat"), old);
  const auto leftovers = [&] {
    int count = 0;
    for (const auto& entry : fs::directory_iterator(folder))
      count += IsTemporaryNameOf(entry.path().filename().string(), "Tarnwick.dat") ? 1 : 0;
    return count;
  };
  EXPECT_EQ(leftovers(), 1);
  TData reloaded = Loaded(folder);
  EXPECT_EQ(reloaded.Payouts.size(), 3u);

  EXPECT_THROW(data.Save(folder / "no" / "such" / "folder"), DataFileError);
  EXPECT_TRUE(data.Modified);
  data.Save(folder);  // the next save clears what the crash left
  EXPECT_EQ(leftovers(), 0);
  EXPECT_EQ(ReadBytes(folder / "Tarnwick.dat"), image);
}

// A file that cannot be read is never treated as empty nor saved over.
TEST(DataStore, AnUnreadableFileIsNeverWritten) {
  const fs::path folder = TestFolder();
  TData sample = SampleStore();
  sample.Save(folder);
  const std::vector<uint8_t> image = ReadBytes(folder / "Tarnwick.dat");
  fs::create_directories(folder / "closed");
  sample.Save(folder / "closed");
  fs::create_directories(folder / "link");
  fs::create_symlink(folder / "closed" / "Tarnwick.dat", folder / "link" / "Tarnwick.dat");
  fs::permissions(folder / "Tarnwick.dat", fs::perms::none);
  fs::permissions(folder / "closed", fs::perms::none);
  for (const fs::path& place : {folder, folder / "closed", folder / "link"}) {
    SCOPED_TRACE(place);
    EXPECT_EQ(test::AsOrdinaryUser([&]() -> std::string {
                TData store;
                const std::string error = ErrorOf<DataFileError>([&] { store.Load(place); });
                if (error.find("Permission denied") == std::string::npos ||
                    error.find("Tarnwick.dat") == std::string::npos)
                  return "message: " + error;
                if (!store.ReadOnly()) return "not read-only";
                store.Add(Table(0, 8, 1, 52, 700));
                return ErrorOf<DataFileError>([&] { store.Save(place); }) == kNoError ? "saved"
                                                                                      : "";
              }),
              "");
  }
  fs::permissions(folder / "Tarnwick.dat", fs::perms::owner_read | fs::perms::owner_write);
  fs::permissions(folder / "closed", fs::perms::owner_all);
  EXPECT_EQ(ReadBytes(folder / "Tarnwick.dat"), image);
  EXPECT_EQ(ReadBytes(folder / "closed" / "Tarnwick.dat"), image);
  EXPECT_TRUE(fs::is_symlink(folder / "link" / "Tarnwick.dat"));

  // A folder in place of the file, and a (sparse) file far too large, are refused unread.
  fs::remove(folder / "Tarnwick.dat");
  fs::create_directory(folder / "Tarnwick.dat");
  TData folderStore;
  EXPECT_TRUE(testing::Contains(ErrorOf<DataFileError>([&] { folderStore.Load(folder); }),
                                "it is a folder"));
  EXPECT_TRUE(folderStore.ReadOnly());
  fs::remove(folder / "Tarnwick.dat");
  WriteBytes(folder / "Tarnwick.dat", {});
  fs::resize_file(folder / "Tarnwick.dat", 1ull << 30);
  TData huge;
  EXPECT_TRUE(testing::Contains(ErrorOf<DataFileError>([&] { huge.Load(folder); }),
                                "1073741824 bytes, more than the 16777216"));
  EXPECT_THROW(huge.Save(folder), DataFileError);
  EXPECT_EQ(fs::file_size(folder / "Tarnwick.dat"), 1ull << 30);
}

// Links at the temporary or backup names are never written through; one at the file is kept.
TEST(DataStore, LinksAreNeverWrittenThrough) {
  const fs::path folder = TestFolder();
  const fs::path victim = folder / "victim";
  test::WriteText(victim, "precious");
  std::vector<uint8_t> damaged = SampleStore().Image();
  damaged.resize(600);
  WriteBytes(folder / "Tarnwick.dat", damaged);
  for (const char* name :
       {"Tarnwick.dat.tmp", "Tarnwick.dat.tmp-AAAAAA", "Tarnwick.dat.bak", "Tarnwick.dat.bak.1"})
    fs::create_symlink(victim, folder / name);
  fs::create_symlink(folder / "missing", folder / "Tarnwick.dat.tmp-BBBBBB");
  test::WriteText(folder / "Tarnwick.dat.tmp-CCCCCC", "left by a killed save");

  TData data;
  EXPECT_THROW(data.Load(folder), DataFileError);
  data.Add(Table(2, 10, 1, 52, 900));
  data.Save(folder);
  EXPECT_EQ(test::ReadText(victim), "precious");
  EXPECT_FALSE(fs::exists(folder / "missing"));
  EXPECT_EQ(data.Backups(), std::vector<fs::path>{folder / "Tarnwick.dat.bak.2"});
  EXPECT_EQ(ReadBytes(folder / "Tarnwick.dat.bak.2"), damaged);
  EXPECT_TRUE(fs::is_symlink(folder / "Tarnwick.dat.tmp-AAAAAA"));  // only regular files go
  EXPECT_FALSE(fs::exists(folder / "Tarnwick.dat.tmp-CCCCCC"));
  EXPECT_EQ(data.Payouts.size(), 2u);

  fs::create_directories(folder / "sync");
  fs::rename(folder / "Tarnwick.dat", folder / "sync" / "Tarnwick.dat");
  fs::create_symlink("sync/Tarnwick.dat", folder / "Tarnwick.dat");
  TData linked = Loaded(folder);
  linked.Add(Table(13, 8, 1, 52, 800));
  linked.Save(folder);
  EXPECT_TRUE(fs::is_symlink(folder / "Tarnwick.dat"));
  TData synced = Loaded(folder / "sync");
  EXPECT_EQ(synced.Payouts.size(), 3u);

  // A dangling link is not followed into a new file.
  fs::remove(folder / "sync" / "Tarnwick.dat");
  TData dangling;
  EXPECT_THROW(dangling.Load(folder), DataFileError);
  EXPECT_TRUE(dangling.ReadOnly());
  EXPECT_THROW(dangling.Save(folder), DataFileError);
  EXPECT_FALSE(fs::exists(folder / "sync" / "Tarnwick.dat"));
}

// Another user's link at a file's name is neither read nor written through; the running
// user's and the superuser's are followed.
TEST(DataStore, AnotherUsersLinkIsNeitherReadNorWritten) {
  const passwd* nobody = ::getpwnam("nobody");
  if (nobody == nullptr) GTEST_SKIP() << "there is no user nobody to own the link";
  if (::geteuid() != 0) GTEST_SKIP() << "only the superuser gives a link to another user";
  const fs::path folder = TestFolder();
  fs::create_directories(folder / "private");
  const fs::path victim = folder / "private" / "victim";
  test::WriteText(victim, "precious");
  fs::permissions(victim, fs::perms::owner_read | fs::perms::owner_write);
  fs::create_directories(folder / "shared");
  const fs::path link = folder / "shared" / "Tarnwick.dat";
  fs::create_symlink(victim, link);
  ASSERT_EQ(::lchown(link.c_str(), nobody->pw_uid, nobody->pw_gid), 0);

  const std::string refused = "is a link owned by another user (uid " +
                              std::to_string(nobody->pw_uid) + "), which is not followed";
  TData store;
  EXPECT_TRUE(
      testing::Contains(ErrorOf<DataFileError>([&] { store.Load(folder / "shared"); }), refused));
  EXPECT_TRUE(store.ReadOnly());
  store.Add(Table(0, 8, 1, 52, 800));
  EXPECT_THROW(store.Save(folder / "shared"), DataFileError);
  EXPECT_TRUE(testing::Contains(ErrorOf<DataFileError>([&] { SaveTarget(link); }), refused));
  EXPECT_TRUE(testing::Contains(
      ErrorOf<DataFileError>([&] { WriteFileAtomically(link, "x", kUnreadFile); }), refused));
  EXPECT_EQ(test::ReadText(victim), "precious");
  std::vector<fs::path> left;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) left.push_back(entry.path());
  std::sort(left.begin(), left.end());
  EXPECT_EQ(left, (std::vector<fs::path>{folder / "private", victim, folder / "shared", link}));

  fs::create_symlink(folder / "shared" / "Tarnwick.dat", folder / "own");
  fs::permissions(victim, fs::perms::all);
  const fs::path rootLink = folder / "root's";
  fs::create_symlink(victim, rootLink);
  EXPECT_EQ(test::AsOrdinaryUser([&]() -> std::string {
              const auto text = ReadFileIfPresent(rootLink, 100);
              if (text != "precious") return "not read through the superuser's link";
              return SaveTarget(folder / "own") == victim ? "" : "not followed to the victim";
            }),
            "");
}

// A save gives up with its own error while another program holds the lock; nothing changes.
TEST(DataStore, ALockHeldElsewhereStopsTheSaveWithAClearError) {
  const fs::path folder = TestFolder();
  TData data = SampleStore();
  data.Save(folder);
  const std::vector<uint8_t> before = ReadBytes(folder / "Tarnwick.dat");
  const int held = ::open((folder / "Tarnwick.dat.lock").c_str(), O_RDONLY | O_CLOEXEC);
  ASSERT_GE(held, 0);
  ASSERT_EQ(::flock(held, LOCK_EX), 0);
  const std::chrono::milliseconds wait = LockWait();
  SetLockWait(std::chrono::milliseconds(0));
  data.Add(Table(0, 8, 1, 52, 900));
  const std::string error = ErrorOf<FileBusyError>([&] { data.Save(folder); });
  SetLockWait(wait);
  EXPECT_TRUE(testing::Contains(
      error, "Another program is saving \"" + (folder / "Tarnwick.dat").string() + "\""));
  EXPECT_TRUE(data.Modified);
  EXPECT_EQ(ReadBytes(folder / "Tarnwick.dat"), before);
  ::close(held);
  data.Save(folder);
  TData reread = Loaded(folder);
  EXPECT_EQ(reread.Payouts.size(), 4u);
}

// A file is never written larger than its reader takes.
TEST(DataStore, NothingIsWrittenThatItsReaderRefuses) {
  const fs::path folder = TestFolder();
  TData huge;
  const size_t record = 508;  // the record of a 9-category pay table
  for (size_t i = 0; i <= kMaxDataFileBytes / record; ++i)
    huge.Add(Table(0, 8, 1, 52, static_cast<int32_t>(1000 + i)));
  const std::string error = ErrorOf<DataFileError>([&] { huge.Save(folder); });
  EXPECT_TRUE(testing::Contains(error, "more than the " + std::to_string(kMaxDataFileBytes) +
                                           " such a file may have; it is unchanged"));
  EXPECT_FALSE(fs::exists(folder / "Tarnwick.dat"));
  EXPECT_TRUE(huge.Modified);

  const fs::path file = folder / "small";
  test::WriteText(file, "old");
  EXPECT_THROW(WriteFileAtomically(file, "12345", 4), DataFileError);
  EXPECT_EQ(test::ReadText(file), "old");
  WriteFileAtomically(file, "1234", 4);
  EXPECT_EQ(test::ReadText(file), "1234");
}

// A backup copy that cannot be written whole (a file size limit) leaves nothing behind.
TEST(DataStore, ACopyThatCannotBeCompletedIsRemoved) {
  const fs::path folder = TestFolder();
  std::vector<uint8_t> damaged = SampleStore().Image();
  damaged.resize(damaged.size() - 1);
  WriteBytes(folder / "Tarnwick.dat", damaged);
  const std::string report = test::InChild(
      [&]() -> std::string {
        TData data;
        ErrorOf<DataFileError>([&] { data.Load(folder); });
        const std::string error = ErrorOf<DataFileError>([&] { data.Save(folder); });
        return error.find("File too large") == std::string::npos ? "message: " + error : "";
      },
      [] {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{1000, 1000};
        ::setrlimit(RLIMIT_FSIZE, &limit);
      });
  EXPECT_EQ(report, "");
  EXPECT_EQ(ReadBytes(folder / "Tarnwick.dat"), damaged);
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"Tarnwick.dat", "Tarnwick.dat.lock"}));
}

// Two programs that loaded the same file: neither loses the other's changes.
TEST(DataStore, SavesMergeWhatOthersStored) {
  const fs::path folder = TestFolder();
  TData initial;
  for (int32_t pay : {800, 900, 1000}) initial.Add(Table(0, 8, 1, 52, pay));
  initial.Save(folder);
  TData first = Loaded(folder);
  TData second = Loaded(folder);
  first.Add(Table(0, 8, 1, 52, 1100));
  first.Delete(first.Payouts[0].get());  // 800
  second.Add(Table(0, 8, 1, 52, 1200));
  second.Payouts[1]->Pays[0] = 950;  // 900 edited into 950
  second.Modified = true;
  first.Save(folder);
  second.Save(folder);
  TData merged = Loaded(folder);
  EXPECT_EQ(FirstPays(merged, true), (std::vector<int32_t>{950, 1000, 1100, 1200}));
  EXPECT_EQ(FirstPays(second, true), FirstPays(merged, true));  // the store holds what it saved
  for (size_t i = 0; i < merged.Payouts.size(); ++i)
    EXPECT_EQ(merged.Payouts[i]->Index, static_cast<int32_t>(i));

  first.Add(Table(0, 8, 1, 52, 1300));
  first.Save(folder);
  TData last = Loaded(folder);
  EXPECT_EQ(FirstPays(last, true), (std::vector<int32_t>{950, 1000, 1100, 1200, 1300}));
}

// Undo brings back the store of BeginUndo as the same objects; a later save merges.
TEST(DataStore, UndoBringsBackTheStoreOfItsBeginning) {
  const fs::path folder = TestFolder();
  TData initial;
  for (int32_t pay : {800, 900, 1000}) initial.Add(Table(0, 8, 1, 52, pay));
  initial.Save(folder);
  TData data = Loaded(folder);
  std::vector<const TPayout*> objects;
  for (const auto& table : data.Payouts) objects.push_back(table.get());
  data.BeginUndo();
  data.Delete(objects[0]);
  data.Payouts[0]->Pays[0] = 950;
  data.Add(Table(0, 8, 1, 52, 1100));
  data.Undo();
  EXPECT_FALSE(data.Modified);
  EXPECT_EQ(FirstPays(data), (std::vector<int32_t>{800, 900, 1000}));
  for (size_t i = 0; i < objects.size(); ++i) {
    EXPECT_EQ(data.Payouts[i].get(), objects[i]);
    EXPECT_EQ(data.Payouts[i]->Index, static_cast<int32_t>(i));
  }
  TData other = Loaded(folder);
  other.Delete(other.Payouts[0].get());
  other.Save(folder);
  data.Save(folder);
  EXPECT_EQ(FirstPays(data), (std::vector<int32_t>{900, 1000}));
  data.BeginUndo();
  data.Delete(data.Payouts[0].get());
  data.KeepChanges();
  data.Undo();
  EXPECT_EQ(FirstPays(data), std::vector<int32_t>{1000});
}

// Eight processes store a table each at once, twenty times over: every table arrives.
TEST(DataStore, ConcurrentSavesLoseNothing) {
  const fs::path folder = TestFolder();
  constexpr int kWriters = 8;
  constexpr int kRounds = 20;
  for (int round = 0; round < kRounds; ++round) {
    std::vector<pid_t> children;
    for (int writer = 0; writer < kWriters; ++writer) {
      const pid_t child = ::fork();
      ASSERT_GE(child, 0);
      if (child == 0) {
        try {
          TData store = Loaded(folder);
          store.Add(Table(0, 8, 1, 52, 1000 + round * kWriters + writer));
          store.Save(folder);
          _exit(0);
        } catch (...) {
          _exit(1);
        }
      }
      children.push_back(child);
    }
    for (pid_t child : children) {
      int status = 0;
      ::waitpid(child, &status, 0);
      EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "round " << round;
    }
    TData store;
    ASSERT_NO_THROW(store.Load(folder)) << "round " << round;
    ASSERT_EQ(store.Payouts.size(), static_cast<size_t>((round + 1) * kWriters));
  }
}

}  // namespace
}  // namespace tarnwick
