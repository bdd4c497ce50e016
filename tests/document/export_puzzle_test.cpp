#include "document/export_puzzle.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "document/export_fixture.h"
#include "document/ipuz_export.h"
#include "document/puz_export.h"
#include "document/text_export.h"

namespace korvo {
namespace {

ExportPuzzle Grid(const std::vector<std::u16string>& rows) {
    ExportPuzzle p;
    p.size = static_cast<int>(rows.size());
    for (const auto& r : rows) p.gridText += r;
    return p;
}

TEST(ExportNumbering, numbersSquaresThatStartEntriesRowByRow) {
    const ExportPuzzle p = Grid({u"CAB!", u"AREA", u"PEAR", u"!ARE"});
    const GridNumbering g = NumberGrid(p);
    const std::vector<int> numbers = {1, 2, 3, 0, 4, 0, 0, 5, 6, 0, 0, 0, 0, 7, 0, 0};
    EXPECT_EQ(g.cellNumbers, numbers);
    struct E {
        int number;
        bool down;
        int row, column, length;
    };
    const E expected[] = {{1, false, 0, 0, 3}, {1, true, 0, 0, 3}, {2, true, 0, 1, 4},  {3, true, 0, 2, 4},
                          {4, false, 1, 0, 4}, {5, true, 1, 3, 3}, {6, false, 2, 0, 4}, {7, false, 3, 1, 3}};
    ASSERT_EQ(g.entries.size(), std::size(expected));
    for (std::size_t i = 0; i < g.entries.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(g.entries[i].number, expected[i].number);
        EXPECT_EQ(g.entries[i].down, expected[i].down);
        EXPECT_EQ(g.entries[i].row, expected[i].row);
        EXPECT_EQ(g.entries[i].column, expected[i].column);
        EXPECT_EQ(g.entries[i].length, expected[i].length);
    }
}

TEST(ExportNumbering, singleSquaresAndBadShapesGiveNoEntries) {
    // An open square between blocks starts nothing; a 1 x 1 grid has no entry.
    EXPECT_TRUE(NumberGrid(Grid({u"A!A", u"!!!", u"A!A"})).entries.empty());
    EXPECT_TRUE(NumberGrid(Grid({u"A"})).entries.empty());
    ExportPuzzle bad = Grid({u"AB", u"CD"});
    bad.gridText.pop_back();
    EXPECT_FALSE(CheckGridShape(bad).empty());
    EXPECT_TRUE(NumberGrid(bad).entries.empty());
    EXPECT_TRUE(NumberGrid(bad).cellNumbers.empty());
}

TEST(ExportClueCheck, acceptsExactlyOneClueForEachEntry) {
    ExportPuzzle p = Grid({u"AB", u"CD"});
    const GridNumbering g = NumberGrid(p);  // 1A 1D 2D 3A
    p.clues = {{1, false, u"", u""}, {3, false, u"", u""}, {1, true, u"", u""}, {2, true, u"", u""}};
    EXPECT_EQ(CheckCluesMatchGrid(p, g), "");
    p.clues.pop_back();
    EXPECT_NE(CheckCluesMatchGrid(p, g), "");
    p.clues.push_back({2, false, u"", u""});
    EXPECT_NE(CheckCluesMatchGrid(p, g), "");
}

// The three encoded writers, by name.
struct Writer {
    const char* name;
    ExportResult (*write)(const ExportPuzzle&);
};
constexpr Writer kWriters[] = {
    {"text", &WriteTextExport},
    {"puz", &WritePuzExport},
    {"ipuz", &WriteIpuzExport},
};

TEST(ExportClueCheck, everyWriterRefusesTheSameDamagedListsWithTheSameReason) {
    using testsupport::SmallPuzzle;  // entries 1A 4A 6A 7A, 1D 2D 3D 5D
    struct Fault {
        const char* name;
        void (*damage)(ExportPuzzle&);
        const char* error;
    };
    const Fault faults[] = {
        {"a clue missing", [](ExportPuzzle& p) { p.clues.erase(p.clues.begin() + 2); }, "entry 6 Across has no clue"},
        {"a number beyond the grid", [](ExportPuzzle& p) { p.clues[3].number = 93; },
         "clue 93 Across has no entry in the grid"},
        {"a clue twice", [](ExportPuzzle& p) { p.clues.push_back(p.clues[0]); }, "clue 1 Across appears twice"},
        {"the wrong direction", [](ExportPuzzle& p) { p.clues[1].down = true; },
         "clue 4 Down has no entry in the grid"},
    };
    for (const Writer& writer : kWriters) {
        EXPECT_TRUE(writer.write(SmallPuzzle()).ok()) << writer.name << " writes the sound puzzle";
        for (const Fault& fault : faults) {
            SCOPED_TRACE(std::string(writer.name) + ": " + fault.name);
            ExportPuzzle p = SmallPuzzle();
            fault.damage(p);
            const ExportResult r = writer.write(p);
            EXPECT_EQ(r.error, fault.error);
            EXPECT_TRUE(r.bytes.empty());
        }
    }
}

TEST(ExportClueText, lineBreaksInsideAClue_becomeOneSpaceInEveryFormat) {
    ExportPuzzle p = testsupport::SmallPuzzle();
    p.notepad.clear();  // the notepad keeps its breaks; only the clue is looked at
    p.clues[0].clue = u"Cab\r\nride\nor\rtaxi\u2028or\u2029hack";
    EXPECT_EQ(ClueOnOneLine(p.clues[0].clue), u"Cab ride or taxi or hack");
    for (const Writer& writer : kWriters) {
        SCOPED_TRACE(writer.name);
        const ExportResult r = writer.write(p);
        ASSERT_TRUE(r.ok()) << r.error;
        EXPECT_NE(r.bytes.find("Cab ride or taxi or hack"), std::string::npos);
        for (const char* broken : {"Cab\r", "ride\n", "or\r", "\\r", "\\n", "\\u2028", "\xe2\x80\xa8"})
            EXPECT_EQ(r.bytes.find(broken), std::string::npos) << "the break is kept as " << broken;
    }
}

TEST(ExportSolution, foldsLowerCaseKeepsBlocksAndNamesTheFirstSquareWithoutALetter) {
    struct Case {
        std::vector<std::u16string> rows;
        std::u16string letters;  // expected when error is empty
        std::string error;
    };
    const Case cases[] = {
        {{u"CAB!", u"AREA", u"PEAR", u"!ARE"}, u"CAB!AREAPEAR!ARE", ""},
        {{u"ab", u"!z"}, u"AB!Z", ""},
        {{u"AB", u"C@"}, u"", "square 2,2 holds no letter"},
        {{u"A?", u"@D"}, u"", "square 1,2 holds no letter"},
        {{u"A\u00e9", u"CD"}, u"", "square 1,2 holds no letter"},
        // The characters next to the letter ranges, a digit and a space.
        {{u"AB", u"@D"}, u"", "square 2,1 holds no letter"},
        {{u"AB", u"[D"}, u"", "square 2,1 holds no letter"},
        {{u"AB", u"`D"}, u"", "square 2,1 holds no letter"},
        {{u"AB", u"{D"}, u"", "square 2,1 holds no letter"},
        {{u"AB", u"1D"}, u"", "square 2,1 holds no letter"},
        {{u"AB", u" D"}, u"", "square 2,1 holds no letter"},
    };
    // A bad shape is refused before any square is looked at.
    for (const int size : {0, 2, -1}) {
        ExportPuzzle bad = Grid({u"AB", u"CD"});
        bad.size = size;
        bad.gridText += u"E";
        std::u16string letters;
        EXPECT_EQ(SolutionLetters(bad, letters), CheckGridShape(bad)) << size;
        EXPECT_FALSE(CheckGridShape(bad).empty());
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.rows[0].begin(), c.rows[0].end()) + "/" +
                     std::string(c.rows[1].begin(), c.rows[1].end()));
        std::u16string letters;
        EXPECT_EQ(SolutionLetters(Grid(c.rows), letters), c.error);
        if (c.error.empty()) {
            EXPECT_EQ(letters, c.letters);
        }
    }
}

