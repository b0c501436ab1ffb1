// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "parts/card_painter.h"

#include <QFileInfo>
#include <QFontMetrics>
#include <QIcon>
#include <QPainter>
#include <QSvgRenderer>
#include <cmath>

#include "engine/cards.h"
#include "errors.h"

namespace tarnwick::app {

namespace {

struct TPieceFile {
  const char* Name;
  int Width;
  int Height;
};

constexpr std::array<TPieceFile, TCardPainter::PieceCount> kPieceFiles = {{
    {"face", 50, 68},
    {"back", 50, 68},
    {"ranks", 156, 24},
    {"suit1", 128, 33},
    {"suit2", 48, 13},
    {"held", 48, 14},
    {"wild", 29, 24},
    {"joker", 39, 58},
}};

int Device(int logical, qreal ratio) {
  return static_cast<int>(std::lround(logical * ratio));
}

// A piece drawn at the device pixel ratio on white (pieces are copied opaque, so their
// ground must be the card's white); the face and the back keep their transparent corners.
// A piece that is missing or cannot be drawn is an error: cards without it would be blank.
QImage Render(const QString& folder, const QString& name, int width, int height, qreal ratio,
              bool onWhite) {
  const QString file = QStringLiteral("%1/%2.svg").arg(folder, name);
  if (!QFileInfo(file).isFile())
    throw DataFileError("The card picture " + file.toStdString() + " is missing");
  QSvgRenderer renderer(file);
  if (!renderer.isValid())
    throw DataFileError("The card picture " + file.toStdString() + " cannot be read");
  QImage image(Device(width, ratio), Device(height, ratio), QImage::Format_ARGB32_Premultiplied);
  image.fill(onWhite ? Qt::white : Qt::transparent);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  renderer.render(&painter, QRectF(0, 0, image.width(), image.height()));
  return image;
}

bool IsRed(int suit) {
  return suit >= 2;
}

}  // namespace

TCardPainter::TCardPainter(qreal devicePixelRatio, const QString& folder, qreal scale)
    : ratio_((devicePixelRatio > 0 ? devicePixelRatio : 1) * (scale > 0 ? scale : 1)),
      scale_(scale > 0 ? scale : 1),
      folder_(folder) {
  for (int piece = 0; piece < PieceCount; ++piece) {
    const TPieceFile& file = kPieceFiles[static_cast<size_t>(piece)];
    const bool card = piece == Face || piece == Back;
    pieces_[static_cast<size_t>(piece)] =
        Render(folder_, QString::fromLatin1(file.Name), file.Width, file.Height, ratio_, !card);
  }
}

void TCardPainter::Copy(QImage& target, TPiece piece, const QRect& source, const QPoint& to) const {
  QPainter painter(&target);
  painter.setCompositionMode(QPainter::CompositionMode_Source);
  const QRect from(Device(source.x(), ratio_), Device(source.y(), ratio_),
                   Device(source.width(), ratio_), Device(source.height(), ratio_));
  const QRect place(Device(to.x(), ratio_), Device(to.y(), ratio_), from.width(), from.height());
  painter.drawImage(place, pieces_[static_cast<size_t>(piece)], from);
}

QImage TCardPainter::Card(int code, bool held, bool wild) const {
  const bool joker = code == -1 || code == -2;
  const bool natural = code >= 0 && code < kRankCount * kSuitCount;
  QImage card = pieces_[natural || joker ? Face : Back];
  if (natural) {
    const int rank = code % kRankCount;
    const int suit = code / kRankCount;
    Copy(card, Suit1, LargeSuitSource(suit), kLargeSuitPlace.topLeft());
    Copy(card, Ranks, RankSource(rank, suit), kRankPlace.topLeft());
    Copy(card, Suit2, SmallSuitSource(suit), kSmallSuitPlace.topLeft());
    if (wild) Copy(card, Wild, WildSource(suit), kWildPlace.topLeft());
  } else if (joker) {
    Copy(card, Joker, {0, 0, 39, 58}, kJokerPlace.topLeft());
  }
  if (held && (natural || joker)) Copy(card, Held, {0, 0, 48, 14}, kHeldPlace.topLeft());
  card.setDevicePixelRatio(ratio_ / scale_);
  return card;
}

QPixmap TCardPainter::Glyph(int code, const QFont& font) const {
  static const std::array<const char*, kRankCount> kLabels = {"2", "3",  "4", "5", "6", "7", "8",
                                                              "9", "10", "J", "Q", "K", "A"};
  const bool joker = code < 0;
  const int rank = joker ? -1 : code % kRankCount;
  const int suit = joker ? 0 : code / kRankCount;
  const QFontMetrics metrics(font);
  const int labelWidth = metrics.horizontalAdvance(QStringLiteral("10"));
  const QString label = joker ? QStringLiteral("Jok") : QString::fromLatin1(kLabels[rank]);
  const int width = joker ? metrics.horizontalAdvance(label) + 2 : labelWidth + 2 + 12;
  const int height = std::max(metrics.height(), 13);
  QPixmap glyph(Device(width, ratio_), Device(height, ratio_));
  glyph.setDevicePixelRatio(ratio_);
  glyph.fill(Qt::white);
  QPainter painter(&glyph);
  painter.setFont(font);
  painter.setPen(joker || !IsRed(suit) ? Qt::black : QColor(0xcc, 0, 0));
  painter.drawText(QRect(0, 0, joker ? width : labelWidth, height), Qt::AlignCenter, label);
  if (!joker) {
    const QRect from(Device(suit * 12, ratio_), 0, Device(12, ratio_), Device(13, ratio_));
    painter.drawImage(QRectF(labelWidth + 2, (height - 13) / 2.0, 12, 13), pieces_[Suit2], from);
  }
  return glyph;
}

QImage TCardPainter::Faded(const QImage& picture) {
  QImage faded = picture.convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < faded.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(faded.scanLine(y));
    for (int x = 0; x < faded.width(); ++x) {
      const QRgb pixel = line[x];
      const int r = qRed(pixel);
      const int g = qGreen(pixel);
      const int b = qBlue(pixel);
      if (r == 255 && g == 255 && b == 255) continue;
      const int level = std::min((r + g + b) / 3 / 2 + 160, 255);
      line[x] = qRgba(level, level, level, qAlpha(pixel));
    }
  }
  return faded;
}

QPixmap TCardPainter::AboutPicture() const {
  QPixmap picture =
      QPixmap::fromImage(Render(folder_, QStringLiteral("about"), 100, 200, ratio_, true));
  picture.setDevicePixelRatio(ratio_);
  return picture;
}

QIcon TCardPainter::ProgramIcon() {
  return QIcon(QStringLiteral(":/cards/icon.svg"));
}

}  // namespace tarnwick::app
