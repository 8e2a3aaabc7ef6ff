#ifndef APOYO_H
#define APOYO_H

// What the tests and the benchmarks share: a simulated clock, boards, shapes
// and the screen as text, and the game's own main played on that clock.

#include <functional>
#include <string>
#include <vector>

#include "constantes.h"
#include "principal.h"

int main_del_juego(int argc, char** argv);  // main, built once more under this name

namespace apoyo {

using Filas = std::vector<std::string>;

// SDL on the dummy driver, and the game's images and font from the working
// directory (the runnable tree), loaded as the game loads them.
extern Block* bloque[TIPOS_BLOQUES];
extern Texto* t_puntaje;
bool Arranca();

// Every Timer on a simulated clock, in microseconds; sleeping advances it.
void SimulaReloj(Uint32 inicio_ms = 1000);
void AvanzaMicros(Uint64 us);

// Boards and shapes as text, a line per row: '.' for 0, '#' or a digit else.
// Rellena fills the bottom rows and empties the rest.
void Rellena(Cuadricula& mapa, const Filas& filas);
std::string Tablero(Cuadricula& mapa);
std::string Forma(Figures pieza);
// A piece at (x, y) whose shape file holds these rows, the rest empty.
Figures Pieza(Filas filas, int x = 0, int y = 0, int tipo = 0);

// Keys as SDL delivers them: held, or pressed (SDLK_UNKNOWN: a quit request).
void Sostiene(SDLKey tecla, bool sostenida = true);
void Pulsa(SDLKey tecla);

// The screen as a player reads it: "menu", or the board's 20 rows and the
// preview's 4, each cell the number of the block image it shows plus 1,
// '.' for the background, '?' for anything else; and a hash of the score's
// pixels, Etiqueta(n) when it shows n as SDL_ttf draws it.
struct Cuadro {
    Uint32 ms;  // when the pass that drew it began
    std::string pantalla;
    size_t etiqueta;
    bool compuesto = true;  // that pass composed the screen anew (JuegaGuion tells)
    Uint32 tranquilo = 0;   // and said nothing changes before then without input (JuegaGuion)
};
Cuadro LeePantalla(Uint32 ms);
size_t Etiqueta(unsigned int numero);

// Plays main on the simulated clock, rand seeded before the first piece. After
// every sleep turno gets the ms since main began. Past limite_ms main is asked
// to quit and the result is -1; otherwise it is main's.
int JuegaMain(unsigned semilla, const std::function<void(Uint32 ms)>& turno, Uint32 limite_ms);

// A script: at ms press a key, hold or release it, or move pad 0's axis, hat
// or button (numbered tecla) to valor. Gives the frame read after every
// sleep, whether its pass composed it (a mark left in a corner of every play
// frame stays until something draws over it) and until when it said nothing
// would change.
struct Paso {
    enum Accion { PULSA, SOSTIENE, SUELTA, EJE, CRUCETA, BOTON };
    Uint32 ms;
    Accion accion;
    int tecla = SDLK_UNKNOWN;
    int valor = 0;
};
std::vector<Cuadro> JuegaGuion(unsigned semilla, const std::vector<Paso>& guion, int* salida = nullptr);

}  // namespace apoyo

#endif
