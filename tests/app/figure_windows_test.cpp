// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later

// The all-holds and statistics windows against tarnwick-cli's figures.

#include <QClipboard>
#include <QJsonArray>
#include <QJsonObject>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QTableView>
#include <QTest>

#include "all_hands_window.h"
#include "app_test_support.h"
#include "application.h"
#include "engine/cards.h"
#include "main_window.h"
#include "parts/card_button.h"
#include "parts/card_painter.h"
#include "parts/card_slot.h"
#include "parts/holds_model.h"
#include "parts/results_model.h"
#include "parts/statistics_model.h"
#include "stat_window.h"

using namespace tarnwick;
using namespace tarnwick::app;

namespace {

void Deal(TfmMain& window, int game, const QStringList& cards) {
  window.Controller().SelectGame(game);
  for (const QString& card : cards) {
    const int code = card == QLatin1String("JK") ? -2 : ParseCard(card.toStdString()).value();
    window.CardButton(code)->click();
  }
}

QList<QStringList> CopiedRows(QTableView* grid) {
  QApplication::clipboard()->clear();
  grid->setFocus();
  QTest::keyClick(grid, Qt::Key_C, Qt::ControlModifier);
  QList<QStringList> rows;
  for (const QString& line :
       QApplication::clipboard()->text().split(QLatin1Char('\n'), Qt::SkipEmptyParts))
    rows << line.split(QLatin1Char('\t'));
  return rows;
}

// Every text of a figure window's grid fits its column; at its least size the grid still
// shows its first column and three rows.
void CheckGrid(QWidget& window, const QTableView& grid) {
  const QFontMetrics metrics(grid.font());
  const QAbstractItemModel& model = *grid.model();
  for (int column = 0; column < model.columnCount(); ++column)
    for (int row = 0; row < model.rowCount(); ++row)
      QVERIFY(metrics.horizontalAdvance(model.index(row, column).data().toString()) <
              grid.columnWidth(column));
  window.show();
  window.resize(1, 1);
  QApplication::processEvents();
  QVERIFY(grid.viewport()->width() >= grid.columnWidth(0));
  QVERIFY(grid.viewport()->height() >= 3 * grid.rowHeight(0));
}

}  // namespace

class FigureWindowsTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { test::FailOnWarnings(); }
  void AllHoldsEqualTheCommandLine_data();
  void AllHoldsEqualTheCommandLine();
  void AllHoldsSortingViewsPictureSizeAndTies();
  void StatisticsEqualTheCommandLine_data();
  void StatisticsEqualTheCommandLine();
  void StatisticsSpeedStyleAndRefusal();
  void OpenWindowsFollowTheMainWindow();
};

void FigureWindowsTest::AllHoldsEqualTheCommandLine_data() {
  QTest::addColumn<int>("game");
  QTest::addColumn<QStringList>("cards");
  QTest::newRow("deuces") << 4 << QStringList{"2S", "2C", "2H", "KC", "QD"};
  QTest::newRow("joker") << 3 << QStringList{"JK", "AC", "AD", "7H", "9S"};
}

void FigureWindowsTest::AllHoldsEqualTheCommandLine() {
  QFETCH(int, game);
  QFETCH(QStringList, cards);
  test::TWorld world;
  TfmMain window(world.Data());
  Deal(window, game, cards);
  const TPayout& table = *window.Controller().CurrentTable();
  const QJsonObject cli =
      test::Cli(QStringList{QStringLiteral("holds"), QStringLiteral("-g"), QString::number(game),
                            QStringLiteral("-p"), test::PaysText(table)}
                << cards);
  window.Controller().ShowAllHands();
  TfmAllHands* holds = window.findChild<TfmAllHands*>();
  QVERIFY(holds != nullptr && holds->isVisible() && !holds->isModal());
  QCOMPARE(holds->Model()->MaskAt(0), cli[QStringLiteral("best")].toInt());
  QCOMPARE(holds->SelectedHold(), window.Controller().DrawMask());
  const int standPat = holds->Model()->RowOf(0);
  QCOMPARE(
      holds->Model()->data(holds->Model()->index(standPat, 0), Qt::AccessibleTextRole).toString(),
      cards.join(QLatin1Char(' ')) + QStringLiteral(" / "));
  const QList<QStringList> rows = CopiedRows(holds->Grid());
  QCOMPARE(rows.size(), kMaskCount + 1);
  const QJsonArray list = cli[QStringLiteral("holds")].toArray();
  for (int row = 1; row <= kMaskCount; ++row) {
    const QStringList& fields = rows[row];
    const QJsonObject hold = list[holds->Model()->MaskAt(row - 1)].toObject();
    QCOMPARE(fields[0], hold[QStringLiteral("code")].toString());
    QVERIFY(qAbs(fields[2].toDouble() - hold[QStringLiteral("expectedReturn")].toDouble()) < 1e-12);
    const QJsonArray counts = hold[QStringLiteral("count")].toArray();
    QCOMPARE(fields.size(), 5 + counts.size() + 1);
    for (int c = 0; c < counts.size(); ++c) QCOMPARE(fields[5 + c].toInt(), counts[c].toInt());
    // The line column, shown and copied, names the hold as the command line does.
    const QString line = hold[QStringLiteral("line")].toString();
    QVERIFY(!line.isEmpty());
    QCOMPARE(fields.last(), line);
    QCOMPARE(holds->Model()->Text(row - 1, THoldsModel::kLineColumn), line);
  }
  holds->OkButton()->click();
  QVERIFY(!holds->isVisible());
  QVERIFY(world.Errors.isEmpty());
}

