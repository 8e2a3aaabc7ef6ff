# A headless sway, the compositor of handheld firmwares (ROCKNIX, Knulli)
# and of some desktops, for the tests that need Wayland: start it, find the
# game's window in its tree, take its screen. Source it after tools/xvfb.sh,
# whose TRABAJO and clean-up it shares. Needs sway, grim and python3 (and
# Xwayland and xhost for X clients); sway refuses to run as root, so it runs as nobody,
# and root connects to its sockets.

PID_SWAY=""

# Starts sway on an output of $1 (WxH) at scale $2 (default 1). $3 says how
# windows behave: "escritorio" floats them at their own size, as a stacking
# desktop does, with Xwayland for X clients; "consola" tiles them, as a
# handheld firmware does, with no X at all. Exports WAYLAND_DISPLAY,
# XDG_RUNTIME_DIR and SWAYSOCK, and with Xwayland DISPLAY, for what follows.
arranca_sway() {
    local dir="$TRABAJO/sway"
    [ -z "$PID_SWAY" ] || { kill $PID_SWAY && wait $PID_SWAY; } 2>/dev/null || true
    # nobody must reach its own folder.
    chmod 711 "$TRABAJO"
    rm -rf "$dir" && mkdir -p "$dir/xdg"
    chown nobody "$dir" "$dir/xdg" && chmod 700 "$dir/xdg"
    {
        echo "output HEADLESS-1 mode --custom $1 scale ${2:-1}"
        if [ "${3:-escritorio}" = escritorio ]; then
            echo 'xwayland enable'
            echo 'for_window [app_id=".*"] floating enable'
            echo 'for_window [class=".*"] floating enable'
        else
            echo 'xwayland disable'
            echo 'default_border none'
        fi
        echo "exec echo \$DISPLAY >$dir/display"
    } >"$dir/config"
    runuser -u nobody -- env -i PATH=/usr/bin:/bin XDG_RUNTIME_DIR="$dir/xdg" WLR_BACKENDS=headless \
        WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 sway -c "$dir/config" >"$dir/sway.log" 2>&1 &
    PID_SWAY=$!
    AYUDANTES="$AYUDANTES $PID_SWAY"
    reintenta 10 eval 'compgen -G "$dir/xdg/sway-ipc.*.sock" >/dev/null && [ -s "$dir/display" ]' ||
        falla "sway did not start: $(tail -n 5 "$dir/sway.log")"
    export XDG_RUNTIME_DIR="$dir/xdg" WAYLAND_DISPLAY
    WAYLAND_DISPLAY=$(basename "$(compgen -G "$dir/xdg/wayland-*[0-9]" | head -n 1)")
    SWAYSOCK=$(compgen -G "$dir/xdg/sway-ipc.*.sock" | head -n 1)
    export SWAYSOCK
    if [ "${3:-escritorio}" = escritorio ]; then
        export DISPLAY
        DISPLAY=$(cat "$dir/display")
        # Xwayland lets in its own user alone; the tests run as root.
        runuser -u nobody -- env DISPLAY="$DISPLAY" xhost +si:localuser:root >/dev/null
    else
        unset DISPLAY
    fi
}

# The game's window in sway's tree, what it shows without borders or title,
# in logical pixels: "W H X Y FULLSCREEN FLOATING SHELL", or nothing. A
# Wayland window is found by its app_id, an X one by its title.
ventana_sway() {
    swaymsg -t get_tree 2>/dev/null | python3 -c '
import json, sys
def busca(nodo, flota):
    if nodo.get("app_id") == "brikando" or (nodo.get("shell") == "xwayland" and nodo.get("name") == "Brikando"):
        r, v = nodo["rect"], nodo["window_rect"]
        print(v["width"], v["height"], r["x"] + v["x"], r["y"] + v["y"], nodo.get("fullscreen_mode", 0), int(flota),
              nodo["shell"])
        sys.exit()
    for hijo in nodo.get("nodes", []):
        busca(hijo, flota)
    for hijo in nodo.get("floating_nodes", []):
        busca(hijo, True)
busca(json.load(sys.stdin), False)'
}

# Waits up to $1 s for the game's window to meet $2, with W, H, X, Y, FS
# (1 in full screen), FLOTA (1 floating) and TIPO (the shell) set from ventana_sway.
espera_sway() {
    reintenta "$1" eval 'read -r W H X Y FS FLOTA TIPO < <(ventana_sway) && (('"$2"'))'
}

# The whole screen, in the output's own pixels, into PNG $1.
captura_sway() {
    grim -t png "$1"
}

# Key $1 from a virtual keyboard. sway has no keyboard until one appears, and
# a client binds it only then: a first key, and a wait, let it.
tecla_sway() {
    wtype -s 400 -k Shift_L -k "$1"
}
