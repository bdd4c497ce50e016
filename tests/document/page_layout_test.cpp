#include "document/page_layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace korvo {

void PrintTo(const PageRect& r, std::ostream* os) {
    *os << "(" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ")";
}
void PrintTo(const PagePoint& p, std::ostream* os) { *os << "(" << p.x << ", " << p.y << ")"; }

namespace {

// A monospaced face: every character (space included) advances half the
// font's height, or the requested width. A positive height is the line
// height; a negative one is the character height, with a fifth more as
// internal leading. Wrapping is greedy at spaces.
class FakeMeasurer : public TextMeasurer {
public:
    // Clue texts measured at a height above this report a word too wide.
    std::optional<int> tooWideAbove;
    // The clue font height of every layout attempt, in order (one "ACROSS" measure each).
    std::vector<int> layoutHeights;

    static int Advance(FontSize size) {
        if (size.width > 0) return size.width;
        const int h = size.height < 0 ? -size.height : size.height;
        return std::max(1, h / 2);
    }
    static int LineHeight(FontSize size) { return size.height > 0 ? size.height : (-size.height * 6) / 5; }

    TextExtent Extent(FontRole role, FontSize size, std::u16string_view text) override {
        if (role == FontRole::Clue && text == u"ACROSS") layoutHeights.push_back(size.height);
        return TextExtent{static_cast<int>(text.size()) * Advance(size), LineHeight(size)};
    }
    int SpaceWidth(FontRole, FontSize size) override { return Advance(size); }
    WrappedExtent Wrapped(FontRole, FontSize size, std::u16string_view text, int boxWidth) override {
        const std::int64_t advance = Advance(size);
        WrappedExtent out;
        std::int64_t lines = 1;
        std::int64_t lineWidth = 0;
        std::size_t start = 0;
        while (start <= text.size()) {
            std::size_t end = text.find(u' ', start);
            if (end == std::u16string_view::npos) end = text.size();
            const std::int64_t word = static_cast<std::int64_t>(end - start) * advance;
            if (word > boxWidth) out.tooWide = true;
            if (lineWidth > 0 && lineWidth + advance + word > boxWidth) {
                ++lines;
                lineWidth = word;
            } else {
                lineWidth += (lineWidth > 0 ? advance : 0) + word;
            }
            start = end + 1;
        }
        if (tooWideAbove && size.height > *tooWideAbove) out.tooWide = true;
        out.height = static_cast<int>(lines * LineHeight(size));
        return out;
    }
};

// The page used when no printer is available, with a full set of texts.
PageInput FallbackPage(bool rightSideGrid, int numberOffset = kScreenNumberOffset) {
    PageInput in;
    in.pageWidth = 8000;
    in.pageHeight = 10500;
    in.marginLeft = in.marginRight = in.marginTop = in.marginBottom = 250;
    in.numberOffset = numberOffset;
    in.rightSideGrid = rightSideGrid;
    in.gridSize = 15;
    in.highestNumber = 78;
    in.title = u"DAILY PUZZLE";   // 12 characters
    in.answerTitle = u"ANSWERS";  // 7 characters
    in.author = u"By Someone";    // 10 characters
    in.copyright = u"(c) 2024";   // 8 characters
    return in;
}

std::vector<ClueText> ManyClues(int across, int down, const std::u16string& text) {
    std::vector<ClueText> clues;
    for (int i = 1; i <= across; ++i) clues.push_back({i, text});
    for (int i = 1; i <= down; ++i) clues.push_back({i, text});
    return clues;
}

TEST(PageGeometry, fallbackPortraitPage_matchesTheDocumentedFigures) {
    FakeMeasurer m;
    const PageGeometry p = ComputePageGeometry(FallbackPage(true), m);

    EXPECT_EQ(p.left, 250);
    EXPECT_EQ(p.top, 250);
    EXPECT_EQ(p.x1, 7749);
    EXPECT_EQ(p.y1, 10249);
    EXPECT_EQ(p.cw, 7499);
    EXPECT_EQ(p.ch, 9999);
    EXPECT_FALSE(p.landscape);
    EXPECT_EQ(p.columnCount, 4);
    EXPECT_EQ(p.colW, 1874);
    EXPECT_EQ(p.cell, 249);
    EXPECT_EQ(p.gridWidth, 3735);

    // Title: character height 170, centred on 3999; the fake makes it
    // 12 x 85 wide and 204 high, with a space of 85 under it.
    EXPECT_TRUE(p.hasTitle);
    EXPECT_EQ(p.titleFontHeight, -170);
    EXPECT_EQ(p.titleAnchor, (PagePoint{3999, 250}));
    EXPECT_EQ(p.titleRect, (PageRect{3999 - 510, 250, 3999 + 510, 250 + 204}));
    EXPECT_EQ(p.yT, 250 + 85 + 204);

    // Grid on the right, under the title; numbers at character height 83,
    // whose space is 99 high (the gap).
    EXPECT_EQ(p.gx, 4014);
    EXPECT_EQ(p.gy, p.yT);
    EXPECT_EQ(p.numbersFontHeight, -83);
    EXPECT_EQ(p.g, 99);
    EXPECT_EQ(PuzzleSquareRect(p, 0, 0), (PageRect{4014, 539, 4263, 788}));
    EXPECT_EQ(PuzzleSquareRect(p, 14, 14), (PageRect{4014 + 14 * 249, 539 + 14 * 249, 7749, 539 + 3735}));
    EXPECT_EQ(NumberAnchor(p, 0, 0), (PagePoint{4014 + 20, 539 + 20}));
    EXPECT_EQ(NumberAnchor(p, 2, 3), (PagePoint{4014 + 3 * 249 + 20, 539 + 2 * 249 + 20}));

    // Author and copyright under the grid, one line of cell - k.
    EXPECT_EQ(p.authorY, 539 + 3735 + 3);
    EXPECT_EQ(p.authorAnchor, (PagePoint{4014, 4277}));
    EXPECT_EQ(p.authorRect, (PageRect{4014, 4277, 4014 + 10 * 41, 4277 + 229}));
    EXPECT_EQ(p.copyrightAnchor, (PagePoint{7749, 4277}));
    EXPECT_EQ(p.copyrightRect, (PageRect{7749 - 8 * 41, 4277, 7749, 4277 + 229}));
    EXPECT_EQ(p.yb, 4277 + 229 + 99);

    // Answer grid bottom left, its title 2 units above it.
    EXPECT_TRUE(p.hasAnswerGrid);
    EXPECT_EQ(p.aCell, 166);
    EXPECT_EQ(p.aW, 2490);
    EXPECT_EQ(p.ax, 879);
    EXPECT_EQ(p.ay, 7759);
    EXPECT_EQ(p.ay + p.aW, p.y1);
    EXPECT_EQ(p.aH, 133);
    EXPECT_EQ(p.answerTitleAnchor, (PagePoint{879 + 1245, 7759 - 2 - 133}));
    EXPECT_EQ(p.answerTitleRect, (PageRect{2124 - 231, 7624, 2124 + 231, 7757}));
    EXPECT_EQ(p.yA, 7624 - 99);
    EXPECT_EQ(AnswerSquareRect(p, 0, 0), (PageRect{879, 7759, 1045, 7925}));
    EXPECT_EQ(AnswerSquareRect(p, 14, 14), (PageRect{879 + 14 * 166, 7759 + 14 * 166, 879 + 2490, 10249}));
    EXPECT_EQ(LetterAnchor(AnswerSquareRect(p, 0, 0), p.aH), (PagePoint{879 + 83, 7759 + 83 - (22 + 44)}));

    // Columns: bases 250, 2125, 4000, 5875; the answer side stops above the
    // answer title, the grid side starts under the author line.
    EXPECT_EQ(p.columns[0], (PageRect{250, 539, 250 + 1874 - 99, 7525}));
    EXPECT_EQ(p.columns[1], (PageRect{2125, 539, 2125 + 1874 - 99, 7525}));
    EXPECT_EQ(p.columns[2], (PageRect{4000, 4605, 4000 + 1874 - 99, 10249}));
    EXPECT_EQ(p.columns[3], (PageRect{5875, 4605, 5875 + 1874 - 99, 10249}));
    EXPECT_EQ(p.columns[4], PageRect{});
}

TEST(PageGeometry, gridOnTheLeft_movesAnswerGridRightAndGapsToColumnStarts) {
    FakeMeasurer m;
    const PageGeometry p = ComputePageGeometry(FallbackPage(false), m);

    EXPECT_EQ(p.gx, 250);
    EXPECT_EQ(p.ax, 4630);
    EXPECT_EQ(p.ax, 7749 - 629 - 2490);
    EXPECT_EQ(p.ay, 7759);
    EXPECT_EQ(p.authorRect.left, 250);
    EXPECT_EQ(p.copyrightRect.right, 250 + 3735);
    EXPECT_EQ(p.columns[0], (PageRect{250 + 99, 4605, 250 + 1874, 10249}));
    EXPECT_EQ(p.columns[1], (PageRect{2125 + 99, 4605, 2125 + 1874, 10249}));
    EXPECT_EQ(p.columns[2], (PageRect{4000 + 99, 539, 4000 + 1874, 7525}));
    EXPECT_EQ(p.columns[3], (PageRect{5875 + 99, 539, 5875 + 1874, 7525}));
    EXPECT_EQ(p.columns[3].right, p.x1);
}

TEST(PageGeometry, printerOffset_raisesNumbersAndShortensTheAuthorLine) {
    FakeMeasurer m;
    const PageGeometry screen = ComputePageGeometry(FallbackPage(true, kScreenNumberOffset), m);
    const PageGeometry paper = ComputePageGeometry(FallbackPage(true, kPrinterNumberOffset), m);

    EXPECT_EQ(NumberAnchor(screen, 0, 0), (PagePoint{4014 + 20, 539 + 20}));
    EXPECT_EQ(NumberAnchor(paper, 0, 0), (PagePoint{4014 + 20, 539 + 10}));
    EXPECT_EQ(paper.authorRect.bottom, paper.authorY + 249 - 10);
    EXPECT_EQ(paper.yb, paper.authorY + 239 + 99);
    EXPECT_EQ(paper.columns[2].top, paper.yb);
}

TEST(PageGeometry, landscapePage_fiveColumnsAndTitleFromHeight) {
    FakeMeasurer m;
    for (bool right : {true, false}) {
        SCOPED_TRACE(right ? "grid right" : "grid left");
        PageInput in = FallbackPage(right);
        in.pageWidth = 11000;
        in.pageHeight = 8500;
        const PageGeometry p = ComputePageGeometry(in, m);

        EXPECT_EQ(p.cw, 10499);
        EXPECT_EQ(p.ch, 7999);
        EXPECT_TRUE(p.landscape);
        EXPECT_EQ(p.columnCount, 5);
        EXPECT_EQ(p.colW, 2099);
        EXPECT_EQ(p.cell, 279);
        // (7999/2) / (15 + 7); from the width it would be 238.
        EXPECT_EQ(p.titleFontHeight, -181);

        const int bases[5] = {250, 2350, 4450, 6550, 8650};
        for (int i = 0; i < 5; ++i) {
            const int left = right ? bases[i] : bases[i] + p.g;
            const int rightEdge = right ? bases[i] + 2099 - p.g : bases[i] + 2099;
            EXPECT_EQ(p.columns[i].left, left) << i;
            EXPECT_EQ(p.columns[i].right, rightEdge) << i;
        }
        // The middle column always runs the full height.
        EXPECT_EQ(p.columns[2].top, p.yT);
        EXPECT_EQ(p.columns[2].bottom, p.y1);
        if (right) {
            EXPECT_EQ(p.gx, p.x1 - 15 * 279);
            EXPECT_EQ(p.columns[0].bottom, p.yA);
            EXPECT_EQ(p.columns[3].top, p.yb);
            EXPECT_EQ(p.columns[4].top, p.yb);
            EXPECT_EQ(p.columns[4].bottom, p.y1);
        } else {
            EXPECT_EQ(p.columns[0].top, p.yb);
            EXPECT_EQ(p.columns[3].top, p.yT);
            EXPECT_EQ(p.columns[4].bottom, p.yA);
            EXPECT_EQ(p.columns[4].right, p.x1);
        }
    }
}

TEST(PageGeometry, titleWiderThanTheContent_shrinksToTheLargestHeightThatFits) {
    // The fake face advances half the character height per character.
    struct Case {
        const char* name;
        bool landscape;
        std::size_t length;  // characters of the title
        int height;          // the title's character height
    };
    const Case cases[] = {
        {"a title that fits keeps its height", false, 12, 170},
        {"just fits: 88 characters of 85", false, 88, 170},
        {"100 characters, 74 each", false, 100, 149},
        {"150 characters, 49 each", false, 150, 99},
        {"too long at any height", false, 10000, 1},
        {"landscape: 100 characters fit at 90", true, 100, 181},
        {"landscape: 150 characters, 69 each", true, 150, 139},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeMeasurer m;
        PageInput in = FallbackPage(true);
        if (c.landscape) {
            in.pageWidth = 11000;
            in.pageHeight = 8500;
        }
        in.title = std::u16string(c.length, u'W');
        const PageGeometry p = ComputePageGeometry(in, m);
        EXPECT_EQ(p.titleFontHeight, -c.height);
        const int width = static_cast<int>(c.length) * std::max(1, c.height / 2);
        if (c.height > 1) {
            EXPECT_GE(p.titleRect.left, p.left);
            EXPECT_LE(p.titleRect.right, p.x1);
            EXPECT_EQ(RectWidth(p.titleRect), width / 2 * 2);
        }
        // The page below the title follows its real height.
        EXPECT_EQ(p.yT, p.top + std::max(1, c.height / 2) + (c.height * 6) / 5);
        EXPECT_EQ(p.gy, p.yT);
    }
}

TEST(PageGeometry, emptyTexts_dropTitleAndAnswerGrid) {
    FakeMeasurer m;
    for (bool right : {true, false}) {
        SCOPED_TRACE(right ? "grid right" : "grid left");
        PageInput in = FallbackPage(right);
        in.title.clear();
        in.answerTitle.clear();
        const PageGeometry p = ComputePageGeometry(in, m);

        EXPECT_FALSE(p.hasTitle);
        EXPECT_EQ(p.titleRect, PageRect{});
        EXPECT_EQ(p.yT, 250);
        EXPECT_EQ(p.gy, 250);

        EXPECT_FALSE(p.hasAnswerGrid);
        EXPECT_EQ(p.answerTitleRect, PageRect{});
        EXPECT_EQ(AnswerSquareRect(p, 0, 0), PageRect{});
        EXPECT_EQ(p.yA, p.y1);
        for (int i = 0; i < 4; ++i) EXPECT_EQ(p.columns[i].bottom, 10249) << i;
    }
}

// Inputs no real page has must still give a finite, non-dividing-by-zero
// geometry and a fit that ends.
TEST(PageGeometry, degenerateInputs_giveDefinedGeometry) {
    struct Case {
        const char* name;
        int width, height, margin, gridSize;
    };
    const Case cases[] = {
        {"no grid", 8000, 10500, 250, 0},
        {"negative grid size", 8000, 10500, 250, -3},
        {"grid larger than the model holds", 8000, 10500, 250, 1000},
        {"page smaller than its margins", 10, 10, 250, 15},
        {"empty page", 0, 0, 0, 15},
        {"huge page", INT_MAX, INT_MAX, 0, 15},
        {"negative margins", 8000, 10500, INT_MIN, 15},
        {"huge margins", 8000, 10500, INT_MAX, 15},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeMeasurer m;
        PageInput in = FallbackPage(true);
        in.pageWidth = c.width;
        in.pageHeight = c.height;
        in.marginLeft = in.marginRight = in.marginTop = in.marginBottom = c.margin;
        in.gridSize = c.gridSize;
        in.clues = ManyClues(3, 3, u"A short clue");
        const PageGeometry p = ComputePageGeometry(in, m);

        EXPECT_GE(p.n, 0);
        EXPECT_LE(p.n, kMaxGridSide);
        EXPECT_GE(p.colW, 0);
        EXPECT_GE(p.cell, 0);
        EXPECT_GE(p.aCell, 0);
        EXPECT_LT(p.titleFontHeight, 0);
        EXPECT_LT(p.numbersFontHeight, 0);
        EXPECT_GT(p.aH, 0);
        EXPECT_EQ(PuzzleSquareRect(p, p.n, 0), PageRect{});

        const ClueFontFit fit = FitClueFont(p, in, m);
        EXPECT_GE(fit.font.height, kMinClueFontHeight);
        const ClueLayout placed = LayoutClueColumns(p, in, fit.font, m, ClueLayoutMode::Place);
        EXPECT_LE(placed.clues.size(), in.clues.size());
    }
}

TEST(ClueLayout, numberColumn_widensForThreeDigitNumbers) {
    const PageRect columns[] = {{0, 0, 1000, 5000}};
    const struct {
        int highest;
        int digitsAndSpace;
    } cases[] = {{0, 3}, {99, 3}, {100, 4}, {250, 4}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.highest);
        FakeMeasurer m;
        const ClueLayout out =
            LayoutClueColumns(columns, 1, {{1, u"Clue"}}, c.highest, FontSize{100, 0}, m, ClueLayoutMode::Place);
        ASSERT_TRUE(out.fits);
        EXPECT_EQ(out.numberWidth, c.digitsAndSpace * 50);
        ASSERT_EQ(out.clues.size(), 1u);
        EXPECT_EQ(RectWidth(out.clues[0].numberBox), c.digitsAndSpace * 50);
        EXPECT_EQ(out.clues[0].textBox.left, c.digitsAndSpace * 50 + 1);
    }
}

