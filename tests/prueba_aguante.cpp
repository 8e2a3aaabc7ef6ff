// Twenty minutes of simulated play through main's own loop by a seeded
// player who steers, drops, pauses, leaves and now and then fills the event
// queue to the brim, with the game's promises checked at every pass.

#include <gtest/gtest.h>

#include <unistd.h>

#include <fstream>
#include <random>

#include "apoyo.h"

using namespace apoyo;

namespace {

long RssKiB()
{
    long paginas = 0, residentes = 0;
    std::ifstream("/proc/self/statm") >> paginas >> residentes;
    return residentes * sysconf(_SC_PAGESIZE) / 1024;
}

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

// The column where the piece that has just come in (rows 0 to 3, columns
// 4 to 7) would land lowest: random play would hardly ever fill a row.
int ColumnaMasBaja(const std::string& pantalla)
{
    Cuadricula mapa(ALTO_MAPA, ANCHO_MAPA);
    int pieza[4][4] = {};
    for (int k = 0; k < ALTO_MAPA; k++)
        for (int n = 0; n < ANCHO_MAPA; n++)
            (k < 4 && n >= 4 && n < 8 ? pieza[k][n - 4] : mapa.GetCuadricula()[k][n]) = pantalla[k * 11 + n] != '.';
    int mejor = 4, y_mejor = -1;
    for (int columna = 0; columna < ANCHO_MAPA; columna++) {
        int y = -LADO_BLOQUE;
        while (mapa.Colision(columna * LADO_BLOQUE, y + LADO_BLOQUE, pieza) == NO_COLISION)
            y += LADO_BLOQUE;
        if (y > y_mejor)
            std::tie(mejor, y_mejor) = std::pair(columna, y);
    }
    return mejor;
}

TEST(Aguante, UnJugadorAlAzarYLaColaLlenaAVecesDuranteVeinteMinutos)
{
    std::mt19937 azar(2026);
    Cuadro antes = {0, "menu", 0};
    std::vector<SDL_Event> cola;   // queued at the end of the last turn
    std::vector<Uint8> congelada;  // the screen since the game paused
    bool pausa = false, escape = false;
    int columna = 4, partidas = 0, finales = 0, pagos = 0, riadas = 0;
    long rss_primera = 0;
    const int salida = JuegaMain(2026, [&](Uint32 ms) {
        const Cuadro ahora = LeePantalla(ms);
        if (ms >= 20 * 60 * 1000 || HasFatalFailure())
            return Pulsa(SDLK_UNKNOWN);
        if (ahora.pantalla == "menu") {
            // Only a blocked spawn ends a game by itself: the board emptied
            // but for the blocked piece at the spawn point, the score 0.
            if (antes.pantalla != "menu" && !escape) {
                ASSERT_EQ(antes.pantalla.find_first_not_of(".\n", 4 * 11), 20 * 11) << antes.pantalla;
                ASSERT_EQ(antes.etiqueta, Etiqueta(0));
                finales++;
            }
            rss_primera = partidas == 1 ? RssKiB() : rss_primera;
            VaciaCola();
            if (azar() % 4 == 0)
                Pulsa(SDLK_p);  // ignored by the menu
            Pulsa(SDLK_RETURN);
            cola.clear();  // the menu's wait reads up to the RETURN
            antes = ahora;
            pausa = escape = false;
            return (void)partidas++;
        }

        // The pass took the queue up to its first event of interest, no more.
        size_t tomados = 0;
        while (tomados < cola.size() && DeInteres(cola[tomados]) == SDLK_UNKNOWN)
            tomados++;
        const SDLKey leida = tomados < cola.size() ? DeInteres(cola[tomados++]) : SDLK_UNKNOWN;
        const std::vector<SDL_Event> resto = EnCola();
        ASSERT_EQ(resto.size(), cola.size() - tomados) << "at " << ms;
        for (size_t k = 0; k < resto.size(); k++)
            ASSERT_EQ(resto[k].key.keysym.unicode, cola[tomados + k].key.keysym.unicode) << "at " << ms;
        // Every cell shows a block or the background; paused, nothing is
        // drawn; the score moves only when rows go.
        ASSERT_EQ(ahora.pantalla.find('?'), std::string::npos) << "at " << ms << "\n" << ahora.pantalla;
        if (pausa)
            ASSERT_TRUE(Captura(pantalla) == congelada) << "drawn while paused, at " << ms;
        else if (ahora.etiqueta != antes.etiqueta && antes.pantalla != "menu") {
            ASSERT_GT(std::count(ahora.pantalla.begin(), ahora.pantalla.end(), '.'),
                      std::count(antes.pantalla.begin(), antes.pantalla.end(), '.')) << ahora.pantalla;
            pagos++;
        }
        if (leida == SDLK_p && !pausa)
            congelada = Captura(pantalla);
        pausa = pausa != (leida == SDLK_p);
        escape = escape || leida == SDLK_ESCAPE;

        // The player's hands: steer each new piece (its first cell comes in
        // at column 4) to a column and drop it there; now and then pick a
        // column at random, turn the piece or fumble both arrows.
        const size_t primera = ahora.pantalla.find_first_not_of(".\n");
        const bool azaroso = azar() % 5 == 0;
        if (primera == 4 && antes.pantalla.find_first_not_of(".\n") != 4)
            columna = azaroso ? static_cast<int>(azar() % ANCHO_MAPA) : ColumnaMasBaja(ahora.pantalla);
        antes = ahora;
        const int x = static_cast<int>(primera % 11);
        const bool torpe = azar() % 50 == 0;
        Sostiene(SDLK_LEFT, x > columna || torpe);
        Sostiene(SDLK_RIGHT, x < columna || torpe);
        Sostiene(SDLK_UP, azaroso && primera < 3 * 11 && azar() % 10 == 0);
        Sostiene(SDLK_DOWN, x == columna && azar() % 4 != 0);
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
    EXPECT_GT(pagos, 10);
#ifndef __SANITIZE_ADDRESS__
    // AddressSanitizer holds freed memory in quarantine, so only a plain build can tell.
    EXPECT_LE(std::abs(RssKiB() - rss_primera), 1024) << rss_primera << " KiB after the first game";
#endif
    printf("soak: %d games, %d ended by a blocked spawn, %d scoring landings, %d events flooded, "
           "RSS %ld KiB after the first game, %ld KiB at the end\n",
           partidas, finales, pagos, riadas, rss_primera, RssKiB());
}

}  // namespace
