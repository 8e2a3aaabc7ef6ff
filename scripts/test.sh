#!/bin/bash
# Installs what is missing, builds everything and runs every test:
#   release       unit, binary, real-window (Xvfb) and package tests, the
#                 asset generator's byte-for-byte check, on the system's SDL 1.2;
#   sdl12-compat  where that is the classic library (Debian 12): the release
#                 build's tests again on sdl12-compat, SDL 1.2's interface
#                 over SDL2, with a virtual pad (the package aside: the same bytes);
#   sanitizers    the same suite built with AddressSanitizer and UBSan;
#   armhf, arm64  cross-built for 32- and 64-bit ARM: the tests that need
#                 no X server under qemu-user, and the package;
#   debian13      on Debian 12, as root: a fresh Debian 13 root where the
#                 release package installs and starts, and where this test
#                 command runs again (scripts/debian.sh);
#   unstable      the same in a fresh Debian unstable root, whose sdl12-compat
#                 runs over sdl2-compat and SDL3, as on Fedora and Arch;
#   portmaster    as root: the handheld port, built twice in a fresh Debian 11
#                 root (the same bytes), checked as PortMaster wants it, and
#                 run as firmwares run it: on booted handheld stand-ins
#                 (KMS/DRM, Debian 12's and 11's SDL2) and under sway (SDL2
#                 and SDL3), arm64 under emulation; it runs last, its
#                 builds and roots made meanwhile, beside the other stages;
#   web           the web page built with Emscripten, and played in
#                 Debian's Chromium, headless (tests/navegador).
# BRIKANDO_ETAPAS="release sanitizers" runs only the stages it names.
# Prints one summary, with the SDL 1.2 each stage ran on; exits non-zero on
# any failure. Logs: build-logs/.
set -uo pipefail
cd "$(dirname "$0")/.."

ETAPAS=" ${BRIKANDO_ETAPAS:-release sdl12-compat sanitizers armhf arm64 portmaster web debian13 unstable} "
etapa() { [[ $ETAPAS == *" $1 "* ]]; }
. /etc/os-release
ARQ=$(dpkg --print-architecture)
ES_DEBIAN12=false
[ "${VERSION_CODENAME:-}" = bookworm ] && ES_DEBIAN12=true
# The Debian 13 and unstable stages make roots of their own, which needs root here.
OTRAS_DEBIAN=false
$ES_DEBIAN12 && { etapa debian13 || etapa unstable; } && [ "$(id -u)" -eq 0 ] && OTRAS_DEBIAN=true
# The port's roots need root too.
PORTMASTER=false
etapa portmaster && [ "$(id -u)" -eq 0 ] && PORTMASTER=true
grupos=()
{ etapa armhf || etapa arm64; } && grupos+=(arm)
$OTRAS_DEBIAN && grupos+=(debian)
$PORTMASTER && grupos+=(portmaster)
etapa web && grupos+=(web)
REGISTROS=build-logs
rm -rf "$REGISTROS"
mkdir -p "$REGISTROS"
# A package the archive no longer has fails the run, and says which.
if ! bash scripts/deps.sh test "${grupos[@]}" 2>"$REGISTROS/paquetes.log"; then
    cat "$REGISTROS/paquetes.log"
    printf '\nSummary\n  %-13s %s\nFAILED\n' packages "$(tail -n 1 "$REGISTROS/paquetes.log")"
    exit 1
fi
grep -h '^Installing from the point release' "$REGISTROS/paquetes.log" || true
NUCLEOS=$(nproc)
resumen=()
fallo=0

# The port's two builds and the handheld stand-ins' roots take minutes of
# downloads and emulation: they start now, beside the other stages, and the
# portmaster stage, the last, waits for them.
PREPARATIVOS=""
if $PORTMASTER; then
    {
        bash scripts/portmaster.sh build-portmaster build-portmaster-2 >"$REGISTROS/portmaster.log" 2>&1
        echo $? >"$REGISTROS/portmaster.estado"
        bash tests/dispositivo.sh --raices >"$REGISTROS/raices.log" 2>&1
    } </dev/null &
    PREPARATIVOS=$!
fi

