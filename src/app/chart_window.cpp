// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart_window.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProgressBar>
#include <QPushButton>
#include <QToolTip>
#include <QVBoxLayout>
#include <QWheelEvent>

#include "errors.h"
#include "help_browser.h"
#include "parts/chart_canvas.h"
#include "parts/chart_export.h"
#include "parts/chart_kinds.h"
#include "parts/gradient_label.h"
#include "parts/guard.h"
#include "parts/job_runner.h"
#include "parts/palette_colours.h"
#include "parts/progress_dialog.h"
#include "parts/qt_text.h"
#include "parts/window_place.h"
#include "session/preferences.h"

namespace tarnwick::app {

namespace {

constexpr int kPanelAfterMs = 1000;  // the progress panel shows for longer computations
constexpr int kEditMaximum = 99999;  // typed values beyond the ranges show in red

QString Text(const char* section, const char* key) {
  return Q(Preferences().Text(section, key));
}

// A small bar of a colour: a legend entry or, `height` high, a chance bar.
QLabel* ColourBar(QWidget* parent, const QColor& colour, int width, int height) {
  auto* bar = new QLabel(parent);
  bar->setFixedSize(width, height);
  bar->setStyleSheet(QStringLiteral("background-color: %1; border-radius: %2px;")
                         .arg(colour.name())
                         .arg(height / 3));
  return bar;
}

// A label of a chance, right-aligned and wide enough for "100.000%".
QLabel* FigureLabel(QWidget* parent, const QString& description) {
  auto* label = new QLabel(parent);
  label->setAccessibleDescription(description);
  label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  label->setMinimumWidth(label->fontMetrics().horizontalAdvance(QStringLiteral("100.000%")));
  return label;
}

int WheelStep(const QWheelEvent* wheel) {
  const int delta = wheel->angleDelta().y();
  return delta < 0 ? 1 : delta > 0 ? -1 : 0;
}

// The chance of a curve (in percent) after its last hand, as the chance labels show it.
QString FinalChance(const std::vector<TChartPoint>& curve) {
  return curve.empty() ? QString() : Q(ChanceLabel(curve.back().Y / 100));
}

}  // namespace

// What a computation hands the window.
struct TfmChart::TResult {
  int Chart = kExpectedGainKind;
  int Coins = 1;
  int Hands = 0;
  TResultDistribution Distribution;
  TCurves Curves;
  TRuinCurves Ruin;
};

TChartSpin::TChartSpin(QWidget* parent) : QSpinBox(parent) {
  setRange(0, kEditMaximum);
  setKeyboardTracking(true);
}

void TChartSpin::SetValid(bool valid) {
  valid_ = valid;
  ShowInvalid(this, !valid);
}

void TChartSpin::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Minus) return;
  QSpinBox::keyPressEvent(event);
}

void TChartSpin::stepBy(int steps) {
  if (LinesSteps) {
    int lines = value();
    for (int n = 0; n < std::abs(steps); ++n) lines = StepLines(lines, steps > 0 ? 1 : -1);
    setValue(lines);
    return;
  }
  if (!HandsSteps) {
    QSpinBox::stepBy(steps);
    return;
  }
  int hands = value();
  for (int n = 0; n < std::abs(steps); ++n) hands = StepHands(hands, steps > 0 ? 1 : -1);
  setValue(std::clamp(hands, 1, kMaxRunHands));
}

