// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/model_controller.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <map>
#include <optional>
#include <utility>

#include "checked.h"
#include "engine/wild_engine.h"
#include "errors.h"
#include "session/preferences.h"

namespace tarnwick {

namespace {

std::string Upper(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  }
  return text;
}

// The coin basis and the pays of a table, the way the settings remember a table: "1 800 50 ...".
std::string TableIdentity(const TPayout& table) {
  std::string text = std::to_string(table.CoinBasis);
  for (int32_t pay : PaysOf(table)) text += ' ' + std::to_string(pay);
  return text;
}

constexpr char kLastTables[] = "LastTables";

}  // namespace

TModelController::TBatch::TBatch(TModelController& controller) : controller_(controller) {
  ++controller_.batchDepth_;
}

TModelController::TBatch::~TBatch() {
  if (--controller_.batchDepth_ > 0 || controller_.pending_ == 0) return;
  const TChanges changes = controller_.pending_;
  controller_.pending_ = 0;
  if (!controller_.OnChange) return;
  try {
    controller_.OnChange(changes);
  } catch (...) {
    // A window that fails to refresh must not take the operation down with it.
  }
}

TModelController::TModelController(TUserInterface& ui, std::filesystem::path dataFolder,
                                   const TPreferences* texts)
    : ui_(ui),
      dataFolder_(std::move(dataFolder)),
      texts_(texts),
      games_(BuildCatalogue()),
      data_(std::make_unique<TData>()) {
  try {
    data_->Load(dataFolder_, &games_);
  } catch (const DataFileError& e) {
    loadWarning_ = e.what();
    // The program goes on with an empty store that is never saved over the file.
    if (data_->ReadOnly()) loadWarning_ += ". Pay tables added now are not saved.";
  }
  SelectGame(0);
  ClearHand();
  pending_ = 0;  // nobody listens yet
}

TModelController::~TModelController() {
  OnChange = nullptr;
  try {
    SaveData();
  } catch (...) {
    // The old file stays whole (saves replace it atomically); SaveData reports failures.
  }
  if (engine_) engine_->SetPayout(nullptr);
}

void TModelController::DiscardChanges() {
  data_->Modified = false;
}

void TModelController::SaveData() {
  if (!data_->Modified) return;
  const TBatch batch(*this);
  // The save merges in what other programs stored meanwhile and may free tables another
  // program deleted: the list of the current game is made anew, on the same table.
  std::optional<TPayout> shown;
  if (const TPayout* current = CurrentTable()) shown = *current;
  engine_->SetPayout(nullptr);
  tables_.clear();
  tableIndex_ = -1;
  const auto reselect = [&] {
    RebuildTables();
    const TPayout* same = shown ? data_->FindSame(*shown) : nullptr;
    SelectTable(std::max(PositionOf(same), 0));
    Changed(kTableListChanged);
  };
  try {
    data_->Save(dataFolder_);
  } catch (...) {
    reselect();
    throw;
  }
  reselect();
}

void TModelController::CheckPosition(int position) const {
  CheckRange(position, 0, kHandSize - 1, "hand position");
}

int32_t TModelController::CardCode(int position) const {
  CheckPosition(position);
  return cards_[position];
}

int TModelController::CardRank(int position) const {
  const int32_t code = CardCode(position);
  return code < 0 ? -1 : code % kRankCount;
}

int TModelController::CardSuit(int position) const {
  const int32_t code = CardCode(position);
  return code < 0 ? -1 : code / kRankCount;
}

bool TModelController::IsWildCard(int position) const {
  return tarnwick::IsWildCard(CardCode(position), engine_->Deck.WildRank);
}

int TModelController::IndexOfCard(int32_t code) const {
  for (int i = 0; i < kHandSize; ++i) {
    if (cards_[i] == code) return i;
  }
  return -1;
}

void TModelController::PutCard(int32_t code) {
  const TBatch batch(*this);
  if (analysed_) ClearHand();  // a click after a complete hand starts a new hand
  const int free = IndexOfCard(kEmptyPosition);
  if (free < 0) return;
  cards_[free] = code;
  Changed(kHandChanged);
  if (IndexOfCard(kEmptyPosition) < 0) Analyse();
}

