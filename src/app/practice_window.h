// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The practice window: deals hands of the main window's game, table and coins from a
// seeded deck with nothing held (as a machine deals), lets the player hold cards (a click or
// the keys 1 to 5) and draw (Enter), and then shows the draw, the pay and at once the
// verdict: the hold played against the best hold, and what a mistake costs. A session may
// draw each hold on 3, 5 or 10 lines: the first line shows on the big cards, the others in
// small rows under them (which scroll when the window is short), with the total paid. The session's
// figures, its mistakes (also by the line of the best hold) and the past sessions are listed
// below. The verdict names the line of the hold played and of the best hold; with a
// reference strategy of a level, made for the session's table on the window's job runner,
// it also names the strategy's row for the hand and whether the hold followed it. A drill
// deals only hands where two chosen lines are both some hold's line. A session ends, and is kept
// in the data folder, when a new one starts or the window closes. When the main window
// switches to another game, table or coin count, the window says so and its next deal starts
// a session of those.

#include <QDialog>
#include <QTimer>
#include <array>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "parts/card_painter.h"
#include "session/practice.h"
#include "session/window_settings.h"

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QScrollArea;
class QTableWidget;
class QTabWidget;

namespace tarnwick::app {

class TCardSlot;
class TJobRunner;
class TSharedProgress;

class TfmPractice : public QDialog {
  Q_OBJECT

 public:
  // Starts a session on the controller's current game, table and coins with a new seed.
  // Raises an InputError when there is no current table.
  TfmPractice(QWidget* parent, TModelController& controller);
  ~TfmPractice() override;

  // Keeps the session played so far (when it has hands) in the data folder; a file that
  // cannot take it is told in a message (Retry/Cancel while another program saves the
  // file). The next hand starts a new session.
  void FinishSession();
  // Ends the session and starts one on the controller's game, table and coins.
  void NewSession(uint64_t seed);
  // Deals the next hand; a new session first when the main window plays another game,
  // table or coin count than the session.
  void DealHand();
  void ToggleHold(int position);
  // Draws to the marked hold, after the warning when it asks for one and the player takes
  // the hold back (false then).
  bool DrawHand();

  // Every text again from the language file in use.
  void ApplyTexts();
  // Tells the player whether the main window now plays another game, table or coin count,
  // which the next deal follows.
  void MainWindowChanged();

  // Makes the reference strategy of a level for a game's pay table; it runs on the window's
  // job runner and reports to the progress, stopping once that is cancelled.
  using TStrategyMaker =
      std::function<TStrategy(const TPokerDescription& game, const TPayout& table,
                              TStrategyLevel level, TProgress& progress)>;
  // How the strategy is made; by default it is generated for the table (some seconds).
  void SetStrategyMaker(TStrategyMaker maker) { strategyMaker_ = std::move(maker); }
  // A strategy is being made.
  bool StrategyBusy() const;

  // Sessions are kept unless a measurement plays hands that are nobody's session.
  void SetKeepSessions(bool keep) { keepSessions_ = keep; }

  const TPracticeSession& Session() const { return *session_; }
  int Mask() const { return mask_; }
  TCardSlot* Slot(int position) const { return slots_[static_cast<size_t>(position)]; }
  QPushButton* DrawButton() const { return draw_; }
  QLabel* Verdict() const { return verdict_; }
  QLabel* Result() const { return result_; }
  QLabel* ShowMe() const { return showMe_; }
  void ShowAllHolds();
  QLabel* Figure(int index) const { return figures_[static_cast<size_t>(index)]; }
  QTableWidget* Mistakes() const { return mistakes_; }
  QTableWidget* History() const { return history_; }
  QLineEdit* SeedEdit() const { return seed_; }
  QPushButton* NewSessionButton() const { return newSession_; }
  QLabel* DamagedNote() const { return damaged_; }
  QCheckBox* WarnBox() const { return warn_; }
  QDoubleSpinBox* WarnBets() const { return warnBets_; }
  QCheckBox* HardBox() const { return hard_; }
  QCheckBox* HoldAllBox() const { return holdAll_; }
  QLabel* FollowNote() const { return follow_; }
  QComboBox* StrategyBox() const { return strategyBox_; }
  QLabel* StrategyNote() const { return strategyNote_; }
  QProgressBar* StrategyProgress() const { return strategyBar_; }
  QPushButton* StrategyCancel() const { return strategyCancel_; }
  QCheckBox* DrillBox() const { return drill_; }
  QComboBox* DrillLine(int index) const { return drillLines_.at(static_cast<size_t>(index)); }
  QTableWidget* MistakesByLine() const { return byLine_; }
  QDoubleSpinBox* HardBets() const { return hardBets_; }
  QComboBox* LinesBox() const { return lines_; }
  QScrollArea* LinesArea() const { return linesArea_; }
  // The row of line `line` (2 the second line, up to kMaxPracticeLines): its small cards
  // and its category and pay.
  QLabel* LineCards(int line) const { return lineCards_.at(static_cast<size_t>(line - 2)); }
  QLabel* LineResult(int line) const { return lineResults_.at(static_cast<size_t>(line - 2)); }
  // The coins bet on all lines, and after the draw what they paid.
  QLabel* Total() const { return total_; }

