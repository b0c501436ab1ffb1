// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <exception>
#include <string>
#include <string_view>

namespace tarnwick {

// Root of every error the core raises. Each engine and calculator step that catches an
// error puts its own context line in front of the message (context, "\r\n", message), so
// the final text reads from the outermost step down to the original cause.
class TarnwickError : public std::exception {
 public:
  explicit TarnwickError(std::string message) : message_(std::move(message)) {}
  const char* what() const noexcept override { return message_.c_str(); }
  const std::string& Message() const noexcept { return message_; }
  // Puts one context line in front of the message.
  void Prefix(std::string_view context);
  // Puts one more line after the message.
  void Append(std::string_view line);

 private:
  std::string message_;
};

// An index outside its declared bounds (draw mask 0..31, kind 0..47, category 0..15, ...).
class RangeError : public TarnwickError {
 public:
  using TarnwickError::TarnwickError;
};

// A 32-bit (or 64-bit) integer operation whose exact result does not fit.
class OverflowError : public TarnwickError {
 public:
  using TarnwickError::TarnwickError;
};

// Bad input from a user or a caller (unknown game, malformed card, wrong number of pays).
class InputError : public TarnwickError {
 public:
  using TarnwickError::TarnwickError;
};

// A data file that cannot be read or written.
class DataFileError : public TarnwickError {
 public:
  using TarnwickError::TarnwickError;
};

// A save that gave up waiting while another program saved the same file: the file is
// unchanged, and the same save may well succeed when tried again.
class FileBusyError : public DataFileError {
 public:
  using DataFileError::DataFileError;
};

// The silent abort of a long calculation; shown to nobody.
class AbortError : public TarnwickError {
 public:
  AbortError() : TarnwickError("Operation aborted") {}
};

// Rethrows the exception being handled with `context` and "\r\n" in front of its text.
// Errors of this hierarchy keep their type; any other exception becomes a TarnwickError.
// Call only from inside a catch block.
[[noreturn]] void RethrowWithContext(std::string_view context);

// Rethrows the exception being handled with "\r\n" and `line` after its text, keeping the
// type as RethrowWithContext does. Call only from inside a catch block.
[[noreturn]] void RethrowWithLine(std::string_view line);

[[noreturn]] void ThrowRange(long long value, long long lo, long long hi, const char* what);

// Raises a RangeError unless lo <= value <= hi.
inline void CheckRange(long long value, long long lo, long long hi, const char* what) {
  if (value < lo || value > hi) [[unlikely]]
    ThrowRange(value, lo, hi, what);
}

}  // namespace tarnwick
