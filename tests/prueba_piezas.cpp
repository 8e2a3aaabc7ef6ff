// The wrappers on real SDL surfaces, then the board and the piece, with
// boards and shapes written as text.

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <ctime>

#include "apoyo.h"

using namespace apoyo;

namespace {

using Filas = std::vector<std::string>;

// SDL on the dummy driver with the game's images and font, once per process.
class Entorno : public testing::Environment {
    void SetUp() override { ASSERT_TRUE(Arranca()) << "cannot start SDL or load recursos/ here"; }
};
const testing::Environment* const entorno = testing::AddGlobalTestEnvironment(new Entorno);

TEST(Reloj, AtraviesaElDesbordeYRellenaLaPasadaAlMicrosegundo)
{
    SimulaReloj(0xFFFFFFF0u);
    Timer t;
    AvanzaMicros(0x30 * 1000);
    EXPECT_EQ(t.GetCurrentTime(), 0x30) << "across the 32-bit wrap";
    SimulaReloj(1000);
    AvanzaMicros(900);  // the origin falls late in its millisecond
    Timer fps_tim;
    AvanzaMicros(18600);
    RegulaPasada(fps_tim);
    RegulaPasada(fps_tim);
    EXPECT_EQ(Timer::Micros(), 1020900u) << "padded once, to 20 ms from the origin, not 19.6";
}

TEST(Reloj, ElRealEsElMonotonoEnMicrosYSuSuenoSeCompletaTrasUnaSenal)
{
    const auto monotono = [] {
        timespec t;
        clock_gettime(CLOCK_MONOTONIC, &t);
        return t.tv_sec * 1000000ull + t.tv_nsec / 1000;
    };
    Timer::UsaReloj(nullptr, nullptr, nullptr);
    const Uint64 antes = monotono(), micros = Timer::Micros(), despues = monotono();
    EXPECT_TRUE(antes <= micros && micros <= despues) << antes << " " << micros << " " << despues;
    signal(SIGALRM, [](int) {});
    ualarm(5000, 0);  // nanosleep returns early, whatever SA_RESTART says
    Timer::Duerme(30000);
    EXPECT_GE(monotono() - despues, 30000u);
    errno = EINTR;  // left over from the signal: a complete sleep must not repeat
    Timer::Duerme(0);
    SimulaReloj();
}

// The screen after dibuja, black before, clipped to corte.
std::vector<Uint8> Dibujado(const std::function<void()>& dibuja, SDL_Rect corte = {0, 0, ANCHO, ALTO})
{
    SDL_FillRect(pantalla, nullptr, 0);
    SDL_SetClipRect(pantalla, &corte);
    dibuja();
    SDL_SetClipRect(pantalla, nullptr);
    return Captura(pantalla);
}

TEST(Bloque, DibujaComoElBlitDeSDLEnCadaFormatoEnLosBordesYRecortadaYSinImagenNada)
{
    for (int bits : {32, 16, 24}) {  // the game's own last
        pantalla = SDL_SetVideoMode(ANCHO, ALTO, bits, SDL_SWSURFACE);
        Block b(LADO_BLOQUE, LADO_BLOQUE);
        ASSERT_EQ(b.Cargar_IMG("recursos/img/block2.png"), 0);
        SDL_Surface* imagen = CargaImagen("recursos/img/block2.png");
        for (SDL_Rect corte : {SDL_Rect{0, 0, ANCHO, ALTO}, SDL_Rect{100, 50, 33, 21}})
            for (auto [x, y] : {std::pair{0, 0}, {-5, -3}, {315, 235}, {-20, 5}, {310, -9}, {95, 45}, {130, 68}}) {
                SDL_Rect donde = {static_cast<Sint16>(x), static_cast<Sint16>(y), 0, 0};
                EXPECT_TRUE(Dibujado([&] { b.Dibujar(pantalla, x, y); }, corte) ==
                            Dibujado([&] { SDL_BlitSurface(imagen, nullptr, pantalla, &donde); }, corte))
                    << bits << " bits, at " << x << "," << y << " clip " << corte.w;
            }
        SDL_FreeSurface(imagen);
    }
    Block sin_imagen(LADO_BLOQUE, LADO_BLOQUE);
    EXPECT_EQ(sin_imagen.Cargar_IMG("recursos/img/no_existe.png"), 1);
    EXPECT_TRUE(Dibujado([&] { sin_imagen.Dibujar(pantalla, 0, 0); }) == Dibujado([] {}));
}

TEST(Etiqueta, SetNumDibujaElNumeroComoSDLttfYSinFuenteNada)
{
    TTF_Font* fuente = TTF_OpenFont("recursos/fonts/comicsans.ttf", 12);
    SDL_Surface* esperado = TTF_RenderText_Blended(fuente, "-2147483647", SDL_Color{255, 255, 255, 0});
    SDL_Rect donde = {3, 4, 0, 0};
    Texto t, perdida;
    ASSERT_EQ(t.SetFont("recursos/fonts/comicsans.ttf"), 0);
    t.SetPosX(3);
    t.SetPosY(4);
    t.SetNum(-2147483647);
    EXPECT_TRUE(Dibujado([&] { t.DibujarText(pantalla); }) ==
                Dibujado([&] { SDL_BlitSurface(esperado, nullptr, pantalla, &donde); }));
    SDL_FreeSurface(esperado);
    TTF_CloseFont(fuente);
    // Lost to a failed SetFont: nothing drawn, no crash.
    ASSERT_EQ(perdida.SetFont("recursos/fonts/comicsans.ttf"), 0);
    EXPECT_EQ(perdida.SetFont("recursos/fonts/no_existe.ttf"), 1);
    perdida.SetText("5");
    EXPECT_TRUE(Dibujado([&] { perdida.DibujarText(pantalla); }) == Dibujado([] {}));
}

// A piece at (x, y), read from a shape file of these rows, the rest empty.
Figures Pieza(Filas filas, int x = 0, int y = 0, int tipo = 0)
{
    filas.resize(LADO_FIGURA, "....");
    std::string texto;
    for (const std::string& fila : filas)
        texto += fila + "\n";
    std::replace(texto.begin(), texto.end(), '.', '0');
    Figures pieza;
    pieza.Iniciar(x, y, 0, VELOCIDAD_FIGURA, tipo, Archivo("pieza.txt", texto).c_str());
    return pieza;
}

TEST(Cuadricula, ColisionEnCadaBordeYBajaMapa)
{
    Cuadricula mapa(ALTO_MAPA, ANCHO_MAPA);
    Rellena(mapa, {"...2......"});
    const struct {
        Filas forma;
        int x, y, resultado;
        const char* caso;
    } colisiones[] = {
        {{"1..."}, 0, 190, NO_COLISION, "on the bottom row"},
        {{"1..."}, 0, 200, COLISION, "below the floor"},
        {{"1..."}, -10, 0, COLISION, "column -1"},
        {{"1..."}, -5, 0, NO_COLISION, "-5 / 10 truncates to column 0"},
        {{"...1"}, 60, 0, NO_COLISION, "last column"},
        {{"...1"}, 70, 0, COLISION, "past the right wall"},
        {{"....", "....", "....", "1..."}, 0, -40, COLISION, "row -1"},
        {{"....", "....", "....", "...1"}, 0, 160, COLISION, "a filled cell, whatever its value"},
        {{"1...", "....", "....", "..2."}, 10, 160, COLISION, "a shape cell of 2 is solid too"},
        {{"....", "....", "....", "1.1."}, 20, 160, NO_COLISION, "around the filled cell"},
    };
    for (const auto& c : colisiones) {
        int forma[4][4];
        Pieza(c.forma).GetMapa(forma);
        EXPECT_EQ(mapa.Colision(c.x, c.y, forma), c.resultado) << c.caso;
    }
    // The rows above come down until an empty one does; the rest stays.
    const struct {
        Filas antes;
        int fila;
        Filas despues;
    } bajadas[] = {
        {{"2..", "...", "1..", "...", ".3."}, 4, {"2..", "...", "...", "1..", ".3."}},
        {{"1..", ".2.", "..3", "1.1", "222", "333"}, 3, {"...", "1..", ".2.", "..3", "222", "333"}},
    };
    for (const auto& c : bajadas) {
        Cuadricula antes(6, 3), despues(6, 3);
        Rellena(antes, c.antes);
        Rellena(despues, c.despues);
        antes.BajaMapa(c.fila);
        EXPECT_EQ(Tablero(antes), Tablero(despues)) << "row " << c.fila;
    }
}

TEST(LeeFigura, VariantesDelArchivo)
{
    const char* const L = "1...\n1...\n11..\n....\n";
    const struct {
        const char* nombre;
        std::string contenido;
        const char* forma;  // null: refused
    } casos[] = {
        {"crlf", "1000\r\n1000\r\n1100\r\n0000\r\n", L},
        {"comentario", "1000 una ele\n1000 de 4 celdas\n1100\n0000", L},
        {"corto", "1000\n1000\n11", nullptr},
        {"sin_unos", "0000\n0200\n0000\n0000\n", nullptr},
        {"basura", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\xff\xfe", 18), nullptr},
        {"", "", nullptr},  // a directory
    };
    for (const auto& c : casos) {
        const std::string path = Archivo(c.nombre, c.contenido);
        int m[4][4];
        EXPECT_EQ(LeeFigura(path.c_str(), m), c.forma != nullptr) << c.nombre;
        Figures pieza;
        pieza.Iniciar(40, 0, 0, 10, 2, path.c_str());
        // Play goes on with a one-block piece rather than an invisible or bottomless one.
        EXPECT_EQ(Forma(pieza), c.forma ? c.forma : "1...\n....\n....\n....\n") << c.nombre;
    }
}

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

}  // namespace
