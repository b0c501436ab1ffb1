// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Every piece of work the windows run on a worker thread (a whole-game run, a chart, the
// editor's live return: the jobs of TJobRunner) passes through HoldWorker before it starts.
// The program installs no hold, so the work starts at once. A test installs one that keeps a run
// waiting at its start until the test releases it or the run is cancelled: what a window does while
// work runs is then checked without any assumption about how fast the machine is.

#include <functional>

#include "progress.h"

namespace tarnwick::app {

// Called on the worker thread with the run's progress; the work starts when it returns.
using TWorkerHold = std::function<void(TProgress& progress)>;

// Installs the hold of every later run (an empty one lets runs start at once).
void SetWorkerHold(TWorkerHold hold);

// Waits in the installed hold, if any: the job runner calls it first in every job.
void HoldWorker(TProgress& progress);

// How long a run on the worker may last before the progress dialog shows: 300 ms in the
// program; a negative delay never shows it (tests that do not look at it).
void SetGaugeDelay(int milliseconds);
int GaugeDelay();

}  // namespace tarnwick::app
