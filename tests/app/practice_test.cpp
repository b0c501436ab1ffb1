// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later

// The practice window played with keys, against tarnwick-cli's replay of the same seed.

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QJsonArray>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryFile>
#include <QTest>
#include <fstream>
#include <functional>

#include "all_hands_window.h"
#include "app_test_support.h"
#include "application.h"
#include "main_window.h"
#include "parts/card_painter.h"
#include "parts/card_slot.h"
#include "parts/holds_model.h"
#include "parts/qt_text.h"
#include "practice_window.h"
#include "session/practice_file.h"
#include "store/safe_files.h"

using namespace tarnwick;
using namespace tarnwick::app;

namespace {

constexpr uint64_t kSeed = 12345;
constexpr int kJokerWild = 3;
constexpr int kDeucesWild = 4;

void Type(Qt::Key key) {
  QTest::keyClick(QApplication::focusWidget(), key);
}

// Marks a hold given as five letters ("H" held) with the keys 1 to 5.
void PressHold(const QString& pattern) {
  for (int i = 0; i < kHandSize; ++i)
    if (pattern[i] == QLatin1Char('H')) Type(static_cast<Qt::Key>(Qt::Key_1 + i));
}

QString Pattern(TfmPractice& practice) {
  QString pattern;
  for (int i = 0; i < kHandSize; ++i)
    pattern += practice.Slot(i)->isChecked() ? QLatin1Char('H') : QLatin1Char('-');
  return pattern;
}

// Deals until a card is wild by `wild`, changes the hold, and returns the wrongly marked cards.
QStringList WronglyMarked(TfmPractice& practice, const std::function<bool(const QString&)>& wild) {
  const auto anyWild = [&] {
    for (int i = 0; i < kHandSize; ++i)
      if (wild(practice.Slot(i)->accessibleDescription())) return true;
    return false;
  };
  for (int deals = 0; !anyWild(); ++deals) {
    if (deals == 200) return {QStringLiteral("no wild card in 200 deals")};
    practice.DealHand();
  }
  practice.Slot(0)->click();
  const TCardPainter painter(practice.devicePixelRatioF());
  QStringList wrong;
  for (int i = 0; i < kHandSize; ++i) {
    const TCardSlot& slot = *practice.Slot(i);
    const int code = practice.Session().CurrentDeal().Cards[static_cast<size_t>(i)];
    if (slot.Picture() != painter.Card(code, slot.isChecked(), wild(slot.accessibleDescription())))
      wrong << slot.accessibleDescription();
  }
  return wrong;
}

bool ShowsLongestSeed(QLineEdit& box) {
  QApplication::processEvents();               // the window laid out anew
  box.setText(QString(18, QLatin1Char('8')));  // the cursor at its end
  box.repaint();                               // which scrolls the text as far as needed
  const int end = box.inputMethodQuery(Qt::ImCursorRectangle).toRect().x();
  box.home(false);
  box.repaint();
  return end - box.inputMethodQuery(Qt::ImCursorRectangle).toRect().x() ==
         box.fontMetrics().horizontalAdvance(box.text());
}

}  // namespace

class PracticeTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { test::FailOnWarnings(); }
  void TheWindowAndTheCommandLineAgree();
  void WarningMistakesShowMeAndKeptSessions();
  void FollowsTheMainWindowsGameAndLanguage();
  void AFileThatCannotTakeTheSessionIsTold();
  void ThreeLinesShowEachLineAndTheirTotal();
  void VerdictsNameTheLinesAndTheStrategysRow();
};

