#!/bin/bash
# The handheld port as PortMaster sees it: its layout, and its ELF files (no
# glibc above 2.30 but weakly, no libstdc++, no library but its own, glibc's
# and SDL2). tests/dispositivo.sh runs it as a firmware does.
# usage: portmaster.sh OUT   (where scripts/portmaster.sh built the port)
. "$(dirname "$0")/../tools/xvfb.sh"
. "$(dirname "$0")/../portmaster/firmware.sh"
SALIDA=$(cd "$1" && pwd)
PUERTO=$SALIDA/brikando JUEGO=$SALIDA/brikando/brikando

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

echo "port: brikando.zip of $tamano_zip bytes, at most $glibc_mayor needed"
