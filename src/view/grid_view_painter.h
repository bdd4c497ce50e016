#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/win_types.h"

class QPainter;

namespace korvo::view {

// What the grid view shows: a snapshot of the puzzle and the document's
// drawing settings, taken by the view before it paints.
struct GridViewPicture {
    int gridSize = 0;                   // squares a side
    std::u16string gridText;            // gridSize * gridSize characters, row by row
    std::vector<std::uint8_t> circled;  // per square, non-zero: circled
    COLORREF gridColor = 0;             // outlines, blocks and letters
    LOGFONTW gridFont{};                // face and style of the letters
    LOGFONTW bannerFont{};              // face and style of the banner
    std::u16string banner;              // the 15 characters of the banner row
};

// What a paint of the grid view leaves behind.
struct GridViewPainted {
    int letterHeight = 0;     // full line height of both fonts, page units
    RECT gridRect{};          // the whole grid, device pixels (screen only)
    std::vector<RECT> cells;  // per square row by row, device pixels (screen only)
};

// Paints the grid and its banner with painter, whose transform maps page
// units to the device. deviceHeight is the device's height in page units;
// the squares are sized from it. Device rectangles are recorded only when
// recordRects is set.
GridViewPainted PaintGridView(QPainter& painter, const GridViewPicture& picture, int deviceHeight, bool recordRects);

}  // namespace korvo::view
