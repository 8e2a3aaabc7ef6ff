/* Asks a window to close the way a window manager's close button does:
 * a WM_DELETE_WINDOW message. Xvfb runs no window manager to send it.
 * usage: cierra_ventana WINDOW_ID */

#include <stdio.h>
#include <stdlib.h>

#include <X11/Xlib.h>

int main(int argc, char** argv)
{
    if (argc != 2) {
        fprintf(stderr, "usage: %s WINDOW_ID\n", argv[0]);
        return 2;
    }
    Display* display = XOpenDisplay(NULL);
    if (display == NULL) {
        fprintf(stderr, "cannot open display\n");
        return 1;
    }
    XEvent evento = {0};
    evento.xclient.type = ClientMessage;
    evento.xclient.window = (Window)strtoul(argv[1], NULL, 0);
    evento.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    evento.xclient.format = 32;
    evento.xclient.data.l[0] = (long)XInternAtom(display, "WM_DELETE_WINDOW", False);
    evento.xclient.data.l[1] = CurrentTime;
    const Status enviado = XSendEvent(display, evento.xclient.window, False, NoEventMask, &evento);
    XCloseDisplay(display);
    return enviado ? 0 : 1;
}
