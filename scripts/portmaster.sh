#!/bin/bash
# Builds Brikando's port for PortMaster, for today's Linux handhelds (aarch64):
#   OUT/brikando.zip   what a player installs;
#   OUT/brikando/      the port folder, laid out as PortMaster's repository wants.
# The game is cross-built in a fresh Debian 11 root, so that it needs no
# newer glibc than 2.30 (ArkOS), with libstdc++ linked in. SDL_image, SDL_ttf
# and what they need come from Debian 11 too. SDL 1.2 is Debian 12's
# sdl12-compat, over the firmware's SDL2, with its three symbols of glibc 2.34
# taken where older glibc keeps them (portmaster/debilita.py). Two builds of a
# commit give the same bytes: with OUT2, the port is built a second time in
# the same root, from a copy of the sources elsewhere, into OUT2. As root, on
# Debian 12 or 13; installs what it needs.
# usage: scripts/portmaster.sh [OUT [OUT2]]   (default: build-portmaster)
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh portmaster
. scripts/raiz.sh
. portmaster/firmware.sh
FECHA=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct)}
MULTIARCH=usr/lib/aarch64-linux-gnu

echo "== a Debian 11 root"
crea_raiz bullseye bullseye --architectures=amd64,arm64 --include=cmake,make,g++,pkg-config,file,\
crossbuild-essential-arm64,libsdl1.2-dev,libsdl-image1.2-dev,libsdl-ttf2.0-dev,libsdl1.2debian:arm64,\
libsdl-image1.2:arm64,libsdl-ttf2.0-0:arm64,fonts-dejavu-core,fontconfig,dpkg-dev
BULLSEYE=$RAIZ

echo "== SDL 1.2: Debian 12's sdl12-compat, for glibc 2.30"
SDL12=$BULLSEYE/tmp/sdl12-compat
apt_arm64 "$SDL12/apt"
(cd "$SDL12" && apt-get download -qq libsdl1.2-compat)
unset APT_CONFIG
dpkg-deb -x "$SDL12"/libsdl1.2-compat_*.deb "$SDL12/raiz"
cp -L "$SDL12/raiz/$MULTIARCH/sdl12-compat/libSDL-1.2.so.0" "$SDL12/libSDL-1.2.so.0"
# glibc 2.34 moved dlopen, dlsym and dlclose from libdl into libc. Unversioned,
# they bind wherever the firmware's glibc keeps them, and the version left
# without symbols is only weakly needed.
patchelf --clear-symbol-version dlopen --clear-symbol-version dlsym --clear-symbol-version dlclose \
    --add-needed libdl.so.2 "$SDL12/libSDL-1.2.so.0"
python3 portmaster/debilita.py "$SDL12/libSDL-1.2.so.0" GLIBC_2.34

