// Draws frames for valgrind's callgrind to count: cuadros lleno|partida N
//   lleno    N frames of a nearly full board with the score 123456;
//   partida  N passes of a scripted game, DOWN held, as many games as fit.
// Prints how many frames it drew. Run from the build directory;
// bench/instrucciones.sh divides callgrind's count by that number.

#include <cstdio>
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
    int dibujados = 0;
    if (strcmp(argv[1], "lleno") == 0) {
        NuevaFigura(p.figura_actual, p.figura_siguiente, bloque, p.mapa);
        CasiLleno(p.mapa);
        for (; dibujados < n; dibujados++)
            Dibujar(123456, p.figura_actual, p.figura_siguiente, bloque, p.mapa, *t_puntaje);
    } else {
        Sostiene(SDLK_DOWN);
        for (int k = 0; k < n; k++) {
            if (p.estado == MENU)
                Pulsa(SDLK_RETURN);
            dibujados += p.estado == ACTIVO && !p.pause ? 1 : 0;
            p.Pasada();
        }
        SueltaTodo();
    }
    printf("%d\n", dibujados);
    Apaga();
    return 0;
}
