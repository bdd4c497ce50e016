#include "platform/random.h"

#include <ctime>

namespace korvo {

namespace {
// The generator's state: the generator is the C library's rand(), one
// sequence per thread, so its state is a thread's global.
thread_local std::uint32_t state = 1;  // NOLINT(cppcoreguidelines-avoid-non-const-global-variables)
}  // namespace

void Random::Seed(std::uint32_t seed) { state = seed; }

void Random::SeedWithTime() { Seed(static_cast<std::uint32_t>(std::time(nullptr))); }

int Random::Next() {
    state = state * 214013u + 2531011u;
    return static_cast<int>((state >> 16) & 0x7FFFu);
}

std::uint32_t Random::State() { return state; }

}  // namespace korvo
