#!/bin/bash
# Installs what is missing, builds Brikando (release) and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/deps.sh play
# Only the game: the tests and tools need packages that playing does not.
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release \
    -DBRIKANDO_TESTS=OFF -DBRIKANDO_BENCH=OFF -DBRIKANDO_GENERADOR=OFF >/dev/null
cmake --build build --target brikando -j "$(nproc)" >/dev/null
# The game reads recursos/ from its working directory: the build tree has it.
cd build
exec ./brikando