void PracticeTest::TheWindowAndTheCommandLineAgree() {
  test::TWorld world;
  TfmMain window(world.Data());
  window.Controller().SelectGame(0);  // 9/6 Jacks or better, one coin
  window.PracticeAction()->trigger();
  TfmPractice& practice = *window.Practice();
  QVERIFY(QTest::qWaitForWindowActive(&practice));
  practice.WarnBox()->setChecked(false);
  Type(Qt::Key_2);
  QCOMPARE(Pattern(practice), QStringLiteral("-H---"));
  QTest::mouseClick(practice.SeedEdit(), Qt::LeftButton);
  practice.SeedEdit()->selectAll();
  QTest::keyClicks(practice.SeedEdit(), QString::number(kSeed));
  Type(Qt::Key_Return);
  QCOMPARE(practice.Session().Seed(), kSeed);
  QCOMPARE(practice.Session().Figures().Hands, 0);
  const QStringList holds = {"HHHHH", "HHH-H", "HH---", "-H--H", "HHHH-", "--H-H"};
  QStringList verdicts;
  for (const QString& hold : holds) {
    QCOMPARE(Pattern(practice), QStringLiteral("-----"));
    PressHold(hold);
    QCOMPARE(Pattern(practice), hold);
    QVERIFY(practice.ShowMe()->isHidden());
    Type(Qt::Key_Return);
    QVERIFY(!practice.ShowMe()->isHidden());
    verdicts << practice.Verdict()->text();
    Type(Qt::Key_Return);  // the next deal
  }
  QTemporaryFile file;
  QVERIFY(file.open());
  file.write(holds.join(QLatin1Char('\n')).toLatin1() + "\n");
  file.close();
  const QJsonObject replay = test::Cli({"practice", "-g", "0", "-p", "800,50,25,9,6,4,3,2,1", "-s",
                                        QString::number(kSeed), "--holds", file.fileName()});
  const QJsonArray hands = replay[QStringLiteral("hands")].toArray();
  QCOMPARE(hands.size(), holds.size());
  int mistakes = 0;
  for (int i = 0; i < hands.size(); ++i) {
    const QJsonObject hand = hands[i].toObject();
    const bool mistake = hand[QStringLiteral("mistake")].toBool();
    QVERIFY2(verdicts[i].startsWith(mistake ? QStringLiteral("Mistake") : QStringLiteral("Right")),
             qPrintable(verdicts[i]));
    if (!mistake) continue;
    const QTableWidget& list = *practice.Mistakes();
    QCOMPARE(list.item(mistakes, 0)->text(),
             hand[QStringLiteral("dealt")].toVariant().toStringList().join(QLatin1Char(' ')));
    QCOMPARE(list.item(mistakes, 3)->text(),
             QString::number(hand[QStringLiteral("costBets")].toDouble(), 'f', 5));
    QVERIFY(verdicts[i].contains(list.item(mistakes, 2)->text()));
    ++mistakes;
  }
  const QJsonObject figures = replay[QStringLiteral("figures")].toObject();
  QCOMPARE(practice.Mistakes()->rowCount(), mistakes);
  QCOMPARE(practice.Figure(1)->text(),
           QString::number(figures[QStringLiteral("mistakes")].toInt()));
  QCOMPARE(practice.Figure(5)->text(),
           QString::fromStdString(SignedText(figures[QStringLiteral("net")].toInt(), 0)));
  QCOMPARE(practice.Figure(4)->text(),
           QString::fromStdString(PercentText(figures[QStringLiteral("efficiency")].toDouble())) +
               QLatin1Char('%'));
  QVERIFY(world.Errors.isEmpty());
}

