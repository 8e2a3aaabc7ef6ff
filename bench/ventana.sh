#!/bin/bash
# How sdl12-compat shows the game's window, for one or more builds (say,
# before and after a change), in one run on a 1920x1080 screen: each build
# with SDL12COMPAT_WINDOW_SCALING=1, with SDL12COMPAT_WINDOW_SCALING=3 (and
# nearest scaling), and with neither. For each: the window's size, whether
# an OpenGL library is mapped, exec to the first frame (bench/sonda.c), the
# peak resident set (VmHWM), and % of one core idle in the menu (10 s) and
# with DOWN held in a game (5 s). Medians of the rounds, which alternate
# builds and settings so that the machine's drift falls on all alike.
# usage: bench/ventana.sh [--rondas N] BUILD [BUILD...]   (default: 2 rounds)
. "$(dirname "$0")/../tools/xvfb.sh"
RONDAS=2
[ "${1:-}" != --rondas ] || { RONDAS=$2; shift 2; }
[ $# -gt 0 ] || falla "usage: bench/ventana.sh [--rondas N] BUILD [BUILD...]"
RAIZ=$(cd "$(dirname "$0")/.." && pwd)
MENU="$RAIZ/recursos/img/menu_principal.png"
AJUSTES=("SDL12COMPAT_WINDOW_SCALING=1" "SDL12COMPAT_WINDOW_SCALING=3 SDL12COMPAT_SCALE_METHOD=nearest" "")
BIBLIOTECA=$(sdl12_compat_para "$1") || falla "no sdl12-compat"

arranca_xvfb 1920x1080x24
for ronda in $(seq "$RONDAS"); do
    for a in "${!AJUSTES[@]}"; do
        for build in "$@"; do
            rm -f "$TRABAJO/sonda"
            echo "$EPOCHREALTIME" >"$TRABAJO/t0"
            # shellcheck disable=SC2086
            SONDA="$TRABAJO/sonda" arranca_juego "$build" env LD_LIBRARY_PATH="$BIBLIOTECA" \
                LD_PRELOAD="$(cd "$build" && pwd)/bench/libsonda.so" ${AJUSTES[a]} ./brikando
            espera_imagen "$MENU" 5 || falla "no menu from $build with ${AJUSTES[a]:-nothing set}"
            arranque=$(awk -v t0="$(cat "$TRABAJO/t0")" '/SDL_Flip/ {printf "%.0f", ($2 / 1e6) - t0 * 1000; exit}' \
                "$TRABAJO/sonda")
            gl=no
            ! usa_gl || gl=yes
            sleep 1
            menu=$(cpu 10)
            tecla Return
            sleep 0.5
            xdotool keydown Down
            abajo=$(cpu 5)
            xdotool keyup Down
            echo "$a $build $(tamano) $gl $arranque $(awk '/VmHWM/ {print $2}' "/proc/$PID_JUEGO/status") $menu $abajo" \
                >>"$TRABAJO/lecturas"
            termina "$MENU"
        done
    done
    echo "round $ronda of $RONDAS done" >&2
done

echo "| build | set | window | GL mapped | exec to first frame | peak RSS | CPU idle in the menu | CPU, DOWN held |"
echo "|---|---|---|---|---|---|---|---|"
for a in "${!AJUSTES[@]}"; do
    for build in "$@"; do
        printf '| %s | %s | %s |\n' "$build" "${AJUSTES[a]:-nothing}" "$(celdas "$a" "$build")"
    done
done
