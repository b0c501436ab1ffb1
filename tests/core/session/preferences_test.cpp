// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/preferences.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <fstream>

#include "errors.h"
#include "session/app_folders.h"
#include "session/report_links.h"
#include "test_files.h"
#include "test_games.h"

namespace tarnwick {
namespace {

class Prefs : public ::testing::Test {
 protected:
  void SetUp() override { std::filesystem::create_directories(root_ / "Langs"); }
  void Language(const std::string& file, const std::string& text) {
    test::WriteText(root_ / "Langs" / file, text);
  }
  TPreferencesSetup PrefsSetup(const std::string& system = "") const {
    return {root_, root_ / "tarnwick.ini", system, {}, {}};
  }
  const std::filesystem::path root_ = test::TestFolder("_prefs");
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
      "[broken section\r\r\n"
      "=no key\n"
      "Stray=returns\r\r\r\n"
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
  ini.WriteString("", "Language", "DEU");
  TIniFile again;
  again.Parse(ini.Text());
  EXPECT_EQ(again.ReadInteger("Statistics", "Speed", 0), 900);
  EXPECT_EQ(again.ReadString("", "Language"), "DEU");
  EXPECT_EQ(again.Sections().front(), "");
  EXPECT_EQ(again.ReadString("Statistics", "Stray"), "returns");
  TIniFile third;
  third.Parse(again.Text());
  EXPECT_EQ(third.Text(), again.Text());

  EXPECT_EQ(TIniFile::Read(std::filesystem::path("/nonexistent/x.ini")).Sections().size(), 0u);
}

TEST(Hints, WrapAtFiftyCharactersAndLocaleCodes) {
  // Each line ends at the last blank that keeps it within 50 characters.
  EXPECT_EQ(WrapHint("Shows the probability of every result after the number of hands played, "
                     "with the chance to be ahead, even or behind, now"),
            "Shows the probability of every result after the\r\n"
            "number of hands played, with the chance to be\r\n"
            "ahead, even or behind, now");
  EXPECT_EQ(WrapHint("short"), "short");
  EXPECT_EQ(WrapHint(""), "");
  // A break after a comma or hyphen keeps it on the first line; an endless word is cut.
  EXPECT_EQ(WrapHint("aaaa,bbbb", 5), "aaaa,\r\nbbbb");
  EXPECT_EQ(WrapHint("well-known", 6), "well-\r\nknown");
  EXPECT_EQ(WrapHint(std::string(12, 'z'), 5), "zzzzz\r\nzzzzz\r\nzz");

  const std::pair<const char*, const char*> locales[] = {
      {"de_DE.UTF-8", "DEU"}, {"ru", "RUS"}, {"en-GB", "ENG"}, {"uk_UA@euro", "UKR"},
      {"fil_PH", "FIL"},      {"C", ""},     {"", ""}};
  for (const auto& [locale, code] : locales) EXPECT_EQ(LanguageOfLocale(locale), code) << locale;
}

TEST_F(Prefs, LanguagesFromFileNamesAndTheStartLanguage) {
  Language("eng.ini", "[Info]\nLanguage=English\n[Charts]\nWindowName=Charts\n");
  Language("rus_old.ini", "[Info]\nLanguage=Русский\n");
  Language("readme.txt", "not a language");
  {
    TPreferences prefs(PrefsSetup("FRA"));
    EXPECT_EQ(prefs.Languages, (std::vector<std::string>{"ENG", "RUS"}));
    EXPECT_EQ(prefs.LanguageCode, "ENG");  // the system's language has no file
    EXPECT_EQ(prefs.LanguageNames(), (std::vector<std::string>{"English", "Русский"}));
    EXPECT_EQ(prefs.Text("Missing", "Key"), "");
    // Whoever listens hears of every text the language file lacks, and of nothing else.
    std::vector<std::string> missing;
    prefs.OnMissingText = [&](std::string_view section, std::string_view key) {
      missing.push_back(std::string(section) + "/" + std::string(key));
    };
    EXPECT_EQ(prefs.WindowName("Charts"), "  Charts");
    EXPECT_EQ(prefs.ButtonText("Chrats"), "");
    EXPECT_EQ(prefs.HintText("Charts", "WindowName"), "");
    EXPECT_EQ(missing, (std::vector<std::string>{"Buttons/Chrats", "Charts/WindowName.Hint"}));
  }
  // Nothing was chosen: no settings file is written.
  EXPECT_FALSE(std::filesystem::exists(root_ / "tarnwick.ini"));
  TPreferences russian(PrefsSetup("RUS"));
  EXPECT_EQ(russian.LanguageCode, "RUS");
  EXPECT_EQ(russian.LanguageIndex(), 1);
  EXPECT_EQ(russian.Text("Info", "Language"), "Русский");
  russian.ChooseLanguage(0);
  EXPECT_EQ(russian.LanguageCode, "ENG");
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
    prefs.ChooseLanguage(1);  // ENG
    prefs.Settings.WriteInteger("Statistics", "Style", 2);
  }
  const TIniFile written = TIniFile::Read(root_ / "tarnwick.ini");
  EXPECT_EQ(written.ReadString("", "Language"), "ENG");
  EXPECT_EQ(written.ReadInteger("Statistics", "Style", 0), 2);
  EXPECT_EQ(written.ReadInteger("Statistics", "Speed", 0), 900);

