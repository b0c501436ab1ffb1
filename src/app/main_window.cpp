// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "main_window.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QFontDatabase>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLibraryInfo>
#include <QLocale>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QSplitter>
#include <QStyle>
#include <QTableView>
#include <QVBoxLayout>
#include <QWindow>
#include <algorithm>

#include "about_box.h"
#include "engine/cards.h"
#include "errors.h"
#include "help_browser.h"
#include "parts/button_faces.h"
#include "parts/card_button.h"
#include "parts/card_painter.h"
#include "parts/card_slot.h"
#include "parts/controller_signals.h"
#include "parts/gradient_label.h"
#include "parts/guard.h"
#include "parts/hint_pause.h"
#include "parts/layout_rules.h"
#include "parts/qt_text.h"
#include "parts/results_model.h"
#include "parts/translations.h"
#include "practice_window.h"
#include "session/copy_text.h"
#include "session/preferences.h"
#include "session/report_links.h"
#include "stats/hold_lines.h"

namespace tarnwick::app {

namespace {

constexpr int kMaxWidth = 810;  // three times the design width: cards up to three times as large
constexpr int kDesignWidth = 270;
constexpr int kDesignHeight = 700;
constexpr int kDesignUpperHeight = 225;
constexpr int kTitleHeight = 23;
constexpr int kCardsPanelRoom = 22;  // the cards panel's height besides a card

QString Upper(const QString& text) {
  return text.toUpper().trimmed();
}

}  // namespace

TfmMain::TfmMain(const std::filesystem::path& dataFolder) {
  // The title bar shows just this: the program gives no display name for Qt to add.
  setWindowTitle(QStringLiteral("Tarnwick ") + QString::fromLatin1(kProgramVersion));
  setWindowIcon(TCardPainter::ProgramIcon());
  setAccessibleName(QStringLiteral("Tarnwick"));
  setMaximumWidth(kMaxWidth);
  ui_.SetOwner(this);
  controller_ = std::make_unique<TModelController>(ui_, dataFolder, &Preferences());
  signals_ = new TControllerSignals(*controller_, this);
  ui_.SetSignals(signals_);
  faces_ = std::make_unique<TButtonFaces>(palette().color(QPalette::Button), devicePixelRatioF());

  title_ = new TGradientLabel(this);
  title_->setFixedHeight(kTitleHeight);
  title_->setAccessibleDescription(QStringLiteral("Title"));
  results_ = new TResultsModel(this);
  grid_ = new QTableView(this);
  grid_->setModel(results_);
  grid_->setAccessibleName(QStringLiteral("Results"));
  grid_->horizontalHeader()->hide();
  grid_->verticalHeader()->hide();
  grid_->verticalHeader()->setMinimumSectionSize(1);
  grid_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  grid_->horizontalHeader()->setMinimumSectionSize(1);
  grid_->setSelectionMode(QAbstractItemView::NoSelection);
  grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid_->setFocusPolicy(Qt::NoFocus);
  grid_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  grid_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  grid_->setWordWrap(false);
  grid_->setContextMenuPolicy(Qt::CustomContextMenu);
  grid_->viewport()->installEventFilter(this);
  connect(grid_, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { menu_->popup(grid_->viewport()->mapToGlobal(at)); });

  standing_ = new QLabel(this);
  standing_->setWordWrap(true);
  standing_->setContentsMargins(4, 2, 4, 2);
  standing_->setAccessibleDescription(QStringLiteral("Standing"));
  standing_->installEventFilter(this);
  auto* upper = new QWidget(this);
  auto* upperLayout = new QVBoxLayout(upper);
  upperLayout->setContentsMargins(0, 0, 0, 0);
  upperLayout->setSpacing(0);
  upperLayout->addWidget(title_);
  upperLayout->addWidget(grid_, 1);
  upperLayout->addWidget(standing_);

  cardsPanel_ = new QWidget(this);
  cardsPanel_->setFixedHeight(TCardPainter::kCardHeight + kCardsPanelRoom);
  cardsPanel_->setAccessibleName(QStringLiteral("Hand"));
  cardsPanel_->installEventFilter(this);
  buttonsPanel_ = new QWidget(this);
  buttonsPanel_->setMinimumHeight(50);
  buttonsPanel_->setAccessibleName(QStringLiteral("Cards"));
  buttonsPanel_->installEventFilter(this);
  auto* lower = new QWidget(this);
  auto* lowerLayout = new QVBoxLayout(lower);
  lowerLayout->setContentsMargins(0, 0, 0, 0);
  lowerLayout->setSpacing(0);
  lowerLayout->addWidget(cardsPanel_);
  lowerLayout->addWidget(buttonsPanel_, 1);

  splitter_ = new QSplitter(Qt::Vertical, this);
  splitter_->setHandleWidth(2);
  splitter_->setChildrenCollapsible(false);
  splitter_->addWidget(upper);
  splitter_->addWidget(lower);
  splitter_->setStretchFactor(1, 1);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(splitter_);

  for (int i = 0; i < kHandSize; ++i) {
    auto* slot = new TCardSlot(i, cardsPanel_);
    connect(slot, &QAbstractButton::toggled, this, [this, i](bool held) { SlotToggled(i, held); });
    slots_[static_cast<size_t>(i)] = slot;
  }
  BuildMenu();
  for (int i = 0; i < kButtonCount; ++i) {
    auto* button = i == kMenuButton ? new TMenuButton(*faces_, menu_, buttonsPanel_)
                                    : new TCardButton(*faces_, buttonsPanel_);
    buttons_.push_back(button);
    if (i == kMenuButton) continue;
    if (i == kAllHoldsButton) {
      connect(button, &QAbstractButton::clicked, this,
              [this] { Guarded(this, [this] { controller_->ShowAllHands(); }); });
      continue;
    }
    const int code = ButtonCode(i);
    button->setCheckable(true);
    button->setAccessibleName(CardCodeText(code));
    connect(button, &QAbstractButton::toggled, this, [this, code] { CardButtonToggled(code); });
  }
  OrderTabs();
  connect(signals_, &TControllerSignals::Changed, this,
          [this](TChanges changes) { Refresh(changes); });
  connect(signals_, &TControllerSignals::Changed, this, &TfmMain::FollowStrategy);
  InstallHintPause();
  // The texts first: they set the least width the placement has to respect.
  ApplyTexts();
  RestorePlacement();
  Refresh();
}

TfmMain::~TfmMain() {
  // The windows that follow the controller go first, then its signals, then the controller.
  CloseWindowsBeside();
  delete signals_;
}

void TfmMain::CloseWindowsBeside() {
  // A window may take another with it as it goes: each is deleted only while it is there.
  QList<QPointer<QWidget>> windows;
  for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
    if (child->isWindow()) windows << child;
  for (const QPointer<QWidget>& window : windows) delete window.data();
}

TCardButton* TfmMain::CardButton(int code) const {
  return Button(ButtonOf(code));
}

const TCardPainter& TfmMain::Painter() {
  const qreal ratio = devicePixelRatioF();
  if (!painter_ || painter_->DevicePixelRatio() != ratio || painter_->Scale() != cardScale_) {
    painter_ = std::make_unique<TCardPainter>(ratio, QStringLiteral(":/cards"), cardScale_);
    faces_->SetDevicePixelRatio(ratio);
  }
  return *painter_;
}

void TfmMain::BuildMenu() {
  menu_ = new QMenu(this);
  menu_->setAccessibleName(QStringLiteral("Menu"));
  menu_->setToolTipsVisible(true);  // the entries' hints show as the mouse rests on them
  const auto action = [this](const QKeySequence& keys, auto&& slot) {
    auto* item = new QAction(this);
    item->setShortcut(keys);
    item->setShortcutContext(Qt::WindowShortcut);
    connect(item, &QAction::triggered, this, [this, slot] { Guarded(this, slot); });
    addAction(item);  // the keys work without the menu open
    return item;
  };
  copyAction_ =
      action(QKeySequence::Copy, [this] { QApplication::clipboard()->setText(CopyText()); });
  helpAction_ =
      action(QKeySequence(Qt::Key_F1), [this] { ShowHelpTopic(this, THelpContext::Main); });
  gameAction_ = action(QKeySequence(Qt::Key_F2), [this] { controller_->ChooseGameAndPayout(); });
  chartsAction_ = action(QKeySequence(Qt::Key_F3), [this] { controller_->ShowCharts(); });
  statisticsAction_ = action(QKeySequence(Qt::Key_F4), [this] { controller_->ShowStatistics(); });
  practiceAction_ = action(QKeySequence(Qt::Key_F5), [this] { ShowPractice(); });
  strategyAction_ = action(QKeySequence(Qt::Key_F6), [this] { ShowStrategy(); });
  allHoldsAction_ = action(QKeySequence(Qt::Key_F7), [this] { controller_->ShowAllHands(); });
  // F10 and the context-menu key open the menu at its button, as a menu bar's key would.
  action(QKeySequence(Qt::Key_F10), [this] { MenuButton()->ShowMenu(); });
  action(QKeySequence(Qt::Key_Menu), [this] { MenuButton()->ShowMenu(); });
  aboutAction_ = new QAction(this);
  connect(aboutAction_, &QAction::triggered, this, [this] {
    TfmAbout about(this, devicePixelRatioF());
    about.exec();
  });
  menu_->addAction(copyAction_);
  menu_->addSeparator();
  menu_->addAction(helpAction_);
  menu_->addAction(gameAction_);
  menu_->addAction(chartsAction_);
  menu_->addAction(statisticsAction_);
  menu_->addAction(practiceAction_);
  menu_->addAction(strategyAction_);
  menu_->addAction(allHoldsAction_);
  languageMenu_ = menu_->addMenu(QString());
  menu_->addAction(aboutAction_);
  connect(languageMenu_, &QMenu::aboutToShow, this, &TfmMain::FillLanguageMenu);
}

TMenuButton* TfmMain::MenuButton() const {
  return static_cast<TMenuButton*>(Button(kMenuButton));
}

void TfmMain::OrderTabs() {
  // Reading order: the hand, then the board row by row, left to right (the card buttons are
  // made a suit at a time, that is column by column).
  std::vector<QWidget*> order(slots_.begin(), slots_.end());
  std::vector<int> board(kButtonCount);
  for (int i = 0; i < kButtonCount; ++i) board[static_cast<size_t>(i)] = i;
  std::stable_sort(board.begin(), board.end(), [](int a, int b) {
    const QPoint cellA = ButtonCell(a);
    const QPoint cellB = ButtonCell(b);
    return std::pair(cellA.y(), cellA.x()) < std::pair(cellB.y(), cellB.x());
  });
  for (int i : board) order.push_back(Button(i));
  for (size_t i = 1; i < order.size(); ++i) setTabOrder(order[i - 1], order[i]);
}

void TfmMain::FillLanguageMenu() {
  // The items are made once and then only updated: a language chosen from the menu updates
  // the menu while its item is still being triggered.
  const TPreferences& preferences = Preferences();
  const std::vector<std::string> names = preferences.LanguageNames();
  if (languageMenu_->actions().size() != static_cast<qsizetype>(names.size())) {
    languageMenu_->clear();
    for (size_t i = 0; i < names.size(); ++i) {
      QAction* item = languageMenu_->addAction(QString());
      item->setCheckable(true);
      connect(item, &QAction::triggered, this,
              [this, i] { Guarded(this, [this, i] { ChooseLanguage(static_cast<int>(i)); }); });
    }
  }
  const QList<QAction*> items = languageMenu_->actions();
  for (size_t i = 0; i < names.size(); ++i) {
    items[static_cast<qsizetype>(i)]->setText(Q(names[i]));
    items[static_cast<qsizetype>(i)]->setChecked(static_cast<int>(i) ==
                                                 preferences.LanguageIndex());
  }
}

void TfmMain::ChooseLanguage(int index) {
  Preferences().ChooseLanguage(index);
  InstallQtTranslation(Q(Preferences().LanguageCode));
  ApplyTexts();
  ui_.ApplyTexts();
}

void TfmMain::ApplyTexts() {
  const TPreferences& preferences = Preferences();
  UseLanguageFont();
  const QFont font = QApplication::font();

  TCardButton* menuButton = Button(kMenuButton);
  menuButton->setText(Q(preferences.ButtonText("Menu")));
  menuButton->setToolTip(HintOf(preferences.HintText("Buttons", "Menu")));
  menuButton->setAccessibleName(menuButton->text());
  TCardButton* allHolds = Button(kAllHoldsButton);
  allHolds->setText(Q(preferences.ButtonText("AllHands")));
  allHolds->setToolTip(HintOf(preferences.HintText("Buttons", "AllHands")));
  allHolds->setAccessibleName(allHolds->text());
  QFont glyphFont = font;
  glyphFont.setPointSizeF(std::max(font.pointSizeF() - 1, 7.0));
  const TCardPainter& painter = Painter();
  for (int i = 2; i < kButtonCount; ++i) {
    const int code = ButtonCode(i);
    TCardButton* button = Button(i);
    button->setFont(font);
    if (code < 0) {
      button->setText(Q(preferences.ButtonText("Joker")));
    } else {
      button->SetGlyph(painter.Glyph(code, glyphFont));
    }
  }
  menuButton->setFont(font);
  allHolds->setFont(font);

  copyAction_->setText(Q(preferences.ButtonText("Copy")));
  helpAction_->setText(Q(preferences.Text("Menu", "Help")));
  gameAction_->setText(Q(preferences.Text("Menu", "Game")));
  chartsAction_->setText(Q(preferences.Text("Menu", "Charts")));
  chartsAction_->setToolTip(HintOf(preferences.HintText("Menu", "Charts")));
  statisticsAction_->setText(Q(preferences.Text("Menu", "Statistics")));
  statisticsAction_->setToolTip(HintOf(preferences.HintText("Menu", "Statistics")));
  practiceAction_->setText(Q(preferences.Text("Menu", "Practice")));
  practiceAction_->setToolTip(HintOf(preferences.HintText("Menu", "Practice")));
  strategyAction_->setText(Q(preferences.Text("Menu", "Strategy")));
  strategyAction_->setToolTip(HintOf(preferences.HintText("Menu", "Strategy")));
  allHoldsAction_->setText(allHolds->text());
  allHoldsAction_->setToolTip(allHolds->toolTip());
  languageMenu_->setTitle(Q(preferences.Text("Menu", "Language")));
  FillLanguageMenu();
  aboutAction_->setText(Q(preferences.Text("Menu", "About")));
  results_->SetHints(HintOf(preferences.HintText("Main", "Payout")),
                     HintOf(preferences.HintText("Main", "Probability")),
                     HintOf(preferences.HintText("Main", "Return")));
  grid_->setFont(font);
  FitNameColumn();
  QFont bold = font;
  bold.setBold(true);
  title_->setFont(bold);
  Refresh();
  for (TfmPractice* practice : findChildren<TfmPractice*>(Qt::FindDirectChildrenOnly))
    practice->ApplyTexts();
  if (TfmStrategy* strategy = strategy_.data()) strategy->ApplyTexts();
}

void TfmMain::FitNameColumn() {
  // The widest text the first column can show: a category name of any game, in upper case
  // as the grid shows it, or the return label with the longest note of tied holds.
  const TPreferences& preferences = Preferences();
  const QFontMetrics metrics(grid_->font());
  int widest = 0;
  int rows = 0;
  for (const auto& game : controller_->Games()) {
    rows = std::max(rows, game->LastCategory + 2);  // the categories and the return
    for (int c = 0; c <= game->LastCategory; ++c)
      widest = std::max(
          widest, metrics.horizontalAdvance(QLatin1Char(' ') + Q(game->CategoryName(c)).toUpper()));
  }
  const QString tie = Q(preferences.Text("Main", "Tie"))
                          .replace(QStringLiteral("%s"), QString::number(kMaskCount - 1));
  widest =
      std::max(widest, metrics.horizontalAdvance(
                           QLatin1Char(' ') + Q(preferences.Text("Messages", "ExpReturn")) + tie));
  // At its least size every row still shows its text and every button its glyph.
  grid_->setMinimumHeight(rows * (metrics.height() + 1) + 2 * grid_->frameWidth() + 2);
  buttonsPanel_->setMinimumHeight(kButtonRows * (metrics.height() + 4));
  standing_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  FitStandingHeight();
  const int margin = grid_->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, grid_) + 1;
  nameWidth_ = widest + 2 * margin + 1;
  grid_->setMinimumWidth(nameWidth_ + PaysWidth() + ChancesWidth() + 2 * grid_->frameWidth());
  // The window is narrow, but never narrower than its texts in the language in use.
  // The wrapped line under the grid makes its panel report a least width of its own: the
  // grid's is given to the panel explicitly.
  grid_->parentWidget()->setMinimumWidth(grid_->minimumWidth());
  setMaximumWidth(std::max(kMaxWidth, minimumSizeHint().width()));
}