void TModelController::TakeCard(int32_t code) {
  const TBatch batch(*this);
  const int position = IndexOfCard(code);
  if (position < 0) return;
  cards_[position] = kEmptyPosition;
  Changed(analysed_ ? kHandChanged | kAnalysisChanged : kHandChanged);
  analysed_ = false;
}

void TModelController::ClearHand() {
  const TBatch batch(*this);
  cards_.fill(kEmptyPosition);
  drawMask_ = 0;
  bestMask_ = 0;
  analysed_ = false;
  Changed(kHandChanged | kAnalysisChanged);
}

void TModelController::Analyse() {
  const TBatch batch(*this);
  try {
    engine_->DealCards(cards_);
    bestMask_ = engine_->GetTheBest();
    drawMask_ = bestMask_;
    analysed_ = true;
    Changed(kAnalysisChanged);
  } catch (...) {
    const std::string context = HandText() + "\r\n" + TableText(engine_->Payout);
    ClearHand();
    RethrowWithLine(context);
  }
}

void TModelController::ToggleDraw(int position) {
  const TBatch batch(*this);
  CheckPosition(position);
  if (!analysed_) return;
  drawMask_ ^= 1 << position;
  Changed(kAnalysisChanged);
}

void TModelController::ShowBestHold() {
  const TBatch batch(*this);
  if (!analysed_ || drawMask_ == bestMask_) return;
  drawMask_ = bestMask_;
  Changed(kAnalysisChanged);
}

void TModelController::ShowHand(const std::array<int32_t, kHandSize>& cards, int32_t drawMask) {
  const TBatch batch(*this);
  CheckRange(drawMask, 0, kMaskCount - 1, "draw mask");
  cards_ = cards;
  Changed(kHandChanged);
  Analyse();
  drawMask_ = drawMask;
}

bool TModelController::IsReplaced(int position) const {
  CheckPosition(position);
  return analysed_ && BitSet(drawMask_, position);
}

int TModelController::LastCategory() const {
  return engine_->LastCategory;
}

std::string TModelController::CategoryName(int category) const {
  return CurrentGame().CategoryName(category);
}

std::vector<std::string> TModelController::CategoryNames() const {
  const TPokerDescription& game = CurrentGame();
  return {game.CategoryNames.begin(), game.CategoryNames.begin() + game.LastCategory + 1};
}

int32_t TModelController::Pay(int category) const {
  CheckRange(category, 0, kMaxCategories - 1, "category");
  return engine_->Payout != nullptr ? engine_->Payout->Pays[category] : 0;
}

long double TModelController::CategoryChance(int category) const {
  return engine_->MaskCategoryChance(category, drawMask_);
}

long double TModelController::HoldReturn() const {
  return engine_->DrawReturn(drawMask_);
}

long double TModelController::TableReturn() const {
  return engine_->Payout != nullptr ? engine_->Payout->Return : -1;
}

long double TModelController::TableCategoryChance(int category) const {
  return engine_->Payout != nullptr ? engine_->Payout->CategoryChance(category) : 0;
}

TResultGrid TModelController::ResultGrid() const {
  return MakeResultGrid(CategoryNames(), CurrentTable(), std::max(coins_, 1), *engine_, analysed_,
                        drawMask_);
}

const TPokerDescription* TModelController::FindGame(int gameId) const {
  return tarnwick::FindGame(games_, gameId);
}

const TPokerDescription& TModelController::CurrentGame() const {
  return *FindGame(engine_->GameId);
}

