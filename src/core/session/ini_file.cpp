// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/ini_file.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

#include "store/safe_files.h"
#include "text.h"

namespace tarnwick {

namespace {

std::string Lower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  }
  return lower;
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

TIniFile TIniFile::Read(const std::filesystem::path& path) {
  TIniFile file;
  if (const auto text = ReadFileIfPresent(path, kMaxIniFileBytes)) file.Parse(*text);
  return file;
}

void TIniFile::Parse(std::string_view text) {
  sections_.clear();
  sectionIndex_.clear();
  changed_.clear();
  // UTF-8 byte order marks (an editor may have added one more): none is written back.
  while (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  TSection* current = nullptr;
  while (!text.empty()) {
    const size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    // Carriage returns before the line break (one from a file written on another system, or
    // several) are part of the line break, so a line written back reads back the same.
    while (line.ends_with('\r')) line.remove_suffix(1);
    const std::string_view trimmed = Trim(line);
    const bool bracket = !trimmed.empty() && trimmed.front() == '[';
    const size_t close = bracket ? trimmed.find(']') : std::string_view::npos;
    if (close != std::string_view::npos) {
      const std::string_view name = Trim(trimmed.substr(1, close - 1));
      const bool known = FindSection(name) != nullptr;
      current = &SectionFor(name);
      current->Read = true;
      // A section named twice gathers its keys in one place; the repeated header stays as
      // a line of its own, so the file reads back the same.
      if (known) current->Lines.push_back({"", std::string(line)});
      continue;
    }
    if (current == nullptr) {
      current = &SectionFor("", false);
      current->Read = true;
    }
    // A "[" without "]" is a broken header, not a key.
    const size_t equals = bracket ? std::string_view::npos : line.find('=');
    const std::string_view key =
        equals == std::string_view::npos ? std::string_view() : Trim(line.substr(0, equals));
    // A comment, blank or junk line, or a repeated key (the first occurrence wins, as a
    // lookup finds it): kept as it is.
    if (key.empty() || trimmed.front() == ';' ||
        !current->Index.try_emplace(Lower(key), current->Lines.size()).second) {
      current->Lines.push_back({"", std::string(line)});
      continue;
    }
    current->Lines.push_back({std::string(key), std::string(line.substr(equals + 1))});
  }
}

std::string TIniFile::Text() const {
  std::string text;
  for (const TSection& section : sections_) {
    if (section.Header) {
      // A section the program added starts after a blank line.
      if (!section.Read && !text.empty() && !text.ends_with("\n\n")) text += '\n';
      text += '[' + section.Name + "]\n";
    }
    for (const TLine& line : section.Lines) {
      if (!line.Key.empty()) text += line.Key + '=';
      text += line.Value + '\n';
    }
  }
  return text;
}

void TIniFile::Save(const std::filesystem::path& path) const {
  WriteFileAtomically(path, Text(), kMaxIniFileBytes);
}

void TIniFile::SaveChanges(const std::filesystem::path& path) {
  const std::filesystem::path target = SaveTarget(path);
  const TFileLock lock(target);
  TIniFile merged = Read(target);
  for (const auto& [section, key] : changed_)
    merged.WriteString(section, key, ReadString(section, key));
  RemoveStaleTemporaries(target);
  merged.Save(target);
  merged.changed_.clear();
  *this = std::move(merged);
}

const TIniFile::TSection* TIniFile::FindSection(std::string_view name) const {
  const auto found = sectionIndex_.find(Lower(name));
  return found == sectionIndex_.end() ? nullptr : &sections_[found->second];
}

TIniFile::TSection& TIniFile::SectionFor(std::string_view name, bool header) {
  const auto [found, added] = sectionIndex_.try_emplace(Lower(name), sections_.size());
  if (!added) return sections_[found->second];
  sections_.push_back({std::string(name), header, false, {}, {}});
  if (!name.empty() || sections_.size() == 1) return sections_.back();
  // The section with the empty name leads the file, as it does when read back.
  std::rotate(sections_.begin(), sections_.end() - 1, sections_.end());
  for (auto& [lower, index] : sectionIndex_) index = lower.empty() ? 0 : index + 1;
  return sections_.front();
}

const TIniFile::TLine* TIniFile::FindLine(const TSection& section, std::string_view key) {
  const auto found = section.Index.find(Lower(key));
  return found == section.Index.end() ? nullptr : &section.Lines[found->second];
}

bool TIniFile::HasSection(std::string_view section) const {
  return FindSection(section) != nullptr;
}

bool TIniFile::HasKey(std::string_view section, std::string_view key) const {
  const TSection* found = FindSection(section);
  return found != nullptr && FindLine(*found, key) != nullptr;
}

std::string TIniFile::ReadString(std::string_view section, std::string_view key,
                                 std::string_view fallback) const {
  if (const TSection* found = FindSection(section)) {
    if (const TLine* line = FindLine(*found, key)) return line->Value;
  }
  return std::string(fallback);
}

int32_t TIniFile::ReadInteger(std::string_view section, std::string_view key,
                              int32_t fallback) const {
  const std::string text = ReadString(section, key);
  std::string_view digits = Trim(text);
  if (digits.starts_with('+')) digits.remove_prefix(1);
  int32_t value = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (digits.empty() || error != std::errc() || end != digits.data() + digits.size()) {
    return fallback;
  }
  return value;
}

double TIniFile::ReadDouble(std::string_view section, std::string_view key, double fallback) const {
  const std::string text = ReadString(section, key);
  std::string_view digits = Trim(text);
  if (digits.starts_with('+')) digits.remove_prefix(1);
  double value = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (digits.empty() || error != std::errc() || end != digits.data() + digits.size() ||
      !std::isfinite(value)) {
    return fallback;
  }
  return value;
}

void TIniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
  std::string text(value);
  for (char& c : text) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  const std::string_view name = Trim(key);
  const std::string_view sectionName = Trim(section);
  TSection& target = SectionFor(sectionName);
  const auto [found, added] = target.Index.try_emplace(Lower(name), 0);
  if (!added) {
    TLine& line = target.Lines[found->second];
    if (line.Value == text) return;
    line.Value = std::move(text);
  } else {
    // After the section's last line that is not blank, so a blank line before the next
    // section stays where it is.
    size_t at = target.Lines.size();
    while (at > 0 && target.Lines[at - 1].Key.empty() && Trim(target.Lines[at - 1].Value).empty())
      --at;
    for (auto& [lower, index] : target.Index) {
      if (index >= at) ++index;
    }
    found->second = at;
    target.Lines.insert(target.Lines.begin() + static_cast<long>(at), {std::string(name), text});
  }
  const auto same = [&](const auto& entry) {
    return SameText(entry.first, sectionName) && SameText(entry.second, name);
  };
  if (std::none_of(changed_.begin(), changed_.end(), same))
    changed_.emplace_back(std::string(sectionName), std::string(name));
}

void TIniFile::WriteDouble(std::string_view section, std::string_view key, double value) {
  std::array<char, 32> text{};
  const char* end = std::to_chars(text.data(), text.data() + text.size(), value).ptr;
  WriteString(section, key, std::string_view(text.data(), static_cast<size_t>(end - text.data())));
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
    for (const TLine& line : found->Lines) {
      if (!line.Key.empty()) keys.push_back(line.Key);
    }
  }
  return keys;
}

}  // namespace tarnwick
