#!/usr/bin/python3
"""A stand-in for the dialog of PortMaster's pm_show_error: the message on
the screen, here the console's, until a button of any pad is pressed."""
import os, select, sys
import evdev

# Listening before it shows the message: a press seen after it counts. The
# message as the game wrote it, whatever its bytes.
pads = [evdev.InputDevice(ruta) for ruta in evdev.list_devices()]
with open("/dev/tty1", "wb") as consola:
    consola.write(b"\033[2J\033[H" + os.fsencode(sys.argv[1]) + b"\n")
while pads:
    for fd in select.select(pads, [], [])[0]:
        if any(evento.type == evdev.ecodes.EV_KEY and evento.value == 1 for evento in fd.read()):
            # Debian 11's python3-evdev hangs closing devices as Python exits.
            os._exit(0)
