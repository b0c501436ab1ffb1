// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "parts/holds_model.h"

#include <QIcon>
#include <algorithm>
#include <utility>

#include "engine/cards.h"
#include "parts/qt_text.h"

namespace tarnwick::app {

namespace {

// The core grid's column of a model column other than the line column.
int GridColumn(int column) {
  return column < THoldsModel::kLineColumn ? column : column - 1;
}

}  // namespace

THoldsModel::THoldsModel(QObject* parent) : QAbstractTableModel(parent) {
  order_ = Order(sortColumn_);
}

std::array<int, kMaskCount> THoldsModel::Order(int sortColumn) const {
  const int column = std::abs(sortColumn) - 1;
  if (column != kLineColumn) {
    const int grid = GridColumn(column) + 1;
    return SortedHolds(holds_.Holds, sortColumn > 0 ? grid : -grid, view_);
  }
  // By the words, and holds of one line as in the picture column.
  std::array<int, kMaskCount> order = SortedHolds(holds_.Holds, kHoldPictureColumn + 1, view_);
  std::stable_sort(order.begin(), order.end(), [this, sortColumn](int x, int y) {
    const std::string& a = holds_.Lines[static_cast<size_t>(x)];
    const std::string& b = holds_.Lines[static_cast<size_t>(y)];
    return sortColumn > 0 ? a < b : b < a;
  });
  return order;
}

void THoldsModel::Set(const THoldsSnapshot& holds, std::array<QPixmap, kMaskCount> pictures,
                      const QStringList& titles, const QString& best, const QString& tie) {
  beginResetModel();
  holds_ = holds;
  pictures_ = std::move(pictures);
  titles_ = titles;
  best_ = best;
  tie_ = tie;
  order_ = Order(sortColumn_);
  endResetModel();
}

void THoldsModel::SetView(TFigureView view) {
  // The order stays as it is: a view changes the texts, not the rows.
  view_ = view;
  emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

void THoldsModel::SortBy(int sortColumn) {
  emit layoutAboutToBeChanged();
  const QModelIndexList before = persistentIndexList();
  std::vector<int> masks;
  for (const QModelIndex& at : before) masks.push_back(MaskAt(at.row()));
  sortColumn_ = sortColumn;
  order_ = Order(sortColumn_);
  QModelIndexList after;
  for (int i = 0; i < before.size(); ++i)
    after.push_back(index(RowOf(masks[static_cast<size_t>(i)]), before[i].column()));
  changePersistentIndexList(before, after);
  emit layoutChanged();
}

int THoldsModel::RowOf(int mask) const {
  for (int row = 0; row < kMaskCount; ++row)
    if (order_[static_cast<size_t>(row)] == mask) return row;
  return -1;
}

QString THoldsModel::Text(int row, int column) const {
  if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount()) return {};
  const THandStat& hold = holds_.Holds[static_cast<size_t>(MaskAt(row))];
  const THandStat& best = holds_.Holds[static_cast<size_t>(holds_.BestMask)];
  if (column == kHoldPictureColumn) {
    // What the picture shows, in words: the cards kept, then the cards replaced.
    QString kept;
    QString replaced;
    for (int i = 0; i < kHandSize; ++i) {
      QString& list = hold.Code[static_cast<size_t>(i)] == '1' ? replaced : kept;
      if (!list.isEmpty()) list += QLatin1Char(' ');
      list += Q(CardText(holds_.Cards[static_cast<size_t>(i)]));
    }
    return kept.isEmpty() ? QStringLiteral("- / ") + replaced
                          : kept + QStringLiteral(" / ") + replaced;
  }
  if (column == kLineColumn) return Q(holds_.Lines[static_cast<size_t>(hold.Mask)]);
  if (column == kHoldCostColumn) {
    if (hold.Mask == best.Mask) return best_;
    const std::string cost = HoldCostText(hold, best, holds_.Coins);
    return cost.empty() ? tie_ : Q(cost);
  }
  return Q(HoldCellText(hold, GridColumn(column), view_));
}

std::vector<std::vector<std::string>> THoldsModel::Rows() const {
  std::vector<std::string> categories;
  for (int column = kLineColumn + 1; column < columnCount(); ++column)
    categories.push_back(S(titles_.value(column)));
  std::vector<std::vector<std::string>> rows =
      HoldsTableRows(holds_.Holds, order_, holds_.BestMask, holds_.Coins, categories, view_);
  rows.front().push_back(S(titles_.value(kLineColumn)));
  for (size_t row = 1; row < rows.size(); ++row)
    rows[row].push_back(holds_.Lines[static_cast<size_t>(order_[row - 1])]);
  return rows;
}

int THoldsModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kMaskCount;
}

int THoldsModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kLineColumn + 1 + holds_.LastCategory + 2;
}

QVariant THoldsModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  const int column = index.column();
  switch (role) {
    case Qt::DisplayRole:
      return column == kHoldPictureColumn ? QVariant() : QVariant(Text(index.row(), column));
    case Qt::AccessibleTextRole:
    case Qt::ToolTipRole:
      return column == kHoldPictureColumn ? QVariant(Text(index.row(), column)) : QVariant();
    case Qt::DecorationRole: {
      if (column != kHoldPictureColumn) return {};
      // The same picture when selected: the faded cards must not take the highlight's tint.
      const QPixmap& picture = pictures_[static_cast<size_t>(MaskAt(index.row()))];
      QIcon icon;
      icon.addPixmap(picture, QIcon::Normal);
      icon.addPixmap(picture, QIcon::Selected);
      return icon;
    }
    case Qt::TextAlignmentRole:
      // The line's words read from the left, the figures line up on the right.
      return column == kLineColumn ? QVariant(Qt::AlignLeft | Qt::AlignVCenter)
                                   : QVariant(Qt::AlignRight | Qt::AlignVCenter);
    default:
      return {};
  }
}

QVariant THoldsModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal) return {};
  if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole) return titles_.value(section);
  if (role == Qt::TextAlignmentRole)
    return QVariant(Qt::Alignment(Qt::AlignCenter) | Qt::Alignment(Qt::TextWordWrap));
  return {};
}

}  // namespace tarnwick::app
