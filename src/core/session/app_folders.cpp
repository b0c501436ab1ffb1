// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/app_folders.h"

#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "errors.h"
#include "session/ini_file.h"
#include "store/data_store.h"
#include "store/safe_files.h"

namespace tarnwick {

namespace {

namespace fs = std::filesystem;

// The user's home folder: HOME, else the password database's entry of the running user.
std::filesystem::path HomeFolder() {
  const char* home = std::getenv("HOME");
  if (home != nullptr && *home == '/') return home;
  std::vector<char> buffer(16384);
  passwd entry{};
  passwd* found = nullptr;
  if (::getpwuid_r(::geteuid(), &entry, buffer.data(), buffer.size(), &found) == 0 &&
      found != nullptr && found->pw_dir != nullptr && found->pw_dir[0] == '/') {
    return found->pw_dir;
  }
  // A folder shared by every user (such as /tmp) would let others read and replace the
  // user's pay tables and settings: refuse instead.
  throw DataFileError(
      "Cannot find the home folder for the settings and pay tables: HOME is not "
      "set and user " +
      std::to_string(::geteuid()) +
      " has no home folder in the password database (set HOME, or "
      "XDG_CONFIG_HOME and XDG_DATA_HOME)");
}

std::filesystem::path UserFolder(const char* variable, const char* fallbackBelowHome) {
  const char* value = std::getenv(variable);
  if (value != nullptr && *value == '/') return value;
  return HomeFolder() / fallbackBelowHome;
}

bool Writable(const std::filesystem::path& folder) {
  return ::access(folder.c_str(), W_OK) == 0;
}

}  // namespace

TAppFolders TAppFolders::ForExecutable(const std::filesystem::path& executable) {
  TAppFolders folders;
  folders.Executable = executable;
  folders.ProgramFolder = executable.parent_path();
  // An installed program keeps its shipped files in ../share/tarnwick.
  folders.ResourceFolder = folders.ProgramFolder;
  const std::filesystem::path shared = folders.ProgramFolder.parent_path() / "share" / "tarnwick";
  std::error_code error;
  if (!std::filesystem::exists(folders.ProgramFolder / "Langs", error) &&
      std::filesystem::exists(shared / "Langs", error)) {
    folders.ResourceFolder = shared;
  }
  // A program whose shipped files sit beside it and whose folder the user may write is
  // portable; one installed with its files in share/tarnwick keeps the user's files in the
  // user's folders, whoever runs it.
  folders.Portable =
      folders.ResourceFolder == folders.ProgramFolder && Writable(folders.ProgramFolder);
  if (folders.Portable) {
    // The desktop program's settings file, "tarnwick.ini", also for the command-line tool:
    // its language command chooses the desktop program's language.
    folders.SettingsFile = folders.ProgramFolder / "tarnwick.ini";
    folders.DataFolder = folders.ProgramFolder;
  } else {
    folders.SettingsFile = UserFolder("XDG_CONFIG_HOME", ".config") / "tarnwick" / "tarnwick.ini";
    folders.DataFolder = UserFolder("XDG_DATA_HOME", ".local/share") / "tarnwick";
  }
  return folders;
}

TAppFolders TAppFolders::Current() {
  std::error_code error;
  std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) executable = std::filesystem::current_path(error) / "tarnwick";
  return ForExecutable(executable);
}

std::filesystem::path TAppFolders::ShippedDataFile() const {
  return ResourceFolder / kDataFileName;
}

std::filesystem::path TAppFolders::DataFolderForReading() const {
  if (Portable) return DataFolder;
  std::error_code error;
  const bool own = fs::exists(fs::symlink_status(DataFolder / kDataFileName, error));
  return own || !fs::exists(ShippedDataFile(), error) ? DataFolder : ResourceFolder;
}

void TAppFolders::PrepareUserFolders() const {
  if (Portable) return;
  std::error_code error;
  fs::create_directories(SettingsFile.parent_path(), error);
  fs::create_directories(DataFolder, error);
  const fs::path data = DataFolder / kDataFileName;
  try {
    if (fs::exists(fs::symlink_status(data, error))) {
      AddShippedTablesOfNewGames();
      return;
    }
    // Under the data file's lock, so that a table another program stores meanwhile is not
    // replaced by the shipped ones.
    const TFileLock lock(data);
    if (fs::exists(fs::symlink_status(data, error))) return;
    if (const auto shipped = ReadFileIfPresent(ShippedDataFile(), kMaxDataFileBytes))
      WriteFileAtomically(data, *shipped, kMaxDataFileBytes);
  } catch (const DataFileError&) {
    // Left to the first save to report.
  }
}

void TAppFolders::AddShippedTablesOfNewGames() const {
  constexpr char kSection[] = "Library";
  constexpr char kKey[] = "Games";
  TIniFile settings = TIniFile::Read(SettingsFile);
  const int offered = settings.ReadInteger(kSection, kKey, kFirstLibraryLastGame);
  TData shipped;
  shipped.Load(ResourceFolder);
  int last = offered;
  for (const auto& table : shipped.Payouts) last = std::max(last, table->GameId);
  if (last == offered) return;
  TData user;
  user.Load(DataFolder);
  for (const auto& table : shipped.Payouts) {
    if (table->GameId > offered && user.FindSame(*table) == nullptr)
      user.Keep(std::make_unique<TPayout>(*table));
  }
  // Saved first: should the save fail, the next start offers the tables again.
  if (user.Modified) user.Save(DataFolder);
  settings.WriteInteger(kSection, kKey, last);
  settings.SaveChanges(SettingsFile);
}

}  // namespace tarnwick
