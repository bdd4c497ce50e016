#include "words/word_store.h"

#include <gtest/gtest.h>

#include <string>

namespace korvo {
namespace {

void AddAll(WordStore& store, std::initializer_list<const char*> words) {
    for (const char* w : words) {
        int length = static_cast<int>(std::string(w).size());
        if (store.buckets[length] == nullptr) store.buckets[length] = NewBlock(length);
        ASSERT_EQ(AddWord(store.buckets[length], w, false), 1) << w;
    }
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

TEST(WordStore, sharesPrefix_comparesTheFirstThreeLetters) {
    WordStore store;
    ASSERT_EQ(store.AddUsedWord("CATALOG"), 1);
    EXPECT_TRUE(store.SharesPrefix("CATS"));
    EXPECT_TRUE(store.SharesPrefix("CAT"));
    EXPECT_FALSE(store.SharesPrefix("CA"));
    EXPECT_FALSE(store.SharesPrefix("COAT"));
}

}  // namespace
}  // namespace korvo
