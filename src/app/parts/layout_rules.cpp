// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "parts/layout_rules.h"

#include <algorithm>
#include <cmath>

#include "engine/cards.h"

namespace tarnwick::app {

namespace {

constexpr int kSpecialButtons = 4;

int Edge(int multiple, double step) {
  return static_cast<int>(std::lround(multiple * step));
}

}  // namespace

int ButtonCode(int index) {
  return index - kSpecialButtons;  // 2 -> -2, 3 -> -1, 4 + r + 13 s -> r + 13 s
}

int ButtonOf(int code) {
  return code + kSpecialButtons;
}

QPoint ButtonCell(int index) {
  if (index < kSpecialButtons) return {index, 0};
  const int code = ButtonCode(index);
  return {code / kRankCount, 1 + code % kRankCount};
}

QRect ButtonRect(int index, QSize client) {
  const QPoint cell = ButtonCell(index);
  const double width = (client.width() + 3) / static_cast<double>(kButtonColumns);
  const double height = (client.height() + 2) / static_cast<double>(kButtonRows);
  const int left = Edge(cell.x(), width);
  const int top = Edge(cell.y(), height);
  const int right = Edge(cell.x() + 1, width) - 3;
  const int bottom = Edge(cell.y() + 1, height) - 2;
  return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

std::optional<QPoint> CardSlotPlace(int slot, QSize client, QSize card) {
  const int width = client.width() - 10;
  const int height = client.height();
  if (card.height() >= height && width <= 1.2 * card.width()) return std::nullopt;
  const double place = width / 5.0;
  double gap = 0;
  double step = 0;
  if (place >= card.width()) {
    gap = std::round((place - card.width()) / 2);
    step = place;
  } else {
    step = (width - card.width()) / 4.0;  // the cards overlap
  }
  return QPoint(static_cast<int>(std::lround(slot * step + gap)) + 5,
                (height - card.height()) / 2 - 2);
}

QString PlacementSection(int dotsPerInch, int virtualWidth) {
  return QStringLiteral("Placement%1%2").arg(dotsPerInch).arg(virtualWidth);
}

QRect FitIntoScreens(QRect window, const std::vector<QRect>& screens, int maxWidth) {
  if (window.left() < 0) window.moveLeft(1);
  if (window.top() < 0) window.moveTop(1);
  if (screens.empty()) return window;
  const QRect* best = &screens.front();
  long long bestArea = -1;
  for (const QRect& screen : screens) {
    const QRect common = screen.intersected(window);
    const long long area = common.isValid() ? 1LL * common.width() * common.height() : 0;
    if (area > bestArea) {
      bestArea = area;
      best = &screen;
    }
  }
  int width = std::min(window.width(), best->width());
  if (maxWidth > 0) width = std::min(width, maxWidth);
  const int height = std::min(window.height(), best->height());
  window.setSize(QSize(std::max(width, 1), std::max(height, 1)));
  window.moveLeft(std::clamp(window.left(), best->left(), best->right() + 1 - window.width()));
  window.moveTop(std::clamp(window.top(), best->top(), best->bottom() + 1 - window.height()));
  return window;
}

QRect BesideOwner(QRect owner, QSize size, QRect available) {
  constexpr int kGap = 8;  // room for the frames of the two windows
  const int leftRoom = owner.left() - kGap - available.left();
  const int rightRoom = available.right() - owner.right() - kGap;
  int left = owner.left() - kGap - size.width();
  if (size.width() > leftRoom && (size.width() <= rightRoom || rightRoom > leftRoom))
    left = owner.right() + 1 + kGap;
  QRect place(QPoint(left, owner.top()), size);
  return FitIntoScreens(place, {available});
}

}  // namespace tarnwick::app
