// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later

// The Game and Payout dialog, the pay table editor and the progress of a whole-game run,
// driven as a player would.

#include <QFile>
#include <QHeaderView>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTableView>
#include <QTest>
#include <QWheelEvent>
#include <cmath>
#include <tuple>

#include "app_test_support.h"
#include "engine/wild_engine.h"
#include "game_dialog.h"
#include "main_window.h"
#include "parts/coin_selector.h"
#include "parts/live_return.h"
#include "parts/progress_dialog.h"
#include "parts/tables_model.h"
#include "pay_editor.h"
#include "stats/break_even.h"
#include "table_choice.h"

using namespace tarnwick;
using namespace tarnwick::app;

namespace {

QJsonObject CliFigures(const TPayout& table) {
  return test::Cli({QStringLiteral("return"), QStringLiteral("-g"), QString::number(table.GameId),
                    QStringLiteral("-p"), test::PaysText(table), QStringLiteral("-b"),
                    QString::number(table.CoinBasis), QStringLiteral("--quiet")});
}

double CliReturn(const TPayout& table) {
  return CliFigures(table)[QStringLiteral("return")].toDouble();
}

int RowOfGame(const QListWidget& list, const QString& name) {
  for (int row = 0; row < list.count(); ++row)
    if (list.item(row)->text() == QStringLiteral(" ") + name) return row;
  return -1;
}

void Wheel(QWidget* target, int delta) {
  QWheelEvent wheel(QPointF(5, 5), target->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, delta),
                    Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(target, &wheel);
}

// Types `text` into the pay cell of `row` of an open editor, as keys.
QLineEdit* TypePay(TfmNew& editor, int row, const QString& text) {
  QTableView* grid = editor.Grid();
  const QModelIndex cell = editor.Pays().index(row, 1);
  grid->setCurrentIndex(cell);  // opens the editor of a shown grid
  if (grid->indexWidget(cell) == nullptr) grid->edit(cell);
  auto* line = qobject_cast<QLineEdit*>(grid->indexWidget(cell));
  line->selectAll();
  QTest::keyClicks(line, text);
  return line;
}

}  // namespace

class PayTablesTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { test::FailOnWarnings(); }
  void CancelThenTheDialogListsSortsAndWheelsThroughTables();
  void AddEditAndDeleteThroughTheDialog();
  void CoinButtonsLeaveEnterToOkAndTheEditorStartsOnAPay();
  void MultiPlayFiguresOfTheChosenTableAsTheCommandLineGivesThem();
  void FiveTablesInViewInEveryGameFromTheFirstTable();
};

