# Warnings for every target of the project, as an INTERFACE target. Each one catches a
# class of real faults in counting code: silent narrowing (-Wconversion, -Wsign-conversion
# is left out because container sizes would drown the rest), shadowed names (-Wshadow),
# non-portable extensions (-Wpedantic).
add_library(tarnwick_warnings INTERFACE)
add_library(tarnwick::warnings ALIAS tarnwick_warnings)
target_compile_options(tarnwick_warnings INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wnon-virtual-dtor -Wold-style-cast
  -Wcast-align -Woverloaded-virtual -Wnull-dereference -Wimplicit-fallthrough -Wno-sign-conversion
  $<$<BOOL:${TARNWICK_WARNINGS_AS_ERRORS}>:-Werror>)
