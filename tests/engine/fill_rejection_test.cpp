// Taking words out of play: the user's rejection of a placed word, the ring
// of recent words, and the periodic deeper back-jump.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/engine_support.h"

namespace korvo {
namespace {

using testing::AddWords;
using testing::GridText;
using testing::SearchRun;
using testing::StatusOf;
using testing::SteppingClock;

using Lines = std::vector<std::string>;

bool InRecentWords(const FillEngine& e, int length, int index) {
    for (int i = 0; i < kRecentWordCount; ++i)
        if (e.recentWords.index[i] == index && e.recentWords.length[i] == length) return true;
    return false;
}

TEST(RejectPlacedWord, wordOfEntryZero_restartsThereWithTheWordOutOfPlay) {
    // The 2 x 2 grid fills D1, A1, A3, D2. After AB (D1) and AC (A1) are
    // placed the user rejects AB: entry 0 searches again with the narrowed
    // pattern "A@" (A1 still remembers AC) from after AB.
    SearchRun t({"AB", "AC", "BD", "CE", "AF", "FA", "BA", "CA"}, 2, 2, "@@@@");
    SteppingClock::step = 10;
    t.engine.readClock = &SteppingClock::Read;
    ASSERT_EQ(t.engine.Start(), 3);
    ASSERT_EQ(t.engine.Step(), 1);
    ASSERT_EQ(t.engine.Step(), 1);
    ASSERT_EQ(t.trace.lines, (Lines{"0 AB accept", "1 AC accept"}));

    EXPECT_EQ(t.engine.RejectPlacedWord("AB"), 1);
    EXPECT_EQ(t.engine.current, 0);
    EXPECT_EQ(GridText(t.engine), "@@@@");
    EXPECT_EQ(t.engine.slots[0].placed, 0);
    EXPECT_EQ(t.engine.slots[1].placed, 0);
    EXPECT_TRUE(InRecentWords(t.engine, 2, 1));
    EXPECT_EQ(StatusOf(t.store, 2, 1), kWordInUse);
    EXPECT_EQ(t.engine.narrowedPattern, 1);
    EXPECT_STREQ(t.engine.slots[0].letters, "A@");
    EXPECT_EQ(t.engine.savedIndex, 1);
    EXPECT_EQ(t.engine.usedWords.CountWords(), 0u);

    t.trace.lines.clear();
    EXPECT_EQ(testing::RunToEnd(t.engine), -1);
    EXPECT_EQ(t.trace.lines, (Lines{"0 AF accept", "1 AC accept", "2 FA accept", "3 CA filled"}));
    EXPECT_EQ(GridText(t.engine), "ACFA");
    t.ExpectVerified();
}

TEST(RejectPlacedWord, wordNoEntryHolds_changesNothing) {
    SearchRun t({"AB", "AC", "BD", "CE", "AF", "FA", "BA"}, 2, 2, "@@@@");
    EXPECT_EQ(t.engine.RejectPlacedWord("AB"), 0);  // before any start
    SteppingClock::step = 10;
    t.engine.readClock = &SteppingClock::Read;
    ASSERT_EQ(t.engine.Start(), 3);
    ASSERT_EQ(t.engine.Step(), 1);
    const std::string grid = GridText(t.engine);
    for (const char* word : {"BD", "A", "ABC", ""}) {
        EXPECT_EQ(t.engine.RejectPlacedWord(word), 0) << word;
        EXPECT_EQ(GridText(t.engine), grid);
        EXPECT_EQ(t.engine.current, 1);
        EXPECT_EQ(t.engine.recentWords.next, 0);
    }
    EXPECT_EQ(t.engine.RejectPlacedWord(nullptr), 0);
}

TEST(RejectPlacedWord, lastOfItsCrossingEntries_alsoTakesTheNearestCrossingBack) {
    // Two separate 2 x 2 islands: the entry that completes the first island
    // crosses only earlier entries, yet the search goes on after it.
    std::vector<std::string> words;
    for (char a = 'A'; a <= 'F'; ++a)
        for (char b = 'A'; b <= 'F'; ++b) words.push_back(std::string{a, b});
    const std::string grid =
        "@@!@@"
        "@@!@@";
    SearchRun t(words, 2, 5, grid);
    SteppingClock::step = 10;
    t.engine.readClock = &SteppingClock::Read;
    ASSERT_GT(t.engine.Start(), 0);

    int last = -1;
    for (int i = 0; i < t.engine.activeCount - 1 && last == -1; ++i) {
        bool later = false;
        for (int k = 0; k < t.engine.slots[i].length; ++k)
            if (t.engine.slots[i].crossings[k] > i) later = true;
        if (!later && t.engine.slots[i].crossBack != -1) last = i;
    }
    ASSERT_NE(last, -1);
    while (t.engine.current <= last) ASSERT_EQ(t.engine.Step(), 1);

    const int back = t.engine.slots[last].crossBack;
    const std::string rejected = t.engine.slots[last].letters;
    const std::string alsoOut = t.engine.slots[back].letters;
    const int rejectedIndex = t.engine.slots[last].foundIndex;
    const int alsoOutIndex = t.engine.slots[back].foundIndex;
    EXPECT_EQ(t.engine.RejectPlacedWord(rejected.c_str()), rejectedIndex);
    EXPECT_EQ(t.engine.current, back);
    EXPECT_TRUE(InRecentWords(t.engine, 2, rejectedIndex));
    EXPECT_TRUE(InRecentWords(t.engine, 2, alsoOutIndex));
    for (int i = back; i < t.engine.activeCount; ++i) EXPECT_EQ(t.engine.slots[i].placed, 0) << i;
    for (int i = 0; i < back; ++i) EXPECT_EQ(t.engine.slots[i].placed, 1) << i;

    EXPECT_EQ(testing::RunToEnd(t.engine), -1);
    t.ExpectVerified();
    const std::string filled = GridText(t.engine);
    // Both words stay out of play for the rest of the run.
    for (int i = 0; i < t.engine.slotCount; ++i) {
        EXPECT_NE(t.engine.slots[i].letters, rejected);
        EXPECT_NE(t.engine.slots[i].letters, alsoOut);
    }
}

TEST(RecentWords, fiftyFirstWord_releasesTheFirst) {
    WordStore store;
    std::vector<std::string> words;
    for (int i = 0; i < 60; ++i)
        words.push_back(std::string{static_cast<char>('A' + i / 26), static_cast<char>('A' + i % 26), 'X'});
    AddWords(store, words);
    for (int i = 1; i <= 60; ++i) MarkUsed(store.buckets[3], i);
    FillEngine e(&store);

    for (int i = 1; i <= 50; ++i) e.AddRecentWord(3, i);
    for (int i = 1; i <= 50; ++i) EXPECT_EQ(StatusOf(store, 3, i), kWordInUse) << i;  // adding marks nothing
    EXPECT_EQ(e.recentWords.next, 50);

    e.AddRecentWord(3, 51);
    EXPECT_EQ(StatusOf(store, 3, 1), kWordAvailable);
    for (int i = 2; i <= 51; ++i) EXPECT_EQ(StatusOf(store, 3, i), kWordInUse) << i;
    EXPECT_EQ(e.recentWords.next, 1);
    EXPECT_EQ(e.recentWords.index[0], 51);

    e.AddRecentWord(3, 52);
    EXPECT_EQ(StatusOf(store, 3, 2), kWordAvailable);
    EXPECT_EQ(StatusOf(store, 3, 3), kWordInUse);
}

TEST(RecentWords, badStoredPairs_areSkippedOnRelease) {
    WordStore store;
    AddWords(store, {"ABC"});
    FillEngine e(&store);
    e.recentWords.length[0] = 99;  // no such chain
    e.recentWords.index[0] = 5;
    e.recentWords.next = 1000;  // wraps to 0
    e.AddRecentWord(3, 1);
    EXPECT_EQ(e.recentWords.index[0], 1);
    EXPECT_EQ(e.recentWords.next, 1);
}

// The hand-worked 4 x 4 grid: slot 7 (D5) crosses 4, 6 and 0 and jumps back
// to 6; below 6 the entries interfering with it are 4, then 0.
TEST(DeepBackJump, goesOneInterferingLevelDeeperPerPeriod) {
    struct Case {
        int failures, deepJump;
        int target;  // result
        int deepJumpAfter, failuresAfter;
        std::vector<int> memoryCleared;  // entries whose memoryIndex became 0
        bool rememberBelow;              // entries 0..5 got memoryIndex = foundIndex
    } cases[] = {
        {2, 1, 4, 1, 2, {4}, false}, {4, 1, 0, 1, 4, {4, 0}, false},
        {6, 1, 6, 0, 0, {}, true},   // nothing below 0: switch to plain jumps, remembering the words below
        {2, 0, 6, 0, 2, {}, false},  // while switched, the result stays backJump
        {4, 0, 6, 0, 4, {}, false},  {6, 0, 6, 1, 0, {}, false},  // bottomed out again: deeper jumps resume
    };
    for (const Case& c : cases) {
        WordStore store;
        AddWords(store, {"ABC", "ABS", "ABCD"});
        FillEngine e(&store);
        e.LoadGrid(4, 4, "@@@!@@@@@@@@!@@S");
        ASSERT_EQ(e.Start(), 7);
        e.SetBackJumpPeriod(2);
        for (int i = 0; i < 8; ++i) {
            e.slots[i].foundIndex = 10 + i;
            e.slots[i].memoryIndex = 100 + i;
        }
        e.slots[7].failures = c.failures;
        e.slots[7].deepJump = c.deepJump;
        const std::string label = std::to_string(c.failures) + "/" + std::to_string(c.deepJump);
        EXPECT_EQ(e.DeepBackJump(7), c.target) << label;
        EXPECT_EQ(e.slots[7].deepJump, c.deepJumpAfter) << label;
        EXPECT_EQ(e.slots[7].failures, c.failuresAfter) << label;
        for (int i = 0; i < 7; ++i) {
            bool cleared = false;
            for (int m : c.memoryCleared) cleared = cleared || m == i;
            const int expected = cleared ? 0 : (c.rememberBelow && i < 6 ? 10 + i : 100 + i);
            EXPECT_EQ(e.slots[i].memoryIndex, expected) << label << " entry " << i;
        }
    }
}

}  // namespace
}  // namespace korvo
