#include "document/page_layout.h"

#include <algorithm>
#include <cstdint>
#include <string>

namespace korvo {
namespace {

int ClampLength(int value) { return std::clamp(value, 0, kMaxPageLength); }

int ClampGridSide(int n) { return std::clamp(n, 0, kMaxGridSide); }

// Measurements are trusted only within the page's range, so a faulty
// measurer cannot make the geometry overflow.
TextExtent MeasureLine(TextMeasurer& measurer, FontRole role, FontSize size, std::u16string_view text) {
    TextExtent e = measurer.Extent(role, size, text);
    return TextExtent{ClampLength(e.width), ClampLength(e.height)};
}

int MeasureSpace(TextMeasurer& measurer, FontRole role, FontSize size) {
    return ClampLength(measurer.SpaceWidth(role, size));
}

WrappedExtent MeasureWrapped(TextMeasurer& measurer, FontSize size, std::u16string_view text, int boxWidth) {
    WrappedExtent e = measurer.Wrapped(FontRole::Clue, size, text, std::max(0, boxWidth));
    e.height = ClampLength(e.height);
    return e;
}

// The title's character height: height when the title fits in width at it
// (or width leaves no room to fit in), else the largest height below it at
// which the title fits, found by halving, and 1 when none does.
int FitTitleHeight(TextMeasurer& measurer, std::u16string_view title, int height, int width) {
    auto fits = [&](int h) { return MeasureLine(measurer, FontRole::Title, FontSize{-h, 0}, title).width <= width; };
    if (width <= 0 || fits(height)) return height;
    int low = 1;
    int high = height - 1;
    while (low < high) {
        const int middle = low + (high - low + 1) / 2;
        if (fits(middle))
            low = middle;
        else
            high = middle - 1;
    }
    return std::max(1, low);
}

std::u16string Widen(const std::string& digits) { return std::u16string(digits.begin(), digits.end()); }

}  // namespace

PageGeometry ComputePageGeometry(const PageInput& input, TextMeasurer& measurer) {
    PageGeometry p;
    const int W = ClampLength(input.pageWidth);
    const int H = ClampLength(input.pageHeight);
    const int L = ClampLength(input.marginLeft);
    const int R = ClampLength(input.marginRight);
    const int T = ClampLength(input.marginTop);
    const int B = ClampLength(input.marginBottom);
    const int N = ClampGridSide(input.gridSize);
    const int k = ClampLength(input.numberOffset);

    p.left = L;
    p.top = T;
    p.x1 = W - R - 1;
    p.y1 = H - B - 1;
    p.cw = W - R - L - 1;
    p.ch = H - B - T - 1;
    p.landscape = p.cw > p.ch;
    p.columnCount = p.landscape ? 5 : 4;
    p.colW = std::max(0, p.cw / p.columnCount);
    p.n = N;
    p.k = k;

    p.cell = N > 0 ? (2 * p.colW) / N : 0;
    p.gridWidth = N * p.cell;
    p.aCell = (2 * p.cell) / 3;
    p.aW = p.aCell * N;

    // Title across the top, sized from the page's shorter side, and shrunk
    // when it would be wider than the content.
    p.yT = T;
    if (!input.title.empty()) {
        p.hasTitle = true;
        const int D = std::max(0, p.landscape ? p.ch : p.cw);
        const int divisor = std::max(1, N + N / 2);
        p.titleFontHeight = -FitTitleHeight(measurer, input.title, std::max(1, (D / 2) / divisor), p.cw);
        const FontSize titleSize{p.titleFontHeight, 0};
        const TextExtent extent = MeasureLine(measurer, FontRole::Title, titleSize, input.title);
        const int space = MeasureSpace(measurer, FontRole::Title, titleSize);
        p.titleAnchor = PagePoint{L + p.cw / 2, T};
        p.titleRect =
            PageRect{p.titleAnchor.x - extent.width / 2, T, p.titleAnchor.x + extent.width / 2, T + extent.height};
        p.yT = T + space + extent.height;
    }

    // The puzzle grid under the title, on the chosen side.
    p.numbersFontHeight = -std::max(1, p.cell / 3);
    const FontSize numbersSize{p.numbersFontHeight, 0};
    p.g = MeasureLine(measurer, FontRole::Numbers, numbersSize, u" ").height;
    p.gx = input.rightSideGrid ? p.x1 - p.gridWidth : L;
    p.gy = p.yT;

    // Author and copyright on one line under the grid. A square smaller than
    // the number offset leaves the line no height rather than a negative one.
    const int lineHeight = std::max(0, p.cell - k);
    p.authorY = p.gy + p.gridWidth + 3;
    const int authorWidth =
        input.author.empty() ? 0 : MeasureLine(measurer, FontRole::Numbers, numbersSize, input.author).width;
    const int copyrightWidth =
        input.copyright.empty() ? 0 : MeasureLine(measurer, FontRole::Numbers, numbersSize, input.copyright).width;
    const int gridRight = p.gx + p.gridWidth;
    p.authorAnchor = PagePoint{p.gx, p.authorY};
    p.authorRect = PageRect{p.gx, p.authorY, p.gx + authorWidth, p.authorY + lineHeight};
    p.copyrightAnchor = PagePoint{gridRight, p.authorY};
    p.copyrightRect = PageRect{gridRight - copyrightWidth, p.authorY, gridRight, p.authorY + lineHeight};
    p.yb = p.authorY + lineHeight + p.g;

    // The answer grid in the opposite bottom corner, centred in two columns.
    p.aH = std::max(1, p.aCell - p.aCell / 5);
    p.yA = p.y1;
    if (!input.answerTitle.empty()) {
        p.hasAnswerGrid = true;
        const int off = (2 * p.colW - p.aW) / 2;
        p.ax = input.rightSideGrid ? L + off : p.x1 - off - p.aW;
        p.ay = p.y1 - p.aW;
        const TextExtent extent = MeasureLine(measurer, FontRole::AnswerLetters, FontSize{p.aH, 0}, input.answerTitle);
        const int titleTop = p.ay - 2 - extent.height;
        p.answerTitleAnchor = PagePoint{p.ax + p.aW / 2, titleTop};
        p.answerTitleRect = PageRect{p.answerTitleAnchor.x - extent.width / 2, titleTop,
                                     p.answerTitleAnchor.x + extent.width / 2, p.ay - 2};
        p.yA = titleTop - p.g;
    }

    // Clue columns: the columns on the grid's side start under the author
    // line, those on the answer grid's side stop above the answer title, and
    // on a landscape page the middle column runs the full height. The gap is
    // left free at the end of each column's share facing away from the grid.
    const int M = p.columnCount;
    for (int i = 0; i < M; ++i) {
        const int b = L + i * (p.colW + 1);
        int top = 0;
        int bottom = 0;
        if (input.rightSideGrid) {
            const bool besideAnswer = i < 2;
            const bool middle = (i == 2 && M == 5);
            top = (besideAnswer || middle) ? p.yT : p.yb;
            bottom = besideAnswer ? p.yA : p.y1;
            p.columns[i] = PageRect{b, top, b + p.colW - p.g, bottom};
        } else {
            const bool besideGrid = i < 2;
            const bool middle = (i == 2 && M == 5);
            top = besideGrid ? p.yb : p.yT;
            bottom = (besideGrid || middle) ? p.y1 : p.yA;
            p.columns[i] = PageRect{b + p.g, top, b + p.colW, bottom};
        }
    }
    return p;
}

PageRect PuzzleSquareRect(const PageGeometry& geometry, int row, int column) {
    if (row < 0 || column < 0 || row >= geometry.n || column >= geometry.n) return PageRect{};
    const int x = geometry.gx + column * geometry.cell;
    const int y = geometry.gy + row * geometry.cell;
    return PageRect{x, y, x + geometry.cell, y + geometry.cell};
}

PagePoint NumberAnchor(const PageGeometry& geometry, int row, int column) {
    const int x = geometry.gx + column * geometry.cell;
    const int y = geometry.gy + row * geometry.cell;
    return PagePoint{x + kNumberInset, y + geometry.k};
}

PageRect AnswerSquareRect(const PageGeometry& geometry, int row, int column) {
    if (!geometry.hasAnswerGrid) return PageRect{};
    if (row < 0 || column < 0 || row >= geometry.n || column >= geometry.n) return PageRect{};
    const int x = geometry.ax + column * geometry.aCell;
    const int y = geometry.ay + row * geometry.aCell;
    return PageRect{x, y, x + geometry.aCell, y + geometry.aCell};
}

PagePoint LetterAnchor(const PageRect& square, int letterHeight) {
    const int side = RectWidth(square);
    return PagePoint{square.left + side / 2, square.top + side / 2 - (letterHeight / 6 + letterHeight / 3)};
}

std::u16string SquareNumberText(int number) { return Widen(std::to_string(number)); }

std::u16string ClueNumberText(int number) { return Widen(std::to_string(number) + " "); }

ClueLayout LayoutClueColumns(std::span<const PageRect> columns, int columnCount, const std::vector<ClueText>& clues,
                             int highestNumber, FontSize font, TextMeasurer& measurer, ClueLayoutMode mode) {
    ClueLayout out;
    const int count = std::clamp(columnCount, 0, static_cast<int>(columns.size()));
    if (count == 0) return out;
    const bool placing = mode == ClueLayoutMode::Place;

    const int nw = MeasureLine(measurer, FontRole::Clue, font, highestNumber <= 99 ? u"00 " : u"000 ").width;
    out.numberWidth = nw;
    auto textWidth = [&](int col) { return columns[col].right - (columns[col].left + nw + 1); };

    const int hh = MeasureLine(measurer, FontRole::Clue, font, u"ACROSS").height;
    const int half = hh / 2;
    out.across = HeadingPlacement{true, 0, columns[0]};

    int col = 0;
    int y = columns[0].top + hh + half;
    bool downPlaced = false;
    if (placing) out.clues.reserve(clues.size());

    for (std::size_t i = 0; i < clues.size(); ++i) {
        const ClueText& clue = clues[i];

        // The DOWN heading goes where the first down clue can follow it
        // directly; otherwise both start the next column.
        if (i > 0 && !downPlaced && clue.number < clues[i - 1].number) {
            const int hd = MeasureLine(measurer, FontRole::Clue, font, u"DOWN").height;
            const PageRect& here = columns[col];
            const int headTop = (y == here.top) ? y : y + half;
            const int t1 = MeasureWrapped(measurer, font, clue.text, textWidth(col)).height;
            PageRect box;
            if (headTop + hd + half + t1 <= here.bottom) {
                box = PageRect{here.left, headTop, here.right, here.bottom};
            } else if (col + 1 < count) {
                ++col;
                box = columns[col];
            } else {
                return out;
            }
            out.down = HeadingPlacement{true, col, box};
            downPlaced = true;
            y = box.top + hd + half;
        }

        WrappedExtent text = MeasureWrapped(measurer, font, clue.text, textWidth(col));
        if (y + text.height > columns[col].bottom) {
            if (col + 1 >= count) return out;
            ++col;
            y = columns[col].top;
            text = MeasureWrapped(measurer, font, clue.text, textWidth(col));
            // A clue taller than a whole column would run into what lies
            // below it, so it fails the layout in any column.
            if (y + text.height > columns[col].bottom) return out;
        }
        if (!placing && text.tooWide) return out;

        if (placing) {
            const PageRect& c = columns[col];
            CluePlacement placement;
            placement.clueIndex = static_cast<int>(i);
            placement.column = col;
            placement.numberBox = PageRect{c.left, y, c.left + nw, c.bottom};
            placement.textBox = PageRect{c.left + nw + 1, y, c.right, c.bottom};
            placement.drawnRect = PageRect{c.left, y, c.right, y + text.height};
            out.clues.push_back(placement);
        }
        y += text.height + 1;
    }
    out.fits = true;
    return out;
}

ClueLayout LayoutClueColumns(const PageGeometry& geometry, const PageInput& input, FontSize font,
                             TextMeasurer& measurer, ClueLayoutMode mode) {
    return LayoutClueColumns(std::span<const PageRect>(geometry.columns), geometry.columnCount, input.clues,
                             input.highestNumber, font, measurer, mode);
}

ClueFontFit FitClueFont(std::span<const PageRect> columns, int columnCount, const std::vector<ClueText>& clues,
                        int highestNumber, TextMeasurer& measurer) {
    const int count = std::clamp(columnCount, 0, static_cast<int>(columns.size()));
    auto fits = [&](int height) {
        return LayoutClueColumns(columns, count, clues, highestNumber, FontSize{height, 0}, measurer,
                                 ClueLayoutMode::Measure)
            .fits;
    };

    // A line taller than every column holds no clue; stopping there keeps the
    // climb finite when nothing limits it (no clues at all).
    int ceiling = kClueFontStartHeight;
    for (int i = 0; i < count; ++i) ceiling = std::max(ceiling, RectHeight(columns[i]));

    int height = kClueFontStartHeight;
    if (fits(height)) {
        for (;;) {
            const int next = height + 10;
            if (next > ceiling) return ClueFontFit{FontSize{height, 0}, true};
            height = next;
            if (!fits(height)) break;
        }
    }
    // height failed: go down one unit at a time.
    while (height > kMinClueFontHeight) {
        --height;
        if (fits(height)) return ClueFontFit{FontSize{height, 0}, true};
    }
    return ClueFontFit{FontSize{kMinClueFontHeight, 0}, false};
}

ClueFontFit FitClueFont(const PageGeometry& geometry, const PageInput& input, TextMeasurer& measurer) {
    return FitClueFont(std::span<const PageRect>(geometry.columns), geometry.columnCount, input.clues,
                       input.highestNumber, measurer);
}

GridViewGeometry ComputeGridViewGeometry(int deviceHeight, int gridSize) {
    GridViewGeometry v;
    const std::int64_t magnitude = deviceHeight < 0 ? -static_cast<std::int64_t>(deviceHeight) : deviceHeight;
    const int V = static_cast<int>(std::min<std::int64_t>(magnitude, kMaxPageLength));
    v.n = ClampGridSide(gridSize);
    v.s = v.n > 0 ? (V / 2) / v.n : 0;
    v.letterHeight = std::max(1, v.s - v.s / 5);
    const int side = v.n * v.s;
    v.gridRect = PageRect{kGridViewOrigin, kGridViewOrigin, kGridViewOrigin + side, kGridViewOrigin + side};
    const int bannerTop = kGridViewOrigin + (v.n + 1) * v.s;
    v.bannerRect = PageRect{kGridViewOrigin, bannerTop, kGridViewOrigin + kBannerSquares * v.s, bannerTop + v.s};
    return v;
}

PageRect GridViewSquareRect(const GridViewGeometry& geometry, int row, int column) {
    if (row < 0 || column < 0 || row >= geometry.n || column >= geometry.n) return PageRect{};
    const int x = kGridViewOrigin + column * geometry.s;
    const int y = kGridViewOrigin + row * geometry.s;
    return PageRect{x, y, x + geometry.s, y + geometry.s};
}

PageRect BannerSquareRect(const GridViewGeometry& geometry, int index) {
    if (index < 0 || index >= kBannerSquares) return PageRect{};
    const int x = geometry.bannerRect.left + index * geometry.s;
    return PageRect{x, geometry.bannerRect.top, x + geometry.s, geometry.bannerRect.bottom};
}

}  // namespace korvo
