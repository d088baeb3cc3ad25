# cmake -P copy_if_missing.cmake <from> <to>
# Copies <from> to <to> only when <to> does not exist yet: a file already
# there is left exactly as it is.
if(NOT CMAKE_ARGC EQUAL 5)
  message(FATAL_ERROR "usage: cmake -P copy_if_missing.cmake <from> <to>")
endif()
set(from "${CMAKE_ARGV3}")
set(to "${CMAKE_ARGV4}")
if(NOT EXISTS "${to}" AND NOT IS_SYMLINK "${to}")
  file(COPY_FILE "${from}" "${to}")
endif()
