// The grid view as drawn: squares, blocks in the grid colour, letters,
// circles and the banner, from a grab of the widget; the hit rectangles of
// the screen paint; printing the grid view to a PDF file.
#include <QFile>
#include <QImage>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

#include <gtest/gtest.h>

#include "document/command_table.h"
#include "model/generation_status.h"
#include "window_fixture.h"

namespace {

using namespace korvo;
using korvo::guitest::WindowFixture;

const std::vector<std::string> kWords = {"CAT", "ORE", "WET", "COW", "ARE", "TET"};
constexpr COLORREF kRed = 0x000000FF;  // 0x00BBGGRR

QPoint Centre(const RECT& r) { return QPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2); }

// Pixels inside a rectangle (its outline left out) that are not white.
int InkInside(const QImage& image, const RECT& r) {
    int ink = 0;
    for (int y = r.top + 2; y < r.bottom - 2; ++y)
        for (int x = r.left + 2; x < r.right - 2; ++x)
            if (image.pixelColor(x, y) != QColor(Qt::white)) ++ink;
    return ink;
}

class GridViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(w.Start());
        // Row 0: block, open, letter, '?', circled open square, circled block.
        std::string grid(81, '@');
        grid[0] = '!';
        grid[80] = '!';
        grid[2] = 'A';
        grid[3] = '?';
        grid[5] = '!';
        w.LoadGrid(grid);
        w.Puzzle()->circled[4] = 1;
        w.Puzzle()->circled[5] = 1;
        w.Doc()->gridColor = kRed;
        w.View()->resize(700, 700);
    }

    QImage Grab() {
        const QImage image = w.View()->viewport()->grab().toImage();
        return image.convertToFormat(QImage::Format_RGB32);
    }

    // The banner square k, from the grid's device rectangles: one empty row
    // below the grid, squares as wide as the grid's.
    RECT BannerSquare(int k) const {
        const RECT& first = w.View()->cellRects[0][0];
        const int s = w.View()->cellRects[0][1].left - first.left;
        const int n = w.Puzzle()->gridSize;
        RECT r;
        r.left = first.left + k * s;
        r.top = first.top + (n + 1) * s;
        r.right = r.left + s;
        r.bottom = r.top + s;
        return r;
    }

    WindowFixture w{kWords};
};

TEST_F(GridViewTest, paintsBlocksInTheGridColourAndOpenSquaresWhite) {
    const QImage image = Grab();
    const auto& cells = w.View()->cellRects;
    EXPECT_EQ(image.pixelColor(Centre(cells[0][0])), QColor(255, 0, 0));
    EXPECT_EQ(image.pixelColor(Centre(cells[8][8])), QColor(255, 0, 0));
    EXPECT_EQ(image.pixelColor(Centre(cells[0][1])), QColor(Qt::white));
    EXPECT_EQ(InkInside(image, cells[0][1]), 0);
    // The outline between two open squares is in the grid colour.
    const QPoint edge(cells[1][2].left, (cells[1][2].top + cells[1][2].bottom) / 2);
    bool outlined = false;
    for (int dx = -1; dx <= 1; ++dx) outlined |= image.pixelColor(edge + QPoint(dx, 0)) == QColor(255, 0, 0);
    EXPECT_TRUE(outlined);
    // A letter, a '?' and a circle leave ink in their squares; a circled
    // block is a plain block.
    EXPECT_GT(InkInside(image, cells[0][2]), 0);
    EXPECT_GT(InkInside(image, cells[0][3]), 0);
    EXPECT_GT(InkInside(image, cells[0][4]), 0);
    EXPECT_EQ(image.pixelColor(Centre(cells[0][5])), QColor(255, 0, 0));
}

TEST_F(GridViewTest, recordsSquareRectanglesInDevicePixels) {
    Grab();
    const CkorvoView& view = *w.View();
    const int s = view.cellRects[0][1].left - view.cellRects[0][0].left;
    ASSERT_GT(s, 5);
    EXPECT_EQ(view.gridRect.left, view.cellRects[0][0].left);
    EXPECT_EQ(view.gridRect.top, view.cellRects[0][0].top);
    EXPECT_EQ(view.gridRect.right, view.cellRects[8][8].right);
    EXPECT_EQ(view.gridRect.bottom, view.cellRects[8][8].bottom);
    // 250 page units of margin: a quarter of a logical inch.
    EXPECT_EQ(view.gridRect.left, view.logicalDpiX() / 4);
    // Squares outside the grid stay empty.
    EXPECT_EQ(view.cellRects[9][0], RECT{});
    int row = -1, column = -1;
    ASSERT_TRUE(view.HitTestCell(Centre(view.cellRects[3][4]), row, column));
    EXPECT_EQ(row, 3);
    EXPECT_EQ(column, 4);
    // A pixel on the edge belongs to the square right of it.
    ASSERT_TRUE(view.HitTestCell(QPoint(view.cellRects[3][5].left, view.cellRects[3][5].top + 2), row, column));
    EXPECT_EQ(column, 5);
    EXPECT_FALSE(view.HitTestCell(QPoint(view.gridRect.right + 1, view.gridRect.top + 2), row, column));
}

