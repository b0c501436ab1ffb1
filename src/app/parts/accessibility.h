// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What screen readers are told beyond Qt's own accessibility: a top-level window made of a
// plain widget is a frame (Qt reports it as a filler), and the Menu button of the main window
// has its popup menu as its child, so the menu's items are found on the accessibility tree.

namespace tarnwick::app {

// Installs the accessibility factory (once; later calls do nothing). Call it before the first
// window is shown.
void InstallAccessibility();

}  // namespace tarnwick::app
