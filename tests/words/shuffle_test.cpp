#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "platform/random.h"
#include "words/word_store.h"

namespace korvo {
namespace {

// Links blocks of 3-letter words by hand, one block per list, so that a
// chain of a few short blocks exercises every cross-block branch.
WordBlock* MakeChain(const std::vector<std::vector<const char*>>& blocks) {
    WordBlock* head = nullptr;
    WordBlock* tail = nullptr;
    for (const auto& words : blocks) {
        WordBlock* b = NewBlock(3);
        for (const char* w : words) EXPECT_EQ(AddWord(b, w, false), 1);
        (head == nullptr ? head : tail->next) = b;
        tail = b;
    }
    return head;
}

std::vector<std::vector<std::string>> Blocks(const WordBlock* head) {
    std::vector<std::vector<std::string>> out;
    for (const WordBlock* b = head; b != nullptr; b = b->next) {
        out.emplace_back();
        for (std::uint32_t i = 0; i < b->count; ++i) out.back().emplace_back(b->Record(i), b->length);
    }
    return out;
}

TEST(WordStoreShuffle, randomWord_drawsTheBlockThenTheRecord) {
    WordStore store;
    store.buckets[3] = MakeChain({{"BAA", "BAB", "BAC", "BAD", "BAE"}, {"CAA", "CAB"}, {"DAA", "DAB", "DAC"}});
    // Seed 1 draws 41, 18467, 6334, 26500, 19169, 15724 ...
    Random::Seed(1);
    // 41 % 5 = 1: on to block 2; 18467 % 5 = 2: on to block 3, the last, so
    // no further block draw; 6334 % 3 = 1.
    EXPECT_EQ(std::string(RandomWord(store.buckets[3])), "DAB");
    // 26500 % 5 = 0: stay in the head; 19169 % 5 = 4.
    EXPECT_EQ(std::string(RandomWord(store.buckets[3])), "BAE");
    EXPECT_EQ(Random::Next(), 15724);
    // A single block draws only the record: 15724 was taken above, 11478 % 3 = 0.
    EXPECT_EQ(std::string(RandomWord(store.buckets[3]->next->next)), "DAA");
    EXPECT_EQ(Random::Next(), 29358);
}

TEST(WordStoreShuffle, shuffleWords_drawsInTheFixedOrder) {
    // Four blocks of 5, 5, 5 and 3 words. Seed 11 draws
    //  74 27648 21136 4989 24011 22223 9834 85 28238 28519 4226 28585 15294
    //  18450 2507 10032 9031 32354 23134 11307 15474 5573 22978 4763 15250
    //  24665 1131 19633 21344 27138 2688 3718 23010 6585 15330 6668 13457
    //  32039 30057 1861 20410 29298 29553 23730 9509 9303 | 11669
    // Block 4 (3 words) has no round. Block 3 (next: block 4), i = 0..3:
    //  j = 1+74%4 = 3; 27648%5 = 3 so a partner: RandomWord(block 4) = 21136%3 = 1;
    //    4989%5 = 4: swap record i=0 with block4[1]
    //  j = 2+24011%3 = 4; 22223%5 = 3; block4[9834%3 = 0]; 85%5 = 0: swap j=4 with block4[0]
    //  j = 3+28238%2 = 3; 28519%5 = 4; block4[4226%3 = 2]; 28585%5 = 0: swap j=3 with block4[2]
    //  j = 4+15294%1 = 4; 18450%5 = 0: swap 3 and 4 within block 3
    // Block 2 (next: block 3), i = 0..3:
    //  j = 1+2507%4 = 4; 10032%5 = 2; RandomWord(block 3): 9031%5 = 1 on to block 4,
    //    record 32354%3 = 2; 23134%5 = 4: swap i=0 with block4[2]
    //  j = 2+11307%3 = 2; 15474%5 = 4; RandomWord: 5573%5 = 3 on, 22978%3 = 1; 4763%5 = 3: i=1 with block4[1]
    //  j = 3+15250%2 = 3; 24665%5 = 0: swap 2 and 3 within block 2
    //  j = 4+1131%1 = 4; 19633%5 = 3; RandomWord: 21344%5 = 4 on, 27138%3 = 0; 2688%5 = 3: i=3 with block4[0]
    // Head (next: block 2, which has a next), i = 0..3:
    //  j = 1+3718%4 = 3; 23010%5 = 0: swap 0 and 3 within the head
    //  j = 2+6585%3 = 2; 15330%5 = 0: swap 1 and 2 within the head
    //  j = 3+6668%2 = 3; 13457%5 = 2; 32039%5 = 4 so RandomWord(block 3): 30057%5 = 2 on,
    //    1861%3 = 1; 20410%5 = 0: swap j=3 with block4[1]
    //  j = 4+29298%1 = 4; 29553%5 = 3; 23730%5 = 0 so block2[9509%5 = 4]; 9303%5 = 3: i=3 with block2[4]
    WordStore store;
    store.buckets[3] = MakeChain({{"BAA", "BAB", "BAC", "BAD", "BAE"},
                                  {"CAA", "CAB", "CAC", "CAD", "CAE"},
                                  {"DAA", "DAB", "DAC", "DAD", "DAE"},
                                  {"EAA", "EAB", "EAC"}});
    MarkUsed(store.buckets[3], 1);  // BAA: its status byte travels with it
    store.SetCursor(3, 17);
    Random::Seed(11);
    store.ShuffleWords();
    EXPECT_EQ(Random::Next(), 11669);  // exactly 46 draws
    using Words = std::vector<std::vector<std::string>>;
    EXPECT_EQ(Blocks(store.buckets[3]), (Words{{"BAD", "BAC", "BAB", "CAE", "BAE"},
                                               {"DAD", "DAA", "CAD", "DAE", "CAB"},
                                               {"EAB", "DAB", "DAC", "EAA", "EAC"},
                                               {"CAC", "BAA", "CAA"}}));
    for (const WordBlock* b = store.buckets[3]; b != nullptr; b = b->next) {
        EXPECT_EQ(b->cursor, 0u);
        for (std::uint32_t i = 0; i < b->count; ++i)
            EXPECT_EQ(b->Record(i)[3], std::string(b->Record(i), 3) == "BAA" ? kWordInUse : kWordAvailable);
    }
    // The letter index followed the swaps.
    EXPECT_STREQ(store.FindWord("BAA", nullptr), nullptr);  // in use
    store.ResetCursors();
    int index = 0;
    EXPECT_STREQ(store.FindWord("CAA", &index), "CAA");
    EXPECT_EQ(index, 18);
}

TEST(WordStoreShuffle, shuffleWords_skipsSmallHeadsButStillResetsCursors) {
    // A head of fewer than 5 words has no round and draws nothing; one word
    // or none stops before the loop.
    for (int n : {0, 1, 2, 4}) {
        WordStore store;
        store.buckets[5] = NewBlock(5);
        for (int i = 0; i < n; ++i)
            AddWord(store.buckets[5], std::string(5, static_cast<char>('A' + i)).c_str(), false);
        store.buckets[5]->cursor = static_cast<std::uint32_t>(n);
        Random::Seed(1);
        store.ShuffleWords();
        EXPECT_EQ(Random::Next(), 41) << n;
        EXPECT_EQ(store.buckets[5]->cursor, 0u);
    }
}

TEST(WordStoreShuffle, shuffleWords_keepsEveryWordAndEveryCount) {
    WordStore store;
    Random::Seed(99);
    // Mixed lengths, several multi-block chains, duplicates and some words in use.
    std::multiset<std::string> before;
    std::map<int, std::vector<std::uint32_t>> counts;
    for (int n = 0; n < 16000; ++n) {
        const int length = 2 + n % 20;
        std::string w(static_cast<std::size_t>(length), 'A');
        for (char& c : w) c = static_cast<char>('A' + Random::Next() % 4);
        if (store.buckets[length] == nullptr) store.buckets[length] = NewBlock(length);
        ASSERT_EQ(AddWord(store.buckets[length], w.c_str(), false), 1);
    }
    for (int length = 2; length <= 21; ++length)
        for (int i = 1; i <= static_cast<int>(store.CountWords(length)); i += 7) MarkUsed(store.buckets[length], i);
    auto snapshot = [&](std::multiset<std::string>& words, std::map<int, std::vector<std::uint32_t>>& sizes) {
        for (int length = 1; length <= 21; ++length)
            for (const WordBlock* b = store.buckets[length]; b != nullptr; b = b->next) {
                sizes[length].push_back(b->count);
                for (std::uint32_t i = 0; i < b->count; ++i) words.emplace(b->Record(i), b->recordSize);
            }
    };
    snapshot(before, counts);
    ASSERT_GT(counts[21].size(), 1u);
    for (int round = 0; round < 3; ++round) {
        store.ShuffleWords();
        std::multiset<std::string> after;
        std::map<int, std::vector<std::uint32_t>> afterCounts;
        snapshot(after, afterCounts);
        EXPECT_EQ(after, before);  // letters and status bytes
        EXPECT_EQ(afterCounts, counts);
    }
}

}  // namespace
}  // namespace korvo
