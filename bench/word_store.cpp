// FindNext over a list of about 100,000 words of mixed lengths.
//
// The list is the shipped data1.bin when the build has made it (or the file
// named by KORVO_BENCH_WORDS), otherwise one generated here from a fixed seed:
// lengths drawn from a dictionary-like distribution, letters from English
// letter frequencies. Each benchmark runs complete searches (cursor reset,
// then FindNext until the chain is exhausted) for patterns of one length with
// a given number of fixed letters, taken from words of the list so that they
// match something. Counters: ns per word examined and ns per match.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

#include "bench_words.h"
#include "platform/random.h"
#include "words/word_store.h"

namespace korvo {
namespace {

constexpr int kGeneratedWords = 100000;

using bench::DrawWeighted;
using bench::kWordLengthWeights;
using bench::RandomWord;

void GenerateList(WordStore& store) {
    Random::Seed(12345);
    static_assert(std::size(kWordLengthWeights) == kBucketCount);
    for (int added = 0; added < kGeneratedWords;) {
        const int length = DrawWeighted(kWordLengthWeights, kBucketCount);
        const std::string word = RandomWord(length, 'A');
        if (store.buckets[length] == nullptr) store.buckets[length] = NewBlock(length);
        added += AddWord(store.buckets[length], word.c_str(), false);
    }
}

// The store every benchmark searches, loaded once.
WordStore& Store() {
    static WordStore store;
    static bool ready = false;
    if (!ready) {
        std::string path = std::string(KORVO_BIN_DIR) + "/data1.bin";
        if (const char* chosen = std::getenv("KORVO_BENCH_WORDS")) path = chosen;
        int loaded = std::filesystem::exists(path) ? LoadWordList(store, path.c_str()) : 0;
        if (loaded > 0) {
            std::fprintf(stderr, "word list: %s (%d words)\n", path.c_str(), loaded);
        } else {
            GenerateList(store);
            std::fprintf(stderr, "word list: generated (%u words)\n", store.CountWords());
        }
        store.ShuffleWords();
        // A few words in use, as during a fill: every 50th word of each chain.
        for (int length = 1; length < kBucketCount; ++length)
            for (std::uint32_t i = 50; i <= store.CountWords(length); i += 50)
                MarkUsed(store.buckets[length], static_cast<int>(i));
        ready = true;
    }
    return store;
}

// Patterns of the given length keeping `fixed` letters of words of the list.
std::vector<std::string> MakePatterns(WordStore& store, int length, int fixed) {
    Random::Seed(777u + length * 10u + fixed);
    std::vector<std::string> patterns;
    const int words = static_cast<int>(store.CountWords(length));
    store.SetCursor(length, 0);
    for (int p = 0; p < 64; ++p) {
        const int target = 1 + (Random::Next() * 32768 + Random::Next()) % words;
        store.SetCursor(length, target - 1);
        int index = 0;
        const char* word = FindNext(store.buckets[length], std::string(length, '@').c_str(), &index);
        if (word == nullptr) word = FindNext(store.buckets[length], std::string(length, '@').c_str(), &index);
        std::string pattern(length, '@');
        for (int k = 0; k < fixed;) {
            const int at = Random::Next() % length;
            if (pattern[at] != '@') continue;
            pattern[at] = word[at];
            ++k;
        }
        patterns.push_back(pattern);
    }
    store.ResetCursors();
    return patterns;
}

void BM_FindNext(benchmark::State& state) {
    const int length = static_cast<int>(state.range(0));
    const int fixed = static_cast<int>(state.range(1));
    WordStore& store = Store();
    const std::vector<std::string> patterns = MakePatterns(store, length, fixed);
    WordBlock* head = store.buckets[length];
    const double chain = store.CountWords(length);
    double examined = 0;
    double matches = 0;
    std::size_t next = 0;
    for (auto _ : state) {
        const char* pattern = patterns[next++ % patterns.size()].c_str();
        store.SetCursor(length, 0);
        int index = 0;
        while (FindNext(head, pattern, &index) != nullptr) {
            matches += 1;
            index = 0;
        }
        examined += chain;
    }
    state.counters["words"] = chain;
    state.counters["per_word"] =
        benchmark::Counter(examined, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["per_match"] =
        benchmark::Counter(matches, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["matches"] = benchmark::Counter(matches, benchmark::Counter::kAvgIterations);
}

BENCHMARK(BM_FindNext)->ArgNames({"len", "fixed"})->ArgsProduct({{5, 7, 11}, {0, 1, 2, 3}});

}  // namespace
}  // namespace korvo

BENCHMARK_MAIN();
