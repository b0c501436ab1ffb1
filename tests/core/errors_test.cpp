// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "errors.h"

#include <gtest/gtest.h>

#include <climits>
#include <stdexcept>

#include "checked.h"
#include "test_games.h"

namespace tarnwick {
namespace {

using testing::ErrorOf;

// Raises `error` with the context line `context` put in front.
template <class TError>
void RaiseWithContext(const TError& error, const char* context) {
  try {
    throw error;
  } catch (...) {
    RethrowWithContext(context);
  }
}

TEST(Errors, CheckedArithmeticContextLinesAndRanges) {
  EXPECT_EQ(Add<int32_t>(INT32_MAX - 1, 1), INT32_MAX);
  EXPECT_THROW(Add<int32_t>(INT32_MAX, 1), OverflowError);
  EXPECT_THROW(Sub<int32_t>(INT32_MIN, 1), OverflowError);
  EXPECT_THROW(Mul<int32_t>(65536, 32768), OverflowError);
  EXPECT_EQ(Mul<int32_t>(-65536, 32768), INT32_MIN);
  EXPECT_THROW(Mul<int64_t>(INT64_MAX / 2, 3), OverflowError);

  // Context lines stack and keep the error's type; the range check names what it checks.
  EXPECT_EQ(ErrorOf<OverflowError>([] {
              try {
                RaiseWithContext(OverflowError("Integer overflow in addition"), "inner");
              } catch (...) {
                RethrowWithContext("outer");
              }
            }),
            "outer\r\ninner\r\nInteger overflow in addition");
  EXPECT_EQ(ErrorOf<TarnwickError>([] { RaiseWithContext(std::out_of_range("vector"), "step"); }),
            "step\r\nvector");
  EXPECT_EQ(ErrorOf<AbortError>([] { RaiseWithContext(AbortError(), "run"); }),
            "run\r\nOperation aborted");
  EXPECT_NO_THROW(CheckRange(31, 0, 31, "draw mask"));
  EXPECT_EQ(ErrorOf<RangeError>([] { CheckRange(32, 0, 31, "draw mask"); }),
            "Range check error: draw mask = 32 is outside 0..31");
}

}  // namespace
}  // namespace tarnwick
