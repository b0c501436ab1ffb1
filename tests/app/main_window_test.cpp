// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later

// The main window, driven as a player would: clicks, keys, the menu, the settings.

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#include <QAccessible>
#include <QClipboard>
#include <QDesktopServices>
#include <QJsonArray>
#include <QJsonObject>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QStyle>
#include <QTableView>
#include <QTest>
#include <QTextBrowser>
#include <QToolTip>

#include "about_box.h"
#include "all_hands_window.h"
#include "app_test_support.h"
#include "application.h"
#include "chart_window.h"
#include "engine/cards.h"
#include "game_dialog.h"
#include "help_browser.h"
#include "main_window.h"
#include "parts/accessibility.h"
#include "parts/card_button.h"
#include "parts/card_slot.h"
#include "parts/error_report.h"
#include "parts/layout_rules.h"
#include "parts/results_model.h"
#include "pay_editor.h"
#include "practice_window.h"
#include "stat_window.h"
#include "stats/result_grid.h"
#include "store/safe_files.h"

using namespace tarnwick;
using namespace tarnwick::app;

namespace {

// The code of a card button; "JK" and "JK2" are the first and the second joker.
int Code(const std::string& text) {
  return text == "JK" ? -2 : text == "JK2" ? -1 : ParseCard(text).value();
}

void Click(TfmMain& window, const char* card) {
  window.CardButton(Code(card))->click();
}

// The best hold's chances and return as tarnwick-cli computes them, in the grid's texts.
QStringList CliColumn(const TPayout& table, const QStringList& cards) {
  const QJsonObject report = test::Cli(QStringList{QStringLiteral("hand"), QStringLiteral("-g"),
                                                   QString::number(table.GameId),
                                                   QStringLiteral("-p"), test::PaysText(table)}
                                       << cards);
  const QJsonObject best =
      report[QStringLiteral("holds")][report[QStringLiteral("best")].toInt()].toObject();
  const double draws = best[QStringLiteral("draws")].toDouble();
  QStringList column;
  for (const auto& count : best[QStringLiteral("counts")].toArray())
    column << QString::fromStdString(ChanceText(count.toDouble() / draws)).trimmed();
  column << QString()  // the separator
         << QString::fromStdString(
                ReturnText(best[QStringLiteral("ev")].toDouble() / table.CoinBasis))
                .trimmed();
  return column;
}

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { InstallAccessibility(); }
  void init() { test::FailOnWarnings(); }
  // Five clicks give the best hold's figures of tarnwick-cli.
  void FiveClicksGiveTheFiguresOfTheCommandLine_data();
  void FiveClicksGiveTheFiguresOfTheCommandLine();
  void AccessibleNamesToggleSixthCardAndButtonsThatAreDown();
  void TheLineUnderTheGridLeadsBackToTheBestHold();
  void EveryNameFitsItsColumnInEveryLanguage();
  void CopyStatisticsAndChartsActions();
  void SettingsRoundTripAndPlacementOnTheScreens();
  void AboutReportAndHelpInEveryLanguage();
  void FailuresAreReportedAndAbortsAreSilent();
  void AFailedSaveAtExitAsks();
  void KeysOpenTheMenuAndAllHolds();
  void TabReachesEveryControlInReadingOrder();
};

class TLinkCatcher : public QObject {
  Q_OBJECT

 public:
  QList<QUrl> Opened;

 public slots:
  void Open(const QUrl& url) { Opened << url; }
};

void MainWindowTest::FiveClicksGiveTheFiguresOfTheCommandLine_data() {
  QTest::addColumn<int>("game");
  QTest::addColumn<QStringList>("cards");
  QTest::newRow("natural") << 0 << QStringList{"5S", "6C", "JD", "QD", "AD"};
  QTest::newRow("deuces") << 4 << QStringList{"2S", "2C", "2H", "KC", "QD"};
  QTest::newRow("joker") << 3 << QStringList{"JK", "AC", "AD", "AH", "9S"};
}

