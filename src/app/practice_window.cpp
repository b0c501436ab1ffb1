// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "practice_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

#include "all_hands_window.h"
#include "errors.h"
#include "help_browser.h"
#include "parts/card_slot.h"
#include "parts/guard.h"
#include "parts/job_runner.h"
#include "parts/qt_text.h"
#include "parts/window_place.h"
#include "session/practice_file.h"
#include "session/preferences.h"

namespace tarnwick::app {

namespace {

// The longest seed the seed box takes, in digits.
constexpr int kSeedDigits = 18;

// A language text with its "%s" filled in order.
QString Filled(const std::string& text, const QStringList& values) {
  std::vector<std::string> arguments;
  for (const QString& value : values) arguments.push_back(S(value));
  return Q(FormatText(text, arguments));
}

QString Bets(long double value) {
  return Q(BetsText(value));
}

QString Percent(long double share) {
  return Q(PercentText(share)) + QLatin1Char('%');
}

QTableWidget* MakeList(QWidget* parent, const QString& name, int columns) {
  auto* list = new QTableWidget(0, columns, parent);
  list->setAccessibleName(name);
  list->setTabKeyNavigation(false);  // Tab leaves the list; the arrows move in it
  list->setSelectionBehavior(QAbstractItemView::SelectRows);
  list->setSelectionMode(QAbstractItemView::SingleSelection);
  list->setEditTriggers(QAbstractItemView::NoEditTriggers);
  list->verticalHeader()->hide();
  list->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  list->horizontalHeader()->setStretchLastSection(true);
  return list;
}

void AppendRow(QTableWidget* list, const QStringList& cells) {
  const int row = list->rowCount();
  list->insertRow(row);
  for (int column = 0; column < cells.size(); ++column) {
    auto* item = new QTableWidgetItem(cells[column]);
    if (column > 0) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    list->setItem(row, column, item);
  }
}

QDoubleSpinBox* MakeBets(QWidget* parent) {
  auto* box = new QDoubleSpinBox(parent);
  box->setDecimals(3);
  box->setRange(0, kMaxOptionBets);
  box->setSingleStep(0.01);
  return box;
}

// A line's five cards side by side, small; the positions of the mask `hidden` show the
// card's back (before the draw only the held cards are known).
QPixmap SmallCards(const TCardPainter& painter, const std::array<int32_t, kHandSize>& cards,
                   int hidden, int wildRank) {
  constexpr int kGap = 3;
  constexpr int kBack = -3;  // any negative code that is no joker
  std::array<QImage, kHandSize> images;
  for (int i = 0; i < kHandSize; ++i) {
    const int code = BitSet(hidden, i) ? kBack : cards[static_cast<size_t>(i)];
    images[static_cast<size_t>(i)] = painter.Card(code, false, IsWildCard(code, wildRank));
  }
  const QSizeF card = images[0].deviceIndependentSize();
  const qreal ratio = painter.DevicePixelRatio();
  QPixmap row(
      QSizeF((card.width() * kHandSize + kGap * (kHandSize - 1)) * ratio, card.height() * ratio)
          .toSize());
  row.setDevicePixelRatio(ratio);
  row.fill(Qt::transparent);
  QPainter paint(&row);
  for (int i = 0; i < kHandSize; ++i)
    paint.drawImage(QPointF(i * (card.width() + kGap), 0), images[static_cast<size_t>(i)]);
  return row;
}

// The line of a table: the main window's title of it, its pays and the coins played.
QString TableText(const QString& title, const TPayout& table, int coins) {
  return Filled(Preferences().Text("Practice", "Table"),
                {title, Q(PaysText(table, '/')), QString::number(coins)});
}

// Fixes the box's width to its longest seed in its font, figured as QLineEdit figures its
// own size, so that no layout squeezes a seed out of sight.
void FitSeedBox(QLineEdit* box) {
  const QFontMetrics metrics(box->font());
  int digit = 0;
  for (char c = '0'; c <= '9'; ++c)
    digit = std::max(digit, metrics.horizontalAdvance(QLatin1Char(c)));
  const QMargins margins = box->textMargins();
  constexpr int kInnerMargin = 2;  // QLineEdit's own space either side of the text
  const int text = digit * kSeedDigits + 2 * kInnerMargin + margins.left() + margins.right() +
                   box->style()->pixelMetric(QStyle::PM_TextCursorWidth, nullptr, box);
  QStyleOptionFrame option;
  option.initFrom(box);
  option.lineWidth = box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, box);
  option.state |= QStyle::State_Sunken;
  const QSize size = box->style()->sizeFromContents(QStyle::CT_LineEdit, &option,
                                                    QSize(text, metrics.height()), box);
  box->setFixedWidth(size.width());
}

// The levels of the strategy box, after "none".
constexpr std::array<TStrategyLevel, 4> kLevels = {
    TStrategyLevel::Beginner, TStrategyLevel::Intermediate, TStrategyLevel::Advanced,
    TStrategyLevel::Expert};
constexpr std::array<const char*, 4> kLevelKeys = {"LevelBeginner", "LevelIntermediate",
                                                   "LevelAdvanced", "LevelExpert"};
// How often the progress of a strategy being made is shown, in milliseconds.
constexpr int kStrategyTick = 100;

TStrategy GenerateStrategyFor(const TPokerDescription& game, const TPayout& table,
                              TStrategyLevel level, TProgress& progress) {
  return GenerateForTable(game, table, LevelLines(level), &progress).Strategy;
}

}  // namespace

