#pragma once

// Geometry of the two printable pictures: the finished puzzle page (title,
// numbered grid, author and copyright lines, answer grid, clue columns) and
// the designer's grid view with its banner. Everything here is integer
// arithmetic in page units (0.001 inch, x to the right, y downward, division
// truncating toward zero), computed from plain inputs and a text-measuring
// interface. The painter only executes the result, so the same numbers serve
// the screen, the printer, print preview and PDF.
//
// All functions are pure: no state is kept between calls.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/fill_engine.h"  // kMaxGridSide, the largest grid side any puzzle can have
#include "platform/win_types.h"

namespace korvo {

// A rectangle in page units: left, top, right, bottom (the platform's plain rectangle).
using PageRect = RECT;

inline std::int32_t RectWidth(const PageRect& r) { return r.right - r.left; }
inline std::int32_t RectHeight(const PageRect& r) { return r.bottom - r.top; }

// A point in page units.
struct PagePoint {
    std::int32_t x = 0;
    std::int32_t y = 0;
    friend bool operator==(const PagePoint&, const PagePoint&) = default;
};

// Offset of a square's clue number below the square's top edge.
inline constexpr int kScreenNumberOffset = 20;
inline constexpr int kPrinterNumberOffset = 10;
// Offset of a square's clue number right of the square's left edge (screen and paper).
inline constexpr int kNumberInset = 20;
// Page lengths (sizes, margins, offsets) are clamped to 0..kMaxPageLength
// (1000 inches), so no sum or product of the geometry can overflow.
inline constexpr int kMaxPageLength = 1'000'000;
// The clue font fit starts at this full line height.
inline constexpr int kClueFontStartHeight = 100;
// The clue font fit never goes below this height: if the clues do not fit
// even at 1 page unit, the page is drawn at that height with what fits.
inline constexpr int kMinClueFontHeight = 1;
// Left edge and top edge of the grid in the grid view.
inline constexpr int kGridViewOrigin = 250;
// Squares of the banner row under the grid view.
inline constexpr int kBannerSquares = 15;

// ---------------------------------------------------------------------------
// Text measurement

// The fonts the puzzle page measures with. The faces and styles are the
// measurer's business; the layout only chooses the size.
enum class FontRole {
    Title,          // the title font
    Numbers,        // the grid font at clue-number size: numbers, author, copyright, the gap
    AnswerLetters,  // the grid font at answer-grid letter size: answer letters and answer title
    Clue,           // the clue font: headings, clue numbers and clue texts
};

// A font size in page units. height < 0: character height (without internal
// leading); height > 0: full line height; 0 is never produced by the layout.
// width 0: the face's natural width for that height.
struct FontSize {
    int height = 0;
    int width = 0;
    friend bool operator==(const FontSize&, const FontSize&) = default;
};

struct TextExtent {
    int width = 0;
    int height = 0;
};

struct WrappedExtent {
    int height = 0;        // height of the text word-wrapped to the box width
    bool tooWide = false;  // some single word is wider than the box
};

// Measures text in page units. Implemented with the platform's font metrics
// in the window layer and by fakes in tests. Results below 0 are read as 0.
class TextMeasurer {
public:
    virtual ~TextMeasurer() = default;
    // Extent of a one-line text.
    virtual TextExtent Extent(FontRole role, FontSize size, std::u16string_view text) = 0;
    // Advance width of one space character.
    virtual int SpaceWidth(FontRole role, FontSize size) = 0;
    // Height of a text word-wrapped in a box of the given width (>= 0).
    virtual WrappedExtent Wrapped(FontRole role, FontSize size, std::u16string_view text, int boxWidth) = 0;
};

// ---------------------------------------------------------------------------
// The puzzle page

// One clue as the page shows it, in list order (across entries, then down entries).
struct ClueText {
    int number = 0;
    std::u16string text;
};

// Everything the page layout reads. The caller picks the user margins and
// k = kScreenNumberOffset for the screen, the printer margins and
// k = kPrinterNumberOffset for paper.
struct PageInput {
    int pageWidth = 0;                       // W, the printable width
    int pageHeight = 0;                      // H, the printable height
    int marginLeft = 0;                      // L
    int marginRight = 0;                     // R
    int marginTop = 0;                       // T
    int marginBottom = 0;                    // B
    int numberOffset = kScreenNumberOffset;  // k
    bool rightSideGrid = true;
    int gridSize = 0;            // N; taken as 0..kMaxGridSide
    int highestNumber = 0;       // highest clue number: from 100 on the number column holds three digits
    std::u16string title;        // empty: no title
    std::u16string answerTitle;  // empty: no answer grid and no answer title
    std::u16string author;
    std::u16string copyright;
    std::vector<ClueText> clues;
};

// The page geometry, all in page units. Rectangles of absent elements are
// empty (all zero).
struct PageGeometry {
    // Content box and columns.
    int left = 0;            // L, the content's left edge
    int top = 0;             // T, the content's top edge
    int x1 = 0;              // W - R - 1, the content's right edge
    int y1 = 0;              // H - B - 1, the content's bottom edge
    int cw = 0;              // content width W - R - L - 1 (negative on a page smaller than its margins)
    int ch = 0;              // content height H - B - T - 1
    bool landscape = false;  // cw > ch
    int columnCount = 4;     // M: 5 on a landscape page, else 4
    int colW = 0;            // cw / M, never below 0
    int n = 0;               // grid side N the geometry was made for, 0..kMaxGridSide
    int k = 0;               // number offset below a square's top edge

