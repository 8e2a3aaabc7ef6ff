#!/bin/bash
# The real game in a real window driven with xdotool, optionally under a
# command such as valgrind: the window "Brikando", 320x240, shows the menu
# image; a game shows a piece at the top, and with DOWN held the pieces
# stack up until the menu comes back; p freezes the screen, p again resumes;
# ESCAPE leaves the game, ESCAPE again exits 0, and nothing was written.
# Without a command, the close request also ends it, in the menu and in play;
# and with SDL12COMPAT_WINDOW_SCALING=2 the window is the menu scaled by
# BRIKANDO_ESCALA: 2 over sdl12-compat, 1 (unaffected) over SDL 1.2.
# usage: ventana.sh BUILD_DIR IMG_DIR CIERRA_VENTANA [COMMAND...]

. "$(dirname "$0")/comun.sh"
BUILD=$1 IMG=$2 CIERRA=$3
shift 3
MENU="$IMG/menu_principal.png"
ESPERA=$([ $# = 0 ] && echo 5 || echo 60)  # valgrind is slow

# Whether the part WxH+X+Y of the window shows the background only.
fondo() {
    captura "$TRABAJO/pantalla.png"
    [ "$(diferencia "$TRABAJO/pantalla.png" "$IMG/BackGroundT.png" "$1")" = 0 ]
}

tamano() {
    xdotool getwindowgeometry "$VENTANA" | grep -o '[0-9]*x[0-9]*'
}

arranca_xvfb 1024x768x24
arranca_juego "$BUILD" "$@" ./brikando
[ "$(tamano)" = 320x240 ] || falla "the window is $(tamano)"
espera_imagen "$MENU" "$ESPERA" || falla "the window does not show the menu image"
tecla Return
sleep 1
fondo 40x40+150+8 && falla "no piece at the spawn point"
fondo 100x100+110+108 || falla "the lower board is not empty"
xdotool keydown Down
espera_imagen "$MENU" $((ESPERA * 12)) || { xdotool keyup Down; falla "the stack never reached the top"; }
xdotool keyup Down

tecla Return
sleep 1
tecla p
sleep 0.5
captura "$TRABAJO/pausa1.png"
sleep 1
captura "$TRABAJO/pausa2.png"
[ "$(diferencia "$TRABAJO/pausa1.png" "$TRABAJO/pausa2.png")" = 0 ] || falla "the screen moved while paused"
tecla p
sleep 1.8
captura "$TRABAJO/sigue.png"
[ "$(diferencia "$TRABAJO/pausa2.png" "$TRABAJO/sigue.png")" = 0 ] && falla "p again did not resume"
tecla Escape
espera_imagen "$MENU" "$ESPERA" || falla "ESCAPE in play did not return to the menu"
tecla Escape
espera_fin $((ESPERA * 12)) 0 "ESCAPE in the menu"
[ -s "$TRABAJO/salida.txt" ] && falla "wrote to standard output: $(cat "$TRABAJO/salida.txt")"
if [ $# != 0 ]; then
    grep -E 'ERROR SUMMARY|definitely lost|indirectly lost|suppressed:' "$TRABAJO/errores.txt" || true
    exit 0
fi

escala=${BRIKANDO_ESCALA:-1}
convert "$MENU" -scale $((100 * escala))% "png24:$TRABAJO/menu.png"
SDL12COMPAT_WINDOW_SCALING=2 SDL12COMPAT_SCALE_METHOD=nearest arranca_juego "$BUILD" ./brikando
[ "$(tamano)" = $((320 * escala))x$((240 * escala)) ] || falla "SDL12COMPAT_WINDOW_SCALING=2 gave $(tamano)"
espera_imagen "$TRABAJO/menu.png" 5 || falla "the window does not show the menu scaled by $escala"
tecla Escape
espera_fin 5 0 "ESCAPE in the scaled menu"
for donde in menu play; do
    arranca_juego "$BUILD" ./brikando
    [ $donde = menu ] || { tecla Return && sleep 0.5; }
    "$CIERRA" "$VENTANA"
    espera_fin 5 0 "closing the window in $donde"
done
echo "window: ok"
