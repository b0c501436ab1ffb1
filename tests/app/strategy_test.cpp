// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later

// The strategy window over a small computation of its own: what it is asked to compute and
// when, and that it shows, copies and reads back what it was given. The figures of a real
// card are the core's tests'.

#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>
#include <mutex>

#include "app_test_support.h"
#include "application.h"
#include "errors.h"
#include "main_window.h"
#include "parts/gradient_label.h"
#include "strategy_window.h"

using namespace tarnwick;
using namespace tarnwick::app;

namespace {

constexpr int kDeucesWild = 4;

// What the window asked for: the game, the lines of a level (-1 for a typed list) and, for a
// typed list, its rows.
struct TCall {
  int Game = 0;
  int Lines = 0;
  size_t Rows = 0;
};

// Scores any list with figures that tell the calls apart: the list's return falls with the
// level's lines, each row has its own share, loss and deal.
class TFakeComputation {
 public:
  TFakeComputation() {
    TfmStrategy::SetComputation(
        {[this](const TPokerDescription& game, const TPayout&, int lines, TProgress& progress) {
           Record({game.GameId, lines, 0});
           if (progress.Cancelled()) throw AbortError();
           if (Fail) throw InputError("no card for this table");
           const THoldNamer namer(game);
           const char* text = game.IsNatural() ? "four of a kind\nhigh pair\n4 to a royal flush"
                                               : "2 deuces: four of a kind\n"
                                                 "1 deuce: four of a kind, 1 deuce: full house\n"
                                                 "no deuces: four of a kind";
           TGeneratedStrategy generated;
           generated.Strategy = ParseStrategy(text, namer).Strategy;
           generated.Report = ReportOf(generated.Strategy, namer, lines);
           return generated;
         },
         [this](const TPokerDescription& game, const TPayout&, const TStrategy& strategy,
                TProgress&) {
           Record({game.GameId, -1, strategy.Rows.size()});
           return ReportOf(strategy, THoldNamer(game), 0);
         }});
  }
  ~TFakeComputation() { TfmStrategy::SetComputation({}); }
  TFakeComputation(const TFakeComputation&) = delete;
  TFakeComputation& operator=(const TFakeComputation&) = delete;

  static TStrategyReport ReportOf(const TStrategy& strategy, const THoldNamer& namer, int lines) {
    TStrategyReport report;
    report.Perfect = 0.9954392L;
    report.Return = 0.99L - lines * 1e-4L;
    report.Cost = report.Perfect - report.Return;
    report.ErrorRate = 0.0512L;
    for (size_t r = 0; r <= strategy.Rows.size(); ++r) {
      TRowReport row;
      row.Text = r < strategy.Rows.size() ? RowText(strategy.Rows[r], namer) : "draw five";
      row.Share = 0.01L * static_cast<long double>(r + 1);
      row.Lost = 0.0001L * static_cast<long double>(r + 1);
      row.HasExample = r == 0;
      // JS JH 4D 7C 9S, the jacks held.
      row.Example.Cards = {CardCode(9, 0), CardCode(9, 3), CardCode(2, 2), CardCode(5, 1),
                           CardCode(7, 0)};
      row.Example.DrawMask = 0b11100;
      report.Rows.push_back(row);
    }
    return report;
  }

  std::vector<TCall> Calls() const {
    const std::lock_guard lock(mutex_);
    return calls_;
  }
  std::atomic<bool> Fail{false};

 private:
  void Record(const TCall& call) {
    const std::lock_guard lock(mutex_);
    calls_.push_back(call);
  }
  mutable std::mutex mutex_;
  std::vector<TCall> calls_;
};

QStringList Column(const QTableWidget& grid, int column) {
  QStringList cells;
  for (int row = 0; row < grid.rowCount(); ++row)
    cells << (grid.item(row, column) != nullptr ? grid.item(row, column)->text() : QString());
  return cells;
}

QString WriteFile(const std::filesystem::path& folder, const char* name, const QString& text) {
  QString path = QString::fromStdString((folder / name).string());
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return {};
  file.write(text.toUtf8());
  return path;
}

}  // namespace

class StrategyTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { test::FailOnWarnings(); }
  void F6ShowsTheCardTheComputationGave();
  void ANewLevelOrTableDropsTheCardBeingComputed();
  void CopiedTextOpensAgainAndUnreadableRowsAreNamed();
};

