# The handheld's 32-bit ARM (armhf):
#   cmake -S . -B build-armhf -DCMAKE_TOOLCHAIN_FILE=cmake/armhf.cmake
set(BRIKANDO_ARQ armhf)
set(CMAKE_SYSTEM_PROCESSOR arm)
set(BRIKANDO_TRIPLETE arm-linux-gnueabihf)
set(BRIKANDO_QEMU qemu-arm-static)
include(${CMAKE_CURRENT_LIST_DIR}/ArmLinux.cmake)
