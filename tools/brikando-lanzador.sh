#!/bin/sh
# Installed as games/brikando. The game reads recursos/ from its working
# directory, so start it in its data directory, found from where this
# script lies: an unpacked or moved tree works as well as /usr.
raiz=$(dirname "$(readlink -f "$0")")/..
cd "$raiz/share/games/brikando" || exit 1
exec "$raiz/lib/games/brikando/brikando" "$@"