void FigureWindowsTest::AllHoldsSortingViewsPictureSizeAndTies() {
  test::TWorld world;
  TfmMain window(world.Data());
  Deal(window, 0, {"AS", "KS", "QS", "JS", "3D"});
  window.Slot(4)->click();  // the main window shows standing pat
  QCOMPARE(window.Controller().DrawMask(), 0);
  const THoldsSnapshot snapshot = window.Controller().HoldsSnapshot();
  {
    TfmAllHands holds(&window, snapshot, QStringLiteral("  holds"));
    holds.SelectHold(0);
    holds.show();
    for (int column : {kHoldReturnColumn, kHoldPictureColumn, kFirstHoldCategoryColumn}) {
      holds.HeaderClicked(column);
      QCOMPARE(holds.SelectedHold(), 0);
      const QRect row = holds.Grid()->visualRect(holds.Model()->index(holds.Model()->RowOf(0), 1));
      QVERIFY(holds.Grid()->viewport()->rect().intersects(row));
    }
    holds.HeaderClicked(kHoldPictureColumn);
    QCOMPARE(holds.Model()->MaskAt(0), 31);  // every card replaced first
    holds.HeaderClicked(kHoldPictureColumn);
    QCOMPARE(holds.Model()->MaskAt(0), 0);
    std::vector<int> order;
    for (int row = 0; row < kMaskCount; ++row) order.push_back(holds.Model()->MaskAt(row));
    const int nothing = holds.Model()->columnCount() - 1;
    QCOMPARE(holds.Model()->Text(0, nothing), QStringLiteral("1"));
    holds.SetView(TFigureView::Probability);
    QCOMPARE(holds.Model()->Text(0, nothing), QStringLiteral("100.0000"));
    for (int row = 0; row < kMaskCount; ++row) QCOMPARE(holds.Model()->MaskAt(row), order[row]);
    const QRect screen = holds.screen()->availableGeometry();
    QCOMPARE(screen.height(), 600);
    QVERIFY2(holds.frameGeometry().height() <= screen.height(),
             qPrintable(QString::number(holds.frameGeometry().height())));
    QVERIFY(holds.width() <= screen.width());
    QVERIFY(holds.rect().contains(
        QRect(holds.OkButton()->mapTo(&holds, QPoint(0, 0)), holds.OkButton()->size())));
    CheckGrid(holds, *holds.Grid());
  }
  TfmAllHands reopened(&window, snapshot, QString());  // in the view it was left in
  QCOMPARE(reopened.Model()->View(), TFigureView::Probability);

  // The picture of mask 5 fades the first and the third card only.
  const QImage all = TfmAllHands::HoldPicture(snapshot, 0, 1);
  const QImage five = TfmAllHands::HoldPicture(snapshot, 5, 1);
  QCOMPARE(five.size(), QSize(5 * TCardPainter::kCardWidth + 4, TCardPainter::kCardHeight));
  for (int i = 0; i < kHandSize; ++i) {
    const QRect slice((TCardPainter::kCardWidth + 1) * i, 0, TCardPainter::kCardWidth,
                      TCardPainter::kCardHeight);
    const bool faded = i == 0 || i == 2;
    if (faded) QVERIFY(five.copy(slice).allGray());
    QCOMPARE(five.copy(slice) == all.copy(slice), !faded);
    QVERIFY(i != 4 || !all.copy(slice).allGray());  // the red three
  }

  // Four aces: replacing the kicker and standing pat both make exactly four of a kind.
  window.Controller().ClearHand();
  Deal(window, 0, {"AS", "AC", "AD", "AH", "3D"});
  const TResultsModel& results = window.Results();
  QVERIFY2(results.Text(results.rowCount() - 1, 0).endsWith(QStringLiteral(", tie with 1 more")),
           qPrintable(results.Text(results.rowCount() - 1, 0)));
  TfmAllHands ties(&window, window.Controller().HoldsSnapshot(), QString());
  QCOMPARE(ties.Model()->Text(ties.Model()->RowOf(0), kHoldCostColumn), QStringLiteral("best"));
  QCOMPARE(ties.Model()->Text(ties.Model()->RowOf(16), kHoldCostColumn), QStringLiteral("tie"));
  QVERIFY(ties.Model()->Text(2, kHoldCostColumn).toDouble() > 0);  // the next one costs
  window.Slot(0)->click();
  QVERIFY(!results.Text(results.rowCount() - 1, 0).contains(QStringLiteral("tie")));
  QVERIFY(world.Errors.isEmpty());
}

