// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "parts/chart_canvas.h"

#include <QLabel>
#include <QMouseEvent>
#include <QStackedLayout>
#include <QtCharts>
#include <array>

#include "session/chart_rules.h"

namespace tarnwick::app {

namespace {

// At most so many labels along an axis, so that none is cut short.
constexpr int kBottomLabels = 8;
constexpr int kLeftLabels = 6;

QPen LinePen(const QColor& color) {
  QPen pen(color);
  pen.setWidth(2);
  return pen;
}

}  // namespace

struct TChartCanvas::TParts {
  QChart* chart = nullptr;
  QChartView* view = nullptr;
  QValueAxis* bottom = nullptr;
  QValueAxis* left = nullptr;
  QValueAxis* money = nullptr;  // under the bottom axis, no series of its own
  double perCoin = 0;
  std::array<QLineSeries*, kLines> lines{};
  std::vector<QAreaSeries*> bars;  // made anew for every distribution
  int barCount = 0;
};

TChartCanvas::TChartCanvas(QWidget* parent)
    : QWidget(parent),
      parts_(std::make_unique<TParts>()),
      stack_(new QStackedLayout(this)),
      message_(new QLabel(this)) {
  TParts& p = *parts_;
  p.chart = new QChart;
  p.chart->legend()->hide();
  p.chart->setAnimationOptions(QChart::NoAnimation);
  p.chart->setBackgroundRoundness(0);
  p.view = new QChartView(p.chart, this);
  p.view->setRenderHint(QPainter::Antialiasing);
  p.view->setAccessibleName(QStringLiteral("Chart"));
  p.view->setMouseTracking(true);
  p.view->viewport()->setMouseTracking(true);
  p.view->viewport()->installEventFilter(this);
  p.bottom = new QValueAxis(p.chart);
  p.left = new QValueAxis(p.chart);
  for (QValueAxis* axis : {p.bottom, p.left}) {
    // Up to three decimals, none when whole.
    axis->setLabelFormat(QStringLiteral("%g"));
    QPen grid = axis->gridLinePen();
    grid.setStyle(Qt::DotLine);
    axis->setGridLinePen(grid);
  }
  p.chart->addAxis(p.bottom, Qt::AlignBottom);
  p.chart->addAxis(p.left, Qt::AlignLeft);
  p.money = new QValueAxis(p.chart);
  p.money->setLabelFormat(QStringLiteral("%.2f"));
  p.money->setGridLineVisible(false);
  p.money->setVisible(false);
  p.chart->addAxis(p.money, Qt::AlignBottom);
  connect(p.bottom, &QValueAxis::rangeChanged, this, &TChartCanvas::FollowBottom);
  connect(p.bottom, &QValueAxis::tickIntervalChanged, this, &TChartCanvas::FollowBottom);
  for (int line = 0; line < kLines; ++line) {
    auto* series = new QLineSeries(p.chart);
    p.chart->addSeries(series);
    series->attachAxis(p.bottom);
    series->attachAxis(p.left);
    series->setVisible(false);
    p.lines[line] = series;
  }
  message_->setAccessibleDescription(QStringLiteral("Chart message"));
  message_->setAlignment(Qt::AlignCenter);
  message_->setWordWrap(true);
  message_->setMargin(24);
  message_->setAutoFillBackground(true);
  stack_->addWidget(p.view);
  stack_->addWidget(message_);
}

TChartCanvas::~TChartCanvas() = default;

void TChartCanvas::Clear() {
  for (QLineSeries* series : parts_->lines) {
    series->clear();
    series->setVisible(false);
  }
  RemoveBars();
  SetMoneyScale(0, QString());
  SetMessage(QString());
}

void TChartCanvas::RemoveBars() {
  TParts& p = *parts_;
  for (QAreaSeries* area : p.bars) {
    p.chart->removeSeries(area);
    delete area;
  }
  p.bars.clear();
  p.barCount = 0;
}

void TChartCanvas::SetAxisTitles(const QString& left, const QString& bottom) {
  parts_->left->setTitleText(left);
  parts_->bottom->setTitleText(bottom);
}

void TChartCanvas::SetFixedRanges(double bottomMax, double leftMax) {
  parts_->bottom->setRange(0, bottomMax);
  parts_->left->setRange(0, leftMax);
  parts_->bottom->setTickType(QValueAxis::TicksFixed);
  parts_->bottom->setTickCount(5);
  parts_->left->setTickType(QValueAxis::TicksFixed);
  parts_->left->setTickCount(6);
}

void TChartCanvas::SetAutomaticRanges() {
  // Set from the bars' extent when they come.
  parts_->left->setTickCount(6);
}

void TChartCanvas::SetLine(TLine line, const std::vector<TChartPoint>& points,
                           const QColor& color) {
  QList<QPointF> xy;
  xy.reserve(static_cast<qsizetype>(points.size()));
  for (const TChartPoint& point : points) xy.append(QPointF(point.X, point.Y));
  QLineSeries* series = parts_->lines[line];
  series->setPen(LinePen(color));
  series->replace(xy);
  series->setVisible(true);
  SetMessage(QString());
}

void TChartCanvas::SetBars(const std::vector<TChartPoint>& points, int coins, const QColor& loss,
                           const QColor& push, const QColor& win) {
  TParts& p = *parts_;
  // Only the newest distribution is drawn.
  RemoveBars();
  if (points.empty()) return;
  // One area per run of bars of one class, drawn as steps.
  const auto colourOf = [&](const TChartPoint& point) {
    return point.Class == TPointClass::Loss ? loss : point.Class == TPointClass::Push ? push : win;
  };
  const double half = coins / 2.0;
  double top = 0;
  size_t i = 0;
  while (i < points.size()) {
    size_t end = i + 1;
    while (end < points.size() && points[end].Class == points[i].Class) ++end;
    auto* upper = new QLineSeries;
    upper->append(points[i].X - half, 0);
    for (size_t k = i; k < end; ++k) {
      upper->append(points[k].X - half, points[k].Y);
      upper->append(points[k].X + half, points[k].Y);
      top = std::max(top, points[k].Y);
    }
    upper->append(points[end - 1].X + half, 0);
    auto* area = new QAreaSeries(upper);
    upper->setParent(area);
    const QColor colour = colourOf(points[i]);
    area->setColor(colour);
    area->setBorderColor(colour.darker(130));
    area->setPointsVisible(points.size() <= 100);
    p.chart->addSeries(area);
    area->attachAxis(p.bottom);
    area->attachAxis(p.left);
    p.bars.push_back(area);
    i = end;
  }
  p.barCount = static_cast<int>(points.size());
  // A bar's width of room on either side.
  const double from = points.front().X - half - coins;
  const double to = points.back().X + half + coins;
  p.bottom->setRange(from, to);
  p.bottom->setTickType(QValueAxis::TicksDynamic);
  p.bottom->setTickAnchor(0);
  // Labels at whole multiples of the bar width, and round chances up the side.
  p.bottom->setTickInterval(NiceStep((to - from) / coins, kBottomLabels, 1) * coins);
  const double height = top > 0 ? top * 1.05 : 1;
  p.left->setRange(0, height);
  p.left->setTickType(QValueAxis::TicksDynamic);
  p.left->setTickAnchor(0);
  p.left->setTickInterval(NiceStep(height, kLeftLabels));
  SetMessage(QString());
}

void TChartCanvas::SetMoneyScale(double perCoin, const QString& title) {
  parts_->perCoin = perCoin;
  parts_->money->setTitleText(title);
  FollowBottom();
}

void TChartCanvas::FollowBottom() {
  // The money scale keeps the bottom axis's range and ticks, so both label the same lines.
  TParts& p = *parts_;
  p.money->setVisible(p.perCoin > 0);
  if (p.perCoin <= 0) return;
  p.money->setRange(p.bottom->min() * p.perCoin, p.bottom->max() * p.perCoin);
  p.money->setTickType(p.bottom->tickType());
  p.money->setTickCount(p.bottom->tickCount());
  p.money->setTickAnchor(p.bottom->tickAnchor() * p.perCoin);
  p.money->setTickInterval(p.bottom->tickInterval() * p.perCoin);
}

void TChartCanvas::SetMessage(const QString& text) {
  message_->setText(text);
  stack_->setCurrentIndex(text.isEmpty() ? 0 : 1);
}

QVector<QPointF> TChartCanvas::LinePoints(TLine line) const {
  const QLineSeries* series = parts_->lines[line];
  return series->isVisible() ? series->points() : QVector<QPointF>();
}

QColor TChartCanvas::LineColor(TLine line) const {
  return parts_->lines[line]->pen().color();
}

int TChartCanvas::BarCount() const {
  return parts_->barCount;
}

QPointF TChartCanvas::BottomRange() const {
  return {parts_->bottom->min(), parts_->bottom->max()};
}

QPointF TChartCanvas::LeftRange() const {
  return {parts_->left->min(), parts_->left->max()};
}

QPointF TChartCanvas::MoneyRange() const {
  if (!parts_->money->isVisible()) return {};
  return {parts_->money->min(), parts_->money->max()};
}

QPoint TChartCanvas::PositionOf(QPointF value) const {
  const TParts& p = *parts_;
  const QPointF scene = p.chart->mapToScene(p.chart->mapToPosition(value));
  return p.view->viewport()->mapTo(this, p.view->mapFromScene(scene));
}

QString TChartCanvas::Message() const {
  return message_->text();
}

void TChartCanvas::Render(QPainter& painter, const QRectF& target) {
  // The view scales the chart into the target itself.
  if (stack_->currentIndex() == 1) {
    message_->render(&painter, target.topLeft().toPoint());
    return;
  }
  // The chart lays out its axes and labels on a posted event after a change: a picture
  // taken before that event would show the ticks of before (the copy right after a chart is
  // drawn): lay it out now.
  if (QGraphicsLayout* layout = parts_->chart->layout()) layout->activate();
  parts_->view->render(&painter, target, parts_->view->viewport()->rect());
}

bool TChartCanvas::eventFilter(QObject* watched, QEvent* event) {
  if (watched == parts_->view->viewport()) {
    if (event->type() == QEvent::MouseMove) {
      const auto* mouse = static_cast<QMouseEvent*>(event);
      const QPointF scene = parts_->view->mapToScene(mouse->position().toPoint());
      const QPointF inChart = parts_->chart->mapFromScene(scene);
      if (parts_->chart->plotArea().contains(inChart)) {
        emit MouseAt(parts_->chart->mapToValue(inChart), mouse->globalPosition().toPoint());
      } else {
        emit MouseLeft();
      }
    } else if (event->type() == QEvent::Leave) {
      emit MouseLeft();
    }
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace tarnwick::app
