#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/word_list_bytes.h"
#include "words/word_store.h"

namespace korvo {
namespace {

namespace fs = std::filesystem;

using testsupport::EncodeWordList;

std::vector<std::string> AllWords(const WordStore& store) {
    std::vector<std::string> words;
    for (int length = 0; length <= kMaxWordLength; ++length)
        for (const WordBlock* b = store.buckets[length]; b != nullptr; b = b->next)
            for (std::uint32_t i = 0; i < b->count; ++i) words.emplace_back(b->Record(i), b->length);
    return words;
}

class WordListFile : public ::testing::Test {
protected:
    void SetUp() override {
        std::string templ = (fs::temp_directory_path() / "korvo-words-XXXXXX").string();
        ASSERT_NE(mkdtemp(templ.data()), nullptr);
        dir_ = templ;
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string Write(const std::string& bytes, const char* name = "data1.bin") {
        const fs::path path = dir_ / name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path.string();
    }

    fs::path dir_;
};

TEST_F(WordListFile, load_decodesEveryTerminatedWordInFileOrder) {
    WordStore store;
    const std::string path = Write(EncodeWordList({"CAT", "DOGS", "AX", "EEL"}));
    EXPECT_EQ(LoadWordList(store, path.c_str()), 4);
    EXPECT_EQ(AllWords(store), (std::vector<std::string>{"AX", "CAT", "EEL", "DOGS"}));
    for (int length : {2, 3, 4}) EXPECT_EQ(store.buckets[length]->Record(0)[length], kWordAvailable);
}

TEST_F(WordListFile, load_skipsLengthsOutsideTwoTo21) {
    const std::string w21(21, 'Q');
    const std::string w22(22, 'R');
    const std::string w300(300, 'S');
    WordStore store;
    // An empty word (two terminators), a 1-letter word, and words too long,
    // each consumed up to its terminator so the next word reads correctly.
    const std::string path = Write(EncodeWordList({"A", "", "AB", w22, "CAT", w300, w21, "Z"}));
    EXPECT_EQ(LoadWordList(store, path.c_str()), 3);
    EXPECT_EQ(AllWords(store), (std::vector<std::string>{"AB", "CAT", w21}));
    EXPECT_EQ(store.buckets[1], nullptr);
    EXPECT_EQ(store.buckets[0], nullptr);
}

TEST_F(WordListFile, load_dropsALastWordWithoutTerminator) {
    WordStore store;
    std::string bytes = EncodeWordList({"CAT", "DOG"});
    bytes += EncodeWordList({"EMU"}).substr(0, 3);
    EXPECT_EQ(LoadWordList(store, Write(bytes).c_str()), 2);
    EXPECT_EQ(AllWords(store), (std::vector<std::string>{"CAT", "DOG"}));
}

TEST_F(WordListFile, load_keepsDuplicatesAndFillsBlocksInOrder) {
    std::vector<std::string> words(1025, "ABCDEFG");
    words.push_back("CAT");
    words.push_back("CAT");
    WordStore store;
    EXPECT_EQ(LoadWordList(store, Write(EncodeWordList(words)).c_str()), 1027);
    EXPECT_EQ(store.CountWords(3), 2u);
    ASSERT_NE(store.buckets[7]->next, nullptr);
    EXPECT_EQ(store.buckets[7]->count, 1024u);
    EXPECT_EQ(store.buckets[7]->next->count, 1u);
}

TEST_F(WordListFile, load_ofNothingUsable_returnsZeroAndLeavesTheStoreEmpty) {
    for (const std::string& bytes :
         {EncodeWordList({"A"}), std::string(), std::string(40, 'x'), EncodeWordList({"", ""})}) {
        WordStore store;
        store.AddUsedWord("OLD");
        EXPECT_EQ(LoadWordList(store, Write(bytes).c_str()), 0);
        EXPECT_EQ(store.CountWords(), 0u);
        EXPECT_EQ(store.buckets[3], nullptr);
    }
}

TEST_F(WordListFile, load_missingFile_returnsZeroAndKeepsTheStore) {
    WordStore store;
    store.AddUsedWord("OLD");
    EXPECT_EQ(LoadWordList(store, (dir_ / "absent.bin").string().c_str()), 0);
    EXPECT_EQ(store.CountWords(), 1u);
}

TEST_F(WordListFile, load_replacesWhatTheStoreHeld) {
    WordStore store;
    EXPECT_EQ(LoadWordList(store, Write(EncodeWordList({"CAT", "HORSE"}), "a.bin").c_str()), 2);
    store.failed = 1;
    EXPECT_EQ(LoadWordList(store, Write(EncodeWordList({"DOG"}), "b.bin").c_str()), 1);
    EXPECT_EQ(store.failed, 0);
    EXPECT_EQ(AllWords(store), (std::vector<std::string>{"DOG"}));
    // The loaded words are searchable with their indexes.
    int index = 0;
    EXPECT_STREQ(store.FindWord("D@G", &index), "DOG");
    EXPECT_EQ(index, 1);
}

TEST_F(WordListFile, load_bytesAreNotChecked) {
    // Whatever the XOR gives (other than the terminator) is stored as is.
    WordStore store;
    EXPECT_EQ(LoadWordList(store, Write(EncodeWordList({"c@t", "\xC9\xFF"})).c_str()), 2);
    EXPECT_EQ(AllWords(store), (std::vector<std::string>{"\xC9\xFF", "c@t"}));
}

}  // namespace
}  // namespace korvo