void MainWindowTest::FiveClicksGiveTheFiguresOfTheCommandLine() {
  QFETCH(int, game);
  QFETCH(QStringList, cards);
  test::TWorld world;
  TfmMain window(world.Data());
  window.Controller().SelectGame(game);
  for (const QString& card : cards) Click(window, card.toLatin1().constData());
  QVERIFY(window.Controller().IsAnalysed());
  QStringList shown;
  for (int row = 0; row < window.Results().rowCount(); ++row)
    shown << window.Results().Text(row, TResultsModel::ChanceColumn);
  QCOMPARE(shown, CliColumn(*window.Controller().CurrentTable(), cards));
  QVERIFY(world.Errors.isEmpty());
}

// The hand typed (the keys' rules are CardEntry.KeysToCards'); the line under the grid
// compares the hold with the best, and B or a click on the line lead back to it; Escape.
void MainWindowTest::TheLineUnderTheGridLeadsBackToTheBestHold() {
  test::TWorld world;
  TfmMain window(world.Data());
  window.show();
  QVERIFY(!window.StandingLabel()->isVisible());  // nothing to compare before a hand
  QTest::keyClicks(&window, QStringLiteral("asKSqsJs3d"));
  TModelController& controller = window.Controller();
  QCOMPARE(controller.CardCode(4), Code("3D"));
  QCOMPARE(controller.DrawMask(), controller.BestMask());
  QVERIFY(window.StandingLabel()->text().startsWith(QStringLiteral("Best hold. Next best:")));
  // Holding the 3D too (key 5) gives up the whole draw; the lines of the two holds say why.
  QTest::keyClick(&window, Qt::Key_5);
  QCOMPARE(window.StandingLabel()->text(),
           QStringLiteral("Best: hold AS KS QS JS, 18.55319 bets. This hold gives up 18.55319 "
                          "bets (18.55319 coins). By the lines of a strategy card, 4 to a royal "
                          "flush AKQJ (no flush penalty and no straight penalty) ranks above AKQJ3 "
                          "unsuited here."));
  // It takes every line it wraps to, under the grid rather than over it.
  for (int round = 0; round < 3; ++round) QApplication::processEvents();
  QLabel* line = window.StandingLabel();
  QVERIFY(line->height() >= line->heightForWidth(line->width()));
  QVERIFY(line->y() >= window.Grid()->geometry().bottom());
  QTest::keyClick(&window, Qt::Key_B);
  QCOMPARE(controller.DrawMask(), controller.BestMask());
  window.Slot(4)->click();
  QTest::mouseClick(window.StandingLabel(), Qt::LeftButton);
  QCOMPARE(controller.DrawMask(), controller.BestMask());
  QTest::keyClick(&window, Qt::Key_Escape);
  QCOMPARE(controller.CardCode(0), kEmptyPosition);
  QVERIFY(world.Errors.isEmpty());
}

