// Arbitrary bytes as a shape file: the reader, then a piece with whatever
// it read moved, turned, dropped and stamped on a board. Any crash, hang or
// sanitizer report is a finding; so is a broken promise, trapped below.

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "constantes.h"
#include "cuadricula.h"
#include "figuras.h"

static void Exige(bool condicion)
{
    if (!condicion)
        __builtin_trap();
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, size_t tamano)
{
    static const std::string path = "fuzz_figura_" + std::to_string(getpid()) + ".txt";
    FILE* archivo = fopen(path.c_str(), "wb");
    fwrite(datos, 1, tamano, archivo);
    fclose(archivo);

    int m[4][4];
    const bool usable = LeeFigura(path.c_str(), m);
    bool algun_uno = false, todo_cero = true;
    for (auto& fila : m)
        for (int v : fila) {
            algun_uno = algun_uno || v == 1;
            todo_cero = todo_cero && v == 0;
        }
    Exige(usable ? algun_uno : todo_cero);

    const int tipo = tamano > 0 ? datos[0] % TIPOS_FIGURAS : 0;
    Figures pieza;
    pieza.Iniciar(X_SALIDA, Y_SALIDA, 0, VELOCIDAD_FIGURA, tipo, path.c_str());
    Cuadricula mapa(ALTO_MAPA, ANCHO_MAPA);
    for (size_t k = 1; k < tamano && k < 9; k++) {
        switch (datos[k] % 3) {
        case 0: pieza.Girar(&mapa); break;
        case 1: pieza.Mover(-LADO_BLOQUE, &mapa); break;
        default: pieza.Mover(LADO_BLOQUE, &mapa); break;
        }
    }
    int caidas = 0;
    while (pieza.Bajar(&mapa) == 0 && caidas < 100)
        caidas++;
    Exige(caidas <= ALTO_MAPA);  // every loaded shape has a solid cell, so it lands
    pieza.DibujaMapa(&mapa);
    for (int k = 0; k < ALTO_MAPA; k++)
        for (int n = 0; n < ANCHO_MAPA; n++)
            Exige(mapa.GetCuadricula()[k][n] == 0 || mapa.GetCuadricula()[k][n] == tipo + 1);
    for (int fila = 0; fila < LADO_FIGURA; fila++)
        pieza.BorraFila(fila, &mapa);
    Exige(pieza.InicioY() == -1 && pieza.FinY() == -1);
    return 0;
}
