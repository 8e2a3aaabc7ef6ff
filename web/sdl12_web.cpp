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

// What the page tells the game when it wakes it.
const int MANDOS_CAMBIADOS = 1;  // pads came or went
const int FUERA_DE_VISTA = 2;    // the page was hidden or lost the focus

// A game in play waits for its next fall at most; paused, or in the menu,
// it waits for input.
const Uint64 EN_JUEGO_US = Uint64{3600} * 1000000;

// The page (brikando.js) sleeps ms, then, while it has no pads to poll,
// until tranquilo_ms or input. Says what happened meanwhile.
EM_ASYNC_JS(int, EsperaPagina, (double ms, double tranquilo_ms), {
    return await Module.espera(ms, tranquilo_ms);
});
// Whether the page has loaded the font at path, which the canvas draws with.
EM_JS(int, FuenteCargada, (const char* path), {
    return Module.fuenteCargada(UTF8ToString(path));
});

// A press of P, as the player's: the game pauses, or resumes.
void PulsaP()
{
    SDL_Event tecla = {};
    tecla.type = SDL_KEYDOWN;
    tecla.key.state = SDL_PRESSED;
    tecla.key.keysym.sym = SDLK_p;
    SDL_PushEvent(&tecla);
    tecla.type = SDL_KEYUP;
    tecla.key.state = SDL_RELEASED;
    SDL_PushEvent(&tecla);
}

// Every sleep goes back to the browser, which would stop drawing and
// listening if the game held on to its thread.
void Duerme(Uint64 us, Uint64 tranquilo_us)
{
    // Whole milliseconds, rounded up: a pass must not end short.
    const int aviso = EsperaPagina(static_cast<double>((us + 999) / 1000), static_cast<double>(tranquilo_us) / 1000);
    if (aviso & MANDOS_CAMBIADOS) {
        CierraMandos();
        AbreMandos();
    }
    // A game left behind in a hidden tab waits for its player, paused as P
    // pauses it: the game's clock is the wall clock, and the browser slows
    // a hidden page to a wake a second. Paused or in the menu, nothing changes.
    if ((aviso & FUERA_DE_VISTA) && tranquilo_us < EN_JUEGO_US)
        PulsaP();
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
