// The puzzle page drawn offscreen and printed to PDF: colours and hit areas
// of a screen paint, nothing recorded when printing, the clue font fit kept
// between screen paints, the font heights written back, and the PDF's text.
#include "puzzle_page_painter.h"

#include <QFile>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "document/document_fixture.h"
#include "model/generation_status.h"
#include "qt_text_measurer.h"

namespace korvo::testsupport {
namespace {

using view::DrawPuzzlePage;
using view::PuzzleLayoutCache;
using view::PuzzlePageHitRects;

constexpr COLORREF kRed = MakeColorRef(200, 0, 0);
constexpr COLORREF kGreen = MakeColorRef(0, 140, 0);
constexpr COLORREF kBlue = MakeColorRef(0, 0, 210);

// The filled 5 x 5 puzzle: blocks in two opposite corners and the centre.
constexpr char16_t kSolution[] =
    u"!STAR"
    u"PLANE"
    u"AE!TA"
    u"SEEDS"
    u"TREE!";

QString Q(const std::u16string& text) { return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size())); }

bool Empty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }

// Numbers the squares and lists the entries, across first, as a fill does.
void NumberPuzzle(CCWData& puzzle) {
    const int n = puzzle.gridSize;
    auto open = [&](int i, int j) {
        return i >= 0 && j >= 0 && i < n && j < n && puzzle.gridText[static_cast<std::size_t>(i * n + j)] != u'!';
    };
    struct Entry {
        int number, row, column;
        bool across;
    };
    std::vector<Entry> across, down;
    int next = 0;
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j) {
            const int index = i * n + j;
            puzzle.cellNumbers[index] = open(i, j) ? 252 : 251;
            if (!open(i, j)) continue;
            const bool a = !open(i, j - 1) && open(i, j + 1);
            const bool d = !open(i - 1, j) && open(i + 1, j);
            if (!a && !d) continue;
            puzzle.cellNumbers[index] = ++next;
            if (a) across.push_back({next, i, j, true});
            if (d) down.push_back({next, i, j, false});
        }
    puzzle.highestNumber = next;
    puzzle.clues.clear();
    for (const std::vector<Entry>* list : {&across, &down})
        for (const Entry& e : *list) {
            ClueEntry clue;
            clue.number = e.number;
            clue.direction = e.across ? kAcrossText : kDownText;
            for (int i = e.row, j = e.column; open(i, j); e.across ? ++j : ++i)
                clue.answer += puzzle.gridText[static_cast<std::size_t>(i * n + j)];
            const std::string word(clue.answer.begin(), clue.answer.end());
            const std::string text =
                std::string(e.across ? "Across" : "Down") + " hint " + std::to_string(e.number) + " for " + word;
            clue.clue = std::u16string(text.begin(), text.end());
            puzzle.clues.push_back(clue);
        }
    // One clue long enough to wrap in its column.
    puzzle.clues[1].clue = u"A rather long clue that needs several lines of its column to be shown in full";
}

class PuzzlePageTest : public DocumentTest {
protected:
    PuzzlePageTest() {
        PrepareInstalledDataFolder();
        doc = MakeDocument();
        doc->cwData = std::make_unique<CCWData>();
        CCWData& p = *doc->cwData;
        p.gridSize = 5;
        p.gridText = kSolution;
        p.solutionText = kSolution;
        p.circled[6] = 1;  // row 1, column 1
        p.title = u"Sunday Page Test";
        p.answerTitle = u"Solution";
        p.author = u"by Test Author";
        p.copyright = u"(c) 2024 Tester";
        p.status = StatusFilled;
        NumberPuzzle(p);
        doc->gridViewShown = false;
        doc->titleColor = kRed;
        doc->gridColor = kGreen;
        doc->cluesColor = kBlue;
    }

    // A screen-like image of 100 dpi, a little larger than the page.
    static QImage PageImage() {
        QImage image(850, 1100, QImage::Format_ARGB32);
        image.setDotsPerMeterX(3937);
        image.setDotsPerMeterY(3937);
        image.fill(Qt::white);
        return image;
    }

