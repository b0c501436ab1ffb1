// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Storing the tables of a pay table list (the format of data/paytables.csv): which of them
// the store lacks, their whole-game runs, and what the import did, as the player reads it.

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/games.h"
#include "engine/payout.h"
#include "progress.h"
#include "store/data_store.h"
#include "store/paytable_list.h"

namespace tarnwick {

// What an import did: tables added (computed), tables the store had computed already, and
// the lines that are not tables, each with its reason.
struct TImportReport {
  int Added = 0;
  int Present = 0;
  std::vector<TRefusedLine> Refused;
};

// The list's tables the store lacks or holds without counts, reduced to their smallest coin
// basis and each once, in list order; the report counts the others as present and the
// refused lines.
struct TImportPlan {
  std::vector<std::unique_ptr<TPayout>> Missing;
  TImportReport Report;
};
TImportPlan PlanImport(std::string_view list, const TCatalogue& games, const TData& store);

// Computes the tables' whole-game counts one after another, each with an engine of its own
// game, told to `progress` as one run. `computed` counts the tables done, so that those
// computed before a failure or an abort can be kept.
void ComputeImport(const std::vector<std::unique_ptr<TPayout>>& tables, const TCatalogue& games,
                   TProgress& progress, size_t& computed);

// The import's message: `resultText` (the language file's, "%s" for added, present and
// refused) and then each refused line's reason on a line of its own.
std::string ImportReportText(const TImportReport& report, const std::string& resultText);

}  // namespace tarnwick
