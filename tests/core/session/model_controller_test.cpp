// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/model_controller.h"

#include <gtest/gtest.h>

#include <fstream>

#include "errors.h"
#include "session/preferences.h"
#include "test_files.h"
#include "test_games.h"

namespace tarnwick {
namespace {

using testing::ErrorOf;
using testing::kNineSix;

int Code(const char* text) {
  return ParseCard(text).value();
}

// The windows, played by a script.
class TScriptedUi : public TUserInterface {
 public:
  TDialogResult ChooseGameAndPayout(TModelController& controller) override {
    return OnChoose ? OnChoose(controller) : TDialogResult::Ok;
  }
  bool EditPayout(bool isNew, TModelController&, TPayout& table) override {
    EditorWasNew = isNew;
    EditorBasis = table.CoinBasis;
    EditorPaysShown.assign(table.Pays.begin(), table.Pays.begin() + table.LastCategory + 1);
    if (!EditorOk) return false;
    std::copy(EditorPays.begin(), EditorPays.end(), table.Pays.begin());
    return true;
  }
  void RunWithProgress(const std::function<void(TProgress&)>& work) override {
    ++Dialogs;
    work(Progress);
  }
  bool Confirm(const std::string& question) override {
    Questions.push_back(question);
    return Answer;
  }
  void ShowCharts(const TTableSnapshot&, const std::string& caption) override {
    Captions.push_back(caption);
  }
  void ShowAllHands(const THoldsSnapshot& holds, const std::string& caption) override {
    Captions.push_back(caption);
    Holds.push_back(holds);
  }
  void ShowStatistics(const TTableSnapshot&, const std::string& caption) override {
    Captions.push_back(caption);
  }

