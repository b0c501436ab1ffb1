// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/safe_files.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>
#include <thread>

#include "errors.h"

namespace tarnwick {

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kTemporaryInfix = ".tmp-";
constexpr size_t kTemporarySuffixLength = 6;
constexpr std::string_view kNameLetters =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
constexpr int kNameAttempts = 100;
constexpr int kMaxBackups = 10000;
// The links followed from one name at most, as the system itself allows.
constexpr int kMaxLinkHops = 40;
// A waiting save looks at the lock again after this pause, doubled each time up to the last.
constexpr std::chrono::milliseconds kFirstLockPause{1};
constexpr std::chrono::milliseconds kLastLockPause{50};

std::atomic<int64_t> lockWaitMilliseconds{kDefaultLockWait.count()};

// Closes a file descriptor when it goes out of scope (unless released).
class TDescriptor {
 public:
  explicit TDescriptor(int fd) : fd_(fd) {}
  ~TDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  TDescriptor(const TDescriptor&) = delete;
  TDescriptor& operator=(const TDescriptor&) = delete;
  int Get() const { return fd_; }
  // Closes now and reports whether the close succeeded (errno tells why not).
  bool Close() {
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
  }

 private:
  int fd_;
};

fs::path FolderOf(const fs::path& path) {
  return path.has_parent_path() ? path.parent_path() : fs::path(".");
}

std::string Quoted(const fs::path& path) {
  std::string text;
  text.reserve(path.native().size() + 2);
  text.append(1, '"').append(path.native()).append(1, '"');
  return text;
}

// A temporary file beside `path`, created exclusively (O_EXCL never follows a link, not
// even one that leads nowhere).
std::pair<int, fs::path> CreateTemporary(const fs::path& path) {
  static thread_local std::mt19937_64 random(std::random_device{}() ^
                                             static_cast<uint64_t>(::getpid()));
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    std::string name = path.filename().string();
    name += kTemporaryInfix;
    for (size_t i = 0; i < kTemporarySuffixLength; ++i)
      name += kNameLetters[random() % kNameLetters.size()];
    fs::path temporary = FolderOf(path) / name;
    const int fd = ::open(temporary.c_str(),
                          O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY, 0666);
    if (fd >= 0) return {fd, temporary};
    if (errno != EEXIST) {
      throw DataFileError(SystemError("Cannot create a temporary file", temporary) + "; " +
                          Quoted(path) + " is unchanged");
    }
  }
  throw DataFileError("Cannot create a temporary file beside " + Quoted(path) +
                      ": every name tried is taken; it is unchanged");
}

// Writes all bytes, flushes them to disk and closes; on failure removes the temporary file
// and raises with the system's reason.
void WriteAndClose(TDescriptor& file, const fs::path& temporary, std::string_view bytes,
                   const fs::path& path) {
  const auto fail = [&](const char* what) {
    const std::string message = SystemError(what, temporary);
    file.Close();
    ::unlink(temporary.c_str());
    throw DataFileError(message + "; " + Quoted(path) + " is unchanged");
  };
  size_t written = 0;
  while (written < bytes.size()) {
    const ssize_t n = ::write(file.Get(), bytes.data() + written, bytes.size() - written);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) fail("Cannot write");
    if (n == 0) {
      errno = ENOSPC;
      fail("Cannot write");
    }
    written += static_cast<size_t>(n);
  }
  if (::fsync(file.Get()) != 0) fail("Cannot flush");
  if (!file.Close()) {
    const std::string message = SystemError("Cannot close", temporary);
    ::unlink(temporary.c_str());
    throw DataFileError(message + "; " + Quoted(path) + " is unchanged");
  }
}

// Where the symbolic links at `path` lead, link after link, while each is owned by the
// running user or the superuser; `path` itself when it is no link. A link that leads
// nowhere gives the name it leads to. Raises a DataFileError ("Cannot <verb> ...") for a
// link another user owns and for links that lead in a circle.
fs::path FollowOwnLinks(const fs::path& path, std::string_view verb) {
  fs::path current = path;
  for (int hop = 0; hop < kMaxLinkHops; ++hop) {
    struct stat info {};
    if (::lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return current;
    if (info.st_uid != ::geteuid() && info.st_uid != 0) {
      throw DataFileError("Cannot " + std::string(verb) + " " + Quoted(path) + ": " +
                          (current == path ? std::string("it") : Quoted(current)) +
                          " is a link owned by another user (uid " + std::to_string(info.st_uid) +
                          "), which is not followed");
    }
    std::error_code error;
    const fs::path next = fs::read_symlink(current, error);
    if (error) {
      errno = error.value();
      throw DataFileError(SystemError("Cannot " + std::string(verb), path));
    }
    current = next.is_absolute() ? next : FolderOf(current) / next;
  }
  throw DataFileError("Cannot " + std::string(verb) + " " + Quoted(path) +
                      ": its links lead in a circle");
}

// Makes a rename in the folder durable.
void SyncFolder(const fs::path& path) {
  const int dir = ::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
}

// Gives the file at `from` the name `to` unless something has that name. Returns 0 when
// done, EEXIST when the name is taken, else the system's error number.
int RenameWithoutReplacing(const fs::path& from, const fs::path& to) {
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
  if (errno != EINVAL && errno != ENOSYS) return errno;
  // A file system without the no-replace rename: a hard link never replaces either.
  if (::link(from.c_str(), to.c_str()) != 0) return errno;
  ::unlink(from.c_str());
  return 0;
}

}  // namespace