int TfmMain::PaysWidth() const {
  return std::max(40, QFontMetrics(grid_->font()).horizontalAdvance(QStringLiteral("88888")) + 8);
}

int TfmMain::ChancesWidth() const {
  return std::max(60,
                  QFontMetrics(grid_->font()).horizontalAdvance(QStringLiteral("100.000%")) + 8);
}

void TfmMain::SyncCardButtons() {
  for (int i = 2; i < kButtonCount; ++i) {
    const QSignalBlocker quiet(Button(i));
    Button(i)->setChecked(controller_->IndexOfCard(ButtonCode(i)) >= 0);
  }
}

void TfmMain::Refresh(TChanges changes) {
  if (changes == 0) return;
  ++refreshCount_;
  const TModelController& controller = *controller_;
  const bool analysed = controller.IsAnalysed();
  // Every card button shows pressed exactly while its card is in the hand.
  if ((changes & (kHandChanged | kAnalysisChanged)) != 0) SyncCardButtons();
  if ((changes & kGameChanged) != 0) {
    const int jokers = controller.CurrentGame().JokerCount;
    CardButton(kFirstJoker)->setEnabled(jokers >= 1);
    CardButton(kSecondJoker)->setEnabled(jokers >= 2);
  }
  Button(kAllHoldsButton)->setEnabled(analysed);
  allHoldsAction_->setEnabled(analysed);
  const bool figures = controller.CanShowTableFigures();
  chartsAction_->setEnabled(figures);
  statisticsAction_->setEnabled(figures);
  practiceAction_->setEnabled(controller.CurrentTable() != nullptr);
  // The hand's pictures: which cards, which are held, which are wild in this game.
  if ((changes & (kHandChanged | kAnalysisChanged | kGameChanged)) != 0) PaintSlots();
  // A table list sorted or merged leaves the current table and the results as they are.
  if (changes == kTableListChanged) return;
  const TResultGrid grid = controller.ResultGrid();
  QString returnLabel = Q(Preferences().Text("Messages", "ExpReturn"));
  // The shown hold is the best, and others give exactly as much: say so on the return row.
  if (grid.TiedHolds > 0)
    returnLabel += Q(Preferences().Text("Main", "Tie"))
                       .replace(QStringLiteral("%s"), QString::number(grid.TiedHolds));
  results_->Set(grid, returnLabel);
  ShowStanding(grid);
  title_->setText(Upper(Q(controller.WindowTitle())));
  FillGrid();
}