// F6 (and the menu's item) opens the card of the current table at the remembered level;
// the figures, rows and deals are the computation's.
void StrategyTest::F6ShowsTheCardTheComputationGave() {
  test::TWorld world;
  TFakeComputation computation;
  {
    TfmMain window(world.Data());
    window.Controller().SelectGame(0);
    QVERIFY(window.PopupMenu()->actions().contains(window.StrategyAction()));
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QTest::keyClick(&window, Qt::Key_F6);
    TfmStrategy* strategy = window.Strategy();
    QVERIFY(strategy != nullptr);
    QTRY_VERIFY(!strategy->Busy());
    QCOMPARE(computation.Calls().size(), size_t{1});
    QCOMPARE(computation.Calls().front().Lines, 15);  // a beginner's card at first
    QCOMPARE(strategy->TitleLabel()->text(), QStringLiteral("Beginner strategy"));
    QStringList figures;
    for (int i = 0; i < TfmStrategy::kFigures; ++i) figures << strategy->Figure(i)->text();
    QCOMPARE(figures, (QStringList{"99.5439 %", "98.8500 %", "0.6939 %", "5.12 %"}));
    const QTableWidget& grid = *strategy->Grid();
    QCOMPARE(Column(grid, 0), (QStringList{"1", "2", "3", "4"}));
    QCOMPARE(Column(grid, 1),
             (QStringList{"four of a kind", "high pair", "4 to a royal flush", "draw five"}));
    QCOMPARE(Column(grid, 2), (QStringList{"1.0000 %", "2.0000 %", "3.0000 %", "4.0000 %"}));
    QCOMPARE(Column(grid, 3), (QStringList{"0.0100 %", "0.0200 %", "0.0300 %", "0.0400 %"}));
    QCOMPARE(Column(grid, 4).front(), QStringLiteral("[JS] [JH] 4D 7C 9S"));
    QVERIFY(strategy->CopyButton()->isEnabled());
    strategy->SetLevel(TStrategyLevel::Intermediate);
    QTRY_VERIFY(!strategy->Busy());
  }
  // The level is kept for the next time.
  TfmMain window(world.Data());
  window.Controller().SelectGame(0);
  window.StrategyAction()->trigger();
  QCOMPARE(window.Strategy()->LevelBox()->currentIndex(), 1);
  QTRY_VERIFY(!window.Strategy()->Busy());
  QCOMPARE(computation.Calls().back().Lines, 30);
}

// Only the newest request is shown: a level chosen, or another table in the main window,
// drops the card being computed. A wild game's rows stand under their wild cards; a failure
// is reported as the other windows report theirs.
void StrategyTest::ANewLevelOrTableDropsTheCardBeingComputed() {
  test::TWorld world;
  TFakeComputation computation;
  TfmMain window(world.Data());
  window.Controller().SelectGame(0);
  auto gate = std::make_unique<test::TWorkerGate>();
  window.StrategyAction()->trigger();
  TfmStrategy& strategy = *window.Strategy();
  QSignalSpy started(&strategy, &TfmStrategy::Started);
  QTRY_COMPARE(gate->Arrived(), 1);
  QVERIFY(strategy.CancelButton()->isVisibleTo(&strategy));
  QVERIFY(!strategy.CopyButton()->isEnabled());
  // The keyboard's way to the level: its label's letter, then the arrows.
  QVERIFY(QTest::qWaitForWindowActive(&strategy));
  QTest::keyClick(&strategy, Qt::Key_L, Qt::AltModifier);
  QCOMPARE(QApplication::focusWidget(), strategy.LevelBox());
  QTest::keyClick(strategy.LevelBox(), Qt::Key_Down);
  QCOMPARE(started.size(), 1);
  QTRY_COMPARE(gate->Arrived(), 2);
  window.Controller().SelectGame(kDeucesWild);
  QCOMPARE(started.size(), 2);
  gate->Release();
  QTRY_VERIFY(!strategy.Busy());
  // The dropped jobs never reached the computation or were never shown.
  const std::vector<TCall> calls = computation.Calls();
  QCOMPARE(calls.back().Game, kDeucesWild);
  QCOMPARE(calls.back().Lines, 30);
  QCOMPARE(strategy.Figure(1)->text(), QStringLiteral("98.7000 %"));
  QVERIFY(!strategy.CancelButton()->isVisibleTo(&strategy));
  QCOMPARE(Column(*strategy.Grid(), 0), (QStringList{"", "1", "", "2", "", "3", "", "4"}));
  QCOMPARE(Column(*strategy.Grid(), 1),
           (QStringList{"2 deuces", "four of a kind", "1 deuce", "four of a kind, full house",
                        "no deuces", "four of a kind", "Any number of wild cards", "draw five"}));

  // Stopped, the card says so; the level chosen again computes it anew, and a failure is
  // reported.
  gate.reset();  // the old gate, going, takes its hold with it
  gate = std::make_unique<test::TWorkerGate>();
  strategy.SetLevel(TStrategyLevel::Expert);
  QTRY_COMPARE(gate->Arrived(), 1);
  strategy.CancelButton()->click();
  QVERIFY(!strategy.Busy());
  QVERIFY(strategy.StatusLabel()->text().startsWith(QStringLiteral("The computation was stopped")));
  QCOMPARE(strategy.Figure(0)->text(), QStringLiteral("-"));
  gate.reset();
  computation.Fail = true;
  strategy.SetLevel(TStrategyLevel::Expert);
  QTRY_VERIFY(!strategy.Busy());
  QCOMPARE(world.Errors, QStringList{QStringLiteral("no card for this table")});
  QCOMPARE(strategy.StatusLabel()->text(), QStringLiteral("no card for this table"));
}

