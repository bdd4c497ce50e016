#include "puzzle_page_painter.h"

#include <QColor>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPen>
#include <QPrinter>
#include <QRectF>
#include <QString>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "document/ckorvo_doc.h"
#include "document/export_puzzle.h"
#include "model/cw_data.h"
#include "qt_drawing.h"
#include "qt_text_measurer.h"

namespace korvo::view {
namespace {

// A Letter sheet in page units.
constexpr std::int32_t kLetterWidth = 8500;
constexpr std::int32_t kLetterHeight = 11000;
// Side of the box a text is aligned in around its anchor point.
constexpr qreal kAnchorBox = 2.0 * kMaxPageLength;

// A solid outline pen of one page unit, never thinner than one device
// pixel: on screen a page unit is a tenth of a pixel.
QPen OutlinePen(const QPainter& painter, const QColor& color) {
    const QTransform t = painter.combinedTransform();
    const qreal pixelsPerUnit = std::hypot(t.m11(), t.m12());
    QPen pen(color);
    pen.setCosmetic(true);
    pen.setWidthF(std::max<qreal>(1.0, pixelsPerUnit));
    pen.setJoinStyle(Qt::MiterJoin);
    return pen;
}

enum class Anchor { Left, Centre, Right };

// One line of text, top-aligned at the anchor's y, and left-, centre- or
// right-aligned at its x.
void DrawTextAt(QPainter& painter, PagePoint at, Anchor anchor, const QString& text) {
    qreal left = at.x;
    int horizontal = Qt::AlignLeft;
    if (anchor == Anchor::Centre) {
        left = at.x - kAnchorBox / 2;
        horizontal = Qt::AlignHCenter;
    } else if (anchor == Anchor::Right) {
        left = at.x - kAnchorBox;
        horizontal = Qt::AlignRight;
    }
    painter.drawText(QRectF(left, at.y, kAnchorBox, kAnchorBox),
                     horizontal | Qt::AlignTop | Qt::TextSingleLine | Qt::TextDontClip | Qt::TextIncludeTrailingSpaces,
                     text);
}

char16_t SquareAt(const std::u16string& text, int index) {
    return index >= 0 && static_cast<std::size_t>(index) < text.size() ? text[static_cast<std::size_t>(index)] : u'@';
}

PageInput MakeInput(const CkorvoDoc& doc, const CCWData& puzzle, const PuzzlePageFrame& frame) {
    PageInput in;
    in.pageWidth = frame.pageWidth;
    in.pageHeight = frame.pageHeight;
    in.marginLeft = frame.marginLeft;
    in.marginRight = frame.marginRight;
    in.marginTop = frame.marginTop;
    in.marginBottom = frame.marginBottom;
    in.numberOffset = frame.numberOffset;
    in.rightSideGrid = doc.rightSideGrid;
    in.gridSize = puzzle.gridSize;
    in.highestNumber = puzzle.highestNumber;
    in.title = puzzle.title;
    in.answerTitle = puzzle.answerTitle;
    in.author = puzzle.author;
    in.copyright = puzzle.copyright;
    in.clues.reserve(puzzle.clues.size());
    for (const ClueEntry& entry : puzzle.clues) in.clues.push_back(ClueText{entry.number, ClueOnOneLine(entry.clue)});
    return in;
}

// The clue number of every square, counted from the grid's blocks as the
// exports count them, so that a damaged stored number is never drawn; empty
// when the grid text does not fit the size.
std::vector<int> GridNumbers(int size, const std::u16string& gridText) {
    ExportPuzzle shape;
    shape.size = size;
    shape.gridText = gridText;
    return NumberGrid(shape).cellNumbers;
}

void DrawPuzzleGrid(QPainter& painter, const PageGeometry& g, const CCWData& puzzle, const std::u16string& gridText,
                    const QPen& outline, const QColor& gridColor) {
    const int n = g.n;
    const std::vector<int> numbers = GridNumbers(puzzle.gridSize, gridText);
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < n; ++j) {
            const int index = i * puzzle.gridSize + j;
            const QRectF square = ToQRectF(PuzzleSquareRect(g, i, j));
            painter.setPen(outline);
            painter.setBrush(Qt::white);
            painter.drawRect(square);
            if (index < kMaxSquares && puzzle.circled[index] != 0) {
                painter.setPen(CirclePen(painter.combinedTransform(), gridColor));
                painter.drawEllipse(square);
                painter.setPen(outline);
            }
            const char16_t c = SquareAt(gridText, index);
            if (c == u'!') {
                painter.fillRect(square, gridColor);
            } else if (static_cast<std::size_t>(index) < numbers.size()) {
                const int number = numbers[static_cast<std::size_t>(index)];
                if (number > 0) {
                    painter.setPen(gridColor);
                    DrawTextAt(painter, NumberAnchor(g, i, j), Anchor::Left, ToQString(SquareNumberText(number)));
                }
            }
        }
    }
}