TfmChart::TfmChart(QWidget* parent, const TTableSnapshot& table, const QString& caption)
    : QDialog(parent),
      table_(table),
      settings_(ReadChartSettings(Preferences().Settings)),
      header_(new TGradientLabel(this)),
      canvas_(new TChartCanvas(this)),
      chartsHeader_(new TGradientLabel(this)),
      list_(new QListWidget(this)),
      optionsHeader_(new TGradientLabel(this)),
      gainPanel_(new QWidget(this)),
      winLostPanel_(new QWidget(this)),
      riskPanel_(new QWidget(this)),
      progressPanel_(new QWidget(this)),
      handsLabel_(new QLabel(gainPanel_)),
      hands_(new TChartSpin(gainPanel_)),
      winLostAfter_(new QLabel(winLostPanel_)),
      initialLabel_(new QLabel(riskPanel_)),
      desiredLabel_(new QLabel(riskPanel_)),
      initial_(new TChartSpin(riskPanel_)),
      desired_(new TChartSpin(riskPanel_)),
      riskAfter_(new QLabel(riskPanel_)),
      playPanel_(new QWidget(this)),
      linesLabel_(new QLabel(playPanel_)),
      lines_(new TChartSpin(playPanel_)),
      cashBackLabel_(new QLabel(playPanel_)),
      cashBack_(new QDoubleSpinBox(playPanel_)),
      playReturn_(new QLabel(playPanel_)),
      moneyPanel_(new QWidget(this)),
      coinValueLabel_(new QLabel(moneyPanel_)),
      coinValue_(new QDoubleSpinBox(moneyPanel_)),
      processing_(new QLabel(progressPanel_)),
      bar_(new QProgressBar(progressPanel_)),
      print_(new QPushButton(this)),
      copy_(new QPushButton(this)),
      save_(new QPushButton(this)),
      ok_(new QPushButton(this)),
      runner_(std::make_unique<TJobRunner>(TJobPolicy::NewestWins)) {
  AddHelpKey(this, THelpContext::Charts);
  table_.Coins = std::max(table_.Coins, 1);
  try {
    BuildOutcomeTable(table_.Table);
  } catch (const RangeError&) {
    notWholeBets_ = Text("Charts", "NotWholeBets");
  }
  if (table_.Game == nullptr) {
    static const TCatalogue catalogue = BuildCatalogue();
    table_.Game = FindGame(catalogue, table_.Table.GameId);
  }
  if (table_.Game != nullptr)
    source_ = std::make_shared<TChartOutcomes>(*table_.Game, table_.Table);

  // A label's accessible name is its text; the description tells it apart.
  header_->setAccessibleDescription(QStringLiteral("Chart name"));
  chartsHeader_->setAccessibleDescription(QStringLiteral("Charts header"));
  optionsHeader_->setAccessibleDescription(QStringLiteral("Options header"));
  list_->setAccessibleName(QStringLiteral("Charts"));
  list_->installEventFilter(this);
  list_->viewport()->installEventFilter(this);
  for (int chart = 0; chart < kChartKinds; ++chart) list_->addItem(QString());
  list_->setFixedHeight(list_->sizeHintForRow(0) * kChartKinds + 2 * list_->frameWidth() + 4);
  connect(list_, &QListWidget::currentRowChanged, this, [this](int row) {
    if (row >= 0 && row != current_) SelectChart(row);
  });

  // The expected-gain options: the hands, and the chances of each end.
  hands_->setAccessibleName(QStringLiteral("Hands played"));
  hands_->HandsSteps = true;
  auto* gain = new QGridLayout(gainPanel_);
  gain->setContentsMargins(0, 0, 0, 0);
  gain->addWidget(handsLabel_, 0, 0, 1, 2);
  gain->addWidget(hands_, 0, 2);
  const std::array<QColor, 3> chanceColours = {kWinGreen, kDrawTeal, kLossRed};
  const std::array<const char*, 3> chanceNames = {"Win", "Draw", "Loss"};
  for (int row = 0; row < 3; ++row) {
    chanceNames_[row] = new QLabel(gainPanel_);
    chanceBars_[row] = ColourBar(gainPanel_, chanceColours[row], 0, 12);
    chanceBars_[row]->setAccessibleName(QStringLiteral("%1 bar").arg(chanceNames[row]));
    chanceLabels_[row] = FigureLabel(gainPanel_, QStringLiteral("%1 chance").arg(chanceNames[row]));
    gain->addWidget(chanceNames_[row], 1 + 2 * row, 0, 1, 3);
    gain->addWidget(chanceBars_[row], 2 + 2 * row, 0, 1, 2, Qt::AlignLeft | Qt::AlignVCenter);
    gain->addWidget(chanceLabels_[row], 2 + 2 * row, 2);
  }
  gain->setColumnMinimumWidth(0, kChanceBarWidth / 2);
  gain->setColumnMinimumWidth(1, kChanceBarWidth / 2 + 4);
  connect(hands_, &QSpinBox::valueChanged, this, &TfmChart::HandsChanged);

  // The win/lost legend, each curve with its chance after the last hand.
  auto* legend = new QGridLayout(winLostPanel_);
  legend->setContentsMargins(0, 0, 0, 0);
  const std::array<QColor, 3> legendColours = {kWinGreen, kPushBlue, kLossRed};
  winLostAfter_->setAccessibleDescription(QStringLiteral("Final figures"));
  legend->addWidget(winLostAfter_, 0, 0, 1, 3);
  for (int row = 0; row < 3; ++row) {
    legendNames_[row] = new QLabel(winLostPanel_);
    legendNames_[row]->setWordWrap(true);  // a long name leaves room for its figure
    winLostFigures_[row] = FigureLabel(
        winLostPanel_, QStringLiteral("%1 chance after the last hand").arg(chanceNames[row]));
    legend->addWidget(ColourBar(winLostPanel_, legendColours[row], 24, 6), 1 + row, 0);
    legend->addWidget(legendNames_[row], 1 + row, 1);
    legend->addWidget(winLostFigures_[row], 1 + row, 2);
  }
  legend->setColumnStretch(1, 1);

  // The risk options: the two bankrolls and the legend.
  initial_->setAccessibleName(QStringLiteral("Initial bankroll"));
  desired_->setAccessibleName(QStringLiteral("Desired bankroll"));
  auto* risk = new QGridLayout(riskPanel_);
  risk->setContentsMargins(0, 0, 0, 0);
  const std::array<QLabel*, 2> bankrollLabels = {initialLabel_, desiredLabel_};
  const std::array<TChartSpin*, 2> bankrolls = {initial_, desired_};
  for (int row = 0; row < 2; ++row) {
    // The bankroll in coins, and beside it in money when a coin value is set.
    bankrollMoney_[row] = new QLabel(riskPanel_);
    bankrollMoney_[row]->setAccessibleDescription(bankrolls[row]->accessibleName() +
                                                  QStringLiteral(" in money"));
    auto* line = new QHBoxLayout;
    line->addWidget(bankrolls[row]);
    line->addWidget(bankrollMoney_[row], 1);
    risk->addWidget(bankrollLabels[row], 2 * row, 0, 1, 3);
    risk->addLayout(line, 2 * row + 1, 0, 1, 3);
  }
  // The legend, each curve with its chance after the last hand.
  riskAfter_->setAccessibleDescription(QStringLiteral("Final figures"));
  risk->addWidget(riskAfter_, 4, 0, 1, 3);
  const std::array<QColor, 2> riskColours = {kLossRed, kWinGreen};
  const std::array<const char*, 2> riskFigures = {"Risk of ruin", "Chance to hit"};
  for (int row = 0; row < 2; ++row) {
    riskNames_[row] = new QLabel(riskPanel_);
    riskNames_[row]->setWordWrap(true);  // a long name leaves room for its figure
    riskFigures_[row] =
        FigureLabel(riskPanel_, QStringLiteral("%1 after the last hand").arg(riskFigures[row]));
    risk->addWidget(ColourBar(riskPanel_, riskColours[row], 24, 6), 5 + row, 0);
    risk->addWidget(riskNames_[row], 5 + row, 1);
    risk->addWidget(riskFigures_[row], 5 + row, 2);
  }
  risk->setColumnStretch(1, 1);
  connect(initial_, &QSpinBox::valueChanged, this, &TfmChart::BankrollsChanged);
  connect(desired_, &QSpinBox::valueChanged, this, &TfmChart::BankrollsChanged);

  // How a hand is played: one deal on several lines, with cash back; for every chart.
  lines_->setAccessibleName(QStringLiteral("Lines per deal"));
  lines_->setRange(1, kMaxLines);
  lines_->LinesSteps = true;
  cashBack_->setAccessibleName(QStringLiteral("Cash back"));
  cashBack_->setRange(0, kMaxChartCashBack / 100.0);
  cashBack_->setDecimals(2);
  cashBack_->setSingleStep(0.1);
  auto* play = new QGridLayout(playPanel_);
  play->setContentsMargins(0, 0, 0, 0);
  for (QLabel* label : {linesLabel_, cashBackLabel_}) label->setWordWrap(true);
  play->addWidget(linesLabel_, 0, 0);
  play->addWidget(lines_, 0, 1);
  play->addWidget(cashBackLabel_, 1, 0);
  play->addWidget(cashBack_, 1, 1);
  playReturn_->setAccessibleDescription(QStringLiteral("Return with cash back"));
  playReturn_->setWordWrap(true);
  play->addWidget(playReturn_, 2, 0, 1, 2);
  play->setColumnStretch(0, 1);
  connect(lines_, &QSpinBox::valueChanged, this, &TfmChart::PlayChanged);
  connect(cashBack_, &QDoubleSpinBox::valueChanged, this, &TfmChart::PlayChanged);

  // The coin value: amounts in money as well as in coins.
  coinValue_->setAccessibleName(QStringLiteral("Coin value"));
  coinValue_->setRange(0, kMaxCoinValue / 100.0);
  coinValue_->setDecimals(2);
  coinValue_->setSingleStep(0.05);
  auto* money = new QHBoxLayout(moneyPanel_);
  money->setContentsMargins(0, 0, 0, 0);
  coinValueLabel_->setWordWrap(true);  // a long name is not cut by the edit beside it
  money->addWidget(coinValueLabel_);
  money->addStretch(1);
  money->addWidget(coinValue_);
  connect(coinValue_, &QDoubleSpinBox::valueChanged, this, &TfmChart::CoinValueChanged);

  processing_->setAccessibleDescription(QStringLiteral("Processing"));
  bar_->setAccessibleName(QStringLiteral("Progress"));
  bar_->setTextVisible(false);
  auto* progress = new QVBoxLayout(progressPanel_);
  progress->setContentsMargins(0, 0, 0, 0);
  progress->addWidget(processing_);
  progress->addWidget(bar_);
  progressPanel_->hide();

  auto* right = new QVBoxLayout;
  right->addWidget(chartsHeader_);
  right->addWidget(list_);
  right->addWidget(optionsHeader_);
  right->addWidget(gainPanel_);
  right->addWidget(winLostPanel_);
  right->addWidget(riskPanel_);
  right->addSpacing(6);
  right->addWidget(playPanel_);
  right->addWidget(moneyPanel_);
  right->addStretch(1);
  right->addWidget(progressPanel_);
  auto* rightSide = new QWidget(this);
  rightSide->setLayout(right);
  rightSide->setFixedWidth(std::max(230, fontMetrics().averageCharWidth() * 30));

  auto* left = new QVBoxLayout;
  left->addWidget(header_);
  left->addWidget(canvas_, 1);
  canvas_->setMinimumSize(600, 420);

  for (QPushButton* button : {print_, copy_, save_, ok_}) button->setAutoDefault(false);
  ok_->setDefault(true);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(print_);
  buttons->addWidget(copy_);
  buttons->addWidget(save_);
  buttons->addStretch(1);
  buttons->addWidget(ok_);

  auto* main = new QGridLayout(this);
  main->addLayout(left, 0, 0);
  main->addWidget(rightSide, 0, 1);
  main->addLayout(buttons, 1, 0, 1, 2);
  main->setSizeConstraint(QLayout::SetFixedSize);

  hasPrinter_ = !QPrinterInfo::availablePrinterNames().isEmpty();
  connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
  connect(copy_, &QPushButton::clicked, this, [this] { Guarded(this, [this] { CopyPicture(); }); });
  connect(save_, &QPushButton::clicked, this, [this] {
    QString filter;
    const QString path = QFileDialog::getSaveFileName(
        this, save_->accessibleName(), QString(),
        QStringLiteral("PNG (*.png);;Bitmap (*.bmp);;SVG (*.svg);;PDF (*.pdf);;CSV (*.csv)"),
        &filter);
    if (!path.isEmpty()) SaveTo(path, filter);
  });
  connect(print_, &QPushButton::clicked, this, [this] {
    // The default printer is the one the dialog offers first.
    QPrinter printer;
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() == QDialog::Accepted) Guarded(this, [&] { PrintTo(printer); });
  });
  auto* preview = new QAction(this);
  preview->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
  connect(preview, &QAction::triggered, this, [this] {
    if (!print_->isEnabled() || busy_) return;
    QPrintPreviewDialog dialog(this);
    connect(&dialog, &QPrintPreviewDialog::paintRequested, this,
            [this](QPrinter* printer) { PrintTo(*printer); });
    dialog.exec();
  });
  addAction(preview);
  auto* copyText = new QAction(this);
  copyText->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C));
  connect(copyText, &QAction::triggered, this,
          [this] { QApplication::clipboard()->setText(CopiedText()); });
  addAction(copyText);

  connect(canvas_, &TChartCanvas::MouseAt, this, &TfmChart::ShowHint);
  connect(canvas_, &TChartCanvas::MouseLeft, this, [this] {
    canvas_->setToolTip(QString());
    QToolTip::hideText();
  });

  schedule_.setSingleShot(true);
  schedule_.setInterval(kScheduleMs);
  connect(&schedule_, &QTimer::timeout, this, &TfmChart::RunPending);
  tick_.setInterval(50);
  connect(&tick_, &QTimer::timeout, this, &TfmChart::ShowProgress);

  ApplyTexts();
  setWindowTitle(caption.isEmpty() ? Caption(Preferences().WindowName("Charts")) : caption);
  {
    const QSignalBlocker quietHands(hands_);
    const QSignalBlocker quietInitial(initial_);
    const QSignalBlocker quietDesired(desired_);
    const QSignalBlocker quietMoney(coinValue_);
    const QSignalBlocker quietLines(lines_);
    const QSignalBlocker quietCashBack(cashBack_);
    lines_->setValue(settings_.Lines);
    cashBack_->setValue(settings_.CashBack / 100.0);
    hands_->setValue(settings_.Hands);
    initial_->setValue(settings_.Initial);
    desired_->setValue(settings_.Desired);
    coinValue_->setValue(settings_.CoinValue / 100.0);
  }
  ShowMoney();
  SetBusy(false);
  list_->setCurrentRow(settings_.Chart);
  RestoreWindowPlace(this, QStringLiteral("Charts"), parent);
}