// With the fake at height 100: lines and headings are 100 high, half = 50,
// characters 50 wide, the number column "00 " 150 wide, so a short clue is
// one line and clues follow each other every 101 units from y = 150.
TEST(ClueLayout, placement_stacksCluesAndMovesThemToTheNextColumn) {
    const PageRect columns[] = {{0, 0, 1000, 1030}, {1100, 0, 2100, 1030}};
    FakeMeasurer m;
    const ClueLayout out =
        LayoutClueColumns(columns, 2, ManyClues(9, 0, u"ABC"), 9, FontSize{100, 0}, m, ClueLayoutMode::Place);

    ASSERT_TRUE(out.fits);
    EXPECT_EQ(out.across.box, columns[0]);
    EXPECT_FALSE(out.down.placed);
    ASSERT_EQ(out.clues.size(), 9u);
    EXPECT_EQ(out.clues[0].numberBox, (PageRect{0, 150, 150, 1030}));
    EXPECT_EQ(out.clues[0].textBox, (PageRect{151, 150, 1000, 1030}));
    EXPECT_EQ(out.clues[0].drawnRect, (PageRect{0, 150, 1000, 250}));
    EXPECT_EQ(out.clues[1].drawnRect.top, 251);
    EXPECT_EQ(out.clues[7].drawnRect, (PageRect{0, 857, 1000, 957}));
    // 958 + 100 passes the bottom: the ninth clue starts the next column.
    EXPECT_EQ(out.clues[8].column, 1);
    EXPECT_EQ(out.clues[8].drawnRect, (PageRect{1100, 0, 2100, 100}));
    EXPECT_EQ(out.clues[8].textBox.left, 1100 + 151);
}

