// The game flow: spawning, scoring, frame drawing, the menu's wait and the
// play tick, pass by pass on the simulated clock.

#include <gtest/gtest.h>

#include <cstring>

#include "apoyo.h"

using namespace apoyo;

namespace {

std::string RutaDe(int tipo)
{
    return "recursos/maps_figures/map" + std::to_string(tipo) + ".txt";
}

bool PantallaEs(SDL_Surface* imagen)
{
    for (int y = 0; y < ALTO; y++)
        if (memcmp(static_cast<Uint8*>(pantalla->pixels) + y * pantalla->pitch,
                   static_cast<Uint8*>(imagen->pixels) + y * imagen->pitch, static_cast<size_t>(ANCHO * 3)) != 0)
            return false;
    return true;
}

class Juego : public testing::Test {
protected:
    RelojSimulado reloj;
    Partida p;
    const Uint32 inicio = Ahora();

    Juego()
    {
        srand(7);
        SueltaTodo();
        VaciaCola();
        p.estado = ACTIVO;
    }
    ~Juego() override
    {
        SueltaTodo();
        VaciaCola();
    }

    // A piece of shape tipo in play at (x, y), and an L waiting as the preview.
    void EnJuego(int tipo, int x, int y)
    {
        p.figura_actual.Iniciar(x, y, 0, VELOCIDAD_FIGURA, tipo, RutaDe(tipo).c_str());
        p.figura_siguiente.Iniciar(X_SIGUIENTE, Y_SIGUIENTE, 0, 0, 0, RutaDe(0).c_str());
    }

