// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "game_dialog.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QStyle>
#include <QStyleOptionHeader>
#include <QTableView>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <algorithm>
#include <array>
#include <utility>

#include "errors.h"
#include "help_browser.h"
#include "parts/coin_selector.h"
#include "parts/gradient_label.h"
#include "parts/guard.h"
#include "parts/job_runner.h"
#include "parts/qt_text.h"
#include "parts/tables_model.h"
#include "parts/window_place.h"
#include "session/preferences.h"
#include "session/window_settings.h"
#include "stats/multi_play.h"
#include "stats/table_grid.h"
#include "store/safe_files.h"
#include "text.h"

namespace tarnwick::app {

namespace {

// The steps of one turn of a mouse wheel: -1 towards the user (down), +1 away (up).
int WheelStep(const QWheelEvent* wheel) {
  const int delta = wheel->angleDelta().y();
  return delta < 0 ? 1 : delta > 0 ? -1 : 0;
}

// The width of the grid's row labels that fits every category name of every game (the
// first row's with the sort mark it can carry), measured as the header measures a label:
// in bold, with the style's margins.
int CategoryLabelsWidth(const QHeaderView& header, const TCatalogue& games) {
  QStyleOptionHeader option;
  option.initFrom(&header);
  option.orientation = Qt::Vertical;
  QFont bold = header.font();
  bold.setBold(true);
  option.fontMetrics = QFontMetrics(bold);
  int widest = 0;
  for (const auto& game : games) {
    for (int c = 0; c <= game->LastCategory && c < kTableGridSeparator; ++c) {
      for (const bool ascending : {true, false}) {
        option.text = TTablesModel::CategoryLabel(game->CategoryName(c));
        if (c == TableGridSortRow(1)) option.text += TTablesModel::SortMark(ascending);
        widest = std::max(
            widest, header.style()
                        ->sizeFromContents(QStyle::CT_HeaderSection, &option, QSize(), &header)
                        .width());
      }
    }
  }
  return widest;
}

}  // namespace

TfmPokerChoose::TfmPokerChoose(QWidget* parent, TModelController& controller)
    : QDialog(parent),
      controller_(controller),
      header_(new TGradientLabel(this)),
      games_(new QListWidget(this)),
      coins_(new TCoinSelector(this)),
      title_(new TGradientLabel(this)),
      tables_(new TTablesModel(controller, this)),
      grid_(new QTableView(this)),
      ok_(new QPushButton(this)),
      cancel_(new QPushButton(this)),
      add_(new QPushButton(this)),
      edit_(new QPushButton(this)),
      delete_(new QPushButton(this)),
      import_(new QPushButton(this)),
      export_(new QPushButton(this)),
      charts_(new QPushButton(this)),
      statistics_(new QPushButton(this)),
      linesLabel_(new QLabel(this)),
      lines_(new QSpinBox(this)),
      multiPlay_(new QLabel(this)),
      runner_(std::make_unique<TJobRunner>(TJobPolicy::NewestWins)) {
  AddHelpKey(this, THelpContext::Game);
  games_->setAccessibleName(QStringLiteral("Games"));
  for (const auto& game : controller_.Games()) {
    auto* item = new QListWidgetItem(QStringLiteral(" ") + Q(game->Name).toUpper());
    item->setData(Qt::UserRole, game->GameId);
    games_->addItem(item);
  }
  games_->sortItems();
  games_->installEventFilter(this);
  games_->viewport()->installEventFilter(this);
  connect(games_, &QListWidget::itemClicked, this,
          [this](QListWidgetItem* item) { SelectGameAt(games_->row(item)); });
  connect(games_, &QListWidget::currentRowChanged, this, [this](int row) {
    if (!refreshing_) SelectGameAt(row);
  });

  connect(coins_, &TCoinSelector::CoinsChosen, this,
          [this](int coins) { Run([&] { controller_.SetCoins(coins); }); });

  grid_->setModel(tables_);
  grid_->setTabKeyNavigation(false);  // Tab leaves the grid; the arrows move in it
  grid_->setAccessibleName(QStringLiteral("Tables"));
  grid_->setSelectionBehavior(QAbstractItemView::SelectColumns);
  grid_->setSelectionMode(QAbstractItemView::SingleSelection);
  grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  grid_->horizontalHeader()->hide();
  grid_->verticalHeader()->setSectionsClickable(true);
  grid_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  grid_->viewport()->installEventFilter(this);
  connect(grid_->verticalHeader(), &QHeaderView::sectionClicked, this,
          [this](int row) { SortByRow(row); });
  connect(grid_->selectionModel(), &QItemSelectionModel::currentColumnChanged, this,
          [this](const QModelIndex& current) {
            if (refreshing_ || !current.isValid() || current.column() == controller_.TableIndex())
              return;
            if (current.column() < controller_.TableCount())
              Run([&] { controller_.SelectTable(current.column()); });
          });

  for (QPushButton* button :
       {ok_, cancel_, add_, edit_, delete_, import_, export_, charts_, statistics_})
    button->setAutoDefault(false);
  ok_->setDefault(true);
  connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
  connect(add_, &QPushButton::clicked, this, [this] { Run([&] { controller_.AddTable(); }); });
  connect(edit_, &QPushButton::clicked, this, [this] { Run([&] { controller_.EditTable(); }); });
  connect(delete_, &QPushButton::clicked, this,
          [this] { Run([&] { controller_.DeleteTable(); }); });
  // The charts and statistics windows open over this dialog on the table chosen in it.
  connect(charts_, &QPushButton::clicked, this, [this] { Run([&] { controller_.ShowCharts(); }); });
  connect(statistics_, &QPushButton::clicked, this,
          [this] { Run([&] { controller_.ShowStatistics(); }); });
  connect(import_, &QPushButton::clicked, this, [this] {
    const QString path =
        QFileDialog::getOpenFileName(this, import_->accessibleName(), QString(),
                                     QStringLiteral("Pay table lists (*.csv);;All files (*)"));
    if (!path.isEmpty()) ImportFile(path);
  });
  connect(export_, &QPushButton::clicked, this, [this] {
    QString path = QFileDialog::getSaveFileName(
        this, export_->accessibleName(), Q(controller_.CurrentGame().Name) + QStringLiteral(".csv"),
        QStringLiteral("Pay table lists (*.csv)"));
    if (path.isEmpty()) return;
    if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".csv");
    ExportFile(path);
  });

