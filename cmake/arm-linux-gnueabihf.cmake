# Cross-building the Linux program for 32-bit ARM with hardware floating point
# (Debian's armhf: Raspberry Pi OS on the older boards) with crossbuild-essential-armhf
# and libsdl2-dev:armhf. Used by the `armhf` preset and the release; tests run under
# qemu-arm-static.
set(CMAKE_SYSTEM_PROCESSOR armv7l)
set(GRAVISK_TRIPLET arm-linux-gnueabihf)
set(GRAVISK_QEMU_NAME qemu-arm-static)
include(${CMAKE_CURRENT_LIST_DIR}/debian-multiarch.cmake)