void PracticeTest::WarningMistakesShowMeAndKeptSessions() {
  test::TWorld world;
  {
    TfmMain window(world.Data());
    window.Controller().SelectGame(0);
    window.show();
    window.PracticeAction()->trigger();
    TfmPractice& practice = *window.Practice();
    QVERIFY(QTest::qWaitForWindowActive(&practice));
    practice.NewSession(kSeed);
    practice.WarnBox()->setChecked(true);
    practice.WarnBets()->setValue(0);
    const auto above = [&practice](int mask) {
      int count = 0;
      for (int other = 0; other < kMaskCount; ++other)
        count += practice.Session().Grade(other).PlayedReturn() >
                 practice.Session().Grade(mask).PlayedReturn();
      return count;
    };
    int mask = 0;
    while (above(mask) != 4) ++mask;
    const TPracticeVerdict verdict = practice.Session().Grade(mask);
    for (int i = 0; i < kHandSize; ++i)
      if (((practice.Mask() ^ mask) >> i & 1) != 0) practice.Slot(i)->click();
    // The warning names no card; taken back, nothing is drawn.
    const TPracticeDeal deal = practice.Session().CurrentDeal();
    test::WhenModal([&deal](QWidget* modal) {
      auto* box = qobject_cast<QMessageBox*>(modal);
      for (int32_t code : deal.Cards) QVERIFY(!box->text().contains(CardCodeText(code)));
      box->button(QMessageBox::No)->click();
    });
    QVERIFY(!practice.DrawHand());
    QCOMPARE(practice.Session().Figures().Hands, 0);
    QCOMPARE(practice.Mask(), mask);
    test::WhenModal(
        [](QWidget* box) { qobject_cast<QMessageBox*>(box)->button(QMessageBox::Yes)->click(); });
    QVERIFY(practice.DrawHand());
    QCOMPARE(practice.Mistakes()->rowCount(), 1);
    QCOMPARE(practice.Mistakes()->item(0, 3)->text(),
             QString::number(static_cast<double>(verdict.CostBets()), 'f', 5));
    // At its least size the wrapped texts take the lines they need and every figure of the
    // session keeps a whole line under them.
    practice.resize(1, 1);
    QApplication::processEvents();
    for (int i = 0; i < TfmPractice::kFigureCount; ++i)
      QVERIFY(practice.Figure(i)->height() >= practice.Figure(i)->minimumSizeHint().height());
    // "Show me": the hold played selected and in view, the best at the top.
    bool shown = false;
    test::WhenModalOf<TfmAllHands>([&](TfmAllHands* holds) {
      shown = true;
      QCOMPARE(holds->SelectedHold(), mask);
      QCOMPARE(holds->Model()->MaskAt(0), verdict.BestMask);
      const QTableView& grid = *holds->Grid();
      for (int row : {0, holds->Model()->RowOf(mask)})
        QVERIFY2(grid.viewport()->rect().contains(grid.visualRect(holds->Model()->index(row, 0))),
                 qPrintable(QString::number(row)));
      holds->OkButton()->click();
    });
    emit practice.ShowMe()->linkActivated(QStringLiteral("holds"));
    QVERIFY(shown);
    if (QGuiApplication::platformName() == QStringLiteral("offscreen"))
      QTest::ignoreMessage(QtWarningMsg, "This plugin does not support raise()");
    emit practice.Mistakes()->cellClicked(0, 0);
    for (int i = 0; i < kHandSize; ++i)
      QCOMPARE(window.Controller().CardCode(i), deal.Cards[static_cast<size_t>(i)]);
    QCOMPARE(window.Controller().DrawMask(), verdict.BestMask);
    QTRY_COMPARE(QApplication::activeWindow(), &window);
    practice.HoldAllBox()->setChecked(true);
    practice.DealHand();
    QCOMPARE(Pattern(practice), QStringLiteral("HHHHH"));
    practice.close();
    window.PracticeAction()->trigger();
    QCOMPARE(window.Practice()->History()->rowCount(), 1);
    QCOMPARE(window.Practice()->History()->item(0, 4)->text(), QStringLiteral("1"));
    QCOMPARE(window.Practice()->History()->item(0, 5)->text(), QStringLiteral("1"));
    QVERIFY(window.Practice()->WarnBox()->isChecked());
    Preferences().SaveSettings();
  }
  std::ofstream(world.Data() / kPracticeFileName, std::ios::app)
      << "session 1\nstarted 12\ngame 0 damaged\n";
  world.Install();
  TfmMain window(world.Data());
  window.PracticeAction()->trigger();
  TfmPractice& practice = *window.Practice();
  QCOMPARE(practice.History()->rowCount(), 1);
  QVERIFY(practice.DamagedNote()->text().startsWith(QStringLiteral("1 damaged")));
  QVERIFY(practice.WarnBox()->isChecked());
  QCOMPARE(practice.WarnBets()->value(), 0.0);
  QCOMPARE(Pattern(practice), QStringLiteral("HHHHH"));
  QVERIFY(world.Errors.isEmpty());
}

