// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "parts/grid_sizing.h"

#include <QApplication>
#include <QButtonGroup>
#include <QDialog>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLayout>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

#include "parts/qt_text.h"
#include "session/preferences.h"

namespace tarnwick::app {

namespace {

QRect Available(const QWidget* window) {
  const QScreen* screen =
      window->screen() != nullptr ? window->screen() : QApplication::primaryScreen();
  return screen->availableGeometry();
}

}  // namespace

int GridPad(const QWidget* window) {
  return Available(window).width() <= 800 ? 5 : 10;
}

QSize FitGridColumns(QTableView* grid, const std::function<QStringList(int column)>& texts,
                     const std::function<int(int column)>& fixedWidth, int pad) {
  const QFontMetrics metrics(grid->font());
  // The view draws a text inside the focus frame's margins on either side.
  const int margin =
      2 * (grid->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, grid) + 1) + 2;
  QHeaderView* header = grid->horizontalHeader();
  const int arrow = header->style()->pixelMetric(QStyle::PM_HeaderMarkSize, nullptr, header);
  QAbstractItemModel* model = grid->model();
  int width = 0;
  int headerHeight = 0;
  for (int column = 0; column < model->columnCount(); ++column) {
    const QString title = model->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
    int columnWidth = fixedWidth(column);
    if (columnWidth <= 0) {
      for (const QString& word : title.split(QLatin1Char(' ')))
        columnWidth = std::max(columnWidth, metrics.horizontalAdvance(word) + arrow);
      for (const QString& text : texts(column))
        columnWidth = std::max(columnWidth, metrics.horizontalAdvance(text));
      columnWidth += pad + margin;
    }
    header->resizeSection(column, columnWidth);
    width += columnWidth;
    const QRect wrapped = metrics.boundingRect(QRect(0, 0, columnWidth - margin - arrow, 1000),
                                               Qt::TextWordWrap | Qt::AlignCenter, title);
    headerHeight = std::max(headerHeight, wrapped.height());
  }
  header->setFixedHeight(headerHeight + 8);
  int height = header->height();
  int least = height;
  for (int row = 0; row < model->rowCount(); ++row) {
    height += grid->rowHeight(row);
    if (row < 3) least += grid->rowHeight(row);
  }
  const int frame = 2 * grid->frameWidth();
  // At its least the grid still shows its first column and three rows, the scroll bars
  // beside them.
  grid->setMinimumSize(
      header->sectionSize(0) + grid->verticalScrollBar()->sizeHint().width() + frame,
      least + grid->horizontalScrollBar()->sizeHint().height() + frame);
  return {width + frame, height + frame};
}

void ResizeToGrid(QWidget* window, QTableView* grid, QSize gridSize) {
  const QRect available = Available(window);
  QSize frameExtra = window->frameGeometry().size() - window->geometry().size();
  // Before its first showing a window has no frame yet: leave room for a title bar and
  // borders as a window manager draws them.
  if (frameExtra.isEmpty()) {
    const int title = std::max(window->style()->pixelMetric(QStyle::PM_TitleBarHeight),
                               2 * window->fontMetrics().height());
    frameExtra = QSize(8, title + 8);
  }
  const QSize room = available.size() - frameExtra;
  // What the window needs besides the grid: its margins and the bottom bar.
  const QMargins margins =
      window->layout() != nullptr ? window->layout()->contentsMargins() : QMargins();
  const QSize chrome(margins.left() + margins.right(),
                     window->sizeHint().height() - grid->sizeHint().height());
  const int scrollWidth = grid->verticalScrollBar()->sizeHint().width();
  const int scrollHeight = grid->horizontalScrollBar()->sizeHint().height();
  QSize wanted = gridSize + chrome;
  const bool tooHigh = wanted.height() > room.height();
  if (tooHigh) wanted.rwidth() += scrollWidth;
  if (wanted.width() > room.width()) wanted.rheight() += scrollHeight;
  if (!tooHigh && wanted.height() > room.height()) wanted.rwidth() += scrollWidth;
  wanted.setWidth(std::max(wanted.width(), window->sizeHint().width()));
  window->resize(wanted.boundedTo(room));
}

void SetUpFigureGrid(QTableView* grid, const QString& accessibleName) {
  grid->setAccessibleName(accessibleName);
  grid->setSelectionBehavior(QAbstractItemView::SelectRows);
  grid->setSelectionMode(QAbstractItemView::SingleSelection);
  grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid->setWordWrap(false);
  grid->verticalHeader()->hide();
  grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  grid->horizontalHeader()->setDefaultAlignment(Qt::Alignment(Qt::AlignCenter) |
                                                Qt::Alignment(Qt::TextWordWrap));
}

QHBoxLayout* ViewBar(QWidget* owner, QButtonGroup* views) {
  auto* bar = new QHBoxLayout;
  for (int tag = 0; tag < 3; ++tag) {
    auto* radio = new QRadioButton(owner);
    views->addButton(radio, tag);
    bar->addWidget(radio);
  }
  CaptionViews(views);
  return bar;
}

void CaptionViews(QButtonGroup* views) {
  int tag = 0;
  for (const char* key : {"Hands", "ProbabilityInPercent", "ReturnInPercent"}) {
    if (QAbstractButton* radio = views->button(tag++)) {
      radio->setText(Q(Preferences().Text("Statistics", key)));
      radio->setAccessibleName(radio->text());
    }
  }
}

void StackGridAndBar(QDialog* window, QTableView* grid, QHBoxLayout* bar) {
  auto* line = new QFrame(window);
  line->setFrameShape(QFrame::HLine);
  line->setFrameShadow(QFrame::Sunken);
  auto* layout = new QVBoxLayout(window);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->addWidget(grid, 1);
  layout->addWidget(line);
  layout->addLayout(bar);
  // Tab in reading order: the grid, then the bar left to right, whenever its parts were made.
  QWidget* previous = grid;
  for (int i = 0; i < bar->count(); ++i) {
    QWidget* next = bar->itemAt(i)->widget();
    if (next == nullptr) continue;
    QWidget::setTabOrder(previous, next);
    previous = next;
  }
}

}  // namespace tarnwick::app