void MainWindowTest::AccessibleNamesToggleSixthCardAndButtonsThatAreDown() {
  test::TWorld world;
  TfmMain window(world.Data());
  for (const char* card : {"AS", "TD", "2C", "JK", "JK2"})
    QCOMPARE(window.CardButton(Code(card))->accessibleName(), QString::fromLatin1(card));
  // A card image before the hand is complete does nothing; an empty place names no card.
  Click(window, "AS");
  QVERIFY(!window.Slot(0)->isEnabled());
  QCOMPARE(window.Slot(1)->accessibleDescription(), QString());
  // Every button but the grid's corner (the grid has no headers to select from).
  for (QWidget* control : window.findChildren<QAbstractButton*>()) {
    if (control->isVisibleTo(&window) && !control->inherits("QTableCornerButton"))
      QVERIFY2(!control->accessibleName().isEmpty(), control->metaObject()->className());
  }
  for (const char* card : {"KS", "QS", "JS", "TS"}) Click(window, card);
  // A dealt royal flush stands pat: every card held.
  QCOMPARE(window.Controller().DrawMask(), 0);
  QVERIFY(window.Slot(4)->isChecked());
  const QImage held = window.Slot(4)->Picture();
  window.Slot(4)->click();  // replace the ten
  QCOMPARE(window.Controller().DrawMask(), 16);
  QVERIFY(!window.Slot(4)->isChecked());
  QVERIFY(window.Slot(4)->Picture() != held);  // the held mark is gone
  // The ten of spades was dealt: no royal flush now; 8 spades of 47 make a flush.
  QCOMPARE(window.Results().Text(0, TResultsModel::ChanceColumn), QStringLiteral("-"));
  QCOMPARE(window.Results().Text(4, TResultsModel::ChanceColumn), QStringLiteral("17.021%"));
  Click(window, "2H");
  QVERIFY(!window.CardButton(Code("AS"))->isChecked());
  QVERIFY(window.CardButton(Code("2H"))->isChecked());
  Click(window, "2H");
  QCOMPARE(window.Controller().IndexOfCard(Code("2H")), -1);
  QVERIFY(!window.CardButton(Code("2H"))->isChecked());
  // The joker buttons of the game's deck only: none, the first, both.
  for (const auto& [game, jokers] : {std::pair{0, 0}, {3, 1}, {8, 2}}) {
    window.Controller().SelectGame(game);
    QCOMPARE(window.CardButton(-2)->isEnabled(), jokers >= 1);
    QCOMPARE(window.CardButton(-1)->isEnabled(), jokers == 2);
  }
}

// No category name or return label is cut, in any language; the window fits the screen.
void MainWindowTest::EveryNameFitsItsColumnInEveryLanguage() {
  test::TWorld world;
  TfmMain window(world.Data());
  window.show();
  TModelController& controller = window.Controller();
  const QTableView* grid = window.Grid();
  const int padding =
      2 * (grid->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, grid) + 1);
  for (const char* code : {"ENG", "DEU", "RUS"}) {
    Preferences().SetLanguage(code);
    window.ApplyTexts();
    for (const auto& game : controller.Games()) {
      controller.SelectGame(game->GameId);
      if (game->GameId == 0) {
        // Four aces: the longest line, a tie named.
        for (const char* card : {"AS", "AC", "AD", "AH", "3D"}) Click(window, card);
      }
      window.layout()->activate();
      const QFontMetrics metrics(grid->font());
      const int names = grid->columnWidth(TResultsModel::NameColumn);
      for (int row = 0; row < window.Results().rowCount(); ++row) {
        const QString text = window.Results().Text(row, TResultsModel::NameColumn);
        QVERIFY2(metrics.horizontalAdvance(text) + padding <= names,
                 qPrintable(QStringLiteral("%1: %2").arg(QLatin1String(code), text)));
      }
      QVERIFY(names + grid->columnWidth(1) + grid->columnWidth(2) <= grid->viewport()->width());
      controller.ClearHand();
    }
    QVERIFY(window.width() <= window.screen()->availableGeometry().width());
  }
}

// Copy puts the hand and grid on the clipboard; statistics and charts need a computed table.
void MainWindowTest::CopyStatisticsAndChartsActions() {
  test::TWorld world;
  TfmMain window(world.Data());
  QVERIFY(window.StatisticsAction()->isEnabled());
  QVERIFY(window.ChartsAction()->isEnabled());
  for (const char* card : {"AS", "KS", "QS", "JS", "3D"}) Click(window, card);
  window.CopyAction()->trigger();
  const QString text = QApplication::clipboard()->text();
  for (const char* line : {"Game\tJacks or better", "Hand\tAS KS QS JS 3D", "Hold\tAS KS QS JS --",
                           "ROYAL FLUSH\t800\t2.128%", "Expected return\t\t1855%"})
    QVERIFY2(text.contains(QLatin1String(line)), qPrintable(text));

  // The menu's entries show their hints; a cell shows its hint.
  QVERIFY(window.PopupMenu()->toolTipsVisible() && !window.ChartsAction()->toolTip().isEmpty());
  QWidget* cells = window.Grid()->viewport();
  const QRect pay = window.Grid()->visualRect(window.Results().index(0, TResultsModel::PayColumn));
  QHelpEvent overPay(QEvent::ToolTip, pay.center(), cells->mapToGlobal(pay.center()));
  QApplication::sendEvent(cells, &overPay);
  QCOMPARE(QToolTip::text(), window.Results().data(window.Results().index(0, 1), Qt::ToolTipRole));

  // A store of one table not computed yet.
  TData store;
  store.Add(std::make_unique<TPayout>(MakePayout(
      *FindGame(BuildCatalogue(), 0), std::vector<int32_t>{800, 50, 25, 9, 6, 4, 3, 2, 1}, 1)));
  std::filesystem::remove(world.Data() / "Tarnwick.dat");
  store.Save(world.Data());
  TfmMain bare(world.Data());
  QVERIFY(!bare.StatisticsAction()->isEnabled());
  QVERIFY(!bare.ChartsAction()->isEnabled());
}

