// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "all_hands_window.h"

#include <QButtonGroup>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <utility>

#include "help_browser.h"
#include "parts/card_painter.h"
#include "parts/grid_sizing.h"
#include "parts/holds_model.h"
#include "parts/qt_text.h"
#include "parts/table_export.h"
#include "parts/window_place.h"
#include "session/preferences.h"
#include "session/window_settings.h"

namespace tarnwick::app {

namespace {

constexpr int kGap = 1;  // between two cards of a hold's picture
constexpr int kPictureWidth = kHandSize * TCardPainter::kCardWidth + (kHandSize - 1) * kGap;

}  // namespace

QImage TfmAllHands::HoldPicture(const THoldsSnapshot& holds, int mask, qreal devicePixelRatio) {
  const TCardPainter painter(devicePixelRatio);
  QImage picture(static_cast<int>(std::ceil(kPictureWidth * devicePixelRatio)),
                 static_cast<int>(std::ceil(TCardPainter::kCardHeight * devicePixelRatio)),
                 QImage::Format_ARGB32);
  picture.setDevicePixelRatio(devicePixelRatio);
  picture.fill(Qt::white);
  QPainter canvas(&picture);
  for (int i = 0; i < kHandSize; ++i) {
    const QImage card = painter.Card(holds.Cards[static_cast<size_t>(i)], false,
                                     holds.Wild[static_cast<size_t>(i)]);
    const bool replaced = BitSet(mask, i);
    canvas.drawImage(QPointF((TCardPainter::kCardWidth + kGap) * i, 0),
                     replaced ? TCardPainter::Faded(card) : card);
  }
  return picture;
}

TfmAllHands::TfmAllHands(QWidget* parent, const THoldsSnapshot& holds, const QString& caption)
    : QDialog(parent),
      model_(new THoldsModel(this)),
      grid_(new QTableView(this)),
      views_(new QButtonGroup(this)),
      ok_(new QPushButton(this)) {
  AddHelpKey(this, THelpContext::AllHolds);
  const TPreferences& preferences = Preferences();
  Fill(holds, caption);
  grid_->setModel(model_);
  grid_->setTabKeyNavigation(false);  // Tab leaves the grid; the arrows move in it
  SetUpFigureGrid(grid_, QStringLiteral("Holds"));
  QHeaderView* header = grid_->horizontalHeader();
  header->setSectionsClickable(true);
  header->setSortIndicatorShown(true);
  connect(header, &QHeaderView::sectionClicked, this, &TfmAllHands::HeaderClicked);
  AddTableExport(
      grid_, [this] { return model_->Rows(); }, QStringLiteral("holds.csv"));

  QHBoxLayout* bar = ViewBar(this, views_);
  bar->addStretch(1);
  ok_->setDefault(true);
  bar->addWidget(ok_);
  connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
  connect(views_, &QButtonGroup::idClicked, this,
          [this](int id) { SetView(static_cast<TFigureView>(id)); });

  StackGridAndBar(this, grid_, bar);

  SetView(ReadAllHoldsSettings(preferences.Settings).Style);
  FitToContents();
  RestoreWindowPlace(this, QStringLiteral("AllHolds"), parent);
  SelectHold(holds.DrawMask);  // the hold shown where the window was opened from
}

void TfmAllHands::Fill(const THoldsSnapshot& holds, const QString& caption) {
  const TPreferences& preferences = Preferences();
  setWindowTitle(caption);
  // Every text from the language in use: filled again after a change of language.
  grid_->horizontalHeader()->setToolTip(HintOf(preferences.HintText("Statistics", "Cost")));
  ok_->setText(Q(preferences.ButtonText("OK")));
  ok_->setAccessibleName(ok_->text());
  CaptionViews(views_);
  QStringList titles = {Q(preferences.Text("Statistics", "Hands")),
                        Q(preferences.Text("Statistics", "ReturnInPercent")),
                        Q(preferences.Text("Statistics", "Cost")),
                        Q(preferences.Text("Statistics", "Line"))};
  for (int c = 0; c <= holds.LastCategory; ++c)
    titles.push_back(Q(holds.CategoryNames.at(static_cast<size_t>(c))).toUpper());
  titles.push_back(Q(preferences.Text("Statistics", "Nothing")));
  std::array<QPixmap, kMaskCount> pictures;
  for (int mask = 0; mask < kMaskCount; ++mask)
    pictures[static_cast<size_t>(mask)] =
        QPixmap::fromImage(HoldPicture(holds, mask, devicePixelRatioF()));
  model_->Set(holds, std::move(pictures), titles, Q(preferences.Text("Statistics", "Best")),
              Q(preferences.Text("Statistics", "Tie")));
}

void TfmAllHands::ApplyTexts() {
  const THoldsSnapshot holds = model_->Holds();
  Follow(holds, windowTitle());
}

void TfmAllHands::Follow(const THoldsSnapshot& holds, const QString& caption) {
  Fill(holds, caption);
  // Another game has other columns; the window keeps its size and the grid scrolls.
  FitGridColumns(
      grid_, [this](int column) { return ColumnTexts(column); },
      [](int column) { return column == kHoldPictureColumn ? kPictureWidth + 8 : 0; },
      GridPad(this));
  // The sort chosen stays; the hold shown in the main window is selected.
  const int row = model_->RowOf(holds.DrawMask);
  if (row < 0) return;
  grid_->selectRow(row);
  grid_->scrollTo(model_->index(row, 0));
}

TfmAllHands::~TfmAllHands() {
  SaveWindowPlace(this, QStringLiteral("AllHolds"));
  WriteAllHoldsSettings(Preferences().Settings, {.Style = model_->View()});
}

void TfmAllHands::SetView(TFigureView view) {
  model_->SetView(view);
  if (QAbstractButton* radio = views_->button(static_cast<int>(view))) radio->setChecked(true);
}

void TfmAllHands::SelectHold(int mask) {
  model_->SortBy(kHoldReturnColumn + 1);
  grid_->horizontalHeader()->setSortIndicator(kHoldReturnColumn, Qt::DescendingOrder);
  const int row = model_->RowOf(mask);
  if (row < 0) return;
  grid_->selectRow(row);
  grid_->scrollTo(model_->index(row, 0), QAbstractItemView::PositionAtCenter);
}

int TfmAllHands::SelectedHold() const {
  const QModelIndexList rows = grid_->selectionModel()->selectedRows();
  return rows.isEmpty() ? -1 : model_->MaskAt(rows.front().row());
}

void TfmAllHands::HeaderClicked(int column) {
  const int current = model_->SortColumn();
  const int sortColumn = std::abs(current) == column + 1 ? -current : column + 1;
  model_->SortBy(sortColumn);
  // The arrow points down while the larger figures come first.
  grid_->horizontalHeader()->setSortIndicator(
      column, sortColumn > 0 ? Qt::DescendingOrder : Qt::AscendingOrder);
  const QModelIndex focus = grid_->currentIndex();
  if (focus.isValid()) grid_->scrollTo(focus);
}

QStringList TfmAllHands::ColumnTexts(int column) const {
  // Every column as wide as its widest text in any of the three views, so that switching
  // views never cuts a number.
  QStringList all;
  const TFigureView shown = model_->View();
  for (TFigureView view : {TFigureView::Hands, TFigureView::Probability, TFigureView::Return}) {
    model_->SetView(view);
    for (int row = 0; row < kMaskCount; ++row) all.push_back(model_->Text(row, column));
  }
  model_->SetView(shown);
  return all;
}

void TfmAllHands::FitToContents() {
  grid_->setIconSize(QSize(kPictureWidth, TCardPainter::kCardHeight));
  const bool tall = screen() != nullptr && screen()->availableGeometry().height() > 600;
  grid_->verticalHeader()->setDefaultSectionSize(TCardPainter::kCardHeight + (tall ? 2 : 1));
  const auto fixed = [](int column) {
    return column == kHoldPictureColumn ? kPictureWidth + 8 : 0;
  };
  // The window shows all 32 holds when the screen is high enough, else the grid scrolls.
  ResizeToGrid(
      this, grid_,
      FitGridColumns(
          grid_, [this](int column) { return ColumnTexts(column); }, fixed, GridPad(this)));
}

}  // namespace tarnwick::app
