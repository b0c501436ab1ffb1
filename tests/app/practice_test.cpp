// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later

// The practice window played with the keys a player uses, against tarnwick-cli's replay of
// the same seed and holds; the warning, the mistake list, "show me" and the kept sessions.

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryFile>
#include <QTest>

#include "all_hands_window.h"
#include "app_test_support.h"
#include "application.h"
#include "card_slot.h"
#include "holds_model.h"
#include "main_window.h"
#include "practice_window.h"
#include "session/practice_file.h"

using namespace tarnwick;
using namespace tarnwick::app;

namespace {

constexpr uint64_t kSeed = 12345;

// Marks a hold given as five letters ("H" held, "-" replaced) with the keys 1 to 5, the
// window starting from all five held.
void PressHold(TfmPractice& practice, const QString& pattern) {
  for (int i = 0; i < kHandSize; ++i)
    if (pattern[i] == QLatin1Char('-')) QTest::keyClick(&practice, static_cast<char>('1' + i));
}

QString Pattern(TfmPractice& practice) {
  QString pattern;
  for (int i = 0; i < kHandSize; ++i)
    pattern += practice.Slot(i)->isChecked() ? QLatin1Char('H') : QLatin1Char('-');
  return pattern;
}

}  // namespace

class PracticeTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { test::FailOnWarnings(); }
  void TheWindowAndTheCommandLineAgree();
  void WarningMistakesShowMeAndKeptSessions();
};

