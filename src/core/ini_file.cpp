// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ini_file.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <sstream>

#include "data_store.h"

namespace tarnwick {

namespace {

std::string_view TrimBlanks(std::string_view text) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

}  // namespace

bool SameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

TIniFile::TIniFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return;
  std::stringstream text;
  text << in.rdbuf();
  Parse(text.str());
}

void TIniFile::Parse(std::string_view text) {
  sections_.clear();
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);  // UTF-8 byte order mark
  std::string current;
  while (!text.empty()) {
    const size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (line.ends_with('\r')) line.remove_suffix(1);
    const std::string_view trimmed = TrimBlanks(line);
    if (trimmed.empty() || trimmed.front() == ';') continue;
    if (trimmed.front() == '[') {
      const size_t close = trimmed.find(']');
      if (close == std::string_view::npos) continue;  // junk: no section header
      current = std::string(TrimBlanks(trimmed.substr(1, close - 1)));
      SectionFor(current);
      continue;
    }
    const size_t equals = line.find('=');
    if (equals == std::string_view::npos) continue;  // junk: no key
    const std::string_view key = TrimBlanks(line.substr(0, equals));
    if (key.empty()) continue;
    // The first occurrence of a key wins, as the lookup would find it.
    if (HasKey(current, key)) continue;
    SectionFor(current).Entries.push_back({std::string(key), std::string(line.substr(equals + 1))});
  }
}

std::string TIniFile::Text() const {
  std::string text;
  for (const TSection& section : sections_) {
    if (!text.empty()) text += '\n';
    text += '[' + section.Name + "]\n";
    for (const TEntry& entry : section.Entries) text += entry.Key + '=' + entry.Value + '\n';
  }
  return text;
}

void TIniFile::Save(const std::filesystem::path& path) const {
  const std::string text = Text();
  WriteFileAtomically(path, std::vector<uint8_t>(text.begin(), text.end()));
}

const TIniFile::TSection* TIniFile::FindSection(std::string_view name) const {
  for (const TSection& section : sections_) {
    if (SameText(section.Name, name)) return &section;
  }
  return nullptr;
}

TIniFile::TSection& TIniFile::SectionFor(std::string_view name) {
  for (TSection& section : sections_) {
    if (SameText(section.Name, name)) return section;
  }
  // The section with the empty name leads the file, as it does when read back.
  sections_.push_back({std::string(name), {}});
  if (name.empty()) std::rotate(sections_.begin(), sections_.end() - 1, sections_.end());
  return name.empty() ? sections_.front() : sections_.back();
}

bool TIniFile::HasSection(std::string_view section) const {
  return FindSection(section) != nullptr;
}

bool TIniFile::HasKey(std::string_view section, std::string_view key) const {
  const TSection* found = FindSection(section);
  if (found == nullptr) return false;
  for (const TEntry& entry : found->Entries) {
    if (SameText(entry.Key, key)) return true;
  }
  return false;
}

std::string TIniFile::ReadString(std::string_view section, std::string_view key,
                                 std::string_view fallback) const {
  if (const TSection* found = FindSection(section)) {
    for (const TEntry& entry : found->Entries) {
      if (SameText(entry.Key, key)) return entry.Value;
    }
  }
  return std::string(fallback);
}

int32_t TIniFile::ReadInteger(std::string_view section, std::string_view key,
                              int32_t fallback) const {
  const std::string text = ReadString(section, key);
  std::string_view digits = TrimBlanks(text);
  if (digits.starts_with('+')) digits.remove_prefix(1);
  int32_t value = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (digits.empty() || error != std::errc() || end != digits.data() + digits.size()) {
    return fallback;
  }
  return value;
}

void TIniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
  std::string line(value);
  for (char& c : line) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  const std::string name(TrimBlanks(key));
  TSection& target = SectionFor(TrimBlanks(section));
  for (TEntry& entry : target.Entries) {
    if (SameText(entry.Key, name)) {
      entry.Value = line;
      return;
    }
  }
  target.Entries.push_back({name, line});
}

void TIniFile::WriteInteger(std::string_view section, std::string_view key, int32_t value) {
  WriteString(section, key, std::to_string(value));
}

std::vector<std::string> TIniFile::Sections() const {
  std::vector<std::string> names;
  for (const TSection& section : sections_) names.push_back(section.Name);
  return names;
}

std::vector<std::string> TIniFile::Keys(std::string_view section) const {
  std::vector<std::string> keys;
  if (const TSection* found = FindSection(section)) {
    for (const TEntry& entry : found->Entries) keys.push_back(entry.Key);
  }
  return keys;
}

}  // namespace tarnwick
