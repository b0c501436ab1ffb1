// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later

// The charts window: what it draws against the core and tarnwick-cli, its options, its
// computations on a worker (a newer request wins, closing stops one) and its exports.

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonObject>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPdfDocument>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QTest>
#include <QtCharts>
#include <algorithm>
#include <cmath>
#include <map>

#include "app_test_support.h"
#include "chart_window.h"
#include "main_window.h"
#include "parts/chart_canvas.h"
#include "table_choice.h"

using namespace tarnwick;
using namespace tarnwick::app;

namespace {

constexpr int kDeucesWild = 4;
constexpr int kBonusDeucesWild = 7;

// The picture in a saved file: a bitmap read in the format its suffix names, an SVG drawn on
// white, or the first page of a PDF.
QImage Picture(const QString& path) {
  const QString suffix = QFileInfo(path).suffix().toUpper();
  if (suffix == QStringLiteral("PDF")) {
    QPdfDocument pdf;
    if (pdf.load(path) != QPdfDocument::Error::None || pdf.pageCount() < 1) return {};
    return pdf.render(0, (pdf.pagePointSize(0) * 2).toSize());
  }
  if (suffix != QStringLiteral("SVG")) return QImage(path, suffix.toLatin1().constData());
  QSvgRenderer svg(path);
  if (!svg.isValid()) return {};
  QImage drawn(svg.defaultSize(), QImage::Format_RGB32);
  drawn.fill(Qt::white);
  QPainter painter(&drawn);
  svg.render(&painter);
  painter.end();
  return drawn;
}

bool HasColour(const QImage& image, const QColor& colour) {
  const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
  const auto* pixels = reinterpret_cast<const QRgb*>(rgb.constBits());
  return std::any_of(pixels, pixels + rgb.sizeInBytes() / 4, [&colour](QRgb pixel) {
    return std::abs(qRed(pixel) - colour.red()) <= 24 &&
           std::abs(qGreen(pixel) - colour.green()) <= 24 &&
           std::abs(qBlue(pixel) - colour.blue()) <= 24;
  });
}

// The hint the chart shows with the mouse over a point of its values.
QString HintOver(TfmChart& charts, QPointF value) {
  TChartCanvas* canvas = charts.Canvas();
  QWidget* plot = canvas->childAt(canvas->rect().center());
  const QPoint at = canvas->PositionOf(value);
  QMouseEvent move(QEvent::MouseMove, plot->mapFrom(canvas, at), canvas->mapToGlobal(at),
                   Qt::NoButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(plot, &move);
  return canvas->toolTip();
}

double Percent(const QLabel* label) {
  return label->text().remove('%').toDouble();
}

// Whether a line draws every point of a curve of tarnwick-cli's exactly, and a label shows
// its last chance (to three decimals) as the copy holds it.
bool DrawsCurve(const TfmChart& charts, TChartCanvas::TLine line, const QLabel* label,
                const QJsonValue& curve) {
  const QJsonArray expected = curve.toArray();
  const QVector<QPointF> drawn = charts.Canvas()->LinePoints(line);
  if (expected.isEmpty() || expected.size() != drawn.size()) return false;
  for (qsizetype i = 0; i < drawn.size(); ++i) {
    if (expected[i][QStringLiteral("x")].toDouble() != drawn[i].x() ||
        expected[i][QStringLiteral("y")].toDouble() != drawn[i].y())
      return false;
  }
  const double percent = expected.last()[QStringLiteral("y")].toDouble();
  return !label->text().isEmpty() && std::fabs(Percent(label) - percent) <= 0.0005 + 1e-9 &&
         charts.CopiedText().contains('\t' + label->text() + '\n');
}

QList<QList<QPointF>> DrawnAreas(const TfmChart& charts) {
  QList<QList<QPointF>> areas;
  for (QAbstractSeries* series : charts.Canvas()->findChild<QChartView*>()->chart()->series())
    if (auto* area = qobject_cast<QAreaSeries*>(series))
      areas.append(area->upperSeries()->points());
  return areas;
}

const QColor kGreen(0, 170, 0);
const QColor kRed(220, 30, 30);

}  // namespace

class ChartsTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { test::FailOnWarnings(); }
  void ChartsEqualTheCommandLine_data();
  void ChartsEqualTheCommandLine();
  void TheHeaviestChartAnswersKeysAndStopsAtClose();
  void SaveCopyAndPrint();
  void ChartsThatCannotBeComputedSayWhy();
};

