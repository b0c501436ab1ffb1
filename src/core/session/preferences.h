// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The program-wide preferences: the user-interface language and its texts, the preferred
// font, the settings file and the help file. Every window takes its captions, hints and
// messages from here; the settings file is written when the object ends.

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "session/ini_file.h"
#include "text.h"

namespace tarnwick {

constexpr size_t kHintWidth = 50;

struct TPreferencesSetup {
  std::filesystem::path ResourceFolder;  // holds Langs/ and Help/
  std::filesystem::path SettingsFile;
  // The user's interface language as an ISO 639-2 code in upper case ("DEU"); empty when
  // the system does not say.
  std::string SystemLanguage;
  // Whether the system has a screen font of that name.
  std::function<bool(const std::string&)> HasFont;
  // The font to use when the system has none of the fonts the program prefers (on Linux,
  // the desktop's interface font); empty keeps the classic fallback name.
  std::string DefaultFont;
};

class TPreferences {
 public:
  // Raises an InputError "There are no files in Langs!" when no language file exists.
  // A settings file that exists but cannot be read is left alone: the program runs on the
  // defaults and never writes it (SettingsWarning says why).
  explicit TPreferences(TPreferencesSetup setup);
  // Writes the changed settings to disk (a failure to write is ignored: the program is
  // ending, and the file keeps its old values).
  ~TPreferences();
  TPreferences(const TPreferences&) = delete;
  TPreferences& operator=(const TPreferences&) = delete;

  std::string FontName;
  std::string LanguageCode;            // e.g. "ENG"
  TIniFile Settings;                   // the settings file
  TIniFile Texts;                      // the language file of the current language
  std::vector<std::string> Languages;  // codes with a usable language file, sorted

  // Told of every text asked for that the language file lacks (the text reads as empty);
  // the program logs it, and the window tests fail on it.
  std::function<void(std::string_view section, std::string_view key)> OnMissingText;

  std::string Text(std::string_view section, std::string_view key) const;
  // Two blanks and the section's "WindowName".
  std::string WindowName(std::string_view section) const;
  std::string ButtonText(std::string_view key) const;
  // The text of key + ".Hint", wrapped to lines of at most 50 characters ("\r\n").
  std::string HintText(std::string_view section, std::string_view key) const;
  // The "Language" of section "Info" of every language file, in the order of Languages.
  std::vector<std::string> LanguageNames() const;
  int LanguageIndex() const;
  // The user's choice: the language, remembered in the settings.
  void ChooseLanguage(int index);
  // Only a code with a language file is taken (a file that cannot be read any more keeps
  // the current language).
  void SetLanguage(const std::string& code);
  // Help/<the language's "HelpFile">, or Help/Tarnwick_eng.chm when that does not exist.
  std::filesystem::path HelpFileName() const;
  // The folder of the help pages: Help in the resource folder.
  std::filesystem::path HelpFolder() const;
  // The HTML page of a help topic: Help/<the help file's name without extension>/<topic>,
  // else the English page; empty when neither exists or the topic is unknown.
  std::filesystem::path HelpPage(int context) const;
  void ApplyFont(const std::string& fontName) { FontName = fontName; }
  // Writes the settings that changed into the settings file now (creating its folder);
  // nothing when nothing changed. Raises a DataFileError when the file cannot be written
  // or could not be read at the start.
  void SaveSettings();
  // Why the settings file is not written (it exists but could not be read); empty else.
  const std::string& SettingsWarning() const { return settingsWarning_; }

  // The language file of a code.
  std::filesystem::path LanguageFile(const std::string& code) const;

 private:
  struct TLanguageFile {
    std::string Code;
    std::filesystem::path File;
    std::string Name;  // "Language" of section "Info"
  };
  const TLanguageFile* FindLanguage(const std::string& code) const;

  TPreferencesSetup setup_;
  std::string settingsWarning_;
  std::vector<TLanguageFile> languageFiles_;  // in the order of Languages
};

// The help topic of a window's help context (1 main, 2 game and pay table, 3 pay table
// editor, 4 charts, 6 all holds, 7 statistics); empty for an unknown context.
std::string HelpTopic(int context);

// Breaks text into lines of at most `width` characters, after blanks, tabs, commas,
// hyphens and full stops (a word longer than a line is cut); lines end with "\r\n".
std::string WrapHint(std::string_view text, size_t width = kHintWidth);

// The language code of a file name: its first three characters in upper case; empty
// unless they are three letters and the name ends in ".ini".
std::string LanguageCodeOf(const std::filesystem::path& file);

// The ISO 639-2 code (upper case) of a locale name such as "de_DE.UTF-8" or "pt-BR"; empty
// when the language is unknown.
std::string LanguageOfLocale(std::string_view locale);

// The program-wide preferences, created on first use with the running program's folders
// and the system language of the environment (LANGUAGE, LC_ALL, LC_MESSAGES, LANG) unless
// InstallPreferences gave them first.
TPreferences& Preferences();
void InstallPreferences(std::unique_ptr<TPreferences> preferences);
// Ends the program-wide preferences (writing the settings file).
void ReleasePreferences();

}  // namespace tarnwick
