// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the charts window makes of the chart it shows: a picture on white for the clipboard,
// a file (PNG, BMP, SVG, PDF or the points as CSV) and a printed page.

#include <QImage>
#include <QString>

class QPrinter;

namespace tarnwick::app {

class TChartCanvas;

// The chart as drawn on the canvas, on white, at `pixelRatio` device pixels a pixel.
QImage ChartPicture(TChartCanvas& canvas, qreal pixelRatio);

// `path` with the extension of the file dialog's `filter` ("PNG (*.png)") when it has none;
// png without a filter.
QString WithChartExtension(const QString& path, const QString& filter);

// Writes the chart to `path` in the format of its extension: png, bmp, svg, pdf (titled
// `title`), or csv (made of `points`, tab-separated lines). Raises a DataFileError when it
// cannot be written, an InputError for an unknown extension.
void SaveChart(TChartCanvas& canvas, const QString& path, const QString& title,
               const QString& points, qreal pixelRatio);

// The chart on one page, as large as the page allows.
void PrintChart(TChartCanvas& canvas, QPrinter& printer);

// Tab-separated lines as CSV: a field that holds a comma or a quote is quoted, so that every
// line has as many fields as it had columns.
QString CsvOf(const QString& text);

}  // namespace tarnwick::app