void TfmMain::ShowStanding(const TResultGrid& grid) {
  const TModelController& controller = *controller_;
  const TPreferences& texts = Preferences();
  const bool shown = controller.IsAnalysed() && controller.CurrentTable() != nullptr;
  standing_->setVisible(shown);
  if (!shown) return;
  std::array<int32_t, kHandSize> cards{};
  for (int i = 0; i < kHandSize; ++i) cards[static_cast<size_t>(i)] = controller.CardCode(i);
  const TStandingTexts pattern{
      texts.Text("Main", "Standing.NotBest"), texts.Text("Main", "Standing.Best"),
      texts.Text("Main", "Standing.AllTie"), texts.Text("Main", "Standing.Nothing"),
      texts.Text("Main", "Standing.Lines")};
  const THoldNamer namer(controller.CurrentGame());
  standing_->setText(
      Q(StandingText(grid.Standing, cards, std::max(controller.Coins(), 1), pattern, &namer)));
  FitStandingHeight();
  const bool away = !grid.Standing.Best;
  standing_->setToolTip(away ? HintOf(texts.HintText("Main", "Standing.NotBest")) : QString());
  standing_->setCursor(away ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void TfmMain::FitStandingHeight() {
  // The line under the grid keeps room for three lines of text, and takes as many as its
  // text wraps to at its width (a long line in German or Russian), so that it never runs
  // over the grid: the divider between the panels goes down instead. Its width is known
  // once it is shown.
  int height = 3 * QFontMetrics(standing_->font()).lineSpacing() + 4;
  if (standing_->isVisible())
    height = std::max(height, standing_->heightForWidth(standing_->width()));
  standing_->setMinimumHeight(height);
}

void TfmMain::PaintSlots() {
  const TCardPainter& painter = Painter();
  const TModelController& controller = *controller_;
  const bool analysed = controller.IsAnalysed();
  for (int i = 0; i < kHandSize; ++i) {
    TCardSlot* slot = Slot(i);
    const int code = controller.CardCode(i);
    const bool held = analysed && !controller.IsReplaced(i);
    slot->Show(painter.Card(code, held, controller.IsWildCard(i)), CardCodeText(code));
    const QSignalBlocker quiet(slot);
    slot->setChecked(held);
    slot->setEnabled(analysed);
    slot->setCursor(analysed ? Qt::PointingHandCursor : Qt::ArrowCursor);
  }
}

void TfmMain::FillGrid() {
  const int rows = results_->rowCount();
  const int categories = results_->CategoryCount();
  const QSize client = grid_->viewport()->size();
  // The pays and chance columns at least as wide as their widest text in the grid's font,
  // the names as wide as the longest one.
  const int pays = PaysWidth();
  const int chances = ChancesWidth();
  grid_->setColumnWidth(TResultsModel::PayColumn, pays);
  grid_->setColumnWidth(TResultsModel::ChanceColumn, chances);
  grid_->setColumnWidth(TResultsModel::NameColumn,
                        std::max(client.width() - pays - chances, nameWidth_));
  // The category rows and the return row share the height; the separator is one pixel.
  const int height = std::max(client.height() - 1, rows);
  const double each = height / static_cast<double>(categories + 1);
  int used = 0;
  for (int row = 0; row < categories; ++row) {
    const int rowHeight = std::max(static_cast<int>(each), 1);
    grid_->setRowHeight(row, rowHeight);
    used += rowHeight;
  }
  grid_->setRowHeight(categories, 1);
  grid_->setRowHeight(categories + 1, std::max(height - used, 1));
}

void TfmMain::LayOutButtons() {
  const QSize client = buttonsPanel_->contentsRect().size();
  for (int i = 0; i < kButtonCount; ++i) Button(i)->setGeometry(ButtonRect(i, client));
}

void TfmMain::ScaleCards() {
  // The cards grow with the window, in quarter steps, from the design size (five cards
  // side by side in 270 pixels) up to three times it.
  constexpr double kSlotWidth = TCardPainter::kCardWidth + 4;
  const double fit = (cardsPanel_->width() - 10) / (5 * kSlotWidth);
  const double scale = std::clamp(std::floor(fit * 4) / 4, 1.0, 3.0);
  if (scale == cardScale_) return;
  cardScale_ = scale;
  cardsPanel_->setFixedHeight(static_cast<int>(std::lround(TCardPainter::kCardHeight * scale)) +
                              kCardsPanelRoom);
  PaintSlots();
  LayOutSlots();
}

void TfmMain::LayOutSlots() {
  const QSize client = cardsPanel_->contentsRect().size();
  const QSize card(static_cast<int>(std::lround(TCardPainter::kCardWidth * cardScale_)),
                   static_cast<int>(std::lround(TCardPainter::kCardHeight * cardScale_)));
  for (int i = 0; i < kHandSize; ++i) {
    if (const auto place = CardSlotPlace(i, client, card))
      Slot(i)->setGeometry(QRect(*place, card));
  }
}

bool TfmMain::eventFilter(QObject* watched, QEvent* event) {
  // A click on the line under the grid shows the best hold again.
  if (watched == standing_ && event->type() == QEvent::MouseButtonRelease) {
    Guarded(this, [this] { controller_->ShowBestHold(); });
    return true;
  }
  if (watched == standing_ && (event->type() == QEvent::Resize || event->type() == QEvent::Show))
    FitStandingHeight();
  if (event->type() == QEvent::Resize) {
    if (watched == buttonsPanel_) LayOutButtons();
    if (watched == cardsPanel_) {
      ScaleCards();
      LayOutSlots();
    }
    if (watched == grid_->viewport()) FillGrid();
  }
  return QWidget::eventFilter(watched, event);
}

void TfmMain::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (screenWatched_ || windowHandle() == nullptr) return;
  screenWatched_ = true;
  // A move to a screen of another pixel ratio paints the cards anew for it.
  connect(windowHandle(), &QWindow::screenChanged, this, [this] { ApplyTexts(); });
}

TCardEntry::THand TfmMain::EntryHand() const {
  const TModelController& controller = *controller_;
  TCardEntry::THand hand;
  for (int i = 0; i < kHandSize; ++i) hand.Cards[static_cast<size_t>(i)] = controller.CardCode(i);
  hand.Analysed = controller.IsAnalysed();
  hand.JokerCount = controller.CurrentGame().JokerCount;
  return hand;
}

void TfmMain::Apply(const TCardEntry::TStep& step) {
  TModelController& controller = *controller_;
  switch (step.Action) {
    case TCardEntry::TAction::None:
      break;
    case TCardEntry::TAction::Put:
      controller.PutCard(step.Code);  // after a whole hand, the first card of the next
      break;
    case TCardEntry::TAction::Take:
      controller.TakeCard(step.Code);
      break;
    case TCardEntry::TAction::Toggle:
      controller.ToggleDraw(step.Position);
      break;
    case TCardEntry::TAction::Clear:
      controller.ClearHand();
      break;
  }
}

void TfmMain::CardButtonToggled(int code) {
  Guarded(this, [&] { Apply(entry_.Click(code, EntryHand())); });
  // A refused card leaves the hand as it was: its button shows that again.
  if (Button(ButtonOf(code))->isChecked() != (controller_->IndexOfCard(code) >= 0))
    SyncCardButtons();
}

void TfmMain::SlotToggled(int position, bool held) {
  Guarded(this, [&] {
    if (controller_->IsAnalysed() && held == controller_->IsReplaced(position))
      controller_->ToggleDraw(position);
  });
  // A refused toggle leaves the hold as it was: the slot shows that again.
  if (Slot(position)->isChecked() !=
      (controller_->IsAnalysed() && !controller_->IsReplaced(position)))
    PaintSlots();
}

void TfmMain::keyPressEvent(QKeyEvent* event) {
  if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) {
    QWidget::keyPressEvent(event);
    return;
  }
  const int key = event->key();
  const QString text = event->text();
  bool handled = true;
  Guarded(this, [&] {
    if (key == Qt::Key_Backspace) {
      Apply(entry_.Backspace(EntryHand()));
    } else if (key == Qt::Key_Escape) {
      Apply(entry_.Escape());
    } else if (key == Qt::Key_B) {
      // B: back to the best hold (B is neither a rank nor a suit).
      entry_.DropRank();
      controller_->ShowBestHold();
    } else if (controller_->IsAnalysed() && key >= Qt::Key_1 && key <= Qt::Key_5) {
      Apply(entry_.Key(static_cast<char32_t>(key), EntryHand()));
    } else if (!text.isEmpty() && text.at(0).isLetterOrNumber()) {
      Apply(entry_.Key(text.at(0).toUpper().unicode(), EntryHand()));
    } else {
      handled = false;
    }
  });
  if (!handled) QWidget::keyPressEvent(event);
}

