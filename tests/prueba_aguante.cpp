// Long play and event floods: a seeded random player for hours of simulated
// time, checking the game's invariants after every pass.

#include <gtest/gtest.h>

#include <ctime>
#include <fstream>
#include <random>

#include "apoyo.h"

using namespace apoyo;

namespace {

long RssKiB()
{
    std::ifstream estado("/proc/self/status");
    for (std::string palabra; estado >> palabra;)
        if (palabra == "VmRSS:") {
            long kib = 0;
            estado >> kib;
            return kib;
        }
    return -1;
}

// The board's cells, copied.
struct Copia {
    int celdas[ALTO_MAPA][ANCHO_MAPA];
    explicit Copia(Cuadricula& mapa)
    {
        for (int k = 0; k < ALTO_MAPA; k++)
            for (int n = 0; n < ANCHO_MAPA; n++)
                celdas[k][n] = mapa.GetCuadricula()[k][n];
    }
    void En(Cuadricula& mapa) const
    {
        for (int k = 0; k < ALTO_MAPA; k++)
            for (int n = 0; n < ANCHO_MAPA; n++)
                mapa.GetCuadricula()[k][n] = celdas[k][n];
    }
};

// Whether a piece's solid cells all lie inside the board on empty cells.
bool Cabe(Figures pieza, Cuadricula& mapa)
{
    int m[4][4];
    pieza.GetMapa(m);
    return mapa.Colision(pieza.GetX(), pieza.GetY(), m) == NO_COLISION;
}

// What a landing of pieza on the board copia pays, worked out apart from
// the game: the full rows of its square once it is stamped, and the bonus.
unsigned int Paga(const Copia& copia, Figures pieza, int t)
{
    Cuadricula mapa(ALTO_MAPA, ANCHO_MAPA);
    copia.En(mapa);
    pieza.DibujaMapa(&mapa);
    unsigned int filas = 0;
    for (int k = pieza.GetY() / LADO_BLOQUE; k <= std::min(pieza.GetY() / LADO_BLOQUE + 3, ALTO_MAPA - 1); k++)
        filas += mapa.EstaLlena(k) ? 1 : 0;
    if (filas == 0)
        return 0;
    return 30 * filas - 10 + (t > 0 ? 30u * static_cast<unsigned int>(20000 / t) : 0u);
}

// The column where this piece, dropped as it is, leaves the fewest holes
// and the lowest stack; a player who only played at random would hardly
// ever complete a row.
int BuenaColumna(Partida& p)
{
    int mejor = X_SALIDA / LADO_BLOQUE, mejor_nota = -1000000;
    for (int columna = 0; columna < ANCHO_MAPA; columna++) {
        Figures pieza = p.figura_actual;
        pieza.SetX(columna * LADO_BLOQUE);
        pieza.SetY(Y_SALIDA);
        if (!Cabe(pieza, p.mapa))
            continue;
        pieza.SetVelocity(VELOCIDAD_FIGURA);
        while (pieza.Bajar(&p.mapa) == 0) {
        }
        Cuadricula mapa(ALTO_MAPA, ANCHO_MAPA);
        Copia(p.mapa).En(mapa);
        pieza.DibujaMapa(&mapa);
        int nota = pieza.GetY();
        for (int k = 0; k < ALTO_MAPA; k++)
            nota += mapa.EstaLlena(k) ? 100 : 0;
        for (int n = 0; n < ANCHO_MAPA; n++) {
            bool tapada = false;
            for (int k = 0; k < ALTO_MAPA; k++) {
                tapada = tapada || mapa.GetCuadricula()[k][n] != 0;
                nota -= tapada && mapa.GetCuadricula()[k][n] == 0 ? 25 : 0;
            }
        }
        if (nota > mejor_nota) {
            mejor_nota = nota;
            mejor = columna;
        }
    }
    return mejor;
}

TEST(Aguante, UnJugadorAlAzarDuranteTresHorasSimuladas)
{
    RelojSimulado reloj;
    std::mt19937 azar(2026);
    srand(2026);
    SueltaTodo();
    VaciaCola();
    // The frames go to a 1x1 surface: their pixels have tests of their own,
    // and here the game's state is what is checked, half a million times.
    SDL_Surface* pantalla_real = pantalla;
    pantalla = SDL_CreateRGBSurface(SDL_SWSURFACE, 1, 1, 24, 0xFF0000, 0xFF00, 0xFF, 0);

    Partida p;
    Uint32 ultimo_reinicio = Ahora();  // of the removal stopwatch
    int columna = 4;                   // where the player steers this piece
    int partidas = 0, finales = 0, pagos = 0;
    long rss_tras_la_primera = -1;
    const int PASADAS = 500000;
    for (int i = 0; i < PASADAS && !HasFailure(); i++) {
        // The player's hands: held arrows change now and then, keys come rarely.
        bool escape = false;
        if (p.estado == MENU) {
            if (azar() % 4 == 0)
                Pulsa(SDLK_p);  // ignored by the menu
            Pulsa(SDLK_RETURN);
            partidas++;
        } else {
            // Steer each piece to its column, now and then turning it,
            // sometimes fumbling both arrows at once; drop it once there.
            const int x = p.figura_actual.GetX() / LADO_BLOQUE;
            const bool torpe = azar() % 50 == 0;
            Sostiene(SDLK_LEFT, x > columna || torpe);
            Sostiene(SDLK_RIGHT, x < columna || torpe);
            Sostiene(SDLK_UP, p.figura_actual.GetY() < 40 && azar() % 10 == 0);
            Sostiene(SDLK_DOWN, x == columna && azar() % 4 != 0);
            const unsigned int dado = azar() % 20000;
            if (dado < (p.pause ? 1000u : 50u))
                Pulsa(SDLK_p);
            else if (dado < 70)
                Pulsa(SDLK_RETURN);  // ignored in play
            else if (dado == 70)
                escape = Pulsa(SDLK_ESCAPE);
        }

        const bool en_juego = p.estado == ACTIVO;
        // A paused piece can land too, in the pass whose p resumes the game.
        const bool activa = p.figura_actual.GetActivo();
        const bool sale = !p.figura_actual.GetActivo() && !p.pause;
        const Copia antes(p.mapa);
        const unsigned int puntaje = p.puntaje;
        Figures siguiente = p.figura_siguiente;
        const Uint32 ahora = Ahora();
        p.Pasada();
        if (sale && p.figura_actual.GetActivo())
            columna = azar() % 5 == 0 ? static_cast<int>(azar() % ANCHO_MAPA) : BuenaColumna(p);

        for (int k = 0; k < ALTO_MAPA; k++)
            for (int n = 0; n < ANCHO_MAPA; n++)
                ASSERT_TRUE(p.mapa.GetCuadricula()[k][n] >= 0 && p.mapa.GetCuadricula()[k][n] <= 3) << Tablero(p.mapa);
        if (p.figura_actual.GetActivo()) {
            ASSERT_TRUE(Cabe(p.figura_actual, p.mapa)) << "pass " << i << "\n" << Tablero(p.mapa);
        }

        if (en_juego && p.estado == MENU) {
            // Only ESCAPE or a blocked spawn end a game.
            if (!escape) {
                Cuadricula previo(ALTO_MAPA, ANCHO_MAPA);
                antes.En(previo);
                Figures entrante = siguiente;
                entrante.SetX(X_SALIDA);
                entrante.SetY(Y_SALIDA);
                ASSERT_TRUE(sale && siguiente.GetActivo() && !Cabe(entrante, previo)) << "pass " << i;
                finales++;
            }
            ultimo_reinicio = ahora;
            EXPECT_EQ(p.puntaje, 0u);
            if (rss_tras_la_primera < 0)
                rss_tras_la_primera = RssKiB();
        } else if (en_juego && activa && !p.figura_actual.GetActivo()) {
            const unsigned int paga = Paga(antes, p.figura_actual, static_cast<int>(ahora - ultimo_reinicio));
            ASSERT_EQ(p.puntaje - puntaje, paga) << "pass " << i;
            if (paga != 0) {
                ultimo_reinicio = ahora;
                pagos++;
            }
        } else {
            ASSERT_EQ(p.puntaje, puntaje) << "the score changes only at a landing, pass " << i;
        }
    }
    const long rss_final = RssKiB();

    SDL_FreeSurface(pantalla);
    pantalla = pantalla_real;
    SueltaTodo();
    VaciaCola();
    EXPECT_GT(partidas, 20);
    EXPECT_GT(finales, 10);
    EXPECT_GT(pagos, 100);
#ifndef __SANITIZE_ADDRESS__
    // AddressSanitizer holds freed memory in quarantine, so only a plain build can tell.
    EXPECT_LE(std::abs(rss_final - rss_tras_la_primera), 1024) << rss_tras_la_primera << " KiB -> " << rss_final;
#endif
    printf("soak: %d passes (%u s simulated), %d games, %d ended by a blocked spawn, %d scoring landings, "
           "RSS %ld KiB after the first game, %ld KiB at the end\n",
           PASADAS, (Ahora() - 1000) / 1000, partidas, finales, pagos, rss_tras_la_primera, rss_final);
}

// Each queued event carries a serial number, in a field the game ignores.
Uint16& Serie(SDL_Event& e)
{
    return e.type == SDL_MOUSEMOTION ? e.motion.x : e.key.keysym.unicode;
}

bool DeInteres(const SDL_Event& e)
{
    return e.type == SDL_KEYDOWN && (e.key.keysym.sym == SDLK_p || e.key.keysym.sym == SDLK_RETURN);
}

// The CPU time of this thread: unlike the wall clock, it does not count the
// time that other processes on a busy machine take from the pass.
double MilisegundosDeCpu()
{
    timespec t;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

std::vector<SDL_Event> EnCola()
{
    SDL_Event cola[1024];  // more than any SDL queue holds
    const int n = SDL_PeepEvents(cola, 1024, SDL_PEEKEVENT, SDL_ALLEVENTS);
    return std::vector<SDL_Event>(cola, cola + std::max(n, 0));
}

TEST(Aguante, UnaRiadaDeEventosSeAtiendeEnOrdenUnoPorPasada)
{
    RelojSimulado reloj;
    std::mt19937 azar(5);
    srand(5);
    SueltaTodo();
    VaciaCola();
    Partida p;
    p.estado = ACTIVO;

    int enviados = 0, rechazados = 0, atendidos = 0;
    size_t capacidad = 0;
    Uint16 serie = 0;
    double peor_ms = 0;
    while (enviados < 10000 && !HasFailure()) {
        // Keep the queue full.
        for (;;) {
            SDL_Event e = {};
            const unsigned int dado = azar() % 10;
            e.type = dado < 7 ? SDL_KEYDOWN : dado < 9 ? SDL_KEYUP : SDL_MOUSEMOTION;
            e.key.keysym.sym = dado < 2 ? SDLK_p : dado < 3 ? SDLK_RETURN : static_cast<SDLKey>(SDLK_a + dado);
            Serie(e) = serie;
            if (SDL_PushEvent(&e) != 0) {
                // SDL 1.2 holds 127 events, sdl12-compat 128: the size is
                // SDL's own, but it must be the same at every refusal.
                const size_t llenos = EnCola().size();
                if (capacidad == 0)
                    capacidad = llenos;
                EXPECT_EQ(llenos, capacidad) << "a push refused with room left";
                rechazados++;
                break;
            }
            serie++;
            enviados++;
        }

        const std::vector<SDL_Event> antes = EnCola();
        const bool pausa = p.pause;
        const double inicio = MilisegundosDeCpu();
        p.Pasada();
        peor_ms = std::max(peor_ms, MilisegundosDeCpu() - inicio);

        // The pass took the queue up to its first event of interest, no more.
        size_t tomados = 0;
        while (tomados < antes.size() && !DeInteres(antes[tomados]))
            tomados++;
        tomados = std::min(tomados + 1, antes.size());
        const std::vector<SDL_Event> despues = EnCola();
        ASSERT_EQ(despues.size(), antes.size() - tomados);
        for (size_t k = 0; k < despues.size(); k++)
            ASSERT_EQ(Serie(const_cast<SDL_Event&>(despues[k])), Serie(const_cast<SDL_Event&>(antes[tomados + k])));
        const bool fue_p = DeInteres(antes[tomados - 1]) && antes[tomados - 1].key.keysym.sym == SDLK_p;
        ASSERT_EQ(p.pause, fue_p ? !pausa : pausa);
        atendidos += DeInteres(antes[tomados - 1]) ? 1 : 0;
    }
    VaciaCola();
    EXPECT_LT(peor_ms, MILISEGUNDOS_LOOP) << "a pass took more than its 20 ms of work";
    printf("flood: %d events queued, %d pushes refused by a full queue of %zu, %d acted on, "
           "slowest pass %.3f ms of CPU\n",
           enviados, rechazados, capacidad, atendidos, peor_ms);
}

}  // namespace