// The game, the place and the language chosen come back at the next start.
void MainWindowTest::SettingsRoundTripAndPlacementOnTheScreens() {
  test::TWorld world;
  const QScreen* screen = QApplication::primaryScreen();
  const std::string section = PlacementSection(static_cast<int>(screen->logicalDotsPerInch()),
                                               screen->virtualGeometry().width())
                                  .toStdString();
  {
    TfmMain window(world.Data());
    window.Controller().SelectGame(4);
    window.setGeometry(20, 30, 500, 600);  // wider than its design: the cards grow with it
    window.SaveSettings();
    Preferences().SaveSettings();
    QMenu* languages = nullptr;
    for (QAction* action : window.PopupMenu()->actions())
      if (action->menu() != nullptr) languages = action->menu();
    QVERIFY(languages != nullptr);
    emit languages->aboutToShow();
    QStringList names;
    for (QAction* action : languages->actions()) names << action->text();
    QCOMPARE(names, (QStringList{"Deutsch", "English", "Русский"}));
    QVERIFY(languages->actions()[1]->isChecked());
    // The statistics beside the main window change their language with it.
    window.StatisticsAction()->trigger();
    auto* statistics = window.findChild<TfmStat*>();
    QVERIFY(statistics != nullptr);
    languages->actions()[2]->trigger();
    QCOMPARE(statistics->OkButton()->text(),
             QString::fromStdString(Preferences().ButtonText("OK")));
    QVERIFY(statistics->OkButton()->text() != QStringLiteral("OK"));
    QCOMPARE(window.Button(kMenuButton)->text(), QStringLiteral("Меню"));
    QVERIFY(window.HelpAction()->text() != QStringLiteral("Help"));
  }
  ReleasePreferences();  // the program ends: the language chosen is written
  world.Install("ENG");
  QCOMPARE(QString::fromStdString(Preferences().LanguageCode), QStringLiteral("RUS"));
  {
    TfmMain window(world.Data());
    QCOMPARE(window.Controller().CurrentGame().GameId, 4);
    QCOMPARE(window.geometry(), QRect(20, 30, 500, 600));
    // Cards 1.75 times the design size in 500 pixels: five of 88 x 119 side by side.
    window.show();
    QCOMPARE(window.Slot(4)->size(), QSize(88, 119));
    QVERIFY(window.Slot(3)->geometry().right() < window.Slot(4)->geometry().left());
    QCOMPARE(window.Slot(0)->Picture().deviceIndependentSize().toSize(), QSize(88, 119));
    // A place off every screen, above the top, comes back onto one (the figures are
    // FitIntoScreens').
    Preferences().Settings.WriteInteger(section, "Left", 5000);
    Preferences().Settings.WriteInteger(section, "Top", -7);
    TfmMain moved(world.Data());
    QVERIFY(screen->availableGeometry().contains(moved.geometry()));
  }
  // The start language is kept at every exit.
  std::filesystem::remove(world.Data() / "tarnwick.ini");
  ReleasePreferences();
  world.Install("DEU");
  {
    TfmMain window(world.Data());
    window.show();
    QVERIFY(window.close());
  }
  ReleasePreferences();
  world.Install("ENG");
  QCOMPARE(QString::fromStdString(Preferences().LanguageCode), QStringLiteral("DEU"));
}