    // Title.
    bool hasTitle = false;
    int titleFontHeight = 0;  // negative: character height ((D/2) / (N + N/2)), D = ch if landscape else cw,
                              // or less when the title would be wider than cw at that height: then the
                              // largest height at which it fits (at least 1)
    PagePoint titleAnchor;    // top centre of the title: (L + cw/2, T)
    PageRect titleRect;       // the drawn title
    int yT = 0;               // running y after the title: T + space width + title height, or T

    // Puzzle grid.
    int cell = 0;               // square side (2 colW) / N
    int gridWidth = 0;          // N * cell (also its height)
    int numbersFontHeight = 0;  // negative: character height cell/3 (at least 1)
    int g = 0;                  // gap: height of one space in the numbers font
    int gx = 0;                 // grid left: x1 - N cell with the grid on the right, else L
    int gy = 0;                 // grid top: yT

    // Author and copyright, on one line under the grid, in the numbers font.
    int authorY = 0;            // gy + N cell + 3, top of the line
    PagePoint authorAnchor;     // left-aligned, top-aligned
    PageRect authorRect;        // (gx, authorY, gx + author width, authorY + cell - k)
    PagePoint copyrightAnchor;  // right-aligned, top-aligned: (gx + N cell, authorY)
    PageRect copyrightRect;     // (gx + N cell - copyright width, authorY, gx + N cell, authorY + cell - k)
    int yb = 0;                 // under the author line: authorY + (cell - k) + g

    // Answer grid in the opposite bottom corner, with its title above it.
    bool hasAnswerGrid = false;   // the answer title is not empty
    int aCell = 0;                // (2 cell) / 3
    int aW = 0;                   // aCell * N
    int ax = 0;                   // answer grid left
    int ay = 0;                   // answer grid top: y1 - aW
    int aH = 0;                   // positive: full line height of the answer letters, aCell - aCell/5 (at least 1)
    PagePoint answerTitleAnchor;  // top centre: (ax + aW/2, ay - 2 - answer title height)
    PageRect answerTitleRect;     // the drawn answer title, ending 2 units above the grid
    int yA = 0;                   // lower limit of the columns above the answer grid, or y1

