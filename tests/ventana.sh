#!/bin/bash
# The real game in a real window under Xvfb (1280x960), driven with xdotool:
# 960x720 over sdl12-compat, with no GL library mapped, 320x240 over the
# classic library, the menu pixel for pixel; F11 to full screen and back in
# the menu, in play and paused; RETURN brings a piece in, drawn pixel for
# pixel, which the arrows turn and take to both walls; hidden and shown
# again, the window comes back with its picture; closing exits 0, with
# nothing written; SDL12COMPAT_WINDOW_SCALING=1 gives 320x240. Over
# sdl12-compat then: Wayland desktops on sway, X11 and Wayland, at scale 1 and
# 2; a failed software path still opens a window; and a virtual pad plays in
# both layouts.
# usage: ventana.sh BUILD_DIR IMG_DIR GESTOR_VENTANAS MANDO_VIRTUAL ESPIA_SDL

. "$(dirname "$0")/../tools/xvfb.sh"
. "$(dirname "$0")/../tools/sway.sh"
BUILD=$1 IMG=$2 GESTOR=$3 MANDO=$4 ESPIA=$5
# A sanitizer build needs full stacks for its suppressions to name the
# libraries that leak, and must let the helpers be preloaded before its
# runtime; other builds ignore these.
export ASAN_OPTIONS="fast_unwind_on_malloc=0:verify_asan_link_order=0:${ASAN_OPTIONS:-}"
[ -z "${BRIKANDO_LSAN:-}" ] || export LSAN_OPTIONS="suppressions=$BRIKANDO_LSAN:${LSAN_OPTIONS:-}"

# Waits up to 5 s for the blocks on the board, w x h pixels at (x, y), to meet $1.
bloques() {
    # A held turn repeats every other sampling: a random pause keeps the
    # samples off its beat.
    sleep "0.0$((RANDOM % 10))"
    captura "$TRABAJO/b.png"
    read -r w h x y < <(piezas "$TRABAJO/b.png" "$IMG/BackGroundT.png")
    (($1))
}
espera() {
    reintenta 5 bloques "$1" || falla "$2: blocks of $w x $h at $x,$y$(visto "$TRABAJO/b.png")"
}
# What picture $1 shows, for a failure's line: the menu, or how bright the
# board is, against its empty background's brightness.
visto() {
    if [ "$(diferencia "$1" "$IMG/menu_principal.png")" = 0 ]; then
        echo ", the menu showing"
    else
        local tablero=(-crop "$TABLERO" -format '%[fx:mean]' info:)
        echo ", the board's brightness $(convert "$1" "${tablero[@]}"), empty $(convert "$IMG/BackGroundT.png" "${tablero[@]}")"
    fi
}
# Holds key $1 until the blocks meet $2, then lets go.
sostiene_tecla() {
    xdotool keydown "$1" && espera "$2" "$1 held" && xdotool keyup "$1"
}
# Hides the window and shows it again, as minimising and restoring do: it
# must come back with image $2, or with part $3 of it. $1 says where.
vuelve() {
    xdotool windowunmap --sync "$VENTANA" && xdotool windowmap --sync "$VENTANA"
    espera_imagen "$2" 5 "${3:-}" || falla "hidden and shown in $1, the window came back wrong"
    enfoca
}
# F11 and back, in $1: the screen shows image $2 (or part $3 of it) whole,
# scaled by sdl12-compat, centred by the classic library; then the window,
# at its own size, shows it again.
completa() {
    local antes imagen=$2 parte=${3:-}
    antes=$(tamano)
    tecla F11
    reintenta 5 eval 'xwd -root -silent | convert xwd:- -crop "$PANTALLA_COMPLETA" +repage -sample 320x240 \
        "png24:$TRABAJO/completa.png" && [ "$(diferencia "$TRABAJO/completa.png" "$imagen" "$parte")" = 0 ]' ||
        falla "F11 in $1 did not show the picture on the whole screen"
    tecla F11
    reintenta 5 eval '[ "$(tamano)" = "$antes" ]' || falla "F11 again in $1 left a window of $(tamano), not $antes"
    espera_imagen "$2" 5 "${3:-}" || falla "back from full screen in $1, the window came back wrong"
    enfoca
}

arranca_xvfb 1280x960x24
DISPLAY_XVFB=$DISPLAY
"$GESTOR" pantalla-completa &
AYUDANTES="$AYUDANTES $!"
arranca_juego "$BUILD" ./brikando
# sdl12-compat scales; the running game's memory map says which SDL 1.2 it has.
if juego_en_sdl12_compat; then
    COMPAT=true ESCALA=3 PANTALLA_COMPLETA=1280x960+0+0
    ! usa_gl || falla "an OpenGL library is mapped"
