#pragma once

// The bytes of a word list file as the program ships it: every letter XOR
// the key byte, each word ended by the key byte.

#include <string>
#include <vector>

#include "words/word_store.h"

namespace korvo::testsupport {

inline std::string EncodeWordList(const std::vector<std::string>& words) {
    std::string bytes;
    for (const std::string& word : words) {
        for (char c : word) bytes += static_cast<char>(static_cast<unsigned char>(c) ^ kWordListKey);
        bytes += static_cast<char>(kWordListKey);
    }
    return bytes;
}

}  // namespace korvo::testsupport
