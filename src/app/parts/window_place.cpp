// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "parts/window_place.h"

#include <QApplication>
#include <QScreen>
#include <QWidget>
#include <cmath>
#include <vector>

#include "parts/layout_rules.h"
#include "parts/qt_text.h"
#include "session/preferences.h"

namespace tarnwick::app {

namespace {

const QScreen* ScreenOf(const QWidget* window) {
  const QScreen* screen = window->screen();
  return screen != nullptr ? screen : QApplication::primaryScreen();
}

std::string SectionOf(const QWidget* window) {
  const QScreen* screen = ScreenOf(window);
  return S(PlacementSection(static_cast<int>(std::lround(screen->logicalDotsPerInch())),
                            screen->virtualGeometry().width()));
}

}  // namespace

void RestoreWindowPlace(QWidget* window, const QString& name, const QWidget* owner) {
  const TIniFile& settings = Preferences().Settings;
  const std::string section = SectionOf(window);
  const std::string key = S(name) + ".";
  const QSize least = window->minimumSizeHint().expandedTo(window->minimumSize());
  const int width = settings.ReadInteger(section, key + "Width", -1);
  const int height = settings.ReadInteger(section, key + "Height", -1);
  QRect place;
  if (width > 0 && height > 0) {
    place = QRect(settings.ReadInteger(section, key + "Left", 0),
                  settings.ReadInteger(section, key + "Top", 0), std::max(width, least.width()),
                  std::max(height, least.height()));
  } else if (owner != nullptr) {
    // The size it would show at: the one it was given, else the one its layout asks for.
    const QSize size = (window->testAttribute(Qt::WA_Resized) ? window->size() : window->sizeHint())
                           .expandedTo(least);
    place = BesideOwner(owner->frameGeometry(), size, ScreenOf(owner)->availableGeometry());
  } else {
    return;
  }
  std::vector<QRect> screens;
  for (const QScreen* each : QApplication::screens()) screens.push_back(each->availableGeometry());
  place = FitIntoScreens(place, screens);
  window->resize(place.size());
  window->move(place.topLeft());
}

void SaveWindowPlace(const QWidget* window, const QString& name) {
  TIniFile& settings = Preferences().Settings;
  const std::string section = SectionOf(window);
  const std::string key = S(name) + ".";
  settings.WriteInteger(section, key + "Width", window->width());
  settings.WriteInteger(section, key + "Height", window->height());
  settings.WriteInteger(section, key + "Left", window->pos().x());
  settings.WriteInteger(section, key + "Top", window->pos().y());
}

}  // namespace tarnwick::app
