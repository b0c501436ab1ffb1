// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Sizing of the figure grids of the all-holds and statistics windows: every column as wide
// as the widest text it can show (in any view), the header as high as its wrapped titles,
// and the window as large as the grid needs but never larger than the screen, which makes
// the grid scroll instead.

#include <QSize>
#include <QStringList>
#include <functional>

class QButtonGroup;
class QDialog;
class QHBoxLayout;
class QTableView;
class QWidget;

namespace tarnwick::app {

// Sets the width of every column to its widest text from `texts` (a title is measured by
// its longest word, as it wraps at blanks) plus `pad` and the cell margins, unless
// `fixedWidth` gives one (> 0), and the header's height to the tallest wrapped title; the
// grid's least size shows the first column and three rows.
// Returns the size of the whole grid with `rows` rows of `rowHeight` and `extraHeight`.
QSize FitGridColumns(QTableView* grid, const std::function<QStringList(int column)>& texts,
                     const std::function<int(int column)>& fixedWidth, int pad);

// Resizes `window` so that its grid shows `gridSize` without scrolling, as far as the
// available screen allows; when it does not fit, the scroll bars are given room.
void ResizeToGrid(QWidget* window, QTableView* grid, QSize gridSize);

// The padding of a figure column: 5 pixels on a screen at most 800 pixels wide, else 10.
int GridPad(const QWidget* window);

// The shared set-up of a figure grid: named for screen readers, whole rows selected, not
// editable, no row header, fixed sections and wrapped, centred titles.
void SetUpFigureGrid(QTableView* grid, const QString& accessibleName);

// A bottom bar that starts with the three view buttons (hands, probability, return) in
// `views`, with ids 0..2 and the language's [Statistics] captions.
QHBoxLayout* ViewBar(QWidget* owner, QButtonGroup* views);

// The captions of the view buttons of `views` from the language in use.
void CaptionViews(QButtonGroup* views);

// Lays out `window`: the grid, a line under it and the bottom bar.
void StackGridAndBar(QDialog* window, QTableView* grid, QHBoxLayout* bar);

}  // namespace tarnwick::app