TfmChart::~TfmChart() {
  SaveWindowPlace(this, QStringLiteral("Charts"));
  CancelComputation();
}

void TfmChart::ApplyTexts() {
  const TPreferences& preferences = Preferences();
  chartsHeader_->setText(Text("Charts", "ChartsHeader"));
  optionsHeader_->setText(Text("Charts", "OptionsHeader"));
  processing_->setText(Text("Charts", "Processing"));
  for (int chart = 0; chart < kChartKinds; ++chart)
    list_->item(chart)->setText(QStringLiteral(" ") + Text(kChartSections[chart], "Name"));
  handsLabel_->setText(Text("Charts.ExpectedGain", "HandsQty"));
  initialLabel_->setText(Text("Charts.RiskOfRuin", "InitBankroll"));
  desiredLabel_->setText(Text("Charts.RiskOfRuin", "DesiredBankroll"));
  const std::array<const char*, 3> chances = {"WinProb", "DrawProb", "LossProb"};
  for (int row = 0; row < 3; ++row) {
    chanceNames_[row]->setText(Text("Ratios", chances[row]));
    legendNames_[row]->setText(Text("Ratios", chances[row]));
  }
  // The win/lost legend lists the draw second: blue.
  riskNames_[0]->setText(Text("Ratios", "RiskOfRuin"));
  riskNames_[1]->setText(Text("Ratios", "ChanceOfSuccess"));
  const QString after =
      Q(FormatText(preferences.Text("Charts", "FinalFigures"), {std::to_string(kCurveHands)}));
  riskAfter_->setText(after);
  winLostAfter_->setText(after);
  linesLabel_->setText(Text("Charts", "Lines"));
  lines_->setToolTip(HintOf(preferences.HintText("Charts", "Lines")));
  cashBackLabel_->setText(Text("Charts", "CashBack"));
  cashBack_->setToolTip(HintOf(preferences.HintText("Charts", "CashBack")));
  ShowPlayReturn();
  coinValueLabel_->setText(Text("Charts", "CoinValue"));
  coinValue_->setSpecialValueText(Text("Charts", "CoinsOnly"));
  coinValue_->setToolTip(HintOf(preferences.HintText("Charts", "CoinValue")));
  const std::array<std::pair<QPushButton*, const char*>, 4> buttons = {
      {{print_, "Print"}, {copy_, "Copy"}, {save_, "Save"}, {ok_, "OK"}}};
  for (const auto& [button, key] : buttons) {
    button->setText(Q(preferences.ButtonText(key)));
    QString name = button->text();
    button->setAccessibleName(name.remove('&'));
    if (button != ok_) button->setToolTip(HintOf(preferences.HintText("Buttons", key)));
  }
}

