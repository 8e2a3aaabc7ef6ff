#!/bin/bash
# Installs the Debian packages that Brikando needs and that are missing.
# usage: deps.sh play|test|portmaster|web [arm] [debian] [portmaster] [web]   (as root, or with sudo)
#   play        building and playing;      test      building and testing;
#   arm         the ARM cross-builds' compilers and libraries, and qemu-user;
#   debian      mmdebstrap, which makes the Debian 13 and unstable roots;
#   portmaster  building the handheld port in a Debian 11 root, and running it
#               on handheld stand-ins;
#   web         building the web page with Emscripten; with test, Chromium and npm to test it.
set -euo pipefail

JUGAR=(cmake make g++ pkg-config libsdl1.2-dev libsdl-image1.2-dev libsdl-ttf2.0-dev
       fonts-dejavu-core fontconfig)
PROBAR=(libgtest-dev libbenchmark-dev libpng-dev xvfb xdotool x11-apps imagemagick
        dpkg-dev file lintian appstream appstream-compose desktop-file-utils libsdl2-2.0-0
        sway grim xwayland x11-xserver-utils wtype python3)
# The ARM targets' compilers, and their libraries through multiarch.
ARM=(armhf arm64)
CRUZADO=(qemu-user-static)
for arq in "${ARM[@]}"; do
    CRUZADO+=(crossbuild-essential-$arq libsdl1.2debian:$arq libsdl-image1.2:$arq libsdl-ttf2.0-0:$arq
              libgtest-dev:$arq libbenchmark-dev:$arq)
done

PUERTO=(mmdebstrap arch-test qemu-user-static binutils patchelf zip unzip python3 imagemagick xvfb xdotool x11-apps)
# The handheld stand-ins: booted under emulation, and under sway.
DISPOSITIVO=(qemu-system-arm qemu-user-static e2fsprogs cpio kmod sway grim)
WEB=(emscripten cmake make python3 fonts-dejavu-core fontconfig)

case "${1:-}" in
    play) paquetes=("${JUGAR[@]}") ;;
    test) paquetes=("${JUGAR[@]}" "${PROBAR[@]}") ;;
    portmaster) paquetes=("${PUERTO[@]}" "${DISPOSITIVO[@]}") ;;
    web) paquetes=("${WEB[@]}") ;;
    *) echo "usage: $0 play|test|portmaster|web [arm] [debian] [portmaster] [web]" >&2; exit 2 ;;
esac
for grupo in "${@:2}"; do
    case $grupo in
        arm) paquetes+=("${CRUZADO[@]}") ;;
        debian) paquetes+=(mmdebstrap) ;;
        portmaster) paquetes+=("${PUERTO[@]}" "${DISPOSITIVO[@]}") ;;
        # npm only where Node.js came without it.
        web) paquetes+=("${WEB[@]}" chromium)
             command -v npm >/dev/null || paquetes+=(npm) ;;
    esac
done

faltan=()
for paquete in "${paquetes[@]}"; do
    dpkg-query -W -f='${Status}' "$paquete" 2>/dev/null | grep -q 'install ok installed' || faltan+=("$paquete")
done
[ ${#faltan[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo=sudo
echo "Installing ${faltan[*]}"
registro=$(mktemp)
# The ARM libraries come through multiarch, which must know the
# architecture before apt can see them.
actualiza=false
for arq in "${ARM[@]}"; do
    if [[ " ${faltan[*]}" == *:$arq* ]] && ! dpkg --print-foreign-architectures | grep -qx $arq; then
        $sudo dpkg --add-architecture $arq
        actualiza=true
    fi
done
instala() {
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "$@" "${faltan[@]}" \
        </dev/null >>"$registro" 2>&1
}
# The package lists may be missing or stale on a fresh machine, and a
# mirror caught mid-sync serves indexes of the wrong size for a while.
listas_al_dia=false
actualiza_listas() {
    local intento
    $listas_al_dia && return
    listas_al_dia=true
    for intento in 1 2; do
        $sudo apt-get update -qq </dev/null >>"$registro" 2>&1 && return
        [ $intento -eq 2 ] || sleep 15
    done
    return 0
}
# Multiarch wants the ARM libraries at the host's versions. Where the
# mirror's security updates have no usable index for an ARM architecture
# (seen here: armhf's, of the wrong size), the ARM libraries stop
# at the point release's versions, and so must the host's: the install then
# prefers the point release to the security updates.
sin_seguridad() {
    [[ " ${faltan[*]}" == *:arm* ]] || return 1
    local preferencias=$registro.pref
    printf 'Package: *\nPin: release l=Debian-Security\nPin-Priority: 100\n' >"$preferencias"
    echo "Installing from the point release: the security updates lack an ARM index" >>"$registro"
    instala -o Dir::Etc::Preferences="$preferencias"
}
$actualiza && actualiza_listas
if ! instala && ! { actualiza_listas; instala; } && ! sin_seguridad; then
    cat "$registro" >&2
    echo "Could not install ${faltan[*]}" >&2
    exit 1
fi
grep -h '^Installing from the point release' "$registro" >&2 || true
rm -f "$registro" "$registro.pref"
