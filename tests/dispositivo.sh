#!/bin/bash
# The handheld port as a firmware runs it, on booted stand-ins of a handheld
# (tools/dispositivo.sh): no X and no Wayland, the firmware's SDL2 on
# KMS/DRM, Debian 12's (2.26, as ArkOS names) and Debian 11's (2.0.14). The
# zip is unpacked into the card's ports/, beside a stand-in for PortMaster's
# folder, and Brikando.sh starts as the ports menu starts it,
# with a uinput pad named and numbered as the R36S's built-in controls.
# Checks: the menu fills the screen at 4:3, x2 exactly on 640x480, and
# letterboxed or pillarboxed on 480x320, 720x720, 848x480 and 1280x720; the
# pad plays; Select+Start closes the game through gptokeyb, and nothing of
# the port is left running; PortMaster's whole database in place of the
# pad's mapping still starts the game, and the pad still plays; the game
# maps no bundled library that the firmware has; a failed start shows its
# line on the screen until a button is pressed, and log.txt keeps it;
# nothing is written outside the port's folder but what PortMaster writes
# (and the firmware's Mesa, its shader cache).
# As root; the stand-ins' roots are made once and kept (tools/dispositivo.sh).
# BRIKANDO_PARTES names the parts to run, all by default: "kms pantallas
# debian11 sway".
# usage: dispositivo.sh OUT   (where scripts/portmaster.sh built the port)
#        dispositivo.sh --raices   only makes the roots, ahead of a run
bash "$(dirname "$0")/../scripts/deps.sh" portmaster
. "$(dirname "$0")/../tools/xvfb.sh"
. "$(dirname "$0")/../scripts/raiz.sh"
. "$(dirname "$0")/../tools/dispositivo.sh"
trap 'apaga_dispositivo; acaba_procesos; desmonta_dispositivo "$TRABAJO/cliente"
    desmonta_raices; rm -rf "$TRABAJO"' EXIT
# The stand-in of Debian suite $1, with what its parts need.
raiz() { prepara_dispositivo "$1" "$([ "$1" = bookworm ] && echo libsdl2-tests)"; }
if [ "$1" = --raices ]; then
    for suite in bookworm bullseye sid; do raiz $suite; done
    exit 0
fi
SALIDA=$(cd "$1" && pwd)
IMG=$(cd "$(dirname "$0")/../recursos/img" && pwd)
declare -A SDL_SWAY TARDA_SWAY

TARJETA=$TRABAJO/tarjeta
prepara_tarjeta "$TARJETA" "$SALIDA/brikando.zip"


# Starts the launcher as the ports menu does, with the variables given.
lanza() {
    orden "rm -f /run/lanzador.fin; (cd /roms/ports && env $* bash Brikando.sh >/run/lanzador.txt 2>&1;
        echo \$? >/run/lanzador.fin) >/dev/null 2>&1 &"
    INICIO=$EPOCHREALTIME
}
# Waits up to $1 s for the launcher to end with status $2; $3 says why it should.
espera_lanzador() {
    reintenta "$1" orden "test -e /run/lanzador.fin" >/dev/null ||
        falla "$3: the launcher still runs: $(orden 'tail -n 5 /roms/ports/brikando/log.txt')"
    local estado
    estado=$(orden "cat /run/lanzador.fin")
    [ "$estado" = "$2" ] || falla "$3: the launcher ended with $estado, not $2: $(orden 'cat /roms/ports/brikando/log.txt')"
    ! orden "pgrep -x 'gptokeyb|brikando'" >/dev/null || falla "$3: gptokeyb or the game still runs"
}

