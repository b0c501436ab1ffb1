# cmake -DSOURCE=file -DDESTINATION=file -P CopyIfMissing.cmake
if(EXISTS "${SOURCE}" AND NOT EXISTS "${DESTINATION}")
  file(COPY_FILE "${SOURCE}" "${DESTINATION}")
endif()