QString TfmMain::CopyText() const {
  return Q(HandCopyText(*controller_, results_->Grid(), S(results_->ReturnLabel())));
}

void TfmMain::RestorePlacement() {
  TPreferences& preferences = Preferences();
  const QScreen* screen =
      this->screen() != nullptr ? this->screen() : QApplication::primaryScreen();
  const QString section =
      PlacementSection(static_cast<int>(std::lround(screen->logicalDotsPerInch())),
                       screen->virtualGeometry().width());
  const std::string name = S(section);
  const TIniFile& settings = preferences.Settings;
  const int width = std::clamp(settings.ReadInteger(name, "Width", kDesignWidth),
                               minimumSizeHint().width(), maximumWidth());
  const int height = settings.ReadInteger(name, "Height", kDesignHeight);
  const QRect available = screen->availableGeometry();
  const int top = settings.ReadInteger(name, "Top", available.top() + 5);
  const int left = settings.ReadInteger(name, "Left", available.right() + 1 - width - 5);
  std::vector<QRect> screens;
  for (const QScreen* each : QApplication::screens()) screens.push_back(each->availableGeometry());
  const QRect place = FitIntoScreens(QRect(left, top, width, height), screens, maximumWidth());
  // Top and Left are the frame's corner: a window manager puts the title bar there, never
  // above the screen.
  resize(place.size());
  move(place.topLeft());
  const int upper =
      std::max(settings.ReadInteger(name, "Height1", kDesignUpperHeight), kTitleHeight);
  splitter_->setSizes({upper, std::max(this->height() - upper, 1)});
  controller_->LoadState(settings);
}

