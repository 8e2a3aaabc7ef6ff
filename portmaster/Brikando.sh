#!/bin/bash
# PORTMASTER: brikando.zip, Brikando.sh
# Brikando on a handheld, started by the firmware's ports menu.

XDG_DATA_HOME=${XDG_DATA_HOME:-$HOME/.local/share}
if [ -d "/opt/system/Tools/PortMaster/" ]; then
    controlfolder="/opt/system/Tools/PortMaster"
elif [ -d "/opt/tools/PortMaster/" ]; then
    controlfolder="/opt/tools/PortMaster"
elif [ -d "$XDG_DATA_HOME/PortMaster/" ]; then
    controlfolder="$XDG_DATA_HOME/PortMaster"
else
    controlfolder="/roms/ports/PortMaster"
fi
source "$controlfolder/control.txt"
[ -f "$controlfolder/mod_${CFW_NAME}.txt" ] && source "$controlfolder/mod_${CFW_NAME}.txt"
get_controls

GAMEDIR="/$directory/ports/brikando"
cd "$GAMEDIR" || exit 1
: >"$GAMEDIR/log.txt" && exec > >(tee "$GAMEDIR/log.txt") 2>&1

# The device's controls, in SDL2's game-controller layout, which the game
# reads. PortMaster gives the mapping of the pad it knows, or its whole
# database when it knows none: no environment string may be that long (exec
# refuses anything over 128 KiB), and SDL reads the database from its file.
if [ "$(printf %s "$sdl_controllerconfig" | wc -c)" -lt 65536 ]; then
    export SDL_GAMECONTROLLERCONFIG="$sdl_controllerconfig"
elif [ ! -s "${SDL_GAMECONTROLLERCONFIG_FILE:-}" ]; then
    printf '%s\n' "$sdl_controllerconfig" >"$GAMEDIR/gamecontrollerdb.txt"
    export SDL_GAMECONTROLLERCONFIG_FILE="$GAMEDIR/gamecontrollerdb.txt"
fi
export SDL12COMPAT_USE_GAME_CONTROLLERS=1
# The whole screen at once, even under a compositor (ROCKNIX's sway), with
# the picture at 4:3: crisp where that is a whole multiple of 320x240
# (640x480, 1280x720), smooth elsewhere (720x720, 480x320).
export BRIKANDO_PANTALLA_COMPLETA=1
ancho=${DISPLAY_WIDTH:-640} alto=${DISPLAY_HEIGHT:-480}
if [ $((ancho * 3)) -le $((alto * 4)) ]; then entero=$((ancho % 320)); else entero=$((alto % 240)); fi
if [ "$entero" -eq 0 ]; then
    export SDL12COMPAT_SCALE_METHOD=nearest
else
    export SDL12COMPAT_SCALE_METHOD=linear
fi

# SDL 1.2 (sdl12-compat over the firmware's SDL2), SDL_image and SDL_ttf come
# with the port, with what they need; of those, the game gets only what the
# firmware lacks. The firmware's zlib, libpng or FreeType stay its own, for
# its SDL2 and Mesa in the game too, and for everything else it starts.
LIBS="$GAMEDIR/libs.${DEVICE_ARCH}"
precarga=""
while faltan=$(LD_TRACE_LOADED_OBJECTS=1 LD_PRELOAD="$precarga" ./brikando | awk '$3 == "not" {print $1}') &&
    [ -n "$faltan" ]; do
    nuevas=""
    for lib in $faltan; do
        [ ! -e "$LIBS/$lib" ] || nuevas="$nuevas $LIBS/$lib"
    done
    # Missing here and there: the game's start says which.
    [ -n "$nuevas" ] || break
    precarga="${precarga:+$precarga }${nuevas# }"
done

# Closes the game on the firmware's exit hotkey.
$GPTOKEYB "brikando" &
pm_platform_helper "$GAMEDIR/brikando"
salida=$(LD_PRELOAD="$precarga" ./brikando)
estado=$?
[ -z "$salida" ] || echo "$salida"
pm_finish
# A start that fails says why on the screen, where PortMaster can show it.
if [ $estado -ne 0 ] && [ -n "$salida" ] && type pm_show_error >/dev/null 2>&1; then
    pm_show_error "$salida"
fi
exit $estado
