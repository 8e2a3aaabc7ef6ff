// Arbitrary bytes as a shape file: the reader, then a piece with whatever it
// read moved, turned, dropped and stamped. Besides crashes, hangs and
// sanitizer reports, a broken promise is a finding: it traps.

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "constantes.h"
#include "cuadricula.h"
#include "figuras.h"

#define EXIGE(condicion) ((condicion) ? (void)0 : __builtin_trap())

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, size_t tamano)
{
    static const std::string path = "fuzz_figura_" + std::to_string(getpid()) + ".txt";
    FILE* archivo = fopen(path.c_str(), "wb");
    fwrite(datos, 1, tamano, archivo);
    fclose(archivo);

    // A usable shape holds a 1; a refused one is all zeros.
    int m[4][4], unos = 0, no_ceros = 0;
    const bool usable = LeeFigura(path.c_str(), m);
    for (auto& fila : m)
        for (int v : fila) {
            unos += v == 1;
            no_ceros += v != 0;
        }
    EXIGE(usable ? unos > 0 : no_ceros == 0);

    const int tipo = tamano > 0 ? datos[0] % TIPOS_FIGURAS : 0;
    Figures pieza;
    pieza.Iniciar(X_SALIDA, Y_SALIDA, 0, VELOCIDAD_FIGURA, tipo, path.c_str());
    Cuadricula mapa(ALTO_MAPA, ANCHO_MAPA);
    for (size_t k = 1; k < tamano && k < 9; k++) {
        if (datos[k] % 3 == 0)
            pieza.Girar(&mapa);
        else
            pieza.Mover(datos[k] % 3 == 1 ? -LADO_BLOQUE : LADO_BLOQUE, &mapa);
    }
    int caidas = 0;
    while (pieza.Bajar(&mapa) == 0 && caidas < 100)
        caidas++;
    EXIGE(caidas <= ALTO_MAPA);  // every piece has a solid cell, so it lands
    pieza.DibujaMapa(&mapa);
    for (int k = 0; k < ALTO_MAPA; k++)
        for (int n = 0; n < ANCHO_MAPA; n++)
            EXIGE(mapa.GetCuadricula()[k][n] == 0 || mapa.GetCuadricula()[k][n] == tipo + 1);
    for (int fila = 0; fila < LADO_FIGURA; fila++)
        pieza.BorraFila(fila, &mapa);
    EXIGE(pieza.InicioY() == -1 && pieza.FinY() == -1);
    return 0;
}