std::string SystemError(std::string_view what, const fs::path& path) {
  const int error = errno;
  return std::string(what) + " " + Quoted(path) + ": " + std::strerror(error);
}

std::optional<std::string> ReadFileIfPresent(const fs::path& path, uint64_t maxBytes) {
  struct stat info {};
  if (::lstat(path.c_str(), &info) != 0) {
    if (errno == ENOENT) return std::nullopt;
    throw DataFileError(SystemError("Cannot look at", path));
  }
  // The links the user (or the superuser) made are followed, and the file they lead to is
  // opened without following another one put there meanwhile; O_NONBLOCK keeps a FIFO from
  // blocking the open.
  const fs::path resolved = FollowOwnLinks(path, "read");
  const int fd =
      ::open(resolved.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY | O_NOFOLLOW);
  if (fd < 0) {
    if (errno == ENOENT && S_ISLNK(info.st_mode)) {
      std::error_code error;
      throw DataFileError("Cannot read " + Quoted(path) + ": it is a link to " +
                          Quoted(fs::read_symlink(path, error)) + ", which does not exist");
    }
    throw DataFileError(SystemError("Cannot open", path));
  }
  TDescriptor file(fd);
  if (::fstat(fd, &info) != 0) throw DataFileError(SystemError("Cannot look at", path));
  if (!S_ISREG(info.st_mode)) {
    throw DataFileError("Cannot read " + Quoted(path) + ": it is " +
                        (S_ISDIR(info.st_mode) ? "a folder" : "not a regular file"));
  }
  const auto tooLarge = [&](uint64_t size) {
    return DataFileError("Cannot read " + Quoted(path) + ": it has " + std::to_string(size) +
                         " bytes, more than the " + std::to_string(maxBytes) +
                         " such a file may have");
  };
  if (static_cast<uint64_t>(info.st_size) > maxBytes) throw tooLarge(info.st_size);
  std::string bytes;
  bytes.resize(static_cast<size_t>(info.st_size) + 1);
  size_t filled = 0;
  while (true) {
    if (filled == bytes.size()) {
      // The file grew while it was read.
      if (bytes.size() > maxBytes) throw tooLarge(bytes.size());
      bytes.resize(bytes.size() * 2);
    }
    const ssize_t n = ::read(fd, bytes.data() + filled, bytes.size() - filled);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) throw DataFileError(SystemError("Cannot read", path));
    if (n == 0) break;
    filled += static_cast<size_t>(n);
  }
  if (filled > maxBytes) throw tooLarge(filled);
  bytes.resize(filled);
  return bytes;
}

fs::path SaveTarget(const fs::path& path) {
  std::error_code error;
  const fs::file_status status = fs::symlink_status(path, error);
  if (error || !fs::is_symlink(status)) return path;
  fs::path target = fs::canonical(FollowOwnLinks(path, "save"), error);
  if (error) {
    const std::string reason = error.message();
    throw DataFileError("Cannot save " + Quoted(path) + ": it is a link to " +
                        Quoted(fs::read_symlink(path, error)) + ", which cannot be followed (" +
                        reason + ")");
  }
  return target;
}

void WriteFileAtomically(const fs::path& path, std::string_view bytes, uint64_t maxBytes,
                         const std::function<void()>& beforeRename) {
  const fs::path target = SaveTarget(path);
  // A file its reader refuses would lose everything in it at the next read.
  if (bytes.size() > maxBytes) {
    throw DataFileError("Cannot save " + Quoted(path) + ": it would have " +
                        std::to_string(bytes.size()) + " bytes, more than the " +
                        std::to_string(maxBytes) + " such a file may have; it is unchanged");
  }
  struct stat old {};
  const bool replacing = ::stat(target.c_str(), &old) == 0;
  const auto [fd, temporary] = CreateTemporary(target);
  TDescriptor file(fd);
  // A replaced file keeps its permissions; a new one gets those the user's umask allows.
  if (replacing) ::fchmod(fd, old.st_mode & 07777);
  WriteAndClose(file, temporary, bytes, target);
  if (beforeRename) beforeRename();
  if (::rename(temporary.c_str(), target.c_str()) != 0) {
    const std::string message = SystemError("Cannot replace", target);
    ::unlink(temporary.c_str());
    throw DataFileError(message + " (it is unchanged)");
  }
  SyncFolder(target);
}

