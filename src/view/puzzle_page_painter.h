#pragma once

#include <cstdint>
#include <filesystem>

#include "document/page_layout.h"
#include "platform/win_types.h"

class QPainter;

namespace korvo {
class CkorvoDoc;
class CCWData;
}  // namespace korvo

namespace korvo::view {

// The view's cache of the clue font fit. The view owns the values; the
// painter reads and updates them. layoutState: -1 the layout is invalid,
// 1 laid out for the screen, 2 laid out for a printer.
struct PuzzleLayoutCache {
    std::int32_t& layoutState;
    std::int32_t& clueFontHeight;  // the fitted clue font, positive: full line height, page units
    std::int32_t& clueFontWidth;   // 0: the face's natural width
};

// The hit areas of a screen paint, in device pixels of the painter's
// device. Each clue's own area goes into its ClueEntry::rect.
struct PuzzlePageHitRects {
    bool recorded = false;  // false when printing: the view keeps what it had
    RECT titleRect{};
    RECT answerTitleRect{};
    RECT copyrightRect{};
    RECT authorRect{};
};

// The page a paint lays out: its printable size and margins in page units
// and the offset of a square's number below the square's top edge.
struct PuzzlePageFrame {
    std::int32_t pageWidth = 0;
    std::int32_t pageHeight = 0;
    std::int32_t marginLeft = 0, marginRight = 0, marginTop = 0, marginBottom = 0;
    std::int32_t numberOffset = kScreenNumberOffset;
};

// The frame of the screen (the user margins, numbers 20 units down) or of
// the printer (the printer margins, numbers 10 units down), on the
// document's page.
PuzzlePageFrame ScreenFrame(const CkorvoDoc& doc);
PuzzlePageFrame PrinterFrame(const CkorvoDoc& doc);

// Draws the finished puzzle page: the title, the empty numbered grid with
// its circles, the author and copyright lines, the answer grid with its
// title and the ACROSS and DOWN clue columns, in the document's fonts and
// colours. painter's transform maps page units (0.001 inch, y downward)
// to its device, as the view sets it up for the screen and for a printer.
//
// On screen the clue font is fitted only when the cache's layoutState is
// not 1 (then it becomes 1), and the hit areas are recorded: returned for
// the titles, author and copyright, written into each drawn clue's rect
// (the clues left undrawn get an empty one). When printing the font is
// always fitted, layoutState becomes 2 and nothing is recorded. The font
// heights used are written back into the document's fonts.
PuzzlePageHitRects DrawPuzzlePage(QPainter& painter, CkorvoDoc& doc, CCWData& puzzle, bool printing,
                                  PuzzleLayoutCache cache);

// The same on an explicit frame (print previews, PDF files).
PuzzlePageHitRects DrawPuzzlePage(QPainter& painter, CkorvoDoc& doc, CCWData& puzzle, bool printing,
                                  PuzzleLayoutCache cache, const PuzzlePageFrame& frame);

// Prints the current puzzle's page to a PDF file: one Letter page, the
// document's margins measured from the paper's edge. False when there is
// no puzzle or the file cannot be written.
bool PrintPuzzlePageToPdf(CkorvoDoc& doc, const std::filesystem::path& path);

}  // namespace korvo::view
