#!/bin/bash
# Plays a few pieces in the real window and saves a screenshot of the game
# in progress (the README's picture). Pieces are random, so is the picture.
# usage: tools/captura.sh BUILD_DIR OUT.png
. "$(dirname "$0")/xvfb.sh"
BUILD=$1
SALIDA=$2

# Holds key $1 for $2 s: the game samples held keys, it does not queue them.
sostiene() {
    xdotool keydown "$1"
    sleep "$2"
    xdotool keyup "$1"
}

arranca_xvfb
arranca_juego "$BUILD" ./brikando
sleep 0.5
tecla Return
sleep 0.3
# Spread the pieces: steer each one for a while, then drop it.
for paso in Left:1.0 Right:0.9 Left:0.5 Right:0.5 Left:0.2 Right:0.3; do
    sostiene "${paso%%:*}" "${paso##*:}"
    sostiene Down 1.6
done
sostiene Up 0.2
sleep 0.6
captura "$SALIDA"
tecla Escape
tecla Escape
espera_fin 5 0 "leaving"
