#!/bin/bash
# The real game in a real window under Xvfb, driven with xdotool: "Brikando",
# 320x240, the menu pixel for pixel; RETURN brings a piece in, drawn pixel for
# pixel, which the arrows turn and take to both walls; hidden and shown again
# in the menu, in play and paused, the window comes back with its picture;
# closing exits 0, with nothing written. SDL12COMPAT_WINDOW_SCALING=2 scales
# the menu by 2 over sdl12-compat and by 1 over the classic library, and
# ESCAPE there exits 0. Over sdl12-compat, then, a game on a virtual pad.
# usage: ventana.sh BUILD_DIR IMG_DIR CIERRA_VENTANA MANDO_VIRTUAL

. "$(dirname "$0")/../tools/xvfb.sh"
BUILD=$1 IMG=$2 CIERRA=$3 MANDO=$4
# A sanitizer build needs full stacks for its suppressions to name the
# libraries that leak, and must let the virtual pad be preloaded before its
# runtime; other builds ignore these.
export ASAN_OPTIONS="fast_unwind_on_malloc=0:verify_asan_link_order=0:${ASAN_OPTIONS:-}"
[ -z "${BRIKANDO_LSAN:-}" ] || export LSAN_OPTIONS="suppressions=$BRIKANDO_LSAN:${LSAN_OPTIONS:-}"

tamano() {
    xdotool getwindowgeometry "$VENTANA" | grep -o '[0-9]*x[0-9]*'
}
# Waits up to 5 s for the blocks on the board, w x h pixels at (x, y), to meet $1.
espera() {
    local hasta=$((SECONDS + 5))
    while ((SECONDS < hasta)); do
        captura "$TRABAJO/b.png"
        IFS='x+' read -r w h x y < <(convert "$TRABAJO/b.png" "$IMG/BackGroundT.png" -compose difference -composite \
            -crop 100x200+110+8 +repage -threshold 0 -bordercolor black -border 1 -format '%@\n' info: 2>/dev/null)
        x=$((x - 1)) y=$((y - 1))
        (($1)) && return 0
    done
    falla "$2: blocks of $w x $h at $x,$y"
}
# Holds key $1 until the blocks meet $2, then lets go.
sostiene_tecla() {
    xdotool keydown --window "$VENTANA" "$1" && espera "$2" "$1 held" && xdotool keyup --window "$VENTANA" "$1"
}
# Hides the window and shows it again, as minimising and restoring do; within
# a few passes it must show image $2 again, or in the part $3 only (the
# background beside the board, which play does not change). $1 says where.
vuelve() {
    xdotool windowunmap --sync "$VENTANA" && xdotool windowmap --sync "$VENTANA"
    sleep 0.1
    captura "$TRABAJO/vuelta.png"
    [ "$(diferencia "$TRABAJO/vuelta.png" "$2" "${3:-}")" = 0 ] ||
        falla "hidden and shown in $1, the window came back wrong"
    xdotool windowfocus --sync "$VENTANA"
}

arranca_xvfb 1024x768x24
arranca_juego "$BUILD" ./brikando
[ "$(tamano)" = 320x240 ] || falla "the window is $(tamano)"
espera_imagen "$IMG/menu_principal.png" 5 || falla "the window does not show the menu image"
escala=1
# sdl12-compat scales windows; the running game's memory map says which SDL 1.2 it has.
es_sdl12_compat "$(awk '/libSDL-1\.2\.so/ {print $6; exit}' "/proc/$PID_JUEGO/maps")" && escala=2
vuelve "the menu" "$IMG/menu_principal.png"
tecla Return
espera 'h > 0 && h <= 40' "RETURN"
vuelve play "$IMG/BackGroundT.png" 100x240+0+0
tecla p && sleep 0.1 && captura "$TRABAJO/pausa.png"
vuelve "a paused game" "$TRABAJO/pausa.png"
tecla p
# Every piece has a block at the top left of its square: one of the images, pixel for pixel.
convert "$TRABAJO/b.png" -crop 10x10+$((110 + x))+$((8 + y)) +repage "png24:$TRABAJO/celda.png"
celda=no
for b in 0 1 2; do [ "$(diferencia "$TRABAJO/celda.png" "$IMG/block$b.png")" != 0 ] || celda=$b; done
[ $celda != no ] || falla "no block image at the top of the piece"
sostiene_tecla Up "w == $h && h == $w"
sostiene_tecla Left 'x == 0'
sostiene_tecla Right 'x + w == 100'
"$CIERRA" "$VENTANA"
espera_fin 5 0 "closing the window"
[ -s "$TRABAJO/salida.txt" ] && falla "wrote to standard output: $(cat "$TRABAJO/salida.txt")"

convert "$IMG/menu_principal.png" -scale $((100 * escala))% "png24:$TRABAJO/menu.png"
SDL12COMPAT_WINDOW_SCALING=2 SDL12COMPAT_SCALE_METHOD=nearest arranca_juego "$BUILD" ./brikando
[ "$(tamano)" = $((320 * escala))x$((240 * escala)) ] || falla "SDL12COMPAT_WINDOW_SCALING=2 gave $(tamano)"
espera_imagen "$TRABAJO/menu.png" 5 || falla "the window does not show the menu scaled by $escala"
tecla Escape
espera_fin 5 0 "ESCAPE in the menu"
[ $escala = 2 ] || { echo "window: ok"; exit 0; }

mkfifo "$TRABAJO/mando"
arranca_juego "$BUILD" env LD_PRELOAD="$MANDO" MANDO_VIRTUAL="$TRABAJO/mando" ./brikando
exec 5<>"$TRABAJO/mando"  # read too: no waiting for the game to open it
espera_imagen "$IMG/menu_principal.png" 5 || falla "no menu with the pad attached"
mando() { echo "$*" >&5; }
# The pad reports states, not events: a press must last until SDL reads it.
pulsa() { mando boton "$1" 1 && sleep 0.1 && mando boton "$1" 0; }
# Holds "$1" until the blocks meet $2, then lets go.
sostiene() { mando "$1" && espera "$2" "$1 held" && mando "${1% *} 0"; }

pulsa 0
espera 'h > 0 && h <= 40' "A in the menu"
for girar in "boton 0 1" "cruceta 0 1" "eje 1 -32768"; do  # A, the D-pad's up, the stick's up
    sostiene "$girar" "w == $h && h == $w"
done
mando eje 0 -8192 && sleep 1 && espera "x == $x" "a quarter of the stick" && mando eje 0 0
sostiene "cruceta 0 8" 'x == 0'
sostiene "cruceta 0 2" 'x + w == 100'
sostiene "eje 0 -32768" 'x == 0'
sostiene "eje 0 32767" 'x + w == 100'
sostiene "eje 1 32767" 'y + h == 200'
pulsa 7 && sleep 0.3 && captura "$TRABAJO/pausa.png"
mando cruceta 0 8 && sleep 1.5 && mando cruceta 0 0 && captura "$TRABAJO/tras.png"
[ "$(diferencia "$TRABAJO/pausa.png" "$TRABAJO/tras.png")" = 0 ] || falla "the game moved while paused by Start"
pulsa 7 && sleep 1 && captura "$TRABAJO/tras.png"
[ "$(diferencia "$TRABAJO/pausa.png" "$TRABAJO/tras.png")" != 0 ] || falla "Start did not resume the game"
pulsa 6
espera_imagen "$IMG/menu_principal.png" 5 || falla "Back in a game did not return to the menu"
mando boton 6 1
espera_fin 5 0 "Back in the menu"
echo "window and pad: ok"
