// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The one object between the windows and the computing parts: the dealt hand, the current
// game and its engine, the current pay table, the coin count and the pay table store. The
// windows read its state through const accessors, change it only through its operations,
// and hear of every change through OnChange (what changed, so a window refreshes only
// that); it opens the other windows through TUserInterface, so that all of its logic runs
// without any window.

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/games.h"
#include "engine/payout.h"
#include "engine/poker_engine.h"
#include "progress.h"
#include "session/ini_file.h"
#include "session/table_import.h"
#include "stats/hold_stats.h"
#include "stats/result_grid.h"
#include "store/data_store.h"
#include "store/paytable_list.h"

namespace tarnwick {

class TModelController;
class TPreferences;

// What a window shows of the controller, one bit each; OnChange reports a set of them.
enum TChange : uint32_t {
  kHandChanged = 1u << 0,       // cards put, taken or cleared
  kAnalysisChanged = 1u << 1,   // the hand analysed anew, or another hold shown
  kGameChanged = 1u << 2,       // another game (and engine)
  kTableListChanged = 1u << 3,  // tables of the game for the coins: added, edited, deleted,
                                // sorted, merged from the data file, other coins
  kTableChanged = 1u << 4,      // another current table
};
using TChanges = uint32_t;

// What the table list of a game is sorted by (the absolute value of CompareTables' key).
enum class TSortKey : int32_t {
  None = 0,
  PaysPerCoin = 1,
  Return = 2,
  Profit = 3,  // the same order as Return, shown on the profit row
  Variance = 4,
  StdDev = 5,
  WinChance = 6,
  PushChance = 7,
  LossChance = 8,
};

// The all-holds window's view of the analysed hand, taken when it opens.
struct THoldsSnapshot {
  std::array<int32_t, kHandSize> Cards{};  // the five card codes as dealt (which joker)
  THoldStats Holds;                        // every hold's breakdown
  int32_t DrawMask = 0;                    // the hold shown in the main window
  int32_t BestMask = 0;                    // the recommended hold
  int32_t Coins = 1;                       // coins played per hand
  int32_t LastCategory = 0;
  std::vector<std::string> CategoryNames;     // 0..LastCategory
  std::array<bool, kHandSize> Wild{};         // the dealt card at position i is wild
  std::array<std::string, kMaskCount> Lines;  // every hold's line in words, by mask
};

// The statistics and charts windows' view of the current pay table, taken when they open.
struct TTableSnapshot {
  TPayout Table;                            // with its whole-game counts
  const TPokerDescription* Game = nullptr;  // the table's game, owned by the controller
  std::vector<std::string> CategoryNames;   // 0..LastCategory
  int32_t Coins = 1;                        // coins played per hand
};

enum class TDialogResult { Ok, Cancel };

// The windows the controller opens; each call returns when the window has closed.
class TUserInterface {
 public:
  virtual ~TUserInterface() = default;
  // The game and pay table dialog; it works on the controller while it is open.
  virtual TDialogResult ChooseGameAndPayout(TModelController& controller) = 0;
  // The pay table editor on a working copy; true when it closes with OK.
  virtual bool EditPayout(bool isNew, TModelController& controller, TPayout& table) = 0;
  // Runs long work (a whole-game run) with its progress shown and a way to cancel it, and
  // returns when the work has ended, passing on its failure or AbortError. The work reports
  // to the progress it is given and stops once that is cancelled; while it runs, nothing
  // else may call the controller.
  virtual void RunWithProgress(const std::function<void(TProgress& progress)>& work) = 0;
  // A question with the answers Yes (true) and No.
  virtual bool Confirm(const std::string& question) = 0;
  virtual void ShowCharts(const TTableSnapshot& table, const std::string& caption) = 0;
  virtual void ShowAllHands(const THoldsSnapshot& holds, const std::string& caption) = 0;
  virtual void ShowStatistics(const TTableSnapshot& table, const std::string& caption) = 0;
};

class TModelController {
 public:
  // Loads the catalogue and the store of `dataFolder`, selects game 0 and empties the hand.
  // `texts` gives the language texts (the delete confirmation); it may be null.
  TModelController(TUserInterface& ui, std::filesystem::path dataFolder,
                   const TPreferences* texts = nullptr);
  // Saves a modified store; a failure is swallowed here, so call SaveData first to report it.
  ~TModelController();
  TModelController(const TModelController&) = delete;
  TModelController& operator=(const TModelController&) = delete;

