// FindNext answers, cursors and indexes against a plain record-by-record scan
// written here, on random chains, patterns, cursor positions and status
// bytes, while words are added, removed, marked and shuffled in between.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/random.h"
#include "words/word_store.h"

namespace korvo {
namespace {

struct Answer {
    const char* word = nullptr;          // the record found, or null
    int index = 0;                       // what FindNext adds to the index out
    std::vector<std::uint32_t> cursors;  // every block's cursor afterwards
};

// The search as a plain scan: from each block's cursor, every record is
// examined in turn; it matches when its status byte is 0 and it has the
// pattern's character wherever the pattern has no '@'. The cursors are
// taken from (and stepped in) a copy.
Answer ReferenceScan(const WordBlock* head, const std::string& pattern) {
    Answer a;
    for (const WordBlock* b = head; b != nullptr; b = b->next) a.cursors.push_back(b->cursor);
    std::size_t n = 0;
    for (const WordBlock* b = head; b != nullptr; b = b->next, ++n) {
        std::uint32_t& cursor = a.cursors[n];
        while (cursor < b->count) {
            const char* record = b->Record(cursor);
            ++cursor;
            bool match = record[b->length] == 0;
            for (std::uint32_t k = 0; match && k < b->length; ++k) {
                // A position past the end of a short pattern holds its terminator.
                const char p = k < pattern.size() ? pattern[k] : 0;
                if (p != '@' && p != record[k]) match = false;
            }
            if (match) {
                a.word = record;
                a.index += static_cast<int>(cursor);
                return a;
            }
        }
        a.index += static_cast<int>(b->count);
    }
    return a;
}

Answer Actual(WordBlock* head, const std::string& pattern) {
    Answer a;
    a.word = FindNext(head, pattern.c_str(), &a.index);
    for (const WordBlock* b = head; b != nullptr; b = b->next) a.cursors.push_back(b->cursor);
    return a;
}

int Uniform(int n) { return static_cast<int>(((static_cast<unsigned>(Random::Next()) << 15) | Random::Next()) % n); }

// Mostly a few letters, so that patterns match often; sometimes a rare
// letter or a character that is no letter at all.
char RandomChar() {
    const int r = Uniform(100);
    if (r < 90) return static_cast<char>('A' + r % 4);
    if (r < 96) return 'Z';
    return "a?@\xC9"[r % 4];
}

std::string RandomWordOf(int length) {
    std::string w(static_cast<std::size_t>(length), 'A');
    for (char& c : w) c = RandomChar();
    return w;
}

std::string RandomPattern(int length) {
    const int openPercent = 20 + Uniform(81);
    std::string p(static_cast<std::size_t>(length), '@');
    for (char& c : p)
        if (Uniform(100) >= openPercent) c = RandomChar() == '@' ? 'B' : RandomChar();
    if (Uniform(50) == 0) p.resize(static_cast<std::size_t>(Uniform(length)));  // too short
    return p;
}

void RandomStatus(WordStore& store, int length) {
    for (WordBlock* b = store.buckets[length]; b != nullptr; b = b->next)
        for (std::uint32_t i = 0; i < b->count; ++i) {
            const int r = Uniform(100);
            b->Record(i)[length] = static_cast<char>(r < 70 ? 0 : r < 95 ? 1 : 2);
        }
}

void RandomCursors(WordStore& store, int length) {
    const int words = static_cast<int>(store.CountWords(length));
    if (Uniform(2) == 0) {
        store.SetCursor(length, Uniform(words + 6));
    } else {
        for (WordBlock* b = store.buckets[length]; b != nullptr; b = b->next)
            b->cursor = static_cast<std::uint32_t>(Uniform(static_cast<int>(b->count) + 1));
    }
}

TEST(FindNextReference, randomChainsAndPatterns_matchThePlainScan) {
    Random::Seed(2024);
    const int lengths[] = {2, 3, 5, 7, 11, 21};
    int calls = 0;
    int matches = 0;
    for (int trial = 0; trial < 120; ++trial) {
        const int length = lengths[trial % 6];
        const int capacity = kBlockBytes / (length + 1);
        WordStore store;
        store.buckets[length] = NewBlock(length);
        const int words = 1 + Uniform(capacity * 3 + capacity / 2);
        for (int i = 0; i < words; ++i)
            ASSERT_EQ(AddWord(store.buckets[length], RandomWordOf(length).c_str(), false), 1);
        RandomStatus(store, length);
        for (int round = 0; round < 25; ++round) {
            // Change the chain between searches so the index must follow.
            switch (Uniform(6)) {
                case 0: {
                    // Remove a word that is present (and may be in use) or one that is not.
                    const int at = 1 + Uniform(static_cast<int>(store.CountWords(length)) + 1);
                    std::string w = RandomWordOf(length);
                    int index = 0;
                    store.SetCursor(length, at - 1);
                    if (const char* r = FindNext(store.buckets[length], std::string(length, '@').c_str(), &index))
                        w.assign(r, static_cast<std::size_t>(length));
                    RemoveWord(store.buckets[length], w.c_str());
                    break;
                }
                case 1:
                    for (int k = Uniform(200); k > 0; --k)
                        AddWord(store.buckets[length], RandomWordOf(length).c_str(), false);
                    break;
                case 2: store.ShuffleWords(); break;
                case 3: RandomStatus(store, length); break;
                default: break;
            }
            for (int k = Uniform(6); k > 0; --k) {
                const int i = 1 + Uniform(static_cast<int>(store.CountWords(length)) + 2);
                Uniform(2) ? MarkUsed(store.buckets[length], i) : ReleaseWord(store.buckets[length], i);
            }
            RandomCursors(store, length);
            const std::string pattern = RandomPattern(length);
            for (int call = 0; call < 4; ++call) {
                const Answer expected = ReferenceScan(store.buckets[length], pattern);
                const Answer actual = Actual(store.buckets[length], pattern);
                ASSERT_EQ(actual.word, expected.word) << "trial " << trial << " pattern " << pattern;
                ASSERT_EQ(actual.index, expected.index) << "trial " << trial << " pattern " << pattern;
                ASSERT_EQ(actual.cursors, expected.cursors) << "trial " << trial << " pattern " << pattern;
                ++calls;
                if (expected.word == nullptr) break;
                ++matches;
            }
        }
    }
    // The cases must include both outcomes in quantity.
    EXPECT_GT(calls, 5000);
    EXPECT_GT(matches, 1000);
    EXPECT_GT(calls - matches, 1000);
}

}  // namespace
}  // namespace korvo