void TfmMain::SaveSettings() {
  TPreferences& preferences = Preferences();
  const QScreen* screen =
      this->screen() != nullptr ? this->screen() : QApplication::primaryScreen();
  const std::string name =
      S(PlacementSection(static_cast<int>(std::lround(screen->logicalDotsPerInch())),
                         screen->virtualGeometry().width()));
  TIniFile& settings = preferences.Settings;
  settings.WriteInteger(name, "Width", width());
  settings.WriteInteger(name, "Height", height());
  settings.WriteInteger(name, "Top", pos().y());  // the frame's corner, as move() takes it
  settings.WriteInteger(name, "Left", pos().x());
  settings.WriteInteger(name, "Height1", splitter_->sizes().value(0, kDesignUpperHeight));
  controller_->SaveState(settings);
  // The language in use, chosen from the menu or not, is the one of the next start.
  settings.WriteString("", "Language", preferences.LanguageCode);
}

bool TfmMain::SaveDataOrAsk() {
  const TPreferences& texts = Preferences();
  for (;;) {
    QString text;
    try {
      controller_->SaveData();
      return true;
    } catch (const FileBusyError&) {
      // Another program is saving the file: likely done when the player retries.
      text = Q(texts.Text("Messages", "SaveBusy")) + QStringLiteral("\n\n") + CurrentErrorText();
    } catch (...) {
      text = Q(texts.Text("Messages", "SaveFailed")) + QStringLiteral("\n\n") + CurrentErrorText();
    }
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Tarnwick"), text, QMessageBox::NoButton,
                    this);
    box.setAccessibleName(QStringLiteral("Save failed"));
    QPushButton* retry = box.addButton(QMessageBox::Retry);
    QPushButton* quit =
        box.addButton(Q(texts.Text("Messages", "QuitUnsaved")), QMessageBox::DestructiveRole);
    box.addButton(QMessageBox::Cancel);
    box.setDefaultButton(retry);
    box.exec();
    if (box.clickedButton() == retry) continue;
    if (box.clickedButton() != quit) return false;
    // Nothing is written later either, when the controller ends.
    controller_->DiscardChanges();
    return true;
  }
}

