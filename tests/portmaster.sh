#!/bin/bash
# The handheld port as PortMaster and a firmware see it.
# - Its layout: the files PortMaster's submission check wants, named as it
#   wants them; port.json parses and names the zip after the folder; a
#   screenshot of at least 640x480; a licence for the game, the font and
#   every bundled library; a zip of at most 6 MB.
# - Its ELF files: none needs a glibc newer than 2.30 but weakly, nor any
#   libstdc++; every library they need is bundled, glibc's or the firmware's
#   SDL2; the bundled SDL 1.2 is sdl12-compat.
# - Run as a firmware runs it: in a Debian 11 arm64 root holding glibc and
#   SDL2 and no SDL 1.2, under qemu-user, its launcher started against an X
#   server, with a stand-in for PortMaster's control folder (portmaster/).
#   The menu shows; RETURN starts a game, a piece falls, ESC goes back, ESC
#   quits with status 0; nothing is written outside the game's folder; and
#   the firmware's exit hotkey closes the game.
# The last line sums it up. As root (scripts/raiz.sh).
# usage: portmaster.sh OUT   (where scripts/portmaster.sh built the port)
. "$(dirname "$0")/../tools/xvfb.sh"
. "$(dirname "$0")/../scripts/raiz.sh"
trap 'kill $PID_JUEGO $PID_XVFB 2>/dev/null; desmonta_raices; rm -rf "$TRABAJO"' EXIT
SALIDA=$(cd "$1" && pwd)
PUERTO=$SALIDA/brikando JUEGO=$SALIDA/brikando/brikando
IMG=$(cd "$(dirname "$0")/../recursos/img" && pwd)
DEL_SISTEMA=" ld-linux-aarch64.so.1 libc.so.6 libm.so.6 libdl.so.2 libpthread.so.0 librt.so.1 libSDL2-2.0.so.0 "

echo "== the layout"
[[ $(basename "$PUERTO") =~ ^[a-z0-9][a-z0-9._]*$ ]] || falla "the port's name"
for archivo in port.json README.md screenshot.png gameinfo.xml Brikando.sh brikando/brikando brikando/licenses/brikando.txt \
    brikando/licenses/fonts-dejavu-core.txt brikando/recursos/fonts/comicsans.ttf; do
    [ -s "$PUERTO/$archivo" ] || falla "no $archivo in the port"
done
python3 - "$PUERTO" <<'FIN' || falla "port.json or gameinfo.xml"
import json, os, sys, xml.etree.ElementTree as et
puerto = sys.argv[1]
datos = json.load(open(os.path.join(puerto, "port.json")))
carpeta = os.path.basename(puerto)
assert datos["name"] == carpeta + ".zip", datos["name"]
assert datos["items"] == ["Brikando.sh", carpeta], datos["items"]
assert datos["attr"]["arch"] == ["aarch64"] and datos["attr"]["rtr"] and datos["attr"]["genres"] == ["puzzle"]
juego = et.parse(os.path.join(puerto, "gameinfo.xml")).find("game")
assert juego.findtext("path") == "./Brikando.sh" and juego.findtext("name") == "Brikando"
FIN
IFS=x read -r w h < <(identify -format '%wx%h\n' "$PUERTO/screenshot.png")
((w >= 640 && h >= 480)) || falla "a screenshot of ${w}x$h"
tamano_zip=$(stat -c %s "$SALIDA/brikando.zip")
((tamano_zip <= 6 * 1024 * 1024)) || falla "a zip of $tamano_zip bytes"
for lib in "$JUEGO"/libs.aarch64/*; do
    licencia=$(awk -v l="${lib##*/}" '$1 == l {print $2}' "$JUEGO/licenses/libraries.txt")
    [ -n "$licencia" ] && [ -s "$JUEGO/licenses/$licencia" ] || falla "no licence for ${lib##*/}"
done
unzip -Z1 "$SALIDA/brikando.zip" >"$TRABAJO/zip.txt"
for entrada in Brikando.sh brikando/brikando brikando/port.json brikando/screenshot.png brikando/libs.aarch64/libSDL-1.2.so.0; do
    grep -qx "$entrada" "$TRABAJO/zip.txt" || falla "no $entrada in brikando.zip"
done