void TfmChart::SelectChart(int index) {
  current_ = index;
  settings_.Chart = index;
  CancelComputation();
  header_->setText(Text(kChartSections[index], "Name").toUpper());
  canvas_->Clear();
  drawn_ = false;
  distribution_ = {};
  curves_ = {};
  ruin_ = {};
  ClearFigures();
  canvas_->SetAxisTitles(Text(kChartSections[index], "LeftAxis"),
                         Text(kChartSections[index], "BottomAxis"));
  gainPanel_->setVisible(index == kExpectedGainKind);
  riskPanel_->setVisible(index == kRiskOfRuinKind);
  winLostPanel_->setVisible(index == kWinLostKind);
  moneyPanel_->setVisible(index != kWinLostKind);  // the win/lost chart has no amounts
  if (index == kExpectedGainKind) {
    canvas_->SetAutomaticRanges();
  } else {
    canvas_->SetFixedRanges(kCurveHands, 100);
  }
  if (list_->currentRow() != index) {
    const QSignalBlocker quiet(list_);
    list_->setCurrentRow(index);
  }
  // The options of the chart decide whether it can be computed.
  if (index == kExpectedGainKind) {
    HandsChanged();
  } else if (index == kRiskOfRuinKind) {
    BankrollsChanged();
  } else {
    Schedule(kSelectJob);
  }
}

