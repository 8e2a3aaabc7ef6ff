#!/usr/bin/env python3
"""Marks a version that an ELF library needs as weak (VER_FLG_WEAK), so that
the loader of an older glibc, which lacks that version, loads it all the same:
a two-byte change to its .gnu.version_r table, which patchelf does not make.
Only for a version none of whose symbols the library still binds to it.

usage: debilita.py LIBRARY VERSION      (64-bit little-endian ELF, in place)
"""
import struct
import sys

SHT_GNU_VERNEED = 0x6FFFFFFE
VER_FLG_WEAK = 0x2


def debilita(ruta, version):
    with open(ruta, "r+b") as elf:
        datos = bytearray(elf.read())
        if datos[:6] != b"\x7fELF\x02\x01":
            sys.exit(f"{ruta}: not a 64-bit little-endian ELF file")
        shoff, = struct.unpack_from("<Q", datos, 0x28)
        shentsize, shnum = struct.unpack_from("<HH", datos, 0x3A)
        secciones = [struct.unpack_from("<IIQQQQIIQQ", datos, shoff + k * shentsize) for k in range(shnum)]
        marcadas = 0
        for _, tipo, _, _, offset, _, enlace, cuantas, _, _ in secciones:
            if tipo != SHT_GNU_VERNEED:
                continue
            cadenas = secciones[enlace][4]
            necesita = offset
            for _ in range(cuantas):
                _, n_aux, _, aux, siguiente = struct.unpack_from("<HHIII", datos, necesita)
                auxiliar = necesita + aux
                for _ in range(n_aux):
                    _, flags, _, nombre, siguiente_aux = struct.unpack_from("<IHHII", datos, auxiliar)
                    fin = datos.index(0, cadenas + nombre)
                    if datos[cadenas + nombre:fin].decode() == version:
                        struct.pack_into("<H", datos, auxiliar + 4, flags | VER_FLG_WEAK)
                        marcadas += 1
                    auxiliar += siguiente_aux
                necesita += siguiente
        if marcadas == 0:
            sys.exit(f"{ruta} does not need {version}")
        elf.seek(0)
        elf.write(datos)


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    debilita(sys.argv[1], sys.argv[2])
