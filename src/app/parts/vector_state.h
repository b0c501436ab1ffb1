// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace tarnwick::app {

// Marks the upper halves of the calling thread's 256- and 512-bit vector registers unused,
// on processors that have them; elsewhere it does nothing. Called first by every worker
// thread of the desktop program: a thread starts with the register state of the thread
// that made it, library code run by the window thread (printing, drawing) can leave those
// halves marked in use, and then every SSE instruction of the computation waits on them.
// The 4000-hand result distribution ran four to five times slower so.
void ClearUpperVectorState();

}  // namespace tarnwick::app
