// Workloads for valgrind's callgrind to count: cuadros lleno|partida|quieto N
//   lleno    N frames of a nearly full board with the score 123456, each
//            composed and presented;
//   partida  N passes of main's own loop on the simulated clock, DOWN held,
//            RETURN pressed whenever the menu shows;
//   quieto   N passes of play in which nothing moves: the clock stands still,
//            so after the first no timer fires and the picture stays.
// Prints how many frames it drew (passes, for quieto). Run from the build
// directory; bench/instrucciones.sh divides callgrind's counts.

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "carga.h"

using namespace apoyo;

int main(int argc, char** argv)
{
    if (argc != 3 || !Arranca())
        return 2;
    const int n = atoi(argv[2]);
    int dibujados = 0;
    if (strcmp(argv[1], "lleno") == 0) {
        Cuadricula mapa(ALTO_MAPA, ANCHO_MAPA);
        CasiLleno(mapa);
        Figures actual, siguiente;
        actual.Iniciar(X_SALIDA, Y_SALIDA, 0, VELOCIDAD_FIGURA, 0, "recursos/maps_figures/map0.txt");
        siguiente.Iniciar(X_SIGUIENTE, Y_SIGUIENTE, 0, 0, 2, "recursos/maps_figures/map2.txt");
        for (; dibujados < n; dibujados++) {
            OlvidaCuadro();
            Dibujar(123456, actual, siguiente, bloque, mapa, *t_puntaje);
        }
    } else if (strcmp(argv[1], "quieto") == 0) {
        Timer::UsaReloj([] { return 1000u; }, [] { return Uint64{1000000}; }, [](Uint64, Uint64) {});
        srand(1);
        Figures actual, siguiente;
        Cuadricula mapa(ALTO_MAPA, ANCHO_MAPA);
        Timer fps_tim, figmove_tim, key_tim, borrados_linea_tim;
        int fig_delay = RETARDO_CAIDA, done = 0, estado = ACTIVO;
        bool parada = false, pause = false;
        unsigned int puntaje = 0;
        for (; dibujados < n; dibujados++)
            PasoJuego(actual, siguiente, bloque, mapa, *t_puntaje, puntaje, fps_tim, figmove_tim, key_tim,
                      borrados_linea_tim, fig_delay, RETARDO_TECLAS, done, estado, parada, pause);
    } else {
        int pasadas = 0;
        JuegaMain(1, [&](Uint32) {
            const bool menu = LeePantalla(0).pantalla == "menu";
            dibujados += menu ? 0 : 1;
            Sostiene(SDLK_DOWN);
            if (++pasadas >= n)
                Pulsa(SDLK_UNKNOWN);
            else if (menu)
                Pulsa(SDLK_RETURN);
        }, 0xFFFFFFFF);
    }
    printf("%d\n", dibujados);
    return 0;
}
