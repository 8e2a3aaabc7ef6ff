#ifndef VENTANA_H
#define VENTANA_H

#include <SDL.h>

// The game's window, on either SDL 1.2. The classic library draws a 320x240
// window itself and cannot scale it. sdl12-compat (SDL 1.2 over SDL2, the
// SDL 1.2 of most distributions today) presents through SDL2: on a desktop
// the game sizes that window to the screen and, over X11, asks SDL2 for its
// software path, which needs no OpenGL stack. Whatever the player has set in
// the environment wins over what the game would choose.

// Whether SDL 1.2 here is sdl12-compat, which numbers itself 1.2.50 and up.
bool EsSdl12Compat();

// Sets variable to valor unless the player has set it; true when it did.
bool PorDefecto(const char* variable, const char* valor);

// Before SDL_Init: what sdl12-compat and SDL2 read while they start.
void PreparaVentana();

// After SDL_Init: the video mode, on a desktop over sdl12-compat in a window
// as large as EscalaVentana says. Should SDL2's software path fail to open
// it, video starts again on the library's own defaults. Null only when those
// fail too (SDL_GetError says why).
SDL_Surface* AbreVentana(int ancho, int alto, int bpp, Uint32 flags);

// The largest whole multiple of ancho x alto that fits within 85% of a
// desktop escritorio_w x escritorio_h; 1 when nothing larger fits.
int EscalaVentana(int ancho, int alto, int escritorio_w, int escritorio_h);

// F11: full screen and back. The screen is presented again at once, so the
// picture is whole as soon as the window has its new size.
void CambiaPantallaCompleta(SDL_Surface* pantalla);

#endif
