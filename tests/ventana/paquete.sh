#!/bin/bash
# The Debian package of a build: CPack makes it, and a second build of the
# same sources in another directory (without the emulator, if any) must
# give the same bytes. Its architecture is its binary's; it depends on the
# shared libraries and the font. Unpacked, the game starts from the data
# directory the launcher changes into (through the emulator when given,
# as binfmt_misc is not there): the menu, a piece on RETURN, ESCAPE twice
# exits 0. Natively, through the launcher from elsewhere, and a broken tree
# exits 1 with its message. lintian finds nothing not overridden, and the
# manual page renders without warnings.
# usage: paquete.sh BUILD_DIR SOURCE_DIR CPACK [EMULATOR...]

. "$(dirname "$0")/comun.sh"
BUILD=$1 FUENTES=$2 CPACK=$3
shift 3
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

# Built again elsewhere, it must be the same, byte for byte.
tipo=$(sed -n 's/^CMAKE_BUILD_TYPE:[A-Z]*=//p' "$BUILD/CMakeCache.txt")
cadena=$(sed -n 's/^CMAKE_TOOLCHAIN_FILE:[A-Z]*=//p' "$BUILD/CMakeCache.txt")
cmake -S "$FUENTES" -B "$TRABAJO/otra" -DCMAKE_BUILD_TYPE="$tipo" ${cadena:+-DCMAKE_TOOLCHAIN_FILE="$cadena" -DQEMU_ARM=OFF} \
    -DBRIKANDO_TESTS=OFF -DBRIKANDO_BENCH=OFF -DBRIKANDO_GENERADOR=OFF >"$TRABAJO/otra.log" 2>&1 &&
    cmake --build "$TRABAJO/otra" -j "$(nproc)" >>"$TRABAJO/otra.log" 2>&1 || DETALLE="$TRABAJO/otra.log" falla "the second build"
OTRO=$(empaqueta "$TRABAJO/otra" "$TRABAJO/b")
# Everything in a package that can differ, a line each: its members, their
# entries and their contents.
manifiesto() {
    local dir
    dir=$(mktemp -d -p "$TRABAJO")
    cd "$dir" && ar tv "$1" && ar x "$1"
    for t in *.tar.*; do
        mkdir "$t.x" && tar -xf "$t" -C "$t.x"
        { tar -tvf "$t"; cd "$t.x" && find . -type f -exec md5sum {} + | sort -k 2 && cd ..; } | sed "s|^|$t: |"
    done
}
cmp -s "$DEB" "$OTRO" ||
    falla "two builds differ; first: $(diff <(manifiesto "$DEB") <(manifiesto "$OTRO") | sed -n 2p)"

arranca_xvfb
if [ $# = 0 ]; then
    mkdir "$TRABAJO/otro"
    arranca_juego "$TRABAJO/otro" "$RAIZ/usr/games/brikando"
else
    arranca_juego "$RAIZ/usr/share/games/brikando" "$@" "$RAIZ/usr/lib/games/brikando/brikando"
fi
espera_imagen "$IMG/menu_principal.png" 30 || falla "the unpacked game does not show the menu"
tecla Return
sleep 2
captura "$TRABAJO/juego.png"
[ "$(diferencia "$TRABAJO/juego.png" "$IMG/BackGroundT.png" 40x40+150+8)" != 0 ] || falla "no piece after RETURN"
tecla Escape
espera_imagen "$IMG/menu_principal.png" 30 || falla "ESCAPE did not return to the menu"
tecla Escape
espera_fin 30 0 "ESCAPE in the unpacked game's menu"
[ $# = 0 ] || { echo "package: ok ($(basename "$DEB"), $(stat -c %s "$DEB") bytes)"; exit 0; }

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