    PuzzlePageHitRects Paint(QImage& image, bool printing) {
        QPainter painter(&image);
        painter.scale(image.logicalDpiX() / 1000.0, image.logicalDpiY() / 1000.0);
        return DrawPuzzlePage(painter, *doc, *doc->cwData, printing,
                              PuzzleLayoutCache{layoutState, clueFontHeight, clueFontWidth});
    }

    // Pixels inside a device rectangle whose colour is near the given one.
    static int PixelsNear(const QImage& image, const RECT& r, COLORREF color) {
        int count = 0;
        for (int y = std::max(0, r.top); y < std::min(image.height(), r.bottom); ++y)
            for (int x = std::max(0, r.left); x < std::min(image.width(), r.right); ++x) {
                const QColor c = image.pixelColor(x, y);
                if (std::abs(c.red() - RedOf(color)) < 60 && std::abs(c.green() - GreenOf(color)) < 60 &&
                    std::abs(c.blue() - BlueOf(color)) < 60)
                    ++count;
            }
        return count;
    }

    std::unique_ptr<CkorvoDoc> doc;
    std::int32_t layoutState = -1;
    std::int32_t clueFontHeight = 0;
    std::int32_t clueFontWidth = 0;
};

TEST_F(PuzzlePageTest, screenPaint_recordsEveryHitAreaInItsColours) {
    QImage image = PageImage();
    const PuzzlePageHitRects hits = Paint(image, false);

    ASSERT_TRUE(hits.recorded);
    EXPECT_EQ(layoutState, 1);
    EXPECT_GT(clueFontHeight, 0);
    const QRect bounds(0, 0, image.width(), image.height());
    for (const RECT* r : {&hits.titleRect, &hits.answerTitleRect, &hits.authorRect, &hits.copyrightRect}) {
        EXPECT_FALSE(Empty(*r));
        EXPECT_TRUE(bounds.contains(QRect(QPoint(r->left, r->top), QPoint(r->right - 1, r->bottom - 1))));
    }
    // The title is centred on the page (x = 3999 units at 100 dpi) and drawn in its colour.
    EXPECT_NEAR((hits.titleRect.left + hits.titleRect.right) / 2, 400, 2);
    EXPECT_EQ(hits.titleRect.top, 25);
    EXPECT_GT(PixelsNear(image, hits.titleRect, kRed), 20);
    // The grid stands on the right (left edge 8000 - 250 - 1 - 5 * 749 units).
    const RECT gridArea{400, hits.titleRect.bottom, 775, hits.authorRect.top};
    EXPECT_GT(PixelsNear(image, gridArea, kGreen), 500);
    EXPECT_GT(PixelsNear(image, hits.authorRect, kGreen), 5);
    EXPECT_GT(PixelsNear(image, hits.answerTitleRect, kGreen), 5);
    // The answer grid sits in the bottom left corner: its squares stand
    // below the answer title, ending at the content bottom (10249 units).
    EXPECT_LT(hits.answerTitleRect.right, 400);
    EXPECT_GT(PixelsNear(image, RECT{25, hits.answerTitleRect.bottom, 400, 1025}, kGreen), 200);

    // Every clue was drawn, in the clue colour, in non-overlapping areas.
    const auto& clues = doc->cwData->clues;
    for (std::size_t i = 0; i < clues.size(); ++i) {
        SCOPED_TRACE(i);
        const RECT& r = clues[i].rect;
        ASSERT_FALSE(Empty(r));
        EXPECT_TRUE(bounds.contains(QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1))));
        EXPECT_GT(PixelsNear(image, r, kBlue), 5);
        for (std::size_t k = 0; k < i; ++k) {
            const RECT& o = clues[k].rect;
            const bool apart = r.right <= o.left || o.right <= r.left || r.bottom <= o.top || o.bottom <= r.top;
            EXPECT_TRUE(apart) << "overlaps clue " << k;
        }
    }
    // The long clue wraps: it is taller than a one-line clue.
    EXPECT_GT(clues[1].rect.bottom - clues[1].rect.top, clues[0].rect.bottom - clues[0].rect.top);
}

