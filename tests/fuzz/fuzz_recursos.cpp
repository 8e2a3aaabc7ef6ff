// Arbitrary bytes as the game's PNG and TTF files, through its own loading
// code on SDL's dummy driver: Block::Cargar_IMG and drawings at the edges,
// Texto::SetFont and a rendering of the score.

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "constantes.h"
#include "principal.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    if (Inicia_SDL() != 0)
        abort();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, size_t tamano)
{
    static const std::string path = "fuzz_recurso_" + std::to_string(getpid());
    FILE* archivo = fopen(path.c_str(), "wb");
    fwrite(datos, 1, tamano, archivo);
    fclose(archivo);

    Block bloque(LADO_BLOQUE, LADO_BLOQUE);
    if (bloque.Cargar_IMG(path.c_str()) == 0)
        for (int donde : {-5, DESFASE_X, ANCHO - 3})
            bloque.Dibujar(pantalla, donde, donde);
    Texto etiqueta;
    if (etiqueta.SetFont(path.c_str()) == 0) {
        etiqueta.SetPosX(X_PUNTAJE);
        etiqueta.SetPosY(Y_PUNTAJE);
        etiqueta.SetNum(123456);
        etiqueta.DibujarText(pantalla);
    }
    return 0;
}