void TfmMain::ShowStartWarnings() {
  if (warned_) return;
  warned_ = true;
  QStringList warnings;
  if (!controller_->LoadWarning().empty()) warnings << Q(controller_->LoadWarning());
  if (!Preferences().SettingsWarning().empty()) warnings << Q(Preferences().SettingsWarning());
  if (warnings.isEmpty()) return;
  QMessageBox box(QMessageBox::Warning, QStringLiteral("Tarnwick"),
                  warnings.join(QStringLiteral("\n\n")), QMessageBox::Ok, this);
  box.setAccessibleName(QStringLiteral("Warning"));
  box.exec();
}

void TfmMain::closeEvent(QCloseEvent* event) {
  // Never under a running calculation: the controller and its engine are still in use.
  if (signals_->Busy() || !SaveDataOrAsk()) {
    event->ignore();
    return;
  }
  // The practice session played so far is kept with the rest.
  if (TfmPractice* open = practice_.data(); open != nullptr) open->FinishSession();
  SaveSettings();
  event->accept();
}

void TfmMain::ShowPractice() {
  if (TfmPractice* open = practice_.data(); open != nullptr && open->isVisible()) {
    open->raise();
    open->activateWindow();
    return;
  }
  // A closed practice window has kept its session and deletes itself.
  delete practice_;
  practice_ = new TfmPractice(this, *controller_);
  connect(signals_, &TControllerSignals::Changed, practice_.data(),
          &TfmPractice::MainWindowChanged);
  practice_->show();
}

void TfmMain::ShowStrategy() {
  // The card is of a pay table: without one there is nothing to show.
  if (controller_->CurrentTable() == nullptr) return;
  const QString caption = Caption(controller_->FigureCaption());
  TfmStrategy* open = strategy_.data();
  if (open == nullptr) {
    open = new TfmStrategy(this, controller_->TableSnapshot(), caption);
    open->setAttribute(Qt::WA_DeleteOnClose);
    strategy_ = open;
  }
  open->show();
  open->raise();
  open->activateWindow();
}

void TfmMain::FollowStrategy(TChanges changes) {
  TfmStrategy* open = strategy_.data();
  if (open == nullptr || controller_->CurrentTable() == nullptr ||
      (changes & (kGameChanged | kTableListChanged | kTableChanged)) == 0)
    return;
  open->Follow(controller_->TableSnapshot(), Caption(controller_->FigureCaption()));
}

}  // namespace tarnwick::app