void DrawAnswerGrid(QPainter& painter, const PageGeometry& g, const std::u16string& solution, int stride,
                    const QPen& outline, const QColor& gridColor) {
    for (int i = 0; i < g.n; ++i) {
        for (int j = 0; j < g.n; ++j) {
            const PageRect square = AnswerSquareRect(g, i, j);
            painter.setPen(outline);
            painter.setBrush(Qt::white);
            painter.drawRect(ToQRectF(square));
            const char16_t c = SquareAt(solution, i * stride + j);
            if (c == u'!') {
                painter.fillRect(ToQRectF(square), gridColor);
            } else if (c != u'@') {
                painter.setPen(gridColor);
                DrawTextAt(painter, LetterAnchor(square, g.aH), Anchor::Centre, QString(QChar(c)));
            }
        }
    }
}

}  // namespace

PuzzlePageFrame ScreenFrame(const CkorvoDoc& doc) {
    return PuzzlePageFrame{doc.pageWidth, doc.pageHeight,   doc.marginLeft,     doc.marginRight,
                           doc.marginTop, doc.marginBottom, kScreenNumberOffset};
}

PuzzlePageFrame PrinterFrame(const CkorvoDoc& doc) {
    return PuzzlePageFrame{doc.pageWidth,      doc.pageHeight,        doc.printMarginLeft, doc.printMarginRight,
                           doc.printMarginTop, doc.printMarginBottom, kPrinterNumberOffset};
}

PuzzlePageHitRects DrawPuzzlePage(QPainter& painter, CkorvoDoc& doc, CCWData& puzzle, bool printing,
                                  PuzzleLayoutCache cache) {
    return DrawPuzzlePage(painter, doc, puzzle, printing, cache, printing ? PrinterFrame(doc) : ScreenFrame(doc));
}

