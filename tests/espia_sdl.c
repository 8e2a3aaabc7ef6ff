/* Preloaded into the real game to watch it from outside. ESPIA_SDL=FILE: a
 * line per asset opened, frame flipped, sleep ended and library shut down,
 * each with CLOCK_REALTIME in ns. ESPIA_SDL_FALLA=NAME: that start-up call
 * fails, with the reason "fallo inyectado". */

#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>

#include <SDL.h>
#include <SDL_image.h>
#include <SDL_ttf.h>

#define REAL(nombre) ((__typeof__(&nombre))dlsym(RTLD_NEXT, #nombre))

static void Anota(const char* que, const char* detalle)
{
    const char* path = getenv("ESPIA_SDL");
    FILE* registro = path ? fopen(path, "a") : NULL;
    struct timespec ahora;
    clock_gettime(CLOCK_REALTIME, &ahora);
    if (registro != NULL) {
        fprintf(registro, "%s %s %lld\n", que, detalle, (long long)ahora.tv_sec * 1000000000LL + ahora.tv_nsec);
        fclose(registro);
    }
}

static int Falla(const char* nombre)
{
    const char* falla = getenv("ESPIA_SDL_FALLA");
    if (falla == NULL || strcmp(falla, nombre) != 0)
        return 0;
    SDL_SetError("fallo inyectado");
    return 1;
}

/* A start-up call that can be made to fail. */
#define FALLA(tipo, nombre, fallo, parametros, argumentos) \
    tipo nombre parametros                                 \
    {                                                      \
        return Falla(#nombre) ? fallo : REAL(nombre) argumentos; \
    }
FALLA(int, SDL_Init, -1, (Uint32 flags), (flags))
FALLA(int, TTF_Init, -1, (void), ())
FALLA(SDL_Surface*, SDL_SetVideoMode, NULL, (int w, int h, int bpp, Uint32 flags), (w, h, bpp, flags))
FALLA(SDL_Surface*, SDL_DisplayFormat, NULL, (SDL_Surface * s), (s))

SDL_Surface* IMG_Load(const char* file)
{
    Anota("IMG_Load", file);
    return REAL(IMG_Load)(file);
}

TTF_Font* TTF_OpenFont(const char* file, int ptsize)
{
    Anota("TTF_OpenFont", file);
    return REAL(TTF_OpenFont)(file, ptsize);
}

int SDL_Flip(SDL_Surface* screen)
{
    Anota("SDL_Flip", "");
    return REAL(SDL_Flip)(screen);
}

/* In play, where one pass ends and the next begins. */
int nanosleep(const struct timespec* pedido, struct timespec* resto)
{
    const int resultado = REAL(nanosleep)(pedido, resto);
    Anota("despierta", "");
    return resultado;
}

void SDL_Quit(void)
{
    Anota("SDL_Quit", "");
    REAL(SDL_Quit)();
}

void TTF_Quit(void)
{
    Anota("TTF_Quit", "");
    REAL(TTF_Quit)();
}
