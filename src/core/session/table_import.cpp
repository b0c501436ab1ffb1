// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/table_import.h"

#include <algorithm>
#include <cstdint>
#include <map>

#include "engine/wild_engine.h"
#include "session/preferences.h"

namespace tarnwick {

namespace {

// The steps of one whole-game run of a list, told to the progress of the whole list.
class TListProgress : public TProgress {
 public:
  explicit TListProgress(TProgress& whole) : whole_(whole) {}
  int64_t Offset = 0;

 protected:
  void OnStep(int64_t done) override { whole_.Step(Offset + done); }

 private:
  TProgress& whole_;
};

}  // namespace

TImportPlan PlanImport(std::string_view list, const TCatalogue& games, const TData& store) {
  TImportPlan plan;
  for (const TListedTable& entry : ParsePayTableList(list, games, &plan.Report.Refused)) {
    auto table = std::make_unique<TPayout>(entry.Table);
    table->Reduce();
    const TPayout* equal = store.FindSame(*table);
    const bool listedTwice = std::any_of(plan.Missing.begin(), plan.Missing.end(),
                                         [&](const auto& other) { return other->SameAs(*table); });
    if ((equal != nullptr && equal->Computed()) || listedTwice) {
      ++plan.Report.Present;
    } else {
      plan.Missing.push_back(std::move(table));
    }
  }
  return plan;
}

void ComputeImport(const std::vector<std::unique_ptr<TPayout>>& tables, const TCatalogue& games,
                   TProgress& progress, size_t& computed) {
  std::map<int, std::unique_ptr<TPokerEngine>> engines;
  int64_t total = 0;
  for (const auto& table : tables) {
    auto& engine = engines[table->GameId];
    if (!engine) engine = CreateEngineForGame(*FindGame(games, table->GameId));
    total += engine->DealClassCount();
  }
  progress.Begin(total);
  TListProgress run(progress);
  for (const auto& table : tables) {
    TPokerEngine& engine = *engines[table->GameId];
    engine.SetProgress(&run);
    engine.SetPayout(table.get());
    engine.CalcGameAdvantage();
    engine.SetPayout(nullptr);
    ++computed;
    run.Offset += engine.DealClassCount();
  }
  progress.End();
}

std::string ImportReportText(const TImportReport& report, const std::string& resultText) {
  std::string text =
      FormatText(resultText, {std::to_string(report.Added), std::to_string(report.Present),
                              std::to_string(report.Refused.size())});
  for (const TRefusedLine& line : report.Refused) text += "\n" + line.Reason;
  return text;
}

}  // namespace tarnwick
