#include "cuadricula.h"

#include "bloques.h"
#include "constantes.h"

Cuadricula::Cuadricula(int alto, int ancho) : w(ancho), h(alto), mapa(new int*[alto])
{
    for (int k = 0; k < h; k++)
        mapa[k] = new int[w];
    ResetMap();
}

Cuadricula::~Cuadricula()
{
    for (int k = 0; k < h; k++)
        delete[] mapa[k];
    delete[] mapa;
}

bool Cuadricula::EstaLlena(int fila)
{
    for (int n = 0; n < w; n++)
        if (mapa[fila][n] == 0)
            return false;
    return true;
}

bool Cuadricula::EstaVacia(int fila)
{
    for (int n = 0; n < w; n++)
        if (mapa[fila][n] != 0)
            return false;
    return true;
}

int Cuadricula::Colision(int posx, int posy, int mapa_figura[][4])
{
    const int x = posx / LADO_BLOQUE;
    const int y = posy / LADO_BLOQUE;
    for (int k = 0; k < LADO_FIGURA; k++) {
        for (int n = 0; n < LADO_FIGURA; n++) {
            if (mapa_figura[k][n] == 0)
                continue;
            const int fila = y + k;
            const int columna = x + n;
            // The bounds come first: the cell is read only inside the board.
            if (fila >= h || fila < 0 || columna >= w || columna < 0 || mapa[fila][columna] != 0)
                return COLISION;
        }
    }
    return NO_COLISION;
}

void Cuadricula::BorraFila(int fila)
{
    for (int n = 0; n < w; n++)
        mapa[fila][n] = 0;
}

void Cuadricula::BajaMapa(int fila)
{
    // A stack of pieces has no filled row above an empty one, so the first
    // empty row to come down ends the copy.
    for (int k = fila; k > 0; k--) {
        for (int n = 0; n < w; n++)
            mapa[k][n] = mapa[k - 1][n];
        if (EstaVacia(k))
            break;
    }
    BorraFila(0);
}

void Cuadricula::ResetMap()
{
    for (int k = 0; k < h; k++)
        BorraFila(k);
}

void Cuadricula::Dibujar(SDL_Surface* superficie, Block** bloque)
{
    for (int k = 0; k < h; k++) {
        for (int n = 0; n < w; n++) {
            const int v = mapa[k][n];
            if (v >= 1 && v <= TIPOS_BLOQUES)
                bloque[v - 1]->Dibujar(superficie, n * LADO_BLOQUE + DESFASE_X, k * LADO_BLOQUE + DESFASE_Y);
        }
    }
}