TEST_F(GridViewTest, bannerNamesTheState) {
    struct BannerCase {
        int status;
        bool gridView;
        const char* text;
    };
    const BannerCase cases[] = {
        {StatusDesigning, true, "!GRID!DESIGNER!"}, {StatusGenerating, true, "!GENERATING...!"},
        {StatusReverting, true, "!REVERTING....!"}, {StatusNoStart, true, "!GRID!DESIGNER!"},
        {StatusFilled, true, "!!CLUE!EDITOR!!"},
    };
    for (const BannerCase& c : cases) {
        w.Puzzle()->SetStatus(c.status);
        w.Doc()->gridViewShown = c.gridView;
        const QImage image = Grab();
        for (int k = 0; k < 15; ++k) {
            const RECT square = BannerSquare(k);
            if (c.text[k] == '!') {
                EXPECT_EQ(image.pixelColor(Centre(square)), QColor(Qt::black)) << c.text << " " << k;
            } else {
                EXPECT_GT(InkInside(image, square), 0) << c.text << " " << k;
            }
        }
    }
    w.Puzzle()->SetStatus(StatusDesigning);
    w.Doc()->gridViewShown = true;
}

TEST_F(GridViewTest, filledGridView_clearsTheClueHitAreas) {
    w.Puzzle()->clues.push_back(ClueEntry{1, u"ACROSS", u"clue", u"CAT", RECT{1, 2, 3, 4}});
    w.Puzzle()->SetStatus(StatusFilled);
    Grab();
    EXPECT_EQ(w.Puzzle()->clues[0].rect, RECT{});
    w.Puzzle()->SetStatus(StatusDesigning);
}

TEST_F(GridViewTest, filledPuzzleView_drawsThePageInsteadOfTheGrid) {
    w.Puzzle()->SetStatus(StatusFilled);
    w.Doc()->gridViewShown = false;
    w.View()->layoutState = -1;
    Grab();
    EXPECT_EQ(w.View()->gridRect, RECT{});
    EXPECT_EQ(w.View()->cellRects[0][0], RECT{});
    EXPECT_GT(w.View()->titleRect.right, w.View()->titleRect.left);
    EXPECT_EQ(w.View()->layoutState, 1);
    w.Doc()->gridViewShown = true;
    Grab();
    EXPECT_EQ(w.View()->titleRect, RECT{});
    EXPECT_GT(w.View()->gridRect.right, w.View()->gridRect.left);
    w.Puzzle()->SetStatus(StatusDesigning);
}

TEST_F(GridViewTest, fontHeightsFollowTheSquareSize) {
    Grab();
    const int s = w.View()->cellRects[0][1].left - w.View()->cellRects[0][0].left;
    // h = s - s/5 in page units; the square is s device pixels.
    const int h = w.Doc()->gridFont.lfHeight;
    EXPECT_GT(h, 0);
    EXPECT_EQ(w.Doc()->bannerFont.lfHeight, h);
    const double squareUnits = s * 1000.0 / w.View()->logicalDpiY();
    EXPECT_NEAR(h, squareUnits - squareUnits / 5, squareUnits * 0.05);
}

TEST_F(GridViewTest, toggleView_switchesOnlyForAFilledPuzzle) {
    w.Puzzle()->SetStatus(StatusFilled);
    w.Frame()->UpdateCommandStates();
    w.Command(cmd::kToggleView);
    EXPECT_FALSE(w.Doc()->gridViewShown);
    EXPECT_EQ(w.View()->layoutState, -1);
    w.Command(cmd::kToggleView);
    EXPECT_TRUE(w.Doc()->gridViewShown);
    w.Puzzle()->SetStatus(StatusDesigning);
    w.Command(cmd::kToggleView);
    EXPECT_TRUE(w.Doc()->gridViewShown);
}

TEST_F(GridViewTest, printsTheGridViewToPdfSizedFromThePrintableHeight) {
    const QString file = QString::fromStdString((w.temp.path() / "grid.pdf").string());
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file);
    Grab();
    w.View()->PrintPage(printer);

    EXPECT_GT(QFile(file).size(), 1000);
    // Printing records no hit rectangles.
    EXPECT_EQ(w.View()->cellRects[0][0], RECT{});
    // The squares come from the printer's printable height.
    const int v = static_cast<int>(static_cast<qint64>(printer.height()) * 1000 / printer.logicalDpiY());
    const int s = (v / 2) / 9;
    EXPECT_EQ(w.Doc()->gridFont.lfHeight, s - s / 5);

    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (pdftotext.isEmpty()) GTEST_SKIP() << "pdftotext is not installed";
    QProcess process;
    process.start(pdftotext, {file, QStringLiteral("-")});
    ASSERT_TRUE(process.waitForFinished(20000));
    QString text = QString::fromUtf8(process.readAllStandardOutput());
    text.remove(QRegularExpression(QStringLiteral("\\s")));
    // The grid's letters and the banner; a 9-square grid's banner (15 squares
    // of a ninth of half the page height) runs past the right edge of the paper.
    EXPECT_TRUE(text.contains(QStringLiteral("A?GRIDDESIGN"))) << text.toStdString();
}

}  // namespace
