#ifndef VENTANA_H
#define VENTANA_H

#include <SDL.h>

// The game's window, on either SDL 1.2. The classic library draws a 320x240
// window itself and cannot scale it. sdl12-compat (SDL 1.2 over SDL2 or, on
// the newest systems, over SDL3 through sdl2-compat) presents through SDL2:
// on a desktop the game sizes that window to the screen and, over X11, asks
// for the software path, which needs no OpenGL stack. Whatever the player has
// set in the environment wins over what the game would choose.

// Whether SDL 1.2 here is sdl12-compat, which numbers itself 1.2.50 and up.
bool EsSdl12Compat();

// Sets variable to valor unless the player has set it; true when it did.
bool PorDefecto(const char* variable, const char* valor);

// Before SDL_Init, as SDL reads them when video starts: the scaling method
// and, where SDL will pick X11, the software path.
void PreparaVentana();

// After SDL_Init, which picks the video driver: the video mode. On a desktop
// over sdl12-compat it comes in a window as large as EscalaVentana says;
// with BRIKANDO_PANTALLA_COMPLETA=1 (a handheld's launcher sets it) it fills
// the screen at once. Should the software path fail to open it (SDL picked
// another driver), video starts again on the library's own defaults. Null when nothing opens; SDL_GetError
// then says why, even where sdl12-compat loses SDL's own reason.
SDL_Surface* AbreVentana(int ancho, int alto, int bpp, Uint32 flags);

// The largest whole multiple of ancho x alto that fits within 85% of a
// desktop escritorio_w x escritorio_h; 1 when nothing larger fits.
int EscalaVentana(int ancho, int alto, int escritorio_w, int escritorio_h);

// F11: full screen and back. The screen is presented again at once, so the
// picture is whole as soon as the window has its new size.
void CambiaPantallaCompleta(SDL_Surface* pantalla);

#endif
