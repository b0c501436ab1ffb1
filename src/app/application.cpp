// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "application.h"

#include <QFontDatabase>
#include <QLocale>
#include <QMessageBox>
#include <QTimer>

#include "main_window.h"
#include "measure.h"
#include "parts/accessibility.h"
#include "parts/guard.h"
#include "parts/qt_text.h"
#include "parts/translations.h"
#include "session/app_folders.h"
#include "session/preferences.h"
#include "session/report_links.h"

namespace tarnwick::app {

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {
  setApplicationName(QStringLiteral("tarnwick"));
  setApplicationVersion(QString::fromLatin1(kProgramVersion));
  // The desktop entry the windows belong to (its icon and name in task bars).
  setDesktopFileName(QStringLiteral("io.github.tarnwick.tarnwick"));
  InstallAccessibility();
}

bool TApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (...) {
    ReportError(nullptr, CurrentErrorText());
    return false;
  }
}

int RunDesktopProgram(TApplication& application, bool measure, const QElapsedTimer& started) {
  TAppFolders folders;
  try {
    folders = TAppFolders::Current();
    folders.PrepareUserFolders();
    const QStringList families = QFontDatabase::families();
    const QStringList languages = QLocale::system().uiLanguages();
    InstallPreferences(std::make_unique<TPreferences>(TPreferencesSetup{
        folders.ResourceFolder, folders.SettingsFile, LanguageOfLocale(S(languages.value(0))),
        [families](const std::string& family) { return families.contains(Q(family)); },
        S(QApplication::font().family())}));
  } catch (...) {
    // Before the main window exists nothing else can show the failure.
    QMessageBox::critical(nullptr, QStringLiteral("Tarnwick"), CurrentErrorText());
    return 1;
  }
  Preferences().OnMissingText = WarnOfMissingText;
  InstallQtTranslation(Q(Preferences().LanguageCode));
  int status = 0;
  {
    std::unique_ptr<TfmMain> window;
    if (!Guarded(nullptr, [&] { window = std::make_unique<TfmMain>(folders.DataFolder); })) {
      ReleasePreferences();
      return 1;
    }
    window->show();
    if (measure) {
      QTimer::singleShot(0, window.get(), [&] {
        Measure(*window, started);
        window->close();
      });
    } else {
      QTimer::singleShot(0, window.get(), [&] { window->ShowStartWarnings(); });
    }
    status = application.exec();
  }
  ReleasePreferences();  // writes the settings that changed
  return status;
}

}  // namespace tarnwick::app
