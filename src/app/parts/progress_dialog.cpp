// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "parts/progress_dialog.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include "parts/qt_text.h"
#include "session/preferences.h"

namespace tarnwick::app {

namespace {

std::function<void(TfmGauge&)>& GaugeShownHook() {
  static std::function<void(TfmGauge&)> hook;
  return hook;
}

}  // namespace

void SetGaugeShownHook(std::function<void(TfmGauge&)> hook) {
  GaugeShownHook() = std::move(hook);
}

void TellGaugeShown(TfmGauge& gauge) {
  if (GaugeShownHook()) GaugeShownHook()(gauge);
}

TfmGauge::TfmGauge(QWidget* parent, TSharedProgress& progress)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::CustomizeWindowHint |
                          Qt::WindowCloseButtonHint),
      progress_(progress),
      time_(new QLabel(this)),
      left_(new QLabel(this)),
      bar_(new QProgressBar(this)),
      abort_(new QPushButton(this)) {
  const TPreferences& preferences = Preferences();
  setWindowTitle(Caption(preferences.WindowName("CalcWin")));
  timeText_ = Q(preferences.Text("CalcWin", "Time"));
  leftText_ = Q(preferences.Text("CalcWin", "Left"));
  abort_->setText(Q(preferences.ButtonText("Abort")));
  abort_->setToolTip(HintOf(preferences.HintText("Buttons", "Abort")));
  abort_->setAccessibleName(abort_->text());
  time_->setAccessibleName(QStringLiteral("Elapsed time"));
  left_->setAccessibleName(QStringLiteral("Remaining time"));
  left_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  bar_->setAccessibleName(QStringLiteral("Progress"));
  bar_->setTextVisible(false);
  auto* layout = new QGridLayout(this);
  layout->addWidget(time_, 0, 0);
  layout->addWidget(left_, 0, 1);
  layout->addWidget(bar_, 1, 0, 1, 2);
  layout->addWidget(abort_, 2, 0, 1, 2, Qt::AlignHCenter);
  connect(abort_, &QPushButton::clicked, this, [this] {
    progress_.Cancel();
    abort_->setEnabled(false);
  });
  setMinimumWidth(fontMetrics().averageCharWidth() * 48);
  ShowProgress(0);
}

void TfmGauge::ShowProgress(int64_t elapsed) {
  const int64_t total = progress_.Total();
  const int64_t done = progress_.Done();
  bar_->setRange(0, static_cast<int>(std::max<int64_t>(total, 1)));
  bar_->setValue(static_cast<int>(std::min(done, std::max<int64_t>(total, 1))));
  time_->setText(timeText_ + QStringLiteral(" : ") + Q(FormatMinutesSeconds(elapsed)));
  left_->setText(leftText_ + QStringLiteral(" : ") +
                 Q(FormatMinutesSeconds(RemainingMs(total, done, elapsed))));
}

void TfmGauge::reject() {
  abort_->click();
}

void TfmGauge::closeEvent(QCloseEvent* event) {
  // The dialog goes away when the work has stopped, not before.
  event->ignore();
  abort_->click();
}

}  // namespace tarnwick::app
