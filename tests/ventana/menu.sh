#!/bin/bash
# The real window: "Brikando", 320x240, showing the menu image; ESCAPE and
# the window's close request both end the game with status 0, in the menu
# and in play.
# usage: menu.sh BUILD_DIR IMG_DIR CIERRA_VENTANA

. "$(dirname "$0")/comun.sh"
BUILD=$1
IMG=$2
CIERRA=$3

arranca_xvfb

arranca_juego "$BUILD" ./brikando
eval "$(xdotool getwindowgeometry --shell "$VENTANA")"
[ "$WIDTH" = 320 ] && [ "$HEIGHT" = 240 ] || falla "window is ${WIDTH}x${HEIGHT}"
espera_imagen "$IMG/menu_principal.png" 5 || falla "the window does not show the menu image"
tecla Escape
espera_fin 5 0 "ESCAPE in the menu"
[ -s "$TRABAJO/salida.txt" ] && falla "wrote to standard output: $(cat "$TRABAJO/salida.txt")"

arranca_juego "$BUILD" ./brikando
"$CIERRA" "$VENTANA"
espera_fin 5 0 "closing the window in the menu"

arranca_juego "$BUILD" ./brikando
tecla Return
sleep 0.5
"$CIERRA" "$VENTANA"
espera_fin 5 0 "closing the window in play"

echo "menu window: ok"
