# Debian roots in folders of /tmp, for the stages that need another release
# or architecture, made as sbuild and pbuilder make theirs. Source it; as root.
#   crea_raiz NAME SUITE [MMDEBSTRAP_OPTION...]   makes one, and sets RAIZ to
#       it: the host's resolv.conf, and its /proc, /sys, /dev, /dev/pts,
#       shared memory and X servers (/tmp/.X11-unix) bound into it. Foreign
#       architectures run under qemu-user, through binfmt_misc. Debian 11
#       comes from its main suite alone: its security updates are not served
#       here. Unstable is a frozen copy whose Release file has expired: apt
#       there is told so.
#   dentro ROOT COMMAND...   runs COMMAND in ROOT, in a clean environment,
#       with no standard input.
#   apt_arm64 DIR   sets APT_CONFIG to an apt of its own in DIR, for Debian
#       12's arm64 packages, which downloads (apt-get download) and installs
#       nothing; it works the same from Debian 12 or 13.
#   desmonta_raiz ROOT   kills what runs in it and unmounts it;
#   quita_raiz ROOT      then removes it.
# On exit, whatever still runs in a root made here is killed, and the root
# unmounted and removed, never while anything is still mounted in it: that
# would reach the host's /dev.

MONTAJES=(proc sys dev dev/pts dev/shm tmp/.X11-unix)
RAICES=()
# Debian's arm64 kernel and glibc sign their pointers: QEMU's own signing
# (pauth-impdef) is the same to them and far cheaper to emulate than the
# architected one. qemu-user takes it as QEMU_CPU (arm64 only: qemu-arm
# has no such property).
CPU_ARM64=max,pauth-impdef=on

# Kills what runs in root $1 and unmounts what was bound into it.
desmonta_raiz() {
    local raiz=$1 k p
    # What still runs in it ends with it.
    for p in /proc/[0-9]*; do
        [ "$(readlink "$p/root" 2>/dev/null)" != "$raiz" ] || kill -KILL "${p#/proc/}" 2>/dev/null || true
    done
    for ((k = ${#MONTAJES[@]} - 1; k >= 0; k--)); do
        ! mountpoint -q "$raiz/${MONTAJES[k]}" || umount --lazy "$raiz/${MONTAJES[k]}"
    done
}
quita_raiz() {
    desmonta_raiz "$1"
    grep -q " $1/" /proc/mounts || rm -rf --one-file-system "$1"
}
desmonta_raices() {
    local raiz
    for raiz in "${RAICES[@]}"; do
        quita_raiz "$raiz"
    done
}
trap desmonta_raices EXIT

crea_raiz() {
    local nombre=$1 suite=$2 d
    shift 2
    RAIZ=$(mktemp -d "/tmp/brikando_$nombre.XXXXXX")
    RAICES+=("$RAIZ")
    # Maintainer scripts of a foreign architecture run under qemu-user.
    if [[ " $* " == *arm64* ]]; then
        export QEMU_CPU=$CPU_ARM64
        [ -e /proc/sys/fs/binfmt_misc/status ] || mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc
        [ -e /proc/sys/fs/binfmt_misc/qemu-aarch64 ] || cat /usr/lib/binfmt.d/qemu-aarch64.conf >/proc/sys/fs/binfmt_misc/register
    fi
    local fuentes=() opciones=()
    [ "$suite" != bullseye ] || fuentes=("deb http://deb.debian.org/debian bullseye main")
    [ "$suite" != sid ] || opciones=(--aptopt='Acquire::Check-Valid-Until "false"')
    mmdebstrap --quiet --variant=minbase "${opciones[@]}" "$@" "$suite" "$RAIZ" "${fuentes[@]}"
    cp /etc/resolv.conf "$RAIZ/etc/"
    for d in "${MONTAJES[@]}"; do
        mkdir -p "$RAIZ/$d" "/$d"
        mount --bind "/$d" "$RAIZ/$d"
    done
}

dentro() {
    local raiz=$1
    shift
    chroot "$raiz" /usr/bin/env -i HOME=/root PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin "$@" </dev/null
}

apt_arm64() {
    mkdir -p "$1/listas/partial" "$1/cache/archives/partial"
    echo "deb [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] http://deb.debian.org/debian bookworm main" \
        >"$1/sources.list"
    printf '%s\n' "Dir::Etc::SourceList \"$1/sources.list\";" 'Dir::Etc::SourceParts "/nonexistent";' \
        "Dir::State::Lists \"$1/listas\";" 'Dir::State::status "/dev/null";' "Dir::Cache \"$1/cache\";" \
        'APT::Architecture "arm64";' 'APT::Architectures { "arm64"; };' 'APT::Sandbox::User "root";' >"$1/apt.conf"
    export APT_CONFIG=$1/apt.conf
    apt-get update -qq
}
