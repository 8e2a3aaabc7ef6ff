#!/bin/bash
# Builds Brikando's port for PortMaster, for today's Linux handhelds (aarch64):
#   OUT/brikando.zip   what a player installs;
#   OUT/brikando/      the port folder, laid out as PortMaster's repository wants.
# The game is cross-built in a fresh Debian 11 root, so that it needs no
# newer glibc than 2.30 (ArkOS), with libstdc++ linked in. SDL_image, SDL_ttf
# and what they need come from Debian 11 too. SDL 1.2 is Debian 12's
# sdl12-compat, over the firmware's SDL2, with its three symbols of glibc 2.34
# taken where older glibc keeps them (portmaster/debilita.py). Two builds of a
# commit give the same bytes. As root, on Debian 12 or 13; installs what it needs.
# usage: scripts/portmaster.sh [OUT]   (default: build-portmaster)
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh portmaster
. scripts/raiz.sh
. portmaster/firmware.sh
mkdir -p "${1:-build-portmaster}"
SALIDA=$(cd "${1:-build-portmaster}" && pwd)
PUERTO=$SALIDA/brikando JUEGO=$SALIDA/brikando/brikando
FECHA=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct)}
MULTIARCH=usr/lib/aarch64-linux-gnu

echo "== a Debian 11 root, and the game cross-built in it"
crea_raiz bullseye bullseye --architectures=amd64,arm64 --include=cmake,make,g++,pkg-config,file,\
crossbuild-essential-arm64,libsdl1.2-dev,libsdl-image1.2-dev,libsdl-ttf2.0-dev,libsdl1.2debian:arm64,\
libsdl-image1.2:arm64,libsdl-ttf2.0-0:arm64,fonts-dejavu-core,fontconfig,dpkg-dev
BULLSEYE=$RAIZ
mkdir "$BULLSEYE/brikando"
git ls-files -z | tar --null -T - -cf - | tar -C "$BULLSEYE/brikando" -xf -
# libstdc++ linked in, and g++ 10's note that it ignores [[maybe_unused]] on
# the fields no operation reads (which clang wants) left out.
dentro "$BULLSEYE" bash -c 'cd /brikando && cmake -S . -B build-port -DCMAKE_TOOLCHAIN_FILE=cmake/arm64.cmake \
    -DCMAKE_BUILD_TYPE=Release -DBRIKANDO_TESTS=OFF -DBRIKANDO_BENCH=OFF -DBRIKANDO_GENERADOR=OFF \
    -DCMAKE_EXE_LINKER_FLAGS="-static-libstdc++ -static-libgcc" -DCMAKE_CXX_FLAGS=-Wno-attributes >/dev/null &&
    cmake --build build-port -j "$(nproc)" >/dev/null && aarch64-linux-gnu-strip build-port/brikando'

echo "== the port"
rm -rf "$PUERTO" "$SALIDA/brikando.zip"
mkdir -p "$JUEGO/libs.aarch64" "$JUEGO/licenses"
cp portmaster/Brikando.sh portmaster/port.json portmaster/README.md portmaster/gameinfo.xml "$PUERTO/"
cp "$BULLSEYE/brikando/build-port/brikando" "$JUEGO/"
cp -r "$BULLSEYE/brikando/build-port/recursos" "$JUEGO/"
mv "$JUEGO/recursos/fonts/LICENCIA-DejaVu.txt" "$JUEGO/licenses/fonts-dejavu-core.txt"
cp LICENSE "$JUEGO/licenses/brikando.txt"
# docs/captura.png, a game in progress, at the 640x480 PortMaster asks for.
convert docs/captura.png -sample 640x480 -strip -define png:exclude-chunks=date,time "png24:$PUERTO/screenshot.png"

