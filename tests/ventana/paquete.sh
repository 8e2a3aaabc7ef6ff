#!/bin/bash
# The Debian package of a build, made by CPack. Its architecture is its
# binary's; it depends on the shared libraries and the font. Unpacked, its
# launcher started from elsewhere shows the menu, a piece on RETURN, and
# ESCAPE twice exits 0; a broken tree exits 1 with its message. lintian
# finds nothing not overridden, and the manual page renders without warnings.
# usage: paquete.sh BUILD_DIR SOURCE_DIR CPACK

. "$(dirname "$0")/comun.sh"
BUILD=$1 FUENTES=$2 CPACK=$3
IMG="$FUENTES/recursos/img"

# Packs build directory $1 into directory $2; prints the package's path.
empaqueta() {
    "$CPACK" -G DEB --config "$1/CPackConfig.cmake" -B "$2" >"$2.log" 2>&1 || DETALLE="$2.log" falla "cpack in $1"
    ls "$2"/brikando_*.deb
}

DEB=$(empaqueta "$BUILD" "$TRABAJO/a")
[ "$(basename "$DEB")" = "brikando_$(dpkg-deb -f "$DEB" Version)_$(dpkg-deb -f "$DEB" Architecture).deb" ] ||
    falla "the package's name: $DEB"
RAIZ="$TRABAJO/raiz"
dpkg-deb -x "$DEB" "$RAIZ"
case "$(dpkg-deb -f "$DEB" Architecture):$(file -b "$RAIZ/usr/lib/games/brikando/brikando")" in
    amd64:*x86-64* | armhf:*ARM*EABI5*) ;;
    *) falla "an $(dpkg-deb -f "$DEB" Architecture) package around $(file -b "$RAIZ/usr/lib/games/brikando/brikando")" ;;
esac
dpkg-deb -f "$DEB" Depends | grep -q 'fonts-dejavu-core' || falla "no dependency on the font's package"
dpkg-deb -f "$DEB" Depends | grep -q 'libsdl1.2debian' || falla "no shared-library dependencies"
[ -f "$(readlink -e "$RAIZ/usr/share/games/brikando/recursos/fonts/comicsans.ttf")" ] || falla "the font link"
lintian --pedantic --fail-on error,warning "$DEB" >"$TRABAJO/lintian.txt" 2>&1 ||
    DETALLE="$TRABAJO/lintian.txt" falla "lintian"

arranca_xvfb
mkdir "$TRABAJO/otro"
arranca_juego "$TRABAJO/otro" "$RAIZ/usr/games/brikando"
espera_imagen "$IMG/menu_principal.png" 30 || falla "the unpacked game does not show the menu"
tecla Return
sleep 2
captura "$TRABAJO/juego.png"
[ "$(diferencia "$TRABAJO/juego.png" "$IMG/BackGroundT.png" 40x40+150+8)" != 0 ] || falla "no piece after RETURN"
tecla Escape
espera_imagen "$IMG/menu_principal.png" 30 || falla "ESCAPE did not return to the menu"
tecla Escape
espera_fin 30 0 "ESCAPE in the unpacked game's menu"

# Moved elsewhere and broken, through the launcher.
cp -a "$RAIZ" "$TRABAJO/movida"
rm "$TRABAJO/movida/usr/share/games/brikando/recursos/maps_figures/map1.txt"
estado=0
(cd / && SDL_VIDEODRIVER=dummy "$TRABAJO/movida/usr/games/brikando" >"$TRABAJO/salida.txt" 2>/dev/null) || estado=$?
[ "$estado" = 1 ] && grep -q "^Imposible cargar figura. Path: 'recursos/maps_figures/map1.txt' :" "$TRABAJO/salida.txt" ||
    falla "a broken tree exited $estado, writing $(cat "$TRABAJO/salida.txt")"
MAN="$RAIZ/usr/share/man/man6/brikando.6.gz"
[ -z "$(groff -ww -z -man "$FUENTES/paquete/brikando.6" 2>&1)" ] || falla "groff warns"
[ -z "$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$MAN" 2>&1 >/dev/null)" ] || falla "man warns"
LC_ALL=C.UTF-8 man -l "$MAN" 2>/dev/null | grep -q 'EXIT STATUS' || falla "the manual page does not render"
echo "package: ok ($(basename "$DEB"), $(stat -c %s "$DEB") bytes)"
