// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Where the program finds its shipped files and keeps the user's settings and pay tables.
// A portable program (the build tree, an unpacked archive: a writable program folder) keeps
// everything beside the executable. An installed program (a program folder the user cannot
// write) keeps the settings in $XDG_CONFIG_HOME/tarnwick/tarnwick.ini and the pay tables in
// $XDG_DATA_HOME/tarnwick/Tarnwick.dat, the latter first copied from the shipped file.

#include <filesystem>

namespace tarnwick {

// The highest game number whose shipped tables every user's data file was made with: the
// tables of the games numbered above it reach the files made before them once
// (AddShippedTablesOfNewGames).
inline constexpr int kFirstLibraryLastGame = 34;

struct TAppFolders {
  std::filesystem::path Executable;
  std::filesystem::path ProgramFolder;   // folder of the executable
  std::filesystem::path ResourceFolder;  // holds Langs, Help and the shipped Tarnwick.dat
  bool Portable = true;
  std::filesystem::path SettingsFile;
  std::filesystem::path DataFolder;  // folder of the user's Tarnwick.dat

  // For an executable; the environment gives the user's folders (XDG_CONFIG_HOME,
  // XDG_DATA_HOME, HOME, else the home folder of the password database). Raises a
  // DataFileError for an installed program when the user has no home folder.
  static TAppFolders ForExecutable(const std::filesystem::path& executable);
  // For the running program.
  static TAppFolders Current();

  std::filesystem::path LangsFolder() const { return ResourceFolder / "Langs"; }
  std::filesystem::path HelpFolder() const { return ResourceFolder / "Help"; }
  std::filesystem::path ShippedDataFile() const;

  // The folder whose Tarnwick.dat a command that only reads should read: the user's, or
  // the shipped tables while an installed program's user has none yet.
  std::filesystem::path DataFolderForReading() const;
  // Creates the user's folders of an installed program and copies the shipped pay tables
  // there when the user has none yet (for a program about to write), or adds those of the
  // games new since the user's file was made (AddShippedTablesOfNewGames). Failures are
  // left to the first save to report.
  void PrepareUserFolders() const;
  // Adds the shipped tables of every game numbered above the settings' [Library] Games
  // (kFirstLibraryLastGame when not set) to the user's data file, unless it holds them,
  // then sets that key to the highest shipped game number: a game's tables come once, and
  // tables the user deletes later stay deleted. Raises a DataFileError when a file cannot
  // be read or written (the user's data file is then unchanged).
  void AddShippedTablesOfNewGames() const;
};

}  // namespace tarnwick
