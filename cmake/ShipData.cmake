# The files a program reads from its own folder (language files, help pages, the shipped
# pay tables) are copied beside its executable, so that the build tree is a portable
# installation. The shipped Tarnwick.dat is copied only where none exists: the copy in a
# portable folder is the user's own store and keeps the tables the user added.
# The copy runs at every build (it takes no time), so changed language files reach the
# program without a relink.
function(tarnwick_ship_data target)
  add_custom_target(${target}_data ALL
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${PROJECT_SOURCE_DIR}/data/Langs
            $<TARGET_FILE_DIR:${target}>/Langs
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${PROJECT_SOURCE_DIR}/data/Help
            $<TARGET_FILE_DIR:${target}>/Help
    COMMAND ${CMAKE_COMMAND} -DSOURCE=${PROJECT_SOURCE_DIR}/data/Tarnwick.dat
            -DDESTINATION=$<TARGET_FILE_DIR:${target}>/Tarnwick.dat
            -P ${PROJECT_SOURCE_DIR}/cmake/CopyIfMissing.cmake
    VERBATIM)
endfunction()