void TModelController::SelectGame(int gameId) {
  if (engine_ && engine_->GameId == gameId) return;
  const TBatch batch(*this);
  const TPokerDescription* game = FindGame(gameId);
  // An unknown number (a retired game, a damaged settings value) keeps the current game;
  // at the start it falls back to the first game.
  if (game == nullptr) {
    if (engine_) return;
    game = games_.front().get();
  }
  const auto last = lastTables_.find(game->GameId);
  const std::string wanted = last != lastTables_.end() ? last->second : std::string();
  if (engine_) engine_->SetPayout(nullptr);
  tables_.clear();
  tableIndex_ = -1;
  // The new engine has analysed nothing, and its deck may lack the hand's jokers: the hand
  // is dealt to it once its table is chosen.
  const bool analysed = std::exchange(analysed_, false);
  engine_ = CreateEngineForGame(*game);
  Changed(kGameChanged);
  RebuildTables();
  SelectTable(PreferredPosition(wanted));
  analysed_ = analysed;
  // A hand shown meanwhile (behind the Game and Payout dialog) is analysed in the new game
  // at once, or cleared when its deck cannot deal it.
  AfterGameChange();
}

int TModelController::PreferredPosition(const std::string& identity) const {
  int best = -1;
  for (int i = 0; i < TableCount(); ++i) {
    if (!identity.empty() && TableIdentity(*tables_[i]) == identity) return i;
    if (best < 0 || tables_[i]->Return > tables_[best]->Return) best = i;
  }
  return best;
}

const TPayout* TModelController::TableAt(int index) const {
  if (index < 0 || index >= TableCount()) return nullptr;
  return tables_[index];
}

int TModelController::PositionOf(const TPayout* table) const {
  const auto at = std::find(tables_.begin(), tables_.end(), table);
  return at == tables_.end() ? -1 : static_cast<int>(at - tables_.begin());
}

void TModelController::SortTables() {
  const int key = static_cast<int>(sortKey_) * (sortReversed_ ? -1 : 1);
  std::stable_sort(tables_.begin(), tables_.end(), [&](const TPayout* a, const TPayout* b) {
    return CompareTables(*a, key, *b) < 0;
  });
}

void TModelController::RebuildTables() {
  const TBatch batch(*this);
  const TPayout* remembered = CurrentTable();
  tables_ = data_->TablesFor(engine_->GameId, coins_);
  SortTables();
  tableIndex_ = -1;
  Changed(kTableListChanged);
  SelectTable(std::max(PositionOf(remembered), 0));
}

void TModelController::SelectTable(int index) {
  const TBatch batch(*this);
  const int before = tableIndex_;
  const TPayout* shown = engine_->Payout;
  if (index >= 0 && index < TableCount()) {
    tableIndex_ = index;
    engine_->SetPayout(tables_[index]);
    if (coins_ == -1) SetCoins(1);
    // Taking a table, the engine forgets the hand it was dealt: a hand shown (behind the Game
    // and Payout dialog, in the windows beside) is dealt again and weighed with these pays.
    // Its best hold may differ; the hold chosen stays when the table is the same.
    if (analysed_) DealAgain(engine_->Payout == shown);
  } else if (tables_.empty()) {
    tableIndex_ = -1;
    engine_->SetPayout(nullptr);
  } else {
    SelectTable(0);
  }
  if (const TPayout* current = CurrentTable())
    lastTables_[engine_->GameId] = TableIdentity(*current);
  if (tableIndex_ != before || engine_->Payout != shown) Changed(kTableChanged);
}

void TModelController::DealAgain(bool keepHold) {
  const int32_t chosen = drawMask_;
  Analyse();
  if (keepHold && analysed_) drawMask_ = chosen;
}

void TModelController::SetCoins(int coins) {
  if (!IsCoinCount(coins) || coins == coins_) return;
  const TBatch batch(*this);
  coins_ = coins;
  RebuildTables();
}

void TModelController::SetSort(TSortKey key, bool reversed) {
  const TBatch batch(*this);
  sortKey_ = key;
  sortReversed_ = reversed;
  RebuildTables();
}

