#!/bin/bash
# Instructions counted by valgrind's callgrind: the same count on every run,
# whatever else the machine is doing.
#   per drawn frame   inside Dibujar, every frame composed and presented;
#   per still pass    a whole play pass (PasoJuego) whose picture does not
#                     change: the difference between 2N and N such passes,
#                     divided by N, so that the first pass, which draws, cancels out.
# usage: bench/instrucciones.sh [BUILD_DIR]   (default: build)
set -euo pipefail
cd "${1:-build}"
trabajo=$(mktemp -d)
trap 'rm -rf "$trabajo"' EXIT

# Prints the instructions inside function $1 while ./bench/cuadros runs $2 $3,
# then what cuadros printed.
instrucciones() {
    local salida
    salida=$(SDL_VIDEODRIVER=dummy valgrind --tool=callgrind --callgrind-out-file="$trabajo/cg" \
        "--toggle-collect=$1" ./bench/cuadros "$2" "$3" 2>/dev/null)
    echo "$(awk '/^summary:/ {print $2}' "$trabajo/cg") $salida"
}
fila() {  # $1 what, $2 frames or passes, $3 instructions
    printf '| %-44s | %8d | %12d | %9d |\n' "$1" "$2" "$3" $(($3 / $2))
}
cada_cuadro() {  # $1 mode, $2 N, $3 what
    local total cuadros
    read -r total cuadros < <(instrucciones 'Dibujar(unsigned int*' "$1" "$2")
    fila "$3" "$cuadros" "$total"
}

echo "| workload                                     |   frames | instructions |      each |"
echo "|----------------------------------------------|----------|--------------|-----------|"
cada_cuadro lleno 200 "a frame drawn, nearly full board, score 123456"
cada_cuadro partida 3000 "main's own loop, DOWN held (1 minute)"
read -r uno _ < <(instrucciones 'PasoJuego(*' quieto 1000)
read -r dos _ < <(instrucciones 'PasoJuego(*' quieto 2000)
fila "a play pass whose picture does not change" 1000 $((dos - uno))
