#!/bin/bash
# The real game in a real window under Xvfb, measured from outside:
#   start-up     exec to the first menu frame (median of 10 starts);
#   menu CPU     % of one core idle in the title menu, 10 s (median of 3);
#   play CPU     % of one core while a game plays itself, 20 s (median of 3);
#   presents     per second while a game plays itself, 10 s with no key held
#                and then 2 s with DOWN held; the pass length meanwhile;
#   memory       peak resident set (VmHWM).
# With --largo, also 10 minutes of play (RETURN every 10 s starts a new game
# whenever one has ended): resident memory every minute. With --mando, every
# start of the game has a virtual pad attached, idle (tools/mando_virtual.c;
# over sdl12-compat only, which shows it to the game).
# CPU comes from /proc/PID/task/*/schedstat; frame and pass times from the
# preloaded probe bench/sonda.c (flips, and the ends of the pacing sleeps).
# usage: bench/medir.sh [BUILD_DIR] [--largo] [--mando]   (default: build)
. "$(dirname "$0")/../tools/xvfb.sh"
BUILD=$(cd "${1:-build}" && pwd)
LARGO="" PRECARGA=""
for opcion in "${@:2}"; do
    case $opcion in
    --largo) LARGO=--largo ;;
    --mando) PRECARGA="$BUILD/tests/libmando_virtual.so" && export MANDO_VIRTUAL=/dev/null ;;
    esac
done
MENU="$(dirname "$0")/../recursos/img/menu_principal.png"
LIBSONDA="$BUILD/bench/libsonda.so"
[ -x "$BUILD/brikando" ] && [ -f "$LIBSONDA" ] || falla "build $BUILD first, with benchmarks"

arranca_xvfb 1024x768x24

# Start-up: the shell's clock just before exec, the probe's at the first flip.
for _ in $(seq 10); do
    rm -f "$TRABAJO/sonda"
    (cd "$BUILD" && echo "$EPOCHREALTIME" >"$TRABAJO/t0" &&
        SONDA="$TRABAJO/sonda" LD_PRELOAD="$LIBSONDA $PRECARGA" exec ./brikando) &
    PID_JUEGO=$!
    for _ in $(seq 200); do grep -q SDL_Flip "$TRABAJO/sonda" 2>/dev/null && break; sleep 0.01; done
    awk -v t0="$(cat "$TRABAJO/t0")" '/SDL_Flip/ {printf "%.1f\n", ($2 / 1e6) - t0 * 1000; exit}' "$TRABAJO/sonda"
    kill "$PID_JUEGO"
    wait "$PID_JUEGO" 2>/dev/null || true
done | mediana >"$TRABAJO/arranque"

# CPU in the menu and in play, three runs each.
for _ in 1 2 3; do
    arranca_juego "$BUILD" env LD_PRELOAD="$PRECARGA" ./brikando
    espera_imagen "$MENU" 5 || falla "no menu"
    sleep 1
    cpu 10 >>"$TRABAJO/menu"
    echo >>"$TRABAJO/menu"
    tecla Return
    sleep 1
    cpu 20 >>"$TRABAJO/juego"
    echo >>"$TRABAJO/juego"
    awk '/VmHWM/ {print $2}' "/proc/$PID_JUEGO/status" >>"$TRABAJO/hwm"
    termina "$MENU"
done

# Presents while a game plays itself, counted from the flips between the
# shell's marks, 10 s with no key held and 2 s with DOWN held; passes from
# the ends of the pacing sleeps in between.
rm -f "$TRABAJO/sonda"
SONDA="$TRABAJO/sonda" arranca_juego "$BUILD" env LD_PRELOAD="$LIBSONDA $PRECARGA" ./brikando
espera_imagen "$MENU" 5 || falla "no menu"
tecla Return
sleep 1
marcas=("$EPOCHREALTIME")
sleep 10
marcas+=("$EPOCHREALTIME")
xdotool keydown Down && sleep 2 && xdotool keyup Down
marcas+=("$EPOCHREALTIME")
termina "$MENU"
awk -v a="${marcas[0]}" -v b="${marcas[1]}" -v c="${marcas[2]}" \
    '{t = $2 / 1e9} t < a || t > c {next}
     /SDL_Flip/ {if (t < b) libre++; else abajo++}
     /despierta/ {if (np++) { d = 1000 * (t - pp); if (!m || d < m) m = d; sp += d } pp = t}
     END {printf "%.1f %.1f %.3f %.3f %d\n", libre / (b - a), abajo / (c - b), m, sp / (np - 1), np - 1}' \
    "$TRABAJO/sonda" >"$TRABAJO/ritmo"
read -r libre abajo paso_min paso_medio pasadas <"$TRABAJO/ritmo"

echo "| figure | measured | budget |"
echo "|---|---|---|"
echo "| exec to first menu frame (median of 10) | $(cat "$TRABAJO/arranque") ms | <= 80 ms |"
echo "| CPU idle in the title menu, 10 s (median of 3) | $(mediana <"$TRABAJO/menu") % | <= 0.5 % |"
echo "| CPU while playing, 20 s (median of 3) | $(mediana <"$TRABAJO/juego") % | <= 1.5 % |"
echo "| presents per second while playing, no key held / DOWN held | $libre / $abajo | as often as the picture changes |"
echo "| pass length over $pasadas passes: shortest / mean | $paso_min / $paso_medio ms | >= 20 ms |"
echo "| peak resident memory (VmHWM, largest of 3) | $(sort -n "$TRABAJO/hwm" | tail -n 1) KiB | <= 13 MB |"

if [ "$LARGO" = --largo ]; then
    arranca_juego "$BUILD" env LD_PRELOAD="$PRECARGA" ./brikando
    espera_imagen "$MENU" 5 || falla "no menu"
    printf '| 10 minutes of play, resident KiB each minute |'
    for minuto in $(seq 0 10); do
        # RETURN starts a new game whenever the last one has ended.
        for _ in 1 2 3 4 5 6; do tecla Return; sleep 10; done &
        wait $!
        printf ' %s' "$(awk '/VmRSS/ {print $2}' "/proc/$PID_JUEGO/status")"
    done
    echo ' | no growth |'
    termina "$MENU"
fi
