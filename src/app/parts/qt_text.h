// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The core's texts are UTF-8 std::strings; the windows speak QString.

#include <QString>
#include <string>
#include <string_view>

#include "engine/cards.h"

namespace tarnwick::app {

inline QString Q(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string S(const QString& text) {
  return text.toStdString();
}

// A window caption: the captions of the language files and the controller begin with two
// blanks, which a title bar would show as they are.
inline QString Caption(std::string_view text) {
  return Q(text).trimmed();
}

// A hint wrapped by the core with "\r\n" line breaks, for a tooltip.
inline QString HintOf(std::string_view text) {
  QString hint = Q(text);
  hint.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return hint;
}

// The text a card code is known by, as the command-line tool writes it: "AS", "JK" for the
// first joker (code -2), "JK2" for the second (-1); empty for an empty position.
inline QString CardCodeText(int code) {
  if (code == -2) return QStringLiteral("JK");
  if (code == -1) return QStringLiteral("JK2");
  if (code < 0) return {};
  return Q(CardText(code));
}

}  // namespace tarnwick::app
