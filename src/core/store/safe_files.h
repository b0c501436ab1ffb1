// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Reading and replacing the user's own files (the pay tables, the settings) so that nothing
// is lost and nothing is written where it should not be: a file is read only when it is a
// regular file of a sane size (a FIFO or a device never blocks or floods the program); a
// new version is written to a temporary file of a unique name, created exclusively and
// without following links, then renamed over the old one; copies of damaged files are
// placed without replacing anything; and several programs that save the same file take
// turns through an advisory lock. A symbolic link at a file's name is followed only when
// the running user or the superuser owns it (as the kernel does for links in shared
// folders): another user's link would read or replace a file that user chose.

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace tarnwick {

// Reads the file at `path` when it is a readable regular file of at most `maxBytes`.
// Returns nothing when no file is there (the path or its folder does not exist). Raises a
// DataFileError naming the path and the reason for anything else: a file that cannot be
// looked at or opened, a folder or other file that is not a regular file, a link to
// nothing, a link another user owns, a file larger than `maxBytes`, a read error.
std::optional<std::string> ReadFileIfPresent(const std::filesystem::path& path, uint64_t maxBytes);

// The file a save of `path` replaces: `path` itself, or the file a symbolic link there
// leads to (so that a link into a synced folder keeps working). Raises a DataFileError for
// a link that leads nowhere or in a circle (a save would create a file the user did not
// expect) and for a link another user owns; nothing has been created beside it then.
std::filesystem::path SaveTarget(const std::filesystem::path& path);

// Writes bytes to `path` through a temporary file of a unique name in the same folder that
// is flushed and renamed over it, so that `path` holds either its old or its new contents,
// never a part. The temporary file is created exclusively and never through a link; a new
// file gets the permissions of the file it replaces. More than `maxBytes` bytes (what the
// file's reader takes) are refused before anything is written. `beforeRename` runs once
// the temporary file is complete (tests simulate a crash there). Raises a DataFileError
// with the reason; `path` is then unchanged.
void WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes,
                         uint64_t maxBytes, const std::function<void()>& beforeRename = {});

// For WriteFileAtomically: a file that no program of this system reads back.
inline constexpr uint64_t kUnreadFile = UINT64_MAX;

// Places a copy of bytes (the contents of the file at `path`) beside it as "<name>.bak", or
// "<name>.bak.1", ".bak.2", ... when that name is taken: the copy is written completely
// under a temporary name first and then given the first free name, never replacing a file
// or following a link. The copy gets the permissions of the file at `path`, so that it is
// readable by nobody the file itself is hidden from. Returns the copy's path; raises a
// DataFileError with the system's reason and leaves no partial copy.
std::filesystem::path KeepCopy(const std::filesystem::path& path, std::string_view bytes);

// Removes the temporary files that saves of `path` left behind when they were killed. Only
// regular files of the writer's own naming pattern are removed; call it while holding the
// file's lock, when no other save is under way.
void RemoveStaleTemporaries(const std::filesystem::path& path);

// True for a name that a save of a file named `name` uses for its temporary file.
bool IsTemporaryNameOf(std::string_view candidate, std::string_view name);

// How long a save waits for the lock of a file another program is saving before it gives
// up with a FileBusyError: far longer than any save takes, short enough that a program
// holding the lock for good cannot freeze the user's window. One setting for the whole
// process (tests shorten it).
inline constexpr std::chrono::milliseconds kDefaultLockWait{10000};
std::chrono::milliseconds LockWait();
void SetLockWait(std::chrono::milliseconds wait);

// An exclusive advisory lock (flock) on "<path>.lock" beside the file, held while the
// object lives. Every program of this system that saves `path` takes it from reading the
// file back to the rename, so saves never overlap.
class TFileLock {
 public:
  // Waits for the lock up to `wait`; raises a FileBusyError when another program held it
  // all that time, a DataFileError when the lock file cannot be made or locked.
  explicit TFileLock(const std::filesystem::path& path,
                     std::chrono::milliseconds wait = LockWait());
  ~TFileLock();
  TFileLock(const TFileLock&) = delete;
  TFileLock& operator=(const TFileLock&) = delete;

 private:
  int fd_ = -1;
};

// "<what> \"<path>\": <the system's reason for errno>".
std::string SystemError(std::string_view what, const std::filesystem::path& path);

}  // namespace tarnwick
