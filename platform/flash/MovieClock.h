// Movie time for the stand-in controls: milliseconds that run at a rate while
// the movie plays, read from the platform clock's GetTickCount, so a movie
// runs on while nobody calls its control. The tick counter may wrap; each
// reading adds only the ticks since the last one.
#pragma once

#include <cstdint>

namespace Platform {

class MovieClock {
public:
    void Start();
    // Movie time holds from here until the next Start.
    void Stop();
    bool IsRunning() const { return mRunning; }
    // Movie time now, in milliseconds since the movie started.
    double Now();
    // The time already run keeps its rate; the new one counts from now.
    void SetRate(double rate);
    double GetRate() const { return mRate; }
    // Back to time 0, stopped, at rate 1.
    void Reset();

private:
    void Catch();

    bool mRunning = false;
    uint32_t mLastTick = 0;
    double mTime = 0;
    double mRate = 1;
};

} // namespace Platform
