// The piece on the board and the scoring, with boards and shapes written as
// text; then whole games through main's own frame loop on the simulated
// clock, on the keys and on a pad, read off the screen.

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <malloc.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "apoyo.h"
#include "mando.h"
#include "ventana.h"

using namespace apoyo;

// Under LeakSanitizer, the leaks of libraries not ours are named there.
extern "C" const char* __lsan_default_options()
{
    return "suppressions=" BRIKANDO_LSAN;
}

namespace {

// SDL on the dummy driver with the game's images and font, once per process.
// Without them every test would be skipped, which passes: fail instead.
class Entorno : public testing::Environment {
    void SetUp() override
    {
        if (!Arranca()) {
            fprintf(stderr, "cannot start SDL or load recursos/ here: %s\n", SDL_GetError());
            exit(1);
        }
    }
};
const testing::Environment* const entorno = testing::AddGlobalTestEnvironment(new Entorno);

TEST(Figures, GiraHaciaLaEsquinaSoloDondeCabeSeMueveYCae)
{
    const Filas L = {"1...", "1...", "11..", "...."}, BARRA = {"1...", "1...", "1...", "1..."};
    const struct {
        Filas antes;
        int x, y;
        const char* despues;  // null: refused
    } giros[] = {
        {L, 40, 40, "111.\n1...\n....\n....\n"},
        {{".1..", ".1..", ".1..", ".1.."}, 40, 40, "1111\n....\n....\n....\n"},  // a row up
        {{"1111", "....", "....", "...."}, 40, 40, "1...\n1...\n1...\n1...\n"},  // three columns left
        {{"...1", "...1", "..21", "...."}, 40, 40, "111.\n....\n....\n....\n"},  // three rows up, 2 lost
        {BARRA, 70, 0, nullptr},                                                // across the wall
        {L, 0, 160, "111.\n1...\n....\n....\n"},                                // rows 16 and 17
        {L, 0, 170, nullptr},                                                   // onto the filled cell
    };
    Cuadricula mapa(ALTO_MAPA, ANCHO_MAPA);
    Rellena(mapa, {"..#.......", "..........", ".........."});
    for (const auto& c : giros) {
        Figures pieza = Pieza(c.antes, c.x, c.y);
        const std::string antes = Forma(pieza);
        EXPECT_EQ(pieza.Girar(&mapa), c.despues ? 0 : -1) << antes;
        EXPECT_EQ(Forma(pieza), c.despues ? c.despues : antes) << antes;
        EXPECT_EQ(pieza.GetX() * 1000 + pieza.GetY(), c.x * 1000 + c.y);
    }
    Figures vacia;  // nothing equal to 1: the shift would never stop
    EXPECT_EQ(vacia.Girar(&mapa), -1);

    Figures ele = Pieza(L, 10, 130);
    EXPECT_EQ(ele.Bajar(&mapa), 0);
    EXPECT_EQ(ele.Bajar(&mapa), -1) << "its foot would enter the filled cell";
    EXPECT_EQ(ele.Bajar(&mapa), 0) << "dy is 0 now: it tests where it is";
    EXPECT_EQ(ele.GetY(), 140);
    ele.Mover(-10, &mapa);
    ele.Mover(-10, &mapa);
    EXPECT_EQ(ele.GetX(), 0) << "the left wall";
    ele.SetY(150);
    ele.Mover(10, &mapa);
    EXPECT_EQ(ele.GetX(), 0) << "the filled cell";
}

TEST(Figures, EstampaDentroDelTableroBorraFilasDeSuFormaYDibujaSoloLosUnos)
{
    Cuadricula mapa(ALTO_MAPA, ANCHO_MAPA), esperado(ALTO_MAPA, ANCHO_MAPA);
    Figures pieza = Pieza({"1...", ".12.", "....", "...."}, 30, 170, 1);
    pieza.DibujaMapa(&mapa);
    Rellena(esperado, {"...2......", "....22....", ".........."});
    EXPECT_EQ(Tablero(mapa), Tablero(esperado)) << "every solid cell, the 2 included, as tipo + 1";
    pieza.BorraMapa(&mapa);
    // Cells off the board, on every side, are left out.
    Pieza({"11..", ".1..", ".1..", ".1.."}, -10, 180, 2).DibujaMapa(&mapa);
    Pieza({"11..", "....", "....", "...."}, 90, 0, 2).DibujaMapa(&mapa);
    Pieza({"1...", "....", "....", "1..."}, 50, -20, 2).DibujaMapa(&mapa);
    Rellena(esperado, {"3.........", "3........."});
    esperado.GetCuadricula()[0][9] = esperado.GetCuadricula()[1][5] = 3;
    EXPECT_EQ(Tablero(mapa), Tablero(esperado));
    SDL_BlitSurface(background_game, nullptr, pantalla, nullptr);
    mapa.Dibujar(pantalla, bloque);
    EXPECT_EQ(LeePantalla(0).pantalla.substr(0, ALTO_MAPA * 11), Tablero(mapa)) << "the board drawn cell for cell";

    mapa.ResetMap();
    Figures tres = Pieza({"11..", ".11.", "1111", "...."}, 0, 160);
    EXPECT_EQ(tres.InicioY() * 1000 + tres.FinY(), 160 * 1000 + 180);
    tres.DibujaMapa(&mapa);
    EXPECT_EQ(tres.BorraFila(1, &mapa), 1);
    EXPECT_EQ(tres.BorraFila(0, &mapa), 1) << "an empty row changes nothing";
    EXPECT_EQ(Forma(tres), "....\n11..\n1111\n....\n");
    Rellena(esperado, {"11........", "1111......", ".........."});
    EXPECT_EQ(Tablero(mapa), Tablero(esperado));
    EXPECT_EQ(tres.BorraFila(2, &mapa), 1);
    EXPECT_EQ(tres.BorraFila(2, &mapa), 0) << "nothing equal to 1 is left";
    EXPECT_EQ(tres.InicioY() * 1000 + tres.FinY(), -1 * 1000 - 1);
    EXPECT_EQ(Pieza({"1..."}, 0, 50).FinY(), 50);

    SDL_BlitSurface(background_game, nullptr, pantalla, nullptr);
    Pieza({"12..", ".111", "....", "...."}, X_SIGUIENTE, Y_SIGUIENTE, 1).Dibujar(pantalla, bloque[1]);
    EXPECT_EQ(LeePantalla(0).pantalla.substr(20 * 11), "2...\n.222\n....\n....\n");
}

TEST(Puntos, SoloLasFilasDelCuadradoDeLaPiezaSegunCuantasYCuando)
{
    const Filas LLENA = {"##########"};
    const auto arriba = [](Filas filas) { return filas.resize(ALTO_MAPA, ".........."), filas; };  // from row 0
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
        {arriba({"#.........", "##########"}), 0, 20001, arriba({"..........", "#........."}), 20},
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

TEST(Ventana, LaMayorEscalaEnteraQueCabeEnEl85PorCientoDelEscritorio)
{
    const struct {
        int ancho, alto, escala;
    } escritorios[] = {{1920, 1080, 3}, {2560, 1440, 5}, {1280, 800, 2}, {3840, 2160, 7}, {640, 480, 1}, {0, 0, 1},
                       // 85% of the width, then of the height, just three pictures
                       {1130, 1080, 3}, {1280, 848, 3}};
    for (const auto& e : escritorios)
        EXPECT_EQ(EscalaVentana(ANCHO, ALTO, e.ancho, e.alto), e.escala) << e.ancho << "x" << e.alto;
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

// A scripted game in which a pass composed a frame exactly when its picture
// differs from the last one: none where nothing moved, every one where
// something did. A pass that said nothing would change for a while without
// input (so that the web page may sleep) was right: until the pass after
// that, every frame is the same.
std::vector<Cuadro> Juega(unsigned semilla, const std::vector<Paso>& guion, int* salida)
{
    const std::vector<Cuadro> cuadros = JuegaGuion(semilla, guion, salida);
    for (size_t k = 1; k < cuadros.size(); k++) {
        const bool cambia =
            cuadros[k].pantalla != cuadros[k - 1].pantalla || cuadros[k].etiqueta != cuadros[k - 1].etiqueta;
        if (cuadros[k].pantalla != "menu") {
            EXPECT_EQ(cuadros[k].compuesto, cambia) << "the pass at " << cuadros[k].ms;
        }
        const Uint32 hasta = cuadros[k].tranquilo + MILISEGUNDOS_LOOP;
        const auto entrada = [&](const Paso& p) { return p.ms > cuadros[k].ms && p.ms <= hasta; };
        if (cuadros[k].tranquilo <= cuadros[k].ms + MILISEGUNDOS_LOOP || std::any_of(guion.begin(), guion.end(), entrada))
            continue;
        for (size_t j = k + 1; j < cuadros.size() && cuadros[j].ms <= hasta; j++)
            EXPECT_EQ(cuadros[j].pantalla, cuadros[k].pantalla) << "the pass at " << cuadros[k].ms << " said calm until "
                                                                << cuadros[k].tranquilo;
    }
    return cuadros;
}

const Paso::Accion PULSA = Paso::PULSA, SOSTIENE = Paso::SOSTIENE, SUELTA = Paso::SUELTA, EJE = Paso::EJE,
                   CRUCETA = Paso::CRUCETA, BOTON = Paso::BOTON;
// The pieces as they come in at column 4; block images 0 to 2 read '1' to '3'.
const Filas L = {"....1.....", "....1.....", "....11...."};
const Filas BARRA = {"....2.....", "....2.....", "....2.....", "....2....."};

TEST(Partida, SaleCaeCada800msOCada70msConAbajoYLaSiguienteSaleEnLaPasadaTrasAterrizar)
{
    // Seed 2 draws an L, a bar for the preview, then a T.
    SDL_WM_SetCaption("", nullptr);
    int salida = -1;
    // F11, in play and in the menu, is the window's: the game sees nothing.
    const std::vector<Cuadro> cuadros = Juega(2, {{0, PULSA, SDLK_RETURN}, {1000, PULSA, SDLK_F11},
                                                       {2000, SOSTIENE, SDLK_DOWN}, {3400, PULSA, SDLK_ESCAPE},
                                                       {3450, PULSA, SDLK_F11}, {3500, PULSA, SDLK_RETURN},
                                                       {10000, PULSA, SDLK_ESCAPE}}, &salida);
    EXPECT_EQ(salida, 0);
    // Left alone, the L lets the page sleep from the frame after a fall to
    // the pass before the next.
    EXPECT_EQ(cuadros[900 / MILISEGUNDOS_LOOP].tranquilo, 1620u);
    EXPECT_EQ(cuadros[0].pantalla, "menu");
    // The first frame: the piece's square at screen (150, 8), the preview at (278, 162), the score 0.
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
    // With DOWN held the pieces pile up in the middle until one has no room
    // to come in. That pass still draws: the board emptied, the blocked
    // piece at the top, the score 0. The menu follows.
    size_t fin = 3520 / MILISEGUNDOS_LOOP;
    while (fin < cuadros.size() && cuadros[fin].pantalla != "menu")
        fin++;
    ASSERT_LT(fin, cuadros.size());
    EXPECT_NE(cuadros[fin - 2].pantalla.substr(4 * 11, 11), "..........\n") << "the pile reached the top";
    EXPECT_EQ(cuadros[fin - 1].pantalla.find_first_not_of(".\n", 4 * 11), 20u * 11) << cuadros[fin - 1].pantalla;
    EXPECT_EQ(cuadros[fin - 1].etiqueta, Etiqueta(0));
    char* titulo = nullptr;
    SDL_WM_GetCaption(&titulo, nullptr);
    EXPECT_STREQ(titulo, "Brikando");
}

TEST(Partida, UnaFilaLlenaSeBorraYPuntuaEnElJuego)
{
    // Seed 1: two bars, then an L. The bars, turned flat, fill the bottom
    // row's eight left cells; the L, taken to the right wall, completes it
    // 5.32 s after the game began: 20 points and 30 x (20000 / 5320) = 90.
    const std::vector<Cuadro> cuadros = Juega(1, {{0, PULSA, SDLK_RETURN},
        {100, SOSTIENE, SDLK_UP}, {200, SUELTA, SDLK_UP}, {200, SOSTIENE, SDLK_LEFT}, {850, SUELTA, SDLK_LEFT},
        {850, SOSTIENE, SDLK_DOWN}, {2380, SOSTIENE, SDLK_UP}, {2420, SUELTA, SDLK_UP},
        {3980, SOSTIENE, SDLK_RIGHT}, {4500, SUELTA, SDLK_RIGHT}, {5400, PULSA, SDLK_ESCAPE}}, nullptr);
    EXPECT_EQ(En(cuadros, 5320), Tablero(17, {"........1.", "........1.", "2222222211"}));
    EXPECT_EQ(En(cuadros, 5400), Tablero(18, {"........1.", "........1."}, 0, BARRA));
    EXPECT_EQ(cuadros[5400 / MILISEGUNDOS_LOOP].etiqueta, Etiqueta(110));
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
            const std::vector<Cuadro> cuadros = Juega(2, guion, &salida);
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
    // could forget to free, the score's image, is over 400. Over SDL3 they
    // keep about 1 KB a run themselves (a video mode set again, a label
    // drawn): only a gross leak shows there, and the other stacks run the
    // same code.
    const bool sdl3 = dlopen("libSDL3.so.0", RTLD_NOW | RTLD_NOLOAD) != nullptr;
    EXPECT_LT(EnUso() - en_uso, 8 * 3 * (sdl3 ? 1536 : 256)) << "bytes kept by 24 runs of main";
}

TEST(Mando, JuegaComoLasTeclasSinSumarseAEllasYStartPausa)
{
    // Seed 2: an L, then a bar; samplings every 160 ms from 160, falls every
    // 820 ms, and a frame shows what the pass before it did. B does nothing,
    // A starts the game and, held on, does not turn the L. The D-pad with the
    // RIGHT key moves it one column a sampling; a quarter of the stick, a
    // trigger and hat 1 move nothing; the stick past half takes it to the
    // wall; A held turns it; the stick's down drops it every 80 ms. Start
    // pauses: the D-pad held moves nothing till Start again. Start and Back
    // queued together act one a pass, and Back in the menu quits.
    const Filas L_GIRADA = {"111.......", "1........."};
    int salida = -1;
    const std::vector<Cuadro> cuadros = Juega(2, {
        {0, BOTON, 1, 1}, {0, BOTON, 0, 1}, {200, BOTON, 0, 0},
        {200, CRUCETA, 0, SDL_HAT_RIGHT}, {200, SOSTIENE, SDLK_RIGHT},
        {400, CRUCETA, 0, SDL_HAT_CENTERED}, {400, SUELTA, SDLK_RIGHT},
        {400, EJE, 0, -8192}, {400, EJE, 2, 32767}, {400, CRUCETA, 1, SDL_HAT_LEFT}, {700, EJE, 2, 0},
        {700, EJE, 0, -20000}, {1700, EJE, 0, 0},
        {1700, BOTON, 0, 1}, {1800, BOTON, 0, 0},
        {1900, EJE, 1, 20000}, {3200, EJE, 1, 0},
        {3300, BOTON, 7, 1}, {3300, BOTON, 7, 0},
        {3400, CRUCETA, 0, SDL_HAT_LEFT}, {3700, BOTON, 7, 1}, {3700, BOTON, 7, 0}, {3800, CRUCETA, 0, 0},
        {3900, BOTON, 7, 1}, {3900, BOTON, 7, 0}, {3900, BOTON, 6, 1}, {3900, BOTON, 6, 0},
        {4100, BOTON, 6, 1}}, &salida);
    EXPECT_EQ(salida, 0);
    EXPECT_EQ(En(cuadros, 180), Tablero(0, L));
    EXPECT_EQ(En(cuadros, 340), Tablero(0, {".....1....", ".....1....", ".....11..."}));
    EXPECT_EQ(En(cuadros, 700), En(cuadros, 340));
    EXPECT_EQ(En(cuadros, 1620), Tablero(1, {"1.........", "1.........", "11........"}));
    EXPECT_EQ(En(cuadros, 1780), Tablero(2, L_GIRADA));
    EXPECT_EQ(En(cuadros, 3100), Tablero(17, L_GIRADA));
    EXPECT_EQ(En(cuadros, 3220), Tablero(18, L_GIRADA, 0, BARRA));
    EXPECT_EQ(En(cuadros, 3720), Tablero(18, L_GIRADA, 0, BARRA)) << "paused, the D-pad moves nothing";
    EXPECT_EQ(En(cuadros, 3740), Tablero(18, L_GIRADA, 0, {"...2......", "...2......", "...2......", "...2......"}));
    EXPECT_EQ(En(cuadros, 3920), En(cuadros, 3740));
    EXPECT_EQ(En(cuadros, 3940), "menu");
}

// Pads whose state a test sets, in place of SDL's joysticks: a pad holds
// the buttons listed, its axes 0 and 1, and hat 0.
struct Pad {
    std::vector<int> botones;
    Sint16 x = 0, y = 0;
    Uint8 hat = 0;
    int n_botones = 17;
};
std::vector<Pad> pads;
SDL_Joystick* DePad(int k) { return reinterpret_cast<SDL_Joystick*>(&pads.at(static_cast<size_t>(k))); }
Pad& PadDe(SDL_Joystick* j) { return *reinterpret_cast<Pad*>(j); }
const Joysticks FALSOS = {
    [] { return static_cast<int>(pads.size()); }, DePad, [](SDL_Joystick*) {},
    [](SDL_Joystick* j) { return static_cast<int>(&PadDe(j) - pads.data()); },
    [](SDL_Joystick* j) { return PadDe(j).n_botones; }, [] {},
    [](SDL_Joystick* j, int b) {
        const std::vector<int>& v = PadDe(j).botones;
        return static_cast<Uint8>(std::find(v.begin(), v.end(), b) != v.end());
    },
    [](SDL_Joystick* j, int e) { return e == 0 ? PadDe(j).x : e == 1 ? PadDe(j).y : Sint16{0}; },
    [](SDL_Joystick* j, int) { return PadDe(j).hat; }};

// What the arrows would do: "ULDR" for those a pad holds, "." for the others.
std::string Sostiene()
{
    std::string s;
    for (const auto& [flecha, letra] : {std::pair{SDLK_UP, 'U'}, {SDLK_LEFT, 'L'}, {SDLK_DOWN, 'D'}, {SDLK_RIGHT, 'R'}})
        s += MandoSostiene(flecha) ? letra : '.';
    return s;
}

// Before any test fixes the layout: that is for the rest of the process.
TEST(Mando, LaDisposicionDeLinuxSeLeeDeEventosYLaDeSdl2SoloSobreSdl12Compat)
{
    // sdl12-compat shows SDL2's layout when asked to; the classic library
    // has none but Linux's, whose pads speak in events and are not polled.
    pads = {Pad{{0, 6}, -32768}};
    UsaJoysticks(&FALSOS);
    setenv("SDL12COMPAT_USE_GAME_CONTROLLERS", "1", 1);
    AbreMandos();
    EXPECT_EQ(SondeaMandos(), EsSdl12Compat() ? ENTER : NO_EVENTOS);
    CierraMandos();
    setenv("SDL12COMPAT_USE_GAME_CONTROLLERS", "0", 1);
    AbreMandos();
    EXPECT_EQ(SondeaMandos(), NO_EVENTOS);
    EXPECT_EQ(Sostiene(), "....");
    SDL_Event e = {};
    e.type = SDL_JOYBUTTONDOWN;
    e.jbutton.button = 7;
    EXPECT_EQ(EventoMando(e), INICIO);
    e.jbutton.button = 6;
    EXPECT_EQ(EventoMando(e), ESCAPE);
    e.jbutton.button = 0;
    EXPECT_EQ(EventoMando(e), ENTER);
    EXPECT_EQ(Sostiene(), "U...") << "A held";
    e.type = SDL_JOYHATMOTION;
    e.jhat.value = SDL_HAT_LEFT | SDL_HAT_DOWN;
    EventoMando(e);
    EXPECT_EQ(Sostiene(), "ULD.");
    CierraMandos();
    UsaJoysticks(nullptr);
    unsetenv("SDL12COMPAT_USE_GAME_CONTROLLERS");
}

TEST(Mando, SondeaLaDisposicionDeSdl2)
{
    // Each poll sets the pads, then drains SondeaMandos: presses one a call,
    // in order A, Back, Start, and what the pads hold. The stick counts past
    // half its range; A turns from its press to its release, and not after
    // SueltaBotonA until pressed again; a pad without buttons is no pad.
    struct Sondeo {
        std::vector<Pad> pads;
        std::string eventos, sostiene;
        bool suelta_a = false;
    };
    const Pad NADA, A{{0}}, ATRAS_Y_START{{6, 4}}, IZQUIERDA{{13}}, CRUCETA{{11, 14}}, ABAJO{{12}};
    const struct {
        const char* nombre;
        std::vector<Sondeo> sondeos;
    } casos[] = {
        {"nothing", {{{NADA}, "", "...."}}},
        {"A: one press, held", {{{A}, "E", "U..."}, {{A}, "", "U..."}, {{NADA}, "", "...."}, {{A}, "E", "U..."}}},
        {"Back and Start at once, in order", {{{ATRAS_Y_START}, "XI", "...."}, {{ATRAS_Y_START}, "", "...."}}},
        {"the D-pad", {{{IZQUIERDA}, "", ".L.."}, {{CRUCETA}, "", "U..R"}, {{ABAJO}, "", "..D."}}},
        {"the stick past half", {{{Pad{{}, -16385, 16385}}, "", ".LD."}, {{Pad{{}, 16385, -16385}}, "", "U..R"}}},
        {"half the stick", {{{Pad{{}, -16384, 16384}}, "", "...."}, {{Pad{{}, 16384, -16384}}, "", "...."}}},
        {"the second pad", {{{NADA, IZQUIERDA}, "", ".L.."}}},
        {"no buttons, no pad", {{{Pad{{}, -32768, 0, 0, 0}}, "", "...."}}},
        {"A let go by the game", {{{A}, "E", "....", true}, {{A}, "", "...."}, {{NADA}, "", "...."}, {{A}, "E", "U..."}}},
    };
    UsaJoysticks(&FALSOS);
    FijaDisposicion(DISPOSICION_SDL2);
    for (const auto& caso : casos) {
        SCOPED_TRACE(caso.nombre);
        pads = caso.sondeos.front().pads;
        AbreMandos();
        for (const Sondeo& sondeo : caso.sondeos) {
            pads = sondeo.pads;
            std::string eventos;
            for (int e; (e = SondeaMandos()) != NO_EVENTOS;)
                eventos += e == ENTER ? 'E' : e == ESCAPE ? 'X' : e == INICIO ? 'I' : '?';
            if (sondeo.suelta_a)
                SueltaBotonA();
            EXPECT_EQ(eventos + "|" + Sostiene(), sondeo.eventos + "|" + sondeo.sostiene);
        }
        CierraMandos();
        EXPECT_EQ(Sostiene(), "....") << "closed, the pads hold nothing";
    }
    // Closing forgets the presses not yet handed out.
    pads = {ATRAS_Y_START};
    AbreMandos();
    EXPECT_EQ(SondeaMandos(), ESCAPE);
    CierraMandos();
    pads = {NADA};
    AbreMandos();
    EXPECT_EQ(SondeaMandos(), NO_EVENTOS);
    CierraMandos();
    // Polled pads' events, if any came, would count twice.
    SDL_Event boton = {};
    boton.type = SDL_JOYBUTTONDOWN;
    EXPECT_EQ(EventoMando(boton), NO_EVENTOS);
    UsaJoysticks(nullptr);
}

}  // namespace
