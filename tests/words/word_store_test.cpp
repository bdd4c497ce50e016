#include "words/word_store.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace korvo {
namespace {

void AddAll(WordStore& store, std::initializer_list<const char*> words) {
    for (const char* w : words) {
        int length = static_cast<int>(std::string(w).size());
        if (store.buckets[length] == nullptr) store.buckets[length] = NewBlock(length);
        ASSERT_EQ(AddWord(store.buckets[length], w, false), 1) << w;
    }
}

// A word of the given length made from a number, distinct for every n.
std::string NumberedWord(int n, int length) {
    std::string w(length, 'A');
    for (int k = length - 1; k >= 0 && n > 0; --k, n /= 26) w[k] = static_cast<char>('A' + n % 26);
    return w;
}

// Fills the chain of one length with n numbered words (word i has index i + 1).
void AddNumbered(WordStore& store, int length, int n) {
    if (store.buckets[length] == nullptr) store.buckets[length] = NewBlock(length);
    for (int i = 0; i < n; ++i) ASSERT_EQ(AddWord(store.buckets[length], NumberedWord(i, length).c_str(), false), 1);
}

std::vector<std::uint32_t> BlockCounts(const WordStore& store, int length) {
    std::vector<std::uint32_t> counts;
    for (const WordBlock* b = store.buckets[length]; b != nullptr; b = b->next) counts.push_back(b->count);
    return counts;
}

std::vector<std::string> ChainWords(const WordStore& store, int length) {
    std::vector<std::string> words;
    for (const WordBlock* b = store.buckets[length]; b != nullptr; b = b->next)
        for (std::uint32_t i = 0; i < b->count; ++i) words.emplace_back(b->Record(i), b->length);
    return words;
}

TEST(WordStore, initBlock_layoutFollowsTheWordLength) {
    struct Case {
        std::uint32_t length, capacity;
    };
    for (const Case c : {Case{1, 4096}, Case{2, 2730}, Case{7, 1024}, Case{10, 744}, Case{21, 372}}) {
        WordBlock* b = NewBlock(c.length);
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(b->capacity, c.capacity) << c.length;
        EXPECT_EQ(b->recordSize, c.length + 1);
        EXPECT_EQ(b->count, 0u);
        EXPECT_EQ(b->cursor, 0u);
        EXPECT_EQ(b->failed, 0);
        EXPECT_EQ(b->next, nullptr);
        EXPECT_LE(b->capacity * b->recordSize, static_cast<std::uint32_t>(kBlockBytes));
        FreeBlock(b);
    }
    EXPECT_EQ(NewBlock(22), nullptr);
}

TEST(WordStore, addWord_writesLettersThenAnAvailableStatusByte) {
    WordStore store;
    AddAll(store, {"CAT", "DOG"});
    const WordBlock* b = store.buckets[3];
    EXPECT_EQ(std::string(b->data, 8), std::string("CAT\0DOG\0", 8));
    EXPECT_EQ(AddWord(store.buckets[3], "CATS", false), 0);  // another length
    EXPECT_EQ(AddWord(store.buckets[3], "CAT", true), 0);    // duplicate refused when checked
    EXPECT_EQ(AddWord(store.buckets[3], "CAT", false), 1);   // and kept when not
    EXPECT_EQ(store.CountWords(3), 3u);
}

TEST(WordStore, the1025thSevenLetterWord_opensASecondBlock) {
    WordStore store;
    AddNumbered(store, 7, 1024);
    EXPECT_EQ(BlockCounts(store, 7), (std::vector<std::uint32_t>{1024}));
    ASSERT_EQ(AddWord(store.buckets[7], "ZZZZZZZ", false), 1);
    EXPECT_EQ(BlockCounts(store, 7), (std::vector<std::uint32_t>{1024, 1}));
    const WordBlock* second = store.buckets[7]->next;
    EXPECT_EQ(second->length, 7u);
    EXPECT_EQ(std::string(second->Record(0)), "ZZZZZZZ");

    // It is word 1025 of the chain.
    int index = 0;
    EXPECT_STREQ(store.FindWord("ZZZZZZZ", &index), "ZZZZZZZ");
    EXPECT_EQ(index, 1025);
    MarkUsed(store.buckets[7], 1025);
    EXPECT_EQ(second->Record(0)[7], kWordInUse);
    ReleaseWord(store.buckets[7], 1025);
    EXPECT_EQ(second->Record(0)[7], kWordAvailable);
}

TEST(WordStore, findNext_allOpenPattern_walksTheChainInOrder) {
    WordStore store;
    AddAll(store, {"CAT", "DOG", "EEL"});
    int index = 0;
    EXPECT_STREQ(FindNext(store.buckets[3], "@@@", &index), "CAT");
    EXPECT_EQ(index, 1);
    index = 0;
    EXPECT_STREQ(FindNext(store.buckets[3], "@@@", &index), "DOG");
    EXPECT_EQ(index, 2);
}

TEST(WordStore, findNext_comparesOnlyTheFixedLetters) {
    WordStore store;
    AddAll(store, {"CAT", "COT", "DOG", "CUT", "CAB"});
    std::vector<std::string> found;
    std::vector<int> indexes;
    int index = 0;
    while (const char* w = FindNext(store.buckets[3], "C@T", &index)) {
        found.emplace_back(w);
        indexes.push_back(index);
        index = 0;
    }
    EXPECT_EQ(found, (std::vector<std::string>{"CAT", "COT", "CUT"}));
    EXPECT_EQ(indexes, (std::vector<int>{1, 2, 4}));
    // The search never goes back: the chain stays used up until repositioned.
    EXPECT_EQ(FindNext(store.buckets[3], "@@@", nullptr), nullptr);
    store.ResetCursors();
    EXPECT_STREQ(FindNext(store.buckets[3], "@A@", nullptr), "CAT");
    EXPECT_STREQ(FindNext(store.buckets[3], "@A@", nullptr), "CAB");
}

TEST(WordStore, findNext_skipsWordsInUseUntilTheMarksAreReset) {
    WordStore store;
    AddNumbered(store, 21, 800);  // blocks of 372, 372, 56
    WordBlock* head = store.buckets[21];
    for (int i = 1; i <= 800; i += 3) MarkUsed(head, i);
    MarkUsed(head, 800);
    int seen = 0;
    int index = 0;
    while (const char* w = FindNext(head, std::string(21, '@').c_str(), &index)) {
        EXPECT_EQ(w[21], kWordAvailable);
        EXPECT_NE(index % 3, 1) << index;
        EXPECT_NE(index, 800);
        EXPECT_EQ(std::string(w), NumberedWord(index - 1, 21));
        ++seen;
        index = 0;
    }
    EXPECT_EQ(seen, 800 - 267 - 1);

    const std::string last = NumberedWord(799, 21);
    store.ResetCursors();
    EXPECT_EQ(store.FindWord(last.c_str(), &index), nullptr);
    store.ResetUsedMarks();
    store.ResetCursors();
    EXPECT_STREQ(store.FindWord(last.c_str(), &index), last.c_str());
    EXPECT_EQ(index, 800);
}

TEST(WordStore, setCursorThenFindNext_returnsTheNextWordAcrossAThreeBlockChain) {
    WordStore store;
    AddNumbered(store, 21, 800);
    ASSERT_EQ(BlockCounts(store, 21), (std::vector<std::uint32_t>{372, 372, 56}));
    const std::string open(21, '@');
    for (int n : {0, 1, 200, 371, 372, 373, 500, 743, 744, 745, 799}) {
        store.SetCursor(21, n);
        int index = 0;
        const char* w = FindNext(store.buckets[21], open.c_str(), &index);
        ASSERT_NE(w, nullptr) << n;
        EXPECT_EQ(index, n + 1) << n;
        EXPECT_EQ(std::string(w), NumberedWord(n, 21)) << n;
    }
    // Each block's cursor is what is left of the index, capped by its count.
    store.SetCursor(21, 500);
    const WordBlock* b = store.buckets[21];
    EXPECT_EQ(b->cursor, 372u);
    EXPECT_EQ(b->next->cursor, 128u);
    EXPECT_EQ(b->next->next->cursor, 0u);
    // The word after the cursor is in use: the next available one is reported.
    MarkUsed(store.buckets[21], 501);
    int index = 0;
    EXPECT_EQ(std::string(FindNext(store.buckets[21], open.c_str(), &index)), NumberedWord(501, 21));
    EXPECT_EQ(index, 502);
    // Past the chain, or on an absent length: nothing is found, nothing breaks.
    for (int n : {800, 5000}) {
        store.SetCursor(21, n);
        EXPECT_EQ(FindNext(store.buckets[21], open.c_str(), nullptr), nullptr);
    }
    store.SetCursor(9, 3);
    store.SetCursor(-1, 3);
    store.SetCursor(40, 3);
}

TEST(WordStore, findWord_refusesPatternsLongerThan21AndAbsentLengths) {
    WordStore store;
    AddNumbered(store, 21, 3);
    int index = 7;
    EXPECT_EQ(store.FindWord(std::string(22, '@').c_str(), &index), nullptr);
    EXPECT_EQ(index, 0);
    index = 7;
    EXPECT_EQ(store.FindWord(std::string(40, '@').c_str(), &index), nullptr);
    EXPECT_EQ(index, 0);
    EXPECT_EQ(store.FindWord("@@@@", &index), nullptr);
    EXPECT_EQ(store.FindWord("", &index), nullptr);
    EXPECT_NE(store.FindWord(std::string(21, '@').c_str(), nullptr), nullptr);
}

TEST(WordStore, findNext_patternShorterThanTheChain_matchesNothing) {
    WordStore store;
    AddAll(store, {"CATS", "CAT@"});
    int index = 0;
    EXPECT_EQ(FindNext(store.buckets[4], "CAT", &index), nullptr);
    EXPECT_EQ(index, 2);
}

TEST(WordStore, markUsedAndReleaseWord_ignoreIndexesOutsideTheChain) {
    WordStore store;
    AddAll(store, {"CAT", "DOG"});
    for (int bad : {-1, 0, 3, 100}) {
        MarkUsed(store.buckets[3], bad);
        ReleaseWord(store.buckets[3], bad);
    }
    EXPECT_EQ(std::string(store.buckets[3]->data, 8), std::string("CAT\0DOG\0", 8));
    MarkUsed(nullptr, 1);
    ReleaseWord(nullptr, 1);
}

TEST(WordStore, removeWord_movesTheLastRecordIntoTheGap) {
    WordStore store;
    AddAll(store, {"CAT", "DOG", "EEL", "FOX"});
    MarkUsed(store.buckets[3], 4);
    RemoveWord(store.buckets[3], "DOG");
    EXPECT_EQ(ChainWords(store, 3), (std::vector<std::string>{"CAT", "FOX", "EEL"}));
    EXPECT_EQ(store.buckets[3]->Record(1)[3], kWordInUse);  // the status byte moved with it
    // Removing the last word leaves no cursor past the shortened chain.
    RemoveWord(store.buckets[3], "EEL");
    EXPECT_LE(store.buckets[3]->cursor, store.buckets[3]->count);
    EXPECT_EQ(FindNext(store.buckets[3], "@@@", nullptr), nullptr);
    store.ResetCursors();
    EXPECT_STREQ(FindNext(store.buckets[3], "@@@", nullptr), "CAT");
    EXPECT_EQ(FindNext(store.buckets[3], "@@@", nullptr), nullptr);  // FOX is in use
}

TEST(WordStore, removeWord_ofAWordInUseOrAbsent_changesNothing) {
    WordStore store;
    AddAll(store, {"CAT", "DOG", "EEL"});
    MarkUsed(store.buckets[3], 2);
    const std::string before(store.buckets[3]->data, 12);
    for (const char* w : {"DOG", "COW", "DO", "DOGS", ""}) {
        RemoveWord(store.buckets[3], w);
        EXPECT_EQ(store.CountWords(3), 3u) << w;
    }
    EXPECT_EQ(std::string(store.buckets[3]->data, 12), before);
    RemoveWord(nullptr, "DOG");
}

TEST(WordStore, removeWord_withAnOpenSquareInTheWord_removesOnlyAnEqualRecord) {
    // A hand-edited deleted-words file may hold '@'; as a pattern it would
    // match other words, which must stay.
    WordStore store;
    AddAll(store, {"CAT", "COT"});
    RemoveWord(store.buckets[3], "C@T");
    EXPECT_EQ(ChainWords(store, 3), (std::vector<std::string>{"CAT", "COT"}));

    AddAll(store, {"C@T", "CUT"});
    RemoveWord(store.buckets[3], "C@T");
    EXPECT_EQ(ChainWords(store, 3), (std::vector<std::string>{"CAT", "COT", "CUT"}));
}

TEST(WordStore, removeWord_lastWordOfANonHeadBlock_freesThatBlock) {
    WordStore store;
    AddNumbered(store, 7, 1025);
    ASSERT_EQ(BlockCounts(store, 7), (std::vector<std::uint32_t>{1024, 1}));
    // Removing a head word moves word 1025 into its place and empties the second block.
    const std::string first = NumberedWord(0, 7);
    const std::string last = NumberedWord(1024, 7);
    RemoveWord(store.buckets[7], first.c_str());
    EXPECT_EQ(BlockCounts(store, 7), (std::vector<std::uint32_t>{1024}));
    EXPECT_EQ(std::string(store.buckets[7]->Record(0), 7), last);
    EXPECT_EQ(store.buckets[7]->next, nullptr);
    // A second block is made again when needed.
    ASSERT_EQ(AddWord(store.buckets[7], first.c_str(), false), 1);
    EXPECT_EQ(BlockCounts(store, 7), (std::vector<std::uint32_t>{1024, 1}));
    RemoveWord(store.buckets[7], first.c_str());
    EXPECT_EQ(store.buckets[7]->next, nullptr);
}

TEST(WordStore, removeWord_emptiedHeadStaysWithCountZero) {
    WordStore store;
    AddAll(store, {"CAT"});
    RemoveWord(store.buckets[3], "CAT");
    ASSERT_NE(store.buckets[3], nullptr);
    EXPECT_EQ(store.buckets[3]->count, 0u);
    EXPECT_EQ(FindNext(store.buckets[3], "@@@", nullptr), nullptr);
    RemoveWord(store.buckets[3], "CAT");
    EXPECT_EQ(RandomWord(store.buckets[3]), nullptr);
    ASSERT_EQ(AddWord(store.buckets[3], "DOG", false), 1);
    EXPECT_STREQ(store.FindWord("@@@", nullptr), "DOG");
}

TEST(WordStore, sharesPrefix_comparesTheFirstThreeLetters) {
    WordStore store;
    ASSERT_EQ(store.AddUsedWord("CATALOG"), 1);
    EXPECT_TRUE(store.SharesPrefix("CATS"));
    EXPECT_TRUE(store.SharesPrefix("CAT"));
    EXPECT_FALSE(store.SharesPrefix("CA"));
    EXPECT_FALSE(store.SharesPrefix("COAT"));
    EXPECT_FALSE(store.SharesPrefix(""));
}

TEST(WordStore, sharesPrefix_ignoresStoredWordsOfOneOrTwoLetters) {
    WordStore store;
    ASSERT_EQ(store.AddUsedWord("CA"), 1);
    ASSERT_EQ(store.AddUsedWord("C"), 1);
    EXPECT_FALSE(store.SharesPrefix("CAT"));
    ASSERT_EQ(store.AddUsedWord("DOGMA"), 1);
    EXPECT_TRUE(store.SharesPrefix("DOG"));
}

TEST(WordStore, addUsedWord_refusesBadLengthsAndDuplicates) {
    WordStore store;
    EXPECT_EQ(store.AddUsedWord(""), 0);
    EXPECT_EQ(store.AddUsedWord(std::string(22, 'A').c_str()), 0);
    EXPECT_EQ(store.buckets[0], nullptr);
    EXPECT_EQ(store.AddUsedWord(std::string(21, 'A').c_str()), 1);
    EXPECT_EQ(store.AddUsedWord("CAT"), 1);
    EXPECT_EQ(store.AddUsedWord("CAT"), 0);
    EXPECT_EQ(store.AddUsedWord("CAB"), 1);
    EXPECT_EQ(store.CountWords(), 3u);
    store.failed = 1;
    store.ClearStore();
    EXPECT_EQ(store.failed, 0);
    EXPECT_EQ(store.CountWords(), 0u);
    for (const WordBlock* head : store.buckets) EXPECT_EQ(head, nullptr);
}

}  // namespace
}  // namespace korvo
