// Grid editing: symmetric block toggles, run reads and writes, typed word
// entry and Clear Grid by status.
#include <gtest/gtest.h>

#include <string>

#include "model/cw_data.h"
#include "model_fixture.h"

namespace korvo {
namespace {

std::string Row(const CCWData& data, int n, int row) {
    std::string r;
    for (int j = 0; j < n; ++j) r += static_cast<char>(data.gridText[row * n + j]);
    return r;
}

std::string Empty15() { return std::string(225, '@'); }

TEST(ToggleBlock, pairOfEmptySquares_blocksBothThenEmptiesBoth) {
    auto data = PuzzleWithGrid(Empty15(), 15);
    EXPECT_TRUE(data->ToggleBlock(0, 0));
    EXPECT_EQ(data->gridText[0], u'!');
    EXPECT_EQ(data->gridText[224], u'!');
    EXPECT_EQ(std::count(data->gridText.begin(), data->gridText.end(), u'!'), 2);
    EXPECT_TRUE(data->ToggleBlock(14, 14));
    EXPECT_EQ(data->GetGridText(), Wide(Empty15()));
}

TEST(ToggleBlock, centreSquare_isItsOwnPartner) {
    auto data = PuzzleWithGrid(Empty15(), 15);
    EXPECT_TRUE(data->ToggleBlock(7, 7));
    EXPECT_EQ(data->gridText[7 * 15 + 7], u'!');
    EXPECT_EQ(std::count(data->gridText.begin(), data->gridText.end(), u'!'), 1);
    EXPECT_TRUE(data->ToggleBlock(7, 7));
    EXPECT_EQ(data->GetGridText(), Wide(Empty15()));
}

TEST(ToggleBlock, mismatchedPair_isRefusedAndChangesNothing) {
    struct Case {
        char first, partner;
    } cases[] = {{'@', 'Q'}, {'Q', '@'}, {'!', '@'}, {'@', '!'}, {'A', 'B'}, {'!', 'Z'}};
    for (const Case& c : cases) {
        std::string grid = Empty15();
        grid[0] = c.first;
        grid[224] = c.partner;
        auto data = PuzzleWithGrid(grid, 15);
        EXPECT_FALSE(data->ToggleBlock(0, 0)) << c.first << c.partner;
        EXPECT_FALSE(data->ToggleBlock(14, 14)) << c.first << c.partner;
        EXPECT_EQ(data->GetGridText(), Wide(grid));
        EXPECT_EQ(data->engine->Square(0, 0), c.first);
        EXPECT_EQ(data->engine->Square(14, 14), c.partner);
    }
}

TEST(ToggleBlock, hopelessMark_isResetEvenWhenRefused) {
    std::string grid = Empty15();
    grid[0] = '?';
    grid[224] = 'K';
    auto data = PuzzleWithGrid(grid, 15);
    // The pair is not toggled, but the mark is gone from the engine and
    // from what the view shows, so the grid has changed.
    EXPECT_TRUE(data->ToggleBlock(0, 0));
    EXPECT_EQ(data->engine->Square(0, 0), kOpen);
    EXPECT_EQ(data->engine->Square(14, 14), 'K');
    EXPECT_EQ(data->GetGridText()[0], u'@');
    // Without marks left, the same refused toggle changes nothing.
    EXPECT_FALSE(data->ToggleBlock(0, 0));

    // Both marked: both reset, then the pair of empty squares is blocked.
    grid[224] = '?';
    auto both = PuzzleWithGrid(grid, 15);
    EXPECT_TRUE(both->ToggleBlock(14, 14));
    EXPECT_EQ(both->gridText[0], u'!');
    EXPECT_EQ(both->gridText[224], u'!');
}

TEST(HopelessMarks, everyEditClearsAllOfThem) {
    // The marks a refused start left on two entries far from the edit.
    const std::string marked =
        "@@@!?"
        "@@@!?"
        "!!!!!"
        "?!K@@"
        "?!@@@";
    struct Case {
        const char* name;
        bool (*edit)(CCWData&);
        std::string after;
    } cases[] = {
        {"blockToggle", [](CCWData& d) { return d.ToggleBlock(0, 0); },
         "!@@!@"
         "@@@!@"
         "!!!!!"
         "@!K@@"
         "@!@@!"},
        {"refusedBlockToggle", [](CCWData& d) { return d.ToggleBlock(1, 2); },
         "@@@!@"
         "@@@!@"
         "!!!!!"
         "@!K@@"
         "@!@@@"},
        {"typedAcrossWord",
         [](CCWData& d) {
             d.EditAcrossWord(0, 0, u"cat");
             return true;
         },
         "CAT!@"
         "@@@!@"
         "!!!!!"
         "@!K@@"
         "@!@@@"},
        {"typedDownWord",
         [](CCWData& d) {
             d.EditDownWord(3, 4, u"no");
             return true;
         },
         "@@@!@"
         "@@@!@"
         "!!!!!"
         "@!K@N"
         "@!@@O"},
        {"clearGrid",
         [](CCWData& d) {
             d.ClearGrid();
             return true;
         },
         std::string(25, '@')},
    };
    for (const Case& c : cases) {
        auto data = PuzzleWithGrid(marked, 5);
        ASSERT_EQ(Narrow(data->GetGridText()), marked);
        EXPECT_TRUE(c.edit(*data)) << c.name;
        EXPECT_EQ(Narrow(data->GetGridText()), c.after) << c.name;
        for (int k = 0; k < 25; ++k) EXPECT_NE(data->engine->Square(k / 5, k % 5), '?') << c.name << " " << k;
    }
}

TEST(ToggleBlock, outsideSquareOrActiveRun_isRefused) {
    auto data = PuzzleWithGrid(Empty15(), 15);
    for (auto [r, c] : {std::pair{-1, 0}, {0, -1}, {15, 0}, {0, 15}, {100, 100}})
        EXPECT_FALSE(data->ToggleBlock(r, c)) << r << "," << c;
    for (int status : {StatusGenerating, StatusReverting}) {
        data->SetStatus(status);
        EXPECT_FALSE(data->ToggleBlock(0, 0)) << status;
        EXPECT_EQ(data->engine->Square(0, 0), kOpen);
    }
    // The designer states all allow it.
    for (int status : {StatusDesigning, StatusExhausted, StatusNoStart, StatusDuplicates}) {
        data->SetStatus(status);
        EXPECT_TRUE(data->ToggleBlock(0, 0)) << status;
    }
}

// Row 0 of a 6 x 6 grid holds A B ! C @ D; column 0 holds the same downwards;
// (4, 4) is an across run of one square.
std::unique_ptr<CCWData> RunGrid() {
    return PuzzleWithGrid(
        "AB!C@D"
        "B@@@@@"
        "!@@@@@"
        "C@@@!@"
        "@@@!?!"
        "D@@@@@",
        6);
}

TEST(GridRuns, readsRunThroughSquareInBothDirections) {
    auto data = RunGrid();
    struct Case {
        int row, column;
        bool across;
        bool wideResult, letterResult;
        std::string run;
    } cases[] = {
        {0, 4, true, true, true, "C@D"},  // after the block to its end at the edge
        {0, 3, true, true, true, "C@D"},  {0, 5, true, true, true, "C@D"},
        {0, 1, true, true, true, "AB"},                                    // from the edge to the block
        {0, 0, true, true, true, "AB"},   {0, 2, true, false, false, ""},  // a block has no run
        {4, 0, false, true, true, "C@D"},                                  // the same downwards
        {1, 0, false, true, true, "AB"},  {2, 0, false, false, false, ""},
        {4, 4, true, false, true, "?"},  // a one-square run: the letters only
        {4, 4, false, true, true, "?@"},  {3, 5, false, true, true, "D@@@"},
        {-1, 0, true, false, false, ""},  {0, 6, true, false, false, ""},
        {6, 0, false, false, false, ""},
    };
    for (const Case& c : cases) {
        std::u16string word = u"stale";
        std::string letters = "stale";
        const bool wide =
            c.across ? data->GetAcrossWord(c.row, c.column, word) : data->GetDownWord(c.row, c.column, word);
        const bool narrow = c.across ? data->GetAcrossLetters(c.row, c.column, letters)
                                     : data->GetDownLetters(c.row, c.column, letters);
        EXPECT_EQ(wide, c.wideResult) << c.row << "," << c.column << " across " << c.across;
        EXPECT_EQ(narrow, c.letterResult) << c.row << "," << c.column << " across " << c.across;
        EXPECT_EQ(letters, c.run) << c.row << "," << c.column << " across " << c.across;
        if (c.wideResult) {
            EXPECT_EQ(word, Wide(c.run));
        }
        if (!c.letterResult) {
            EXPECT_TRUE(word.empty());
        }
    }
}

TEST(GridRuns, setWord_writesFromRunStartUpToBlockOrEdge) {
    struct Case {
        int row, column;
        bool across;
        std::string text;
        int changedLine;  // row (across) or column (down) to compare
        std::string line;
    } cases[] = {
        {0, 5, true, "XYZW", 0, "AB!XYZ"},  // from the run's start; extra letters unused
        {0, 1, true, "Q", 0, "QB!C@D"},     // a shorter text keeps the rest
        {0, 0, true, "", 0, "AB!C@D"},
        {5, 0, false, "KLMNOP", 0, "AB!KLM"},  // the down run of column 0 from row 3: C @ D
        {1, 2, true, "??????", 1, "??????"},
        {0, 2, true, "ZZZ", 0, "AB!C@D"},  // a block: nothing
    };
    for (const Case& c : cases) {
        auto data = RunGrid();
        if (c.across)
            data->SetAcrossWord(c.row, c.column, c.text);
        else
            data->SetDownWord(c.row, c.column, c.text);
        std::string line;
        for (int k = 0; k < 6; ++k)
            line += static_cast<char>(c.across ? data->gridText[c.changedLine * 6 + k]
                                               : data->gridText[k * 6 + c.changedLine]);
        EXPECT_EQ(line, c.line) << c.row << "," << c.column << " " << c.text;
        // The engine's grid is the master copy: gridText follows it.
        std::u16string engineText;
        for (int i = 0; i < 6; ++i)
            for (int j = 0; j < 6; ++j) engineText += static_cast<char16_t>(data->engine->Square(i, j));
        EXPECT_EQ(data->GetGridText(), engineText);
    }
}

TEST(GridRuns, typedEntry_isPaddedNormalisedAndCut) {
    // Row 1 of the grid is a five-square across run between blocks.
    const std::string grid =
        "@@@@@@@"
        "!@@@@@!"
        "@@@@@@@"
        "@@@@@@@"
        "@@@@@@@"
        "@@@@@@@"
        "@@@@@@@";
    struct Case {
        std::u16string typed;
        std::string row;
    } cases[] = {
        {u"ab", "!AB@@@!"},
        {u"", "!@@@@@!"},
        {u"x y z", "!X@Y@Z!"},
        {u"!bcde", "!!BCDE!"},     // a typed block
        {u"?q", "!?Q@@@!"},        // a typed mark is stored as it is
        {u"abcdefgh", "!ABCDE!"},  // cut to the run
        {u"a@b", "!A@B@@!"},
        {u"1-\u00e9", "!1-\xE9@@!"},    // only a..z change case
        {u"\u0141\u0100b", "!A@B@@!"},  // low 8 bits; a 0 byte is an empty square
    };
    for (const Case& c : cases) {
        auto data = PuzzleWithGrid(grid, 7);
        data->EditAcrossWord(1, 3, c.typed);
        EXPECT_EQ(Row(*data, 7, 1), c.row) << Narrow(c.typed);
        EXPECT_EQ(Row(*data, 7, 0), "@@@@@@@");
        EXPECT_EQ(Row(*data, 7, 2), "@@@@@@@");
    }
    // Down entry: column 0 holds a block in row 1, so the run of (4, 0) is rows 2..6.
    auto data = PuzzleWithGrid(grid, 7);
    data->EditDownWord(4, 0, u"hi u");
    std::string column;
    for (int i = 0; i < 7; ++i) column += static_cast<char>(data->gridText[i * 7]);
    EXPECT_EQ(column, "@!HI@U@");
}

TEST(GridRuns, editsWhileRunActive_changeNothing) {
    auto data = RunGrid();
    const std::u16string before = data->GetGridText();
    for (int status : {StatusGenerating, StatusReverting}) {
        data->SetStatus(status);
        data->SetAcrossWord(1, 1, "XXXXX");
        data->EditDownWord(1, 1, u"yyyyy");
        EXPECT_EQ(data->GetGridText(), before) << status;
        EXPECT_EQ(data->engine->Square(1, 1), kOpen);
    }
}

TEST(ClearGrid, emptiesGridInDesignerStatesOnly) {
    const std::string grid =
        "AB!"
        "@?@"
        "!CD";
    struct Case {
        int status;
        bool clears;
    } cases[] = {
        {StatusDesigning, true},   {StatusExhausted, true},  {StatusNoStart, true}, {StatusDuplicates, true},
        {StatusGenerating, false}, {StatusReverting, false}, {StatusFilled, false},
    };
    for (const Case& c : cases) {
        auto data = PuzzleWithGrid(grid, 3);
        data->circled[4] = 1;
        data->cellNumbers[0] = 1;
        data->title = u"Kept";
        data->clues.push_back(ClueEntry{1, u"ACROSS", u"clue", u"AB", {}});
        data->SetStatus(c.status);
        data->ClearGrid();
        EXPECT_EQ(Narrow(data->GetGridText()), c.clears ? "@@@@@@@@@" : grid) << "status " << c.status;
        EXPECT_EQ(data->circled[4], 1);
        EXPECT_EQ(data->cellNumbers[0], 1);
        EXPECT_EQ(data->title, u"Kept");
        EXPECT_EQ(data->clues.size(), 1u);
    }
}

}  // namespace
}  // namespace korvo
