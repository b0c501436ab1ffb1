// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/preferences.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdlib>
#include <utility>

#include "errors.h"
#include "session/app_folders.h"

namespace tarnwick {

namespace {

constexpr char kDefaultHelpFile[] = "Tarnwick_eng.chm";

std::string Upper(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  }
  return text;
}

bool IsBreak(char c) {
  return c == ' ' || c == '\t' || c == ',' || c == '-' || c == '.';
}

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

std::string SystemLanguageOfEnvironment() {
  for (const char* variable : {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(variable);
    if (value == nullptr || *value == '\0') continue;
    // LANGUAGE may list several languages separated by colons; the first one counts.
    const std::string_view first =
        std::string_view(value).substr(0, std::string_view(value).find(':'));
    return LanguageOfLocale(first);
  }
  return "";
}

std::unique_ptr<TPreferences>& Instance() {
  static std::unique_ptr<TPreferences> instance;
  return instance;
}

}  // namespace

TPreferences::TPreferences(TPreferencesSetup setup) : setup_(std::move(setup)) {
  try {
    Settings = TIniFile::Read(setup_.SettingsFile);
  } catch (const DataFileError& e) {
    settingsWarning_ = e.Message() + "; the settings are not saved";
  }
  // Only a readable regular file with a language name is offered: a program switched to a
  // file without texts would show nothing at all.
  std::error_code error;
  for (std::filesystem::directory_iterator it(setup_.ResourceFolder / "Langs", error), end;
       !error && it != end; it.increment(error)) {
    const std::filesystem::path& file = it->path();
    const std::string code = LanguageCodeOf(file);
    if (code.empty()) continue;
    std::string name;
    try {
      name = TIniFile::Read(file).ReadString("Info", "Language");
    } catch (const DataFileError&) {
      continue;
    }
    if (name.empty()) continue;
    if (name.size() > 1023) name.resize(1023);
    const auto known =
        std::find_if(languageFiles_.begin(), languageFiles_.end(),
                     [&](const TLanguageFile& language) { return language.Code == code; });
    // The exact name "<code>.ini" wins over longer names with the same code.
    if (known == languageFiles_.end()) {
      languageFiles_.push_back({code, file, name});
    } else if (SameText(file.stem().string(), code)) {
      *known = {code, file, name};
    }
  }
  std::sort(languageFiles_.begin(), languageFiles_.end(),
            [](const TLanguageFile& a, const TLanguageFile& b) { return a.Code < b.Code; });
  for (const TLanguageFile& language : languageFiles_) Languages.push_back(language.Code);
  if (setup_.HasFont && setup_.HasFont("Tahoma")) {
    FontName = "Tahoma";
  } else {
    FontName = setup_.DefaultFont.empty() ? "MS Shell Dlg" : setup_.DefaultFont;
  }

  std::string start;
  if (FindLanguage(setup_.SystemLanguage) != nullptr) {
    start = setup_.SystemLanguage;
  } else if (FindLanguage("ENG") != nullptr) {
    start = "ENG";
  } else if (Languages.empty()) {
    throw InputError("There are no files in Langs!");
  } else {
    start = Languages.front();
  }
  SetLanguage(start);
  SetLanguage(Upper(Settings.ReadString("", "Language", start)));
}

TPreferences::~TPreferences() {
  try {
    SaveSettings();
  } catch (...) {
    // The program is ending; a settings file that cannot be written keeps its old values.
  }
}

void TPreferences::SaveSettings() {
  if (!Settings.Changed()) return;
  if (!settingsWarning_.empty()) throw DataFileError(settingsWarning_);
  std::error_code error;
  std::filesystem::create_directories(setup_.SettingsFile.parent_path(), error);
  Settings.SaveChanges(setup_.SettingsFile);
}

const TPreferences::TLanguageFile* TPreferences::FindLanguage(const std::string& code) const {
  for (const TLanguageFile& language : languageFiles_) {
    if (language.Code == code) return &language;
  }
  return nullptr;
}

std::filesystem::path TPreferences::LanguageFile(const std::string& code) const {
  const TLanguageFile* language = FindLanguage(code);
  return language != nullptr ? language->File : setup_.ResourceFolder / "Langs" / (code + ".ini");
}

void TPreferences::SetLanguage(const std::string& code) {
  const TLanguageFile* language = FindLanguage(code);
  if (language == nullptr) return;
  try {
    Texts = TIniFile::Read(language->File);
  } catch (const DataFileError&) {
    return;  // gone or unreadable since the program started
  }
  LanguageCode = code;
}

std::string TPreferences::Text(std::string_view section, std::string_view key) const {
  if (OnMissingText && !Texts.HasKey(section, key)) OnMissingText(section, key);
  return Texts.ReadString(section, key);
}

std::string TPreferences::WindowName(std::string_view section) const {
  return "  " + Text(section, "WindowName");
}

std::string TPreferences::ButtonText(std::string_view key) const {
  return Text("Buttons", key);
}

std::string TPreferences::HintText(std::string_view section, std::string_view key) const {
  return WrapHint(Text(section, std::string(key) + ".Hint"));
}

std::vector<std::string> TPreferences::LanguageNames() const {
  std::vector<std::string> names;
  for (const TLanguageFile& language : languageFiles_) names.push_back(language.Name);
  return names;
}

int TPreferences::LanguageIndex() const {
  const auto at = std::find(Languages.begin(), Languages.end(), LanguageCode);
  return at == Languages.end() ? -1 : static_cast<int>(at - Languages.begin());
}

void TPreferences::ChooseLanguage(int index) {
  if (index < 0 || index >= static_cast<int>(Languages.size())) return;
  SetLanguage(Languages[index]);
  Settings.WriteString("", "Language", LanguageCode);
}

std::filesystem::path TPreferences::HelpFolder() const {
  return setup_.ResourceFolder / "Help";
}

std::filesystem::path TPreferences::HelpFileName() const {
  const std::filesystem::path folder = HelpFolder();
  std::string name = Texts.ReadString("Info", "HelpFile");  // optional: a default
  if (name.empty()) name = kDefaultHelpFile;
  // The name comes from a file the user may edit: it may not leave the help folder.
  std::filesystem::path candidate = folder / std::filesystem::path(name).filename();
  std::error_code error;
  if (!name.empty() && std::filesystem::exists(candidate, error)) return candidate;
  return folder / kDefaultHelpFile;
}

std::filesystem::path TPreferences::HelpPage(int context) const {
  const std::string topic = HelpTopic(context);
  if (topic.empty()) return {};
  const std::filesystem::path folder = HelpFolder();
  // The help file's name says which book (folder) holds the language's pages; it comes
  // from a file the user may edit, so only its last part counts.
  const std::filesystem::path own =
      std::filesystem::path(Texts.ReadString("Info", "HelpFile")).filename().stem();
  std::error_code error;
  for (const std::filesystem::path& book : {own, std::filesystem::path(kDefaultHelpFile).stem()}) {
    std::filesystem::path page = folder / book / topic;
    if (std::filesystem::is_regular_file(page, error)) return page;
  }
  return {};
}

std::string HelpTopic(int context) {
  static const std::array<std::pair<int, const char*>, 8> kTopics = {{{1, "main.htm"},
                                                                      {2, "SelectGame.htm"},
                                                                      {3, "EditPayout.htm"},
                                                                      {4, "Charts.htm"},
                                                                      {6, "allhands.htm"},
                                                                      {7, "statistics.htm"},
                                                                      {8, "practice.htm"},
                                                                      {9, "strategy.htm"}}};
  for (const auto& [number, topic] : kTopics) {
    if (number == context) return topic;
  }
  return "";
}

std::string WrapHint(std::string_view text, size_t width) {
  std::string wrapped;
  while (text.size() > width) {
    // The last break character that still ends the line within the width.
    size_t cut = 0;
    for (size_t i = 0; i < width; ++i) {
      if (IsBreak(text[i])) cut = i + 1;
    }
    if (cut == 0) cut = width;  // one word longer than a line
    std::string_view line = text.substr(0, cut);
    while (!line.empty() && IsBlank(line.back())) line.remove_suffix(1);
    wrapped.append(line).append("\r\n");
    text.remove_prefix(cut);
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  }
  wrapped.append(text);
  return wrapped;
}

std::string LanguageCodeOf(const std::filesystem::path& file) {
  const std::string name = file.filename().string();
  if (name.size() < 7 || !SameText(file.extension().string(), ".ini")) return "";
  for (size_t i = 0; i < 3; ++i) {
    if (!std::isalpha(static_cast<unsigned char>(name[i]))) return "";
  }
  return Upper(name.substr(0, 3));
}

std::string LanguageOfLocale(std::string_view locale) {
  static const std::array<std::pair<std::string_view, std::string_view>, 40> kCodes = {{
      {"ar", "ARA"}, {"az", "AZE"}, {"be", "BEL"}, {"bg", "BUL"}, {"cs", "CES"}, {"da", "DAN"},
      {"de", "DEU"}, {"el", "ELL"}, {"en", "ENG"}, {"es", "SPA"}, {"et", "EST"}, {"fi", "FIN"},
      {"fr", "FRA"}, {"he", "HEB"}, {"hr", "HRV"}, {"hu", "HUN"}, {"it", "ITA"}, {"ja", "JPN"},
      {"kk", "KAZ"}, {"ko", "KOR"}, {"lt", "LIT"}, {"lv", "LAV"}, {"nb", "NOB"}, {"nl", "NLD"},
      {"nn", "NNO"}, {"no", "NOR"}, {"pl", "POL"}, {"pt", "POR"}, {"ro", "RON"}, {"ru", "RUS"},
      {"sk", "SLK"}, {"sl", "SLV"}, {"sr", "SRP"}, {"sv", "SWE"}, {"tr", "TUR"}, {"tt", "TAT"},
      {"uk", "UKR"}, {"uz", "UZB"}, {"vi", "VIE"}, {"zh", "ZHO"},
  }};
  const size_t end = locale.find_first_of("_-.@");
  std::string language = Upper(std::string(locale.substr(0, end)));
  if (language.size() == 3) return language;
  for (const auto& [two, three] : kCodes) {
    if (Upper(std::string(two)) == language) return std::string(three);
  }
  return "";
}

TPreferences& Preferences() {
  auto& instance = Instance();
  if (!instance) {
    // Nothing is created here: the settings folder is made when settings are first saved.
    const TAppFolders folders = TAppFolders::Current();
    instance = std::make_unique<TPreferences>(TPreferencesSetup{
        folders.ResourceFolder, folders.SettingsFile, SystemLanguageOfEnvironment(), {}, {}});
  }
  return *instance;
}

void InstallPreferences(std::unique_ptr<TPreferences> preferences) {
  Instance() = std::move(preferences);
}

void ReleasePreferences() {
  Instance().reset();
}

}  // namespace tarnwick
