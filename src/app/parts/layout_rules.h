// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Where the main window puts its buttons and card slots, and where a window may be placed:
// pure functions of sizes, tested without windows.

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <optional>
#include <vector>

namespace tarnwick::app {

inline constexpr int kButtonColumns = 4;  // one per suit
inline constexpr int kButtonRows = 14;    // the row of the four special buttons, then a rank each
inline constexpr int kButtonCount = 56;
inline constexpr int kMenuButton = 0;
inline constexpr int kAllHoldsButton = 1;

// The card code of button 2..55 (2: the joker -2, 3: the joker -1, 4 + rank + 13 x suit).
int ButtonCode(int index);
// The button of a card code.
int ButtonOf(int code);
// The cell of a button: row 0 holds buttons 0..3, row 1 + rank the cards of that rank with
// the suit as the column.
QPoint ButtonCell(int index);
// The rectangle of a button in a panel of this client size: cell edges at the rounded
// multiples of (width + 3) / 4 and (height + 2) / 14, each button leaving 3 pixels free to
// its right and 2 below.
QRect ButtonRect(int index, QSize client);

// The top left corner of card slot i (0..4) in a panel of this client size, for cards of
// `card` size; nothing (the slots stay where they are) when the panel is no higher than a
// card and at most 1.2 cards wide. Slots overlap when five cards do not fit side by side.
std::optional<QPoint> CardSlotPlace(int slot, QSize client, QSize card);

// The settings section of a window's placement on a screen: "Placement" + pixels per inch +
// the width of the virtual screen ("Placement961280").
QString PlacementSection(int dotsPerInch, int virtualWidth);

// A stored window rectangle made to fit the screens: a window at most `maxWidth` wide (0:
// any width), no larger than the largest screen, moved so that it lies within the screen
// it overlaps most (the first screen when it overlaps none). A negative top or left is
// never kept.
QRect FitIntoScreens(QRect window, const std::vector<QRect>& screens, int maxWidth = 0);

// Where a window of `size` opens beside its owner: to the owner's left when it fits there
// on the screen `available`, else to its right, else on the side with more room; level with
// the owner's top, and always within `available`.
QRect BesideOwner(QRect owner, QSize size, QRect available);

}  // namespace tarnwick::app
