#!/bin/bash
# Builds the web page with Debian's Emscripten into build-web/ (the page, the
# game's brikando.js, .wasm and .data, the font), ready for any static host,
# and serves it on localhost. Installs what is missing, on Debian 12 or 13.
# usage: scripts/web.sh [--build-only] [PORT]   (default port: 8000)
set -euo pipefail
cd "$(dirname "$0")/.."
SOLO=false
[ "${1:-}" != --build-only ] || { SOLO=true; shift; }
PUERTO=${1:-8000}

bash scripts/deps.sh web
registro=$(mktemp)
if ! { emcmake cmake -S web -B build-web-obra -DBRIKANDO_SITIO="$PWD/build-web" &&
       cmake --build build-web-obra -j "$(nproc)"; } >"$registro" 2>&1; then
    cat "$registro"
    rm -f "$registro"
    exit 1
fi
rm -f "$registro"
$SOLO && exit 0
echo "Brikando in a browser: http://localhost:$PUERTO/   (Ctrl+C stops the server)"
exec python3 -m http.server "$PUERTO" --bind 127.0.0.1 --directory build-web
