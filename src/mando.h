#ifndef MANDO_H
#define MANDO_H

#include <SDL.h>

// Gamepads, through SDL 1.2's joysticks, as Linux numbers Xbox-style pads
// (and so the Steam Deck under Steam, and 8BitDo pads in X-input mode): the
// D-pad is hat 0, the left stick axes 0 and 1, A button 0, Back button 6 and
// Start button 7. What they hold is read as the arrow keys are; what they
// press comes as events, in order with the keys.

// Opens the pads present now: SDL 1.2 sees none plugged in later. Without
// joystick support the game plays on the keyboard alone, and says nothing.
void AbreMandos();
void CierraMandos();

// What a pad's event means: ENTER for A, ESCAPE for Back, INICIO for Start,
// NO_EVENTOS for anything else. Takes note of what the pads hold.
int EventoMando(const SDL_Event& evento);

// Whether a pad holds what the arrow key flecha does: the D-pad, the stick
// past half its range, or A for UP.
bool MandoSostiene(SDLKey flecha);

// A counts as released until its next press: the press that starts a game
// does not also turn its first piece.
void SueltaBotonA();

#endif
