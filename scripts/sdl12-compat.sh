#!/bin/bash
# Fetches Debian's sdl12-compat (SDL 1.2's interface over SDL2) and unpacks
# it into DIR, without installing it: as a package it would replace the
# classic library. Prints the directory to put in LD_LIBRARY_PATH.
# usage: sdl12-compat.sh DIR
set -euo pipefail
DIR=$1
mkdir -p "$DIR"
cd "$DIR"
if ! ls libsdl1.2-compat_*.deb >/dev/null 2>&1; then
    # The package lists may be missing or stale on a fresh machine.
    apt-get download -qq libsdl1.2-compat >descarga.log 2>&1 ||
        { apt-get update -qq >>descarga.log 2>&1 && apt-get download -qq libsdl1.2-compat >>descarga.log 2>&1; } ||
        { cat descarga.log >&2; exit 1; }
fi
rm -rf raiz
dpkg-deb -x libsdl1.2-compat_*.deb raiz
dirname "$(find "$PWD/raiz" -name 'libSDL-1.2.so.0' | head -n 1)"
