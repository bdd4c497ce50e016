// The shipped word lists data1.bin ... data5.bin beside the executables:
// each loads into the word store, holds only words the engine can place,
// and the five English variants differ where their spellings do.

#include <gtest/gtest.h>

#include <array>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "words/word_store.h"

namespace korvo {
namespace {

constexpr int kLists = 5;

std::string ListPath(int n) { return std::string(KORVO_BIN_DIR) + "/data" + std::to_string(n) + ".bin"; }

struct ParsedList {
    bool read = false;
    bool endsWithTerminator = false;
    std::vector<std::string> words;  // in file order
    std::set<std::string> set;
};

// Decodes a list file independently of LoadWordList.
ParsedList Parse(const std::string& path) {
    ParsedList list;
    std::ifstream in(path, std::ios::binary);
    if (!in) return list;
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    list.read = true;
    list.endsWithTerminator = !bytes.empty() && static_cast<unsigned char>(bytes.back()) == kWordListKey;
    std::string word;
    for (char b : bytes) {
        const char c = static_cast<char>(static_cast<unsigned char>(b) ^ kWordListKey);
        if (c == 0) {
            list.words.push_back(word);
            list.set.insert(word);
            word.clear();
        } else {
            word.push_back(c);
        }
    }
    return list;
}

class ShippedWordLists : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        for (int n = 1; n <= kLists; ++n) lists_[n - 1] = Parse(ListPath(n));
    }
    static const ParsedList& List(int n) { return lists_[n - 1]; }

    static std::array<ParsedList, kLists> lists_;
};

std::array<ParsedList, kLists> ShippedWordLists::lists_;

TEST_F(ShippedWordLists, everyList_holdsOnlyDistinctWordsOfTwoToTwentyOneLettersAToZ) {
    for (int n = 1; n <= kLists; ++n) {
        SCOPED_TRACE("data" + std::to_string(n) + ".bin");
        const ParsedList& list = List(n);
        ASSERT_TRUE(list.read) << "missing: " << ListPath(n);
        EXPECT_TRUE(list.endsWithTerminator);
        EXPECT_EQ(list.set.size(), list.words.size()) << "duplicate words";
        int bad = 0;
        for (const std::string& w : list.words) {
            bool ok = w.size() >= 2 && w.size() <= static_cast<std::size_t>(kMaxWordLength);
            for (char c : w) ok = ok && c >= 'A' && c <= 'Z';
            if (!ok && ++bad <= 5) ADD_FAILURE() << "bad word '" << w << "'";
        }
        EXPECT_EQ(bad, 0);
        // A study of these sources at their default size gives about 86,500
        // words a variant; far fewer or far more means a broken generation.
        EXPECT_GT(list.words.size(), 60000u);
        EXPECT_LT(list.words.size(), 120000u);
    }
}

TEST_F(ShippedWordLists, everyList_loadsIntoTheWordStoreWordForWord) {
    for (int n = 1; n <= kLists; ++n) {
        SCOPED_TRACE("data" + std::to_string(n) + ".bin");
        const ParsedList& list = List(n);
        ASSERT_TRUE(list.read);
        WordStore store;
        const int added = LoadWordList(store, ListPath(n).c_str());
        EXPECT_EQ(added, static_cast<int>(list.words.size()));
        EXPECT_EQ(store.failed, 0);

        std::array<std::uint32_t, kBucketCount> perLength{};
        for (const std::string& w : list.words)
            if (w.size() < perLength.size()) ++perLength[w.size()];
        std::set<std::string> stored;
        for (int length = 0; length < kBucketCount; ++length) {
            EXPECT_EQ(store.CountWords(length), perLength[length]) << "length " << length;
            for (const WordBlock* b = store.buckets[length]; b != nullptr; b = b->next)
                for (std::uint32_t i = 0; i < b->count; ++i) stored.emplace(b->Record(i), b->length);
        }
        EXPECT_TRUE(stored == list.set);
    }
}

TEST_F(ShippedWordLists, variants_differWhereTheirSpellingsDo) {
    // Word, then whether lists 1 (US), 2 (UK), 3 (Canada), 4 (Australia), 5 (India) hold it.
    struct Case {
        const char* word;
        std::array<bool, kLists> in;
    };
    const Case cases[] = {
        {"COLOR", {true, false, false, false, false}},      {"COLOUR", {false, true, true, true, true}},
        {"CENTER", {true, false, false, false, false}},     {"CENTRE", {false, true, true, true, true}},
        {"ORGANIZE", {true, false, true, false, false}},    {"ORGANISE", {false, true, false, true, true}},
        {"SATYAGRAHA", {false, false, false, false, true}}, {"GODOWN", {false, false, false, false, true}},
        {"CAFE", {true, true, true, true, true}},  // folded from its accented entry
        {"CROSSWORD", {true, true, true, true, true}},
    };
    for (const Case& c : cases)
        for (int n = 1; n <= kLists; ++n)
            EXPECT_EQ(List(n).set.count(c.word) == 1, c.in[n - 1]) << c.word << " in data" << n << ".bin";
}

TEST_F(ShippedWordLists, indiaList_isTheBritishListWithIndianWordsAdded) {
    const ParsedList& uk = List(2);
    const ParsedList& india = List(5);
    ASSERT_TRUE(uk.read && india.read);
    int missing = 0;
    for (const std::string& w : uk.words)
        if (india.set.count(w) == 0 && ++missing <= 5) ADD_FAILURE() << w << " missing from data5.bin";
    EXPECT_GT(india.words.size(), uk.words.size() + 50);
    EXPECT_LT(india.words.size(), uk.words.size() + 1000);
}

TEST_F(ShippedWordLists, wordsWithOnlyOffensiveSenses_areLeftOut) {
    for (int n = 1; n <= kLists; ++n)
        for (const char* w : {"NIGGER", "KIKE", "WETBACK", "MOTHERFUCKER"})
            EXPECT_EQ(List(n).set.count(w), 0u) << w << " in data" << n << ".bin";
}

TEST(ShippedWordListNotices, copyrightNotices_lieBesideTheLists) {
    for (const char* name : {"scowl-copyright.txt", "wordnet-copyright.txt"}) {
        std::ifstream in(std::string(KORVO_BIN_DIR) + "/" + name);
        ASSERT_TRUE(in) << name;
        const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        EXPECT_NE(text.find("ermission"), std::string::npos) << name;
    }
}

}  // namespace
}  // namespace korvo
