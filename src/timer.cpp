#include "timer.h"

#include <algorithm>
#include <cerrno>
#include <ctime>

static Uint64 MicrosReales()
{
    timespec ahora;
    clock_gettime(CLOCK_MONOTONIC, &ahora);
    return static_cast<Uint64>(ahora.tv_sec) * 1000000 + static_cast<Uint64>(ahora.tv_nsec) / 1000;
}

static void DuermeReal(Uint64 us, Uint64)
{
    timespec pendiente = {static_cast<time_t>(us / 1000000), static_cast<long>(us % 1000000) * 1000};
    while (nanosleep(&pendiente, &pendiente) != 0 && errno == EINTR) {
    }
}

static Uint32 (*reloj_ticks)() = SDL_GetTicks;
static Uint64 (*reloj_micros)() = MicrosReales;
static void (*reloj_duerme)(Uint64, Uint64) = DuermeReal;

void Timer::UsaReloj(Uint32 (*ticks)(), Uint64 (*micros)(), void (*duerme)(Uint64 us, Uint64 tranquilo_us))
{
    reloj_ticks = ticks ? ticks : SDL_GetTicks;
    reloj_micros = micros ? micros : MicrosReales;
    reloj_duerme = duerme ? duerme : DuermeReal;
}

Uint32 Timer::Ticks()
{
    return reloj_ticks();
}

Uint64 Timer::Micros()
{
    return reloj_micros();
}

void Timer::Duerme(Uint64 us, Uint64 tranquilo_us)
{
    reloj_duerme(us, tranquilo_us);
}

Timer::Timer() : ticks_ini(static_cast<int>(Ticks())), ticks_fin(ticks_ini), micros_ini(Micros()) {}

void Timer::ResetTime()
{
    ticks_ini = static_cast<int>(Ticks());
    micros_ini = Micros();
}

int Timer::GetCurrentTime()
{
    ticks_fin = static_cast<int>(Ticks());
    // Subtract as unsigned so the counter's wrap after 49.7 days cancels out.
    return static_cast<int>(static_cast<Uint32>(ticks_fin) - static_cast<Uint32>(ticks_ini));
}

void Timer::EsperaHasta(int ms, int tranquilo_ms)
{
    const Uint64 fin = micros_ini + static_cast<Uint64>(ms) * 1000;
    const Uint64 tranquilo = micros_ini + static_cast<Uint64>(std::max(ms, tranquilo_ms)) * 1000;
    const Uint64 ahora = Micros();
    if (ahora < fin)
        Duerme(fin - ahora, tranquilo - ahora);
}
