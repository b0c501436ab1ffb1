// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "parts/coin_selector.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QPushButton>

#include "parts/qt_text.h"
#include "session/preferences.h"

namespace tarnwick::app {

TCoinSelector::TCoinSelector(QWidget* parent) : QWidget(parent), group_(new QButtonGroup(this)) {
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(2);
  for (int coins = 1; coins <= 5; ++coins) {
    auto* button = new QPushButton(QString::number(coins), this);
    button->setCheckable(true);
    // Enter in a dialog stays with its OK button, whichever coin button has the focus.
    button->setAutoDefault(false);
    QFont bold = button->font();
    bold.setBold(true);
    button->setFont(bold);
    button->setFixedWidth(button->fontMetrics().horizontalAdvance(QStringLiteral("00")) + 16);
    group_->addButton(button, coins);
    layout->addWidget(button);
    buttons_[static_cast<size_t>(coins - 1)] = button;
  }
  group_->setExclusive(true);
  connect(group_, &QButtonGroup::idClicked, this, &TCoinSelector::CoinsChosen);
  ApplyTexts();
}

void TCoinSelector::SetCoins(int coins) {
  if (coins >= 1 && coins <= 5) Button(coins)->setChecked(true);
}

int TCoinSelector::Coins() const {
  return group_->checkedId();
}

void TCoinSelector::ApplyTexts() {
  const TPreferences& preferences = Preferences();
  for (int coins = 1; coins <= 5; ++coins) {
    const std::string key = "Coin" + std::to_string(coins);
    Button(coins)->setToolTip(HintOf(preferences.HintText("SelectGame", key)));
    // "1 coin" .. "5 coins": the hint names the button for screen readers too.
    Button(coins)->setAccessibleName(Button(coins)->toolTip());
  }
}

}  // namespace tarnwick::app
