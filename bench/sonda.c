/* Preloaded into the real game by medir.sh: appends to the file SONDA a line
 * per flip and per end of a sleep (in play, where one pass ends and the next
 * begins), each with CLOCK_REALTIME in ns. It binds lazily: medir.sh preloads
 * it into the shell that execs the game, where there is no SDL. */

#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>

#include <SDL.h>

#define REAL(nombre) ((__typeof__(&nombre))dlsym(RTLD_NEXT, #nombre))

static void Anota(const char* que)
{
    const char* path = getenv("SONDA");
    FILE* registro = path ? fopen(path, "a") : NULL;
    struct timespec ahora;
    clock_gettime(CLOCK_REALTIME, &ahora);
    if (registro != NULL) {
        fprintf(registro, "%s %lld\n", que, (long long)ahora.tv_sec * 1000000000LL + ahora.tv_nsec);
        fclose(registro);
    }
}

int SDL_Flip(SDL_Surface* s)
{
    Anota("SDL_Flip");
    return REAL(SDL_Flip)(s);
}

int nanosleep(const struct timespec* pedido, struct timespec* resto)
{
    const int resultado = REAL(nanosleep)(pedido, resto);
    Anota("despierta");
    return resultado;
}
