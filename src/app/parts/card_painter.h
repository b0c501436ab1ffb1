// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Card pictures composed from a few pieces drawn as SVG (face, back, rank and suit glyphs,
// the held and wild marks, the joker) by copying rectangles, so that every card is an exact
// assembly of its pieces. The pieces are rendered once at the screen's device pixel ratio,
// so cards stay sharp at 150 % and 200 %; all positions are in logical pixels of a 50 x 68
// card.

#include <QFont>
#include <QImage>
#include <QPixmap>
#include <QRect>
#include <QString>
#include <array>

namespace tarnwick::app {

class TCardPainter {
 public:
  static constexpr int kCardWidth = 50;
  static constexpr int kCardHeight = 68;

  enum TPiece { Face, Back, Ranks, Suit1, Suit2, Held, Wild, Joker, PieceCount };

  // Renders the pieces of a folder (the program's own, compiled in, unless a test gives
  // another); raises a DataFileError when one is missing or cannot be read. Cards come out
  // `scale` times the design size (the pieces are vector drawings, rendered at that size).
  explicit TCardPainter(qreal devicePixelRatio = 1,
                        const QString& folder = QStringLiteral(":/cards"), qreal scale = 1);

  qreal DevicePixelRatio() const { return ratio_ / scale_; }
  qreal Scale() const { return scale_; }
  // A piece as rendered (device pixels), for the tests.
  const QImage& Piece(TPiece piece) const { return pieces_[piece]; }
  // Where a card's parts are copied from (in the piece) and to (on the card), logical pixels.
  static QRect RankSource(int rank, int suit) { return {rank * 12, (suit / 2) * 12, 12, 12}; }
  static QRect LargeSuitSource(int suit) { return {suit * 32, 0, 32, 33}; }
  static QRect SmallSuitSource(int suit) { return {suit * 12, 0, 12, 13}; }
  static QRect WildSource(int suit) { return {0, (suit / 2) * 12, 29, 12}; }
  static constexpr QRect kRankPlace{5, 5, 12, 12};
  static constexpr QRect kSmallSuitPlace{5, 19, 12, 13};
  static constexpr QRect kLargeSuitPlace{9, 30, 32, 33};
  static constexpr QRect kWildPlace{18, 5, 29, 12};
  static constexpr QRect kHeldPlace{1, 38, 48, 14};
  static constexpr QRect kJokerPlace{5, 5, 39, 58};

  // The picture of a card code (rank + 13 x suit; -1 or -2 a joker; any other negative code
  // an empty position, shown as the back), with the held and wild marks.
  QImage Card(int code, bool held, bool wild) const;

  // The glyph of a card button: the rank label ("2".."10", "J", "Q", "K", "A"; "Jok" for a
  // joker) in the card's colour, then its small suit, on white.
  QPixmap Glyph(int code, const QFont& font) const;

  // A copy of a picture with every pixel that is not pure white turned grey (the replaced
  // cards of a hold): level ((R + G + B) / 3) / 2 + 160, at most 255.
  static QImage Faded(const QImage& picture);

  // The about box's picture and the program's icon, at the painter's pixel ratio.
  QPixmap AboutPicture() const;
  static QIcon ProgramIcon();

 private:
  void Copy(QImage& target, TPiece piece, const QRect& source, const QPoint& to) const;

  qreal ratio_;  // device pixels per design pixel: the screen's ratio times the scale
  qreal scale_;
  QString folder_;
  std::array<QImage, PieceCount> pieces_;
};

}  // namespace tarnwick::app