    // Passes until the piece's x (or y) has changed n times: when each
    // changing pass began, in ms since the test began. Gives up after 10 s.
    std::vector<Uint32> Cambios(int n, bool en_x)
    {
        std::vector<Uint32> cuando;
        while (static_cast<int>(cuando.size()) < n && Ahora() - inicio < 10000) {
            const int antes = en_x ? p.figura_actual.GetX() : p.figura_actual.GetY();
            const Uint32 ahora = Ahora();
            p.Pasada();
            if ((en_x ? p.figura_actual.GetX() : p.figura_actual.GetY()) != antes)
                cuando.push_back(ahora - inicio);
        }
        return cuando;
    }
};

TEST_F(Juego, LaPrimeraSalidaSorteaDosFormasYLaSiguienteTomaLaVistaPrevia)
{
    srand(11);
    const int primera = rand() % TIPOS_FIGURAS;
    const int segunda = rand() % TIPOS_FIGURAS;
    const int tercera = rand() % TIPOS_FIGURAS;
    srand(11);
    ASSERT_EQ(NuevaFigura(p.figura_actual, p.figura_siguiente, bloque, p.mapa), 0);
    EXPECT_EQ(p.figura_actual.GetTipo(), primera);
    EXPECT_EQ(p.figura_actual.GetX(), X_SALIDA);
    EXPECT_EQ(p.figura_actual.GetY(), Y_SALIDA);
    EXPECT_EQ(p.figura_siguiente.GetTipo(), segunda);
    EXPECT_EQ(p.figura_siguiente.GetX(), X_SIGUIENTE);
    EXPECT_EQ(p.figura_siguiente.GetY(), Y_SIGUIENTE);
    EXPECT_EQ(p.figura_actual.Bajar(&p.mapa), 0);
    EXPECT_EQ(p.figura_actual.GetY(), VELOCIDAD_FIGURA) << "falls a cell per step";

    const std::string prevista = Forma(p.figura_siguiente);
    ASSERT_EQ(NuevaFigura(p.figura_actual, p.figura_siguiente, bloque, p.mapa), 0);
    EXPECT_EQ(p.figura_actual.GetTipo(), segunda);
    EXPECT_EQ(Forma(p.figura_actual), prevista);
    EXPECT_EQ(p.figura_actual.GetX(), X_SALIDA);
    EXPECT_EQ(p.figura_actual.GetY(), Y_SALIDA);
    EXPECT_EQ(p.figura_siguiente.GetTipo(), tercera);
    EXPECT_EQ(p.figura_actual.Bajar(&p.mapa), 0);
    EXPECT_EQ(p.figura_actual.GetY(), VELOCIDAD_FIGURA) << "the preview's dy of 0 became 10";
}

TEST_F(Juego, SoloUnaCeldaBajoUnBloqueDeLaFormaImpideLaSalida)
{
    EnJuego(1, 0, 100);  // an L waits as the preview
    p.figura_actual.Finaliza();
    // Row 0 away from the spawn, or under the L's empty cells: no harm.
    p.mapa.GetCuadricula()[0][0] = 1;
    p.mapa.GetCuadricula()[0][9] = 1;
    p.mapa.GetCuadricula()[0][5] = 2;  // beside the L's top cell
    p.mapa.GetCuadricula()[3][4] = 3;  // below it
    ASSERT_EQ(NuevaFigura(p.figura_actual, p.figura_siguiente, bloque, p.mapa), 0);

    const std::string prevista = Forma(p.figura_siguiente);
    const int tipo_previsto = p.figura_siguiente.GetTipo();
    p.figura_actual.Finaliza();
    p.mapa.GetCuadricula()[0][4] = 1;
    EXPECT_EQ(NuevaFigura(p.figura_actual, p.figura_siguiente, bloque, p.mapa), 1);
    EXPECT_EQ(Forma(p.figura_siguiente), prevista) << "a blocked spawn leaves the preview alone";
    EXPECT_EQ(p.figura_siguiente.GetTipo(), tipo_previsto);
    EXPECT_EQ(p.figura_siguiente.GetX(), X_SIGUIENTE);
}

TEST_F(Juego, ResetGameLoVaciaTodo)
{
    EnJuego(2, 40, 60);
    p.puntaje = 990;
    Rellena(p.mapa, {"12.3......"});
    AvanzaReloj(5000);
    ResetGame(p.puntaje, p.borrados_linea_tim, p.mapa, p.figura_actual, p.figura_siguiente);
    EXPECT_EQ(p.puntaje, 0u);
    EXPECT_EQ(p.borrados_linea_tim.GetCurrentTime(), 0);
    EXPECT_TRUE(p.mapa.EstaVacia(19));
    EXPECT_FALSE(p.figura_actual.GetActivo());
    EXPECT_FALSE(p.figura_siguiente.GetActivo());
}

TEST_F(Juego, TablaDePuntos)
{
    const struct {
        int filas;
        Uint32 t;
        unsigned int suma;
    } casos[] = {
        {1, 4000, 170}, {4, 1200, 590}, {2, 25000, 50}, {1, 20000, 50}, {1, 20001, 20},
        {1, 0, 20},  // no division by zero: no speed bonus
        {3, 10000, 140},
    };
    for (const auto& c : casos) {
        Rellena(p.mapa, {"#.#.#.#.#.", "##########", "##########", "##########", "##########"});
        for (int k = 0; k < 4 - c.filas; k++)
            p.mapa.GetCuadricula()[19 - k][0] = 0;
        p.puntaje = 1000;
        p.borrados_linea_tim.ResetTime();
        AvanzaReloj(c.t);
        BorraFila(16, p.borrados_linea_tim, p.puntaje, p.mapa);
        EXPECT_EQ(p.puntaje - 1000, c.suma) << c.filas << " rows at t = " << c.t;
        EXPECT_EQ(p.borrados_linea_tim.GetCurrentTime(), 0) << "the stopwatch starts again";
    }
    p.puntaje = 0xFFFFFFF0u;
    Rellena(p.mapa, {"##########"});
    AvanzaReloj(30000);
    BorraFila(19, p.borrados_linea_tim, p.puntaje, p.mapa);
    EXPECT_EQ(p.puntaje, 4u) << "the score wraps";
}

TEST_F(Juego, UnAterrizajeSinFilasNoTocaNiPuntosNiCronometro)
{
    Rellena(p.mapa, {"#########."});
    p.puntaje = 70;
    AvanzaReloj(3000);
    BorraFila(16, p.borrados_linea_tim, p.puntaje, p.mapa);
    EXPECT_EQ(p.puntaje, 70u);
    EXPECT_EQ(p.borrados_linea_tim.GetCurrentTime(), 3000);
}

TEST_F(Juego, FilasLlenasConUnaIncompletaEnMedioYLaVentanaCortadaEnLaFila19)
{
    Rellena(p.mapa, {"1.........", "##########", ".2.2.2.2.2", "##########", "3........3"});
    BorraFila(16, p.borrados_linea_tim, p.puntaje, p.mapa);
    Cuadricula esperado(ALTO_MAPA, ANCHO_MAPA);
    Rellena(esperado, {"1.........", ".2.2.2.2.2", "3........3"});
    EXPECT_EQ(Tablero(p.mapa), Tablero(esperado));

    // Row 16 is full but lies above the window of a piece at row 17.
    Rellena(p.mapa, {"##########", "##########", "#########.", "##########"});
    BorraFila(17, p.borrados_linea_tim, p.puntaje, p.mapa);
    Rellena(esperado, {"##########", "#########."});
    EXPECT_EQ(Tablero(p.mapa), Tablero(esperado));
    Rellena(p.mapa, {"##########", "##########"});
    BorraFila(19, p.borrados_linea_tim, p.puntaje, p.mapa);
    Rellena(esperado, {"##########"});
    EXPECT_EQ(Tablero(p.mapa), Tablero(esperado));
}

TEST_F(Juego, ElPrimerCuadroMuestraLaPiezaEnSuSalidaYLaVistaPrevia)
{
    srand(3);
    const int actual = rand() % TIPOS_FIGURAS;
    const int siguiente = rand() % TIPOS_FIGURAS;
    srand(3);
    p.Pasada();
    // Every shape has its top-left cell solid.
    EXPECT_TRUE(CeldaMuestra(150, 8, actual));
    EXPECT_TRUE(CeldaMuestra(278, 162, siguiente));
    EXPECT_EQ(Pixel(pantalla, 110, 198), Pixel(background_game, 110, 198)) << "an empty board";
    bool puntaje_dibujado = false;
    for (int x = X_PUNTAJE; x < X_PUNTAJE + 10; x++)
        for (int y = Y_PUNTAJE; y < Y_PUNTAJE + 14; y++)
            puntaje_dibujado = puntaje_dibujado || Pixel(pantalla, x, y) != Pixel(background_game, x, y);
    EXPECT_TRUE(puntaje_dibujado) << "the score 0";
}

TEST_F(Juego, CaeCada800msOCada70msConAbajo)
{
    EnJuego(1, 40, 0);
    // A fall step comes at the first pass after more than fig_delay.
    EXPECT_EQ(Cambios(2, false), (std::vector<Uint32>{820, 1640}));
    Sostiene(SDLK_DOWN);
    EXPECT_EQ(Cambios(3, false), (std::vector<Uint32>{1720, 1800, 1880}));
    Sostiene(SDLK_DOWN, false);
    EXPECT_EQ(Cambios(1, false), (std::vector<Uint32>{2700}));
}

TEST_F(Juego, LasFlechasSostenidasSeMuestreanCada150ms)
{
    EnJuego(0, 40, 0);  // an L, two columns wide
    Sostiene(SDLK_RIGHT);
    EXPECT_EQ(Cambios(4, true), (std::vector<Uint32>{160, 320, 480, 640}));
    p.Juega(1000);
    EXPECT_EQ(p.figura_actual.GetX(), 80) << "stopped by the right wall";

    Sostiene(SDLK_LEFT);  // both held: left, then right
    p.Juega(1000);
    EXPECT_EQ(p.figura_actual.GetX(), 80);
    p.figura_actual.SetX(0);
    p.Juega(400);
    EXPECT_EQ(p.figura_actual.GetX(), 10) << "the wall refuses left, right goes through";
}

TEST_F(Juego, ArribaGiraSalvoJuntoALaPared)
{
    EnJuego(1, 70, 0);
    Sostiene(SDLK_UP);
    p.Juega(400);
    EXPECT_EQ(Forma(p.figura_actual), "1...\n1...\n1...\n1...\n") << "lying down it would cross the wall";
    p.figura_actual.SetX(40);
    p.Juega(160);
    EXPECT_EQ(Forma(p.figura_actual), "1111\n....\n....\n....\n");
}

TEST_F(Juego, AterrizaEnLaPasadaDeLaCaidaFallidaYLaSiguienteSaleAntesDeDibujar)
{
    EnJuego(1, 0, 160);  // a bar standing on the floor
    p.Juega(820);
    EXPECT_TRUE(p.figura_actual.GetActivo());
    p.Pasada();  // its first fall step, which fails
    EXPECT_FALSE(p.figura_actual.GetActivo()) << "landed in the pass whose fall failed";
    EXPECT_EQ(p.mapa.GetCuadricula()[16][0], 2);
    EXPECT_EQ(p.mapa.GetCuadricula()[19][0], 2);

    p.Pasada();
    ASSERT_TRUE(p.figura_actual.GetActivo());
    EXPECT_TRUE(CeldaMuestra(150, 8, 0)) << "the new piece is in the frame";
    EXPECT_TRUE(CeldaMuestra(110, 168, 1)) << "beside the landed one";
    // Its first fall counts from the last fall step, not from its spawn.
    const int y = p.figura_actual.GetY();
    while (p.figura_actual.GetY() == y)
        p.Pasada();
    EXPECT_EQ(Ahora() - inicio, 2u * 820 + 20);
}

TEST_F(Juego, LaPausaLoCongelaTodoMientrasLosRelojesSiguen)
{
    EnJuego(1, 40, 0);
    p.Juega(100);
    Pulsa(SDLK_p);
    p.Pasada();
    ASSERT_TRUE(p.pause);
    SDL_FillRect(pantalla, nullptr, 0x123456);
    Sostiene(SDLK_RIGHT);
    Sostiene(SDLK_DOWN);
    p.Juega(2000);
    EXPECT_EQ(p.figura_actual.GetX(), 40);
    EXPECT_EQ(p.figura_actual.GetY(), 0);
    EXPECT_EQ(Pixel(pantalla, 160, 100), 0x123456u) << "nothing drawn while paused";

    // Both delays have long passed: the fall comes in the very pass that
    // resumes, the key sampling in the next.
    Pulsa(SDLK_p);
    p.Pasada();
    EXPECT_FALSE(p.pause);
    EXPECT_EQ(p.figura_actual.GetY(), 10);
    EXPECT_EQ(p.figura_actual.GetX(), 40);
    p.Pasada();
    EXPECT_EQ(p.figura_actual.GetX(), 50);
}

TEST_F(Juego, EscapeEnPausaVuelveAlMenuConLaPartidaBorrada)
{
    EnJuego(1, 40, 100);
    p.puntaje = 120;
    Rellena(p.mapa, {"1.1.1....."});
    Pulsa(SDLK_p);
    p.Pasada();
    Pulsa(SDLK_ESCAPE);
    p.Pasada();
    EXPECT_EQ(p.estado, MENU);
    EXPECT_EQ(p.puntaje, 0u);
    EXPECT_TRUE(p.mapa.EstaVacia(19));
    EXPECT_FALSE(p.figura_actual.GetActivo());
    EXPECT_FALSE(p.figura_siguiente.GetActivo());
}

TEST_F(Juego, UnEventoPorPasadaYEnterNoHaceNada)
{
    EnJuego(1, 40, 0);
    Pulsa(SDLK_RETURN);
    Pulsa(SDLK_p);
    Pulsa(SDLK_ESCAPE);
    p.Pasada();
    EXPECT_EQ(p.estado, ACTIVO);
    EXPECT_FALSE(p.pause) << "RETURN is read, and ignored";
    p.Pasada();
    EXPECT_TRUE(p.pause);
    EXPECT_EQ(p.estado, ACTIVO);
    p.Pasada();
    EXPECT_EQ(p.estado, MENU);

    Pulsa(SDLK_UNKNOWN);
    p.estado = ACTIVO;
    p.Pasada();
    EXPECT_EQ(p.done, 1) << "a quit request in play ends the program";
}

TEST_F(Juego, FinDePartidaDibujaUnCuadroVacioConPuntos0YLuegoElMenu)
{
    EnJuego(1, 0, 100);
    p.figura_actual.Finaliza();
    p.puntaje = 500;
    p.mapa.GetCuadricula()[0][4] = 1;
    p.mapa.GetCuadricula()[19][1] = 1;
    p.Pasada();
    EXPECT_EQ(p.estado, MENU);
    EXPECT_EQ(p.puntaje, 0u);
    EXPECT_TRUE(p.mapa.EstaVacia(0));
    EXPECT_TRUE(p.mapa.EstaVacia(19));
    EXPECT_TRUE(CeldaMuestra(150, 8, 0)) << "the blocked piece";
    EXPECT_TRUE(CeldaMuestra(278, 162, 0)) << "the old preview";
    EXPECT_EQ(Pixel(pantalla, 120, 198), Pixel(background_game, 120, 198)) << "the board was emptied";
    const std::vector<Uint8> cuadro = Captura();
    Dibujar(0, p.figura_actual, p.figura_siguiente, bloque, p.mapa, *t_puntaje);
    EXPECT_TRUE(cuadro == Captura()) << "the score 0 on an empty board";

    Pulsa(SDLK_RETURN);
    p.Pasada();
    EXPECT_TRUE(PantallaEs(menu_principal));
    EXPECT_EQ(p.estado, ACTIVO);
}

int esperas = 0;
void EsperaYPulsaEnter(Uint64 us)
{
    EXPECT_LE(us, MILISEGUNDOS_LOOP * 1000u);
    AvanzaMicros(us);
    if (++esperas == 3)
        Pulsa(SDLK_RETURN);
}

TEST_F(Juego, ElMenuDuermeEntreSondeosVaciosEIgnoraLaP)
{
    SimulaReloj(1000, EsperaYPulsaEnter);
    p.estado = MENU;
    p.pause = true;
    Pulsa(SDLK_p);
    p.Pasada();
    EXPECT_EQ(esperas, 3);
    EXPECT_EQ(p.estado, ACTIVO);
    EXPECT_FALSE(p.pause) << "a new game never starts paused";
    EXPECT_TRUE(PantallaEs(menu_principal));

    for (SDLKey tecla : {SDLK_ESCAPE, SDLK_UNKNOWN}) {
        Partida menu;
        Pulsa(tecla);
        menu.Pasada();
        EXPECT_EQ(menu.done, 1) << "ESCAPE or a quit request in the menu";
    }
}

}  // namespace
