#ifndef PRINCIPAL_H
#define PRINCIPAL_H

#include <SDL.h>

#include "bloques.h"
#include "cuadricula.h"
#include "figuras.h"
#include "texto.h"
#include "timer.h"

// Set at start-up, read by the menu and by frame drawing.
extern SDL_Surface* pantalla;
extern SDL_Surface* menu_principal;
extern SDL_Surface* background_game;

// Start-up. Each returns 0, or writes one message line to standard output
// and returns 1; a loader stops at the first asset that fails. Pads are
// opened too, but without them the game still starts.
int Inicia_SDL();
int InicializaSprites(Block** bloque, Texto& t_puntaje);
// Every shape file must be readable and hold at least one block.
int CompruebaFiguras();
// Seeds rand, fits the menu rectangle to the menu image, sets the caption.
void Inicializa(SDL_Rect& rectangulo_menu_principal);

// Drains the event queue up to the first event of interest, a key's or a
// pad's, and returns its code (ENTER, ESCAPE, QUIT, K_PAUSE, INICIO); then
// the polled pads' next press, or NO_EVENTOS. Later events stay queued. A
// window exposed again on the way is presented again, and F11 takes it to
// full screen and back; neither reaches the game.
int CompruebaEventos();

// Frees the block images and the screen images, closes the pads, and
// arranges for SDL_ttf and SDL to shut down at exit. Safe after a partial
// start-up.
void Finaliza(Block** bloque);

// Brings the next piece to the spawn point, from the preview or, at a
// game's first spawn, from a random shape, then draws a new preview.
// 0 when the piece is in play, 1 when it is blocked (game over).
int NuevaFigura(Figures& figura_actual, Figures& figura_siguiente, Block** bloque, Cuadricula& mapa);
// Score 0, removal stopwatch restarted, empty board, no pieces.
void ResetGame(unsigned int& puntaje, Timer& borrados_linea_tim, Cuadricula& mapa, Figures& figura_actual,
               Figures& figura_siguiente);

// Removes the full rows among board rows posy .. posy + 3 (cut at the floor)
// and scores them.
void BorraFila(int posy, Timer& borrados_linea_tim, unsigned int& puntaje, Cuadricula& mapa);
// Adds 30 n - 10 plus the speed bonus 30 * (20000 / t) for n rows removed t ms
// after the previous removal (no bonus for t <= 0), then restarts the stopwatch.
void AumentarPuntaje(unsigned int& puntaje, Timer& borrados_linea_tim, unsigned int& filas_borradas);

// Composes one play frame (background, board, pieces, score) and flips it,
// unless the screen shows that very frame already.
void Dibujar(unsigned int puntaje, Figures figura_actual, Figures figura_siguiente, Block** bloque, Cuadricula& mapa,
             Texto& t_puntaje);

// Whoever else draws on pantalla calls this: the next Dibujar then composes
// and presents whatever it is given.
void OlvidaCuadro();

// One pass of the frame loop in the menu: shows the menu and waits for
// RETURN or Start (play), ESCAPE or a quit request (done), sleeping while idle.
void PasoMenu(SDL_Rect& rectangulo_menu_principal, int& done, int& estado, bool& pause, Timer& fps_tim);
// One pass of the frame loop in play: spawn, draw, input, held keys, fall
// rate, events, fall step, landing, pacing.
void PasoJuego(Figures& figura_actual, Figures& figura_siguiente, Block** bloque, Cuadricula& mapa,
               Texto& t_puntaje, unsigned int& puntaje, Timer& fps_tim, Timer& figmove_tim, Timer& key_tim,
               Timer& borrados_linea_tim, int& fig_delay, int key_delay, int& done, int& estado, bool& parada,
               bool& pause);
// Pads the pass that fps_tim has timed to MILISEGUNDOS_LOOP; nothing
// changes until tranquilo_ms after its start without input (see Timer::Duerme).
void RegulaPasada(Timer& fps_tim, int tranquilo_ms = 0);

#endif
