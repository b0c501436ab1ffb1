// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later

// libFuzzer target for the INI reader of the settings and language files: any bytes read
// without a crash, and what is written back reads back to the same values and the same text.

#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "session/ini_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  tarnwick::TIniFile first;
  first.Parse(std::string_view(reinterpret_cast<const char*>(data), size));
  const std::string text = first.Text();
  tarnwick::TIniFile second;
  second.Parse(text);
  if (second.Text() != text) std::abort();
  for (const std::string& section : first.Sections()) {
    for (const std::string& key : first.Keys(section)) {
      if (second.ReadString(section, key) != first.ReadString(section, key)) std::abort();
    }
  }
  // A value written is read back as written, line breaks turned into blanks.
  second.WriteString("Fuzz", "Key", text.substr(0, 64));
  tarnwick::TIniFile third;
  third.Parse(second.Text());
  std::string expected = text.substr(0, 64);
  for (char& c : expected) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  if (third.ReadString("Fuzz", "Key") != expected) std::abort();
  return 0;
}
