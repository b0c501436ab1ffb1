// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Five small buttons captioned 1..5 of which one is down: the coins played (the Game and
// Payout dialog) or the coins the typed pays are for (the pay table editor).

#include <QWidget>
#include <array>

class QButtonGroup;
class QPushButton;

namespace tarnwick::app {

class TCoinSelector : public QWidget {
  Q_OBJECT

 public:
  explicit TCoinSelector(QWidget* parent = nullptr);

  void SetCoins(int coins);  // puts that button down, without a signal
  int Coins() const;
  QPushButton* Button(int coins) const { return buttons_[static_cast<size_t>(coins - 1)]; }
  // The hints of section "SelectGame" of the language in use.
  void ApplyTexts();

 signals:
  void CoinsChosen(int coins);

 private:
  QButtonGroup* group_;
  std::array<QPushButton*, 5> buttons_{};
};

}  // namespace tarnwick::app