void PayTablesTest::CancelThenTheDialogListsSortsAndWheelsThroughTables() {
  test::TWorld world;
  TfmMain window(world.Data());
  TModelController& controller = window.Controller();
  controller.SelectTable(1);
  const TPayout before = *controller.CurrentTable();
  // Escape cancels; what is restored is Controller.CancelRestoresGameTableAndCoins'.
  test::WhenModal([](QWidget* modal) {
    auto* choice = qobject_cast<TfmPokerChoose*>(modal);
    choice->SelectGameAt(RowOfGame(*choice->GameList(), QStringLiteral("DEUCES WILD")));
    choice->CoinSelector()->Button(3)->click();
    QTest::keyClick(choice, Qt::Key_Escape);
  });
  controller.ChooseGameAndPayout();
  QCOMPARE(controller.Coins(), 1);
  QCOMPARE(PaysOf(*controller.CurrentTable()), PaysOf(before));
  QCOMPARE(controller.CurrentGame().GameId, 0);

  TfmPokerChoose dialog(&window, controller);
  QListWidget* games = dialog.GameList();
  QCOMPARE(games->count(), 36);
  for (int row = 1; row < games->count(); ++row)
    QVERIFY(games->item(row - 1)->text() < games->item(row)->text());
  QVERIFY(RowOfGame(*games, QStringLiteral("ROYAL COURT")) >= 0);

  dialog.SelectGameAt(RowOfGame(*games, QStringLiteral("DEUCES WILD")));
  QCOMPARE(controller.CurrentGame().GameId, 4);
  dialog.SelectGameAt(RowOfGame(*games, QStringLiteral("JACKS OR BETTER")));
  QCOMPARE(controller.CurrentGame().GameId, 0);
  const TTablesModel& tables = dialog.Tables();
  QVERIFY(controller.TableCount() > 1);
  QCOMPARE(tables.columnCount(), std::max(controller.TableCount(), 5));

  controller.SelectTable(0);
  const TPayout first = *controller.CurrentTable();
  QCOMPARE(first.CoinBasis, 1);
  dialog.CoinSelector()->Button(5)->click();
  QCOMPARE(controller.Coins(), 5);
  const int column = controller.TableIndex();
  QCOMPARE(tables.Text(0, column), QString::number(first.Pays[0] * 5));
  QCOMPARE(tables.Text(14, column),
           QString::number(static_cast<double>(first.Return * 100), 'f', 4));
  QCOMPARE(tables.flags(tables.index(0, tables.columnCount() - 1)) & Qt::ItemIsSelectable,
           controller.TableCount() < 5 ? Qt::NoItemFlags : Qt::ItemIsSelectable);

  const auto rowFigures = [&](int row) {
    std::vector<double> values;
    for (int t = 0; t < controller.TableCount(); ++t)
      values.push_back(tables.Text(row, t).toDouble());
    return values;
  };
  for (int row = 14; row <= 20; ++row) {
    for (const QChar arrow : {QChar(0x25B2), QChar(0x25BC)}) {  // up, then down
      dialog.SortByRow(row);
      std::vector<double> values = rowFigures(row);
      if (arrow == QChar(0x25BC)) std::reverse(values.begin(), values.end());
      QVERIFY2(std::is_sorted(values.begin(), values.end()), qPrintable(tables.Label(row)));
      QVERIFY(tables.headerData(row, Qt::Vertical, Qt::DisplayRole).toString().endsWith(arrow));
    }
  }
  // Which row sorts by what is TableGrid.PaysForTheCoinsAndNoFiguresWithoutCounts'.
  dialog.SortByRow(3);
  QCOMPARE(controller.SortKey(), TSortKey::PaysPerCoin);
  QVERIFY(!tables.headerData(16, Qt::Vertical, Qt::DisplayRole).toString().contains(u'\u25B2'));

  controller.SelectTable(0);
  Wheel(dialog.Grid()->viewport(), -120);
  QCOMPARE(controller.TableIndex(), 1);
  Wheel(dialog.Grid()->viewport(), 120);
  Wheel(dialog.Grid()->viewport(), 120);
  QCOMPARE(controller.TableIndex(), 0);
  const int gameRow = dialog.GameList()->currentRow();
  Wheel(dialog.GameList()->viewport(), -120);
  QCOMPARE(dialog.GameList()->currentRow(), gameRow + 1);
  QCOMPARE(controller.CurrentGame().GameId,
           dialog.GameList()->item(gameRow + 1)->data(Qt::UserRole).toInt());

  // The pay table editor's live return follows the typing of digits only.
  controller.SelectGame(0);
  TPayout table = MakePayout(controller.CurrentGame(),
                             std::vector<int32_t>{4000, 250, 125, 45, 30, 20, 15, 10, 5}, 5);
  TfmNew editor(&window, true, controller, table);
  editor.show();
  const auto waitForLive = [&] {
    if (!QTest::qWaitFor([&] { return !editor.Live().Busy(); }, 60000)) return QString();
    return editor.LiveLabel()->text();
  };
  const auto percent = [](double fraction) {
    return QString::number(fraction * 100, 'f', 4) + QStringLiteral(" %");
  };
  TPayout perCoin = table;
  perCoin.Reduce();
  const QJsonObject figures = CliFigures(perCoin);
  QCOMPARE(waitForLive(),
           QStringLiteral("Return: ") + percent(figures[QStringLiteral("return")].toDouble()) +
               QStringLiteral("    Variance per coin: ") +
               QString::number(figures[QStringLiteral("variance")].toDouble(), 'f', 4));
  // The worth of a pay (its rule is tested with the table): the return gained by one coin
  // more, against the command line's return of the raised table.
  TPayout raised = table;
  ++raised.Pays[3];
  const double gain = (CliReturn(raised) - figures[QStringLiteral("return")].toDouble()) * 100;
  const QString worth = editor.Pays().index(3, 2).data().toString();
  QVERIFY2(worth.startsWith(u'+') && worth.endsWith(QStringLiteral(" %")), qPrintable(worth));
  QVERIFY2(std::fabs(worth.mid(1).chopped(2).toDouble() - gain) <= 0.00005 + gain / 100,
           qPrintable(worth + QStringLiteral(" against ") + QString::number(gain)));
  TypePay(editor, 3, QStringLiteral("7"));
  QVERIFY(waitForLive().startsWith(QStringLiteral("Return: ") + percent(CliReturn(table))));
  QCOMPARE(table.Pays[3], 7);
  TypePay(editor, 3, QStringLiteral("9"));
  waitForLive();

  const auto engine = CreateEngineForGame(controller.CurrentGame());
  const int32_t royal = BreakEvenPay(*engine, table).value();
  QString told;
  test::WhenModalOf<QMessageBox>([&told](QMessageBox* box) {
    told = box->text();
    box->accept();
  });
  editor.BreakEvenButton()->click();
  QVERIFY2(told.contains(QString::number(royal)), qPrintable(told));

  editor.CoinSelector()->Button(1)->click();
  QCOMPARE(table.CoinBasis, 1);
  QVERIFY(waitForLive().startsWith(QStringLiteral("Return: ") + percent(CliReturn(table))));

  // The pay typed goes through ParsePayText (its rules: PayText.DigitsOnlyUpToTheLargestPay).
  QLineEdit* line = TypePay(editor, 3, QStringLiteral("123456789012"));
  QCOMPARE(line->text(), QStringLiteral("12345678"));
  QCOMPARE(table.Pays[3], 12345678);
  line = TypePay(editor, 4, QStringLiteral("7"));
  QTest::keyClick(line, Qt::Key_Enter);
  QTRY_VERIFY(editor.Grid()->indexWidget(editor.Pays().index(4, 1)) == nullptr);
  QTest::keyClick(editor.Grid(), Qt::Key_A);  // a letter on the closed cell types nothing
  QCOMPARE(table.Pays[4], 7);
  QCOMPARE(editor.Pays().flags(editor.Pays().index(0, 0)) & Qt::ItemIsSelectable, Qt::NoItemFlags);
  QVERIFY(!editor.Grid()->verticalScrollBar()->isVisible());
  QVERIFY(editor.Grid()->rowViewportPosition(8) + editor.Grid()->rowHeight(8) <=
          editor.Grid()->viewport()->height());
  waitForLive();
  QVERIFY(world.Errors.isEmpty());
}

