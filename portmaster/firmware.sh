# What the port may take from a firmware, for its build and its test: glibc
# and SDL2, which every firmware has. Everything else comes with the port.
DEL_SISTEMA=" ld-linux-aarch64.so.1 libc.so.6 libm.so.6 libdl.so.2 libpthread.so.0 librt.so.1 libSDL2-2.0.so.0 "

# The libraries ELF file $1 needs, a line each.
necesita() {
    readelf -d "$1" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p'
}