# The picture on a screen of $1 (WxH): the 4:3 part the game fills, found
# between the black bands (the mode's width may be rounded), brought to
# 320x240 in $2.
PARTE="" CAPTURA=pantalla_dispositivo
cuadro() {
    local w h a b c d
    IFS=x read -r w h <<<"$1"
    if ((w * 3 > h * 4)); then a=$((h * 4 / 3)) b=$h; else a=$w b=$((w * 3 / 4)); fi
    $CAPTURA "$TRABAJO/d.png" || return 1
    PARTE=${w}x$h+0+0
    ((w * 3 == h * 4)) || PARTE=$(convert "$TRABAJO/d.png" -fill white +opaque black -format '%@' info: 2>/dev/null)
    IFS='x+' read -r c d _ <<<"$PARTE"
    ((c - a <= 2 && a - c <= 2 && d - b <= 2 && b - d <= 2)) &&
        convert "$TRABAJO/d.png" -crop "$PARTE" +repage -sample 320x240 "png24:$2"
}
# Whether the screen of $1 shows image $2: exactly where the scale is whole,
# else within the smoothing.
muestra_dispositivo() {
    local w h
    cuadro "$1" "$TRABAJO/c.png" || return 1
    IFS=x read -r w h <<<"$1"
    if ((w * 3 >= h * 4 && h % 240 == 0 || w * 3 < h * 4 && w % 320 == 0)); then
        [ "$(diferencia "$TRABAJO/c.png" "$2")" = 0 ]
    else
        awk -v e="$(compare -metric RMSE "$TRABAJO/c.png" "$2" null: 2>&1 | sed 's/.*(\(.*\)).*/\1/')" 'BEGIN {exit !(e < 0.1)}'
    fi
}
espera_dispositivo() {
    reintenta "$3" muestra_dispositivo "$1" "$2"
}
# The blocks on the board: "W H X Y" in board pixels.
bloques() {
    cuadro 640x480 "$TRABAJO/b.png" && read -r w h x y < <(piezas "$TRABAJO/b.png" "$IMG/BackGroundT.png") && (($1))
}
# The upstream version of the booted stand-in's SDL2.
sdl2_del_dispositivo() { orden "dpkg-query -W -f '\${Version}' libsdl2-2.0-0" | sed 's/[+-].*//'; }
sostiene() {
    mando "$1" "$2" && reintenta 10 bloques "$3" || falla "$1 $2 held: blocks of $w x $h at $x,$y"
    mando "$1" 0
}

parte() { [[ " ${BRIKANDO_PARTES:-kms pantallas debian11 sway} " == *" $1 "* ]]; }
# What each part that ran showed, for the summary line.
HECHO=()