void ChartsTest::ChartsEqualTheCommandLine_data() {
  QTest::addColumn<int>("game");
  QTest::addColumn<QString>("pays");
  QTest::addColumn<QString>("cashBackReturn");  // published return + 0.5 %
  QTest::newRow("9/6 Jacks or better")
      << 0 << QStringLiteral("800,50,25,9,6,4,3,2,1") << QStringLiteral("100.0439 %");
  QTest::newRow("full-pay Deuces Wild")
      << kDeucesWild << QStringLiteral("800,200,25,15,9,5,3,2,2,1") << QStringLiteral("101.2620 %");
}

void ChartsTest::ChartsEqualTheCommandLine() {
  QFETCH(int, game);
  QFETCH(QString, pays);
  QFETCH(QString, cashBackReturn);
  test::TWorld world;
  TfmMain main(world.Data());
  QVERIFY(test::SelectTableWithPays(main.Controller(), game, pays));
  const TTableSnapshot snapshot = main.Controller().TableSnapshot();
  const QStringList table = {
      "-g", QString::number(game),           "-p", pays,
      "-c", QString::number(snapshot.Coins), "-d", QString::fromStdString(world.Data().string()),
      "-q"};
  TfmChart charts(&main, snapshot, QString());
  charts.show();
  QTRY_VERIFY_WITH_TIMEOUT(!charts.Busy(), 30000);
  // It opens on the expected gain at ten hands, one bar a result, every control named.
  QCOMPARE(charts.CurrentChart(), 0);
  QCOMPARE(charts.HandsEdit()->value(), 10);
  QCOMPARE(charts.Canvas()->BarCount(), static_cast<int>(charts.Distribution().Points.size()));
  QVERIFY(charts.CopyButton()->isEnabled() && !charts.ProgressPanel()->isVisible());
  for (QWidget* control : charts.findChildren<QWidget*>()) {
    if (qobject_cast<QAbstractButton*>(control) || qobject_cast<QAbstractSpinBox*>(control) ||
        qobject_cast<QAbstractScrollArea*>(control))
      QVERIFY2(!control->accessibleName().isEmpty(), control->metaObject()->className());
  }
  charts.HandsEdit()->setValue(500);
  QTRY_VERIFY_WITH_TIMEOUT(!charts.Busy(), 30000);

  const QJsonObject distribution =
      test::Cli(QStringList{"bankroll", "distribution", "-n", "500"} + table);
  std::map<long, double> rows;
  for (const QJsonValue row : distribution[QStringLiteral("points")].toArray())
    rows[row[QStringLiteral("result")].toInteger()] = row[QStringLiteral("probability")].toDouble();
  const std::vector<TChartPoint>& bars = charts.Distribution().Points;
  QVERIFY(bars.size() > 50);
  for (const TChartPoint& bar : bars) {
    const auto row = rows.find(std::lround(bar.X));
    QCOMPARE(bar.Y, row == rows.end() ? 0.0 : row->second);
  }
  for (const auto& [row, key] : {std::pair{0, "win"}, std::pair{1, "push"}, std::pair{2, "loss"}})
    QCOMPARE(Percent(charts.ChanceLabel(row)),
             std::round(distribution[QLatin1String(key)].toDouble() * 100000) / 1000);

  charts.ChartList()->setCurrentRow(2);
  QTRY_VERIFY_WITH_TIMEOUT(!charts.Busy(), 30000);
  const QJsonObject curves = test::Cli(QStringList{"bankroll", "winloss"} + table);
  QCOMPARE(charts.Canvas()->LineColor(TChartCanvas::kWinLine), kGreen);
  QVERIFY(charts.CopiedText().startsWith(QStringLiteral("After 2000 hands\n")));
  for (const auto& [row, key, line] : {std::tuple{0, "win", TChartCanvas::kWinLine},
                                       std::tuple{1, "push", TChartCanvas::kPushLine},
                                       std::tuple{2, "loss", TChartCanvas::kLoseLine}})
    QVERIFY2(DrawsCurve(charts, line, charts.WinLostFigure(row), curves[QLatin1String(key)]), key);

  charts.ChartList()->setCurrentRow(1);
  QTRY_VERIFY_WITH_TIMEOUT(!charts.Busy(), 30000);
  const QJsonObject ruin =
      test::Cli(QStringList{"bankroll", "ruin", "--initial", "30", "--desired", "60"} + table);
  for (const auto& [row, key, line] : {std::tuple{0, "ruin", TChartCanvas::kWinLine},
                                       std::tuple{1, "hit", TChartCanvas::kLoseLine}})
    QVERIFY2(DrawsCurve(charts, line, charts.RiskFigure(row), ruin[QLatin1String(key)]), key);
  QCOMPARE(charts.Canvas()->LineColor(TChartCanvas::kWinLine), kRed);
  QCOMPARE(charts.Canvas()->BottomRange(), QPointF(0, 2000));
  QCOMPARE(charts.Canvas()->LeftRange(), QPointF(0, 100));

  // Deals on ten lines (the arrows step 5 to 10) with 0.5 % cash back.
  charts.ChartList()->setCurrentRow(2);
  charts.LinesEdit()->setValue(5);
  charts.LinesEdit()->stepUp();
  QCOMPARE(charts.LinesEdit()->value(), 10);
  charts.CashBackEdit()->setValue(0.5);
  QCOMPARE(charts.PlayReturn()->text(), QStringLiteral("Return with cash back: ") + cashBackReturn);
  QTRY_VERIFY_WITH_TIMEOUT(!charts.Busy(), 30000);
  const QJsonObject lines =
      test::Cli(QStringList{"bankroll", "winloss", "-l", "10", "--cashback", "0.5"} + table);
  QVERIFY2(DrawsCurve(charts, TChartCanvas::kWinLine, charts.WinLostFigure(0), lines["win"]),
           "ten lines");
  QVERIFY(world.Errors.isEmpty());
}