void PracticeTest::FollowsTheMainWindowsGameAndLanguage() {
  test::TWorld world;
  TfmMain window(world.Data());
  TModelController& controller = window.Controller();
  controller.SelectGame(kDeucesWild);
  window.PracticeAction()->trigger();
  TfmPractice& practice = *window.Practice();
  practice.NewSession(kSeed);
  QVERIFY(ShowsLongestSeed(*practice.SeedEdit()));
  const auto deuce = [](const QString& card) { return card.startsWith(QLatin1Char('2')); };
  QCOMPARE(WronglyMarked(practice, deuce).join(QLatin1Char(' ')), QString());
  // Another game in the main window: the next deal starts a session of it.
  QVERIFY(practice.FollowNote()->isHidden());
  controller.SelectGame(kJokerWild);
  QVERIFY(!practice.FollowNote()->isHidden());
  QVERIFY(practice.FollowNote()->text().contains(Q(controller.CurrentGame().Name)));
  QCOMPARE(WronglyMarked(practice, deuce).join(QLatin1Char(' ')), QString());
  QVERIFY(practice.DrawHand());
  practice.DealHand();
  QCOMPARE(practice.Session().Record().GameId, kJokerWild);
  QCOMPARE(practice.Session().Record().Pays, PaysOf(*controller.CurrentTable()));
  QVERIFY(practice.FollowNote()->isHidden());
  QCOMPARE(practice.History()->rowCount(), 1);  // the session of Deuces Wild, kept
  const auto joker = [](const QString& card) { return card.startsWith(QStringLiteral("JK")); };
  QCOMPARE(WronglyMarked(practice, joker).join(QLatin1Char(' ')), QString());

  QVERIFY(practice.DrawHand());
  const QString english = practice.Verdict()->text();
  for (const char* language : {"DEU", "RUS"}) {
    Preferences().SetLanguage(language);
    window.ApplyTexts();
    QCOMPARE(practice.windowTitle(), Q(Preferences().Text("Practice", "Title")));
    QVERIFY(practice.Verdict()->text() != english);
    QVERIFY(ShowsLongestSeed(*practice.SeedEdit()));
  }
  QVERIFY(world.Errors.isEmpty());
}

