// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later

// tarnwick: the desktop program. `tarnwick --measure` prints the time to a painted window,
// the time from the fifth card to the filled results, the memory held and the times of the
// longer computations (the live return, an abort, the heaviest chart), then ends.

#include <QElapsedTimer>
#include <cstring>

#include "application.h"

int main(int argc, char** argv) {
  QElapsedTimer started;
  started.start();
  tarnwick::app::TApplication application(argc, argv);
  const bool measure = argc > 1 && std::strcmp(argv[1], "--measure") == 0;
  return tarnwick::app::RunDesktopProgram(application, measure, started);
}
