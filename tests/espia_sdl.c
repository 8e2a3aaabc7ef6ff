/* Preloaded into the real game to watch it start. ESPIA_SDL=FILE: a line per
 * call below, with the asset's path if any. ESPIA_SDL_FALLA=NAME: that call
 * fails, with the reason "fallo inyectado"; NAME:VARIABLE, only while the
 * environment variable VARIABLE is set. ESPIA_SDL_SIN_RAZON=1: a failed 2D
 * video mode leaves no reason, as sdl12-compat over SDL3 does;
 * ESPIA_SDL_CAIDA=1: it crashes, as SDL2 2.0.14 does on KMS/DRM. */

#define _GNU_SOURCE
#include <dlfcn.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <SDL.h>
#include <SDL_image.h>
#include <SDL_ttf.h>

#define REAL(nombre) ((__typeof__(&nombre))dlsym(RTLD_NEXT, #nombre))

static void Anota(const char* que, const char* detalle)
{
    const char* path = getenv("ESPIA_SDL");
    FILE* registro = path ? fopen(path, "a") : NULL;
    if (registro != NULL) {
        fprintf(registro, "%s %s\n", que, detalle);
        fclose(registro);
    }
}

static int Falla(const char* nombre)
{
    const char* falla = getenv("ESPIA_SDL_FALLA");
    const size_t largo = strlen(nombre);
    if (falla == NULL || strncmp(falla, nombre, largo) != 0 ||
        (falla[largo] != '\0' && (falla[largo] != ':' || getenv(falla + largo + 1) == NULL)))
        return 0;
    SDL_SetError("fallo inyectado");
    return 1;
}

#define ESPIA(tipo, nombre, detalle, fallo, parametros, argumentos) \
    tipo nombre parametros                                          \
    {                                                               \
        Anota(#nombre, detalle);                                    \
        return Falla(#nombre) ? fallo : REAL(nombre) argumentos;    \
    }
ESPIA(int, SDL_Init, "", -1, (Uint32 flags), (flags))
ESPIA(int, TTF_Init, "", -1, (void), ())
SDL_Surface* SDL_SetVideoMode(int w, int h, int bpp, Uint32 flags)
{
    Anota("SDL_SetVideoMode", flags & SDL_OPENGL ? "opengl" : "");
    if (!Falla("SDL_SetVideoMode"))
        return REAL(SDL_SetVideoMode)(w, h, bpp, flags);
    if (getenv("ESPIA_SDL_CAIDA"))
        raise(SIGSEGV);
    if (getenv("ESPIA_SDL_SIN_RAZON") && !(flags & SDL_OPENGL))
        SDL_SetError("%s", "");
    return NULL;
}
ESPIA(SDL_Surface*, SDL_DisplayFormat, "", NULL, (SDL_Surface * s), (s))
ESPIA(SDL_Surface*, IMG_Load, file, NULL, (const char* file), (file))
ESPIA(TTF_Font*, TTF_OpenFont, file, NULL, (const char* file, int ptsize), (file, ptsize))

/* SDL_Init starts its subsystems through this one too: only joysticks fail. */
int SDL_InitSubSystem(Uint32 flags)
{
    Anota("SDL_InitSubSystem", "");
    return (flags & SDL_INIT_JOYSTICK) && Falla("SDL_InitSubSystem") ? -1 : REAL(SDL_InitSubSystem)(flags);
}

#define CIERRE(nombre)          \
    void nombre(void)           \
    {                           \
        Anota(#nombre, "");     \
        REAL(nombre)();         \
    }
CIERRE(SDL_Quit)
CIERRE(TTF_Quit)
