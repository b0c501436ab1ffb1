// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/model_controller.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <optional>

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

}  // namespace

TModelController::TModelController(TUserInterface& ui, std::filesystem::path dataFolder,
                                   const TPreferences* texts)
    : Data(std::make_unique<TData>()),
      Games(BuildCatalogue()),
      ui_(ui),
      dataFolder_(std::move(dataFolder)),
      texts_(texts) {
  try {
    Data->Load(dataFolder_, &Games);
  } catch (const DataFileError& e) {
    LoadWarning = e.what();
    // The program goes on with an empty store that is never saved over the file.
    if (Data->ReadOnly()) LoadWarning += ". Pay tables added now are not saved.";
  }
  SelectGame(0);
  ClearHand();
}

TModelController::~TModelController() {
  try {
    SaveData();
  } catch (...) {
    // The old file stays whole (saves replace it atomically); SaveData reports failures.
  }
  if (Engine) Engine->SetPayout(nullptr);
}

void TModelController::SaveData() {
  if (!Data->Modified) return;
  // The save merges in what other programs stored meanwhile and may free tables another
  // program deleted: the list of the current game is made anew, on the same table.
  std::optional<TPayout> shown;
  if (const TPayout* current = CurrentTable()) shown = *current;
  Engine->SetPayout(nullptr);
  Tables.clear();
  TableIndex = -1;
  const auto reselect = [&] {
    RebuildTables();
    const TPayout* same = shown ? Data->FindSame(*shown) : nullptr;
    SelectTable(std::max(PositionOf(same), 0));
  };
  try {
    Data->Save(dataFolder_);
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
  return Cards[static_cast<size_t>(position)];
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
  // An empty position holds no card, so it holds no wild card either.
  if (CardCode(position) == kEmptyPosition) return false;
  return Engine->Deck.IsWild(CardRank(position));
}

int TModelController::IndexOfCard(int32_t code) const {
  for (int i = 0; i < kHandSize; ++i) {
    if (Cards[static_cast<size_t>(i)] == code) return i;
  }
  return -1;
}

void TModelController::PutCard(int32_t code) {
  if (Analysed) ClearHand();  // a click after a complete hand starts a new hand
  const int free = IndexOfCard(kEmptyPosition);
  if (free < 0) return;
  Cards[static_cast<size_t>(free)] = code;
  if (IndexOfCard(kEmptyPosition) < 0) Analyse();
}

void TModelController::TakeCard(int32_t code) {
  const int position = IndexOfCard(code);
  if (position < 0) return;
  Cards[static_cast<size_t>(position)] = kEmptyPosition;
  Analysed = false;
}

void TModelController::ClearHand() {
  Cards.fill(kEmptyPosition);
  DrawMask = 0;
  Analysed = false;
}

void TModelController::Analyse() {
  try {
    Engine->DealCards(Cards);
    DrawMask = Engine->GetTheBest();
    Analysed = true;
  } catch (...) {
    const std::string context = HandText() + "\r\n" + TableText(Engine->Payout);
    ClearHand();
    RethrowWithLine(context);
  }
}

void TModelController::ToggleDraw(int position) {
  CheckPosition(position);
  if (Analysed) DrawMask ^= 1 << position;
}

bool TModelController::IsReplaced(int position) const {
  CheckPosition(position);
  return Analysed && BitSet(DrawMask, position);
}

int TModelController::LastCategory() const {
  return Engine->LastCategory;
}

std::string TModelController::CategoryName(int category) const {
  return CurrentGame().CategoryName(category);
}

int32_t TModelController::Pay(int category) const {
  CheckRange(category, 0, kMaxCategories - 1, "category");
  return Engine->Payout != nullptr ? Engine->Payout->Pays[category] : 0;
}

long double TModelController::CategoryChance(int category) const {
  return Engine->MaskCategoryChance(category, DrawMask);
}

long double TModelController::HoldReturn() const {
  return Engine->DrawReturn(DrawMask);
}

long double TModelController::TableReturn() const {
  return Engine->Payout != nullptr ? Engine->Payout->Return : -1;
}

long double TModelController::TableCategoryChance(int category) const {
  return Engine->Payout != nullptr ? Engine->Payout->CategoryChance(category) : 0;
}

const TPokerDescription* TModelController::FindGame(int gameId) const {
  return tarnwick::FindGame(Games, gameId);
}

const TPokerDescription& TModelController::CurrentGame() const {
  return *FindGame(Engine->GameId);
}

void TModelController::SelectGame(int gameId) {
  if (Engine && Engine->GameId == gameId) return;
  const TPokerDescription* game = FindGame(gameId);
  // An unknown number (a retired game, a damaged settings value) keeps the current game;
  // at the start it falls back to the first game.
  if (game == nullptr) {
    if (Engine) return;
    game = Games.front().get();
  }
  if (Engine) Engine->SetPayout(nullptr);
  Tables.clear();
  TableIndex = -1;
  Engine = CreateEngineForGame(*game);
  RebuildTables();
  SelectTable(0);
}

TPayout* TModelController::TableAt(int index) const {
  if (index < 0 || index >= TableCount()) return nullptr;
  return Tables[static_cast<size_t>(index)];
}

int TModelController::PositionOf(const TPayout* table) const {
  const auto at = std::find(Tables.begin(), Tables.end(), table);
  return at == Tables.end() ? -1 : static_cast<int>(at - Tables.begin());
}

void TModelController::RebuildTables() {
  const TPayout* remembered = CurrentTable();
  Tables = Data->TablesFor(Engine->GameId, Coins);
  std::stable_sort(Tables.begin(), Tables.end(), [&](const TPayout* a, const TPayout* b) {
    return CompareTables(*a, SortKey, *b) < 0;
  });
  TableIndex = -1;
  SelectTable(std::max(PositionOf(remembered), 0));
}

void TModelController::SelectTable(int index) {
  if (index >= 0 && index < TableCount()) {
    TableIndex = index;
    Engine->SetPayout(Tables[static_cast<size_t>(index)]);
    if (Coins == -1) SetCoins(1);
  } else if (Tables.empty()) {
    TableIndex = -1;
    Engine->SetPayout(nullptr);
  } else {
    SelectTable(0);
  }
}

void TModelController::SetCoins(int coins) {
  if (coins < 1 || coins > 5 || coins == Coins) return;
  Coins = coins;
  RebuildTables();
}

void TModelController::SetSortKey(int key) {
  SortKey = key;
  RebuildTables();
}

std::unique_ptr<TPayout> TModelController::EditTableDialog(bool isNew) {
  auto working = std::make_unique<TPayout>();
  working->CoinBasis = 1;
  const int coins = std::max(Coins, 1);
  if (const TPayout* current = Engine->Payout) {
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
    working->GameId = Engine->GameId;
    working->LastCategory = Engine->LastCategory;
    working->DeckSize = Engine->Deck.Total;
  }
  working->CoinBasis = coins;
  if (!ui_.EditPayout(isNew, *this, *working)) return nullptr;
  return working;
}

void TModelController::AddTable() {
  std::unique_ptr<TPayout> working = EditTableDialog(true);
  if (!working) return;
  const int coins = working->CoinBasis;
  working->Reduce();
  if (TPayout* equal = Data->FindSame(*working)) {
    SetCoins(coins);
    SelectTable(PositionOf(equal));
    return;
  }
  CalculateTable(*working);
  SetCoins(coins);
  TPayout& added = Data->Add(std::move(working));
  Tables.push_back(&added);
  std::stable_sort(Tables.begin(), Tables.end(), [&](const TPayout* a, const TPayout* b) {
    return CompareTables(*a, SortKey, *b) < 0;
  });
  SelectTable(PositionOf(&added));
}

void TModelController::EditTable() {
  TPayout* current = CurrentTable();
  if (current == nullptr) return;
  std::unique_ptr<TPayout> working = EditTableDialog(false);
  if (!working) return;
  const int coins = working->CoinBasis;
  working->Reduce();
  if (const TPayout* equal = Data->FindSame(*working)) {
    working->Assign(*equal);  // its computed counts are reused
  } else {
    CalculateTable(*working);
  }
  current->Assign(*working);
  Data->Modified = true;
  Engine->SetPayout(current);
  SetCoins(coins);
  // The edited table may sort elsewhere now.
  RebuildTables();
}

void TModelController::DeleteTable() {
  const std::string question = texts_ != nullptr ? texts_->Text("SelectGame", "ConfirmMsg") : "";
  TPayout* current = CurrentTable();
  if (current == nullptr || !ui_.Confirm(question)) return;
  // Nothing may point at the table once the store has freed it.
  Engine->SetPayout(nullptr);
  Tables.clear();
  TableIndex = -1;
  Data->Delete(current);
  RebuildTables();
}

void TModelController::CalculateTable(TPayout& table) {
  TPayout* previous = Engine->Payout;
  std::unique_ptr<TProgressDialog> dialog = ui_.CreateProgressDialog(Engine->DealClassCount());
  Engine->SetProgressHandler([&dialog](int32_t done) { dialog->Progress(done); });
  const auto finish = [&] {
    Engine->SetProgressHandler({});
    dialog.reset();
    if (OnBusy) OnBusy(false);
  };
  try {
    Engine->SetPayout(&table);
    if (OnBusy) OnBusy(true);
    dialog->Show();
    Engine->CalcGameAdvantage();
  } catch (...) {
    finish();
    Engine->SetPayout(previous);
    RethrowWithLine("Error calc payout :\r\n" + TableText(&table));
  }
  finish();
}

void TModelController::ChooseGameAndPayout() {
  const int gameId = Engine->GameId;
  const int coins = Coins;
  const int index = TableIndex;
  const TPayout* table = CurrentTable();
  if (ui_.ChooseGameAndPayout(*this) != TDialogResult::Cancel && TableIndex != -1) {
    AfterGameChange();
    return;
  }
  // Restores the game, then the coins, then the table itself: its position may differ in
  // the list of other coins or after tables were added or deleted in the dialog.
  SelectGame(gameId);
  SetCoins(coins);
  const int position = PositionOf(table);
  SelectTable(position >= 0 ? position : index);
  AfterGameChange();
}

void TModelController::AfterGameChange() {
  if (!Analysed) return;
  int jokers = 0;
  for (int32_t& code : Cards) {
    if (code == -1 || code == -2) code = -1 - jokers++;
  }
  if (jokers <= CurrentGame().JokerCount) {
    Analyse();
  } else {
    ClearHand();
  }
}

void TModelController::ShowCharts() {
  ui_.ShowCharts(*this, "  " + WindowTitle());
}

void TModelController::ShowAllHands() {
  ui_.ShowAllHands(*Engine, DrawMask, "  " + WindowTitle());
}

void TModelController::ShowStatistics() {
  ui_.ShowStatistics(*Engine, "  " + WindowTitle());
}

std::string TModelController::WindowTitle() const {
  const std::string& name = CurrentGame().Name;
  if (CurrentTable() == nullptr) return name;
  char text[512];
  std::snprintf(text, sizeof text, "%s  (%5.2f%%)", name.c_str(),
                static_cast<double>(TableReturn() * 100));
  return text;
}

std::string TModelController::HandText() const {
  std::string text = "Hand :";
  for (int32_t code : Cards) {
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
  SelectGame(settings.ReadInteger("", "Engine", 0));
  SetSortKey(settings.ReadInteger("", "Mode", 0));
  // The stored table index counts in the list of the stored coins: coins first.
  SetCoins(settings.ReadInteger("", "Coins", 1));
  SelectTable(settings.ReadInteger("", "Payout", 0));
}

void TModelController::SaveState(TIniFile& settings) const {
  settings.WriteInteger("", "Engine", Engine->GameId);
  settings.WriteInteger("", "Mode", SortKey);
  settings.WriteInteger("", "Payout", TableIndex);
  settings.WriteInteger("", "Coins", Coins);
}

}  // namespace tarnwick
