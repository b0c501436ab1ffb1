// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "stats/decimal.h"

#include <gtest/gtest.h>

#include <numeric>
#include <random>

#include "errors.h"
#include "test_games.h"

namespace tarnwick {
namespace {

using testing::Int128;
using testing::Text;

TEST(Decimal, WorkedExamplesAndIntegerArithmetic) {
  EXPECT_EQ(DecimalMul("2598960", "7669695"), "19933230517200");
  std::string lcm = "1";
  for (const char* draws : {"47", "1081", "16215", "178365", "1533939"})
    lcm = DecimalLcm(lcm, draws);
  EXPECT_EQ(lcm, "7669695");
  EXPECT_EQ(DecimalSub("123456789012345678901234567890", "123456789012345678901234567890"), "0");
  EXPECT_EQ(DecimalAdd("0", "0"), "0");
  EXPECT_EQ(DecimalAdd("000123", "0"), "123");
  EXPECT_EQ(DecimalAdd("x-17", "20"), "3");
  EXPECT_EQ(DecimalSub("5", "12"), "-7");
  EXPECT_EQ(DecimalMul("-3", "0"), "0");
  EXPECT_EQ(DecimalDiv("19933230517200", "7669695"), "2598960");
  EXPECT_EQ(DecimalDiv("1000000000000000000000", "1000000000"), "1000000000000");
  EXPECT_EQ(DecimalMul("99999999999999999999", "99999999999999999999"),
            "9999999999999999999800000000000000000001");
  EXPECT_THROW(DecimalDiv("1", "0"), RangeError);

  // Operands that fit 64 bits, results checked against 128-bit integer arithmetic.
  std::mt19937_64 random(5);
  for (int trial = 0; trial < 20000; ++trial) {
    const int shift = static_cast<int>(random() % 63);
    Int128 a = static_cast<int64_t>(random() >> shift);
    Int128 b = static_cast<int64_t>(random() >> (random() % 63));
    if (trial % 3 == 0) a = -a;
    if (trial % 5 == 0) b = -b;
    ASSERT_EQ(DecimalAdd(Text(a), Text(b)), Text(a + b));
    ASSERT_EQ(DecimalSub(Text(a), Text(b)), Text(a - b));
    ASSERT_EQ(DecimalMul(Text(a), Text(b)), Text(a * b));
    if (b != 0) {
      ASSERT_EQ(DecimalDiv(Text(a * b), Text(b)), Text(a));
      ASSERT_EQ(DecimalDiv(Text(a), Text(b)), Text(a / b));  // truncated toward zero
    }
    const uint64_t x = random() >> (random() % 40 + 24);
    const uint64_t y = random() >> (random() % 40 + 24);
    if (x != 0 && y != 0) {
      ASSERT_EQ(DecimalLcm(std::to_string(x), std::to_string(y)),
                Text(Int128{x} / std::gcd(x, y) * y));
    }
  }
}

}  // namespace
}  // namespace tarnwick
