// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "pay_editor.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

#include "engine/wild_engine.h"
#include "help_browser.h"
#include "parts/coin_selector.h"
#include "parts/gradient_label.h"
#include "parts/guard.h"
#include "parts/job_runner.h"
#include "parts/live_return.h"
#include "parts/qt_text.h"
#include "parts/window_place.h"
#include "session/preferences.h"
#include "stats/break_even.h"

namespace tarnwick::app {

namespace {

// The digits of `text`, at most as many as the largest pay has.
QString PayDigits(const QString& text) {
  QString digits;
  for (const QChar c : text) {
    if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) digits += c;
  }
  while (!ParsePayText(S(digits))) digits.chop(1);
  return digits;
}

// Whether the key types something other than digits (keys that type nothing give "").
bool TypesNonDigit(const QKeyEvent& key) {
  const QString text = key.text();
  return std::any_of(text.begin(), text.end(), [](QChar c) {
    return c.isPrint() && (c < QLatin1Char('0') || c > QLatin1Char('9'));
  });
}

}  // namespace

TPaysModel::TPaysModel(const std::vector<std::string>& names, TPayout& table, QObject* parent)
    : QAbstractTableModel(parent), names_(names), table_(table) {}

int TPaysModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(names_.size());
}

int TPaysModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : 3;
}

void TPaysModel::SetWorth(const QStringList& worth, const QString& hint) {
  worth_ = worth;
  worthHint_ = hint;
  emit dataChanged(index(0, 2), index(rowCount() - 1, 2));
}

QVariant TPaysModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  const int row = index.row();
  switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
    case Qt::AccessibleTextRole:
      if (index.column() == 0)
        return QStringLiteral("   ") + Q(names_[static_cast<size_t>(row)]).toUpper();
      if (index.column() == 2) return worth_.value(row);
      return QString::number(table_.Pays[static_cast<size_t>(row)]);
    case Qt::ToolTipRole:
      return index.column() == 2 ? worthHint_ : QString();
    case Qt::ForegroundRole:
      // Dimmed in the palette's own dim text colour, readable on a light or a dark grid.
      if (index.column() == 2) return QApplication::palette().color(QPalette::PlaceholderText);
      return {};
    case Qt::TextAlignmentRole:
      return QVariant::fromValue(index.column() == 0 ? Qt::AlignLeft | Qt::AlignVCenter
                                                     : Qt::AlignRight | Qt::AlignVCenter);
    default:
      return {};
  }
}

bool TPaysModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (!index.isValid() || index.column() != 1 || role != Qt::EditRole) return false;
  const std::optional<int32_t> pay = ParsePayText(S(value.toString()));
  if (!pay) return false;
  table_.Pays[static_cast<size_t>(index.row())] = *pay;
  emit dataChanged(index, index);
  return true;
}

Qt::ItemFlags TPaysModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  // Only the pays can be chosen and typed.
  if (index.column() != 1) return Qt::ItemIsEnabled;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

QWidget* TPayDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                    const QModelIndex& index) const {
  auto* editor = new QLineEdit(parent);
  editor->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  editor->setAccessibleName(QStringLiteral("Pay"));
  QAbstractItemModel* model = const_cast<QAbstractItemModel*>(index.model());
  const QPersistentModelIndex at(index);
  connect(editor, &QLineEdit::textEdited, editor, [editor, model, at](const QString& text) {
    const QString digits = PayDigits(text);
    if (digits != text) {
      const int cursor = editor->cursorPosition() - static_cast<int>(text.size() - digits.size());
      editor->setText(digits);
      editor->setCursorPosition(std::max(cursor, 0));
    }
    model->setData(at, digits, Qt::EditRole);
  });
  return editor;
}

void TPayDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
  static_cast<QLineEdit*>(editor)->setText(index.data(Qt::EditRole).toString());
}

void TPayDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                const QModelIndex& index) const {
  model->setData(index, PayDigits(static_cast<QLineEdit*>(editor)->text()), Qt::EditRole);
}

bool TPayDelegate::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Escape) {
      emit EscapePressed();
      return true;
    }
    // A key that types anything but a digit is swallowed before it replaces the selected
    // pay; keys that type nothing (Backspace, Enter, the arrows, shortcuts) go on.
    if (TypesNonDigit(*key)) return true;
  }
  return QStyledItemDelegate::eventFilter(watched, event);
}

TfmNew::TfmNew(QWidget* parent, bool isNew, const TModelController& controller, TPayout& table)
    : QDialog(parent),
      game_(controller.CurrentGame()),
      table_(table),
      liveReturn_(new TLiveReturn(game_, this)),
      live_(new QLabel(this)),
      breakEven_(new QPushButton(this)),
      coins_(new TCoinSelector(this)),
      title_(new TGradientLabel(this)),
      pays_(new TPaysModel(controller.CategoryNames(), table, this)),
      grid_(new QTableView(this)),
      ok_(new QPushButton(this)),
      cancel_(new QPushButton(this)) {
  AddHelpKey(this, THelpContext::Editor);
  const TPreferences& preferences = Preferences();
  setWindowTitle(Q(preferences.Text("AddEditWin", isNew ? "AddNewPayout" : "EditPayout")));
  title_->setText(Q(controller.CurrentGame().Name).toUpper());
  ok_->setText(Q(preferences.ButtonText("OK")));
  cancel_->setText(Q(preferences.ButtonText("Cancel")));
  ok_->setAccessibleName(ok_->text());
  cancel_->setAccessibleName(cancel_->text());
  ok_->setAutoDefault(false);
  ok_->setDefault(true);
  cancel_->setAutoDefault(false);
  connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);

  coins_->SetCoins(table_.CoinBasis);
  // Other coins for the same pays make another table: its live return at once.
  connect(coins_, &TCoinSelector::CoinsChosen, this, [this](int coins) {
    if (coins == table_.CoinBasis) return;
    table_.CoinBasis = coins;
    TableChanged();
  });

  auto* delegate = new TPayDelegate(this);
  connect(delegate, &TPayDelegate::EscapePressed, this, &QDialog::reject);
  grid_->setModel(pays_);
  grid_->setTabKeyNavigation(false);  // Tab leaves the grid; the arrows move in it
  grid_->setItemDelegateForColumn(1, delegate);
  grid_->setAccessibleName(QStringLiteral("Pays"));
  grid_->setSelectionMode(QAbstractItemView::SingleSelection);
  grid_->setEditTriggers(QAbstractItemView::AllEditTriggers);
  grid_->horizontalHeader()->hide();
  grid_->verticalHeader()->hide();
  grid_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  grid_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  const QFontMetrics metrics(font());
  const int rowHeight = metrics.height() + 6;
  grid_->verticalHeader()->setDefaultSectionSize(rowHeight);
  grid_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  int nameWidth = 0;
  for (int row = 0; row < pays_->rowCount(); ++row) {
    nameWidth = std::max(
        nameWidth,
        metrics.horizontalAdvance(pays_->data(pays_->index(row, 0), Qt::DisplayRole).toString()));
  }
  grid_->setColumnWidth(0, nameWidth + 16);
  grid_->setColumnWidth(1, metrics.horizontalAdvance(QStringLiteral("000000000")) + 16);
  grid_->setColumnWidth(2, metrics.horizontalAdvance(QStringLiteral("+00.0000 %")) + 16);
  // Every row in view, without scrolling.
  grid_->setFixedSize(grid_->columnWidth(0) + grid_->columnWidth(1) + grid_->columnWidth(2) +
                          2 * grid_->frameWidth(),
                      rowHeight * pays_->rowCount() + 2 * grid_->frameWidth());
  grid_->setCurrentIndex(pays_->index(0, 1));

  auto* strip = new QHBoxLayout;
  strip->addWidget(coins_);
  strip->addWidget(title_, 1);
  live_->setAccessibleName(QStringLiteral("Live return"));
  breakEven_->setText(Q(preferences.Text("AddEditWin", "BreakEven")));
  breakEven_->setToolTip(HintOf(preferences.HintText("AddEditWin", "BreakEven")));
  breakEven_->setAccessibleName(breakEven_->text());
  breakEven_->setAutoDefault(false);
  connect(breakEven_, &QPushButton::clicked, this,
          [this] { Guarded(this, [this] { FindBreakEven(); }); });
  connect(pays_, &QAbstractItemModel::dataChanged, this, [this](const QModelIndex& from) {
    if (from.column() == 1) TableChanged();
  });
  connect(liveReturn_, &TLiveReturn::Ready, this, &TfmNew::ShowLive);
  connect(liveReturn_, &TLiveReturn::Failed, this,
          [this](const QString& message) { live_->setText(message); });
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(breakEven_);
  buttons->addStretch(1);
  buttons->addWidget(ok_);
  buttons->addWidget(cancel_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(strip);
  layout->addWidget(grid_);
  layout->addWidget(live_);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  // Tab in reading order; the typing starts on the first pay.
  for (const auto& [from, to] : {std::pair<QWidget*, QWidget*>{coins_, grid_},
                                 {grid_, breakEven_},
                                 {breakEven_, ok_},
                                 {ok_, cancel_}})
    setTabOrder(from, to);
  grid_->setFocus();
  coins_->ApplyTexts();
  TableChanged();
  RestoreWindowPlace(this, QStringLiteral("Editor"), parent);
}