    // Clue columns R0..R4; only the first columnCount are used, the rest are empty.
    PageRect columns[5];
};

// Computes the whole page except the clue placement.
PageGeometry ComputePageGeometry(const PageInput& input, TextMeasurer& measurer);

// Square (row, column) of the puzzle grid; empty outside the grid.
PageRect PuzzleSquareRect(const PageGeometry& geometry, int row, int column);
// Where a square's clue number is drawn, left- and top-aligned: (left + 20, top + k).
PagePoint NumberAnchor(const PageGeometry& geometry, int row, int column);
// Square (row, column) of the answer grid; empty outside the grid or without an answer grid.
PageRect AnswerSquareRect(const PageGeometry& geometry, int row, int column);
// Where a letter of a square is drawn, horizontally centred and top-aligned:
// (left + side/2, top + side/2 - (h/6 + h/3)) for a letter font of full line
// height h. Serves the answer grid (h = aH) and the grid view.
PagePoint LetterAnchor(const PageRect& square, int letterHeight);

// The text of a square's clue number ("%d") and of a clue's number in the list ("%d ").
std::u16string SquareNumberText(int number);
std::u16string ClueNumberText(int number);

// ---------------------------------------------------------------------------
// Clue columns

enum class ClueLayoutMode {
    Measure,  // only decide whether every clue fits; a word wider than its column fails
    Place,    // record where everything goes, as drawing does
};

// A heading ("ACROSS" or "DOWN"), drawn horizontally centred and top-aligned in box.
struct HeadingPlacement {
    bool placed = false;
    int column = -1;
    PageRect box;
};

// One clue: its number (ClueNumberText) right-aligned in numberBox, its text
// word-wrapped, left- and top-aligned in textBox; drawnRect is the clue's
// extent across the whole column (its hit area).
struct CluePlacement {
    int clueIndex = 0;  // index into the clue list
    int column = 0;
    PageRect numberBox;
    PageRect textBox;
    PageRect drawnRect;
};

struct ClueLayout {
    bool fits = false;    // every clue was placed
    int numberWidth = 0;  // width of "00 " (highest number up to 99) or "000 "
    HeadingPlacement across;
    HeadingPlacement down;
    // Place mode only: the clues placed, in list order; after a failure the
    // clues from the failing one on are missing.
    std::vector<CluePlacement> clues;
};

// Flows the clues through the first columnCount columns with the clue font of
// the given size. The heading "DOWN" comes before the first clue whose number
// is lower than its predecessor's.
ClueLayout LayoutClueColumns(std::span<const PageRect> columns, int columnCount, const std::vector<ClueText>& clues,
                             int highestNumber, FontSize font, TextMeasurer& measurer, ClueLayoutMode mode);
// The same on a computed page.
ClueLayout LayoutClueColumns(const PageGeometry& geometry, const PageInput& input, FontSize font,
                             TextMeasurer& measurer, ClueLayoutMode mode);

struct ClueFontFit {
    FontSize font;      // the chosen size: positive full line height, width 0
    bool fits = false;  // false only when even kMinClueFontHeight does not fit
};

// Finds the clue font height: from 100 up by 10 while everything fits (never
// beyond the tallest column), then down by 1 from the last height tried until
// it fits, stopping at kMinClueFontHeight.
ClueFontFit FitClueFont(std::span<const PageRect> columns, int columnCount, const std::vector<ClueText>& clues,
                        int highestNumber, TextMeasurer& measurer);
ClueFontFit FitClueFont(const PageGeometry& geometry, const PageInput& input, TextMeasurer& measurer);

// ---------------------------------------------------------------------------
// The grid view

struct GridViewGeometry {
    int n = 0;             // grid side, 0..kMaxGridSide
    int s = 0;             // square side: (V/2) / N
    int letterHeight = 0;  // h = s - s/5, full line height of the grid and banner fonts
    PageRect gridRect;     // (250, 250, 250 + N s, 250 + N s)
    PageRect bannerRect;   // the banner row: 15 squares, one empty row below the grid
};

// The grid view on a device deviceHeight page units high (its sign is ignored).
GridViewGeometry ComputeGridViewGeometry(int deviceHeight, int gridSize);
// Square (row, column) of the grid view; empty outside the grid.
PageRect GridViewSquareRect(const GridViewGeometry& geometry, int row, int column);
// Square index (0..14) of the banner row; empty outside the row.
PageRect BannerSquareRect(const GridViewGeometry& geometry, int index);

}  // namespace korvo
