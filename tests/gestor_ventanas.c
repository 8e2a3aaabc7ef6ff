/* The two services of a window manager that the window tests need, which
 * Xvfb has none to give:
 *   gestor_ventanas cierra WINDOW      asks WINDOW to close, as a title bar's
 *                                      close button does (WM_DELETE_WINDOW);
 *   gestor_ventanas pantalla-completa  until killed, answers requests for
 *                                      full screen (_NET_WM_STATE_FULLSCREEN,
 *                                      as SDL2 sends them) by giving the
 *                                      window the whole screen, and back. */

#include <stdlib.h>
#include <string.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

static int Cierra(Display* display, Window ventana)
{
    XEvent evento;
    memset(&evento, 0, sizeof evento);
    evento.xclient.type = ClientMessage;
    evento.xclient.window = ventana;
    evento.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    evento.xclient.format = 32;
    evento.xclient.data.l[0] = (long)XInternAtom(display, "WM_DELETE_WINDOW", False);
    const Status enviado = XSendEvent(display, ventana, False, NoEventMask, &evento);
    XCloseDisplay(display);
    return enviado ? 0 : 1;
}

/* The X server going away ends the test, and this with it. */
static int Termina(Display* display)
{
    (void)display;
    exit(0);
}

static void PantallaCompleta(Display* display)
{
    const Atom estado = XInternAtom(display, "_NET_WM_STATE", False);
    const Atom completa = XInternAtom(display, "_NET_WM_STATE_FULLSCREEN", False);
    const Window raiz = DefaultRootWindow(display);
    int x = 0, y = 0;
    unsigned int ancho = 0, alto = 0;  /* the window's place before full screen */
    XSetIOErrorHandler(Termina);
    XSelectInput(display, raiz, SubstructureNotifyMask);
    for (;;) {
        XEvent evento;
        XNextEvent(display, &evento);
        if (evento.type != ClientMessage || evento.xclient.message_type != estado ||
            ((Atom)evento.xclient.data.l[1] != completa && (Atom)evento.xclient.data.l[2] != completa))
            continue;
        const Window ventana = evento.xclient.window;
        const long accion = evento.xclient.data.l[0]; /* 0 remove, 1 add, 2 toggle */
        Atom actual[1];
        Window sobra;
        unsigned int borde, profundidad;
        if (accion == 1 || (accion == 2 && ancho == 0)) {
            XGetGeometry(display, ventana, &sobra, &x, &y, &ancho, &alto, &borde, &profundidad);
            XMoveResizeWindow(display, ventana, 0, 0, (unsigned)DisplayWidth(display, DefaultScreen(display)),
                              (unsigned)DisplayHeight(display, DefaultScreen(display)));
            actual[0] = completa;
            XChangeProperty(display, ventana, estado, XA_ATOM, 32, PropModeReplace, (unsigned char*)actual, 1);
        } else if (ancho != 0) {
            XMoveResizeWindow(display, ventana, x, y, ancho, alto);
            ancho = 0;
            XChangeProperty(display, ventana, estado, XA_ATOM, 32, PropModeReplace, (unsigned char*)actual, 0);
        }
        XFlush(display);
    }
}

int main(int argc, char** argv)
{
    Display* display = XOpenDisplay(NULL);
    if (display == NULL || argc < 2)
        return 2;
    if (strcmp(argv[1], "cierra") == 0 && argc == 3)
        return Cierra(display, (Window)strtoul(argv[2], NULL, 0));
    if (strcmp(argv[1], "pantalla-completa") == 0)
        PantallaCompleta(display);
    return 2;
}