# Records a stage's line in the summary, and whether it failed.
anota() {
    resumen+=("$(printf '%-13s %s' "$1" "$2")")
    [ "$3" = ok ] || fallo=1
}
# A stage that does not run here, $1, and why, $2.
salta() {
    printf '%-13s not run: %s\n' "$1" "$2"
    anota "$1" "not run: $2" ok
}

# The SDL 1.2 that Debian's libsdl1.2debian is for architecture $1, in words:
# from Debian 13 on, that package is sdl12-compat, and on unstable its SDL2
# is sdl2-compat, SDL2's interface over SDL3.
sdl_de() {
    if [ "$(dpkg-query -W -f '${source:Package}' "libsdl1.2debian:$1")" != sdl12-compat ]; then
        echo "classic SDL $(version_de "libsdl1.2debian:$1")"
    elif [ "$(dpkg-query -W -f '${source:Package}' "libsdl2-2.0-0:$1")" = sdl2-compat ]; then
        echo "sdl12-compat $(version_de "libsdl1.2debian:$1") over sdl2-compat $(version_de "libsdl2-2.0-0:$1")" \
            "over SDL3 $(version_de "libsdl3-0:$1")"
    else
        echo "sdl12-compat $(version_de "libsdl1.2debian:$1") over SDL2 $(version_de "libsdl2-2.0-0:$1")"
    fi
}
# The upstream version of installed package $1.
version_de() {
    dpkg-query -W -f '${Version}' "$1" | sed 's/[+-].*//'
}

# Configures and builds: $1 name, $2 build dir, then cmake options. The
# compilers must be warning-free.
compila() {
    local nombre=$1 dir=$2
    shift 2
    local registro="$REGISTROS/$nombre.log"
    if ! { cmake -S . -B "$dir" "$@" && cmake --build "$dir" -j "$NUCLEOS"; } >"$registro" 2>&1; then
        printf '%-13s build FAILED\n' "$nombre"
        tail -n 40 "$registro"
        anota "$nombre" "build failed ($registro)" no
        return 1
    fi
    if grep -E ':[0-9]+:[0-9]+: warning:' "$registro"; then
        printf '%-13s build has warnings\n' "$nombre"
        anota "$nombre" "build has warnings ($registro)" no
        return 1
    fi
}

