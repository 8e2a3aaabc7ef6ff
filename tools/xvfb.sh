# The real game in a private Xvfb, for the window test, the measurements and
# the screenshot: ways to start it, look at its window and press keys.
# Source it; it cleans up on exit. Needs Xvfb, xdotool, x11-apps, ImageMagick.

set -euo pipefail

TRABAJO=$(mktemp -d /tmp/brikando_ventana.XXXXXX)
PID_XVFB=""
PID_JUEGO=""
AYUDANTES=""  # other programs started for the test, which end with it
VENTANA=""
# What was started ends with the script, whatever has ended already: under
# errexit, a kill that fails would end the clean-up there, and set the status.
acaba_procesos() {
    local pid
    for pid in $PID_JUEGO $AYUDANTES $PID_XVFB; do
        kill "$pid" 2>/dev/null || true
    done
}
trap 'acaba_procesos; rm -rf "$TRABAJO"' EXIT

# Fails, showing what the game wrote, and whether it still runs.
falla() {
    echo "FAIL: $*" >&2
    [ -z "$PID_JUEGO" ] || kill -0 "$PID_JUEGO" 2>/dev/null || echo "(the game has ended)" >&2
    cat "$TRABAJO/salida.txt" >&2 2>/dev/null
    tail -n 60 "$TRABAJO/errores.txt" >&2 2>/dev/null
    exit 1
}

# Xvfb on a display of its own choosing, screen $1 (default 640x480x24). It
# must not reset when its last client leaves: the next one would fail.
arranca_xvfb() {
    Xvfb -displayfd 3 -screen 0 "${1:-640x480x24}" -nolisten tcp -noreset 3>"$TRABAJO/pantalla" 2>/dev/null &
    PID_XVFB=$!
    for _ in $(seq 100); do
        [ -s "$TRABAJO/pantalla" ] && break
        sleep 0.05
    done
    export DISPLAY=":$(cat "$TRABAJO/pantalla")"
    [ "$DISPLAY" != : ] || falla "Xvfb did not start"
    unset SDL_VIDEODRIVER
}

