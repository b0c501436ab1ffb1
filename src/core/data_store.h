// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The store of all pay tables of all games and its data file "Tarnwick.dat": little-endian,
// a header of three record counts, then the pay tables, the casino records and the
// casino/pay-table records. The layout is shared with every other copy of the program, so
// it never changes. The file is the user's only copy of their pay tables: a save replaces
// it atomically, and a damaged file is copied aside before it is ever overwritten.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "games.h"
#include "payout.h"

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

// Compares two tables for sorting: negative, 0 or positive as a sorts before, with or
// after b. Key 1 compares the pays per coin, 2 and 3 the return, 4 the variance, 5 the
// standard deviation, 6 to 8 the win, push and loss chances; a negative key reverses the
// order; 0 and other keys find all tables equal.
int CompareTables(const TPayout& a, int key, const TPayout& b);

class TData {
 public:
  std::vector<std::unique_ptr<TPayout>> Payouts;
  std::vector<std::unique_ptr<TCasino>> Casinos;
  std::vector<std::unique_ptr<TCasinoAndPayout>> CasinoPayouts;
  bool Modified = false;

  // Reads "Tarnwick.dat" of the folder; a missing file leaves the store empty. A damaged
  // file keeps the records read before the damage, marks the file to be copied aside
  // before the next save, and raises a DataFileError that names the failed record. With a
  // catalogue, a table of a known game must have that game's categories and deck.
  void Load(const std::filesystem::path& folder, const TCatalogue* games = nullptr);
  // Writes the store to the folder's "Tarnwick.dat" through a temporary file that is
  // flushed to disk and renamed over it; raises a DataFileError when that fails.
  void Save(const std::filesystem::path& folder);
  // The file image Save writes.
  std::vector<uint8_t> Image() const;
  // Reads a file image; what Load does after reading the file.
  void ReadImage(const std::vector<uint8_t>& image, const TCatalogue* games = nullptr);

  // Appends the table (the store owns it) and returns it.
  TPayout& Add(std::unique_ptr<TPayout> table);
  // Removes the table when the store holds it.
  void Delete(const TPayout* table);
  // The tables of a game for which `coins` is a multiple of the coin basis, in store order.
  std::vector<TPayout*> TablesFor(int gameId, int coins) const;

  // Path of a damaged file still to be copied aside before the next save (empty: none).
  const std::filesystem::path& PendingBackup() const { return pendingBackup_; }

 private:
  void Renumber();
  std::filesystem::path pendingBackup_;
};

// Writes bytes to `path` through a temporary file in the same folder that is flushed and
// renamed over it, so that `path` holds either its old or its new contents, never a part.
// `beforeRename` runs after the temporary file is complete (tests simulate a crash there).
void WriteFileAtomically(const std::filesystem::path& path, const std::vector<uint8_t>& bytes,
                         const std::function<void()>& beforeRename = {});

// Copies a file aside as "<name>.bak", or "<name>.bak.1", ".bak.2", ... when that exists;
// returns the copy's path.
std::filesystem::path BackUpFile(const std::filesystem::path& path);

}  // namespace tarnwick
