#ifndef CARGA_H
#define CARGA_H

// The benchmarks' heaviest board.

#include "apoyo.h"

// Rows 1 to 19 full but for one cell each, in the three block colours.
inline void CasiLleno(Cuadricula& mapa)
{
    for (int k = 1; k < ALTO_MAPA; k++)
        for (int n = 0; n < ANCHO_MAPA; n++)
            mapa.GetCuadricula()[k][n] = n == (k * 3) % ANCHO_MAPA ? 0 : 1 + (k + n) % TIPOS_BLOQUES;
}

#endif
