#!/bin/bash
# The port on the booted handheld stand-in (tools/dispositivo.sh), on Debian
# 12's SDL2 at 640x480, started as the ports menu starts it: the time from
# the launcher's start to the menu on the screen, and the game's CPU in the
# menu and while a game plays itself (10 s each), in the stand-in's emulated
# CPU; beside it, a stock SDL2 program drawing on the same screen (SDL2's
# own testsprite2), so that the figures read as ratios. Medians of the rounds,
# one boot each. As root.
# usage: bench/dispositivo.sh [--rondas N] [OUT]   (OUT: where scripts/portmaster.sh
#        built the port, build-portmaster by default; 3 rounds by default)
. "$(dirname "$0")/../tools/xvfb.sh"
. "$(dirname "$0")/../scripts/raiz.sh"
. "$(dirname "$0")/../tools/dispositivo.sh"
trap 'apaga_dispositivo; acaba_procesos; desmonta_raices; rm -rf "$TRABAJO"' EXIT
RONDAS=3
[ "${1:-}" != --rondas ] || { RONDAS=$2; shift 2; }
SALIDA=$(cd "${1:-build-portmaster}" && pwd)
MENU=$(cd "$(dirname "$0")/../recursos/img" && pwd)/menu_principal.png
# The same root as the test's.
prepara_dispositivo bookworm libsdl2-tests
prepara_tarjeta "$TRABAJO/tarjeta" "$SALIDA/brikando.zip"
PRUEBAS=/usr/libexec/installed-tests/SDL2

# % of one emulated core that the process named $1 takes over $2 s.
cpu_de() {
    orden "p=\$(pgrep -x $1) && a=\$(cut -d ' ' -f 14,15 /proc/\$p/stat) && sleep $2 &&
        b=\$(cut -d ' ' -f 14,15 /proc/\$p/stat) && echo \$a \$b \$(getconf CLK_TCK)" |
        awk -v t="$2" '{printf "%.1f", 100 * ($3 + $4 - $1 - $2) / $5 / t}'
}
en_el_menu() {
    pantalla_dispositivo "$TRABAJO/p.png" && convert "$TRABAJO/p.png" -sample 320x240 "png24:$TRABAJO/m.png" &&
        [ "$(diferencia "$TRABAJO/m.png" "$MENU")" = 0 ]
}

for ronda in $(seq "$RONDAS"); do
    arranca_dispositivo 640x480 "$TRABAJO/tarjeta"
    pon_mando
    inicio=$EPOCHREALTIME
    orden "cd /roms/ports && (bash Brikando.sh >/dev/null 2>&1 &)" >/dev/null
    reintenta 120 en_el_menu || falla "round $ronda: no menu"
    menu_s=$(awk -v a="$inicio" -v b="$EPOCHREALTIME" 'BEGIN {printf "%.1f", b - a}')
    sleep 2
    menu=$(cpu_de brikando 10)
    pulsa BTN_EAST
    sleep 1
    jugando=$(cpu_de brikando 10)
    orden "pkill -x brikando; sleep 2; cd $PRUEBAS && (SDL_VIDEODRIVER=kmsdrm ./testsprite2 >/dev/null 2>&1 &)" >/dev/null
    sleep 5
    sprites=$(cpu_de testsprite2 10)
    echo "$menu_s $menu $jugando $sprites" >>"$TRABAJO/lecturas"
    echo "round $ronda: menu after $menu_s s; CPU menu $menu %, playing $jugando %, testsprite2 $sprites %" >&2
    apaga_dispositivo
done
columna() { awk -v c="$1" '{print $c}' "$TRABAJO/lecturas" | mediana; }
read -r m c j s <<<"$(columna 1) $(columna 2) $(columna 3) $(columna 4)"
echo "| launcher to menu | CPU in the menu | CPU playing | testsprite2 | menu / testsprite2 | playing / testsprite2 |"
echo "|---|---|---|---|---|---|"
awk -v m="$m" -v c="$c" -v j="$j" -v s="$s" 'BEGIN {
    printf "| %s s | %s %% | %s %% | %s %% | %.3f | %.3f |\n", m, c, j, s, c / s, j / s}'