// A wrong hold's verdict names its line and the best hold's, and the row of a reference
// strategy (a small parsed one stands in for a generation, held at its start); the mistakes
// count by line; a drill deals hands offering both of its lines.
void PracticeTest::VerdictsNameTheLinesAndTheStrategysRow() {
  test::TWorld world;
  TfmMain window(world.Data());
  window.Controller().SelectGame(0);
  window.PracticeAction()->trigger();
  TfmPractice& practice = *window.Practice();
  practice.WarnBox()->setChecked(false);
  test::TWorkerGate gate;
  practice.SetStrategyMaker(
      [](const TPokerDescription& game, const TPayout&, TStrategyLevel, TProgress&) {
        return ParseStrategy("4 to a royal flush\nhigh pair\n3 to a royal flush\nlow pair",
                             THoldNamer(game))
            .Strategy;
      });
  practice.StrategyBox()->setCurrentIndex(1);
  QVERIFY(practice.StrategyBusy());
  QVERIFY(!practice.StrategyCancel()->isHidden() && !practice.StrategyProgress()->isHidden());
  practice.StrategyCancel()->click();
  QVERIFY(!practice.StrategyBusy());
  QCOMPARE(practice.StrategyBox()->currentIndex(), 0);
  QVERIFY(practice.StrategyCancel()->isHidden());
  practice.StrategyBox()->setCurrentIndex(1);
  gate.Release();
  QTRY_VERIFY_WITH_TIMEOUT(!practice.StrategyBusy(), 30000);
  QVERIFY2(practice.StrategyNote()->text().contains(QStringLiteral("4 rows")),
           qPrintable(practice.StrategyNote()->text()));
  QCOMPARE(practice.DrillLine(0)->count(), 4);  // the strategy's lines to drill

  // The first hold of the hand that is a mistake.
  const TPracticeSession& session = practice.Session();
  int mask = 0;
  while (!session.Grade(mask).Mistake()) ++mask;
  for (int i = 0; i < kHandSize; ++i)
    if (!BitSet(mask, i)) practice.ToggleHold(i);
  QVERIFY(practice.DrawHand());
  const TPracticeHand& hand = session.Record().Hands.back();
  QCOMPARE(hand.Verdict.Mask, mask);
  const THoldNamer& namer = session.Namer();
  const QString verdict = practice.Verdict()->text();
  const QString best = Q(namer.Text(namer.ClassifyHold(hand.Deal.Cards, hand.Verdict.BestMask)));
  for (const QString& line : {Q(namer.Text(namer.ClassifyHold(hand.Deal.Cards, mask))), best})
    QVERIFY2(verdict.contains(line), qPrintable(verdict + QStringLiteral(" / ") + line));
  const TStrategyGrade& grade = *hand.Verdict.Strategy;
  QVERIFY(verdict.contains(
      grade.Row >= 0
          ? Q(RowText(session.Strategy()->Rows.at(static_cast<size_t>(grade.Row)), namer))
          : Q(Preferences().Text("Practice", "StrategyNoRow"))));
  QVERIFY(verdict.contains(
      Q(Preferences().Text("Practice", grade.Followed ? "Followed" : "NotFollowed"))));
  QCOMPARE(practice.MistakesByLine()->rowCount(), 1);
  const std::vector<TLineMistakes> byLine = MistakesByLine(session.Record(), namer);
  QCOMPARE(practice.MistakesByLine()->item(0, 0)->text(), Q(byLine.at(0).Line));
  QCOMPARE(practice.MistakesByLine()->item(0, 2)->text(), QStringLiteral("1"));

  // A drill of two lines, typed; a text that is no line is told.
  practice.DrillBox()->setChecked(true);
  practice.DrillLine(0)->setEditText(QStringLiteral("4 to a flush"));
  practice.DrillLine(1)->setEditText(QStringLiteral("no such line"));
  practice.NewSessionButton()->click();
  QCOMPARE(world.Errors.size(), 1);
  QVERIFY2(world.Errors[0].contains(QStringLiteral("no such line")), qPrintable(world.Errors[0]));
  world.Errors.clear();
  practice.DrillLine(1)->setEditText(QStringLiteral("low pair"));
  practice.NewSessionButton()->click();
  QCOMPARE(practice.Session().Record().Drill.size(), 2u);
  for (int deal = 0; deal < 3; ++deal) {
    const auto& cards = practice.Session().CurrentDeal().Cards;
    for (const char* text : {"4 to a flush", "low pair"}) {
      const TLinePattern line = *practice.Session().Namer().Parse(text);
      bool offered = false;
      for (int hold = 0; hold < kMaskCount; ++hold)
        offered = offered || line.Matches(practice.Session().Namer().ClassifyHold(cards, hold));
      QVERIFY2(offered, text);
    }
    practice.DrawHand();
    practice.DealHand();
  }
  QVERIFY(practice.Session().Strategy());  // the strategy of the table goes on
  QVERIFY(world.Errors.isEmpty());
}

int main(int argc, char** argv) {
  TApplication application(argc, argv);
  PracticeTest test;
  return QTest::qExec(&test, argc, argv);
}

// An unreadable, full or locked session file is told in a message (Retry for the lock).
void PracticeTest::AFileThatCannotTakeTheSessionIsTold() {
  test::TWorld world;
  const std::filesystem::path file = world.Data() / kPracticeFileName;
  TfmMain window(world.Data());
  window.Controller().SelectGame(0);
  const auto play = [&window]() -> TfmPractice& {
    window.PracticeAction()->trigger();
    TfmPractice& practice = *window.Practice();
    practice.WarnBox()->setChecked(false);
    practice.DrawHand();
    return practice;
  };
  QStringList told;
  const auto tell = [&told](QWidget* modal) {
    told << qobject_cast<QMessageBox*>(modal)->text();
    modal->close();
  };

  std::filesystem::create_directory(file);
  test::WhenModal(tell);
  TfmPractice& unreadable = play();
  QTRY_COMPARE(told.size(), 1);
  QVERIFY2(told[0].startsWith(QStringLiteral("The session file cannot be read")) &&
               told[0].contains(QStringLiteral("it is a folder")),
           qPrintable(told[0]));
  QVERIFY(unreadable.DamagedNote()->text().contains(QStringLiteral("it is a folder")));
  unreadable.close();
  QCOMPARE(told.size(), 1);

  std::filesystem::remove(file);
  std::ofstream(file).close();
  const uint64_t full = kMaxPracticeFileBytes - 10;
  std::filesystem::resize_file(file, full);
  test::WhenModal(tell);
  play().close();
  QCOMPARE(told.size(), 2);
  QVERIFY2(told[1].startsWith(QStringLiteral("The session could not be kept")) &&
               told[1].contains(QString::number(kMaxPracticeFileBytes)),
           qPrintable(told[1]));
  QCOMPARE(std::filesystem::file_size(file), full);

  std::filesystem::remove(file);
  const int held = ::open((world.Data() / "practice-sessions.txt.lock").c_str(),
                          O_RDONLY | O_CREAT | O_CLOEXEC, 0644);
  QVERIFY(held >= 0 && ::flock(held, LOCK_EX) == 0);
  const std::chrono::milliseconds wait = LockWait();
  SetLockWait(std::chrono::milliseconds(0));
  test::WhenModal([&told, held](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    told << box->text();
    ::close(held);
    box->button(QMessageBox::Retry)->click();
  });
  play().close();
  SetLockWait(wait);
  QCOMPARE(told.size(), 3);
  QVERIFY2(told[2].startsWith(QStringLiteral("Another program is saving the session file")),
           qPrintable(told[2]));
  QCOMPARE(ReadPracticeHistory(world.Data()).Sessions.size(), 1u);
  QVERIFY(world.Errors.isEmpty());
}