void TfmChart::Schedule(TJob job) {
  // A computation that runs stops at its next step; the newest request starts from the
  // timer once no mouse button is held (a spin button held down steps on meanwhile).
  CancelComputation();
  pending_ = job;
  schedule_.start();
  UpdateExports();
}

void TfmChart::RunPending() {
  if (QApplication::mouseButtons() != Qt::NoButton) {
    schedule_.start();
    return;
  }
  const TJob job = pending_;
  pending_ = kNoJob;
  if (job != kNoJob) Start(current_);
}

void TfmChart::ClearChart() {
  CancelComputation();
  pending_ = kNoJob;
  schedule_.stop();
  canvas_->Clear();
  drawn_ = false;
  UpdateExports();
  distribution_ = {};
  curves_ = {};
  ruin_ = {};
  ClearFigures();
}

void TfmChart::ClearFigures() {
  for (int row = 0; row < 3; ++row) {
    chanceBars_[row]->setFixedWidth(0);
    chanceLabels_[row]->clear();
    winLostFigures_[row]->clear();
  }
  for (QLabel* figure : riskFigures_) figure->clear();
}

void TfmChart::HandsChanged() {
  const bool valid = HandsValid(hands_->value());
  hands_->SetValid(valid);
  if (!valid) {
    // What is wrong, where the chart was.
    ClearChart();
    canvas_->SetMessage(Q(FormatText(Preferences().Text("Charts.ExpectedGain", "HandsRange"),
                                     {std::to_string(kMaxRunHands)})));
    return;
  }
  settings_.Hands = hands_->value();
  if (current_ != kExpectedGainKind) return;
  if (notWholeBets_.isEmpty()) canvas_->SetMessage(QString());
  Schedule(kGainJob);
}

