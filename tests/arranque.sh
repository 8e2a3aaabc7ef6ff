#!/bin/bash
# The real game on the dummy driver, in scratch copies of its tree: every
# asset broken in six ways, then each SDL start-up call made to fail. Each
# run must write its one message line with the reason, exit 1, open nothing
# after the broken asset, and shut SDL and SDL_ttf down.
# usage: arranque.sh BINARY SPY RECURSOS [EMULATOR...]
set -uo pipefail
export LC_ALL=C  # messages are compared byte for byte
BINARIO=$1 ESPIA=$2 RECURSOS=$3
shift 3
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

# Runs the game in a fresh tree for case $1, with asset $2 broken in the way
# $3 or start-up call $4 failing; checks for message $5 with reason $6 (a
# pattern) and that it opened the assets $7 and no more.
prueba() {
    local dir="$TRABAJO/caso" salida abiertos quien=""
    rm -rf "$dir" && mkdir -m 777 "$dir" && cp -r "$RECURSOS" "$dir/recursos"
    [ -z "$2" ] || dana "$dir/recursos/$2" "$3"
    [ "$3" = ilegible ] && [ "$(id -u)" = 0 ] && quien=nobody
    (cd "$dir" && timeout 10 ${quien:+setpriv --reuid=nobody --regid=nogroup --clear-groups} env SDL_VIDEODRIVER=dummy \
        ESPIA_SDL="$dir/registro" ESPIA_SDL_FALLA="$4" LD_PRELOAD="$TRABAJO/espia.so" \
        ASAN_OPTIONS="${ASAN_OPTIONS:-}:verify_asan_link_order=0" "${EMULADOR[@]}" "$TRABAJO/brikando" \
        >"$dir/salida" 2>"$dir/errores")
    local estado=$?
    salida=$(cat "$dir/salida"; echo .)
    abiertos=$(sed -n 's/^\(IMG_Load\|TTF_OpenFont\) \([^ ]*\) .*/\2/p' "$dir/registro" | tr '\n' ' ')
    if [ $estado != 1 ] || [[ "$salida" != "$5"$6$'\n.' || "${salida%$'\n.'}" == *$'\n'* ]] ||
        grep -E 'Sanitizer|runtime error' "$dir/errores" || [ "$abiertos" != "$7" ] ||
        ! grep -q '^SDL_Quit ' "$dir/registro" || ! grep -q '^TTF_Quit ' "$dir/registro"; then
        echo "$1: exit status $estado, wrote '${salida%.}', opened '$abiertos', $(grep -c Quit "$dir/registro") shutdowns"
        fallos=$((fallos + 1))
    fi
}

EMULADOR=("$@")
abiertos=""
while IFS='|' read -r recurso mensaje razon; do
    [[ $recurso == *.txt ]] || abiertos+="recursos/$recurso "  # shapes come after the images and the font
    for dano in falta vacio truncado basura directorio ilegible; do
        prueba "$recurso $dano" "$recurso" $dano "" "$mensaje" "${razon:-?*}" "$abiertos"
    done
done <<'FIN'
img/menu_principal.png|Imposible cargar imagen del menu principal. Path: 'recursos/img/menu_principal.png' :
img/BackGroundT.png|Imposible cargar imagen del background. Path: 'recursos/img/BackGroundT.png' :
img/block0.png|Imposible cargar imagen del bloque. Path: 'recursos/img/block0.png' :
img/block1.png|Imposible cargar imagen del bloque. Path: 'recursos/img/block1.png' :
img/block2.png|Imposible cargar imagen del bloque. Path: 'recursos/img/block2.png' :
fonts/comicsans.ttf|Imposible cargar fuente. Path: 'recursos/fonts/comicsans.ttf' :
maps_figures/map0.txt|Imposible cargar figura. Path: 'recursos/maps_figures/map0.txt' :|ilegible, incompleta o sin bloques
maps_figures/map1.txt|Imposible cargar figura. Path: 'recursos/maps_figures/map1.txt' :|ilegible, incompleta o sin bloques
maps_figures/map2.txt|Imposible cargar figura. Path: 'recursos/maps_figures/map2.txt' :|ilegible, incompleta o sin bloques
FIN

I=$'\xED'  # the accent of "vídeo" is one Latin-1 byte
while IFS='|' read -r falla mensaje abiertos; do
    prueba "$falla failing" "" "" "$falla" "$mensaje" "fallo inyectado" "$abiertos"
done <<FIN
SDL_Init|No se puede iniciar SDL: |
TTF_Init|No se puede iniciar SDL_ttf: |
SDL_SetVideoMode|No se puede iniciar el modo de v${I}deo: |
SDL_DisplayFormat|Imposible cargar imagen del menu principal. Path: 'recursos/img/menu_principal.png' :|recursos/img/menu_principal.png 
FIN
[ $fallos = 0 ] && echo "start-up: 58 runs, ok"
