// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The main window: a narrow, tall window in which the player clicks (or types) five cards
// from a board of 52 card buttons and two jokers, sees the hand with the cards to hold
// marked, and reads for the shown hold the chance of every pay category and the expected
// return. Clicking a shown card switches it between held and replaced; the results follow
// at once. It owns the controller, which it refreshes from through change notifications.

#include <QAction>
#include <QImage>
#include <QPointer>
#include <QWidget>
#include <array>
#include <filesystem>
#include <memory>
#include <vector>

#include "parts/controller_signals.h"
#include "practice_window.h"
#include "qt_user_interface.h"
#include "session/card_entry.h"
#include "session/model_controller.h"
#include "strategy_window.h"

class QLabel;
class QMenu;
class QSplitter;
class QTableView;

namespace tarnwick::app {

class TButtonFaces;
class TCardButton;
class TCardPainter;
class TCardSlot;
class TMenuButton;
class TGradientLabel;
class TResultsModel;

class TfmMain : public QWidget {
  Q_OBJECT

 public:
  // Creates the controller on the data folder and restores the window's place and the
  // controller's state from the program-wide settings.
  explicit TfmMain(const std::filesystem::path& dataFolder);
  ~TfmMain() override;

  TModelController& Controller() { return *controller_; }
  // The controller's change signal, which every window that follows it connects to.
  TControllerSignals& Signals() const { return *signals_; }
  // How often the window has brought its cards, buttons and results up to date (once per
  // operation that changed something).
  int RefreshCount() const { return refreshCount_; }
  const TResultsModel& Results() const { return *results_; }
  QTableView* Grid() const { return grid_; }
  TCardButton* Button(int index) const { return buttons_[static_cast<size_t>(index)]; }
  TCardButton* CardButton(int code) const;
  TCardSlot* Slot(int position) const { return slots_[static_cast<size_t>(position)]; }
  QMenu* PopupMenu() const { return menu_; }
  QAction* HelpAction() const { return helpAction_; }
  QAction* StatisticsAction() const { return statisticsAction_; }
  QAction* ChartsAction() const { return chartsAction_; }
  QAction* PracticeAction() const { return practiceAction_; }
  QAction* AllHoldsAction() const { return allHoldsAction_; }
  QAction* StrategyAction() const { return strategyAction_; }
  TMenuButton* MenuButton() const;
  // The practice window, once opened (null before).
  TfmPractice* Practice() const { return practice_; }
  // The strategy window, while open (null before).
  TfmStrategy* Strategy() const { return strategy_; }
  QAction* CopyAction() const { return copyAction_; }
  TGradientLabel* TitleLabel() const { return title_; }
  // The line under the grid: how the shown hold stands against the best or the next best.
  QLabel* StandingLabel() const { return standing_; }

  // Every caption, hint and the font again from the language file in use.
  void ApplyTexts();
  // The hand, the game and pay table and the shown results as text with tabs.
  QString CopyText() const;
  // Deletes the windows open beside this one (all holds, statistics, practice, help, the
  // menu), which keep their settings as they go.
  void CloseWindowsBeside();
  // Writes the window's place and the controller's state into the settings.
  void SaveSettings();
  // Saves the pay tables; on failure asks whether to try again, quit without saving or
  // stay. Returns whether the window may close.
  bool SaveDataOrAsk();
  // The warnings of the start (a damaged or unreadable data file, unreadable settings),
  // once.
  void ShowStartWarnings();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void BuildMenu();
  // Tab and Shift+Tab go through the controls in reading order.
  void OrderTabs();
  // Opens the practice window, or brings the open one to the front.
  void ShowPractice();
  // Opens the strategy card of the current table, or brings the open one to the front.
  void ShowStrategy();
  // Brings the open strategy card to the current table after `changes`.
  void FollowStrategy(TChanges changes);
  void FillLanguageMenu();
  void CardButtonToggled(int code);
  void SlotToggled(int position, bool held);
  // Brings up to date what the changes touched (all of it by default).
  void Refresh(TChanges changes = kAllChanges);
  // Sets every card button to show whether its card is in the hand.
  void SyncCardButtons();
  void FillGrid();
  void ShowStanding(const TResultGrid& grid);
  // The least height of the line under the grid: its text wrapped at its width.
  void FitStandingHeight();
  // Makes the names column (and so the window) wide enough for its longest text.
  void FitNameColumn();
  int PaysWidth() const;
  int ChancesWidth() const;
  void PaintSlots();
  void LayOutButtons();
  void LayOutSlots();
  // Sizes the cards of the hand to the window's width.
  void ScaleCards();
  void ChooseLanguage(int index);
  void RestorePlacement();
  // The hand as the card entry needs it, and what the entry says done to the controller.
  TCardEntry::THand EntryHand() const;
  void Apply(const TCardEntry::TStep& step);
  const TCardPainter& Painter();

  TQtUserInterface ui_;
  std::unique_ptr<TModelController> controller_;
  TControllerSignals* signals_ = nullptr;
  std::unique_ptr<TCardPainter> painter_;
  std::unique_ptr<TButtonFaces> faces_;
  TGradientLabel* title_ = nullptr;
  QTableView* grid_ = nullptr;
  QLabel* standing_ = nullptr;
  TResultsModel* results_ = nullptr;
  QSplitter* splitter_ = nullptr;
  QWidget* cardsPanel_ = nullptr;
  QWidget* buttonsPanel_ = nullptr;
  std::array<TCardSlot*, 5> slots_{};
  std::vector<TCardButton*> buttons_;
  QMenu* menu_ = nullptr;
  QMenu* languageMenu_ = nullptr;
  QAction* copyAction_ = nullptr;
  QAction* helpAction_ = nullptr;
  QAction* gameAction_ = nullptr;
  QAction* chartsAction_ = nullptr;
  QAction* statisticsAction_ = nullptr;
  QAction* practiceAction_ = nullptr;
  QAction* allHoldsAction_ = nullptr;
  QAction* strategyAction_ = nullptr;
  QPointer<TfmPractice> practice_;
  QPointer<TfmStrategy> strategy_;
  QAction* aboutAction_ = nullptr;
  int nameWidth_ = 40;    // the names column's least width, pixels
  double cardScale_ = 1;  // the hand's cards against their design size
  int refreshCount_ = 0;
  bool warned_ = false;
  bool screenWatched_ = false;
  TCardEntry entry_;  // the keys and clicks that put and take cards
};

}  // namespace tarnwick::app
