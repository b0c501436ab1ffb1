// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tarnwick {

// `text` without the `blanks` at either end.
inline std::string_view Trim(std::string_view text, std::string_view blanks = " \t") {
  const size_t first = text.find_first_not_of(blanks);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

// Rows of fields as a spreadsheet reads them, one line per row ("\n"): with a tab as the
// separator, tabs and line breaks inside a field become blanks; with any other separator
// (CSV), a field holding it, a quote or a line break is quoted, its quotes doubled.
inline std::string DelimitedText(const std::vector<std::vector<std::string>>& rows,
                                 char separator) {
  std::string text;
  for (const auto& row : rows) {
    for (size_t i = 0; i < row.size(); ++i) {
      if (i > 0) text += separator;
      const std::string& field = row[i];
      if (separator == '\t') {
        for (char letter : field)
          text += letter == '\t' || letter == '\n' || letter == '\r' ? ' ' : letter;
      } else if (field.find_first_of(std::string{separator, '"', '\n', '\r'}) !=
                 std::string::npos) {
        text += '"';
        for (char letter : field) {
          if (letter == '"') text += '"';
          text += letter;
        }
        text += '"';
      } else {
        text += field;
      }
    }
    text += '\n';
  }
  return text;
}

// A language text with placeholders: each "%s" takes the next argument in order (an empty
// text when there are too few), "%%" is one "%", anything else stays as written. Texts are
// never used as printf formats, so a language file cannot make the program read memory.
inline std::string FormatText(std::string_view pattern, const std::vector<std::string>& arguments) {
  std::string text;
  size_t next = 0;
  for (size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] == '%' && i + 1 < pattern.size()) {
      if (pattern[i + 1] == 's') {
        if (next < arguments.size()) text += arguments[next];
        ++next;
        ++i;
        continue;
      }
      if (pattern[i + 1] == '%') {
        text += '%';
        ++i;
        continue;
      }
    }
    text += pattern[i];
  }
  return text;
}

}  // namespace tarnwick