TfmPractice::TfmPractice(QWidget* parent, TModelController& controller)
    : QDialog(parent),
      controller_(controller),
      runner_(std::make_unique<TJobRunner>(TJobPolicy::NewestWins)),
      strategyMaker_(GenerateStrategyFor),
      folder_(controller.DataFolder()),
      painter_(devicePixelRatioF()),
      smallPainter_(devicePixelRatioF(), QStringLiteral(":/cards"), 0.5),
      table_(new QLabel(this)),
      seedLabel_(new QLabel(this)),
      seed_(new QLineEdit(this)),
      newSession_(new QPushButton(this)),
      draw_(new QPushButton(this)),
      result_(new QLabel(this)),
      verdict_(new QLabel(this)),
      showMe_(new QLabel(this)),
      follow_(new QLabel(this)),
      warn_(new QCheckBox(this)),
      warnBets_(MakeBets(this)),
      hard_(new QCheckBox(this)),
      hardBets_(MakeBets(this)),
      holdAll_(new QCheckBox(this)),
      strategyLabel_(new QLabel(this)),
      strategyBox_(new QComboBox(this)),
      strategyBar_(new QProgressBar(this)),
      strategyCancel_(new QPushButton(this)),
      strategyNote_(new QLabel(this)),
      drill_(new QCheckBox(this)),
      linesLabel_(new QLabel(this)),
      lines_(new QComboBox(this)),
      linesArea_(new QScrollArea(this)),
      total_(new QLabel(this)),
      tabs_(new QTabWidget(this)),
      mistakes_(MakeList(this, QStringLiteral("Mistakes"), 4)),
      byLine_(MakeList(this, QStringLiteral("Mistakes by line"), 4)),
      history_(MakeList(this, QStringLiteral("Past sessions"), 9)),
      damaged_(new QLabel(this)) {
  AddHelpKey(this, THelpContext::Practice);
  const TPreferences& preferences = Preferences();
  setAccessibleName(QStringLiteral("Practice"));
  setAttribute(Qt::WA_DeleteOnClose);  // a closed window has kept its session: it goes
  // A window of its own rather than a dialog, which window managers keep above the main
  // window: a mistake shown there must be able to come to the front.
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);

  table_->setAccessibleDescription(QStringLiteral("Table"));
  table_->setWordWrap(true);
  seedLabel_->setBuddy(seed_);
  seed_->setAccessibleName(QStringLiteral("Seed"));
  seed_->setValidator(new QRegularExpressionValidator(
      QRegularExpression(QStringLiteral("[1-9][0-9]{0,%1}").arg(kSeedDigits - 1)), seed_));
  newSession_->setAutoDefault(false);
  connect(newSession_, &QPushButton::clicked, this,
          [this] { Guarded(this, [this] { TakeSeed(true); }); });
  auto* top = new QHBoxLayout;
  top->addWidget(table_, 1);
  top->addWidget(seedLabel_);
  top->addWidget(seed_);
  top->addWidget(newSession_);

  auto* cards = new QHBoxLayout;
  cards->addStretch(1);
  for (int i = 0; i < kHandSize; ++i) {
    auto* slot = new TCardSlot(i, this);
    slot->setFocusPolicy(Qt::StrongFocus);
    slots_[static_cast<size_t>(i)] = slot;
    connect(slot, &TCardSlot::clicked, this, [this, i] { ToggleHold(i); });
    cards->addWidget(slot);
  }
  cards->addSpacing(12);
  draw_->setAccessibleName(QStringLiteral("Draw"));
  draw_->setDefault(true);
  connect(draw_, &QPushButton::clicked, this, [this] {
    Guarded(this, [this] {
      if (drawn_) {
        DealHand();
      } else {
        DrawHand();
      }
    });
  });
  cards->addWidget(draw_);
  cards->addStretch(1);

  result_->setAccessibleDescription(QStringLiteral("Result"));
  verdict_->setAccessibleDescription(QStringLiteral("Verdict"));
  verdict_->setWordWrap(true);
  result_->setWordWrap(true);
  showMe_->setAccessibleName(QStringLiteral("Show me"));
  showMe_->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
  connect(showMe_, &QLabel::linkActivated, this,
          [this] { Guarded(this, [this] { ShowAllHolds(); }); });
  follow_->setAccessibleDescription(QStringLiteral("Game switched"));
  follow_->setWordWrap(true);
  follow_->hide();

  warn_->setAccessibleName(QStringLiteral("Warn"));
  hard_->setAccessibleName(QStringLiteral("Hard hands only"));
  holdAll_->setAccessibleName(QStringLiteral("Deal held"));
  const TPracticeSettings stored = ReadPracticeSettings(preferences.Settings);
  warn_->setChecked(stored.Warn);
  warnBets_->setValue(stored.WarnAbove);
  hard_->setChecked(stored.Hard);
  hardBets_->setValue(stored.HardWithin);
  holdAll_->setChecked(stored.HoldAll);
  for (const int32_t count : kPracticeLineCounts) lines_->addItem(QString::number(count), count);
  lines_->setCurrentIndex(lines_->findData(stored.Lines));
  lines_->setAccessibleName(QStringLiteral("Lines"));
  linesLabel_->setBuddy(lines_);
  // The options go to the settings as they change; the warning applies at once, dealing
  // held from the next deal, the hard-hands filter from the next session.
  const auto optionsChanged = [this] {
    WritePracticeSettings(Preferences().Settings, Settings());
    if (session_ != nullptr) session_->SetWarnAbove(Options().WarnAbove);
  };
  connect(warn_, &QCheckBox::toggled, this, optionsChanged);
  connect(warnBets_, &QDoubleSpinBox::valueChanged, this, optionsChanged);
  connect(hard_, &QCheckBox::toggled, this, optionsChanged);
  connect(hardBets_, &QDoubleSpinBox::valueChanged, this, optionsChanged);
  connect(holdAll_, &QCheckBox::toggled, this, optionsChanged);
  connect(lines_, &QComboBox::currentIndexChanged, this, [this] {
    WritePracticeSettings(Preferences().Settings, Settings());
    Guarded(this, [this] { LinesChanged(); });
  });
  auto* options = new QGridLayout;
  options->addWidget(warn_, 0, 0);
  options->addWidget(warnBets_, 0, 1);
  options->addWidget(hard_, 1, 0);
  options->addWidget(hardBets_, 1, 1);
  options->addWidget(holdAll_, 2, 0);
  auto* linesRow = new QHBoxLayout;
  linesRow->addWidget(linesLabel_);
  linesRow->addWidget(lines_);
  linesRow->addStretch(1);
  options->addLayout(linesRow, 3, 0);

  // The reference strategy: a level, made for the session's table on the job runner.
  strategyBox_->setAccessibleName(QStringLiteral("Strategy"));
  strategyLabel_->setBuddy(strategyBox_);
  for (int i = -1; i < static_cast<int>(kLevels.size()); ++i) strategyBox_->addItem(QString(), i);
  strategyBar_->setAccessibleName(QStringLiteral("Strategy progress"));
  strategyBar_->setRange(0, 1000);
  strategyBar_->setTextVisible(false);
  strategyBar_->setMaximumWidth(120);
  strategyBar_->hide();
  strategyCancel_->setAutoDefault(false);
  strategyCancel_->hide();
  strategyNote_->setAccessibleDescription(QStringLiteral("Strategy"));
  strategyNote_->setWordWrap(true);
  strategyTick_.setInterval(kStrategyTick);
  connect(&strategyTick_, &QTimer::timeout, this, &TfmPractice::ShowStrategyState);
  connect(strategyBox_, &QComboBox::currentIndexChanged, this,
          [this] { Guarded(this, [this] { StartStrategy(); }); });
  connect(strategyCancel_, &QPushButton::clicked, this, [this] {
    const QSignalBlocker quiet(strategyBox_);
    strategyBox_->setCurrentIndex(0);
    Guarded(this, [this] { StartStrategy(); });
  });
  auto* strategyRow = new QHBoxLayout;
  strategyRow->addWidget(strategyLabel_);
  strategyRow->addWidget(strategyBox_);
  strategyRow->addWidget(strategyBar_);
  strategyRow->addWidget(strategyCancel_);
  strategyRow->addWidget(strategyNote_, 1);
  options->addLayout(strategyRow, 4, 0, 1, 3);

  // The drill: two lines, from the strategy's or typed; from the next session.
  drill_->setAccessibleName(QStringLiteral("Drill"));
  auto* drillRow = new QHBoxLayout;
  drillRow->addWidget(drill_);
  for (size_t i = 0; i < drillLines_.size(); ++i) {
    auto* line = new QComboBox(this);
    line->setEditable(true);
    line->setInsertPolicy(QComboBox::NoInsert);
    line->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    line->setMinimumContentsLength(16);
    line->setAccessibleName(QStringLiteral("Drill line %1").arg(i + 1));
    drillLines_[i] = line;
    drillRow->addWidget(line, 1);
  }
  options->addLayout(drillRow, 5, 0, 1, 3);
  options->setColumnStretch(2, 1);

  auto* sessionPage = new QWidget(tabs_);
  auto* figures = new QFormLayout;
  for (int i = 0; i < kFigureCount; ++i) {
    auto* name = new QLabel(sessionPage);
    auto* value = new QLabel(sessionPage);
    name->setBuddy(value);
    figureNames_[static_cast<size_t>(i)] = name;
    figures_[static_cast<size_t>(i)] = value;
    figures->addRow(name, value);
  }
  connect(mistakes_, &QTableWidget::cellClicked, this,
          [this](int row) { Guarded(this, [this, row] { ShowMistake(row); }); });
  auto* sessionLayout = new QVBoxLayout(sessionPage);
  sessionLayout->addLayout(figures);
  sessionLayout->addWidget(mistakes_, 1);
  sessionLayout->addWidget(byLine_, 1);
  tabs_->addTab(sessionPage, QString());
  auto* pastPage = new QWidget(tabs_);
  auto* pastLayout = new QVBoxLayout(pastPage);
  pastLayout->addWidget(history_, 1);
  pastLayout->addWidget(damaged_);
  damaged_->setAccessibleDescription(QStringLiteral("Damaged"));
  tabs_->addTab(pastPage, QString());
  tabs_->setAccessibleName(QStringLiteral("Pages"));

  // The further lines: a row each of its number, its small cards and its pay, in a panel
  // that scrolls when the window is too short for all of them.
  auto* panel = new QWidget(linesArea_);
  auto* rows = new QGridLayout(panel);
  rows->setContentsMargins(4, 4, 4, 4);
  rows->setVerticalSpacing(3);
  for (size_t i = 0; i < kMoreLines; ++i) {
    lineNames_[i] = new QLabel(panel);
    lineCards_[i] = new QLabel(panel);
    lineResults_[i] = new QLabel(panel);
    lineCards_[i]->setAccessibleName(QStringLiteral("Line %1").arg(i + 2));
    lineResults_[i]->setAccessibleDescription(QStringLiteral("Line %1 pays").arg(i + 2));
    const auto row = static_cast<int>(i);
    rows->addWidget(lineNames_[i], row, 0, Qt::AlignRight);
    rows->addWidget(lineCards_[i], row, 1);
    rows->addWidget(lineResults_[i], row, 2);
  }
  rows->setColumnStretch(2, 1);
  linesArea_->setWidget(panel);
  linesArea_->setWidgetResizable(true);
  linesArea_->setAccessibleName(QStringLiteral("Lines drawn"));
  linesArea_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  total_->setAccessibleDescription(QStringLiteral("Total"));
  total_->setWordWrap(true);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(follow_);
  layout->addLayout(cards);
  layout->addWidget(result_);
  layout->addWidget(linesArea_);
  layout->addWidget(total_);
  layout->addWidget(verdict_);
  layout->addWidget(showMe_);
  layout->addLayout(options);
  layout->addWidget(tabs_, 1);
  // Reading order. The focus starts on the first card, so a key typed to the hand never
  // lands in the seed box above it. The pages keep their own order (their tab bar, then the
  // page shown): ordering their lists from outside splits the focus chain in two.
  QWidget* order[] = {seed_,          newSession_,  slots_[0],       slots_[1], slots_[2],
                      slots_[3],      slots_[4],    draw_,           showMe_,   linesArea_,
                      warn_,          warnBets_,    hard_,           hardBets_, holdAll_,
                      lines_,         strategyBox_, strategyCancel_, drill_,    drillLines_[0],
                      drillLines_[1], tabs_};
  for (size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);
  slots_[0]->setFocus();
  resize(620, 640);

  ApplyTexts();
  NewSession(NewPracticeSeed());
  RestoreWindowPlace(this, QStringLiteral("Practice"), parent);
}

