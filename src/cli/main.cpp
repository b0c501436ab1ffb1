// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later

// tarnwick-cli: the scriptable face of the Tarnwick core.

#include <CLI/CLI.hpp>
#include <iostream>
#include <string>
#include <vector>

#include "cli_input.h"
#include "commands.h"
#include "errors.h"

namespace {

constexpr int kInputErrorExit = 2;

int Fail(const std::string& message) {
  std::cerr << "tarnwick-cli: error: " << message << '\n';
  return kInputErrorExit;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace tarnwick;
  CLI::App app{"Tarnwick: exact odds for five-card draw video poker", "tarnwick-cli"};
  app.require_subcommand(1);

  bool json = false;
  CLI::App* games = app.add_subcommand("games", "List every game with its categories in pay order");
  games->add_flag("--json", json, "Print JSON");

  std::string gameText;
  std::string paysText;
  std::vector<std::string> cardWords;
  CLI::App* hand = app.add_subcommand("hand", "Analyse all 32 holds of a dealt hand exactly");
  hand->add_option("--game,-g", gameText, "Game number or name (see 'games')")->required();
  hand->add_option(
          "--pays,-p", paysText,
          "One pay per category in category order, whole coins for one coin: 800,50,25,...")
      ->required();
  hand->add_option("cards", cardWords, "Five cards such as AS KH 10D 2c; JK is a joker")
      ->required();
  hand->add_flag("--json", json, "Print JSON");

  const auto isCommand = [&](const std::string& name) {
    for (const CLI::App* command : app.get_subcommands({})) {
      if (command->check_name(name)) return true;
    }
    return false;
  };
  if (argc > 1 && argv[1][0] != '-' && !isCommand(argv[1])) {
    return Fail(std::string("unknown command '") + argv[1] +
                "' (commands: games, hand; see --help)");
  }
  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp& e) {
    return app.exit(e);
  } catch (const CLI::CallForAllHelp& e) {
    return app.exit(e);
  } catch (const CLI::ParseError& e) {
    return Fail(e.what());
  }

  try {
    const TCatalogue catalogue = BuildCatalogue();
    if (games->parsed()) return cli::RunGames(catalogue, json, std::cout);
    const TPokerDescription& game = cli::ParseGame(catalogue, gameText);
    const std::vector<int32_t> pays = cli::ParsePays(game, paysText);
    const auto cards = cli::ParseHand(game, cardWords);
    return cli::RunHand(game, pays, cards, json, std::cout);
  } catch (const InputError& e) {
    return Fail(e.what());
  } catch (const std::exception& e) {
    // Engine errors carry one context line per step, separated by "\r\n".
    std::string text = e.what();
    for (size_t at = text.find('\r'); at != std::string::npos; at = text.find('\r', at))
      text.erase(at, 1);
    std::cerr << "tarnwick-cli: " << text << '\n';
    return 1;
  }
}
