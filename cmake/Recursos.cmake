# The runnable tree: the game reads recursos/ from its working directory, so
# the build directory gets the binary and a complete copy of the assets.

# The score font is DejaVu Sans Bold from Debian's fonts-dejavu-core, found
# through fontconfig and renamed to the file the game opens.
if(NOT BRIKANDO_FUENTE)
  find_program(FC_MATCH fc-match)
  if(FC_MATCH)
    execute_process(COMMAND ${FC_MATCH} -f "%{file}" "DejaVu Sans:style=Bold"
                    OUTPUT_VARIABLE _fuente OUTPUT_STRIP_TRAILING_WHITESPACE)
  endif()
  if(NOT _fuente MATCHES "DejaVuSans-Bold\\.ttf$")
    message(FATAL_ERROR "DejaVu Sans Bold not found: install fonts-dejavu-core and fontconfig, "
                        "or pass -DBRIKANDO_FUENTE=/path/to/a/font.ttf")
  endif()
  set(BRIKANDO_FUENTE "${_fuente}" CACHE FILEPATH "TrueType font copied to recursos/fonts/comicsans.ttf")
endif()

# Its licence travels with it: Debian keeps it as the owning package's copyright file.
if(NOT BRIKANDO_LICENCIA_FUENTE)
  execute_process(COMMAND dpkg-query -S "${BRIKANDO_FUENTE}" OUTPUT_VARIABLE _paquete
                  RESULT_VARIABLE _rc ERROR_QUIET)
  string(REGEX REPLACE ":.*" "" _paquete "${_paquete}")
  if(NOT _rc EQUAL 0 OR NOT EXISTS "/usr/share/doc/${_paquete}/copyright")
    message(FATAL_ERROR "No licence found for ${BRIKANDO_FUENTE}: pass -DBRIKANDO_LICENCIA_FUENTE=/path/to/its/licence")
  endif()
  set(BRIKANDO_LICENCIA_FUENTE "/usr/share/doc/${_paquete}/copyright" CACHE FILEPATH "Licence of the font")
endif()

set(RECURSOS_ORIGEN ${CMAKE_SOURCE_DIR}/recursos)
set(RECURSOS_DESTINO ${CMAKE_BINARY_DIR}/recursos)
set(_copias)
function(_copia_recurso origen destino)
  add_custom_command(OUTPUT ${destino}
                     COMMAND ${CMAKE_COMMAND} -E copy ${origen} ${destino}
                     DEPENDS ${origen} VERBATIM)
  set(_copias ${_copias} ${destino} PARENT_SCOPE)
endfunction()

file(GLOB _imagenes CONFIGURE_DEPENDS ${RECURSOS_ORIGEN}/img/*.png)
file(GLOB _figuras CONFIGURE_DEPENDS ${RECURSOS_ORIGEN}/maps_figures/*.txt)
foreach(_origen IN LISTS _imagenes _figuras)
  file(RELATIVE_PATH _relativo ${RECURSOS_ORIGEN} ${_origen})
  _copia_recurso(${_origen} ${RECURSOS_DESTINO}/${_relativo})
endforeach()
_copia_recurso(${BRIKANDO_FUENTE} ${RECURSOS_DESTINO}/fonts/comicsans.ttf)
_copia_recurso(${BRIKANDO_LICENCIA_FUENTE} ${RECURSOS_DESTINO}/fonts/LICENCIA-DejaVu.txt)

add_custom_target(arbol_ejecutable ALL DEPENDS ${_copias})
add_dependencies(brikando arbol_ejecutable)
set_target_properties(brikando PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})

# Installed, the same tree lives in lib/brikando and a launcher on PATH
# starts the game from there.
install(TARGETS brikando DESTINATION lib/brikando)
install(DIRECTORY ${RECURSOS_DESTINO} DESTINATION lib/brikando)
install(PROGRAMS ${CMAKE_SOURCE_DIR}/tools/brikando-lanzador.sh DESTINATION bin RENAME brikando)
