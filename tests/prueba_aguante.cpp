// Twenty minutes of simulated play through main's own loop by a seeded
// player who mashes keys, pauses, leaves and now and then fills the event
// queue to the brim: what no scripted game sees.

#include <gtest/gtest.h>

#include <random>

#include "apoyo.h"

using namespace apoyo;

namespace {

std::vector<SDL_Event> EnCola()
{
    SDL_Event cola[1024];  // more than any SDL queue holds
    return std::vector<SDL_Event>(cola, cola + std::max(SDL_PeepEvents(cola, 1024, SDL_PEEKEVENT, SDL_ALLEVENTS), 0));
}

// The key of a press the play pass acts on, else SDLK_UNKNOWN.
SDLKey DeInteres(const SDL_Event& e)
{
    const SDLKey tecla = e.type == SDL_KEYDOWN ? e.key.keysym.sym : SDLK_UNKNOWN;
    return tecla == SDLK_p || tecla == SDLK_ESCAPE || tecla == SDLK_RETURN ? tecla : SDLK_UNKNOWN;
}

TEST(Aguante, UnEventoDeInteresPorPasadaConLaColaLlenaLaPausaNoDibujaYSoloUnaSalidaBloqueadaTerminaLaPartida)
{
    std::mt19937 azar(2026);
    Cuadro antes = {0, "menu", 0};
    std::vector<SDL_Event> cola;   // queued at the end of the last turn
    std::vector<Uint8> congelada;  // the screen since the game paused
    bool pausa = false, escape = false;
    int partidas = 0, finales = 0, riadas = 0;
    const int salida = JuegaMain(2026, [&](Uint32 ms) {
        const Cuadro ahora = LeePantalla(ms);
        if (ms >= 20 * 60 * 1000 || HasFatalFailure())
            return Pulsa(SDLK_UNKNOWN);
        if (ahora.pantalla == "menu") {
            // Left without ESCAPE: the board emptied but for the blocked
            // piece at the spawn point, the score 0.
            if (antes.pantalla != "menu" && !escape) {
                ASSERT_EQ(antes.pantalla.find_first_not_of(".\n", 4 * 11), 20 * 11) << antes.pantalla;
                ASSERT_EQ(antes.etiqueta, Etiqueta(0));
                finales++;
            }
            VaciaCola();
            Pulsa(SDLK_RETURN);
            cola.clear();  // the menu's wait reads up to the RETURN
            antes = ahora;
            pausa = escape = false;
            return (void)partidas++;
        }
        antes = ahora;

        // The pass took the queue up to its first event of interest, no more.
        size_t tomados = 0;
        while (tomados < cola.size() && DeInteres(cola[tomados]) == SDLK_UNKNOWN)
            tomados++;
        const SDLKey leida = tomados < cola.size() ? DeInteres(cola[tomados++]) : SDLK_UNKNOWN;
        const std::vector<SDL_Event> resto = EnCola();
        ASSERT_EQ(resto.size(), cola.size() - tomados) << "at " << ms;
        for (size_t k = 0; k < resto.size(); k++)
            ASSERT_EQ(resto[k].key.keysym.unicode, cola[tomados + k].key.keysym.unicode) << "at " << ms;
        if (pausa) {
            ASSERT_TRUE(Captura(pantalla) == congelada) << "drawn while paused, at " << ms;
        }
        if (leida == SDLK_p && !pausa)
            congelada = Captura(pantalla);
        pausa = pausa != (leida == SDLK_p);
        escape = escape || leida == SDLK_ESCAPE;

        Sostiene(SDLK_LEFT, azar() % 3 == 0);
        Sostiene(SDLK_RIGHT, azar() % 3 == 0);
        Sostiene(SDLK_UP, azar() % 8 == 0);
        Sostiene(SDLK_DOWN, azar() % 2 == 0);
        const unsigned int dado = azar() % 20000;
        if (dado < (pausa ? 1000u : 20u))
            Pulsa(SDLK_p);
        else if (dado < 60)
            Pulsa(SDLK_RETURN);  // ignored in play
        else if (dado == 60)
            Pulsa(SDLK_ESCAPE);
        else if (dado < 160) {
            // Presses, releases and motion, each with a serial number in a
            // field the game ignores, until SDL refuses one.
            for (SDL_Event e = {}; SDL_PushEvent(&e) == 0; riadas++) {
                const unsigned int tipo = azar() % 10;
                e.type = tipo < 7 ? SDL_KEYDOWN : tipo < 9 ? SDL_KEYUP : SDL_MOUSEMOTION;
                e.key.keysym.sym = tipo < 2 ? SDLK_p : tipo < 3 ? SDLK_RETURN : static_cast<SDLKey>(SDLK_a + tipo);
                e.key.keysym.unicode = static_cast<Uint16>(riadas);
            }
        }
        cola = EnCola();
    }, 20 * 60 * 1000 + 1000);

    EXPECT_EQ(salida, 0);
    EXPECT_GT(finales, 5);
    printf("soak: %d games, %d ended by a blocked spawn, %d events flooded\n", partidas, finales, riadas);
}

}  // namespace
