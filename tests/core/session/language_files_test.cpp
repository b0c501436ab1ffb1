// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later

// The shipped language files against each other and against the texts the code asks for.

#include <gtest/gtest.h>

#include <regex>
#include <set>

#include "session/ini_file.h"
#include "session/preferences.h"
#include "test_files.h"

namespace tarnwick {
namespace {

const std::filesystem::path kSource = TARNWICK_SOURCE_DIR;

// The printf conversions of a text, in order ("%s", "%d", "%%" ...).
std::string Conversions(const std::string& text) {
  static const std::regex conversion("%[-+ #0-9.]*[a-zA-Z%]");
  std::string found;
  for (std::sregex_iterator it(text.begin(), text.end(), conversion), end; it != end; ++it)
    found += it->str() + ' ';
  return found;
}

TEST(LanguageFiles, EveryLanguageHasEveryKeyTheCodeReads) {
  const TIniFile english = TIniFile::Read(kSource / "data" / "Langs" / "ENG.ini");
  ASSERT_GT(english.Sections().size(), 10u);
  std::set<std::string> codes;
  for (const auto& entry : std::filesystem::directory_iterator(kSource / "data" / "Langs")) {
    codes.insert(LanguageCodeOf(entry.path()));
    const TIniFile language = TIniFile::Read(entry.path());
    SCOPED_TRACE(entry.path().filename().string());
    EXPECT_FALSE(language.ReadString("Info", "Language").empty());
    for (const std::string& section : english.Sections()) {
      for (const std::string& key : english.Keys(section)) {
        ASSERT_TRUE(language.HasKey(section, key)) << "[" << section << "] " << key;
        const std::string value = language.ReadString(section, key);
        EXPECT_FALSE(value.empty()) << "[" << section << "] " << key;
        EXPECT_EQ(Conversions(value), Conversions(english.ReadString(section, key)))
            << "[" << section << "] " << key;
      }
    }
    for (const std::string& section : language.Sections()) {
      for (const std::string& key : language.Keys(section))
        EXPECT_TRUE(english.HasKey(section, key)) << "extra [" << section << "] " << key;
    }
  }
  EXPECT_EQ(codes, (std::set<std::string>{"DEU", "ENG", "RUS"}));

  // Every Text("Section", "Key"), HintText, TextOr, ButtonText and WindowName with literal
  // arguments in the program's sources names a key of ENG.ini.
  const std::regex text(R"re(\b(Text|HintText|TextOr)\(\s*"([^"]*)"\s*,\s*"([^"]*)")re");
  const std::regex button(R"re(\bButtonText\(\s*"([^"]*)"\s*\))re");
  const std::regex window(R"re(\bWindowName\(\s*"([^"]*)"\s*\))re");
  int uses = 0;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(kSource / "src")) {
    const std::string extension = entry.path().extension().string();
    if (extension != ".cpp" && extension != ".h") continue;
    const std::string code = test::ReadText(entry.path());
    const std::string file = entry.path().filename().string();
    for (std::sregex_iterator it(code.begin(), code.end(), text), end; it != end; ++it) {
      const std::string key = (*it)[1] == "HintText" ? (*it)[3].str() + ".Hint" : (*it)[3].str();
      EXPECT_TRUE(english.HasKey((*it)[2].str(), key)) << file << ": [" << (*it)[2] << "] " << key;
      ++uses;
    }
    for (std::sregex_iterator it(code.begin(), code.end(), button), end; it != end; ++it) {
      EXPECT_TRUE(english.HasKey("Buttons", (*it)[1].str())) << file << ": " << (*it)[1];
      ++uses;
    }
    for (std::sregex_iterator it(code.begin(), code.end(), window), end; it != end; ++it) {
      EXPECT_TRUE(english.HasKey((*it)[1].str(), "WindowName")) << file << ": " << (*it)[1];
      ++uses;
    }
  }
  EXPECT_GE(uses, 1);
}

// Every help topic has its page in every language, and every link leads to a page.
TEST(LanguageFiles, EveryHelpTopicHasAPageInEveryLanguage) {
  std::set<std::string> topics;
  for (int context = 0; context < 64; ++context) {
    if (!HelpTopic(context).empty()) topics.insert(HelpTopic(context));
  }
  ASSERT_GE(topics.size(), 7u);
  static const std::regex link(R"re(href="([^"#:]+)")re");
  static const std::regex nav(R"re(<p class="nav">(.*?)</p>)re");
  for (const auto& entry : std::filesystem::directory_iterator(kSource / "data" / "Langs")) {
    const TIniFile language = TIniFile::Read(entry.path());
    const std::filesystem::path book =
        kSource / "data" / "Help" /
        std::filesystem::path(language.ReadString("Info", "HelpFile")).stem();
    SCOPED_TRACE(book.filename().string());
    for (const std::string& topic : topics)
      EXPECT_TRUE(std::filesystem::is_regular_file(book / topic)) << topic;
    for (const auto& page : std::filesystem::directory_iterator(book)) {
      const std::string html = test::ReadText(page.path());
      const std::string name = page.path().filename().string();
      std::smatch bar;
      ASSERT_TRUE(std::regex_search(html, bar, nav)) << name;
      const std::string navigation = bar[1].str();
      for (const std::string& topic : topics) {
        if (topic == name) continue;
        EXPECT_NE(navigation.find("href=\"" + topic + "\""), std::string::npos)
            << name << " " << topic;
      }
      for (std::sregex_iterator it(html.begin(), html.end(), link), end; it != end; ++it)
        EXPECT_TRUE(std::filesystem::is_regular_file(book / (*it)[1].str()))
            << name << " -> " << (*it)[1];
    }
  }
}

}  // namespace
}  // namespace tarnwick