TEST(ClueLayout, downHeading_staysWhenItsFirstClueFollows) {
    const PageRect columns[] = {{0, 0, 1000, 1030}, {1100, 0, 2100, 1030}};
    FakeMeasurer m;
    // Five across clues end at 755; DOWN at 705, its first clue at 855..955.
    const ClueLayout out =
        LayoutClueColumns(columns, 2, ManyClues(5, 2, u"ABC"), 5, FontSize{100, 0}, m, ClueLayoutMode::Place);

    ASSERT_TRUE(out.fits);
    EXPECT_TRUE(out.down.placed);
    EXPECT_EQ(out.down.column, 0);
    EXPECT_EQ(out.down.box, (PageRect{0, 705, 1000, 1030}));
    ASSERT_EQ(out.clues.size(), 7u);
    EXPECT_EQ(out.clues[5].column, 0);
    EXPECT_EQ(out.clues[5].drawnRect.top, 855);
}

TEST(ClueLayout, downHeading_movesWithItsFirstClueToTheNextColumn) {
    const PageRect columns[] = {{0, 0, 1000, 1030}, {1100, 0, 2100, 1030}};
    FakeMeasurer m;
    // Six across clues end at 756: DOWN would sit at 806 and its first clue
    // at 956..1056, past the bottom, so both go to the next column rather
    // than leaving the heading alone at the foot of this one.
    const ClueLayout out =
        LayoutClueColumns(columns, 2, ManyClues(6, 2, u"ABC"), 6, FontSize{100, 0}, m, ClueLayoutMode::Place);

    ASSERT_TRUE(out.fits);
    EXPECT_EQ(out.down.column, 1);
    EXPECT_EQ(out.down.box, columns[1]);
    ASSERT_EQ(out.clues.size(), 8u);
    EXPECT_EQ(out.clues[6].column, 1);
    EXPECT_EQ(out.clues[6].drawnRect, (PageRect{1100, 150, 2100, 250}));
    EXPECT_EQ(out.clues[7].drawnRect.top, 251);
}

