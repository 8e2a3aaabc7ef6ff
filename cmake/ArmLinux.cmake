# Cross-building for ARM Linux with Debian's crossbuild-essential-ARCH,
# included by the thin toolchain files armhf.cmake (32-bit, the handheld)
# and arm64.cmake (64-bit), which set BRIKANDO_ARQ (Debian's architecture),
# CMAKE_SYSTEM_PROCESSOR, the GNU triplet BRIKANDO_TRIPLETE and the
# emulator BRIKANDO_QEMU.
#
# Debian cannot install SDL 1.2's development package for two architectures
# at once, so this compiles against the native headers (SDL's types have
# fixed sizes and every target is little-endian) and links against the
# target's runtime libraries that multiarch installs (libsdl1.2debian:ARCH
# and friends). pkg-config is pointed at small .pc files written here, which
# name those libraries through links in the build tree.
# The game and its package build without qemu-user; ctest runs the tests
# under it.

set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_C_COMPILER ${BRIKANDO_TRIPLETE}-gcc)
set(CMAKE_CXX_COMPILER ${BRIKANDO_TRIPLETE}-g++)
set(CMAKE_LIBRARY_ARCHITECTURE ${BRIKANDO_TRIPLETE})

set(_multiarch /usr/lib/${BRIKANDO_TRIPLETE})
# Only running the target's programs, the tests, needs qemu-user. The loader
# and C library come from multiarch (libc6:ARCH), as the other libraries do:
# with the cross toolchain's copy (qemu -L) a forked child crashes in libc.
find_program(QEMU ${BRIKANDO_QEMU})
if(QEMU)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${QEMU})
else()
  set(CMAKE_CROSSCOMPILING_EMULATOR sh -c
      "echo 'Running ${BRIKANDO_ARQ} programs needs ${BRIKANDO_QEMU}: apt-get install qemu-user-static' >&2 && false" --)
endif()

# Only the target's libraries and packages; programs come from the host.
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)

# try_compile reads this file again in a scratch tree that is then deleted.
get_property(_en_prueba GLOBAL PROPERTY IN_TRY_COMPILE)
if(_en_prueba)
  return()
endif()

set(_sdl ${CMAKE_BINARY_DIR}/sdl-${BRIKANDO_ARQ})
file(MAKE_DIRECTORY ${_sdl}/lib ${_sdl}/pkgconfig)
foreach(_par "SDL;libSDL-1.2.so.0;sdl;1.2.15" "SDL_image;libSDL_image-1.2.so.0;SDL_image;1.2.12"
             "SDL_ttf;libSDL_ttf-2.0.so.0;SDL_ttf;2.0.11")
  list(GET _par 0 _nombre)
  list(GET _par 1 _soname)
  list(GET _par 2 _modulo)
  list(GET _par 3 _version)
  if(NOT EXISTS ${_multiarch}/${_soname})
    message(FATAL_ERROR "${_multiarch}/${_soname} is missing: install the ${BRIKANDO_ARQ} runtime "
                        "libraries (see Porting in HACKING.md)")
  endif()
  file(CREATE_LINK ${_multiarch}/${_soname} ${_sdl}/lib/lib${_nombre}.so SYMBOLIC)
  set(_requiere "")
  if(NOT _nombre STREQUAL "SDL")
    set(_requiere "Requires: sdl\n")
  endif()
  file(WRITE ${_sdl}/pkgconfig/${_modulo}.pc
       "Name: ${_modulo}\nDescription: ${_nombre} for ${BRIKANDO_ARQ}\nVersion: ${_version}\n${_requiere}"
       "Cflags: -I/usr/include/SDL -D_GNU_SOURCE=1 -D_REENTRANT\n"
       "Libs: -L${_sdl}/lib -l${_nombre}\n")
endforeach()
set(ENV{PKG_CONFIG_LIBDIR} ${_sdl}/pkgconfig)
# Those links are for the linker only: at run time the loader finds the
# libraries by soname in multiarch, and an RPATH to the build tree would
# leave room for the build's path in the binary, which must not depend on it.
set(CMAKE_SKIP_BUILD_RPATH ON)
set(ENV{PKG_CONFIG_PATH} "")
