#!/bin/bash
# Instructions per drawn frame, counted by valgrind's callgrind inside
# Dibujar: the same count on every run, whatever else the machine is doing.
# usage: bench/instrucciones.sh [BUILD_DIR]   (default: build)
set -euo pipefail
cd "${1:-build}"
trabajo=$(mktemp -d)
trap 'rm -rf "$trabajo"' EXIT

cuenta() {  # $1 mode, $2 N
    local cuadros
    cuadros=$(SDL_VIDEODRIVER=dummy valgrind --tool=callgrind --callgrind-out-file="$trabajo/cg" \
        '--toggle-collect=Dibujar(unsigned int*' ./bench/cuadros "$1" "$2" 2>/dev/null)
    local total
    total=$(awk '/^summary:/ {print $2}' "$trabajo/cg")
    printf '| %-42s | %9d | %12d | %10d |\n' "$3" "$cuadros" "$total" $((total / cuadros))
}

echo "| workload                                   |    frames | instructions | per frame  |"
echo "|--------------------------------------------|-----------|--------------|------------|"
cuenta lleno 200 "nearly full board, score 123456"
cuenta partida 3000 "scripted games, DOWN held (1 minute)"
