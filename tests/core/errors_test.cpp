// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "errors.h"

#include <gtest/gtest.h>

#include <climits>
#include <stdexcept>

#include "checked.h"

namespace tarnwick {
namespace {

TEST(Errors, CheckedArithmeticRaisesOnOverflowOnly) {
  EXPECT_EQ(Add<int32_t>(INT32_MAX - 1, 1), INT32_MAX);
  EXPECT_THROW(Add<int32_t>(INT32_MAX, 1), OverflowError);
  EXPECT_THROW(Sub<int32_t>(INT32_MIN, 1), OverflowError);
  EXPECT_THROW(Mul<int32_t>(65536, 32768), OverflowError);
  EXPECT_EQ(Mul<int32_t>(-65536, 32768), INT32_MIN);
  EXPECT_THROW(Mul<int64_t>(INT64_MAX / 2, 3), OverflowError);
}

TEST(Errors, ContextLinesStackAndKeepTheType) {
  try {
    try {
      try {
        throw OverflowError("Integer overflow in addition");
      } catch (...) {
        RethrowWithContext("inner");
      }
    } catch (...) {
      RethrowWithContext("outer");
    }
  } catch (const OverflowError& e) {
    EXPECT_STREQ(e.what(), "outer\r\ninner\r\nInteger overflow in addition");
  }
  try {
    try {
      throw std::out_of_range("vector");
    } catch (...) {
      RethrowWithContext("step");
    }
  } catch (const TarnwickError& e) {
    EXPECT_STREQ(e.what(), "step\r\nvector");
  }
  try {
    try {
      throw AbortError();
    } catch (...) {
      RethrowWithContext("run");
    }
  } catch (const AbortError& e) {
    EXPECT_STREQ(e.what(), "run\r\nOperation aborted");
  }
}

TEST(Errors, RangeCheck) {
  EXPECT_NO_THROW(CheckRange(31, 0, 31, "draw mask"));
  try {
    CheckRange(32, 0, 31, "draw mask");
    FAIL();
  } catch (const RangeError& e) {
    EXPECT_STREQ(e.what(), "Range check error: draw mask = 32 is outside 0..31");
  }
}

}  // namespace
}  // namespace tarnwick
