// Draws frames for valgrind's callgrind to count: cuadros [lleno|partida] N
//   lleno    N frames of a nearly full board with the score 123456;
//   partida  N passes of a scripted game (DOWN held, every frame drawn).
// Run from the build directory; bench/instrucciones.sh divides the count.

#include <cstdlib>
#include <cstring>

#include "apoyo.h"

using namespace apoyo;

int main(int argc, char** argv)
{
    if (argc != 3 || !Arranca())
        return 2;
    const int n = atoi(argv[2]);
    RelojSimulado reloj;
    srand(1);
    Partida p;
    p.estado = ACTIVO;
    if (strcmp(argv[1], "lleno") == 0) {
        NuevaFigura(p.figura_actual, p.figura_siguiente, bloque, p.mapa);
        for (int k = 1; k < ALTO_MAPA; k++)
            for (int c = 0; c < ANCHO_MAPA; c++)
                p.mapa.GetCuadricula()[k][c] = c == (k * 3) % ANCHO_MAPA ? 0 : 1 + (k + c) % TIPOS_BLOQUES;
        for (int k = 0; k < n; k++)
            Dibujar(123456, p.figura_actual, p.figura_siguiente, bloque, p.mapa, *t_puntaje);
    } else {
        Sostiene(SDLK_DOWN);
        for (int k = 0; k < n; k++) {
            if (p.estado == MENU)
                Pulsa(SDLK_RETURN);
            p.Pasada();
        }
    }
    Apaga();
    return 0;
}
