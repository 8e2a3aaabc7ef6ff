#!/bin/bash
# The game on the desktops it meets, for one or more builds (say, before and
# after a change), in one run, on this system's SDL 1.2 (sdl12-compat: over
# SDL2 here; run it in a Debian unstable root, as scripts/raiz.sh makes, for
# SDL3): on X11 (Xvfb), on a Wayland desktop with Xwayland, as GNOME and
# KDE run, where SDL picks its default, and on that desktop asked for
# Wayland (SDL_VIDEODRIVER=wayland); all 1920x1080 at scale 1. For each: the
# window, whether OpenGL is mapped, exec to the first frame (bench/sonda.c),
# the peak resident set (VmHWM), and % of one core idle in the menu (10 s)
# and while a game plays itself (10 s). Medians of the rounds, which
# alternate builds and desktops so that the machine's drift falls on all alike.
# usage: bench/escritorios.sh [--rondas N] BUILD [BUILD...]   (default: 2 rounds)
. "$(dirname "$0")/../tools/xvfb.sh"
. "$(dirname "$0")/../tools/sway.sh"
RONDAS=2
[ "${1:-}" != --rondas ] || { RONDAS=$2; shift 2; }
[ $# -gt 0 ] || falla "usage: bench/escritorios.sh [--rondas N] BUILD [BUILD...]"
MENU=$(cd "$(dirname "$0")/../recursos/img" && pwd)/menu_principal.png
BIBLIOTECA=$(sdl12_compat_para "$1") || falla "no sdl12-compat"
ESCRITORIOS=(x11 sway wayland)

arranca_xvfb 1920x1080x24
XVFB=$DISPLAY
for ronda in $(seq "$RONDAS"); do
    for escritorio in "${ESCRITORIOS[@]}"; do
        if [ "$escritorio" = x11 ]; then
            export DISPLAY=$XVFB && unset WAYLAND_DISPLAY
        else
            arranca_sway 1920x1080 1 escritorio
        fi
        variables=(SONDA="$TRABAJO/sonda")
        [ "$escritorio" != wayland ] || variables+=(SDL_VIDEODRIVER=wayland)
        for build in "$@"; do
            rm -f "$TRABAJO/sonda"
            echo "$EPOCHREALTIME" >"$TRABAJO/t0"
            (cd "$build" && exec env LD_LIBRARY_PATH="$BIBLIOTECA" LD_PRELOAD="$(pwd)/bench/libsonda.so" \
                "${variables[@]}" ./brikando >"$TRABAJO/salida.txt" 2>"$TRABAJO/errores.txt") &
            PID_JUEGO=$!
            reintenta 10 grep -qs SDL_Flip "$TRABAJO/sonda" || falla "no frame from $build on $escritorio"
            sleep 1
            if [ "$escritorio" = wayland ]; then
                read -r w h _ < <(ventana_sway) && ventana=${w}x$h
                pulsa() { tecla_sway "$1"; }
            else
                VENTANA=$(xdotool search --pid "$PID_JUEGO" --name '^Brikando$' | head -n 1)
                ventana=$(tamano)
                pulsa() { tecla "$1"; }
            fi
            arranque=$(awk -v t0="$(cat "$TRABAJO/t0")" '/SDL_Flip/ {printf "%.0f", ($2 / 1e6) - t0 * 1000; exit}' \
                "$TRABAJO/sonda")
            gl=no
            ! usa_gl || gl=yes
            menu=$(cpu 10)
            pulsa Return
            sleep 1
            juego=$(cpu 10)
            echo "$escritorio $build $ventana $gl $arranque $(awk '/VmHWM/ {print $2}' "/proc/$PID_JUEGO/status") $menu \
                $juego" >>"$TRABAJO/lecturas"
            pulsa Escape && sleep 0.5 && pulsa Escape
            espera_fin 10 0 "leaving on $escritorio"
        done
    done
    echo "round $ronda of $RONDAS done" >&2
done

echo "| desktop | build | window | GL mapped | exec to first frame | peak RSS | CPU idle in the menu | CPU playing |"
echo "|---|---|---|---|---|---|---|---|"
for escritorio in "${ESCRITORIOS[@]}"; do
    for build in "$@"; do
        printf '| %s | %s | %s |\n' "$escritorio" "$build" "$(celdas "$escritorio" "$build")"
    done
done