void TfmPractice::ApplyTexts() {
  const TPreferences& preferences = Preferences();
  FitSeedBox(seed_);
  setWindowTitle(Q(preferences.Text("Practice", "Title")));
  seedLabel_->setText(Q(preferences.Text("Practice", "Seed")));
  seed_->setToolTip(HintOf(preferences.HintText("Practice", "Seed")));
  newSession_->setText(Q(preferences.Text("Practice", "NewSession")));
  newSession_->setAccessibleName(newSession_->text());
  showMe_->setText(QStringLiteral("<a href=\"holds\">%1</a>")
                       .arg(Q(preferences.Text("Practice", "ShowMe")).toHtmlEscaped()));
  warn_->setText(Q(preferences.Text("Practice", "WarnAbove")));
  warnBets_->setAccessibleName(warn_->text());
  hard_->setText(Q(preferences.Text("Practice", "Hard")));
  hard_->setToolTip(HintOf(preferences.HintText("Practice", "Hard")));
  hardBets_->setAccessibleName(hard_->text());
  holdAll_->setText(Q(preferences.Text("Practice", "HoldAll")));
  linesLabel_->setText(Q(preferences.Text("Practice", "Lines")));
  strategyLabel_->setText(Q(preferences.Text("Practice", "Strategy")));
  strategyBox_->setToolTip(HintOf(preferences.HintText("Practice", "Strategy")));
  strategyBox_->setItemText(0, Q(preferences.Text("Practice", "LevelNone")));
  for (size_t i = 0; i < kLevels.size(); ++i)
    strategyBox_->setItemText(static_cast<int>(i) + 1,
                              Q(preferences.Text("Practice", kLevelKeys[i])));
  strategyCancel_->setText(Q(preferences.ButtonText("Cancel")));
  strategyCancel_->setAccessibleName(QStringLiteral("Cancel strategy"));
  drill_->setText(Q(preferences.Text("Practice", "Drill")));
  drill_->setToolTip(HintOf(preferences.HintText("Practice", "Drill")));
  for (QComboBox* line : drillLines_)
    line->lineEdit()->setPlaceholderText(Q(preferences.Text("Practice", "DrillLine")));
  lines_->setToolTip(HintOf(preferences.HintText("Practice", "Lines")));
  for (size_t i = 0; i < kMoreLines; ++i) {
    lineNames_[i]->setText(
        Filled(preferences.Text("Practice", "Line"), {QString::number(static_cast<int>(i) + 2)}));
  }
  const QString figureNames[kFigureCount] = {
      Q(preferences.Text("Practice", "Hands")),      Q(preferences.Text("Practice", "Mistakes")),
      Q(preferences.Text("Practice", "Cost")),       Q(preferences.Text("Practice", "Accuracy")),
      Q(preferences.Text("Practice", "Efficiency")), Q(preferences.Text("Practice", "Net")),
      Q(preferences.Text("Practice", "Perfect"))};
  for (size_t i = 0; i < kFigureCount; ++i) {
    figureNames_[i]->setText(figureNames[i]);
    figures_[i]->setAccessibleDescription(figureNames[i]);  // read after its value
  }
  tabs_->setTabText(0, Q(preferences.Text("Practice", "Session")));
  tabs_->setTabText(1, Q(preferences.Text("Practice", "Past")));
  mistakes_->setHorizontalHeaderLabels({Q(preferences.Text("Practice", "ColumnHand")),
                                        Q(preferences.Text("Practice", "ColumnHold")),
                                        Q(preferences.Text("Practice", "ColumnBest")),
                                        Q(preferences.Text("Practice", "ColumnCost"))});
  mistakes_->setToolTip(HintOf(preferences.HintText("Practice", "ColumnHand")));
  byLine_->setHorizontalHeaderLabels({Q(preferences.Text("Practice", "ColumnLine")),
                                      Q(preferences.Text("Practice", "ColumnHands")),
                                      Q(preferences.Text("Practice", "ColumnMistakes")),
                                      Q(preferences.Text("Practice", "ColumnCost"))});
  byLine_->setToolTip(HintOf(preferences.HintText("Practice", "ColumnLine")));
  history_->setHorizontalHeaderLabels({Q(preferences.Text("Practice", "ColumnStarted")),
                                       Q(preferences.Text("Practice", "ColumnGame")),
                                       Q(preferences.Text("Practice", "ColumnCoins")),
                                       Q(preferences.Text("Practice", "ColumnSeed")),
                                       Q(preferences.Text("Practice", "ColumnHands")),
                                       Q(preferences.Text("Practice", "ColumnMistakes")),
                                       Q(preferences.Text("Practice", "ColumnAccuracy")),
                                       Q(preferences.Text("Practice", "ColumnEfficiency")),
                                       Q(preferences.Text("Practice", "ColumnNet"))});
  ShowHistoryNote();
  if (session_ == nullptr) return;  // the session's texts follow once it starts
  table_->setText(TableText(tableTitle_, session_->Table(), session_->Coins()));
  ShowOutcome();
  ShowLines();
  FillMistakes();
  FillMistakesByLine();
  ShowStrategyState();
  MainWindowChanged();
}