else
    COMPAT=false ESCALA=1 PANTALLA_COMPLETA=320x240+480+360
fi
[ "$(tamano)" = $((320 * ESCALA))x$((240 * ESCALA)) ] || falla "the window is $(tamano)"
# Scaled by whole multiples, sharp: exactly the menu, each pixel repeated.
espera_imagen "$IMG/menu_principal.png" 5 || falla "the window does not show the menu image"
xwd -id "$VENTANA" -silent | convert xwd:- "png24:$TRABAJO/ventana.png"
convert "$IMG/menu_principal.png" -sample "$(tamano)" "png24:$TRABAJO/menu.png"
[ "$(diferencia "$TRABAJO/ventana.png" "$TRABAJO/menu.png")" = 0 ] || falla "the menu is not scaled sharp"
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
for b in 0 1 2 no; do [ $b != no ] || falla "no block image at the top of the piece"
    [ "$(diferencia "$TRABAJO/celda.png" "$IMG/block$b.png")" != 0 ] || break; done
sostiene_tecla Up "w == $h && h == $w"
sostiene_tecla Left 'x == 0'
sostiene_tecla Right 'x + w == 100'
"$GESTOR" cierra "$VENTANA"
espera_fin 5 0 "closing the window"
[ -s "$TRABAJO/salida.txt" ] && falla "wrote to standard output: $(cat "$TRABAJO/salida.txt")"

# The player's choices win: the window's scale, and SDL2's OpenGL renderer.
SDL12COMPAT_WINDOW_SCALING=1 SDL_RENDER_DRIVER=opengl arranca_juego "$BUILD" ./brikando
[ "$(tamano)" = 320x240 ] || falla "SDL12COMPAT_WINDOW_SCALING=1 gave $(tamano)"
espera_imagen "$IMG/menu_principal.png" 5 || falla "no menu at SDL12COMPAT_WINDOW_SCALING=1"
! $COMPAT || usa_gl || falla "SDL_RENDER_DRIVER=opengl mapped no OpenGL library"
tecla Escape
espera_fin 5 0 "ESCAPE in the menu"
# A player who asks for no OpenGL gets none, even where sdl12-compat would
# make its window for OpenGL all the same (1.2.78 over SDL3).
SDL_RENDER_DRIVER=software SDL_FRAMEBUFFER_ACCELERATION=0 SDL12COMPAT_OPENGL_SCALING=0 arranca_juego "$BUILD" ./brikando
espera_imagen "$IMG/menu_principal.png" 5 || falla "no menu on the player's software renderer"
! usa_gl || falla "the player's software renderer mapped an OpenGL library"
tecla Escape
espera_fin 5 0 "ESCAPE in the menu"
$COMPAT || { echo "window: ok"; exit 0; }

# Wayland desktops, on a headless sway whose windows float as a stacking
# desktop's do, at scale 1 and at scale 2 (HiDPI), with Xwayland: with
# DISPLAY and WAYLAND_DISPLAY both set SDL picks X11 (Xwayland), the
# software path, which F11 takes to full screen and back; asked for Wayland,
# it presents through OpenGL (EGL). Either way the window is a whole multiple
# of 320x240 in the screen's own pixels, no larger than the screen, and crisp.