TEST_F(PuzzlePageTest, paint_writesTheFontHeightsBackIntoTheDocument) {
    QImage image = PageImage();
    Paint(image, false);
    // Fallback page 8000 x 10500, margins 250, N = 5: cw = 7499, colW = 1874,
    // cell = 749, aCell = 499.
    EXPECT_EQ(doc->titleFont.lfHeight, -((7499 / 2) / (5 + 5 / 2)));
    EXPECT_EQ(doc->gridFont.lfHeight, 499 - 499 / 5);  // the answer letters come last
    EXPECT_EQ(doc->clueFont.lfHeight, clueFontHeight);
    EXPECT_EQ(doc->clueFont.lfWidth, 0);

    // Without an answer title the grid font keeps the numbers' height, and
    // the answer grid and its hit area are gone.
    doc->cwData->answerTitle.clear();
    layoutState = -1;
    QImage second = PageImage();
    const PuzzlePageHitRects hits = Paint(second, false);
    EXPECT_EQ(doc->gridFont.lfHeight, -(749 / 3));
    EXPECT_TRUE(Empty(hits.answerTitleRect));
    EXPECT_EQ(PixelsNear(second, RECT{25, 700, 390, 1025}, kGreen), 0);
}

TEST_F(PuzzlePageTest, screenPaints_reuseTheFitUntilTheLayoutIsInvalidated) {
    QImage image = PageImage();
    Paint(image, false);
    const int fitted = clueFontHeight;
    ASSERT_GT(fitted, 10);

    // A screen paint with a screen layout keeps the cached height.
    clueFontHeight = fitted - 7;
    Paint(image, false);
    EXPECT_EQ(clueFontHeight, fitted - 7);
    EXPECT_EQ(doc->clueFont.lfHeight, fitted - 7);
    EXPECT_EQ(layoutState, 1);

    // An invalid layout refits.
    layoutState = -1;
    Paint(image, false);
    EXPECT_EQ(clueFontHeight, fitted);

    // A print always refits and leaves a printer layout, so the next screen
    // paint refits again.
    clueFontHeight = 5;
    QImage paper = PageImage();
    Paint(paper, true);
    EXPECT_EQ(layoutState, 2);
    EXPECT_EQ(clueFontHeight, fitted);
    clueFontHeight = 5;
    Paint(image, false);
    EXPECT_EQ(layoutState, 1);
    EXPECT_EQ(clueFontHeight, fitted);
}

TEST_F(PuzzlePageTest, printing_recordsNoHitAreas) {
    for (ClueEntry& clue : doc->cwData->clues) clue.rect = RECT{1, 2, 3, 4};
    QImage paper = PageImage();
    const PuzzlePageHitRects hits = Paint(paper, true);

    EXPECT_FALSE(hits.recorded);
    for (const RECT* r : {&hits.titleRect, &hits.answerTitleRect, &hits.authorRect, &hits.copyrightRect})
        EXPECT_EQ(*r, RECT{});
    for (const ClueEntry& clue : doc->cwData->clues) EXPECT_EQ(clue.rect, (RECT{1, 2, 3, 4}));
    // The page is drawn all the same.
    EXPECT_GT(PixelsNear(paper, RECT{0, 0, 850, 100}, kRed), 20);
    EXPECT_GT(PixelsNear(paper, RECT{0, 0, 850, 1100}, kBlue), 200);
}

