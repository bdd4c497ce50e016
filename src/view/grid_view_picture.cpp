#include "grid_view_picture.h"

#include <algorithm>

#include "document/ckorvo_doc.h"
#include "model/cw_data.h"
#include "model/generation_status.h"

namespace korvo::view {

std::u16string_view GridViewBanner(int status) {
    switch (status) {
        case StatusFilled: return u"!!CLUE!EDITOR!!";
        case StatusGenerating: return u"!GENERATING...!";
        case StatusReverting: return u"!REVERTING....!";
        default: return u"!GRID!DESIGNER!";
    }
}

GridViewPicture GridViewPictureOf(const CkorvoDoc& doc, CCWData& puzzle, int status) {
    GridViewPicture picture;
    picture.gridSize = std::clamp(static_cast<int>(puzzle.gridSize), 0, kMaxGridSide);
    picture.gridText = puzzle.GetGridText();
    const std::size_t squares = static_cast<std::size_t>(picture.gridSize) * picture.gridSize;
    picture.circled.assign(puzzle.circled, puzzle.circled + std::min<std::size_t>(squares, kMaxSquares));
    picture.gridColor = doc.gridColor;
    picture.gridFont = doc.gridFont;
    picture.bannerFont = doc.bannerFont;
    picture.banner = GridViewBanner(status);
    return picture;
}

GridViewPainted DrawGridViewOf(QPainter& painter, CkorvoDoc& doc, CCWData& puzzle, int status, int deviceHeight,
                               bool recordRects) {
    const GridViewPainted painted =
        PaintGridView(painter, GridViewPictureOf(doc, puzzle, status), deviceHeight, recordRects);
    // The fonts' heights follow the square size of this paint.
    doc.gridFont.lfHeight = painted.letterHeight;
    doc.bannerFont.lfHeight = painted.letterHeight;
    return painted;
}

}  // namespace korvo::view
