#include "timer.h"

static Uint32 (*reloj_ticks)() = SDL_GetTicks;
static void (*reloj_espera)(Uint32) = SDL_Delay;

void Timer::UsaReloj(Uint32 (*ticks)(), void (*espera)(Uint32 ms))
{
    reloj_ticks = ticks ? ticks : SDL_GetTicks;
    reloj_espera = espera ? espera : SDL_Delay;
}

Uint32 Timer::Ticks()
{
    return reloj_ticks();
}

void Timer::Espera(Uint32 ms)
{
    reloj_espera(ms);
}

Timer::Timer() : ticks_ini(static_cast<int>(Ticks())), ticks_fin(ticks_ini) {}

void Timer::ResetTime()
{
    ticks_ini = static_cast<int>(Ticks());
}

int Timer::GetCurrentTime()
{
    ticks_fin = static_cast<int>(Ticks());
    // Subtract as unsigned so the counter's wrap after 49.7 days cancels out.
    return static_cast<int>(static_cast<Uint32>(ticks_fin) - static_cast<Uint32>(ticks_ini));
}
