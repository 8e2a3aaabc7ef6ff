# A handheld stand-in, booted: Debian's arm64 kernel and userland in
# qemu-system-aarch64 (TCG), with no display server. The screen is a
# virtio-gpu (KMS/DRM, /dev/dri/card0) of the size asked for; uinput and
# evdev make pads; commands go in over a virtio serial port, the screen
# comes out through QEMU's monitor. The root is Debian's own, made once and
# kept in BRIKANDO_CACHE (default /var/cache/brikando), and booted read-only
# over a scratch layer; a second disk, made for each run from a folder,
# holds /roms and PortMaster's folder. The initrd is ours: busybox and the
# modules that reach the root disk. Source it after tools/xvfb.sh and
# scripts/raiz.sh, and call apaga_dispositivo on exit; as root. Needs qemu-system-arm, qemu-user-static,
# mmdebstrap, e2fsprogs, cpio, kmod.

CACHE=${BRIKANDO_CACHE:-/var/cache/brikando}
# The cache keeps a root for its suite, its packages, its init and this
# number: change it when prepara_dispositivo makes roots another way.
HECHURA=1
PIEZAS=$(cd "$(dirname "${BASH_SOURCE[0]}")/dispositivo" && pwd)
INIT=$PIEZAS/init
# Pointers signed the cheap way (scripts/raiz.sh): a boot takes 7 s, not 16.
export QEMU_CPU=$CPU_ARM64
PID_QEMU=""
PID_TUBOS=""
MAQUINA=""

# Makes (or finds in the cache) the stand-in of Debian suite $1 (bullseye,
# bookworm) with arm64 packages $2 (comma-separated) besides SDL2, Mesa,
# udev and python3-evdev; sets MAQUINA to its folder: raiz.img, vmlinuz,
# initrd.img.
prepara_dispositivo() {
    local suite=$1 paquetes="libsdl2-2.0-0,libegl-mesa0,libegl1,libgbm1,libgl1-mesa-dri,libgles2,udev,python3-evdev,kmod,procps,psmisc${2:+,$2}"
    local clave
    clave=$({ cat "$INIT"; echo "$HECHURA $suite $paquetes"; } | sha256sum | cut -c 1-16)
    MAQUINA="$CACHE/dispositivo-$suite-$clave"
    [ -s "$MAQUINA/raiz.img" ] && return
    rm -rf "$CACHE"/dispositivo-"$suite"-* && mkdir -p "$MAQUINA"
    local apt
    crea_raiz "dispositivo-$suite" "$suite" --architectures=arm64 --include="$paquetes"
    local raiz=$RAIZ
    # The kernel and busybox, from Debian 12 for both: unpacked, never
    # installed (that would build an initrd under emulation, for minutes).
    apt=$TRABAJO/apt-dispositivo
    apt_arm64 "$apt"
    local nucleo
    nucleo=$(apt-cache depends linux-image-arm64 | sed -n 's/.*Depends: \(linux-image-.*\)/\1/p')
    mkdir -p "$apt/deb"
    (cd "$apt/deb" && apt-get download -qq "$nucleo" busybox-static)
    unset APT_CONFIG
    dpkg-deb -x "$apt"/deb/linux-image-*.deb "$apt/nucleo"
    dpkg-deb -x "$apt"/deb/busybox-static_*.deb "$apt/busybox"
    local version modulos=$apt/nucleo/lib/modules
    version=$(ls "$modulos")
    cp "$apt/nucleo/boot/vmlinuz-$version" "$MAQUINA/vmlinuz"
    # The root gets the drivers it loads: DRM, input, the serial port.
    mkdir -p "$raiz/lib/modules/$version/kernel/drivers"
    cp -r "$modulos/$version"/kernel/drivers/{gpu,input,char,virtio,hid,video} "$raiz/lib/modules/$version/kernel/drivers/"
    cp -r "$modulos/$version"/kernel/lib "$raiz/lib/modules/$version/kernel/"
    cp "$modulos/$version"/modules.{order,builtin,builtin.modinfo} "$raiz/lib/modules/$version/"
    depmod -b "$raiz" "$version"
    depmod -b "$apt/nucleo" "$version"
    mkdir -p "$raiz"/{roms,mnt/tarjeta,opt/system/Tools/PortMaster}
    cp "$INIT" "$raiz/sbin/init-prueba"
    chmod 755 "$raiz/sbin/init-prueba"
    # The initrd: the modules that reach an ext4 root on virtio, in order.
    local initrd=$apt/initrd m
    mkdir -p "$initrd"/{bin,mods,dev,proc,raiz}
    cp "$apt/busybox/bin/busybox" "$initrd/bin/"
    for m in crc32c_generic virtio_pci_legacy_dev virtio_pci_modern_dev virtio_pci virtio_blk crc16 mbcache jbd2 ext4; do
        cp "$modulos/$version/$(grep -E "/$m.ko:" "$modulos/$version/modules.dep" | cut -d: -f1)" "$initrd/mods/"
        echo "$m" >>"$initrd/mods/orden"
    done
    cat >"$initrd/init" <<'FIN'
#!/bin/busybox sh
/bin/busybox mount -t devtmpfs dev /dev
for m in $(/bin/busybox cat /mods/orden); do /bin/busybox insmod /mods/$m.ko; done
for i in $(/bin/busybox seq 100); do [ -b /dev/vda ] && break; /bin/busybox sleep 0.1; done
/bin/busybox mount -t ext4 /dev/vda /raiz
/bin/busybox mount --move /dev /raiz/dev
exec /bin/busybox switch_root /raiz /sbin/init-prueba
FIN
    chmod 755 "$initrd/init"
    (cd "$initrd" && find . | cpio -o -H newc --quiet) | gzip -1 >"$MAQUINA/initrd.img"
    desmonta_raiz "$raiz"
    mke2fs -q -t ext4 -d "$raiz" "$MAQUINA/raiz.img" 2G
    quita_raiz "$raiz"
}

