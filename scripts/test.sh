#!/bin/bash
# Installs what is missing, builds everything and runs every test:
#   release       unit, binary, real-window (Xvfb) and package tests, the
#                 asset generator's byte-for-byte check;
#   sdl12-compat  the release build's tests again, on SDL 1.2's interface
#                 over SDL2, the window scaled by two and a virtual pad
#                 (the package aside: the same bytes);
#   sanitizers    the same suite built with AddressSanitizer and UBSan;
#   armhf, arm64  cross-built for 32- and 64-bit ARM: the tests that need
#                 no X server under qemu-user, and the package.
# Prints one summary; exits non-zero on any failure. Logs: build-logs/.
set -uo pipefail
cd "$(dirname "$0")/.."

bash scripts/deps.sh test || exit 1
REGISTROS=build-logs
rm -rf "$REGISTROS"
mkdir -p "$REGISTROS"
NUCLEOS=$(nproc)
resumen=()
fallo=0

# Records a stage's line in the summary, and whether it failed.
anota() {
    resumen+=("$(printf '%-13s %s' "$1" "$2")")
    [ "$3" = ok ] || fallo=1
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

# Runs ctest in $2 for stage $1 with arguments $3; $4 is a note for the summary.
prueba() {
    local nombre=$1 dir=$2 argumentos=$3 nota=${4:-} inicio=$SECONDS
    local registro="$REGISTROS/$nombre.log"
    printf '%-13s ' "$nombre"
    # shellcheck disable=SC2086
    (cd "$dir" && ctest --output-on-failure -j "$NUCLEOS" $argumentos) >>"$registro" 2>&1
    local estado=$?
    local cuenta
    cuenta=$(grep -E 'tests passed, [0-9]+ tests failed out of' "$registro" | tail -n 1)
    nota="in $((SECONDS - inicio)) s${nota:+ $nota}"
    echo "${cuenta:-no tests ran}${nota:+ $nota}"
    if [ $estado -ne 0 ] || [ -z "$cuenta" ]; then
        sed -n '/The following tests FAILED/,$p' "$registro"
        grep -B2 -A30 -E '\*\*\*(Failed|Exception|Timeout)' "$registro" | head -n 120
        anota "$nombre" "${cuenta:-no tests ran}" no
    else
        anota "$nombre" "$cuenta${nota:+ $nota}" ok
    fi
}

# The same binaries over sdl12-compat, which is picked by LD_LIBRARY_PATH.
# The package is left out: the same bytes as in the release stage.
sdl12_compat() {
    local registro="$REGISTROS/sdl12-compat.log" lib
    if ! lib=$(bash scripts/sdl12-compat.sh build/sdl12-compat 2>"$registro"); then
        printf '%-13s could not fetch libsdl1.2-compat\n' sdl12-compat
        cat "$registro"
        anota sdl12-compat "could not fetch libsdl1.2-compat" no
        return
    fi
    if ! LD_LIBRARY_PATH=$lib ldd build/brikando | grep -q "libSDL-1.2.so.0 => $lib/"; then
        printf '%-13s the game does not load sdl12-compat\n' sdl12-compat
        anota sdl12-compat "the game does not load sdl12-compat" no
        return
    fi
    echo "SDL 1.2 from $lib" >>"$registro"
    LD_LIBRARY_PATH=$lib BRIKANDO_SDL=sdl12-compat prueba sdl12-compat build "-LE paquete" "(the package left out)"
}

# A cross-build for ARM, $1 armhf or arm64: same sources, same warnings,
# the tests under qemu-user.
arm() {
    compila "$1" "build-$1" -DCMAKE_TOOLCHAIN_FILE="cmake/$1.cmake" -DCMAKE_BUILD_TYPE=Release \
        -DBRIKANDO_TESTS=ON -DBRIKANDO_BENCH=ON -DBRIKANDO_GENERADOR=OFF || return
    prueba "$1" "build-$1" "" "(the window test runs on the host)"
}

if compila release build -DCMAKE_BUILD_TYPE=Release \
    -DBRIKANDO_TESTS=ON -DBRIKANDO_BENCH=ON -DBRIKANDO_GENERADOR=ON; then
    prueba release build ""
    sdl12_compat
fi
if compila sanitizers build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBRIKANDO_SANITIZE=ON \
    -DBRIKANDO_TESTS=ON -DBRIKANDO_BENCH=OFF -DBRIKANDO_GENERADOR=OFF; then
    prueba sanitizers build-asan ""
fi
arm armhf
arm arm64

echo
echo "Summary"
printf '  %s\n' "${resumen[@]}"
if [ $fallo -ne 0 ]; then
    echo "FAILED (logs in $REGISTROS/)"
    exit 1
fi
echo "All tests passed."