  // Told after every operation what it changed (never during one). It must not raise.
  std::function<void(TChanges changes)> OnChange;
  std::function<void(bool)> OnBusy;  // true before, false after a whole-game run

  // Cards and hand.
  int32_t CardCode(int position) const;  // kEmptyPosition when empty
  int CardRank(int position) const;      // -1 for an empty position or a joker
  int CardSuit(int position) const;
  bool IsWildCard(int position) const;
  int IndexOfCard(int32_t code) const;
  void PutCard(int32_t code);
  void TakeCard(int32_t code);
  void ClearHand();
  void Analyse();
  bool IsAnalysed() const { return analysed_; }
  // Bit i set: the card at position i is replaced by the shown hold.
  int32_t DrawMask() const { return drawMask_; }
  int32_t BestMask() const { return bestMask_; }
  void ToggleDraw(int position);
  // Shows the recommended hold again (nothing before the hand is analysed).
  void ShowBestHold();
  bool IsReplaced(int position) const;
  // Puts a whole hand (a practice hand, say) in place of the current one, analyses it and
  // shows the hold `drawMask`.
  void ShowHand(const std::array<int32_t, kHandSize>& cards, int32_t drawMask);

  // Results of the shown hold and the current table.
  int LastCategory() const;
  std::string CategoryName(int category) const;
  std::vector<std::string> CategoryNames() const;  // 0..LastCategory
  int32_t Pay(int category) const;
  long double CategoryChance(int category) const;
  long double HoldReturn() const;
  long double TableReturn() const;
  long double TableCategoryChance(int category) const;
  // The main window's results grid for the shown hold.
  TResultGrid ResultGrid() const;

  // Game, table and coins.
  const TCatalogue& Games() const { return games_; }
  int GameCount() const { return static_cast<int>(games_.size()); }
  const TPokerDescription* FindGame(int gameId) const;
  const TPokerDescription& CurrentGame() const;
  // Selects the game and, of its tables for the coins played, the one last used with it
  // (kept in the settings by SaveState), else the one with the highest return.
  void SelectGame(int gameId);
  void SelectTable(int index);
  void SetCoins(int coins);
  int32_t Coins() const { return coins_; }  // -1 until the first table is selected
  void SetSort(TSortKey key, bool reversed);
  TSortKey SortKey() const { return sortKey_; }
  bool SortReversed() const { return sortReversed_; }
  int TableCount() const { return static_cast<int>(tables_.size()); }
  const TPayout* TableAt(int index) const;
  int32_t TableIndex() const { return tableIndex_; }
  const TPayout* CurrentTable() const { return TableAt(tableIndex_); }
  void AddTable();
  void EditTable();
  void DeleteTable();
  // Stores the tables of a pay table list (the format of data/paytables.csv) that the store
  // lacks, computing them with the progress shown; an abort keeps the tables computed
  // before it. Lines that are not tables are refused, each with its reason.
  TImportReport ImportTables(std::string_view list);
  // The stored tables of the current game as such a list.
  std::string ExportTables() const;

  // The engine of the current game (its hand, deck and counts), for reading.
  const TPokerEngine& Engine() const { return *engine_; }
  // The pay table store: how many tables it holds, whether it changed since the last save,
  // and whether it may be saved at all (it changes only through the operations above).
  int StoredTableCount() const { return static_cast<int>(data_->Payouts.size()); }
  bool StoreModified() const { return data_->Modified; }
  bool StoreReadOnly() const { return data_->ReadOnly(); }
  // Why the store could not be read completely (empty when it could): for a damaged file
  // the valid tables before the damage are loaded and the file is copied aside before the
  // next save; a file that could not be read at all is never saved over (StoreReadOnly).
  const std::string& LoadWarning() const { return loadWarning_; }
  // The folder of the pay table store, where the practice sessions are kept too.
  const std::filesystem::path& DataFolder() const { return dataFolder_; }