TEST_F(PuzzlePageTest, pdf_holdsTheTitleHeadingsAndEveryClue) {
    const std::filesystem::path path = root.path() / "page.pdf";
    ASSERT_TRUE(view::PrintPuzzlePageToPdf(*doc, path));
    QFile file(QString::fromStdString(path.string()));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.read(5).startsWith("%PDF-"));
    file.close();

    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (pdftotext.isEmpty()) GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    QProcess process;
    // In content order, so a clue's wrapped lines follow one another.
    process.start(pdftotext, {QStringLiteral("-raw"), QString::fromStdString(path.string()), QStringLiteral("-")});
    ASSERT_TRUE(process.waitForFinished(30000));
    ASSERT_EQ(process.exitCode(), 0);
    // Line breaks fall where the columns wrap: compare without white space.
    const QRegularExpression blanks(QStringLiteral("\\s+"));
    const QString text = QString::fromUtf8(process.readAllStandardOutput()).remove(blanks);
    auto holds = [&](const QString& needle) { return text.contains(QString(needle).remove(blanks)); };

    EXPECT_TRUE(holds(QStringLiteral("Sunday Page Test"))) << text.toStdString();
    EXPECT_TRUE(holds(QStringLiteral("ACROSS")));
    EXPECT_TRUE(holds(QStringLiteral("DOWN")));
    EXPECT_TRUE(holds(QStringLiteral("Solution")));
    EXPECT_TRUE(holds(QStringLiteral("by Test Author")));
    EXPECT_TRUE(holds(QStringLiteral("(c) 2024 Tester")));
    for (const ClueEntry& clue : doc->cwData->clues)
        EXPECT_TRUE(holds(Q(clue.clue))) << std::string(clue.clue.begin(), clue.clue.end());
}

TEST_F(PuzzlePageTest, pdf_failsWithoutAPuzzleOrAWritableFile) {
    EXPECT_FALSE(view::PrintPuzzlePageToPdf(*doc, root.path() / "missing-folder" / "page.pdf"));
    doc->cwData.reset();
    EXPECT_FALSE(view::PrintPuzzlePageToPdf(*doc, root.path() / "none.pdf"));
    EXPECT_FALSE(std::filesystem::exists(root.path() / "none.pdf"));
}

// Pixels near color left of x0 or from x1 on, in the rows y0 to y1.
int PixelsOutside(const QImage& image, int x0, int x1, int y0, int y1, COLORREF color) {
    int count = 0;
    for (int y = std::max(0, y0); y < std::min(image.height(), y1); ++y)
        for (int x = 0; x < image.width(); ++x) {
            if (x >= x0 && x < x1) continue;
            const QColor c = image.pixelColor(x, y);
            if (std::abs(c.red() - RedOf(color)) < 60 && std::abs(c.green() - GreenOf(color)) < 60 &&
                std::abs(c.blue() - BlueOf(color)) < 60)
                ++count;
        }
    return count;
}

TEST_F(PuzzlePageTest, longTitle_shrinksToTheContentWidthOnScreenAndOnPaper) {
    std::u16string title;
    while (title.size() < 120) title += u"A Very Long Puzzle Title ";
    doc->cwData->title = title;
    for (const bool printing : {false, true}) {
        SCOPED_TRACE(printing ? "paper" : "screen");
        const int left = printing ? doc->printMarginLeft : doc->marginLeft;
        const int right = doc->pageWidth - (printing ? doc->printMarginRight : doc->marginRight) - 1;
        QImage image = PageImage();
        const PuzzlePageHitRects hits = Paint(image, printing);
        // At 100 dpi a pixel is 10 page units; the title's band is the top 2 inches.
        EXPECT_EQ(PixelsOutside(image, left / 10, right / 10 + 1, 0, 200, kRed), 0) << "the title leaves the content";
        EXPECT_GT(PixelsNear(image, RECT{left / 10, 0, right / 10, 200}, kRed), 200);
        // Shrunk, not cut: ink reaches close to both edges.
        EXPECT_GT(PixelsNear(image, RECT{left / 10, 0, left / 10 + 40, 200}, kRed), 5);
        EXPECT_GT(PixelsNear(image, RECT{right / 10 - 40, 0, right / 10, 200}, kRed), 5);
        EXPECT_GT(-doc->titleFont.lfHeight, 0);
        EXPECT_LT(-doc->titleFont.lfHeight, (7499 / 2) / (5 + 5 / 2)) << "smaller than the title that fits";
        if (!printing) {
            EXPECT_GE(hits.titleRect.left, left / 10 - 1);
            EXPECT_LE(hits.titleRect.right, right / 10 + 1);
        }
    }
}

