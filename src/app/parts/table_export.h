// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Copy and save of a whole table for a spreadsheet: Ctrl+C and the context menu's "Copy"
// put every row on the clipboard as tab-separated text, "Save as CSV..." writes it as a
// comma-separated file. The rows are the table's unformatted numbers, not its cell texts.

#include <QString>
#include <functional>
#include <string>
#include <vector>

class QTableView;
class QWidget;

namespace tarnwick::app {

using TTableRows = std::function<std::vector<std::vector<std::string>>()>;

// Adds the copy key and the context menu to `view`; `fileName` is offered when saving.
void AddTableExport(QTableView* view, TTableRows rows, const QString& fileName);

// Writes the rows as CSV to `path` (".csv" appended when it has no extension); a failure
// is reported over `parent`. True when the file was written.
bool SaveTableAsCsv(QWidget* parent, const TTableRows& rows, QString path);

}  // namespace tarnwick::app