TfmPractice::~TfmPractice() {
  runner_->Cancel();
  SaveWindowPlace(this, QStringLiteral("Practice"));
  // The closing paths keep the session and report a failure; this is the last chance when
  // the window goes with its owner, and nothing can be shown any more.
  try {
    if (!kept_ && keepSessions_ && fileProblem_.isEmpty() && session_ != nullptr)
      AppendPracticeSession(folder_, session_->Record());
  } catch (const std::exception&) {  // NOLINT(bugprone-empty-catch): nothing left to tell
  }
}

TPracticeSettings TfmPractice::Settings() const {
  TPracticeSettings settings;
  settings.Warn = warn_->isChecked();
  settings.WarnAbove = warnBets_->value();
  settings.Hard = hard_->isChecked();
  settings.HardWithin = hardBets_->value();
  settings.HoldAll = holdAll_->isChecked();
  settings.Lines = ChosenLines();
  return settings;
}

TPracticeOptions TfmPractice::Options() const {
  TPracticeOptions options;
  options.WarnAbove = warn_->isChecked() ? warnBets_->value() : -1;
  options.HardWithin = hard_->isChecked() ? hardBets_->value() : -1;
  options.Lines = ChosenLines();
  return options;
}

int TfmPractice::ChosenLines() const {
  const int lines = lines_->currentData().toInt();
  return IsPracticeLines(lines) ? lines : 1;
}