  std::function<TDialogResult(TModelController&)> OnChoose;
  bool EditorOk = true;
  std::vector<int32_t> EditorPays;
  std::vector<int32_t> EditorPaysShown;
  bool EditorWasNew = false;
  int EditorBasis = 0;
  int AbortAfter = -1, Reports = 0, Dialogs = 0;
  std::function<void()> OnStep;  // called at every step of a run
  testing::TStepProgress Progress{[this](int64_t) {
    if (OnStep) OnStep();
    if (++Reports == AbortAfter) throw AbortError();
  }};
  bool Answer = true;
  std::vector<std::string> Questions, Captions;
  std::vector<THoldsSnapshot> Holds;
};

// A stored table; `computed` gives it counts of its own (every deal stands pat on nothing).
TPayout Table(int game, int basis, const std::vector<int32_t>& pays, bool computed = true) {
  TPayout table = testing::TableFor(game, pays, basis);
  if (computed)
    table.Deals[0] = table.DeckSize == 52 ? 2598960 : table.DeckSize == 53 ? 2869685 : 3162510;
  return table;
}

const std::vector<int32_t> kEightFive = {800, 50, 25, 8, 5, 4, 3, 2, 1};
const std::vector<int32_t> kFiveCoins = {4000, 250, 125, 45, 30, 20, 15, 10, 4};  // 9/6, jacks 4

class Controller : public ::testing::Test {
 protected:
  void Store(const std::vector<TPayout>& tables) {
    TData data;
    for (const TPayout& table : tables) data.Add(std::make_unique<TPayout>(table));
    data.Save(folder_);
  }
  TModelController& Open(const std::vector<TPayout>& tables) {
    Store(tables);
    controller_ = std::make_unique<TModelController>(ui_, folder_);
    return *controller_;
  }
  const std::filesystem::path folder_ = test::TestFolder("_controller");
  TScriptedUi ui_;
  std::unique_ptr<TModelController> controller_;
};

TEST_F(Controller, CardsCollectAnalyseAndStartAgain) {
  TModelController& controller = Open({Table(0, 1, kNineSix)});
  for (const char* card : {"AS", "KS", "QS", "JS", "3D"}) {
    EXPECT_FALSE(static_cast<int>(controller.IsAnalysed()));
    controller.PutCard(Code(card));
  }
  ASSERT_TRUE(static_cast<int>(controller.IsAnalysed()));
  EXPECT_EQ(controller.DrawMask(), 16);  // draw one to the royal flush
  EXPECT_TRUE(controller.IsReplaced(4));
  EXPECT_FALSE(controller.IsReplaced(0));
  EXPECT_NEAR(static_cast<double>(controller.HoldReturn()), 872.0 / 47, 1e-12);
  EXPECT_NEAR(static_cast<double>(controller.CategoryChance(0)), 1.0 / 47, 1e-15);
  controller.ToggleDraw(0);
  EXPECT_EQ(controller.DrawMask(), 17);
  EXPECT_EQ(controller.HandText(), "Hand :  AS  KS  QS  JS  3D");

  controller.PutCard(Code("2H"));
  EXPECT_FALSE(static_cast<int>(controller.IsAnalysed()));
  EXPECT_EQ(controller.CardCode(0), Code("2H"));
  EXPECT_EQ(controller.IndexOfCard(kEmptyPosition), 1);
  EXPECT_EQ(controller.DrawMask(), 0);
  EXPECT_FALSE(controller.IsWildCard(1));

  for (const char* card : {"3H", "4H", "5H", "6H"}) controller.PutCard(Code(card));
  ASSERT_TRUE(static_cast<int>(controller.IsAnalysed()));
  controller.TakeCard(Code("4H"));
  EXPECT_FALSE(static_cast<int>(controller.IsAnalysed()));
  EXPECT_EQ(controller.CardCode(2), kEmptyPosition);
  EXPECT_EQ(controller.HandText(), "Hand :  2H  3H  ??  5H  6H");
  controller.TakeCard(Code("AD"));  // not in the hand: nothing happens
  controller.PutCard(Code("4H"));
  EXPECT_TRUE(static_cast<int>(controller.IsAnalysed()));
  EXPECT_EQ(controller.DrawMask(), 0);  // a straight flush stands pat

  // A whole hand shown at once (a practice hand) with the hold that was played.
  controller.ShowHand({Code("AS"), Code("KS"), Code("QS"), Code("JS"), Code("3D")}, 1);
  ASSERT_TRUE(static_cast<int>(controller.IsAnalysed()));
  EXPECT_EQ(controller.BestMask(), 16);
  EXPECT_EQ(controller.DrawMask(), 1);
  EXPECT_EQ(controller.CardCode(4), Code("3D"));

  // A card twice: the error reports the hand and the table, and the hand is empty again.
  for (const char* card : {"AS", "KS", "QS", "JS"}) controller.PutCard(Code(card));
  const std::string error = ErrorOf<TarnwickError>([&] { controller.PutCard(Code("AS")); });
  EXPECT_TRUE(testing::Contains(error, "\r\nHand :  AS  KS  QS  JS  AS\r\n  JACKS OR BETTER\r\n"));
  EXPECT_FALSE(static_cast<int>(controller.IsAnalysed()));
  EXPECT_EQ(controller.IndexOfCard(kEmptyPosition), 0);
}

TEST_F(Controller, AGameWithoutTablesAndTheCoinListing) {
  TModelController& controller = Open({Table(0, 1, kNineSix), Table(0, 5, kFiveCoins),
                                       Table(0, 3, {2400, 150, 75, 27, 18, 12, 9, 6, 2})});
  EXPECT_EQ(controller.Coins(), 1);
  EXPECT_EQ(controller.TableCount(), 1);
  EXPECT_EQ(controller.Pay(0), 800);
  controller.SetCoins(5);
  EXPECT_EQ(controller.TableCount(), 2);
  controller.SetCoins(3);
  EXPECT_EQ(controller.TableCount(), 2);
  for (int i = 0; i < 2; ++i) EXPECT_NE(controller.TableAt(i)->CoinBasis, 5);
  EXPECT_EQ(controller.TableAt(2), nullptr);
  controller.SetCoins(6);  // ignored
  EXPECT_EQ(controller.Coins(), 3);

  controller.SelectGame(4);
  EXPECT_EQ(controller.TableIndex(), -1);
  EXPECT_EQ(controller.Engine().Payout, nullptr);
  for (int c = 0; c <= controller.LastCategory(); ++c) EXPECT_EQ(controller.Pay(c), 0);
  EXPECT_EQ(controller.TableReturn(), -1);
  EXPECT_EQ(controller.WindowTitle(), "Deuces Wild");
  controller.PutCard(Code("2S"));
  EXPECT_TRUE(controller.IsWildCard(0));
  controller.SelectGame(12);
  EXPECT_EQ(controller.Engine().GameId, 4);
}

TEST_F(Controller, SortingKeepsTheCurrentTableAndSettingsRestoreIt) {
  Store({Table(0, 1, kNineSix), Table(0, 1, kEightFive), Table(0, 5, kFiveCoins)});
  TIniFile settings;
  {
    TModelController controller(ui_, folder_);
    controller.SetCoins(5);
    controller.SelectTable(2);
    const TPayout* chosen = controller.CurrentTable();
    controller.SetSort(TSortKey::PaysPerCoin, true);  // descending
    EXPECT_EQ(controller.CurrentTable(), chosen);
    EXPECT_EQ(controller.TableAt(0)->Pays[3], 9);
    controller.SaveState(settings);
    EXPECT_EQ(settings.ReadInteger("", "Mode", 0), -1);
    controller.SetSort(TSortKey::PaysPerCoin, false);
    EXPECT_EQ(controller.TableAt(0)->Pays[3], 8);
    EXPECT_EQ(controller.CurrentTable(), chosen);
    controller.SaveState(settings);
  }
  TModelController restored(ui_, folder_);
  restored.LoadState(settings);
  EXPECT_EQ(restored.Coins(), 5);
  EXPECT_EQ(restored.SortKey(), TSortKey::PaysPerCoin);
  EXPECT_FALSE(restored.SortReversed());
  ASSERT_NE(restored.CurrentTable(), nullptr);
  EXPECT_EQ(restored.CurrentTable()->Pays[8], 4);  // the five-coin table again
  EXPECT_EQ(restored.CurrentTable()->CoinBasis, 5);

  TIniFile junk;
  junk.Parse("Engine=abc\nCoins=99\nPayout=-7\nMode=\n");
  restored.LoadState(junk);
  EXPECT_EQ(restored.Engine().GameId, 0);
  EXPECT_NE(restored.CurrentTable(), nullptr);
}

// A game comes with the table last used with it (after a restart too), else its best.
TEST_F(Controller, AGameComesWithItsLastTableElseItsBest) {
  // The return grows with the pay of category 3 (full house) or 5 (four deuces).
  const auto counted = [](TPayout table, int category) {
    table.Counts[0][category] = 100000;
    return table;
  };
  Store({counted(Table(0, 1, {800, 50, 25, 7, 5, 4, 3, 2, 1}), 3),
         counted(Table(0, 1, kNineSix), 3), counted(Table(0, 1, kEightFive), 3),
         counted(Table(4, 1, {800, 200, 25, 15, 9, 4, 3, 2, 2, 1}), 5),
         counted(Table(4, 1, testing::kFullPayDeuces), 5)});
  TIniFile settings;
  {
    TModelController controller(ui_, folder_);
    controller.SetSort(TSortKey::Return, false);  // the worst first
    controller.SelectGame(4);
    EXPECT_EQ(controller.Pay(5), 5);
    controller.SelectGame(0);
    EXPECT_EQ(controller.Pay(3), 9);
    controller.SelectTable(1);
    ASSERT_EQ(controller.Pay(3), 8);
    controller.SelectGame(4);
    controller.SaveState(settings);
  }
  TModelController restarted(ui_, folder_);
  restarted.LoadState(settings);
  restarted.SelectGame(0);
  EXPECT_EQ(restarted.Pay(3), 8);
}

TEST_F(Controller, AddingAnEqualTableSelectsTheStoredOne) {
  TModelController& controller = Open({Table(0, 1, kEightFive), Table(0, 1, kNineSix)});
  controller.SelectTable(0);
  controller.SetCoins(5);
  // The editor works in the coins now played: 9/6 given for five coins.
  ui_.EditorPays = {4000, 250, 125, 45, 30, 20, 15, 10, 5};
  controller.AddTable();
  EXPECT_EQ(ui_.EditorBasis, 5);
  EXPECT_EQ(ui_.EditorPaysShown[0], controller.TableAt(0)->Pays[0] * 5);
  EXPECT_TRUE(ui_.EditorWasNew);
  EXPECT_EQ(ui_.Dialogs, 0);  // nothing computed
  EXPECT_EQ(controller.StoredTableCount(), 2);
  EXPECT_FALSE(controller.StoreModified());
  EXPECT_EQ(controller.CurrentTable()->Pays[3], 9);
  EXPECT_EQ(controller.Coins(), 5);

  ui_.EditorOk = false;
  controller.AddTable();
  controller.EditTable();
  EXPECT_EQ(controller.StoredTableCount(), 2);
  EXPECT_FALSE(controller.StoreModified());
}

TEST_F(Controller, AnAbortedCalculationStoresNothing) {
  TModelController& controller = Open({Table(0, 1, kNineSix)});
  std::vector<bool> busy;
  controller.OnBusy = [&](bool value) { busy.push_back(value); };
  const TPayout* before = controller.CurrentTable();
  ui_.EditorPays = {800, 50, 25, 7, 5, 4, 3, 2, 1};
  ui_.AbortAfter = 3;
  // The run has an engine of its own: the controller's keeps the shown table meanwhile.
  int untouched = 0;
  ui_.OnStep = [&] {
    untouched += controller.Engine().Payout == before && controller.Engine().Progress == nullptr;
  };
  // The engine's steps name themselves first; the controller adds the table.
  const std::string error = ErrorOf<AbortError>([&] { controller.AddTable(); });
  EXPECT_TRUE(error.starts_with("Error calculate natural case (CalcGameAdvantage)")) << error;
  EXPECT_TRUE(
      error.ends_with("\r\nOperation aborted\r\nError calc payout :\r\n  JACKS OR BETTER\r\n"
                      " Royal Flush    \t   800\r\n Straight Flush \t    50\r\n"
                      " Four of Kind   \t    25\r\n Full House     \t     7\r\n"
                      " Flush          \t     5\r\n Straight       \t     4\r\n"
                      " Three of Kind  \t     3\r\n Two Pairs      \t     2\r\n"
                      " Jacks or Better\t     1\r\n"))
      << error;
  EXPECT_EQ(ui_.Progress.Total, 134459);
  EXPECT_EQ(ui_.Progress.Begins, 1);
  EXPECT_EQ(ui_.Reports, 3);
  EXPECT_EQ(untouched, 3);
  EXPECT_EQ(busy, (std::vector<bool>{true, false}));
  EXPECT_EQ(controller.StoredTableCount(), 1);
  EXPECT_FALSE(controller.StoreModified());
  EXPECT_EQ(controller.CurrentTable(), before);
  EXPECT_EQ(controller.Engine().Payout, before);
  EXPECT_EQ(controller.Pay(3), 9);
  EXPECT_EQ(controller.Engine().Progress, nullptr);
}

// A table added equal to a stored one without counts is computed into it; an edit to the
// pays of another stored table takes that one's counts; a delete asks first.
TEST_F(Controller, AddEditAndDeleteATable) {
  Store({Table(0, 1, kEightFive), Table(0, 1, kNineSix, false)});
  {
    TModelController controller(ui_, folder_);
    controller.SelectTable(1);
    EXPECT_FALSE(controller.CanShowTableFigures());
    EXPECT_EQ(controller.WindowTitle(), "Jacks or better  (-)");  // no return to show
    ui_.EditorPays = kNineSix;
    controller.AddTable();
    EXPECT_EQ(ui_.Dialogs, 1);
    EXPECT_EQ(ui_.Reports, 1344);
    ASSERT_EQ(controller.StoredTableCount(), 2);
    EXPECT_TRUE(controller.StoreModified());
    EXPECT_NEAR(static_cast<double>(controller.TableReturn()), 0.995439043695, 1e-12);
    EXPECT_EQ(controller.WindowTitle(), "Jacks or better  (99.54%)");
    controller.ShowStatistics();
    EXPECT_EQ(ui_.Captions.back(), "  Jacks or better  (99.54%)");

    // Editing to the pays of the other stored table reuses its counts: no calculation.
    const TPayout* edited = controller.CurrentTable();
    ui_.EditorPays = kEightFive;
    controller.EditTable();
    EXPECT_FALSE(ui_.EditorWasNew);
    EXPECT_EQ(ui_.Dialogs, 1);
    EXPECT_EQ(edited->Pays[3], 8);
    EXPECT_EQ(edited->Deals[0], 2598960);
    EXPECT_EQ(edited->Index, 1);

    ui_.Answer = false;
    controller.DeleteTable();
    EXPECT_EQ(controller.StoredTableCount(), 2);
    ui_.Answer = true;
    controller.DeleteTable();
    EXPECT_EQ(controller.StoredTableCount(), 1);
    EXPECT_EQ(controller.TableCount(), 1);
    EXPECT_EQ(controller.TableIndex(), 0);
    EXPECT_EQ(ui_.Questions, (std::vector<std::string>{"", ""}));
    controller.SaveData();
  }
  TData reread;
  reread.Load(folder_);
  ASSERT_EQ(reread.Payouts.size(), 1u);
  EXPECT_EQ(reread.Payouts[0]->Pays[3], 8);
}

TEST_F(Controller, CancelRestoresGameTableAndCoins) {
  TModelController& controller =
      Open({Table(0, 1, kNineSix), Table(0, 1, kEightFive), Table(0, 5, kFiveCoins),
            Table(4, 1, testing::kFullPayDeuces)});
  controller.SelectTable(1);
  const TPayout* chosen = controller.CurrentTable();
  for (const char* card : {"AS", "AD", "7C", "8H", "2D"}) controller.PutCard(Code(card));
  // The chosen table edited into the other one's pays, that one deleted: Cancel restores both.
  ui_.EditorPays = kNineSix;
  ui_.OnChoose = [](TModelController& inside) {
    inside.EditTable();
    inside.SelectTable(inside.TableAt(0) == inside.CurrentTable() ? 1 : 0);
    inside.DeleteTable();
    inside.SetCoins(5);
    inside.SelectTable(2);
    inside.SelectGame(4);
    return TDialogResult::Cancel;
  };
  controller.ChooseGameAndPayout();
  EXPECT_EQ(controller.Engine().GameId, 0);
  EXPECT_EQ(controller.Coins(), 1);
  EXPECT_EQ(controller.CurrentTable(), chosen);
  EXPECT_EQ(controller.Engine().Payout, chosen);
  EXPECT_EQ(chosen->Pays[3], 8);
  EXPECT_EQ(controller.StoredTableCount(), 4);
  EXPECT_EQ(controller.TableAt(0)->Pays[3], 9);
  EXPECT_FALSE(controller.StoreModified());
  EXPECT_TRUE(static_cast<int>(controller.IsAnalysed()));

  ui_.OnChoose = [](TModelController& inside) {
    inside.DeleteTable();
    inside.SelectGame(4);
    return TDialogResult::Ok;
  };
  controller.ChooseGameAndPayout();
  EXPECT_EQ(controller.StoredTableCount(), 3);
  EXPECT_EQ(controller.Engine().GameId, 4);
  EXPECT_TRUE(static_cast<int>(controller.IsAnalysed()));
  EXPECT_TRUE(controller.IsWildCard(4));
  EXPECT_EQ(controller.DrawMask(), 0b01100);  // keep the deuce and the aces
}

TEST_F(Controller, JokersAfterAChangeOfGame) {
  TModelController& controller = Open({Table(0, 1, kNineSix), Table(3, 1, testing::kJokerKings),
                                       Table(8, 1, {800, 100, 50, 25, 9, 5, 4, 3, 2, 1})});
  const auto choose = [&](int game) {
    ui_.OnChoose = [game](TModelController& inside) {
      inside.SelectGame(game);
      return TDialogResult::Ok;
    };
    controller.ChooseGameAndPayout();
  };
  choose(8);
  for (int code : {-1, -2, Code("7H"), Code("7D"), Code("7C")}) controller.PutCard(code);
  ASSERT_TRUE(static_cast<int>(controller.IsAnalysed()));
  EXPECT_EQ(controller.HandText(), "Hand :  **  **  7H  7D  7C");
  choose(3);  // one joker in the deck: the hand cannot be dealt
  EXPECT_FALSE(static_cast<int>(controller.IsAnalysed()));
  EXPECT_EQ(controller.CardCode(0), kEmptyPosition);

  // One joker, second in the hand's jokers, becomes the first joker of the new deck (-2).
  choose(8);
  for (int code : {Code("7H"), -1, Code("7D"), Code("7C"), Code("KS")}) controller.PutCard(code);
  choose(3);
  EXPECT_TRUE(static_cast<int>(controller.IsAnalysed()));
  EXPECT_EQ(controller.CardCode(1), -2);
  choose(0);  // no jokers at all
  EXPECT_FALSE(static_cast<int>(controller.IsAnalysed()));

  // Inside the dialog the hand already follows each game chosen there.
  for (int code : {Code("7H"), Code("7D"), Code("7C"), Code("KS"), Code("2S")})
    controller.PutCard(code);
  std::array<long double, 2> inside{};
  ui_.OnChoose = [&](TModelController& dialog) {
    dialog.SelectGame(3);
    inside = {dialog.CategoryChance(0), dialog.HoldReturn()};
    return TDialogResult::Ok;
  };
  controller.ChooseGameAndPayout();
  EXPECT_EQ(inside,
            (std::array<long double, 2>{controller.CategoryChance(0), controller.HoldReturn()}));
  // Cancel brings back the hand and its hold, though the game chosen could not deal it.
  for (int code : {-2, Code("7H"), Code("7D"), Code("7C"), Code("KS")}) controller.PutCard(code);
  controller.ToggleDraw(4);
  const int32_t mask = controller.DrawMask();
  const long double chance = controller.CategoryChance(0);
  ui_.OnChoose = [](TModelController& dialog) {
    dialog.SelectGame(0);
    EXPECT_FALSE(dialog.IsAnalysed());
    return TDialogResult::Cancel;
  };
  controller.ChooseGameAndPayout();
  EXPECT_EQ(controller.CardCode(0), -2);
  EXPECT_EQ(controller.DrawMask(), mask);
  EXPECT_EQ(controller.CategoryChance(0), chance);
}

// A save merges another program's changes and stays on the table shown.
TEST_F(Controller, ASaveMergesAndKeepsTheShownTable) {
  TModelController& controller = Open({Table(0, 1, kNineSix), Table(0, 1, kEightFive),
                                       Table(0, 2, {1600, 100, 50, 18, 12, 8, 6, 4, 1})});
  controller.SetCoins(2);
  controller.SelectTable(2);
  controller.DeleteTable();  // the two-coin table
  controller.SelectTable(1);
  ASSERT_EQ(controller.CurrentTable()->Pays[3], 8);
  TData other;
  other.Load(folder_);
  other.Delete(other.Payouts[0].get());
  other.Add(std::make_unique<TPayout>(Table(0, 1, {800, 50, 25, 7, 5, 4, 3, 2, 1})));
  other.Save(folder_);
  TChanges told = 0;
  controller.OnChange = [&](TChanges changes) { told |= changes; };
  controller.SaveData();
  EXPECT_TRUE(told & kTableListChanged);
  ASSERT_EQ(controller.TableCount(), 2);
  EXPECT_EQ(controller.CurrentTable()->Pays[3], 8);
  EXPECT_EQ(controller.Engine().Payout, controller.CurrentTable());
  EXPECT_EQ(controller.TableAt(1)->Pays[3], 7);
  EXPECT_EQ(controller.StoredTableCount(), 2);
}

TEST_F(Controller, AnUnreadableStoreIsNeverSaved) {
  std::filesystem::create_directory(folder_ / "Tarnwick.dat");
  {
    TModelController controller(ui_, folder_);
    EXPECT_TRUE(testing::Contains(controller.LoadWarning(), "not saved"));
    EXPECT_TRUE(controller.StoreReadOnly());
    ui_.EditorPays = kNineSix;
    controller.AddTable();
    EXPECT_EQ(controller.TableCount(), 1);
    EXPECT_THROW(controller.SaveData(), DataFileError);
  }
  EXPECT_TRUE(std::filesystem::is_directory(folder_ / "Tarnwick.dat"));

  std::filesystem::create_directory(folder_ / "damaged");
  std::ofstream(folder_ / "damaged" / "Tarnwick.dat") << "not a data file";
  TModelController damaged(ui_, folder_ / "damaged");
  EXPECT_FALSE(damaged.LoadWarning().empty());
  EXPECT_EQ(damaged.TableIndex(), -1);
  EXPECT_EQ(damaged.Engine().GameId, 0);
}

// Every operation tells once what it changed; the windows get a copy of what they show.
TEST_F(Controller, ChangesAreToldAndWindowsGetSnapshots) {
  TModelController& controller =
      Open({Table(0, 1, kNineSix), Table(8, 1, {800, 100, 50, 25, 9, 5, 4, 3, 2, 1}, false)});
  std::vector<TChanges> told;
  controller.OnChange = [&](TChanges changes) { told.push_back(changes); };
  controller.PutCard(Code("AS"));
  EXPECT_EQ(told, std::vector<TChanges>{kHandChanged});
  for (const char* card : {"KS", "QS", "JS"}) controller.PutCard(Code(card));
  told.clear();
  controller.PutCard(Code("3D"));
  EXPECT_EQ(told, std::vector<TChanges>{kHandChanged | kAnalysisChanged});
  controller.ToggleDraw(0);
  EXPECT_EQ(told.back(), kAnalysisChanged);
  controller.SetCoins(1);  // no change: nothing told
  EXPECT_EQ(told.size(), 2u);
  controller.SelectGame(8);
  EXPECT_EQ(told.size(), 3u);
  EXPECT_EQ(told.back() & (kGameChanged | kTableListChanged | kTableChanged),
            kGameChanged | kTableListChanged | kTableChanged);

  controller.ShowStatistics();
  controller.ShowCharts();
  EXPECT_TRUE(ui_.Captions.empty());
  EXPECT_FALSE(controller.CanShowTableFigures());

  // The all-holds window sees the hand as dealt: which joker is which.
  for (int code : {-2, Code("7H"), -1, Code("7D"), Code("KS")}) controller.PutCard(code);
  ASSERT_TRUE(static_cast<int>(controller.IsAnalysed()));
  controller.ShowAllHands();
  ASSERT_EQ(ui_.Holds.size(), 1u);
  const THoldsSnapshot& holds = ui_.Holds[0];
  EXPECT_EQ(holds.Cards[0], -2);
  EXPECT_EQ(holds.Cards[2], -1);
  EXPECT_EQ(holds.Wild, (std::array<bool, kHandSize>{true, false, true, false, false}));
  EXPECT_EQ(holds.BestMask, controller.DrawMask());
  EXPECT_EQ(holds.CategoryNames.size(), 10u);
  int32_t standing = 0;  // standing pat ends in exactly one final hand
  for (int32_t count : holds.Holds[0].Count) standing += count;
  EXPECT_EQ(standing, 1);
}

TEST_F(Controller, DeleteAsksTheLanguageQuestion) {
  Store({Table(0, 1, kNineSix), Table(0, 5, kFiveCoins)});
  const std::filesystem::path source = TARNWICK_SOURCE_DIR;
  TPreferences texts({source / "data", folder_ / "settings.ini", "ENG", {}, {}});
  TModelController controller(ui_, folder_, &texts);
  ui_.Answer = false;
  controller.DeleteTable();
  controller.SetCoins(5);
  controller.SelectTable(1);
  controller.DeleteTable();
  EXPECT_EQ(
      ui_.Questions,
      (std::vector<std::string>{
          "Delete the pay table of JACKS OR BETTER: 800 50 25 9 6 4 3 2 1 (1 coin)?",
          "Delete the pay table of JACKS OR BETTER: 4000 250 125 45 30 20 15 10 4 (5 coins)?"}));
  EXPECT_EQ(controller.TableCount(), 2);
}

// Taking another table, the engine forgets its hand: the hand shown is weighed with the new
// pays at once (the windows beside the Game and Payout dialog follow it). Draw one to the
// royal flush: 800, 8 flushes, 3 straights and 12 high pairs of the 47 draws.
TEST_F(Controller, AnotherTableWeighsTheHandShownAgain) {
  TModelController& controller = Open({Table(0, 1, kNineSix), Table(0, 1, kEightFive),
                                       Table(0, 5, {4000, 250, 125, 45, 30, 20, 15, 10, 5})});
  const auto select = [&](int fullHouse) {
    for (int i = 0; i < controller.TableCount(); ++i)
      if (controller.TableAt(i)->Pays[3] == fullHouse) controller.SelectTable(i);
  };
  const auto expect = [&](int mask, double bets) {
    EXPECT_NEAR(static_cast<double>(controller.HoldsSnapshot().Holds[mask].ExpectedReturn), bets,
                1e-12);
    controller.ShowBestHold();
    EXPECT_NEAR(static_cast<double>(controller.HoldReturn()),
                bets * controller.CurrentTable()->CoinBasis, 1e-11);  // in coins
  };
  select(9);
  for (const char* card : {"AS", "KS", "QS", "JS", "3D"}) controller.PutCard(Code(card));
  expect(16, 872.0 / 47);
  controller.ToggleDraw(0);
  select(8);
  EXPECT_EQ(controller.DrawMask(), 16);  // the new table's best hold
  expect(16, (800 + 5 * 8 + 4 * 3 + 12) / 47.0);
  controller.ToggleDraw(0);
  controller.SetSort(TSortKey::PaysPerCoin, true);  // the same table again: the hold stays
  EXPECT_EQ(controller.DrawMask(), 17);
  expect(16, 864.0 / 47);
  controller.SetCoins(5);  // the table stays
  expect(16, 864.0 / 47);
  select(45);  // 4000 / 5 = 800 a coin, 30 / 5 = 6 a flush
  expect(16, 872.0 / 47);
}

}  // namespace
}  // namespace tarnwick