TEST(ExportEncoding, writesOneBytePerCharacterInLatin1) {
    struct Case {
        std::u16string in;
        std::string out;
    };
    std::u16string lone = u"a";
    lone += char16_t{0xDC00};
    std::u16string highAtEnd = u"b";
    highAtEnd += char16_t{0xD83D};
    const Case cases[] = {
        {u"plain ASCII ~", "plain ASCII ~"},
        {u"caf\u00e9 \u00a9 \u00ff \u00a0", "caf\xe9 \xa9 \xff \xa0"},
        {u"\u2018a\u2019 \u201cb\u201d \u201e", "'a' \"b\" \""},
        {u"x\u2013y\u2014z\u2026", "x-y--z..."},
        {u"\u0141\u03c0\u20ac\u2122", "????"},  // above U+00FF, including the euro sign
        {u"\U0001F600", "?"},                   // a surrogate pair is one character
        {lone, "a?"},
        {highAtEnd, "b?"},
        {std::u16string(u"n\0l", 3), "n?l"},  // no NUL may reach a NUL-terminated string
        {u"c1\u0085\u0080\u009f", "c1???"},   // control codes read as cp1252 punctuation
        {u"tab\tcr\rlf\n", "tab\tcr\rlf\n"},
    };
    for (const Case& c : cases) EXPECT_EQ(EncodeAcrossLiteText(c.in), c.out);
}

}  // namespace
}  // namespace korvo
