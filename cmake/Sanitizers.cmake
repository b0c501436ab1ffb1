# AddressSanitizer and UndefinedBehaviorSanitizer for the core and its tests. Any finding
# stops the program (no recovery), so a test run with a finding fails.
add_library(tarnwick_sanitizers INTERFACE)
add_library(tarnwick::sanitizers ALIAS tarnwick_sanitizers)
if(TARNWICK_SANITIZE)
  target_compile_options(tarnwick_sanitizers INTERFACE
    -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  target_link_options(tarnwick_sanitizers INTERFACE -fsanitize=address,undefined)
endif()
# The fuzz targets: the core and everything else they link get libFuzzer's coverage
# instrumentation, so that the fuzzer sees which branches of the readers an input reaches
# (the targets themselves add the fuzzer's main with -fsanitize=fuzzer).
if(TARNWICK_FUZZ)
  target_compile_options(tarnwick_sanitizers INTERFACE -fsanitize=fuzzer-no-link)
endif()
# ThreadSanitizer for the whole-game run on worker threads: a data race stops the program.
if(TARNWICK_SANITIZE_THREAD)
  target_compile_options(tarnwick_sanitizers INTERFACE -fsanitize=thread -fno-omit-frame-pointer)
  target_link_options(tarnwick_sanitizers INTERFACE -fsanitize=thread)
endif()
