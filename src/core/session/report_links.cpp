// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/report_links.h"

#include <cstdio>

namespace tarnwick {

namespace {

bool KeptInMailBody(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
         std::string_view("!$'()*-.@_").find(static_cast<char>(c)) != std::string_view::npos;
}

}  // namespace

std::string EncodeMailBody(std::string_view text) {
  std::string encoded;
  for (const char byte : text) {
    const auto c = static_cast<unsigned char>(byte);
    if (c == 0) break;
    if (KeptInMailBody(c)) {
      encoded += byte;
      continue;
    }
    char escape[4];
    std::snprintf(escape, sizeof escape, "%%%.2x", c);
    encoded += escape;
  }
  return encoded;
}

std::string ErrorReportMailLink(std::string_view errorText) {
  // The subject is the one the program has always sent, so reports keep sorting the same.
  std::string body = std::string(kProgramTitle) + " " + kProgramVersion + "\r\n";
  body += errorText;
  return "mailto:?subject=Tarnwick%201.0%20Error&body=" + EncodeMailBody(body);
}

}  // namespace tarnwick
