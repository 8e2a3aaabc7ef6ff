// The web page's front end: the game's own main, on the browser's clock,
// with the browser's pads, and SDL 1.2's reasons for failing.

#include <emscripten.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <sys/stat.h>

#include "mando.h"
#include "timer.h"

int main_del_juego(int argc, char** argv);  // the game's main, built under this name

namespace {

// The browser's standard gamepad layout, which touch controls share.
const Disposicion ESTANDAR = {0, 8, 9, {12, 13, 14, 15}, true};

char error[256] = "";

// The page (brikando.js) sleeps ms, then, while it has no pads to poll,
// until tranquilo_ms or input. 1 when pads came or went meanwhile.
EM_ASYNC_JS(int, EsperaPagina, (double ms, double tranquilo_ms), {
    return await Module.espera(ms, tranquilo_ms);
});
// Whether the page has loaded the font at path, which the canvas draws with.
EM_JS(int, FuenteCargada, (const char* path), {
    return Module.fuenteCargada(UTF8ToString(path));
});

// Every sleep goes back to the browser, which would stop drawing and
// listening if the game held on to its thread.
void Duerme(Uint64 us, Uint64 tranquilo_us)
{
    // Whole milliseconds, rounded up: a pass must not end short.
    if (EsperaPagina(static_cast<double>((us + 999) / 1000), static_cast<double>(tranquilo_us) / 1000)) {
        CierraMandos();
        AbreMandos();
    }
}

bool Existe(const char* file)
{
    struct stat datos;
    return stat(file, &datos) == 0 && S_ISREG(datos.st_mode);
}

}  // namespace

// Emscripten's keep no reason for a failure; the desktop's do.
extern "C" void SDL_SetError(const char* formato, ...)
{
    va_list argumentos;
    va_start(argumentos, formato);
    vsnprintf(error, sizeof error, formato, argumentos);
    va_end(argumentos);
}

extern "C" const char* SDL_GetError()
{
    return error;
}

// Emscripten's only write that they do nothing, to the output where the page
// shows the game's start-up failure.
extern "C" void SDL_Quit() {}
extern "C" void TTF_Quit() {}

#undef IMG_Load
extern "C" SDL_Surface* IMG_LoadWeb(const char* file)
{
    if (!Existe(file)) {
        SDL_SetError("Couldn't open %s", file);
        return nullptr;
    }
    SDL_Surface* imagen = IMG_Load(file);
    if (imagen == nullptr)
        SDL_SetError("Unsupported image format");
    return imagen;
}

#undef TTF_OpenFont
extern "C" TTF_Font* TTF_OpenFontWeb(const char* file, int ptsize)
{
    // The canvas draws with the page's font of that name, not with the file.
    if (!FuenteCargada(file)) {
        SDL_SetError("Couldn't open %s", file);
        return nullptr;
    }
    // Its fonts are numbered from 0, which would read as a failure.
    TTF_Font* fuente = TTF_OpenFont(file, ptsize);
    return fuente != nullptr ? fuente : TTF_OpenFont(file, ptsize);
}

int main(int argc, char** argv)
{
    Timer::UsaReloj(nullptr, nullptr, Duerme);
    FijaDisposicion(ESTANDAR);
    // Once main has slept, the runtime no longer waits for it to return: its
    // status would be lost, and the page never told the game had ended.
    exit(main_del_juego(argc, argv));
}