void PayTablesTest::AddEditAndDeleteThroughTheDialog() {
  test::TWorld world;
  TfmMain window(world.Data());
  TModelController& controller = window.Controller();
  TfmPokerChoose dialog(&window, controller);
  const int stored = controller.StoredTableCount();
  // The royal typed and OK clicked at once: the last digit counts.
  test::WhenModal([&](QWidget* modal) {
    auto* editor = qobject_cast<TfmNew*>(modal);
    QVERIFY(editor != nullptr);
    QCOMPARE(editor->windowTitle(), QStringLiteral("Add new pay table"));
    QCOMPARE(editor->Pays().rowCount(), 9);
    TypePay(*editor, 0, QStringLiteral("940"));
    editor->OkButton()->click();
  });
  dialog.AddButton()->click();
  QVERIFY2(world.Errors.isEmpty(), qPrintable(world.Errors.join('\n')));
  QCOMPARE(controller.StoredTableCount(), stored + 1);
  const TPayout added = *controller.CurrentTable();
  QCOMPARE(added.Pays[0], 940);
  QCOMPARE(dialog.Tables().Text(0, controller.TableIndex()), QStringLiteral("940"));
  QVERIFY(std::fabs(static_cast<double>(added.Return) - CliReturn(added)) < 1e-12);

  test::WhenModal([](QWidget* modal) {
    auto* editor = qobject_cast<TfmNew*>(modal);
    QCOMPARE(editor->windowTitle(), QStringLiteral("Edit pay table"));
    QLineEdit* line = TypePay(*editor, 0, QStringLiteral("5"));
    QTest::keyClick(line, Qt::Key_Escape);
  });
  dialog.EditButton()->click();
  QCOMPARE(PaysOf(*controller.CurrentTable()), PaysOf(added));

  QCOMPARE(TfmMain(world.Data()).Controller().StoredTableCount(), stored);  // not saved yet
  QVERIFY(window.SaveDataOrAsk());
  QCOMPARE(TfmMain(world.Data()).Controller().StoredTableCount(), stored + 1);

  for (const auto answer : {QMessageBox::No, QMessageBox::Yes}) {
    test::WhenModal(
        [answer](QWidget* modal) { qobject_cast<QMessageBox*>(modal)->button(answer)->click(); });
    dialog.DeleteButton()->click();
  }
  QCOMPARE(controller.StoredTableCount(), stored);
  QVERIFY(world.Errors.isEmpty());

  // An add whose run is cancelled by the progress dialog's close box stores nothing.
  window.show();
  SetGaugeDelay(0);
  bool gaugeShown = false;
  SetGaugeShownHook([&](TfmGauge& gauge) {
    gaugeShown = true;
    QVERIFY(gauge.isVisible());
    QVERIFY(!window.isEnabled() || gauge.isModal());
    gauge.close();
    QVERIFY(gauge.isVisible());
  });
  test::WhenModal([](QWidget* modal) {
    auto* editor = qobject_cast<TfmNew*>(modal);
    TypePay(*editor, 0, QStringLiteral("801"));
    editor->OkButton()->click();
  });
  {
    const test::TWorkerGate gate;
    QVERIFY(!Guarded(&window, [&] { controller.AddTable(); }));
  }
  SetGaugeShownHook({});
  SetGaugeDelay(-1);
  QVERIFY(gaugeShown);
  QVERIFY2(world.Errors.isEmpty(), qPrintable(world.Errors.join('\n')));
  QCOMPARE(controller.StoredTableCount(), stored);
  QVERIFY(window.isEnabled());

  const QString list = QString::fromStdString((world.Data() / "list.csv").string());
  {
    QFile file(list);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(
        "# a new table, one stored already, one too short\n"
        "game,name,basis,pays,label,published\n"
        "0,Jacks or better,1,860 50 25 9 6 4 3 2 1,own,\n"
        "0,Jacks or better,5,4000 250 125 45 30 20 15 10 5,9/6 for five,99.5439\n"
        "0,Jacks or better,1,800 50 25,short,\n");
  }
  QString told;
  const auto answer = [&told](QMessageBox* box) {
    told = box->text();
    box->accept();
  };
  test::WhenModalOf<QMessageBox>(answer);
  dialog.ImportFile(list);
  QVERIFY2(world.Errors.isEmpty(), qPrintable(world.Errors.join('\n')));
  QVERIFY2(told.startsWith(QStringLiteral("1 tables added, 1 already stored, 1 lines refused.")),
           qPrintable(told));
  QVERIFY(told.contains(QStringLiteral("line 5: 3 pays for the 9 categories")));
  QCOMPARE(controller.StoredTableCount(), stored + 1);
  const TPayout* imported = nullptr;
  for (int t = 0; t < controller.TableCount(); ++t)
    if (controller.TableAt(t)->Pays[0] == 860) imported = controller.TableAt(t);
  QVERIFY(imported != nullptr);
  QVERIFY(std::fabs(static_cast<double>(imported->Return) - CliReturn(*imported)) < 1e-12);

  const QString exported = QString::fromStdString((world.Data() / "jacks.csv").string());
  dialog.ExportFile(exported);
  test::WhenModalOf<QMessageBox>(answer);
  dialog.ImportFile(exported);
  QVERIFY2(told.startsWith(QStringLiteral("0 tables added, ") +
                           QString::number(controller.TableCount()) +
                           QStringLiteral(" already stored, 0 lines refused.")),
           qPrintable(told));
  QCOMPARE(controller.StoredTableCount(), stored + 1);
  dialog.ImportFile(QStringLiteral("/nonexistent/list.csv"));
  QCOMPARE(world.Errors.size(), 1);
  QVERIFY(world.Errors[0].contains(QStringLiteral("does not exist")));
  QCOMPARE(controller.StoredTableCount(), stored + 1);
  QVERIFY(dialog.isEnabled() && dialog.OkButton()->isEnabled());
}

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  PayTablesTest test;
  return QTest::qExec(&test, argc, argv);
}

