// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later

// The item models of the windows under Qt's model checker: real hands and tables of the
// shipped data, then new ones put in while the checker watches every signal.

#include <QAbstractItemModelTester>
#include <QTest>

#include "app_test_support.h"
#include "engine/cards.h"
#include "parts/holds_model.h"
#include "parts/results_model.h"
#include "parts/statistics_model.h"
#include "parts/tables_model.h"
#include "pay_editor.h"
#include "stats/statistics.h"

using namespace tarnwick;
using namespace tarnwick::app;

namespace {

// The controller opens no window here: the models are fed by the test.
class TNoWindows : public TUserInterface {
 public:
  TDialogResult ChooseGameAndPayout(TModelController&) override { return TDialogResult::Ok; }
  bool EditPayout(bool, TModelController&, TPayout&) override { return false; }
  void RunWithProgress(const std::function<void(TProgress&)>&) override {}
  bool Confirm(const std::string&) override { return false; }
  void ShowCharts(const TTableSnapshot&, const std::string&) override {}
  void ShowAllHands(const THoldsSnapshot&, const std::string&) override {}
  void ShowStatistics(const TTableSnapshot&, const std::string&) override {}
};

void Deal(TModelController& controller, int game, const std::vector<const char*>& cards) {
  controller.SelectGame(game);
  controller.ClearHand();
  for (const char* card : cards)
    controller.PutCard(std::string_view(card) == "JK" ? -2 : ParseCard(card).value());
  QVERIFY(controller.IsAnalysed());
}

// The first game whose categories differ in number from game 0's (the models change shape).
int OtherShapedGame(TModelController& controller) {
  controller.SelectGame(0);
  const size_t categories = controller.CategoryNames().size();
  for (const auto& game : controller.Games()) {
    controller.SelectGame(game->GameId);
    if (controller.CategoryNames().size() != categories && controller.CanShowTableFigures())
      return game->GameId;
  }
  return -1;
}

}  // namespace

class ModelsTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { test::FailOnWarnings(); }

  // Every model from a dealt hand and a stored table of game 0, then, while the checkers
  // watch, changed in place (view, sort, speed, a pay typed) and refilled with a hand and a
  // table of a game with another number of categories, and back.
  void ModelsStayConsistent() {
    const test::TWorld world;
    TNoWindows ui;
    TModelController controller(ui, world.Data());
    const int other = OtherShapedGame(controller);
    QVERIFY(other > 0);
    Deal(controller, 0, {"AS", "KS", "QS", "JS", "3D"});

    TResultsModel results;
    THoldsModel holds;
    TStatisticsModel statistics;
    TTablesModel tables(controller);
    tables.ApplyTexts();
    TPayout working = *controller.CurrentTable();
    TPaysModel pays(controller.CategoryNames(), working);
    std::vector<std::unique_ptr<QAbstractItemModelTester>> testers;
    for (QAbstractItemModel* model :
         std::initializer_list<QAbstractItemModel*>{&results, &holds, &statistics, &tables, &pays})
      testers.push_back(std::make_unique<QAbstractItemModelTester>(
          model, QAbstractItemModelTester::FailureReportingMode::QtTest));

    QStringList numbers;
    for (int column = 0; column < TStatisticsModel::kColumns; ++column)
      numbers << QString::number(column);
    const auto fill = [&] {
      results.Set(controller.ResultGrid(), QStringLiteral("Return"));
      const THoldsSnapshot hands = controller.HoldsSnapshot();
      QStringList titles = {QStringLiteral("Hands"), QStringLiteral("Return"),
                            QStringLiteral("Cost")};
      for (int c = 0; c <= hands.LastCategory; ++c)
        titles << QString::fromStdString(hands.CategoryNames.at(static_cast<size_t>(c)));
      holds.Set(hands, {}, titles << QStringLiteral("Nothing"), QStringLiteral("best"),
                QStringLiteral("tie"));
      const TTableSnapshot table = controller.TableSnapshot();
      statistics.Set(BuildStatisticsTable(table.CategoryNames, table.Table, 600), numbers, numbers,
                     {QStringLiteral("deals"), QStringLiteral("final hands")});
      tables.Refresh();
    };
    fill();

    holds.SetView(TFigureView::Return);
    holds.SortBy(2);
    holds.SortBy(-2);
    statistics.SetView(TFigureView::Probability);
    statistics.SetSpeed(1200);
    QVERIFY(pays.setData(pays.index(0, 1), QStringLiteral("4000"), Qt::EditRole));
    QCOMPARE(working.Pays[0], 4000);
    QVERIFY(!pays.setData(pays.index(0, 0), QStringLiteral("1"), Qt::EditRole));
    pays.SetWorth(QStringList(pays.rowCount(), QStringLiteral("0.1")), QStringLiteral("worth"));
    controller.ToggleDraw(0);
    results.Set(controller.ResultGrid(), QStringLiteral("Return"));

    Deal(controller, other, {"2S", "2H", "7D", "9C", "KH"});
    fill();
    controller.SetCoins(5);
    tables.Refresh();
    Deal(controller, 0, {"TH", "JH", "QH", "KH", "2C"});
    fill();
  }
};

QTEST_MAIN(ModelsTest)
#include "models_test.moc"