std::unique_ptr<TPayout> TModelController::EditTableDialog(bool isNew) {
  auto working = std::make_unique<TPayout>();
  working->CoinBasis = 1;
  const int coins = std::max(coins_, 1);
  if (const TPayout* current = engine_->Payout) {
    working->Assign(*current);
    if (coins != 1) {
      // The editor shows the pays for the coins now played.
      for (int c = 0; c <= working->LastCategory; ++c) {
        const int64_t pay = Mul<int64_t>(working->Pays[c], coins) / working->CoinBasis;
        CheckRange(pay, 0, INT32_MAX, "pay");
        working->Pays[c] = static_cast<int32_t>(pay);
      }
    }
  } else {
    working->GameId = engine_->GameId;
    working->LastCategory = engine_->LastCategory;
    working->DeckSize = engine_->Deck.Total;
  }
  working->CoinBasis = coins;
  if (!ui_.EditPayout(isNew, *this, *working)) return nullptr;
  return working;
}

void TModelController::AddTable() {
  const TBatch batch(*this);
  std::unique_ptr<TPayout> working = EditTableDialog(true);
  if (!working) return;
  const int coins = working->CoinBasis;
  working->Reduce();
  TPayout* equal = data_->FindSame(*working);
  if (equal == nullptr || !equal->Computed()) {
    CalculateTable(*working);
    equal = &data_->Keep(std::move(working));
  }
  SetCoins(coins);
  RebuildTables();
  SelectTable(PositionOf(equal));
}

void TModelController::EditTable() {
  const TBatch batch(*this);
  TPayout* current = MutableCurrent();
  if (current == nullptr) return;
  std::unique_ptr<TPayout> working = EditTableDialog(false);
  if (!working) return;
  const int coins = working->CoinBasis;
  working->Reduce();
  if (const TPayout* equal = data_->FindSame(*working); equal && equal->Computed()) {
    working->Assign(*equal);  // its computed counts are reused
  } else {
    CalculateTable(*working);
  }
  current->Assign(*working);
  data_->Modified = true;
  engine_->SetPayout(current);
  SetCoins(coins);
  // The edited table may sort elsewhere now.
  RebuildTables();
  Changed(kTableListChanged | kTableChanged);
}

void TModelController::DeleteTable() {
  const TBatch batch(*this);
  TPayout* current = MutableCurrent();
  if (current == nullptr || !ui_.Confirm(DeleteQuestion(*current))) return;
  // Nothing may point at the table once the store has freed it.
  engine_->SetPayout(nullptr);
  tables_.clear();
  tableIndex_ = -1;
  data_->Delete(current);
  RebuildTables();
}

std::string TModelController::DeleteQuestion(const TPayout& table) const {
  if (texts_ == nullptr) return {};
  const std::string pays = PaysText(table, ' ');
  std::string coins;
  switch (table.CoinBasis) {
    case 1:
      coins = texts_->HintText("SelectGame", "Coin1");
      break;
    case 2:
      coins = texts_->HintText("SelectGame", "Coin2");
      break;
    case 3:
      coins = texts_->HintText("SelectGame", "Coin3");
      break;
    case 4:
      coins = texts_->HintText("SelectGame", "Coin4");
      break;
    default:
      coins = texts_->HintText("SelectGame", "Coin5");
      break;
  }
  return FormatText(texts_->Text("SelectGame", "ConfirmMsg"),
                    {Upper(CurrentGame().Name), pays, coins});
}

TImportReport TModelController::ImportTables(std::string_view list) {
  const TBatch batch(*this);
  TImportPlan plan = PlanImport(list, games_, *data_);
  std::vector<std::unique_ptr<TPayout>>& missing = plan.Missing;
  // The runs go on the worker of the progress display; the store changes only here, after
  // them, and keeps the tables computed before a failure or an abort.
  size_t computed = 0;
  const auto keep = [&] {
    for (size_t i = 0; i < computed; ++i) {
      data_->Keep(std::move(missing[i]));
      ++plan.Report.Added;
    }
    RebuildTables();
  };
  if (!missing.empty()) {
    if (OnBusy) OnBusy(true);
    try {
      // The worker reads only the tables and the catalogue, which nothing changes.
      ui_.RunWithProgress([&missing, &games = games_, &computed](TProgress& progress) {
        ComputeImport(missing, games, progress, computed);
      });
    } catch (...) {
      if (OnBusy) OnBusy(false);
      keep();
      throw;
    }
    if (OnBusy) OnBusy(false);
  }
  keep();
  return plan.Report;
}

