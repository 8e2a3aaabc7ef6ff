#ifndef MANDO_H
#define MANDO_H

#include <SDL.h>

// Gamepads, through SDL 1.2's joysticks. Which button is which depends on
// who numbers them, so pads are read in one of these layouts:
// - Linux's own, on the classic library (and on sdl12-compat told not to use
//   its game-controller mode): an Xbox-style pad numbers A 0, Back 6 and
//   Start 7, and its D-pad is hat 0. Presses come as events, in order with
//   the keys.
// - SDL2's game-controller layout, which sdl12-compat shows for every pad
//   SDL2 has a mapping for: Xbox, PlayStation, Switch and 8BitDo pads and the
//   handhelds' controls alike. A 0, Back 4, Start 6, the D-pad buttons 11 to
//   14. No pad event comes in that mode: the pads are polled.
// - a front end's own, such as the browser's standard layout.
// The left stick is axes 0 and 1 in all of them.

struct Disposicion {
    int a, back, start;
    int cruceta[4];  // the D-pad's up, down, left and right buttons; -1: hat 0
    bool sondeo;     // read by polling, not from events
};

// The layouts of Linux's numbering and of SDL2's game controller.
extern const Disposicion DISPOSICION_LINUX;
extern const Disposicion DISPOSICION_SDL2;

// SDL 1.2's joystick calls, as mando makes them. Tests give pads of their
// own; nulls put SDL's back.
struct Joysticks {
    int (*numero)();
    SDL_Joystick* (*abre)(int indice);
    void (*cierra)(SDL_Joystick* mando);
    int (*indice)(SDL_Joystick* mando);
    int (*botones)(SDL_Joystick* mando);
    void (*actualiza)();
    Uint8 (*boton)(SDL_Joystick* mando, int boton);
    Sint16 (*eje)(SDL_Joystick* mando, int eje);
    Uint8 (*cruceta)(SDL_Joystick* mando, int cruceta);
};
void UsaJoysticks(const Joysticks* joysticks);

// Before SDL_Init: where SDL 1.2 is sdl12-compat, asks for its
// game-controller layout, unless the player has chosen.
void PreparaMandos();
// For a front end whose pads have a layout of their own; AbreMandos keeps it.
void FijaDisposicion(const Disposicion& disposicion);

// Opens the pads present now: SDL 1.2 sees none plugged in later. Without
// joystick support the game plays on the keyboard alone, and says nothing.
void AbreMandos();
void CierraMandos();

// What a pad's event means: ENTER for A, ESCAPE for Back, INICIO for Start,
// NO_EVENTOS for anything else. Takes note of what the pads hold.
int EventoMando(const SDL_Event& evento);

// Reads polled pads, and gives their next press as EventoMando would, one a
// call; NO_EVENTOS when none is waiting.
int SondeaMandos();

// Whether a pad holds what the arrow key flecha does: the D-pad, the stick
// past half its range, or A for UP.
bool MandoSostiene(SDLKey flecha);

// A counts as released until its next press: the press that starts a game
// does not also turn its first piece.
void SueltaBotonA();

#endif
