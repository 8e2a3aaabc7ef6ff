// Timer, Block and Texto on real SDL surfaces, and the event reader.

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "apoyo.h"

using namespace apoyo;

namespace {

class Reloj : public testing::Test {
protected:
    void SetUp() override { SimulaReloj(); }
    void TearDown() override { RelojReal(); }
};

TEST_F(Reloj, CuentaDesdeElUltimoReinicioSinReiniciarseAlLeer)
{
    Timer t;
    AvanzaReloj(30);
    EXPECT_EQ(t.GetCurrentTime(), 30);
    EXPECT_EQ(t.GetCurrentTime(), 30);
    t.ResetTime();
    EXPECT_EQ(t.GetCurrentTime(), 0) << "a reading in the reset's millisecond is 0";
    AvanzaReloj(5);
    EXPECT_EQ(t.GetCurrentTime(), 5);
}

TEST_F(Reloj, AtraviesaElDesbordeDelContadorDe32Bits)
{
    SimulaReloj(0xFFFFFFF0u);
    Timer t;
    AvanzaReloj(0x30);
    EXPECT_EQ(t.GetCurrentTime(), 0x30);
    t.ResetTime();
    AvanzaReloj(0x80000000u);
    EXPECT_LT(t.GetCurrentTime(), 0) << "spans of 2^31 ms read negative";
}

TEST_F(Reloj, LaPasadaSeRellenaHastaVeinteMsDesdeSuOrigenExacto)
{
    AvanzaMicros(900);  // the origin falls late in its millisecond
    Timer fps_tim;
    AvanzaMicros(18600);
    EXPECT_EQ(fps_tim.GetCurrentTime(), 19);
    RegulaPasada(fps_tim);
    EXPECT_EQ(Timer::Micros(), 1000900u + 20000u) << "20 ms from the origin, not 19.6";
    RegulaPasada(fps_tim);
    EXPECT_EQ(Timer::Micros(), 1020900u) << "a pass already 20 ms long is not padded";
}

void Borra()
{
    SDL_FillRect(pantalla, nullptr, 0);
}

TEST(Bloque, DibujaLaImagenEnteraASuPropioTamano)
{
    // A 12x12 image in a Block made for 10x10 cells.
    SDL_Surface* imagen = SDL_CreateRGBSurface(SDL_SWSURFACE, 12, 12, 24, 0xFF0000, 0xFF00, 0xFF, 0);
    SDL_FillRect(imagen, nullptr, 0x102030);
    SDL_Rect esquina = {11, 11, 1, 1};
    SDL_FillRect(imagen, &esquina, 0xA0B0C0);
    const std::string path = RutaTemporal("12x12.bmp");
    ASSERT_EQ(SDL_SaveBMP(imagen, path.c_str()), 0);
    SDL_FreeSurface(imagen);

    Block b(10, 10);
    ASSERT_EQ(b.Cargar_IMG(path.c_str()), 0);
    Borra();
    b.Dibujar(pantalla, 50, 60);
    EXPECT_EQ(Pixel(pantalla, 50, 60), 0x102030u);
    EXPECT_EQ(Pixel(pantalla, 61, 70), 0x102030u);
    EXPECT_EQ(Pixel(pantalla, 61, 71), 0xA0B0C0u);
    EXPECT_EQ(Pixel(pantalla, 62, 71), 0u);
    EXPECT_EQ(Pixel(pantalla, 49, 60), 0u);
}

// Block copies rows itself where SDL would do a plain copy: the pixels must
// be SDL's, at the edges and inside a clip rectangle too.
TEST(Bloque, DibujaLoMismoQueElBlitDeSDLTambienRecortado)
{
    Block b(10, 10);
    ASSERT_EQ(b.Cargar_IMG("recursos/img/block2.png"), 0);
    SDL_Surface* imagen = CargaImagen("recursos/img/block2.png");
    const SDL_Rect sin_corte = {0, 0, ANCHO, ALTO};
    const SDL_Rect corte = {100, 50, 33, 21};
    for (const SDL_Rect& recorte : {sin_corte, corte}) {
        for (auto [x, y] : {std::pair{0, 0}, {-5, -3}, {315, 235}, {-20, 5}, {310, -9}, {95, 45}, {130, 68}}) {
            Borra();
            SDL_SetClipRect(pantalla, &recorte);
            b.Dibujar(pantalla, x, y);
            const std::vector<Uint8> nuestro = Captura();
            SDL_SetClipRect(pantalla, nullptr);
            Borra();
            SDL_SetClipRect(pantalla, &recorte);
            SDL_Rect donde = {static_cast<Sint16>(x), static_cast<Sint16>(y), 0, 0};
            SDL_BlitSurface(imagen, nullptr, pantalla, &donde);
            SDL_SetClipRect(pantalla, nullptr);
            EXPECT_TRUE(nuestro == Captura()) << "at (" << x << ", " << y << ") clip w " << recorte.w;
        }
    }
    SDL_SetClipRect(pantalla, nullptr);
    SDL_FreeSurface(imagen);
}

TEST(Bloque, SinImagenDevuelve1YNoDibujaNada)
{
    Block b(10, 10);
    EXPECT_EQ(b.Cargar_IMG("recursos/img/no_existe.png"), 1);
    Borra();
    b.Dibujar(pantalla, 0, 0);
    EXPECT_EQ(Captura(), std::vector<Uint8>(static_cast<size_t>(pantalla->pitch * pantalla->h), 0));
}

// The label against what SDL_ttf itself draws for the expected text.
TEST(Etiqueta, SetNumDibujaElNumeroEnDecimal)
{
    TTF_Font* fuente = TTF_OpenFont("recursos/fonts/comicsans.ttf", 12);
    ASSERT_NE(fuente, nullptr);
    const struct {
        int numero;
        const char* texto;
    } casos[] = {{0, "0"}, {-7, "-7"}, {2147483647, "2147483647"}};
    for (const auto& caso : casos) {
        Texto t;
        ASSERT_EQ(t.SetFont("recursos/fonts/comicsans.ttf"), 0);
        t.SetPosX(3);
        t.SetPosY(4);
        t.SetNum(caso.numero);
        Borra();
        t.DibujarText(pantalla);
        const std::vector<Uint8> dibujado = Captura();

        SDL_Color blanco = {255, 255, 255, 0};
        SDL_Surface* esperado = TTF_RenderText_Blended(fuente, caso.texto, blanco);
        SDL_Rect donde = {3, 4, 0, 0};
        Borra();
        SDL_BlitSurface(esperado, nullptr, pantalla, &donde);
        SDL_FreeSurface(esperado);
        EXPECT_TRUE(dibujado == Captura()) << caso.texto;
        EXPECT_NE(dibujado, std::vector<Uint8>(dibujado.size(), 0)) << caso.texto;
    }
    TTF_CloseFont(fuente);
}

TEST(Etiqueta, SinFuenteNoDibujaNiRevienta)
{
    Texto nunca;
    nunca.SetNum(5);
    Texto perdida;
    ASSERT_EQ(perdida.SetFont("recursos/fonts/comicsans.ttf"), 0);
    EXPECT_EQ(perdida.SetFont("recursos/fonts/no_existe.ttf"), 1);
    perdida.SetNum(5);
    perdida.SetText("5");
    Borra();
    nunca.DibujarText(pantalla);
    perdida.DibujarText(pantalla);
    EXPECT_EQ(Captura(), std::vector<Uint8>(static_cast<size_t>(pantalla->pitch * pantalla->h), 0));
}

TEST(Eventos, UnEventoDeInteresPorLlamadaYLosDemasSiguenEnCola)
{
    VaciaCola();
    SDL_Event soltar = {};
    soltar.type = SDL_KEYUP;
    soltar.key.keysym.sym = SDLK_p;
    SDL_PushEvent(&soltar);
    Pulsa(SDLK_a);
    SDL_Event raton = {};
    raton.type = SDL_MOUSEMOTION;
    SDL_PushEvent(&raton);
    Pulsa(SDLK_p);
    Pulsa(SDLK_ESCAPE);
    Pulsa(SDLK_LEFT);
    Pulsa(SDLK_RETURN);
    Pulsa(SDLK_UNKNOWN);  // quit request

    SDL_Event resto[16];
    EXPECT_EQ(CompruebaEventos(), K_PAUSE);
    EXPECT_EQ(SDL_PeepEvents(resto, 16, SDL_PEEKEVENT, SDL_ALLEVENTS), 4) << "what follows p stays queued";
    EXPECT_EQ(CompruebaEventos(), ESCAPE);
    EXPECT_EQ(CompruebaEventos(), ENTER);
    EXPECT_EQ(CompruebaEventos(), QUIT);
    EXPECT_EQ(CompruebaEventos(), NO_EVENTOS);
}

}  // namespace
