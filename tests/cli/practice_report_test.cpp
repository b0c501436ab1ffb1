// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later

// The practice report is written hand by hand as the hands are played.

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <nlohmann/json.hpp>
#include <ostream>
#include <streambuf>
#include <string>

#include "engine/poker_engine.h"
#include "practice_command.h"

namespace tarnwick::cli {
namespace {

// Keeps what is written, and the largest piece written at once.
class TPieces : public std::streambuf {
 public:
  std::string Text;
  size_t Largest = 0;

 protected:
  int_type overflow(int_type c) override {
    if (!traits_type::eq_int_type(c, traits_type::eof())) {
      const char letter = traits_type::to_char_type(c);
      xsputn(&letter, 1);
    }
    return traits_type::not_eof(c);
  }
  std::streamsize xsputn(const char* text, std::streamsize count) override {
    Text.append(text, static_cast<size_t>(count));
    Largest = std::max(Largest, static_cast<size_t>(count));
    return count;
  }
};

// 60 hands in text and JSON: no piece written is more than a few hands (memory does not grow
// with the hands); the JSON is exactly the indented dump of the whole report.
TEST(PracticeReport, EveryHandIsWrittenAsItIsPlayed) {
  const TCatalogue games = BuildCatalogue();
  TPracticeCommandOptions options;
  options.Table.Game = "0";
  options.Table.Pays = "800,50,25,9,6,4,3,2,1";
  options.Table.Coins = 5;
  options.Seed = 99;
  options.HoldsFile = ::testing::TempDir() + "tarnwick_practice_report_holds";
  {
    std::ofstream holds(options.HoldsFile);
    for (int hand = 0; hand < 60; ++hand) holds << (hand % 3 == 0 ? "-----\n" : "best\n");
  }
  for (const bool json : {false, true}) {
    options.Table.Json = json;
    TPieces pieces;
    std::ostream out(&pieces);
    ASSERT_EQ(RunPractice(games, options, out), 0);
    SCOPED_TRACE(pieces.Text);
    EXPECT_LT(pieces.Largest * 20, pieces.Text.size());
    if (json) {
      const auto report = nlohmann::ordered_json::parse(pieces.Text);
      EXPECT_EQ(report.dump(2) + "\n", pieces.Text);
      EXPECT_EQ(report["hands"].size(), 60u);
      EXPECT_EQ(report["figures"]["hands"], 60);
    } else {
      EXPECT_NE(pieces.Text.find("\nHand 60 (deal 60)"), std::string::npos);
      EXPECT_NE(pieces.Text.find("\nHands 60, mistakes "), std::string::npos);
    }
  }
}

}  // namespace
}  // namespace tarnwick::cli
