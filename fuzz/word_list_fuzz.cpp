// The word list file reader over arbitrary bytes: the input is written as a
// word list file and loaded through LoadWordList. The store must then hold
// exactly the terminated words of 2 to 21 letters, in file order within each
// length, and loading the same file again into the filled store must give
// the same store.

#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "words/word_store.h"

namespace {

using korvo::fuzz::Check;

// The words a correct reader keeps, grouped by length in file order.
std::vector<std::vector<std::string>> Expected(std::string_view bytes) {
    std::vector<std::vector<std::string>> byLength(korvo::kBucketCount);
    std::string word;
    for (char b : bytes) {
        const char c = static_cast<char>(static_cast<unsigned char>(b) ^ korvo::kWordListKey);
        if (c != 0) {
            word.push_back(c);
            continue;
        }
        if (word.size() >= 2 && word.size() <= static_cast<std::size_t>(korvo::kMaxWordLength))
            byLength[word.size()].push_back(word);
        word.clear();
    }
    return byLength;  // a trailing fragment without terminator is not a word
}

void CheckStore(const korvo::WordStore& store, const std::vector<std::vector<std::string>>& expected, int added) {
    Check(store.failed == 0, "the store did not fail");
    std::size_t total = 0;
    for (int length = 0; length < korvo::kBucketCount; ++length) {
        const std::vector<std::string>& words = expected[length];
        total += words.size();
        std::size_t at = 0;
        for (const korvo::WordBlock* b = store.buckets[length]; b != nullptr; b = b->next) {
            Check(b->length == static_cast<std::uint32_t>(length), "a block holds words of its bucket's length");
            Check(b->count <= b->capacity, "a block holds no more words than it can");
            for (std::uint32_t i = 0; i < b->count; ++i, ++at) {
                Check(at < words.size(), "no word beyond those of the file");
                Check(std::string(b->Record(i), b->length) == words[at], "the words in file order");
                Check(b->Record(i)[length] == korvo::kWordAvailable, "a loaded word is available");
            }
        }
        Check(at == words.size(), "every word of the file is stored");
        Check(store.CountWords(length) == words.size(), "the count of one length");
        if (words.empty()) Check(store.buckets[length] == nullptr, "no chain for a length without words");
    }
    Check(static_cast<std::size_t>(added) == total, "the result counts the words added");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = korvo::fuzz::AsText(data, size);
    const std::filesystem::path path = korvo::fuzz::ScratchFolder() / "data1.bin";
    korvo::fuzz::WriteFile(path, bytes);
    const auto expected = Expected(bytes);

    korvo::WordStore store;
    const int first = korvo::LoadWordList(store, path.c_str());
    CheckStore(store, expected, first);
    const int second = korvo::LoadWordList(store, path.c_str());
    CheckStore(store, expected, second);
    return 0;
}
