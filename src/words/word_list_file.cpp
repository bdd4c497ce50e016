#include <cstdio>
#include <cstring>

#include "words/word_store.h"

namespace korvo {

int LoadWordList(WordStore& store, const char* path) {
    if (path == nullptr) return 0;
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr) return 0;
    store.ClearStore();

    int added = 0;
    unsigned char buffer[1 << 16];
    std::size_t have = 0;
    std::size_t at = 0;
    bool streamFailed = false;
    char word[kMaxWordLength + 1];

    while (!streamFailed && store.failed == 0) {
        // Read one word up to its terminator; letters past 21 are consumed, not kept.
        std::size_t length = 0;
        bool terminated = false;
        while (true) {
            if (at == have) {
                have = std::fread(buffer, 1, sizeof buffer, file);
                at = 0;
                if (have == 0) {
                    streamFailed = true;
                    break;
                }
            }
            const unsigned char c = buffer[at++] ^ kWordListKey;
            if (c == 0) {
                terminated = true;
                break;
            }
            if (length < static_cast<std::size_t>(kMaxWordLength)) word[length] = static_cast<char>(c);
            ++length;
        }
        if (!terminated) break;  // a trailing fragment without terminator is dropped
        if (length < 2 || length > static_cast<std::size_t>(kMaxWordLength)) continue;
        word[length] = 0;

        WordBlock*& head = store.buckets[length];
        if (head == nullptr) {
            head = NewBlock(static_cast<std::uint32_t>(length));
            if (head == nullptr) {
                store.failed = 1;
                break;
            }
        }
        if (AddWord(head, word, false) == 1) ++added;
    }
    std::fclose(file);
    return added;
}

}  // namespace korvo
