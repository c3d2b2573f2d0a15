# What the ARM toolchain files share: Debian's cross compiler for the triplet the
# including file names (crossbuild-essential-<arch>), the target's libraries from
# this machine's multiarch folders (libsdl2-dev:<arch> in /usr/lib/<triplet>) or a
# root of their own (GRAVISK_SYSROOT), and qemu's user-mode emulator to run the
# target's programs (tests) here.

set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_LIBRARY_ARCHITECTURE ${GRAVISK_TRIPLET})

find_program(_gravisk_cross_cxx NAMES ${GRAVISK_TRIPLET}-g++ REQUIRED)
find_program(_gravisk_cross_cc NAMES ${GRAVISK_TRIPLET}-gcc REQUIRED)
set(CMAKE_CXX_COMPILER ${_gravisk_cross_cxx})
set(CMAKE_C_COMPILER ${_gravisk_cross_cc})

# Multiarch libraries live beside the build machine's own under /, so the search
# root stays /; CMAKE_LIBRARY_ARCHITECTURE points it at /usr/lib/<triplet>. pkg-config
# is told to read only the target's .pc files.
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(ENV{PKG_CONFIG_LIBDIR} "/usr/lib/${GRAVISK_TRIPLET}/pkgconfig:/usr/share/pkgconfig")

# GRAVISK_SYSROOT: the target's libraries from a Debian root of their own instead
# (scripts/static-sdl.sh makes one for the Linux archive's cross builds).
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES GRAVISK_SYSROOT)
if(GRAVISK_SYSROOT)
  set(CMAKE_SYSROOT ${GRAVISK_SYSROOT})
  set(ENV{PKG_CONFIG_SYSROOT_DIR} ${GRAVISK_SYSROOT})
  set(ENV{PKG_CONFIG_LIBDIR}
      "${GRAVISK_SYSROOT}/usr/lib/${GRAVISK_TRIPLET}/pkgconfig:${GRAVISK_SYSROOT}/usr/share/pkgconfig")
endif()

# The target's programs run under qemu-user with no library prefix: the multiarch
# loader and C library are at the paths the programs name. (The cross toolchain's
# own folder as prefix would mix its loader with the multiarch C library.)
find_program(GRAVISK_QEMU NAMES ${GRAVISK_QEMU_NAME})
if(GRAVISK_QEMU)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${GRAVISK_QEMU})
endif()
