// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "practice_window.h"

#include <QCheckBox>
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
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>
#include <string>
#include <vector>

#include "all_hands_window.h"
#include "card_slot.h"
#include "errors.h"
#include "guard.h"
#include "help_browser.h"
#include "qt_text.h"
#include "session/practice_file.h"
#include "session/preferences.h"

namespace tarnwick::app {

namespace {

constexpr int kPracticeHelp = 8;
constexpr char kSection[] = "Practice";

QString Text(const char* key) {
  return Q(Preferences().Text(kSection, key));
}

// A language text with its "%s" filled in order.
QString Filled(const char* key, const QStringList& values) {
  std::vector<std::string> arguments;
  for (const QString& value : values) arguments.push_back(S(value));
  return Q(FormatText(Preferences().Text(kSection, key), arguments));
}

QString Fixed(long double value, int decimals) {
  return QString::number(static_cast<double>(value), 'f', decimals);
}

QString Percent(long double share) {
  return Fixed(share * 100, 2) + QLatin1Char('%');
}

QTableWidget* MakeList(QWidget* parent, const QString& name, const QStringList& titles) {
  auto* list = new QTableWidget(0, static_cast<int>(titles.size()), parent);
  list->setAccessibleName(name);
  list->setHorizontalHeaderLabels(titles);
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

QDoubleSpinBox* MakeBets(QWidget* parent, const QString& name, double value) {
  auto* box = new QDoubleSpinBox(parent);
  box->setAccessibleName(name);
  box->setDecimals(3);
  box->setRange(0, 100);
  box->setSingleStep(0.01);
  box->setValue(value);
  return box;
}

double ReadBets(const char* key, double fallback) {
  bool ok = false;
  const double value = Q(Preferences().Settings.ReadString(kSection, key, "")).toDouble(&ok);
  return ok && value >= 0 && value <= 100 ? value : fallback;
}

}  // namespace

TfmPractice::TfmPractice(QWidget* parent, TModelController& controller)
    : QDialog(parent),
      controller_(controller),
      folder_(controller.DataFolder()),
      painter_(devicePixelRatioF()),
      table_(new QLabel(this)),
      seed_(new QLineEdit(this)),
      newSession_(new QPushButton(Text("NewSession"), this)),
      draw_(new QPushButton(Text("Draw"), this)),
      result_(new QLabel(this)),
      verdict_(new QLabel(this)),
      showMe_(new QLabel(this)),
      warn_(new QCheckBox(Text("WarnAbove"), this)),
      warnBets_(MakeBets(this, Text("WarnAbove"), ReadBets("WarnAbove", 0))),
      hard_(new QCheckBox(Text("Hard"), this)),
      hardBets_(MakeBets(this, Text("Hard"), ReadBets("HardWithin", 0.1))),
      tabs_(new QTabWidget(this)),
      mistakes_(MakeList(
          this, QStringLiteral("Mistakes"),
          {Text("ColumnHand"), Text("ColumnHold"), Text("ColumnBest"), Text("ColumnCost")})),
      history_(MakeList(this, QStringLiteral("Past sessions"),
                        {Text("ColumnStarted"), Text("ColumnGame"), Text("ColumnCoins"),
                         Text("ColumnSeed"), Text("ColumnHands"), Text("ColumnMistakes"),
                         Text("ColumnAccuracy"), Text("ColumnEfficiency"), Text("ColumnNet")})),
      damaged_(new QLabel(this)) {
  const TPreferences& preferences = Preferences();
  setWindowTitle(Text("Title"));
  setFont(PreferredFont(preferences.FontName));
  setAccessibleName(QStringLiteral("Practice"));
  setAttribute(Qt::WA_DeleteOnClose);  // a closed window has kept its session: it goes

  table_->setAccessibleDescription(QStringLiteral("Table"));
  auto* seedLabel = new QLabel(Text("Seed"), this);
  seedLabel->setBuddy(seed_);
  seed_->setAccessibleName(QStringLiteral("Seed"));
  seed_->setToolTip(HintOf(preferences.HintText(kSection, "Seed")));
  seed_->setValidator(new QRegularExpressionValidator(
      QRegularExpression(QStringLiteral("[1-9][0-9]{0,17}")), seed_));
  seed_->setMaximumWidth(fontMetrics().horizontalAdvance(QStringLiteral("0000000000000")));
  newSession_->setAccessibleName(newSession_->text());
  newSession_->setAutoDefault(false);
  connect(newSession_, &QPushButton::clicked, this, [this] {
    Guarded(this, [this] {
      // A seed typed in plays that session again; otherwise a new one is drawn.
      const bool typed = seed_->isModified() && seed_->hasAcceptableInput();
      NewSession(typed ? seed_->text().toULongLong() : NewPracticeSeed());
    });
  });
  auto* top = new QHBoxLayout;
  top->addWidget(table_, 1);
  top->addWidget(seedLabel);
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
  showMe_->setText(QStringLiteral("<a href=\"holds\">%1</a>").arg(Text("ShowMe").toHtmlEscaped()));
  showMe_->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
  connect(showMe_, &QLabel::linkActivated, this,
          [this] { Guarded(this, [this] { ShowAllHolds(); }); });

  warn_->setAccessibleName(QStringLiteral("Warn"));
  warn_->setChecked(preferences.Settings.ReadInteger(kSection, "Warn", 0) != 0);
  hard_->setAccessibleName(QStringLiteral("Hard hands only"));
  hard_->setToolTip(HintOf(preferences.HintText(kSection, "Hard")));
  hard_->setChecked(preferences.Settings.ReadInteger(kSection, "Hard", 0) != 0);
  // The options go to the settings as they change; the warning applies at once, the
  // hard-hands filter from the next session.
  const auto optionsChanged = [this] {
    TIniFile& settings = Preferences().Settings;
    settings.WriteInteger(kSection, "Warn", warn_->isChecked() ? 1 : 0);
    settings.WriteString(kSection, "WarnAbove", S(QString::number(warnBets_->value())));
    settings.WriteInteger(kSection, "Hard", hard_->isChecked() ? 1 : 0);
    settings.WriteString(kSection, "HardWithin", S(QString::number(hardBets_->value())));
    if (session_ != nullptr) session_->SetWarnAbove(Options().WarnAbove);
  };
  connect(warn_, &QCheckBox::toggled, this, optionsChanged);
  connect(warnBets_, &QDoubleSpinBox::valueChanged, this, optionsChanged);
  connect(hard_, &QCheckBox::toggled, this, optionsChanged);
  connect(hardBets_, &QDoubleSpinBox::valueChanged, this, optionsChanged);
  auto* options = new QGridLayout;
  options->addWidget(warn_, 0, 0);
  options->addWidget(warnBets_, 0, 1);
  options->addWidget(hard_, 1, 0);
  options->addWidget(hardBets_, 1, 1);
  options->setColumnStretch(2, 1);

  auto* sessionPage = new QWidget(tabs_);
  auto* figures = new QFormLayout;
  const char* figureKeys[kFigureCount] = {"Hands",      "Mistakes", "Cost",   "Accuracy",
                                          "Efficiency", "Net",      "Perfect"};
  for (int i = 0; i < kFigureCount; ++i) {
    auto* value = new QLabel(sessionPage);
    value->setAccessibleDescription(Text(figureKeys[i]));  // read after its value
    figures_[static_cast<size_t>(i)] = value;
    figures->addRow(Text(figureKeys[i]), value);
  }
  connect(mistakes_, &QTableWidget::cellClicked, this,
          [this](int row) { Guarded(this, [this, row] { ShowMistake(row); }); });
  mistakes_->setToolTip(HintOf(preferences.HintText(kSection, "ColumnHand")));
  auto* sessionLayout = new QVBoxLayout(sessionPage);
  sessionLayout->addLayout(figures);
  sessionLayout->addWidget(mistakes_, 1);
  tabs_->addTab(sessionPage, Text("Session"));
  auto* pastPage = new QWidget(tabs_);
  auto* pastLayout = new QVBoxLayout(pastPage);
  pastLayout->addWidget(history_, 1);
  pastLayout->addWidget(damaged_);
  damaged_->setAccessibleDescription(QStringLiteral("Damaged"));
  tabs_->addTab(pastPage, Text("Past"));
  tabs_->setAccessibleName(QStringLiteral("Pages"));

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addLayout(cards);
  layout->addWidget(result_);
  layout->addWidget(verdict_);
  layout->addWidget(showMe_);
  layout->addLayout(options);
  layout->addWidget(tabs_, 1);
  resize(620, 640);

  NewSession(NewPracticeSeed());
}

TfmPractice::~TfmPractice() {
  // The closing paths keep the session and report a failure; this is the last chance when
  // the window goes with its owner, and nothing can be shown any more.
  try {
    if (!kept_ && keepSessions_ && session_ != nullptr)
      AppendPracticeSession(folder_, session_->Record());
  } catch (const std::exception&) {  // NOLINT(bugprone-empty-catch): nothing left to tell
  }
}

TPracticeOptions TfmPractice::Options() const {
  TPracticeOptions options;
  options.WarnAbove = warn_->isChecked() ? warnBets_->value() : -1;
  options.HardWithin = hard_->isChecked() ? hardBets_->value() : -1;
  return options;
}

void TfmPractice::FinishSession() {
  if (kept_ || !keepSessions_ || session_ == nullptr) return;
  kept_ = true;  // reported once, not again at every close
  Guarded(this, [this] { AppendPracticeSession(folder_, session_->Record()); });
  LoadHistory();
}

void TfmPractice::NewSession(uint64_t seed) {
  const TPayout* table = controller_.CurrentTable();
  if (table == nullptr) throw InputError("practice needs a pay table");
  auto session = std::make_unique<TPracticeSession>(controller_.CurrentGame(), *table,
                                                    controller_.Coins(), seed, Options());
  FinishSession();
  session_ = std::move(session);
  gameId_ = controller_.CurrentGame().GameId;
  kept_ = true;
  mistakes_->setRowCount(0);
  seed_->setText(QString::number(seed));
  seed_->setModified(false);
  QStringList pays;
  for (int32_t pay : PaysOf(*table)) pays << QString::number(pay);
  table_->setText(
      Filled("Table", {Q(controller_.WindowTitle()).trimmed(), pays.join(QLatin1Char('/')),
                       QString::number(controller_.Coins())}));
  LoadHistory();
  DealHand();
}

void TfmPractice::DealHand() {
  session_->Deal();
  mask_ = 0;
  drawn_ = false;
  draw_->setText(Text("Draw"));
  result_->setText(session_->HardFound() ? QString() : Text("NoHardHand"));
  verdict_->setText(QString());
  showMe_->hide();
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
    const TPracticeVerdict verdict = session_->Grade(mask_);
    const std::array<int32_t, kHandSize>& cards = session_->CurrentDeal().Cards;
    QMessageBox box(
        QMessageBox::Warning, windowTitle(),
        Filled("Warn", {HoldText(cards, verdict.BestMask), Fixed(verdict.CostBets(), 5)}),
        QMessageBox::Yes | QMessageBox::No, this);
    box.setAccessibleName(QStringLiteral("Warning"));
    box.setDefaultButton(QMessageBox::No);
    if (box.exec() != QMessageBox::Yes) return false;
  }
  const TPracticeHand& hand = session_->Draw(mask_);
  drawn_ = true;
  kept_ = false;
  draw_->setText(Text("Deal"));
  const TPracticeVerdict& verdict = hand.Verdict;
  QStringList drawnCards;
  for (int i = 0; i < kHandSize; ++i)
    if (BitSet(mask_, i)) drawnCards << CardCodeText(hand.Final[static_cast<size_t>(i)]);
  const std::vector<std::string>& names = session_->CategoryNames();
  const QString final = HoldText(hand.Final, 0);
  const QString drawnText = drawnCards.isEmpty() ? Text("StoodPat") : drawnCards.join(' ');
  if (hand.Category >= 0 && hand.Category < static_cast<int>(names.size())) {
    result_->setText(
        Filled("Paid", {drawnText, final, Q(names[static_cast<size_t>(hand.Category)]).toUpper(),
                        QString::number(hand.Pay)}));
  } else {
    result_->setText(Filled("NotPaid", {drawnText, final}));
  }
  const std::array<int32_t, kHandSize>& dealt = hand.Deal.Cards;
  if (!verdict.Mistake()) {
    verdict_->setText(verdict.Mask == verdict.BestMask
                          ? Filled("Right", {HoldText(dealt, verdict.Mask)})
                          : Filled("RightTie", {HoldText(dealt, verdict.Mask),
                                                HoldText(dealt, verdict.BestMask)}));
  } else {
    verdict_->setText(
        Filled("Mistake", {HoldText(dealt, verdict.Mask), HoldText(dealt, verdict.BestMask),
                           Fixed(verdict.CostBets(), 5), Fixed(verdict.CostCoins(), 5)}));
    AddMistake(hand);
  }
  showMe_->show();
  ShowCards();
  ShowFigures();
  return true;
}

QString TfmPractice::HoldText(const std::array<int32_t, kHandSize>& cards, int mask) const {
  QStringList held;
  for (int i = 0; i < kHandSize; ++i)
    if (!BitSet(mask, i)) held << CardCodeText(cards[static_cast<size_t>(i)]);
  return held.isEmpty() ? Text("DrawFive") : held.join(QLatin1Char(' '));
}

void TfmPractice::ShowCards() {
  const TPracticeDeal& deal = session_->CurrentDeal();
  const std::array<int32_t, kHandSize> shown =
      drawn_ ? session_->Record().Hands.back().Final : deal.Cards;
  const int wildRank =
      controller_.FindGame(gameId_) != nullptr ? controller_.FindGame(gameId_)->WildRank : -1;
  for (int i = 0; i < kHandSize; ++i) {
    const int code = shown[static_cast<size_t>(i)];
    const bool held = !BitSet(mask_, i);
    const bool wild = code < 0 || (wildRank >= 0 && code % 13 == wildRank);
    TCardSlot* slot = slots_[static_cast<size_t>(i)];
    slot->Show(painter_.Card(code, held, wild), CardCodeText(code));
    slot->setChecked(held);
    slot->setEnabled(!drawn_);
  }
}

void TfmPractice::ShowFigures() {
  const TPracticeFigures& figures = session_->Figures();
  const QStringList values = {
      QString::number(figures.Hands),
      QString::number(figures.Mistakes),
      Filled("CostValue", {Fixed(figures.CostBets, 5), Fixed(figures.CostCoins(), 5)}),
      Percent(figures.Accuracy()),
      Percent(figures.Efficiency()),
      (figures.Net() > 0 ? QStringLiteral("+") : QString()) + QString::number(figures.Net()),
      (figures.PerfectNet() >= 0 ? QStringLiteral("+") : QString()) +
          Fixed(figures.PerfectNet(), 2)};
  for (int i = 0; i < kFigureCount; ++i) figures_[static_cast<size_t>(i)]->setText(values[i]);
}

void TfmPractice::AddMistake(const TPracticeHand& hand) {
  AppendRow(mistakes_,
            {HoldText(hand.Deal.Cards, 0), HoldText(hand.Deal.Cards, hand.Verdict.Mask),
             HoldText(hand.Deal.Cards, hand.Verdict.BestMask), Fixed(hand.Verdict.CostBets(), 5)});
  mistakes_->item(mistakes_->rowCount() - 1, 0)
      ->setData(Qt::UserRole, static_cast<int>(session_->Record().Hands.size() - 1));
}

void TfmPractice::ShowMistake(int row) {
  const QTableWidgetItem* item = mistakes_->item(row, 0);
  if (item == nullptr) return;
  const auto index = static_cast<size_t>(item->data(Qt::UserRole).toInt());
  const std::vector<TPracticeHand>& hands = session_->Record().Hands;
  if (index >= hands.size()) return;
  // The main window analyses the hand under its own table, on the session's game.
  if (controller_.CurrentGame().GameId != gameId_) controller_.SelectGame(gameId_);
  controller_.ShowHand(hands[index].Deal.Cards, hands[index].Verdict.BestMask);
}

void TfmPractice::ShowAllHolds() {
  TfmAllHands holds(this, session_->HoldsSnapshot(mask_), windowTitle());
  holds.exec();
}

void TfmPractice::LoadHistory() {
  const TPracticeHistory history = ReadPracticeHistory(folder_);
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
  damaged_->setText(history.Damaged == 0 ? QString()
                                         : Filled("Damaged", {QString::number(history.Damaged)}));
  damaged_->setVisible(history.Damaged != 0);
}

void TfmPractice::keyPressEvent(QKeyEvent* event) {
  const int key = event->key();
  if (key >= Qt::Key_1 && key <= Qt::Key_5 && event->modifiers() == Qt::NoModifier) {
    ToggleHold(key - Qt::Key_1);
    return;
  }
  if (key == Qt::Key_F1) {
    ShowHelpTopic(this, kPracticeHelp);
    return;
  }
  QDialog::keyPressEvent(event);
}

void TfmPractice::done(int result) {
  FinishSession();  // closed, or Escape
  QDialog::done(result);
}

}  // namespace tarnwick::app
