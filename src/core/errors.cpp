// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "errors.h"

#include <new>

#include "checked.h"

namespace tarnwick {

void TarnwickError::Prefix(std::string_view context) {
  std::string text;
  text.reserve(context.size() + 2 + message_.size());
  text.append(context).append("\r\n").append(message_);
  message_ = std::move(text);
}

void TarnwickError::Append(std::string_view line) {
  message_.append("\r\n").append(line);
}

void RethrowWithLine(std::string_view line) {
  try {
    throw;
  } catch (TarnwickError& e) {
    e.Append(line);
    throw;
  } catch (const std::bad_alloc&) {
    throw TarnwickError("Out of memory\r\n" + std::string(line));
  } catch (const std::exception& e) {
    throw TarnwickError(e.what() + ("\r\n" + std::string(line)));
  } catch (...) {
    throw TarnwickError("Unknown error\r\n" + std::string(line));
  }
}

void RethrowWithContext(std::string_view context) {
  try {
    throw;
  } catch (TarnwickError& e) {
    e.Prefix(context);
    throw;
  } catch (const std::bad_alloc&) {
    throw TarnwickError(std::string(context) + "\r\nOut of memory");
  } catch (const std::exception& e) {
    throw TarnwickError(std::string(context) + "\r\n" + e.what());
  } catch (...) {
    throw TarnwickError(std::string(context) + "\r\nUnknown error");
  }
}

void ThrowRange(long long value, long long lo, long long hi, const char* what) {
  throw RangeError(std::string("Range check error: ") + what + " = " + std::to_string(value) +
                   " is outside " + std::to_string(lo) + ".." + std::to_string(hi));
}

}  // namespace tarnwick

namespace tarnwick {

void ThrowOverflow(const char* operation) {
  throw OverflowError(std::string("Integer overflow in ") + operation);
}

}  // namespace tarnwick