void PayTablesTest::CoinButtonsLeaveEnterToOkAndTheEditorStartsOnAPay() {
  for (const auto& [language, oneCoin, fiveCoins] : {std::tuple{"ENG", "1 coin", "5 coins"},
                                                     {"DEU", "1 Münze", "5 Münzen"},
                                                     {"RUS", "1 монета", "5 монет"}}) {
    test::TWorld world(language);
    TfmMain window(world.Data());
    TModelController& controller = window.Controller();
    TPayout table = *controller.CurrentTable();
    TfmPokerChoose dialog(&window, controller);
    TfmNew editor(&window, false, controller, table);
    for (QDialog* shown : std::initializer_list<QDialog*>{&dialog, &editor}) {
      TCoinSelector* coins = shown == &dialog ? dialog.CoinSelector() : editor.CoinSelector();
      QCOMPARE(coins->Button(1)->accessibleName(), QString::fromUtf8(oneCoin));
      QCOMPARE(coins->Button(5)->accessibleName(), QString::fromUtf8(fiveCoins));
      shown->show();
      QApplication::setActiveWindow(shown);
      QVERIFY(QTest::qWaitForWindowActive(shown));
      if (shown == &editor) {
        QCOMPARE(test::ControlOf(QApplication::focusWidget()), editor.Grid());
        QCOMPARE(editor.Grid()->currentIndex(), editor.Pays().index(0, 1));
      }
      // Enter on a focused coin button is OK's, not the coin button's.
      coins->Button(3)->setFocus();
      QTest::keyClick(coins->Button(3), Qt::Key_Return);
      QVERIFY(!coins->Button(3)->isDefault());
      QCOMPARE(shown->result(), static_cast<int>(QDialog::Accepted));
    }
  }
}