// Pays that are no whole bets give a message. A value out of range shows in red and clears the
// chart; the options are kept. Which values are in range, the steps, the money texts and the
// kept settings are ChartRules' (OptionSteps, OptionChecks, MoneyIsExactToTheHundredth,
// SettingsKeepTheLastChart...): one case each here. A failure names the chart in the language.
void ChartsTest::ChartsThatCannotBeComputedSayWhy() {
  test::TWorld world;
  TfmMain main(world.Data());
  TTableSnapshot odd = main.Controller().TableSnapshot();
  odd.Table.CoinBasis = 5;
  for (int c = 0; c <= odd.Table.LastCategory; ++c) odd.Table.Pays[c] *= 5;
  odd.Table.Pays[0] = 4001;
  TfmChart oddCharts(&main, odd, QString());
  oddCharts.show();
  QTRY_VERIFY_WITH_TIMEOUT(!oddCharts.Busy(), 30000);
  QVERIFY(oddCharts.Canvas()->Message().contains(QStringLiteral("not whole bets")));
  QVERIFY(!oddCharts.SaveButton()->isEnabled());
  oddCharts.ChartList()->setCurrentRow(2);
  QTRY_VERIFY_WITH_TIMEOUT(!oddCharts.Busy(), 30000);
  QVERIFY(!oddCharts.Canvas()->Message().isEmpty());
  {
    TfmChart charts(&main, main.Controller().TableSnapshot(), QString());
    charts.show();
    QTRY_VERIFY_WITH_TIMEOUT(!charts.Busy(), 30000);
    TChartSpin* hands = charts.HandsEdit();
    QTest::keyClick(hands, Qt::Key_Up);
    QCOMPARE(hands->value(), 20);
    hands->setValue(5000);
    QCOMPARE(hands->palette().color(QPalette::Text), QColor(Qt::red));
    QVERIFY(!charts.Busy());
    QCOMPARE(charts.Canvas()->BarCount(), 0);
    QVERIFY(charts.Canvas()->Message().contains(QStringLiteral("1 to 4000")));
    QVERIFY(charts.ChanceLabel(0)->text().isEmpty());
    QVERIFY(!charts.SaveButton()->isEnabled());  // nothing to save
    hands->setValue(4000);
    QVERIFY(!charts.SaveButton()->isEnabled());  // nor while the chart waits for its turn
    QTRY_VERIFY_WITH_TIMEOUT(!charts.Busy(), 60000);
    QVERIFY(charts.Canvas()->BarCount() > 0 && charts.SaveButton()->isEnabled());

    charts.ChartList()->setCurrentRow(1);
    QTRY_VERIFY_WITH_TIMEOUT(!charts.Busy(), 30000);
    QVERIFY(charts.BankrollMoney(0)->text().isEmpty());
    charts.CoinValueEdit()->setValue(0.25);
    charts.InitialEdit()->setValue(70);
    QVERIFY(!charts.InitialEdit()->Valid() && !charts.DesiredEdit()->Valid());
    QVERIFY(charts.Canvas()->LinePoints(TChartCanvas::kWinLine).isEmpty());
    QCOMPARE(charts.BankrollMoney(0)->text(), QStringLiteral("(17.50)"));
    QVERIFY(charts.Canvas()->Message().contains(QStringLiteral("(70) is above")));
    charts.DesiredEdit()->setValue(90);
    QVERIFY(charts.Canvas()->Message().isEmpty());
    QTRY_VERIFY_WITH_TIMEOUT(!charts.Busy(), 30000);
    QCOMPARE(charts.Canvas()->LinePoints(TChartCanvas::kWinLine).size(), 2000);
    charts.accept();
  }
  TfmChart again(&main, main.Controller().TableSnapshot(), QString());
  QCOMPARE(again.CurrentChart(), 1);
  QCOMPARE(again.DesiredEdit()->value(), 90);
  QCOMPARE(again.BankrollMoney(1)->text(), QStringLiteral("(22.50)"));
  QVERIFY(world.Errors.isEmpty());

  world.Install("DEU");
  TTableSnapshot tooMany = main.Controller().TableSnapshot();
  tooMany.Coins = kMaxCoins + 1;
  TfmChart german(&main, tooMany, QString());
  german.show();
  QTRY_COMPARE_WITH_TIMEOUT(world.Errors.size(), 1, 30000);
  QVERIFY2(world.Errors[0].endsWith(QStringLiteral("Error calc chart data( Erwarteter Gewinn)")),
           qPrintable(world.Errors[0]));
}

