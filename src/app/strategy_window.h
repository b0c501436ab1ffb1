// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The strategy window: a strategy card for the main window's current game, pay table and
// coins. A level (beginner to expert) chooses how long the generated list may be; the window
// shows what perfect play returns, what the list returns, what it costs and how often it
// holds the wrong cards, and then the list itself: each row's number, line, share of the
// deals it plays, return it loses against perfect play and its most common deal (the held
// cards in brackets). In a game with wild cards the rows stand under the wild cards they keep.
// A list typed in a text file is read and scored the same way. The card is computed off the
// window's thread (newest wins): a new table or level drops the card being computed. It
// prints, saves as PDF and copies as text.

#include <QDialog>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>

#include "session/model_controller.h"
#include "stats/strategy.h"

class QComboBox;
class QLabel;
class QPrinter;
class QProgressBar;
class QPushButton;
class QTableWidget;
class QTextDocument;

namespace tarnwick::app {

class TGradientLabel;
class TJobRunner;
class TSharedProgress;

// How the window computes a card. The program generates and scores over every deal of the
// table; a test puts in something small.
struct TStrategyComputation {
  std::function<TGeneratedStrategy(const TPokerDescription& game, const TPayout& table,
                                   int maxLines, TProgress& progress)>
      Generate;
  std::function<TStrategyReport(const TPokerDescription& game, const TPayout& table,
                                const TStrategy& strategy, TProgress& progress)>
      Evaluate;
};

class TfmStrategy : public QDialog {
  Q_OBJECT

 public:
  // The table's game must be set; a snapshot without a table shows that there is none.
  TfmStrategy(QWidget* parent, const TTableSnapshot& table, const QString& caption);
  ~TfmStrategy() override;

  // Every window made after this computes with `computation`; an empty one restores the
  // whole-game computation.
  static void SetComputation(TStrategyComputation computation);

  // Shows the card of another table (the main window's current one): the card being
  // computed is dropped. A typed list stays and is scored again while the game is the same.
  void Follow(const TTableSnapshot& table, const QString& caption);
  // The texts again from the language in use.
  void ApplyTexts();
  void SetLevel(TStrategyLevel level);
  TStrategyLevel Level() const { return level_; }
  // Reads a typed list from `path` and scores it; rows that cannot be read are named in a
  // message box and left out. False when the file cannot be read.
  bool OpenTypedList(const QString& path);
  // Drops the card being computed.
  void CancelComputation();
  // Whether a card is being computed.
  bool Busy() const;

  // The card shown as text: its title, figures, and the numbered rows with theirs.
  QString CopiedText() const;
  // Writes the card to `path` as a PDF file; raises a DataFileError when it cannot.
  void SavePdf(const QString& path) const;
  void PrintTo(QPrinter& printer) const;

  // The report shown; empty before the first card is done.
  const std::optional<TStrategyReport>& Report() const { return report_; }
  QComboBox* LevelBox() const { return levelBox_; }
  QTableWidget* Grid() const { return grid_; }
  QLabel* Figure(int index) const { return figures_[static_cast<size_t>(index)]; }
  TGradientLabel* TitleLabel() const { return title_; }
  QLabel* StatusLabel() const { return status_; }
  QPushButton* CancelButton() const { return cancel_; }
  QPushButton* PrintButton() const { return print_; }
  QPushButton* SaveButton() const { return save_; }
  QPushButton* CopyButton() const { return copy_; }
  QPushButton* OpenButton() const { return open_; }

  static constexpr int kFigures = 4;  // perfect play, the list's return, its cost, wrong holds

 signals:
  // A computation was started (a test counts them).
  void Started();

 private:
  struct TResult;

  void Start();
  void Finish(const TResult& result);
  void SetBusy(bool busy);
  void ShowProgress();
  void ShowCard();
  void ShowTitle();
  void UpdateButtons();
  // The rows shown, each as its cells (a section heading has only its line). Under a
  // heading the line leaves out the wild cards the heading names; Text keeps them.
  struct TShownRow {
    bool Heading = false;
    QString Number, Line, Text, Share, Lost, Example, HeldExample;
  };
  std::vector<TShownRow> ShownRows() const;
  QString FigureText(int index) const;
  QString FigureName(int index) const;
  std::unique_ptr<QTextDocument> Document() const;

  TTableSnapshot table_;
  QString caption_;
  TStrategyLevel level_ = TStrategyLevel::Beginner;
  std::optional<TStrategy> typed_;  // the typed list shown instead of a generated one
  QString typedName_;               // its file's name
  TStrategy strategy_;              // the list of the report shown
  std::optional<TStrategyReport> report_;
  QString failure_;  // why no card is shown

  TGradientLabel* title_;
  QLabel* tableLine_;
  QLabel* levelLabel_;
  QComboBox* levelBox_;
  std::array<QLabel*, kFigures> figureNames_{};
  std::array<QLabel*, kFigures> figures_{};
  QTableWidget* grid_;
  QLabel* status_;
  QProgressBar* bar_;
  QPushButton* cancel_;
  QPushButton* print_;
  QPushButton* save_;
  QPushButton* copy_;
  QPushButton* open_;
  QPushButton* ok_;
  bool hasPrinter_ = false;

  std::unique_ptr<TJobRunner> runner_;
  std::shared_ptr<TSharedProgress> progress_;  // of the job running
  QTimer tick_;
};

}  // namespace tarnwick::app