# Starts the game on sway with the variables given, if any.
en_sway() {
    (cd "$BUILD" && exec env "$@" ./brikando >"$TRABAJO/salida.txt" 2>"$TRABAJO/errores.txt") &
    PID_JUEGO=$!
}
# Waits for the window to show the menu, then checks it; $1 says where, $2
# is the scale, $3 the shell the window must have.
muestra_sway() {
    local e=$2
    espera_sway 10 'W > 0' || falla "$1: no window in sway's tree: $(cat "$TRABAJO/errores.txt")"
    reintenta 5 eval 'sleep 0.2 && read -r W H X Y FS FLOTA TIPO < <(ventana_sway) && captura_sway "$TRABAJO/s.png" &&
        convert "$TRABAJO/s.png" -crop $((W * e))x$((H * e))+$((X * e))+$((Y * e)) +repage "png24:$TRABAJO/v.png" &&
        convert "$IMG/menu_principal.png" -sample $((W * e))x$((H * e)) "png24:$TRABAJO/m.png" &&
        [ "$(diferencia "$TRABAJO/v.png" "$TRABAJO/m.png")" = 0 ]' ||
        falla "$1: the window does not show the menu crisp ($W x $H at $X,$Y)"
    ((W * e % 320 == 0 && W * 3 == H * 4 && W * e <= 1920 && H * e <= 1080)) || falla "$1: a window of $W x $H"
    [ "$TIPO" = "$3" ] || falla "$1: a window of $TIPO, not $3"
}
# Mesa's EGL driver is unloaded before the exit, and what it keeps cannot be
# named to LeakSanitizer: leaks go unchecked on Wayland.
WAYLAND=(SDL_VIDEODRIVER=wayland ASAN_OPTIONS="$ASAN_OPTIONS:detect_leaks=0")
# F11, pressed with command $3, takes the window in $1 to the whole screen,
# at scale $2, and back; then ESCAPE quits.
completa_sway() {
    local w h
    read -r w h _ < <(ventana_sway)
    $3 F11
    espera_sway 5 "FS == 1 && W == 1920 / $2 && H == 1080 / $2" || falla "F11 $1: $W x $H, full screen $FS"
    # The menu whole, at 4:3 in the middle. Until then sway is still making
    # the change, and an F11 meanwhile left SDL2 2.32's window at the whole
    # screen's size (4 of 60 tries under load): SDL takes the size it finds
    # 100 ms on for the window's own.
    reintenta 5 eval 'captura_sway "$TRABAJO/s.png" && convert "$TRABAJO/s.png" -crop 1440x1080+240+0 +repage \
        -sample 320x240 "png24:$TRABAJO/v.png" && [ "$(diferencia "$TRABAJO/v.png" "$IMG/menu_principal.png")" = 0 ]' ||
        falla "F11 $1 did not show the menu on the whole screen"
    $3 F11
    espera_sway 5 "FS == 0 && W == $w && H == $h" || falla "F11 again $1: $W x $H, full screen $FS"
    $3 Escape
    espera_fin 5 0 "ESCAPE $1"
}
for escala in 1 2; do
    arranca_sway 1920x1080 "$escala" escritorio
    en_sway
    muestra_sway "X11 on sway at scale $escala" "$escala" xwayland
    ! usa_gl || falla "X11 on sway: an OpenGL library is mapped"
    # Xwayland takes a virtual keyboard's keys by their position, not their
    # names: X clients get theirs from xdotool, as under Xvfb.
    VENTANA=$(xdotool search --pid "$PID_JUEGO" --name '^Brikando$' | head -n 1)
    completa_sway "on sway's X11" "$escala" tecla
    en_sway "${WAYLAND[@]}"
    muestra_sway "Wayland on sway at scale $escala" "$escala" xdg_shell
    completa_sway "on Wayland" "$escala" tecla_sway
done
# Without Mesa's EGL, and without the Vulkan drivers SDL3 falls back on
# where they are installed, Wayland has nothing to present with: the game says why.
en_sway "${WAYLAND[@]}" __EGL_VENDOR_LIBRARY_FILENAMES=/nonexistent VK_DRIVER_FILES=/nonexistent VK_ICD_FILENAMES=/nonexistent
espera_fin 10 1 "Wayland without EGL"
LC_ALL=C grep -qa '^No se puede iniciar el modo de v.deo: .' "$TRABAJO/salida.txt" ||
    falla "Wayland without EGL wrote '$(cat "$TRABAJO/salida.txt")'"
unset WAYLAND_DISPLAY SWAYSOCK
export DISPLAY=$DISPLAY_XVFB

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
    local disposicion=$1
    rm -f "$TRABAJO/mando" && mkfifo "$TRABAJO/mando"
    arranca_juego "$BUILD" env ${2:+"$2"} LD_PRELOAD="$MANDO" MANDO_VIRTUAL="$TRABAJO/mando" ./brikando
    exec 5<>"$TRABAJO/mando"  # read too: no waiting for the game to open it
    espera_imagen "$IMG/menu_principal.png" 5 || falla "$1: no menu with the pad attached"
    mando() { echo "$*" >&5; }
    pulsa() { mando boton "$1" 1 && sleep 0.1 && mando boton "$1" 0; }
    # Holds "$1" until the blocks meet $2, then lets go.
    sostiene() { mando "$1" && espera "$2" "$disposicion: $1 held" && mando "${1% *} 0"; }
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
    mando cruceta 0 8 && sleep 1.5 && mando cruceta 0 0
    muestra "$TRABAJO/pausa.png" || falla "$1: the game moved while paused by Start"
    pulsa 7 && sleep 1
    ! muestra "$TRABAJO/pausa.png" || falla "$1: Start did not resume the game"
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
