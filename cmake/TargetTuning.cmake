# Code generation for the machine that builds Tarnwick (it is built from source where it runs).
#
# The hand analysis counts bits of rank and suit sets in its inner loops: on an x86-64
# machine that has the x86-64-v2 level (POPCNT, SSE4.2; every x86-64 processor since about
# 2010), the core is compiled for that level, so a count is one instruction. Older machines
# get the baseline code, which gives the same results.
#
# GCC clears small fixed-size records (the per-hold counts of 100 to 300 bytes, cleared
# once per hold) with `rep stos`, whose start-up costs more than the clearing: records up
# to 1 KiB are cleared with an unrolled loop instead, larger ones by the C library.
#
# The options are an INTERFACE target that the core links PUBLIC: every target that
# compiles the core's inline code (the programs, the tests) gets them too.
option(TARNWICK_TUNE_FOR_HOST "Use the x86-64-v2 level when the building machine has it" ON)
add_library(tarnwick_tuning INTERFACE)
add_library(tarnwick::tuning ALIAS tarnwick_tuning)

if(CMAKE_SYSTEM_PROCESSOR MATCHES "^(x86_64|AMD64|amd64)$")
  if(TARNWICK_TUNE_FOR_HOST AND NOT CMAKE_CROSSCOMPILING)
    include(CheckCXXSourceRuns)
    set(CMAKE_REQUIRED_FLAGS "-march=x86-64-v2")
    check_cxx_source_runs([=[
      int main() {
        __builtin_cpu_init();
        return __builtin_cpu_supports("popcnt") && __builtin_cpu_supports("sse4.2") &&
                       __builtin_cpu_supports("ssse3") && __builtin_cpu_supports("sse4.1")
                   ? 0
                   : 1;
      }]=] TARNWICK_HOST_HAS_X86_64_V2)
    unset(CMAKE_REQUIRED_FLAGS)
    if(TARNWICK_HOST_HAS_X86_64_V2)
      target_compile_options(tarnwick_tuning INTERFACE -march=x86-64-v2)
    endif()
  endif()
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    target_compile_options(tarnwick_tuning INTERFACE
      -mmemset-strategy=unrolled_loop:1024:noalign,libcall:-1:noalign)
  endif()
endif()
