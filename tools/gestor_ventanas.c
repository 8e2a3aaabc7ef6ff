/* Two services of a window manager that the window tests need, and Xvfb has
 * no window manager to give:
 *   gestor_ventanas cierra WINDOW      asks WINDOW to close, as a title bar's
 *                                      close button does (WM_DELETE_WINDOW);
 *   gestor_ventanas pantalla-completa  until the X server ends, gives a window
 *                                      that asks for full screen as SDL2 does
 *                                      (_NET_WM_STATE_FULLSCREEN) the whole
 *                                      screen, and its place back after. */

#include <stdlib.h>
#include <string.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

static int Termina(Display* display)
{
    (void)display;
    exit(0);
}

static void PantallaCompleta(Display* display)
{
    const Atom estado = XInternAtom(display, "_NET_WM_STATE", False);
    Atom completa = XInternAtom(display, "_NET_WM_STATE_FULLSCREEN", False);
    int x = 0, y = 0;
    unsigned int ancho = 0, alto = 0, borde, profundidad; /* ancho 0: not in full screen */
    XSetIOErrorHandler(Termina);
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    for (XEvent e;;) {
        XNextEvent(display, &e);
        const long* datos = e.xclient.data.l; /* action (0 remove, 1 add, 2 toggle), two states */
        if (e.type != ClientMessage || e.xclient.message_type != estado ||
            ((Atom)datos[1] != completa && (Atom)datos[2] != completa))
            continue;
        Window ventana = e.xclient.window, raiz;
        if (datos[0] == 1 || (datos[0] == 2 && ancho == 0)) {
            XGetGeometry(display, ventana, &raiz, &x, &y, &ancho, &alto, &borde, &profundidad);
            XMoveResizeWindow(display, ventana, 0, 0, (unsigned)DisplayWidth(display, 0),
                              (unsigned)DisplayHeight(display, 0));
            XChangeProperty(display, ventana, estado, XA_ATOM, 32, PropModeReplace, (unsigned char*)&completa, 1);
        } else if (ancho != 0) {
            XMoveResizeWindow(display, ventana, x, y, ancho, alto);
            ancho = 0;
            XChangeProperty(display, ventana, estado, XA_ATOM, 32, PropModeReplace, (unsigned char*)&completa, 0);
        }
        XFlush(display);
    }
}

int main(int argc, char** argv)
{
    Display* display = XOpenDisplay(NULL);
    if (display != NULL && argc == 2 && strcmp(argv[1], "pantalla-completa") == 0)
        PantallaCompleta(display);
    if (display == NULL || argc != 3 || strcmp(argv[1], "cierra") != 0)
        return 2;
    XEvent e;
    memset(&e, 0, sizeof e);
    e.xclient.type = ClientMessage;
    e.xclient.window = (Window)strtoul(argv[2], NULL, 0);
    e.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    e.xclient.format = 32;
    e.xclient.data.l[0] = (long)XInternAtom(display, "WM_DELETE_WINDOW", False);
    const Status enviado = XSendEvent(display, e.xclient.window, False, NoEventMask, &e);
    XCloseDisplay(display);
    return enviado ? 0 : 1;
}
