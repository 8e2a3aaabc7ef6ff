#!/bin/bash
# The handheld port as PortMaster and a firmware see it: its layout, its ELF
# files (no glibc above 2.30 but weakly, no libstdc++, no library but its
# own, glibc's and SDL2), and a run of its launcher in a Debian 11 arm64
# root with glibc and SDL2 only, under qemu-user, against an X server, with
# tests/portmaster/ for PortMaster's control folder. As root.
# usage: portmaster.sh OUT   (where scripts/portmaster.sh built the port)
. "$(dirname "$0")/../tools/xvfb.sh"
. "$(dirname "$0")/../scripts/raiz.sh"
. "$(dirname "$0")/../portmaster/firmware.sh"
trap 'kill $PID_JUEGO $PID_XVFB 2>/dev/null; desmonta_raices; rm -rf "$TRABAJO"' EXIT
SALIDA=$(cd "$1" && pwd)
PUERTO=$SALIDA/brikando JUEGO=$SALIDA/brikando/brikando
IMG=$(cd "$(dirname "$0")/../recursos/img" && pwd)

echo "== the layout"
for archivo in port.json README.md screenshot.png gameinfo.xml Brikando.sh brikando/brikando \
    brikando/licenses/brikando.txt brikando/licenses/fonts-dejavu-core.txt; do
    [ -s "$PUERTO/$archivo" ] || falla "no $archivo in the port"
done
python3 - "$PUERTO" <<'FIN' || falla "port.json or gameinfo.xml"
import json, os, re, sys, xml.etree.ElementTree as et
puerto = sys.argv[1]
carpeta, datos = os.path.basename(puerto), json.load(open(os.path.join(puerto, "port.json")))
assert re.fullmatch("[a-z0-9][a-z0-9._]*", carpeta) and datos["name"] == carpeta + ".zip"
assert datos["items"] == ["Brikando.sh", carpeta] and datos["attr"]["arch"] == ["aarch64"] and datos["attr"]["rtr"]
assert et.parse(os.path.join(puerto, "gameinfo.xml")).find("game").findtext("path") == "./Brikando.sh"
FIN
IFS=x read -r w h < <(identify -format '%wx%h\n' "$PUERTO/screenshot.png")
tamano_zip=$(stat -c %s "$SALIDA/brikando.zip")
((w >= 640 && h >= 480 && tamano_zip <= 6 * 1024 * 1024)) || falla "a ${w}x$h screenshot, a zip of $tamano_zip bytes"
for lib in "$JUEGO"/libs.aarch64/*; do
    licencia=$(awk -v l="${lib##*/}" '$1 == l {print $2}' "$JUEGO/licenses/libraries.txt")
    [ -n "$licencia" ] && [ -s "$JUEGO/licenses/$licencia" ] || falla "no licence for ${lib##*/}"
done
entradas=$(unzip -Z1 "$SALIDA/brikando.zip")
for entrada in Brikando.sh brikando/brikando brikando/port.json brikando/libs.aarch64/libSDL-1.2.so.0; do
    grep -qx "$entrada" <<<"$entradas" || falla "no $entrada in brikando.zip"
done

echo "== the ELF files"
glibc_mayor=GLIBC_2.17
while IFS= read -r elf; do
    while read -r version flags; do
        [[ $version != GLIBCXX_* && $version != CXXABI_* ]] || falla "${elf#"$PUERTO"/} needs libstdc++'s $version"
        [[ $version == GLIBC_* && $flags != WEAK ]] || continue
        glibc_mayor=$(printf '%s\n' "$version" "$glibc_mayor" | sort -V | tail -n 1)
    done < <(readelf -V "$elf" | sed -n 's/.*Name: \([A-Z]*_[0-9.]*\) *Flags: \([a-zA-Z]*\).*/\1 \2/p')
    for lib in $(necesita "$elf"); do
        [[ $DEL_SISTEMA == *" $lib "* || -e $JUEGO/libs.aarch64/$lib ]] || falla "${elf#"$PUERTO"/} needs $lib"
    done
done < <(find "$PUERTO" -type f -exec sh -c 'head -c 4 "$1" | grep -q ELF' _ {} \; -print)
[ "$(printf '%s\n' "$glibc_mayor" GLIBC_2.30 | sort -V | tail -n 1)" = GLIBC_2.30 ] || falla "it needs $glibc_mayor"
es_sdl12_compat "$JUEGO/libs.aarch64/libSDL-1.2.so.0" || falla "the bundled SDL 1.2 is not sdl12-compat"

echo "== on a Debian 11 arm64 root, as a firmware runs it"
crea_raiz firmware bullseye --architectures=arm64 --include=libsdl2-2.0-0
FIRMWARE=$RAIZ CONTROL=$RAIZ/opt/system/Tools/PortMaster
! dentro "$FIRMWARE" dpkg -s libsdl1.2debian >/dev/null 2>&1 || falla "the firmware has SDL 1.2"
mkdir -p "$FIRMWARE/roms/ports" "$CONTROL"
unzip -q "$SALIDA/brikando.zip" -d "$FIRMWARE/roms/ports"
cp "$(dirname "$0")"/portmaster/* "$CONTROL/"
arranca_xvfb 640x480x24
touch "$TRABAJO/marca"
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
[ "$(cat "$CONTROL/gptokeyb.txt")" = brikando ] || falla "gptokeyb watched '$(cat "$CONTROL/gptokeyb.txt")'"
[ -s "$FIRMWARE/roms/ports/brikando/log.txt" ] || falla "no log.txt"
fuera=$(find "$FIRMWARE" -xdev -newer "$TRABAJO/marca" -type f ! -path "$FIRMWARE/roms/ports/brikando/*" ! -path "$CONTROL/*")
[ -z "$fuera" ] || falla "written outside the game's folder: $fuera"
lanza
kill -USR1 "$(cat "$CONTROL/gptokeyb.pid")"
espera_fin 30 137 "the exit hotkey"
echo "port: brikando.zip of $tamano_zip bytes, at most $glibc_mayor needed; on Debian 11 arm64 (glibc 2.31, SDL2 \
$(dentro "$FIRMWARE" dpkg-query -W -f '${Version}' libsdl2-2.0-0 | sed 's/[+-].*//')): the menu, RETURN, a piece falls, \
ESC, ESC quits with status 0; the exit hotkey closes it"
