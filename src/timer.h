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
    // one, as the origin can fall anywhere within its millisecond. Nothing
    // changes until tranquilo_ms without input; see Duerme.
    void EsperaHasta(int ms, int tranquilo_ms = 0);

    // The clocks under every Timer: SDL's milliseconds, and a microsecond
    // clock with its sleep for exact waits. Tests install simulated ones, a
    // front end its own sleep; nulls put the real ones back.
    static void UsaReloj(Uint32 (*ticks)(), Uint64 (*micros)(), void (*duerme)(Uint64 us, Uint64 tranquilo_us));
    static Uint32 Ticks();
    static Uint64 Micros();
    // Sleeps us microseconds. Until tranquilo_us nothing would change
    // without input, so a sleep that can see input coming (the web page's)
    // may go on that long, and end when input comes. The others ignore it.
    static void Duerme(Uint64 us, Uint64 tranquilo_us = 0);
    // A tranquilo_us that only input ends.
    static constexpr Uint64 SIN_LIMITE = ~Uint64{0};

private:
    int ticks_ini;
    int ticks_fin;
    Uint64 micros_ini;
};

#endif