fs::path KeepCopy(const fs::path& path, std::string_view bytes) {
  struct stat original {};
  const bool known = ::stat(path.c_str(), &original) == 0;
  const auto [fd, temporary] = CreateTemporary(path);
  TDescriptor file(fd);
  // The copy is hidden from whoever the file is hidden from; it never gets a set-id bit.
  if (known) ::fchmod(fd, original.st_mode & 0777);
  WriteAndClose(file, temporary, bytes, path);
  for (int n = 0; n <= kMaxBackups; ++n) {
    fs::path backup = path;
    backup += n == 0 ? std::string(".bak") : ".bak." + std::to_string(n);
    const int result = RenameWithoutReplacing(temporary, backup);
    if (result == 0) {
      SyncFolder(backup);
      return backup;
    }
    if (result != EEXIST) {
      errno = result;
      const std::string message =
          SystemError("Cannot keep a copy of " + Quoted(path) + " as", backup);
      ::unlink(temporary.c_str());
      throw DataFileError(message);
    }
  }
  ::unlink(temporary.c_str());
  throw DataFileError("Cannot keep a copy of " + Quoted(path) + ": " + std::to_string(kMaxBackups) +
                      " copies are there already");
}

bool IsTemporaryNameOf(std::string_view candidate, std::string_view name) {
  if (candidate.size() != name.size() + kTemporaryInfix.size() + kTemporarySuffixLength ||
      !candidate.starts_with(name) ||
      candidate.substr(name.size(), kTemporaryInfix.size()) != kTemporaryInfix) {
    return false;
  }
  for (char c : candidate.substr(name.size() + kTemporaryInfix.size())) {
    if (kNameLetters.find(c) == std::string_view::npos) return false;
  }
  return true;
}

void RemoveStaleTemporaries(const fs::path& path) {
  const std::string name = path.filename().string();
  std::error_code error;
  for (fs::directory_iterator it(FolderOf(path), error), end; !error && it != end;
       it.increment(error)) {
    if (!IsTemporaryNameOf(it->path().filename().string(), name)) continue;
    std::error_code kind;
    // Only a regular file is removed: a link or anything else planted there stays.
    if (fs::is_regular_file(fs::symlink_status(it->path(), kind))) fs::remove(it->path(), kind);
  }
}

std::chrono::milliseconds LockWait() {
  return std::chrono::milliseconds(lockWaitMilliseconds.load());
}

void SetLockWait(std::chrono::milliseconds wait) {
  lockWaitMilliseconds.store(wait.count());
}

TFileLock::TFileLock(const fs::path& path, std::chrono::milliseconds wait) {
  fs::path lock = path;
  lock += ".lock";
  fd_ = ::open(lock.c_str(), O_RDONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY,
               0666);
  if (fd_ < 0) {
    throw DataFileError(SystemError("Cannot open the lock file", lock) + "; " + Quoted(path) +
                        " is unchanged");
  }
  struct stat info {};
  if (::fstat(fd_, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd_);
    throw DataFileError("Cannot use the lock file " + Quoted(lock) +
                        ": it is not a regular file; " + Quoted(path) + " is unchanged");
  }
  // Another program's save takes moments; one that holds the lock far longer is stuck, and
  // the user is told rather than kept waiting without end.
  const auto deadline = std::chrono::steady_clock::now() + wait;
  std::chrono::milliseconds pause = kFirstLockPause;
  while (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
    if (errno == EINTR) continue;
    if (errno != EWOULDBLOCK) {
      const std::string message = SystemError("Cannot lock", lock);
      ::close(fd_);
      throw DataFileError(message + "; " + Quoted(path) + " is unchanged");
    }
    const auto now = std::chrono::steady_clock::now();
    if (now >= deadline) {
      ::close(fd_);
      throw FileBusyError("Another program is saving " + Quoted(path) + " (it holds " +
                          Quoted(lock) + "); the file is unchanged, try again when it is done");
    }
    std::this_thread::sleep_for(
        std::min<std::chrono::steady_clock::duration>(pause, deadline - now));
    pause = std::min(pause * 2, kLastLockPause);
  }
}

TFileLock::~TFileLock() {
  ::close(fd_);  // releases the lock
}

}  // namespace tarnwick
