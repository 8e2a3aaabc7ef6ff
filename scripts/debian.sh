#!/bin/bash
# The stages of a newer Debian, run from Debian 12: a fresh root of SUITE
# made with mmdebstrap, as sbuild and pbuilder make theirs. There the package
# built on Debian 12 installs with apt; this work tree's test command runs its
# native stages, on that release's SDL 1.2, which is sdl12-compat (over SDL2
# on Debian 13, over sdl2-compat and SDL3 on unstable); on Debian 13 the web
# page builds with its Emscripten and passes its test in this machine's
# Chromium; and the installed game starts in a window and quits with ESCAPE.
# Prints what ran and a summary of it; the inner logs go to LOG_DIR. As root
# (scripts/raiz.sh).
# usage: debian.sh trixie|sid PACKAGE.deb LOG_DIR
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/raiz.sh
SUITE=$1
DEB=$(readlink -f "$2")
mkdir -p "$3"
REGISTROS=$(cd "$3" && pwd)

crea_raiz "$SUITE" "$SUITE" --include=ca-certificates,git,sudo
# The work tree as it stands, over its history, which dates the package.
git clone -q . "$RAIZ/brikando"
git ls-files -z | tar --null --ignore-failed-read -T - -cf - | tar -C "$RAIZ/brikando" -xf -
cp "$DEB" "$RAIZ/tmp/"

fallo=0
linea() { printf '  %-13s %s\n' "$1" "$2" >>"$REGISTROS/resumen"; }
: >"$REGISTROS/resumen"
echo "== apt installs the Debian 12 package"
if dentro "$RAIZ" apt-get update -qq && dentro "$RAIZ" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "/tmp/${DEB##*/}"; then
    linea installed "${DEB##*/}, built on Debian 12: apt installs it"
else
    linea installed "${DEB##*/}, built on Debian 12: apt could not install it"
    fallo=1
fi
# The ARM stages are left to Debian 12: the same sources, and minutes of
# cross-compilers to install.
echo "== the test command"
dentro "$RAIZ" env BRIKANDO_ETAPAS="release sanitizers" bash -c 'cd /brikando && bash scripts/test.sh' |
    tee "$REGISTROS/test.log" || fallo=1
cp -r "$RAIZ/brikando/build-logs/." "$REGISTROS/" || true
sed -n '/^Summary$/,${/^  /p}' "$REGISTROS/test.log" | grep -v 'not run: left out' >>"$REGISTROS/resumen"
echo "== the web page, built there, played in this machine's Chromium"
if [ "$SUITE" != trixie ]; then
    :  # Emscripten is Debian 13's; unstable's adds nothing the page needs
elif [ ! -d tests/navegador/node_modules ]; then
    linea web "not run: it needs the browser driver that the web stage installs"
elif dentro "$RAIZ" bash -c 'cd /brikando && bash scripts/web.sh --build-only' &&
    node tests/navegador/prueba.mjs "$RAIZ/brikando/build-web" recursos/img; then
    linea web "built with Emscripten $(dentro "$RAIZ" dpkg-query -W -f '${Version}' emscripten | sed 's/[~+-].*//'): \
the page passed in Chromium, headless"
else
    linea web "the web page FAILED"
    fallo=1
fi
echo "== the installed game"
if instalado=$(dentro "$RAIZ" bash /brikando/tests/instalado.sh); then
    linea started "/usr/games/brikando shows ${instalado#*: }"
else
    linea started "the installed game FAILED (tests/instalado.sh)"
    fallo=1
fi
echo "Debian $SUITE summary"
cat "$REGISTROS/resumen"
exit $fallo