// The about box links only to the licence; the error report's mail has no fixed recipient;
// help comes in the language chosen, or says where it was looked for.
void MainWindowTest::AboutReportAndHelpInEveryLanguage() {
  test::TWorld world;
  for (const char* code : {"ENG", "DEU", "RUS"}) {
    Preferences().SetLanguage(code);
    TfmAbout about(nullptr, 1);
    QVERIFY(about.VersionLabel()->text().endsWith(QStringLiteral(" " TARNWICK_VERSION)));
    QVERIFY(about.QtVersionLabel()->text().endsWith(QString::fromLatin1(qVersion())));
    QVERIFY(about.LicenceLink()->text().contains(
        QStringLiteral("href=\"https://www.gnu.org/licenses/gpl-3.0.html\"")));
    for (const QLabel* label : about.findChildren<QLabel*>())
      QVERIFY2(!label->text().contains(QStringLiteral("example")), qPrintable(label->text()));
  }
  TLinkCatcher catcher;
  QDesktopServices::setUrlHandler(QStringLiteral("mailto"), &catcher, "Open");
  TfmException report(nullptr, QStringLiteral("Hand :  AS"));
  report.SendButton()->click();
  QDesktopServices::unsetUrlHandler(QStringLiteral("mailto"));
  QCOMPARE(catcher.Opened.size(), 1);
  QVERIFY(catcher.Opened[0].toString().startsWith(QStringLiteral("mailto:?subject=")));

  TfmMain window(world.Data());
  // One help window, turned to the topic of the window asking in the language chosen (the
  // page of each language is Prefs.HelpPagesOfEachLanguage').
  Preferences().SetLanguage("DEU");
  window.HelpAction()->trigger();
  THelpBrowser* help = OpenHelp();
  QVERIFY(help != nullptr && help->isVisible() && !help->Browser()->toPlainText().isEmpty());
  const QString shown = help->Browser()->source().toLocalFile();
  QVERIFY2(shown.endsWith(QStringLiteral("Tarnwick_deu/main.htm")), qPrintable(shown));
  // At its least size a page still reads in lines of forty letters, ten of them and more.
  help->resize(1, 1);
  QApplication::processEvents();
  const QFontMetrics metrics(help->Browser()->font());
  QVERIFY(help->Browser()->viewport()->width() >= 36 * metrics.averageCharWidth());
  QVERIFY(help->Browser()->viewport()->height() >= 10 * metrics.lineSpacing());
  delete OpenHelp();

  // Without the help pages, F1 says they are missing and where they were looked for.
  QTemporaryDir bare;
  const std::filesystem::path resources = bare.path().toStdString();
  std::filesystem::copy(test::kData / "Langs", resources / "Langs");
  InstallPreferences(std::make_unique<TPreferences>(
      TPreferencesSetup{resources, world.Data() / "tarnwick.ini", "ENG", {}, "DejaVu Sans"}));
  QString message;
  test::WhenModal([&message](QWidget* modal) {
    if (auto* box = qobject_cast<QMessageBox*>(modal)) message = box->text();
    modal->close();
  });
  window.HelpAction()->trigger();
  QCOMPARE(message, QStringLiteral("The help pages are missing: they were looked for in %1.")
                        .arg(QString::fromStdString((resources / "Help").string())));
}

void MainWindowTest::FailuresAreReportedAndAbortsAreSilent() {
  test::TWorld world;
  QVERIFY(Guarded(nullptr, [] {}));
  QVERIFY(!Guarded(nullptr, [] { throw AbortError(); }));
  QVERIFY(world.Errors.isEmpty());
  QVERIFY(!Guarded(nullptr, [] { throw RangeError("draw mask = 40 is outside 0..31"); }));
  QCOMPARE(world.Errors, QStringList{"draw mask = 40 is outside 0..31"});
  // A failure no slot caught reaches the application's last net, not the event loop.
  TfmMain window(world.Data());
  QObject thrower;
  QObject::connect(&window, &QObject::objectNameChanged, &thrower,
                   [] { throw TarnwickError("Error calculate natural case (GetTheBest)"); });
  QTimer::singleShot(0, &window, [&window] { window.setObjectName(QStringLiteral("changed")); });
  QTRY_COMPARE(world.Errors.size(), 2);
  QVERIFY(world.Errors.back().startsWith(QStringLiteral("Error calculate natural case")));
}