void TfmChart::BankrollsChanged() {
  const TBankrollCheck check = CheckBankrolls(initial_->value(), desired_->value());
  initial_->SetValid(check.InitialValid);
  desired_->SetValid(check.DesiredValid);
  ShowMoney();  // the money beside a bankroll follows it, valid or not
  if (!check.Valid()) {
    // What is wrong, where the chart was.
    ClearChart();
    const TPreferences& preferences = Preferences();
    canvas_->SetMessage(
        check.InRange
            ? Q(FormatText(preferences.Text("Charts.RiskOfRuin", "InitialAboveDesired"),
                           {std::to_string(initial_->value()), std::to_string(desired_->value())}))
            : Q(FormatText(preferences.Text("Charts.RiskOfRuin", "BankrollRange"),
                           {std::to_string(kMaxBankroll)})));
    return;
  }
  settings_.Initial = initial_->value();
  settings_.Desired = desired_->value();
  if (current_ != kRiskOfRuinKind) return;
  if (notWholeBets_.isEmpty()) canvas_->SetMessage(QString());
  Schedule(kRiskJob);
}

void TfmChart::ShowPlayReturn() {
  // Cash back adds its rate to the return; the lines change nothing in it.
  const double percent =
      100 * static_cast<double>(table_.Table.Return) + settings_.CashBack / 100.0;
  playReturn_->setText(Q(FormatText(
      Preferences().Text("Charts", settings_.CashBack > 0 ? "ReturnWithCashBack" : "Return"),
      {S(QString::number(percent, 'f', 4))})));
}

void TfmChart::PlayChanged() {
  settings_.Lines = lines_->value();
  settings_.CashBack = static_cast<int>(std::lround(cashBack_->value() * 100));
  ShowPlayReturn();
  // The chart shown is computed again, if its own options allow it.
  if (current_ == kExpectedGainKind) {
    HandsChanged();
  } else if (current_ == kRiskOfRuinKind) {
    BankrollsChanged();
  } else if (current_ == kWinLostKind) {
    Schedule(kSelectJob);
  }
}

void TfmChart::CoinValueChanged() {
  settings_.CoinValue = static_cast<int>(std::lround(coinValue_->value() * 100));
  ShowMoney();
}

void TfmChart::ShowMoney() {
  // Nothing is computed again: the coin value only relabels what is there.
  const int value = settings_.CoinValue;
  const std::array<TChartSpin*, 2> bankrolls = {initial_, desired_};
  for (int row = 0; row < 2; ++row) {
    bankrollMoney_[row]->setText(value > 0
                                     ? Q(FormatText(Preferences().Text("Charts", "Money"),
                                                    {MoneyText(bankrolls[row]->value(), value)}))
                                     : QString());
  }
  const bool bars = current_ == kExpectedGainKind && !distribution_.Points.empty();
  canvas_->SetMoneyScale(bars ? value / 100.0 : 0, Text("Charts.ExpectedGain", "MoneyAxis"));
}

void TfmChart::CancelComputation() {
  // A cancelled computation stops at its next progress step, within a hundred hands; its
  // result is dropped.
  runner_->Cancel();
  progress_.reset();
  SetBusy(false);
}

