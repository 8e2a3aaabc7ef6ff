#!/bin/bash
# The installed package, as a player starts it on a 1920x1080 desktop: its
# launcher opens the menu in a window, and ESCAPE quits with status 0,
# nothing written. Over sdl12-compat the window is scaled by three, with no
# OpenGL library mapped. The last line gives the window and the peak RSS.
. "$(dirname "$0")/../tools/xvfb.sh"
arranca_xvfb 1920x1080x24
arranca_juego / /usr/games/brikando
espera_imagen /usr/share/games/brikando/recursos/img/menu_principal.png 5 || falla "no menu"
ventana=$(tamano)
if juego_en_sdl12_compat; then
    [ "$ventana" = 960x720 ] || falla "a window of $ventana, not 960x720"
    ! usa_gl || falla "an OpenGL library is mapped"
fi
rss=$(awk '/VmHWM/ {printf "%.1f", $2 / 1024}' "/proc/$PID_JUEGO/status")
tecla Escape
espera_fin 5 0 "ESCAPE in the menu"
[ ! -s "$TRABAJO/salida.txt" ] || falla "wrote to standard output: $(cat "$TRABAJO/salida.txt")"
echo "installed game: its menu in a $ventana window, no GL library, peak RSS $rss MB; ESCAPE quits with status 0"
