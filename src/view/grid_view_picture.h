#pragma once

// The grid view of a document without a widget: the snapshot of what it
// shows and its paint on any painter. The view paints it on screen and on
// printers, and PDF pages use it for the grid view.

#include <string_view>

#include "grid_view_painter.h"

namespace korvo {
class CkorvoDoc;
class CCWData;
}  // namespace korvo

namespace korvo::view {

// The 15 characters of the banner row under the grid, by generation status.
std::u16string_view GridViewBanner(int status);

// What the grid view shows of puzzle with the document's colour and fonts,
// the banner chosen by status. The grid text is copied under the puzzle's lock.
GridViewPicture GridViewPictureOf(const CkorvoDoc& doc, CCWData& puzzle, int status);

// Paints the grid view of the document's puzzle at status (see PaintGridView)
// and writes the letter height used into the document's grid and banner
// fonts, as every paint of the grid view does.
GridViewPainted DrawGridViewOf(QPainter& painter, CkorvoDoc& doc, CCWData& puzzle, int status, int deviceHeight,
                               bool recordRects);

}  // namespace korvo::view
