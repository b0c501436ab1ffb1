// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Checked integer arithmetic: every count of the engines is a 32-bit signed integer and an
// operation whose exact result does not fit raises OverflowError instead of wrapping. The
// compiler builtins compile to the plain instruction plus one branch on the overflow flag.

#include <cstdint>

namespace tarnwick {

[[noreturn]] void ThrowOverflow(const char* operation);

template <class T>
inline T Add(T a, T b) {
  T r;
  if (__builtin_add_overflow(a, b, &r)) [[unlikely]]
    ThrowOverflow("addition");
  return r;
}

template <class T>
inline T Sub(T a, T b) {
  T r;
  if (__builtin_sub_overflow(a, b, &r)) [[unlikely]]
    ThrowOverflow("subtraction");
  return r;
}

template <class T>
inline T Mul(T a, T b) {
  T r;
  if (__builtin_mul_overflow(a, b, &r)) [[unlikely]]
    ThrowOverflow("multiplication");
  return r;
}

}  // namespace tarnwick