TEST(ClueLayout, downHeadingWithoutANextColumn_failsAndStopsPlacing) {
    const PageRect columns[] = {{0, 0, 1000, 1030}};
    for (ClueLayoutMode mode : {ClueLayoutMode::Measure, ClueLayoutMode::Place}) {
        FakeMeasurer m;
        const ClueLayout out = LayoutClueColumns(columns, 1, ManyClues(6, 2, u"ABC"), 6, FontSize{100, 0}, m, mode);
        EXPECT_FALSE(out.fits);
        EXPECT_FALSE(out.down.placed);
        if (mode == ClueLayoutMode::Place) {
            EXPECT_EQ(out.clues.size(), 6u);
        }
    }
}

TEST(ClueLayout, clueTallerThanAColumn_failsEvenBeforeTheLastColumn) {
    // Four ten-letter words wrap to four lines, 400 high, in columns 300 high.
    const PageRect columns[] = {{0, 0, 1000, 300}, {1100, 0, 2100, 300}, {2200, 0, 3200, 300}};
    const std::vector<ClueText> clues = {{1, u"AAAAAAAAAA BBBBBBBBBB CCCCCCCCCC DDDDDDDDDD"}, {2, u"ABC"}};
    FakeMeasurer m;
    EXPECT_FALSE(LayoutClueColumns(columns, 3, clues, 2, FontSize{100, 0}, m, ClueLayoutMode::Measure).fits);
    const ClueLayout placed = LayoutClueColumns(columns, 3, clues, 2, FontSize{100, 0}, m, ClueLayoutMode::Place);
    EXPECT_FALSE(placed.fits);
    EXPECT_TRUE(placed.clues.empty());
}

