#!/bin/bash
# The real game on the dummy driver, in scratch copies of its tree: each asset
# missing, each other damage once to an image or a shape file, each SDL start-up
# call failing. Each run writes its one message line with the reason, exits 1,
# opens nothing after the broken asset, and shuts SDL and SDL_ttf down.
# usage: arranque.sh BINARY SPY RECURSOS [EMULATOR...]
set -uo pipefail
export LC_ALL=C  # messages are compared byte for byte
BINARIO=$1 ESPIA=$2 RECURSOS=$3
shift 3
EMULADOR=("$@")
TRABAJO=$(mktemp -d /tmp/brikando_arranque.XXXXXX)
trap 'rm -rf "$TRABAJO"' EXIT
# Copies that nobody, who tries the unreadable files when we are root, can run.
chmod 755 "$TRABAJO"
cp "$BINARIO" "$TRABAJO/brikando"
cp "$ESPIA" "$TRABAJO/espia.so"
fallos=0

# Breaks file $1 of the tree in the way $2.
dana() {
    case $2 in
    falta) rm "$1" ;;
    vacio) : >"$1" ;;
    truncado) truncate -s $(($(stat -c %s "$1") / 2)) "$1" ;;
    basura) awk -v n="$(stat -c %s "$1")" 'BEGIN { srand(7); for (i = 0; i < n; i++) printf "%c", int(rand() * 256) }' \
        >"$1.tmp" && mv "$1.tmp" "$1" ;;
    directorio) rm "$1" && mkdir "$1" ;;
    ilegible) chmod 000 "$1" ;;
    esac
}

# Runs the game in a fresh tree with asset $1 broken in the way $2, or
# start-up call $3 failing; checks for message $4 with reason $5 (a
# pattern) and that it opened the assets $6 and no more.
prueba() {
    local dir="$TRABAJO/caso" quien=()
    rm -rf "$dir" && mkdir -m 777 "$dir" && cp -r "$RECURSOS" "$dir/recursos"
    [ -z "$1" ] || dana "$dir/recursos/$1" "$2"
    [ "$2" = ilegible ] && [ "$(id -u)" = 0 ] && quien=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
    (cd "$dir" && timeout 10 "${quien[@]}" env SDL_VIDEODRIVER=dummy ESPIA_SDL="$dir/registro" ESPIA_SDL_FALLA="$3" \
        LD_PRELOAD="$TRABAJO/espia.so" ASAN_OPTIONS="${ASAN_OPTIONS:-}:verify_asan_link_order=0" "${EMULADOR[@]}" \
        "$TRABAJO/brikando" >"$dir/salida" 2>"$dir/errores")
    local estado=$? salida abiertos
    salida=$(cat "$dir/salida"; echo .)
    abiertos=$(sed -n 's/^\(IMG_Load\|TTF_OpenFont\) //p' "$dir/registro" | tr '\n' ' ')
    if [ $estado != 1 ] || [[ "$salida" != "$4"$5$'\n.' || "${salida%$'\n.'}" == *$'\n'* ]] ||
        grep -E 'Sanitizer|runtime error' "$dir/errores" || [ "$abiertos" != "$6" ] ||
        [ "$(grep -c -E '^(SDL|TTF)_Quit ' "$dir/registro")" != 2 ]; then
        echo "${1:-$3} ${2:-failing}: exit status $estado, wrote '${salida%.}', opened '$abiertos'"
        fallos=$((fallos + 1))
    fi
}

abiertos=""
while IFS='|' read -r recurso danos mensaje razon; do
    [[ $recurso == *.txt ]] || abiertos+="recursos/$recurso "  # shapes come after the images and the font
    for dano in $danos; do
        prueba "$recurso" "$dano" "" "$mensaje" "${razon:-?*}" "$abiertos"
    done
done <<'FIN'
img/menu_principal.png|falta|Imposible cargar imagen del menu principal. Path: 'recursos/img/menu_principal.png' :
img/BackGroundT.png|falta|Imposible cargar imagen del background. Path: 'recursos/img/BackGroundT.png' :
img/block0.png|falta|Imposible cargar imagen del bloque. Path: 'recursos/img/block0.png' :
img/block1.png|falta truncado ilegible|Imposible cargar imagen del bloque. Path: 'recursos/img/block1.png' :
img/block2.png|falta|Imposible cargar imagen del bloque. Path: 'recursos/img/block2.png' :
fonts/comicsans.ttf|falta|Imposible cargar fuente. Path: 'recursos/fonts/comicsans.ttf' :
maps_figures/map0.txt|falta|Imposible cargar figura. Path: 'recursos/maps_figures/map0.txt' :|ilegible, incompleta o sin bloques
maps_figures/map1.txt|falta vacio basura directorio|Imposible cargar figura. Path: 'recursos/maps_figures/map1.txt' :|ilegible, incompleta o sin bloques
maps_figures/map2.txt|falta|Imposible cargar figura. Path: 'recursos/maps_figures/map2.txt' :|ilegible, incompleta o sin bloques
FIN

I=$'\xED'  # the accent of "vídeo" is one Latin-1 byte
# A failure whose reason sdl12-compat loses still says why.
while IFS='|' read -r falla mensaje abiertos; do
    [[ $falla != *:ESPIA_SDL_SIN_RAZON ]] || export ESPIA_SDL_SIN_RAZON=1
    prueba "" "" "$falla" "$mensaje" "fallo inyectado" "$abiertos"
    unset ESPIA_SDL_SIN_RAZON
done <<FIN
SDL_Init|No se puede iniciar SDL: |
TTF_Init|No se puede iniciar SDL_ttf: |
SDL_SetVideoMode|No se puede iniciar el modo de v${I}deo: |
SDL_SetVideoMode:ESPIA_SDL_SIN_RAZON|No se puede iniciar el modo de v${I}deo: |
SDL_DisplayFormat|Imposible cargar imagen del menu principal. Path: 'recursos/img/menu_principal.png' :|recursos/img/menu_principal.png 
FIN
# An SDL that crashes opening the screen gets the same line, and is not
# asked to shut down after that.
(cd "$TRABAJO" && rm -rf caido && mkdir caido && cp -r "$RECURSOS" caido/recursos && cd caido &&
    ESPIA_SDL_CAIDA=1 ESPIA_SDL_FALLA=SDL_SetVideoMode SDL_VIDEODRIVER=dummy LD_PRELOAD="$TRABAJO/espia.so" \
    ASAN_OPTIONS="${ASAN_OPTIONS:-}:verify_asan_link_order=0" "${EMULADOR[@]}" "$TRABAJO/brikando" >salida 2>errores)
estado=$?
[ $estado = 1 ] && [ "$(cat "$TRABAJO/caido/salida")" = "No se puede iniciar el modo de v${I}deo: SDL se detuvo al abrirlo \
(violacion de segmento)" ] || { echo "a crash opening the screen: status $estado, wrote '$(cat "$TRABAJO/caido/salida")'"
    fallos=$((fallos + 1)); }
# Without joysticks the game starts all the same, and says nothing of them.
prueba img/BackGroundT.png falta SDL_InitSubSystem "Imposible cargar imagen del background. Path: 'recursos/img/BackGroundT.png' :" \
    "?*" "recursos/img/menu_principal.png recursos/img/BackGroundT.png "
[ $fallos = 0 ] && echo "start-up: ok"
