#ifndef APOYO_H
#define APOYO_H

// What the tests and the benchmarks share: a simulated clock, boards written
// as text, pixels, and main's objects with its frame loop.

#include <string>
#include <vector>

#include "constantes.h"
#include "principal.h"

namespace apoyo {

// The block images and the score label, loaded once per process from the
// runnable tree (the working directory) on SDL's dummy video driver.
extern Block* bloque[TIPOS_BLOQUES];
extern Texto* t_puntaje;
// Brings SDL up on the dummy driver and loads the game's images and font,
// as the game does; false when it cannot (the game's message says why).
// Undone by Apaga.
bool Arranca();
void Apaga();

// Every Timer and every sleep run on this clock once it is in use, counted
// in microseconds. duerme is what a sleep does: by default it advances the
// clock, never sleeps.
void AvanzaReloj(Uint32 ms);
void AvanzaMicros(Uint64 us);
void SimulaReloj(Uint32 inicio_ms = 1000, void (*duerme)(Uint64 us) = AvanzaMicros);
// The clock, in milliseconds.
Uint32 Ahora();
void RelojReal();
// The simulated clock for as long as it lives.
struct RelojSimulado {
    explicit RelojSimulado(Uint32 inicio = 1000) { SimulaReloj(inicio); }
    ~RelojSimulado() { RelojReal(); }
};

// Boards as text, one string per row from the top: '.' empty, '#' = 1,
// digits for other values. Missing rows at the top stay empty.
void Rellena(Cuadricula& mapa, const std::vector<std::string>& filas);
std::string Tablero(Cuadricula& mapa);
// Rows 1 to 19 full but for one cell each, in the three block colours.
void CasiLleno(Cuadricula& mapa);
// A piece's shape in the same alphabet, four rows.
std::string Forma(Figures pieza);
// A 4x4 shape from four rows of the same alphabet.
void Figura(int mapa_figura[][4], const std::vector<std::string>& filas);
// Writes a shape file, exactly these bytes.
void EscribeArchivo(const std::string& path, const std::string& contenido);
// A path in this process's own scratch directory, removed at exit: ctest
// runs test processes side by side, and a shared name lets one read a file
// that another is halfway through writing.
std::string RutaTemporal(const std::string& nombre);

// A held key, as the keyboard state that the play tick samples.
void Sostiene(SDLKey tecla, bool sostenida = true);
void SueltaTodo();
// Queues a key press, or a quit request with SDLK_UNKNOWN.
bool Pulsa(SDLKey tecla);
void VaciaCola();

// A copy of the screen's pixels.
std::vector<Uint8> Captura();
// The colour of a pixel as 0xRRGGBB.
Uint32 Pixel(SDL_Surface* superficie, int x, int y);
// Whether the 10x10 cell at screen (x, y) shows block image imagen.
bool CeldaMuestra(int x, int y, int imagen);

// main's objects, with its frame loop one pass at a time.
struct Partida {
    SDL_Rect rectangulo_menu_principal = {0, 0, ANCHO, ALTO};
    Figures figura_actual;
    Figures figura_siguiente;
    Cuadricula mapa{ALTO_MAPA, ANCHO_MAPA};
    Timer fps_tim;
    Timer figmove_tim;
    Timer key_tim;
    Timer borrados_linea_tim;
    int fig_delay = RETARDO_CAIDA;
    int key_delay = RETARDO_TECLAS;
    int done = 0;
    int estado = MENU;
    bool parada = false;
    bool pause = false;
    unsigned int puntaje = 0;

    void Pasada();
    // Passes until the clock has moved on by at least ms.
    void Juega(Uint32 ms);
};

}  // namespace apoyo

#endif
