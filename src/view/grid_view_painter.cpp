#include "grid_view_painter.h"

#include <QPainter>

#include <algorithm>

#include "document/page_layout.h"
#include "qt_drawing.h"

namespace korvo::view {

namespace {

// A pen for outlines: cosmetic, so it keeps at least one device pixel
// whatever the scale, and as wide as one page unit where that is more.
QPen OutlinePen(const QColor& color, const QPaintDevice& device) {
    QPen pen(color);
    pen.setCosmetic(true);
    pen.setWidth(std::max(1, device.logicalDpiY() / 1000));
    pen.setJoinStyle(Qt::MiterJoin);
    return pen;
}

// Draws one character horizontally centred on the square and top-aligned
// at the letter anchor.
void DrawSquareText(QPainter& painter, const PageRect& square, int letterHeight, char16_t character) {
    const PagePoint anchor = LetterAnchor(square, letterHeight);
    const int side = RectWidth(square);
    const QRectF box(anchor.x - side, anchor.y, 2.0 * side, 2.0 * side);
    painter.drawText(box, Qt::AlignHCenter | Qt::AlignTop | Qt::TextDontClip, QString(QChar(character)));
}

QFont SizedFont(const LOGFONTW& description, int lineHeight) {
    QFont font = FontFromLogFont(description);
    font.setPixelSize(PixelSizeForLineHeight(font, lineHeight));
    return font;
}

}  // namespace

GridViewPainted PaintGridView(QPainter& painter, const GridViewPicture& picture, int deviceHeight, bool recordRects) {
    const int n = std::clamp(picture.gridSize, 0, kMaxGridSide);
    const GridViewGeometry geometry = ComputeGridViewGeometry(deviceHeight, n);
    const int h = geometry.letterHeight;
    GridViewPainted painted;
    painted.letterHeight = h;

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    const QTransform toDevice = painter.transform();
    if (recordRects) {
        painted.gridRect = DeviceRect(toDevice, geometry.gridRect);
        painted.cells.resize(static_cast<std::size_t>(n) * n);
    }

    const QColor gridColor = ColorFromRef(picture.gridColor);
    const QPen outline = OutlinePen(gridColor, *painter.device());
    painter.setFont(SizedFont(picture.gridFont, h));
    painter.setBrush(Qt::white);
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < n; ++j) {
            const PageRect square = GridViewSquareRect(geometry, i, j);
            const std::size_t index = static_cast<std::size_t>(i) * n + j;
            if (recordRects) painted.cells[index] = DeviceRect(toDevice, square);
            const QRect box = ToQRect(square);
            painter.setPen(outline);
            painter.drawRect(box);
            // The circle stays under a letter; a block's fill covers it.
            if (index < picture.circled.size() && picture.circled[index] != 0) {
                painter.setPen(CirclePen(painter.combinedTransform(), gridColor));
                painter.drawEllipse(box);
            }
            const char16_t c = index < picture.gridText.size() ? picture.gridText[index] : u'@';
            if (c == u'!') {
                painter.fillRect(box, gridColor);
            } else if (c != u'@') {
                painter.setPen(gridColor);
                DrawSquareText(painter, square, h, c);
            }
        }
    }

    // The banner: one row of squares naming the state, in black, one empty
    // row below the grid.
    painter.setFont(SizedFont(picture.bannerFont, h));
    const QPen bannerOutline = OutlinePen(Qt::black, *painter.device());
    const int count = std::min(kBannerSquares, static_cast<int>(picture.banner.size()));
    for (int k = 0; k < count; ++k) {
        const PageRect square = BannerSquareRect(geometry, k);
        const QRect box = ToQRect(square);
        painter.setPen(bannerOutline);
        painter.drawRect(box);
        if (picture.banner[static_cast<std::size_t>(k)] == u'!') {
            painter.fillRect(box, Qt::black);
        } else {
            painter.setPen(Qt::black);
            DrawSquareText(painter, square, h, picture.banner[static_cast<std::size_t>(k)]);
        }
    }
    painter.restore();
    return painted;
}

}  // namespace korvo::view
