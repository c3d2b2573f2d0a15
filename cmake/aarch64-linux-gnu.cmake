# Cross-building the Linux program for 64-bit ARM (Debian's arm64: Raspberry Pi OS
# 64-bit and other ARM Linux) with crossbuild-essential-arm64 and libsdl2-dev:arm64.
# Used by the `arm64` preset and the release; tests run under qemu-aarch64-static.
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(GRAVISK_TRIPLET aarch64-linux-gnu)
set(GRAVISK_QEMU_NAME qemu-aarch64-static)
include(${CMAKE_CURRENT_LIST_DIR}/debian-multiarch.cmake)
