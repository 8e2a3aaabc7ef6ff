#!/bin/bash
# The installed package, as a player starts it: its launcher opens the menu
# in a window under Xvfb, and ESCAPE quits with status 0, nothing written.
. "$(dirname "$0")/../tools/xvfb.sh"
arranca_xvfb
arranca_juego / /usr/games/brikando
espera_imagen /usr/share/games/brikando/recursos/img/menu_principal.png 5 || falla "no menu"
tecla Escape
espera_fin 5 0 "ESCAPE in the menu"
[ ! -s "$TRABAJO/salida.txt" ] || falla "wrote to standard output: $(cat "$TRABAJO/salida.txt")"
echo "installed game: ok"