std::string TModelController::ExportTables() const {
  std::vector<const TPayout*> tables;
  for (const auto& table : data_->Payouts) {
    if (table->GameId == engine_->GameId) tables.push_back(table.get());
  }
  return PayTableListText(tables, games_);
}

void TModelController::CalculateTable(TPayout& table) {
  // The run has an engine of its own: the controller's engine stays with the table and the
  // hand the windows show, and nothing of the controller is touched off the caller's thread.
  const TPokerDescription& game = *FindGame(table.GameId);
  if (OnBusy) OnBusy(true);
  try {
    ui_.RunWithProgress([&game, &table](TProgress& progress) {
      const std::unique_ptr<TPokerEngine> engine = CreateEngineForGame(game);
      engine->SetProgress(&progress);
      engine->SetPayout(&table);
      engine->CalcGameAdvantage();
    });
  } catch (...) {
    if (OnBusy) OnBusy(false);
    RethrowWithLine("Error calc payout :\r\n" + TableText(&table));
  }
  if (OnBusy) OnBusy(false);
}

void TModelController::ChooseGameAndPayout() {
  const TBatch batch(*this);
  const int gameId = engine_->GameId;
  const int coins = coins_;
  const int index = tableIndex_;
  const TPayout* table = CurrentTable();
  const std::map<int32_t, std::string> lastTables = lastTables_;
  const std::array<int32_t, kHandSize> cards = cards_;
  const bool analysed = analysed_;
  const int32_t drawMask = drawMask_;
  data_->BeginUndo();
  TDialogResult result = TDialogResult::Cancel;
  try {
    result = ui_.ChooseGameAndPayout(*this);
  } catch (...) {
    data_->KeepChanges();
    throw;
  }
  if (result != TDialogResult::Cancel && tableIndex_ != -1) {
    data_->KeepChanges();
    AfterGameChange();
    return;
  }
  if (result == TDialogResult::Cancel) {
    // The store as it was, with the table objects of before: nothing may point at a table
    // added in the dialog.
    engine_->SetPayout(nullptr);
    tables_.clear();
    tableIndex_ = -1;
    data_->Undo();
  }
  // Restores the game, then the coins, then the table itself: its position may differ in
  // the list of other coins or after tables were added or deleted in the dialog.
  SelectGame(gameId);
  SetCoins(coins);
  RebuildTables();
  const int position = PositionOf(table);
  SelectTable(position >= 0 ? position : index);
  data_->KeepChanges();
  lastTables_ = lastTables;
  // The hand and its hold as they were, though a game chosen in the dialog could not deal it.
  if (analysed) ShowHand(cards, drawMask);
}

void TModelController::AfterGameChange() {
  const TBatch batch(*this);
  if (!analysed_) return;
  // The hand's jokers become the new deck's: the first is code -2, the second -1.
  int jokers = 0;
  for (int32_t& code : cards_) {
    if (code == -1 || code == -2) code = -2 + jokers++;
  }
  if (jokers <= CurrentGame().JokerCount) {
    Analyse();
  } else {
    ClearHand();
  }
}

bool TModelController::CanShowTableFigures() const {
  const TPayout* table = CurrentTable();
  return table != nullptr && table->Computed();
}

THoldsSnapshot TModelController::HoldsSnapshot() const {
  THoldsSnapshot snapshot;
  snapshot.Cards = cards_;
  snapshot.Holds = FillHoldStats(*engine_);
  snapshot.DrawMask = drawMask_;
  snapshot.BestMask = bestMask_;
  snapshot.Coins = std::max(coins_, 1);
  snapshot.LastCategory = engine_->LastCategory;
  snapshot.CategoryNames = CategoryNames();
  for (int i = 0; i < kHandSize; ++i) snapshot.Wild[i] = IsWildCard(i);
  snapshot.Lines = HoldLineTexts(THoldNamer(CurrentGame()), cards_);
  return snapshot;
}

