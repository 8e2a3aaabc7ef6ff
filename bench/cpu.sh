#!/bin/bash
# The game's CPU in a real window under Xvfb, for one or more builds (say,
# before and after a change) on both SDL 1.2 libraries, in one run: the
# system's and, where that is the classic library, Debian's sdl12-compat.
# Each round measures every build on every library in turn, so that the
# machine's drift falls on all alike: % of one core idle in the title menu
# (10 s) and while a game plays itself (20 s); medians of the rounds.
# usage: bench/cpu.sh [--rondas N] BUILD [BUILD...]   (default: 3 rounds)
. "$(dirname "$0")/../tools/xvfb.sh"
RONDAS=3
[ "${1:-}" != --rondas ] || { RONDAS=$2; shift 2; }
[ $# -gt 0 ] || falla "usage: bench/cpu.sh [--rondas N] BUILD [BUILD...]"
RAIZ=$(cd "$(dirname "$0")/.." && pwd)
MENU="$RAIZ/recursos/img/menu_principal.png"
# "" is the system's SDL 1.2; a directory, sdl12-compat unpacked there.
BIBLIOTECAS=("")
compat=$(sdl12_compat_para "$1") || falla "no sdl12-compat"
[ -z "$compat" ] || BIBLIOTECAS+=("$compat")

arranca_xvfb 1024x768x24
for ronda in $(seq "$RONDAS"); do
    for b in "${!BIBLIOTECAS[@]}"; do
        for build in "$@"; do
            arranca_juego "$build" env LD_LIBRARY_PATH="${BIBLIOTECAS[b]}" ./brikando
            espera_imagen "$MENU" 5 || falla "no menu from $build"
            sleep 1
            menu=$(cpu 10)
            tecla Return
            sleep 1
            echo "$b $build $menu $(cpu 20)" >>"$TRABAJO/lecturas"
            termina "$MENU"
        done
    done
    echo "round $ronda of $RONDAS done" >&2
done

echo "| SDL 1.2 | build | idle in the menu, % of a core | playing | playing / idle |"
echo "|---|---|---|---|---|"
for b in "${!BIBLIOTECAS[@]}"; do
    for build in "$@"; do
        menu=$(awk -v b="$b" -v d="$build" '$1 == b && $2 == d {print $3}' "$TRABAJO/lecturas" | mediana)
        juego=$(awk -v b="$b" -v d="$build" '$1 == b && $2 == d {print $4}' "$TRABAJO/lecturas" | mediana)
        printf '| %s | %s | %s | %s | %.1f |\n' "$([ "$b" = 0 ] && echo system || echo sdl12-compat)" "$build" \
            "$menu" "$juego" "$(awk -v m="$menu" -v j="$juego" 'BEGIN {print j / m}')"
    done
done
