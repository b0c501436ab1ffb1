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

// The name of a card code with the jokers told apart (CardName): "AS", "JK", "JK2".
inline QString CardCodeText(int code) {
  return Q(CardName(code));
}

}  // namespace tarnwick::app