PuzzlePageHitRects DrawPuzzlePage(QPainter& painter, CkorvoDoc& doc, CCWData& puzzle, bool printing,
                                  PuzzleLayoutCache cache, const PuzzlePageFrame& frame) {
    PuzzlePageHitRects hits;
    const bool onScreen = !printing;
    const PageInput input = MakeInput(doc, puzzle, frame);
    QtTextMeasurer measurer(doc.titleFont, doc.gridFont, doc.clueFont, painter.device());
    const PageGeometry g = ComputePageGeometry(input, measurer);

    // The clue font: fitted for every print, and on screen only when the
    // cached fit is not a screen one.
    const bool refit = printing || cache.layoutState != 1 || cache.clueFontHeight <= 0;
    cache.layoutState = printing ? 2 : 1;
    if (refit) {
        const ClueFontFit fit = FitClueFont(g, input, measurer);
        cache.clueFontHeight = fit.font.height;
        cache.clueFontWidth = fit.font.width;
    }
    const FontSize clueSize{cache.clueFontHeight, cache.clueFontWidth};

    const QTransform toDevice = painter.combinedTransform();
    const QColor gridColor = ColorFromRef(doc.gridColor);
    const QPen outline = OutlinePen(painter, gridColor);
    painter.save();
    painter.setBackgroundMode(Qt::TransparentMode);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, true);

    // Title.
    if (g.hasTitle) {
        const FontSize size{g.titleFontHeight, 0};
        painter.setFont(measurer.Font(FontRole::Title, size));
        painter.setPen(ColorFromRef(doc.titleColor));
        DrawTextAt(painter, g.titleAnchor, Anchor::Centre, ToQString(input.title));
        doc.titleFont.lfHeight = g.titleFontHeight;
        if (onScreen) hits.titleRect = DeviceRect(toDevice, g.titleRect);
    }

    // The puzzle grid with its numbers, then the author and copyright lines.
    const FontSize numbersSize{g.numbersFontHeight, 0};
    painter.setFont(measurer.Font(FontRole::Numbers, numbersSize));
    doc.gridFont.lfHeight = g.numbersFontHeight;
    DrawPuzzleGrid(painter, g, puzzle, puzzle.GetGridText(), outline, gridColor);
    painter.setPen(gridColor);
    DrawTextAt(painter, g.authorAnchor, Anchor::Left, ToQString(input.author));
    DrawTextAt(painter, g.copyrightAnchor, Anchor::Right, ToQString(input.copyright));
    if (onScreen) {
        hits.authorRect = DeviceRect(toDevice, g.authorRect);
        hits.copyrightRect = DeviceRect(toDevice, g.copyrightRect);
    }

    // The answer grid and its title.
    if (g.hasAnswerGrid) {
        const FontSize lettersSize{g.aH, 0};
        painter.setFont(measurer.Font(FontRole::AnswerLetters, lettersSize));
        doc.gridFont.lfHeight = g.aH;
        DrawAnswerGrid(painter, g, puzzle.GetSolutionText(), puzzle.gridSize, outline, gridColor);
        painter.setPen(gridColor);
        DrawTextAt(painter, g.answerTitleAnchor, Anchor::Centre, ToQString(input.answerTitle));
        if (onScreen) hits.answerTitleRect = DeviceRect(toDevice, g.answerTitleRect);
    }

    // The clue columns: cleared to the page's white, then the headings and
    // the clues as far as they fit.
    const ClueLayout layout = LayoutClueColumns(g, input, clueSize, measurer, ClueLayoutMode::Place);
    doc.clueFont.lfHeight = clueSize.height;
    doc.clueFont.lfWidth = clueSize.width;
    for (int i = 0; i < g.columnCount; ++i) painter.fillRect(ToQRectF(g.columns[i]), Qt::white);
    painter.setFont(measurer.Font(FontRole::Clue, clueSize));
    painter.setPen(ColorFromRef(doc.cluesColor));
    if (layout.across.placed)
        DrawTextAt(painter, PagePoint{(layout.across.box.left + layout.across.box.right) / 2, layout.across.box.top},
                   Anchor::Centre, ToQString(kAcrossText));
    if (layout.down.placed)
        DrawTextAt(painter, PagePoint{(layout.down.box.left + layout.down.box.right) / 2, layout.down.box.top},
                   Anchor::Centre, ToQString(kDownText));
    if (onScreen)
        for (ClueEntry& entry : puzzle.clues) entry.rect = RECT{};
    for (const CluePlacement& placed : layout.clues) {
        const ClueText& clue = input.clues[static_cast<std::size_t>(placed.clueIndex)];
        DrawTextAt(painter, PagePoint{placed.numberBox.right, placed.numberBox.top}, Anchor::Right,
                   ToQString(ClueNumberText(clue.number)));
        painter.drawText(ToQRectF(placed.textBox), kWrappedTextFlags, ToQString(clue.text));
        if (onScreen && static_cast<std::size_t>(placed.clueIndex) < puzzle.clues.size())
            puzzle.clues[static_cast<std::size_t>(placed.clueIndex)].rect = DeviceRect(toDevice, placed.drawnRect);
    }

    painter.restore();
    hits.recorded = onScreen;
    return hits;
}

bool PrintPuzzlePageToPdf(CkorvoDoc& doc, const std::filesystem::path& path) {
    if (!doc.cwData) return false;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const std::u8string name = path.u8string();
    printer.setOutputFileName(
        QString::fromUtf8(reinterpret_cast<const char*>(name.data()), static_cast<qsizetype>(name.size())));
    printer.setPageLayout(
        QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0), QPageLayout::Inch));
    // The whole sheet is the page: the margins are measured from its edge.
    printer.setFullPage(true);

    QPainter painter;
    if (!painter.begin(&printer)) return false;
    painter.scale(printer.resolution() / 1000.0, printer.resolution() / 1000.0);
    const PuzzlePageFrame frame{kLetterWidth,  kLetterHeight,    doc.marginLeft,      doc.marginRight,
                                doc.marginTop, doc.marginBottom, kPrinterNumberOffset};
    std::int32_t layoutState = -1;
    std::int32_t clueFontHeight = 0;
    std::int32_t clueFontWidth = 0;
    DrawPuzzlePage(painter, doc, *doc.cwData, true, PuzzleLayoutCache{layoutState, clueFontHeight, clueFontWidth},
                   frame);
    return painter.end();
}

}  // namespace korvo::view
