// Tarnwick: exact odds calculator for five-card draw video poker.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "parts/vector_state.h"

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace tarnwick::app {

#if defined(__x86_64__)

namespace {

// Compiled for AVX whatever the build's level: it runs only where the processor has it.
__attribute__((target("avx"))) void ZeroUpper() {
  _mm256_zeroupper();
}

}  // namespace

void ClearUpperVectorState() {
  if (__builtin_cpu_supports("avx")) ZeroUpper();
}

#else

void ClearUpperVectorState() {}

#endif

}  // namespace tarnwick::app