void FigureWindowsTest::StatisticsEqualTheCommandLine_data() {
  QTest::addColumn<int>("game");
  QTest::newRow("natural") << 0;
  QTest::newRow("deuces") << 4;
  QTest::newRow("two jokers") << 8;
}

void FigureWindowsTest::StatisticsEqualTheCommandLine() {
  QFETCH(int, game);
  test::TWorld world;
  TfmMain window(world.Data());
  window.Controller().SelectGame(game);
  QVERIFY(window.StatisticsAction()->isEnabled());
  const TPayout& table = *window.Controller().CurrentTable();
  const QJsonObject cli =
      test::Cli({QStringLiteral("stats"), QStringLiteral("-g"), QString::number(game),
                 QStringLiteral("-p"), test::PaysText(table), QStringLiteral("-d"),
                 QString::fromStdString(world.Data()), QStringLiteral("-q")});
  const QJsonArray columns = cli[QStringLiteral("columns")].toArray();
  QCOMPARE(columns.size(), kStatColumns);
  window.StatisticsAction()->trigger();
  TfmStat* statistics = window.findChild<TfmStat*>();
  QVERIFY(statistics != nullptr && statistics->isVisible() && !statistics->isModal());
  const char* keys[] = {"hands", "probability", "return"};
  for (int view = 0; view < 3; ++view) {
    statistics->SetView(static_cast<TFigureView>(view));
    const QList<QStringList> rows = CopiedRows(statistics->Grid());
    QCOMPARE(rows.size(), statistics->Model()->rowCount() + 1);
    for (int k = 0; k < kStatColumns; ++k) {
      const QJsonArray figures = columns[k].toObject()[QLatin1String(keys[view])].toArray();
      for (int row = 0; row < figures.size(); ++row) {
        const QString shown = rows[row + 1].value(k + 1);
        const QString expected = figures[row].toString();
        QVERIFY2(shown == expected || (shown.isEmpty() && expected.isEmpty()),
                 qPrintable(QStringLiteral("%1 %2: %3 / %4").arg(k).arg(row).arg(shown, expected)));
      }
    }
  }
  statistics->OkButton()->click();
  QVERIFY(world.Errors.isEmpty());
}