if parte kms; then
echo "== Debian 12's SDL2 2.26, KMS/DRM, 640x480"
raiz bookworm
arranca_dispositivo 640x480 "$TARJETA"
pon_mando
orden "touch /run/marca"
lanza
espera_dispositivo 640x480 "$IMG/menu_principal.png" 60 || falla "no menu on the screen: $(orden 'cat /roms/ports/brikando/log.txt')"
HASTA_EL_MENU=$(awk -v a="$INICIO" -v b="$EPOCHREALTIME" 'BEGIN {printf "%.1f", b - a}')
# Only what the firmware lacks comes from the port, in the game too.
orden 'p=$(pgrep -x brikando); for lib in $(grep -o "/roms/[^ ]*\.so[.0-9]*" /proc/$p/maps | sort -u); do
    ! ldconfig -p | grep -q " ${lib##*/} " || { echo "$lib shadows the firmware'"'"'s"; exit 1; }; done
    ! grep -q /roms /proc/$(pgrep -x gptokeyb)/maps && ! tr "\0" "\n" </proc/$(pgrep -x gptokeyb)/environ | grep -q ^LD_' ||
    falla "bundled libraries in the firmware's way"
pulsa BTN_EAST
reintenta 10 bloques 'h > 0 && h <= 40' || falla "A in the menu started no game"
for girar in "BTN_EAST 1" "BTN_DPAD_UP 1" "ABS_Y -32768"; do  # A, the D-pad's up, the stick's up
    read -r ancho alto _ <<<"$w $h"
    sostiene $girar "w == $alto && h == $ancho"
done
sostiene BTN_DPAD_LEFT 1 'x == 0'
sostiene ABS_X 32767 'x + w == 100'
sostiene ABS_Y 32767 'y + h == 200'
pulsa BTN_START
sleep 1 && cuadro 640x480 "$TRABAJO/pausa.png"
mando BTN_DPAD_LEFT 1 && sleep 2 && mando BTN_DPAD_LEFT 0
cuadro 640x480 "$TRABAJO/c.png" && [ "$(diferencia "$TRABAJO/c.png" "$TRABAJO/pausa.png")" = 0 ] ||
    falla "the game moved while paused by Start"
pulsa BTN_START
pulsa BTN_SELECT
espera_dispositivo 640x480 "$IMG/menu_principal.png" 10 || falla "Select in a game did not return to the menu"
# The firmware's exit hotkey: gptokeyb ends the game, and the launcher returns.
mando BTN_SELECT 1 && mando BTN_START 1 && sleep 0.5 && mando BTN_START 0 && mando BTN_SELECT 0
espera_lanzador 10 0 "Select+Start"

# PortMaster not knowing the pad hands out its whole database.
orden "rm /dev/input/by-path/platform-odroidgo3-joypad-event-joystick"
lanza
espera_dispositivo 640x480 "$IMG/menu_principal.png" 60 || falla "with the whole database, no menu: \
$(orden 'cat /roms/ports/brikando/log.txt')"
pulsa BTN_EAST
reintenta 10 bloques 'h > 0 && h <= 40' || falla "with the whole database, A started no game"
pulsa BTN_SELECT
espera_dispositivo 640x480 "$IMG/menu_principal.png" 10 || falla "with the whole database, Select did nothing"
pulsa BTN_SELECT
espera_lanzador 10 0 "Select in the menu"

# A start that fails says why, on the screen and in log.txt.
LINEA="Imposible cargar fuente. Path: 'recursos/fonts/comicsans.ttf' :Couldn't open recursos/fonts/comicsans.ttf"
orden "mv /roms/ports/brikando/recursos/fonts/comicsans.ttf /run/"
lanza
reintenta 30 eval '[[ $(orden "cat /dev/vcs1") == *"$LINEA"* ]]' || falla "no message on the screen: $(orden 'cat /dev/vcs1')"
pulsa BTN_EAST
espera_lanzador 10 1 "a failed start, once a button is pressed"
lanza SIN_PM_SHOW_ERROR=1
espera_lanzador 30 1 "a failed start without pm_show_error"
orden "grep -qxF \"$LINEA\" /roms/ports/brikando/log.txt" || falla "log.txt lacks the line"
orden "mv /run/comicsans.ttf /roms/ports/brikando/recursos/fonts/"
# The firmware's Mesa keeps a shader cache, as for any program that draws with it.
fuera=$(orden "find / /roms -xdev -newer /run/marca -type f ! -path '/roms/ports/brikando/*' \
    ! -path '/root/.cache/mesa_shader_cache/*'")
[ -z "$fuera" ] || falla "written outside the port's folder: $fuera"
HECHO+=("on KMS/DRM with SDL2 $(sdl2_del_dispositivo), the menu $HASTA_EL_MENU s after the launcher, x2 on \
640x480; the pad plays, Select+Start closes it; the whole database, a failed start shown")
fi

if parte pantallas; then
echo "== other screens"
raiz bookworm
# 854x480 stands as 848x480: Mesa's software renderer shears a screen whose
# rows are not a whole multiple of 16 pixels, which a handheld's GPU does not.
for tamano in 480x320 720x720 848x480 1280x720; do
    arranca_dispositivo "$tamano" "$TARJETA"
    lanza
    espera_dispositivo "$tamano" "$IMG/menu_principal.png" 60 || falla "$tamano: no menu at 4:3 \
($(identify -format %wx%h "$TRABAJO/d.png")): $(orden 'cat /roms/ports/brikando/log.txt')"
    cp "$TRABAJO/d.png" "$SALIDA/pantalla-$tamano.png"
    orden "pkill -x brikando"
    espera_lanzador 10 0 "$tamano, the game stopped"
done
HECHO+=("at 4:3 on 480x320, 720x720, 848x480, 1280x720")
fi

if parte debian11; then
echo "== Debian 11's SDL2 2.0.14, KMS/DRM, 640x480"
# SDL2 2.0.14 crashes creating its window on KMS/DRM: the game says so in
# its line, which PortMaster shows.
raiz bullseye
arranca_dispositivo 640x480 "$TARJETA"
pon_mando
lanza
CAIDA="SDL se detuvo al abrirlo (violacion de segmento)"
reintenta 60 eval '[[ $(orden "cat /dev/vcs1") == *"$CAIDA"* ]]' || falla "Debian 11: no message on the screen: \
$(orden 'cat /roms/ports/brikando/log.txt')"
pulsa BTN_EAST
espera_lanzador 10 1 "Debian 11, once a button is pressed"
orden "grep -q 'modo de v.deo: SDL se detuvo al abrirlo' /roms/ports/brikando/log.txt" || falla "Debian 11: log.txt lacks the line"
HECHO+=("on SDL2 $(sdl2_del_dispositivo) the game says it cannot open the screen")
apaga_dispositivo
fi

# ROCKNIX and Knulli run ports under sway, on the firmware's SDL2 or SDL3
# (sdl2-compat): the game must fill the screen at once, itself, not float
# in a window of 320x240 until a helper makes it full screen. The stand-ins'
# roots, under qemu-user, against a headless sway on this machine, with the
# environment ROCKNIX exports to ports; their pm_platform_helper finds no
# swaymsg there, as on a firmware without ROCKNIX's helper.
if parte sway; then
echo "== ROCKNIX's sway, under qemu-user: SDL2 2.26 and SDL3"
. "$(dirname "$0")/../tools/sway.sh"
CLIENTE=$TRABAJO/cliente CAPTURA=captura_sway
# Neither root has desktop OpenGL, only GLES2, as such a firmware may not.
for suite in bookworm sid; do
    raiz "$suite"
    monta_dispositivo "$CLIENTE" "$TARJETA"
    SDL_SWAY[$suite]=$(chroot "$CLIENTE" dpkg-query -W -f '${Version}' libsdl2-2.0-0 | sed 's/[+-].*//')
    for tamano in 640x480 720x720 1280x720; do
        arranca_sway "$tamano" 1 consola
        mkdir -p "$CLIENTE/run/0-runtime-dir" && mount --bind "$XDG_RUNTIME_DIR" "$CLIENTE/run/0-runtime-dir"
        chroot "$CLIENTE" /usr/bin/env -i HOME=/root PATH=/usr/bin:/bin QEMU_CPU="$QEMU_CPU" XDG_RUNTIME_DIR=/var/run/0-runtime-dir \
            WAYLAND_DISPLAY="$WAYLAND_DISPLAY" SDL_VIDEODRIVER=wayland DISPLAY_WIDTH="${tamano%x*}" \
            DISPLAY_HEIGHT="${tamano#*x}" bash /roms/ports/Brikando.sh >"$TRABAJO/salida.txt" 2>&1 </dev/null &
        PID_JUEGO=$!
        espera_sway 60 'W > 0' || falla "$suite $tamano: no window: $(cat "$TRABAJO/salida.txt")"
        # Full screen by itself, with no helper to ask sway for it. SDL3 maps
        # its window first and asks for full screen after, which under
        # qemu-user takes seconds: how many is the summary's.
        visto=$SECONDS
        for _ in $(seq 50); do
            read -r W H X Y FS FLOTA TIPO < <(ventana_sway)
            ((FS == 1)) && muestra_dispositivo "$tamano" "$IMG/menu_principal.png" && break
            sleep 0.2
        done
        ((FS == 1)) || falla "$suite $tamano: a window of $W x $H at $X,$Y, not full screen after 10 s"
        ((SECONDS - visto < ${TARDA_SWAY[$suite]:-0})) || TARDA_SWAY[$suite]=$((SECONDS - visto))
        muestra_dispositivo "$tamano" "$IMG/menu_principal.png" || falla "$suite $tamano: no menu at 4:3"
        read -r W H X Y FS FLOTA TIPO < <(ventana_sway)
        [ "${W}x$H" = "$tamano" ] || falla "$suite $tamano: full screen in $W x $H"
        cp "$TRABAJO/d.png" "$SALIDA/sway-$suite-$tamano.png"
        pkill -x brikando
        espera_fin 20 0 "$suite $tamano: the game stopped"
        umount "$CLIENTE/run/0-runtime-dir"
    done
    desmonta_dispositivo "$CLIENTE"
done
HECHO+=("under sway, on SDL2 ${SDL_SWAY[bookworm]} and sdl2-compat ${SDL_SWAY[sid]}, full screen by itself on \
640x480, 720x720, 1280x720 (at most ${TARDA_SWAY[bookworm]} s and ${TARDA_SWAY[sid]} s after the window showed, \
under qemu-user)")
fi
resumen=$(printf '%s; ' "${HECHO[@]}")
echo "handheld: ${resumen%; }"
