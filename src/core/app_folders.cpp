// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app_folders.h"

#include <unistd.h>

#include <cstdlib>

#include "data_store.h"

namespace tarnwick {

namespace {

std::filesystem::path UserFolder(const char* variable, const char* fallbackBelowHome) {
  const char* value = std::getenv(variable);
  if (value != nullptr && *value == '/') return value;
  const char* home = std::getenv("HOME");
  if (home != nullptr && *home != '\0') return std::filesystem::path(home) / fallbackBelowHome;
  return std::filesystem::temp_directory_path() / fallbackBelowHome;
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
  folders.Portable = Writable(folders.ProgramFolder);
  if (folders.Portable) {
    folders.SettingsFile = executable;
    folders.SettingsFile.replace_extension(".ini");
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

void TAppFolders::PrepareUserFolders() const {
  if (Portable) return;
  std::error_code error;
  std::filesystem::create_directories(SettingsFile.parent_path(), error);
  std::filesystem::create_directories(DataFolder, error);
  const std::filesystem::path data = DataFolder / kDataFileName;
  if (!std::filesystem::exists(data, error) && std::filesystem::exists(ShippedDataFile(), error)) {
    std::filesystem::copy_file(ShippedDataFile(), data, error);
  }
}

}  // namespace tarnwick