  // Windows.
  // Opens the Game and Payout dialog. Cancel brings back the game, coins and table, and
  // undoes every change of the store made in the dialog (tables added, edited, imported or
  // deleted).
  void ChooseGameAndPayout();
  void AfterGameChange();
  // Deals the hand shown to the engine again (it forgets it as it takes a table); with
  // `keepHold` the hold chosen stays, else the best one is shown.
  void DealAgain(bool keepHold);
  // The openers of the windows that need a computed current table (statistics, charts)
  // or an analysed hand (all holds) do nothing without one.
  bool CanShowTableFigures() const;
  void ShowCharts();
  void ShowAllHands();
  void ShowStatistics();
  std::string WindowTitle() const;
  // The caption of the windows of the hand's and the table's figures.
  std::string FigureCaption() const;
  // What the windows are given.
  THoldsSnapshot HoldsSnapshot() const;
  TTableSnapshot TableSnapshot() const;

  // Texts for error reports.
  std::string HandText() const;
  std::string TableText(const TPayout* table) const;

  // Saves the store when it is modified, merging in the tables other programs stored
  // meanwhile, and rebuilds the table list on the same table (raises DataFileError).
  void SaveData();
  // The player quits without saving: the tables added, edited or deleted since the last
  // save are dropped, and nothing is written at the end.
  void DiscardChanges();
  // The game, sort key, coins and table of the settings' section with the empty name, and
  // the table last used with each game (section "LastTables").
  void LoadState(const TIniFile& settings);
  void SaveState(TIniFile& settings) const;

 private:
  // Gathers the changes of one operation (operations call each other) and tells OnChange
  // once when the outermost one ends.
  class TBatch {
   public:
    explicit TBatch(TModelController& controller);
    ~TBatch();
    TBatch(const TBatch&) = delete;
    TBatch& operator=(const TBatch&) = delete;

   private:
    TModelController& controller_;
  };
  void Changed(TChanges changes) { pending_ |= changes; }

  TPayout* MutableCurrent() const { return tableIndex_ < 0 ? nullptr : tables_[tableIndex_]; }
  std::unique_ptr<TPayout> EditTableDialog(bool isNew);
  // Computes the table's whole-game counts with the progress shown, on an engine of the
  // table's game made for the run (the controller's engine is left alone). On failure or
  // abort the error carries the table.
  void CalculateTable(TPayout& table);
  void RebuildTables();
  void SortTables();
  int PositionOf(const TPayout* table) const;
  // The position of the table with this identity (TableIdentity), else of the one with the
  // highest return; -1 without tables.
  int PreferredPosition(const std::string& identity) const;
  std::string DeleteQuestion(const TPayout& table) const;
  void CheckPosition(int position) const;

  TUserInterface& ui_;
  std::filesystem::path dataFolder_;
  const TPreferences* texts_;
  TCatalogue games_;
  std::unique_ptr<TData> data_;
  std::unique_ptr<TPokerEngine> engine_;
  std::array<int32_t, kHandSize> cards_{};
  bool analysed_ = false;
  int32_t drawMask_ = 0;
  int32_t bestMask_ = 0;
  std::vector<TPayout*> tables_;  // the current game's tables for the coin count, sorted
  int32_t tableIndex_ = -1;
  int32_t coins_ = -1;
  TSortKey sortKey_ = TSortKey::None;
  bool sortReversed_ = false;
  std::map<int32_t, std::string> lastTables_;  // game id -> identity of its last table
  std::string loadWarning_;
  int batchDepth_ = 0;
  TChanges pending_ = 0;
};

}  // namespace tarnwick