# Runs ctest in $2 for stage $1 with arguments $3, on the SDL 1.2 named $4;
# $5 is a note for the summary. A test that fails runs once more: the real
# windows, under Xvfb and sway, meet rare timing races, so the summary names
# each test that needed the second run, and why.
prueba() {
    local nombre=$1 dir=$2 argumentos=$3 sdl=$4 nota=${5:-} inicio=$SECONDS
    local registro="$REGISTROS/$nombre.log" desde
    desde=$(($(wc -l 2>/dev/null <"$registro" || echo 0) + 1))
    printf '%-13s ' "$nombre"
    # shellcheck disable=SC2086
    (cd "$dir" && ctest --output-on-failure --repeat until-pass:2 -j "$NUCLEOS" $argumentos) >>"$registro" 2>&1
    local estado=$?
    local cuenta otra
    cuenta=$(grep -E 'tests passed, [0-9]+ tests failed out of' "$registro" | tail -n 1)
    otra=$(tail -n "+$desde" "$registro" | awk '
        function nombra(por) { if (nombre != "") { printf "%s%s%s", coma, nombre, por; coma = "; " }; nombre = "" }
        /Test +#[0-9]+: .*\*\*\*(Failed|Timeout|Exception)/ { nombra(""); sub(/.*#[0-9]+: /, ""); nombre = $1; next }
        nombre != "" && /^FAIL: / { nombra(" (" $0 ")") }
        END { nombra("") }')
    nota="on $sdl: ${cuenta:-no tests ran}, in $((SECONDS - inicio)) s${nota:+ $nota}${otra:+; a second run for $otra}"
    echo "$nota"
    if [ $estado -ne 0 ] || [ -z "$cuenta" ]; then
        sed -n '/The following tests FAILED/,$p' "$registro"
        grep -B2 -A30 -E '\*\*\*(Failed|Exception|Timeout)' "$registro" | head -n 120
        anota "$nombre" "$nota" no
    else
        anota "$nombre" "$nota" ok
    fi
}

# The release build's binaries again over sdl12-compat, which is picked by
# LD_LIBRARY_PATH. The package is left out: the same bytes as in the release stage.
sdl12_compat() {
    local registro="$REGISTROS/sdl12-compat.log" lib version enlazadas
    if ! lib=$(bash scripts/sdl12-compat.sh build/sdl12-compat 2>"$registro"); then
        printf '%-13s could not fetch sdl12-compat\n' sdl12-compat
        cat "$registro"
        anota sdl12-compat "could not fetch sdl12-compat" no
        return
    fi
    # Read whole, not piped into grep -q: ldd writes line by line, and under
    # pipefail the SIGPIPE of an early grep counts as a failure.
    enlazadas=$(LD_LIBRARY_PATH=$lib ldd build/brikando 2>&1)
    if [[ $enlazadas != *"libSDL-1.2.so.0 => $lib/"* ]]; then
        printf '%-13s the game does not load sdl12-compat\n' sdl12-compat
        echo "$enlazadas" | tee -a "$registro"
        anota sdl12-compat "the game does not load sdl12-compat" no
        return
    fi
    echo "SDL 1.2 from $lib" >>"$registro"
    version=$(basename "$(readlink -f "$lib/libSDL-1.2.so.0")")
    LD_LIBRARY_PATH=$lib prueba sdl12-compat build "-LE paquete" \
        "sdl12-compat ${version#libSDL-1.2.so.} over SDL2 $(version_de "libsdl2-2.0-0:$ARQ")" "(the package left out)"
}

# A cross-build for ARM, $1 armhf or arm64: same sources, same warnings,
# the tests under qemu-user.
arm() {
    etapa "$1" || { salta "$1" "left out (BRIKANDO_ETAPAS)"; return; }
    compila "$1" "build-$1" -DCMAKE_TOOLCHAIN_FILE="cmake/$1.cmake" -DCMAKE_BUILD_TYPE=Release \
        -DBRIKANDO_TESTS=ON -DBRIKANDO_BENCH=ON -DBRIKANDO_GENERADOR=OFF || return
    prueba "$1" "build-$1" "" "$(sdl_de "$1") (qemu-user)" "(the window test runs on the host)"
}

# A fresh root of a newer Debian, $1 (debian13 or unstable) for suite $2,
# where the release package installs and this command runs again.
otra_debian() {
    local nombre=$1 suite=$2 registro="$REGISTROS/$1.log" inicio=$SECONDS estado=ok veredicto=passed
    printf '%-13s ' "$nombre"
    if ! (cd build && cpack -G DEB) >"$registro" 2>&1 ||
        ! bash scripts/debian.sh "$suite" build/brikando_*_"$ARQ".deb "$REGISTROS/$nombre" >>"$registro" 2>&1; then
        estado=no veredicto=FAILED
    fi
    veredicto="$veredicto in $((SECONDS - inicio)) s"
    echo "$veredicto"
    [ $estado = ok ] || tail -n 60 "$registro"
    anota "$nombre" "a fresh Debian $suite root, $veredicto:" $estado
    while IFS= read -r linea; do resumen+=("  $linea"); done < <(sed -n '/^Debian .* summary$/,$s/^  //p' "$registro")
}

# The handheld port: built twice, compared, checked (tests/portmaster.sh)
# and run on handheld stand-ins as a firmware runs it (tests/dispositivo.sh).
portmaster() {
    local registro="$REGISTROS/portmaster.log" inicio=$SECONDS resultado puerto
    printf '%-13s ' portmaster
    wait "$PREPARATIVOS"
    cat "$REGISTROS/raices.log" >>"$registro"
    if [ "$(cat "$REGISTROS/portmaster.estado")" != 0 ]; then
        echo "build FAILED"
        tail -n 40 "$registro"
        anota portmaster "build failed ($registro)" no
        return
    fi
    if ! cmp build-portmaster/brikando.zip build-portmaster-2/brikando.zip >>"$registro" 2>&1 ||
        ! diff -r build-portmaster/brikando build-portmaster-2/brikando >>"$registro" 2>&1; then
        echo "two builds differ"
        anota portmaster "two builds differ ($registro)" no
        return
    fi
    if puerto=$(bash tests/portmaster.sh build-portmaster 2>>"$registro" | tee -a "$registro" | tail -n 1) &&
        [[ $puerto == port:* ]] &&
        resultado=$(bash tests/dispositivo.sh build-portmaster 2>>"$registro" | tee -a "$registro" | tail -n 1) &&
        [[ $resultado == handheld:* ]]; then
        resultado="${puerto#port: }; ${resultado#handheld: }; in $((SECONDS - inicio)) s; two builds the same bytes"
        echo "$resultado"
        anota portmaster "$resultado" ok
    else
        echo "FAILED"
        tail -n 40 "$registro"
        anota portmaster "FAILED in $((SECONDS - inicio)) s ($registro)" no
    fi
}

# The web page: built, then played in headless Chromium, driven by
# puppeteer-core, which npm installs as its lockfile pins it.
web() {
    local registro="$REGISTROS/web.log" inicio=$SECONDS
    printf '%-13s ' web
    if ! bash scripts/web.sh --build-only >"$registro" 2>&1; then
        echo "build FAILED"
        tail -n 40 "$registro"
        anota web "build failed ($registro)" no
        return
    fi
    if ! (cd tests/navegador && npm ci --no-audit --no-fund --loglevel=error) >>"$registro" 2>&1; then
        echo "npm could not install the browser driver"
        tail -n 20 "$registro"
        anota web "npm could not install the browser driver ($registro)" no
        return
    fi
    local navegador resultado
    navegador=$(chromium --version 2>/dev/null | grep -o '[0-9][0-9.]*' | head -n 1)
    if node tests/navegador/prueba.mjs build-web recursos/img >>"$registro" 2>&1; then
        resultado="in Chromium $navegador, headless: the page passed, in $((SECONDS - inicio)) s"
        echo "$resultado"
        anota web "$resultado" ok
    else
        echo "FAILED"
        tail -n 20 "$registro"
        anota web "in Chromium $navegador: FAILED ($registro)" no
    fi
}

SDL_AQUI=$(sdl_de "$ARQ")
if ! etapa release; then
    salta release "left out (BRIKANDO_ETAPAS)"
    salta sdl12-compat "it tests the release stage's build, which was left out"
elif compila release build -DCMAKE_BUILD_TYPE=Release \
    -DBRIKANDO_TESTS=ON -DBRIKANDO_BENCH=ON -DBRIKANDO_GENERADOR=ON; then
    prueba release build "" "$SDL_AQUI"
    if ! etapa sdl12-compat; then
        salta sdl12-compat "left out (BRIKANDO_ETAPAS)"
    elif [[ $SDL_AQUI == sdl12-compat* ]]; then
        salta sdl12-compat "the system's SDL 1.2 is sdl12-compat, which the release stage ran on"
    else
        sdl12_compat
    fi
fi
if ! etapa sanitizers; then
    salta sanitizers "left out (BRIKANDO_ETAPAS)"
elif compila sanitizers build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBRIKANDO_SANITIZE=ON \
    -DBRIKANDO_TESTS=ON -DBRIKANDO_BENCH=OFF -DBRIKANDO_GENERADOR=OFF; then
    prueba sanitizers build-asan "" "$SDL_AQUI"
fi
arm armhf
arm arm64
if etapa web; then
    web
else
    salta web "left out (BRIKANDO_ETAPAS)"
fi

for par in debian13:trixie unstable:sid; do
    nombre=${par%:*}
    if ! etapa "$nombre"; then
        salta "$nombre" "left out (BRIKANDO_ETAPAS)"
    elif ! $ES_DEBIAN12; then
        salta "$nombre" "it runs from Debian 12; this is ${PRETTY_NAME:-another system}"
    elif ! $OTRAS_DEBIAN; then
        salta "$nombre" "it needs root, to make and enter the root"
    elif ! etapa release; then
        salta "$nombre" "it installs the release stage's package, which was left out"
    elif [ ! -x build/brikando ]; then
        anota "$nombre" "not run: the release build failed" no
    else
        otra_debian "$nombre" "${par#*:}"
    fi
done

if ! etapa portmaster; then
    salta portmaster "left out (BRIKANDO_ETAPAS)"
elif ! $PORTMASTER; then
    salta portmaster "it needs root, to make and enter its Debian 11 roots"
else
    portmaster
fi

echo
echo "Summary"
printf '  %s\n' "${resumen[@]}"
if [ $fallo -ne 0 ]; then
    echo "FAILED (logs in $REGISTROS/)"
    exit 1
fi
echo "All tests passed."
