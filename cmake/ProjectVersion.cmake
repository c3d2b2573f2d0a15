# Prints the release version, the VERSION given to project() in the top
# CMakeLists.txt, for the scripts that name the release files:
#   cmake -P cmake/ProjectVersion.cmake
# Fails unless there is exactly one project() line with a VERSION of numbers.
file(STRINGS "${CMAKE_CURRENT_LIST_DIR}/../CMakeLists.txt" _lines REGEX "^[ \t]*project[ \t]*\\(")
list(LENGTH _lines _count)
if(NOT _count EQUAL 1)
  message(FATAL_ERROR "CMakeLists.txt: expected one project() line, found ${_count}")
endif()
if(NOT _lines MATCHES "[ \t(]VERSION[ \t]+([0-9]+(\\.[0-9]+)*)[ \t)]")
  message(FATAL_ERROR "CMakeLists.txt: project() has no VERSION: ${_lines}")
endif()
execute_process(COMMAND "${CMAKE_COMMAND}" -E echo "${CMAKE_MATCH_1}")
