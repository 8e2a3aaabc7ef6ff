# Installing, and the Debian package that `cpack -G DEB` builds from the
# same rules. The layout follows Debian's games:
#   games/brikando                     the launcher, on players' PATH
#   lib/games/brikando/brikando        the binary
#   share/games/brikando/recursos/     the assets; the font is a link to the
#                                      system's, whose package we depend on
# plus the desktop entry, the AppStream metadata, the icons, the manual
# page and the documents.

set(_datos share/games/brikando)
install(TARGETS brikando DESTINATION lib/games/brikando)
install(DIRECTORY ${RECURSOS_DESTINO}/img ${RECURSOS_DESTINO}/maps_figures DESTINATION ${_datos}/recursos)
# Absolute, so that a tree unpacked or moved anywhere still finds the font.
set(_enlace ${CMAKE_BINARY_DIR}/instalar/fonts)
file(MAKE_DIRECTORY ${_enlace})
file(CREATE_LINK ${BRIKANDO_FUENTE} ${_enlace}/comicsans.ttf SYMBOLIC)
install(DIRECTORY ${_enlace} DESTINATION ${_datos}/recursos)
install(PROGRAMS ${CMAKE_SOURCE_DIR}/tools/brikando-lanzador.sh DESTINATION games RENAME brikando)

# Software centres list the game by its AppStream id, which names the
# desktop entry, the metadata and the icons.
set(_id example.c_seed_922b7130.brikando)
set(_paquete ${CMAKE_SOURCE_DIR}/paquete)
install(FILES ${_paquete}/${_id}.desktop DESTINATION share/applications)
install(FILES ${_paquete}/${_id}.metainfo.xml DESTINATION share/metainfo)
foreach(_lado 32 48 64 128 256)
  install(FILES ${_paquete}/iconos/brikando-${_lado}.png
          DESTINATION share/icons/hicolor/${_lado}x${_lado}/apps RENAME ${_id}.png)
endforeach()

# Debian wants the manual page and the changelog compressed, reproducibly.
find_program(GZIP gzip REQUIRED)
set(_comprimidos)
foreach(_archivo brikando.6 changelog)
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/instalar/${_archivo}.gz
                     COMMAND ${GZIP} -9n -c ${_paquete}/${_archivo} > ${CMAKE_BINARY_DIR}/instalar/${_archivo}.gz
                     DEPENDS ${_paquete}/${_archivo} VERBATIM)
  list(APPEND _comprimidos ${CMAKE_BINARY_DIR}/instalar/${_archivo}.gz)
endforeach()
add_custom_target(documentos_comprimidos ALL DEPENDS ${_comprimidos})
install(FILES ${CMAKE_BINARY_DIR}/instalar/brikando.6.gz DESTINATION share/man/man6)
install(FILES ${CMAKE_BINARY_DIR}/instalar/changelog.gz ${_paquete}/copyright DESTINATION share/doc/brikando)
# Debian 13 and later validate the metadata with AppStream 1.0, which wants a
# homepage that the game does not have; Debian 12's lintian does not know the
# tag this fails and rejects an override of it. So the package carries that
# override only when it is built for Debian 13 or later.
set(_debian "")
if(EXISTS /etc/os-release)
  file(STRINGS /etc/os-release _debian REGEX "^VERSION_ID=")
  string(REGEX REPLACE "^VERSION_ID=\"?([^\"]*)\"?$" "\\1" _debian "${_debian}")
endif()
set(_anulaciones ${_paquete}/brikando.lintian-overrides)
if(_debian STREQUAL "" OR _debian VERSION_GREATER 12)
  list(APPEND _anulaciones ${_paquete}/brikando.lintian-overrides.appstream1)
endif()
set(_texto "")
foreach(_archivo ${_anulaciones})
  file(READ ${_archivo} _parte)
  string(APPEND _texto "${_parte}")
endforeach()
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${_anulaciones})
file(WRITE ${CMAKE_BINARY_DIR}/instalar/brikando.lintian-overrides "${_texto}")
install(FILES ${CMAKE_BINARY_DIR}/instalar/brikando.lintian-overrides DESTINATION share/lintian/overrides
        RENAME brikando)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME brikando)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Brikando maintainers <maintainers@users.noreply.c-seed-922b7130.example>")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Cross-built, the package is the target's: armhf or arm64.
if(CMAKE_CROSSCOMPILING)
  execute_process(COMMAND dpkg-architecture -t${CMAKE_LIBRARY_ARCHITECTURE} -qDEB_HOST_ARCH
                  OUTPUT_VARIABLE CPACK_DEBIAN_PACKAGE_ARCHITECTURE OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
endif()
set(CPACK_DEBIAN_PACKAGE_DEPENDS ${BRIKANDO_PAQUETE_FUENTE})
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "falling-blocks puzzle game for small screens
Pieces fall into a well ten cells wide and twenty high. Steer them, turn
them and fill rows from wall to wall to clear them; clearing several rows
at once, and soon after the last ones, scores more.
.
Made for a Linux handheld with a 320x240 screen, it plays just as well in
a desktop window.")
# The same package from every build of a commit: CPack dates everything in
# it at SOURCE_DATE_EPOCH, which is the last commit's time unless set.
execute_process(COMMAND git -C ${CMAKE_SOURCE_DIR} log -1 --format=%ct
                OUTPUT_VARIABLE _fecha OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
if(_fecha)
  set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_BINARY_DIR}/CPackFecha.cmake)
  file(WRITE ${CPACK_PROJECT_CONFIG_FILE} "if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})\n  set(ENV{SOURCE_DATE_EPOCH} ${_fecha})\nendif()\n")
endif()
include(CPack)
