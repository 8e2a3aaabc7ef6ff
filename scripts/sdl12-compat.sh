#!/bin/bash
# Fetches Debian's sdl12-compat (SDL 1.2's interface over SDL2) and unpacks
# it into DIR, without installing it: as a package it would replace the
# classic library. Prints the directory to put in LD_LIBRARY_PATH.
# usage: sdl12-compat.sh DIR
set -euo pipefail
DIR=$1
mkdir -p "$DIR"
cd "$DIR"

# Downloads package $1 here, once; the package lists may be missing or stale
# on a fresh machine.
descarga() {
    ls "$1"_*.deb >/dev/null 2>&1 && return
    apt-get download -qq "$1" >descarga.log 2>&1 ||
        { apt-get update -qq >>descarga.log 2>&1 && apt-get download -qq "$1" >>descarga.log 2>&1; } ||
        { cat descarga.log >&2; exit 1; }
}
biblioteca() {
    find "$PWD/raiz" -name 'libSDL-1.2.so.0' | head -n 1
}

descarga libsdl1.2-compat
rm -rf raiz
dpkg-deb -x libsdl1.2-compat_*.deb raiz
# From Debian 13 on, libsdl1.2-compat is empty and depends on libsdl1.2debian,
# which is sdl12-compat there.
if [ -z "$(biblioteca)" ]; then
    descarga libsdl1.2debian
    dpkg-deb -x libsdl1.2debian_*.deb raiz
fi
dirname "$(biblioteca)"
