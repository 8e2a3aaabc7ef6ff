/* Asks a window to close as a window manager's close button does, with a
 * WM_DELETE_WINDOW message: Xvfb has no window manager to send it.
 * usage: cierra_ventana WINDOW_ID */

#include <stdlib.h>

#include <X11/Xlib.h>

int main(int argc, char** argv)
{
    Display* display = XOpenDisplay(NULL);
    if (argc != 2 || display == NULL)
        return 2;
    XEvent evento = {0};
    evento.xclient.type = ClientMessage;
    evento.xclient.window = (Window)strtoul(argv[1], NULL, 0);
    evento.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    evento.xclient.format = 32;
    evento.xclient.data.l[0] = (long)XInternAtom(display, "WM_DELETE_WINDOW", False);
    const Status enviado = XSendEvent(display, evento.xclient.window, False, NoEventMask, &evento);
    XCloseDisplay(display);
    return enviado ? 0 : 1;
}