void TfmPractice::LinesChanged() {
  if (session_ == nullptr || session_->Lines() == ChosenLines()) return;
  // The lines change the seed's deals after the first, so a session plays one number of
  // lines. One that has drawn nothing yet starts again: the same first hand, on the new
  // lines.
  if (session_->Figures().Hands == 0) NewSession(session_->Seed());
}

void TfmPractice::FinishSession() {
  // A session file that cannot be read is never written: the player was told at its reading.
  if (kept_ || !keepSessions_ || !fileProblem_.isEmpty() || session_ == nullptr) return;
  kept_ = true;  // reported once, not again at every close
  Guarded(this, [this] {
    const TPreferences& texts = Preferences();
    for (;;) {
      try {
        AppendPracticeSession(folder_, session_->Record());
        return;
      } catch (const FileBusyError&) {
        // Another program is saving the file: likely done when the player retries.
        const auto answer =
            QMessageBox::warning(this, windowTitle(), Q(texts.Text("Practice", "Busy")),
                                 QMessageBox::Retry | QMessageBox::Cancel, QMessageBox::Retry);
        if (answer != QMessageBox::Retry) return;
      } catch (const DataFileError&) {
        // A file that cannot take the session (too large, not a file, not writable) is the
        // player's to see to, not a fault of the program.
        QMessageBox::warning(this, windowTitle(),
                             Filled(texts.Text("Practice", "NotKept"), {CurrentErrorText()}));
        return;
      }
    }
  });
  LoadHistory();
}

void TfmPractice::NewSession(uint64_t seed) {
  const TPayout* table = controller_.CurrentTable();
  if (table == nullptr) throw InputError("practice needs a pay table");
  TPracticeOptions options = Options();
  options.Drill = ChosenDrill();
  auto session = std::make_unique<TPracticeSession>(controller_.CurrentGame(), *table,
                                                    controller_.Coins(), seed, options);
  const int linesBefore = session_ != nullptr ? session_->Lines() : 1;
  FinishSession();
  session_ = std::move(session);
  gameId_ = controller_.CurrentGame().GameId;
  tableTitle_ = Q(controller_.WindowTitle()).trimmed();
  kept_ = true;
  seed_->setText(QString::number(seed));
  seed_->setModified(false);
  table_->setText(TableText(tableTitle_, *table, controller_.Coins()));
  mistakes_->setRowCount(0);
  byLine_->setRowCount(0);
  // The strategy made for this table goes on; another table needs its own.
  if (strategy_ && strategyGame_ == gameId_ && strategyPays_ == PaysOf(*table)) {
    session_->SetStrategy(strategy_);
  } else if (strategyLevel_ >= 0 || strategyBox_->currentData().toInt() >= 0) {
    StartStrategy();
  }
  MainWindowChanged();
  LoadHistory();
  DealHand();
  if (session_->Lines() > linesBefore) FitLines();
}

void TfmPractice::FitLines() {
  if (layout() == nullptr || session_ == nullptr || session_->Lines() == 1) return;
  layout()->activate();
  if (linesArea_->height() >= linesArea_->maximumHeight()) return;
  // Short of their preferred heights the layout shrinks the rows and the pages alike: at
  // the layout's preferred height the rows have all they may take.
  int height = std::max(this->height(), layout()->totalSizeHint().height());
  if (const QScreen* shown = screen(); shown != nullptr)
    height = std::min(height, shown->availableGeometry().height());
  if (height > this->height()) resize(width(), height);
}

void TfmPractice::TakeSeed(bool newIfNotTyped) {
  const bool typed = seed_->isModified() && seed_->hasAcceptableInput();
  if (!typed && !newIfNotTyped) return;
  // A seed typed in plays that session again; otherwise a new one is drawn.
  NewSession(typed ? seed_->text().toULongLong() : NewPracticeSeed());
  if (seed_->hasFocus()) slots_[0]->setFocus();  // the keys act on the new hand
}

bool TfmPractice::MainWindowDiffers() const {
  const TPayout* table = controller_.CurrentTable();
  if (table == nullptr || session_ == nullptr) return false;
  const TPracticeRecord& record = session_->Record();
  return controller_.CurrentGame().GameId != record.GameId || controller_.Coins() != record.Coins ||
         table->CoinBasis != record.CoinBasis || PaysOf(*table) != record.Pays;
}

void TfmPractice::MainWindowChanged() {
  const bool differs = MainWindowDiffers();
  follow_->setText(differs ? Filled(Preferences().Text("Practice", "Follow"),
                                    {TableText(Q(controller_.WindowTitle()).trimmed(),
                                               *controller_.CurrentTable(), controller_.Coins())})
                           : QString());
  follow_->setVisible(differs);
}

void TfmPractice::DealHand() {
  if (MainWindowDiffers() || session_->Lines() != ChosenLines()) {
    NewSession(NewPracticeSeed());  // which deals its first hand
    return;
  }
  try {
    session_->Deal();
  } catch (const InputError&) {
    if (session_->Options().Drill.empty()) throw;
    // No hand offers both lines within the drill's deals: the drill goes off, and the
    // session starts again on its seed without it.
    drillProblem_ = Filled(Preferences().Text("Practice", "DrillGaveUp"),
                           {QString::number(session_->Options().DrillTries)});
    drill_->setChecked(false);
    const QString problem = drillProblem_;
    NewSession(session_->Seed());
    drillProblem_ = problem;  // told with the hand the new session dealt
    ShowOutcome();
    return;
  }
  drillProblem_.clear();
  // As a machine deals: nothing held, unless the player asks for every card held.
  mask_ = holdAll_->isChecked() ? 0 : kMaskCount - 1;
  drawn_ = false;
  showMe_->hide();
  ShowOutcome();
  ShowCards();
  ShowFigures();
}

void TfmPractice::ToggleHold(int position) {
  if (drawn_ || position < 0 || position >= kHandSize) {
    ShowCards();  // a click after the draw changes nothing
    return;
  }
  mask_ ^= 1 << position;
  ShowCards();
}

