// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Colours that follow the palette, light or dark: the red of a value out of range, readable
// on the field's base colour of either.

#include <QColor>
#include <QPalette>

class QWidget;

namespace tarnwick::app {

// The red for text on the palette's base colour: pure red on a light base, a light red on a
// dark one.
QColor AlarmText(const QPalette& palette);

// Shows the field's text in the alarm red (invalid) or in the palette's text colour. The red
// is chosen anew when the palette changes (a dark theme, say).
void ShowInvalid(QWidget* field, bool invalid);

}  // namespace tarnwick::app
