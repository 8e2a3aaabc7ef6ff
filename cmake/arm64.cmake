# 64-bit ARM (arm64): Raspberry Pi OS 64-bit, and the handhelds and boards
# on Debian or Ubuntu for it:
#   cmake -S . -B build-arm64 -DCMAKE_TOOLCHAIN_FILE=cmake/arm64.cmake
set(BRIKANDO_ARQ arm64)
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(BRIKANDO_TRIPLETE aarch64-linux-gnu)
set(BRIKANDO_QEMU qemu-aarch64-static)
include(${CMAKE_CURRENT_LIST_DIR}/ArmLinux.cmake)
