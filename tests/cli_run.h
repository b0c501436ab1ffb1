// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Runs tarnwick-cli as a user or a script would and reads what it prints: the one way the
// tests of the command-line tool and the window tests that compare with it run the program.
// It runs through the shell, so that a test can put an environment or another user in front.

#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <stdexcept>
#include <string>

namespace tarnwick::cli_run {

struct TCliRun {
  int Exit = -1;
  std::string Out;
  std::string Err;
};

// The word as the shell passes it on, whatever it holds.
inline std::string ShellWord(const std::string& word) {
  std::string quoted = "'";
  for (const char c : word) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

// Runs the program with the arguments (shell words), after `prefix` (an environment,
// another user).
inline TCliRun RunCli(const std::string& arguments, const std::string& prefix = "",
                      const std::string& program = TARNWICK_CLI) {
  const auto scratch = [] {
    std::string name = (std::filesystem::temp_directory_path() / "tarnwick_cli_XXXXXX").string();
    const int fd = ::mkstemp(name.data());
    if (fd < 0) throw std::runtime_error("no scratch file in " + name);
    ::close(fd);
    return name;
  };
  const auto take = [](const std::string& path) {
    std::stringstream text;
    text << std::ifstream(path).rdbuf();
    std::filesystem::remove(path);
    return text.str();
  };
  const std::string out = scratch();
  const std::string err = scratch();
  const int status =
      std::system((prefix + program + " " + arguments + " >" + out + " 2>" + err).c_str());
  TCliRun run{WIFEXITED(status) ? WEXITSTATUS(status) : -1, take(out), take(err)};
  return run;
}

// What the program prints for the arguments (which ask for JSON), read as JSON; a run that
// fails or prints something else throws, naming the arguments and the program's complaint.
inline nlohmann::json CliJson(const std::string& arguments, const std::string& prefix = "",
                              const std::string& program = TARNWICK_CLI) {
  const TCliRun run = RunCli(arguments, prefix, program);
  if (run.Exit != 0)
    throw std::runtime_error("tarnwick-cli " + arguments + ": exit " + std::to_string(run.Exit) +
                             ": " + run.Err);
  try {
    return nlohmann::json::parse(run.Out);
  } catch (const nlohmann::json::exception& error) {
    throw std::runtime_error("tarnwick-cli " + arguments + ": " + error.what() + ": " + run.Out);
  }
}

}  // namespace tarnwick::cli_run