echo "== the ELF files"
glibc_mayor=GLIBC_2.17
while IFS= read -r elf; do
    readelf -V "$elf" >"$TRABAJO/versiones.txt"
    while read -r version flags; do
        [[ $version != GLIBCXX_* && $version != CXXABI_* ]] || falla "${elf#"$PUERTO"/} needs libstdc++'s $version"
        [[ $version == GLIBC_* && $flags != WEAK ]] || continue
        [ "$(printf '%s\n' "$version" GLIBC_2.30 | sort -V | tail -n 1)" = GLIBC_2.30 ] ||
            falla "${elf#"$PUERTO"/} needs $version"
        glibc_mayor=$(printf '%s\n' "$version" "$glibc_mayor" | sort -V | tail -n 1)
    done < <(sed -n 's/.*Name: \([A-Z]*_[0-9.]*\) *Flags: \([a-zA-Z]*\).*/\1 \2/p' "$TRABAJO/versiones.txt")
    for lib in $(readelf -d "$elf" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p'); do
        [[ $DEL_SISTEMA == *" $lib "* || -e $JUEGO/libs.aarch64/$lib ]] || falla "${elf#"$PUERTO"/} needs $lib"
    done
done < <(find "$PUERTO" -type f -exec sh -c 'head -c 4 "$1" | grep -q ELF' _ {} \; -print)
es_sdl12_compat "$JUEGO/libs.aarch64/libSDL-1.2.so.0" || falla "the bundled SDL 1.2 is not sdl12-compat"

echo "== on a Debian 11 arm64 root, as a firmware runs it"
crea_raiz firmware bullseye --architectures=arm64 --include=libsdl2-2.0-0
FIRMWARE=$RAIZ
! dentro "$FIRMWARE" dpkg -s libsdl1.2debian >/dev/null 2>&1 || falla "the firmware has SDL 1.2"
mkdir -p "$FIRMWARE/roms/ports" "$FIRMWARE/opt/system/Tools/PortMaster"
unzip -q "$SALIDA/brikando.zip" -d "$FIRMWARE/roms/ports"
CONTROL=$FIRMWARE/opt/system/Tools/PortMaster
cp "$(dirname "$0")/portmaster/control.txt" "$(dirname "$0")/portmaster/gptokeyb" "$CONTROL/"
arranca_xvfb 640x480x24
touch "$TRABAJO/marca"
# Starts the launcher in the root, and waits for the game's window.
lanza() {
    chroot "$FIRMWARE" /usr/bin/env -i HOME=/root PATH=/usr/bin:/bin DISPLAY="$DISPLAY" bash /roms/ports/Brikando.sh \
        </dev/null >"$TRABAJO/salida.txt" 2>&1 &
    PID_JUEGO=$!
    VENTANA=$(timeout 60 xdotool search --sync --name '^Brikando$' | head -n 1) || falla "no window: $(cat "$TRABAJO/salida.txt")"
    espera_imagen "$IMG/menu_principal.png" 20 || falla "no menu"
}
lanza
tecla Return
espera_cambio "$IMG/menu_principal.png" 20 || falla "RETURN did not start a game"
captura "$TRABAJO/juego.png"
espera_cambio "$TRABAJO/juego.png" 20 100x200+110+8 || falla "no piece fell"
tecla Escape
espera_imagen "$IMG/menu_principal.png" 20 || falla "ESCAPE in a game did not return to the menu"
tecla Escape
espera_fin 30 0 "ESCAPE in the menu"
[ "$(cat "$CONTROL/gptokeyb.txt")" = brikando ] || falla "gptokeyb watched '$(cat "$CONTROL/gptokeyb.txt")', not brikando"
[ -s "$FIRMWARE/roms/ports/brikando/log.txt" ] || falla "no log.txt"
fuera=$(find "$FIRMWARE" -xdev -newer "$TRABAJO/marca" -type f ! -path "$FIRMWARE/roms/ports/brikando/*" ! -path "$CONTROL/*")
[ -z "$fuera" ] || falla "written outside the game's folder: $fuera"
lanza
kill -USR1 "$(cat "$CONTROL/gptokeyb.pid")"
espera_fin 30 137 "the exit hotkey"
echo "port: brikando.zip of $tamano_zip bytes, at most $glibc_mayor needed; on Debian 11 arm64 (glibc 2.31, SDL2 \
$(dentro "$FIRMWARE" dpkg-query -W -f '${Version}' libsdl2-2.0-0 | sed 's/[+-].*//')): the menu, RETURN, a piece falls, \
ESC, ESC quits with status 0; the exit hotkey closes it"
