// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "measure.h"

#include <QApplication>
#include <QEventLoop>
#include <QFile>
#include <QListWidget>
#include <QTableView>
#include <QTimer>
#include <algorithm>
#include <cstdio>

#include "chart_window.h"
#include "engine/wild_engine.h"
#include "main_window.h"
#include "parts/card_button.h"
#include "parts/chart_canvas.h"
#include "parts/job_runner.h"
#include "parts/live_return.h"
#include "practice_window.h"

namespace tarnwick::app {

namespace {

// Resident memory of the process in megabytes (Linux).
double ResidentMegabytes() {
  QFile status(QStringLiteral("/proc/self/status"));
  if (!status.open(QIODevice::ReadOnly)) return -1;
  for (const QByteArray& line : status.readAll().split('\n')) {
    if (line.startsWith("VmRSS:"))
      return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024;
  }
  return -1;
}

// Lets the window's thread handle events for `milliseconds`.
void Pause(int milliseconds) {
  QEventLoop loop;
  QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
  loop.exec();
}

// Lets the charts window work until its chart is drawn.
void WaitForChart(const TfmChart& charts) {
  while (charts.Busy()) QApplication::processEvents(QEventLoop::WaitForMoreEvents);
  charts.Canvas()->repaint();
}

// The charts window on the heaviest distribution, 4000 hands of Bonus Deuces Wild: from the
// typed number of hands to the painted chart, the median of three. The window's settings
// are not written and the game in use is chosen again afterwards.
void MeasureCharts(TfmMain& window) {
  constexpr int kBonusDeucesWild = 7;
  TModelController& controller = window.Controller();
  const int game = controller.CurrentGame().GameId;
  const int table = controller.TableIndex();
  controller.SelectGame(kBonusDeucesWild);
  const TTableSnapshot snapshot = controller.TableSnapshot();
  controller.SelectGame(game);
  controller.SelectTable(table);
  if (!snapshot.Table.Computed()) return;
  TfmChart charts(&window, snapshot, QString());
  charts.show();
  charts.ChartList()->setCurrentRow(kExpectedGainKind);
  std::vector<double> times;
  for (int run = 0; run < 3; ++run) {
    charts.HandsEdit()->setValue(10);
    WaitForChart(charts);
    QElapsedTimer clock;
    clock.start();
    charts.HandsEdit()->setValue(kMaxRunHands);
    WaitForChart(charts);
    times.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
  }
  std::sort(times.begin(), times.end());
  std::printf(
      "4000 hands of Bonus Deuces Wild to the drawn chart: %.0f ms (%d ms of it the wait for "
      "further keys)\n",
      times[1], TfmChart::kScheduleMs);
}

// Practice: from the deal (every hold graded) through the draw to the painted verdict, over
// 500 hands each of a natural and a two-joker game (the median and the slowest).
void MeasurePractice(TfmMain& window) {
  TModelController& controller = window.Controller();
  const int game = controller.CurrentGame().GameId;
  const int table = controller.TableIndex();
  for (int id : {0, 8}) {
    controller.SelectGame(id);
    TfmPractice practice(&window, controller);
    practice.SetKeepSessions(false);  // no one's session: the file is left alone
    practice.NewSession(1);
    practice.show();
    std::vector<double> times;
    for (int hand = 0; hand < 500; ++hand) {
      QElapsedTimer clock;
      clock.start();
      practice.DealHand();
      // The best hold: it never asks for the warning, whatever the settings say.
      const int best = practice.Session().Grade(0).BestMask;
      for (int i = 0; i < kHandSize; ++i)
        if ((((best ^ practice.Mask()) >> i) & 1) != 0) practice.ToggleHold(i);
      practice.DrawHand();
      practice.repaint();
      times.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    std::printf("practice, %s: deal to the painted verdict %.2f ms, at the most %.2f ms\n",
                controller.CurrentGame().Name.c_str(), times[times.size() / 2], times.back());
  }
  controller.SelectGame(game);
  controller.SelectTable(table);
}

}  // namespace

// Prints the figures of the start and of one hand entered with five clicks, then ends.
void Measure(TfmMain& window, const QElapsedTimer& started) {
  window.repaint();
  const double startup = static_cast<double>(started.nsecsElapsed()) / 1e6;
  double fifth = 0;
  for (int code : {12, 11, 10, 9, 8}) {  // the royal flush in spades, click by click
    QElapsedTimer click;
    click.start();
    window.CardButton(code)->click();
    window.Grid()->viewport()->repaint();
    fifth = static_cast<double>(click.nsecsElapsed()) / 1e6;
  }
  std::printf(
      "startup to painted window: %.1f ms\nfifth card to filled grid: %.2f ms\n"
      "resident memory: %.1f MB\n",
      startup, fifth, ResidentMegabytes());
  // The live return of the pay table editor: from a changed pay to the shown return, the
  // median of five.
  const TCatalogue& games = window.Controller().Games();
  for (const auto& [id, pays] :
       {std::pair{0, std::vector<int32_t>{800, 50, 25, 9, 6, 4, 3, 2, 1}},
        std::pair{4, std::vector<int32_t>{800, 200, 25, 15, 9, 5, 3, 2, 2, 1}}}) {
    const TPokerDescription& game = *tarnwick::FindGame(games, id);
    TLiveReturn live(game);
    std::vector<double> times;
    for (int run = 0; run < 5; ++run) {
      QEventLoop loop;
      QObject::connect(&live, &TLiveReturn::Ready, &loop, &QEventLoop::quit);
      QElapsedTimer clock;
      clock.start();
      live.Request(MakePayout(game, pays));
      loop.exec();
      times.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    std::printf("live return of %s: %.0f ms\n", game.Name.c_str(), times[2]);
  }
  // Abort: from the cancel of a running whole-game run (Double Joker, the longest) to its
  // end, the longest of five.
  double slowest = 0;
  for (int run = 0; run < 5; ++run) {
    const TPokerDescription& game = *tarnwick::FindGame(games, 8);
    TPayout table = MakePayout(game, std::vector<int32_t>{800, 100, 50, 25, 9, 5, 4, 3, 2, 1});
    const auto engine = CreateEngineForGame(game);
    auto runner = std::make_unique<TJobRunner>(TJobPolicy::Queued);
    runner->Start(
        [&](TProgress& progress) {
          engine->SetProgress(&progress);
          engine->SetPayout(&table);
          engine->CalcGameAdvantage();
        },
        {}, {});
    Pause(40 + 30 * run);
    QElapsedTimer stop;
    stop.start();
    runner.reset();  // cancels the run and waits for its end
    slowest = std::max(slowest, static_cast<double>(stop.nsecsElapsed()) / 1e6);
  }
  std::printf("abort of a whole-game run: %.2f ms at the most\n", slowest);
  MeasureCharts(window);
  MeasurePractice(window);
  std::fflush(stdout);
}

}  // namespace tarnwick::app
