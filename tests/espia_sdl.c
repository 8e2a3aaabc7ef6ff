/* Preloaded into the real game (LD_PRELOAD) to watch it from outside:
 * ESPIA_SDL=FILE        appends a line per asset opened, per frame presented
 *                       and per sleep ended (with CLOCK_REALTIME in ns), and
 *                       per library shutdown;
 * ESPIA_SDL_FALLA=NAME  makes that SDL call fail, with the reason
 *                       "fallo inyectado", to reach failure paths that a
 *                       healthy machine never takes. */

#define _GNU_SOURCE
#include <dlfcn.h>
#include <fcntl.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <unistd.h>

#include <SDL.h>
#include <SDL_image.h>
#include <SDL_ttf.h>

static void Anota(const char* formato, ...)
{
    const char* path = getenv("ESPIA_SDL");
    if (path == NULL)
        return;
    char linea[512];
    va_list args;
    va_start(args, formato);
    int n = vsnprintf(linea, sizeof linea - 1, formato, args);
    va_end(args);
    if (n < 0)
        return;
    if (n > (int)sizeof linea - 2)
        n = (int)sizeof linea - 2;
    linea[n++] = '\n';
    int fd = open(path, O_WRONLY | O_CREAT | O_APPEND, 0644);
    if (fd >= 0) {
        if (write(fd, linea, (size_t)n) < 0) { /* nothing to do about it */ }
        close(fd);
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

#define REAL(nombre) ((__typeof__(&nombre))dlsym(RTLD_NEXT, #nombre))

int SDL_Init(Uint32 flags)
{
    return Falla("SDL_Init") ? -1 : REAL(SDL_Init)(flags);
}

int TTF_Init(void)
{
    return Falla("TTF_Init") ? -1 : REAL(TTF_Init)();
}

SDL_Surface* SDL_SetVideoMode(int width, int height, int bpp, Uint32 flags)
{
    return Falla("SDL_SetVideoMode") ? NULL : REAL(SDL_SetVideoMode)(width, height, bpp, flags);
}

SDL_Surface* SDL_DisplayFormat(SDL_Surface* surface)
{
    return Falla("SDL_DisplayFormat") ? NULL : REAL(SDL_DisplayFormat)(surface);
}

SDL_Surface* IMG_Load(const char* file)
{
    Anota("IMG_Load %s", file);
    return REAL(IMG_Load)(file);
}

TTF_Font* TTF_OpenFont(const char* file, int ptsize)
{
    Anota("TTF_OpenFont %s", file);
    return REAL(TTF_OpenFont)(file, ptsize);
}

static long long Ahora(void)
{
    struct timespec ahora;
    clock_gettime(CLOCK_REALTIME, &ahora);
    return (long long)ahora.tv_sec * 1000000000LL + ahora.tv_nsec;
}

int SDL_Flip(SDL_Surface* screen)
{
    Anota("SDL_Flip %lld", Ahora());
    return REAL(SDL_Flip)(screen);
}

/* The end of every sleep: in play, where one pass ends and the next begins. */
int nanosleep(const struct timespec* pedido, struct timespec* resto)
{
    const int resultado = REAL(nanosleep)(pedido, resto);
    Anota("despierta %lld", Ahora());
    return resultado;
}

void SDL_Quit(void)
{
    Anota("SDL_Quit");
    REAL(SDL_Quit)();
}

void TTF_Quit(void)
{
    Anota("TTF_Quit");
    REAL(TTF_Quit)();
}