TEST(ClueLayout, wordWiderThanColumn_failsMeasuringButIsStillPlaced) {
    const PageRect columns[] = {{0, 0, 1000, 5000}};
    const std::vector<ClueText> clues = {{1, u"ANTIDISESTABLISHMENTARIANISM"}};
    FakeMeasurer m;
    EXPECT_FALSE(LayoutClueColumns(columns, 1, clues, 1, FontSize{100, 0}, m, ClueLayoutMode::Measure).fits);
    const ClueLayout placed = LayoutClueColumns(columns, 1, clues, 1, FontSize{100, 0}, m, ClueLayoutMode::Place);
    EXPECT_TRUE(placed.fits);
    EXPECT_EQ(placed.clues.size(), 1u);
}

TEST(ClueFontFit, searchOrder_upByTenThenDownByOne) {
    const PageRect columns[] = {{0, 0, 2000, 9000}};
    const std::vector<ClueText> clues = ManyClues(2, 2, u"ABC");
    const struct {
        int limit;
        int expected;
        std::vector<int> tried;
    } cases[] = {
        {127, 127, {100, 110, 120, 130, 129, 128, 127}},
        {130, 130, {100, 110, 120, 130, 140, 139, 138, 137, 136, 135, 134, 133, 132, 131, 130}},
        {100, 100, {100, 110, 109, 108, 107, 106, 105, 104, 103, 102, 101, 100}},
        {97, 97, {100, 99, 98, 97}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.limit);
        FakeMeasurer m;
        m.tooWideAbove = c.limit;
        const ClueFontFit fit = FitClueFont(columns, 1, clues, 2, m);
        EXPECT_TRUE(fit.fits);
        EXPECT_EQ(fit.font, (FontSize{c.expected, 0}));
        EXPECT_EQ(m.layoutHeights, c.tried);
    }
}

