// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// An INI file held in memory: sections of "Key=Value" lines. Values are kept verbatim
// (commas, quotes, semicolons and UTF-8 text included); section and key names compare
// without regard to ASCII case. Reading is forgiving: junk lines are skipped, a key before
// any section header belongs to the section with the empty name, and a missing or
// malformed value reads as the caller's default.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwick {

class TIniFile {
 public:
  TIniFile() = default;
  // Reads the file; a missing or unreadable file gives an empty INI file.
  explicit TIniFile(const std::filesystem::path& path);

  void Parse(std::string_view text);
  std::string Text() const;
  // Writes the file through a temporary file renamed over it; raises a DataFileError.
  void Save(const std::filesystem::path& path) const;

  bool HasSection(std::string_view section) const;
  bool HasKey(std::string_view section, std::string_view key) const;
  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view fallback = {}) const;
  // A decimal integer (blanks around it allowed); anything else gives the fallback.
  int32_t ReadInteger(std::string_view section, std::string_view key, int32_t fallback) const;
  // Line breaks in a value become blanks: one value is one line of the file.
  void WriteString(std::string_view section, std::string_view key, std::string_view value);
  void WriteInteger(std::string_view section, std::string_view key, int32_t value);

  std::vector<std::string> Sections() const;
  std::vector<std::string> Keys(std::string_view section) const;

 private:
  struct TEntry {
    std::string Key;
    std::string Value;
  };
  struct TSection {
    std::string Name;
    std::vector<TEntry> Entries;
  };
  const TSection* FindSection(std::string_view name) const;
  TSection& SectionFor(std::string_view name);

  std::vector<TSection> sections_;
};

// ASCII case-insensitive equality.
bool SameText(std::string_view a, std::string_view b);

}  // namespace tarnwick