  lines_->setRange(1, kMaxLines);
  lines_->setValue(ReadGameDialogSettings(Preferences().Settings).Lines);
  linesLabel_->setBuddy(lines_);
  multiPlay_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  multiPlay_->setWordWrap(true);  // a long failure message wraps rather than widen the dialog
  connect(lines_, &QSpinBox::valueChanged, this, [this] { UpdateMultiPlay(); });
  auto* multiPlayRow = new QHBoxLayout;
  multiPlayRow->addWidget(linesLabel_);
  multiPlayRow->addWidget(lines_);
  multiPlayRow->addSpacing(8);
  multiPlayRow->addWidget(multiPlay_, 1);

  auto* left = new QVBoxLayout;
  left->addWidget(header_);
  left->addWidget(games_, 1);
  auto* strip = new QHBoxLayout;
  strip->addWidget(coins_);
  strip->addWidget(title_, 1);
  auto* right = new QVBoxLayout;
  right->addLayout(strip);
  right->addWidget(grid_, 1);
  right->addLayout(multiPlayRow);
  auto* buttons = new QHBoxLayout;
  for (QPushButton* button : {ok_, cancel_, add_, edit_, delete_, charts_, statistics_})
    buttons->addWidget(button);
  buttons->addSpacing(12);
  buttons->addWidget(import_);
  buttons->addWidget(export_);
  buttons->addStretch(1);
  auto* layout = new QGridLayout(this);
  layout->addLayout(left, 0, 0);
  layout->addLayout(right, 0, 1);
  layout->addLayout(buttons, 1, 0, 1, 2);
  layout->setColumnStretch(1, 1);
  // Tab in reading order: the buttons row left to right (they were made in another order).
  const std::array<QWidget*, 13> order = {games_,      coins_,  grid_,  lines_,  ok_,
                                          cancel_,     add_,    edit_,  delete_, charts_,
                                          statistics_, import_, export_};
  for (size_t i = 1; i < order.size(); ++i) setTabOrder(order[i - 1], order[i]);

  ApplyTexts();
  Refresh();
  const QFontMetrics metrics(font());
  games_->setFixedWidth(metrics.horizontalAdvance(QStringLiteral(" DOUBLE DOUBLE BONUS POKER ")) +
                        games_->verticalScrollBar()->sizeHint().width() + 8);
  // Five tables in view beside the labels, every row without scrolling. The labels are as
  // wide in every game: the longest category name of any fits (the figures' labels, which
  // every game shows, the header fits itself).
  QHeaderView* labels = grid_->verticalHeader();
  labels->setMinimumWidth(CategoryLabelsWidth(*labels, controller_.Games()));
  const int column = metrics.horizontalAdvance(QStringLiteral("00000000")) + 12;
  for (int c = 0; c < 5; ++c) grid_->horizontalHeader()->resizeSection(c, column);
  grid_->horizontalHeader()->setDefaultSectionSize(column);
  const int rowHeight = metrics.height() + 4;
  grid_->verticalHeader()->setDefaultSectionSize(rowHeight);
  grid_->verticalHeader()->resizeSection(kTableGridSeparator, 3);
  const int frame = 2 * grid_->frameWidth() + 2;
  grid_->setMinimumSize(
      std::max(labels->minimumWidth(), labels->sizeHint().width()) + 5 * column + frame,
      grid_->verticalHeader()->length() + grid_->horizontalScrollBar()->sizeHint().height() +
          frame);
  RestoreWindowPlace(this, QStringLiteral("Game"), parent);
}

