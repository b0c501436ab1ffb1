// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The store of all pay tables of all games and its data file "Tarnwick.dat": little-endian,
// a header of three record counts, then the pay tables, the casino records and the
// casino/pay-table records. The layout is shared with every other copy of the program, so
// it never changes. The file is the user's only copy of their pay tables: a save replaces
// it atomically, a damaged file is copied aside before it is ever overwritten, and a file
// that cannot be read is never written.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "engine/games.h"
#include "engine/payout.h"

namespace tarnwick {

inline constexpr char kDataFileName[] = "Tarnwick.dat";

// Kept and written back unchanged; the program does not use its texts.
class TCasino {
 public:
  int32_t Index = 0;  // position in the file; not written
  std::string Name;
  std::string Details;
};

// Kept and written back unchanged.
class TCasinoAndPayout {
 public:
  int32_t First = -1;
  int32_t Second = -1;
  int32_t Third = 0;
};

// The largest data file that is read: a real store of every table of every game is far below
// 1 MB (a pay table record has at most 872 bytes), so anything larger is not a data file.
inline constexpr uint64_t kMaxDataFileBytes = 16u << 20;

// The pay tables of the data file. Several programs may work on the same file at once (two
// desktop programs, the command-line tool beside one): a save therefore reads the file
// back under a lock and merges, applying this store's additions, edits and deletions since
// it was loaded to the tables on disk by identity (game, coin basis and pays), so that no
// table another program stored is lost.
class TData {
 public:
  std::vector<std::unique_ptr<TPayout>> Payouts;
  std::vector<std::unique_ptr<TCasino>> Casinos;
  std::vector<std::unique_ptr<TCasinoAndPayout>> CasinoPayouts;
  bool Modified = false;

  // Reads "Tarnwick.dat" of the folder; a missing file leaves the store empty. A damaged
  // file keeps the records read before the damage and raises a DataFileError that names
  // the failed record (the file is copied aside before a save replaces it). A file that is
  // there but cannot be read (no permission, not a regular file, too large) raises a
  // DataFileError with the system's reason and makes the store read-only: it is never
  // written. With a catalogue, a table of a known game must have that game's categories
  // and deck.
  void Load(const std::filesystem::path& folder, const TCatalogue* games = nullptr);
  // Merges the store into the folder's "Tarnwick.dat" (see the class comment) and replaces
  // the file atomically; the store then holds the merged tables, so tables deleted by
  // another program are freed (rebuild any list of pointers into Payouts). A file that
  // turned out damaged is first copied aside (see Backups). Raises a DataFileError when the
  // store is read-only, the file cannot be read back or written, or it would grow past
  // kMaxDataFileBytes (Load would refuse it); a FileBusyError when another program's save
  // held the file's lock too long. The file is then unchanged.
  void Save(const std::filesystem::path& folder);
  // The file image Save writes.
  std::vector<uint8_t> Image() const;
  // Reads a file image; what Load does after reading the file.
  void ReadImage(std::span<const uint8_t> image, const TCatalogue* games = nullptr);

  // Appends the table (the store owns it) and returns it.
  TPayout& Add(std::unique_ptr<TPayout> table);
  // Keeps a computed table: the store takes it, unless it holds an equal one (FindSame);
  // an equal one without counts gets the table's counts, one with counts stays as it is.
  // Returns the stored table.
  TPayout& Keep(std::unique_ptr<TPayout> computed);
  // Removes the table when the store holds it.
  void Delete(const TPayout* table);
  // Remembers the store as it is now, so that Undo brings it back: the tables, their order
  // and contents, Modified, and what was last saved. Until Undo or KeepChanges the tables
  // deleted are kept aside (not freed), so a pointer taken now stays valid after Undo; a
  // save in between keeps the changes before it.
  void BeginUndo();
  // Brings back the store as it was at BeginUndo: tables added since are freed, tables
  // deleted or changed since are back (as the same objects). Without BeginUndo, nothing.
  void Undo();
  // Keeps the changes since BeginUndo and frees the tables deleted since.
  void KeepChanges();
  // The tables of a game for which `coins` is a multiple of the coin basis, in store order.
  std::vector<TPayout*> TablesFor(int gameId, int coins) const;
  // The stored table with the same game, categories, coin basis and pays, or null.
  TPayout* FindSame(const TPayout& table) const;

  // Why the file could not be read (empty when it could, or was missing): such a store is
  // never written, so nothing added to it can overwrite the user's file.
  const std::string& ReadOnlyReason() const { return readOnlyReason_; }
  bool ReadOnly() const { return !readOnlyReason_.empty(); }
  // The last Load found the file damaged (its readable records were kept).
  bool Damaged() const { return damaged_; }
  // The copies of damaged files the saves of this store made, oldest first.
  const std::vector<std::filesystem::path>& Backups() const { return backups_; }

 private:
  void Renumber();
  // Remembers the tables as they are now as the state on disk.
  void MarkSaved();
  // Applies this store's changes since MarkSaved to the tables read from the file (`whole`:
  // read without damage).
  void MergeInto(TData& disk, bool whole);

  const TCatalogue* games_ = nullptr;
  std::string readOnlyReason_;
  bool damaged_ = false;
  std::vector<std::filesystem::path> backups_;
  // The identity of every table at the last load or save, and which table object had it.
  std::vector<TPayout> savedTables_;
  std::vector<std::pair<const TPayout*, size_t>> savedObjects_;
  // The store at BeginUndo, and the tables deleted since.
  struct TUndo {
    std::vector<std::pair<TPayout*, TPayout>> Tables;
    bool Modified = false;
    std::vector<std::pair<const TPayout*, size_t>> SavedObjects;
    std::vector<std::unique_ptr<TPayout>> Deleted;
  };
  std::unique_ptr<TUndo> undo_;
};

}  // namespace tarnwick
