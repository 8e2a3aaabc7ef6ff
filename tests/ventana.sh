#!/bin/bash
# The real game in a real window under Xvfb (1280x960), driven with xdotool:
# "Brikando", 960x720 over sdl12-compat (the largest whole multiple within
# 85% of the screen, no GL library mapped) and 320x240 over the classic
# library, the menu pixel for pixel; F11 to full screen and back, in the
# menu, in play and paused; RETURN brings a piece in, drawn pixel for pixel,
# which the arrows turn and take to both walls; hidden and shown again, the
# window comes back with its picture; closing exits 0, with nothing written.
# A player's SDL12COMPAT_WINDOW_SCALING=1 gives 320x240. Over sdl12-compat
# then: Wayland, a backend without a software framebuffer, still opens a
# window, and so does a failed software path; and a game on a virtual pad,
# in SDL2's game-controller layout and in Linux's.
# usage: ventana.sh BUILD_DIR IMG_DIR GESTOR_VENTANAS MANDO_VIRTUAL ESPIA_SDL

. "$(dirname "$0")/../tools/xvfb.sh"
BUILD=$1 IMG=$2 GESTOR=$3 MANDO=$4 ESPIA=$5
# A sanitizer build needs full stacks for its suppressions to name the
# libraries that leak, and must let the helpers be preloaded before its
# runtime; other builds ignore these.
export ASAN_OPTIONS="fast_unwind_on_malloc=0:verify_asan_link_order=0:${ASAN_OPTIONS:-}"
[ -z "${BRIKANDO_LSAN:-}" ] || export LSAN_OPTIONS="suppressions=$BRIKANDO_LSAN:${LSAN_OPTIONS:-}"

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
# Hides the window and shows it again, as minimising and restoring do: it
# must come back with image $2, or with part $3 of it. $1 says where.
vuelve() {
    xdotool windowunmap --sync "$VENTANA" && xdotool windowmap --sync "$VENTANA"
    espera_imagen "$2" 5 "${3:-}" || falla "hidden and shown in $1, the window came back wrong"
    xdotool windowfocus --sync "$VENTANA"
}
# F11 and back, in $1: the screen shows image $2 whole (sdl12-compat scales
# it to the screen, the classic library centres it), then the window does
# again, at its own size, with image $2 or part $3 of it.
completa() {
    local antes
    antes=$(tamano)
    tecla F11
    for _ in $(seq 50); do
        xwd -root -silent | convert xwd:- -crop "$PANTALLA_COMPLETA" +repage -sample 320x240 "png24:$TRABAJO/completa.png"
        [ "$(diferencia "$TRABAJO/completa.png" "$2" "${3:-}")" = 0 ] && break
        sleep 0.1
    done
    [ "$(diferencia "$TRABAJO/completa.png" "$2" "${3:-}")" = 0 ] || falla "F11 in $1 did not show the picture on the whole screen"
    tecla F11
    for _ in $(seq 50); do [ "$(tamano)" = "$antes" ] && break; sleep 0.1; done
    [ "$(tamano)" = "$antes" ] || falla "F11 again in $1 left a window of $(tamano), not $antes"
    espera_imagen "$2" 5 "${3:-}" || falla "back from full screen in $1, the window came back wrong"
    xdotool windowfocus --sync "$VENTANA"
}
# Whether the running game has an OpenGL library mapped.
usa_gl() {
    grep -qE '/lib(GL|GLX|EGL|LLVM)[-_.]|_dri\.so' "/proc/$PID_JUEGO/maps"
}

arranca_xvfb 1280x960x24
"$GESTOR" pantalla-completa &
AYUDANTES="$AYUDANTES $!"
arranca_juego "$BUILD" ./brikando
# sdl12-compat scales; the running game's memory map says which SDL 1.2 it has.
if es_sdl12_compat "$(awk '/libSDL-1\.2\.so/ {print $6; exit}' "/proc/$PID_JUEGO/maps")"; then
    COMPAT=true ESCALA=3 PANTALLA_COMPLETA=1280x960+0+0
    ! usa_gl || falla "an OpenGL library is mapped: $(grep -oE '[^ /]*(GL|LLVM|_dri)[^ ]*' "/proc/$PID_JUEGO/maps" | sort -u)"