  std::ofstream(root_ / "tarnwick.ini") << "Language=xyz\n\x01\x02garbage[[[\n";
  EXPECT_EQ(TPreferences(PrefsSetup("DEU")).LanguageCode, "DEU");
}

TEST_F(Prefs, NoLanguageFilesIsAnError) {
  EXPECT_EQ(testing::ErrorOf<InputError>([&] { TPreferences prefs(PrefsSetup()); }),
            "There are no files in Langs!");
  Language("DEU.ini",
           "[Info]\nLanguage=Deutsch\n[Buttons]\nOK=OK\n"
           "Add.Hint=Fügt eine neue Auszahlungstabelle hinzu\n");
  Language("RUS.ini", "");  // no texts: not offered
  TPreferences prefs(PrefsSetup("ITA"));
  EXPECT_EQ(prefs.Languages, std::vector<std::string>{"DEU"});
  EXPECT_EQ(prefs.LanguageCode, "DEU");
  EXPECT_EQ(prefs.ButtonText("OK"), "OK");
  EXPECT_EQ(prefs.HintText("Buttons", "Add"), "Fügt eine neue Auszahlungstabelle hinzu");
}

TEST_F(Prefs, FoldersOfAPortableAndAnInstalledProgram) {
  const TAppFolders portable = TAppFolders::ForExecutable(root_ / "tarnwick");
  EXPECT_TRUE(portable.Portable);
  EXPECT_EQ(portable.SettingsFile, root_ / "tarnwick.ini");
  EXPECT_EQ(portable.DataFolder, root_);
  EXPECT_EQ(portable.LangsFolder(), root_ / "Langs");

  std::filesystem::create_directories(root_ / "usr" / "bin");
  std::filesystem::create_directories(root_ / "usr" / "share" / "tarnwick" / "Langs");
  const TAppFolders installed = TAppFolders::ForExecutable(root_ / "usr" / "bin" / "tarnwick");
  EXPECT_EQ(installed.ResourceFolder, root_ / "usr" / "share" / "tarnwick");

  // Without HOME the folders come from the password database; no home is refused.
  if (::geteuid() != 0) GTEST_SKIP() << "needs to switch users";
  std::filesystem::create_directories(root_ / "bin");
  std::filesystem::permissions(root_ / "bin", std::filesystem::perms::owner_all);
  const std::filesystem::path program = root_ / "bin" / "tarnwick";
  const auto as = [&](uid_t user) {
    return test::InChild(
        [&] { return TAppFolders::ForExecutable(program).DataFolder.string(); },
        [user] {
          ::unsetenv("HOME");
          ::unsetenv("XDG_DATA_HOME");
          ::unsetenv("XDG_CONFIG_HOME");
          if (::setgroups(0, nullptr) != 0 || ::setgid(user) != 0 || ::setuid(user) != 0)
            throw std::runtime_error("cannot switch users");
        });
  };
  EXPECT_EQ(as(65534), "/nonexistent/.local/share/tarnwick");  // nobody's entry
  const std::string stranger = as(54321);
  EXPECT_TRUE(testing::Contains(stranger, "Cannot find the home folder"));
}

// A hand-edited file survives a save; saves of two programs meet on disk.
TEST(IniFile, ASaveKeepsWhatTheUserWrote) {
  TIniFile ini;
  const std::string text =
      "; my settings\n[]\nLanguage=DEU\n\n[Statistics]\n# speed of my machine\nSpeed=900\n"
      "Speed=1000\nsome note\n\n[Unknown]\nKey=1\n";
  ini.Parse(text);
  EXPECT_EQ(ini.Text(), text);
  ini.WriteInteger("Statistics", "Speed", 900);
  ini.WriteString("", "Language", "DEU");
  EXPECT_FALSE(ini.Changed());
  ini.WriteInteger("Statistics", "Style", 2);
  EXPECT_TRUE(ini.Changed());
  EXPECT_EQ(ini.Text(),
            "; my settings\n[]\nLanguage=DEU\n\n[Statistics]\n# speed of my machine\nSpeed=900\n"
            "Speed=1000\nsome note\nStyle=2\n\n[Unknown]\nKey=1\n");

  const std::filesystem::path file = test::TestFolder() / "tarnwick.ini";
  test::WriteText(file, "; kept\n[Main]\nLeft=10\n");
  TIniFile first = TIniFile::Read(file);
  TIniFile second = TIniFile::Read(file);
  first.WriteInteger("Main", "Left", 20);
  second.WriteString("", "Language", "RUS");
  first.SaveChanges(file);
  second.SaveChanges(file);
  EXPECT_FALSE(second.Changed());
  const TIniFile written = TIniFile::Read(file);
  EXPECT_EQ(written.ReadInteger("Main", "Left", 0), 20);
  EXPECT_EQ(written.ReadString("", "Language"), "RUS");
  EXPECT_EQ(second.ReadInteger("Main", "Left", 0), 20);
  EXPECT_NE(test::ReadText(file).find("; kept"), std::string::npos);
}

// Settings are written only when changed, and never over a file that cannot be read.
TEST_F(Prefs, SettingsAreWrittenOnlyWhenChangedAndReadable) {
  Language("ENG.ini", "[Info]\nLanguage=English\n");
  Language("DEU.ini", "[Info]\nLanguage=Deutsch\n");
  const std::string text = "; chosen by hand\n[]\nLanguage=DEU\nFuture=1\n";
  test::WriteText(root_ / "tarnwick.ini", text);
  {
    TPreferences prefs(PrefsSetup());
    EXPECT_EQ(prefs.LanguageNames().size(), 2u);
    prefs.SetLanguage("ENG");  // for a moment, not chosen
    prefs.SetLanguage("DEU");
  }
  EXPECT_EQ(test::ReadText(root_ / "tarnwick.ini"), text);

  std::filesystem::permissions(root_ / "tarnwick.ini", std::filesystem::perms::none);
  std::filesystem::permissions(root_, std::filesystem::perms::all);
  EXPECT_EQ(test::AsOrdinaryUser([&]() -> std::string {
              TPreferences prefs(PrefsSetup());
              if (prefs.SettingsWarning().find("Permission denied") == std::string::npos)
                return "warning: " + prefs.SettingsWarning();
              if (prefs.LanguageCode != "ENG") return "language " + prefs.LanguageCode;
              prefs.ChooseLanguage(0);
              const std::string error =
                  testing::ErrorOf<DataFileError>([&] { prefs.SaveSettings(); });
              return error == testing::kNoError ? "saved" : "";
            }),
            "");
  std::filesystem::permissions(root_ / "tarnwick.ini", std::filesystem::perms::owner_read);
  EXPECT_EQ(test::ReadText(root_ / "tarnwick.ini"), text);
}

// Only readable regular files with a language name are offered (a FIFO never blocks).
TEST_F(Prefs, OnlyUsableLanguageFilesAreOffered) {
  Language("ENG.ini", "[Info]\nLanguage=English\n");
  Language("EMP.ini", "");
  Language("NOI.ini", "[Buttons]\nOK=OK\n");
  Language("a.ini", "[Info]\nLanguage=A\n");
  Language("12x.ini", "[Info]\nLanguage=Digits\n");
  Language("UNR.ini", "[Info]\nLanguage=Unreadable\n");
  std::filesystem::permissions(root_ / "Langs" / "UNR.ini", std::filesystem::perms::none);
  ASSERT_EQ(::mkfifo((root_ / "Langs" / "FIF.ini").c_str(), 0666), 0);
  std::filesystem::create_directory(root_ / "Langs" / "DIR.ini");
  std::filesystem::permissions(root_, std::filesystem::perms::all);
  std::filesystem::permissions(root_ / "Langs", std::filesystem::perms::all);
  test::WriteText(root_ / "tarnwick.ini", "Language=UNR\n");
  std::filesystem::permissions(root_ / "tarnwick.ini", std::filesystem::perms::all);
  EXPECT_EQ(test::AsOrdinaryUser([&]() -> std::string {
              TPreferences prefs(PrefsSetup("EMP"));
              std::string codes;
              for (const std::string& code : prefs.Languages) codes += code + " ";
              return codes == "ENG " && prefs.LanguageCode == "ENG" ? "" : codes;
            }),
            "");
}

// Help pages of each language, else English, never outside the help folder.
TEST_F(Prefs, HelpPagesOfEachLanguage) {
  Language("ENG.ini", "[Info]\nLanguage=English\nHelpFile=Tarnwick_eng.chm\n");
  Language("DEU.ini", "[Info]\nLanguage=Deutsch\nHelpFile=Tarnwick_deu.chm\n");
  Language("RUS.ini", "[Info]\nLanguage=Русский\nHelpFile=../../secret.chm\n");
  for (const char* page :
       {"Tarnwick_deu/main.htm", "Tarnwick_eng/main.htm", "Tarnwick_eng/statistics.htm"}) {
    std::filesystem::create_directories((root_ / "Help" / page).parent_path());
    test::WriteText(root_ / "Help" / page, "<html></html>");
  }
  std::filesystem::create_directories(root_ / "secret");
  test::WriteText(root_ / "secret" / "main.htm", "not help");
  TPreferences prefs(PrefsSetup("DEU"));
  EXPECT_EQ(prefs.HelpPage(1), root_ / "Help" / "Tarnwick_deu" / "main.htm");
  EXPECT_EQ(prefs.HelpPage(7), root_ / "Help" / "Tarnwick_eng" / "statistics.htm");
  EXPECT_EQ(prefs.HelpPage(2), std::filesystem::path());  // no page in any language
  EXPECT_EQ(prefs.HelpPage(5), std::filesystem::path());  // no such topic
  prefs.SetLanguage("RUS");
  EXPECT_EQ(prefs.HelpPage(1), root_ / "Help" / "Tarnwick_eng" / "main.htm");
  EXPECT_EQ(prefs.FontName, "MS Shell Dlg");
  TPreferencesSetup linux = PrefsSetup();
  linux.DefaultFont = "DejaVu Sans";
  EXPECT_EQ(TPreferences(linux).FontName, "DejaVu Sans");
}

TEST(Texts, PlaceholdersAndMailLinks) {
  EXPECT_EQ(FormatText("Win %s coins: %s", {"3", "1.234%"}), "Win 3 coins: 1.234%");
  EXPECT_EQ(FormatText("%d %n %x %% %s", {"a"}), "%d %n %x % a");
  EXPECT_EQ(FormatText("%s and %s", {"one"}), "one and ");
  EXPECT_EQ(FormatText("100%", {}), "100%");

  // The error report's mail body keeps only what cannot end or bend the link.
  EXPECT_EQ(EncodeMailBody("Tarnwick 2.0\r\n"), "Tarnwick%202.0%0d%0a");
  EXPECT_EQ(EncodeMailBody("a&b?c=d#e%f"), "a%26b%3fc%3dd%23e%25f");
  EXPECT_EQ(EncodeMailBody("!$'()*-.@_"), "!$'()*-.@_");
  EXPECT_EQ(EncodeMailBody("\xC3\x9F"), "%c3%9f");  // a UTF-8 character byte by byte
  EXPECT_EQ(EncodeMailBody(std::string_view("ab\0cd", 5)), "ab");
  EXPECT_EQ(ErrorReportMailLink("Hand :  AS"),
            "mailto:?subject=Tarnwick%201.0%20Error&body=Tarnwick%20" TARNWICK_VERSION
            "%0d%0aHand%20%3a%20%20AS");
}

}  // namespace
}  // namespace tarnwick
