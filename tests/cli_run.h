// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Runs tarnwick-cli through the shell (a test may put an environment or another user in
// front) and reads what it prints: used by the command-line and the window tests alike.

#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

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

// Runs the program with the arguments (shell words) after `prefix`.
inline TCliRun RunCli(const std::string& arguments, const std::string& prefix = "",
                      const std::string& program = TARNWICK_CLI) {
  std::string files[2];
  for (std::string& file : files) {
    file = (std::filesystem::temp_directory_path() / "tarnwick_cli_XXXXXX").string();
    const int fd = ::mkstemp(file.data());
    if (fd < 0) throw std::runtime_error("no scratch file " + file);
    ::close(fd);
  }
  const int status = std::system(
      (prefix + program + " " + arguments + " >" + files[0] + " 2>" + files[1]).c_str());
  TCliRun run{WIFEXITED(status) ? WEXITSTATUS(status) : -1, {}, {}};
  for (auto [file, text] : {std::pair{&files[0], &run.Out}, std::pair{&files[1], &run.Err}}) {
    std::stringstream read;
    read << std::ifstream(*file).rdbuf();
    *text = read.str();
    std::filesystem::remove(*file);
  }
  return run;
}

// The JSON printed for the arguments (which ask for it); a failed run or other output throws.
inline nlohmann::json CliJson(const std::string& arguments, const std::string& prefix = "",
                              const std::string& program = TARNWICK_CLI) {
  const TCliRun run = RunCli(arguments, prefix, program);
  if (run.Exit != 0 || !nlohmann::json::accept(run.Out))
    throw std::runtime_error("tarnwick-cli " + arguments + ": exit " + std::to_string(run.Exit) +
                             ": " + run.Err + run.Out);
  return nlohmann::json::parse(run.Out);
}

}  // namespace tarnwick::cli_run
