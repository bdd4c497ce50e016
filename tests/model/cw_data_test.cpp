// The puzzle object: construction defaults, new grids, the grid copy by
// status and the clue numbers copied from the engine.
#include <gtest/gtest.h>

#include <ctime>
#include <string>

#include "model/cw_data.h"
#include "model_fixture.h"
#include "platform/random.h"

namespace korvo {
namespace {

int ThisYear() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local.tm_year + 1900;
}

TEST(CCWData, newPuzzle15_hasRandomPatternAndDefaults) {
    WordStore store;
    CCWData data(&store, 15);
    EXPECT_EQ(data.gridSize, 15);
    ASSERT_EQ(data.gridText.size(), 225u);
    int blocks = 0;
    for (char16_t c : data.gridText) {
        ASSERT_TRUE(c == u'!' || c == u'@');
        blocks += c == u'!';
    }
    EXPECT_GT(blocks, 0);
    EXPECT_EQ(data.GetStatus(), StatusDesigning);
    EXPECT_EQ(data.highestNumber, 0);
    EXPECT_EQ(data.wordListId, 1);
    EXPECT_EQ(data.wordStore, &store);
    EXPECT_EQ(data.removalPending, 0);
    EXPECT_EQ(data.stopRequested, 0);
    EXPECT_TRUE(data.clues.empty());
    EXPECT_TRUE(data.notepad.empty());
    EXPECT_TRUE(data.dataFolder.empty());
    EXPECT_TRUE(data.solutionText.empty());
    EXPECT_EQ(data.GetTitle(), u"TO DO: Puzzle Title");
    EXPECT_EQ(data.GetAnswerTitle(), u"TO DO: Answer Title");
    EXPECT_EQ(data.GetAuthor(), u"TO DO: Author");
    EXPECT_EQ(data.GetCopyright(), DefaultCopyright(ThisYear()));
    for (int k = 0; k < kMaxSquares; ++k) {
        ASSERT_EQ(data.cellNumbers[k], 0);
        ASSERT_EQ(data.circled[k], 0);
    }
    // The run parameters a new puzzle gives its engine.
    ASSERT_NE(data.engine, nullptr);
    EXPECT_EQ(data.engine->lookAheadDistance, 15);
    EXPECT_EQ(data.engine->lookAheadDepth, 2);
    EXPECT_EQ(data.engine->backJumpPeriod, 750);
    EXPECT_EQ(data.engine->timeSlice, 2.0);
    EXPECT_EQ(data.engine->prefixRule, 1);
    EXPECT_EQ(data.engine->wordStore, &store);
}

TEST(CCWData, defaultCopyright_namesTheYear) {
    EXPECT_EQ(DefaultCopyright(2026), u"TO DO: \u00A9 2026 by Author");
    EXPECT_EQ(DefaultCopyright(999), u"TO DO: \u00A9 999 by Author");
}

TEST(CCWData, defaultConstructed_hasNoEngineAndRefusesEveryEdit) {
    CCWData data;
    EXPECT_EQ(data.engine, nullptr);
    EXPECT_EQ(data.wordStore, nullptr);
    EXPECT_TRUE(data.title.empty());
    EXPECT_TRUE(data.copyright.empty());
    EXPECT_TRUE(data.gridText.empty());
    // A stored puzzle: the grid text comes from the file, nothing reads an engine.
    data.gridSize = 3;
    data.gridText = u"AB!C@DE!F";
    data.status = StatusDesigning;
    data.NewGrid(9);
    data.RefreshGridText();
    data.CopyCellNumbers();
    data.ClearGrid();
    data.SetAcrossWord(0, 0, "XY");
    data.EditDownWord(0, 0, u"xyz");
    EXPECT_FALSE(data.ToggleBlock(0, 0));
    EXPECT_EQ(data.GetGridText(), u"AB!C@DE!F");
    std::u16string word;
    EXPECT_TRUE(data.GetAcrossWord(0, 0, word));
    EXPECT_EQ(word, u"AB");
}

TEST(CCWData, newGrid_followsEngineSizeAndOnlyWhileDesigning) {
    CCWData data(nullptr, 9);
    Random::Seed(4);
    data.NewGrid(13);
    EXPECT_EQ(data.gridSize, 13);
    EXPECT_EQ(data.gridText.size(), 169u);

    // Sizes beyond the engine's limit make its largest grid, and gridSize
    // says so (so no edit reads past the grid text).
    data.NewGrid(40);
    EXPECT_EQ(data.gridSize, 28);
    EXPECT_EQ(data.gridText.size(), 784u);

    // Too small: no pattern, the grid stays as it was.
    const std::u16string before = data.GetGridText();
    data.NewGrid(2);
    EXPECT_EQ(data.gridSize, 28);
    EXPECT_EQ(data.GetGridText(), before);

    for (int status : {StatusGenerating, StatusReverting, StatusFilled, StatusExhausted, StatusNoStart}) {
        data.SetStatus(status);
        data.NewGrid(9);
        EXPECT_EQ(data.gridSize, 28) << status;
        EXPECT_EQ(data.GetGridText(), before) << status;
    }
}

TEST(CCWData, refreshGridText_turnsEmptySquaresIntoBlocksOnlyWhenFilled) {
    const std::string grid =
        "AB!C"
        "@@!D"
        "E@@F"
        "G!HI";
    struct Case {
        int status;
        std::string expected;
    } cases[] = {
        {StatusFilled,
         "AB!C"
         "!!!D"
         "E!!F"
         "G!HI"},
        {StatusDesigning, grid},
        {StatusGenerating, grid},
        {StatusReverting, grid},
        {StatusExhausted, grid},
        {StatusNoStart, grid},
        {StatusDuplicates, grid},
    };
    for (const Case& c : cases) {
        auto data = PuzzleWithGrid(grid, 4);
        data->SetStatus(c.status);
        data->RefreshGridText();
        EXPECT_EQ(Narrow(data->GetGridText()), c.expected) << "status " << c.status;
    }
}

TEST(CCWData, copyCellNumbers_copiesEngineNumbersRowByRowAsUnsigned) {
    auto data = PuzzleWithGrid(
        "@@@"
        "@!@"
        "@@@",
        3);
    const unsigned char numbers[3][3] = {{1, 2, 3}, {4, 251, 5}, {6, 252, 252}};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) data->engine->numberGrid[i * kMaxGridSide + j] = numbers[i][j];
    data->cellNumbers[9] = 77;  // beyond the grid: untouched
    data->CopyCellNumbers();
    const int expected[] = {1, 2, 3, 4, 251, 5, 6, 252, 252};
    for (int k = 0; k < 9; ++k) EXPECT_EQ(data->cellNumbers[k], expected[k]) << k;
    EXPECT_EQ(data->cellNumbers[9], 77);
}

}  // namespace
}  // namespace korvo

namespace korvo {
namespace {

TEST(RunProgressText, elapsedTimeAndEntries) {
    RunProgress p;
    p.seconds = 75.9;
    p.filledNow = 45;
    p.filledBest = 52;
    p.total = 78;
    EXPECT_EQ(DescribeProgress(p), "Generating 1:15 - 45 of 78 entries filled, best so far 52");
    p.seconds = 3.2;
    EXPECT_EQ(DescribeProgress(p), "Generating 0:03 - 45 of 78 entries filled, best so far 52");
    EXPECT_STREQ(WordListName(1), "English - United States");
    EXPECT_STREQ(WordListName(5), "English - India");
}

}  // namespace
}  // namespace korvo
