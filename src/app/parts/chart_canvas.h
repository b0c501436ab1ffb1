// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The drawing of the charts window: three line series, the bars of a result distribution,
// two value axes and a message in place of the chart. This is the one file that knows the
// chart library; the window speaks to it only through this class.

#include <QColor>
#include <QPointF>
#include <QVector>
#include <QWidget>
#include <memory>
#include <vector>

#include "stats/bankroll.h"

class QLabel;
class QPainter;
class QStackedLayout;

namespace tarnwick::app {

class TChartCanvas : public QWidget {
  Q_OBJECT

 public:
  enum TLine { kWinLine = 0, kLoseLine = 1, kPushLine = 2 };
  static constexpr int kLines = 3;

  explicit TChartCanvas(QWidget* parent = nullptr);
  ~TChartCanvas() override;
  TChartCanvas(const TChartCanvas&) = delete;
  TChartCanvas& operator=(const TChartCanvas&) = delete;

  // Removes every point and the message.
  void Clear();
  void SetAxisTitles(const QString& left, const QString& bottom);
  // Both axes from 0 to their maximum; automatic axes follow the points.
  void SetFixedRanges(double bottomMax, double leftMax);
  void SetAutomaticRanges();
  // A line with its points (x, y) in its colour, shown.
  void SetLine(TLine line, const std::vector<TChartPoint>& points, const QColor& color);
  // The bars of a result distribution in place of any before: each point the middle of a bar
  // `coins` wide; bars of a loss, an even result and a win in their colours.
  void SetBars(const std::vector<TChartPoint>& points, int coins, const QColor& loss,
               const QColor& push, const QColor& win);
  // A second scale under the bottom axis that reads its values times `perCoin` (0 hides
  // it): the results of a distribution in money as well as in coins.
  void SetMoneyScale(double perCoin, const QString& title);
  // A text in place of the chart (empty: the chart again).
  void SetMessage(const QString& text);

  // What is drawn, for the window's tests.
  QVector<QPointF> LinePoints(TLine line) const;
  QColor LineColor(TLine line) const;
  int BarCount() const;
  QPointF BottomRange() const;
  QPointF LeftRange() const;
  QPointF MoneyRange() const;  // (0, 0) while hidden
  // Where a point of the chart's values lies on this widget.
  QPoint PositionOf(QPointF value) const;
  QString Message() const;

  // Draws the chart into `target` of a painter (a picture, a printer page, an SVG or PDF).
  void Render(QPainter& painter, const QRectF& target);

 signals:
  // The mouse is over the plot at these chart values (x, y), at `global` on the screen;
  // Left when it is not.
  void MouseAt(QPointF value, QPoint global);
  void MouseLeft();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct TParts;
  void FollowBottom();
  void RemoveBars();

  std::unique_ptr<TParts> parts_;
  QStackedLayout* stack_;
  QLabel* message_;
};

}  // namespace tarnwick::app
