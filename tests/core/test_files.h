// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Files and processes for the tests of the store, the settings and the language files.

#include <grp.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace tarnwick::test {

// A fresh, empty folder per test (every user may enter it: some tests run as another user).
inline std::filesystem::path TestFolder(const std::string& suffix = "") {
  const std::filesystem::path folder =
      std::filesystem::path(::testing::TempDir()) /
      ("tarnwick_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) +
       suffix);
  std::error_code error;
  std::filesystem::permissions(folder, std::filesystem::perms::owner_all,
                               std::filesystem::perm_options::add, error);
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  std::filesystem::permissions(folder, std::filesystem::perms::all);
  return folder;
}

inline std::string ReadText(const std::filesystem::path& path) {
  std::stringstream text;
  text << std::ifstream(path, std::ios::binary).rdbuf();
  return text.str();
}

inline std::vector<uint8_t> ReadBytes(const std::filesystem::path& path) {
  const std::string text = ReadText(path);
  return {text.begin(), text.end()};
}

inline void WriteText(const std::filesystem::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

inline void WriteBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
  WriteText(path, std::string(bytes.begin(), bytes.end()));
}

// Runs `prepare`, then `body`, in a child process; returns what it reports (empty: fine).
inline std::string InChild(const std::function<std::string()>& body,
                           const std::function<void()>& prepare = {}) {
  int channel[2];
  if (::pipe(channel) != 0) return "no pipe";
  const pid_t child = ::fork();
  if (child < 0) return "no fork";
  if (child == 0) {
    ::close(channel[0]);
    std::string report;
    try {
      if (prepare) prepare();
      report = body();
    } catch (const std::exception& e) {
      report = std::string("exception: ") + e.what();
    }
    if (!report.empty() && ::write(channel[1], report.data(), report.size()) < 0) _exit(2);
    _exit(0);
  }
  ::close(channel[1]);
  std::string report;
  char buffer[512];
  for (ssize_t n; (n = ::read(channel[0], buffer, sizeof buffer)) > 0;)
    report.append(buffer, static_cast<size_t>(n));
  ::close(channel[0]);
  int status = 0;
  ::waitpid(child, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
    report += " (the child ended with status " + std::to_string(status) + ")";
  return report;
}

// Runs `body` in a child process as an unprivileged user, so that permissions apply.
inline std::string AsOrdinaryUser(const std::function<std::string()>& body) {
  return InChild(body, [] {
    if (::geteuid() != 0) return;
    constexpr uid_t kNobody = 65534;
    if (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)
      throw std::runtime_error("cannot become user nobody");
  });
}

}  // namespace tarnwick::test
