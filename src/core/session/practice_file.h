// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The file of finished practice sessions, "practice-sessions.txt" in the user's data folder
// (beside Tarnwick.dat). It is plain text, one block per session, each appended after the
// ones before:
//
//   session 1                          the block's format version
//   started 1767225600                 seconds since 1970-01-01 UTC
//   game 0 Jacks or Better             number (stable) and name
//   table 1 800,50,25,9,6,4,3,2,1      coin basis, then the pays in category order
//   coins 5
//   seed 123456789
//   hard -                             the hard-hands filter in bets, "-" for none
//   hand 1 dealt AS KS QS JS 2D next TS 3C 4D 5H 6S hold HHHH- best HHHH- ties 1
//        ev 872/47 bestev 872/47 final 0 pay 4000            (one line)
//   end 0123456789abcdef
//
// A hand line holds the deal's number, the five cards dealt and the five that follow, the
// hold played and the best hold ("H" held, "-" replaced), how many holds tie for the best,
// the exact expected pays of both (coins of the table's pays over the number of draws),
// the final hand's category (LastCategory + 1 for none) and its pay for the coins played.
// A session on several lines is a block of version 2: "session 2", a "lines 3" line after
// the hard line, and on each hand line every further line's five cards to draw, its final
// category and its pay: "... pay 0 line 2 next 7C 8D 9H TS JC final 9 pay 0 line 3 ...".
// A drill session (dealt only hands offering two given lines) is a block of version 3: as
// version 2, its lines line even for one line, then "drill <line> | <line>" with the two
// lines in words. Other sessions are written as before, so a reader of versions 1 and 2
// skips only the drill sessions (as damaged blocks) and reads every other one.
// One-line sessions are written as version 1, as before; a file of version 1 blocks only
// reads as it always did.
// The end line carries a 64-bit FNV-1a checksum of the block's bytes before it. A block
// with a wrong checksum, a line that cannot be read or no end is damaged and skipped; the
// sessions around it are read as usual. Damaged blocks and stray lines with no sound
// session between them are one damaged part of the file.
//
// An append reads the file back under a lock, adds the new block after everything in it
// (damaged blocks included: nothing is ever dropped) and replaces the file atomically, so
// a kill during the write leaves the file as it was. A file that would grow past what is
// read back is never written: the session is refused instead.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "session/practice.h"

namespace tarnwick {

inline constexpr char kPracticeFileName[] = "practice-sessions.txt";

// The largest session file that is read (some hundred thousand hands).
inline constexpr uint64_t kMaxPracticeFileBytes = 64u << 20;

// The sessions of a file, oldest first, and what could not be read.
struct TPracticeHistory {
  std::vector<TPracticeRecord> Sessions;
  int32_t Damaged = 0;                // damaged parts skipped
  std::vector<std::string> Problems;  // one line per damaged part: where and why
};

// The block of one session, ending in its end line.
std::string PracticeSessionText(const TPracticeRecord& record);

// The sessions of a file's text.
TPracticeHistory ParsePracticeHistory(std::string_view text);

// The sessions of the folder's file; none when there is no file. Raises a DataFileError
// when the file is there but cannot be read.
TPracticeHistory ReadPracticeHistory(const std::filesystem::path& folder);

// Appends the session to the folder's file (see above). `beforeRename` runs once the new
// file is complete and before it replaces the old one (tests simulate a crash there).
// Raises a DataFileError with the reason (among them a file that would grow past
// kMaxPracticeFileBytes, and a FileBusyError); the file is then unchanged.
void AppendPracticeSession(const std::filesystem::path& folder, const TPracticeRecord& record,
                           const std::function<void()>& beforeRename = {});

}  // namespace tarnwick
