#include "figuras.h"

#include <cstdio>

#include "bloques.h"
#include "constantes.h"
#include "cuadricula.h"

// Whether any cell equals 1, the cells that are drawn and that a player sees.
static bool TieneBloques(int mapa_figura[][4])
{
    for (int k = 0; k < LADO_FIGURA; k++)
        for (int n = 0; n < LADO_FIGURA; n++)
            if (mapa_figura[k][n] == 1)
                return true;
    return false;
}

static void Vacia(int mapa_figura[][4])
{
    for (int k = 0; k < LADO_FIGURA; k++)
        for (int n = 0; n < LADO_FIGURA; n++)
            mapa_figura[k][n] = 0;
}

bool LeeFigura(const char* path, int mapa_figura[][4])
{
    FILE* archivo = fopen(path, "r");
    bool leida = archivo != nullptr;
    for (int k = 0; k < LADO_FIGURA && leida; k++) {
        for (int n = 0; n < LADO_FIGURA && leida; n++) {
            const int c = fgetc(archivo);
            leida = c != EOF;
            mapa_figura[k][n] = c - '0';
        }
        // Whatever follows the cells (a comment, a CR, the newline) is dropped;
        // only the last line may end the file.
        char resto[16];
        if (leida)
            leida = fgets(resto, sizeof resto, archivo) != nullptr || k == LADO_FIGURA - 1;
    }
    if (archivo != nullptr)
        fclose(archivo);
    if (leida && TieneBloques(mapa_figura))
        return true;
    Vacia(mapa_figura);
    return false;
}

void Figures::Iniciar(int posx, int posy, int vx, int vy, int type, const char* path)
{
    activo = true;
    x = posx;
    y = posy;
    dx = vx;
    dy = vy;
    tipo = type;
    if (!LeeFigura(path, mapa))
        mapa[0][0] = 1;
}

int Figures::InicioY()
{
    for (int k = 0; k < LADO_FIGURA; k++)
        for (int n = 0; n < LADO_FIGURA; n++)
            if (mapa[k][n] == 1)
                return y + k * LADO_BLOQUE;
    return -1;
}

int Figures::FinY()
{
    for (int k = LADO_FIGURA - 1; k >= 0; k--)
        for (int n = LADO_FIGURA - 1; n >= 0; n--)
            if (mapa[k][n] == 1)
                return y + k * LADO_BLOQUE;
    return -1;
}

void Figures::GetMapa(int mapa_destino[][4])
{
    for (int k = 0; k < LADO_FIGURA; k++)
        for (int n = 0; n < LADO_FIGURA; n++)
            mapa_destino[k][n] = mapa[k][n];
}

int Figures::Bajar(Cuadricula* cuadricula)
{
    if (cuadricula->Colision(x, y + dy, mapa) == COLISION) {
        dy = 0;
        return -1;
    }
    y += dy;
    return 0;
}

void Figures::Mover(int movex, Cuadricula* mapa_colisiones)
{
    if (mapa_colisiones->Colision(x + movex, y, mapa))
        x += movex;
}

int Figures::Girar(Cuadricula* cuadricula)
{
    // With no cell equal to 1 nothing would stop the shift into the corner.
    if (!TieneBloques(mapa))
        return -1;

    int copia_mapa[4][4];
    for (int r = 0; r < LADO_FIGURA; r++)
        for (int c = 0; c < LADO_FIGURA; c++)
            copia_mapa[r][c] = mapa[LADO_FIGURA - 1 - c][r];

    bool mover_izquierda = true;
    bool mover_arriba = true;
    while (mover_izquierda || mover_arriba) {
        for (int k = 0; k < LADO_FIGURA; k++) {
            if (copia_mapa[k][0] == 1)
                mover_izquierda = false;
            if (copia_mapa[0][k] == 1)
                mover_arriba = false;
        }
        if (mover_izquierda) {
            for (int k = 0; k < LADO_FIGURA; k++) {
                for (int n = 0; n < LADO_FIGURA - 1; n++)
                    copia_mapa[k][n] = copia_mapa[k][n + 1];
                copia_mapa[k][LADO_FIGURA - 1] = 0;
            }
        }
        if (mover_arriba) {
            for (int n = 0; n < LADO_FIGURA; n++) {
                for (int k = 0; k < LADO_FIGURA - 1; k++)
                    copia_mapa[k][n] = copia_mapa[k + 1][n];
                copia_mapa[LADO_FIGURA - 1][n] = 0;
            }
        }
    }

    if (cuadricula->Colision(x, y, copia_mapa) == COLISION)
        return -1;
    for (int k = 0; k < LADO_FIGURA; k++)
        for (int n = 0; n < LADO_FIGURA; n++)
            mapa[k][n] = copia_mapa[k][n];
    return 0;
}

void Figures::Estampa(Cuadricula* cuadricula, int valor)
{
    int** celdas = cuadricula->GetCuadricula();
    const int posx = x / LADO_BLOQUE;
    const int posy = y / LADO_BLOQUE;
    for (int k = 0; k < LADO_FIGURA; k++) {
        for (int n = 0; n < LADO_FIGURA; n++) {
            const int fila = posy + k;
            const int columna = posx + n;
            if (mapa[k][n] != 0 && fila >= 0 && fila < cuadricula->GetH() && columna >= 0 &&
                columna < cuadricula->GetW())
                celdas[fila][columna] = valor;
        }
    }
}

void Figures::DibujaMapa(Cuadricula* cuadricula)
{
    Estampa(cuadricula, tipo + 1);
}

void Figures::BorraMapa(Cuadricula* cuadricula)
{
    Estampa(cuadricula, 0);
}

void Figures::Dibujar(SDL_Surface* superficie, Block* bloque)
{
    for (int k = 0; k < LADO_FIGURA; k++)
        for (int n = 0; n < LADO_FIGURA; n++)
            if (mapa[k][n] == 1)
                bloque->Dibujar(superficie, x + n * LADO_BLOQUE + DESFASE_X, y + k * LADO_BLOQUE + DESFASE_Y);
}

int Figures::BorraFila(int fila, Cuadricula* cuadricula)
{
    BorraMapa(cuadricula);
    bool vacia = true;
    for (int n = 0; n < LADO_FIGURA; n++) {
        if (mapa[fila][n] != 0) {
            vacia = false;
            mapa[fila][n] = 0;
        }
    }
    if (!vacia) {
        for (int k = fila; k > 0; k--)
            for (int n = 0; n < LADO_FIGURA; n++)
                mapa[k][n] = mapa[k - 1][n];
        for (int n = 0; n < LADO_FIGURA; n++)
            mapa[0][n] = 0;
    }
    DibujaMapa(cuadricula);
    return TieneBloques(mapa) ? 1 : 0;
}
