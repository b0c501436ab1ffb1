// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Every window remembers its size and place, per screen configuration (the settings
// section of PlacementSection), and opens there again, moved into the screens as they are
// now; the first time it opens at the size it was given, beside the window it belongs to.

#include <QString>

class QWidget;

namespace tarnwick::app {

// Places `window` (named `name` in the settings) where it was last, else beside `owner`
// (null: where it is).
void RestoreWindowPlace(QWidget* window, const QString& name, const QWidget* owner);

// Keeps the window's size and place for the next time it opens.
void SaveWindowPlace(const QWidget* window, const QString& name);

}  // namespace tarnwick::app
