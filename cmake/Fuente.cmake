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

# The Debian package that owns the font: the game's package depends on it.
execute_process(COMMAND dpkg-query -S "${BRIKANDO_FUENTE}" OUTPUT_VARIABLE _paquete
                RESULT_VARIABLE _rc ERROR_QUIET)
string(REGEX REPLACE ":.*" "" _paquete "${_paquete}")
if(_rc EQUAL 0)
  set(BRIKANDO_PAQUETE_FUENTE "${_paquete}")
endif()

# Its licence travels with it: Debian keeps it as the owning package's copyright file.
if(NOT BRIKANDO_LICENCIA_FUENTE)
  set(_licencia "/usr/share/doc/${BRIKANDO_PAQUETE_FUENTE}/copyright")
  if(NOT BRIKANDO_PAQUETE_FUENTE OR NOT EXISTS "${_licencia}")
    message(FATAL_ERROR "No licence found for ${BRIKANDO_FUENTE}: pass -DBRIKANDO_LICENCIA_FUENTE=/path/to/its/licence")
  endif()
  set(BRIKANDO_LICENCIA_FUENTE "${_licencia}" CACHE FILEPATH "Licence of the font")
endif()