# Makes in folder $1 the SD card of a firmware with the port of zip $2
# installed: the port unpacked into roms/ports/, PortMaster's folder (our
# stand-in of it, with a database as large as PortMaster's, 472 KB, whose
# pads are made up but the R36S's), and the stand-in's pad in prueba/.
prepara_tarjeta() {
    mkdir -p "$1"/{roms/ports,PortMaster,prueba}
    unzip -q "$2" -d "$1/roms/ports"
    cp "$PIEZAS"/portmaster/{control.txt,gptokeyb,dialogo.py} "$1/PortMaster/"
    cp "$PIEZAS"/{mando.py,70-r36s.rules} "$1/prueba/"
    # How the R36S's controls map is our guess: A is the right-hand button.
    local r36s="190000004b4800000011000000010000,GO-Super Gamepad,a:b1,b:b0,x:b2,y:b3,leftshoulder:b4,\
rightshoulder:b5,lefttrigger:b6,righttrigger:b7,back:b8,start:b9,guide:b10,leftstick:b11,rightstick:b12,\
dpup:b13,dpdown:b14,dpleft:b15,dpright:b16,leftx:a0,lefty:a1,rightx:a2,righty:a3,platform:Linux,"
    python3 - "$r36s" >"$1/PortMaster/gamecontrollerdb.txt" <<'FIN'
import random, sys
random.seed(7)
for n in range(3600):
    print(f"03000000{random.getrandbits(16):04x}0000{random.getrandbits(16):04x}000011010000,Mando {n},a:b0,b:b1,"
          "x:b2,y:b3,back:b6,start:b7,guide:b8,leftshoulder:b4,rightshoulder:b5,dpup:h0.1,dpdown:h0.4,dpleft:h0.8,"
          "dpright:h0.2,leftx:a0,lefty:a1,rightx:a3,righty:a4,lefttrigger:a2,righttrigger:a5,platform:Linux,")
print(sys.argv[1])
FIN
}

# Boots MAQUINA with a screen of $1 (WxH) and, as its second disk, folder
# $2 (its roms/ and PortMaster/ go to /roms and PortMaster's place); waits
# for it to take commands.
arranca_dispositivo() {
    local w h
    IFS=x read -r w h <<<"$1"
    apaga_dispositivo
    rm -f "$TRABAJO"/{orden,monitor}.{in,out} "$TRABAJO/serie.txt"
    mkfifo "$TRABAJO"/{orden,monitor}.{in,out}
    mke2fs -q -t ext4 -d "$2" "$TRABAJO/datos.img" 256M
    # Held open both ways, so that neither side blocks opening them.
    sleep infinity <>"$TRABAJO/orden.in" 3<>"$TRABAJO/orden.out" 4<>"$TRABAJO/monitor.in" 5<>"$TRABAJO/monitor.out" &
    PID_TUBOS=$!
    qemu-system-aarch64 -M virt -cpu "$QEMU_CPU" -smp 2 -m 1024 -nodefaults -display none \
        -kernel "$MAQUINA/vmlinuz" -initrd "$MAQUINA/initrd.img" -append "console=ttyAMA0 quiet" \
        -drive "file=$MAQUINA/raiz.img,format=raw,if=virtio,snapshot=on" \
        -drive "file=$TRABAJO/datos.img,format=raw,if=virtio" \
        -device "virtio-gpu-pci,xres=$w,yres=$h" -device virtio-serial-pci \
        -chardev "pipe,id=orden,path=$TRABAJO/orden" -device virtserialport,chardev=orden,name=orden \
        -chardev "pipe,id=monitor,path=$TRABAJO/monitor" -mon chardev=monitor \
        -serial "file:$TRABAJO/serie.txt" >"$TRABAJO/qemu.txt" 2>&1 &
    PID_QEMU=$!
    # The serial console ends its lines in CR LF.
    reintenta 120 grep -qs '^LISTO' "$TRABAJO/serie.txt" || falla "the stand-in did not boot: $(tail -n 20 "$TRABAJO/serie.txt")"
}

