// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "parts/chart_export.h"

#include <QBuffer>
#include <QFileInfo>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QSaveFile>
#include <QSvgGenerator>

#include "errors.h"
#include "parts/chart_canvas.h"
#include "parts/qt_text.h"

namespace tarnwick::app {

namespace {

// Writes all of `data` to `path` or raises a DataFileError that says why.
void WriteAll(const QString& path, const QByteArray& data) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size() || !file.commit()) {
    throw DataFileError(S(QStringLiteral("Cannot write %1: %2").arg(path, file.errorString())));
  }
}

}  // namespace

QImage ChartPicture(TChartCanvas& canvas, qreal pixelRatio) {
  QImage image(canvas.size() * pixelRatio, QImage::Format_RGB32);
  image.setDevicePixelRatio(pixelRatio);
  image.fill(Qt::white);
  QPainter painter(&image);
  canvas.Render(painter, QRectF(QPointF(0, 0), QSizeF(canvas.size())));
  painter.end();
  return image;
}

QString WithChartExtension(const QString& path, const QString& filter) {
  if (!QFileInfo(path).suffix().isEmpty()) return path;
  // The filter supplies the extension only when none was typed.
  const qsizetype dot = filter.indexOf(QStringLiteral("*."));
  return path + '.' + (dot < 0 ? QStringLiteral("png") : filter.mid(dot + 2).section(')', 0, 0));
}

void SaveChart(TChartCanvas& canvas, const QString& path, const QString& title,
               const QString& points, qreal pixelRatio) {
  const QString suffix = QFileInfo(path).suffix().toLower();
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  const QSize size = canvas.size();
  if (suffix == QLatin1String("png") || suffix == QLatin1String("bmp")) {
    if (!ChartPicture(canvas, pixelRatio)
             .save(&buffer, suffix == QLatin1String("png") ? "PNG" : "BMP"))
      throw DataFileError("The picture could not be encoded");
  } else if (suffix == QLatin1String("svg")) {
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(size);
    svg.setViewBox(QRect(QPoint(0, 0), size));
    svg.setTitle(title);
    QPainter painter;
    if (!painter.begin(&svg)) throw DataFileError("The SVG picture could not be made");
    painter.fillRect(QRect(QPoint(0, 0), size), Qt::white);
    canvas.Render(painter, QRectF(QPointF(0, 0), QSizeF(size)));
    painter.end();
  } else if (suffix == QLatin1String("pdf")) {
    QPdfWriter pdf(&buffer);
    pdf.setTitle(title);
    pdf.setPageSize(QPageSize(QPageSize::A4));
    pdf.setPageOrientation(QPageLayout::Landscape);
    QPainter painter;
    if (!painter.begin(&pdf)) throw DataFileError("The PDF document could not be made");
    const QRect page = painter.viewport();
    const QSizeF fitted = QSizeF(size).scaled(QSizeF(page.size()), Qt::KeepAspectRatio);
    canvas.Render(painter, QRectF(QPointF(0, 0), fitted));
    painter.end();
  } else if (suffix == QLatin1String("csv")) {
    bytes = CsvOf(points).toUtf8();
  } else {
    throw InputError(
        S(QStringLiteral("Unknown picture format .%1 (png, bmp, svg, pdf, csv)").arg(suffix)));
  }
  buffer.close();
  WriteAll(path, bytes);
}

void PrintChart(TChartCanvas& canvas, QPrinter& printer) {
  QPainter painter;
  if (!painter.begin(&printer)) throw DataFileError("The printer could not be started");
  const QRect page = painter.viewport();
  const QSizeF fitted = QSizeF(canvas.size()).scaled(QSizeF(page.size()), Qt::KeepAspectRatio);
  canvas.Render(painter, QRectF(QPointF(0, 0), fitted));
  painter.end();
}

QString CsvOf(const QString& text) {
  QStringList lines = text.split('\n');
  for (QString& line : lines) {
    QStringList fields = line.split('\t');
    for (QString& field : fields) {
      if (field.contains(',') || field.contains('"'))
        field = '"' + field.replace('"', QStringLiteral("\"\"")) + '"';
    }
    line = fields.join(',');
  }
  return lines.join('\n');
}

}  // namespace tarnwick::app