void TfmChart::Start(int chart) {
  CancelComputation();
  if (!notWholeBets_.isEmpty()) {
    canvas_->SetMessage(notWholeBets_);
    return;
  }
  auto result = std::make_shared<TResult>();
  result->Chart = chart;
  result->Coins = table_.Coins;
  result->Hands = hands_->value();
  const int initial = initial_->value();
  const int desired = desired_->value();
  // A failure names the chart as the list does, in the language in use.
  const std::string name = S(list_->item(chart)->text());
  const int lines = settings_.Lines;
  const double cashBack = settings_.CashBack / 100.0;
  progress_ = runner_->Start(
      [result, initial, desired, name, lines, cashBack, source = source_,
       table = table_.Table](TProgress& progress) {
        // One line without cash back needs no deal groups (nor a game).
        const TOutcomeTable outcomes =
            source != nullptr ? source->For(lines, cashBack, progress) : BuildOutcomeTable(table);
        if (result->Chart == kExpectedGainKind) {
          ComputeResultDistribution(outcomes, result->Hands, result->Coins, result->Distribution,
                                    progress, name);
        } else if (result->Chart == kRiskOfRuinKind) {
          ComputeRiskOfRuin(outcomes, initial, desired, result->Coins, result->Ruin, progress,
                            name);
        } else {
          ComputeWinPushLoss(outcomes, result->Curves, progress, name);
        }
      },
      [this, result] { Finish(*result); },
      [this](const std::exception_ptr& failure) {
        progress_.reset();
        SetBusy(false);
        ReportError(this, FailureText(failure));
      });
  SetBusy(true);
  emit Started(chart);
}

void TfmChart::Finish(const TResult& result) {
  progress_.reset();
  SetBusy(false);
  if (result.Chart == kExpectedGainKind) {
    distribution_ = result.Distribution;
    distributionCoins_ = result.Coins;
    distributionHands_ = result.Hands;
    canvas_->SetBars(distribution_.Points, result.Coins, kLossRed, kDrawTeal, kWinGreen);
    ShowMoney();
    const std::array<double, 3> chances = {distribution_.Win, distribution_.Push,
                                           distribution_.Loss};
    for (int row = 0; row < 3; ++row) {
      chanceBars_[row]->setFixedWidth(ChanceBarWidth(chances[row]));
      chanceLabels_[row]->setText(Q(tarnwick::ChanceLabel(chances[row])));
    }
  } else if (result.Chart == kRiskOfRuinKind) {
    ruin_ = result.Ruin;
    // The ruin in the red of a loss, the hit in the green of a win.
    canvas_->SetLine(TChartCanvas::kWinLine, ruin_.Ruin, kLossRed);
    canvas_->SetLine(TChartCanvas::kLoseLine, ruin_.Hit, kWinGreen);
    riskFigures_[0]->setText(FinalChance(ruin_.Ruin));
    riskFigures_[1]->setText(FinalChance(ruin_.Hit));
  } else {
    curves_ = result.Curves;
    canvas_->SetLine(TChartCanvas::kWinLine, curves_.Win, kWinGreen);
    canvas_->SetLine(TChartCanvas::kLoseLine, curves_.Loss, kLossRed);
    canvas_->SetLine(TChartCanvas::kPushLine, curves_.Push, kPushBlue);
    winLostFigures_[0]->setText(FinalChance(curves_.Win));
    winLostFigures_[1]->setText(FinalChance(curves_.Push));
    winLostFigures_[2]->setText(FinalChance(curves_.Loss));
  }
  drawn_ = true;
  UpdateExports();
}

void TfmChart::SetBusy(bool busy) {
  busy_ = busy;
  UpdateExports();
  if (busy) {
    clock_.start();
    panelShown_ = false;
    bar_->setValue(0);
    tick_.start();
  } else {
    tick_.stop();
    progressPanel_->hide();
  }
}

void TfmChart::UpdateExports() {
  // Only a finished chart is printed, copied or saved: not one being computed, nor one
  // cleared while its next computation waits for the timer.
  const bool ready = drawn_ && !busy_ && pending_ == kNoJob;
  copy_->setEnabled(ready);
  save_->setEnabled(ready);
  print_->setEnabled(ready && hasPrinter_);
}

void TfmChart::ShowProgress() {
  if (!progress_) return;
  const int64_t total = progress_->Total();
  const int64_t done = progress_->Done();
  if (!panelShown_ && done > 20 && total > 0) {
    // Shown once the whole computation looks like taking more than a second.
    if (clock_.elapsed() * total / done > kPanelAfterMs) {
      panelShown_ = true;
      progressPanel_->show();
    }
  }
  bar_->setRange(0, static_cast<int>(std::max<int64_t>(total, 1)));
  bar_->setValue(static_cast<int>(std::min(done, std::max<int64_t>(total, 1))));
}

