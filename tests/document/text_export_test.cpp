#include "document/text_export.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "document/export_fixture.h"

namespace korvo {
namespace {

using testsupport::SmallPuzzle;

// The file's lines; fails the test on a line end other than CR LF.
std::vector<std::string> Lines(const std::string& bytes) {
    std::vector<std::string> lines;
    std::size_t at = 0;
    while (at < bytes.size()) {
        const std::size_t end = bytes.find("\r\n", at);
        if (end == std::string::npos) {
            ADD_FAILURE() << "file does not end with CR LF";
            break;
        }
        lines.push_back(bytes.substr(at, end - at));
        at = end + 2;
    }
    for (const std::string& l : lines)
        EXPECT_EQ(l.find_first_of("\r\n"), std::string::npos) << "lone CR or LF in: " << l;
    return lines;
}

std::string Export(const ExportPuzzle& p) {
    const ExportResult r = WriteTextExport(p);
    EXPECT_TRUE(r.ok()) << r.error;
    return r.bytes;
}

// Index of the first line equal to text, or -1.
int Find(const std::vector<std::string>& lines, const std::string& text) {
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (lines[i] == text) return static_cast<int>(i);
    return -1;
}

TEST(TextExport, smallPuzzle_writesTheWholeFileByteForByte) {
    const std::string expected =
        "<ACROSS PUZZLE V2>\r\n"
        "<TITLE>\r\n"
        "Small Puzzle ? 1\r\n"
        "<AUTHOR>\r\n"
        "Zo\xeb Example\r\n"
        "<COPYRIGHT>\r\n"
        "2026 by Zo\xeb\r\n"
        "<SIZE>\r\n"
        "4x4\r\n"
        "<GRID>\r\n"
        "CAB.\r\n"
        "ArEA\r\n"
        "PEaR\r\n"
        ".ARE\r\n"
        "<REBUS>\r\n"
        "MARK;\r\n"
        "<ACROSS>\r\n"
        "Taxi\r\n"
        "Zone\r\n"
        "Fruit with a \"neck\"\r\n"
        "Exist -- plural form\r\n"
        "<DOWN>\r\n"
        "Baseball hat\r\n"
        "Region\r\n"
        "Teddy's kind\r\n"
        "\"Is,\" plurally...\r\n"
        "<NOTEPAD>\r\n"
        "Line one\r\n"
        "Line two\r\n";
    EXPECT_EQ(Export(SmallPuzzle()), expected);
}

TEST(TextExport, fifteen_writesSizeLineAndFifteenRowsOfFifteen) {
    ExportPuzzle p;
    p.size = 15;
    p.gridText.assign(225, u'Q');
    p.gridText[0] = u'!';
    for (const GridEntry& e : NumberGrid(p).entries) p.clues.push_back({e.number, e.down, u"clue", u""});
    const auto lines = Lines(Export(p));
    ASSERT_GT(lines.size(), 26u);
    EXPECT_EQ(lines[7], "<SIZE>");
    EXPECT_EQ(lines[8], "15x15");
    EXPECT_EQ(lines[9], "<GRID>");
    std::string firstRow(15, 'Q');
    firstRow[0] = '.';
    EXPECT_EQ(lines[10], firstRow);
    for (int r = 11; r < 25; ++r) EXPECT_EQ(lines[r], std::string(15, 'Q'));
    EXPECT_EQ(lines[25], "<ACROSS>");
}

TEST(TextExport, circles_markLowerCaseLettersAndAddRebusOnlyForLetters) {
    struct Case {
        const char* name;
        std::vector<int> circled;
        std::vector<std::string> grid;
        bool rebus;
    };
    const Case cases[] = {
        {"no circles", {}, {"CAB.", "AREA", "PEAR", ".ARE"}, false},
        {"a circled E", {6}, {"CAB.", "AReA", "PEAR", ".ARE"}, true},
        {"a circled block alone", {3, 12}, {"CAB.", "AREA", "PEAR", ".ARE"}, false},
        {"a circled block and a letter", {3, 15}, {"CAB.", "AREA", "PEAR", ".ARe"}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ExportPuzzle p = SmallPuzzle();
        p.circled.assign(16, 0);
        for (int i : c.circled) p.circled[i] = 1;
        const auto lines = Lines(Export(p));
        ASSERT_GT(lines.size(), 16u);
        for (int r = 0; r < 4; ++r) EXPECT_EQ(lines[10 + r], c.grid[r]);
        EXPECT_EQ(lines[14] == "<REBUS>", c.rebus);
        EXPECT_EQ(lines[15] == "MARK;", c.rebus);
        EXPECT_EQ(lines[c.rebus ? 16 : 14], "<ACROSS>");
        EXPECT_EQ(Find(lines, "<REBUS>") >= 0, c.rebus);
    }
}

TEST(TextExport, uncircledLowerCaseGridLetters_areWrittenUpperCase) {
    ExportPuzzle p = SmallPuzzle();
    p.gridText = u"cab!areapear!are";
    p.circled.assign(16, 0);
    const auto lines = Lines(Export(p));
    EXPECT_EQ(lines[11], "AREA");
    EXPECT_EQ(Find(lines, "<REBUS>"), -1);
}

TEST(TextExport, copyright_dropsLeadingSignAndSpacesOnly) {
    struct Case {
        std::u16string in;
        std::string out;
    };
    const Case cases[] = {
        {u"\u00a9  2024 by Author", "2024 by Author"},
        {u"TO DO: \u00a9 2026 by Author", "TO DO: \xa9 2026 by Author"},
        {u"\u00a9 ", ""},
        {u"\u00a9", ""},
        {u"", ""},
        {u" \u00a9 2024", " \xa9 2024"},      // the sign is not first: kept
        {u"\u00a9\u00a9 2024", "\xa9 2024"},  // only the first sign goes
        {u"\u00a9 2024\r\nby Author", "2024 by Author"},
        {u"\u00a9 \u0141ukasz", "?ukasz"},
        {std::u16string(300, u'x'), std::string(254, 'x')},
        {u"\u00a9 " + std::u16string(260, u'y'), std::string(254, 'y')},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TextExportCopyright(c.in), c.out);
        ExportPuzzle p = SmallPuzzle();
        p.copyright = c.in;
        EXPECT_EQ(Lines(Export(p))[6], c.out);
    }
}

TEST(TextExport, clueSections_followTheGridsEntriesWithDownAlwaysMarked) {
    // Grids whose entries are the cases' clues. Full 3 x 3: across 1 4 5,
    // down 1 2 3.
    const std::vector<std::u16string> full = {u"CAT", u"ARE", u"BED"};
    struct Case {
        const char* name;
        std::vector<std::u16string> grid;
        std::vector<ExportClue> clues;
        std::vector<std::string> section;  // the lines from <ACROSS> to <NOTEPAD>
    };
    const Case cases[] = {
        {"across 1 4 5, down 1 2 3",
         full,
         {{1, false, u"a1", u""},
          {4, false, u"a4", u""},
          {5, false, u"a5", u""},
          {1, true, u"d1", u""},
          {2, true, u"d2", u""},
          {3, true, u"d3", u""}},
         {"<ACROSS>", "a1", "a4", "a5", "<DOWN>", "d1", "d2", "d3", "<NOTEPAD>"}},
        // The down numbers never drop below the last across number: the
        // down section is still marked.
        {"across 1 2, down 3 4",
         {u"AB!CD", u"!!!!!", u"E!F!!", u"G!H!!", u"!!!!!"},
         {{1, false, u"a1", u""}, {2, false, u"a2", u""}, {3, true, u"d3", u""}, {4, true, u"d4", u""}},
         {"<ACROSS>", "a1", "a2", "<DOWN>", "d3", "d4", "<NOTEPAD>"}},
        {"no down clue",
         {u"AB!", u"!!!", u"CD!"},
         {{1, false, u"a1", u""}, {2, false, u"a2", u""}},
         {"<ACROSS>", "a1", "a2", "<DOWN>", "<NOTEPAD>"}},
        {"no clue at all", {u"A!B", u"!!!", u"C!D"}, {}, {"<ACROSS>", "<DOWN>", "<NOTEPAD>"}},
        // A reader pairs the n-th line with the n-th entry of the grid: a
        // list out of order is written in the grid's order.
        {"across clues after the down ones stay in their section, in grid order",
         full,
         {{1, false, u"a1", u""},
          {1, true, u"d1", u""},
          {5, false, u"a5", u""},
          {3, true, u"d3", u""},
          {2, true, u"d2", u""},
          {4, false, u"a4", u""}},
         {"<ACROSS>", "a1", "a4", "a5", "<DOWN>", "d1", "d2", "d3", "<NOTEPAD>"}},
        {"line breaks inside clues become spaces",
         {u"AB", u"C!"},
         {{1, false, u"two\r\nlines", u""}, {1, true, u"cr\rlf\nend\n", u""}},
         {"<ACROSS>", "two lines", "<DOWN>", "cr lf end ", "<NOTEPAD>"}},
        // A clue that reads as a tag would end or start a section; an
        // empty one would be skipped and shift every later clue.
        {"tag-like clues lose their angle brackets",
         full,
         {{1, false, u"<DOWN>", u""},
          {4, false, u"  <NOTEPAD>\t", u""},
          {5, false, u"<b>bold</b>", u""},
          {1, true, u"a <tag> inside", u""},
          {2, true, u"<ACROSS", u""},
          {3, true, u"\u2039DOWN\u203a", u""}},
         {"<ACROSS>", "(DOWN)", "  (NOTEPAD)\t", "(b>bold</b)", "<DOWN>", "a <tag> inside", "<ACROSS", "(DOWN)",
          "<NOTEPAD>"}},
        {"empty clues are written as a dash",
         full,
         {{1, false, u"", u""},
          {4, false, u"   ", u""},
          {5, false, u"\n", u""},
          {1, true, u"d1", u""},
          {2, true, u"\t", u""},
          {3, true, u"d3", u""}},
         {"<ACROSS>", "-", "-", "-", "<DOWN>", "d1", "-", "d3", "<NOTEPAD>"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ExportPuzzle p = testsupport::MakePuzzle(c.grid);
        p.clues = c.clues;
        const auto lines = Lines(Export(p));
        const int from = Find(lines, "<ACROSS>");
        ASSERT_GE(from, 0);
        ASSERT_GE(lines.size(), static_cast<std::size_t>(from) + c.section.size());
        const std::vector<std::string> section(lines.begin() + from,
                                               lines.begin() + from + static_cast<int>(c.section.size()));
        EXPECT_EQ(section, c.section);
    }
}

TEST(TextExport, tagLikeTitleAuthorAndCopyright_loseTheirAngleBrackets) {
    ExportPuzzle p = SmallPuzzle();
    p.title = u"<GRID>";
    p.author = u"<by me>";
    p.copyright = u"\u00a9 <SIZE>";
    const auto lines = Lines(Export(p));
    EXPECT_EQ(lines[2], "(GRID)");
    EXPECT_EQ(lines[4], "(by me)");
    EXPECT_EQ(lines[6], "(SIZE)");
    EXPECT_EQ(Find(lines, "<GRID>"), 9) << "only the real tag reads as one";
}

TEST(TextExport, notepad_isLastWithCrLfLineBreaks) {
    struct Case {
        std::u16string notepad;
        std::string tail;  // the bytes after "<NOTEPAD>\r\n"
    };
    const Case cases[] = {
        {u"", "\r\n"},
        {u"one", "one\r\n"},
        {u"a\nb\r\nc\rd", "a\r\nb\r\nc\r\nd\r\n"},
        {u"\n\n", "\r\n\r\n\r\n"},
        {u"  indented\ttab", "  indented\ttab\r\n"},
        {u"caf\u00e9 \u263a", "caf\xe9 ?\r\n"},
    };
    for (const Case& c : cases) {
        ExportPuzzle p = SmallPuzzle();
        p.notepad = c.notepad;
        const std::string bytes = Export(p);
        const std::string marker = "<NOTEPAD>\r\n";
        const std::size_t at = bytes.rfind(marker);
        ASSERT_NE(at, std::string::npos);
        EXPECT_EQ(bytes.substr(at + marker.size()), c.tail);
    }
}

TEST(TextExport, oneLineTexts_haveNoLineBreaksAndOneBytePerCharacter) {
    ExportPuzzle p = SmallPuzzle();
    p.title = u"Title\non two lines";
    p.author = u"A\u00f1o \U0001F600 ";  // Latin-1, a surrogate pair, then a lone surrogate
    p.author += char16_t{0xD800};
    p.author += u"x";
    const auto lines = Lines(Export(p));
    EXPECT_EQ(lines[2], "Title on two lines");
    EXPECT_EQ(lines[4], "A\xf1o ? ?x");
}

TEST(TextExport, wrongShapeOrClueList_isRefused) {
    ExportPuzzle missing = SmallPuzzle();
    missing.clues.pop_back();
    const ExportResult refused = WriteTextExport(missing);
    EXPECT_EQ(refused.error, "entry 5 Down has no clue");
    EXPECT_TRUE(refused.bytes.empty());

    ExportPuzzle p = SmallPuzzle();
    p.gridText.pop_back();
    EXPECT_FALSE(WriteTextExport(p).ok());
    p = SmallPuzzle();
    p.size = 0;
    EXPECT_FALSE(WriteTextExport(p).ok());
    p = SmallPuzzle();
    p.size = 1000000;
    const ExportResult r = WriteTextExport(p);
    EXPECT_FALSE(r.ok());
    EXPECT_TRUE(r.bytes.empty());
}

}  // namespace
}  // namespace korvo
