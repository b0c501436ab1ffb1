# The files a program reads from its own folder (language files, help pages, the shipped
# pay tables) are copied beside its executable, so that the build tree is a portable
# installation. The shipped Tarnwick.dat is copied only where none exists: the copy in a
# portable folder is the user's own store and keeps the tables the user added.
# The copy runs at every build (it takes no time), so changed language files reach the
# program without a relink.
# The programs share one folder: one target copies the files there, and every program
# depends on it (two copies at once would race on the same files).
function(tarnwick_ship_data target)
  set(folder $<TARGET_FILE_DIR:${target}>)
  if(NOT TARGET tarnwick_program_data)
    add_custom_target(tarnwick_program_data ALL
      COMMAND ${CMAKE_COMMAND} -E copy_directory ${PROJECT_SOURCE_DIR}/data/Langs ${folder}/Langs
      COMMAND ${CMAKE_COMMAND} -E copy_directory ${PROJECT_SOURCE_DIR}/data/Help ${folder}/Help
      COMMAND ${CMAKE_COMMAND} -DSOURCE=${PROJECT_SOURCE_DIR}/data/Tarnwick.dat
              -DDESTINATION=${folder}/Tarnwick.dat
              -P ${PROJECT_SOURCE_DIR}/cmake/CopyIfMissing.cmake
      VERBATIM)
  endif()
  add_dependencies(${target} tarnwick_program_data)
endfunction()