void TfmPokerChoose::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // The grid has its size now. Scrolled to the chosen table while it had none, it may hide
  // the tables before it: from the first table, as far as the chosen one needs.
  grid_->horizontalScrollBar()->setValue(0);
  if (controller_.CurrentTable() != nullptr)
    grid_->scrollTo(tables_->index(0, controller_.TableIndex()));
}

TfmPokerChoose::~TfmPokerChoose() {
  SaveWindowPlace(this, QStringLiteral("Game"));
  WriteGameDialogSettings(Preferences().Settings, {.Lines = lines_->value()});
}

bool TfmPokerChoose::MultiPlayBusy() const {
  return runner_->Busy();
}

void TfmPokerChoose::ApplyTexts() {
  const TPreferences& preferences = Preferences();
  setWindowTitle(Caption(preferences.WindowName("SelectGame")));
  header_->setText(Q(preferences.Text("SelectGame", "VideoPoker")));
  const auto caption = [&](QPushButton* button, const char* key, bool hint) {
    button->setText(Q(preferences.ButtonText(key)));
    button->setAccessibleName(button->text().remove(QLatin1Char('&')));
    if (hint) button->setToolTip(HintOf(preferences.HintText("Buttons", key)));
  };
  caption(ok_, "OK", false);
  caption(cancel_, "Cancel", false);
  caption(add_, "Add", true);
  caption(edit_, "Edit", true);
  caption(delete_, "Delete", true);
  for (const auto& [button, key] : {std::pair{charts_, "Charts"}, {statistics_, "Statistics"}}) {
    button->setText(Q(preferences.Text("Menu", key)));
    button->setAccessibleName(button->text().remove(QLatin1Char('&')));
    button->setToolTip(HintOf(preferences.HintText("Menu", key)));
  }
  import_->setText(Q(preferences.Text("SelectGame", "Import")));
  import_->setToolTip(HintOf(preferences.HintText("SelectGame", "Import")));
  import_->setAccessibleName(import_->text().remove(QStringLiteral("...")));
  export_->setText(Q(preferences.Text("SelectGame", "Export")));
  export_->setToolTip(HintOf(preferences.HintText("SelectGame", "Export")));
  export_->setAccessibleName(export_->text().remove(QStringLiteral("...")));
  linesLabel_->setText(Q(preferences.Text("SelectGame", "Lines")));
  lines_->setAccessibleName(linesLabel_->text().remove(QLatin1Char('&')).remove(QLatin1Char(':')));
  lines_->setToolTip(HintOf(preferences.HintText("SelectGame", "Lines")));
  multiPlay_->setToolTip(lines_->toolTip());
  coins_->ApplyTexts();
  tables_->ApplyTexts();
}

void TfmPokerChoose::Refresh() {
  refreshing_ = true;
  const TPokerDescription& game = controller_.CurrentGame();
  for (int row = 0; row < games_->count(); ++row) {
    if (games_->item(row)->data(Qt::UserRole).toInt() == game.GameId) games_->setCurrentRow(row);
  }
  coins_->SetCoins(controller_.Coins());
  title_->setText(Q(game.Name).toUpper());
  tables_->Refresh();
  grid_->verticalHeader()->resizeSection(kTableGridSeparator, 3);
  const bool current = controller_.CurrentTable() != nullptr;
  for (QPushButton* button : {ok_, edit_, delete_}) button->setEnabled(current);
  const bool figures = controller_.CanShowTableFigures();
  for (QPushButton* button : {charts_, statistics_}) button->setEnabled(figures);
  if (current) {
    grid_->setCurrentIndex(tables_->index(0, controller_.TableIndex()));
    grid_->scrollTo(tables_->index(0, controller_.TableIndex()));
  } else {
    grid_->clearSelection();
  }
  refreshing_ = false;
  UpdateMultiPlay();
}

