#pragma once
// Random words over a small alphabet, for word lists that keep a search busy.

#include <string>
#include <vector>

#include "platform/random.h"

namespace korvo::testing {

inline std::vector<std::string> RandomWords(int count, int length, int alphabet, unsigned seed) {
    Random::Seed(seed);
    std::vector<std::string> words;
    for (int i = 0; i < count; ++i) {
        std::string w;
        for (int k = 0; k < length; ++k) w += static_cast<char>('A' + Random::Next() % alphabet);
        words.push_back(w);
    }
    return words;
}

}  // namespace korvo::testing