bool TfmPractice::DrawHand() {
  if (drawn_) return false;
  if (session_->ShouldWarn(mask_)) {
    // The cost, not the best hold: that would give the answer away before the draw.
    const TPracticeVerdict verdict = session_->Grade(mask_);
    QMessageBox box(QMessageBox::Warning, windowTitle(),
                    Filled(Preferences().Text("Practice", "Warn"), {Bets(verdict.CostBets())}),
                    QMessageBox::Yes | QMessageBox::No, this);
    box.setAccessibleName(QStringLiteral("Warning"));
    box.setDefaultButton(QMessageBox::No);
    if (box.exec() != QMessageBox::Yes) return false;
  }
  const TPracticeHand& hand = session_->Draw(mask_);
  drawn_ = true;
  kept_ = false;
  if (hand.Verdict.Mistake()) AddMistake(hand);
  FillMistakesByLine();
  ShowOutcome();
  showMe_->show();
  ShowCards();
  ShowFigures();
  return true;
}

void TfmPractice::ShowOutcome() {
  const TPreferences& preferences = Preferences();
  if (!drawn_) {
    draw_->setText(Q(preferences.Text("Practice", "Draw")));
    result_->setText(!drillProblem_.isEmpty() ? drillProblem_
                     : session_->HardFound()  ? QString()
                                              : Q(preferences.Text("Practice", "NoHardHand")));
    verdict_->setText(QString());
    return;
  }
  draw_->setText(Q(preferences.Text("Practice", "Deal")));
  const TPracticeHand& hand = session_->Record().Hands.back();
  const TPracticeVerdict& verdict = hand.Verdict;
  const std::string drawnCards = CardsText(hand.Final, verdict.Mask, CardName);
  const std::vector<std::string>& names = session_->CategoryNames();
  const QString final = HoldText(hand.Final, 0);
  const QString drawnText =
      drawnCards.empty() ? Q(preferences.Text("Practice", "StoodPat")) : Q(drawnCards);
  if (hand.Category >= 0 && hand.Category < static_cast<int>(names.size())) {
    result_->setText(
        Filled(preferences.Text("Practice", "Paid"),
               {drawnText, final, Q(names[static_cast<size_t>(hand.Category)]).toUpper(),
                QString::number(hand.Pay)}));
  } else {
    result_->setText(Filled(preferences.Text("Practice", "NotPaid"), {drawnText, final}));
  }
  const std::array<int32_t, kHandSize>& dealt = hand.Deal.Cards;
  QString text;
  if (!verdict.Mistake()) {
    text = verdict.Mask == verdict.BestMask
               ? Filled(preferences.Text("Practice", "Right"), {HoldText(dealt, verdict.Mask)})
               : Filled(preferences.Text("Practice", "RightTie"),
                        {HoldText(dealt, verdict.Mask), HoldText(dealt, verdict.BestMask)});
  } else {
    text = Filled(preferences.Text("Practice", "Mistake"),
                  {HoldText(dealt, verdict.Mask), HoldText(dealt, verdict.BestMask),
                   Bets(verdict.CostBets()), Bets(verdict.CostCoins())});
  }
  const QString lines = LinesText(verdict);
  verdict_->setText(lines.isEmpty() ? text : text + QLatin1Char('\n') + lines);
}

QString TfmPractice::LinesText(const TPracticeVerdict& verdict) const {
  if (!verdict.PlayedLine || !verdict.BestLine) return {};
  const TPreferences& preferences = Preferences();
  const THoldNamer& namer = session_->Namer();
  QString text = Filled(preferences.Text("Practice", "HoldLines"),
                        {Q(namer.Text(*verdict.PlayedLine)), Q(namer.Text(*verdict.BestLine))});
  if (!verdict.Strategy) return text;
  const TStrategyGrade& grade = *verdict.Strategy;
  const std::optional<TStrategy>& strategy = session_->Strategy();
  text += QLatin1Char('\n');
  if (grade.Row >= 0 && strategy && grade.Row < static_cast<int>(strategy->Rows.size())) {
    text += Filled(preferences.Text("Practice", "StrategyRow"),
                   {QString::number(grade.Row + 1),
                    Q(RowText(strategy->Rows[static_cast<size_t>(grade.Row)], namer))});
  } else {
    text += Q(preferences.Text("Practice", "StrategyNoRow"));
  }
  text += QLatin1Char(' ');
  text += Q(preferences.Text("Practice", grade.Followed ? "Followed" : "NotFollowed"));
  return text;
}

void TfmPractice::FillMistakesByLine() {
  byLine_->setRowCount(0);
  if (session_ == nullptr) return;
  for (const TLineMistakes& line : tarnwick::MistakesByLine(session_->Record(), session_->Namer()))
    AppendRow(byLine_, {Q(line.Line), QString::number(line.Hands), QString::number(line.Mistakes),
                        Bets(line.CostBets)});
}

std::vector<TLinePattern> TfmPractice::ChosenDrill() const {
  if (!drill_->isChecked()) return {};
  const THoldNamer namer(controller_.CurrentGame());
  std::vector<TLinePattern> lines;
  for (const QComboBox* box : drillLines_) {
    const QString text = box->currentText().trimmed();
    const std::optional<TLinePattern> line = namer.Parse(S(text));
    if (!line) throw InputError(S(Filled(Preferences().Text("Practice", "DrillUnread"), {text})));
    lines.push_back(*line);
  }
  return lines;
}

bool TfmPractice::StrategyBusy() const {
  return strategyProgress_ != nullptr;
}

void TfmPractice::StopStrategy() {
  runner_->Cancel();
  strategyProgress_.reset();
  strategyTick_.stop();
}

void TfmPractice::StartStrategy() {
  StopStrategy();
  strategy_.reset();
  strategyGame_ = -1;
  strategyPays_.clear();
  strategyLevel_ = strategyBox_->currentData().toInt();
  if (session_ != nullptr) session_->SetStrategy(std::nullopt);
  const TPokerDescription* game = controller_.FindGame(gameId_);
  if (strategyLevel_ < 0 || session_ == nullptr || game == nullptr) {
    ShowStrategyState();
    FillDrillLines();
    return;
  }
  auto made = std::make_shared<TStrategy>();
  const TPayout table = session_->Table();
  const int gameId = gameId_;
  const TStrategyLevel level = kLevels.at(static_cast<size_t>(strategyLevel_));
  strategyProgress_ =
      runner_->Start([made, maker = strategyMaker_, game, table,
                      level](TProgress& progress) { *made = maker(*game, table, level, progress); },
                     [this, made, gameId, pays = PaysOf(table)] {
                       Guarded(this, [&] { StrategyMade(std::move(*made), gameId, pays); });
                     },
                     [this](const std::exception_ptr& failure) {
                       StopStrategy();
                       strategyLevel_ = -1;
                       {
                         const QSignalBlocker quiet(strategyBox_);
                         strategyBox_->setCurrentIndex(0);
                       }
                       ShowStrategyState();
                       Guarded(this, [&failure] { std::rethrow_exception(failure); });
                     });
  strategyTick_.start();
  ShowStrategyState();
}

