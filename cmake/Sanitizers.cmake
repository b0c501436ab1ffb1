# AddressSanitizer and UndefinedBehaviorSanitizer for the core and its tests. Any finding
# stops the program (no recovery), so a test run with a finding fails.
add_library(tarnwick_sanitizers INTERFACE)
add_library(tarnwick::sanitizers ALIAS tarnwick_sanitizers)
if(TARNWICK_SANITIZE)
  target_compile_options(tarnwick_sanitizers INTERFACE
    -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  target_link_options(tarnwick_sanitizers INTERFACE -fsanitize=address,undefined)
endif()
# ThreadSanitizer for the whole-game run on worker threads: a data race stops the program.
if(TARNWICK_SANITIZE_THREAD)
  target_compile_options(tarnwick_sanitizers INTERFACE -fsanitize=thread -fno-omit-frame-pointer)
  target_link_options(tarnwick_sanitizers INTERFACE -fsanitize=thread)
endif()