# Mounts MAQUINA's root, read-only, at folder $1 for chroot, with scratch
# /tmp, /run and /root, the host's /proc, /sys, /dev and shared memory, and the SD
# card's folder $2 at /roms and PortMaster's place: its programs run under
# qemu-user. desmonta_dispositivo $1 undoes it.
monta_dispositivo() {
    local d
    mkdir -p "$1"
    mount -o loop,ro "$MAQUINA/raiz.img" "$1"
    for d in tmp run root; do mount -t tmpfs tmpfs "$1/$d"; done
    for d in proc sys dev dev/pts dev/shm; do mount --bind "/$d" "$1/$d"; done
    mount --bind "$2/roms" "$1/roms"
    mount --bind "$2/PortMaster" "$1/opt/system/Tools/PortMaster"
}
desmonta_dispositivo() {
    local m
    for m in $(awk -v r="$1" '$2 == r || index($2, r "/") == 1 {print $2}' /proc/mounts | sort -r); do
        umount --lazy "$m"
    done
}

apaga_dispositivo() {
    [ -z "$PID_QEMU" ] || { kill $PID_QEMU $PID_TUBOS && wait $PID_QEMU $PID_TUBOS; } 2>/dev/null || true
    PID_QEMU="" PID_TUBOS=""
}

# Runs the shell command $* on the stand-in, in its own session: its output
# comes back, and its status is the function's. Up to ORDEN_S seconds (60).
# It travels as one line of base64 after a number of its own, which marks
# every line of its output: what an earlier command left unread is skipped.
ORDENES=0
orden() {
    local linea numero=$((++ORDENES))
    printf '%s %s\n' "$numero" "$(printf '%s' "$*" | base64 -w 0)" >"$TRABAJO/orden.in"
    while IFS= read -r -t "${ORDEN_S:-60}" linea <"$TRABAJO/orden.out"; do
        [[ $linea == "$numero "* ]] || continue
        linea=${linea#"$numero "}
        # Output that does not end its last line ends it with the mark.
        if [[ $linea == *"@@fin "* ]]; then
            [ -z "${linea%@@fin *}" ] || echo "${linea%@@fin *}"
            return "${linea##*@@fin }"
        fi
        echo "$linea"
    done
    falla "the stand-in did not answer: $*"
}

# The pad of the card's prueba/, as the board's own controls: udev links it
# where PortMaster looks.
pon_mando() {
    orden "cp /mnt/tarjeta/prueba/70-r36s.rules /etc/udev/rules.d/ && udevadm control --reload &&
        (python3 /mnt/tarjeta/prueba/mando.py /run/mando >/run/mando.txt 2>&1 &) &&
        for i in \$(seq 50); do [ -e /dev/input/by-path/platform-odroidgo3-joypad-event-joystick ] && exit 0; sleep 0.2; done;
        cat /run/mando.txt; exit 1" || falla "no pad"
}
# Code $1 of the pad to value $2; "pulsa CODE" presses and lets go.
mando() { orden "echo $1 $2 >/run/mando"; }
pulsa() { orden "echo $1 1 >/run/mando; sleep 0.4; echo $1 0 >/run/mando"; }

# The stand-in's screen into PNG $1.
pantalla_dispositivo() {
    rm -f "$TRABAJO/pantalla.ppm"
    echo "screendump $TRABAJO/pantalla.ppm" >"$TRABAJO/monitor.in"
    reintenta 10 test -s "$TRABAJO/pantalla.ppm" && sleep 0.2 && convert "$TRABAJO/pantalla.ppm" "png24:$1"
}