QString TfmChart::HintAt(QPointF value) const {
  if (current_ != kExpectedGainKind || distribution_.Points.empty()) return {};
  const int bar = BarAt(distribution_.Points, value.x(), distributionCoins_);
  if (bar < 0) return {};
  const TPreferences& preferences = Preferences();
  const char* const section = "Charts.ExpectedGain";
  const TBarHintTexts texts{
      preferences.Text(section, "HintWin"), preferences.Text(section, "HintLose"),
      preferences.Text(section, "HintWinMoney"), preferences.Text(section, "HintLoseMoney")};
  return Q(BarHint(distribution_.Points[static_cast<size_t>(bar)], settings_.CoinValue, texts));
}

void TfmChart::ShowHint(QPointF value, QPoint global) {
  const QString hint = HintAt(value);
  canvas_->setToolTip(hint);
  if (hint.isEmpty()) {
    QToolTip::hideText();
  } else {
    QToolTip::showText(global, hint, canvas_);
  }
}

QImage TfmChart::Picture() const {
  return ChartPicture(*canvas_, devicePixelRatioF());
}

void TfmChart::CopyPicture() {
  QApplication::clipboard()->setImage(Picture());
}

QString TfmChart::PointsText() const {
  QString text;
  const auto number = [](double value) { return QString::number(value, 'g', 12); };
  if (current_ == kExpectedGainKind) {
    // The result in money too, when a coin value is set.
    const int value = settings_.CoinValue;
    text += value > 0 ? QStringLiteral("Result, coins\tResult, money\tProbability, %\n")
                      : QStringLiteral("Result, coins\tProbability, %\n");
    for (const TChartPoint& point : distribution_.Points) {
      const long result = std::lround(point.X);
      text += QString::number(result) + '\t';
      if (value > 0) text += Q(MoneyText(result, value)) + '\t';
      text += number(point.Y) + '\n';
    }
  } else if (current_ == kRiskOfRuinKind) {
    text += QStringLiteral("Hand\tRisk of ruin, %\tChance to hit, %\n");
    for (size_t i = 0; i < ruin_.Ruin.size(); ++i)
      text += number(ruin_.Ruin[i].X) + '\t' + number(ruin_.Ruin[i].Y) + '\t' +
              number(ruin_.Hit[i].Y) + '\n';
  } else {
    text += QStringLiteral("Hand\tWin, %\tPush, %\tLoss, %\n");
    for (size_t i = 0; i < curves_.Win.size(); ++i)
      text += number(curves_.Win[i].X) + '\t' + number(curves_.Win[i].Y) + '\t' +
              number(curves_.Push[i].Y) + '\t' + number(curves_.Loss[i].Y) + '\n';
  }
  return text;
}

QString TfmChart::CopiedText() const {
  if (!drawn_) return PointsText();
  // The figures beside the chart, a name and a value a line, as the window shows them.
  QString text;
  const auto add = [&text](const QLabel* name, const QLabel* value) {
    text += name->text() + '\t' + value->text() + '\n';
  };
  if (current_ == kExpectedGainKind) {
    text += Q(FormatText(Preferences().Text("Charts", "FinalFigures"),
                         {std::to_string(distributionHands_)})) +
            '\n';
    for (int row = 0; row < 3; ++row) add(chanceNames_[row], chanceLabels_[row]);
  } else if (current_ == kRiskOfRuinKind) {
    text += riskAfter_->text() + '\n';
    for (int row = 0; row < 2; ++row) add(riskNames_[row], riskFigures_[row]);
  } else {
    text += winLostAfter_->text() + '\n';
    for (int row = 0; row < 3; ++row) add(legendNames_[row], winLostFigures_[row]);
  }
  return text + '\n' + PointsText();
}

bool TfmChart::SaveTo(const QString& path, const QString& filter) {
  return Guarded(this, [&] {
    try {
      SaveChart(*canvas_, WithChartExtension(path, filter), windowTitle().trimmed(), PointsText(),
                devicePixelRatioF());
    } catch (...) {
      RethrowWithLine("Error calc chart data(Save Chart)");
    }
  });
}

void TfmChart::PrintTo(QPrinter& printer) {
  PrintChart(*canvas_, printer);
}

void TfmChart::done(int result) {
  // Closing stops a computation that runs; the window remembers its options.
  schedule_.stop();
  pending_ = kNoJob;
  CancelComputation();
  WriteChartSettings(Preferences().Settings, settings_);
  QDialog::done(result);
}

void TfmChart::keyPressEvent(QKeyEvent* event) {
  QDialog::keyPressEvent(event);
}

bool TfmChart::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Wheel && (watched == list_ || watched == list_->viewport())) {
    const int row = list_->currentRow() + WheelStep(static_cast<QWheelEvent*>(event));
    if (row >= 0 && row < list_->count() && row != current_) list_->setCurrentRow(row);
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace tarnwick::app