else
    COMPAT=false ESCALA=1 PANTALLA_COMPLETA=320x240+480+360
fi
[ "$(tamano)" = $((320 * ESCALA))x$((240 * ESCALA)) ] || falla "the window is $(tamano)"
convert "$IMG/menu_principal.png" -sample $((100 * ESCALA))% "png24:$TRABAJO/menu.png"
xwd -id "$VENTANA" -silent | convert xwd:- "png24:$TRABAJO/ventana.png"
[ "$(diferencia "$TRABAJO/ventana.png" "$TRABAJO/menu.png")" = 0 ] ||
    espera_imagen "$IMG/menu_principal.png" 5 || falla "the window does not show the menu image"
vuelve "the menu" "$IMG/menu_principal.png"
completa "the menu" "$IMG/menu_principal.png"
tecla Return
espera 'h > 0 && h <= 40' "RETURN"
vuelve play "$IMG/BackGroundT.png" 100x240+0+0
completa play "$IMG/BackGroundT.png" 100x240+0+0
tecla p && sleep 0.1 && captura "$TRABAJO/pausa.png"
vuelve "a paused game" "$TRABAJO/pausa.png"
completa "a paused game" "$TRABAJO/pausa.png"
tecla p
# Every piece has a block at the top left of its square: one of the images, pixel for pixel.
convert "$TRABAJO/b.png" -crop 10x10+$((110 + x))+$((8 + y)) +repage "png24:$TRABAJO/celda.png"
celda=no
for b in 0 1 2; do [ "$(diferencia "$TRABAJO/celda.png" "$IMG/block$b.png")" != 0 ] || celda=$b; done
[ $celda != no ] || falla "no block image at the top of the piece"
sostiene_tecla Up "w == $h && h == $w"
sostiene_tecla Left 'x == 0'
sostiene_tecla Right 'x + w == 100'
"$GESTOR" cierra "$VENTANA"
espera_fin 5 0 "closing the window"
[ -s "$TRABAJO/salida.txt" ] && falla "wrote to standard output: $(cat "$TRABAJO/salida.txt")"

SDL12COMPAT_WINDOW_SCALING=1 arranca_juego "$BUILD" ./brikando
[ "$(tamano)" = 320x240 ] || falla "SDL12COMPAT_WINDOW_SCALING=1 gave $(tamano)"
espera_imagen "$IMG/menu_principal.png" 5 || falla "no menu at SDL12COMPAT_WINDOW_SCALING=1"
tecla Escape
espera_fin 5 0 "ESCAPE in the menu"
$COMPAT || { echo "window: ok"; exit 0; }

# Wayland has no window framebuffer for SDL2's software path: Weston's kiosk
# shell, in a window of this X server, gives the game its whole 1280x960.
mkdir -m 700 "$TRABAJO/xdg"
XDG_RUNTIME_DIR="$TRABAJO/xdg" weston --backend=x11-backend.so --shell=kiosk-shell.so --use-pixman \
    --width=1280 --height=960 --socket=brikando --idle-time=0 >"$TRABAJO/weston.txt" 2>&1 &
WESTON=$! && AYUDANTES="$AYUDANTES $WESTON"
for _ in $(seq 100); do [ -S "$TRABAJO/xdg/brikando" ] && break; sleep 0.05; done
PID_JUEGO=""
# Mesa's EGL driver is unloaded before the exit, and what it keeps cannot be
# named to LeakSanitizer: leaks go unchecked in this one run.
(cd "$BUILD" && exec env XDG_RUNTIME_DIR="$TRABAJO/xdg" WAYLAND_DISPLAY=brikando SDL_VIDEODRIVER=wayland \
    ASAN_OPTIONS="$ASAN_OPTIONS:detect_leaks=0" ./brikando >"$TRABAJO/salida.txt" 2>"$TRABAJO/errores.txt") &
PID_JUEGO=$!
VENTANA=$(xdotool search --sync --class '^Weston Compositor$' | head -n 1)
espera_imagen "$IMG/menu_principal.png" 10 || falla "no menu over Wayland: $(cat "$TRABAJO/weston.txt")"
tecla Escape
espera_fin 5 0 "ESCAPE in the menu over Wayland"
kill $WESTON

