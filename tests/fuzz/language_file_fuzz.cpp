// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later

// libFuzzer target for the language files: any bytes start the preferences or raise an
// InputError; hints keep to their width, and help never leaves the help folder.

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "errors.h"
#include "session/preferences.h"

namespace {

const std::filesystem::path& Folder() {
  static const std::filesystem::path folder = [] {
    char name[] = "/tmp/tarnwick_language_fuzz_XXXXXX";
    if (::mkdtemp(name) == nullptr) std::abort();
    std::filesystem::create_directories(std::filesystem::path(name) / "Langs");
    return std::filesystem::path(name);
  }();
  return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::filesystem::path& folder = Folder();
  std::ofstream(folder / "Langs" / "ENG.ini", std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  try {
    tarnwick::TPreferences preferences({folder, folder / "settings.ini", "ENG", {}, {}});
    for (const std::string& section : preferences.Texts.Sections()) {
      (void)preferences.WindowName(section);
      for (const std::string& key : preferences.Texts.Keys(section)) {
        const std::string hint = preferences.HintText(section, key);
        size_t start = 0;
        for (size_t end = hint.find("\r\n");; end = hint.find("\r\n", start)) {
          const size_t line = (end == std::string::npos ? hint.size() : end) - start;
          if (line > tarnwick::kHintWidth) std::abort();
          if (end == std::string::npos) break;
          start = end + 2;
        }
      }
    }
    if (preferences.LanguageNames().size() != 1) std::abort();
    const std::filesystem::path help = preferences.HelpFileName();
    if (help.parent_path() != folder / "Help") std::abort();
  } catch (const tarnwick::InputError&) {
  }
  return 0;
}
