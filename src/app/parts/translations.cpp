// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "parts/translations.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFontDatabase>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <memory>

#include "parts/qt_text.h"
#include "session/preferences.h"

namespace tarnwick::app {

bool InstallQtTranslation(const QString& languageCode) {
  static std::unique_ptr<QTranslator> installed;
  if (installed) {
    QCoreApplication::removeTranslator(installed.get());
    installed.reset();
  }
  const QLocale::Language language =
      QLocale::codeToLanguage(languageCode.toLower(), QLocale::ISO639Part2);
  if (language == QLocale::AnyLanguage || language == QLocale::English) return false;
  auto translator = std::make_unique<QTranslator>();
  if (!translator->load(QLocale(language), QStringLiteral("qtbase"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    return false;
  }
  QCoreApplication::installTranslator(translator.get());
  installed = std::move(translator);
  return true;
}

void UseLanguageFont() {
  // The desktop's font, as it was before the first language font replaced it.
  static const QFont desktop = QApplication::font();
  QFont font = desktop;
  const QString preferred = Q(Preferences().FontName);
  if (QFontDatabase::families().contains(preferred)) font.setFamily(preferred);
  if (QApplication::font() != font) QApplication::setFont(font);
}

void WarnOfMissingText(std::string_view section, std::string_view key) {
  qWarning("The language file has no text [%.*s] %.*s", static_cast<int>(section.size()),
           section.data(), static_cast<int>(key.size()), key.data());
}

}  // namespace tarnwick::app