void TfmPokerChoose::UpdateMultiPlay() {
  const TPayout* table = controller_.CurrentTable();
  if (table == nullptr || !table->Computed()) {
    // Nothing to show; a run for another table is no longer wanted.
    runner_->Cancel();
    computing_.reset();
    multiPlay_->clear();
    return;
  }
  const TPreferences& preferences = Preferences();
  const auto known =
      std::find_if(covariances_.begin(), covariances_.end(),
                   [&](const TCovariance& entry) { return entry.Table.SameAs(*table); });
  if (known == covariances_.end()) {
    multiPlay_->setText(Q(preferences.Text("SelectGame", "MultiPlayComputing")));
    if (computing_ && computing_->SameAs(*table)) return;
    computing_ = *table;
    const TPokerDescription* game = &controller_.CurrentGame();
    auto result = std::make_shared<long double>();
    const TPayout copy = *table;
    const auto finish = [this, copy](std::optional<long double> value, const QString& failure) {
      computing_.reset();
      covariances_.push_back({copy, value, failure});
      UpdateMultiPlay();
    };
    runner_->Start(
        [game, copy, result](TProgress& progress) {
          const std::optional<long double> covariance =
              ComputeDealCovariance(*game, copy, &progress);
          if (!covariance) throw TarnwickError("the whole-game run gave no covariance");
          *result = *covariance;
        },
        [finish, result] { finish(*result, QString()); },
        [finish](const std::exception_ptr& failure) {
          finish(std::nullopt, FailureText(failure));
        });
    return;
  }
  // The table is known: a run for another one is no longer wanted.
  if (computing_) {
    runner_->Cancel();
    computing_.reset();
  }
  if (!known->Value) {
    multiPlay_->setText(
        Q(FormatText(preferences.Text("SelectGame", "MultiPlayFailed"), {S(known->Failure)})));
    return;
  }
  const int lines = lines_->value();
  const TMultiPlayFigures figures = MultiPlayFigures(*table, *known->Value, lines);
  const QString covariance = QString::number(static_cast<double>(*known->Value), 'f', 6);
  const QString deviation = QString::number(static_cast<double>(figures.LineStdDev), 'f', 2);
  const QString single = QString::number(table->StdDev(), 'f', 2);
  multiPlay_->setText(
      Q(FormatText(preferences.Text("SelectGame", "MultiPlayCovariance"), {S(covariance)})) +
      QLatin1Char('\n') +
      Q(FormatText(preferences.Text("SelectGame", "MultiPlayDeviation"),
                   {S(QString::number(lines)), S(deviation), S(single)})));
}

void TfmPokerChoose::ImportFile(const QString& path) {
  TImportReport report;
  const bool done = Guarded(this, [&] {
    const std::optional<std::string> text = ReadFileIfPresent(path.toStdString(), kMaxListBytes);
    if (!text) throw InputError("the pay table list \"" + S(path) + "\" does not exist");
    report = controller_.ImportTables(*text);
  });
  Refresh();
  if (!done) return;
  QMessageBox::information(
      this, windowTitle(),
      Q(ImportReportText(report, Preferences().Text("SelectGame", "ImportResult"))));
}

void TfmPokerChoose::ExportFile(const QString& path) {
  Guarded(this, [&] {
    WriteFileAtomically(path.toStdString(), controller_.ExportTables(), kMaxListBytes);
  });
}

void TfmPokerChoose::SelectGameAt(int row) {
  if (row < 0 || row >= games_->count()) return;
  const int gameId = games_->item(row)->data(Qt::UserRole).toInt();
  if (gameId == controller_.CurrentGame().GameId) return;
  Run([&] { controller_.SelectGame(gameId); });
}

void TfmPokerChoose::SortByRow(int row) {
  const int key = TableGridSortKey(row, controller_.LastCategory());
  if (key == 0) return;
  const int current =
      static_cast<int>(controller_.SortKey()) * (controller_.SortReversed() ? -1 : 1);
  const bool reversed = key == current;
  Run([&] { controller_.SetSort(static_cast<TSortKey>(key), reversed); });
}

void TfmPokerChoose::Run(const std::function<void()>& action) {
  // A failure is reported and the dialog stays open, showing what the controller has now.
  Guarded(this, action);
  Refresh();
}

bool TfmPokerChoose::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Wheel) {
    const int step = WheelStep(static_cast<QWheelEvent*>(event));
    if (watched == games_ || watched == games_->viewport()) {
      const int row = games_->currentRow() + step;
      if (step != 0 && row >= 0 && row < games_->count()) SelectGameAt(row);
      return true;
    }
    if (watched == grid_->viewport()) {
      const int column = controller_.TableIndex() + step;
      if (step != 0 && column >= 0 && column < controller_.TableCount())
        Run([&] { controller_.SelectTable(column); });
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace tarnwick::app