void FigureWindowsTest::OpenWindowsFollowTheMainWindow() {
  test::TWorld world;
  TfmMain window(world.Data());
  window.show();
  Deal(window, 0, {"AS", "KS", "QS", "JS", "2D"});
  window.Controller().ShowAllHands();
  window.StatisticsAction()->trigger();
  auto* holds = window.findChild<TfmAllHands*>();
  auto* statistics = window.findChild<TfmStat*>();
  QVERIFY(holds != nullptr && statistics != nullptr);
  const QSize size = holds->size();

  // Another game: the statistics show its table as a window opened on it does.
  window.Controller().SelectGame(4);
  const TTableSnapshot table = window.Controller().TableSnapshot();
  const QString caption = QString::fromStdString(window.Controller().FigureCaption()).trimmed();
  TfmStat fresh(nullptr, table, caption);
  fresh.SetView(TFigureView::Hands);
  statistics->SetView(TFigureView::Hands);
  QCOMPARE(CopiedRows(statistics->Grid()), CopiedRows(fresh.Grid()));
  QCOMPARE(statistics->windowTitle().trimmed(), caption);

  // Five clicks in the main window, one refresh each; all holds keeps the last analysed
  // hand while the next one is put, then shows it with its best hold first.
  const QList<QStringList> last = CopiedRows(holds->Grid());
  const QStringList cards = {"2S", "2C", "7H", "KC", "QD"};
  for (int i = 0; i < kHandSize; ++i) {
    const int before = window.RefreshCount();
    window.CardButton(ParseCard(cards[i].toStdString()).value())->click();
    QCOMPARE(window.RefreshCount(), before + 1);
    if (i < kHandSize - 1) QCOMPARE(CopiedRows(holds->Grid()), last);
  }
  QVERIFY(window.Controller().IsAnalysed());
  TfmAllHands opened(nullptr, window.Controller().HoldsSnapshot(), caption);
  QCOMPARE(CopiedRows(holds->Grid()), CopiedRows(opened.Grid()));
  QCOMPARE(holds->SelectedHold(), window.Controller().DrawMask());
  QCOMPARE(holds->size(), size);

  // Closed and opened again, it comes back at the size and place it was left at.
  const QRect place(10, 30, size.width() - 20, size.height() - 30);
  holds->setGeometry(place);
  holds->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QVERIFY(window.findChild<TfmAllHands*>() == nullptr);
  window.Controller().ShowAllHands();
  QCOMPARE(window.findChild<TfmAllHands*>()->geometry(), place);
  QVERIFY(world.Errors.isEmpty());
}

void FigureWindowsTest::StatisticsSpeedStyleAndRefusal() {
  test::TWorld world;
  {
    TfmMain window(world.Data());
    TTableSnapshot snapshot = window.Controller().TableSnapshot();  // 9/6 Jacks or better
    auto statistics = std::make_unique<TfmStat>(&window, snapshot, QString());
    TStatisticsModel& model = *statistics->Model();
    statistics->SetView(TFigureView::Probability);
    // Hours at a speed (Statistics.OccurrenceTimesAndDigitGroups has the rule): 5 turns red
    // and changes nothing.
    const auto seconds = [&] {
      const QStringList parts =
          model.Text(2, TStatisticsModel::kHoursColumn).split(QLatin1Char(':'));
      return parts[0].toInt() * 3600 + parts[1].toInt() * 60 + parts[2].toInt();
    };
    statistics->SpeedBox()->setValue(600);
    const int atSix = seconds();
    QCOMPARE(atSix, static_cast<int>(std::lround(6.0 / snapshot.Table.CategoryChance(0))));
    statistics->SpeedBox()->setValue(5);
    QCOMPARE(statistics->SpeedBox()->palette().color(QPalette::Text), QColor(Qt::red));
    QCOMPARE(seconds(), atSix);
    // The red is readable on a dark base too, and gives way to the palette's text colour.
    QPalette dark;  // (a window test runs no event loop: the application's would not spread)
    dark.setColor(QPalette::Base, QColor(0x2a, 0x2a, 0x2a));
    dark.setColor(QPalette::Text, Qt::white);
    statistics->setPalette(dark);
    const QColor alarm = statistics->SpeedBox()->palette().color(QPalette::Text);
    QVERIFY2(alarm.lightness() > 150 && alarm.red() > alarm.green(), qPrintable(alarm.name()));
    statistics->SpeedBox()->setValue(1200);
    QCOMPARE(statistics->SpeedBox()->palette().color(QPalette::Text), QColor(Qt::white));
    CheckGrid(*statistics, *statistics->Grid());
    statistics.reset();  // the window keeps its settings as it closes
    Preferences().SaveSettings();
  }
  world.Install();
  {
    TfmMain window(world.Data());
    TfmStat statistics(&window, window.Controller().TableSnapshot(), QString());
    QCOMPARE(statistics.Speed(), 1200);
    QCOMPARE(statistics.Model()->View(), TFigureView::Probability);
    TTableSnapshot empty = window.Controller().TableSnapshot();
    empty.Table.Deals = {};
    QVERIFY_THROWS_EXCEPTION(InputError, TfmStat(&window, empty, QString()));
  }
  QVERIFY(world.Errors.isEmpty());
}

int main(int argc, char** argv) {
  TApplication application(argc, argv);
  FigureWindowsTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "figure_windows_test.moc"
