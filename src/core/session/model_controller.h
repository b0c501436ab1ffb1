// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The one object between the windows and the computing parts: the dealt hand, the current
// game and its engine, the current pay table, the coin count and the pay table store. The
// windows ask it what to show and call it for every change; it opens the other windows
// through TUserInterface, so that all of its logic runs without any window.

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/games.h"
#include "engine/payout.h"
#include "engine/poker_engine.h"
#include "session/ini_file.h"
#include "store/data_store.h"

namespace tarnwick {

class TModelController;
class TPreferences;

// The dialog shown while a pay table's whole-game counts are computed.
class TProgressDialog {
 public:
  virtual ~TProgressDialog() = default;
  virtual void Show() = 0;
  // Deal classes done so far; raises AbortError once the user has aborted.
  virtual void Progress(int32_t done) = 0;
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
  // A progress dialog whose bar runs to `maximum` deal classes.
  virtual std::unique_ptr<TProgressDialog> CreateProgressDialog(int32_t maximum) = 0;
  // A question with the answers Yes (true) and No.
  virtual bool Confirm(const std::string& question) = 0;
  virtual void ShowCharts(TModelController& controller, const std::string& caption) = 0;
  virtual void ShowAllHands(TPokerEngine& engine, int drawMask, const std::string& caption) = 0;
  virtual void ShowStatistics(TPokerEngine& engine, const std::string& caption) = 0;
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

  std::unique_ptr<TPokerEngine> Engine;
  std::unique_ptr<TData> Data;
  std::array<int32_t, kHandSize> Cards{};  // card codes; kEmptyPosition when empty
  bool Analysed = false;
  int32_t DrawMask = 0;  // bit i set: the card at position i is replaced
  TCatalogue Games;
  std::vector<TPayout*> Tables;  // the current game's tables for the coin count, sorted
  int32_t TableIndex = -1;
  int32_t Coins = -1;  // -1 until the first table is selected
  int32_t SortKey = 0;
  std::function<void(bool)> OnBusy;  // true before, false after a whole-game run
  // Why the store could not be read completely (empty when it could): for a damaged file
  // the valid tables before the damage are loaded and the file is copied aside before the
  // next save; a file that could not be read at all is never saved over (Data->ReadOnly()).
  std::string LoadWarning;

  // Cards and hand.
  int32_t CardCode(int position) const;
  int CardRank(int position) const;  // -1 for an empty position or a joker
  int CardSuit(int position) const;
  bool IsWildCard(int position) const;
  int IndexOfCard(int32_t code) const;
  void PutCard(int32_t code);
  void TakeCard(int32_t code);
  void ClearHand();
  void Analyse();
  bool IsAnalysed() const { return Analysed; }
  void ToggleDraw(int position);
  bool IsReplaced(int position) const;

  // Results.
  int LastCategory() const;
  std::string CategoryName(int category) const;
  int32_t Pay(int category) const;
  long double CategoryChance(int category) const;
  long double HoldReturn() const;
  long double TableReturn() const;
  long double TableCategoryChance(int category) const;

  // Game, table and coins.
  int GameCount() const { return static_cast<int>(Games.size()); }
  const TPokerDescription* FindGame(int gameId) const;
  const TPokerDescription& CurrentGame() const;
  void SelectGame(int gameId);
  void SelectTable(int index);
  void SetCoins(int coins);
  void SetSortKey(int key);
  void RebuildTables();
  int TableCount() const { return static_cast<int>(Tables.size()); }
  TPayout* TableAt(int index) const;
  TPayout* CurrentTable() const { return TableAt(TableIndex); }
  void AddTable();
  void EditTable();
  void DeleteTable();
  // Computes the table's whole-game counts with the progress dialog. On failure or abort
  // the engine gets its previous table back and the error carries the table.
  void CalculateTable(TPayout& table);

  // Windows.
  void ChooseGameAndPayout();
  void AfterGameChange();
  void ShowCharts();
  void ShowAllHands();
  void ShowStatistics();
  std::string WindowTitle() const;

  // Texts for error reports.
  std::string HandText() const;
  std::string TableText(const TPayout* table) const;

  // Saves the store when it is modified, merging in the tables other programs stored
  // meanwhile, and rebuilds the table list on the same table (raises DataFileError).
  void SaveData();
  // The game, sort key, coins and table of the settings' section with the empty name.
  void LoadState(const TIniFile& settings);
  void SaveState(TIniFile& settings) const;

 private:
  std::unique_ptr<TPayout> EditTableDialog(bool isNew);
  int PositionOf(const TPayout* table) const;
  void CheckPosition(int position) const;

  TUserInterface& ui_;
  std::filesystem::path dataFolder_;
  const TPreferences* texts_;
};

}  // namespace tarnwick