// Three lines chosen by keyboard before the first draw: the session starts again on its seed,
// the draw shows the two further lines with their pays, and the total and the net add them.
void PracticeTest::ThreeLinesShowEachLineAndTheirTotal() {
  test::TWorld world;
  TfmMain window(world.Data());
  window.Controller().SelectGame(0);  // 9/6 Jacks or better, one coin
  window.PracticeAction()->trigger();
  TfmPractice& practice = *window.Practice();
  QVERIFY(QTest::qWaitForWindowActive(&practice));
  practice.WarnBox()->setChecked(false);
  // Seed 12 on three lines, the ace held: the first line pays nothing, the others 1 and 2.
  constexpr uint64_t seed = 12;
  practice.NewSession(seed);
  QVERIFY(practice.LinesArea()->isHidden());
  const std::array<int32_t, kHandSize> dealt = practice.Session().CurrentDeal().Cards;
  practice.LinesBox()->setFocus();
  Type(Qt::Key_Down);  // 1 to 3
  QCOMPARE(practice.Session().Lines(), 3);
  QCOMPARE(practice.Session().Seed(), seed);
  QVERIFY(practice.Session().CurrentDeal().Cards == dealt);
  QCOMPARE(ReadPracticeSettings(Preferences().Settings).Lines, 3);
  QVERIFY(practice.LinesArea()->isVisible());

  practice.Slot(0)->setFocus();
  PressHold(QStringLiteral("----H"));
  Type(Qt::Key_Return);
  const TPracticeHand& hand = practice.Session().Record().Hands.back();
  QCOMPARE(hand.Lines(), 3);
  const QString held = CardCodeText(dealt[4]);
  int64_t paid = hand.Pay;
  for (int line = 2; line <= 3; ++line) {
    const TPracticeLine& more = hand.More[static_cast<size_t>(line - 2)];
    QVERIFY(practice.LineCards(line)->isVisible());
    const QString cards = practice.LineCards(line)->accessibleDescription();
    QVERIFY2(cards.endsWith(held), qPrintable(cards));
    const QString result = practice.LineResult(line)->text();
    QVERIFY2(more.Pay > 0 ? result.endsWith(QStringLiteral(" pays ") + QString::number(more.Pay))
                          : result == QStringLiteral("no pay"),
             qPrintable(result));
    paid += more.Pay;
  }
  QCOMPARE(hand.Pay, 0);
  QCOMPARE(paid, 3);
  QVERIFY(practice.LineCards(4)->isHidden());
  QCOMPARE(practice.Total()->text(),
           QStringLiteral("Paid on 3 lines: %1 coins for 3 coins bet.").arg(paid));
  QCOMPARE(practice.Figure(5)->text(), QString::fromStdString(SignedText(paid - 3, 0)));
  QVERIFY(world.Errors.isEmpty());
}

#include "practice_test.moc"