# Every library the game needs, and those they need, but glibc's and SDL2,
# from Debian 11 with its licence, listed in licenses/libraries.txt; SDL 1.2
# comes next.
pendientes=("$JUEGO/brikando")
while [ ${#pendientes[@]} -gt 0 ]; do
    elf=${pendientes[0]}
    pendientes=("${pendientes[@]:1}")
    for lib in $(necesita "$elf"); do
        [[ $DEL_SISTEMA != *" $lib "* && $lib != libSDL-1.2.so.0 && ! -e $JUEGO/libs.aarch64/$lib ]] || continue
        ruta=$MULTIARCH/$lib
        [ -e "$BULLSEYE/$ruta" ] || ruta=lib/aarch64-linux-gnu/$lib
        cp -L "$BULLSEYE/$ruta" "$JUEGO/libs.aarch64/$lib"
        paquete=$(dentro "$BULLSEYE" dpkg -S "/$ruta" | cut -d: -f1 | head -n 1)
        cp "$BULLSEYE/usr/share/doc/$paquete/copyright" "$JUEGO/licenses/$paquete.txt"
        echo "$lib $paquete.txt" >>"$JUEGO/licenses/libraries.txt"
        pendientes+=("$JUEGO/libs.aarch64/$lib")
    done
done

echo "== SDL 1.2: Debian 12's sdl12-compat, for glibc 2.30"
# Fetched with an apt of its own, which works the same from Debian 12 or 13.
APT=$SALIDA/apt
mkdir -p "$APT/listas/partial" "$APT/cache/archives/partial"
echo "deb [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] http://deb.debian.org/debian bookworm main" \
    >"$APT/sources.list"
cat >"$APT/apt.conf" <<FIN
Dir::Etc::SourceList "$APT/sources.list";
Dir::Etc::SourceParts "/nonexistent";
Dir::State::Lists "$APT/listas";
Dir::State::status "/dev/null";
Dir::Cache "$APT/cache";
APT::Architecture "arm64";
APT::Architectures { "arm64"; };
APT::Sandbox::User "root";
FIN
export APT_CONFIG=$APT/apt.conf
apt-get update -qq
(cd "$APT" && rm -f ./*.deb && apt-get download -qq libsdl1.2-compat)
dpkg-deb -x "$APT"/libsdl1.2-compat_*.deb "$APT/raiz"
SDL12=$JUEGO/libs.aarch64/libSDL-1.2.so.0
cp -L "$APT/raiz/$MULTIARCH/sdl12-compat/libSDL-1.2.so.0" "$SDL12"
cp "$APT/raiz/usr/share/doc/libsdl1.2-compat/copyright" "$JUEGO/licenses/libsdl1.2-compat.txt"
echo "libSDL-1.2.so.0 libsdl1.2-compat.txt" >>"$JUEGO/licenses/libraries.txt"
LC_ALL=C sort -o "$JUEGO/licenses/libraries.txt" "$JUEGO/licenses/libraries.txt"
# glibc 2.34 moved dlopen, dlsym and dlclose from libdl into libc. Unversioned,
# they bind wherever the firmware's glibc keeps them, and the version left
# without symbols is only weakly needed.
patchelf --clear-symbol-version dlopen --clear-symbol-version dlsym --clear-symbol-version dlclose \
    --add-needed libdl.so.2 "$SDL12"
python3 portmaster/debilita.py "$SDL12" GLIBC_2.34

echo "== brikando.zip"
# PortMaster finds the port's description in its game folder once installed.
ZIP=$SALIDA/zip
rm -rf "$ZIP" && mkdir "$ZIP"
cp -r "$PUERTO/Brikando.sh" "$JUEGO" "$ZIP/"
cp "$PUERTO/port.json" "$PUERTO/README.md" "$PUERTO/screenshot.png" "$PUERTO/gameinfo.xml" "$ZIP/brikando/"
chmod -R u=rwX,go=rX "$PUERTO" "$ZIP"
chmod 755 "$PUERTO/Brikando.sh" "$JUEGO/brikando" "$ZIP/Brikando.sh" "$ZIP/brikando/brikando"
find "$PUERTO" "$ZIP" -exec touch -h -d "@$FECHA" {} +
(cd "$ZIP" && find Brikando.sh brikando | LC_ALL=C sort | TZ=UTC zip -X -q -@ "$SALIDA/brikando.zip")
rm -rf "$ZIP" "$APT"
echo "$SALIDA/brikando.zip: $(stat -c %s "$SALIDA/brikando.zip") bytes; the port folder: $PUERTO"
