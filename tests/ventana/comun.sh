# Shared by the real-window tests: a private Xvfb, the real game in it, and
# ways to look at the window and press keys. Source it; it cleans up on exit.
# Needs: Xvfb, xdotool, xwd (x11-apps) and ImageMagick.

set -euo pipefail

TRABAJO=$(mktemp -d /tmp/brikando_ventana.XXXXXX)
PID_XVFB=""
PID_JUEGO=""
VENTANA=""

limpia() {
    [ -n "$PID_JUEGO" ] && kill "$PID_JUEGO" 2>/dev/null || true
    [ -n "$PID_XVFB" ] && kill "$PID_XVFB" 2>/dev/null || true
    rm -rf "$TRABAJO"
}
trap limpia EXIT

# Fails the test, showing what the game (or $DETALLE, a file) wrote.
falla() {
    echo "FAIL: $* (DISPLAY=${DISPLAY:-}, Xvfb ${PID_XVFB:-none})" >&2
    for registro in "$TRABAJO/errores.txt" "${DETALLE:-}"; do
        [ -s "$registro" ] && { echo "--- $registro" >&2; tail -n 60 "$registro" >&2; }
    done
    exit 1
}

# Starts Xvfb on a free display and points DISPLAY at it. Xvfb refuses a
# display whose lock another server holds, so tests running side by side
# each find their own.
arranca_xvfb() {
    local numero=$((100 + $$ % 400))
    for _ in $(seq 50); do
        Xvfb ":$numero" -screen 0 640x480x24 -nolisten tcp -noreset 2>"$TRABAJO/xvfb.log" &
        PID_XVFB=$!
        for _ in $(seq 100); do
            kill -0 "$PID_XVFB" 2>/dev/null || break
            # Ours only once its lock names it: the display may be another test's.
            [ "$(tr -d ' \n' 2>/dev/null <"/tmp/.X$numero-lock")" = "$PID_XVFB" ] &&
                DISPLAY=":$numero" xdotool getdisplaygeometry >/dev/null 2>&1 && break 2
            sleep 0.05
        done
        kill "$PID_XVFB" 2>/dev/null || true
        wait "$PID_XVFB" 2>/dev/null || true
        PID_XVFB=""
        numero=$((numero + 1))
    done
    [ -n "$PID_XVFB" ] || falla "Xvfb did not start: $(cat "$TRABAJO/xvfb.log")"
    export DISPLAY=":$numero"
    unset SDL_VIDEODRIVER
    # In a sanitizer build: full stacks, so that the suppressions can name
    # the libX11 function that leaks. Other builds ignore these.
    export ASAN_OPTIONS="fast_unwind_on_malloc=0:${ASAN_OPTIONS:-}"
    [ -n "${BRIKANDO_LSAN:-}" ] && export LSAN_OPTIONS="suppressions=$BRIKANDO_LSAN:${LSAN_OPTIONS:-}"
    return 0
}

# Starts the game from directory $1 (the runnable tree) with command $2
# (default ./brikando) and waits for its window. Extra words run before it
# (a valgrind, say).
arranca_juego() {
    local dir=$1
    shift
    (cd "$dir" && exec "$@" >"$TRABAJO/salida.txt" 2>"$TRABAJO/errores.txt") &
    PID_JUEGO=$!
    # Ours only: the window of a game that has just ended may still be listed.
    VENTANA=""
    for _ in $(seq 600); do
        VENTANA=$(xdotool search --onlyvisible --pid "$PID_JUEGO" --name '^Brikando$' 2>/dev/null | head -n 1) || true
        [ -n "$VENTANA" ] && break
        kill -0 "$PID_JUEGO" 2>/dev/null || falla "the game ended: $(cat "$TRABAJO/salida.txt" "$TRABAJO/errores.txt")"
        sleep 0.1
    done
    [ -n "$VENTANA" ] || falla "no window named Brikando"
    xdotool windowfocus --sync "$VENTANA"
}

# Waits up to $1 seconds for the game to end and fails unless its exit
# status is $2; $3 says what was expected to end it.
espera_fin() {
    local estado=0
    for _ in $(seq $(($1 * 20))); do
        kill -0 "$PID_JUEGO" 2>/dev/null || break
        sleep 0.05
    done
    kill -0 "$PID_JUEGO" 2>/dev/null && falla "$3: the game did not end within $1 s"
    wait "$PID_JUEGO" || estado=$?
    PID_JUEGO=""
    [ "$estado" = "$2" ] || falla "$3: exit status $estado, not $2"
}

captura() {
    xwd -id "$VENTANA" -silent | convert xwd:- "png24:$1"
}

# How many pixels differ between two images (of the same size).
diferencia() {
    compare -metric AE "$1" "$2" null: 2>&1 || true
}

# Crops a rectangle W H X Y of image $1 into $2.
recorta() {
    convert "$1" -crop "${3}x${4}+${5}+${6}" +repage "png24:$2"
}

# Waits up to $2 seconds for the window to show exactly image $1.
espera_imagen() {
    for _ in $(seq $(($2 * 10))); do
        captura "$TRABAJO/espera.png"
        [ "$(diferencia "$TRABAJO/espera.png" "$1")" = 0 ] && return 0
        sleep 0.1
    done
    return 1
}

# A key press and release. A key that ends the game closes the window
# before xdotool sends the release, which then fails; release it in the X
# server, or the next game on this display would find the key held down and
# never see it pressed.
tecla() {
    xdotool key --window "$VENTANA" "$1" 2>/dev/null || xdotool keyup "$1"
}

# Holds key $1 for $2 seconds: the game samples held keys, it does not queue them.
sostiene() {
    xdotool keydown "$1"
    sleep "$2"
    xdotool keyup "$1"
}