// Copy as text gives the numbered rows with their figures, which open again as a typed list;
// an unreadable row of a typed list is named, and the rest is scored.
void StrategyTest::CopiedTextOpensAgainAndUnreadableRowsAreNamed() {
  test::TWorld world;
  TFakeComputation computation;
  TfmMain window(world.Data());
  window.Controller().SelectGame(0);
  window.StrategyAction()->trigger();
  TfmStrategy& strategy = *window.Strategy();
  QTRY_VERIFY(!strategy.Busy());
  strategy.CopyButton()->click();
  const QString copied = QApplication::clipboard()->text();
  const QStringList lines = copied.split(QLatin1Char('\n'));
  QVERIFY(lines.contains(
      QStringLiteral("1. four of a kind\t# 1.0000 %\t0.0100 %\t[JS] [JH] 4D 7C 9S")));
  QVERIFY(lines.contains(QStringLiteral("3. 4 to a royal flush\t# 3.0000 %\t0.0300 %\t")));
  QVERIFY(lines.contains(QStringLiteral("# Perfect play returns 99.5439 %")));
  // The same card as a PDF file.
  const QString pdf = QString::fromStdString((world.Data() / "card.pdf").string());
  strategy.SavePdf(pdf);
  QFile saved(pdf);
  QVERIFY(saved.open(QIODevice::ReadOnly));
  QVERIFY(saved.read(5) == "%PDF-");

  strategy.OpenTypedList(WriteFile(world.Data(), "copied.txt", copied));
  QTRY_VERIFY(!strategy.Busy());
  QCOMPARE(computation.Calls().back().Lines, -1);
  QCOMPARE(computation.Calls().back().Rows, size_t{4});  // three rows and "draw five"
  QCOMPARE(strategy.TitleLabel()->text(), QStringLiteral("Typed list: copied.txt"));

  QString message;
  test::WhenModalOf<QMessageBox>([&message](QMessageBox* box) {
    message = box->text() + QLatin1Char('\n') + box->informativeText();
    box->accept();
  });
  strategy.OpenTypedList(
      WriteFile(world.Data(), "typed.txt", QStringLiteral("high pair\r\nfluffy bunny\r\n")));
  QCOMPARE(message, QStringLiteral("Some rows of typed.txt cannot be read and are left out:\n"
                                   "row 2: cannot read 'fluffy bunny'"));
  QTRY_VERIFY(!strategy.Busy());
  QCOMPARE(computation.Calls().back().Rows, size_t{1});
  QCOMPARE(Column(*strategy.Grid(), 1), (QStringList{"high pair", "draw five"}));
}

int main(int argc, char** argv) {
  TApplication application(argc, argv);
  StrategyTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "strategy_test.moc"
