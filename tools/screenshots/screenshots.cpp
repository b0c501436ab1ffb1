// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later

// Writes a picture of every state of the windows worth looking at into a folder:
//   tarnwick_screenshots OUT_FOLDER PROGRAM_FOLDER SUFFIX
// The program folder gives the language files, help pages and shipped pay tables; settings
// and pay tables are copies in a temporary folder, so nothing of the user's is touched.

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QEventLoop>
#include <QFile>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTimer>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <tuple>

#include "about_box.h"
#include "all_hands_window.h"
#include "chart_window.h"
#include "game_dialog.h"
#include "help_browser.h"
#include "main_window.h"
#include "parts/card_button.h"
#include "parts/card_slot.h"
#include "parts/chart_canvas.h"
#include "parts/coin_selector.h"
#include "parts/error_report.h"
#include "parts/guard.h"
#include "parts/layout_rules.h"
#include "parts/live_return.h"
#include "parts/progress_dialog.h"
#include "parts/qt_text.h"
#include "pay_editor.h"
#include "practice_window.h"
#include "session/preferences.h"
#include "stat_window.h"
#include "strategy_window.h"
#include "table_choice.h"

using namespace tarnwick;
using namespace tarnwick::app;

namespace {

// Where the pictures go and what their names end with (set once at the start).
struct TOutput {
  QString Folder;
  QString Suffix;
  int Failures = 0;
};
TOutput& Output() {
  static TOutput output;
  return output;
}

void Save(QWidget& widget, const QString& name) {
  // A layout that changed while settling (a window widened for its texts, its cards grown
  // with it) settles first: each round may post the next.
  for (int round = 0; round < 3; ++round) QApplication::processEvents();
  widget.grab().save(QStringLiteral("%1/%2%3.png").arg(Output().Folder, name, Output().Suffix));
}

// The settings are the tool's own copy: a window that does not come out as expected is told
// on the error output and fails the run.
void Expect(bool ok, const QString& what) {
  if (ok) return;
  std::fprintf(stderr, "error: %s\n", what.toUtf8().constData());
  ++Output().Failures;
}

QString SizeText(QSize size) {
  return QStringLiteral("%1 x %2").arg(size.width()).arg(size.height());
}

// The size below which the window's layout does not let it go.
QSize Least(const QWidget& window) {
  return window.minimumSizeHint().expandedTo(window.minimumSize());
}

// Writes the size and place the window keeping its place under `key` ("" for the main window,
// whose keys have no prefix) was left at on this screen; an empty size: none was kept.
void Remember(const QString& key, QSize size) {
  const QScreen* screen = QApplication::primaryScreen();
  const std::string section =
      PlacementSection(static_cast<int>(std::lround(screen->logicalDotsPerInch())),
                       screen->virtualGeometry().width())
          .toStdString();
  const std::string prefix = key.isEmpty() ? std::string() : key.toStdString() + ".";
  TIniFile& settings = Preferences().Settings;
  settings.WriteInteger(section, prefix + "Width", size.width());
  settings.WriteInteger(section, prefix + "Height", size.height());
  settings.WriteInteger(section, prefix + "Left", 40);
  settings.WriteInteger(section, prefix + "Top", 30);
}

// Opens a window the way it is opened from its owner, shown and settled, and hands it on;
// the window goes (keeping its place) on return.
using TShoot = std::function<void(QWidget&)>;
using TOpen = std::function<void(const TShoot&)>;

// A window opened after it was left larger than it opens at (`name`-remembered: it takes
// that size; a window of one fixed size keeps it) and after it was left smaller than its
// layout allows (`name`-minimum: it opens at its least size); the least size in German and
// Russian too when `languages`.
void SizePictures(const QString& name, const QString& key, const TOpen& open,
                  bool languages = false) {
  QSize opened;
  Remember(key, QSize());
  open([&opened](QWidget& window) { opened = window.size(); });
  // Within the screen: a window as tall as the screen is made wider only.
  const QSize larger = (opened + QSize(160, 120))
                           .boundedTo(QApplication::primaryScreen()->availableGeometry().size());
  Remember(key, larger);
  open([&](QWidget& window) {
    if (window.minimumSize() == window.maximumSize()) {
      Expect(window.size() == opened, name + QStringLiteral(": a fixed size changed"));
      return;
    }
    Expect(window.size() == larger, QStringLiteral("%1: remembered %2, opened at %3")
                                        .arg(name, SizeText(larger), SizeText(window.size())));
    Save(window, name + QStringLiteral("-remembered"));
  });
  QStringList codes = {QStringLiteral("ENG")};
  if (languages) codes << QStringLiteral("DEU") << QStringLiteral("RUS");
  for (const QString& code : codes) {
    Preferences().SetLanguage(code.toStdString());
    Remember(key, QSize(40, 40));
    open([&](QWidget& window) {
      const QSize least = Least(window);
      Expect(window.size() == least, QStringLiteral("%1: least %2, opened at %3")
                                         .arg(name, SizeText(least), SizeText(window.size())));
      window.resize(least);
      Save(window,
           name + QStringLiteral("-minimum") +
               (code == QStringLiteral("ENG") ? QString() : QLatin1Char('-') + code.toLower()));
    });
  }
  Preferences().SetLanguage("ENG");
}

// The window with the hint that shows over it (a window of its own) painted in.
void SaveWithHint(QWidget& widget, const QString& name) {
  QPixmap picture = widget.grab();
  QPainter painter(&picture);
  for (QWidget* top : QApplication::topLevelWidgets()) {
    if (top->inherits("QTipLabel") && top->isVisible())
      painter.drawPixmap(top->pos() - widget.mapToGlobal(QPoint(0, 0)), top->grab());
  }
  painter.end();
  picture.save(QStringLiteral("%1/%2%3.png").arg(Output().Folder, name, Output().Suffix));
}

// The dialog's multi-play figures, computed in the background, are shown before the picture.
void WaitForMultiPlay(const TfmPokerChoose& dialog) {
  while (dialog.MultiPlayBusy()) QApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

void WaitForChart(const TfmChart& charts) {
  while (charts.Busy()) QApplication::processEvents(QEventLoop::WaitForMoreEvents);
  QApplication::processEvents();
}

// The three charts of the current table; the expected gain after `hands` hands with the hint
// of its tallest winning bar and again after a change of the hands, amounts in money at
// `coinValue` a coin (0: coins only); the risk of ruin with bankrolls that do not fit.
void Charts(TfmMain& window, const QString& name, int hands, double coinValue) {
  TfmChart charts(&window, window.Controller().TableSnapshot(), QStringLiteral("  charts"));
  charts.ChartList()->setCurrentRow(kExpectedGainKind);
  charts.show();
  charts.HandsEdit()->setValue(hands);
  charts.CoinValueEdit()->setValue(coinValue);
  WaitForChart(charts);
  const std::vector<TChartPoint>& points = charts.Distribution().Points;
  size_t tallest = 0;
  for (size_t i = 0; i < points.size(); ++i) {
    if (points[i].X > 0 && points[i].Y > points[tallest].Y) tallest = i;
  }
  QWidget* plot = charts.Canvas()->childAt(charts.Canvas()->rect().center());
  const QPoint at = charts.Canvas()->PositionOf(QPointF(points[tallest].X, points[tallest].Y / 2));
  QMouseEvent move(QEvent::MouseMove, plot->mapFrom(charts.Canvas(), at),
                   charts.Canvas()->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(plot, &move);
  QApplication::processEvents();
  SaveWithHint(charts, QStringLiteral("charts-%1-expected-gain").arg(name));
  charts.HandsEdit()->setValue(hands * 5);
  WaitForChart(charts);
  Save(charts, QStringLiteral("charts-%1-expected-gain-changed").arg(name));
  for (const auto& [chart, title] :
       {std::pair{kWinLostKind, "win-lost"}, std::pair{kRiskOfRuinKind, "risk-of-ruin"}}) {
    charts.ChartList()->setCurrentRow(chart);
    WaitForChart(charts);
    Save(charts, QStringLiteral("charts-%1-%2").arg(name, QLatin1String(title)));
  }
  charts.InitialEdit()->setValue(charts.DesiredEdit()->value() + 10);
  QApplication::processEvents();
  Save(charts, QStringLiteral("charts-%1-invalid-bankroll").arg(name));
  charts.accept();
}

// The charts of the current table played on 10 and 100 lines a deal with 0.5 % cash back:
// the expected gain after 100 deals and the win/lost chart. One line and no cash back are
// set again before the window closes, as the window keeps them for the next time.
void LinesCharts(TfmMain& window, const QString& name) {
  TfmChart charts(&window, window.Controller().TableSnapshot(), QStringLiteral("  charts"));
  charts.ChartList()->setCurrentRow(kExpectedGainKind);
  charts.show();
  charts.HandsEdit()->setValue(100);
  charts.CashBackEdit()->setValue(0.5);
  for (const int lines : {10, 100}) {
    charts.ChartList()->setCurrentRow(kExpectedGainKind);
    charts.LinesEdit()->setValue(lines);
    WaitForChart(charts);
    Save(charts, QStringLiteral("charts-%1-lines-%2-expected-gain").arg(name).arg(lines));
    charts.ChartList()->setCurrentRow(kWinLostKind);
    WaitForChart(charts);
    Save(charts, QStringLiteral("charts-%1-lines-%2-win-lost").arg(name).arg(lines));
  }
  charts.LinesEdit()->setValue(1);
  charts.CashBackEdit()->setValue(0);
  WaitForChart(charts);
  charts.accept();
}

// Waits until the editor shows the figures of its table as it is now.
void WaitForLive(TfmNew& editor) {
  QEventLoop wait;
  QObject::connect(&editor.Live(), &TLiveReturn::Ready, &wait, &QEventLoop::quit);
  QObject::connect(&editor.Live(), &TLiveReturn::Failed, &wait, &QEventLoop::quit);
  if (editor.Live().Busy()) wait.exec();
  QApplication::processEvents();
}

void Hand(TfmMain& window, int gameId, std::initializer_list<int> codes, int toggle) {
  window.Controller().ClearHand();
  window.Controller().SelectGame(gameId);
  for (int code : codes) window.CardButton(code)->click();
  if (toggle >= 0) window.Slot(toggle)->click();
  QApplication::processEvents();
}

// Plays the practice window's hand with its best hold, or with the first hold that is a
// mistake.
void PlayHand(TfmPractice& practice, bool mistake) {
  int mask = practice.Session().Grade(0).BestMask;
  if (mistake) {
    mask = 0;
    while (!practice.Session().Grade(mask).Mistake()) ++mask;
  }
  for (int i = 0; i < kHandSize; ++i)
    if ((((mask ^ practice.Mask()) >> i) & 1) != 0) practice.ToggleHold(i);
  practice.DrawHand();
  QApplication::processEvents();
}

// Plays the hand of a session that has drawn nothing yet on `lines` lines (the session
// starts again on its seed), with its best hold.
void PlayOnLines(TfmPractice& practice, int lines) {
  practice.LinesBox()->setCurrentIndex(practice.LinesBox()->findData(lines));
  PlayHand(practice, false);
}

// Back to one line, which the settings remember for the windows opened after.
void OneLine(TfmPractice& practice) {
  practice.LinesBox()->setCurrentIndex(0);
}

// A dark theme as a desktop would set it: every role of the palette dark or light in turn.
QPalette DarkPalette() {
  QPalette dark;
  const QColor window(0x35, 0x35, 0x35);
  const QColor base(0x2a, 0x2a, 0x2a);
  const QColor text(0xee, 0xee, 0xee);
  const QColor disabled(0x80, 0x80, 0x80);
  for (const auto& [role, colour] : {std::pair{QPalette::Window, window},
                                     {QPalette::WindowText, text},
                                     {QPalette::Base, base},
                                     {QPalette::AlternateBase, QColor(0x40, 0x40, 0x40)},
                                     {QPalette::ToolTipBase, window},
                                     {QPalette::ToolTipText, text},
                                     {QPalette::PlaceholderText, QColor(0xa0, 0xa0, 0xa0)},
                                     {QPalette::Text, text},
                                     {QPalette::Button, window},
                                     {QPalette::ButtonText, text},
                                     {QPalette::BrightText, QColor(0xff, 0x60, 0x60)},
                                     {QPalette::Light, QColor(0x55, 0x55, 0x55)},
                                     {QPalette::Midlight, QColor(0x45, 0x45, 0x45)},
                                     {QPalette::Mid, QColor(0x30, 0x30, 0x30)},
                                     {QPalette::Dark, QColor(0x23, 0x23, 0x23)},
                                     {QPalette::Shadow, QColor(0x14, 0x14, 0x14)},
                                     {QPalette::Highlight, QColor(0x2a, 0x82, 0xda)},
                                     {QPalette::HighlightedText, Qt::white},
                                     {QPalette::Link, QColor(0x6a, 0xb0, 0xff)}})
    dark.setColor(role, colour);
  for (const QPalette::ColorRole role :
       {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
    dark.setColor(QPalette::Disabled, role, disabled);
  return dark;
}

// A strategy card as lines of text: its figures, its rows as the card writes them, and each
// reported row's figures and deal.
QString CardText(const TGeneratedStrategy& card, const THoldNamer& namer) {
  const auto number = [](long double value) {
    return QString::number(static_cast<double>(value), 'g', 17);
  };
  const TStrategyReport& report = card.Report;
  QStringList lines = {QStringLiteral("%1 %2 %3 %4 %5 %6")
                           .arg(number(report.Perfect), number(report.Return), number(report.Cost),
                                number(report.ErrorRate))
                           .arg(card.Strategy.Rows.size())
                           .arg(report.Rows.size())};
  for (const TStrategyRow& row : card.Strategy.Rows) lines << Q(RowText(row, namer));
  for (const TRowReport& row : report.Rows) {
    lines << Q(row.Text);
    QStringList figures = {number(row.Share), number(row.Lost),
                           QString::number(row.HasExample ? 1 : 0)};
    for (const int code : row.Example.Cards) figures << QString::number(code);
    figures << QString::number(row.Example.Deals) << QString::number(row.Example.DrawMask)
            << QString::number(row.Example.BestMask) << number(row.Example.Expected)
            << number(row.Example.Best);
    lines << figures.join(QLatin1Char(' '));
  }
  return lines.join(QLatin1Char('\n'));
}

// The card CardText wrote; empty when the text does not read as one.
std::optional<TGeneratedStrategy> CardOfText(const QString& text, const THoldNamer& namer) {
  const QStringList lines = text.split(QLatin1Char('\n'));
  const QStringList head = lines.value(0).split(QLatin1Char(' '));
  if (head.size() != 6) return std::nullopt;
  const auto rows = static_cast<qsizetype>(head[4].toInt());
  const auto reported = static_cast<qsizetype>(head[5].toInt());
  if (lines.size() != 1 + rows + 2 * reported) return std::nullopt;
  TGeneratedStrategy card;
  TStrategyReport& report = card.Report;
  report.Perfect = head[0].toDouble();
  report.Return = head[1].toDouble();
  report.Cost = head[2].toDouble();
  report.ErrorRate = head[3].toDouble();
  TStrategyParse parse = ParseStrategy(S(lines.mid(1, rows).join(QLatin1Char('\n'))), namer);
  if (!parse.Errors.empty() || static_cast<qsizetype>(parse.Strategy.Rows.size()) != rows)
    return std::nullopt;
  card.Strategy = std::move(parse.Strategy);
  for (qsizetype r = 0; r < reported; ++r) {
    TRowReport row;
    row.Text = S(lines[1 + rows + 2 * r]);
    const QStringList figures = lines[2 + rows + 2 * r].split(QLatin1Char(' '));
    if (figures.size() != 3 + kHandSize + 5) return std::nullopt;
    row.Share = figures[0].toDouble();
    row.Lost = figures[1].toDouble();
    row.HasExample = figures[2] == QLatin1String("1");
    for (int i = 0; i < kHandSize; ++i)
      row.Example.Cards[static_cast<size_t>(i)] = figures[3 + i].toInt();
    row.Example.Deals = figures[3 + kHandSize].toLongLong();
    row.Example.DrawMask = figures[4 + kHandSize].toInt();
    row.Example.BestMask = figures[5 + kHandSize].toInt();
    row.Example.Expected = figures[6 + kHandSize].toDouble();
    row.Example.Best = figures[7 + kHandSize].toDouble();
    report.Rows.push_back(row);
  }
  return card;
}

// Each strategy card generated once over every deal and kept for the pictures that show it
// again (other languages, the dark theme, the sizes), and in `folder` (when given) for the
// run at the other scale.
void KeepStrategyCards(const QString& folder) {
  struct TKept {
    std::map<std::string, TGeneratedStrategy> Cards;
    std::mutex Mutex;
  };
  auto kept = std::make_shared<TKept>();
  TfmStrategy::SetComputation(
      {[kept, folder](const TPokerDescription& game, const TPayout& table, int maxLines,
                      TProgress& progress) {
         const std::string key = std::to_string(game.GameId) + '-' + PaysText(table, '-') + '-' +
                                 std::to_string(maxLines);
         const std::lock_guard lock(kept->Mutex);
         if (const auto found = kept->Cards.find(key); found != kept->Cards.end())
           return found->second;
         const THoldNamer namer(game);
         QFile file(folder + QStringLiteral("/strategy-") + Q(key) + QStringLiteral(".txt"));
         std::optional<TGeneratedStrategy> card;
         if (!folder.isEmpty() && file.open(QIODevice::ReadOnly))
           card = CardOfText(QString::fromUtf8(file.readAll()), namer);
         if (!card) {
           card = GenerateForTable(game, table, maxLines, &progress);
           file.close();
           if (!folder.isEmpty() && file.open(QIODevice::WriteOnly))
             file.write(CardText(*card, namer).toUtf8());
         }
         kept->Cards[key] = *card;
         return *card;
       },
       [](const TPokerDescription& game, const TPayout& table, const TStrategy& strategy,
          TProgress& progress) { return EvaluateForTable(game, table, strategy, &progress); }});
}

// The strategy card of the current table, computed and shown.
void SaveStrategy(TfmMain& window, const QString& name) {
  TfmStrategy strategy(&window, window.Controller().TableSnapshot(),
                       Caption(window.Controller().FigureCaption()));
  strategy.show();
  while (strategy.Busy()) QApplication::processEvents(QEventLoop::WaitForMoreEvents);
  Expect(strategy.Report().has_value(), name + QStringLiteral(": no card was computed"));
  Save(strategy, name);
}

// The strategy cards of 9/6 Jacks or better, full-pay Deuces Wild and a joker game, a
// beginner's each; the first in German and Russian too.
void StrategyPictures(TfmMain& window) {
  for (const auto& [gameId, pays, name] :
       {std::tuple{0, "800,50,25,9,6,4,3,2,1", "natural"},
        std::tuple{4, "800,200,25,15,9,5,3,2,2,1", "deuces"},
        std::tuple{3, "800,200,100,50,20,7,5,3,2,1,1", "joker"}}) {
    Expect(test::SelectTableWithPays(window.Controller(), gameId, QLatin1String(pays)),
           QStringLiteral("no table %1").arg(QLatin1String(pays)));
    SaveStrategy(window, QStringLiteral("strategy-") + QLatin1String(name));
  }
  test::SelectTableWithPays(window.Controller(), 0, QStringLiteral("800,50,25,9,6,4,3,2,1"));
  for (const char* language : {"DEU", "RUS"}) {
    Preferences().SetLanguage(language);
    SaveStrategy(window,
                 QStringLiteral("strategy-natural-") + QString::fromLatin1(language).toLower());
  }
  Preferences().SetLanguage("ENG");
}

// A kicker game on the library's Double Double Bonus 9/6: the main window with three aces
// and a 2 analysed (its thirteen pay rows, the kicker categories the longest names) and the
// Game and Payout dialog on its tables, in English, German and Russian.
void KickerPictures(TfmMain& window) {
  Expect(test::SelectTableWithPays(window.Controller(), 35,
                                   QStringLiteral("800,50,400,160,160,80,50,9,6,4,3,1,1")),
         QStringLiteral("no table Double Double Bonus 9/6"));
  window.Controller().ClearHand();
  for (const int code : {12, 51, 38, 13, 7}) window.CardButton(code)->click();  // AS AH AD 2C 9S
  for (const char* language : {"ENG", "DEU", "RUS"}) {
    const QString tail = std::string_view(language) == "ENG"
                             ? QString()
                             : QLatin1Char('-') + QString::fromLatin1(language).toLower();
    Preferences().SetLanguage(language);
    window.ApplyTexts();
    QApplication::processEvents();
    Save(window, QStringLiteral("main-kicker") + tail);
    TfmPokerChoose dialog(&window, window.Controller());
    dialog.show();
    WaitForMultiPlay(dialog);
    QApplication::processEvents();
    Save(dialog, QStringLiteral("game-dialog-kicker") + tail);
  }
  Preferences().SetLanguage("ENG");
  window.ApplyTexts();
  window.Controller().ClearHand();
}

// Every window under the dark theme (the main window with a hand, a chart with a value out
// of range too), to look for text that does not show.
void DarkPictures(TfmMain& window) {
  const QPalette light = QApplication::palette();
  QApplication::setPalette(DarkPalette());
  test::SelectTableWithPays(window.Controller(), 0, QStringLiteral("800,50,25,9,6,4,3,2,1"));
  Hand(window, 0, {3, 17, 35, 36, 38}, 2);
  QApplication::processEvents();
  Save(window, QStringLiteral("main-dark"));
  {
    TfmPokerChoose dialog(&window, window.Controller());
    dialog.show();
    WaitForMultiPlay(dialog);
    QApplication::processEvents();
    Save(dialog, QStringLiteral("game-dialog-dark"));
  }
  {
    TPayout table = *window.Controller().CurrentTable();
    TfmNew editor(&window, false, window.Controller(), table);
    editor.show();
    WaitForLive(editor);
    Save(editor, QStringLiteral("editor-dark"));
  }
  {
    TfmAllHands holds(&window, window.Controller().HoldsSnapshot(), QStringLiteral("  holds"));
    holds.SelectHold(window.Controller().DrawMask());
    holds.show();
    QApplication::processEvents();
    Save(holds, QStringLiteral("all-holds-dark"));
  }
  {
    TfmStat statistics(&window, window.Controller().TableSnapshot(),
                       QStringLiteral("  statistics"));
    statistics.show();
    QApplication::processEvents();
    Save(statistics, QStringLiteral("statistics-dark"));
  }
  SaveStrategy(window, QStringLiteral("strategy-dark"));
  {
    TfmPractice practice(&window, window.Controller());
    practice.SetKeepSessions(false);
    practice.NewSession(2024);
    practice.show();
    PlayHand(practice, true);
    Save(practice, QStringLiteral("practice-dark"));
  }
  {
    TfmPractice practice(&window, window.Controller());
    practice.SetKeepSessions(false);
    practice.NewSession(2024);
    practice.show();
    PlayOnLines(practice, 5);
    Save(practice, QStringLiteral("practice-dark-5-lines"));
    OneLine(practice);
  }
  {
    TfmChart charts(&window, window.Controller().TableSnapshot(), QStringLiteral("  charts"));
    charts.ChartList()->setCurrentRow(kExpectedGainKind);
    charts.show();
    charts.HandsEdit()->setValue(5000);  // out of range: the red number
    WaitForChart(charts);
    Save(charts, QStringLiteral("charts-dark-invalid"));
    charts.HandsEdit()->setValue(10);
    WaitForChart(charts);
    Save(charts, QStringLiteral("charts-dark"));
  }
  {
    THelpBrowser help(&window, QString::fromStdString(Preferences().HelpPage(1).string()));
    help.show();
    QApplication::processEvents();
    Save(help, QStringLiteral("help-dark"));
  }
  {
    TfmException report(&window,
                        QStringLiteral("Range check error: draw mask = 40 is outside 0..31"));
    report.show();
    Save(report, QStringLiteral("error-report-dark"));
    TfmAbout about(&window, window.devicePixelRatioF());
    about.show();
    Save(about, QStringLiteral("about-dark"));
  }
  window.Controller().ClearHand();
  QApplication::setPalette(light);
}

// Every window at a remembered size and at its least size (see SizePictures); the main window
// and the windows with the most text in German and Russian too.
void SizesOfEveryWindow(TfmMain& window, const std::filesystem::path& data) {
  const QString pays = QStringLiteral("800,50,25,9,6,4,3,2,1");
  test::SelectTableWithPays(window.Controller(), 0, pays);
  Hand(window, 0, {3, 17, 35, 36, 38}, -1);
  SizePictures(
      QStringLiteral("main"), QString(),
      [&data](const TShoot& shoot) {
        TfmMain main(data);
        main.show();
        Hand(main, 0, {3, 17, 35, 36, 38}, -1);
        shoot(main);
      },
      true);
  SizePictures(
      QStringLiteral("game-dialog"), QStringLiteral("Game"),
      [&window](const TShoot& shoot) {
        TfmPokerChoose dialog(&window, window.Controller());
        dialog.show();
        WaitForMultiPlay(dialog);
        QApplication::processEvents();
        shoot(dialog);
      },
      true);
  const TPayout typed = *window.Controller().CurrentTable();
  SizePictures(
      QStringLiteral("editor"), QStringLiteral("Editor"),
      [&window, &typed](const TShoot& shoot) {
        TPayout table = typed;
        TfmNew editor(&window, true, window.Controller(), table);
        editor.show();
        WaitForLive(editor);
        shoot(editor);
      },
      true);
  SizePictures(
      QStringLiteral("all-holds"), QStringLiteral("AllHolds"), [&window](const TShoot& shoot) {
        TfmAllHands holds(&window, window.Controller().HoldsSnapshot(), QStringLiteral("  holds"));
        holds.SelectHold(window.Controller().DrawMask());
        holds.show();
        QApplication::processEvents();
        shoot(holds);
      });
  SizePictures(QStringLiteral("statistics"), QStringLiteral("Statistics"),
               [&window](const TShoot& shoot) {
                 TfmStat statistics(&window, window.Controller().TableSnapshot(),
                                    QStringLiteral("  statistics"));
                 statistics.show();
                 QApplication::processEvents();
                 shoot(statistics);
               });
  SizePictures(QStringLiteral("strategy"), QStringLiteral("Strategy"),
               [&window](const TShoot& shoot) {
                 TfmStrategy strategy(&window, window.Controller().TableSnapshot(),
                                      QStringLiteral("strategy"));
                 strategy.show();
                 while (strategy.Busy()) QApplication::processEvents(QEventLoop::WaitForMoreEvents);
                 QApplication::processEvents();
                 shoot(strategy);
               });
  SizePictures(
      QStringLiteral("practice"), QStringLiteral("Practice"),
      [&window](const TShoot& shoot) {
        TfmPractice practice(&window, window.Controller());
        practice.SetKeepSessions(false);
        practice.NewSession(2024);
        practice.show();
        PlayHand(practice, true);
        shoot(practice);
      },
      true);
  SizePictures(
      QStringLiteral("practice-5-lines"), QStringLiteral("Practice"),
      [&window](const TShoot& shoot) {
        // Opened with five lines remembered, at the size it was left at.
        TPracticeSettings settings = ReadPracticeSettings(Preferences().Settings);
        settings.Lines = 5;
        WritePracticeSettings(Preferences().Settings, settings);
        TfmPractice practice(&window, window.Controller());
        practice.SetKeepSessions(false);
        practice.NewSession(2024);
        practice.show();
        PlayHand(practice, false);
        shoot(practice);
        OneLine(practice);
      },
      true);
  SizePictures(
      QStringLiteral("charts"), QStringLiteral("Charts"),
      [&window](const TShoot& shoot) {
        TfmChart charts(&window, window.Controller().TableSnapshot(), QStringLiteral("  charts"));
        charts.ChartList()->setCurrentRow(kExpectedGainKind);
        charts.show();
        charts.HandsEdit()->setValue(10);
        WaitForChart(charts);
        shoot(charts);
      },
      true);
  SizePictures(QStringLiteral("help"), QStringLiteral("Help"), [&window](const TShoot& shoot) {
    THelpBrowser help(&window, QString::fromStdString(Preferences().HelpPage(1).string()));
    help.show();
    QApplication::processEvents();
    shoot(help);
  });
  // The about box and the error report keep no place; at their least size if they can be
  // made smaller at all.
  TfmAbout about(&window, window.devicePixelRatioF());
  TfmException report(&window,
                      QStringLiteral("Range check error: draw mask = 40 is outside 0..31"));
  for (const auto& [dialog, name] :
       {std::pair<QWidget*, const char*>{&about, "about"}, {&report, "error-report"}}) {
    dialog->show();
    QApplication::processEvents();
    const QSize shown = dialog->size();
    dialog->resize(Least(*dialog));
    QApplication::processEvents();
    if (dialog->size() != shown) Save(*dialog, QLatin1String(name) + QStringLiteral("-minimum"));
    dialog->hide();
  }
  window.ApplyTexts();
  window.Controller().ClearHand();
}

}  // namespace

int main(int argc, char** argv) try {
  QApplication application(argc, argv);
  if (argc < 4) return 2;
  Output().Folder = QString::fromLocal8Bit(argv[1]);
  Output().Suffix = QString::fromLocal8Bit(argv[3]);
  const std::filesystem::path program = argv[2];
  QDir().mkpath(Output().Folder);
  int failures = 0;
  SetErrorReporter([&failures](QWidget*, const QString& message) {
    std::fprintf(stderr, "error: %s\n", message.toUtf8().constData());
    ++failures;
  });
  QTemporaryDir work;
  const std::filesystem::path data = work.path().toStdString();
  std::filesystem::copy_file(program / "Tarnwick.dat", data / "Tarnwick.dat");
  InstallPreferences(std::make_unique<TPreferences>(
      TPreferencesSetup{program, data / "tarnwick.ini", "ENG", {}, "DejaVu Sans"}));

  TfmMain window(data);
  window.resize(270, 700);
  window.show();
  QApplication::processEvents();
  Save(window, QStringLiteral("main-empty"));
  Hand(window, 0, {3, 17, 35, 36, 38}, -1);  // 5S 6C JD QD AD: hold the diamonds
  Save(window, QStringLiteral("main-natural"));
  Hand(window, 0, {12, 11, 10, 9, 8}, 4);  // a royal flush, the ten replaced
  Save(window, QStringLiteral("main-natural-toggled"));
  Hand(window, 4, {0, 13, 39, 24, 36}, 2);  // three deuces, KH, QC: one deuce replaced
  Save(window, QStringLiteral("main-deuces"));
  Hand(window, 3, {-2, 25, 38, 51, 7}, 4);  // joker and three aces
  Save(window, QStringLiteral("main-joker"));
  for (const char* language : {"DEU", "RUS"}) {
    Preferences().SetLanguage(language);
    window.ApplyTexts();
    QApplication::processEvents();
    Save(window, QStringLiteral("main-") + QString::fromLatin1(language).toLower());
    {
      TfmPractice practice(&window, window.Controller());
      practice.SetKeepSessions(false);
      practice.NewSession(7);
      practice.show();
      PlayHand(practice, true);
      Save(practice, QStringLiteral("practice-") + QString::fromLatin1(language).toLower());
      // The main window switches games: the note of what the next deal starts.
      window.Controller().SelectGame(4);
      QApplication::processEvents();
      Save(
          practice,
          QStringLiteral("practice-%1-game-switched").arg(QString::fromLatin1(language).toLower()));
    }
    {
      TfmPractice practice(&window, window.Controller());
      practice.SetKeepSessions(false);
      practice.NewSession(7);
      practice.show();
      PlayOnLines(practice, 5);
      Save(practice,
           QStringLiteral("practice-%1-5-lines").arg(QString::fromLatin1(language).toLower()));
      OneLine(practice);
    }
  }
  Preferences().SetLanguage("ENG");
  window.ApplyTexts();
  // Wider: the hand's cards grow with the window (its least size: SizesOfEveryWindow).
  window.resize(520, 760);
  QApplication::processEvents();
  Save(window, QStringLiteral("main-wide"));
  window.resize(270, 700);
  QApplication::processEvents();

  {
    // Windows on the stack: gone before the windows still open beside the main one are.
    THelpBrowser help(&window, QString::fromStdString(Preferences().HelpPage(1).string()));
    help.show();
    QApplication::processEvents();
    Save(help, QStringLiteral("help-main"));
    help.hide();
    TfmException report(
        &window, QStringLiteral("Error calculate natural case (GetTheBest)\nRange check error: "
                                "draw mask = 40 is outside 0..31\nHand :  AS  KS  QS  JS  TS\n"
                                "  JACKS OR BETTER"));
    report.show();
    QApplication::processEvents();
    Save(report, QStringLiteral("error-report"));
    report.hide();
    TfmAbout about(&window, window.devicePixelRatioF());
    about.show();
    QApplication::processEvents();
    Save(about, QStringLiteral("about"));
    about.hide();
  }

  // The Game and Payout dialog of a natural and a wild game, sorted by the return.
  window.Controller().SetSort(TSortKey::Return, true);
  for (const auto& [gameId, name] :
       {std::pair{0, "game-dialog-natural"}, std::pair{4, "game-dialog-wild"}}) {
    window.Controller().SelectGame(gameId);
    TfmPokerChoose dialog(&window, window.Controller());
    dialog.show();
    WaitForMultiPlay(dialog);
    QApplication::processEvents();
    Save(dialog, QString::fromLatin1(name));
  }
  // The editor with the live return of the table as typed, and again after the coins of
  // the pays changed to five; the dialog and that editor in German and Russian too.
  window.Controller().SelectGame(0);
  const TPayout typed = *window.Controller().CurrentTable();
  for (const char* language : {"ENG", "DEU", "RUS"}) {
    const bool english = std::string_view(language) == "ENG";
    const QString tail =
        english ? QString() : QLatin1Char('-') + QString::fromLatin1(language).toLower();
    Preferences().SetLanguage(language);
    window.ApplyTexts();
    if (!english) {
      TfmPokerChoose dialog(&window, window.Controller());
      dialog.show();
      WaitForMultiPlay(dialog);
      QApplication::processEvents();
      Save(dialog, QStringLiteral("game-dialog-natural") + tail);
    }
    TPayout table = typed;
    TfmNew editor(&window, true, window.Controller(), table);
    editor.show();
    WaitForLive(editor);
    if (english) Save(editor, QStringLiteral("editor-live-return"));
    editor.CoinSelector()->Button(5)->click();
    WaitForLive(editor);
    Save(editor, QStringLiteral("editor-coins-changed") + tail);
  }
  Preferences().SetLanguage("ENG");
  window.ApplyTexts();
  KickerPictures(window);
  // The progress dialog a third of the way.
  {
    TSharedProgress progress;
    progress.Begin(134459);
    progress.Step(44800);
    TfmGauge gauge(&window, progress);
    gauge.ShowProgress(14'200);
    gauge.show();
    QApplication::processEvents();
    Save(gauge, QStringLiteral("progress"));
  }
  // The all-holds window of a natural and a wild hand, and the statistics of a natural and
  // a wild table, in every view.
  const char* views[] = {"hands", "probability", "return"};
  for (const auto& [gameId, name] : {std::pair{0, "natural"}, std::pair{4, "deuces"}}) {
    if (gameId == 0) {
      Hand(window, 0, {3, 17, 35, 36, 38}, -1);
    } else {
      Hand(window, 4, {0, 13, 39, 24, 36}, -1);
    }
    window.Controller().SetCoins(5);
    {
      TfmAllHands holds(&window, window.Controller().HoldsSnapshot(), QStringLiteral("  holds"));
      holds.SelectHold(window.Controller().DrawMask());
      holds.show();
      for (int view = 0; view < 3; ++view) {
        holds.SetView(static_cast<TFigureView>(view));
        QApplication::processEvents();
        Save(
            holds,
            QStringLiteral("all-holds-%1-%2").arg(QLatin1String(name), QLatin1String(views[view])));
      }
    }
    TfmStat statistics(&window, window.Controller().TableSnapshot(),
                       QStringLiteral("  statistics"));
    statistics.show();
    for (int view = 0; view < 3; ++view) {
      statistics.SetView(static_cast<TFigureView>(view));
      QApplication::processEvents();
      Save(statistics,
           QStringLiteral("statistics-%1-%2").arg(QLatin1String(name), QLatin1String(views[view])));
    }
  }
  window.Controller().SetCoins(1);
  window.Controller().ClearHand();
  // The practice window at its first deal (nothing held), after a right and after a wrong
  // hold, a natural and a wild game.
  for (const auto& [gameId, name] : {std::pair{0, "natural"}, std::pair{4, "deuces"}}) {
    window.Controller().SelectGame(gameId);
    TfmPractice practice(&window, window.Controller());
    practice.NewSession(2024);
    practice.show();
    QApplication::processEvents();
    Save(practice, QStringLiteral("practice-%1-first-deal").arg(QLatin1String(name)));
    for (const char* verdict : {"right", "wrong"}) {
      PlayHand(practice, verdict[0] == 'w');
      Save(practice,
           QStringLiteral("practice-%1-%2").arg(QLatin1String(name), QLatin1String(verdict)));
      practice.DealHand();
    }
    practice.FinishSession();
  }
  // A reference strategy (a short typed one, made at once) and a drill of two of its lines,
  // after a few hands with mistakes: the verdict names the strategy's row, the session page
  // lists the mistakes by line.
  {
    window.Controller().SelectGame(0);
    TfmPractice practice(&window, window.Controller());
    practice.SetKeepSessions(false);
    practice.SetStrategyMaker(
        [](const TPokerDescription& game, const TPayout&, TStrategyLevel, TProgress&) {
          return ParseStrategy(
                     "4 to a royal flush\nhigh pair\n4 to a flush\n3 to a royal flush\nlow pair",
                     THoldNamer(game))
              .Strategy;
        });
    practice.StrategyBox()->setCurrentIndex(1);
    while (practice.StrategyBusy()) QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    practice.DrillBox()->setChecked(true);
    practice.DrillLine(0)->setEditText(QStringLiteral("4 to a flush"));
    practice.DrillLine(1)->setEditText(QStringLiteral("low pair"));
    practice.NewSession(2024);
    practice.show();
    for (int hand = 0; hand < 4; ++hand) {
      PlayHand(practice, hand % 2 == 0);
      practice.DealHand();
    }
    PlayHand(practice, true);
    Save(practice, QStringLiteral("practice-strategy-drill"));
  }
  // One hold drawn on five lines, and on ten (the rows scroll).
  window.Controller().SelectGame(0);
  for (const int lines : {5, 10}) {
    TfmPractice practice(&window, window.Controller());
    practice.SetKeepSessions(false);
    practice.NewSession(2024);
    practice.show();
    PlayOnLines(practice, lines);
    Save(practice, QStringLiteral("practice-%1-lines").arg(lines));
    OneLine(practice);
  }

  // The charts of 9/6 Jacks or better in coins, and of full-pay Deuces Wild in money too.
  for (const auto& [gameId, pays, name, hands, coinValue] :
       {std::tuple{0, "800,50,25,9,6,4,3,2,1", "natural", 10, 0.0},
        std::tuple{4, "800,200,25,15,9,5,3,2,2,1", "wild", 200, 0.25}}) {
    if (!test::SelectTableWithPays(window.Controller(), gameId, QLatin1String(pays))) {
      std::fprintf(stderr, "error: no table %s\n", pays);
      ++failures;
      continue;
    }
    Charts(window, QLatin1String(name), hands, coinValue);
    LinesCharts(window, QLatin1String(name));
  }
  // The charts of full-pay Deuces Wild in German and Russian.
  for (const char* language : {"DEU", "RUS"}) {
    Preferences().SetLanguage(language);
    Charts(window, QStringLiteral("wild-") + QString::fromLatin1(language).toLower(), 10, 0.25);
  }
  Preferences().SetLanguage("ENG");
  window.ApplyTexts();
  KeepStrategyCards(qEnvironmentVariable("XDG_RUNTIME_DIR"));
  StrategyPictures(window);
  DarkPictures(window);
  SizesOfEveryWindow(window, data);
  // The windows still open keep their places in the settings as they go: before the
  // settings are released.
  window.CloseWindowsBeside();
  ReleasePreferences();
  return failures + Output().Failures == 0 ? 0 : 1;
} catch (const std::exception& e) {
  std::fprintf(stderr, "screenshots: %s\n", e.what());
  return 1;
}