void TfmNew::TableChanged() {
  const TPreferences& preferences = Preferences();
  live_->setText(Q(preferences.Text("AddEditWin", "LiveReturn")) + QStringLiteral(": ") +
                 Q(preferences.Text("AddEditWin", "Computing")));
  pays_->SetWorth({}, {});
  liveReturn_->Request(table_);
}

void TfmNew::ShowLive(const TPayout& computed) {
  const TPreferences& preferences = Preferences();
  live_->setText(Q(preferences.Text("AddEditWin", "LiveReturn")) + QStringLiteral(": ") +
                 QString::number(static_cast<double>(computed.Return * 100), 'f', 4) +
                 QStringLiteral(" %    ") + Q(preferences.Text("AddEditWin", "LiveVariance")) +
                 QStringLiteral(": ") + QString::number(computed.Variance(), 'f', 4));
  QStringList worth;
  for (int c = 0; c <= computed.LastCategory; ++c) {
    worth << QStringLiteral("+") +
                 QString::number(static_cast<double>(PayWorth(computed, c) * 100), 'f', 4) +
                 QStringLiteral(" %");
  }
  pays_->SetWorth(worth, HintOf(preferences.HintText("AddEditWin", "Worth")));
}

void TfmNew::FindBreakEven() {
  const TPayout typed = table_;
  std::optional<int32_t> pay;
  TJobRunner::RunModal(this, [&](TProgress& progress) {
    const auto engine = CreateEngineForGame(game_);
    pay = BreakEvenPay(*engine, typed, &progress);
  });
  const TPreferences& preferences = Preferences();
  const QString text = pay ? Q(FormatText(preferences.Text("AddEditWin", "BreakEvenResult"),
                                          {std::to_string(*pay), std::to_string(typed.Pays[0])}))
                           : Q(preferences.Text("AddEditWin", "BreakEvenNone"));
  QMessageBox::information(this, windowTitle(), text);
}

TfmNew::~TfmNew() {
  SaveWindowPlace(this, QStringLiteral("Editor"));
  // QDialog's destructor hides the window, and a pay being typed is then stored: that change
  // must not reach this dialog, which is no longer whole by then.
  disconnect(pays_, nullptr, this, nullptr);
}

}  // namespace tarnwick::app