void PayTablesTest::MultiPlayFiguresOfTheChosenTableAsTheCommandLineGivesThem() {
  test::TWorld world;
  TfmMain window(world.Data());
  TModelController& controller = window.Controller();
  const QString pays = QStringLiteral("800,50,25,9,6,4,3,2,1");
  QVERIFY(test::SelectTableWithPays(controller, 0, pays));
  const int chosen = controller.TableIndex();
  const QJsonObject cli =
      test::Cli({QStringLiteral("multiplay"), QStringLiteral("-g"), QStringLiteral("0"),
                 QStringLiteral("-p"), pays, QStringLiteral("--lines"), QStringLiteral("10")});
  const QString covariance = QString::number(cli[QStringLiteral("covariance")].toDouble(), 'f', 6);
  const auto expected = [&](int lines, double deviation) {
    return QStringLiteral(
               "Covariance of two lines: %1\nStd. deviation per line, %2 lines: %3 "
               "(one line %4)")
        .arg(covariance, QString::number(lines), QString::number(deviation, 'f', 2),
             QString::number(std::sqrt(cli[QStringLiteral("variance")].toDouble()), 'f', 2));
  };

  {
    TfmPokerChoose dialog(&window, controller);
    QCOMPARE(dialog.LinesBox()->value(), 10);  // nothing remembered yet
    QCOMPARE(dialog.MultiPlayLabel()->text(),
             QStringLiteral("Computing the figures of several lines..."));
    QTRY_VERIFY_WITH_TIMEOUT(!dialog.MultiPlayBusy(), 120000);
    QCOMPARE(dialog.MultiPlayLabel()->text(),
             expected(10, cli[QStringLiteral("sdPerLine")].toDouble()));
    QVERIFY(dialog.MultiPlayLabel()->text().contains(QStringLiteral(": 1.966389\n")));
    QVERIFY(dialog.MultiPlayLabel()->text().contains(QStringLiteral(", 10 lines: 6.10 ")));

    // Another table and back: the covariance is kept, nothing is computed again.
    const int other = chosen == 0 ? 1 : 0;
    QVERIFY(controller.TableAt(other)->Computed());
    dialog.Grid()->setCurrentIndex(dialog.Tables().index(0, other));
    QCOMPARE(controller.TableIndex(), other);
    QVERIFY(dialog.MultiPlayBusy());
    dialog.Grid()->setCurrentIndex(dialog.Tables().index(0, chosen));
    QVERIFY(!dialog.MultiPlayBusy());
    QCOMPARE(dialog.MultiPlayLabel()->text(),
             expected(10, cli[QStringLiteral("sdPerLine")].toDouble()));

    // The lines only change the figures shown.
    dialog.LinesBox()->setFocus();
    QTest::keyClick(dialog.LinesBox(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(dialog.LinesBox(), QStringLiteral("1"));
    QCOMPARE(dialog.LinesBox()->value(), 1);
    QVERIFY(!dialog.MultiPlayBusy());
    QVERIFY2(
        dialog.MultiPlayLabel()->text().endsWith(QStringLiteral(", 1 lines: 4.42 (one line 4.42)")),
        qPrintable(dialog.MultiPlayLabel()->text()));
    QCOMPARE(dialog.MultiPlayLabel()->text(),
             expected(1, std::sqrt(cli[QStringLiteral("variance")].toDouble())));
  }
  // The lines are remembered.
  TfmPokerChoose again(&window, controller);
  QCOMPARE(again.LinesBox()->value(), 1);
  QVERIFY(world.Errors.isEmpty());
}

// The dialog opens on the second of six tables with the tables before it in view; the row
// labels are as wide in every game (the kicker games' names are the longest), so five
// tables stay in view whichever game is chosen.
void PayTablesTest::FiveTablesInViewInEveryGameFromTheFirstTable() {
  test::TWorld world;
  TfmMain window(world.Data());
  TModelController& controller = window.Controller();
  controller.SelectGame(35);  // Double Double Bonus
  QVERIFY(controller.TableCount() > 5);
  controller.SelectTable(1);
  TfmPokerChoose dialog(&window, controller);
  dialog.show();
  QTableView* grid = dialog.Grid();
  QCOMPARE(grid->horizontalScrollBar()->value(), 0);
  QVERIFY(grid->columnViewportPosition(1) + grid->columnWidth(1) <= grid->viewport()->width());
  const int labels = grid->verticalHeader()->width();
  for (const auto& game : controller.Games()) {
    dialog.SelectGameAt(
        RowOfGame(*dialog.GameList(), QString::fromStdString(game->Name).toUpper()));
    grid->doItemsLayout();
    QCOMPARE(controller.CurrentGame().GameId, game->GameId);
    QCOMPARE(grid->verticalHeader()->width(), labels);
    QVERIFY(5 * grid->columnWidth(0) <= grid->viewport()->width());
  }
  QVERIFY(world.Errors.isEmpty());
}

#include "pay_tables_test.moc"