# Starts the command that follows in directory $1 and waits for its window.
# SDL2 may make its first window again as it picks a renderer (OpenGL): the
# one that stays is the one the game draws in, more than one colour.
arranca_juego() {
    local dir=$1
    shift
    (cd "$dir" && exec "$@" >"$TRABAJO/salida.txt" 2>"$TRABAJO/errores.txt") &
    PID_JUEGO=$!
    local estado=0 _
    for _ in $(seq 600); do
        # Ours only: the window of a game that has just ended may still be listed.
        VENTANA=$(xdotool search --onlyvisible --pid "$PID_JUEGO" --name '^Brikando$' 2>/dev/null | head -n 1) || true
        [ -n "$VENTANA" ] && dibujada && { enfoca; return; }
        if ! kill -0 "$PID_JUEGO" 2>/dev/null; then
            wait "$PID_JUEGO" || estado=$?
            falla "the game ended, status $estado, $SECONDS s in: $(en_corto "$@")"
        fi
        sleep 0.1
    done
    falla "no window named Brikando with a picture"
}
# Command $@ in few words, for a failure's one line: paths by their last part.
en_corto() {
    local palabra valor corto=()
    for palabra in "$@"; do
        valor=${palabra#*=}
        corto+=("${palabra%"$valor"}${valor##*/}")
    done
    echo "${corto[*]}"
}
dibujada() {
    captura "$TRABAJO/primera.png" && [ "$(convert "$TRABAJO/primera.png" -format %k info: 2>/dev/null)" -gt 1 ] 2>/dev/null
}
enfoca() {
    xdotool windowfocus --sync "$VENTANA" || falla "the window $VENTANA could not take the focus"
}

# Waits up to $1 s for the game to end with exit status $2; $3 says why it should.
espera_fin() {
    local estado=0
    for _ in $(seq $(($1 * 20))); do
        kill -0 "$PID_JUEGO" 2>/dev/null || break
        sleep 0.05
    done
    # A game that hangs fails the test rather than holding it up.
    if kill -0 "$PID_JUEGO" 2>/dev/null; then
        kill -KILL "$PID_JUEGO"
        falla "$3: still running after $1 s"
    fi
    wait "$PID_JUEGO" || estado=$?
    PID_JUEGO=""
    [ "$estado" = "$2" ] || falla "$3: exit status $estado, not $2"
}

# Whether the SDL 1.2 library at path $1 is sdl12-compat (SDL 1.2 over SDL2).
es_sdl12_compat() {
    grep -qa SDL12COMPAT "$1"
}
# Whether the running game's SDL 1.2, as its memory map names it, is sdl12-compat.
juego_en_sdl12_compat() {
    es_sdl12_compat "$(awk '/libSDL-1\.2\.so/ {print $6; exit}' "/proc/$PID_JUEGO/maps")"
}
# Whether the running game has an OpenGL library mapped.
usa_gl() {
    grep -qE '/lib(GL|GLX|EGL|LLVM)[-_.]|_dri\.so' "/proc/$PID_JUEGO/maps"
}

# The window's size, WxH.
tamano() {
    xdotool getwindowgeometry "$VENTANA" | grep -o '[0-9]*x[0-9]*'
}

# Where to find sdl12-compat for the build in $1: nothing when its SDL 1.2
# is sdl12-compat already, else Debian's, fetched and unpacked.
sdl12_compat_para() {
    es_sdl12_compat "$(ldd "$1/brikando" | awk '$1 == "libSDL-1.2.so.0" {print $3}')" ||
        bash "$(dirname "${BASH_SOURCE[0]}")/../scripts/sdl12-compat.sh" "$TRABAJO/sdl12-compat"
}

# The window's picture as the game draws it, 320x240 whatever the window's
# scale: sdl12-compat scales by whole multiples, nearest, or to full screen.
captura() {
    xwd -id "$VENTANA" -silent 2>/dev/null | convert xwd:- -sample 320x240 "png24:$1"
}

# How many pixels differ between two images; with $3 (WxH+X+Y), in that part.
# ImageMagick 7 adds the normalised figure in brackets.
diferencia() {
    { compare -metric AE ${3:+-extract "$3"} "$1" "$2" null: 2>&1 || true; } | cut -d ' ' -f 1
}

# The board in a 320x240 picture.
TABLERO=100x200+110+8
# The box around the blocks on the board of picture $1, against the
# background image $2: "W H X Y" in board pixels.
piezas() {
    convert "$1" "$2" -compose difference -composite -crop "$TABLERO" +repage -threshold 0 \
        -bordercolor black -border 1 -format '%@\n' info: 2>/dev/null |
        awk -F '[x+]' '{print $1, $2, $3 - 1, $4 - 1}'
}

# Runs the command that follows every 0.1 s until it succeeds, for up to $1 s.
reintenta() {
    local _
    for _ in $(seq $(($1 * 10))); do
        "${@:2}" && return 0
        sleep 0.1
    done
    return 1
}
# Whether the window shows image $1 exactly, or, with $2 (WxH+X+Y), in that part.
muestra() {
    captura "$TRABAJO/muestra.png"
    [ "$(diferencia "$TRABAJO/muestra.png" "$1" "${2:-}")" = 0 ]
}
# Waits up to $2 s for the window to show image $1 (in part $3 if given),
# or to show anything else.
espera_imagen() {
    reintenta "$2" muestra "$1" "${3:-}"
}
espera_cambio() {
    local imagen=$1 parte=${3:-}
    reintenta "$2" eval '! muestra "$imagen" "$parte"'
}

# A key press and release, as a keyboard makes them: through XTEST, to the
# window with the focus. Not with --window: that sends a key to a window
# without the focus as an event, and a game that ends on the press gives up
# its focus before the release, which then went to its window, not to the X
# server; the key stayed held for the next game on this display, which got
# it at once and never saw the next press.
tecla() {
    xdotool key "$1"
}

# Leaves a game for the menu, image $1, and the menu for good.
termina() {
    tecla Escape
    espera_imagen "$1" 5 || true
    tecla Escape
    espera_fin 10 0 "leaving"
}

# The game's CPU over the next $1 seconds, in % of one core: the time its
# threads ran, to the nanosecond, against the time that passed.
cpu() {
    local t0 c0 t1 c1
    t0=$EPOCHREALTIME c0=$(ns_cpu)
    sleep "$1"
    t1=$EPOCHREALTIME c1=$(ns_cpu)
    awk -v c="$((c1 - c0))" -v t0="$t0" -v t1="$t1" 'BEGIN {printf "%.2f", 100 * c / 1e9 / (t1 - t0)}'
}
ns_cpu() {
    cat /proc/"$PID_JUEGO"/task/*/schedstat | awk '{s += $1} END {printf "%d", s}'
}
# The median of the numbers on standard input, one a line.
mediana() {
    sort -g | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'
}
# The window benches' table cells for case $1 and build $2, from their lines
# "CASE BUILD WINDOW GL MS KB IDLE PLAYING" in $TRABAJO/lecturas: the first
# line's window and GL, and the medians of the rest.
celdas() {
    local filas
    filas=$(awk -v k="$1" -v b="$2" '$1 == k && $2 == b' "$TRABAJO/lecturas")
    columna() { awk -v c="$1" '{print $c}' <<<"$filas" | mediana; }
    printf '%s | %s | %s ms | %s MB | %s %% | %s %%' "$(awk 'NR == 1 {print $3}' <<<"$filas")" \
        "$(awk 'NR == 1 {print $4}' <<<"$filas")" "$(columna 5)" \
        "$(awk -v k="$(columna 6)" 'BEGIN {printf "%.1f", k / 1024}')" "$(columna 7)" "$(columna 8)"
}
