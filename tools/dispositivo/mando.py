#!/usr/bin/python3
"""A handheld's built-in controls as its kernel driver shows them: a uinput
pad named and numbered as the R36S's ("GO-Super Gamepad", host bus,
484b:1100, version 0100), with a D-pad, A B X Y, shoulders and triggers,
Select, Start, Home, two sticks. Which codes the real driver sends is our
guess. Lines on FIFO $1 move it: "BTN_EAST 1", "ABS_X -32768"."""
import os, sys
import evdev
from evdev import ecodes as e

BOTONES = [e.BTN_SOUTH, e.BTN_EAST, e.BTN_NORTH, e.BTN_WEST, e.BTN_TL, e.BTN_TR, e.BTN_TL2, e.BTN_TR2,
           e.BTN_SELECT, e.BTN_START, e.BTN_MODE, e.BTN_THUMBL, e.BTN_THUMBR,
           e.BTN_DPAD_UP, e.BTN_DPAD_DOWN, e.BTN_DPAD_LEFT, e.BTN_DPAD_RIGHT]
EJES = [(eje, evdev.AbsInfo(0, -32768, 32767, 16, 128, 0)) for eje in (e.ABS_X, e.ABS_Y, e.ABS_RX, e.ABS_RY)]

pad = evdev.UInput({e.EV_KEY: BOTONES, e.EV_ABS: EJES}, name="GO-Super Gamepad",
                   bustype=0x19, vendor=0x484B, product=0x1100, version=0x0100)
os.mkfifo(sys.argv[1])
while True:
    with open(sys.argv[1]) as ordenes:
        for linea in ordenes:
            codigo, valor = linea.split()
            pad.write(e.EV_KEY if codigo.startswith("BTN_") else e.EV_ABS, getattr(e, codigo), int(valor))
            pad.syn()
