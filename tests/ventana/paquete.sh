#!/bin/bash
# The Debian package: built by CPack, unpacked into a scratch root, its
# launcher started from an unrelated directory shows the menu and ESCAPE
# exits 0; a broken copy of the tree exits 1 through the launcher; the font
# link resolves; lintian finds nothing that is not overridden; the manual
# page renders without warnings.
# usage: paquete.sh BUILD_DIR IMG_DIR SOURCE_DIR CPACK

. "$(dirname "$0")/comun.sh"
BUILD=$1
IMG=$2
FUENTES=$3
CPACK=$4

"$CPACK" -G DEB --config "$BUILD/CPackConfig.cmake" -B "$TRABAJO/cpack" >"$TRABAJO/cpack.log" 2>&1 ||
    DETALLE="$TRABAJO/cpack.log" falla "cpack failed"
DEB=$(ls "$TRABAJO"/cpack/brikando_*_*.deb)
case "$(basename "$DEB")" in
    "brikando_$(dpkg-deb -f "$DEB" Version)_$(dpkg-deb -f "$DEB" Architecture).deb") ;;
    *) falla "unexpected package name $DEB" ;;
esac
dpkg-deb -f "$DEB" Depends | grep -q 'fonts-dejavu-core' || falla "no dependency on the font's package"
dpkg-deb -f "$DEB" Depends | grep -q 'libsdl1.2debian' || falla "no shared-library dependencies"

RAIZ="$TRABAJO/raiz"
dpkg-deb -x "$DEB" "$RAIZ"
FUENTE="$RAIZ/usr/share/games/brikando/recursos/fonts/comicsans.ttf"
[ -L "$FUENTE" ] || falla "the font is not a link"
[ -f "$(readlink -e "$FUENTE")" ] || falla "the font link does not resolve: $(readlink "$FUENTE")"

mkdir "$TRABAJO/otro"
arranca_xvfb
arranca_juego "$TRABAJO/otro" "$RAIZ/usr/games/brikando"
espera_imagen "$IMG/menu_principal.png" 5 || falla "the unpacked game does not show the menu"
tecla Escape
espera_fin 5 0 "ESCAPE in the unpacked game"

# Moved elsewhere and broken: the launcher hands back the game's status.
cp -a "$RAIZ" "$TRABAJO/movida"
rm "$TRABAJO/movida/usr/share/games/brikando/recursos/maps_figures/map1.txt"
estado=0
(cd / && SDL_VIDEODRIVER=dummy "$TRABAJO/movida/usr/games/brikando" >"$TRABAJO/salida.txt" 2>/dev/null) || estado=$?
[ "$estado" = 1 ] || falla "a broken tree exited $estado, not 1"
grep -q "^Imposible cargar figura. Path: 'recursos/maps_figures/map1.txt' :" "$TRABAJO/salida.txt" ||
    falla "a broken tree wrote: $(cat "$TRABAJO/salida.txt")"

lintian --pedantic --fail-on error,warning "$DEB" >"$TRABAJO/lintian.txt" 2>&1 ||
    DETALLE="$TRABAJO/lintian.txt" falla "lintian"

MAN="$RAIZ/usr/share/man/man6/brikando.6.gz"
avisos=$(groff -ww -z -man "$FUENTES/paquete/brikando.6" 2>&1)
[ -z "$avisos" ] || falla "groff: $avisos"
avisos=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$MAN" 2>&1 >/dev/null)
[ -z "$avisos" ] || falla "man: $avisos"
LC_ALL=C.UTF-8 man -l "$MAN" 2>/dev/null | grep -q 'EXIT STATUS' || falla "the manual page does not render"
echo "package: ok ($(basename "$DEB"), $(stat -c %s "$DEB") bytes)"
