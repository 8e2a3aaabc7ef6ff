#!/bin/bash
# The real binary under valgrind memcheck in a real window: menu, a game
# played with DOWN held until the stack reaches the top, the menu again, a
# new game left with ESCAPE, the menu, ESCAPE. No errors, nothing
# definitely or indirectly lost but what the suppressions name.
# usage: valgrind.sh BUILD_DIR IMG_DIR VALGRIND_SUPPRESSIONS

. "$(dirname "$0")/comun.sh"
BUILD=$1
IMG=$2
SUPRESIONES=$3
MENU="$IMG/menu_principal.png"
INFORME="$TRABAJO/valgrind.log"
DETALLE=$INFORME

arranca_xvfb
arranca_juego "$BUILD" valgrind --leak-check=full --show-leak-kinds=definite,indirect \
    --errors-for-leak-kinds=definite,indirect --error-exitcode=99 --num-callers=30 \
    --suppressions="$SUPRESIONES" --log-file="$INFORME" ./brikando
espera_imagen "$MENU" 30 || falla "no menu"

tecla Return
sleep 1
xdotool keydown Down
espera_imagen "$MENU" 90 || { xdotool keyup Down; falla "the game never ended"; }
xdotool keyup Down
tecla Return
sleep 1
tecla Escape
espera_imagen "$MENU" 10 || falla "ESCAPE did not return to the menu"
tecla Escape
espera_fin 60 0 "under valgrind (status 99: valgrind reported errors)"

grep -E 'ERROR SUMMARY|definitely lost|indirectly lost|suppressed:' "$INFORME" | sed 's/^==[0-9]*== */  /'
grep -q 'ERROR SUMMARY: 0 errors' "$INFORME" || falla "valgrind found errors"
echo "valgrind: ok"
