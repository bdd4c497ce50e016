#include "bench_words.h"

#include "platform/random.h"

namespace korvo::bench {

int DrawWeighted(const int* weights, int n) {
    int total = 0;
    for (int i = 0; i < n; ++i) total += weights[i];
    // Two draws give 30 bits, enough to resolve the small weights.
    int r = ((Random::Next() << 15) | Random::Next()) % total;
    for (int i = 0; i < n; ++i) {
        if (r < weights[i]) return i;
        r -= weights[i];
    }
    return n - 1;
}

std::string RandomWord(int length, char base) {
    std::string word;
    for (int i = 0; i < length; ++i) word.push_back(static_cast<char>(base + DrawWeighted(kLetterWeights, 26)));
    return word;
}

}  // namespace korvo::bench
