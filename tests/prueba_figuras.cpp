// The falling piece: the shape-file reader, moves, falls, rotation, stamping.

#include <gtest/gtest.h>

#include "apoyo.h"

using namespace apoyo;

namespace {

std::string Ruta(const char* nombre)
{
    return RutaTemporal(nombre);
}

// A piece in play at (x, y) whose shape file holds these rows.
Figures Pieza(const std::vector<std::string>& filas, int x = 0, int y = 0, int tipo = 0)
{
    const std::string path = Ruta("pieza.txt");
    std::string archivo;
    for (const std::string& fila : filas)
        archivo += fila + "\n";
    EscribeArchivo(path, archivo);
    Figures pieza;
    pieza.Iniciar(x, y, 0, VELOCIDAD_FIGURA, tipo, path.c_str());
    return pieza;
}

const char* const L = "1...\n1...\n11..\n....\n";

TEST(LeeFigura, VariantesDelArchivo)
{
    const struct {
        const char* nombre;
        std::string contenido;
        bool usable;
        const char* forma;
    } casos[] = {
        {"lf", "1000\n1000\n1100\n0000\n", true, L},
        {"crlf", "1000\r\n1000\r\n1100\r\n0000\r\n", true, L},
        {"comentario", "1000 una ele\n1000 de 4 celdas\n1100\n0000", true, L},
        {"sin_salto_final", "1000\n1000\n1100\n0000", true, L},
        {"un_dos", "1000\n0120\n0000\n0000\n", true, "1...\n.12.\n....\n....\n"},
        {"corto", "1000\n1000\n11", false, nullptr},
        {"vacio", "", false, nullptr},
        {"sin_unos", "0000\n0200\n0000\n0000\n", false, nullptr},
        {"basura", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\xff\xfe", 18), false, nullptr},
    };
    for (const auto& c : casos) {
        const std::string path = Ruta(c.nombre);
        EscribeArchivo(path, c.contenido);
        int m[4][4];
        EXPECT_EQ(LeeFigura(path.c_str(), m), c.usable) << c.nombre;
        if (c.usable) {
            Figures pieza;
            pieza.Iniciar(0, 0, 0, 0, 0, path.c_str());
            EXPECT_EQ(Forma(pieza), c.forma) << c.nombre;
        }
    }
    int m[4][4];
    EXPECT_FALSE(LeeFigura(Ruta("no_existe").c_str(), m));
    EXPECT_FALSE(LeeFigura(RutaTemporal("").c_str(), m)) << "a directory";
}

TEST(Figures, IniciarColocaLaPiezaYUnArchivoInutilDaUnSoloBloque)
{
    Figures nueva;
    EXPECT_FALSE(nueva.GetActivo());
    EXPECT_EQ(nueva.GetX(), -1);
    EXPECT_EQ(nueva.GetY(), -1);
    EXPECT_EQ(nueva.GetTipo(), -1);

    Figures pieza;
    pieza.Iniciar(40, 0, 0, 10, 2, "recursos/maps_figures/map0.txt");
    EXPECT_TRUE(pieza.GetActivo());
    EXPECT_EQ(pieza.GetX(), 40);
    EXPECT_EQ(pieza.GetY(), 0);
    EXPECT_EQ(pieza.GetTipo(), 2);
    EXPECT_EQ(Forma(pieza), L);

    pieza.Finaliza();
    EXPECT_FALSE(pieza.GetActivo());
    EXPECT_EQ(pieza.GetX(), 40);
    EXPECT_EQ(Forma(pieza), L);

    // Play goes on with a one-block piece rather than an invisible or
    // bottomless one.
    pieza.Iniciar(40, 0, 0, 10, 1, Ruta("no_existe").c_str());
    EXPECT_TRUE(pieza.GetActivo());
    EXPECT_EQ(Forma(pieza), "1...\n....\n....\n....\n");
}

TEST(Figures, MoverYBajarSoloDondeCabe)
{
    Cuadricula mapa(ALTO_MAPA, ANCHO_MAPA);
    Figures pieza = Pieza({"1000", "1000", "1100", "0000"}, 0, 0);
    pieza.Mover(-10, &mapa);
    EXPECT_EQ(pieza.GetX(), 0) << "the left wall";
    pieza.Mover(10, &mapa);
    EXPECT_EQ(pieza.GetX(), 10);

    EXPECT_EQ(pieza.Bajar(&mapa), 0);
    EXPECT_EQ(pieza.GetY(), 10);
    Rellena(mapa, {".#........"});
    pieza.SetY(160);  // the L's bottom row is row 18, above the filled cell
    EXPECT_EQ(pieza.Bajar(&mapa), -1);
    EXPECT_EQ(pieza.GetY(), 160);
    EXPECT_EQ(pieza.Bajar(&mapa), 0) << "dy is 0 now: it tests where it is";
    EXPECT_EQ(pieza.GetY(), 160);
}

TEST(Figures, GirarEnSentidoHorarioHaciaLaEsquina)
{
    Cuadricula mapa(ALTO_MAPA, ANCHO_MAPA);
    Figures ele = Pieza({"1000", "1000", "1100", "0000"}, 40, 40);
    EXPECT_EQ(ele.Girar(&mapa), 0);
    EXPECT_EQ(Forma(ele), "111.\n1...\n....\n....\n");

    Figures barra = Pieza({"0100", "0100", "0100", "0100"}, 40, 40);
    EXPECT_EQ(barra.Girar(&mapa), 0);
    EXPECT_EQ(Forma(barra), "1111\n....\n....\n....\n");
    EXPECT_EQ(barra.Girar(&mapa), 0);
    EXPECT_EQ(Forma(barra), "1...\n1...\n1...\n1...\n");

    for (int tipo = 0; tipo < TIPOS_FIGURAS; tipo++) {
        const std::string path = "recursos/maps_figures/map" + std::to_string(tipo) + ".txt";
        Figures pieza;
        pieza.Iniciar(40, 40, 0, 10, tipo, path.c_str());
        const std::string antes = Forma(pieza);
        for (int vuelta = 0; vuelta < 4; vuelta++)
            EXPECT_EQ(pieza.Girar(&mapa), 0);
        EXPECT_EQ(Forma(pieza), antes) << path;
    }
}

TEST(Figures, GirarSeNiegaSiNoCabeOSiNoHayNadaQueGirar)
{
    Cuadricula mapa(ALTO_MAPA, ANCHO_MAPA);
    Figures barra = Pieza({"1000", "1000", "1000", "1000"}, 70, 0);
    EXPECT_EQ(barra.Girar(&mapa), -1) << "lying down it would cross the right wall";
    EXPECT_EQ(Forma(barra), "1...\n1...\n1...\n1...\n");
    EXPECT_EQ(barra.GetX(), 70);

    Rellena(mapa, {"..#.......", "..........", ".........."});
    Figures ele = Pieza({"1000", "1000", "1100", "0000"}, 0, 160);
    EXPECT_EQ(ele.Girar(&mapa), 0) << "turned, it lies in rows 16 and 17";
    Figures tapada = Pieza({"1000", "1000", "1100", "0000"}, 0, 170);
    EXPECT_EQ(tapada.Girar(&mapa), -1) << "turned, it would cover the filled cell";

    Figures vacia;  // nothing equal to 1: the shift would never stop
    EXPECT_EQ(vacia.Girar(&mapa), -1);
}

TEST(Figures, EstamparBorrarYQuitarUnaFila)
{
    Cuadricula mapa(ALTO_MAPA, ANCHO_MAPA);
    Figures pieza = Pieza({"1000", "0120", "0000", "0000"}, 30, 170, 1);
    pieza.DibujaMapa(&mapa);
    Cuadricula esperado(ALTO_MAPA, ANCHO_MAPA);
    Rellena(esperado, {"...2......", "....22....", ".........."});
    EXPECT_EQ(Tablero(mapa), Tablero(esperado)) << "every solid cell, the 2 included, as tipo + 1";
    pieza.BorraMapa(&mapa);
    for (int k = 0; k < ALTO_MAPA; k++)
        EXPECT_TRUE(mapa.EstaVacia(k));

    Figures tres = Pieza({"1100", "0110", "1111", "0000"}, 0, 100, 0);
    tres.DibujaMapa(&mapa);
    EXPECT_EQ(tres.BorraFila(1, &mapa), 1);
    EXPECT_EQ(Forma(tres), "....\n11..\n1111\n....\n");
    Cuadricula tras(ALTO_MAPA, ANCHO_MAPA);
    Rellena(tras, {"..........", "11........", "1111......", "..........", "..........", "..........",
                   "..........", "..........", "..........", ".........."});
    EXPECT_EQ(Tablero(mapa), Tablero(tras));
    EXPECT_EQ(tres.BorraFila(1, &mapa), 1);
    EXPECT_EQ(tres.BorraFila(2, &mapa), 0) << "nothing equal to 1 is left";
}

TEST(Figures, FilasDeArribaYDeAbajo)
{
    Figures pieza = Pieza({"0000", "0100", "0110", "0000"}, 0, 50);
    EXPECT_EQ(pieza.InicioY(), 60);
    EXPECT_EQ(pieza.FinY(), 70);
    Figures vacia;
    EXPECT_EQ(vacia.InicioY(), -1);
    EXPECT_EQ(vacia.FinY(), -1);
}

TEST(Figures, DibujaSoloLasCeldasIgualesA1EnSusPixelesExactos)
{
    Figures pieza = Pieza({"1200", "0000", "0000", "0000"}, X_SIGUIENTE, Y_SIGUIENTE, 1);
    SDL_FillRect(pantalla, nullptr, 0);
    pieza.Dibujar(pantalla, bloque[1]);
    EXPECT_TRUE(CeldaMuestra(278, 162, 1)) << "the preview's place";
    EXPECT_EQ(Pixel(pantalla, 292, 166), 0u) << "a cell of 2 is not drawn";
}

}  // namespace