void TfmPractice::StrategyMade(TStrategy strategy, int gameId, const std::vector<int32_t>& pays) {
  StopStrategy();
  strategy_ = std::move(strategy);
  strategyGame_ = gameId;
  strategyPays_ = pays;
  // A session of another table meanwhile waits for its own strategy (made at its start).
  if (session_ != nullptr && gameId_ == gameId && PaysOf(session_->Table()) == pays)
    session_->SetStrategy(strategy_);
  ShowStrategyState();
  FillDrillLines();
}

void TfmPractice::ShowStrategyState() {
  const TPreferences& preferences = Preferences();
  const bool busy = StrategyBusy();
  strategyBar_->setVisible(busy);
  strategyCancel_->setVisible(busy);
  const QString level =
      strategyLevel_ >= 0 ? strategyBox_->itemText(strategyLevel_ + 1) : QString();
  if (busy) {
    const int64_t total = strategyProgress_->Total();
    const int64_t done = strategyProgress_->Done();
    strategyBar_->setValue(
        total > 0 ? static_cast<int>(std::min<int64_t>(done, total) * 1000 / total) : 0);
    strategyNote_->setText(Filled(preferences.Text("Practice", "Making"), {level}));
  } else if (strategy_) {
    strategyNote_->setText(
        Filled(preferences.Text("Practice", "StrategyReady"),
               {level, QString::number(static_cast<qlonglong>(strategy_->Rows.size()))}));
  } else {
    strategyNote_->clear();
  }
}

void TfmPractice::FillDrillLines() {
  std::vector<std::string> lines;
  if (strategy_ && session_ != nullptr) {
    for (const TStrategyRow& row : strategy_->Rows)
      for (const TLinePattern& line : row.Lines) lines.push_back(session_->Namer().Text(line));
  }
  for (QComboBox* box : drillLines_) {
    const QString typed = box->currentText();
    const QSignalBlocker quiet(box);
    box->clear();
    for (const std::string& line : lines) box->addItem(Q(line));
    box->setCurrentIndex(-1);
    box->setEditText(typed);
  }
}

QString TfmPractice::HoldText(const std::array<int32_t, kHandSize>& cards, int mask) const {
  const std::string held = CardsText(cards, HeldPositions(mask), CardName);
  return held.empty() ? Q(Preferences().Text("Practice", "DrawFive")) : Q(held);
}

void TfmPractice::ShowCards() {
  const TPracticeDeal& deal = session_->CurrentDeal();
  const std::array<int32_t, kHandSize> shown =
      drawn_ ? session_->Record().Hands.back().Final : deal.Cards;
  // The session's game marks its wild cards, whatever the main window plays meanwhile.
  const TPokerDescription* game = controller_.FindGame(gameId_);
  const int wildRank = game != nullptr ? game->WildRank : -1;
  for (int i = 0; i < kHandSize; ++i) {
    const int code = shown[static_cast<size_t>(i)];
    const bool held = !BitSet(mask_, i);
    TCardSlot* slot = slots_[static_cast<size_t>(i)];
    slot->Show(painter_.Card(code, held, IsWildCard(code, wildRank)), CardCodeText(code));
    slot->setChecked(held);
    slot->setEnabled(!drawn_);
  }
  ShowLines();
}

void TfmPractice::ShowLines() {
  const int lines = session_->Lines();
  linesArea_->setVisible(lines > 1);
  total_->setVisible(lines > 1);
  if (lines == 1) return;
  const TPreferences& preferences = Preferences();
  const TPokerDescription* game = controller_.FindGame(gameId_);
  const int wildRank = game != nullptr ? game->WildRank : -1;
  const TPracticeHand* hand = drawn_ ? &session_->Record().Hands.back() : nullptr;
  const std::vector<std::string>& names = session_->CategoryNames();
  for (size_t i = 0; i < kMoreLines; ++i) {
    const bool shown = static_cast<int>(i) + 2 <= lines;
    lineNames_[i]->setVisible(shown);
    lineCards_[i]->setVisible(shown);
    lineResults_[i]->setVisible(shown);
    if (!shown) continue;
    if (hand == nullptr) {
      // Before the draw every line shows the held cards and the backs of the others.
      lineCards_[i]->setPixmap(
          SmallCards(smallPainter_, session_->CurrentDeal().Cards, mask_, wildRank));
      lineCards_[i]->setAccessibleDescription(HoldText(session_->CurrentDeal().Cards, mask_));
      lineResults_[i]->clear();
      continue;
    }
    const TPracticeLine& line = hand->More[i];
    lineCards_[i]->setPixmap(SmallCards(smallPainter_, line.Final, 0, wildRank));
    lineCards_[i]->setAccessibleDescription(Q(CardsText(line.Final, HeldPositions(0), CardName)));
    lineResults_[i]->setText(line.Category < static_cast<int>(names.size())
                                 ? Filled(preferences.Text("Practice", "LinePaid"),
                                          {Q(names[static_cast<size_t>(line.Category)]).toUpper(),
                                           QString::number(line.Pay)})
                                 : Q(preferences.Text("Practice", "LineNotPaid")));
  }
  const QString bet = QString::number(int64_t{session_->Coins()} * lines);
  total_->setText(
      hand == nullptr
          ? Filled(preferences.Text("Practice", "LinesBet"), {QString::number(lines), bet})
          : Filled(preferences.Text("Practice", "LinesPaid"),
                   {QString::number(lines), QString::number(hand->TotalPay()), bet}));
  // Up to four rows in view, at the least size one: the others scroll.
  constexpr int kRowsInView = 4;
  const int frame = 2 * linesArea_->frameWidth();
  const QMargins margins = linesArea_->widget()->layout()->contentsMargins();
  const int row = std::max(lineCards_[0]->sizeHint().height(), lineNames_[0]->sizeHint().height());
  const auto* grid = qobject_cast<const QGridLayout*>(linesArea_->widget()->layout());
  const int spacing = grid != nullptr ? grid->verticalSpacing() : 0;
  const int rowsShown = std::min(lines - 1, kRowsInView);
  linesArea_->setMinimumHeight(row + margins.top() + margins.bottom() + frame);
  linesArea_->setMaximumHeight(rowsShown * row + (rowsShown - 1) * spacing + margins.top() +
                               margins.bottom() + frame);
}

