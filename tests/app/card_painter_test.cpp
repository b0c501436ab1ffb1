// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later

// Card pictures, button faces and the window layout rules.

#include <QTest>

#include "app_test_support.h"
#include "engine/cards.h"
#include "errors.h"
#include "parts/button_faces.h"
#include "parts/card_painter.h"
#include "parts/layout_rules.h"

using namespace tarnwick;
using namespace tarnwick::app;

namespace {

QImage Part(const QImage& image, const QRect& logical, qreal ratio) {
  QImage part = image.copy(QRect((logical.topLeft() * ratio), (logical.size() * ratio)))
                    .convertToFormat(QImage::Format_ARGB32);
  part.setDevicePixelRatio(1);
  return part;
}

int Code(const char* text) {
  return ParseCard(text).value();
}

}  // namespace

class CardPainterTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { test::FailOnWarnings(); }
  void CardsAreAssembledFromThePieces_data();
  void CardsAreAssembledFromThePieces();
  void FadingKeepsWhiteAndButtonFacesAreCachedBySize();
  void AMissingPieceIsAnError();
  void ButtonsSlotsAndWindowsLayOut();
};

void CardPainterTest::CardsAreAssembledFromThePieces_data() {
  QTest::addColumn<qreal>("ratio");
  QTest::newRow("1x") << qreal(1);
  QTest::newRow("2x") << qreal(2);
}

void CardPainterTest::CardsAreAssembledFromThePieces() {
  QFETCH(qreal, ratio);
  const TCardPainter painter(ratio);
  using P = TCardPainter;
  const auto piece = [&](P::TPiece which, const QRect& source) {
    return Part(painter.Piece(which), source, ratio);
  };
  // The ace of hearts: rank at (144, 12), large suit at x 96, small suit at x 36.
  const QImage ace = painter.Card(Code("AH"), false, false);
  QCOMPARE(ace.size(), QSize(50, 68) * ratio);
  QCOMPARE(Part(ace, P::kRankPlace, ratio), piece(P::Ranks, QRect(144, 12, 12, 12)));
  // The small suit is copied last and covers the top three rows of the large one.
  QCOMPARE(Part(ace, P::kLargeSuitPlace.adjusted(0, 3, 0, 0), ratio),
           piece(P::Suit1, QRect(96, 3, 32, 30)));
  QCOMPARE(Part(ace, P::kSmallSuitPlace, ratio), piece(P::Suit2, QRect(36, 0, 12, 13)));
  // Wild deuces get the mark of their colour; held cards the held mark.
  const QImage black = painter.Card(Code("2S"), false, true);
  const QImage red = painter.Card(Code("2H"), true, true);
  QCOMPARE(Part(black, P::kWildPlace, ratio), piece(P::Wild, QRect(0, 0, 29, 12)));
  QCOMPARE(Part(red, P::kWildPlace, ratio), piece(P::Wild, QRect(0, 12, 29, 12)));
  QVERIFY(Part(black, P::kWildPlace, ratio) != Part(red, P::kWildPlace, ratio));
  QCOMPARE(Part(red, P::kHeldPlace, ratio), piece(P::Held, QRect(0, 0, 48, 14)));
  QVERIFY(Part(black, P::kHeldPlace, ratio) != piece(P::Held, QRect(0, 0, 48, 14)));
  QCOMPARE(Part(painter.Card(-2, false, false), P::kJokerPlace, ratio),
           piece(P::Joker, QRect(0, 0, 39, 58)));
  const QRect whole(0, 0, 50, 68);
  QCOMPARE(Part(painter.Card(kEmptyPosition, true, false), whole, ratio),
           Part(painter.Piece(P::Back), whole, ratio));
  // The held and wild marks differ at a glance: not one shared colour.
  const int r = static_cast<int>(ratio);
  QVERIFY(piece(P::Held, QRect(0, 0, 48, 14)).pixelColor(24 * r, 3 * r) !=
          piece(P::Wild, QRect(0, 0, 29, 12)).pixelColor(14 * r, 2 * r));
}