void PracticeTest::TheWindowAndTheCommandLineAgree() {
  test::TWorld world;
  TfmMain window(world.Data());
  window.Controller().SelectGame(0);  // 9/6 Jacks or better, one coin
  QVERIFY(window.PracticeAction()->isEnabled());
  window.PracticeAction()->trigger();
  TfmPractice& practice = *window.Practice();
  practice.WarnBox()->setChecked(false);
  practice.SeedEdit()->setText(QString::number(kSeed));
  practice.SeedEdit()->setModified(true);
  practice.NewSessionButton()->click();
  QCOMPARE(practice.Session().Seed(), kSeed);
  // Three mistakes and three right holds (the second, fourth and sixth hand's best).
  const QStringList holds = {"HHHHH", "HHH-H", "HH---", "-H--H", "HHHH-", "--H-H"};
  QStringList verdicts;
  for (const QString& hold : holds) {
    PressHold(practice, hold);
    QCOMPARE(Pattern(practice), hold);
    QVERIFY(practice.ShowMe()->isHidden());  // no answer before the draw
    QTest::keyClick(&practice, Qt::Key_Return);
    QVERIFY(!practice.ShowMe()->isHidden());
    verdicts << practice.Verdict()->text();
    QTest::keyClick(&practice, Qt::Key_Return);  // the next deal
  }

  QTemporaryFile file;
  QVERIFY(file.open());
  file.write(holds.join(QLatin1Char('\n')).toLatin1() + "\n");
  file.close();
  QProcess cli;
  cli.start(QStringLiteral(TARNWICK_CLI),
            {"practice", "-g", "0", "-p", "800,50,25,9,6,4,3,2,1", "-s", QString::number(kSeed),
             "--holds", file.fileName(), "--json"});
  QVERIFY(cli.waitForFinished(60'000));
  const QJsonObject replay = QJsonDocument::fromJson(cli.readAllStandardOutput()).object();
  const QJsonArray hands = replay[QStringLiteral("hands")].toArray();
  QCOMPARE(hands.size(), holds.size());
  int mistakes = 0;
  for (int i = 0; i < hands.size(); ++i) {
    const QJsonObject hand = hands[i].toObject();
    const bool mistake = hand[QStringLiteral("mistake")].toBool();
    QVERIFY2(verdicts[i].startsWith(mistake ? QStringLiteral("Mistake") : QStringLiteral("Right")),
             qPrintable(verdicts[i]));
    if (!mistake) continue;
    // The mistake list and the replay name the same cards, holds and cost.
    const QTableWidget& list = *practice.Mistakes();
    QCOMPARE(list.item(mistakes, 0)->text(),
             hand[QStringLiteral("dealt")].toVariant().toStringList().join(QLatin1Char(' ')));
    QCOMPARE(list.item(mistakes, 3)->text(),
             QString::number(hand[QStringLiteral("costBets")].toDouble(), 'f', 5));
    QVERIFY(verdicts[i].contains(list.item(mistakes, 2)->text()));
    ++mistakes;
  }
  const QJsonObject figures = replay[QStringLiteral("figures")].toObject();
  QCOMPARE(practice.Mistakes()->rowCount(), figures[QStringLiteral("mistakes")].toInt());
  QCOMPARE(practice.Figure(0)->text(), QString::number(holds.size()));
  QCOMPARE(practice.Figure(1)->text(), QString::number(mistakes));
  QCOMPARE(mistakes, 3);
  const int net = figures[QStringLiteral("net")].toInt();
  QCOMPARE(practice.Figure(5)->text(),
           (net > 0 ? QStringLiteral("+") : QString()) + QString::number(net));
  QCOMPARE(practice.Figure(4)->text(),
           QString::number(figures[QStringLiteral("efficiency")].toDouble() * 100, 'f', 2) +
               QLatin1Char('%'));
  QVERIFY(world.Errors.isEmpty());
}

void PracticeTest::WarningMistakesShowMeAndKeptSessions() {
  test::TWorld world;
  {
    TfmMain window(world.Data());
    window.Controller().SelectGame(0);
    window.PracticeAction()->trigger();
    TfmPractice& practice = *window.Practice();
    practice.WarnBox()->setChecked(true);
    practice.WarnBets()->setValue(0);
    // The first hold of the hand that is a mistake.
    int mask = 0;
    while (!practice.Session().Grade(mask).Mistake()) ++mask;
    const TPracticeVerdict verdict = practice.Session().Grade(mask);
    for (int i = 0; i < kHandSize; ++i)
      if ((mask >> i & 1) != 0) practice.ToggleHold(i);
    QCOMPARE(practice.Mask(), mask);
    // Taken back: nothing is drawn, the hold stays marked.
    test::WhenModal(
        [](QWidget* box) { qobject_cast<QMessageBox*>(box)->button(QMessageBox::No)->click(); });
    QVERIFY(!practice.DrawHand());
    QCOMPARE(practice.Session().Figures().Hands, 0);
    QCOMPARE(practice.Mask(), mask);
    // Drawn after all: a mistake, listed with its cost.
    test::WhenModal(
        [](QWidget* box) { qobject_cast<QMessageBox*>(box)->button(QMessageBox::Yes)->click(); });
    QVERIFY(practice.DrawHand());
    QCOMPARE(practice.Mistakes()->rowCount(), 1);
    QCOMPARE(practice.Mistakes()->item(0, 3)->text(),
             QString::number(static_cast<double>(verdict.CostBets()), 'f', 5));
    QCOMPARE(practice.Figure(3)->text(), QStringLiteral("0.00%"));
    // "Show me" opens the all-holds window on the hand, the hold played selected.
    bool shown = false;
    test::WhenModalOf<TfmAllHands>([&](TfmAllHands* holds) {
      shown = true;
      QCOMPARE(holds->SelectedHold(), mask);
      QCOMPARE(holds->Model()->MaskAt(0), verdict.BestMask);
      holds->OkButton()->click();
    });
    emit practice.ShowMe()->linkActivated(QStringLiteral("holds"));
    QVERIFY(shown);
    // A click on the mistake shows its hand in the main window with the best hold.
    const TPracticeDeal deal = practice.Session().Record().Hands.front().Deal;
    emit practice.Mistakes()->cellClicked(0, 0);
    for (int i = 0; i < kHandSize; ++i)
      QCOMPARE(window.Controller().CardCode(i), deal.Cards[static_cast<size_t>(i)]);
    QCOMPARE(window.Controller().DrawMask(), verdict.BestMask);
    // Closing keeps the session; the next window lists it.
    practice.close();
    window.PracticeAction()->trigger();
    QCOMPARE(window.Practice()->History()->rowCount(), 1);
    QCOMPARE(window.Practice()->History()->item(0, 4)->text(), QStringLiteral("1"));
    QCOMPARE(window.Practice()->History()->item(0, 5)->text(), QStringLiteral("1"));
    QVERIFY(window.Practice()->WarnBox()->isChecked());
    Preferences().SaveSettings();
  }
  // A damaged block in the file loses only itself; the options survive a restart.
  {
    QFile file(QString::fromStdString((world.Data() / kPracticeFileName).string()));
    QVERIFY(file.open(QIODevice::Append));
    file.write("session 1\nstarted 12\ngame 0 damaged\n");
  }
  world.Install();
  TfmMain window(world.Data());
  window.PracticeAction()->trigger();
  TfmPractice& practice = *window.Practice();
  QCOMPARE(practice.History()->rowCount(), 1);
  QVERIFY(practice.DamagedNote()->text().startsWith(QStringLiteral("1 damaged")));
  QVERIFY(practice.WarnBox()->isChecked());
  QCOMPARE(practice.WarnBets()->value(), 0.0);
  QVERIFY(world.Errors.isEmpty());
}

int main(int argc, char** argv) {
  TApplication application(argc, argv);
  PracticeTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "practice_test.moc"
