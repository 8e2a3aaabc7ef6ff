#ifndef TIMER_H
#define TIMER_H

#include <SDL.h>

// A millisecond stopwatch. It always runs; reading it does not restart it.
class Timer {
public:
    Timer();
    // Restarts the stopwatch from now.
    void ResetTime();
    // Milliseconds since construction or the last ResetTime. Correct across
    // the wrap of the 32-bit tick counter; spans of 2^31 ms or more read negative.
    int GetCurrentTime();
    // Sleeps until ms milliseconds after the origin, to the microsecond.
    // Whole milliseconds of GetCurrentTime would cut the wait short by up to
    // one, as the origin can fall anywhere within its millisecond.
    void EsperaHasta(int ms);

    // The clocks under every Timer: SDL's milliseconds, and a microsecond
    // clock with its sleep for exact waits. Tests install simulated ones;
    // nulls put the real ones back.
    static void UsaReloj(Uint32 (*ticks)(), Uint64 (*micros)(), void (*duerme)(Uint64 us));
    static Uint32 Ticks();
    static Uint64 Micros();
    static void Duerme(Uint64 us);

private:
    int ticks_ini;
    int ticks_fin;
    Uint64 micros_ini;
};

#endif
