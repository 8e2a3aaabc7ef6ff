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

# The firmware has SDL2; SDL 1.2 (sdl12-compat over it), SDL_image and
# SDL_ttf come with the port.
export LD_LIBRARY_PATH="$GAMEDIR/libs.${DEVICE_ARCH}:$LD_LIBRARY_PATH"
# The device's controls, in SDL2's game-controller layout, which the game reads.
export SDL_GAMECONTROLLERCONFIG="$sdl_controllerconfig"
export SDL12COMPAT_USE_GAME_CONTROLLERS=1
# The picture fills the screen at 4:3: crisp where that is a whole multiple
# of 320x240 (640x480), smooth elsewhere (720x720, 480x320).
ancho=${DISPLAY_WIDTH:-640} alto=${DISPLAY_HEIGHT:-480}
if [ $((ancho * 3)) -le $((alto * 4)) ]; then entero=$((ancho % 320)); else entero=$((alto % 240)); fi
if [ "$entero" -eq 0 ]; then
    export SDL12COMPAT_SCALE_METHOD=nearest
else
    export SDL12COMPAT_SCALE_METHOD=linear
fi

# Closes the game on the firmware's exit hotkey.
$GPTOKEYB "brikando" &
pm_platform_helper "$GAMEDIR/brikando"
./brikando
estado=$?
pm_finish
exit $estado
