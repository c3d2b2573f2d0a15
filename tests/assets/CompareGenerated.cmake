# Runs gravisk_assetgen into an empty folder and compares every file it writes, byte for
# byte, with the committed one in assets/: the committed pictures must be its output.
# Run by CTest as: cmake -DGENERATOR=... -DASSET_DIR=... -DWORK_DIR=... -P <this file>;
# in a cross build, -DEMULATOR=... runs the generator (qemu for ARM).
file(REMOVE_RECURSE "${WORK_DIR}")
execute_process(COMMAND ${EMULATOR} "${GENERATOR}" "${WORK_DIR}" RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "gravisk_assetgen failed: ${result}")
endif()

set(expected dirt.bmp door.bmp grass.bmp gravisk.ico hero.bmp rock.bmp wall.bmp)
file(GLOB written RELATIVE "${WORK_DIR}" "${WORK_DIR}/*")
list(SORT written)
if(NOT written STREQUAL expected)
  message(FATAL_ERROR "gravisk_assetgen wrote [${written}], expected [${expected}]")
endif()

set(differing "")
foreach(name IN LISTS expected)
  execute_process(COMMAND "${CMAKE_COMMAND}" -E compare_files "${WORK_DIR}/${name}"
                          "${ASSET_DIR}/${name}" RESULT_VARIABLE different)
  if(NOT different EQUAL 0)
    list(APPEND differing "${name}")
  endif()
endforeach()
if(differing)
  message(FATAL_ERROR "regenerated files differ from assets/: ${differing}")
endif()
list(LENGTH expected count)
message(STATUS "all ${count} regenerated files equal the committed ones")
