// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// An INI file held in memory: sections of "Key=Value" lines. Values are kept verbatim
// (commas, quotes, semicolons and UTF-8 text included); section and key names compare
// without regard to ASCII case. Reading is forgiving and takes time in proportion to the
// file: junk lines are skipped, a key before any section header belongs to the section
// with the empty name, and a missing or malformed value reads as the caller's default.
// Comments, blank lines, junk and repeated keys are kept and written back as they were,
// so a file the user edited by hand loses nothing when the program saves it.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace tarnwick {

// The largest settings or language file that is read (a real one has a few kilobytes).
inline constexpr uint64_t kMaxIniFileBytes = 16u << 20;

class TIniFile {
 public:
  TIniFile() = default;
  // Reads the file; a missing file gives an empty INI file. Raises a DataFileError with the
  // reason when a file is there but cannot be read (see ReadFileIfPresent).
  static TIniFile Read(const std::filesystem::path& path);

  void Parse(std::string_view text);
  std::string Text() const;
  // Writes the whole file through a temporary file renamed over it; raises a DataFileError.
  void Save(const std::filesystem::path& path) const;
  // Writes the values changed since the file was read into the file as it is on disk now
  // (another program may have changed other values meanwhile), under the file's lock, and
  // takes the result as its own contents. Raises a DataFileError (the file is unchanged).
  void SaveChanges(const std::filesystem::path& path);
  // Values were written that differ from those read.
  bool Changed() const { return !changed_.empty(); }

  bool HasSection(std::string_view section) const;
  bool HasKey(std::string_view section, std::string_view key) const;
  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view fallback = {}) const;
  // A decimal integer (blanks around it allowed); anything else gives the fallback.
  int32_t ReadInteger(std::string_view section, std::string_view key, int32_t fallback) const;
  // A finite decimal number ("0.25", blanks around it allowed); anything else, a NaN or an
  // infinity included, gives the fallback.
  double ReadDouble(std::string_view section, std::string_view key, double fallback) const;
  // Line breaks in a value become blanks: one value is one line of the file.
  void WriteString(std::string_view section, std::string_view key, std::string_view value);
  void WriteInteger(std::string_view section, std::string_view key, int32_t value);
  // The shortest text that reads back as the same number ("0.1", not "0.10000000000000001").
  void WriteDouble(std::string_view section, std::string_view key, double value);

  std::vector<std::string> Sections() const;
  std::vector<std::string> Keys(std::string_view section) const;

 private:
  struct TLine {
    std::string Key;    // empty for a line kept verbatim (comment, blank, junk, repeated key)
    std::string Value;  // the value, or the whole verbatim line
  };
  struct TSection {
    std::string Name;
    bool Header = true;  // false for the lines before the first section header
    bool Read = false;   // read from the file: written back with its own spacing
    std::vector<TLine> Lines;
    std::unordered_map<std::string, size_t> Index;  // lower-case key -> its line
  };
  const TSection* FindSection(std::string_view name) const;
  TSection& SectionFor(std::string_view name, bool header = true);
  static const TLine* FindLine(const TSection& section, std::string_view key);

  std::vector<TSection> sections_;
  std::unordered_map<std::string, size_t> sectionIndex_;      // lower-case name -> section
  std::vector<std::pair<std::string, std::string>> changed_;  // section and key written
};

// ASCII case-insensitive equality.
bool SameText(std::string_view a, std::string_view b);

}  // namespace tarnwick
