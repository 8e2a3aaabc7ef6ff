// The game flow: spawning and scoring on their own, then whole games played
// through main's own frame loop on the simulated clock, read off the screen:
// scripted ones, and twenty minutes of a seeded player who mashes keys,
// pauses, leaves and now and then fills the event queue to the brim.

#include <gtest/gtest.h>

#include <malloc.h>

#include <algorithm>
#include <random>

#include "apoyo.h"

using namespace apoyo;

namespace {

using Filas = std::vector<std::string>;

TEST(Salida, SoloUnaCeldaBajoUnBloqueDeLaPiezaLaImpideYEntoncesLaVistaPreviaSeQueda)
{
    // The preview, an L, comes in at columns 4 and 5 of rows 0 to 2.
    for (auto [fila, columna, bloqueada] : {std::tuple{2, 5, true}, {0, 5, false}, {3, 4, false}}) {
        Figures actual, siguiente;
        Cuadricula mapa(ALTO_MAPA, ANCHO_MAPA);
        mapa.GetCuadricula()[fila][columna] = 2;
        siguiente.Iniciar(X_SIGUIENTE, Y_SIGUIENTE, 0, 0, 0, "recursos/maps_figures/map0.txt");
        srand(1);  // a bar for the next preview
        EXPECT_EQ(NuevaFigura(actual, siguiente, bloque, mapa), bloqueada ? 1 : 0) << fila << "," << columna;
        EXPECT_EQ(Forma(siguiente), bloqueada ? Forma(actual) : "1...\n1...\n1...\n1...\n");
    }
}

TEST(Puntos, SoloLasFilasDelCuadradoDeLaPiezaSegunCuantasYCuando)
{
    const Filas LLENA = {"##########"};
    const struct {
        Filas antes;
        int posy;
        Uint32 t;
        Filas despues;
        unsigned int puntos;
    } casos[] = {
        {{"#########."}, 16, 3000, {"#########."}, 0},
        {{"1.........", "##########", ".2.2.2.2.2", "##########", "3........3"}, 16, 4000,
         {"1.........", ".2.2.2.2.2", "3........3"}, 50 + 150},
        // Full rows outside the piece's square stay, above it and below it.
        {{"##########", "##########", "#########.", "##########"}, 17, 25000, {"##########", "#########."}, 50},
        {{"##########", "##########"}, 19, 20000, LLENA, 20 + 30},
        {LLENA, 15, 1000, LLENA, 0},
        {{"##########", "##########", "##########", "##########"}, 16, 1200, {}, 110 + 480},
        {LLENA, 16, 20001, {}, 20},
        {LLENA, 16, 0, {}, 20},  // no division by zero: no speed bonus
    };
    for (const auto& c : casos) {
        SimulaReloj();
        Cuadricula mapa(ALTO_MAPA, ANCHO_MAPA), esperado(ALTO_MAPA, ANCHO_MAPA);
        Rellena(mapa, c.antes);
        Rellena(esperado, c.despues);
        Timer borrados_linea_tim;
        AvanzaMicros(c.t * 1000ull);
        unsigned int puntaje = c.t == 0 ? 0xFFFFFFF0u : 0;  // and the score wraps
        BorraFila(c.posy, borrados_linea_tim, puntaje, mapa);
        EXPECT_EQ(Tablero(mapa), Tablero(esperado)) << "row " << c.posy << ", t " << c.t;
        EXPECT_EQ(puntaje - (c.t == 0 ? 0xFFFFFFF0u : 0), c.puntos) << "row " << c.posy << ", t " << c.t;
        EXPECT_EQ(borrados_linea_tim.GetCurrentTime(), c.puntos ? 0 : static_cast<int>(c.t)) << "restarted on points";
    }
}

// The board as the screen shows it: these rows from row fila down, the
// rest empty; a second piece's rows may be laid over them.
std::string Tablero(int fila, const Filas& filas, int fila2 = 0, const Filas& filas2 = {})
{
    std::string texto;
    for (int k = 0; k < ALTO_MAPA; k++) {
        const int de = k - fila, de2 = k - fila2;
        texto += de2 >= 0 && de2 < static_cast<int>(filas2.size()) ? filas2[de2]
                 : de >= 0 && de < static_cast<int>(filas.size()) ? filas[de] : "..........";
        texto += '\n';
    }
    return texto;
}

// The board drawn by the pass that began at ms, or "menu".
std::string En(const std::vector<Cuadro>& cuadros, Uint32 ms)
{
    for (const Cuadro& cuadro : cuadros)
        if (cuadro.ms == ms)
            return cuadro.pantalla.substr(0, ALTO_MAPA * (ANCHO_MAPA + 1));
    return "no frame";
}

// When the board on the screen changed, up to hasta.
std::vector<Uint32> Cambios(const std::vector<Cuadro>& cuadros, Uint32 hasta)
{
    std::vector<Uint32> cuando;
    for (size_t k = 2; k < cuadros.size() && cuadros[k].ms <= hasta; k++)
        if (cuadros[k].pantalla != cuadros[k - 1].pantalla)
            cuando.push_back(cuadros[k].ms);
    return cuando;
}

const Paso::Accion PULSA = Paso::PULSA, SOSTIENE = Paso::SOSTIENE, SUELTA = Paso::SUELTA;
// The pieces as they come in at column 4; block images 0 to 2 read '1' to '3'.
const Filas L = {"....1.....", "....1.....", "....11...."};
const Filas BARRA = {"....2.....", "....2.....", "....2.....", "....2....."};

TEST(Partida, SaleCaeCada800msOCada70msConAbajoYLaSiguienteSaleEnLaPasadaTrasAterrizar)
{
    // Seed 2 draws an L, a bar for the preview, then a T.
    SDL_WM_SetCaption("", nullptr);
    int salida = -1;
    const std::vector<Cuadro> cuadros = JuegaGuion(2, {{0, PULSA, SDLK_RETURN}, {2000, SOSTIENE, SDLK_DOWN},
                                                       {3400, PULSA, SDLK_ESCAPE}, {3500, PULSA, SDLK_RETURN},
                                                       {3600, PULSA, SDLK_ESCAPE}, {3700, PULSA, SDLK_ESCAPE}}, &salida);
    EXPECT_EQ(salida, 0);
    EXPECT_EQ(cuadros[0].pantalla, "menu");
    // The first frame: the piece's square at screen (150, 8), the preview at (278, 162), the score 0.
    EXPECT_EQ(cuadros[1].ms, 20u);
    EXPECT_EQ(cuadros[1].pantalla, Tablero(0, L) + "2...\n2...\n2...\n2...\n");
    EXPECT_EQ(cuadros[1].etiqueta, Etiqueta(0));
    // A fall step comes in the first pass after more than 800 ms (70 with
    // DOWN held), and the next pass draws it. The step of the pass at 3200
    // fails: the L lands, and the next pass brings the bar in and draws it;
    // its first step counts from the L's last.
    std::vector<Uint32> cambios = {840, 1660};
    for (Uint32 ms = 2020; ms <= 3140; ms += 80)
        cambios.push_back(ms);
    cambios.insert(cambios.end(), {3220, 3300});
    EXPECT_EQ(Cambios(cuadros, 3300), cambios);
    EXPECT_EQ(En(cuadros, 3220), Tablero(17, L, 0, BARRA));
    EXPECT_EQ(En(cuadros, 3420), "menu");
    // A new game starts afresh: the bar that was falling is gone with the
    // board, and a T comes in (and takes a step at once, DOWN being held).
    EXPECT_EQ(En(cuadros, 3520), Tablero(1, {"....333...", ".....3...."}));
    char* titulo = nullptr;
    SDL_WM_GetCaption(&titulo, nullptr);
    EXPECT_STREQ(titulo, "Brikando");
}

TEST(Partida, LasFlechasSostenidasSeMuestreanCada150msIzquierdaAntesQueDerecha)
{
    // Seed 1: a bar. At 100 a pass lasts 10 ms longer, so that a sampling
    // falls on exactly 150 ms: too early.
    const std::vector<Cuadro> cuadros = JuegaGuion(1, {{0, PULSA, SDLK_RETURN}, {0, SOSTIENE, SDLK_RIGHT},
                                                       {100, Paso::TARDA}, {900, SOSTIENE, SDLK_LEFT},
                                                       {1000, SOSTIENE, SDLK_UP}, {1200, SUELTA, SDLK_RIGHT},
                                                       {1700, PULSA, SDLK_ESCAPE}, {1800, PULSA, SDLK_ESCAPE}});
    // Moves at 170, 330 ... to the right wall (and a fall at 810). Both
    // arrows held there: left, then right, so it stays. Lying down at the
    // wall it would cross it; three columns away it turns (and falls at 1630).
    EXPECT_EQ(Cambios(cuadros, 1680), (std::vector<Uint32>{190, 350, 510, 670, 830, 1310, 1470, 1630, 1650}));
    EXPECT_EQ(En(cuadros, 1290), Tablero(1, {".........2", ".........2", ".........2", ".........2"}));
    EXPECT_EQ(En(cuadros, 1630), Tablero(1, {"......2222"}));
}

// Heap bytes in use, large blocks included; constant under a sanitizer's allocator.
long EnUso()
{
    const struct mallinfo2 m = mallinfo2();
    return static_cast<long>(m.uordblks + m.hblkhd);
}

TEST(Partida, ElMenuDuermeEntreSondeosEscapeOCerrarTerminanCon0YMainLiberaLoQueReserva)
{
    const std::vector<Paso> guiones[] = {
        {{2000, PULSA, SDLK_ESCAPE}},  // a hundred empty polls
        {{100, PULSA, SDLK_UNKNOWN}},
        {{0, PULSA, SDLK_RETURN}, {100, PULSA, SDLK_p}, {200, PULSA, SDLK_UNKNOWN}},
    };
    long en_uso = 0;
    for (int ronda = 0; ronda < 12; ronda++) {
        for (const std::vector<Paso>& guion : guiones) {
            int salida = -1;
            const std::vector<Cuadro> cuadros = JuegaGuion(2, guion, &salida);
            ASSERT_EQ(salida, 0) << guion.size();
            ASSERT_LE(cuadros.back().ms, guion.back().ms) << "no pass after the one that read it";
            // One wake every 20 ms, in the menu as in play.
            for (size_t k = 0; k < cuadros.size(); k++)
                ASSERT_EQ(cuadros[k].ms, k * MILISEGUNDOS_LOOP);
        }
        if (ronda == 3)
            en_uso = EnUso();
    }
    // Once their caches are warm the libraries keep 40 to 120 bytes a run,
    // the exit handlers main registers among them. The smallest thing main
    // could forget to free, the score's image, is over 400.
    EXPECT_LT(EnUso() - en_uso, 8 * 3 * 256) << "bytes kept by 24 runs of main";
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
