# Compiles a one-line resource script naming the icon with the MinGW resource compiler,
# as the Windows build does; windres refuses an icon file it cannot read.
# Run by CTest as: cmake -DWINDRES=... -DICON=... -DWORK_DIR=... -P <this file>
file(MAKE_DIRECTORY "${WORK_DIR}")
file(WRITE "${WORK_DIR}/icon.rc" "1 ICON \"${ICON}\"\n")
file(REMOVE "${WORK_DIR}/icon.res")
execute_process(COMMAND "${WINDRES}" -O coff -i "${WORK_DIR}/icon.rc" -o "${WORK_DIR}/icon.res"
                RESULT_VARIABLE result ERROR_VARIABLE errors)
if(NOT result EQUAL 0 OR NOT EXISTS "${WORK_DIR}/icon.res")
  message(FATAL_ERROR "windres refused the icon: ${errors}")
endif()