TEST(ClueFontFit, nothingFits_stopsAtTheFloor) {
    const PageRect columns[] = {{0, 0, 2000, 9000}};
    FakeMeasurer m;
    m.tooWideAbove = 0;
    const ClueFontFit fit = FitClueFont(columns, 1, ManyClues(2, 2, u"ABC"), 2, m);
    EXPECT_FALSE(fit.fits);
    EXPECT_EQ(fit.font.height, kMinClueFontHeight);
    ASSERT_EQ(m.layoutHeights.size(), 100u);
    EXPECT_EQ(m.layoutHeights.back(), 1);
}

TEST(ClueFontFit, noClues_climbEndsAtTheTallestColumn) {
    const PageRect columns[] = {{0, 0, 2000, 800}, {0, 0, 2000, 1234}};
    FakeMeasurer m;
    const ClueFontFit fit = FitClueFont(columns, 2, {}, 0, m);
    EXPECT_TRUE(fit.fits);
    EXPECT_EQ(fit.font.height, 1230);
}

TEST(ClueFontFit, fallbackPage_longWordForcesASmallerFont) {
    FakeMeasurer m;
    PageInput in = FallbackPage(true);
    in.clues = ManyClues(38, 38, u"Some ordinary words of a clue");
    const PageGeometry p = ComputePageGeometry(in, m);
    const ClueFontFit normal = FitClueFont(p, in, m);
    ASSERT_TRUE(normal.fits);
    EXPECT_TRUE(LayoutClueColumns(p, in, normal.font, m, ClueLayoutMode::Place).fits);
    EXPECT_FALSE(LayoutClueColumns(p, in, FontSize{normal.font.height + 1, 0}, m, ClueLayoutMode::Measure).fits);

    // A 40-letter word must fit 1775 - 3 (h/2) - 1 units: h/2 at most 41.
    in.clues[10].text = u"A " + std::u16string(40, u'X') + u" clue";
    const ClueFontFit shrunk = FitClueFont(p, in, m);
    EXPECT_TRUE(shrunk.fits);
    EXPECT_LT(shrunk.font.height, normal.font.height);
    EXPECT_EQ(shrunk.font.height, 83);
    EXPECT_FALSE(LayoutClueColumns(p, in, normal.font, m, ClueLayoutMode::Measure).fits);

    const ClueLayout placed = LayoutClueColumns(p, in, shrunk.font, m, ClueLayoutMode::Place);
    ASSERT_TRUE(placed.fits);
    ASSERT_EQ(placed.clues.size(), in.clues.size());
    EXPECT_TRUE(placed.down.placed);
    for (const CluePlacement& c : placed.clues) {
        const PageRect& column = p.columns[c.column];
        EXPECT_GE(c.drawnRect.top, column.top);
        EXPECT_LE(c.drawnRect.bottom, column.bottom);
    }
}

