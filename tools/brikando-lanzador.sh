#!/bin/sh
# Installed as bin/brikando: the game reads recursos/ from its working
# directory, so start it from its own tree, wherever the install went.
cd "$(dirname "$(readlink -f "$0")")/../lib/brikando" || exit 1
exec ./brikando "$@"