  static constexpr int kFigureCount = 7;

  // Keeps the session as the window closes (also by Escape).
  void done(int result) override;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  // A change of its texts or of its width: see KeepTextsWhole.
  bool event(QEvent* event) override;

 private:
  // The layout's least height gives each wrapped text one line; at a narrow width the table,
  // the result and the verdict take more, which would squeeze the pages under them. The
  // window is held to the height its texts need at its width.
  void KeepTextsWhole();
  // The main window has a table, and its game, table or coins are not the session's.
  bool MainWindowDiffers() const;
  // Starts a session on the seed typed into the seed box; without one, on a new seed when
  // `newIfNotTyped` (New session), else not at all (Enter in the box).
  void TakeSeed(bool newIfNotTyped);
  void ShowCards();
  // The further lines' rows and the total: before the draw the held cards, after it each
  // line's final hand and pay.
  void ShowLines();
  // The lines chosen, which the next session plays.
  int ChosenLines() const;
  // A session that has not drawn a hand yet starts again on its seed with the lines chosen;
  // otherwise the next deal starts a new session with them.
  void LinesChanged();
  // Makes the window tall enough for the further lines' rows to take their full height (as
  // far as the screen allows): a session that starts with more lines shows them.
  void FitLines();
  void ShowFigures();
  // The draw's result and verdict, or before the draw what the deal says.
  void ShowOutcome();
  void FillMistakes();
  void AddMistake(const TPracticeHand& hand);
  void LoadHistory();
  void ShowHistoryNote();
  void ShowMistake(int row);
  // The options as the boxes show them, as the settings keep them and as a session takes them.
  TPracticeSettings Settings() const;
  TPracticeOptions Options() const;
  QString HoldText(const std::array<int32_t, kHandSize>& cards, int mask) const;
  // The lines of a verdict, and with a strategy its row and whether it was followed.
  QString LinesText(const TPracticeVerdict& verdict) const;
  void FillMistakesByLine();
  // The drill's two lines as typed or chosen, read for the controller's game (an InputError
  // for a text that is no line); none while the drill is off.
  std::vector<TLinePattern> ChosenDrill() const;
  // Makes the strategy of the level chosen for the session's table (none: drops it).
  void StartStrategy();
  void StopStrategy();
  void StrategyMade(TStrategy strategy, int gameId, const std::vector<int32_t>& pays);
  void ShowStrategyState();
  // The lines of the strategy offered for the drill.
  void FillDrillLines();

  TModelController& controller_;
  std::unique_ptr<TJobRunner> runner_;  // makes the reference strategy
  TStrategyMaker strategyMaker_;
  std::shared_ptr<TSharedProgress> strategyProgress_;  // of the strategy being made
  QTimer strategyTick_;                                // shows its progress
  std::optional<TStrategy> strategy_;                  // made for strategyGame_, strategyPays_
  int strategyGame_ = -1;
  std::vector<int32_t> strategyPays_;
  int strategyLevel_ = -1;        // the level of strategy_ or of the one being made
  QString drillProblem_;          // why the drill was given up, shown with the next hand
  std::filesystem::path folder_;  // where the sessions are kept
  std::unique_ptr<TPracticeSession> session_;
  int gameId_ = 0;
  QString tableTitle_;  // the main window's title of the session's table
  int mask_ = 0;        // the hold marked: bit i set, the card at position i is replaced
  bool drawn_ = false;
  bool kept_ = true;  // the session's hands are in the file (or there are none)
  bool keepSessions_ = true;
  int damagedSessions_ = 0;
  QString fileProblem_;  // why the session file cannot be read (then nothing is kept)
  TCardPainter painter_;
  TCardPainter smallPainter_;  // the further lines' cards, at half the size
  QLabel* table_;
  QLabel* seedLabel_;
  QLineEdit* seed_;
  QPushButton* newSession_;
  std::array<TCardSlot*, kHandSize> slots_{};
  QPushButton* draw_;
  QLabel* result_;
  QLabel* verdict_;
  QLabel* showMe_;
  QLabel* follow_;
  QCheckBox* warn_;
  QDoubleSpinBox* warnBets_;
  QCheckBox* hard_;
  QDoubleSpinBox* hardBets_;
  QCheckBox* holdAll_;
  QLabel* strategyLabel_;
  QComboBox* strategyBox_;
  QProgressBar* strategyBar_;
  QPushButton* strategyCancel_;
  QLabel* strategyNote_;
  QCheckBox* drill_;
  std::array<QComboBox*, 2> drillLines_{};
  QLabel* linesLabel_;
  QComboBox* lines_;
  QScrollArea* linesArea_;
  static constexpr size_t kMoreLines = kMaxPracticeLines - 1;
  std::array<QLabel*, kMoreLines> lineNames_{};
  std::array<QLabel*, kMoreLines> lineCards_{};
  std::array<QLabel*, kMoreLines> lineResults_{};
  QLabel* total_;
  QTabWidget* tabs_;
  std::array<QLabel*, kFigureCount> figureNames_{};
  std::array<QLabel*, kFigureCount> figures_{};
  QTableWidget* mistakes_;
  QTableWidget* byLine_;
  QTableWidget* history_;
  QLabel* damaged_;
};

}  // namespace tarnwick::app
