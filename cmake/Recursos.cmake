# The runnable tree: the game reads recursos/ from its working directory, so
# the build directory gets the binary and a complete copy of the assets.

include(${CMAKE_CURRENT_LIST_DIR}/Fuente.cmake)

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
