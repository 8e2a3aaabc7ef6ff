/* An Xbox-style pad for sdl12-compat, which shows SDL2's virtual joysticks
 * as SDL 1.2 joysticks. Preloaded with MANDO_VIRTUAL=FIFO, it attaches a
 * tilted accelerometer and the pad before the game starts SDL, then applies
 * each line written to FIFO to the pad: "eje N VALUE", "cruceta N VALUE"
 * (SDL's hat bits) or "boton N 0|1", numbered as Linux numbers such a pad.
 * The pad is a plain joystick, so that the mapping in SDL_GAMECONTROLLERCONFIG
 * (GUID ff0000005669727475616c204a007600) is the one SDL2 uses, as on a
 * handheld. It calls SDL2's own functions: sdl12-compat exports SDL 1.2's
 * under the same names. */

#define _GNU_SOURCE
#include <dlfcn.h>
#include <pthread.h>
#include <stdio.h>
#include <stdio_ext.h>
#include <stdlib.h>
#include <string.h>

typedef struct SDL_Joystick SDL_Joystick;
static void* sdl2;
static SDL_Joystick* mando;
static SDL_Joystick* inclinado;

#define SDL2(nombre, resultado, ...) ((resultado(*)(__VA_ARGS__))dlsym(sdl2, "SDL_" #nombre))

static void* Sigue(void* fifo)
{
    FILE* ordenes = fopen(fifo, "r");
    /* Unlocked: exit flushes every stream under its lock (glibc 2.41 on),
     * and this one's would be held by the read that waits here forever. */
    if (ordenes != NULL)
        __fsetlocking(ordenes, FSETLOCKING_BYCALLER);
    char que[16];
    int numero, valor;
    for (short temblor = 0; ordenes != NULL && fscanf(ordenes, "%15s %d %d", que, &numero, &valor) == 3; temblor ^= 1) {
        /* The accelerometer trembles, tilted left, with every order. */
        SDL2(JoystickSetVirtualAxis, int, SDL_Joystick*, int, short)(inclinado, 0, (short)(-32768 + temblor));
        if (strcmp(que, "eje") == 0)
            SDL2(JoystickSetVirtualAxis, int, SDL_Joystick*, int, short)(mando, numero, (short)valor);
        else if (strcmp(que, "cruceta") == 0)
            SDL2(JoystickSetVirtualHat, int, SDL_Joystick*, int, unsigned char)(mando, numero, (unsigned char)valor);
        else
            SDL2(JoystickSetVirtualButton, int, SDL_Joystick*, int, unsigned char)(mando, numero, (unsigned char)valor);
    }
    return NULL;
}

__attribute__((constructor)) static void Conecta(void)
{
    char* fifo = getenv("MANDO_VIRTUAL");
    if (fifo == NULL)
        return;
    if ((sdl2 = dlopen("libSDL2-2.0.so.0", RTLD_NOW)) == NULL) {
        fprintf(stderr, "no virtual pad: %s\n", dlerror());
        return;
    }
    /* Xvfb has no window manager, so SDL2 never sees the window focused. */
    SDL2(SetHint, int, const char*, const char*)("SDL_JOYSTICK_ALLOW_BACKGROUND_EVENTS", "1");
    SDL2(InitSubSystem, int, unsigned)(0x200 /* SDL_INIT_JOYSTICK */);
    /* First an accelerometer: three axes and no button, no pad, and no mapping. */
    inclinado = SDL2(JoystickOpen, SDL_Joystick*, int)(SDL2(JoystickAttachVirtual, int, int, int, int, int)(4, 3, 0, 0));
    /* An Xbox pad's 6 axes, 11 buttons and a hat. */
    mando = SDL2(JoystickOpen, SDL_Joystick*, int)(SDL2(JoystickAttachVirtual, int, int, int, int, int)(0, 6, 11, 1));
    pthread_t hilo;
    if (mando == NULL || pthread_create(&hilo, NULL, Sigue, fifo) != 0)
        fprintf(stderr, "no virtual pad: %s\n", SDL2(GetError, const char*, void)());
}
