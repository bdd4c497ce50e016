// Start: numbering, the slot list and its limits, complete user words, the
// candidate check, the fill order and the crossing and back-jump tables.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/engine_support.h"

namespace korvo {
namespace {

using testing::AddWords;
using testing::BaseGridText;
using testing::GridText;
using testing::SetNewPuzzleParameters;

std::string Name(const Slot& s) {
    std::string name(1, s.direction == kAcross ? 'A' : 'D');
    name += std::to_string(s.number);
    return name;
}

std::vector<std::string> Order(const FillEngine& e, int count) {
    std::vector<std::string> names;
    for (int i = 0; i < count; ++i) names.push_back(Name(e.slots[i]));
    return names;
}

std::vector<int> Crossings(const Slot& s) { return std::vector<int>(s.crossings, s.crossings + s.length); }

struct Engine {
    WordStore store;
    FillEngine engine{&store};
    Engine() { SetNewPuzzleParameters(engine); }
    int Load(int rows, int columns, const std::string& text) {
        EXPECT_EQ(text.size(), static_cast<std::size_t>(rows * columns));
        return engine.LoadGrid(rows, columns, text.c_str());
    }
};

TEST(EngineStart, twoByTwoOpenGrid_fourEntriesNumberedOneToThree) {
    Engine t;
    AddWords(t.store, {"AB", "CD"});
    t.Load(2, 2, "@@@@");
    EXPECT_EQ(t.engine.Start(), 3);
    EXPECT_EQ(t.engine.slotCount, 4);
    EXPECT_EQ(t.engine.activeCount, 4);
    unsigned char numbers[5];
    t.engine.NumbersToBytes(numbers);
    EXPECT_EQ(std::vector<int>(numbers, numbers + 4), (std::vector<int>{1, 2, 3, kNumberNone}));
    // (1, 0) starts an across entry only; every entry has two squares.
    EXPECT_EQ(Order(t.engine, 4), (std::vector<std::string>{"D1", "A1", "A3", "D2"}));
    for (int i = 0; i < 4; ++i) EXPECT_EQ(t.engine.slots[i].length, 2);
}

TEST(EngineStart, openFifteenGrid_thirtyEntriesNumberedOneToTwentyNine) {
    Engine t;
    AddWords(t.store, {"ABCDEFGHIJKLMNO"});
    t.Load(15, 15, std::string(225, '@'));
    EXPECT_EQ(t.engine.Start(), 29);
    EXPECT_EQ(t.engine.slotCount, 30);
    unsigned char numbers[226];
    t.engine.NumbersToBytes(numbers);
    for (int c = 0; c < 15; ++c) EXPECT_EQ(numbers[c], c + 1) << c;        // top row: 1..15
    for (int r = 1; r < 15; ++r) EXPECT_EQ(numbers[r * 15], 15 + r) << r;  // left column: 16..29
    EXPECT_EQ(numbers[16], kNumberNone);
    int across = 0, down = 0;
    for (int i = 0; i < 30; ++i) (t.engine.slots[i].direction == kAcross ? across : down)++;
    EXPECT_EQ(across, 15);
    EXPECT_EQ(down, 15);
    // The fill order leaves the working grid as it was.
    EXPECT_EQ(GridText(t.engine), std::string(225, '@'));
}

// A 28 x 28 grid of islands: 2 x 2 islands have four entries, a 1 x 2 island
// has one across entry.
std::string IslandGrid(int squareIslands, int pairIslands) {
    std::string grid(28 * 28, '!');
    int island = 0;
    for (int a = 0; a < 9; ++a)
        for (int b = 0; b < 9; ++b, ++island) {
            const int r = 3 * a, c = 3 * b;
            if (island < squareIslands) {
                for (int dr = 0; dr < 2; ++dr)
                    for (int dc = 0; dc < 2; ++dc) grid[(r + dr) * 28 + c + dc] = '@';
            } else if (island < squareIslands + pairIslands) {
                grid[r * 28 + c] = grid[r * 28 + c + 1] = '@';
            }
        }
    return grid;
}

TEST(EngineStart, entryLimit_250AcceptedAnd251Refused) {
    struct Case {
        int pairs;
        int expected;
        int slots;
    } cases[] = {{2, 62 * 3 + 2, 250}, {3, 0, 0}};
    for (const Case& c : cases) {
        Engine t;
        AddWords(t.store, {"AB"});
        const std::string grid = IslandGrid(62, c.pairs);
        // A '?' left from an earlier refusal is cleared in both cases.
        std::string marked = grid;
        marked[0] = '?';
        t.Load(28, 28, marked);
        EXPECT_EQ(t.engine.Start(), c.expected) << c.pairs;
        EXPECT_EQ(t.engine.slotCount, c.slots);
        EXPECT_EQ(t.engine.activeCount, c.slots);
        EXPECT_EQ(GridText(t.engine), grid);
    }
}

TEST(EngineStart, entryLongerThan21Squares_isRefused) {
    struct Case {
        const char* name;
        std::string row;  // the across entry of a 2-row grid whose second row is blocks
        int expected;
        std::string after;  // the entry's squares after Start
    } cases[] = {
        {"open 22", std::string(22, '@'), 0, std::string(22, '?')},
        {"typed 22", "ABCDEFGHIJKLMNOPQRSTUV", 0, "ABCDEFGHIJKLMNOPQRSTUV"},
        {"open 21 fits", std::string(21, '@') + "!", 1, std::string(21, '@') + "!"},
    };
    for (const Case& c : cases) {
        Engine t;
        AddWords(t.store, {"ABCDEFGHIJKLMNOPQRSTU"});
        t.Load(2, 22, c.row + std::string(22, '!'));
        EXPECT_EQ(t.engine.Start(), c.expected) << c.name;
        EXPECT_EQ(GridText(t.engine).substr(0, 22), c.after) << c.name;
        if (c.expected == 0) {
            EXPECT_EQ(t.engine.activeCount, 0) << c.name;
        }
    }
}

TEST(EngineStart, repeatedUserWords_giveMinusOneUnlessAnEntryHasNoCandidate) {
    // Two complete user entries CAT and a four-square down entry.
    const std::string grid =
        "CAT!@"
        "!!!!@"
        "CAT!@"
        "!!!!@";
    struct Case {
        const char* name;
        std::vector<std::string> words;
        int expected;
        const char* downAfter;  // the down entry's squares after Start
    } cases[] = {
        {"listed duplicate", {"CAT", "DOGS"}, -1, "@@@@"},
        {"unlisted duplicate", {"DOGS"}, -1, "@@@@"},
        {"no candidate wins", {"CAT"}, 0, "????"},
    };
    for (const Case& c : cases) {
        Engine t;
        AddWords(t.store, c.words);
        t.Load(4, 5, grid);
        EXPECT_EQ(t.engine.Start(), c.expected) << c.name;
        const std::string after = GridText(t.engine);
        EXPECT_EQ(std::string({after[4], after[9], after[14], after[19]}), c.downAfter) << c.name;
    }
}

TEST(EngineStart, completeUserWord_takenOutOfPlay) {
    // The listed user word is in use for the run, so the open entry of the
    // same length cannot take it; an unlisted user word is accepted as it is.
    Engine t;
    AddWords(t.store, {"CAT", "DOG"});
    t.Load(3, 3, "CAT!!!@@@");
    EXPECT_EQ(t.engine.Start(), 2);
    EXPECT_EQ(t.engine.activeCount, 1);
    EXPECT_EQ(t.engine.slotCount, 2);
    EXPECT_STREQ(t.engine.slots[1].letters, "CAT");
    EXPECT_EQ(testing::StatusOf(t.store, 3, 1), kWordInUse);
    EXPECT_EQ(testing::StatusOf(t.store, 3, 2), kWordAvailable);
    EXPECT_TRUE(t.engine.usedWords.SharesPrefix("CATS"));

    Engine u;
    AddWords(u.store, {"DOG"});
    u.Load(3, 3, "XYZ!!!@@@");
    EXPECT_EQ(u.engine.Start(), 2);
    EXPECT_FALSE(u.engine.usedWords.SharesPrefix("XYZ"));
}

TEST(EngineStart, everyEntryLettered_returnsNumbersAndFirstStepSucceeds) {
    Engine t;
    AddWords(t.store, {"AB"});
    t.Load(2, 2, "ABCD");
    EXPECT_EQ(t.engine.Start(), 3);
    EXPECT_EQ(t.engine.activeCount, 4);
    EXPECT_EQ(t.engine.current, 4);
    EXPECT_EQ(testing::WordsInUse(t.store), 0);
    // Sorted across first, each direction by number.
    EXPECT_EQ(Order(t.engine, 4), (std::vector<std::string>{"A1", "A3", "D1", "D2"}));
    EXPECT_STREQ(t.engine.slots[1].letters, "CD");
    EXPECT_STREQ(t.engine.slots[3].letters, "BD");
    EXPECT_EQ(t.engine.Step(), -1);
}

TEST(EngineStart, refusals_withoutStoreGridOrEntries) {
    FillEngine noStore(nullptr);
    noStore.LoadGrid(2, 2, "@@@@");
    EXPECT_EQ(noStore.Start(), 0);

    WordStore store;
    FillEngine noGrid(&store);
    EXPECT_EQ(noGrid.Start(), 0);

    FillEngine allBlocks(&store);
    allBlocks.LoadGrid(3, 3, "!!!!@!!!!");
    EXPECT_EQ(allBlocks.Start(), 0);
    EXPECT_EQ(allBlocks.slotCount, 0);
}

// A 4 x 4 grid whose fill order, crossings and back-jumps were worked out by
// hand (the S makes the bottom-right entries the most constrained):
//   @@@!      entries: D1 A1 D2 D3 A4 D5 A6 A7
//   @@@@
//   @@@@
//   !@@S
const std::string kHandGrid = "@@@!@@@@@@@@!@@S";

TEST(EngineStart, handWorkedGrid_fillOrderCrossingsAndBackJumps) {
    Engine t;
    AddWords(t.store, {"ABC", "ABS", "ABCD"});
    t.Load(4, 4, kHandGrid);
    ASSERT_EQ(t.engine.Start(), 7);
    const FillEngine& e = t.engine;
    ASSERT_EQ(e.activeCount, 8);
    EXPECT_EQ(Order(e, 8), (std::vector<std::string>{"A7", "D2", "D3", "A1", "A4", "D1", "A6", "D5"}));
    const std::vector<std::vector<int>> crossings = {{1, 2, 7},    {3, 4, 6, 0}, {3, 4, 6, 0}, {5, 1, 2},
                                                     {5, 1, 2, 7}, {3, 4, 6},    {5, 1, 2, 7}, {4, 6, 0}};
    const std::vector<int> backJump = {-1, 0, 1, 2, 3, 4, 5, 6};
    const std::vector<int> crossBack = {-1, 0, 0, 2, 2, 4, 5, 6};
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(Crossings(e.slots[i]), crossings[i]) << i;
        EXPECT_EQ(e.slots[i].backJump, backJump[i]) << i;
        EXPECT_EQ(e.slots[i].crossBack, crossBack[i]) << i;
        // Past the entry's length the table holds no crossing.
        for (int k = e.slots[i].length; k < kMaxCrossings; ++k) EXPECT_EQ(e.slots[i].crossings[k], -1);
    }
    unsigned char numbers[17];
    e.NumbersToBytes(numbers);
    EXPECT_EQ(std::vector<int>(numbers, numbers + 16),
              (std::vector<int>{1, 2, 3, 251, 4, 252, 252, 5, 6, 252, 252, 252, 251, 7, 252, 252}));
    EXPECT_EQ(GridText(e), kHandGrid);
    EXPECT_EQ(BaseGridText(e), kHandGrid);
    EXPECT_STREQ(e.slots[0].letters, "@@S");
}

TEST(EngineStart, sharesLaterCrossing_looksOnlyAtTheGivenRange) {
    Engine t;
    AddWords(t.store, {"ABC", "ABS", "ABCD"});
    t.Load(4, 4, kHandGrid);
    ASSERT_EQ(t.engine.Start(), 7);
    // Slot 4 (A4) crosses 5, 1, 2 and 7; slot 3 (A1) crosses 5 as well.
    EXPECT_TRUE(t.engine.SharesLaterCrossing(4, 3, 5, 7));
    EXPECT_FALSE(t.engine.SharesLaterCrossing(4, 3, 6, 7));
    EXPECT_TRUE(t.engine.SharesLaterCrossing(4, 3, 5, 0));  // 0: up to the last active slot
    EXPECT_FALSE(t.engine.SharesLaterCrossing(7, 5, 8, 0));
}

TEST(EngineStart, openness_countsBlocksOnBothSidesPastTheEdgeBlocks) {
    const char* closedColumn =
        "!@@@!"
        "@@!@@"
        "@!@!@"
        "@@!@@"
        "!@@@!";
    const char* openColumn =
        "!@@@!"
        "@@!@@"
        "@!@!@"
        "@@@@@"
        "!@!@!";
    struct Case {
        const char* grid;
        int row, column, expected;
    } cases[] = {
        {closedColumn, 2, 2, 0},  // blocks above and below in the column
        {closedColumn, 1, 0, 2},  // the column's leading block does not count
        {closedColumn, 1, 3, 2},  // a block to the left only
        {openColumn, 2, 2, 1},    // the column's trailing block does not count; the row is boxed in
        {openColumn, 3, 2, 2},
    };
    for (const Case& c : cases) {
        WordStore store;
        FillEngine e(&store);
        e.LoadGrid(5, 5, c.grid);
        EXPECT_EQ(e.Openness(c.row, c.column), c.expected) << c.row << "," << c.column;
    }
}

TEST(EngineStart, sortsAfterFill_acrossByNumberThenDownByNumber) {
    Engine t;
    AddWords(t.store, {"ABC", "ABS", "ABCD"});
    t.Load(4, 4, kHandGrid);
    ASSERT_EQ(t.engine.Start(), 7);
    t.engine.SortByNumber();
    t.engine.SortAcrossFirst();
    EXPECT_EQ(Order(t.engine, 8), (std::vector<std::string>{"A1", "A4", "A6", "A7", "D1", "D2", "D3", "D5"}));
}

TEST(EngineStart, setBackJumpPeriod_belowTwoMeansOne) {
    WordStore store;
    FillEngine e(&store);
    for (int n : {-5, 0, 1}) {
        e.slots[3].failures = 9;
        e.slots[3].deepJump = 0;
        e.SetBackJumpPeriod(n);
        EXPECT_EQ(e.backJumpPeriod, 1) << n;
        EXPECT_EQ(e.slots[3].failures, 0);
        EXPECT_EQ(e.slots[3].deepJump, 1);
    }
    e.SetBackJumpPeriod(2);
    EXPECT_EQ(e.backJumpPeriod, 2);
}

}  // namespace
}  // namespace korvo