// A key posted while the heaviest chart computes is handled before the run ends; a close
// during a run stops it.
void ChartsTest::TheHeaviestChartAnswersKeysAndStopsAtClose() {
  test::TWorld world;
  TfmMain main(world.Data());
  main.Controller().SelectGame(kBonusDeucesWild);
  auto* charts = new TfmChart(&main, main.Controller().TableSnapshot(), QString());
  charts->show();
  QTRY_VERIFY_WITH_TIMEOUT(!charts->Busy(), 30000);
  charts->ChartList()->setFocus();
  {
    test::TWorkerGate gate;
    bool answered = false;
    const auto started = connect(charts, &TfmChart::Started, charts, [&] {
      QCoreApplication::postEvent(charts, new QKeyEvent(QEvent::KeyPress, Qt::Key_Tab, {}));
      QTimer::singleShot(0, charts, [&] {
        answered = charts->Computing() && !charts->ChartList()->hasFocus();
        gate.Release();
      });
    });
    charts->HandsEdit()->setValue(4000);
    QTRY_VERIFY_WITH_TIMEOUT(gate.Arrived() == 1 && !charts->Busy(), 120000);
    QVERIFY(answered);
    QVERIFY(charts->Canvas()->BarCount() > 100);
    disconnect(started);
  }
  test::TWorkerGate gate;  // the run is still at its start when the window closes
  bool closed = false;
  connect(charts, &TfmChart::Started, charts, [&] {
    charts->reject();
    closed = true;
  });
  charts->HandsEdit()->setValue(3999);
  QTRY_VERIFY(closed);
  QVERIFY(!charts->Computing());
  QVERIFY(!charts->isVisible());
  delete charts;
  QCoreApplication::sendPostedEvents();
  QCoreApplication::processEvents();
  QVERIFY(world.Errors.isEmpty());
}

