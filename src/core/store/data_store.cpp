// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/data_store.h"

#include <algorithm>

#include "errors.h"
#include "store/byte_io.h"
#include "store/payout_record.h"
#include "store/safe_files.h"

namespace tarnwick {

namespace {

// Smallest possible records: a pay table with one category, a casino with two empty
// texts, a casino/pay-table record.
constexpr uint64_t kMinPayoutRecord = 40 + 52;
constexpr uint64_t kMinCasinoRecord = 8;
constexpr uint64_t kCasinoPayoutRecord = 12;

}  // namespace

void TData::Renumber() {
  for (size_t i = 0; i < Payouts.size(); ++i) Payouts[i]->Index = static_cast<int32_t>(i);
}

TPayout& TData::Add(std::unique_ptr<TPayout> table) {
  table->Index = static_cast<int32_t>(Payouts.size());
  Payouts.push_back(std::move(table));
  Modified = true;
  return *Payouts.back();
}

TPayout& TData::Keep(std::unique_ptr<TPayout> computed) {
  TPayout* equal = FindSame(*computed);
  if (equal == nullptr) return Add(std::move(computed));
  if (!equal->Computed()) {
    equal->Assign(*computed);
    Modified = true;
  }
  return *equal;
}

void TData::Delete(const TPayout* table) {
  const auto it = std::find_if(Payouts.begin(), Payouts.end(),
                               [&](const auto& stored) { return stored.get() == table; });
  if (it == Payouts.end()) return;
  std::erase_if(savedObjects_, [&](const auto& saved) { return saved.first == table; });
  if (undo_) undo_->Deleted.push_back(std::move(*it));
  Payouts.erase(it);
  Renumber();
  Modified = true;
}

void TData::BeginUndo() {
  undo_ = std::make_unique<TUndo>();
  for (const auto& table : Payouts) undo_->Tables.emplace_back(table.get(), *table);
  undo_->Modified = Modified;
  undo_->SavedObjects = savedObjects_;
}

void TData::Undo() {
  if (!undo_) return;
  // Every table of BeginUndo is still in Payouts or among the deleted ones.
  const auto take = [&](std::vector<std::unique_ptr<TPayout>>& from, const TPayout* table) {
    const auto it = std::find_if(from.begin(), from.end(),
                                 [&](const auto& owned) { return owned.get() == table; });
    if (it == from.end()) return std::unique_ptr<TPayout>();
    std::unique_ptr<TPayout> owned = std::move(*it);
    from.erase(it);
    return owned;
  };
  std::vector<std::unique_ptr<TPayout>> restored;
  for (auto& [object, contents] : undo_->Tables) {
    std::unique_ptr<TPayout> owned = take(Payouts, object);
    if (!owned) owned = take(undo_->Deleted, object);
    if (!owned) continue;
    owned->Assign(contents);
    restored.push_back(std::move(owned));
  }
  Payouts = std::move(restored);  // frees the tables added since
  Renumber();
  Modified = undo_->Modified;
  savedObjects_ = std::move(undo_->SavedObjects);
  undo_.reset();
}

void TData::KeepChanges() {
  undo_.reset();
}

TPayout* TData::FindSame(const TPayout& table) const {
  for (const auto& stored : Payouts) {
    if (stored->SameAs(table)) return stored.get();
  }
  return nullptr;
}

std::vector<TPayout*> TData::TablesFor(int gameId, int coins) const {
  std::vector<TPayout*> tables;
  for (const auto& table : Payouts) {
    if (table->GameId == gameId && table->CoinBasis > 0 && coins % table->CoinBasis == 0) {
      tables.push_back(table.get());
    }
  }
  return tables;
}

std::vector<uint8_t> TData::Image() const {
  std::vector<uint8_t> out;
  WriteUInt32(out, static_cast<uint32_t>(Payouts.size()));
  WriteUInt32(out, static_cast<uint32_t>(Casinos.size()));
  WriteUInt32(out, static_cast<uint32_t>(CasinoPayouts.size()));
  for (const auto& table : Payouts) WritePayoutRecord(*table, out);
  for (const auto& casino : Casinos) {
    for (const std::string* text : {&casino->Name, &casino->Details}) {
      WriteUInt32(out, static_cast<uint32_t>(text->size()));
      out.insert(out.end(), text->begin(), text->end());
    }
  }
  for (const auto& link : CasinoPayouts) {
    WriteInt32(out, link->First);
    WriteInt32(out, link->Second);
    WriteInt32(out, link->Third);
  }
  return out;
}

void TData::ReadImage(std::span<const uint8_t> image, const TCatalogue* games) {
  Payouts.clear();
  Casinos.clear();
  CasinoPayouts.clear();
  TByteReader reader(image.data(), image.size());
  std::string where = "the header";
  std::string headerProblem;
  try {
    const uint32_t payouts = reader.ReadUInt32();
    const uint32_t casinos = reader.ReadUInt32();
    const uint32_t links = reader.ReadUInt32();
    // Records are read one by one as the bytes allow, nothing is reserved from a count,
    // so a header that counts more records than the file can hold keeps what is there.
    const uint64_t least =
        payouts * kMinPayoutRecord + casinos * kMinCasinoRecord + links * kCasinoPayoutRecord;
    if (least > reader.Remaining()) {
      headerProblem = " (the header counts " + std::to_string(payouts) + " pay tables, " +
                      std::to_string(casinos) + " casinos and " + std::to_string(links) +
                      " casino/pay-table records, more than the file can hold)";
    }
    for (uint32_t i = 0; i < payouts; ++i) {
      where = "pay table record " + std::to_string(i + 1) + " of " + std::to_string(payouts);
      auto table = std::make_unique<TPayout>(ReadPayoutRecord(reader));
      if (games != nullptr) {
        if (const TPokerDescription* game = FindGame(*games, table->GameId)) {
          if (table->LastCategory != game->LastCategory || table->DeckSize != game->DeckSize()) {
            throw DataFileError(
                game->Name + " has categories 0.." + std::to_string(game->LastCategory) + " and " +
                std::to_string(game->DeckSize()) + " cards, the record " +
                std::to_string(table->LastCategory) + " and " + std::to_string(table->DeckSize));
          }
        }
      }
      table->Index = static_cast<int32_t>(i);
      Payouts.push_back(std::move(table));
    }
    for (uint32_t i = 0; i < casinos; ++i) {
      where = "casino record " + std::to_string(i + 1) + " of " + std::to_string(casinos);
      auto casino = std::make_unique<TCasino>();
      casino->Index = static_cast<int32_t>(i);
      casino->Name = reader.ReadBytes(reader.ReadUInt32());
      casino->Details = reader.ReadBytes(reader.ReadUInt32());
      Casinos.push_back(std::move(casino));
    }
    for (uint32_t i = 0; i < links; ++i) {
      where = "casino/pay-table record " + std::to_string(i + 1) + " of " + std::to_string(links);
      auto link = std::make_unique<TCasinoAndPayout>();
      link->First = reader.ReadInt32();
      link->Second = reader.ReadInt32();
      link->Third = reader.ReadInt32();
      CasinoPayouts.push_back(std::move(link));
    }
    if (reader.Remaining() != 0) {
      where = "the end of the file";
      throw DataFileError(std::to_string(reader.Remaining()) + " bytes follow the last record");
    }
  } catch (const DataFileError& e) {
    throw DataFileError(std::string(kDataFileName) + ": " + where + " is damaged: " + e.Message() +
                        headerProblem + ". The " + std::to_string(Payouts.size()) +
                        " pay tables read before it are kept.");
  }
}

void TData::Load(const std::filesystem::path& folder, const TCatalogue* games) {
  const std::filesystem::path path = folder / kDataFileName;
  games_ = games;
  damaged_ = false;
  std::optional<std::string> bytes;
  try {
    bytes = ReadFileIfPresent(path, kMaxDataFileBytes);
  } catch (const DataFileError& e) {
    // The file is there but unreadable: an empty store saved over it would lose every table.
    readOnlyReason_ = e.Message();
    throw DataFileError(e.Message() + "; the pay tables are not saved, so the file stays as it is");
  }
  readOnlyReason_.clear();
  if (!bytes) {
    Payouts.clear();
    Casinos.clear();
    CasinoPayouts.clear();
    MarkSaved();
    return;
  }
  try {
    ReadImage({reinterpret_cast<const uint8_t*>(bytes->data()), bytes->size()}, games);
  } catch (const DataFileError&) {
    // The unread records stay in the file only: it is copied aside before a save replaces it.
    damaged_ = true;
    MarkSaved();
    throw;
  }
  MarkSaved();
}

void TData::MarkSaved() {
  savedTables_.clear();
  savedObjects_.clear();
  for (const auto& table : Payouts) {
    savedObjects_.emplace_back(table.get(), savedTables_.size());
    savedTables_.push_back(*table);
  }
}

void TData::MergeInto(TData& disk, bool diskWhole) {
  const auto onDisk = [&](const TPayout& table) { return disk.FindSame(table) != nullptr; };
  const auto savedBefore = [&](const TPayout& table) {
    return std::any_of(savedTables_.begin(), savedTables_.end(),
                       [&](const TPayout& saved) { return saved.SameAs(table); });
  };
  std::vector<std::unique_ptr<TPayout>> merged;
  for (auto& table : Payouts) {
    const auto saved = std::find_if(savedObjects_.begin(), savedObjects_.end(),
                                    [&](const auto& entry) { return entry.first == table.get(); });
    const bool unchanged =
        saved != savedObjects_.end() && savedTables_[saved->second].SameAs(*table);
    // A table this store neither added nor edited that is gone from a file read whole was
    // deleted (or edited) by another program; from a damaged file it may just be unread.
    if (unchanged && diskWhole && !onDisk(*table)) continue;
    // The same table computed elsewhere lends its counts to one not computed here.
    if (!table->Computed()) {
      if (const TPayout* computed = disk.FindSame(*table); computed && computed->Computed())
        table->Assign(*computed);
    }
    merged.push_back(std::move(table));
  }
  for (auto& table : disk.Payouts) {
    // Tables known at the last load or save were kept above, or deleted or edited here.
    if (savedBefore(*table)) continue;
    const bool here = std::any_of(merged.begin(), merged.end(),
                                  [&](const auto& kept) { return kept->SameAs(*table); });
    if (!here) merged.push_back(std::move(table));  // added by another program
  }
  Payouts = std::move(merged);
  Renumber();
  // Nothing here changes the casino records: the file's own are kept.
  Casinos = std::move(disk.Casinos);
  CasinoPayouts = std::move(disk.CasinoPayouts);
}

void TData::Save(const std::filesystem::path& folder) {
  const std::filesystem::path path = folder / kDataFileName;
  if (ReadOnly()) throw DataFileError(readOnlyReason_ + "; the pay tables are not saved");
  const std::filesystem::path target = SaveTarget(path);
  const TFileLock lock(target);
  // Read back under the lock what the other programs saved since this store was loaded.
  const std::optional<std::string> bytes = ReadFileIfPresent(target, kMaxDataFileBytes);
  if (bytes) {
    TData disk;
    bool whole = true;
    try {
      disk.ReadImage({reinterpret_cast<const uint8_t*>(bytes->data()), bytes->size()}, games_);
    } catch (const DataFileError&) {
      // What follows the damage exists only in the file: keep a copy before replacing it.
      backups_.push_back(KeepCopy(target, *bytes));
      whole = false;
    }
    MergeInto(disk, whole);
  }
  // The merge may have replaced the tables BeginUndo remembered.
  KeepChanges();
  RemoveStaleTemporaries(target);
  const std::vector<uint8_t> image = Image();
  WriteFileAtomically(target, {reinterpret_cast<const char*>(image.data()), image.size()},
                      kMaxDataFileBytes);
  Modified = false;
  MarkSaved();
}

}  // namespace tarnwick
