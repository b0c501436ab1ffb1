// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Exact integer arithmetic on decimal strings, for the statistics totals that outgrow 64
// bits. Parsing drops any characters before the first "-" or digit, takes a leading "-"
// as the sign and ignores leading zeros; results have no leading zeros and "-" when
// negative ("0" for zero).

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwick {

// An exact signed integer: sign and magnitude in base 2^32, least significant limb first,
// no leading zero limbs (zero has no limbs).
class BigDecimal {
 public:
  BigDecimal() = default;
  static BigDecimal Parse(std::string_view text);
  std::string Format() const;

  friend BigDecimal operator+(const BigDecimal& a, const BigDecimal& b);
  friend BigDecimal operator-(const BigDecimal& a, const BigDecimal& b);
  friend BigDecimal operator*(const BigDecimal& a, const BigDecimal& b);
  // Quotient truncated toward zero; raises a RangeError for a zero divisor.
  friend BigDecimal operator/(const BigDecimal& a, const BigDecimal& b);
  friend BigDecimal operator%(const BigDecimal& a, const BigDecimal& b);
  bool IsZero() const { return limbs_.empty(); }
  bool IsNegative() const { return negative_; }
  BigDecimal Negated() const;

 private:
  using TLimbs = std::vector<uint32_t>;
  static int CompareMagnitudes(const TLimbs& a, const TLimbs& b);
  static TLimbs AddMagnitudes(const TLimbs& a, const TLimbs& b);
  static TLimbs SubtractMagnitudes(const TLimbs& a, const TLimbs& b);  // a >= b
  static void DivideMagnitudes(const TLimbs& a, const TLimbs& b, TLimbs& quotient,
                               TLimbs& remainder);
  static void Trim(TLimbs& limbs);
  static BigDecimal Signed(TLimbs limbs, bool negative);

  bool negative_ = false;
  TLimbs limbs_;
};

std::string DecimalAdd(std::string_view a, std::string_view b);
std::string DecimalSub(std::string_view a, std::string_view b);
std::string DecimalMul(std::string_view a, std::string_view b);
// The quotient of a by b, truncated toward zero.
std::string DecimalDiv(std::string_view a, std::string_view b);
// The least common multiple a x b / gcd(a, b) (of the magnitudes).
std::string DecimalLcm(std::string_view a, std::string_view b);

}  // namespace tarnwick
