#!/bin/bash
# The real game in a real window under Xvfb, driven with xdotool: the window
# "Brikando", 320x240, shows the menu image pixel for pixel; RETURN brings a
# piece in at the top; the close request exits 0, nothing written. With
# SDL12COMPAT_WINDOW_SCALING=2 the window is the menu scaled by
# BRIKANDO_ESCALA (2 over sdl12-compat; SDL 1.2 ignores it), and ESCAPE in
# the menu exits 0.
# usage: ventana.sh BUILD_DIR IMG_DIR CIERRA_VENTANA

. "$(dirname "$0")/../tools/xvfb.sh"
BUILD=$1 IMG=$2 CIERRA=$3
# A sanitizer build needs full stacks for its suppressions to name the libX11
# function that leaks; other builds ignore these.
export ASAN_OPTIONS="fast_unwind_on_malloc=0:${ASAN_OPTIONS:-}"
[ -z "${BRIKANDO_LSAN:-}" ] || export LSAN_OPTIONS="suppressions=$BRIKANDO_LSAN:${LSAN_OPTIONS:-}"

tamano() {
    xdotool getwindowgeometry "$VENTANA" | grep -o '[0-9]*x[0-9]*'
}

arranca_xvfb 1024x768x24
arranca_juego "$BUILD" ./brikando
[ "$(tamano)" = 320x240 ] || falla "the window is $(tamano)"
espera_imagen "$IMG/menu_principal.png" 5 || falla "the window does not show the menu image"
tecla Return
sleep 0.5
captura "$TRABAJO/juego.png"
[ "$(diferencia "$TRABAJO/juego.png" "$IMG/BackGroundT.png" 40x40+150+8)" != 0 ] || falla "no piece at the spawn point"
"$CIERRA" "$VENTANA"
espera_fin 5 0 "closing the window"
[ -s "$TRABAJO/salida.txt" ] && falla "wrote to standard output: $(cat "$TRABAJO/salida.txt")"

escala=${BRIKANDO_ESCALA:-1}
convert "$IMG/menu_principal.png" -scale $((100 * escala))% "png24:$TRABAJO/menu.png"
SDL12COMPAT_WINDOW_SCALING=2 SDL12COMPAT_SCALE_METHOD=nearest arranca_juego "$BUILD" ./brikando
[ "$(tamano)" = $((320 * escala))x$((240 * escala)) ] || falla "SDL12COMPAT_WINDOW_SCALING=2 gave $(tamano)"
espera_imagen "$TRABAJO/menu.png" 5 || falla "the window does not show the menu scaled by $escala"
tecla Escape
espera_fin 5 0 "ESCAPE in the menu"
echo "window: ok"
