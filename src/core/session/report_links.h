// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The links of the error report and the about box: a mail to the program's support address
// with the error text as its body, and the about box's mail link.

#include <string>
#include <string_view>

namespace tarnwick {

inline constexpr char kProgramTitle[] = "Tarnwick";
inline constexpr char kProgramVersion[] = "2.0";
inline constexpr char kSupportAddress[] = "support@tarnwick.example.org";

// Encodes text for the body of a mail link: letters, digits and ! $ ' ( ) * - . @ _ stay,
// every other byte (blank, line break, "&", "?", "=", "#", "%", every byte of a UTF-8
// character) becomes "%" and two lower-case hexadecimal digits. The text ends at its first
// zero byte.
std::string EncodeMailBody(std::string_view text);

// The mail link that sends an error report: "Tarnwick 2.0", a line break, then the text.
std::string ErrorReportMailLink(std::string_view errorText);

// The about box's mail link to the support address.
std::string AboutMailLink();

}  // namespace tarnwick