TEST_F(PuzzlePageTest, clueWithALineBreak_isDrawnOnOneLine) {
    CCWData& p = *doc->cwData;
    // Two short words that share a line wherever the clue font ends up.
    p.clues[0].clue = u"Ox\nen";
    p.clues[2].clue = u"Ox en";
    QImage image = PageImage();
    Paint(image, false);
    // One line each (device rounding may differ by a pixel); a break would double it.
    EXPECT_NEAR(p.clues[0].rect.bottom - p.clues[0].rect.top, p.clues[2].rect.bottom - p.clues[2].rect.top, 2);
    EXPECT_EQ(p.clues[0].clue, u"Ox\nen") << "the puzzle keeps its text";
}

TEST_F(PuzzlePageTest, squareNumbers_comeFromTheGridNotFromDamagedStoredNumbers) {
    CCWData& p = *doc->cwData;
    p.cellNumbers[1] = 24316;  // the square of 1 (row 0, column 1)
    p.cellNumbers[7] = 93;     // a square that starts no entry (row 1, column 2)
    const std::filesystem::path path = root.path() / "numbers.pdf";
    ASSERT_TRUE(view::PrintPuzzlePageToPdf(*doc, path));
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (pdftotext.isEmpty()) GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    QProcess process;
    process.start(pdftotext, {QString::fromStdString(path.string()), QStringLiteral("-")});
    ASSERT_TRUE(process.waitForFinished(30000));
    const QString text = QString::fromUtf8(process.readAllStandardOutput());
    EXPECT_FALSE(text.contains(QStringLiteral("24316"))) << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("93"))) << text.toStdString();
}

LOGFONTW Arial() {
    LOGFONTW font{};
    SetFaceName(font, u"Arial");
    return font;
}

TEST(QtTextMeasurerTest, heightsFollowTheSignConvention) {
    const LOGFONTW arial = Arial();
    // A positive height is the full line height.
    for (int height : {100, 250, 400}) {
        const QFont font = view::PageFont(arial, FontSize{height, 0});
        EXPECT_NEAR(QFontMetricsF(font).height(), height, 1.5) << height;
    }
    // A negative height is the character height: Qt's pixel size.
    EXPECT_EQ(view::PageFont(arial, FontSize{-83, 0}).pixelSize(), 83);
    // A width stretches the face to that average character width.
    const QFont narrow = view::PageFont(arial, FontSize{200, 40});
    EXPECT_NEAR(QFontMetricsF(narrow).averageCharWidth(), 40, 4);
}

TEST(QtTextMeasurerTest, wrappedTextsAndWordsTooWide) {
    QImage image(10, 10, QImage::Format_ARGB32);
    view::QtTextMeasurer measurer(Arial(), Arial(), Arial(), &image);
    const FontSize size{100, 0};
    const int line = measurer.Extent(FontRole::Clue, size, u"Word").height;
    const int wordWidth = measurer.Extent(FontRole::Clue, size, u"Word").width;
    ASSERT_GT(line, 90);

    const WrappedExtent wide = measurer.Wrapped(FontRole::Clue, size, u"Word word word", 50 * wordWidth);
    EXPECT_EQ(wide.height, line);
    EXPECT_FALSE(wide.tooWide);
    const WrappedExtent narrow = measurer.Wrapped(FontRole::Clue, size, u"Word word word", wordWidth + 5);
    EXPECT_GE(narrow.height, 3 * line - 3);
    EXPECT_FALSE(narrow.tooWide);
    const WrappedExtent tooWide =
        measurer.Wrapped(FontRole::Clue, size, u"An extraordinarily long word", wordWidth * 2);
    EXPECT_TRUE(tooWide.tooWide);
    // An empty clue still takes a line.
    EXPECT_EQ(measurer.Wrapped(FontRole::Clue, size, u"", 1000).height, line);
    // The number column's trailing space counts.
    EXPECT_GT(measurer.Extent(FontRole::Clue, size, u"00 ").width, measurer.Extent(FontRole::Clue, size, u"00").width);
    EXPECT_NEAR(measurer.SpaceWidth(FontRole::Clue, size),
                measurer.Extent(FontRole::Clue, size, u"0 ").width - measurer.Extent(FontRole::Clue, size, u"0").width,
                1);
}

}  // namespace
}  // namespace korvo::testsupport
