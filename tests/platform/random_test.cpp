#include "platform/random.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace korvo {
namespace {

TEST(Random, seededWithOne_givesTheClassicSequence) {
    Random::Seed(1);
    const std::vector<int> expected{41, 18467, 6334, 26500, 19169};
    for (int value : expected) EXPECT_EQ(Random::Next(), value);
}

TEST(Random, valuesStayInFifteenBits) {
    Random::Seed(0xDEADBEEF);
    for (int i = 0; i < 100000; ++i) {
        int v = Random::Next();
        ASSERT_GE(v, 0);
        ASSERT_LE(v, Random::kMax);
    }
}

TEST(Random, newThread_startsAtStateOneWhateverTheMainThreadDid) {
    Random::Seed(12345);
    for (int i = 0; i < 17; ++i) Random::Next();
    std::uint32_t mainState = Random::State();

    std::vector<int> seen;
    std::uint32_t threadStart = 0;
    std::thread worker([&] {
        threadStart = Random::State();
        for (int i = 0; i < 5; ++i) seen.push_back(Random::Next());
    });
    worker.join();

    EXPECT_EQ(threadStart, 1u);
    EXPECT_EQ(seen, (std::vector<int>{41, 18467, 6334, 26500, 19169}));
    EXPECT_EQ(Random::State(), mainState) << "the worker's draws must not move the main thread's state";
}

}  // namespace
}  // namespace korvo