// A damaged data file is told once at the start; a save that fails at the exit asks.
void MainWindowTest::AFailedSaveAtExitAsks() {
  test::TWorld world;
  std::filesystem::resize_file(world.Data() / "Tarnwick.dat", 1000);
  auto window = std::make_unique<TfmMain>(world.Data());
  QString warning;
  test::WhenModal([&warning](QWidget* modal) {
    warning = qobject_cast<QMessageBox*>(modal)->text();
    modal->close();
  });
  window->ShowStartWarnings();
  QVERIFY2(warning.contains(QStringLiteral("is damaged")), qPrintable(warning));
  window->ShowStartWarnings();  // once only: no second box waits
  window->show();
  const int before = window->Controller().StoredTableCount();
  test::WhenModal([](QWidget* modal) {  // delete the table: the store changed
    qobject_cast<QMessageBox*>(modal)->button(QMessageBox::Yes)->click();
  });
  window->Controller().DeleteTable();
  QCOMPARE(window->Controller().StoredTableCount(), before - 1);
  // Another program holds the lock: the save gives up at once; retry or cancel.
  const int held = ::open((world.Data() / "Tarnwick.dat.lock").c_str(), O_RDONLY | O_CREAT, 0644);
  QVERIFY(held >= 0 && ::flock(held, LOCK_EX) == 0);
  const std::chrono::milliseconds wait = LockWait();
  SetLockWait(std::chrono::milliseconds(0));
  test::WhenModal([](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    QVERIFY2(box->text().startsWith(QStringLiteral("Another program is saving the pay tables")),
             qPrintable(box->text()));
    QVERIFY(box->button(QMessageBox::Retry) != nullptr);
    box->button(QMessageBox::Cancel)->click();
  });
  QVERIFY(!window->close());
  SetLockWait(wait);
  ::close(held);
  std::filesystem::remove_all(world.Data());
  test::WhenModal([](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    QVERIFY(box->text().contains(QStringLiteral("could not be saved")));
    box->button(QMessageBox::Cancel)->click();
  });
  QVERIFY(!window->close());
  QVERIFY(window->isVisible());
  test::WhenModal([](QWidget* modal) {
    for (QAbstractButton* button : qobject_cast<QMessageBox*>(modal)->buttons()) {
      if (button->text() == QStringLiteral("Quit without saving")) button->click();
    }
  });
  QVERIFY(window->close());
  // Quit without saving writes nothing, not even when a later save could succeed.
  std::filesystem::create_directories(world.Data());
  window.reset();
  QVERIFY(!std::filesystem::exists(world.Data() / "Tarnwick.dat"));
}

int main(int argc, char** argv) {
  TApplication application(argc, argv);  // with its last net for failures
  MainWindowTest test;
  return QTest::qExec(&test, argc, argv);
}