TTableSnapshot TModelController::TableSnapshot() const {
  TTableSnapshot snapshot;
  if (const TPayout* table = CurrentTable()) snapshot.Table = *table;
  snapshot.Game = &CurrentGame();
  snapshot.CategoryNames = CategoryNames();
  snapshot.Coins = std::max(coins_, 1);
  return snapshot;
}

void TModelController::ShowCharts() {
  if (!CanShowTableFigures()) return;
  ui_.ShowCharts(TableSnapshot(), FigureCaption());
}

void TModelController::ShowAllHands() {
  if (!analysed_) return;
  ui_.ShowAllHands(HoldsSnapshot(), FigureCaption());
}

void TModelController::ShowStatistics() {
  if (!CanShowTableFigures()) return;
  ui_.ShowStatistics(TableSnapshot(), FigureCaption());
}

std::string TModelController::FigureCaption() const {
  return "  " + WindowTitle();
}

std::string TModelController::WindowTitle() const {
  const std::string& name = CurrentGame().Name;
  if (CurrentTable() == nullptr) return name;
  // A table without its overall counts has no return yet, as the table list shows.
  if (!CurrentTable()->Computed()) {
    std::string title = name;  // appended, which the optimiser's overlap warning accepts
    title += "  (-)";
    return title;
  }
  char text[512];
  std::snprintf(text, sizeof text, "%s  (%5.2f%%)", name.c_str(),
                static_cast<double>(TableReturn() * 100));
  return text;
}

std::string TModelController::HandText() const {
  std::string text = "Hand :";
  for (int32_t code : cards_) {
    if (code == -1 || code == -2) {
      text += "  **";
    } else if (code < 0 || code >= kRankCount * kSuitCount) {
      text += "  ??";
    } else {
      text += "  " + CardText(code);
    }
  }
  return text;
}

std::string TModelController::TableText(const TPayout* table) const {
  const TPokerDescription* game = table != nullptr ? FindGame(table->GameId) : nullptr;
  if (game == nullptr) game = &CurrentGame();
  std::string text = "  " + Upper(game->Name) + "\r\n";
  if (table == nullptr) return text;
  const int last = std::min(table->LastCategory, game->LastCategory);
  for (int c = 0; c <= last; ++c) {
    char line[256];
    std::snprintf(line, sizeof line, " %-15s\t %5d\r\n", game->CategoryName(c).c_str(),
                  table->Pays[c]);
    text += line;
  }
  return text;
}

void TModelController::LoadState(const TIniFile& settings) {
  const TBatch batch(*this);
  lastTables_.clear();
  for (const std::string& key : settings.Keys(kLastTables)) {
    int32_t gameId = 0;
    const auto [end, error] = std::from_chars(key.data(), key.data() + key.size(), gameId);
    if (error == std::errc() && end == key.data() + key.size())
      lastTables_[gameId] = settings.ReadString(kLastTables, key);
  }
  SelectGame(settings.ReadInteger("", "Engine", 0));
  // "Mode" is the sort key, negative for the reversed order; an unknown key sorts nothing.
  const int32_t mode = settings.ReadInteger("", "Mode", 0);
  const int64_t key = mode < 0 ? -static_cast<int64_t>(mode) : mode;
  const TSortKey sort = key >= 1 && key <= 8 ? static_cast<TSortKey>(key) : TSortKey::None;
  SetSort(sort, mode < 0);
  // The stored table index counts in the list of the stored coins: coins first.
  SetCoins(settings.ReadInteger("", "Coins", 1));
  SelectTable(settings.ReadInteger("", "Payout", 0));
}

void TModelController::SaveState(TIniFile& settings) const {
  settings.WriteInteger("", "Engine", engine_->GameId);
  settings.WriteInteger("", "Mode", static_cast<int32_t>(sortKey_) * (sortReversed_ ? -1 : 1));
  settings.WriteInteger("", "Payout", tableIndex_);
  settings.WriteInteger("", "Coins", coins_);
  for (const auto& [gameId, identity] : lastTables_)
    settings.WriteString(kLastTables, std::to_string(gameId), identity);
}

}  // namespace tarnwick
