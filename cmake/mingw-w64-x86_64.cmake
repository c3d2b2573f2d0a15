# Cross-building the Windows program (Gravisk.exe) on Linux with Debian's mingw-w64
# (g++-mingw-w64-x86-64). Used by the `windows` preset; resources go through the
# matching windres.

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(_gravisk_mingw x86_64-w64-mingw32)
# The win32 thread model needs no winpthread library; the game starts no threads.
find_program(_gravisk_mingw_cxx NAMES ${_gravisk_mingw}-g++-win32 ${_gravisk_mingw}-g++-posix
                                       ${_gravisk_mingw}-g++ REQUIRED)
find_program(_gravisk_mingw_cc NAMES ${_gravisk_mingw}-gcc-win32 ${_gravisk_mingw}-gcc-posix
                                      ${_gravisk_mingw}-gcc REQUIRED)
set(CMAKE_CXX_COMPILER ${_gravisk_mingw_cxx})
set(CMAKE_C_COMPILER ${_gravisk_mingw_cc})
set(CMAKE_RC_COMPILER ${_gravisk_mingw}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${_gravisk_mingw})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Everything statically linked: the program needs no DLL beyond Windows' own. No link
# time in the PE header, so that the same sources always give the same Gravisk.exe.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++ -Wl,--no-insert-timestamp")