// Back at 10 hands after another chart, the chart is that of a window opened at 10 hands. Every
// format is read back with the chart's green; Copy and Print draw on white. The mouse shows a
// hint, and a coin value relabels the expected gain without computing it again.
void ChartsTest::SaveCopyAndPrint() {
  test::TWorld world;
  TfmMain main(world.Data());
  const TTableSnapshot snapshot = main.Controller().TableSnapshot();
  TfmChart charts(&main, snapshot, QString());
  charts.show();
  QTRY_VERIFY_WITH_TIMEOUT(!charts.Busy(), 30000);
  charts.HandsEdit()->setValue(200);
  QTRY_VERIFY_WITH_TIMEOUT(!charts.Busy(), 30000);
  charts.HandsEdit()->setValue(10);
  QTRY_VERIFY_WITH_TIMEOUT(!charts.Busy(), 30000);
  TfmChart fresh(&main, snapshot, QString());
  fresh.show();
  QTRY_VERIFY_WITH_TIMEOUT(!fresh.Busy(), 30000);
  QCOMPARE(DrawnAreas(charts), DrawnAreas(fresh));
  charts.CopyPicture();
  const QImage copied = QApplication::clipboard()->image();
  QCOMPARE(copied.pixelColor(0, 0), QColor(Qt::white));
  QVERIFY(HasColour(copied, kGreen));
  fresh.CopyPicture();
  QCOMPARE(copied, QApplication::clipboard()->image());

  QTemporaryDir folder;
  const QString base = folder.filePath(QStringLiteral("chart"));
  // A file named .bmp stays a bitmap whatever the filter; a name without a suffix takes the
  // filter's.
  for (const auto& [saved, filter, read] : {std::tuple{".png", "", ".png"},
                                            {".bmp", "PNG (*.png)", ".bmp"},
                                            {".svg", "", ".svg"},
                                            {"", "PDF (*.pdf)", ".pdf"}}) {
    QVERIFY(charts.SaveTo(base + QLatin1String(saved), QLatin1String(filter)));
    QVERIFY2(HasColour(Picture(base + QLatin1String(read)), kGreen), read);
  }
  QVERIFY(charts.SaveTo(base + QStringLiteral(".csv")));
  QFile csv(base + QStringLiteral(".csv"));
  QVERIFY(csv.open(QIODevice::ReadOnly));
  const QStringList lines = QString::fromUtf8(csv.readAll()).trimmed().split('\n');
  QCOMPARE(lines.size(), static_cast<qsizetype>(charts.Distribution().Points.size()) + 1);
  const QRegularExpression separator(QStringLiteral(",(?=(?:[^\"]*\"[^\"]*\")*[^\"]*$)"));
  for (const QString& line : lines) QCOMPARE(line.split(separator).size(), 2);
  QVERIFY(world.Errors.isEmpty());

  // The superuser may write to any folder but /proc.
  const QString locked = folder.filePath(QStringLiteral("locked"));
  QDir().mkdir(locked);
  QFile::setPermissions(locked, QFile::ReadOwner | QFile::ExeOwner);
  const QString target = QFileInfo(locked).isWritable() ? QStringLiteral("/proc") : locked;
  QVERIFY(!charts.SaveTo(target + QStringLiteral("/chart.png")));
  QCOMPARE(world.Errors.size(), 1);
  QVERIFY2(world.Errors[0].endsWith(QStringLiteral("Error calc chart data(Save Chart)")),
           qPrintable(world.Errors[0]));

  QPrinter printer;
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(folder.filePath(QStringLiteral("printed.pdf")));
  charts.PrintTo(printer);
  const QImage page = Picture(folder.filePath(QStringLiteral("printed.pdf")));
  QVERIFY(HasColour(page, kGreen) && HasColour(page, kRed));

  // The bar of +3 coins under the mouse (offscreen cannot raise the hint).
  QTest::ignoreMessage(QtWarningMsg, "This plugin does not support raise()");
  QVERIFY(HintOver(charts, {3, 0.5}).startsWith(QStringLiteral("Win 3 coins: ")));
  QCOMPARE(charts.Canvas()->MoneyRange(), QPointF());
  charts.CoinValueEdit()->setValue(0.25);
  QVERIFY(!charts.Busy());
  QVERIFY(charts.HintAt({3, 0.5}).startsWith(QStringLiteral("Win 3 coins (0.75): ")));
  QCOMPARE(charts.Canvas()->MoneyRange(), charts.Canvas()->BottomRange() * 0.25);
  QVERIFY(charts.PointsText().contains(QStringLiteral("\n-10\t-2.50\t")));
  QCOMPARE(world.Errors.size(), 1);
}

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  ChartsTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "charts_test.moc"
