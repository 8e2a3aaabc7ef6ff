#!/bin/bash
# Installs what is missing, builds everything and runs every test:
#   release     unit, binary, real-window (Xvfb) and valgrind tests, the
#               asset generator's byte-for-byte check;
#   sanitizers  the same suite built with AddressSanitizer and UBSan;
#   fuzz        the libFuzzer targets, 30 s each.
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

# Runs one stage: configure, build, ctest. $1 name, $2 build dir, $3 ctest
# arguments, then cmake options.
etapa() {
    local nombre=$1 dir=$2 argumentos=$3
    shift 3
    local registro="$REGISTROS/$nombre.log"
    printf '%-11s ' "$nombre"
    if ! { cmake -S . -B "$dir" "$@" && cmake --build "$dir" -j "$NUCLEOS"; } >"$registro" 2>&1; then
        echo "build FAILED"
        tail -n 40 "$registro"
        resumen+=("$(printf '%-11s build failed (%s)' "$nombre" "$registro")")
        fallo=1
        return
    fi
    # shellcheck disable=SC2086
    (cd "$dir" && ctest --output-on-failure -j "$NUCLEOS" $argumentos) >>"$registro" 2>&1
    local estado=$?
    local cuenta
    cuenta=$(grep -E 'tests passed, [0-9]+ tests failed out of' "$registro" | tail -n 1)
    echo "${cuenta:-no tests ran}"
    if [ $estado -ne 0 ] || [ -z "$cuenta" ]; then
        sed -n '/The following tests FAILED/,$p' "$registro"
        grep -B2 -A30 -E '\*\*\*(Failed|Exception|Timeout)' "$registro" | head -n 120
        fallo=1
    fi
    resumen+=("$(printf '%-11s %s' "$nombre" "${cuenta:-no tests ran}")")
}

etapa release build "" -DCMAKE_BUILD_TYPE=Release \
    -DBRIKANDO_TESTS=ON -DBRIKANDO_BENCH=ON -DBRIKANDO_GENERADOR=ON
etapa sanitizers build-asan "-LE valgrind" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBRIKANDO_SANITIZE=ON \
    -DBRIKANDO_TESTS=ON -DBRIKANDO_BENCH=OFF -DBRIKANDO_GENERADOR=OFF
etapa fuzz build-fuzz "" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBRIKANDO_FUZZ=ON \
    -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14

echo
echo "Summary"
printf '  %s\n' "${resumen[@]}"
if [ $fallo -ne 0 ]; then
    echo "FAILED (logs in $REGISTROS/)"
    exit 1
fi
echo "All tests passed."
