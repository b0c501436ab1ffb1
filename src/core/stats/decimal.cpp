// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "stats/decimal.h"

#include <algorithm>

#include "errors.h"

namespace tarnwick {

namespace {

constexpr uint32_t kChunk = 1000000000u;  // 10^9: nine decimal digits

// limbs = limbs x factor + addend.
void MultiplyAdd(std::vector<uint32_t>& limbs, uint32_t factor, uint32_t addend) {
  uint64_t carry = addend;
  for (uint32_t& limb : limbs) {
    const uint64_t value = static_cast<uint64_t>(limb) * factor + carry;
    limb = static_cast<uint32_t>(value);
    carry = value >> 32;
  }
  if (carry != 0) limbs.push_back(static_cast<uint32_t>(carry));
}

// limbs = limbs / divisor; returns the remainder.
uint32_t DivideSmall(std::vector<uint32_t>& limbs, uint32_t divisor) {
  uint64_t remainder = 0;
  for (size_t i = limbs.size(); i-- > 0;) {
    const uint64_t value = (remainder << 32) | limbs[i];
    limbs[i] = static_cast<uint32_t>(value / divisor);
    remainder = value % divisor;
  }
  while (!limbs.empty() && limbs.back() == 0) limbs.pop_back();
  return static_cast<uint32_t>(remainder);
}

}  // namespace

void BigDecimal::Trim(TLimbs& limbs) {
  while (!limbs.empty() && limbs.back() == 0) limbs.pop_back();
}

BigDecimal BigDecimal::Signed(TLimbs limbs, bool negative) {
  BigDecimal result;
  Trim(limbs);
  result.limbs_ = std::move(limbs);
  result.negative_ = negative && !result.limbs_.empty();
  return result;
}

BigDecimal BigDecimal::Parse(std::string_view text) {
  size_t start = 0;
  while (start + 1 < text.size() && text[start] != '-' && (text[start] < '0' || text[start] > '9'))
    ++start;
  bool negative = false;
  if (start < text.size() && text[start] == '-') {
    negative = true;
    ++start;
  }
  size_t end = start;
  while (end < text.size() && text[end] >= '0' && text[end] <= '9') ++end;
  const std::string_view digits = text.substr(start, end - start);
  TLimbs limbs;
  // Nine digits at a time from the left: value = value x 10^9 + chunk.
  size_t first = digits.size() % 9 == 0 ? 9 : digits.size() % 9;
  for (size_t at = 0; at < digits.size(); at += first, first = 9) {
    uint32_t chunk = 0;
    uint32_t scale = 1;
    for (size_t i = at; i < at + first; ++i) {
      chunk = chunk * 10 + static_cast<uint32_t>(digits[i] - '0');
      scale *= 10;
    }
    MultiplyAdd(limbs, scale, chunk);
  }
  return Signed(std::move(limbs), negative);
}

std::string BigDecimal::Format() const {
  if (limbs_.empty()) return "0";
  TLimbs rest = limbs_;
  std::string digits;
  while (!rest.empty()) {
    const uint32_t group = DivideSmall(rest, kChunk);
    std::string part = std::to_string(group);
    if (!rest.empty()) part.insert(0, 9 - part.size(), '0');
    digits.insert(0, part);
  }
  return negative_ ? "-" + digits : digits;
}

int BigDecimal::CompareMagnitudes(const TLimbs& a, const TLimbs& b) {
  if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
  for (size_t i = a.size(); i-- > 0;) {
    if (a[i] != b[i]) return a[i] < b[i] ? -1 : 1;
  }
  return 0;
}

BigDecimal::TLimbs BigDecimal::AddMagnitudes(const TLimbs& a, const TLimbs& b) {
  TLimbs sum(std::max(a.size(), b.size()) + 1, 0);
  uint64_t carry = 0;
  for (size_t i = 0; i + 1 < sum.size(); ++i) {
    const uint64_t value = carry + (i < a.size() ? a[i] : 0) + (i < b.size() ? b[i] : 0);
    sum[i] = static_cast<uint32_t>(value);
    carry = value >> 32;
  }
  sum.back() = static_cast<uint32_t>(carry);
  Trim(sum);
  return sum;
}

BigDecimal::TLimbs BigDecimal::SubtractMagnitudes(const TLimbs& a, const TLimbs& b) {
  TLimbs difference(a.size(), 0);
  int64_t borrow = 0;
  for (size_t i = 0; i < a.size(); ++i) {
    int64_t value =
        static_cast<int64_t>(a[i]) - borrow - (i < b.size() ? static_cast<int64_t>(b[i]) : 0);
    borrow = value < 0 ? 1 : 0;
    if (value < 0) value += int64_t{1} << 32;
    difference[i] = static_cast<uint32_t>(value);
  }
  Trim(difference);
  return difference;
}

void BigDecimal::DivideMagnitudes(const TLimbs& a, const TLimbs& b, TLimbs& quotient,
                                  TLimbs& remainder) {
  if (b.empty()) throw RangeError("Division by zero");
  quotient.assign(a.size(), 0);
  remainder.clear();
  // Binary long division, most significant bit first.
  for (size_t bit = a.size() * 32; bit-- > 0;) {
    // remainder = remainder x 2 + the next bit of a
    uint32_t carry = (a[bit / 32] >> (bit % 32)) & 1u;
    for (uint32_t& limb : remainder) {
      const uint32_t top = limb >> 31;
      limb = (limb << 1) | carry;
      carry = top;
    }
    if (carry != 0) remainder.push_back(carry);
    if (CompareMagnitudes(remainder, b) >= 0) {
      remainder = SubtractMagnitudes(remainder, b);
      quotient[bit / 32] |= 1u << (bit % 32);
    }
  }
  Trim(quotient);
}

BigDecimal BigDecimal::Negated() const {
  return Signed(limbs_, !negative_);
}

BigDecimal operator+(const BigDecimal& a, const BigDecimal& b) {
  if (a.negative_ == b.negative_)
    return BigDecimal::Signed(BigDecimal::AddMagnitudes(a.limbs_, b.limbs_), a.negative_);
  if (BigDecimal::CompareMagnitudes(a.limbs_, b.limbs_) >= 0) {
    return BigDecimal::Signed(BigDecimal::SubtractMagnitudes(a.limbs_, b.limbs_), a.negative_);
  }
  return BigDecimal::Signed(BigDecimal::SubtractMagnitudes(b.limbs_, a.limbs_), b.negative_);
}

BigDecimal operator-(const BigDecimal& a, const BigDecimal& b) {
  return a + b.Negated();
}

BigDecimal operator*(const BigDecimal& a, const BigDecimal& b) {
  BigDecimal::TLimbs product(a.limbs_.size() + b.limbs_.size(), 0);
  for (size_t i = 0; i < a.limbs_.size(); ++i) {
    uint64_t carry = 0;
    for (size_t j = 0; j < b.limbs_.size(); ++j) {
      const uint64_t value =
          static_cast<uint64_t>(a.limbs_[i]) * b.limbs_[j] + product[i + j] + carry;
      product[i + j] = static_cast<uint32_t>(value);
      carry = value >> 32;
    }
    product[i + b.limbs_.size()] = static_cast<uint32_t>(carry);
  }
  return BigDecimal::Signed(std::move(product), a.negative_ != b.negative_);
}

BigDecimal operator/(const BigDecimal& a, const BigDecimal& b) {
  BigDecimal::TLimbs quotient, remainder;
  BigDecimal::DivideMagnitudes(a.limbs_, b.limbs_, quotient, remainder);
  return BigDecimal::Signed(std::move(quotient), a.negative_ != b.negative_);
}

BigDecimal operator%(const BigDecimal& a, const BigDecimal& b) {
  BigDecimal::TLimbs quotient, remainder;
  BigDecimal::DivideMagnitudes(a.limbs_, b.limbs_, quotient, remainder);
  return BigDecimal::Signed(std::move(remainder), a.negative_);
}

std::string DecimalAdd(std::string_view a, std::string_view b) {
  return (BigDecimal::Parse(a) + BigDecimal::Parse(b)).Format();
}

std::string DecimalSub(std::string_view a, std::string_view b) {
  return (BigDecimal::Parse(a) - BigDecimal::Parse(b)).Format();
}

std::string DecimalMul(std::string_view a, std::string_view b) {
  return (BigDecimal::Parse(a) * BigDecimal::Parse(b)).Format();
}

std::string DecimalDiv(std::string_view a, std::string_view b) {
  return (BigDecimal::Parse(a) / BigDecimal::Parse(b)).Format();
}

std::string DecimalLcm(std::string_view a, std::string_view b) {
  BigDecimal x = BigDecimal::Parse(a);
  BigDecimal y = BigDecimal::Parse(b);
  if (x.IsZero() || y.IsZero()) return "0";
  const BigDecimal product = x * y;
  // Euclid on the magnitudes.
  if (x.IsNegative()) x = x.Negated();
  if (y.IsNegative()) y = y.Negated();
  while (!y.IsZero()) {
    BigDecimal next = x % y;
    x = y;
    y = next;
  }
  BigDecimal lcm = product / x;
  return (lcm.IsNegative() ? lcm.Negated() : lcm).Format();
}

}  // namespace tarnwick
