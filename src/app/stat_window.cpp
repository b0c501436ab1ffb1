// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "stat_window.h"

#include <QApplication>
#include <QButtonGroup>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>
#include <string>

#include "errors.h"
#include "help_browser.h"
#include "parts/grid_sizing.h"
#include "parts/palette_colours.h"
#include "parts/qt_text.h"
#include "parts/statistics_model.h"
#include "parts/table_export.h"
#include "parts/window_place.h"
#include "session/preferences.h"
#include "session/window_settings.h"

namespace tarnwick::app {

namespace {

constexpr char kSection[] = "Statistics";
constexpr int kRowHeight = 18;
constexpr int kSeparatorExtra = 3;  // the first category row is this much taller

// Draws a grey line across the top of the first category row, under the deals and the
// final hands.
class TSeparatorDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    if (index.row() != TStatisticsModel::kFirstCategoryRow) {
      QStyledItemDelegate::paint(painter, option, index);
      return;
    }
    QStyleOptionViewItem below(option);
    below.rect.adjust(0, kSeparatorExtra, 0, 0);
    QStyledItemDelegate::paint(painter, below, index);
    painter->save();
    painter->setPen(QColor(192, 192, 192));
    painter->drawLine(option.rect.left(), option.rect.top() + 1, option.rect.right(),
                      option.rect.top() + 1);
    painter->restore();
  }
};

}  // namespace

TfmStat::TfmStat(QWidget* parent, const TTableSnapshot& table, const QString& caption)
    : QDialog(parent),
      model_(new TStatisticsModel(this)),
      grid_(new QTableView(this)),
      views_(new QButtonGroup(this)),
      speedBox_(new QSpinBox(this)),
      speedLabel_(new QLabel(this)),
      ok_(new QPushButton(this)) {
  AddHelpKey(this, THelpContext::Statistics);
  const TPreferences& preferences = Preferences();

  const TStatisticsSettings stored = ReadStatisticsSettings(preferences.Settings);
  speed_ = stored.Speed;
  Fill(table, caption);
  grid_->setModel(model_);
  grid_->setTabKeyNavigation(false);  // Tab leaves the grid; the arrows move in it
  grid_->setItemDelegate(new TSeparatorDelegate(grid_));
  SetUpFigureGrid(grid_, QStringLiteral("Statistics"));
  AddTableExport(
      grid_, [this] { return model_->Rows(); }, QStringLiteral("statistics.csv"));

  QHBoxLayout* bar = ViewBar(this, views_);
  connect(views_, &QButtonGroup::idClicked, this,
          [this](int id) { SetView(static_cast<TFigureView>(id)); });
  bar->addSpacing(15);
  bar->addWidget(speedLabel_);
  // The box takes any number, so that a value out of range can be typed and shown as such.
  speedBox_->setRange(0, 99999);
  speedBox_->setSingleStep(50);
  speedBox_->setAlignment(Qt::AlignCenter);
  speedBox_->setValue(speed_);
  speedLabel_->setBuddy(speedBox_);
  connect(speedBox_, &QSpinBox::valueChanged, this, &TfmStat::SpeedTyped);
  bar->addWidget(speedBox_);
  bar->addStretch(1);
  ok_->setDefault(true);
  connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
  bar->addWidget(ok_);

  StackGridAndBar(this, grid_, bar);

  SetView(stored.Style);
  FitToContents();
  RestoreWindowPlace(this, QStringLiteral("Statistics"), parent);
}

void TfmStat::Fill(const TTableSnapshot& table, const QString& caption) {
  if (!table.Table.Computed())
    throw InputError("the statistics need a pay table with its overall figures computed");
  const TPreferences& preferences = Preferences();
  setWindowTitle(caption);
  const auto text = [&](const std::string& key) { return Q(preferences.Text(kSection, key)); };
  const auto hint = [&](const std::string& key) {
    return HintOf(preferences.HintText(kSection, key));
  };
  table_ = table;
  // Every text from the language in use: filled again after a change of language.
  speedLabel_->setText(text("Speed"));
  speedBox_->setAccessibleName(speedLabel_->text());
  speedBox_->setToolTip(hint("Speed"));
  ok_->setText(Q(preferences.ButtonText("OK")));
  ok_->setAccessibleName(ok_->text());
  CaptionViews(views_);
  StatisticsTable statistics = BuildStatisticsTable(table.CategoryNames, table.Table, speed_);
  statistics.RowLabels.front() = S(text("Hands1"));
  statistics.RowLabels.at(1) = S(text("Hands2"));
  statistics.RowLabels.back() = S(text("Nothing").toUpper());
  QStringList titles;
  QStringList hints;
  for (int column = 0; column < TStatisticsModel::kColumns; ++column) {
    titles.push_back(text("Column" + std::to_string(column)));
    hints.push_back(hint("Column" + std::to_string(column)));
  }
  model_->Set(std::move(statistics), titles, hints, {hint("Hands1"), hint("Hands2")});
}

void TfmStat::Follow(const TTableSnapshot& table, const QString& caption) {
  Fill(table, caption);
  // Another game has other rows; the window keeps its size and the grid scrolls.
  FitColumns();
}

TfmStat::~TfmStat() {
  SaveWindowPlace(this, QStringLiteral("Statistics"));
  WriteStatisticsSettings(Preferences().Settings, {.Style = model_->View(), .Speed = speed_});
}

void TfmStat::SetView(TFigureView view) {
  model_->SetView(view);
  if (QAbstractButton* radio = views_->button(static_cast<int>(view))) radio->setChecked(true);
}

void TfmStat::SpeedTyped(int speed) {
  // Outside the range the number turns red and the hours stay as they are.
  const bool valid = speed >= kMinSpeed && speed <= kMaxSpeed;
  ShowInvalid(speedBox_, !valid);
  if (!valid) return;
  speed_ = speed;
  model_->SetSpeed(speed);
}

void TfmStat::FitToContents() {
  const int rowHeight = std::max(kRowHeight, grid_->fontMetrics().height() + 4);
  grid_->verticalHeader()->setDefaultSectionSize(rowHeight);
  grid_->verticalHeader()->resizeSection(TStatisticsModel::kFirstCategoryRow,
                                         rowHeight + kSeparatorExtra);
  ResizeToGrid(this, grid_, FitColumns());
}

QSize TfmStat::FitColumns() {
  // Each column as wide as its widest text in every view and every row, so no figure is cut.
  const auto texts = [this](int column) {
    QStringList all;
    const TFigureView shown = model_->View();
    for (TFigureView view : {TFigureView::Hands, TFigureView::Probability, TFigureView::Return}) {
      model_->SetView(view);
      for (int row = 0; row < model_->rowCount(); ++row) all.push_back(model_->Text(row, column));
    }
    model_->SetView(shown);
    if (column == TStatisticsModel::kHoursColumn) all.push_back(QStringLiteral("0000:00:00"));
    if (column == 0) all.push_back(QStringLiteral("          "));  // the label's indent
    return all;
  };
  return FitGridColumns(
      grid_, texts, [](int) { return 0; }, GridPad(this));
}

}  // namespace tarnwick::app