TEST(ClueText, numberTexts) {
    EXPECT_EQ(SquareNumberText(7), u"7");
    EXPECT_EQ(SquareNumberText(123), u"123");
    EXPECT_EQ(ClueNumberText(42), u"42 ");
}

TEST(GridViewGeometry, squaresLettersAndBanner_followTheDeviceHeight) {
    const struct {
        int deviceHeight, n, s, h;
        PageRect grid, banner;
        int letterDrop;
    } cases[] = {
        {11250, 15, 375, 300, {250, 250, 5875, 5875}, {250, 6250, 5875, 6625}, 37},
        {-11250, 15, 375, 300, {250, 250, 5875, 5875}, {250, 6250, 5875, 6625}, 37},
        // The banner (4005 wide) is narrower than the grid (5607).
        {11250,
         21,
         267,
         214,
         {250, 250, 250 + 5607, 250 + 5607},
         {250, 250 + 22 * 267, 250 + 4005, 250 + 23 * 267},
         27},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.n);
        const GridViewGeometry v = ComputeGridViewGeometry(c.deviceHeight, c.n);
        EXPECT_EQ(v.s, c.s);
        EXPECT_EQ(v.letterHeight, c.h);
        EXPECT_EQ(v.gridRect, c.grid);
        EXPECT_EQ(v.bannerRect, c.banner);
        const PageRect square = GridViewSquareRect(v, 1, 2);
        EXPECT_EQ(square, (PageRect{250 + 2 * c.s, 250 + c.s, 250 + 3 * c.s, 250 + 2 * c.s}));
        EXPECT_EQ(LetterAnchor(square, v.letterHeight), (PagePoint{square.left + c.s / 2, square.top + c.letterDrop}));
        EXPECT_EQ(BannerSquareRect(v, 0), (PageRect{250, c.banner.top, 250 + c.s, c.banner.bottom}));
        EXPECT_EQ(BannerSquareRect(v, 14).right, c.banner.right);
        EXPECT_EQ(BannerSquareRect(v, 15), PageRect{});
        EXPECT_EQ(GridViewSquareRect(v, c.n, 0), PageRect{});
    }
}

TEST(GridViewGeometry, degenerateInputs_giveEmptySquares) {
    const struct { int deviceHeight, n; } cases[] = {{11250, 0}, {11250, -1}, {0, 15}, {INT_MIN, 15}, {INT_MAX, 1000}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.deviceHeight);
        const GridViewGeometry v = ComputeGridViewGeometry(c.deviceHeight, c.n);
        EXPECT_GE(v.n, 0);
        EXPECT_LE(v.n, kMaxGridSide);
        EXPECT_GE(v.s, 0);
        EXPECT_GT(v.letterHeight, 0);
        EXPECT_GE(v.gridRect.right, v.gridRect.left);
    }
}

}  // namespace
}  // namespace korvo
