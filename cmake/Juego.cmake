# The game's sources but main.cpp, which the desktop build and the web page
# both build.
get_filename_component(_src ${CMAKE_CURRENT_LIST_DIR}/../src ABSOLUTE)
set(BRIKANDO_FUENTES
  ${_src}/timer.cpp ${_src}/bloques.cpp ${_src}/texto.cpp ${_src}/cuadricula.cpp
  ${_src}/figuras.cpp ${_src}/mando.cpp ${_src}/ventana.cpp ${_src}/principal.cpp)
