#!/bin/bash
# A game in the real window, driven with xdotool: a piece appears at the top
# of the board; with DOWN held pieces land and stack until the stack reaches
# the top and the menu comes back; p freezes the screen and p again resumes;
# ESCAPE returns to the menu and ESCAPE again exits 0.
# usage: juego.sh BUILD_DIR IMG_DIR

. "$(dirname "$0")/comun.sh"
BUILD=$1
IMG=$2
FONDO="$IMG/BackGroundT.png"

# Whether the rectangle W H X Y of the screen shows the background only.
muestra_fondo() {
    captura "$TRABAJO/pantalla.png"
    recorta "$TRABAJO/pantalla.png" "$TRABAJO/a.png" "$@"
    recorta "$FONDO" "$TRABAJO/b.png" "$@"
    [ "$(diferencia "$TRABAJO/a.png" "$TRABAJO/b.png")" = 0 ]
}

arranca_xvfb
arranca_juego "$BUILD" ./brikando
espera_imagen "$IMG/menu_principal.png" 5 || falla "no menu"

tecla Return
sleep 0.4
muestra_fondo 40 40 150 8 && falla "no piece at the spawn point"
muestra_fondo 100 100 110 108 || falla "the lower board is not empty"

xdotool keydown Down
sleep 3
muestra_fondo 100 20 110 188 && { xdotool keyup Down; falla "nothing has landed after 3 s of DOWN"; }
espera_imagen "$IMG/menu_principal.png" 60 || { xdotool keyup Down; falla "the stack never reached the top"; }
xdotool keyup Down

tecla Return
sleep 0.5
tecla p
sleep 0.3
captura "$TRABAJO/pausa1.png"
sleep 1
captura "$TRABAJO/pausa2.png"
[ "$(diferencia "$TRABAJO/pausa1.png" "$TRABAJO/pausa2.png")" = 0 ] || falla "the screen moved while paused"
tecla p
sleep 1.8
captura "$TRABAJO/sigue.png"
[ "$(diferencia "$TRABAJO/pausa2.png" "$TRABAJO/sigue.png")" = 0 ] && falla "p again did not resume"

tecla Escape
espera_imagen "$IMG/menu_principal.png" 5 || falla "ESCAPE in play did not return to the menu"
tecla Escape
espera_fin 5 0 "ESCAPE in the menu"
[ -s "$TRABAJO/salida.txt" ] && falla "wrote to standard output: $(cat "$TRABAJO/salida.txt")"
echo "game window: ok"