# SDL2's software path failing (the spy makes the video mode fail while it
# is asked for), video starts again on sdl12-compat's defaults.
arranca_juego "$BUILD" env LD_PRELOAD="$ESPIA" ESPIA_SDL_FALLA=SDL_SetVideoMode:SDL_RENDER_DRIVER ./brikando
espera_imagen "$IMG/menu_principal.png" 5 || falla "no menu after the software path failed"
usa_gl || falla "no OpenGL library mapped: the software path did not fail"
tecla Escape
espera_fin 5 0 "ESCAPE in the menu, on the defaults"
[ -s "$TRABAJO/salida.txt" ] && falla "wrote to standard output: $(cat "$TRABAJO/salida.txt")"

# A game on the virtual pad, which reports states, not events: a press must
# last until SDL reads it. $1 is the layout, $2 what to set to have it, if anything.
juega_con_mando() {
    rm -f "$TRABAJO/mando" && mkfifo "$TRABAJO/mando"
    arranca_juego "$BUILD" env ${2:+"$2"} LD_PRELOAD="$MANDO" MANDO_VIRTUAL="$TRABAJO/mando" ./brikando
    exec 5<>"$TRABAJO/mando"  # read too: no waiting for the game to open it
    espera_imagen "$IMG/menu_principal.png" 5 || falla "$1: no menu with the pad attached"
    mando() { echo "$*" >&5; }
    pulsa() { mando boton "$1" 1 && sleep 0.1 && mando boton "$1" 0; }
    # Holds "$1" until the blocks meet $2, then lets go.
    sostiene() { mando "$1" && espera "$2" "$1 held ($LAYOUT)" && mando "${1% *} 0"; }
    LAYOUT=$1
    pulsa 0
    espera 'h > 0 && h <= 40' "$1: A in the menu"
    for girar in "boton 0 1" "cruceta 0 1" "eje 1 -32768"; do  # A, the D-pad's up, the stick's up
        sostiene "$girar" "w == $h && h == $w"
    done
    mando eje 0 -8192 && sleep 1 && espera "x == $x" "$1: a quarter of the stick" && mando eje 0 0
    sostiene "cruceta 0 8" 'x == 0'
    sostiene "cruceta 0 2" 'x + w == 100'
    sostiene "eje 0 -32768" 'x == 0'
    sostiene "eje 0 32767" 'x + w == 100'
    sostiene "eje 1 32767" 'y + h == 200'
    pulsa 7 && sleep 0.3 && captura "$TRABAJO/pausa.png"
    mando cruceta 0 8 && sleep 1.5 && mando cruceta 0 0 && captura "$TRABAJO/tras.png"
    [ "$(diferencia "$TRABAJO/pausa.png" "$TRABAJO/tras.png")" = 0 ] || falla "$1: the game moved while paused by Start"
    pulsa 7 && sleep 1 && captura "$TRABAJO/tras.png"
    [ "$(diferencia "$TRABAJO/pausa.png" "$TRABAJO/tras.png")" != 0 ] || falla "$1: Start did not resume the game"
    pulsa 6
    espera_imagen "$IMG/menu_principal.png" 5 || falla "$1: Back in a game did not return to the menu"
    mando boton 6 1
    espera_fin 5 0 "$1: Back in the menu"
    exec 5>&-
}
# The pad's mapping, given to SDL2 as PortMaster gives a handheld's.
export SDL_GAMECONTROLLERCONFIG="ff0000005669727475616c204a007600,Mando virtual,a:b0,b:b1,x:b2,y:b3,\
back:b6,start:b7,guide:b8,leftshoulder:b4,rightshoulder:b5,leftstick:b9,rightstick:b10,dpup:h0.1,\
dpright:h0.2,dpdown:h0.4,dpleft:h0.8,leftx:a0,lefty:a1,lefttrigger:a2,rightx:a3,righty:a4,righttrigger:a5,"
juega_con_mando "the game-controller layout"
juega_con_mando "Linux's layout" SDL12COMPAT_USE_GAME_CONTROLLERS=0
echo "window, Wayland and pads: ok"
