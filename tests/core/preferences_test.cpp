// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "preferences.h"

#include <gtest/gtest.h>

#include <fstream>

#include "app_folders.h"
#include "errors.h"

namespace tarnwick {
namespace {

class Prefs : public testing::Test {
 protected:
  void SetUp() override {
    root_ = std::filesystem::path(testing::TempDir()) /
            ("prefs_" + std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
    std::filesystem::remove_all(root_);
    std::filesystem::create_directories(root_ / "Langs");
  }
  void Language(const std::string& file, const std::string& text) {
    std::ofstream(root_ / "Langs" / file, std::ios::binary) << text;
  }
  TPreferencesSetup PrefsSetup(const std::string& system = "") const {
    return {root_, root_ / "tarnwick.ini", system, {}};
  }
  std::filesystem::path root_;
};

TEST(IniFile, KeepsValuesVerbatimAndSurvivesJunk) {
  TIniFile ini;
  ini.Parse(
      "\xEF\xBB\xBF"
      "Top=12\r\n"
      "junk line without equals\n"
      "[Statistics]\n"
      "Speed = 1200 \n"
      "Hint=Pays, \"quoted\"; semicolon=equals\n"
      "Name=Русский язык\n"
      "Name=second occurrence ignored\n"
      "[broken section\n"
      "=no key\n"
      "; a comment\n"
      "[ Buttons ]\n"
      "OK=OK\n" +
      std::string(200000, 'x') + "=long\n");
  EXPECT_EQ(ini.ReadInteger("", "top", 0), 12);
  EXPECT_EQ(ini.ReadInteger("statistics", "SPEED", 600), 1200);
  EXPECT_EQ(ini.ReadString("Statistics", "Hint"), "Pays, \"quoted\"; semicolon=equals");
  EXPECT_EQ(ini.ReadString("Statistics", "Name"), "Русский язык");
  EXPECT_EQ(ini.ReadString("Buttons", "OK"), "OK");
  EXPECT_EQ(ini.ReadString("Buttons", std::string(200000, 'x')), "long");
  EXPECT_EQ(ini.ReadString("Missing", "Key", "fallback"), "fallback");
  EXPECT_EQ(ini.ReadInteger("Statistics", "Hint", 7), 7);  // not a number
  EXPECT_EQ(ini.ReadInteger("", "Missing", -1), -1);

  ini.WriteInteger("Statistics", "speed", 900);
  ini.WriteString("New", "Line", "two\nlines");
  ini.WriteString("", "Language", "DEU");
  TIniFile again;
  again.Parse(ini.Text());
  EXPECT_EQ(again.ReadInteger("Statistics", "Speed", 0), 900);
  EXPECT_EQ(again.ReadString("New", "Line"), "two lines");
  EXPECT_EQ(again.ReadString("", "Language"), "DEU");
  EXPECT_EQ(again.ReadInteger("", "Top", 0), 12);
  EXPECT_EQ(again.ReadString("Statistics", "Hint"), "Pays, \"quoted\"; semicolon=equals");
  EXPECT_EQ(again.Sections().front(), "");

  EXPECT_EQ(TIniFile(std::filesystem::path("/nonexistent/x.ini")).Sections().size(), 0u);
  EXPECT_EQ(again.ReadInteger("", "Language", 3), 3);
}

TEST(Hints, WrapAtFiftyCharacters) {
  const std::string hint =
      "Shows the probability of every result after the number of hands played, with the "
      "chance to be ahead, even or behind, now";
  ASSERT_EQ(hint.size(), 120u);
  const std::string wrapped = WrapHint(hint);
  std::vector<std::string> lines;
  for (size_t start = 0;;) {
    const size_t end = wrapped.find("\r\n", start);
    lines.push_back(wrapped.substr(start, end - start));
    if (end == std::string::npos) break;
    start = end + 2;
  }
  ASSERT_EQ(lines.size(), 3u) << wrapped;
  for (const std::string& line : lines) {
    EXPECT_LE(line.size(), 50u) << line;
    EXPECT_FALSE(line.starts_with(' '));
  }
  EXPECT_EQ(lines[0], "Shows the probability of every result after the");
  EXPECT_EQ(WrapHint("short"), "short");
  EXPECT_EQ(WrapHint(""), "");
  // A break after a comma or hyphen keeps it on the first line; an endless word is cut.
  EXPECT_EQ(WrapHint("aaaa,bbbb", 5), "aaaa,\r\nbbbb");
  EXPECT_EQ(WrapHint("well-known", 6), "well-\r\nknown");
  EXPECT_EQ(WrapHint(std::string(12, 'z'), 5), "zzzzz\r\nzzzzz\r\nzz");
}

TEST(Hints, LocaleNamesGiveThreeLetterCodes) {
  EXPECT_EQ(LanguageOfLocale("de_DE.UTF-8"), "DEU");
  EXPECT_EQ(LanguageOfLocale("ru"), "RUS");
  EXPECT_EQ(LanguageOfLocale("en-GB"), "ENG");
  EXPECT_EQ(LanguageOfLocale("uk_UA@euro"), "UKR");
  EXPECT_EQ(LanguageOfLocale("fil_PH"), "FIL");
  EXPECT_EQ(LanguageOfLocale("C"), "");
  EXPECT_EQ(LanguageOfLocale(""), "");
}

TEST_F(Prefs, LanguagesFromFileNamesAndTheStartLanguage) {
  Language("eng.ini", "[Info]\nLanguage=English\n[Charts]\nWindowName=Charts\n");
  Language("rus_old.ini", "[Info]\nLanguage=Русский\n");
  Language("readme.txt", "not a language");
  {
    TPreferences prefs(PrefsSetup("FRA"));
    EXPECT_EQ(prefs.Languages, (std::vector<std::string>{"ENG", "RUS"}));
    EXPECT_EQ(prefs.LanguageCode, "ENG");  // the system's language has no file
    EXPECT_EQ(prefs.WindowName("Charts"), "  Charts");
    EXPECT_EQ(prefs.LanguageNames(), (std::vector<std::string>{"English", "Русский"}));
    EXPECT_EQ(prefs.Text("Missing", "Key"), "");
    EXPECT_EQ(prefs.FontName, "MS Shell Dlg");
  }
  // The first object wrote its language to the settings; without them the system's counts.
  EXPECT_EQ(TIniFile(root_ / "tarnwick.ini").ReadString("", "Language"), "ENG");
  std::filesystem::remove(root_ / "tarnwick.ini");
  TPreferences russian(PrefsSetup("RUS"));
  EXPECT_EQ(russian.LanguageCode, "RUS");
  EXPECT_EQ(russian.LanguageIndex(), 1);
  EXPECT_EQ(russian.Text("Info", "Language"), "Русский");
  EXPECT_NE(russian.WebAddress().find("/ru/"), std::string::npos);
  russian.ChooseLanguage(0);
  EXPECT_EQ(russian.LanguageCode, "ENG");
  EXPECT_EQ(russian.WebAddress().find("/ru/"), std::string::npos);
  russian.ChooseLanguage(7);  // no such language: nothing changes
  EXPECT_EQ(russian.LanguageCode, "ENG");
}

TEST_F(Prefs, TheSettingsChooseTheLanguageAndAreWrittenAtTheEnd) {
  Language("ENG.ini", "[Info]\nLanguage=English\n");
  Language("DEU.ini", "[Info]\nLanguage=Deutsch\n");
  std::ofstream(root_ / "tarnwick.ini") << "Language=deu\n[Statistics]\nSpeed=900\n";
  {
    TPreferences prefs(PrefsSetup("RUS"));
    EXPECT_EQ(prefs.LanguageCode, "DEU");
    EXPECT_EQ(prefs.Settings.ReadInteger("Statistics", "Speed", 600), 900);
    prefs.SetLanguage("ENG");
    prefs.Settings.WriteInteger("Statistics", "Style", 2);
  }
  const TIniFile written(root_ / "tarnwick.ini");
  EXPECT_EQ(written.ReadString("", "Language"), "ENG");
  EXPECT_EQ(written.ReadInteger("Statistics", "Style", 0), 2);
  EXPECT_EQ(written.ReadInteger("Statistics", "Speed", 0), 900);

  // A language without a file is ignored; a damaged settings file reads as defaults.
  std::ofstream(root_ / "tarnwick.ini") << "Language=xyz\n\x01\x02garbage[[[\n";
  EXPECT_EQ(TPreferences(PrefsSetup("DEU")).LanguageCode, "DEU");
  std::ofstream(root_ / "tarnwick.ini") << "[\n=\n" << std::string(100000, '=') << "\n";
  EXPECT_EQ(TPreferences(PrefsSetup()).LanguageCode, "ENG");
}

TEST_F(Prefs, NoLanguageFilesIsAnError) {
  try {
    TPreferences prefs(PrefsSetup());
    FAIL() << "started without languages";
  } catch (const InputError& e) {
    EXPECT_STREQ(e.what(), "There are no files in Langs!");
  }
  // Without ENG the first language is taken.
  Language("DEU.ini", "[Buttons]\nOK=OK\nAdd.Hint=Fügt eine neue Auszahlungstabelle hinzu\n");
  Language("RUS.ini", "");
  TPreferences prefs(PrefsSetup("ITA"));
  EXPECT_EQ(prefs.LanguageCode, "DEU");
  EXPECT_EQ(prefs.ButtonText("OK"), "OK");
  EXPECT_EQ(prefs.HintText("Buttons", "Add"), "Fügt eine neue Auszahlungstabelle hinzu");
}

TEST_F(Prefs, HelpFileAndTopics) {
  Language("ENG.ini", "[Info]\nHelpFile=Tarnwick_eng.chm\n");
  Language("DEU.ini", "[Info]\nHelpFile=Tarnwick_deu.chm\n");
  Language("RUS.ini", "[Info]\nHelpFile=../../../etc/passwd\n");
  std::filesystem::create_directories(root_ / "Help" / "Tarnwick_deu.chm");
  TPreferences prefs(PrefsSetup("DEU"));
  EXPECT_EQ(prefs.HelpFileName(), root_ / "Help" / "Tarnwick_deu.chm");
  EXPECT_EQ(HelpLocation(prefs, 7),
            (root_ / "Help" / "Tarnwick_deu.chm").string() + "::/statistics.htm");
  prefs.SetLanguage("ENG");  // no such file: the English help
  EXPECT_EQ(prefs.HelpFileName(), root_ / "Help" / "Tarnwick_eng.chm");
  prefs.SetLanguage("RUS");  // a name leading out of the help folder stays in it
  EXPECT_EQ(prefs.HelpFileName(), root_ / "Help" / "Tarnwick_eng.chm");
  EXPECT_EQ(HelpTopic(1), "main.htm");
  EXPECT_EQ(HelpTopic(2), "SelectGame.htm");
  EXPECT_EQ(HelpTopic(3), "EditPayout.htm");
  EXPECT_EQ(HelpTopic(4), "Charts.htm");
  EXPECT_EQ(HelpTopic(5), "");
  EXPECT_EQ(HelpTopic(6), "allhands.htm");
  EXPECT_EQ(HelpLocation(prefs, 5), "");

  std::vector<std::string> shown;
  const auto viewer = [&](const std::string& location) {
    shown.push_back(location);
    return location.ends_with("main.htm");
  };
  const auto message = [&](const std::string& text) { shown.push_back("message: " + text); };
  EXPECT_TRUE(ShowHelp(prefs, 1, viewer, message));
  EXPECT_TRUE(ShowHelp(prefs, 4, viewer, message));  // the viewer fails: the message
  EXPECT_TRUE(ShowHelp(prefs, 9, viewer, message));  // no topic: nothing
  EXPECT_TRUE(ShowHelp(prefs, 7, {}, message));      // no viewer
  ASSERT_EQ(shown.size(), 4u);
  EXPECT_TRUE(shown[0].ends_with("Tarnwick_eng.chm::/main.htm"));
  EXPECT_EQ(shown[2], "message: ");  // this test's language file has no such text
  EXPECT_EQ(shown[3], "message: ");
}

TEST_F(Prefs, FoldersOfAPortableAndAnInstalledProgram) {
  const TAppFolders portable = TAppFolders::ForExecutable(root_ / "tarnwick");
  EXPECT_TRUE(portable.Portable);
  EXPECT_EQ(portable.SettingsFile, root_ / "tarnwick.ini");
  EXPECT_EQ(portable.DataFolder, root_);
  EXPECT_EQ(portable.LangsFolder(), root_ / "Langs");

  // A program installed in bin/ finds its files in share/tarnwick.
  std::filesystem::create_directories(root_ / "usr" / "bin");
  std::filesystem::create_directories(root_ / "usr" / "share" / "tarnwick" / "Langs");
  const TAppFolders installed = TAppFolders::ForExecutable(root_ / "usr" / "bin" / "tarnwick");
  EXPECT_EQ(installed.ResourceFolder, root_ / "usr" / "share" / "tarnwick");
}

}  // namespace
}  // namespace tarnwick