void CardPainterTest::FadingKeepsWhiteAndButtonFacesAreCachedBySize() {
  QImage picture(3, 1, QImage::Format_ARGB32);
  picture.setPixel(0, 0, qRgb(200, 0, 0));
  picture.setPixel(1, 0, qRgb(255, 255, 255));
  picture.setPixel(2, 0, qRgb(255, 255, 254));
  const QImage faded = TCardPainter::Faded(picture);
  QCOMPARE(faded.pixel(0, 0), qRgb(193, 193, 193));  // (200 / 3) / 2 + 160
  QCOMPARE(faded.pixel(1, 0), qRgb(255, 255, 255));
  QCOMPARE(faded.pixel(2, 0), qRgb(255, 255, 255));  // 287 capped at 255

  TButtonFaces faces;
  const QImage& first = faces.Face(QSize(60, 22));
  QCOMPARE(first.size(), QSize(60, 22));
  QCOMPARE(faces.Painted(), 1);
  // Another width of the same height is stretched from it, not painted.
  QCOMPARE(faces.Face(QSize(75, 22)).size(), QSize(75, 22));
  QCOMPARE(faces.Painted(), 1);
  // Nine sizes: the first one cached is replaced.
  for (int height = 30; height < 36; ++height) faces.Face(QSize(60, height));
  QVERIFY(faces.Holds(QSize(60, 22)));
  faces.Face(QSize(60, 40));
  QVERIFY(!faces.Holds(QSize(60, 22)));
  QVERIFY(faces.Holds(QSize(75, 22)));
}

// Cards without a piece would lose their ranks or marks: the painter refuses to start.
void CardPainterTest::AMissingPieceIsAnError() {
  QTemporaryDir folder;
  for (const QString& name : QDir(QStringLiteral(":/cards")).entryList())
    if (name != QStringLiteral("ranks.svg"))
      QVERIFY(QFile::copy(QStringLiteral(":/cards/") + name, folder.filePath(name)));
  try {
    TCardPainter painter(1, folder.path());
    QFAIL("a painter without the rank glyphs");
  } catch (const DataFileError& error) {
    QVERIFY2(QString::fromUtf8(error.what()).contains(QStringLiteral("ranks.svg is missing")),
             error.what());
  }
  QVERIFY(QFile::copy(QStringLiteral(":/cards/ranks.svg"), folder.filePath("ranks.svg")));
  QCOMPARE(TCardPainter(1, folder.path()).Piece(TCardPainter::Ranks),
           TCardPainter().Piece(TCardPainter::Ranks));
}

void CardPainterTest::ButtonsSlotsAndWindowsLayOut() {
  // Row 0: menu, all holds and the jokers; then a row per rank, a column per suit.
  QCOMPARE(ButtonCell(0), QPoint(0, 0));
  QCOMPARE(ButtonCell(3), QPoint(3, 0));
  QCOMPARE(ButtonCell(ButtonOf(Code("2S"))), QPoint(0, 1));
  QCOMPARE(ButtonCell(ButtonOf(Code("AH"))), QPoint(3, 13));
  QCOMPARE(ButtonCode(2), -2);
  // 397 + 3 = 400 wide: cells of 100, a button 97 wide; 278 + 2 = 280 high: rows of 20.
  QCOMPARE(ButtonRect(ButtonOf(Code("3C")), QSize(397, 278)), QRect(100, 40, 97, 18));
  // Five cards side by side when they fit, overlapping when not.
  const QSize card(50, 68);
  QCOMPARE(*CardSlotPlace(0, QSize(270, 90), card), QPoint(6, 9));
  QCOMPARE(*CardSlotPlace(4, QSize(270, 90), card), QPoint(6 + 4 * 52, 9));
  QCOMPARE(*CardSlotPlace(4, QSize(210, 90), card), QPoint(150 + 5, 9));
  QVERIFY(!CardSlotPlace(0, QSize(60, 60), card).has_value());

  const std::vector<QRect> screens = {QRect(0, 0, 1280, 800), QRect(1280, 0, 1024, 768)};
  QCOMPARE(FitIntoScreens(QRect(100, 50, 270, 700), screens, 300), QRect(100, 50, 270, 700));
  QCOMPARE(FitIntoScreens(QRect(100, -7, 270, 700), screens, 300), QRect(100, 1, 270, 700));
  // Off every screen (a screen that is gone): onto the first, whole.
  QCOMPARE(FitIntoScreens(QRect(5000, 200, 270, 700), screens, 300), QRect(1010, 100, 270, 700));
  // Mostly on the second screen: kept there; too wide and too tall: cut to fit.
  QCOMPARE(FitIntoScreens(QRect(2200, 0, 400, 900), screens, 300), QRect(2004, 0, 300, 768));
  QCOMPARE(PlacementSection(96, 1280), QStringLiteral("Placement961280"));
  // A window opens to the left of its owner at the right edge, to the right of one at the
  // left edge, and over it, on the roomier side, when neither side has room.
  const QRect screen(0, 0, 1280, 800);
  QCOMPARE(BesideOwner(QRect(1005, 5, 270, 700), QSize(600, 400), screen), QRect(397, 5, 600, 400));
  QCOMPARE(BesideOwner(QRect(5, 5, 270, 700), QSize(600, 400), screen), QRect(283, 5, 600, 400));
  QCOMPARE(BesideOwner(QRect(1005, 5, 270, 700), QSize(1100, 400), screen), QRect(1, 5, 1100, 400));
}

QTEST_MAIN(CardPainterTest)
#include "card_painter_test.moc"
