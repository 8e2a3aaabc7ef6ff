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

    // The clock that every Timer and the frame pacing use: SDL's by default.
    // Tests install a simulated one; passing nulls puts SDL's back.
    static void UsaReloj(Uint32 (*ticks)(), void (*espera)(Uint32 ms));
    static Uint32 Ticks();
    static void Espera(Uint32 ms);

private:
    int ticks_ini;
    int ticks_fin;
};

#endif