void TfmPractice::ShowFigures() {
  const TPracticeFigures& figures = session_->Figures();
  const QStringList values = {QString::number(figures.Hands),
                              QString::number(figures.Mistakes),
                              Filled(Preferences().Text("Practice", "CostValue"),
                                     {Bets(figures.CostBets), Bets(figures.CostCoins())}),
                              Percent(figures.Accuracy()),
                              Percent(figures.Efficiency()),
                              Q(SignedText(static_cast<long double>(figures.Net()), 0)),
                              Q(SignedText(figures.PerfectNet(), 2))};
  for (int i = 0; i < kFigureCount; ++i) figures_[static_cast<size_t>(i)]->setText(values[i]);
}

void TfmPractice::FillMistakes() {
  mistakes_->setRowCount(0);
  for (const TPracticeHand& hand : session_->Record().Hands)
    if (hand.Verdict.Mistake()) AddMistake(hand);
}

void TfmPractice::AddMistake(const TPracticeHand& hand) {
  AppendRow(mistakes_,
            {HoldText(hand.Deal.Cards, 0), HoldText(hand.Deal.Cards, hand.Verdict.Mask),
             HoldText(hand.Deal.Cards, hand.Verdict.BestMask), Bets(hand.Verdict.CostBets())});
  const std::vector<TPracticeHand>& hands = session_->Record().Hands;
  mistakes_->item(mistakes_->rowCount() - 1, 0)
      ->setData(Qt::UserRole, static_cast<int>(&hand - hands.data()));
}

void TfmPractice::ShowMistake(int row) {
  const QTableWidgetItem* item = mistakes_->item(row, 0);
  if (item == nullptr) return;
  const auto index = static_cast<size_t>(item->data(Qt::UserRole).toInt());
  const std::vector<TPracticeHand>& hands = session_->Record().Hands;
  if (index >= hands.size()) return;
  // The main window analyses the hand under its own table, on the session's game, and comes
  // to the front to show it.
  if (controller_.CurrentGame().GameId != gameId_) controller_.SelectGame(gameId_);
  controller_.ShowHand(hands[index].Deal.Cards, hands[index].Verdict.BestMask);
  if (QWidget* owner = parentWidget(); owner != nullptr) {
    owner->window()->raise();
    owner->window()->activateWindow();
  }
}

void TfmPractice::ShowAllHolds() {
  TfmAllHands holds(this, session_->HoldsSnapshot(mask_), windowTitle());
  // The best hold heads the list: in view with the hold played (selected) below it, as far
  // as the window holds the rows between them.
  holds.Grid()->scrollToTop();
  holds.exec();
}

void TfmPractice::LoadHistory() {
  TPracticeHistory history;
  const bool told = !fileProblem_.isEmpty();
  try {
    history = ReadPracticeHistory(folder_);
    fileProblem_.clear();
  } catch (const DataFileError&) {
    // Practice goes on without the file (a folder in its place, no permission, too large);
    // the sessions played now are not kept, and the player is told so once.
    fileProblem_ = CurrentErrorText();
    if (!told) {
      QTimer::singleShot(0, this, [this] {
        QMessageBox::warning(this, windowTitle(),
                             Filled(Preferences().Text("Practice", "Unreadable"), {fileProblem_}));
      });
    }
  }
  history_->setRowCount(0);
  // The newest first.
  for (auto record = history.Sessions.rbegin(); record != history.Sessions.rend(); ++record) {
    const TPracticeFigures figures = record->Figures();
    AppendRow(history_, {QDateTime::fromSecsSinceEpoch(record->Started)
                             .toString(QStringLiteral("yyyy-MM-dd HH:mm")),
                         Q(record->GameName), QString::number(record->Coins),
                         QString::number(record->Seed), QString::number(figures.Hands),
                         QString::number(figures.Mistakes), Percent(figures.Accuracy()),
                         Percent(figures.Efficiency()), QString::number(figures.Net())});
  }
  damagedSessions_ = history.Damaged;
  ShowHistoryNote();
}

void TfmPractice::ShowHistoryNote() {
  const TPreferences& texts = Preferences();
  if (!fileProblem_.isEmpty()) {
    damaged_->setText(Filled(texts.Text("Practice", "Unreadable"), {fileProblem_}));
  } else if (damagedSessions_ != 0) {
    damaged_->setText(
        Filled(texts.Text("Practice", "Damaged"), {QString::number(damagedSessions_)}));
  } else {
    damaged_->clear();
  }
  damaged_->setVisible(!damaged_->text().isEmpty());
}

bool TfmPractice::event(QEvent* event) {
  const bool handled = QDialog::event(event);
  if (event->type() == QEvent::LayoutRequest || event->type() == QEvent::Resize) KeepTextsWhole();
  return handled;
}

void TfmPractice::KeepTextsWhole() {
  if (layout() != nullptr) setMinimumHeight(layout()->totalMinimumHeightForWidth(width()));
}

void TfmPractice::keyPressEvent(QKeyEvent* event) {
  const int key = event->key();
  // Enter in the seed box takes the seed typed there, and never draws.
  if ((key == Qt::Key_Return || key == Qt::Key_Enter) && seed_->hasFocus()) {
    Guarded(this, [this] { TakeSeed(false); });
    return;
  }
  if (key >= Qt::Key_1 && key <= Qt::Key_5 && event->modifiers() == Qt::NoModifier) {
    ToggleHold(key - Qt::Key_1);
    return;
  }
  QDialog::keyPressEvent(event);
}

void TfmPractice::done(int result) {
  FinishSession();  // closed, or Escape
  QDialog::done(result);
}

}  // namespace tarnwick::app
