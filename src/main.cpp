// Brikando: falling blocks for a 320x240 handheld.

#include "constantes.h"
#include "principal.h"

int main(int, char**)
{
    SDL_Rect rectangulo_menu_principal = {};
    Block* bloque[TIPOS_BLOQUES] = {};
    Figures figura_actual;
    Figures figura_siguiente;
    Cuadricula mapa(ALTO_MAPA, ANCHO_MAPA);
    Texto t_puntaje;
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

    // Every way out goes through Finaliza, so that SDL gives the display
    // back even after a failed start.
    if (Inicia_SDL() != 0 || InicializaSprites(bloque, t_puntaje) != 0 || CompruebaFiguras() != 0) {
        Finaliza(bloque);
        return 1;
    }
    Inicializa(rectangulo_menu_principal);
    // The timers were built before SDL was up.
    figmove_tim.ResetTime();
    key_tim.ResetTime();
    borrados_linea_tim.ResetTime();

    while (done == 0) {
        fps_tim.ResetTime();
        if (estado == ACTIVO)
            PasoJuego(figura_actual, figura_siguiente, bloque, mapa, t_puntaje, puntaje, fps_tim, figmove_tim,
                      key_tim, borrados_linea_tim, fig_delay, key_delay, done, estado, parada, pause);
        else if (estado == MENU)
            PasoMenu(rectangulo_menu_principal, done, estado, pause, fps_tim);
    }

    Finaliza(bloque);
    return 0;
}
