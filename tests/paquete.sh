#!/bin/bash
# The Debian package of a build, as CPack makes it: named after its version and
# its binary's architecture; depending on the libraries and the font; nothing
# from lintian but what is overridden; what a software centre reads, valid; and
# the same bytes from a second build of the same sources elsewhere.
# usage: paquete.sh BUILD_DIR SOURCE_DIR CPACK
set -euo pipefail
BUILD=$1 FUENTES=$2 CPACK=$3
TRABAJO=$(mktemp -d /tmp/brikando_paquete.XXXXXX)
trap 'rm -rf "$TRABAJO"' EXIT

# Fails, showing file $2 if given.
falla() {
    echo "FAIL: $1" >&2
    [ -z "${2:-}" ] || tail -n 40 "$2" >&2
    exit 1
}

# Packs build directory $1 into directory $2; prints the package's path.
empaqueta() {
    "$CPACK" -G DEB --config "$1/CPackConfig.cmake" -B "$2" >"$2.log" 2>&1 || falla "cpack in $1" "$2.log"
    ls "$2"/brikando_*.deb
}

DEB=$(empaqueta "$BUILD" "$TRABAJO/a")
ARQ=$(dpkg-deb -f "$DEB" Architecture)
[ "$(basename "$DEB")" = "brikando_$(dpkg-deb -f "$DEB" Version)_$ARQ.deb" ] || falla "the package's name: $DEB"
RAIZ="$TRABAJO/raiz"
dpkg-deb -x "$DEB" "$RAIZ"
binario=$(file -b "$RAIZ/usr/lib/games/brikando/brikando")
case "$ARQ:$binario" in
    amd64:*x86-64* | armhf:*ARM*EABI5* | arm64:*aarch64*) ;;
    *) falla "an $ARQ package around $binario" ;;
esac
for dependencia in libsdl1.2debian libsdl-image1.2 libsdl-ttf2.0-0 fonts-dejavu-core; do
    dpkg-deb -f "$DEB" Depends | grep -q "$dependencia" || falla "no dependency on $dependencia"
done
lintian --pedantic --fail-on error,warning "$DEB" >"$TRABAJO/lintian.txt" 2>&1 || falla lintian "$TRABAJO/lintian.txt"
# What a software centre lists: the entry and metadata valid, and a catalogue
# composed from the unpacked package with cached icons at 64 and 128 pixels.
desktop-file-validate "$RAIZ"/usr/share/applications/*.desktop || falla "the desktop entry"
# The one warning accepted, here and in the catalogue: the game has no
# homepage to name (AppStream 1.0).
SIN_PAGINA=url-homepage-missing
appstreamcli validate --pedantic --no-net "$RAIZ"/usr/share/metainfo/*.xml >"$TRABAJO/as.txt" 2>&1 ||
    grep -q "$SIN_PAGINA" "$TRABAJO/as.txt" || falla "the AppStream metadata" "$TRABAJO/as.txt"
! grep -E '^[EW]:' "$TRABAJO/as.txt" | grep -v "$SIN_PAGINA" || falla "the AppStream metadata" "$TRABAJO/as.txt"
# AppStream 1.2 caches the icons as JPEG XL.
iconos() {
    local tamano
    for tamano in 64x64 128x128; do
        compgen -G "$TRABAJO/catalogo/usr/share/swcatalog/icons/brikando/$tamano/*.[pj][nx][gl]" >/dev/null || return 1
    done
}
appstreamcli compose --no-net --no-color --print-report=full --result-root="$TRABAJO/catalogo" --origin=brikando \
    "$RAIZ" >"$TRABAJO/as.txt" 2>&1 && ! grep -E '^ *[EW]:' "$TRABAJO/as.txt" | grep -v "$SIN_PAGINA" && iconos ||
    falla "the AppStream catalogue" "$TRABAJO/as.txt"

# Built again elsewhere, without the emulator if any, the same bytes.
tipo=$(sed -n 's/^CMAKE_BUILD_TYPE:[A-Z]*=//p' "$BUILD/CMakeCache.txt")
cadena=$(sed -n 's/^CMAKE_TOOLCHAIN_FILE:[A-Z]*=//p' "$BUILD/CMakeCache.txt")
{ cmake -S "$FUENTES" -B "$TRABAJO/otra" -DCMAKE_BUILD_TYPE="$tipo" ${cadena:+-DCMAKE_TOOLCHAIN_FILE="$cadena" -DQEMU=OFF} \
    -DBRIKANDO_TESTS=OFF -DBRIKANDO_BENCH=OFF -DBRIKANDO_GENERADOR=OFF &&
    cmake --build "$TRABAJO/otra" -j "$(nproc)"; } >"$TRABAJO/otra.log" 2>&1 || falla "the second build" "$TRABAJO/otra.log"
OTRO=$(empaqueta "$TRABAJO/otra" "$TRABAJO/b")
if ! cmp -s "$DEB" "$OTRO"; then
    mkdir "$TRABAJO/x" "$TRABAJO/y"
    (cd "$TRABAJO/x" && ar x "$DEB") && (cd "$TRABAJO/y" && ar x "$OTRO")
    for miembro in $(ar t "$DEB"); do
        cmp -s "$TRABAJO/x/$miembro" "$TRABAJO/y/$miembro" || falla "two builds differ, first in $miembro"
    done
    falla "two builds differ in their archive headers"
fi
echo "package: ok ($(basename "$DEB"), $(stat -c %s "$DEB") bytes, $(md5sum <"$DEB" | cut -c1-12))"
