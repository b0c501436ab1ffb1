// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Qt's own texts (the buttons of message boxes, file and print dialogs) in the language of
// the program's texts, where the system has Qt's translations of it.

#include <QString>
#include <string_view>

namespace tarnwick::app {

// Replaces Qt's translation by the one of a three-letter language code ("DEU"); English
// (or a language Qt has no translation of) removes it. Returns whether one was installed.
bool InstallQtTranslation(const QString& languageCode);

// Makes the font of the language in use (its file names a family; where the system lacks
// it, the desktop's own) the font of every window of the program, open or opened later.
void UseLanguageFont();

// Logs a text the program asked for that the language file lacks (a window would show an
// empty caption): the window tests fail on the warning.
void WarnOfMissingText(std::string_view section, std::string_view key);

}  // namespace tarnwick::app