# The port, cross-built from the sources copied to folder $1 of the root,
# into folder $2.
puerto() {
    local fuentes=$BULLSEYE/$1 salida puerto juego pendientes elf lib ruta paquete zip
    mkdir -p "$2" "$fuentes"
    salida=$(cd "$2" && pwd)
    puerto=$salida/brikando juego=$salida/brikando/brikando
    echo "== the game, cross-built in /$1"
    git ls-files -z | tar --null -T - -cf - | tar -C "$fuentes" -xf -
    # libstdc++ linked in, and g++ 10's note that it ignores [[maybe_unused]]
    # on the fields no operation reads (which clang wants) left out.
    dentro "$BULLSEYE" bash -c "cd /$1"' && cmake -S . -B build-port -DCMAKE_TOOLCHAIN_FILE=cmake/arm64.cmake \
        -DCMAKE_BUILD_TYPE=Release -DBRIKANDO_TESTS=OFF -DBRIKANDO_BENCH=OFF -DBRIKANDO_GENERADOR=OFF \
        -DCMAKE_EXE_LINKER_FLAGS="-static-libstdc++ -static-libgcc" -DCMAKE_CXX_FLAGS=-Wno-attributes >/dev/null &&
        cmake --build build-port -j "$(nproc)" >/dev/null && aarch64-linux-gnu-strip build-port/brikando'

    echo "== the port, into $salida"
    rm -rf "$puerto" "$salida/brikando.zip"
    mkdir -p "$juego/libs.aarch64" "$juego/licenses"
    cp portmaster/Brikando.sh portmaster/port.json portmaster/README.md portmaster/gameinfo.xml "$puerto/"
    cp "$fuentes/build-port/brikando" "$juego/"
    cp -r "$fuentes/build-port/recursos" "$juego/"
    mv "$juego/recursos/fonts/LICENCIA-DejaVu.txt" "$juego/licenses/fonts-dejavu-core.txt"
    cp LICENSE "$juego/licenses/brikando.txt"
    # docs/captura.png, a game in progress, at the 640x480 PortMaster asks for.
    convert docs/captura.png -sample 640x480 -strip -define png:exclude-chunks=date,time "png24:$puerto/screenshot.png"
    # Every library the game needs, and those they need, but glibc's and
    # SDL2, from Debian 11 with its licence, listed in licenses/libraries.txt;
    # and SDL 1.2. The launcher gives the game only those the firmware lacks.
    cp "$SDL12/libSDL-1.2.so.0" "$juego/libs.aarch64/"
    cp "$SDL12/raiz/usr/share/doc/libsdl1.2-compat/copyright" "$juego/licenses/libsdl1.2-compat.txt"
    echo "libSDL-1.2.so.0 libsdl1.2-compat.txt" >"$juego/licenses/libraries.txt"
    pendientes=("$juego/brikando")
    while [ ${#pendientes[@]} -gt 0 ]; do
        elf=${pendientes[0]}
        pendientes=("${pendientes[@]:1}")
        for lib in $(necesita "$elf"); do
            [[ $DEL_SISTEMA != *" $lib "* && ! -e $juego/libs.aarch64/$lib ]] || continue
            ruta=$MULTIARCH/$lib
            [ -e "$BULLSEYE/$ruta" ] || ruta=lib/aarch64-linux-gnu/$lib
            cp -L "$BULLSEYE/$ruta" "$juego/libs.aarch64/$lib"
            paquete=$(dentro "$BULLSEYE" dpkg -S "/$ruta" | cut -d: -f1 | head -n 1)
            cp "$BULLSEYE/usr/share/doc/$paquete/copyright" "$juego/licenses/$paquete.txt"
            echo "$lib $paquete.txt" >>"$juego/licenses/libraries.txt"
            pendientes+=("$juego/libs.aarch64/$lib")
        done
    done
    LC_ALL=C sort -o "$juego/licenses/libraries.txt" "$juego/licenses/libraries.txt"

    echo "== brikando.zip"
    # PortMaster finds the port's description in its game folder once installed.
    zip=$salida/zip
    rm -rf "$zip" && mkdir "$zip"
    cp -r "$puerto/Brikando.sh" "$juego" "$zip/"
    cp "$puerto/port.json" "$puerto/README.md" "$puerto/screenshot.png" "$puerto/gameinfo.xml" "$zip/brikando/"
    chmod -R u=rwX,go=rX "$puerto" "$zip"
    chmod 755 "$puerto/Brikando.sh" "$juego/brikando" "$zip/Brikando.sh" "$zip/brikando/brikando"
    find "$puerto" "$zip" -exec touch -h -d "@$FECHA" {} +
    (cd "$zip" && find Brikando.sh brikando | LC_ALL=C sort | TZ=UTC zip -X -q -@ "$salida/brikando.zip")
    rm -rf "$zip"
    echo "$salida/brikando.zip: $(stat -c %s "$salida/brikando.zip") bytes; the port folder: $puerto"
}

puerto brikando "${1:-build-portmaster}"
[ -z "${2:-}" ] || puerto otra/brikando "$2"
