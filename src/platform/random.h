#pragma once

#include <cstdint>

namespace korvo {

// The program's only source of randomness: a linear congruential generator
// with the constants and the 15-bit range of the classic C library rand().
// Its state is per thread and every thread starts at state 1, so a thread
// that never seeds draws the same sequence every time (the fill worker relies
// on this; the window thread seeds from the clock).
class Random {
public:
    static constexpr int kMax = 0x7FFF;

    // Sets the calling thread's state (srand).
    static void Seed(std::uint32_t seed);
    // Seeds the calling thread's state with the current time in seconds.
    static void SeedWithTime();
    // Next value 0..32767 of the calling thread's sequence (rand).
    static int Next();
    // The calling thread's raw state, for tests.
    static std::uint32_t State();
};

}  // namespace korvo
