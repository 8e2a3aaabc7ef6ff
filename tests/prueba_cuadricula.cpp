// The board: collision edges, full and empty rows, the row drop, drawing.

#include <gtest/gtest.h>

#include "apoyo.h"

using namespace apoyo;

namespace {

TEST(Cuadricula, ElPrimerArgumentoEsElAltoYNaceVacia)
{
    Cuadricula mapa(20, 10);
    EXPECT_EQ(mapa.GetH(), 20);
    EXPECT_EQ(mapa.GetW(), 10);
    for (int k = 0; k < 20; k++) {
        EXPECT_TRUE(mapa.EstaVacia(k));
        EXPECT_FALSE(mapa.EstaLlena(k));
    }
    Cuadricula chica(3, 5);
    EXPECT_EQ(chica.GetH(), 3);
    EXPECT_EQ(chica.GetW(), 5);
}

TEST(Cuadricula, BordesDeLaColision)
{
    Cuadricula mapa(ALTO_MAPA, ANCHO_MAPA);
    int abajo[4][4];  // its only solid cell is shape row 3, column 0
    Figura(abajo, {"....", "....", "....", "#..."});
    int arriba[4][4];
    Figura(arriba, {"#...", "....", "....", "...."});
    const struct {
        int (*figura)[4];
        int x, y, resultado;
        const char* caso;
    } casos[] = {
        {abajo, 0, 160, NO_COLISION, "on the bottom row"},
        {abajo, 0, 170, COLISION, "below the floor"},
        {abajo, -10, 0, COLISION, "column -1"},
        {abajo, -5, 0, NO_COLISION, "-5 / 10 truncates to column 0"},
        {abajo, 90, 0, NO_COLISION, "last column"},
        {abajo, 100, 0, COLISION, "past the right wall"},
        {arriba, 0, -10, COLISION, "row -1"},
        {arriba, 0, -5, NO_COLISION, "-5 / 10 truncates to row 0"},
    };
    for (const auto& c : casos)
        EXPECT_EQ(mapa.Colision(c.x, c.y, c.figura), c.resultado) << c.caso;

    int nada[4][4] = {};
    EXPECT_EQ(mapa.Colision(-1000, 5000, nada), NO_COLISION) << "an empty shape fits anywhere";

    Rellena(mapa, {"2........."});
    EXPECT_EQ(mapa.Colision(0, 160, abajo), COLISION) << "a filled cell, whatever its value";
    int dos[4][4];
    Figura(dos, {"....", "....", "....", "2..."});
    EXPECT_EQ(mapa.Colision(10, 170, dos), COLISION) << "a shape cell of 2 is solid too";
}

TEST(Cuadricula, FilasLlenasYVaciasMiranHastaLaUltimaCelda)
{
    Cuadricula mapa(ALTO_MAPA, ANCHO_MAPA);
    Rellena(mapa, {".........3", "#########.", "##########"});
    EXPECT_FALSE(mapa.EstaVacia(17));
    EXPECT_FALSE(mapa.EstaLlena(18));
    EXPECT_TRUE(mapa.EstaLlena(19));
    mapa.BorraFila(19);
    EXPECT_TRUE(mapa.EstaVacia(19));
}

TEST(Cuadricula, BajaMapaParaEnLaPrimeraFilaQueRecibeUnaVacia)
{
    Cuadricula mapa(ALTO_MAPA, ANCHO_MAPA);
    // Rows 17, 18, 19 hold P, Q, R; Q was full and has just been cleared.
    Rellena(mapa, {"1.........", "..........", "...3......"});
    mapa.BajaMapa(18);
    Cuadricula esperado(ALTO_MAPA, ANCHO_MAPA);
    Rellena(esperado, {"1.........", "...3......"});
    EXPECT_EQ(Tablero(mapa), Tablero(esperado));

    // Whatever lies above that empty row stays where it is.
    Rellena(mapa, {"..2.......", "..........", "1.........", "..........", "...3......"});
    mapa.BajaMapa(18);
    Rellena(esperado, {"..2.......", "..........", "..........", "1.........", "...3......"});
    EXPECT_EQ(Tablero(mapa), Tablero(esperado));
}

TEST(Cuadricula, BajaMapaEnLoAltoDelTablero)
{
    Cuadricula mapa(4, 3);
    Rellena(mapa, {"1..", ".2.", "..3", "1.1"});
    mapa.BajaMapa(0);
    EXPECT_EQ(Tablero(mapa), "...\n.2.\n..3\n1.1\n") << "BajaMapa(0) only clears row 0";

    Cuadricula alto(6, 3);
    Rellena(alto, {"1..", ".2.", "..3", "1.1", "222", "333"});
    alto.BajaMapa(3);
    EXPECT_EQ(Tablero(alto), "...\n1..\n.2.\n..3\n222\n333\n");
}

TEST(Cuadricula, BajaMapaNoDependeDeQueLaFilaSeHayaBorrado)
{
    for (int fila = 0; fila < 6; fila++) {
        Cuadricula borrada(6, 3);
        Cuadricula sin_borrar(6, 3);
        for (Cuadricula* mapa : {&borrada, &sin_borrar})
            Rellena(*mapa, {"..1", ".2.", "3..", "1.1", "222", "#.3"});
        borrada.BorraFila(fila);
        borrada.BajaMapa(fila);
        sin_borrar.BajaMapa(fila);
        EXPECT_EQ(Tablero(borrada), Tablero(sin_borrar)) << "row " << fila;
    }
}

TEST(Cuadricula, DibujaCadaCeldaConLaImagenDeSuValor)
{
    Cuadricula mapa(ALTO_MAPA, ANCHO_MAPA);
    mapa.GetCuadricula()[0][0] = 1;
    mapa.GetCuadricula()[19][9] = 3;
    mapa.GetCuadricula()[10][5] = 7;  // no image for it: skipped, not a crash
    SDL_FillRect(pantalla, nullptr, 0);
    mapa.Dibujar(pantalla, bloque);
    EXPECT_TRUE(CeldaMuestra(110, 8, 0));
    EXPECT_TRUE(CeldaMuestra(200, 198, 2));
    EXPECT_EQ(Pixel(pantalla, 165, 113), 0u);
    EXPECT_EQ(Pixel(pantalla, 120, 8), 0u) << "empty cells draw nothing";

    mapa.ResetMap();
    for (int k = 0; k < ALTO_MAPA; k++)
        EXPECT_TRUE(mapa.EstaVacia(k));
}

}  // namespace
