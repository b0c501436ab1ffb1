// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "data_store.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>

#include "byte_io.h"
#include "errors.h"

namespace tarnwick {

namespace {

// Smallest possible records: a pay table with one category, a casino with two empty
// texts, a casino/pay-table record.
constexpr uint64_t kMinPayoutRecord = 40 + 52;
constexpr uint64_t kMinCasinoRecord = 8;
constexpr uint64_t kCasinoPayoutRecord = 12;

template <class T>
int Sign(T value) {
  return (value > 0) - (value < 0);
}

std::string SystemError(const std::string& what, const std::filesystem::path& path) {
  return what + " \"" + path.string() + "\": " + std::strerror(errno);
}

}  // namespace

int CompareTables(const TPayout& a, int key, const TPayout& b) {
  int result = 0;
  switch (key < 0 ? -key : key) {
    case 1:
      // Pays per coin; the sign of the first difference decides (the difference itself
      // may not fit the result).
      for (int c = 0; c <= a.LastCategory && result == 0; ++c) {
        result = Sign(static_cast<int64_t>(a.Pays[c]) * b.CoinBasis -
                      static_cast<int64_t>(b.Pays[c]) * a.CoinBasis);
      }
      break;
    case 2:
    case 3:
      result = Sign(a.Return - b.Return);
      break;
    case 4:
      result = Sign(a.Variance() - b.Variance());
      break;
    case 5:
      result = Sign(a.StdDev() - b.StdDev());
      break;
    case 6:
      result = Sign(a.WinChance - b.WinChance);
      break;
    case 7:
      result = Sign(a.PushChance - b.PushChance);
      break;
    case 8:
      result = Sign(a.LossChance - b.LossChance);
      break;
    default:
      break;
  }
  return key < 0 ? -result : result;
}

void TData::Renumber() {
  for (size_t i = 0; i < Payouts.size(); ++i) Payouts[i]->Index = static_cast<int32_t>(i);
}

TPayout& TData::Add(std::unique_ptr<TPayout> table) {
  table->Index = static_cast<int32_t>(Payouts.size());
  Payouts.push_back(std::move(table));
  Modified = true;
  return *Payouts.back();
}

void TData::Delete(const TPayout* table) {
  const auto it = std::find_if(Payouts.begin(), Payouts.end(),
                               [&](const auto& stored) { return stored.get() == table; });
  if (it == Payouts.end()) return;
  Payouts.erase(it);
  Renumber();
  Modified = true;
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
  for (const auto& table : Payouts) table->WriteTo(out);
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

void TData::ReadImage(const std::vector<uint8_t>& image, const TCatalogue* games) {
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
      auto table = std::make_unique<TPayout>();
      table->ReadFrom(reader);
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
  std::error_code error;
  if (!std::filesystem::exists(path, error)) return;
  std::ifstream in(path, std::ios::binary);
  if (!in) throw DataFileError(SystemError("Cannot open", path));
  const std::vector<uint8_t> image((std::istreambuf_iterator<char>(in)),
                                   std::istreambuf_iterator<char>());
  if (in.bad()) throw DataFileError(SystemError("Cannot read", path));
  try {
    ReadImage(image, games);
  } catch (const DataFileError&) {
    // Unread records stay in the file only: it is copied aside before anything replaces it.
    pendingBackup_ = path;
    throw;
  }
}

void TData::Save(const std::filesystem::path& folder) {
  const std::filesystem::path path = folder / kDataFileName;
  if (!pendingBackup_.empty()) {
    std::error_code error;
    if (std::filesystem::exists(pendingBackup_, error)) BackUpFile(pendingBackup_);
    pendingBackup_.clear();
  }
  WriteFileAtomically(path, Image());
  Modified = false;
}

std::filesystem::path BackUpFile(const std::filesystem::path& path) {
  std::filesystem::path backup = path;
  backup += ".bak";
  for (int n = 1; std::filesystem::exists(backup); ++n) {
    backup = path;
    backup += ".bak." + std::to_string(n);
  }
  std::error_code error;
  if (!std::filesystem::copy_file(path, backup, error)) {
    throw DataFileError("Cannot keep a copy of the damaged \"" + path.string() + "\" as \"" +
                        backup.string() + "\": " + error.message());
  }
  return backup;
}

void WriteFileAtomically(const std::filesystem::path& path, const std::vector<uint8_t>& bytes,
                         const std::function<void()>& beforeRename) {
  std::filesystem::path temporary = path;
  temporary += ".tmp";
  const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) throw DataFileError(SystemError("Cannot create", temporary));
  const auto fail = [&](const std::string& what) {
    const std::string message = SystemError(what, temporary);
    ::close(fd);
    ::unlink(temporary.c_str());
    throw DataFileError(message + "; \"" + path.string() + "\" is unchanged");
  };
  size_t written = 0;
  while (written < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) fail("Cannot write");
    written += static_cast<size_t>(n);
  }
  if (::fsync(fd) != 0) fail("Cannot flush");
  if (::close(fd) != 0) {
    const std::string message = SystemError("Cannot close", temporary);
    ::unlink(temporary.c_str());
    throw DataFileError(message + "; \"" + path.string() + "\" is unchanged");
  }
  if (beforeRename) beforeRename();
  if (::rename(temporary.c_str(), path.c_str()) != 0) {
    const std::string message = SystemError("Cannot replace", path);
    ::unlink(temporary.c_str());
    throw DataFileError(message + " (it is unchanged)");
  }
  // Make the rename itself durable.
  std::filesystem::path folder = path.parent_path();
  if (folder.empty()) folder = ".";
  const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
}

}  // namespace tarnwick
