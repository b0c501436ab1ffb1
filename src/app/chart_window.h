// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The charts window: the distribution of the net result after a number of hands with the
// chances of being ahead, even or behind; the risk of ruin against the chance to reach a
// desired bankroll; the chances of being ahead, even or behind over 2000 hands. Every chart
// is computed on a newest-wins job runner; a newer request cancels the one running, and only
// the newest result is drawn. Print, copy and save work on the chart shown.

#include <QDialog>
#include <QElapsedTimer>
#include <QSpinBox>
#include <QTimer>
#include <memory>

#include "session/chart_rules.h"
#include "session/model_controller.h"

class QDoubleSpinBox;
class QLabel;
class QListWidget;
class QPrinter;
class QProgressBar;
class QPushButton;

namespace tarnwick::app {

class TChartCanvas;
class TGradientLabel;
class TJobRunner;
class TSharedProgress;

// A spin edit that shows any typed value (the window marks one out of range in red) and
// ignores "-".
class TChartSpin : public QSpinBox {
  Q_OBJECT

 public:
  explicit TChartSpin(QWidget* parent = nullptr);
  // Its text in red (out of range) or in the normal colour.
  void SetValid(bool valid);
  bool Valid() const { return valid_; }
  // The hands edit steps ten at a time from 10 upwards.
  bool HandsSteps = false;
  // The lines edit steps through 1, 3, 5, 10, 50 and 100.
  bool LinesSteps = false;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void stepBy(int steps) override;

 private:
  bool valid_ = true;
};

class TfmChart : public QDialog {
  Q_OBJECT

 public:
  // A computation starts this long after the last change of an option, so that typing
  // "4000" does not start one for 4, 40 and 400 first.
  static constexpr int kScheduleMs = 100;

  TfmChart(QWidget* parent, const TTableSnapshot& table, const QString& caption);
  ~TfmChart() override;
  TfmChart(const TfmChart&) = delete;
  TfmChart& operator=(const TfmChart&) = delete;

  QListWidget* ChartList() const { return list_; }
  TChartCanvas* Canvas() const { return canvas_; }
  TChartSpin* HandsEdit() const { return hands_; }
  TChartSpin* InitialEdit() const { return initial_; }
  TChartSpin* DesiredEdit() const { return desired_; }
  QDoubleSpinBox* CoinValueEdit() const { return coinValue_; }
  TChartSpin* LinesEdit() const { return lines_; }
  QDoubleSpinBox* CashBackEdit() const { return cashBack_; }
  QLabel* PlayReturn() const { return playReturn_; }
  QLabel* BankrollMoney(int row) const { return bankrollMoney_[row]; }  // initial, desired
  QLabel* ChanceLabel(int row) const { return chanceLabels_[row]; }     // win, draw, loss
  QLabel* ChanceBar(int row) const { return chanceBars_[row]; }
  QLabel* RiskFigure(int row) const { return riskFigures_[row]; }        // ruin, hit
  QLabel* WinLostFigure(int row) const { return winLostFigures_[row]; }  // win, draw, loss
  QWidget* ProgressPanel() const { return progressPanel_; }
  QPushButton* PrintButton() const { return print_; }
  QPushButton* CopyButton() const { return copy_; }
  QPushButton* SaveButton() const { return save_; }
  QPushButton* OkButton() const { return ok_; }
  // Whether a computation runs whose result has not been drawn yet.
  bool Busy() const { return busy_ || schedule_.isActive(); }
  // Whether a computation runs on the worker now.
  bool Computing() const { return busy_; }
  int CurrentChart() const { return current_; }
  const TResultDistribution& Distribution() const { return distribution_; }
  // The hint of the chart under a point of the chart's values (empty without a bar there).
  QString HintAt(QPointF value) const;

  // Writes the chart to a file: the extension decides the format (png, bmp, svg, pdf, csv),
  // a name without one gets that of `filter`. A failure is reported.
  bool SaveTo(const QString& path, const QString& filter = QString());
  void CopyPicture();
  // The chart's points as tab-separated text.
  QString PointsText() const;
  // What Ctrl+Shift+C copies: the figures beside the chart after its last hand, then its
  // points.
  QString CopiedText() const;
  void PrintTo(QPrinter& printer);

 public slots:
  void done(int result) override;

 signals:
  // A computation of a chart (0 expected gain, 1 risk of ruin, 2 win/lost) has started.
  void Started(int chart);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  enum TJob { kNoJob = -1, kSelectJob = 0, kGainJob = 1, kRiskJob = 2 };
  struct TResult;

  void ApplyTexts();
  void SelectChart(int index);
  void Schedule(TJob job);
  void RunPending();
  void Start(int chart);
  void CancelComputation();
  void Finish(const TResult& result);
  void ShowProgress();
  void SetBusy(bool busy);
  void UpdateExports();
  void ClearChart();
  void ClearFigures();
  void HandsChanged();
  void BankrollsChanged();
  void CoinValueChanged();
  void PlayChanged();
  void ShowPlayReturn();
  void ShowMoney();
  QImage Picture() const;
  void ShowHint(QPointF value, QPoint global);

  TTableSnapshot table_;
  TChartSettings settings_;
  QString notWholeBets_;  // the message shown instead of any chart, when the pays need it
  TGradientLabel* header_;
  TChartCanvas* canvas_;
  TGradientLabel* chartsHeader_;
  QListWidget* list_;
  TGradientLabel* optionsHeader_;
  QWidget* gainPanel_;
  QWidget* winLostPanel_;
  QWidget* riskPanel_;
  QWidget* progressPanel_;
  QLabel* handsLabel_;
  TChartSpin* hands_;
  std::array<QLabel*, 3> chanceNames_{};
  std::array<QLabel*, 3> chanceBars_{};
  std::array<QLabel*, 3> chanceLabels_{};
  std::array<QLabel*, 3> legendNames_{};
  QLabel* winLostAfter_;
  std::array<QLabel*, 3> winLostFigures_{};
  QLabel* initialLabel_;
  QLabel* desiredLabel_;
  TChartSpin* initial_;
  TChartSpin* desired_;
  std::array<QLabel*, 2> riskNames_{};
  QLabel* riskAfter_;
  std::array<QLabel*, 2> riskFigures_{};
  std::array<QLabel*, 2> bankrollMoney_{};
  QWidget* playPanel_;
  QLabel* linesLabel_;
  TChartSpin* lines_;
  QLabel* cashBackLabel_;
  QDoubleSpinBox* cashBack_;
  QLabel* playReturn_;  // the table's return, with the cash back
  QWidget* moneyPanel_;
  QLabel* coinValueLabel_;
  QDoubleSpinBox* coinValue_;
  QLabel* processing_;
  QProgressBar* bar_;
  QPushButton* print_;
  QPushButton* copy_;
  QPushButton* save_;
  QPushButton* ok_;
  bool hasPrinter_ = false;

  int current_ = -1;
  TJob pending_ = kNoJob;
  QTimer schedule_;
  QTimer tick_;
  QElapsedTimer clock_;
  bool busy_ = false;
  bool drawn_ = false;  // a finished chart is shown
  bool panelShown_ = false;
  // The outcomes of a hand for the lines and cash back chosen; shared with the jobs.
  std::shared_ptr<TChartOutcomes> source_;
  std::unique_ptr<TJobRunner> runner_;
  std::shared_ptr<TSharedProgress> progress_;  // of the job running
  TResultDistribution distribution_;
  int distributionCoins_ = 1;
  int distributionHands_ = 0;
  TCurves curves_;
  TRuinCurves ruin_;
};

}  // namespace tarnwick::app