void MainWindowTest::KeysOpenTheMenuAndAllHolds() {
  test::TWorld world;
  TfmMain window(world.Data());
  window.show();
  QApplication::setActiveWindow(&window);
  QVERIFY(QTest::qWaitForWindowActive(&window));
  // No key of the window is one of the typing keys (a rank, a suit, B, a digit).
  for (const QAction* action : window.actions()) {
    const QKeySequence keys = action->shortcut();
    if (keys.isEmpty()) continue;
    const int key = keys[0].key();
    const bool typing = keys[0].keyboardModifiers() == Qt::NoModifier && key < 0x10000 &&
                        QStringLiteral("23456789TJQKASCDHB12345").contains(QChar(key));
    QVERIFY2(!typing, qPrintable(keys.toString()));
  }
  // All holds: F7 and the menu's item with its key, both only for an analysed hand.
  QAction* allHolds = window.AllHoldsAction();
  QVERIFY(window.PopupMenu()->actions().contains(allHolds));
  QCOMPARE(allHolds->shortcut(), QKeySequence(Qt::Key_F7));
  QVERIFY(!allHolds->isEnabled());
  for (const char* card : {"AS", "KS", "QS", "JS", "9H"}) Click(window, card);
  QVERIFY(allHolds->isEnabled());
  QTest::keyClick(&window, Qt::Key_F7);
  QTRY_VERIFY(window.findChild<TfmAllHands*>() != nullptr);
  delete window.findChild<TfmAllHands*>();
  // F10 and the context-menu key open the menu at the Menu button.
  for (const Qt::Key key : {Qt::Key_F10, Qt::Key_Menu}) {
    QApplication::setActiveWindow(&window);
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QTest::keyClick(&window, key);
    QTRY_VERIFY(window.PopupMenu()->isVisible());
    const QRect button(window.Button(kMenuButton)->mapToGlobal(QPoint(0, 0)),
                       window.Button(kMenuButton)->size());
    QCOMPARE(window.PopupMenu()->pos(), button.bottomLeft());
    window.PopupMenu()->close();
  }
  // The Menu button's own accessible parts (the end-to-end test reads the frame and the
  // menu's items through them): the menu is its one child, and a screen reader can open it.
  QAccessibleInterface* menu = QAccessible::queryAccessibleInterface(window.Button(kMenuButton));
  QVERIFY(menu->state().hasPopup);
  QCOMPARE(menu->childCount(), 1);
  QCOMPARE(menu->child(0)->role(), QAccessible::PopupMenu);
  QCOMPARE(menu->indexOfChild(menu->child(0)), 0);
  menu->actionInterface()->doAction(QAccessibleActionInterface::showMenuAction());
  QTRY_VERIFY(window.PopupMenu()->isVisible());
  window.PopupMenu()->close();

  // A palette change: the faces are painted anew around its button colour, the caption in
  // its button text colour.
  TCardButton* button = window.Button(kMenuButton);
  const auto middle = [button] {
    const QImage face = button->grab().toImage();  // left of the caption
    return face.pixelColor(4, face.height() / 2);
  };
  QVERIFY2(middle().lightness() > 128, qPrintable(middle().name()));
  QPalette dark = window.palette();
  dark.setColor(QPalette::Button, QColor(0x30, 0x30, 0x30));
  dark.setColor(QPalette::ButtonText, Qt::white);
  window.setPalette(dark);
  QVERIFY2(middle().lightness() < 100, qPrintable(middle().name()));
}

void MainWindowTest::TabReachesEveryControlInReadingOrder() {
  test::TWorld world;
  TfmMain window(world.Data());
  TModelController& controller = window.Controller();
  for (const char* card : {"AS", "KS", "QS", "JS", "9H"}) Click(window, card);
  TPayout table = *controller.CurrentTable();
  // Each window but the main one is made hidden and checked in turn.
  const std::vector<std::pair<const char*, QWidget*>> windows = {
      {"main", &window},
      {"game", new TfmPokerChoose(&window, controller)},
      {"editor", new TfmNew(&window, false, controller, table)},
      {"charts", new TfmChart(&window, controller.TableSnapshot(), {})},
      {"holds", new TfmAllHands(&window, controller.HoldsSnapshot(), {})},
      {"statistics", new TfmStat(&window, controller.TableSnapshot(), {})},
      {"practice", new TfmPractice(&window, controller)},
      {"help", new THelpBrowser(&window, {})},
      {"about", new TfmAbout(&window, 1)},
  };
  for (const auto& [name, shown] : windows) {
    const QString fault = test::TabRoundFault(shown);
    QVERIFY2(fault.isEmpty(), qPrintable(QString::fromLatin1(name) + QStringLiteral(": ") + fault));
    if (shown != &window) delete shown;
  }
}

#include "main_window_test.moc"
