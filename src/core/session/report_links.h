// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The error report's mail link: a mail with the error text as its body, to whoever the
// player sends it (the program has no address of its own that would answer).

#include <string>
#include <string_view>

namespace tarnwick {

inline constexpr char kProgramTitle[] = "Tarnwick";
inline constexpr char kProgramVersion[] = TARNWICK_VERSION;  // the project's VERSION

// Encodes text for the body of a mail link: letters, digits and ! $ ' ( ) * - . @ _ stay,
// every other byte (blank, line break, "&", "?", "=", "#", "%", every byte of a UTF-8
// character) becomes "%" and two lower-case hexadecimal digits. The text ends at its first
// zero byte.
std::string EncodeMailBody(std::string_view text);

// The mail link that sends an error report: "Tarnwick <version>", a line break, then the text;
// without a recipient, which the mail client asks for.
std::string ErrorReportMailLink(std::string_view errorText);

}  // namespace tarnwick
